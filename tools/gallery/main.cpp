// vireo-gallery OUTDIR: the shell's windows in Chinese and English on the emulator, as PNG files.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "app/kestrel_app.h"
#include "controls_sheet.h"
#include "device/connection.h"
#include "gallery_controls.h"
#include "gallery_dialogs.h"
#include "gallery_pages.h"
#include "gallery_plugs.h"
#include "gallery_remote.h"
#include "gallery_scenes.h"
#include "gallery_shots.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "model/report.h"
#include "services/app_settings.h"
#include "tuning/eq_operations.h"

namespace {

class NoSender final : public vireo::ReportSender {
 public:
  int SendPaced(const vireo::Report&) override { return 0; }
  int SendUnpaced(const vireo::Report&) override { return 0; }
};

// A few shaped bands, so the graphs show curves.
void DemoBands(vireo::ParameterStore& demo) {
  NoSender none;
  using vireo::dsp::BandShape;
  vireo::tuning::WriteEqBand(demo, none, 0, 1, BandShape{4, 4.5, 80, 0.7});
  vireo::tuning::WriteEqBand(demo, none, 0, 5, BandShape{1, -6.0, 900, 2.5});
  vireo::tuning::WriteEqBand(demo, none, 0, 8, BandShape{1, 3.0, 7500, 1.2});
  vireo::tuning::WriteEqBand(demo, none, 0, 9, BandShape{2, 0.0, 15000, 0.7});
  vireo::tuning::WriteEqBand(demo, none, 1, 3, BandShape{1, 5.0, 300, 1.0});
  vireo::tuning::WriteEqBand(demo, none, 6, 0, BandShape{3, 0.0, 35, 0.7});
  vireo::tuning::WriteEqBand(demo, none, 6, 6, BandShape{1, -4.0, 2500, 3.0});
  vireo::tuning::WriteEqBand(demo, none, 2, 2, BandShape{1, 6.0, 250, 1.0});
  vireo::tuning::WriteEqBand(demo, none, 4, 4, BandShape{1, -8.0, 1000, 1.5});
  demo.SetInt(vireo::slot::echoEqBypassA, 1);
}

// A machine with some levels set, so the pictures show values rather than zeros.
QString WriteDemoMachine(const QString& folder) {
  vireo::ParameterStore demo;
  vireo::ResetStoreDefaults(demo);
  demo.SetInt(vireo::slot::micVolume, 72);
  demo.SetInt(vireo::slot::effectVolume, 64);
  demo.SetInt(vireo::slot::reverbVolume, 35);
  demo.SetInt(vireo::slot::echoVolume, 48);
  demo.SetInt(vireo::slot::musicVolume, 55);
  demo.SetInt(vireo::slot::musicNoiseGate, 12);
  demo.SetInt(vireo::slot::musicPitch, 2);
  demo.SetInt(vireo::slot::echoMute, 1);
  DemoBands(demo);
  const QString path = folder + "/demo.noveq";
  return vireo::WriteModeFile(demo, path.toStdString()).ok ? path : QString();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vireo-gallery OUTDIR\n", stderr);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication qtApp(argc, argv);
  QTemporaryDir work;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.path() + "/settings");
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(out.absolutePath())) {
    std::fprintf(stderr, "vireo-gallery: cannot make %s\n", argv[1]);
    return 1;
  }
  QStringList written;
  for (int language : {0, 1}) {
    QSettings(kSettingsKey, kApplicationName).setValue("Workspace/language", language);
    AppConfig config;
    config.launch.emulator = true;
    config.launch.emulatorState = WriteDemoMachine(work.path());
    AppSettings().AddRecentFile(config.launch.emulatorState);
    config.singleInstance = false;
    config.quitWhenClosed = false;
    config.helpPagePath = work.path() + "/help/Plug.html";
    config.plugFolder = work.path() + "/Plug";
    config.backupFolder = work.path() + "/backups";
    config.remoteTokenPath = work.path() + "/remote-token";
    CKestrelv13App app(config);
    if (app.Start() != CKestrelv13App::StartResult::running) return 1;
    const bool synced = WaitUntil(
        [&app] { return app.connection().connected() && !app.windows().sync && app.connection().idle(); },
        30000);
    if (!synced)
      std::fputs("vireo-gallery: the emulator did not synchronise; pictures show defaults\n", stderr);
    const QString tag = language == 1 ? QStringLiteral("en") : QStringLiteral("zh");
    written += RenderShellGallery(app, out, tag);
    written += RenderPageGallery(app, out, tag);
    written += RenderTuningDialogGallery(app, out, tag);
    written += RenderRemoteGallery(app, out, tag);
    written += RenderRemoteControlShots(app, out, tag);
    written += RenderPlugsGallery(app, out, tag);
    written += RenderScenesGallery(app, out, tag);
    written += RenderControlsSheet(out, tag);
    written += RenderControlGallery(out, tag);
    written += RenderAbShot(app, out, tag);
  }
  for (const QString& file : written) std::printf("%s\n", file.toLocal8Bit().constData());
  return written.isEmpty() ? 1 : 0;
}
