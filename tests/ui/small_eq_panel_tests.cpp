// The small preview and the tab container driven like a user. A 300 x 150 preview has its 0 dB row at 75.
#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QSignalSpy>
#include <QtTest>

#include "controls/small_eq_panel.h"
#include "controls/tab_wnd.h"
#include "ui_harness.h"

namespace {

QImage Render(QWidget& widget, qreal ratio) {
  QImage image(widget.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::red);
  widget.render(&image);
  return image;
}

int CountPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour ? 1 : 0;
  }
  return n;
}

}  // namespace

class SmallEqPanelTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void curveInItsColourOnTheZeroRow();
  void gridIsSharpAtTwiceThePixels();
  void gridIsDrawnAgainOnlyForANewSizeOrRatio();
  void passWhenBypassed();
  void frameWhileThePointerIsOver();
  void clickIsAReleaseOverThePreview();
  void tabSelectionShowsOnePage();

 private:
  std::unique_ptr<CSmallEqPanel> panel_;
};

void SmallEqPanelTests::init() {
  panel_ = std::make_unique<CSmallEqPanel>();
  panel_->resize(300, 150);
  panel_->show();
}

void SmallEqPanelTests::curveInItsColourOnTheZeroRow() {
  QCOMPARE(Render(*panel_, 1).pixel(100, 75), qRgb(0, 200, 255));
  panel_->SetCurveColour(0xFF00DC00);
  const QImage green = Render(*panel_, 1);
  QCOMPARE(green.pixel(100, 75), qRgb(0, 220, 0));
  QCOMPARE(green.pixel(100, 60), qRgb(64, 64, 64));  // the +3 dB line; no curve there
  panel_->SetPreviewGain(5, 20);                     // held at +15 dB: the peak reaches the top row
  QCOMPARE(panel_->band(5).gain, 15.0f);
  QCOMPARE(panel_->preview().total()[33].y, 2);  // 15.0 dB at 996 Hz: the plot's top row
}

void SmallEqPanelTests::gridIsSharpAtTwiceThePixels() {
  panel_->SetBypass(false);
  const QImage sharp = Render(*panel_, 2);
  QCOMPARE(sharp.size(), QSize(600, 300));
  // The +3 dB line (logical row 60) covers device rows 120 and 121 fully, and nothing beside them.
  QCOMPARE(sharp.pixel(200, 120), qRgb(64, 64, 64));
  QCOMPARE(sharp.pixel(200, 121), qRgb(64, 64, 64));
  QCOMPARE(sharp.pixel(200, 119), qRgb(0, 0, 0));
  QCOMPARE(sharp.pixel(200, 122), qRgb(0, 0, 0));
  QCOMPARE(sharp.pixel(200, 2 * 148), qRgb(128, 128, 128));  // the -15 dB edge
}

void SmallEqPanelTests::gridIsDrawnAgainOnlyForANewSizeOrRatio() {
  Render(*panel_, 1);
  const int first = panel_->gridBuilds();
  Render(*panel_, 1);
  QCOMPARE(panel_->gridBuilds(), first);
  Render(*panel_, 2);
  QCOMPARE(panel_->gridBuilds(), first + 1);
  panel_->resize(320, 160);
  Render(*panel_, 2);
  QCOMPARE(panel_->gridBuilds(), first + 2);
}

void SmallEqPanelTests::passWhenBypassed() {
  QCOMPARE(CountPixels(Render(*panel_, 1), qRgb(255, 255, 255)), 0);
  panel_->SetBypass(true);
  const QImage image = Render(*panel_, 1);
  QVERIFY(CountPixels(image, qRgb(255, 255, 255)) > 40);
  QCOMPARE(CountPixels(image.copy(0, 0, 100, 150), qRgb(255, 255, 255)), 0);  // centred, not at the left
}

void SmallEqPanelTests::frameWhileThePointerIsOver() {
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(panel_.get(), &enter);
  QVERIFY(panel_->hovered());
  const QImage framed = Render(*panel_, 1);
  for (const QPoint& at : {QPoint(0, 0), QPoint(299, 149), QPoint(150, 0), QPoint(0, 75)}) {
    QCOMPARE(framed.pixel(at), qRgb(0, 255, 255));
  }
  QCOMPARE(framed.pixel(1, 1), qRgb(0, 0, 0));
  panel_->setEnabled(false);  // a disabled preview does not invite a click
  QCOMPARE(Render(*panel_, 1).pixel(0, 0), qRgb(0, 0, 0));
  panel_->setEnabled(true);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(panel_.get(), &leave);
  QCOMPARE(Render(*panel_, 1).pixel(0, 0), qRgb(0, 0, 0));
}

void SmallEqPanelTests::clickIsAReleaseOverThePreview() {
  QSignalSpy clicks(panel_.get(), &CSmallEqPanel::clicked);
  QTest::mousePress(panel_.get(), Qt::LeftButton, {}, QPoint(40, 40));
  QCOMPARE(clicks.count(), 0);
  QTest::mouseRelease(panel_.get(), Qt::LeftButton, {}, QPoint(50, 60));
  QCOMPARE(clicks.count(), 1);
  QTest::mousePress(panel_.get(), Qt::LeftButton, {}, QPoint(40, 40));
  QTest::mouseRelease(panel_.get(), Qt::LeftButton, {}, QPoint(400, 60));  // let go elsewhere
  QTest::mouseClick(panel_.get(), Qt::RightButton, {}, QPoint(40, 40));
  QCOMPARE(clicks.count(), 1);
  panel_->setEnabled(false);
  QTest::mouseClick(panel_.get(), Qt::LeftButton, {}, QPoint(40, 40));
  QCOMPARE(clicks.count(), 1);
}

void SmallEqPanelTests::tabSelectionShowsOnePage() {
  CTabWnd tabs;
  tabs.resize(400, 300);
  tabs.show();
  QCOMPARE(tabs.Select(0), -1);  // no pages yet
  std::array<QWidget*, 3> pages{new QWidget, new QWidget, new QWidget};
  for (QWidget* page : pages) tabs.AddPage(page);
  QCOMPARE(tabs.currentIndex(), -1);
  tabs.Layout();
  QCOMPARE(tabs.currentIndex(), 0);
  for (QWidget* page : pages) QCOMPARE(page->geometry(), QRect(0, 0, 400, 300));
  QCOMPARE((QList<bool>{pages[0]->isVisible(), pages[1]->isVisible(), pages[2]->isVisible()}),
           (QList<bool>{true, false, false}));
  QCOMPARE(tabs.Select(2), 0);
  QCOMPARE(tabs.Select(1), 2);
  QCOMPARE(tabs.Select(3), -1);
  QCOMPARE(tabs.Select(-1), -1);
  QCOMPARE(tabs.currentIndex(), 1);
  QCOMPARE((QList<bool>{pages[0]->isVisible(), pages[1]->isVisible(), pages[2]->isVisible()}),
           (QList<bool>{false, true, false}));
  tabs.resize(500, 320);  // a resize keeps the pages filling it and the selection
  QCOMPARE(pages[2]->geometry(), QRect(0, 0, 500, 320));
  QVERIFY(pages[1]->isVisible());
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  SmallEqPanelTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "small_eq_panel_tests.moc"
