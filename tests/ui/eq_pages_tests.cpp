// The microphone and music page and the effect EQ editor on the emulator, driven by control id: what each
// edit stores and sends, the editors' typing rules, the page switches and the meters.
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "controls/eq_panel.h"
#include "controls/report_ctrl.h"
#include "controls/small_eq_panel.h"
#include "controls/xbmp_slider.h"
#include "device/connection.h"
#include "model/parameter_store.h"
#include "pages/band_editor.h"
#include "pages/band_list.h"
#include "pages/effect_list.h"
#include "pages/efx_page.h"
#include "pages/eq_editing.h"
#include "pages/music_page.h"
#include "pages/page_switch.h"
#include "shell/main_view.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace slot = vireo::slot;

namespace {
// Block writes (code 133) among `requests`: address and data bytes.
std::vector<std::pair<int, std::vector<std::uint8_t>>> BlockWrites(
    const std::vector<vireo::Report>& requests) {
  std::vector<std::pair<int, std::vector<std::uint8_t>>> writes;
  for (const vireo::Report& r : requests) {
    if (r[1] != vireo::code::writeBlock) continue;
    writes.push_back({(r[2] << 8) | r[3], std::vector<std::uint8_t>(r.begin() + 5, r.begin() + 5 + r[4])});
  }
  return writes;
}
// A user's double click: the first press and release, then the second press that Qt reports as a double
// click (QTest's double click alone misses the first press, which an item view needs).
void DoubleClick(QWidget* target, QPoint at) {
  QTest::mouseClick(target, Qt::LeftButton, {}, at);
  QTest::mouseDClick(target, Qt::LeftButton, {}, at);
}
}  // namespace

class EqPagesTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void listEditWritesTheRecordThenTheCoefficients();
  void editorTypingRulesOfEachPage_data();
  void editorTypingRulesOfEachPage();
  void digitSelectionShowsTheEditorWithoutSending();
  void pasteFollowsTheRuleAndRefreshes();
  void routingRadiosSendBothChannels();
  void echoTimeSetsTheReverbPredelay();
  void mutedReverbLevelShowsItsNotice();
  void musicViewDisablesTheEffectControls();
  void metersAndInputFormatFollowTheStore();
  void previewOpensTheEditorAndBackKeepsTheView();
  void aDragAndAPasteAreOneUndoStepEach();
  void wheelOverThePageGoesToTheFocusedGraph();
  void filterTextImportsAsOneStepRefusesWhollyAndExports();
  void theCurveSavesAsPictureDrawingAndTable();
  void lettersTypedIntoTheTypeDropDownAreNotShortcuts();
  void aDraggedFrequencyReadsAsTheRecordSentHoldsIt();
  void aGainCellEditKeepsTheStoredQ();

 private:
  CDialogMusic* Music();
  CDialogEfx* Efx(int selector);
  std::unique_ptr<UiHarness> rig;
};

void EqPagesTests::init() {
  SetMusicPageView(0);
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->ClearRequests();
}

void EqPagesTests::cleanup() {
  rig.reset();
}

CDialogMusic* EqPagesTests::Music() {
  return qobject_cast<CDialogMusic*>(rig->frame().view()->currentPage());
}

CDialogEfx* EqPagesTests::Efx(int selector) {
  ShowEffectEqEditor(*TheApp(), selector);
  (void)QTest::qWaitFor(
      [this] { return qobject_cast<CDialogEfx*>(rig->frame().view()->currentPage()) != nullptr; });
  return qobject_cast<CDialogEfx*>(rig->frame().view()->currentPage());
}

void EqPagesTests::listEditWritesTheRecordThenTheCoefficients() {
  CBandList* list = Music()->eq().list();
  list->item(2, CBandList::kFrequencyColumn)->setText(QStringLiteral("1000"));
  list->item(2, CBandList::kGainColumn)->setText(QStringLiteral("+6dB"));
  const auto requests = rig->Requests();
  // Band 3 of microphone A: record 2 of group 1 at 14; gain (6 + 15) x 10 = 210, 1000 Hz, and the stored
  // Q 1.414 (1414 = 0x0586) as it was: the Q cell's "1.41" is not read back.
  const auto blocks = BlockWrites(requests);
  QVERIFY(!blocks.empty());  // the second edit of the band may replace the first while it waits
  QCOMPARE(blocks.back().first, 14);
  QCOMPARE(blocks.back().second, (std::vector<std::uint8_t>{0x00, 0xD2, 0x03, 0xE8, 0x05, 0x86, 0x01}));
  QCOMPARE(ParamWrites(requests, 1, 18).size(), blocks.size());  // coefficient slot 16 + 2, once per write
  QCOMPARE(requests.back()[1], vireo::code::writeParam);         // the record goes first
  QCOMPARE(list->item(2, CBandList::kGainColumn)->text(), QStringLiteral("+6.0dB"));
}

