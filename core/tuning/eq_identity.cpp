// The equaliser identity table.
#include "tuning/eq_identity.h"

#include <array>

namespace vireo::tuning {
namespace {

constexpr EqIdentity Output(int channel) {
  return {kFirstOutputIdentity + channel,
          EqKind::output,
          5 + channel,
          0,
          13,
          5 + channel,
          0,
          "chEqBypass",
          channel};
}

constexpr std::array<EqIdentity, kEqIdentityCount> kIdentities = {{
    {0, EqKind::microphone, 1, 0, 10, 1, 16, "micEqBypassA", 0},
    {1, EqKind::microphone, 1, 10, 10, 1, 39, "micEqBypassB", 0},
    {2, EqKind::effect, 3, 0, 7, 3, 0, "reverbEqBypassA", 0},
    {3, EqKind::effect, 3, 7, 7, 3, 12, "reverbEqBypassB", 0},
    {4, EqKind::effect, 2, 0, 7, 2, 0, "echoEqBypassA", 0},
    {5, EqKind::effect, 2, 7, 7, 2, 13, "echoEqBypassB", 0},
    {6, EqKind::music, 4, 0, 10, 4, 0, "musicEqBypass", 0},
    Output(0),
    Output(1),
    Output(2),
    Output(3),
    Output(4),
    Output(5),
    Output(6),
    Output(7),
}};

}  // namespace

std::span<const EqIdentity> EqIdentities() {
  return kIdentities;
}

const EqIdentity* FindEqIdentity(int id) {
  if (id < 0 || id >= kEqIdentityCount) return nullptr;
  return &kIdentities[static_cast<std::size_t>(id)];
}

}  // namespace vireo::tuning
