// The remote control in the window on the emulator: a remote's edit is one undo step the ribbon shows; the
// window's switch, address, token and client list over real HTTP and WebSocket connections; the QR code;
// the MQTT section against a real broker.
#include <sys/stat.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeWidget>
#include <QtTest>

#include "common/mqtt_broker.h"
#include "controls/qr_code.h"
#include "controls/step_slider.h"
#include "dialogs/backups_dlg.h"
#include "dialogs/remote_control_dlg.h"
#include "look/command_ids.h"
#include "model/backups.h"
#include "model/parameter_store.h"
#include "model/report.h"
#include "ribbon/application_menu.h"
#include "ribbon/ribbon_bar.h"
#include "services/device_services.h"
#include "tuning/edit_history.h"
#include "ui_harness.h"

namespace {

struct HttpReply {
  int status = 0;
  QByteArray body;
};

// One request over a raw socket. The event loop runs while it waits: the window's host answers on this
// thread.
HttpReply Http(int port, const QByteArray& method, const QByteArray& path, const QString& token,
               const QByteArray& body = {}) {
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  if (!QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 5000)) return {};
  QByteArray request = method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  if (!token.isEmpty()) request += "Authorization: Bearer " + token.toLatin1() + "\r\n";
  if (!body.isEmpty())
    request +=
        "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n";
  socket.write(request + "\r\n" + body);
  QByteArray received;
  HttpReply reply;
  const bool complete = QTest::qWaitFor(
      [&] {
        received += socket.readAll();
        const qsizetype end = received.indexOf("\r\n\r\n");
        if (end < 0) return false;
        const QByteArray head = received.left(end).toLower();
        const qsizetype at = head.indexOf("content-length:");
        const qsizetype length =
            at < 0 ? 0 : head.mid(at + 15, head.indexOf('\r', at) - at - 15).trimmed().toInt();
        return received.size() >= end + 4 + length;
      },
      10000);
  if (!complete) return reply;
  reply.status = received.mid(9, 3).toInt();  // "HTTP/1.1 200 OK"
  reply.body = received.mid(received.indexOf("\r\n\r\n") + 4);
  return reply;
}

// A WebSocket client as far as the server can tell: the upgrade, answered 101, and then silence.
bool OpenWebSocket(QTcpSocket& socket, int port, const QString& token) {
  socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  if (!QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 5000)) return false;
  socket.write(
      "GET /api/v1/ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
      "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n"
      "Authorization: Bearer " +
      token.toLatin1() + "\r\n\r\n");
  QByteArray received;
  return QTest::qWaitFor(
      [&] {
        received += socket.readAll();
        return received.startsWith("HTTP/1.1 101");
      },
      5000);
}

// A click where the user clicks a check box: on its box, not somewhere along the row it spans.
void ClickCheckBox(QCheckBox* box) {
  QStyleOptionButton option;
  option.initFrom(box);
  const QRect hit = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
  QTest::mouseClick(box, Qt::LeftButton, {}, hit.center());
}

// As the user edits a field: everything selected and deleted, the text typed, Return.
void TypeInto(QWidget* field, const QString& text) {
  field->setFocus();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClicks(field, text);
  QTest::keyClick(field, Qt::Key_Return);
}

bool Received(const vireo::remote::test::MqttClient& client, const std::string& topic, const std::string& payload) {
  for (const vireo::remote::test::MqttMessage& m : client.messages())
    if (m.topic == topic && m.payload == payload) return true;
  return false;
}

int Port(CKestrelv13App& app) {
  const QList<RemoteEndpoint> bound = app.remote().boundAddresses();
  return bound.isEmpty() ? 0 : bound.first().port;
}

// The smallest QR version whose byte capacity at level M holds `length` bytes (versions 1..10).
int VersionForBytes(int length) {
  static constexpr int kCapacityM[] = {14, 26, 42, 62, 84, 106, 122, 152, 180, 213};
  for (int v = 1; v <= 10; ++v)
    if (length <= kCapacityM[v - 1]) return v;
  return 0;
}

}  // namespace

