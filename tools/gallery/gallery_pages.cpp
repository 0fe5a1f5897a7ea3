// The pages' pictures: the microphone and music page in each view, with a band selected and without, and
// the effect EQ editor, the compressor page switched on and off, the delay page, the output channels page
// with and without its crossover selected, each at 1920x1080 and at the main window's minimum size.
#include "gallery_pages.h"

#include <QAbstractButton>
#include <QWidget>

#include "app/kestrel_app.h"
#include "gallery_shots.h"
#include "look/control_id.h"
#include "model/band.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "pages/comp_page.h"
#include "pages/delay_page.h"
#include "pages/efx_page.h"
#include "pages/eq_editing.h"
#include "pages/eq_measurement.h"
#include "pages/music_page.h"
#include "pages/output_page.h"
#include "pages/page_switch.h"
#include "pages/ssvc_page.h"
#include "ribbon/ribbon_bar.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"

namespace {
// The output pages are reached from the "Output" category: the pictures show it selected.
void ShowOutputPage(CKestrelv13App& app, PageKind kind) {
  app.frame()->ribbon()->SelectCategory(kOutputCategory);
  app.view()->ShowPage(kind);
}

struct Size {
  QSize size;
  const char* name;
};

QString Save(QWidget* window, const QDir& out, const QString& name, const QString& tag) {
  WaitUntil([] { return false; }, 80);
  const QString path = out.filePath(QStringLiteral("%1_%2.png").arg(name, tag));
  return window->grab().save(path) ? path : QString();
}

template <typename Page>
Page* Shown(CKestrelv13App& app) {
  WaitUntil([&app] { return qobject_cast<Page*>(app.view()->currentPage()) != nullptr; }, 2000);
  return qobject_cast<Page*>(app.view()->currentPage());
}

// The compressor page on CH 3 with a compressor at work, then switched off ("OFF" over the curve).
QStringList SaveCompPage(CKestrelv13App& app, const QDir& out, const char* sizeName, const QString& tag) {
  // A compressor at work: -30 dB at 4:1 (the picture shows the store; nothing is sent).
  vireo::TheStore().SetFloat(vireo::slot::chCompThreshold[2], -30.0f);
  vireo::TheStore().SetFloat(vireo::slot::chCompRatio[2], 4.0f);
  vireo::TheStore().SetFloat(vireo::slot::chCompAttack[2], 10.0f);
  vireo::TheStore().SetFloat(vireo::slot::chCompRelease[2], 200.0f);
  ShowOutputPage(app, PageKind::comp);
  auto* comp = Shown<CCompDlg>(app);
  if (comp == nullptr) return {};
  comp->ShowChannel(2);
  auto* on = FindByControlId<QAbstractButton>(comp, comp_page_id::onBox);
  QStringList written;
  for (const bool switchOn : {true, false}) {
    if (on != nullptr && on->isChecked() != switchOn) on->click();
    const char* state = switchOn ? "on" : "off";
    written << Save(app.frame(), out, QStringLiteral("page_346_%1_%2").arg(state, sizeName), tag);
  }
  return written;
}

// The output channels page on CH 1 with no band selected, then on CH 4 with its crossover (a LinkwitzRiely
// 24dB high-pass at 80 Hz, put into the store only) selected, so that the crossover type shows, and a
// +4.5 dB presence lift at 2 kHz that brings up the clipping warning.
QStringList SaveOutputPage(CKestrelv13App& app, const QDir& out, const char* sizeName, const QString& tag) {
  constexpr int kGroup = 5 + 3;
  for (int s = 0; s < 4; ++s) {
    const std::uint8_t type = s < 2 ? 13 : 1;
    const vireo::BandRecord record{0.0f, 80, s < 2 ? 0.7f : 1.41f, type};
    vireo::TheStore().WriteBytes(vireo::Region::dspBlock,
                                 static_cast<std::size_t>(vireo::EqBandAddress(kGroup, 9 + s)),
                                 vireo::EncodeBandRecord(record));
  }
  const vireo::BandRecord lift{4.5f, 2000, 1.41f, 1};
  vireo::TheStore().WriteBytes(vireo::Region::dspBlock,
                               static_cast<std::size_t>(vireo::EqBandAddress(kGroup, 6)),
                               vireo::EncodeBandRecord(lift));
  ShowOutputPage(app, PageKind::output);
  auto* output = Shown<CDialogOutput>(app);
  if (output == nullptr) return {};
  QStringList written;
  output->ShowChannel(0);
  written << Save(app.frame(), out, QStringLiteral("page_385_%1").arg(sizeName), tag);
  output->ShowChannel(3);
  output->SelectSection(9);
  written << Save(app.frame(), out, QStringLiteral("page_385_crossover_%1").arg(sizeName), tag);
  output->ShowChannel(0);
  return written;
}

// The sound-field location page in the default 4 m room with the listener moved off centre, then in a
// 9 x 7 m room (odd sizes label the walls in tenths). The store is set directly; nothing is sent.
QStringList SaveSsvcPage(CKestrelv13App& app, const QDir& out, const char* sizeName, const QString& tag) {
  const vireo::LocationGeometry saved = vireo::TheStore().geometry();
  // A typical installation: channel c plays role c.
  for (int c = 0; c < 8; ++c) vireo::TheStore().SetInt(vireo::slot::chType[c], c);
  vireo::LocationGeometry g = saved;
  g.listener = {0.6f, -0.4f};
  vireo::TheStore().setGeometry(g);
  ShowOutputPage(app, PageKind::ssvc);
  auto* page = Shown<CSSVCDlg>(app);
  QStringList written;
  if (page == nullptr) return written;
  page->RefreshFromStore();
  written << Save(app.frame(), out, QStringLiteral("page_334_%1").arg(sizeName), tag);
  g.roomWidth = 9;
  g.roomLength = 7;
  g.speakers[4] = {0.0f, -3.5f};
  vireo::TheStore().setGeometry(g);
  page->RefreshFromStore();
  written << Save(app.frame(), out, QStringLiteral("page_334_room_%1").arg(sizeName), tag);
  vireo::TheStore().setGeometry(saved);
  return written;
}

// The delay page with delays spread over the axis, CH 3 in "Channel" mode and CH 6 switched off.
QString SaveDelayPage(CKestrelv13App& app, const QDir& out, const char* sizeName, const QString& tag) {
  const float delays[] = {1.5f, 12.3f, 25.0f, 40.8f, 55.5f, 70.0f, 88.8f, 100.0f};
  for (int c = 0; c < 8; ++c) {
    vireo::TheStore().SetFloat(vireo::slot::chDelay[c], delays[c]);
    vireo::TheStore().SetInt(vireo::slot::chDelayOff[c], c == 5 ? 1 : 0);
    vireo::TheStore().SetInt(vireo::slot::chDelayMode[c], c == 2 ? 1 : 0);
  }
  ShowOutputPage(app, PageKind::delay);
  auto* delay = Shown<CDelayDlg>(app);
  if (delay == nullptr) return {};
  delay->RefreshFromStore();
  return Save(app.frame(), out, QStringLiteral("page_333_%1").arg(sizeName), tag);
}

}  // namespace

