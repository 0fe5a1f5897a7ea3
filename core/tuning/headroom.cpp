#include "tuning/headroom.h"

#include <cstdio>
#include <vector>

#include "dsp/frequency_grid.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"

namespace vireo::tuning {

namespace {
constexpr int kMusicIdentity = 6;

void AddIdentity(const ParameterStore& store, int id, std::vector<dsp::BandShape>& bands) {
  const EqIdentity* eq = FindEqIdentity(id);
  if (eq == nullptr || EqBypass(store, id)) return;
  for (int band = 0; band < eq->bandCount; ++band) bands.push_back(ReadEqBand(store, id, band));
}
}  // namespace

Headroom ChannelHeadroom(const ParameterStore& store, int channel) {
  if (channel < 0 || channel >= kEqIdentityCount - kFirstOutputIdentity) return {};
  std::vector<dsp::BandShape> bands;
  AddIdentity(store, kMusicIdentity, bands);
  AddIdentity(store, kFirstOutputIdentity + channel, bands);
  return dsp::LargestBoost(bands);
}

std::string HeadroomText(const Headroom& headroom, int languageIndex) {
  char where[32];
  if (headroom.frequency >= 999.5) {
    std::snprintf(where, sizeof where, "%.1f kHz", headroom.frequency / 1000.0);
  } else {
    std::snprintf(where, sizeof where, "%.0f Hz", headroom.frequency);
  }
  char text[96];
  if (languageIndex == 1) {
    std::snprintf(text, sizeof text, "%+.1f dB at %s: risk of clipping", headroom.boostDb, where);
  } else {
    std::snprintf(text, sizeof text, "%+.1f dB @ %s：有削波风险", headroom.boostDb, where);
  }
  return text;
}

}  // namespace vireo::tuning