void EqPagesTests::editorTypingRulesOfEachPage_data() {
  QTest::addColumn<bool>("effectPage");
  QTest::addColumn<int>("type");  // type button index, -1 leaves the band's type
  QTest::addColumn<QString>("frequency");
  QTest::addColumn<QString>("q");
  QTest::addColumn<double>("expectedFrequency");
  QTest::addColumn<double>("expectedQ");
  // The stored band is 250 Hz, Q 1.41 before each row.
  QTest::newRow("music: 0 Hz becomes 20") << false << -1 << "0"
                                          << "1.41" << 20.0 << 1.41;
  QTest::newRow("music: above the top") << false << -1 << "30000Hz"
                                        << "30" << 20000.0 << 30.0;
  QTest::newRow("effect: 0 Hz keeps the band") << true << -1 << "0"
                                               << "1.41" << 250.0 << 1.41;
  QTest::newRow("effect: text keeps the band") << true << -1 << "abc"
                                               << "0.05" << 250.0 << 0.1;
  QTest::newRow("effect: LP Q 25 ends at 2") << true << 1 << "250"
                                             << "25" << 250.0 << 2.0;
  QTest::newRow("effect: PEQ Q 25 stays") << true << 0 << "250"
                                          << "25" << 250.0 << 25.0;
  QTest::newRow("effect: nan is no number") << true << -1 << "nan"
                                            << "inf" << 250.0 << 1.41;
}

void EqPagesTests::editorTypingRulesOfEachPage() {
  QFETCH(bool, effectPage);
  QFETCH(int, type);
  QFETCH(QString, frequency);
  QFETCH(QString, q);
  QFETCH(double, expectedFrequency);
  QFETCH(double, expectedQ);
  CEqEditing& eq = effectPage ? Efx(0)->eq() : Music()->eq();
  const int band = 2;
  vireo::tuning::WriteEqBand(TheStore(), rig->app().connection().sender(), eq.identity(), band,
                             {1, 0.0, 250.0, 1.41});
  eq.RefreshFromStore();
  eq.PickBand(band);
  QVERIFY(eq.editor()->isVisibleTo(eq.editor()->parentWidget()));
  if (type >= 0) eq.editor()->findChildren<QRadioButton*>()[type]->click();
  eq.editor()->edit(band_editor_id::frequencyEdit)->setText(frequency);
  eq.editor()->edit(band_editor_id::qEdit)->setText(q);
  QTest::keyClick(eq.editor()->edit(band_editor_id::qEdit), Qt::Key_Return);
  const vireo::dsp::BandShape stored = vireo::tuning::ReadEqBand(TheStore(), eq.identity(), band);
  QCOMPARE(stored.frequency, expectedFrequency);
  QVERIFY(qAbs(stored.q - expectedQ) < 1e-3);
}

void EqPagesTests::digitSelectionShowsTheEditorWithoutSending() {
  CDialogMusic* page = Music();
  QVERIFY(page->eq().list()->isVisible());
  page->SelectSection(3);
  QVERIFY(page->eq().editor()->isVisible());
  QVERIFY(!page->eq().list()->isVisible());
  QCOMPARE(page->eq().editor()->findChild<QLabel*>()->text(), QStringLiteral("4"));
  QCOMPARE(page->eq().graph()->selectedBand(), 3);
  QVERIFY(rig->Requests().empty());
  emit page->eq().graph()->EmptyClick();
  QVERIFY(page->eq().list()->isVisible());
}

