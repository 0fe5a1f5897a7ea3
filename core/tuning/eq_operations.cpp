// Band writes, crossover, reset, bypass and paste of the fifteen equalisers.
#include "tuning/eq_operations.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "device/protocol.h"
#include "dsp/filter_type.h"
#include "model/band.h"
#include "model/field_ranges.h"
#include "model/slot_fields.h"
#include "model/wire_rules.h"
#include "tuning/eq_identity.h"

namespace vireo::tuning {
namespace {

constexpr double kResetQ = 1.41;
constexpr std::array<int, 13> kVoiceResetHz = {31,   62,   125,   250,   500,   1000, 2000,
                                               4000, 8000, 16000, 16000, 16000, 16000};
constexpr std::array<int, 7> kEffectResetHz = {63, 125, 250, 500, 1000, 2300, 5000};

double Limit(double v, double lo, double hi) {
  return std::isnan(v) ? lo : std::clamp(v, lo, hi);
}

// What any band may hold on the machine, whoever edited it.
dsp::BandShape ToMachineRange(dsp::BandShape b) {
  b.gainDb = Limit(b.gainDb, -15.0, 15.0);
  b.frequency = dsp::WholeHertz(Limit(b.frequency, kBandFrequencyMin, kBandFrequencyMax));
  b.q = Limit(b.q, kBandQCodeMin / 1000.0, kBandQCodeMax / 1000.0);
  if (b.type < 0 || b.type > kBandTypeMax) b.type = 0;
  return b;
}

BandRecord ToRecord(const dsp::BandShape& b) {
  return {static_cast<float>(b.gainDb), static_cast<int>(b.frequency), static_cast<float>(b.q),
          static_cast<std::uint8_t>(b.type)};
}

dsp::BandShape ToShape(const BandRecord& r) {
  return {r.type, r.gain, static_cast<double>(r.frequency), r.q};
}

int SendCoefficients(ReportSender& sender, const EqIdentity& eq, int band, const dsp::BandShape& b) {
  const auto words = CoefficientRecord(dsp::ComputeBiquad(b.type, b.gainDb, b.frequency, b.q, kSampleRate));
  return WriteParamValues(sender, eq.module, eq.firstSlot + band, words);
}

// One band's record and then its coefficients; `b` is already inside the machine's ranges.
int WriteOne(ParameterStore& store, ReportSender& sender, const EqIdentity& eq, int band,
             const dsp::BandShape& b) {
  const int bytes = WriteBand(store, sender, eq.group, eq.firstBand + band, ToRecord(b));
  return bytes + SendCoefficients(sender, eq, band, b);
}

// A record already in the store goes out as it stands, byte for byte.
int SendStoredBand(const ParameterStore& store, ReportSender& sender, const EqIdentity& eq, int band) {
  const int address = EqBandAddress(eq.group, eq.firstBand + band);
  std::array<std::uint8_t, kBandRecordBytes> bytes{};
  store.ReadBytes(Region::dspBlock, static_cast<std::size_t>(address), bytes);
  const int written = WriteBlock(sender, address, bytes);
  return written + SendCoefficients(sender, eq, band, ToShape(DecodeBandRecord(bytes.data())));
}

const SlotField& BypassField(const EqIdentity& eq) {
  return *FindSlotField(eq.bypassField);
}

bool ValidBand(const EqIdentity* eq, int band) {
  return eq != nullptr && band >= 0 && band < AddressableBandCount(*eq);
}

void CopyRecords(ParameterStore& store, const EqIdentity& from, const EqIdentity& to, int count) {
  std::array<std::uint8_t, kBandRecordBytes> bytes{};
  for (int i = 0; i < count; ++i) {
    store.ReadBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(from.group, from.firstBand + i)),
                    bytes);
    store.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(to.group, to.firstBand + i)),
                     bytes);
  }
}

void StoreRecord(ParameterStore& store, const EqIdentity& eq, int band, const BandRecord& record) {
  store.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(eq.group, eq.firstBand + band)),
                   EncodeBandRecord(record));
}

// The crossover sections a voice equaliser never had become flat at the copied band's corner.
void FlattenCrossoverSections(ParameterStore& store, const EqIdentity& channel) {
  const BandRecord crossover = ReadBand(store, channel.group, channel.firstBand + kCrossoverBand);
  for (int s = kCrossoverBand + 1; s < kCrossoverBand + kCrossoverSections; ++s) {
    StoreRecord(store, channel, s, {0.0f, crossover.frequency, crossover.q, 1});
  }
}

// A voice equaliser has no crossover: a crossover section becomes the plain pass filter of its side.
void PlainPassForCrossover(ParameterStore& store, const EqIdentity& eq) {
  const auto address = static_cast<std::size_t>(EqBandAddress(eq.group, eq.firstBand + kCrossoverBand));
  std::array<std::uint8_t, kBandRecordBytes> bytes{};
  store.ReadBytes(Region::dspBlock, address, bytes);
  const int type = bytes[6];
  if (type < 6 || type > dsp::kLastFilterType) return;
  bytes[6] = type % 2 == 0 ? 2 : 3;  // the other fields stay exactly as copied
  store.WriteBytes(Region::dspBlock, address, bytes);
}

}  // namespace

