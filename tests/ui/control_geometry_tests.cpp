// The pure geometry of the drawn controls: slider value and pixel, thumb and clicks; meter LEDs, cells and
// ballistics; button states. Expected values are worked out from the control sizes by hand.
#include <QtTest>
#include <climits>

#include "controls/peak_meter_math.h"
#include "controls/slider_math.h"
#include "look/button_look.h"

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
  void ledZonesOfTheInputMeter();
  void litLedCount();
  void meterCells();
  void dataClampsAndRaisesPeaks();
  void falloffOfAFullScaleValue();
  void falloffStepWithOneLed();
  void buttonStates();
  void faceColours();
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

void ControlGeometryTests::ledZonesOfTheInputMeter() {
  // 15 LEDs over 60: green below 15 * 40 / 60 = 10, yellow below trunc(12.5) = 12.
  const PeakMeterSettings input = InputMeterSettings();
  const LedZone expected[15] = {LedZone::green, LedZone::green, LedZone::green,  LedZone::green,
                                LedZone::green, LedZone::green, LedZone::green,  LedZone::green,
                                LedZone::green, LedZone::green, LedZone::yellow, LedZone::yellow,
                                LedZone::red,   LedZone::red,   LedZone::red};
  for (int led = 0; led < 15; ++led) QCOMPARE(ZoneOfLed(input, led), expected[led]);
  // The default 8 LEDs: green below 5, yellow below 6.
  QCOMPARE(ZoneOfLed(PeakMeterSettings{}, 4), LedZone::green);
  QCOMPARE(ZoneOfLed(PeakMeterSettings{}, 5), LedZone::yellow);
  QCOMPARE(ZoneOfLed(PeakMeterSettings{}, 6), LedZone::red);
}

void ControlGeometryTests::litLedCount() {
  const PeakMeterSettings input = InputMeterSettings();
  const int cases[][2] = {{0, 0}, {3, 0}, {4, 1}, {30, 7}, {59, 14}, {60, 15}, {75, 15}, {-5, 0}};
  for (const auto& c : cases) QCOMPARE(LitLedCount(input, c[0]), c[1]);
}

void ControlGeometryTests::meterCells() {
  // One band of 15 LEDs in 152 x 12: cells 10 wide with a gap at the left, the 2 spare pixels at the right.
  const PeakMeterSettings input = InputMeterSettings();
  QCOMPARE(MeterCellRect(input, true, 152, 12, 0, 0), (MeterCell{1, 0, 9, 12}));
  QCOMPARE(MeterCellRect(input, true, 152, 12, 0, 14), (MeterCell{141, 0, 9, 12}));
  // Two bands of 8 in 80 x 21: rows of 10 below one spare pixel at the top, inset at top and bottom.
  PeakMeterSettings two;
  two.bands = 2;
  QCOMPARE(MeterCellRect(two, true, 80, 21, 0, 3), (MeterCell{31, 2, 9, 8}));
  QCOMPARE(MeterCellRect(two, true, 80, 21, 1, 3), (MeterCell{31, 12, 9, 8}));
  // Vertical: columns from the left after the spare pixel, LED 0 at the bottom.
  two.leds = 4;
  QCOMPARE(MeterCellRect(two, false, 21, 40, 1, 0), (MeterCell{12, 31, 8, 9}));
  QCOMPARE(MeterCellRect(two, false, 21, 40, 1, 3), (MeterCell{12, 1, 8, 9}));
  PeakMeterSettings single;
  single.bands = single.leds = 1;
  QCOMPARE(MeterCellRect(single, true, 50, 10, 0, 0), (MeterCell{0, 0, 50, 10}));
}

