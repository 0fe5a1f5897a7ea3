// The gallery's pictures.
#include "gallery_shots.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include "app/kestrel_app.h"
#include "device/connection.h"
#include "dialogs/about_dlg.h"
#include "dialogs/backups_dlg.h"
#include "dialogs/info_dlg.h"
#include "dialogs/remote_control_dlg.h"
#include "dialogs/syn_dlg.h"
#include "i18n/language_table.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "ribbon/application_menu.h"
#include "ribbon/mode_menus.h"
#include "ribbon/ribbon_bar.h"
#include "services/choice_box.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}

namespace {

class Shots {
 public:
  Shots(const QDir& out, QString tag) : out_(out), tag_(std::move(tag)) {}

  void Take(QWidget* widget, const QString& name) {
    widget->show();
    WaitUntil([] { return false; }, 60);  // let layouts and paints settle
    const QString path = out_.filePath(QStringLiteral("%1_%2.png").arg(name, tag_));
    if (widget->grab().save(path)) written_ << path;
  }
  QStringList written() const { return written_; }

 private:
  QDir out_;
  QString tag_;
  QStringList written_;
};

void ShowMenuAndTake(Shots& shots, QMenu* menu, const QString& name) {
  menu->popup(QPoint(0, 0));
  shots.Take(menu, name);
  menu->hide();
}

}  // namespace

QStringList RenderAbShot(CKestrelv13App& app, const QDir& out, const QString& languageTag) {
  Shots shots(out, languageTag);
  CMainFrame* frame = app.frame();
  frame->resize(1200, 760);
  frame->SwitchTuning();
  shots.Take(frame, QStringLiteral("main_ab"));
  // Two backups, the newer one differing from the tuning now in a level and a band.
  vireo::ParameterStore& store = vireo::TheStore();
  app.BackUpTuning(QStringLiteral("open-file"));
  const int echo = store.Int(vireo::slot::echoVolume);
  store.SetInt(vireo::slot::echoVolume, echo + 10);
  app.BackUpTuning(QStringLiteral("slot-2"));
  store.SetInt(vireo::slot::echoVolume, echo);
  CBackupsDlg backups(app, frame);
  shots.Take(&backups, QStringLiteral("dialog_backups"));
  return shots.written();
}

QStringList RenderShellGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag) {
  Shots shots(out, languageTag);
  CMainFrame* frame = app.frame();
  frame->resize(1200, 760);
  frame->ribbon()->SelectCategory(kInputCategory);
  shots.Take(frame, QStringLiteral("main_input"));
  frame->ribbon()->SelectCategory(kOutputCategory);
  shots.Take(frame, QStringLiteral("main_output"));
  frame->ribbon()->SelectCategory(kInputCategory);

  ShowMenuAndTake(shots, frame->ribbon()->applicationMenu(), QStringLiteral("menu_application"));
  ShowMenuAndTake(shots, frame->ribbon()->modeMenus()->loadMenu(), QStringLiteral("menu_load_mode"));

  app.ShowNotice(LangText("不能超过最大话筒音量!", "Mic vol can't over max value!"), 60000);
  shots.Take(app.windows().notice, QStringLiteral("dialog_344_notice"));
  app.windows().notice->close();

  CSynDlg sync(QString(), frame);
  shots.Take(&sync, QStringLiteral("dialog_347_sync"));
  sync.Finish();

  CDlgMsgBox choice(LangText("请选择要复制的通道", "Choose the channel to copy"), LangText("通道1", "Main"),
                    LangText("通道2", "Channel 2"), frame);
  shots.Take(&choice, QStringLiteral("dialog_513_choice"));
  choice.close();

  CAboutDlg about(vireo::TheStore(), app.connection().meterPollEnabled(), nullptr, frame);
  QKeyEvent reveal(QEvent::KeyRelease, Qt::Key_F11, Qt::ControlModifier | Qt::ShiftModifier);
  QApplication::sendEvent(&about, &reveal);
  shots.Take(&about, QStringLiteral("dialog_100_about"));
  about.close();
  return shots.written();
}

