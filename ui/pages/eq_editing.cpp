// EQ editing of the pages.
#include "pages/eq_editing.h"

#include "pages/page.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "controls/eq_panel.h"
#include "controls/eq_panel_painter.h"
#include "dsp/crossover.h"
#include "dsp/filter_type.h"
#include "files/file_access.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "model/parameter_store.h"
#include "pages/band_editor.h"
#include "pages/band_list.h"
#include "pages/eq_measurement.h"
#include "pages/page_edits.h"
#include "services/mode_file_loading.h"
#include "services/user_prompts.h"
#include "tuning/band_text.h"
#include "tuning/curve_export.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"
#include "tuning/filter_file.h"
#include "tuning/output_ops.h"

namespace {

constexpr int kGraphId = 1040;
constexpr int kListId = 1139;
int copySource = -1;

bool IsLowOrHighPass(int type) {
  return type == 2 || type == 3;
}

// A curve or filter file replaces its previous version in one step, so a failed save leaves the old one.
bool WriteWholeFile(const QString& path, std::string_view bytes) {
  return vireo::files::WriteFileAtomically(QFile::encodeName(path).toStdString(), bytes) == 0;
}

}  // namespace

int EqCopySource() {
  return copySource;
}
void SetEqCopySource(int identity) {
  copySource = identity;
}

CEqEditing::CEqEditing(CPage* page, int dialogId, EqEditingRules rules)
    : QObject(page),
      app_(page->app()),
      rules_(rules),
      graph_(new CEqPanel(page)),
      list_(new CBandList(kListId, page)),
      editor_(new CBandEditor(dialogId, page)),
      measurement_(new CEqMeasurement(
          app_, graph_, [this] { return identity_; },
          [this] {
            RefreshFromStore();
            emit pasted();
          })) {
  SetControlId(graph_, kGraphId);
  graph_->SetLanguage(LanguageIndex());
  graph_->setFocusPolicy(Qt::StrongFocus);
  editor_->hide();
  list_->Rebuild(0);
  connect(graph_, &CEqPanel::BandChanged, this,
          [this](const vireo::dsp::EqBand&, int slot) { OnBandChanged(slot); });
  connect(graph_, &CEqPanel::BandPicked, this,
          [this](const vireo::dsp::EqBand&, int slot) { OnBandPicked(slot); });
  connect(graph_, &CEqPanel::EmptyClick, this, &CEqEditing::OnEmptyClick);
  connect(graph_, &CEqPanel::CopyPasteEq, this, &CEqEditing::OnCopyPaste);
  connect(graph_, &CEqPanel::FileCommandChosen, this, &CEqEditing::OnFileCommand);
  connect(list_, &CBandList::cellEdited, this, &CEqEditing::OnCellEdited);
  connect(editor_, &CBandEditor::sliderMoved, this, &CEqEditing::OnSliderMoved);
  connect(editor_, &CBandEditor::editsEntered, this, &CEqEditing::ApplyEdits);
  connect(editor_, &CBandEditor::typeClicked, this, &CEqEditing::OnTypeClicked);
}

void CEqEditing::SetListArea(const QRect& area) {
  list_->setGeometry(area);
  editor_->setGeometry(area);
}

vireo::dsp::BandShape CEqEditing::ShapeOf(int band) const {
  const vireo::dsp::EqBand& b = graph_->band(band);
  return {b.type, b.gain, b.frequency, b.q};
}

vireo::dsp::BandShape CEqEditing::ShownShape(int band) const {
  vireo::dsp::BandShape shape = ShapeOf(band);
  if (rules_.channelEq && band == vireo::dsp::kCrossoverSlot && shape.type > 5) {
    vireo::dsp::CrossoverSections sections{};
    for (int s = 0; s < 4; ++s) sections[static_cast<std::size_t>(s)] = graph_->band(band + s).type;
    shape.type = vireo::dsp::CrossoverKindOf(sections).type;
  }
  return shape;
}