class RemoteControlTests : public QObject {
  Q_OBJECT
 private slots:
  void cleanup();
  void aRemoteEditIsOneUndoStepAndTheRibbonFollows();
  void aRemoteSlotRecallAsksNothingKeepsABackupAndShowsTheSyncWindow();
  void theSwitchListensAndTheListShowsAWebSocketClient();
  void aNewTokenShutsOutTheOldOne();
  void anAddressInUseIsShownInRedAndTheSwitchStaysOff();
  void theAddressLineTakesTypedAddresses();
  void switchedOnItStartsWithTheWindowAndTheMenuOpensIt();
  void phoneUrlsNameTheNetworkAddress();
  void theQrVersionFitsTheUrlLength();
  void thePaintedCodeIsSquareInsideAWhiteQuietZone();
  void thePhonePageInABrowserFollowsTheWindow();
  void theMqttSwitchPutsTheMachineOnTheBrokerAndACommandIsOneUndoStep();
  void mqttFieldsAreCheckedAndThePasswordKeptApart();

 private:
  // The application on the emulator, the server to listen on a free loopback port.
  void StartApp(bool switchedOn = false);
  std::unique_ptr<UiHarness> rig;
};

void RemoteControlTests::cleanup() {
  rig.reset();
}

void RemoteControlTests::StartApp(bool switchedOn) {
  rig = std::make_unique<UiHarness>();
  {
    AppSettings settings;
    settings.SetRemoteListenAddresses({"127.0.0.1:0"});
    settings.SetRemoteControlOn(switchedOn);
  }
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
}

void RemoteControlTests::aRemoteEditIsOneUndoStepAndTheRibbonFollows() {
  StartApp();
  CKestrelv13App& app = rig->app();
  QVERIFY(app.remote().Start());
  const int before = vireo::TheStore().Int(vireo::slot::musicVolume);
  const int wanted = before == 42 ? 43 : 42;
  const std::size_t steps = app.edits().undoSteps();

  const HttpReply reply = Http(Port(app), "PUT", "/api/v1/fields/musicVolume", app.remote().token(),
                               "{\"value\": " + QByteArray::number(wanted) + "}");
  QCOMPARE(reply.status, 200);
  QCOMPARE(app.edits().undoSteps(), steps + 1);
  QCOMPARE(vireo::TheStore().Int(vireo::slot::musicVolume), wanted);
  CStepSlider* slider = rig->Find<CStepSlider>(kInputIds.music.slider);
  QVERIFY(slider);
  QCOMPARE(slider->value(), wanted);

  rig->frame().Undo();
  QCOMPARE(vireo::TheStore().Int(vireo::slot::musicVolume), before);
  QCOMPARE(slider->value(), before);
  QCOMPARE(app.edits().undoSteps(), steps);
}

void RemoteControlTests::aRemoteSlotRecallAsksNothingKeepsABackupAndShowsTheSyncWindow() {
  StartApp();
  CKestrelv13App& app = rig->app();
  QVERIFY(app.remote().Start());
  vireo::TheStore().setWriteAck(1);  // the menu would ask first; the remote's user has asked already
  bool syncShown = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] { syncShown = syncShown || app.windows().sync; });
  watch.start(5);
  rig->ClearRequests();

  QCOMPARE(Http(Port(app), "POST", "/api/v1/mode/2", app.remote().token()).status, 200);
  QVERIFY(rig->WaitSynchronised());
  QVERIFY(rig->prompts().asked.isEmpty());
  QVERIFY(syncShown);
  QCOMPARE(vireo::TheStore().currentMode(), 1);
  QCOMPARE(CountCommands(rig->Requests(), vireo::code::recallMode, 1), 1);
  const std::vector<vireo::BackupEntry> kept = vireo::ListBackups(app.backupFolder().toStdString());
  QCOMPARE(kept.size(), std::size_t(1));
  QCOMPARE(BackupSourceText(QString::fromStdString(kept[0].source)), QString("Mode slot 2 (remote)"));
}