void EqPagesTests::pasteFollowsTheRuleAndRefreshes() {
  // Reverb A (seven bands) pasted into the music equaliser: bands 1..7 change, all ten are written.
  vireo::tuning::WriteEqBand(TheStore(), rig->app().connection().sender(), 2, 0, {1, -9.0, 125.0, 3.0});
  Music()->SetView(2);
  rig->ClearRequests();
  CEqPanel* graph = Music()->eq().graph();
  SetEqCopySource(2);
  graph->RunMenuCommand(CEqPanel::kPasteCommand);
  QCOMPARE(BlockWrites(rig->Requests()).size(), std::size_t(10));
  QCOMPARE(vireo::tuning::ReadEqBand(TheStore(), 6, 0).gainDb, -9.0);
  QCOMPARE(graph->band(0).gain, -9.0f);
  QCOMPARE(Music()->eq().list()->item(0, CBandList::kGainColumn)->text(), QStringLiteral("-9.0dB"));
}

void EqPagesTests::routingRadiosSendBothChannels() {
  rig->Find<QRadioButton>(1192)->click();  // "CH A" of Mic 2
  QCOMPARE(TheStore().Int(slot::micToChannelA[1]), 100);
  QCOMPARE(TheStore().Int(slot::micToChannelB[1]), 0);
  rig->WaitEditsSent();  // else the second click may replace the first on its way
  rig->Find<QRadioButton>(1193)->click();
  QVERIFY(rig->Find<QRadioButton>(1193)->isChecked());
  QVERIFY(!rig->Find<QRadioButton>(1192)->isChecked());
  const auto requests = rig->Requests();
  QCOMPARE(ParamWrites(requests, 1, 28),
           (std::vector<std::vector<std::uint32_t>>{{FloatWire(1.0f)}, {FloatWire(0.0f)}}));
  QCOMPARE(ParamWrites(requests, 1, 51),
           (std::vector<std::vector<std::uint32_t>>{{FloatWire(0.0f)}, {FloatWire(1.0f)}}));
}

void EqPagesTests::echoTimeSetsTheReverbPredelay() {
  CEffectParamList& effects = Music()->effects();
  effects.SelectRow(5);
  QCOMPARE(effects.slider()->minimum(), 2);
  QCOMPARE(effects.slider()->maximum(), 260);
  effects.slider()->SetPos(5);
  effects.slider()->Step(-1);  // 4 ms
  QCOMPARE(TheStore().Float(slot::reverbPredelayA), 40.0f);
  QCOMPARE(effects.list()->GetItemText(1, 2), QStringLiteral("40ms"));
  QCOMPARE(ParamWrites(rig->Requests(), 3, 9).back(), std::vector<std::uint32_t>{1920u});  // 40 ms x 48
  effects.slider()->SetPos(6);
  effects.slider()->Step(1);  // 7 ms leaves the predelay
  QCOMPARE(TheStore().Float(slot::reverbPredelayA), 40.0f);
  QCOMPARE(ParamWrites(rig->Requests(), 2, 10).back(), std::vector<std::uint32_t>{336u});  // 7 ms x 48
}

void EqPagesTests::mutedReverbLevelShowsItsNotice() {
  TheStore().SetInt(slot::reverbMute, 1);
  CEffectParamList& effects = Music()->effects();
  effects.SelectRow(0);
  effects.slider()->SetPos(1);
  const qsizetype before = rig->notices().size();
  effects.slider()->Step(-1);
  QCOMPARE(rig->notices().size(), before);  // lowering to 0 says nothing
  effects.slider()->Step(1);
  QCOMPARE(rig->lastNotice(), QStringLiteral("Reverb vol is mute"));
}

void EqPagesTests::musicViewDisablesTheEffectControls() {
  Music()->SetView(2);
  CEffectParamList& effects = Music()->effects();
  QVERIFY(!effects.list()->isEnabled());
  QVERIFY(!effects.slider()->isEnabled());
  for (CSmallEqPanel* preview : Music()->findChildren<CSmallEqPanel*>()) {
    QVERIFY(!preview->isEnabled());
    QVERIFY(preview->toolTip().isEmpty());  // it would not open
  }
  const int before = effects.slider()->GetPos();
  effects.slider()->Step(1);
  QCOMPARE(effects.slider()->GetPos(), before);
  QVERIFY(rig->Requests().empty());
  QCOMPARE(Music()->eq().identity(), 6);
  Music()->SetView(0);
  for (CSmallEqPanel* preview : Music()->findChildren<CSmallEqPanel*>())
    QVERIFY(!preview->toolTip().isEmpty());
}

