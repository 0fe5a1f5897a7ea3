// Reading, applying and naming the values of user edits.
#include "tuning/edit_value.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "device/protocol.h"
#include "model/slot_fields.h"
#include "tuning/effect_params.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"
#include "tuning/location_ops.h"
#include "tuning/feature_ops.h"

namespace vireo::tuning {
namespace {

template <class... F>
struct Overload : F... {
  using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

bool SameShape(const dsp::BandShape& a, const dsp::BandShape& b) {
  return a.type == b.type && a.gainDb == b.gainDb && a.frequency == b.frequency && a.q == b.q;
}

bool IsCrossoverBand(const BandValue& b) {
  return IsOutputIdentity(b.identity) && b.band == kCrossoverBand;
}

void Add(std::vector<EditValue>& targets, EditValue target) {
  const bool known =
      std::any_of(targets.begin(), targets.end(), [&](const EditValue& t) { return SameTarget(t, target); });
  if (!known) targets.push_back(std::move(target));
}

// The reverb predelay that an echo time of the same set may set too.
std::string CoupledPredelay(const FieldValue& f) {
  EffectParam param{};
  EffectSet set{};
  if (!FindEffectField(f.name, &param, &set) || param != EffectParam::echoTime) return {};
  const EffectParamRow& predelay = EffectParamRowOf(EffectParam::reverbPredelay);
  return std::string(set == EffectSet::a ? predelay.fieldA : predelay.fieldB);
}

void Merge(FieldSetResult& total, FieldSetResult one) {
  if (!one.ok && total.ok) {
    total.ok = false;
    total.reason = std::move(one.reason);
  }
  if (total.notice == VolumeNotice::none) total.notice = one.notice;
  for (std::string& name : one.alsoSet) total.alsoSet.push_back(std::move(name));
}

FieldSetResult Accepted(bool ok, const char* reason) {
  FieldSetResult r;
  r.ok = ok;
  if (!ok) r.reason = reason;
  return r;
}

bool ValidBand(const BandValue& b) {
  const EqIdentity* eq = FindEqIdentity(b.identity);
  return eq != nullptr && b.band >= 0 && b.band < AddressableBandCount(*eq);
}

// Band 9 of an output channel and its sections, written together: sections given later in `values`
// are taken from there (and marked done), the others as the store holds them.
void WriteCrossoverFrom(ParameterStore& store, ReportSender& sender, const BandValue& band9,
                        std::span<const EditValue> values, std::size_t from, std::vector<bool>& done) {
  std::array<dsp::BandShape, kCrossoverSections> sections{};
  sections[0] = band9.shape;
  for (int s = 1; s < kCrossoverSections; ++s)
    sections[static_cast<std::size_t>(s)] = ReadEqBand(store, band9.identity, kCrossoverBand + s);
  for (std::size_t i = from; i < values.size(); ++i) {
    const auto* b = std::get_if<BandValue>(&values[i]);
    if (b == nullptr || b->identity != band9.identity || b->band <= kCrossoverBand ||
        b->band >= kCrossoverBand + kCrossoverSections)
      continue;
    sections[static_cast<std::size_t>(b->band - kCrossoverBand)] = b->shape;
    done[i] = true;
  }
  WriteCrossover(store, sender, band9.identity, sections);
}

// The four values of an output channel's compressor, which one message carries.
constexpr std::array<const char*, 4> kCompressorFields{"chCompThreshold", "chCompRatio", "chCompAttack",
                                                       "chCompRelease"};

int CompressorFieldIndex(const std::string& name) {
  for (std::size_t k = 0; k < kCompressorFields.size(); ++k)
    if (name == kCompressorFields[k]) return static_cast<int>(k);
  return -1;
}

// All four compressor values of a channel given together (an undo of a compressor slider) go back as
// they were in one message. Four slider moves would send four messages and round each value to its
// slider's step, so an undo could not restore a file's fractional values. Returns false (and does
// nothing) unless all four are there.
bool RestoreCompressor(ParameterStore& store, ReportSender& sender, std::span<const EditValue> values,
                       std::size_t from, std::vector<bool>& done) {
  const auto* first = std::get_if<FieldValue>(&values[from]);
  if (first == nullptr || CompressorFieldIndex(first->name) < 0) return false;
  std::array<std::size_t, 4> at{};
  std::array<bool, 4> found{};
  for (std::size_t i = from; i < values.size(); ++i) {
    const auto* f = std::get_if<FieldValue>(&values[i]);
    if (f == nullptr || done[i] || f->element != first->element) continue;
    const int k = CompressorFieldIndex(f->name);
    if (k < 0 || found[static_cast<std::size_t>(k)]) continue;
    found[static_cast<std::size_t>(k)] = true;
    at[static_cast<std::size_t>(k)] = i;
  }
  if (std::find(found.begin(), found.end(), false) != found.end()) return false;
  const SlotField* field = FindSlotField(kCompressorFields[0]);
  if (first->element < 0 || first->element >= field->count) return false;
  for (std::size_t k = 0; k < at.size(); ++k) {
    const SlotField* f = FindSlotField(kCompressorFields[k]);
    const double v = std::get<FieldValue>(values[at[k]]).value;
    // The values were read from the store; held in range all the same, as every stored value is.
    store.SetFloat(f->SlotOf(first->element),
                   static_cast<float>(std::isnan(v) ? f->lo : std::clamp(v, f->lo, f->hi)));
    done[at[k]] = true;
  }
  SendField(sender, store, *field, first->element);
  return true;
}

}  // namespace

bool SameTarget(const EditValue& a, const EditValue& b) {
  if (a.index() != b.index()) return false;
  return std::visit(
      Overload{[&](const BandValue& x) {
                 const auto& y = std::get<BandValue>(b);
                 return x.identity == y.identity && x.band == y.band;
               },
               [&](const FieldValue& x) {
                 const auto& y = std::get<FieldValue>(b);
                 return x.name == y.name && x.element == y.element;
               },
               [&](const BypassValue& x) { return x.identity == std::get<BypassValue>(b).identity; },
               [](const LocationValue&) { return true; },
               [&](const LocationGainValue& x) { return x.channel == std::get<LocationGainValue>(b).channel; }},
      a);
}

bool SameValue(const EditValue& a, const EditValue& b) {
  if (!SameTarget(a, b)) return false;
  return std::visit(
      Overload{[&](const BandValue& x) { return SameShape(x.shape, std::get<BandValue>(b).shape); },
               [&](const FieldValue& x) { return x.value == std::get<FieldValue>(b).value; },
               [&](const BypassValue& x) { return x.bypass == std::get<BypassValue>(b).bypass; },
               [&](const LocationValue& x) { return x.geometry == std::get<LocationValue>(b).geometry; },
               [&](const LocationGainValue& x) { return x.db == std::get<LocationGainValue>(b).db; }},
      a);
}

std::string TargetKey(const EditValue& target) {
  return std::visit(
      Overload{[](const BandValue& b) {
                 return "band:" + std::to_string(b.identity) + ":" + std::to_string(b.band);
               },
               [](const FieldValue& f) { return "field:" + f.name + "[" + std::to_string(f.element) + "]"; },
               [](const BypassValue& b) { return "bypass:" + std::to_string(b.identity); },
               [](const LocationValue&) { return std::string("location"); },
               [](const LocationGainValue& g) { return "locationGain:" + std::to_string(g.channel); }},
      target);
}

std::string TargetKey(std::span<const EditValue> targets) {
  std::string key;
  for (const EditValue& t : targets) {
    if (!key.empty()) key += '+';
    key += TargetKey(t);
  }
  return key;
}

EditValue ReadValue(const ParameterStore& store, const EditValue& target) {
  EditValue value = target;
  std::visit(Overload{[&](BandValue& b) { b.shape = ReadEqBand(store, b.identity, b.band); },
                      [&](FieldValue& f) {
                        if (ReadPseudoField(store, f.name, &f.value)) return;
                        const SlotField* field = FindSlotField(f.name);
                        if (field == nullptr || f.element < 0 || f.element >= field->count) return;
                        const int s = field->SlotOf(f.element);
                        f.value = field->isFloat ? static_cast<double>(store.Float(s)) : store.Int(s);
                      },
                      [&](BypassValue& b) { b.bypass = EqBypass(store, b.identity); },
                      [&](LocationValue& l) { l.geometry = store.geometry(); },
                      [&](LocationGainValue& g) { g.db = ChannelLocationGain(store, g.channel); }},
             value);
  return value;
}

std::vector<EditValue> ReadValues(const ParameterStore& store, std::span<const EditValue> targets) {
  std::vector<EditValue> values;
  values.reserve(targets.size());
  for (const EditValue& t : targets) values.push_back(ReadValue(store, t));
  return values;
}

std::vector<EditValue> ExpandTargets(std::span<const EditValue> targets) {
  std::vector<EditValue> all;
  for (const EditValue& t : targets) {
    Add(all, t);
    if (const auto* b = std::get_if<BandValue>(&t); b != nullptr && IsCrossoverBand(*b)) {
      for (int s = 1; s < kCrossoverSections; ++s) Add(all, BandValue{b->identity, kCrossoverBand + s, {}});
    }
    if (const auto* f = std::get_if<FieldValue>(&t)) {
      const std::string predelay = CoupledPredelay(*f);
      if (!predelay.empty()) Add(all, FieldValue{predelay, 0, 0.0});
    }
  }
  return all;
}

std::vector<EditValue> SplitBandTargets(int identity) {
  std::vector<EditValue> bands;
  if (!IsOutputIdentity(identity)) return bands;
  for (int i = 0; i < kSplitBandCount; ++i) bands.push_back(BandValue{identity, kSplitBand + i, {}});
  return bands;
}

std::vector<EditValue> AllBandTargets(int identity) {
  std::vector<EditValue> bands;
  if (const EqIdentity* eq = FindEqIdentity(identity)) {
    for (int i = 0; i < eq->bandCount; ++i) bands.push_back(BandValue{identity, i, {}});
  }
  return bands;
}

FieldSetResult ApplyValues(ParameterStore& store, ReportSender& sender, Clock& clock,
                           std::span<const EditValue> values) {
  FieldSetResult total = Accepted(true, "");
  std::vector<bool> done(values.size(), false);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (done[i]) continue;
    const EditValue& v = values[i];
    if (const auto* b = std::get_if<BandValue>(&v)) {
      if (!ValidBand(*b)) {
        Merge(total, Accepted(false, "no such band"));
      } else if (IsCrossoverBand(*b)) {
        WriteCrossoverFrom(store, sender, *b, values, i + 1, done);
      } else {
        WriteEqBand(store, sender, b->identity, b->band, b->shape);
      }
    } else if (RestoreCompressor(store, sender, values, i, done)) {
      continue;
    } else if (const auto* f = std::get_if<FieldValue>(&v)) {
      Merge(total, SetFieldValue(store, sender, clock, f->name, f->element, f->value));
    } else if (const auto* p = std::get_if<BypassValue>(&v)) {
      const bool known = FindEqIdentity(p->identity) != nullptr;
      if (known) SetEqBypass(store, sender, p->identity, p->bypass);
      Merge(total, Accepted(known, "no such equaliser"));
    } else if (const auto* l = std::get_if<LocationValue>(&v)) {
      store.setGeometry(l->geometry);
      SendLocationRecord(store, sender);
    } else if (const auto* g = std::get_if<LocationGainValue>(&v)) {
      const bool known = g->channel >= 0 && g->channel < kOutputChannels;
      if (known) SetChannelLocationGain(store, sender, g->channel, g->db);
      Merge(total, Accepted(known, "no such channel"));
    }
  }
  return total;
}

}  // namespace vireo::tuning