void RemoteControlTests::theSwitchListensAndTheListShowsAWebSocketClient() {
  StartApp();
  CKestrelv13App& app = rig->app();
  CRemoteControlDlg window(app, &rig->frame());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QVERIFY(!app.remote().running());
  QCOMPARE(window.qrView()->matrix().size, 0);

  ClickCheckBox(window.onSwitch());
  QVERIFY(window.onSwitch()->isChecked());
  QVERIFY(app.remote().running());
  QVERIFY(AppSettings().RemoteControlOn());
  const int port = Port(app);
  QVERIFY(port > 0);
  const QString token = app.remote().token();
  QCOMPARE(token.size(), 32);
  const QString url = QStringLiteral("http://127.0.0.1:%1/?token=%2").arg(port).arg(token);
  QCOMPARE(window.urlLabel()->text(), url);
  QVERIFY(!window.qrView()->matrix().empty());
  QVERIFY(window.problemLabel()->isHidden());
  // The token file is the user's alone.
  struct stat file {};
  QCOMPARE(::stat(QString(rig->dir() + "/remote-token").toLocal8Bit().constData(), &file), 0);
  QCOMPARE(file.st_mode & 0777, 0600u);

  QCOMPARE(Http(port, "GET", "/api/v1/state", token).status, 200);
  QCOMPARE(window.clientList()->topLevelItemCount(), 0);
  QTcpSocket socket;
  QVERIFY(OpenWebSocket(socket, port, token));
  QTRY_COMPARE(window.clientList()->topLevelItemCount(), 1);
  QCOMPARE(window.clientList()->topLevelItem(0)->text(0),
           QStringLiteral("127.0.0.1:%1").arg(socket.localPort()));
  socket.abort();
  QTRY_COMPARE(window.clientList()->topLevelItemCount(), 0);

  ClickCheckBox(window.onSwitch());
  QVERIFY(!app.remote().running());
  QVERIFY(!AppSettings().RemoteControlOn());
  QCOMPARE(window.qrView()->matrix().size, 0);
}

void RemoteControlTests::aNewTokenShutsOutTheOldOne() {
  StartApp(true);
  CKestrelv13App& app = rig->app();
  CRemoteControlDlg window(app, &rig->frame());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const int port = Port(app);
  const QString old = app.remote().token();
  QTcpSocket socket;
  QVERIFY(OpenWebSocket(socket, port, old));
  QTRY_COMPARE(window.clientList()->topLevelItemCount(), 1);

  rig->prompts().answers = {BoxAnswer::no};
  QTest::mouseClick(window.newTokenButton(), Qt::LeftButton);
  QCOMPARE(app.remote().token(), old);

  rig->prompts().asked.clear();
  QTest::mouseClick(window.newTokenButton(), Qt::LeftButton);  // the scripted box answers yes
  QCOMPARE(rig->prompts().asked.size(), 1);
  QCOMPARE(rig->prompts().asked[0].buttons, BoxButtons::yesNo);
  const QString fresh = app.remote().token();
  QVERIFY(fresh != old);
  QVERIFY(window.urlLabel()->text().endsWith(fresh));
  QFile file(rig->dir() + "/remote-token");
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(QString::fromLatin1(file.readAll()).trimmed(), fresh);
  // The server takes the new token on its own thread; the client of the old one is closed there too.
  QTRY_COMPARE(window.clientList()->topLevelItemCount(), 0);
  QCOMPARE(Http(port, "GET", "/api/v1/state", old).status, 401);
  QCOMPARE(Http(port, "GET", "/api/v1/state", fresh).status, 200);
}

void RemoteControlTests::anAddressInUseIsShownInRedAndTheSwitchStaysOff() {
  StartApp();
  QTcpServer squatter;
  QVERIFY(squatter.listen(QHostAddress::LocalHost));
  AppSettings().SetRemoteListenAddresses({QStringLiteral("127.0.0.1:%1").arg(squatter.serverPort())});
  CRemoteControlDlg window(rig->app(), &rig->frame());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  ClickCheckBox(window.onSwitch());
  QVERIFY(!rig->app().remote().running());
  QVERIFY(!window.onSwitch()->isChecked());
  QVERIFY(window.problemLabel()->isVisible());
  QVERIFY(window.problemLabel()->text().contains(QString::number(squatter.serverPort())));
  QCOMPARE(window.problemLabel()->palette().color(QPalette::WindowText).red(), 200);
  QVERIFY(!AppSettings().RemoteControlOn());
}