void EqPagesTests::metersAndInputFormatFollowTheStore() {
  auto* format = rig->Find<QLabel>(1222);
  const std::pair<int, const char*> cases[] = {{0, "Stereo"}, {4, "Multi-CH LPCM"}, {6, "DTS"}, {7, "DOLBY"}};
  for (const auto& [bits, text] : cases) {
    TheStore().SetByte(vireo::Region::levelMeters, 7, static_cast<std::uint8_t>(bits));
    Music()->UpdateMeters();
    QCOMPARE(format->text(), QString::fromLatin1(text));
  }
}

void EqPagesTests::previewOpensTheEditorAndBackKeepsTheView() {
  Music()->SetView(1);
  auto* echo = rig->Find<CSmallEqPanel>(1143);
  QTest::mouseClick(echo, Qt::LeftButton);
  QTRY_VERIFY(qobject_cast<CDialogEfx*>(rig->frame().view()->currentPage()) != nullptr);
  auto* efx = qobject_cast<CDialogEfx*>(rig->frame().view()->currentPage());
  QCOMPARE(efx->selector(), 3);  // echo B
  QCOMPARE(efx->eq().identity(), 5);
  QCOMPARE(efx->eq().graph()->bandCount(), 7);
  efx->SelectSection(7);  // digit 8: the seven-band editor ignores it
  QCOMPARE(efx->eq().selectedBand(), -1);
  QTest::mouseClick(rig->Find<QWidget>(1219), Qt::LeftButton);
  QTRY_VERIFY(Music() != nullptr);
  QCOMPARE(Music()->view(), 1);
}

void EqPagesTests::aDragAndAPasteAreOneUndoStepEach() {
  CEqPanel* graph = Music()->eq().graph();
  graph->resize(800, 300);
  const vireo::dsp::BandShape before = vireo::tuning::ReadEqBand(TheStore(), 0, 4);
  const vireo::dsp::EqBand& band = graph->band(4);
  const QPoint marker(qRound(graph->bands().plot().left + band.markerX),
                      qRound(graph->bands().plot().top + band.markerY));
  QTest::mousePress(graph, Qt::LeftButton, {}, marker);
  for (int step = 1; step <= 5; ++step) QTest::mouseMove(graph, marker + QPoint(step * 8, -step * 10));
  QTest::mouseRelease(graph, Qt::LeftButton, {}, marker + QPoint(40, -50));
  const vireo::dsp::BandShape dragged = vireo::tuning::ReadEqBand(TheStore(), 0, 4);
  QVERIFY(dragged.gainDb > before.gainDb);
  SetEqCopySource(6);
  graph->RunMenuCommand(CEqPanel::kPasteCommand);
  rig->ClearRequests();

  rig->frame().Undo();  // the paste
  QCOMPARE(vireo::tuning::ReadEqBand(TheStore(), 0, 4).gainDb, dragged.gainDb);
  QCOMPARE(BlockWrites(rig->Requests()).size(), std::size_t(10));  // all ten bands go back
  rig->ClearRequests();
  rig->frame().Undo();  // the whole drag
  const vireo::dsp::BandShape undone = vireo::tuning::ReadEqBand(TheStore(), 0, 4);
  QCOMPARE(undone.gainDb, before.gainDb);
  QCOMPARE(undone.frequency, before.frequency);
  const auto blocks = BlockWrites(rig->Requests());
  QCOMPARE(blocks.size(), std::size_t(1));  // one band: its record, then its coefficients
  QCOMPARE(blocks[0].first, 4 * 7);
  QCOMPARE(ParamWrites(rig->Requests(), 1, 20).size(), std::size_t(1));
  QCOMPARE(graph->band(4).gain, static_cast<float>(before.gainDb));  // the page shows the store again
  rig->frame().Redo();
  QCOMPARE(vireo::tuning::ReadEqBand(TheStore(), 0, 4).gainDb, dragged.gainDb);
}

