// The plug dialog (template 480): type and name of a plug, for a plug about to be added or for one that
// is renamed. It checks the name and hands back the record; the caller sends it.
#pragma once

#include <QDialog>

#include "smarthome/smart_home_memory.h"

class SmartHomeLink;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace plug_edit_id {
inline constexpr int dialog = 480;
inline constexpr int typeList = 1300;
inline constexpr int name = 1301;
inline constexpr int typeCaption = 1302;
inline constexpr int nameCaption = 1303;
inline constexpr int ok = 1;  // "添加" / "Add" or "修改" / "Modify" by mode: captioned in code only
inline constexpr int cancel = 2;
}  // namespace plug_edit_id

class CDlgZwaveEdit : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { add, edit };
  // Add mode proposes a name that no present plug has; edit mode shows `record`.
  CDlgZwaveEdit(SmartHomeLink& link, Mode mode, const vireo::smarthome::PlugRecord& record, QWidget* parent);

  Mode mode() const { return mode_; }
  // The type and name as confirmed (valid once accepted).
  vireo::smarthome::PlugRecord record() const;
  void Recaption();

 public slots:
  void accept() override;

 private:
  // Typing or pasting past 12 characters keeps the first 12 and says so at once, so no text is lost
  // without a word.
  void OnNameEdited(const QString& text);

  SmartHomeLink& link_;
  Mode mode_;
  QComboBox* type_;
  QLineEdit* name_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// The name "开关N" that Add proposes, from the names of the present plugs.
QString ProposedPlugName(SmartHomeLink& link);
