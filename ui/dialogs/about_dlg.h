// The About dialog (template 100): build date, the machine's versions when connected, and the hidden
// "Peak" box that switches level polling (shown by Ctrl+Shift+F11).
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;

namespace vireo {
class ParameterStore;
}

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  // `pollingEnabled` starts the "Peak" box; `setPolling` is called at once when it is clicked.
  CAboutDlg(const vireo::ParameterStore& store, bool pollingEnabled, std::function<void(bool)> setPolling,
            QWidget* parent = nullptr);

  QLabel* line(int id) const;
  QCheckBox* peakBox() const { return peak_; }

 protected:
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  QCheckBox* peak_;
};
