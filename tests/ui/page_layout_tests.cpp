// The EQ pages' layouts: at the smallest page, at full HD and at odd sizes every control lies inside the
// page and no two overlap.
#include <QtTest>

#include "pages/page_layout.h"

class PageLayoutTests : public QObject {
  Q_OBJECT
 private slots:
  void nothingOverlapsOrLeavesThePage();
  void graphTakesTheRestOfThePage();
};

namespace {
template <typename Layout>
void CheckSeparate(const Layout& layout, QSize page) {
  const QRect area(QPoint(0, 0), page.expandedTo(QSize(1024, 520)));
  const std::vector<QRect> rects = SeparateRects(layout);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    QVERIFY2(area.contains(rects[i]), qPrintable(QStringLiteral("rect %1 leaves the page").arg(i)));
    QVERIFY2(!rects[i].isEmpty(), qPrintable(QStringLiteral("rect %1 is empty").arg(i)));
    for (std::size_t j = i + 1; j < rects.size(); ++j) {
      QVERIFY2(!rects[i].intersects(rects[j]),
               qPrintable(QStringLiteral("rects %1 and %2 overlap").arg(i).arg(j)));
    }
  }
}
}  // namespace

void PageLayoutTests::nothingOverlapsOrLeavesThePage() {
  for (QSize page :
       {QSize(1024, 520), QSize(1920, 1080), QSize(1025, 521), QSize(600, 300), QSize(3840, 2160)}) {
    CheckSeparate(LayoutMusicPage(page), page);
    CheckSeparate(LayoutEfxPage(page), page);
    const MusicPageLayout music = LayoutMusicPage(page);
    for (const QRect& meter : music.musicMeters) QVERIFY(music.musicPeak.contains(meter));
  }
}

void PageLayoutTests::graphTakesTheRestOfThePage() {
  const MusicPageLayout music = LayoutMusicPage(QSize(1920, 1080));
  QCOMPARE(music.graph.right(), 1920 - 7);
  QCOMPARE(music.graph.left(), 6);  // the previews moved up beside the lists
  QCOMPARE(LayoutMusicPage(QSize(1024, 520)).graph.left(), 212);
  QCOMPARE(music.graph.bottom(), 1080 - 7);
  const EfxPageLayout efx = LayoutEfxPage(QSize(1920, 1080));
  QCOMPARE(efx.graph.right(), 1920 - 7);
  QCOMPARE(efx.back.right(), 1920 - 7);
}

QTEST_GUILESS_MAIN(PageLayoutTests)
#include "page_layout_tests.moc"
