// The tuning dialogs, opened as their commands open them.
#include "gallery_dialogs.h"

#include <QDialog>

#include "app/kestrel_app.h"
#include "dialogs/tuning_dialogs.h"
#include "gallery_shots.h"
#include "model/parameter_store.h"
#include "services/device_services.h"
#include "tuning/edit_history.h"

namespace {
QString Take(QWidget* widget, const QDir& out, const QString& name, const QString& tag) {
  WaitUntil([] { return false; }, 80);  // let layouts and paints settle
  const QString path = out.filePath(QStringLiteral("%1_%2.png").arg(name, tag));
  return widget->grab().save(path) ? path : QString();
}

// Values that show every kind of text: a boost, a fractional ratio, HDMI3 selected, a disabled start.
void DemoValues(CKestrelv13App& app) {
  using vireo::tuning::FieldValue;
  app.device().edits().Apply(
      {FieldValue{"hdmi1Level", 0, 100}, FieldValue{"hdmi2Level", 0, 85}, FieldValue{"hdmi3Level", 0, 127},
       FieldValue{"hdmi4Level", 0, 60}, FieldValue{"spdifLevel", 0, 100}, FieldValue{"bluetoothLevel", 0, 90},
       FieldValue{"auxLevel", 0, 75}, FieldValue{"hdmiPort", 0, 2}, FieldValue{"micBoostOn", 0, 1},
       FieldValue{"micBoostLevel", 0, -12}, FieldValue{"musicLowFrequency", 0, 120},
       FieldValue{"musicLowDelay", 0, 5}, FieldValue{"musicLowGain", 0, 150}, FieldValue{"autoSubOn", 0, 1},
       FieldValue{"autoSubRatio", 0, 40}, FieldValue{"musicCompThreshold", 0, -20},
       FieldValue{"musicCompRatio", 0, 4.5}, FieldValue{"musicCompAttack", 0, 10},
       FieldValue{"musicCompRelease", 0, 200}});
  vireo::ParameterStore& store = vireo::TheStore();
  for (vireo::Region r : {vireo::Region::machineSettings, vireo::Region::machineSettingsEdit}) {
    store.SetByte(r, 4, 255);  // music start volume not enabled
    store.SetByte(r, 5, 80);
    store.SetByte(r, 11, 3);
  }
}

}  // namespace

QStringList RenderTuningDialogGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag) {
  QStringList written;
  DemoValues(app);
  OpenMachineSettings(app);
  written << Take(app.windows().machineSettings, out, QStringLiteral("dialog_335_machine_settings"),
                  languageTag);
  app.windows().machineSettings->close();
  OpenFeatures(app);
  written << Take(app.windows().features, out, QStringLiteral("dialog_515_features"), languageTag);
  app.windows().features->close();
  OpenMusicInput(app);
  written << Take(app.windows().inputSource, out, QStringLiteral("dialog_512_music_source"), languageTag);
  app.windows().inputSource->close();
  written.removeAll(QString());
  return written;
}
