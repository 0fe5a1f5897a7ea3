// vireo-gallery OUTDIR: the shell's windows in Chinese and English on the emulator, as PNG files.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "app/app_settings.h"
#include "app/kestrel_app.h"
#include "controls_sheet.h"
#include "device/connection.h"
#include "gallery_controls.h"
#include "gallery_shots.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"

namespace {

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
    CKestrelv13App app(config);
    if (app.Start() != CKestrelv13App::StartResult::running) return 1;
    const bool synced = WaitUntil(
        [&app] { return app.connection().connected() && !app.windows().sync && app.connection().idle(); },
        30000);
    if (!synced)
      std::fputs("vireo-gallery: the emulator did not synchronise; pictures show defaults\n", stderr);
    const QString tag = language == 1 ? QStringLiteral("en") : QStringLiteral("zh");
    written += RenderShellGallery(app, out, tag);
    written += RenderControlsSheet(out, tag);
    written += RenderControlGallery(out, tag);
  }
  for (const QString& file : written) std::printf("%s\n", file.toLocal8Bit().constData());
  return written.isEmpty() ? 1 : 0;
}
