// The remote-learning window with learned codes, and the learning dialog waiting and done.
#include "gallery_remote.h"

#include <QDialog>

#include "app/kestrel_app.h"
#include "gallery_shots.h"
#include "home/remote_dlg.h"
#include "home/remote_picture.h"
#include "home/remote_study_dlg.h"
#include "model/parameter_store.h"
#include "services/smart_home_link.h"
#include "shell/main_frame.h"

namespace {

QString Take(QWidget* widget, const QDir& out, const QString& name, const QString& tag) {
  WaitUntil([] { return false; }, 80);  // let layouts and paints settle
  const QString path = out.filePath(QStringLiteral("%1_%2.png").arg(name, tag));
  return widget->grab().save(path) ? path : QString();
}

// A table with most functions learned, a few codes that show every digit.
void DemoCodes(vireo::ParameterStore& store) {
  static constexpr std::uint8_t kCodes[18] = {0x00, 0x12, 0x45, 0x1A, 0x3C, 0x4D, 0x5E, 0x6F, 0x80,
                                              0x91, 0x0C, 0xB3, 0x07, 0xE6, 0x2B, 0xF8, 0x09, 0xAA};
  for (std::size_t i = 0; i < 18; ++i) store.SetByte(vireo::Region::remoteKeyTable, i, kCodes[i]);
}

}  // namespace

QStringList RenderRemoteGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag) {
  QStringList written;
  // The pictures only open the windows: nothing is learned, applied or sent.
  SmartHomeLink& link = app.smartHome();
  DemoCodes(vireo::TheStore());
  auto* remote = new CRemoteDlg(link, app.frame());
  remote->show();
  remote->activateWindow();
  remote->picture()->setFocus();
  remote->picture()->SetFocusedKey(3);
  written << Take(remote, out, QStringLiteral("dialog_373_remote"), languageTag);

  auto* study = new CRemoteStudyDlg(link, 5, remote);
  study->show();
  written << Take(study, out, QStringLiteral("dialog_372_learning"), languageTag);
  study->OnKeyLearned(0x3C);
  written << Take(study, out, QStringLiteral("dialog_372_learned"), languageTag);
  delete study;
  delete remote;
  written.removeAll(QString());
  return written;
}