int CEqEditing::ListRows(int bands) const {
  return rules_.channelEq ? std::min(bands, vireo::dsp::kChannelShownBands) : bands;
}

void CEqEditing::RefreshFromStore() {
  const vireo::ParameterStore& store = app_.store();
  const vireo::tuning::EqIdentity* eq = vireo::tuning::FindEqIdentity(identity_);
  const int bands = eq != nullptr ? eq->bandCount : 0;
  graph_->SetIdentity(identity_);
  graph_->SelectBand(-1);
  graph_->SetBandCount(bands);
  const int rows = ListRows(bands);
  if (list_->rowCount() != rows) list_->Rebuild(rows);
  for (int i = 0; i < bands; ++i) {
    vireo::dsp::BandShape stored = vireo::tuning::ReadEqBand(store, identity_, i);
    const int type = rules_.channelEq ? vireo::tuning::ShownChannelBandType(stored.type)
                                      : (stored.type >= 0 && stored.type <= 5 ? stored.type : 0);
    graph_->SetBandType(i, type);
    graph_->SetBandGain(i, IsLowOrHighPass(type) ? 0.0 : stored.gainDb);
    if (stored.frequency != 0.0) graph_->SetBandFrequency(i, std::clamp(stored.frequency, 20.0, 20000.0));
    if (stored.q != 0.0) graph_->SetBandQ(i, stored.q);
  }
  // After every band is in: the crossover row's type depends on all four of its sections.
  for (int i = 0; i < rows; ++i) list_->ShowBand(i, ShownShape(i));
  graph_->SetBypass(vireo::tuning::EqBypass(store, identity_));
  measurement_->ShowCurrent();
  selected_ = -1;
  ShowEditor(false);
  emit selectionCleared();
}

void CEqEditing::ShowEditor(bool editor) {
  list_->setVisible(!editor);
  editor_->setVisible(editor);
}

void CEqEditing::ShowBandTexts(int band) {
  if (band < list_->rowCount()) list_->ShowBand(band, ShownShape(band));
  if (band == selected_) editor_->ShowBand(band, ShownShape(band));
  emit bandShown(band);
}

void CEqEditing::SendBand(int band) {
  if (writer_) {
    writer_(band);
    return;
  }
  PageEdits(app_.edits()).WriteBand(identity_, band, ShapeOf(band));
}

void CEqEditing::OnBandChanged(int band) {
  SendBand(band);
  OnBandPicked(band);
}

void CEqEditing::OnBandPicked(int band) {
  if (band < 0 || band >= graph_->bandCount()) return;
  const bool wasNone = selected_ < 0;
  selected_ = band;
  ShowBandTexts(band);
  if (wasNone) ShowEditor(true);
}

void CEqEditing::PickBand(int band) {
  if (band < 0 || band >= graph_->bandCount()) return;
  graph_->SelectBand(band);
  OnBandPicked(band);
}

void CEqEditing::OnEmptyClick() {
  if (selected_ < 0) return;
  selected_ = -1;
  ShowEditor(false);
  emit selectionCleared();
}

void CEqEditing::OnCopyPaste(int action, int identity) {
  if (action == 0) {
    SetEqCopySource(identity);
    return;
  }
  if (EqCopySource() < 0) return;
  PageEdits(app_.edits()).Paste(EqCopySource(), identity_);
  RefreshFromStore();
  emit pasted();
}

void CEqEditing::OnFileCommand(int command) {
  if (measurement_->RunCommand(command)) return;
  if (command == CEqPanel::kImportFiltersCommand) {
    ImportFilterFile();
  } else if (command == CEqPanel::kExportFiltersCommand) {
    ExportFilterFile();
  } else {
    SaveCurve(command);
  }
}