dsp::BandShape LimitBandEdit(dsp::BandShape band) {
  if (band.type < 0 || band.type > kBandTypeMax) band.type = 0;
  band.gainDb = dsp::HasEditableGain(band.type) ? Limit(band.gainDb, -15.0, 15.0) : 0.0;
  band.frequency = Limit(band.frequency, kBandFrequencyMin, kBandFrequencyMax);
  band.q = Limit(band.q, 0.1, band.type == 1 ? 30.0 : 2.0);
  return band;
}

dsp::BandShape ReadEqBand(const ParameterStore& store, int id, int band) {
  const EqIdentity* eq = FindEqIdentity(id);
  if (!ValidBand(eq, band)) return {};
  return ToShape(ReadBand(store, eq->group, eq->firstBand + band));
}

int WriteEqBand(ParameterStore& store, ReportSender& sender, int id, int band, const dsp::BandShape& values) {
  const EqIdentity* eq = FindEqIdentity(id);
  if (!ValidBand(eq, band)) return 0;
  const dsp::BandShape b = ToMachineRange(values);
  if (eq->kind != EqKind::output || band != kCrossoverBand) return WriteOne(store, sender, *eq, band, b);
  std::array<dsp::BandShape, kCrossoverSections> sections{};
  sections[0] = b;
  for (int s = 1; s < kCrossoverSections; ++s) {
    const int type = ReadBand(store, eq->group, eq->firstBand + kCrossoverBand + s).type;
    sections[static_cast<std::size_t>(s)] = {type, 0.0, b.frequency, b.q};
  }
  return WriteCrossover(store, sender, id, sections);
}

int SendStoredEqBand(const ParameterStore& store, ReportSender& sender, int id, int band) {
  const EqIdentity* eq = FindEqIdentity(id);
  return ValidBand(eq, band) ? SendStoredBand(store, sender, *eq, band) : 0;
}

int WriteCrossover(ParameterStore& store, ReportSender& sender, int id,
                   std::span<const dsp::BandShape, 4> sections) {
  const EqIdentity* eq = FindEqIdentity(id);
  if (eq == nullptr || eq->kind != EqKind::output) return 0;
  int bytes = 0;
  for (int s = 0; s < kCrossoverSections; ++s) {
    bytes += WriteOne(store, sender, *eq, kCrossoverBand + s,
                      ToMachineRange(sections[static_cast<std::size_t>(s)]));
  }
  return bytes;
}

int ResetEq(ParameterStore& store, ReportSender& sender, int id) {
  const EqIdentity* eq = FindEqIdentity(id);
  if (eq == nullptr) return 0;
  int bytes = 0;
  for (int i = 0; i < eq->bandCount; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const int hz = eq->kind == EqKind::effect ? kEffectResetHz[k] : kVoiceResetHz[k];
    bytes += WriteOne(store, sender, *eq, i, {1, 0.0, static_cast<double>(hz), kResetQ});
  }
  return bytes;
}

bool EqBypass(const ParameterStore& store, int id) {
  const EqIdentity* eq = FindEqIdentity(id);
  return eq != nullptr && store.Int(BypassField(*eq).SlotOf(eq->bypassElement)) != 0;
}

int SetEqBypass(ParameterStore& store, ReportSender& sender, int id, bool bypass) {
  const EqIdentity* eq = FindEqIdentity(id);
  if (eq == nullptr) return 0;
  const SlotField& field = BypassField(*eq);
  store.SetInt(field.SlotOf(eq->bypassElement), bypass ? 1 : 0);
  return SendField(sender, store, field, eq->bypassElement);
}

bool ToggleEqBypass(ParameterStore& store, ReportSender& sender, int id) {
  const bool bypass = !EqBypass(store, id);
  SetEqBypass(store, sender, id, bypass);
  return bypass;
}

int PasteEq(ParameterStore& store, ReportSender& sender, int source, int destination) {
  const EqIdentity* from = FindEqIdentity(source);
  const EqIdentity* to = FindEqIdentity(destination);
  if (from == nullptr || to == nullptr) return 0;
  CopyRecords(store, *from, *to, std::min(from->bandCount, to->bandCount));
  if (IsVoiceOrMusicIdentity(source) && IsOutputIdentity(destination)) FlattenCrossoverSections(store, *to);
  if (IsOutputIdentity(source) && IsVoiceOrMusicIdentity(destination)) PlainPassForCrossover(store, *to);
  int bytes = 0;
  for (int i = 0; i < to->bandCount; ++i) bytes += SendStoredBand(store, sender, *to, i);
  return bytes;
}

}  // namespace vireo::tuning
