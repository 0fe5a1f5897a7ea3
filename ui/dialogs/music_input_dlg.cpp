// The music source dialog.
#include "dialogs/music_input_dlg.h"

#include "services/app_services.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>

#include "controls/xbmp_slider.h"
#include "dialogs/dialog_edits.h"
#include "dialogs/tuning_dialog_kit.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "model/parameter_store.h"

namespace {

namespace t = vireo::tuning;

struct RowIds {
  const char* caption;  // the template's radio caption
  int radio;
  int slider;
  int value;
};
// In the order of tuning::MusicInput.
constexpr std::array<RowIds, t::kMusicInputs> kRows{{
    {"HDMI1", 1192, 1043, 1006},
    {"HDMI2", 1193, 1044, 1002},
    {"HDMI3", 1194, 1045, 1003},
    {"HDMI4", 1195, 1046, 1131},
    {"SPDIF", 1190, 1041, 1005},
    {"BT", 1191, 1042, 1007},
    {"AUX", 1196, 1047, 1008},
}};

QString LevelText(int level) {
  return QString::fromStdString(t::MusicLevelText(level));
}

}  // namespace

CDialogMusicInput::CDialogMusicInput(AppServices& app, QWidget* parent) : QDialog(parent), app_(app) {
  SetControlId(this, dlg::musicInput);
  MakeModeless(this);
  setWindowTitle(QString::fromUtf8("音源设置"));
  auto* grid = new QGridLayout(this);
  auto* group = new QButtonGroup(this);
  for (std::size_t k = 0; k < kRows.size(); ++k) {
    const auto input = static_cast<t::MusicInput>(k);
    const int row = static_cast<int>(k);
    radios_[k] = new QRadioButton(QString::fromUtf8(kRows[k].caption), this);
    SetControlId(radios_[k], kRows[k].radio);
    group->addButton(radios_[k]);
    sliders_[k] = MakeDialogSlider(kRows[k].slider, 0, t::kMusicLevelMax, this, app_.edits());
    values_[k] = MakeDialogLabel(kRows[k].value, QString(), this);
    values_[k]->setMinimumWidth(48);
    grid->addWidget(radios_[k], row, 0);
    grid->addWidget(sliders_[k], row, 1);
    grid->addWidget(values_[k], row, 2);
    connect(radios_[k], &QRadioButton::clicked, this,
            [this, input] { DialogEdits(app_.edits()).SelectMusicInput(input); });
    connect(sliders_[k], &CXBmpSlider::positionChanged, this, [this, input, k](int, int position) {
      values_[k]->setText(LevelText(DialogEdits(app_.edits()).SetMusicInputLevel(input, position)));
    });
  }
  InstallWheelRule(this, [](int controlId) { return controlId >= 1041 && controlId <= 1047; });
  FillSources();
  ApplyLanguage();
}

void CDialogMusicInput::FillSources() {
  const vireo::ParameterStore& store = app_.store();
  for (std::size_t k = 0; k < sliders_.size(); ++k) {
    const int level = t::MusicInputLevel(store, static_cast<t::MusicInput>(k));
    sliders_[k]->SetPos(level);
    values_[k]->setText(LevelText(level));
  }
  t::MusicInput selected{};
  if (t::SelectedMusicInput(store, &selected)) radios_[static_cast<std::size_t>(selected)]->setChecked(true);
}

void CDialogMusicInput::ApplyLanguage() {
  ApplyDialogTexts(this, dlg::musicInput);
}

void CDialogMusicInput::keyPressEvent(QKeyEvent* event) {
  // Enter closes like Escape: the dialog has no default button.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    hide();
    return;
  }
  QDialog::keyPressEvent(event);
}
