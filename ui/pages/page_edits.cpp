// Page edits.
#include "pages/page_edits.h"

#include <QEvent>
#include <QWidget>

#include "app/device_services.h"
#include "app/kestrel_app.h"
#include "model/parameter_store.h"
#include "tuning/eq_operations.h"
#include "tuning/field_setter.h"
#include "tuning/input_controls.h"

namespace page_edits {

namespace t = vireo::tuning;

namespace {
vireo::ReportSender& Sender() {
  return TheApp()->connection().sender();
}
vireo::ParameterStore& Store() {
  return vireo::TheStore();
}
}  // namespace

void BeginGesture() {}
void EndGesture() {}

void WriteBand(int identity, int band, const vireo::dsp::BandShape& shape) {
  t::WriteEqBand(Store(), Sender(), identity, band, shape);
}
void Paste(int source, int destination) {
  t::PasteEq(Store(), Sender(), source, destination);
}
void Reset(int identity) {
  t::ResetEq(Store(), Sender(), identity);
}
bool ToggleBypass(int identity) {
  return t::ToggleEqBypass(Store(), Sender(), identity);
}
void RouteMic(int input, t::MicChannel channel) {
  t::RouteMicInput(Store(), Sender(), input, channel);
}
void SetMicNoiseGate(int input, int value) {
  t::SetMicNoiseGate(Store(), Sender(), input, value);
}
void SetMicInputVolume(int input, int value) {
  t::SetMicInputVolume(Store(), Sender(), input, value);
}
t::EffectParamResult SetEffectParam(t::EffectSet set, t::EffectParam param, int value) {
  return t::SetEffectParam(Store(), Sender(), set, param, value);
}
void SetField(const char* name, int element, double value) {
  t::SetFieldValue(Store(), Sender(), TheApp()->device().clock(), name, element, value);
}

}  // namespace page_edits

namespace {
class GestureFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) page_edits::BeginGesture();
    if (event->type() == QEvent::MouseButtonRelease) page_edits::EndGesture();
    return QObject::eventFilter(watched, event);
  }
};
}  // namespace

void TrackEditGestures(QWidget* control) {
  static GestureFilter filter;
  control->installEventFilter(&filter);
}
