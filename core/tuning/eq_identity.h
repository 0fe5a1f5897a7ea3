// The fifteen equalisers a page can show, and where each keeps its bands, coefficients and bypass flag.
#pragma once

#include <span>
#include <string_view>

namespace vireo::tuning {

inline constexpr int kEqIdentityCount = 15;
inline constexpr int kFirstOutputIdentity = 7;
// The output channels' crossover: band 9 and its further sections 10..12.
inline constexpr int kCrossoverBand = 9;
inline constexpr int kCrossoverSections = 4;
// The output channels' delay split: bands 13 and 14 of the group, after the equaliser's own bands.
inline constexpr int kSplitBand = 13;
inline constexpr int kSplitBandCount = 2;

enum class EqKind { microphone, effect, music, output };

struct EqIdentity {
  int id;
  EqKind kind;
  int group;      // EQ group of the band records in dspBlock
  int firstBand;  // band i of the identity is band firstBand + i of the group
  int bandCount;
  int module;  // coefficient slot of band i: (module, firstSlot + i)
  int firstSlot;
  std::string_view bypassField;  // store field of the EQ bypass flag
  int bypassElement;             // its index (the channel for chEqBypass)
};

// Identities 0..14: microphone A/B, reverb A/B, echo A/B, music, output channels 1..8.
std::span<const EqIdentity> EqIdentities();
// nullptr outside 0..14.
const EqIdentity* FindEqIdentity(int id);

constexpr bool IsOutputIdentity(int id) {
  return id >= kFirstOutputIdentity && id < kEqIdentityCount;
}
// The bands of an identity that can be read and written one by one: an output channel's split bands too.
constexpr int AddressableBandCount(const EqIdentity& eq) {
  return eq.bandCount + (eq.kind == EqKind::output ? kSplitBandCount : 0);
}
// The ten-band equalisers of the microphone and music page.
constexpr bool IsVoiceOrMusicIdentity(int id) {
  return id == 0 || id == 1 || id == 6;
}

}  // namespace vireo::tuning
