// Band record encoding and the band addressing of dspBlock.
#include "model/band.h"

#include <cmath>

namespace vireo {

int EqBandAddress(int group, int band) {
  if (group == 2) return 7 * (band + 20);
  if (group == 3) return 7 * (band + 34);
  if (group == 4) return 7 * (band + 48);
  if (group >= 5 && group <= 12) return 7 * (15 * group + band - 17);
  if (group == 13) return 7 * (band + 178);
  return 7 * band;  // group 1, and any group the machine does not know
}

namespace {
// Truncates toward zero into the 16-bit field; values the field cannot hold stick at its ends
// instead of wrapping into a wildly different band.
std::uint16_t TruncToU16(double v) {
  if (!(v > 0)) return 0;
  if (v >= 65535.0) return 65535;
  return static_cast<std::uint16_t>(v);
}
}  // namespace

std::array<std::uint8_t, kBandRecordBytes> EncodeBandRecord(const BandRecord& band) {
  // The +0.05 bias keeps gains like 2.9999 from truncating a whole tenth down.
  const std::uint16_t gainCode = TruncToU16((static_cast<double>(band.gain) + 15.0 + 0.05) * 10.0);
  const std::uint16_t freq = TruncToU16(band.frequency);
  // A Q kept as a float sits up to a few millionths below its decimal value (1.41f is 1.4099999...):
  // without a hundredth-of-a-code bias such a Q would lose a whole thousandth on every write.
  const std::uint16_t qCode = TruncToU16(static_cast<double>(band.q) * 1000.0 + 0.01);
  return {static_cast<std::uint8_t>(gainCode >> 8), static_cast<std::uint8_t>(gainCode),
          static_cast<std::uint8_t>(freq >> 8),     static_cast<std::uint8_t>(freq),
          static_cast<std::uint8_t>(qCode >> 8),    static_cast<std::uint8_t>(qCode),
          band.type};
}

BandRecord DecodeBandRecord(const std::uint8_t* bytes) {
  const int gainCode = (bytes[0] << 8) | bytes[1];
  const int freq = (bytes[2] << 8) | bytes[3];
  const int qCode = (bytes[4] << 8) | bytes[5];
  BandRecord band;
  band.gain = static_cast<float>(gainCode / 10.0 - 15.0);
  band.frequency = freq;
  band.q = static_cast<float>(qCode / 1000.0);
  band.type = bytes[6];
  return band;
}

namespace {
bool AddressFits(int address) {
  return address >= 0 && address + kBandRecordBytes <= static_cast<int>(kDspBlockBytes);
}
}  // namespace

BandRecord ReadBand(const ParameterStore& store, int group, int band) {
  const int address = EqBandAddress(group, band);
  if (!AddressFits(address)) return {};
  std::array<std::uint8_t, kBandRecordBytes> bytes{};
  store.ReadBytes(Region::dspBlock, static_cast<std::size_t>(address), bytes);
  return DecodeBandRecord(bytes.data());
}

int WriteBand(ParameterStore& store, ReportSender& sender, int group, int band, const BandRecord& record) {
  const int address = EqBandAddress(group, band);
  if (!AddressFits(address)) return 0;
  const auto bytes = EncodeBandRecord(record);
  store.WriteBytes(Region::dspBlock, static_cast<std::size_t>(address), bytes);
  return sender.SendPaced(MakeWriteBlock(address, bytes));
}

}  // namespace vireo