void EqPagesTests::filterTextImportsAsOneStepRefusesWhollyAndExports() {
  Music()->SetView(2);
  CEqPanel* graph = Music()->eq().graph();
  const vireo::dsp::BandShape before = vireo::tuning::ReadEqBand(TheStore(), 6, 0);
  const auto write = [this](const QString& name, const QByteArray& text) {
    QFile file(rig->dir() + "/" + name);
    if (!file.open(QIODevice::WriteOnly)) return QString();
    file.write(text);
    return file.fileName();
  };
  rig->prompts().files = {
      write("good.txt", "Preamp: -3 dB\r\nFilter 1: ON PK Fc 1000 Hz Gain -3.0 dB Q 2\r\n")};
  graph->RunMenuCommand(CEqPanel::kImportFiltersCommand);
  QCOMPARE(vireo::tuning::ReadEqBand(TheStore(), 6, 0).gainDb, -3.0);
  QCOMPARE(graph->band(0).gain, -3.0f);
  QVERIFY(rig->prompts().asked.last().text.contains("line 1: Preamp: -3 dB ignored"));

  rig->prompts().files = {write(
      "bad.txt", "Filter 1: ON PK Fc 500 Hz Gain 2 dB Q 1\nFilter 2: ON PK Fc 30000 Hz Gain 1 dB Q 1\n")};
  graph->RunMenuCommand(CEqPanel::kImportFiltersCommand);
  QVERIFY(rig->prompts().asked.last().text.endsWith("line 2: 30000.0 Hz is outside 20..20000 Hz"));
  QCOMPARE(vireo::tuning::ReadEqBand(TheStore(), 6, 0).frequency, 1000.0);  // nothing of it was taken

  const QString exported = rig->dir() + "/out.txt";
  rig->prompts().files = {exported};
  graph->RunMenuCommand(CEqPanel::kExportFiltersCommand);
  QFile file(exported);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QVERIFY(file.readLine().startsWith("Filter 1: ON PK Fc 1000 Hz Gain -3.0 dB Q 2.000"));

  rig->frame().Undo();  // the whole import
  QCOMPARE(vireo::tuning::ReadEqBand(TheStore(), 6, 0).gainDb, before.gainDb);
  QCOMPARE(vireo::tuning::ReadEqBand(TheStore(), 6, 0).frequency, before.frequency);
}

void EqPagesTests::theCurveSavesAsPictureDrawingAndTable() {
  Music()->SetView(2);
  CEqPanel* graph = Music()->eq().graph();
  const QString base = rig->dir() + "/curve";
  rig->prompts().files = {base + ".png", base + ".svg", base + ".csv"};
  for (int command : {CEqPanel::kSavePictureCommand, CEqPanel::kSaveSvgCommand, CEqPanel::kSaveCsvCommand})
    graph->RunMenuCommand(command);
  QCOMPARE(QImage(base + ".png").size(), graph->size() * 2);
  QFile svg(base + ".svg");
  QVERIFY(svg.open(QIODevice::ReadOnly));
  QVERIFY(svg.readAll().contains(">Music EQ</text>"));
  QFile csv(base + ".csv");
  QVERIFY(csv.open(QIODevice::ReadOnly));
  QCOMPARE(csv.readAll().count('\n'), 513);
  QCOMPARE(rig->prompts().fileRequests.last().defaultSuffix, QString("csv"));
}

void EqPagesTests::wheelOverThePageGoesToTheFocusedGraph() {
  CDialogMusic* page = Music();
  page->activateWindow();
  page->eq().graph()->setFocus();
  QTRY_VERIFY(page->eq().graph()->hasFocus());
  auto turn = [page] {
    const QPointF at(3, page->height() - 3);  // a corner of the page, away from every control
    QWheelEvent wheel(at, page->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page, &wheel);
  };
  turn();  // no band selected: the graph declines, and the turn must not go round between them
  QVERIFY(rig->Requests().empty());
  page->SelectSection(4);
  const float gain = page->eq().graph()->band(4).gain;
  turn();
  QVERIFY(page->eq().graph()->band(4).gain > gain);
  QCOMPARE(BlockWrites(rig->Requests()).size(), std::size_t(1));
}

