// The whole-store transfers: the read-all and write-all request sequences, and the records they share.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "model/parameter_store.h"
#include "model/report.h"
#include "model/wire_rules.h"

namespace vireo {

// A pause inside a sequence; returns false when the sequence should stop early (the connection is
// going away). The connection passes an interruptible wait on its clock.
using SyncPause = std::function<bool(int ms)>;

inline constexpr int kReadAllStartDelayMs = 3200;
inline constexpr int kReadAllEndDelayMs = 200;
inline constexpr int kWriteAllStartDelayMs = 100;
inline constexpr int kWriteAllEndDelayMs = 50;
inline constexpr int kMusicRampPauseMs = 100;
inline constexpr int kIdentityTries = 2;
inline constexpr int kDspReadChunks = 23;

struct ParamRead {
  int module;
  int param;
  int count;
  bool operator==(const ParamRead&) const = default;
};

// The 192 parameter reads of a read-all, in the order they are sent.
std::span<const ParamRead> ReadAllParameterList();

// Whether a model name is one the application works with ("Calyx", "Brio"; any case).
bool IsAcceptedModel(std::u16string_view modelName);

// The read-all from the identity queries to the final pause (the connection adds the start pause,
// the idle flag and the completion event). The replies reach the store through the dispatcher.
// Returns false when it stopped early (a pause was interrupted).
bool RunReadAllSequence(ParameterStore& store, ReportSender& sender, const SyncPause& pause);

// The write-all, steps 1..21, with m = machineSettings byte 0 (volume save mode). Stores back what the
// machine will hold (raised delays, whole times, the routing, the split bands, micBoostOnCopy).
bool RunWriteAllSequence(ParameterStore& store, ReportSender& sender, const SyncPause& pause);

// --- records shared with the tuning operations ---

// Frequency shift of microphone channel A (B when `channelB`) to `frequency` Hz, clamped to 1..8 (1 is
// off): stores the frequency and its off flag, then sends one message (off) or three (on).
int SendFrequencyShift(ParameterStore& store, ReportSender& sender, bool channelB, int frequency);

// Delay split bands 13 and 14 of output channel `channel` (0..7) for split index `splitIndex` in the
// channel's delay mode: each band stored, block-written and followed by its coefficients.
int SendSplitBands(ParameterStore& store, ReportSender& sender, int channel, int splitIndex);
// Channel gain of `channel` from record `channel` of chLocationGain: the 32-byte block write to 1253,
// then the gain record to output parameter 29. (The caller stores the record first.)
int SendChannelGain(const ParameterStore& store, ReportSender& sender, int channel);
// Microphone boost of `db` dB: micBoostLevel := the upper two bytes of the float, block write to 1305,
// then the boost records and gains to module 1 parameters 61, 59, 58, 38, 36, 35.
int SendMicBoost(ParameterStore& store, ReportSender& sender, float db);
// The float that micBoostLevel stands for (its two bytes above two zero bytes).
float MicBoostLevelDb(const ParameterStore& store);
// Coefficients of band `band` of group `group` from its record in dspBlock, to the band's slot.
int SendBandCoefficients(const ParameterStore& store, ReportSender& sender, int group, int band);

// The parameter messages of those records, for the senders above and for the emulator's picture of
// what a machine holds after a write-all.
std::vector<ParamMessage> MicBoostMessages(float db);  // 1/61, 1/59, 1/58, 1/38, 1/36, 1/35
ParamMessage ChannelGainMessage(const ParameterStore& store, int channel);  // output parameter 29
// Module 0 (nothing to send) for a band without a coefficient slot.
ParamMessage BandCoefficientMessage(const ParameterStore& store, int group, int band);

}  // namespace vireo
