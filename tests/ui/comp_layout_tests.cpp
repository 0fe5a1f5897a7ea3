// The compressor page's layout: at the smallest page, at full HD and at odd sizes every control lies inside
// the page and no two overlap.
#include <QtTest>

#include "pages/comp_layout.h"

class CompLayoutTests : public QObject {
  Q_OBJECT
 private slots:
  void nothingOverlapsOrLeavesThePage();
};

void CompLayoutTests::nothingOverlapsOrLeavesThePage() {
  for (QSize page :
       {QSize(1024, 520), QSize(1920, 1080), QSize(1025, 521), QSize(600, 300), QSize(3840, 2160)}) {
    const QRect area(QPoint(0, 0), page.expandedTo(QSize(1024, 520)));
    const std::vector<QRect> rects = SeparateRects(LayoutCompPage(page));
    for (std::size_t i = 0; i < rects.size(); ++i) {
      QVERIFY2(area.contains(rects[i]), qPrintable(QStringLiteral("rect %1 leaves the page").arg(i)));
      QVERIFY2(!rects[i].isEmpty(), qPrintable(QStringLiteral("rect %1 is empty").arg(i)));
      for (std::size_t j = i + 1; j < rects.size(); ++j) {
        QVERIFY2(!rects[i].intersects(rects[j]),
                 qPrintable(QStringLiteral("rects %1 and %2 overlap").arg(i).arg(j)));
      }
    }
  }
  // The curve takes the rest of the page.
  const CompPageLayout full = LayoutCompPage(QSize(1920, 1080));
  QCOMPARE(full.curve.right(), 1920 - 13);
  QCOMPARE(full.curve.bottom(), 1080 - 13);
}

QTEST_GUILESS_MAIN(CompLayoutTests)
#include "comp_layout_tests.moc"
