// Delay page edits.
#include "pages/page_edits.h"

#include "model/parameter_store.h"
#include "tuning/edit_history.h"
#include "tuning/eq_identity.h"

namespace t = vireo::tuning;

namespace {
t::FieldValue Field(const char* name, int channel) {
  return t::FieldValue{name, channel, 0.0};
}
std::vector<t::EditValue> SplitBands(int channel) {
  return t::SplitBandTargets(t::kFirstOutputIdentity + channel);
}
}  // namespace

bool PageEdits::SetChannelDelay(int channel, float ms) {
  return Edits().Run({Field("chDelay", channel)}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::SetChannelDelay(Store(), sender, channel, ms);
  });
}

void PageEdits::SetDelayOn(int channel, bool on) {
  Edits().Run({Field("chDelayOff", channel)}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetDelayOn(Store(), sender, channel, on);
  });
}

void PageEdits::SetDelayMode(int channel, t::DelayMode mode) {
  std::vector<t::EditValue> targets{Field("chDelayMode", channel)};
  for (t::EditValue& band : SplitBands(channel)) targets.push_back(std::move(band));
  Edits().Run(std::move(targets), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetDelayMode(Store(), sender, channel, mode);
  });
}

void PageEdits::MoveSplit(int channel, int index) {
  Edits().Run(SplitBands(channel), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::MoveSplit(Store(), sender, channel, index);
  });
}
