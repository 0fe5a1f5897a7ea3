// Decodes the persisted regions into named fields: slots by the slot table, bands, gains, location, boost.
#include "mode_view.h"

#include <array>
#include <cstdio>
#include <utility>

#include "cli_common.h"
#include "json_output.h"
#include "model/band.h"
#include "model/report.h"
#include "model/slot_fields.h"

namespace vireo::cli {
namespace {

struct BandPlace {
  int group;
  int band;
  int address;
};

// EQ groups 1..13 with their band counts; walked in this order the addresses only grow.
std::vector<BandPlace> BandPlaces() {
  constexpr std::array<int, 13> kBandsPerGroup{20, 14, 14, 10, 15, 15, 15, 15, 15, 15, 15, 15, 1};
  std::vector<BandPlace> places;
  for (int g = 1; g <= 13; ++g) {
    for (int b = 0; b < kBandsPerGroup[static_cast<std::size_t>(g - 1)]; ++b) {
      places.push_back({g, b, EqBandAddress(g, b)});
    }
  }
  return places;
}

struct BandText {
  std::string gain, frequency, q, type;
};

// Exact decimals from the record's codes: gain = code / 10 - 15 dB, Q = code / 1000.
BandText DescribeBand(const std::uint8_t* record) {
  const int gainCode = (record[0] << 8) | record[1];
  const int frequency = (record[2] << 8) | record[3];
  const int qCode = (record[4] << 8) | record[5];
  return {DecimalText(gainCode - 150, 10), std::to_string(frequency), DecimalText(qCode, 1000),
          std::to_string(record[6])};
}

std::string Hex(const std::uint8_t* bytes, std::size_t n) {
  std::string text;
  for (std::size_t i = 0; i < n; ++i) {
    char two[3];
    std::snprintf(two, sizeof two, "%02X", bytes[i]);
    text += two;
  }
  return text;
}

std::string SlotName(int slotIndex) {
  int element = 0;
  const SlotField* field = FindSlotFieldBySlot(slotIndex, &element);
  if (field == nullptr) return "reserved[" + std::to_string(slotIndex) + "]";
  if (field->count == 1) return std::string(field->name);
  return std::string(field->name) + "[" + std::to_string(element) + "]";
}

std::string SlotValue(const ParameterStore& store, int slotIndex) {
  const SlotField* field = FindSlotFieldBySlot(slotIndex, nullptr);
  if (field != nullptr && field->isFloat) return FloatText(store.Float(slotIndex));
  return std::to_string(store.Int(slotIndex));
}

// The image's regions, read once.
struct Regions {
  std::array<std::uint8_t, kDspBlockBytes> dspBlock{};
  std::array<std::uint8_t, kChLocationGainBytes> chLocationGain{};
  std::array<std::uint8_t, kLocationSettingsBytes> locationSettings{};
  std::array<std::uint8_t, kMicBoostLevelBytes> micBoostLevel{};

  explicit Regions(const ParameterStore& store) {
    store.ReadBytes(Region::dspBlock, 0, dspBlock);
    store.ReadBytes(Region::chLocationGain, 0, chLocationGain);
    store.ReadBytes(Region::locationSettings, 0, locationSettings);
    store.ReadBytes(Region::micBoostLevel, 0, micBoostLevel);
  }
  float ChannelGain(int channel) const {
    return BitsFloat(GetBigEndian32(chLocationGain.data() + 4 * channel));
  }
  // The two bytes are the upper half of a big-endian float.
  float MicBoost() const {
    return BitsFloat(static_cast<std::uint32_t>(micBoostLevel[0]) << 24 |
                     static_cast<std::uint32_t>(micBoostLevel[1]) << 16);
  }
};

std::string RawOf(const std::uint8_t* bytes, std::size_t n) {
  return std::string(reinterpret_cast<const char*>(bytes), n);
}

Json FloatJson(float value) {
  return JsonNumber(FloatNumber(value));
}

// The band's numbers are read back from its texts so that the JSON and the text lines cannot disagree.
Json TextJson(const std::string& text) {
  double value = 0;
  return ParseDouble(text, &value) ? JsonNumber(value) : Json();
}

Json SlotJson(const ParameterStore& store, const SlotField& field, int element) {
  const int s = field.SlotOf(element);
  return field.isFloat ? FloatJson(store.Float(s)) : Json(store.Int(s));
}

Json SlotsJson(const ParameterStore& store) {
  Json slots = Json::object();
  for (const SlotField& field : SlotFields()) {
    Json& value = slots[std::string(field.name)];
    if (field.count == 1) {
      value = SlotJson(store, field, 0);
      continue;
    }
    value = Json::array();
    for (int i = 0; i < field.count; ++i) value.push_back(SlotJson(store, field, i));
  }
  return slots;
}

}  // namespace

std::vector<FieldLine> DescribeStore(const ParameterStore& store) {
  std::vector<FieldLine> lines;
  for (int s = 0; s < kMainSlotCount; ++s) {
    const std::uint32_t bits = store.Bits(s);
    lines.push_back(
        {SlotName(s), SlotValue(store, s), RawOf(reinterpret_cast<const std::uint8_t*>(&bits), 4)});
  }
  const Regions regions(store);
  for (const BandPlace& place : BandPlaces()) {
    const std::uint8_t* record = regions.dspBlock.data() + place.address;
    const BandText t = DescribeBand(record);
    lines.push_back({"band[" + std::to_string(place.group) + "][" + std::to_string(place.band) + "]",
                     "address=" + std::to_string(place.address) + " gain=" + t.gain +
                         " frequency=" + t.frequency + " q=" + t.q + " type=" + t.type,
                     RawOf(record, kBandRecordBytes)});
  }
  for (int c = 0; c < kOutputChannels; ++c) {
    lines.push_back({"chLocationGain[" + std::to_string(c) + "]", FloatText(regions.ChannelGain(c)),
                     RawOf(regions.chLocationGain.data() + 4 * c, 4)});
  }
  lines.push_back({"locationSettings", Hex(regions.locationSettings.data(), kLocationSettingsBytes),
                   RawOf(regions.locationSettings.data(), kLocationSettingsBytes)});
  lines.push_back({"micBoostLevel", FloatText(regions.MicBoost()),
                   RawOf(regions.micBoostLevel.data(), kMicBoostLevelBytes)});
  return lines;
}

void WriteStoreJson(std::ostream& out, const ParameterStore& store, int version) {
  const Regions regions(store);
  Json root = Json::object();
  root["version"] = version;
  root["slots"] = SlotsJson(store);

  Json bands = Json::array();
  for (const BandPlace& place : BandPlaces()) {
    const BandText t = DescribeBand(regions.dspBlock.data() + place.address);
    bands.push_back(Json{{"address", place.address},
                         {"gain", TextJson(t.gain)},
                         {"frequency", TextJson(t.frequency)},
                         {"q", TextJson(t.q)},
                         {"type", TextJson(t.type)}});
  }
  root["bands"] = std::move(bands);

  Json gains = Json::array();
  for (int c = 0; c < kOutputChannels; ++c) gains.push_back(FloatJson(regions.ChannelGain(c)));
  root["chLocationGain"] = std::move(gains);
  root["locationSettings"] = Hex(regions.locationSettings.data(), kLocationSettingsBytes);
  root["micBoostLevel"] = FloatJson(regions.MicBoost());
  WriteJson(out, root);
}

}  // namespace vireo::cli