void ControlGeometryTests::dataClampsAndRaisesPeaks() {
  PeakMeterBallistics meter;  // 8 bands, range 60, hold 10
  const int values[] = {10, 20, 30};
  meter.SetData(values, 6);  // the third value has no band
  QCOMPARE(meter.Level(6), 10);
  QCOMPARE(meter.Level(7), 20);
  const int edges[] = {-4, 75};
  meter.SetData(edges, -1);  // the first value has no band
  QCOMPARE(meter.Level(0), 60);
  QCOMPARE(meter.Peak(0), 60);
  QCOMPARE(meter.Hold(0), 10);
  for (int i = 0; i < 3; ++i) meter.Tick();
  const int same[] = {60};
  meter.SetData(same);  // not above the peak: the hold keeps counting
  QCOMPARE(meter.Level(0), 60);
  QCOMPARE(meter.Hold(0), 7);
  const int negative[] = {-9};
  meter.SetData(negative, 5);
  QCOMPARE(meter.Level(5), 0);
}

void ControlGeometryTests::falloffOfAFullScaleValue() {
  PeakMeterBallistics meter(InputMeterSettings());
  const int full[] = {75};
  meter.SetData(full);
  QCOMPARE(LitLedCount(meter.settings(), meter.Level(0)), 15);
  QCOMPARE(meter.FalloffStep(), 4);
  for (int tick = 1; tick <= 14; ++tick) {
    QVERIFY(meter.Tick());
    QCOMPARE(meter.Level(0), 60 - 4 * tick);
  }
  QCOMPARE(meter.Hold(0), 0);
  // The peak held for 9 ticks, then fell by half a step on ticks 10..14.
  QCOMPARE(meter.Peak(0), 50);
  QVERIFY(!meter.Tick());  // level and hold both at 0: the timer may stop
  QCOMPARE(meter.Level(0), 0);
  QCOMPARE(meter.Peak(0), 48);
}

void ControlGeometryTests::falloffStepWithOneLed() {
  PeakMeterSettings one;
  one.bands = 1;
  one.leds = 1;
  one.holdCount = 0;
  PeakMeterBallistics meter(one);
  QCOMPARE(meter.FalloffStep(), 6);  // a tenth of the range
  const int value[] = {30};
  meter.SetData(value);
  meter.Tick();
  QCOMPARE(meter.Level(0), 24);
  QCOMPARE(meter.Peak(0), 25);  // a peak falls by 5 with a single LED
  PeakMeterSettings dense = one;
  dense.leds = 100;  // 60 / 100 would never fall
  QCOMPARE(PeakMeterBallistics(dense).FalloffStep(), 1);
}

void ControlGeometryTests::buttonStates() {
  struct Case {
    bool enabled, down, checked, hovered;
    ButtonState state;
  } cases[] = {{false, true, true, true, ButtonState::disabled},
               {true, true, true, true, ButtonState::pressed},
               {true, false, true, true, ButtonState::checked},
               {true, false, false, true, ButtonState::hover},
               {true, false, false, false, ButtonState::normal}};
  for (const Case& c : cases) QCOMPARE(ResolveButtonState(c.enabled, c.down, c.checked, c.hovered), c.state);
}

void ControlGeometryTests::faceColours() {
  QCOMPARE(Brightened({100, 0, 255}, 50), (Rgb{177, 127, 255}));
  QCOMPARE(Brightened({100, 0, 255}, 0), (Rgb{100, 0, 255}));
  QCOMPARE(Brightened({100, 0, 255}, 150), (Rgb{255, 255, 255}));
  // Lightness (299 r + 587 g + 114 b) / 1000, halved into the upper half of the grey scale.
  QCOMPARE(Greyed({88, 150, 225}), (Rgb{198, 198, 198}));
  QCOMPARE(Greyed({0, 0, 0}), (Rgb{128, 128, 128}));
  QCOMPARE(Greyed({255, 255, 255}), (Rgb{255, 255, 255}));
  const ButtonFace normal = FaceOfState(ButtonState::normal);
  const ButtonFace hover = FaceOfState(ButtonState::hover);
  QVERIFY(hover.top.r > normal.top.r && hover.bottom.b > normal.bottom.b);
  const ButtonFace disabled = FaceOfState(ButtonState::disabled);
  QVERIFY(disabled.top.r == disabled.top.g && disabled.top.g == disabled.top.b);
}

QTEST_APPLESS_MAIN(ControlGeometryTests)

#include "control_geometry_tests.moc"
