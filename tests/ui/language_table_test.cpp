// Qt Test of the interface language tables: table contents and encoding, the temporary table file, and
// ApplyLanguageTexts on windows built like the pages and dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QtTest>
#include <algorithm>

#include "i18n/ini_reader.h"
#include "i18n/language_table.h"
#include "look/control_id.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

vireo::IniTable Parse(const QByteArray& bytes, vireo::Encoding encoding) {
  return vireo::ParseIni(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                         encoding);
}

QString Value(const vireo::IniTable& table, const char* key) {
  return QString::fromStdString(table.Lookup("String", key));
}

// Keys per dialog template id, from the key names of section "String".
QMap<int, int> KeyCounts(const vireo::IniTable& table) {
  static const QRegularExpression pattern(QStringLiteral("^IDD(\\d+)_(\\d+|title)$"));
  QMap<int, int> counts;
  for (const std::string& key : table.Keys("String")) {
    const QRegularExpressionMatch match = pattern.match(QString::fromStdString(key));
    counts[match.hasMatch() ? match.captured(1).toInt() : -1] += 1;
  }
  return counts;
}

// The caption a child shows, whatever its kind.
QString CaptionOf(const QWidget* widget) {
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    return button->text();
  }
  if (auto* label = qobject_cast<const QLabel*>(widget)) {
    return label->text();
  }
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) {
    return group->title();
  }
  return widget->windowTitle();
}

template <typename T>
T* AddControl(QWidget* parent, int id, const QString& caption) {
  auto* control = new T(caption, parent);
  SetControlId(control, id);
  return control;
}

// A window built like the compressor page: navigation buttons 1069..1079, the switch, a slider, a child
// without id, and a group box whose own child carries an id of the table.
struct CompressorLikePage {
  QWidget window;
  QMap<int, QWidget*> controls;
  QPushButton* grandchild = nullptr;
  QLabel* withoutId = nullptr;

  CompressorLikePage() {
    window.setWindowTitle(QStringLiteral("page"));
    const char* zh[] = {"通道1",    "通道3", "通道4", "通道2", "声场定位", "延时调整",
                        "输出压限", "通道5", "通道6", "通道7", "通道8"};
    for (int i = 0; i < 11; ++i) {
      controls[1069 + i] = AddControl<QPushButton>(&window, 1069 + i, zh[i]);
    }
    controls[1045] = AddControl<QCheckBox>(&window, 1045, QStringLiteral("压限启用"));
    auto* slider = new QSlider(&window);
    SetControlId(slider, 1014);
    slider->setWindowTitle(QStringLiteral("阀(阈)"));
    controls[1014] = slider;
    withoutId = new QLabel(QStringLiteral("untouched"), &window);
    auto* group = new QGroupBox(QStringLiteral("group"), &window);
    grandchild = AddControl<QPushButton>(group, 1069, QStringLiteral("inner"));
  }
  QMap<int, QString> Captions() const {
    QMap<int, QString> captions;
    for (auto it = controls.begin(); it != controls.end(); ++it) {
      captions[it.key()] = CaptionOf(it.value());
    }
    return captions;
  }
};

void UseLanguage(int index) {
  SetLanguageIndex(index);
  QVERIFY(WriteLanguageTable(index));
}

}  // namespace

class LanguageTableTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { SetLanguageIndex(0); }

  void bothTablesParseWithTheKeysOfEachDialog() {
    const vireo::IniTable zh = Parse(ReadAll(QStringLiteral(":/lang/zh.ini")), vireo::Encoding::kGbk);
    const vireo::IniTable en = Parse(ReadAll(QStringLiteral(":/lang/en.ini")), vireo::Encoding::kUtf8);
    QCOMPARE(zh.SectionNames(), std::vector<std::string>{"String"});
    QCOMPARE(en.SectionNames(), std::vector<std::string>{"String"});
    QCOMPARE(zh.InvalidSequences(), std::size_t{0});

    // Dialog: keys in the Chinese and the English table.
    const QMap<int, QPair<int, int>> expected = {
        {313, {40, 40}}, {333, {43, 43}}, {334, {36, 36}}, {335, {15, 15}}, {346, {17, 14}}, {372, {5, 5}},
        {373, {5, 5}},   {385, {52, 45}}, {410, {1, 1}},   {421, {9, 9}},   {423, {1, 1}},   {424, {1, 1}},
        {479, {8, 8}},   {480, {4, 4}},   {481, {2, 2}},   {482, {18, 18}}, {484, {1, 2}},   {485, {3, 3}},
        {486, {2, 2}},   {516, {5, 5}},   {512, {8, 8}},   {513, {1, 1}},   {515, {17, 17}}};
    const QMap<int, int> zhCounts = KeyCounts(zh);
    const QMap<int, int> enCounts = KeyCounts(en);
    QVERIFY(!zhCounts.contains(-1));
    QVERIFY(!enCounts.contains(-1));
    for (auto it = expected.begin(); it != expected.end(); ++it) {
      QCOMPARE(zhCounts.value(it.key()), it.value().first);
      QCOMPARE(enCounts.value(it.key()), it.value().second);
    }
    for (int dialog : zhCounts.keys()) {
      QVERIFY2(expected.contains(dialog), qPrintable(QString::number(dialog)));
    }
    for (int dialog : enCounts.keys()) {
      QVERIFY2(expected.contains(dialog), qPrintable(QString::number(dialog)));
    }
  }

  void tellingRowsReadBackAsTheyShould() {
    const vireo::IniTable zh = Parse(ReadAll(QStringLiteral(":/lang/zh.ini")), vireo::Encoding::kGbk);
    const vireo::IniTable en = Parse(ReadAll(QStringLiteral(":/lang/en.ini")), vireo::Encoding::kUtf8);
    QCOMPARE(Value(zh, "IDD346_1045"), QStringLiteral("压限启用"));
    QCOMPARE(Value(en, "IDD346_1045"), QStringLiteral("Comp ON"));
    QCOMPARE(Value(zh, "IDD333_1190"), QStringLiteral("高频延时"));
    QCOMPARE(Value(en, "IDD333_1190"), QStringLiteral("High Freq"));
    QCOMPARE(Value(zh, "IDD335_1073"), QStringLiteral("应用"));
    QCOMPARE(Value(en, "IDD335_1073"), QStringLiteral("Apply"));
    QCOMPARE(Value(zh, "IDD313_1142"), QStringLiteral("音乐电平"));
    QCOMPARE(Value(en, "IDD313_1142"), QStringLiteral("Music Peak"));
    QCOMPARE(Value(zh, "IDD346_1069"), QStringLiteral("通道1"));
    QCOMPARE(Value(en, "IDD346_1069"), QStringLiteral("Main"));
    QCOMPARE(Value(zh, "IDD373_title"), QStringLiteral("遥控学习"));
    QCOMPARE(Value(en, "IDD373_title"), QStringLiteral("Learn remoter control"));
    QCOMPARE(Value(zh, "IDD372_title"), QStringLiteral("学习中……"));
    QCOMPARE(Value(en, "IDD385_1132"), QStringLiteral("SRS 3D"));
    QVERIFY(!zh.Contains("String", "IDD385_1132"));
    for (const char* key : {"IDD346_1077", "IDD346_1078", "IDD346_1079"}) {
      QVERIFY(zh.Contains("String", key));
      QVERIFY(!en.Contains("String", key));
    }
    QVERIFY(en.Contains("String", "IDD484_1239"));
    QCOMPARE(Value(en, "IDD484_1239"), QString());
    // The trailing blanks are in the text itself.
    QVERIFY(ReadAll(QStringLiteral(":/lang/en.ini")).contains("IDD373_title=Learn remoter control \r\n"));
    QVERIFY(ReadAll(QStringLiteral(":/lang/en.ini")).contains("IDD333_1190=High Freq \r\n"));
  }

  void chineseTableIsGbkWithCrLfAndNoByteOrderMark() {
    const QByteArray zh = ReadAll(QStringLiteral(":/lang/zh.ini"));
    QVERIFY(zh.startsWith("[String]\r\n"));  // no byte-order mark before the header
    QVERIFY(zh.endsWith("\r\n"));
    for (qsizetype i = 0; i < zh.size(); ++i) {
      if (zh[i] == '\n') {
        QVERIFY(i > 0 && zh[i - 1] == '\r');
      }
      if (zh[i] == '\r') {
        QVERIFY(i + 1 < zh.size() && zh[i + 1] == '\n');
      }
    }
    // "压限启用" in code page 936, and not in UTF-8.
    QVERIFY(zh.contains("IDD346_1045=\xD1\xB9\xCF\xDE\xC6\xF4\xD3\xC3\r\n"));
    QVERIFY(!zh.contains("\xE5\x8E\x8B"));
    std::size_t invalid = 0;
    vireo::GbkToUtf8(std::string_view(zh.constData(), static_cast<std::size_t>(zh.size())), &invalid);
    QCOMPARE(invalid, std::size_t{0});
  }

  void englishTableIsAsciiApartFromOneGbkComment() {
    const QByteArray en = ReadAll(QStringLiteral(":/lang/en.ini"));
    QVERIFY(en.startsWith("[String]\r\n"));
    QVERIFY(en.endsWith("\r\n"));
    QVERIFY(!en.contains("\r\r") && !en.contains("\n\n"));
    QList<QByteArray> nonAscii;
    for (const QByteArray& line : en.split('\n')) {
      if (std::any_of(line.begin(), line.end(),
                      [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        nonAscii.append(line);
      }
    }
    QCOMPARE(nonAscii.size(), 1);
    QVERIFY(nonAscii[0].startsWith("//"));
    const std::string comment = vireo::GbkToUtf8(nonAscii[0].constData());
    QCOMPARE(QString::fromStdString(comment), QStringLiteral("// 机器设置\r"));
  }

  void writeMakesANewNovFileWithTheTableBytes() {
    QVERIFY(WriteLanguageTable(0));
    const QString first = CurrentLanguageTablePath();
    QVERIFY(QFileInfo(first).fileName().startsWith(QStringLiteral("NOV")));
    QCOMPARE(QFileInfo(first).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    QCOMPARE(ReadAll(first), ReadAll(QStringLiteral(":/lang/zh.ini")));

    QVERIFY(WriteLanguageTable(1));
    const QString second = CurrentLanguageTablePath();
    QVERIFY(second != first);
    QVERIFY(QFileInfo(second).fileName().startsWith(QStringLiteral("NOV")));
    QCOMPARE(ReadAll(second), ReadAll(QStringLiteral(":/lang/en.ini")));
    QVERIFY(!QFile::exists(first));  // the replaced file is gone
    QCOMPARE(LookupLanguageText(346, QStringLiteral("1045")), QStringLiteral("Comp ON"));
    QCOMPARE(LookupLanguageText(335, QStringLiteral("TITLE")), QStringLiteral("Machine Set"));
    QCOMPARE(LookupLanguageText(346, QStringLiteral("1077")), QString());

    QVERIFY(WriteLanguageTable(0));
    QCOMPARE(LookupLanguageText(346, QStringLiteral("1077")), QStringLiteral("通道6"));
    QCOMPARE(LookupLanguageText(335, QStringLiteral("title")), QStringLiteral("机器设置"));
  }

  void compressorPageInEnglishKeepsTheChineseOnlyCaptions() {
    CompressorLikePage page;
    UseLanguage(0);
    ApplyLanguageTexts(&page.window, 346);
    const QMap<int, QString> chinese = page.Captions();
    QCOMPARE(chinese.value(1069), QStringLiteral("通道1"));
    QCOMPARE(chinese.value(1014), QStringLiteral("阀(阈)"));

    UseLanguage(1);
    ApplyLanguageTexts(&page.window, 346);
    const QMap<int, QString> english = page.Captions();
    const QStringList expected = {"Main", "CH 3", "CH 4", "CH 2", "Location", "Delay", "Comp", "CH 5"};
    for (int i = 0; i < expected.size(); ++i) {
      QCOMPARE(english.value(1069 + i), expected[i]);
    }
    QCOMPARE(english.value(1077), QStringLiteral("通道6"));
    QCOMPARE(english.value(1078), QStringLiteral("通道7"));
    QCOMPARE(english.value(1079), QStringLiteral("通道8"));
    QCOMPARE(english.value(1045), QStringLiteral("Comp ON"));
    QCOMPARE(english.value(1014), QStringLiteral("Threshold"));   // a slider takes it as its window text
    QCOMPARE(page.window.windowTitle(), QStringLiteral("page"));  // the table has no title for 346
    QCOMPARE(page.grandchild->text(), QStringLiteral("inner"));
    QCOMPARE(page.withoutId->text(), QStringLiteral("untouched"));

    UseLanguage(0);
    ApplyLanguageTexts(&page.window, 346);
    QCOMPARE(page.Captions(), chinese);
    QCOMPARE(page.grandchild->text(), QStringLiteral("inner"));
  }

  void titlesLoseTheirTrailingBlankAndEmptyValuesChangeNothing() {
    QWidget remote;
    remote.setWindowTitle(QStringLiteral("template"));
    UseLanguage(1);
    ApplyLanguageTexts(&remote, 373);
    QCOMPARE(remote.windowTitle(), QStringLiteral("Learn remoter control"));

    QWidget dimmer;
    dimmer.setWindowTitle(QStringLiteral("dimmer"));
    auto* knob = AddControl<QPushButton>(&dimmer, 1239, QStringLiteral("关"));
    ApplyLanguageTexts(&dimmer, 484);  // the English table has the key, with an empty value
    QCOMPARE(knob->text(), QStringLiteral("关"));
    QCOMPARE(dimmer.windowTitle(), QStringLiteral("Knob plug"));

    UseLanguage(0);
    ApplyLanguageTexts(&remote, 373);
    QCOMPARE(remote.windowTitle(), QStringLiteral("遥控学习"));
  }

  void eachWidgetKindTakesItsCaption() {
    QWidget dialog;
    auto* group = new QGroupBox(QStringLiteral("音量相关设置"), &dialog);
    SetControlId(group, 1197);
    auto* label = AddControl<QLabel>(&dialog, 1005, QStringLiteral("x"));
    auto* radio = AddControl<QRadioButton>(&dialog, 1191, QStringLiteral("x"));
    auto* cancel = AddControl<QPushButton>(&dialog, 2, QStringLiteral("取消设置"));
    UseLanguage(1);
    ApplyLanguageTexts(&dialog, 335);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Machine Set"));
    QCOMPARE(group->title(), QStringLiteral("Start vol"));
    QCOMPARE(label->text(), QStringLiteral("Mic start vol"));
    QCOMPARE(radio->text(), QStringLiteral("By mode"));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    ApplyLanguageTexts(nullptr, 335);  // no window: nothing to do
  }

  void aMissingTableFileLeavesEveryCaption() {
    CompressorLikePage page;
    UseLanguage(1);
    QVERIFY(QFile::remove(CurrentLanguageTablePath()));
    const QMap<int, QString> before = page.Captions();
    ApplyLanguageTexts(&page.window, 346);
    QCOMPARE(page.Captions(), before);
    QCOMPARE(LookupLanguageText(346, QStringLiteral("1045")), QString());
    UseLanguage(0);  // a later write works again
    QCOMPARE(LookupLanguageText(346, QStringLiteral("1045")), QStringLiteral("压限启用"));
  }

  void pairsFollowTheLanguageIndex() {
    SetLanguageIndex(0);
    QCOMPARE(Pick(QStringLiteral("静音"), QStringLiteral("Mute")), QStringLiteral("静音"));
    QCOMPARE(LangText("静音", "Mute"), QStringLiteral("静音"));
    SetLanguageIndex(1);
    QCOMPARE(LanguageIndex(), 1);
    QCOMPARE(Pick(QStringLiteral("静音"), QStringLiteral("Mute")), QStringLiteral("Mute"));
    QCOMPARE(LangText("静音", "Mute"), QStringLiteral("Mute"));
    SetLanguageIndex(7);  // anything but 1 is Chinese
    QCOMPARE(LanguageIndex(), 0);
  }
};

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  LanguageTableTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "language_table_test.moc"
