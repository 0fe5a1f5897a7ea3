// Cost of a full repaint of the EQ graph and of the small preview into a picture, as a paint event draws
// them.
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "controls/eq_panel_painter.h"
#include "controls/small_eq_panel_painter.h"
#include "dsp/eq_band_set.h"
#include "dsp/small_eq_preview.h"

namespace {

using namespace vireo::dsp;

// Thirteen bands all shown: every marker, the total of thirteen responses, a hovered band's readout and, when
// one is selected, its area and the status line.
EqBandSet ThirteenBands(int width, int height) {
  EqBandSet bands;
  bands.SetIdentity(6);
  bands.SetClientSize(width, height);
  bands.SetBandCount(10);
  bands.SetBandCount(13);
  const double frequencies[] = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000, 45, 3000, 12000};
  for (int slot = 0; slot < 13; ++slot) {
    bands.SetBandType(slot, slot == 0 ? 3 : (slot == 12 ? 2 : (slot == 9 ? 5 : 1)));
    bands.SetBandFrequency(slot, frequencies[slot]);
    bands.SetBandGain(slot, (slot % 5) * 2.5 - 5.0);
  }
  return bands;
}

void BM_EqGraphPaint13Bands(benchmark::State& state) {
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const EqBandSet bands = ThirteenBands(size.width(), size.height());
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  const EqPanelPaintState paint{&bands, static_cast<int>(state.range(2)), 6, false, 1};
  for (auto _ : state) {
    QPainter painter(&image);
    PaintEqPanel(painter, size, paint);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_EqGraphPaint13Bands)
    ->Args({1024, 520, 4})
    ->Args({1920, 1080, 4})
    ->Args({1920, 1080, -1})
    ->ArgNames({"w", "h", "selected"})
    ->Unit(benchmark::kMicrosecond);

SmallEqPreview TunedPreview(QSize size) {
  SmallEqPreview preview;
  preview.SetClientSize(size.width(), size.height());
  const double gains[] = {4, -3, 0, 2.5, -6, 6, 3};
  for (int band = 0; band < kPreviewBands; ++band) preview.SetPreviewGain(band, gains[band]);
  return preview;
}

// A repaint: the kept grid copied in, the curve drawn over it.
void BM_SmallEqPaint(benchmark::State& state) {
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const SmallEqPreview preview = TunedPreview(size);
  SmallEqGridCache grid;
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  const SmallEqPaintState paint{&preview, QColor::fromRgba(0xFF00C8FF), state.range(2) != 0, false};
  for (auto _ : state) {
    QPainter painter(&image);
    PaintSmallEqPanel(painter, size, grid.For(size, 1.0), paint);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_SmallEqPaint)
    ->Args({300, 150, 0})
    ->Args({300, 150, 1})
    ->Args({1920, 1080, 0})
    ->ArgNames({"w", "h", "pass"})
    ->Unit(benchmark::kMicrosecond);

// After a resize: the seven bands laid out again and the grid drawn again before the repaint.
void BM_SmallEqResizeAndPaint(benchmark::State& state) {
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  SmallEqPreview preview = TunedPreview(size);
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    preview.SetClientSize(size.width(), size.height());
    const QImage grid = PaintSmallEqGrid(size, 1.0);
    QPainter painter(&image);
    PaintSmallEqPanel(painter, size, grid, {&preview, QColor::fromRgba(0xFF00C8FF), false, false});
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_SmallEqResizeAndPaint)->Args({300, 150})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // Pictures only: no display is needed, and none may be used, so the figures do not depend on one.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);  // fonts need the application
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
