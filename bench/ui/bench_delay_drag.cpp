// Cost of one drag step on the delay graph: the pointer's x mapped to a delay, the page's set-delay path
// (graph marker, edit text, the edit through the undo history into the sender's queue, up-down position)
// and the graph's repaint of what the step changed.
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include "controls/delay_panel.h"
#include "controls/up_down_ctrl.h"
#include "device/clock.h"
#include "model/parameter_store.h"
#include "tuning/delay_ops.h"
#include "tuning/edit_history.h"
#include "tuning/edit_sender.h"

namespace {

namespace t = vireo::tuning;

// A machine that takes every report at once.
class NullLink final : public vireo::ReportSender {
 public:
  int SendPaced(const vireo::Report&) override { return 61; }
  int SendUnpaced(const vireo::Report&) override { return 61; }
};

void SendMove(QWidget* widget, QEvent::Type type, int x, int y) {
  const QPointF at(x, y);
  QMouseEvent event(type, at, widget->mapToGlobal(at),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

void BM_DelayGraphDragStep(benchmark::State& state) {
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  vireo::ParameterStore store;
  vireo::ResetStoreDefaults(store);
  NullLink link;
  t::EditSender sender(link, vireo::SystemClock());
  t::EditSession session(store, sender, vireo::SystemClock());

  CDelayPanel graph;
  graph.resize(size);
  graph.SetChannelCount(8);
  QLineEdit edit;
  CUpDownCtrl upDown(1242);
  upDown.SetRange(t::kDelayUpDownMin, t::kDelayUpDownMax);
  // The delay page's answer to a drag step.
  QObject::connect(&graph, &CDelayPanel::DelayChanged, [&](int channel, float ms) {
    graph.SetValue(channel, ms);
    edit.setText(QString::fromStdString(t::DelayText(ms)));
    session.Run({t::FieldValue{"chDelay", channel, 0.0}}, [&](vireo::ReportSender& out, vireo::Clock&) {
      return t::SetChannelDelay(store, out, channel, ms);
    });
    upDown.SetPos(t::DelayUpDownPosition(ms));
  });
  graph.SetValue(3, 10.0f);
  const vireo::dsp::DelayGraphGeometry g = graph.Geometry();
  const int y = g.LaneHitY(3);
  int x = graph.markerX(3) + CDelayPanel::kMarkerWidth / 2;
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  graph.render(&image);  // the background picture is drawn once, before the drag

  session.BeginGesture();
  SendMove(&graph, QEvent::MouseButtonPress, x, y);
  int step = 1;
  for (auto _ : state) {
    // Back and forth across the plot, so that every step is a new delay.
    if (x >= g.PlotRight() - 20 || x <= g.PlotLeft() + 20) step = -step;
    x += step;
    const QRect before = graph.ItemArea(3);
    SendMove(&graph, QEvent::MouseMove, x, y);
    // What the step repaints: where the marker, its text and its pole were and are.
    const QRect area = before | graph.ItemArea(3);
    graph.render(&image, area.topLeft(), QRegion(area));
    benchmark::DoNotOptimize(image.constBits());
  }
  SendMove(&graph, QEvent::MouseButtonRelease, x, y);
  session.EndGesture();
  sender.WaitIdle();
  state.counters["builds"] = graph.backgroundBuilds();
}
BENCHMARK(BM_DelayGraphDragStep)
    ->Args({1200, 600})
    ->Args({1920, 1080})
    ->ArgNames({"w", "h"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
