// The pure geometry of the drawn controls: slider value and pixel, thumb and clicks; meter LEDs, cells and
// ballistics; button states. Expected values are worked out from the control sizes by hand.
#include <QtTest>
#include <climits>

#include "controls/slider_math.h"

namespace {

// Horizontal, 100 x 20, thumb 10 x 15, margins 7, 7, 3, 2, range 0..25: travel 76, 3.04 pixels a step.
SliderGeometry Delay() {
  return {SliderOrientation::horizontal, 100, 20, 10, 15, kDelaySliderMargins, 0, 25};
}
// Vertical, 24 x 200, thumb 19 x 11, margins 3, 2, 7, 7, range -150..150: travel 175 for a span of 300.
SliderGeometry Gain() {
  return {SliderOrientation::vertical, 24, 200, 19, 11, kEffectEqSliderMargins, -150, 150};
}

}  // namespace

class ControlGeometryTests : public QObject {
  Q_OBJECT
 private slots:
  void positionToPixel();
  void pixelToPosition();
  void degenerateSlidersStayAtTheStart();
  void thumbRectangles();
  void clickStepsOneTowardThePoint();
  void dragHoldsTheThumbCentre();
  void stepsStayInRange();
  void thumbFitsTheControl();
};

void ControlGeometryTests::positionToPixel() {
  struct Case {
    SliderGeometry g;
    int position, pixel;
  } cases[] = {{Delay(), 0, 7},  {Delay(), 1, 10},  {Delay(), 13, 46}, {Delay(), 25, 83},
               {Delay(), -3, 7}, {Delay(), 40, 83}, {Gain(), 150, 7},  {Gain(), -150, 182},
               {Gain(), 0, 94},  {Gain(), 90, 42},  {Gain(), 999, 7},  {Gain(), -999, 182}};
  for (const Case& c : cases) QCOMPARE(PositionToPixel(c.g, c.position), c.pixel);
}

void ControlGeometryTests::pixelToPosition() {
  struct Case {
    SliderGeometry g;
    int pixel, position;
  } cases[] = {{Delay(), 7, 0},     {Delay(), 6, 0},     {Delay(), 0, 0},        {Delay(), 10, 0},
               {Delay(), 11, 1},    {Delay(), 82, 24},   {Delay(), 83, 25},      {Delay(), 500, 25},
               {Gain(), 7, 150},    {Gain(), 0, 150},    {Gain(), 42, 90},       {Gain(), 94, 1},
               {Gain(), 182, -150}, {Gain(), 300, -150}, {Gain(), INT_MIN, 150}, {Gain(), INT_MAX, -150}};
  for (const Case& c : cases) QCOMPARE(PixelToPosition(c.g, c.pixel), c.position);
}

void ControlGeometryTests::degenerateSlidersStayAtTheStart() {
  SliderGeometry single = Delay();
  single.minimum = single.maximum = 5;
  QCOMPARE(PositionToPixel(single, 5), 7);
  QCOMPARE(PixelToPosition(single, 60), 5);
  SliderGeometry cramped = Delay();
  cramped.width = 20;  // the thumb and the margins take more than the control
  QCOMPARE(SliderTravel(cramped), 0);
  QCOMPARE(PositionToPixel(cramped, 25), 7);
  QCOMPARE(PixelToPosition(cramped, 19), 0);
}

void ControlGeometryTests::thumbRectangles() {
  QCOMPARE(ThumbRect(Delay(), 13), (SliderRect{46, 3, 10, 15}));
  // A vertical slider at its minimum sits at the bottom of its travel: 200 - 7 - 11.
  QCOMPARE(ThumbRect(Gain(), -150), (SliderRect{3, 182, 19, 11}));
  QCOMPARE(ThumbRect(Gain(), 150), (SliderRect{3, 7, 19, 11}));
  QVERIFY(ThumbRect(Delay(), 13).Contains(55, 17));
  QVERIFY(!ThumbRect(Delay(), 13).Contains(56, 10));
  QVERIFY(!ThumbRect(Delay(), 13).Contains(50, 18));
}

void ControlGeometryTests::clickStepsOneTowardThePoint() {
  // Delay thumb at 13 spans x 46..55, centre 51; gain thumb at 90 spans y 42..52, centre 47.
  struct Case {
    SliderGeometry g;
    int position, x, y, result;
  } cases[] = {{Delay(), 13, 51, 10, 12}, {Delay(), 13, 52, 10, 14},     {Delay(), 13, 0, 10, 12},
               {Delay(), 13, 99, 19, 14}, {Delay(), 25, 99, 10, 25},     {Delay(), 0, 0, 10, 0},
               {Gain(), 90, 10, 48, 89},  {Gain(), 90, 10, 47, 91},      {Gain(), 90, 10, 0, 91},
               {Gain(), 90, 10, 199, 89}, {Gain(), -150, 10, 199, -150}, {Gain(), 150, 10, 0, 150}};
  for (const Case& c : cases) QCOMPARE(StepTowardPoint(c.g, c.position, c.x, c.y), c.result);
}

void ControlGeometryTests::dragHoldsTheThumbCentre() {
  struct Case {
    SliderGeometry g;
    int x, y, position;
  } cases[] = {{Delay(), 5, 10, 0},   {Delay(), 12, 10, 0},   {Delay(), 17, 0, 1},
               {Delay(), 88, 10, 25}, {Delay(), 300, 10, 25}, {Gain(), 0, 12, 150},
               {Gain(), 0, 47, 90},   {Gain(), 0, 187, -150}, {Gain(), 0, -40, 150}};
  for (const Case& c : cases) QCOMPARE(DragPosition(c.g, c.x, c.y), c.position);
}

void ControlGeometryTests::stepsStayInRange() {
  QCOMPARE(SliderStep(Delay(), 13, 1), 14);
  QCOMPARE(SliderStep(Delay(), 25, 1), 25);
  QCOMPARE(SliderStep(Delay(), 0, -1), 0);
  QCOMPARE(SliderStep(Delay(), 30, -1), 24);  // an out-of-range start is brought in first
  QCOMPARE(SliderStep(Gain(), 150, INT_MAX), 150);
  QCOMPARE(SliderStep(Gain(), -150, INT_MIN), -150);
}

void ControlGeometryTests::thumbFitsTheControl() {
  SliderGeometry h{SliderOrientation::horizontal, 120, 20, 0, 0, kLocationSliderMargins, 0, 100};
  FitThumb(h);
  QCOMPARE(h.thumbWidth, 11);
  QCOMPARE(h.thumbHeight, 15);
  SliderGeometry v = Gain();
  FitThumb(v);
  QCOMPARE(v.thumbWidth, 19);
  QCOMPARE(v.thumbHeight, 11);
  SliderGeometry tiny{SliderOrientation::horizontal, 10, 4, 0, 0, kDelaySliderMargins, 0, 1};
  FitThumb(tiny);
  QCOMPARE(tiny.thumbHeight, 1);
}

QTEST_APPLESS_MAIN(ControlGeometryTests)

#include "control_geometry_tests.moc"