void EqPagesTests::lettersTypedIntoTheTypeDropDownAreNotShortcuts() {
  namespace t = vireo::tuning;
  rig->frame().show();
  QVERIFY(QTest::qWaitForWindowExposed(&rig->frame()));
  CBandList* list = Music()->eq().list();
  const QRect cell = list->visualItemRect(list->item(0, CBandList::kTypeColumn));
  DoubleClick(list->viewport(), cell.center());
  auto* editor = list->viewport()->findChild<QComboBox*>();
  QVERIFY(editor != nullptr);
  std::vector<bool> bypass;
  for (int id = 0; id < t::kEqIdentityCount; ++id) bypass.push_back(t::EqBypass(TheStore(), id));
  const int music = TheStore().Int(slot::musicVolume);
  QTest::keyClick(editor, Qt::Key_P);
  QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);  // its list opens
  QTRY_VERIFY(editor->view()->isVisible());
  QTest::keyClick(editor->view(), Qt::Key_P);
  QTest::keyClick(editor->view(), Qt::Key_Q);  // the music volume key elsewhere
  for (int id = 0; id < t::kEqIdentityCount; ++id) QCOMPARE(t::EqBypass(TheStore(), id), bypass[id]);
  QCOMPARE(TheStore().Int(slot::musicVolume), music);
  QTest::keyClick(editor->view(), Qt::Key_Escape);
}

void EqPagesTests::aDraggedFrequencyReadsAsTheRecordSentHoldsIt() {
  CEqPanel* graph = Music()->eq().graph();
  graph->resize(800, 300);
  const vireo::dsp::EqBand& band = graph->band(4);
  const QPoint marker(qRound(graph->bands().plot().left + band.markerX),
                      qRound(graph->bands().plot().top + band.markerY));
  // Sideways steps of odd pixels land between whole hertz.
  QTest::mousePress(graph, Qt::LeftButton, {}, marker);
  for (int step = 1; step <= 4; ++step) QTest::mouseMove(graph, marker + QPoint(step * 7, 0));
  QTest::mouseRelease(graph, Qt::LeftButton, {}, marker + QPoint(28, 0));
  QVERIFY(band.frequency != std::trunc(band.frequency));
  const auto blocks = BlockWrites(rig->Requests());
  QVERIFY(!blocks.empty());
  QCOMPARE(blocks.back().first, 4 * 7);
  const int sent = (blocks.back().second[2] << 8) | blocks.back().second[3];
  const QString shown = QStringLiteral("%1Hz").arg(sent);
  QCOMPARE(Music()->eq().list()->item(4, CBandList::kFrequencyColumn)->text(), shown);
  QCOMPARE(Music()->eq().editor()->edit(band_editor_id::frequencyEdit)->text(), shown);
}

void EqPagesTests::aGainCellEditKeepsTheStoredQ() {
  rig->frame().show();
  QVERIFY(QTest::qWaitForWindowExposed(&rig->frame()));
  // Band 3 of microphone A (record 2 of group 1, at 14): 0 dB (150), 1000 Hz, Q 1.414 (1414 = 0x0586), PEQ.
  const std::array<std::uint8_t, 7> record{0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 0x01};
  TheStore().WriteBytes(vireo::Region::dspBlock, 14, record);
  Music()->RefreshFromStore();
  CBandList* list = Music()->eq().list();
  QCOMPARE(list->item(2, CBandList::kQColumn)->text(), QStringLiteral("1.41"));
  rig->ClearRequests();
  DoubleClick(list->viewport(), list->visualItemRect(list->item(2, CBandList::kGainColumn)).center());
  auto* editor = list->viewport()->findChild<QLineEdit*>();
  QVERIFY(editor != nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "+3");
  QTest::keyClick(editor, Qt::Key_Return);
  // The delegate commits on the next turn of the event loop.
  QTRY_COMPARE(list->item(2, CBandList::kGainColumn)->text(), QStringLiteral("+3.0dB"));
  // (3 + 15) x 10 = 180 = 0x00B4; the Q code stays 1414.
  QTRY_VERIFY(!BlockWrites(rig->Requests()).empty());
  const auto blocks = BlockWrites(rig->Requests());
  QCOMPARE(blocks.back().first, 14);
  QCOMPARE(blocks.back().second, (std::vector<std::uint8_t>{0x00, 0xB4, 0x03, 0xE8, 0x05, 0x86, 0x01}));
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  EqPagesTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "eq_pages_tests.moc"