void CEqEditing::SaveCurve(int command) {
  FileDialogRequest request;
  request.save = true;
  if (command == CEqPanel::kSavePictureCommand) {
    request.filter = QStringLiteral("PNG (*.png)");
    request.defaultSuffix = QStringLiteral("png");
  } else if (command == CEqPanel::kSaveSvgCommand) {
    request.filter = QStringLiteral("SVG (*.svg)");
    request.defaultSuffix = QStringLiteral("svg");
  } else {
    request.filter = QStringLiteral("CSV (*.csv)");
    request.defaultSuffix = QStringLiteral("csv");
  }
  request.defaultName = QStringLiteral("eq.") + request.defaultSuffix;
  const QString path = Prompts().ChooseFile(graph_, request);
  if (path.isEmpty()) return;
  bool saved = false;
  if (command == CEqPanel::kSavePictureCommand) {
    // Twice the widget's size, for reports and high-density screens.
    QPixmap picture(graph_->size() * 2);
    picture.setDevicePixelRatio(2.0);
    graph_->render(&picture);
    QByteArray png;
    QBuffer buffer(&png);
    saved = buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG") &&
            WriteWholeFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
  } else {
    const vireo::tuning::EqCurve curve = vireo::tuning::EqCurveOf(app_.store(), identity_);
    // A loaded measurement adds its columns to the table: measurement, target and prediction.
    vireo::tuning::CurveOverlay overlay;
    const bool measured = measurement_->CurveColumns(&overlay);
    const std::string text =
        command == CEqPanel::kSaveSvgCommand
            ? vireo::tuning::CurveSvg(curve, EqIdentityTitle(identity_, LanguageIndex()).toStdString())
            : vireo::tuning::CurveCsv(curve, measured ? &overlay : nullptr);
    saved = WriteWholeFile(path, text);
  }
  if (!saved) ShowFileOpenFailure(path, graph_);
}

namespace {
const char* const kFilterFileFilter = "Filter text (*.txt);;All files (*)";
}  // namespace

void CEqEditing::ImportFilterFile() {
  FileDialogRequest request;
  request.filter = QString::fromLatin1(kFilterFileFilter);
  const QString path = Prompts().ChooseFile(graph_, request);
  if (path.isEmpty()) return;
  const QString caption = LangText("导入滤波器", "Import filters");
  const vireo::tuning::FilterFileResult result = vireo::tuning::LoadFilterFile(
      QFile::encodeName(path).toStdString(), vireo::tuning::ImportableBandCount(identity_));
  if (result.unreadable) {
    ShowMessage(graph_, LangText("无法读取文件:\n", "Cannot read the file:\n") + path, caption,
                BoxIcon::error);
    return;
  }
  if (!result.ok) {
    // Nothing was changed: the whole file is refused for its first fault.
    ShowMessage(
        graph_,
        LangText("文件未导入，均衡没有改变。\n", "The file was not imported; the EQ is unchanged.\n") +
            QString::fromStdString(result.error),
        caption, BoxIcon::warning);
    return;
  }
  PageEdits(app_.edits()).ImportFilters(identity_, result.bands);
  RefreshFromStore();
  emit pasted();
  if (!result.notes.empty()) {
    QStringList notes;
    for (const std::string& note : result.notes) notes << QString::fromStdString(note);
    ShowMessage(
        graph_,
        LangText("已导入。以下行被忽略:\n", "Imported. These lines were ignored:\n") + notes.join('\n'),
        caption, BoxIcon::information);
  }
}

void CEqEditing::ExportFilterFile() {
  FileDialogRequest request;
  request.save = true;
  request.filter = QString::fromLatin1(kFilterFileFilter);
  request.defaultSuffix = QStringLiteral("txt");
  request.defaultName = QStringLiteral("filters.txt");
  const QString path = Prompts().ChooseFile(graph_, request);
  if (path.isEmpty()) return;
  const std::string text =
      vireo::tuning::FormatFilterFile(vireo::tuning::ExportableBands(app_.store(), identity_));
  if (!WriteWholeFile(path, text)) ShowFileOpenFailure(path, graph_);
}

