// Cost of one step of a drag in the room picture: the listener's new place stored, the record and the eight
// corrections built as the edit sender records them, and the picture repainted.
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "controls/ss_volume_panel.h"
#include "device/virtual_clock.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "tuning/edit_sender.h"
#include "tuning/location_ops.h"

namespace {

void BM_RoomDragStep(benchmark::State& state) {
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  vireo::ParameterStore store;
  vireo::ResetStoreDefaults(store);
  for (int c = 0; c < vireo::kOutputChannels; ++c) store.SetInt(vireo::slot::chType[c], c);
  vireo::VirtualClock clock;
  CSSVolumePanel panel(nullptr);
  panel.resize(size);
  panel.SetRoomSize(4, 4);
  const vireo::LocationGeometry g = store.geometry();
  for (int k = 0; k < vireo::kLocationSpeakers; ++k)
    panel.SetItem(k + 1,
                  {g.speakers[static_cast<std::size_t>(k)].x, g.speakers[static_cast<std::size_t>(k)].y});
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  const vireo::dsp::RoomMap map = panel.Map();
  int step = 0;
  std::size_t reports = 0;
  for (auto _ : state) {
    const vireo::dsp::RoomPixel mouse{map.left() + (step * 7) % map.plotWidth(),
                                      map.top() + (step * 3) % map.plotHeight()};
    ++step;
    const vireo::dsp::RoomMetres at = map.ToMetres(map.ClampToPlot(mouse));
    vireo::tuning::JobRecorder recorder(clock);
    vireo::tuning::MoveListener(store, recorder, {at.x, at.y});
    reports += recorder.job().size();
    panel.SetItem(0, at);
    QPainter painter(&image);
    panel.PaintTo(painter);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["reports"] = benchmark::Counter(static_cast<double>(reports) / static_cast<double>(step));
}
BENCHMARK(BM_RoomDragStep)
    ->Args({1200, 700})
    ->Args({1920, 1080})
    ->ArgNames({"w", "h"})
    ->Unit(benchmark::kMicrosecond);

// The edit alone: the record and the eight corrections (seventeen reports), without the picture.
void BM_RoomDragCorrections(benchmark::State& state) {
  vireo::ParameterStore store;
  vireo::ResetStoreDefaults(store);
  for (int c = 0; c < vireo::kOutputChannels; ++c) store.SetInt(vireo::slot::chType[c], c);
  vireo::VirtualClock clock;
  int step = 0;
  for (auto _ : state) {
    vireo::tuning::JobRecorder recorder(clock);
    vireo::tuning::MoveListener(store, recorder, {static_cast<float>(step % 40) / 10.0f - 2.0f, 0.5f});
    ++step;
    benchmark::DoNotOptimize(recorder.job().data());
  }
}
BENCHMARK(BM_RoomDragCorrections)->Unit(benchmark::kMicrosecond);

}  // namespace