void RemoteControlTests::theAddressLineTakesTypedAddresses() {
  StartApp();
  CRemoteControlDlg window(rig->app(), &rig->frame());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QLineEdit* line = window.listenEdit();
  QCOMPARE(line->text(), QString("127.0.0.1:0"));

  line->setFocus();
  line->selectAll();
  QTest::keyClicks(line, "phone:80");
  QTest::keyClick(line, Qt::Key_Return);
  QVERIFY(window.problemLabel()->isVisible());
  QVERIFY(window.problemLabel()->text().contains("'phone' is not an IP address"));
  QCOMPARE(rig->app().remote().listenAddresses(), QStringList{"127.0.0.1:0"});
  QVERIFY(window.isVisible());  // Return applied the line and pressed no button

  line->selectAll();
  QTest::keyClicks(line, "0.0.0.0:0");
  QTest::keyClick(line, Qt::Key_Return);
  QVERIFY(window.problemLabel()->isHidden());
  QCOMPARE(rig->app().remote().listenAddresses(), QStringList{"0.0.0.0:0"});
  QVERIFY(window.allowPhones()->isChecked());

  ClickCheckBox(window.allowPhones());
  QCOMPARE(rig->app().remote().listenAddresses(), QStringList{"127.0.0.1:0"});
  QCOMPARE(line->text(), QString("127.0.0.1:0"));
}

void RemoteControlTests::switchedOnItStartsWithTheWindowAndTheMenuOpensIt() {
  StartApp(true);
  QVERIFY(rig->app().remote().running());
  QAction* command = nullptr;
  for (QAction* action : rig->frame().ribbon()->applicationMenu()->actions())
    if (ControlIdOf(action) == cmd::remoteServer) command = action;
  QVERIFY(command);
  QCOMPARE(command->text(), QString("Remote control(&R)..."));
  bool opened = false, shownOn = false, switchFirst = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<CRemoteControlDlg*>(w);
      if (!dialog || !dialog->isVisible()) continue;
      opened = true;
      shownOn = dialog->onSwitch()->isChecked();
      switchFirst = dialog->focusWidget() == dialog->onSwitch();
      dialog->reject();
    }
  });
  command->trigger();
  QVERIFY(opened);
  QVERIFY(shownOn);
  QVERIFY(switchFirst);
}

void RemoteControlTests::phoneUrlsNameTheNetworkAddress() {
  const QString t(32, QLatin1Char('a'));
  const QStringList urls =
      RemotePhoneUrls({{"127.0.0.1", 8719}, {"0.0.0.0", 9000}, {"::", 9001}}, t, "192.168.1.20", "fd00::2");
  QCOMPARE(urls, QStringList({"http://127.0.0.1:8719/?token=" + t, "http://192.168.1.20:9000/?token=" + t,
                              "http://[fd00::2]:9001/?token=" + t}));
  QCOMPARE(RemotePhoneUrl(urls), urls[1]);
  QCOMPARE(RemotePhoneUrls({{"0.0.0.0", 8719}}, t, {}, {}), QStringList{"http://127.0.0.1:8719/?token=" + t});
}

void RemoteControlTests::theQrVersionFitsTheUrlLength() {
  const QString token(32, QLatin1Char('f'));
  for (const QString& host :
       {QString("127.0.0.1"), QString("192.168.100.200"), QString("[fd00::1234:5678]")}) {
    const QByteArray url = QStringLiteral("http://%1:8719/?token=%2").arg(host, token).toUtf8();
    const QrMatrix matrix = EncodeQr(url);
    QCOMPARE(matrix.version, VersionForBytes(static_cast<int>(url.size())));
    QCOMPARE(matrix.size, 17 + 4 * matrix.version);
    QCOMPARE(matrix.dark.size(), static_cast<std::size_t>(matrix.size * matrix.size));
  }
  QVERIFY(EncodeQr({}).empty());
}

