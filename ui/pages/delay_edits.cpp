// Delay page edits.
#include "pages/delay_edits.h"

#include "app/device_services.h"
#include "app/kestrel_app.h"
#include "model/parameter_store.h"
#include "tuning/edit_history.h"
#include "tuning/eq_identity.h"

namespace page_edits {

namespace t = vireo::tuning;

namespace {
t::EditSession& Edits() {
  return TheApp()->device().edits();
}
t::FieldValue Field(const char* name, int channel) {
  return t::FieldValue{name, channel, 0.0};
}
std::vector<t::EditValue> SplitBands(int channel) {
  return t::SplitBandTargets(t::kFirstOutputIdentity + channel);
}
}  // namespace

bool SetChannelDelay(int channel, float ms) {
  return Edits().Run({Field("chDelay", channel)}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::SetChannelDelay(vireo::TheStore(), sender, channel, ms);
  });
}

void SetDelayOn(int channel, bool on) {
  Edits().Run({Field("chDelayOff", channel)}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetDelayOn(vireo::TheStore(), sender, channel, on);
  });
}

void SetDelayMode(int channel, t::DelayMode mode) {
  std::vector<t::EditValue> targets{Field("chDelayMode", channel)};
  for (t::EditValue& band : SplitBands(channel)) targets.push_back(std::move(band));
  Edits().Run(std::move(targets), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetDelayMode(vireo::TheStore(), sender, channel, mode);
  });
}

void MoveSplit(int channel, int index) {
  Edits().Run(SplitBands(channel), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::MoveSplit(vireo::TheStore(), sender, channel, index);
  });
}

}  // namespace page_edits
