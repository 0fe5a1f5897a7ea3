// The music source dialog (template 512): the radio of the input the machine plays and the level of each
// music input. Every change is stored and sent at once; closing hides it.
#pragma once

#include <QDialog>
#include <array>

#include "dialogs/dialog_edits.h"

#include "tuning/music_source_ops.h"

class AppServices;
class CXBmpSlider;
class QLabel;
class QRadioButton;

class CDialogMusicInput : public QDialog {
  Q_OBJECT
 public:
  explicit CDialogMusicInput(AppServices& app, QWidget* parent = nullptr);

  // The controls from the store (on every open and after every synchronisation).
  void FillSources();
  void ApplyLanguage();
  QRadioButton* radio(vireo::tuning::MusicInput input) const {
    return radios_[static_cast<std::size_t>(input)];
  }
  CXBmpSlider* slider(vireo::tuning::MusicInput input) const {
    return sliders_[static_cast<std::size_t>(input)];
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  AppServices& app_;
  std::array<QRadioButton*, vireo::tuning::kMusicInputs> radios_{};
  std::array<CXBmpSlider*, vireo::tuning::kMusicInputs> sliders_{};
  std::array<QLabel*, vireo::tuning::kMusicInputs> values_{};
};
