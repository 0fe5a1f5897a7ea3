// The store's contents before the first read-all: identity texts, location, settings, default bands.
#include <array>

#include "model/band.h"
#include "model/parameter_store.h"

namespace vireo {
namespace {

constexpr std::array<int, 10> kTenBandFrequencies{31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
constexpr float kDefaultQ = 1.414f;
constexpr float kSplitQ = 0.707f;

void PutBand(std::array<std::uint8_t, kDspBlockBytes>& block, int group, int band, BandRecord record) {
  const auto bytes = EncodeBandRecord(record);
  const auto at = static_cast<std::size_t>(EqBandAddress(group, band));
  for (std::size_t i = 0; i < bytes.size(); ++i) block[at + i] = bytes[i];
}

BandRecord Peq(int frequency) { return {0.0f, frequency, kDefaultQ, 1}; }

std::array<std::uint8_t, kDspBlockBytes> DefaultDspBlock() {
  std::array<std::uint8_t, kDspBlockBytes> block{};
  for (int b = 0; b < 10; ++b) {
    PutBand(block, 1, b, Peq(kTenBandFrequencies[b]));       // microphone A
    PutBand(block, 1, b + 10, Peq(kTenBandFrequencies[b]));  // microphone B
    PutBand(block, 4, b, Peq(kTenBandFrequencies[b]));       // music
  }
  constexpr std::array<int, 6> echoA{61, 125, 250, 500, 1000, 2300};
  constexpr std::array<int, 5> effectMid{160, 250, 500, 1000, 2300};
  for (int b = 0; b < 6; ++b) PutBand(block, 2, b, Peq(echoA[b]));
  PutBand(block, 2, 6, {0.0f, 5000, kSplitQ, 2});
  PutBand(block, 2, 7, {0.0f, 200, kSplitQ, 3});
  for (int b = 0; b < 5; ++b) PutBand(block, 2, 8 + b, Peq(effectMid[b]));
  PutBand(block, 2, 13, {3.0f, 5000, kSplitQ, 5});

  PutBand(block, 3, 0, {0.0f, 120, kSplitQ, 3});
  for (int b = 0; b < 5; ++b) PutBand(block, 3, 1 + b, Peq(effectMid[b]));
  PutBand(block, 3, 6, {-6.0f, 5000, kSplitQ, 5});
  PutBand(block, 3, 7, {0.0f, 100, kSplitQ, 3});
  for (int b = 0; b < 5; ++b) PutBand(block, 3, 8 + b, Peq(effectMid[b]));
  PutBand(block, 3, 13, {-3.0f, 3000, kSplitQ, 5});

  for (int group = 5; group <= 12; ++group) {
    for (int b = 0; b < 10; ++b) PutBand(block, group, b, Peq(kTenBandFrequencies[b]));
    for (int b = 10; b < 13; ++b) PutBand(block, group, b, Peq(16000));
    PutBand(block, group, 13, {0.0f, 500, kSplitQ, 1});
    PutBand(block, group, 14, {0.0f, 1000, kSplitQ, 1});
  }
  return block;  // the group-13 band stays blank
}

}  // namespace

void ResetStoreDefaults(ParameterStore& store) {
  store.setModelName(u"Kestrel");
  store.setFirmwareDate(u"2012-10-03");
  store.setSecondDate(u"2012-11-30");
  store.setModeName(0, u"电影");
  store.setModeName(1, u"K歌");
  store.setModeName(2, u"游戏");
  store.setModeName(3, u"AV");

  store.SetLocationRecord(kDefaultLocationRecord);

  store.Fill(Region::machineSettingsEdit, 0);
  store.Fill(Region::machineSettings, 0);
  store.SetByte(Region::machineSettings, 3, 99);
  store.SetByte(Region::machineSettings, 4, 99);

  store.Fill(Region::mainParams, 0);
  store.Fill(Region::dspBlock, 0);
  store.SetFloat(slot::echoTimeA, 217.0f);
  store.SetFloat(slot::echoTimeB, 217.0f);
  store.Fill(Region::chLocationGain, 0);
  store.SetInt(slot::echoStartVolA, 60);
  store.SetInt(slot::echoStartVolB, 60);

  static const auto kDefaultBlock = DefaultDspBlock();
  store.WriteBytes(Region::dspBlock, 0, std::span(kDefaultBlock.data(), kDspBandRecordsBytes));
}

}  // namespace vireo