namespace {

// A published headphone measurement under the music EQ, the room curve as target and ten bands fitted to
// it: the measurement grey, the target dashed, the prediction in the page's colour. The fit is undone
// afterwards, so the pictures after it show the EQ as before.
QString SaveMeasurement(CKestrelv13App& app, CDialogMusic& music, const QDir& out, const char* size,
                        const QString& tag) {
  CEqMeasurement* measurement = music.eq().measurement();
  QString problem;
  if (!measurement->Load({QStringLiteral(VIREO_GALLERY_MEASUREMENT)}, &problem)) return {};
  EqTargetChoice room;
  room.kind = EqTargetChoice::Kind::room;
  measurement->SetTarget(room, &problem);
  measurement->StartFit(EqFitChoice{});
  WaitUntil([measurement] { return !measurement->fitRunning(); }, 10000);
  const QString written = Save(app.frame(), out, QStringLiteral("page_313_measurement_%1").arg(size), tag);
  app.frame()->Undo();
  measurement->Clear();
  return written;
}

}  // namespace

QStringList RenderPageGallery(CKestrelv13App& app, const QDir& out, const QString& tag) {
  QStringList written;
  CMainFrame* frame = app.frame();
  const Size sizes[] = {{QSize(1920, 1080), "1920"}, {frame->minimumSize(), "min"}};
  for (const Size& size : sizes) {
    frame->resize(size.size);
    app.frame()->ribbon()->SelectCategory(kInputCategory);
    app.view()->ShowPage(PageKind::music);
    for (int view = 0; view < 3; ++view) {
      auto* music = Shown<CDialogMusic>(app);
      if (music == nullptr) return written;
      music->SetView(view);
      written << Save(frame, out, QStringLiteral("page_313_view%1_%2").arg(view).arg(size.name), tag);
      if (view == 0) {
        music->SelectSection(3);
        written << Save(frame, out, QStringLiteral("page_313_band_%1").arg(size.name), tag);
      }
      if (view == 2) written << SaveMeasurement(app, *music, out, size.name, tag);
    }
    ShowEffectEqEditor(*TheApp(), 0);
    auto* efx = Shown<CDialogEfx>(app);
    if (efx == nullptr) return written;
    written << Save(frame, out, QStringLiteral("page_421_%1").arg(size.name), tag);
    efx->SelectSection(2);
    written << Save(frame, out, QStringLiteral("page_421_band_%1").arg(size.name), tag);
    ShowMusicPageAgain(*TheApp());
    Shown<CDialogMusic>(app);
    written << SaveCompPage(app, out, size.name, tag);
    written << SaveOutputPage(app, out, size.name, tag);
    written << SaveSsvcPage(app, out, size.name, tag);
    written << SaveDelayPage(app, out, size.name, tag);
  }
  written.removeAll(QString());
  return written;
}