QStringList RenderRemoteControlShots(CKestrelv13App& app, const QDir& out, const QString& languageTag) {
  Shots shots(out, languageTag);
  RemoteControlService& remote = app.remote();
  CRemoteControlDlg window(app, app.frame());
  shots.Take(&window, QStringLiteral("dialog_remote_control_off"));
  // The port taken by another program: the window says so in red and stays off.
  {
    QTcpServer other;
    QString problem;
    if (other.listen(QHostAddress::LocalHost)) {
      remote.SetListenAddresses({QStringLiteral("127.0.0.1:%1").arg(other.serverPort())}, &problem);
      remote.Start();
      shots.Take(&window, QStringLiteral("dialog_remote_control_in_use"));
    }
  }
  // On for phones, with one of them connected: the usual port when it is free.
  QString problem;
  remote.SetListenAddresses({QStringLiteral("0.0.0.0:8719")}, &problem);
  if (!remote.Start()) {
    remote.SetListenAddresses({QStringLiteral("0.0.0.0:0")}, &problem);
    remote.Start();
  }
  QTcpSocket phone;
  if (!remote.boundAddresses().isEmpty()) {
    phone.connectToHost(QStringLiteral("127.0.0.1"),
                        static_cast<quint16>(remote.boundAddresses().first().port));
    WaitUntil([&phone] { return phone.state() == QAbstractSocket::ConnectedState; }, 3000);
    phone.write(
        "GET /api/v1/ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\nAuthorization: "
        "Bearer " +
        remote.token().toLatin1() + "\r\n\r\n");
    WaitUntil([&remote] { return !remote.clients().isEmpty(); }, 3000);
  }
  shots.Take(&window, QStringLiteral("dialog_remote_control"));
  phone.abort();
  remote.Stop();
  remote.SetListenAddresses({QString::fromLatin1(kDefaultRemoteListen)}, &problem);

  // Home automation: a broker that is not there (the reason in red, retried), then one that is, when
  // this computer has Mosquitto.
  MqttLinkSettings mqtt;
  mqtt.host = QStringLiteral("127.0.0.1");
  mqtt.port = 1;
  mqtt.machineId = QStringLiteral("living-room");
  remote.SetMqttSettings(mqtt, &problem);
  remote.StartMqtt(&problem);
  WaitUntil([&remote] { return remote.mqttStatus().state == MqttLinkState::reconnecting; }, 3000);
  {
    CRemoteControlDlg unreachable(app, app.frame());
    shots.Take(&unreachable, QStringLiteral("dialog_remote_control_mqtt_unreachable"));
  }
  QTemporaryDir brokerDir;
  QTcpServer probe;
  QProcess broker;
  if (QFile::exists(QStringLiteral("/usr/sbin/mosquitto")) && brokerDir.isValid() &&
      probe.listen(QHostAddress::LocalHost)) {
    mqtt.port = probe.serverPort();
    probe.close();
    QFile conf(brokerDir.filePath(QStringLiteral("mosquitto.conf")));
    if (conf.open(QIODevice::WriteOnly))
      conf.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n").arg(mqtt.port).toLatin1());
    conf.close();
    broker.start(QStringLiteral("/usr/sbin/mosquitto"), {QStringLiteral("-c"), conf.fileName()});
    remote.SetMqttSettings(mqtt, &problem);
    if (WaitUntil([&remote] { return remote.mqttStatus().state == MqttLinkState::connected; }, 5000)) {
      CRemoteControlDlg connected(app, app.frame());
      shots.Take(&connected, QStringLiteral("dialog_remote_control_mqtt"));
    }
  }
  remote.StopMqtt();
  if (broker.state() != QProcess::NotRunning) {
    broker.terminate();
    broker.waitForFinished(3000);
  }
  return shots.written();
}
