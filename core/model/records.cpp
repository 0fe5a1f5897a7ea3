// Multi-value records: shift triple, delay mode, compressor, coefficients, gain, split table.
#include <cmath>
#include <numbers>

#include "model/report.h"
#include "model/wire_rules.h"

namespace vireo {
namespace {
std::int32_t TruncSat(double v) {
  if (!(v > -2147483648.0 && v < 2147483647.0)) return 0;
  return static_cast<std::int32_t>(v);
}
}  // namespace

std::int32_t ShiftSamples(int frequency) {
  const float quarterPeriodLess25 = 1000.0f / (4.0f * static_cast<float>(frequency)) - 25.0f;
  return TruncSat(quarterPeriodLess25 * kSampleRate / 1000.0 + 0.5);
}

std::int32_t ShiftFrequencyFromWire(float radiansPerSample) {
  return TruncSat(radiansPerSample * kSampleRate / (2.0 * std::numbers::pi) + 0.5);
}

std::vector<ParamMessage> ShiftMessages(int frequency, bool channelB) {
  const int freqParam = channelB ? 54 : 31;
  const int delayParam = channelB ? 55 : 32;
  const int offParam = channelB ? 56 : 33;
  if (frequency == 1) return {{1, offParam, {1}}};
  const auto radians = static_cast<float>(2.0 * std::numbers::pi * frequency / kSampleRate);
  return {{1, offParam, {0}},
          {1, freqParam, {FloatBits(radians)}},
          {1, delayParam, {static_cast<std::uint32_t>(ShiftSamples(frequency))}}};
}

std::array<std::uint32_t, 2> DelayModePair(std::int32_t mode) {
  return {FloatBits(1.0f), FloatBits(mode == 0 ? 1.0f : 0.0f)};
}

std::int32_t DelayModeFromWire(float secondValue) { return TruncSat(secondValue) == 0 ? 1 : 0; }

std::array<std::uint32_t, 7> CompressorRecord(const CompressorSettings& c) {
  const float ratioTerm = 1.0f - 1.0f / c.ratio;
  const auto attack = static_cast<float>(1.0 - std::exp(-1.0 / (c.attackMs * 48.0)));
  const auto release = static_cast<float>(1.0 - std::exp(-1.0 / (c.releaseMs * 48.0)));
  return {FloatBits(c.threshold), 0u,          FloatBits(ratioTerm), FloatBits(20.0f),
          FloatBits(0.05f),       FloatBits(attack), FloatBits(release)};
}

CompressorSettings DecodeCompressorRecord(std::span<const std::uint32_t, 7> values) {
  CompressorSettings c;
  c.threshold = BitsFloat(values[0]);
  c.ratio = RatioFromCoefficient(BitsFloat(values[2]));
  c.attackMs = TimeConstantToMs(BitsFloat(values[5]));
  c.releaseMs = TimeConstantToMs(BitsFloat(values[6]));
  return c;
}

std::array<std::uint32_t, 5> CoefficientRecord(const dsp::BiquadCoefficients& c) {
  return {FloatBits(static_cast<float>(-c.a1)), FloatBits(static_cast<float>(-c.a2)),
          FloatBits(static_cast<float>(c.b0)), FloatBits(static_cast<float>(c.b1)),
          FloatBits(static_cast<float>(c.b2))};
}

std::array<std::uint32_t, 5> BandCoefficientRecord(int type, float gainDb, int frequency, float q) {
  return CoefficientRecord(dsp::ComputeBiquad(type, gainDb, frequency, q, kSampleRate));
}

std::array<std::uint32_t, 6> GainRecord(float gainDb, GainVariant variant) {
  const float x = gainDb;
  const auto d = static_cast<float>(std::pow(10.0, x / 20.0));
  // The machine squares first and rounds the square to single before the products and their sum.
  const auto square = static_cast<float>(static_cast<double>(x) * x);
  const float exponent = 0.0022594517f * square + 0.79990202f * x;
  const auto e = static_cast<float>(std::pow(10.0, exponent / 20.0));
  const bool mic = variant == GainVariant::micBoost;
  const std::uint32_t c1 = mic ? 0x3F7D554Au : 0x3F7EFF25u;
  const std::uint32_t c2 = mic ? 0xBFFEA8DCu : 0xBFFF7EF1u;
  return {FloatBits(d), FloatBits(e), c1, c2, FloatBits(d), FloatBits(e)};
}

int SplitLowerFrequency(int index) { return 500 + 100 * index; }

int SplitIndexOfFrequency(int band13Frequency) {
  for (int i = 0; i < kSplitEntries; ++i) {
    if (SplitLowerFrequency(i) == band13Frequency) return i;
  }
  return 0;
}

}  // namespace vireo