void CEqEditing::OnCellEdited(int row, int column, const QString& text) {
  if (row < 0 || row >= graph_->bandCount() || row >= list_->rowCount()) return;
  if (column == CBandList::kTypeColumn) {
    const int type = vireo::tuning::BandTypeFromName(text.toStdString(), LanguageIndex());
    if (type >= 1) {
      ApplyType(row, type);
    } else {
      list_->ShowBand(row, ShownShape(row));  // an unknown name leaves the band as it was
    }
    return;
  }
  // Only the edited cell counts: the others show rounded texts ("1.41" for a stored 1.414), which read back
  // would change a value nobody touched.
  const vireo::dsp::BandShape typed = list_->ReadRow(row);
  if (column == CBandList::kGainColumn) {
    graph_->SetBandGain(row, typed.gainDb);
  } else if (column == CBandList::kFrequencyColumn) {
    if (typed.frequency != 0.0) graph_->SetBandFrequency(row, std::clamp(typed.frequency, 20.0, 20000.0));
  } else if (column == CBandList::kQColumn) {
    graph_->SetBandQ(row, typed.q);
  } else {
    return;
  }
  SendBand(row);
  ShowBandTexts(row);
}

void CEqEditing::ApplyType(int band, int type) {
  editor_->SetQRangeForTypeIndex(type - 1);
  if (rules_.typeKeepsValues) {
    vireo::dsp::EqBand& b = graph_->band(band);
    b.type = type;
    if (IsLowOrHighPass(type)) b.gain = 0.0f;
    graph_->SetBandQ(band, b.q);  // the new type's Q limits
    graph_->RecomputeBand(band);
  } else if (rules_.channelEq) {
    graph_->ApplyMenuType(band, type);
  } else {
    graph_->SetBandType(band, type);
  }
  SendBand(band);
  ShowBandTexts(band);
}

void CEqEditing::OnTypeClicked(int index) {
  editor_->SetQRangeForTypeIndex(index);
  if (selected_ >= 0) ApplyType(selected_, index + 1);
}

void CEqEditing::OnSliderMoved(int controlId, int position) {
  editor_->ShowSliderInEdit(controlId, position);
  if (rules_.applyOnSliderMove) ApplyEdits();
}

void CEqEditing::ApplyEdits() {
  if (selected_ < 0) return;
  const vireo::dsp::BandShape typed = editor_->ReadEdits();
  // A box showing the band as it was keeps the stored value: its text is rounded ("1.41" for 1.414).
  const std::array<bool, 3> changed = editor_->ChangedEdits();
  if (changed[0]) graph_->SetBandGain(selected_, typed.gainDb);
  double frequency = typed.frequency;
  if (!rules_.zeroFrequencyKeepsOld && frequency < 20.0) frequency = 20.0;
  if (changed[1] && frequency != 0.0)
    graph_->SetBandFrequency(selected_, std::clamp(frequency, 20.0, 20000.0));
  if (changed[2]) graph_->SetBandQ(selected_, typed.q);
  SendBand(selected_);
  ShowBandTexts(selected_);
}

bool CEqEditing::Bypass() const {
  return vireo::tuning::EqBypass(app_.store(), identity_);
}

void CEqEditing::ToggleBypass() {
  graph_->SetBypass(PageEdits(app_.edits()).ToggleBypass(identity_));
}

void CEqEditing::Reset() {
  selected_ = -1;
  PageEdits(app_.edits()).Reset(identity_);
  RefreshFromStore();
}

void CEqEditing::ApplyLanguage() {
  list_->Rebuild(ListRows(graph_->bandCount()));
  editor_->ApplyLanguage();
  graph_->SetLanguage(LanguageIndex());
  RefreshFromStore();
}
