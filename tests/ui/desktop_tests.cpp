// Vireo as a desktop citizen: the identifier the window hands to the desktop names the installed entry,
// icon and AppStream file; the icon has every hicolor size; the validators accept the entry and the
// AppStream file; the manuals name every option and command; a balloon without a notification area
// becomes a desktop notification, and no session bus makes that a quiet no-op.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>
#include <string>

#include "cli_common.h"
#include "look/app_icon.h"
#include "services/launch_options.h"
#include "services/tray_balloon.h"
#include "ui_harness.h"

class DesktopTests : public QObject {
  Q_OBJECT
 private slots:
  void startHandsTheDesktopTheIdentifierAndIcon();
  void desktopEntryIsNamedAfterTheIdentifier();
  void appStreamFileIsNamedAfterTheIdentifier();
  void iconHasEveryHicolorSize();
  void validatorsAcceptTheEntryAndTheAppStreamFile_data();
  void validatorsAcceptTheEntryAndTheAppStreamFile();
  void manualsNameEveryOptionAndCommand_data();
  void manualsNameEveryOptionAndCommand();
  void balloonWithoutNotificationAreaBecomesDesktopNotification();
  void desktopNotificationWithoutSessionBusIsRefused();
};

namespace {

QString Packaging(const QString& name) {
  return QStringLiteral(VIREO_SOURCE_DIR "/packaging/") + name;
}

QString Id() {
  return QString::fromLatin1(kApplicationId);
}

// The text of the first element of each name in an XML file.
QMap<QString, QString> FirstElementTexts(const QString& path) {
  QFile file(path);
  QMap<QString, QString> texts;
  if (!file.open(QIODevice::ReadOnly)) return texts;
  QXmlStreamReader xml(&file);
  QString element;  // the innermost open element while it has no child yet
  while (!xml.atEnd()) {
    switch (xml.readNext()) {
      case QXmlStreamReader::StartElement:
        element = xml.name().toString();
        break;
      case QXmlStreamReader::Characters:
        if (!element.isEmpty() && !xml.isWhitespace() && !texts.contains(element)) {
          texts.insert(element, xml.text().toString());
        }
        break;
      case QXmlStreamReader::EndElement:
        element.clear();
        break;
      default:
        break;
    }
  }
  return texts;
}

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

}  // namespace

void DesktopTests::startHandsTheDesktopTheIdentifierAndIcon() {
  UiHarness rig;
  QCOMPARE(rig.Start(1), CKestrelv13App::StartResult::running);
  QCOMPARE(QGuiApplication::desktopFileName(), QString("io.github.vireo.Vireo"));
  const QList<QSize> sizes = rig.frame().windowIcon().availableSizes();
  QVERIFY(sizes.contains(QSize(16, 16)));
  QVERIFY(sizes.contains(QSize(256, 256)));
  rig.Stop();
}

void DesktopTests::desktopEntryIsNamedAfterTheIdentifier() {
  QSettings entry(Packaging(Id() + ".desktop"), QSettings::IniFormat);
  QCOMPARE(entry.status(), QSettings::NoError);
  entry.beginGroup("Desktop Entry");
  QCOMPARE(entry.value("Icon").toString(), Id());
  QCOMPARE(entry.value("Exec").toString(), QString("vireo %f"));
  // X11 docks match by WM_CLASS, which Qt takes from the application name.
  QCOMPARE(entry.value("StartupWMClass").toString(), QString::fromLatin1(kApplicationName));
}

void DesktopTests::appStreamFileIsNamedAfterTheIdentifier() {
  const QMap<QString, QString> texts = FirstElementTexts(Packaging(Id() + ".metainfo.xml"));
  QCOMPARE(texts.value("id"), Id());
  QCOMPARE(texts.value("launchable"), Id() + ".desktop");
  QCOMPARE(texts.value("modalias"), QString("usb:v2010p1031d*"));
}

void DesktopTests::iconHasEveryHicolorSize() {
  QVERIFY(QFile::exists(Packaging("icons/" + Id() + ".svg")));
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QImage image(Packaging(QStringLiteral("icons/hicolor/%1x%1/apps/").arg(size) + Id() + ".png"));
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(ApplicationIcon().pixmap(size, size).size(), QSize(size, size));
  }
}

void DesktopTests::validatorsAcceptTheEntryAndTheAppStreamFile_data() {
  QTest::addColumn<QString>("tool");
  QTest::addColumn<QStringList>("arguments");
  QTest::newRow("desktop-file-validate")
      << "desktop-file-validate" << QStringList{Packaging(Id() + ".desktop")};
  QTest::newRow("appstreamcli") << "appstreamcli"
                                << QStringList{"validate", "--no-net", Packaging(Id() + ".metainfo.xml")};
}

void DesktopTests::validatorsAcceptTheEntryAndTheAppStreamFile() {
  QFETCH(QString, tool);
  QFETCH(QStringList, arguments);
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) QSKIP(qPrintable(tool + " is not installed"));
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  QVERIFY(process.waitForFinished(60000));
  QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
           process.readAll().constData());
}

void DesktopTests::manualsNameEveryOptionAndCommand_data() {
  QTest::addColumn<QString>("manual");
  QTest::addColumn<QString>("usage");
  QTest::newRow("vireo") << "man/vireo.1.scd" << QString::fromLatin1(kLaunchUsage);
  QTest::newRow("vireo-cli") << "man/vireo-cli.1.scd"
                             << QString::fromStdString(std::string(vireo::cli::kUsage));
}

void DesktopTests::manualsNameEveryOptionAndCommand() {
  QFETCH(QString, manual);
  QFETCH(QString, usage);
  const QString text = ReadText(Packaging(manual));
  QVERIFY(!text.isEmpty());
  QStringList names;
  // Options anywhere in the usage; commands are the lower-case words that open a summary line.
  for (const auto& match : QRegularExpression("--[a-z-]+").globalMatch(usage)) names << match.captured();
  const QRegularExpression command("^  ([a-z]+(?: [a-z]+)?)(?= |$)", QRegularExpression::MultilineOption);
  for (const auto& match : command.globalMatch(usage)) names << match.captured(1);
  QVERIFY(names.contains("--trace"));
  for (const QString& name : names) {
    QVERIFY2(text.contains("*" + name + "*"), qPrintable(manual + " lacks " + name));
  }
}

void DesktopTests::balloonWithoutNotificationAreaBecomesDesktopNotification() {
  CTrayBalloon balloon;
  QStringList sent;
  balloon.SetTrayProbe([] { return false; });
  balloon.SetNotifier([&sent](const QString& title, const QString& text, int durationMs) {
    sent << QStringLiteral("%1|%2|%3").arg(title, text).arg(durationMs);
  });
  balloon.Show("Device connected!", "Information", 5000);
  QCOMPARE(sent, QStringList{"Information|Device connected!|5000"});
  QVERIFY(!balloon.iconShown());
  QCOMPARE(balloon.lastText(), QString("Device connected!"));
}

void DesktopTests::desktopNotificationWithoutSessionBusIsRefused() {
  // main() pointed the session bus at a socket that does not exist.
  int answered = 0;
  QObject context;
  QVERIFY(!SendDesktopNotification("Information", "Device connected!", 5000, 0, &context,
                                   [&answered](uint) { ++answered; }));
  CloseDesktopNotification(7);
  QTest::qWait(50);
  QCOMPARE(answered, 0);
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vireo-tests/bus");
  QApplication app(argc, argv);
  DesktopTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "desktop_tests.moc"