void RemoteControlTests::thePaintedCodeIsSquareInsideAWhiteQuietZone() {
  const QrMatrix matrix = EncodeQr("http://192.168.1.20:8719/?token=0123456789abcdef0123456789abcdef");
  const int modules = matrix.size + 2 * kQrQuietModules;
  QCOMPARE(QrModulePixels(matrix, 232), 232 / modules);
  const int px = QrModulePixels(matrix, 232);
  const QImage image = QrImage(matrix, px);
  QCOMPARE(image.width(), modules * px);
  QCOMPARE(image.height(), image.width());
  const int quiet = kQrQuietModules * px;
  for (int i = 0; i < image.width(); ++i) {
    for (int edge = 0; edge < quiet; ++edge) {
      for (const QPoint p : {QPoint(i, edge), QPoint(edge, i), QPoint(i, image.height() - 1 - edge),
                             QPoint(image.width() - 1 - edge, i)})
        QCOMPARE(image.pixel(p), qRgb(255, 255, 255));
    }
  }
  // Every module is px by px of one colour: the finder pattern's corner module is dark, and black.
  for (int y = 0; y < px; ++y)
    for (int x = 0; x < px; ++x) QCOMPARE(image.pixel(quiet + x, quiet + y), qRgb(0, 0, 0));
  for (int y = 0; y < matrix.size; ++y)
    for (int x = 0; x < matrix.size; ++x)
      QCOMPARE(image.pixel(quiet + x * px + px / 2, quiet + y * px + px / 2),
               matrix.Dark(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  RemoteControlTests tests;
  return QTest::qExec(&tests, argc, argv);
}

// The phone page in headless Chromium (tests/remote/phone_page_test.py --url): it loads with the token,
// moves the music level, and must then show a change made with the ribbon's slider.
void RemoteControlTests::thePhonePageInABrowserFollowsTheWindow() {
  if (!QFile::exists(QStringLiteral("/usr/bin/chromedriver")) || !QFile::exists(QStringLiteral("/usr/bin/python3")))
    QSKIP("needs chromium-driver and python3-selenium (scripts/deps installs them)");
  StartApp();
  CKestrelv13App& app = rig->app();
  QVERIFY(app.remote().Start());
  QProcess phone;
  phone.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  phone.start(QStringLiteral("/usr/bin/python3"),
              {QStringLiteral(VIREO_PHONE_PAGE_SCRIPT), QStringLiteral("--url"),
               QStringLiteral("http://127.0.0.1:%1/?token=%2").arg(Port(app)).arg(app.remote().token())});
  QByteArray said;
  const auto waitFor = [&](const QByteArray& word) {
    return QTest::qWaitFor(
        [&] {
          said += phone.readAllStandardOutput();
          return said.contains(word) || phone.state() == QProcess::NotRunning;
        },
        60000) &&
           said.contains(word);
  };
  QVERIFY2(waitFor("READY"), said.constData());
  const QList<QByteArray> moved = said.mid(said.indexOf("MOVED ")).split('\n').first().split(' ');
  QCOMPARE(moved.size(), 2);
  const int fromPhone = moved[1].toInt();
  QVERIFY(QTest::qWaitFor([&] { return vireo::TheStore().Int(vireo::slot::musicVolume) == fromPhone; }, 5000));

  CStepSlider* slider = rig->Find<CStepSlider>(kInputIds.music.slider);
  QVERIFY(slider);
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(1, slider->height() / 2));  // towards the quiet end
  const int fromWindow = vireo::TheStore().Int(vireo::slot::musicVolume);
  QVERIFY(fromWindow != fromPhone);
  phone.write("EXPECT musicVolume " + QByteArray::number(fromWindow) + "\n");
  QVERIFY2(waitFor("SEEN"), said.constData());
  QVERIFY(phone.waitForFinished(30000));
  QCOMPARE(phone.exitCode(), 0);
}

#include "remote_control_tests.moc"

void RemoteControlTests::theMqttSwitchPutsTheMachineOnTheBrokerAndACommandIsOneUndoStep() {
  StartApp();
  CKestrelv13App& app = rig->app();
  const QString folder = rig->dir() + "/broker";
  QVERIFY(QDir().mkpath(folder));
  vireo::remote::test::Broker broker(folder.toStdString());
  QVERIFY(broker.running());
  vireo::remote::test::MqttClient ha(broker.port(), "home-assistant");
  QVERIFY(ha.Subscribe("vireo/room-7/#"));
  QVERIFY(ha.Subscribe("homeassistant/+/room-7/#"));
  CRemoteControlDlg window(app, &rig->frame());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QVERIFY(!window.mqttSwitch()->isChecked());

  TypeInto(window.mqttHostEdit(), "127.0.0.1");
  TypeInto(window.mqttPortBox(), QString::number(broker.port()));
  TypeInto(window.mqttNameEdit(), "room-7");
  QCOMPARE(AppSettings().MqttPort(), broker.port());
  ClickCheckBox(window.mqttSwitch());
  QVERIFY(AppSettings().MqttOn());
  QTRY_COMPARE(window.mqttStatusLabel()->text(),
               QStringLiteral("Connected to mqtt://127.0.0.1:%1 as room-7.").arg(broker.port()));
  QTRY_VERIFY(Received(ha, "vireo/room-7/availability", "online"));

  const int before = vireo::TheStore().Int(vireo::slot::musicVolume);
  const int wanted = before == 42 ? 43 : 42;
  const std::size_t steps = app.edits().undoSteps();
  ha.Publish("vireo/room-7/musicVolume/set", std::to_string(wanted));
  QTRY_COMPARE(vireo::TheStore().Int(vireo::slot::musicVolume), wanted);
  QCOMPARE(app.edits().undoSteps(), steps + 1);
  QTRY_COMPARE(rig->Find<CStepSlider>(kInputIds.music.slider)->value(), wanted);
  QTRY_VERIFY(Received(ha, "vireo/room-7/musicVolume", std::to_string(wanted)));

  ClickCheckBox(window.mqttSwitch());
  QVERIFY(!AppSettings().MqttOn());
  QVERIFY(!app.remote().mqttOn());
  QTRY_VERIFY(Received(ha, "vireo/room-7/availability", "offline"));
  QTRY_VERIFY(Received(ha, "homeassistant/number/room-7/musicVolume/config", ""));
  QCOMPARE(window.mqttStatusLabel()->text(), QString("Not connected."));
}

void RemoteControlTests::mqttFieldsAreCheckedAndThePasswordKeptApart() {
  StartApp();
  CRemoteControlDlg window(rig->app(), &rig->frame());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  // No broker yet: the switch is refused and stays off.
  ClickCheckBox(window.mqttSwitch());
  QVERIFY(!window.mqttSwitch()->isChecked());
  QVERIFY(!AppSettings().MqttOn());
  QCOMPARE(window.mqttStatusLabel()->text(), QString("MQTT: no broker: give its name or address"));
  QCOMPARE(window.mqttStatusLabel()->palette().color(QPalette::WindowText).red(), 200);

  TypeInto(window.mqttHostEdit(), "broker.local");
  QCOMPARE(AppSettings().MqttHost(), QString("broker.local"));
  TypeInto(window.mqttPortBox(), "65535");
  QCOMPARE(AppSettings().MqttPort(), 65535);
  // A sixth digit does not fit the port box: the keystroke is not taken.
  TypeInto(window.mqttPortBox(), "655350");
  QCOMPARE(AppSettings().MqttPort(), 65535);

  const struct {
    QLineEdit* field;
    QString text;
    QString said;
  } refusals[] = {
      {window.mqttNameEdit(), "Room 7", "the machine name needs 1 to 64 of a-z, 0-9, '-' and '_'"},
      {window.mqttHostEdit(), "me@broker", "'me@broker' is not a broker's name or address"},
      {window.mqttPasswordEdit(), "s3cret", "a password needs a user"},
      {window.mqttCaEdit(), rig->dir() + "/none.pem", "cannot read the CA file " + rig->dir() + "/none.pem"},
  };
  for (const auto& r : refusals) {
    const QString kept = r.field->text();
    TypeInto(r.field, r.text);
    QCOMPARE(window.mqttStatusLabel()->text(), "MQTT: " + r.said);
    QCOMPARE(r.field->text(), r.text);  // left as typed, to be corrected
    TypeInto(r.field, kept);
    QCOMPARE(window.mqttStatusLabel()->text(), QString("Not connected."));
  }
  QCOMPARE(AppSettings().MqttHost(), QString("broker.local"));
  QCOMPARE(AppSettings().MqttMachineId(), QString());

  TypeInto(window.mqttUserEdit(), "ha");
  TypeInto(window.mqttPasswordEdit(), "s3cret");
  QCOMPARE(AppSettings().MqttUser(), QString("ha"));
  QFile secret(rig->dir() + "/mqtt-password");
  QVERIFY(secret.open(QIODevice::ReadOnly));
  QCOMPARE(secret.readAll(), QByteArray("s3cret\n"));
  struct stat file {};
  QCOMPARE(::stat(QFile::encodeName(secret.fileName()).constData(), &file), 0);
  QCOMPARE(file.st_mode & 0777, 0600u);
  AppSettings settings;
  for (const QString& key : settings.raw().allKeys())
    QVERIFY2(!settings.raw().value(key).toString().contains("s3cret"), qPrintable(key));
  // A new window shows the password from its file.
  CRemoteControlDlg again(rig->app(), &rig->frame());
  QCOMPARE(again.mqttPasswordEdit()->text(), QString("s3cret"));
}
