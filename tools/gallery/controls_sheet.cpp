// The controls sheet of the gallery.
#include "controls_sheet.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>

#include "controls/gdip_button.h"
#include "controls/peak_meter_ctrl.h"
#include "controls/report_ctrl.h"
#include "controls/small_eq_panel.h"
#include "controls/xbmp_slider.h"
#include "gallery_shots.h"
#include "i18n/language_table.h"
#include "look/dialog_look.h"

namespace {

const QColor kPageBackground(240, 250, 255);

CXBmpSlider* AddSlider(QWidget* sheet, QRect where, SliderOrientation orientation, SliderMargins margins,
                       int minimum, int maximum, int position) {
  auto* s = new CXBmpSlider(0, sheet);
  s->SetOrientation(orientation);
  s->SetMargins(margins);
  s->SetRange(minimum, maximum);
  s->SetPos(position);
  s->SetBackgroundColor(kPageBackground);
  s->setGeometry(where);
  return s;
}

void AddSliders(QWidget* sheet) {
  AddSlider(sheet, QRect(20, 20, 220, 20), SliderOrientation::horizontal, kDelaySliderMargins, 0, 25, 13);
  AddSlider(sheet, QRect(20, 50, 220, 20), SliderOrientation::horizontal, kLocationSliderMargins, 0, 100,
            100);
  AddSlider(sheet, QRect(20, 80, 220, 20), SliderOrientation::horizontal, kCompressorSliderMargins, -60, 0,
            -20)
      ->setEnabled(false);
  AddSlider(sheet, QRect(270, 20, 24, 200), SliderOrientation::vertical, kEffectEqSliderMargins, -150, 150,
            45);
  AddSlider(sheet, QRect(310, 20, 24, 200), SliderOrientation::vertical, kEffectEqSliderMargins, 20, 20000,
            1000);
  AddSlider(sheet, QRect(350, 20, 24, 200), SliderOrientation::vertical, kEffectEqSliderMargins, 10, 3000, 10)
      ->setFocus();
}

void AddMeters(QWidget* sheet) {
  const int levels[] = {60, 46, 31, 12, 52, 0};
  for (int i = 0; i < 6; ++i) {
    auto* meter = new CPeakMeterCtrl(0, sheet);
    meter->SetSettings(InputMeterSettings());
    meter->SetHorizontal(true);
    meter->SetPeakLine(false);
    meter->SetBackgroundColor(kPageBackground);
    meter->setGeometry(20, 120 + 18 * i, 152, 12);
    meter->SetData(std::span<const int>(&levels[i], 1));
  }
  auto* bars = new CPeakMeterCtrl(0, sheet);
  bars->SetBackgroundColor(kPageBackground);
  bars->setGeometry(410, 20, 120, 180);
  const int first[] = {60, 60, 60, 60, 60, 60, 60, 60};
  const int now[] = {52, 44, 38, 30, 22, 15, 9, 3};
  bars->SetData(first);
  bars->SetData(now);  // the peaks stay at the top
}

void AddButtons(QWidget* sheet) {
  const char* const names[][2] = {
      {"输出", "Output"}, {"延时", "Delay"}, {"声场", "Location"}, {"压限", "Compressor"}};
  for (int i = 0; i < 4; ++i) {
    auto* b = new CGdipButton(0, LangText(names[i][0], names[i][1]), sheet);
    b->setGeometry(20 + 96 * i, 250, 90, 26);
    b->SetToggle(true);
    b->SetCheck(i == 1);
    b->setEnabled(i != 3);
  }
  auto* back = new CGdipButton(0, QString(), sheet);
  back->SetGlyph(ButtonGlyph::back);
  back->setGeometry(410, 248, 30, 30);
}

void AddReportList(QWidget* sheet) {
  auto* list = new CReportCtrl(0, sheet);
  list->InsertColumn(0, LangText("", " "), Qt::AlignHCenter, 50);
  list->InsertColumn(1, LangText("参数名", "Parameter name"), Qt::AlignLeft, 130);
  list->InsertColumn(2, LangText("参数值", "Value"), Qt::AlignHCenter, 80);
  const char* const rows[][3] = {
      {"混响电平", "Reverb Level", "60%"},       {"混响预延时", "Reverb Predelay", "40ms"},
      {"混响时长", "Reverb Time", "1528ms"},     {"回声电平", "Echo Level", "45%"},
      {"回声预延时", "Echo Predelay", "20ms"},   {"回声间隔", "Echo Time", "4ms"},
      {"回声起始音量", "Echo Start Vol", "80%"}, {"回声衰减比例", "Echo Vol Decay", "50%"},
      {"话筒移频", "Shift Frequency", "4Hz"}};
  for (int row = 0; row < 9; ++row) {
    list->InsertRow(row, QString::number(row + 1));
    list->SetItemText(row, 1, LangText(rows[row][0], rows[row][1]));
    list->SetItemText(row, 2, QString::fromUtf8(rows[row][2]));
  }
  list->selectRow(4);
  list->setGeometry(20, 296, 264, 224);
}

// A reverb equaliser as a user might shape it: a rumble cut, a low shelf, a dip, a presence lift, a high
// shelf and a top cut, with the Q the microphone page gives each type.
void TuneReverbPreview(CSmallEqPanel& panel) {
  struct Band {
    int type;
    double frequency, gain, q;
  };
  const Band bands[] = {{3, 60, 0, 0.7},     {4, 150, 3, 0.7},  {1, 400, -4, 2.0}, {1, 1000, 5, 1.41},
                        {1, 3000, -2, 1.41}, {5, 8000, 3, 0.7}, {2, 16000, 0, 0.7}};
  for (int i = 0; i < 7; ++i) {
    panel.band(i).type = bands[i].type;
    panel.band(i).q = static_cast<float>(bands[i].q);
    panel.SetPreviewGain(i, bands[i].gain);
    panel.SetPreviewFrequency(i, bands[i].frequency);
  }
}

// The microphone page's three view colours, each tuned and bypassed; the first one under the pointer.
void AddPreviews(QWidget* sheet) {
  const QRgb colours[] = {0xFF00C8FF, 0xFF00DC00, 0xFF646464};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 2; ++column) {
      auto* preview = new CSmallEqPanel(sheet);
      preview->setGeometry(570 + 320 * column, 20 + 170 * row, 300, 150);
      preview->SetCurveColour(colours[row]);
      TuneReverbPreview(*preview);
      preview->SetBypass(column == 1);
      if (row == 0 && column == 0) {
        QEnterEvent enter(QPointF(150, 75), QPointF(150, 75), QPointF(150, 75));
        QApplication::sendEvent(preview, &enter);
      }
    }
  }
}

}  // namespace

QStringList RenderControlsSheet(const QDir& out, const QString& languageTag) {
  QWidget sheet;
  ApplyDialogBackground(&sheet);
  sheet.resize(1210, 540);
  AddSliders(&sheet);
  AddMeters(&sheet);
  AddButtons(&sheet);
  AddReportList(&sheet);
  AddPreviews(&sheet);
  sheet.show();
  sheet.activateWindow();
  WaitUntil([&sheet] { return sheet.isActiveWindow(); }, 500);
  WaitUntil([] { return false; }, 60);
  QStringList written;
  for (int ratio : {1, 2}) {
    QImage image(sheet.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(kPageBackground);
    sheet.render(&image);
    const QString suffix = ratio == 1 ? QString() : QStringLiteral("@2x");
    const QString path = out.filePath(QStringLiteral("controls_%1%2.png").arg(languageTag, suffix));
    if (image.save(path)) written << path;
  }
  return written;
}
