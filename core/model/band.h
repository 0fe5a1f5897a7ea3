// EQ band records: the 7-byte big-endian image of one band and where it lives in dspBlock.
#pragma once

#include <array>
#include <cstdint>

#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo {

struct BandRecord {
  float gain = 0;      // dB, -15 .. +15 on the wire
  int frequency = 0;   // whole Hz
  float q = 0;
  std::uint8_t type = 0;  // 1 PEQ, 2 LP, 3 HP, 4 LS, 5 HS; 0 only in a blank record
  bool operator==(const BandRecord&) const = default;
};

// Byte address of band `band` of EQ group `group` inside dspBlock (and the machine's block space).
int EqBandAddress(int group, int band);

std::array<std::uint8_t, kBandRecordBytes> EncodeBandRecord(const BandRecord& band);
BandRecord DecodeBandRecord(const std::uint8_t* bytes);

// Decodes the record at the band's address (a blank record when the address is outside dspBlock).
BandRecord ReadBand(const ParameterStore& store, int group, int band);

// Stores the band's 7 bytes and sends them with a block write to the same address; returns the bytes
// the sender wrote. The caller sends the band's coefficients afterwards.
int WriteBand(ParameterStore& store, ReportSender& sender, int group, int band, const BandRecord& record);

}  // namespace vireo
