// Reads back every report of a transfer by the documented wire rules (not the project's decoders) and
// lists each value that lies outside what the machine's controls can set. Shared by tests and fuzzing.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/report.h"
#include "model/slot_fields.h"

namespace vireo::test {

class WireRangeCheck {
 public:
  std::vector<std::string> problems;

  void Check(const Report& r) {
    if (r[1] == code::writeParam) Param(r[3], r[4], r[5], &r[6]);
    if (r[1] == code::writeBlock) Block(r[2] << 8 | r[3], r[4], &r[5]);
  }

 private:
  static float F(const std::uint8_t* p) {
    const std::uint32_t bits = static_cast<std::uint32_t>(p[0]) << 24 |
                               static_cast<std::uint32_t>(p[1]) << 16 |
                               static_cast<std::uint32_t>(p[2]) << 8 | p[3];
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
  static std::int32_t I(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 24 |
                                     static_cast<std::uint32_t>(p[1]) << 16 |
                                     static_cast<std::uint32_t>(p[2]) << 8 | p[3]);
  }
  void Expect(bool ok, int module, int param, const char* what, double value) {
    if (!ok)
      problems.push_back(std::to_string(module) + "/" + std::to_string(param) + " " + what + " " +
                         std::to_string(value));
  }
  void Within(double v, double lo, double hi, int module, int param, const char* what) {
    Expect(std::isfinite(v) && v >= lo && v <= hi, module, param, what, v);
  }
  static double Db(double linear) { return 20.0 * std::log10(linear); }

  // Looked up in a table built once: the fuzzer calls this for every report of every write-all.
  static const SlotField* FieldAt(int module, int param) {
    static const auto table = [] {
      std::array<std::array<const SlotField*, 256>, 13> t{};
      for (const auto& f : SlotFields()) {
        if (f.param == 0) continue;
        for (int i = 0; i < f.count; ++i) {
          t[static_cast<std::size_t>(f.ModuleOf(i))][static_cast<std::size_t>(f.ParamOf(i))] = &f;
          if (f.param2 != 0)
            t[static_cast<std::size_t>(f.ModuleOf(i))][static_cast<std::size_t>(f.param2)] = &f;
        }
      }
      return t;
    }();
    return module < 13 ? table[static_cast<std::size_t>(module)][static_cast<std::size_t>(param)] : nullptr;
  }

  void Param(int module, int param, int count, const std::uint8_t* v) {
    if (count == 5) {  // filter coefficients
      for (int i = 0; i < 5; ++i) Within(F(v + 4 * i), -1000, 1000, module, param, "coefficient");
      return;
    }
    if (count == 6) {  // gain record: d = 10^(x/20)
      Within(Db(F(v)), -40.01, module == 1 ? 0.01 : 3.01, module, param, "gain dB");
      return;
    }
    if (count == 7) {  // compressor: threshold, 1 - 1/ratio, attack and release time constants
      Within(F(v), -60, 0, module, param, "threshold");
      Within(1.0 / (1.0 - F(v + 8)), 0.999, 30.01, module, param, "ratio");
      Within(-1.0 / std::log(1.0 - F(v + 20)) / 48.0, 0.99, 100.1, module, param, "attack ms");
      Within(-1.0 / std::log(1.0 - F(v + 24)) / 48.0, 0.99, 1000.1, module, param, "release ms");
      return;
    }
    if (module == 1 && (param == 31 || param == 54)) {
      Within(F(v) * 48000.0 / (2 * M_PI), 0.99, 8.01, module, param, "shift Hz");
      return;
    }
    if (module == 1 && (param == 32 || param == 55))
      return Within(I(v), 300, 4800, module, param, "shift samples");
    if (module == 1 && (param == 59 || param == 36))
      return Within(Db(F(v)), -40.01, 0.01, module, param, "boost");
    if (module == 1 && (param == 58 || param == 35))
      return Within(Db(F(v)), -0.01, 40.01, module, param, "1/boost");
    const SlotField* f = FieldAt(module, param);
    if (f == nullptr) return Expect(false, module, param, "unexpected address", 0);
    if (f->rule == WireRule::delaymode) {
      Expect(F(v) == 1.0f && (F(v + 4) == 0.0f || F(v + 4) == 1.0f), module, param, "delay mode", F(v + 4));
      return;
    }
    Single(*f, module, param, v);
  }

  void Single(const SlotField& f, int module, int param, const std::uint8_t* v) {
    const double x = F(v);
    const double lo = f.lo - 0.5;
    const double hi = f.hi + 0.5;
    switch (f.rule) {
      case WireRule::pct:
        return Within(x * 100.0, lo, hi, module, param, "pct");
      case WireRule::vol:
        return Within((x - 0.0005) * 100.0, lo, hi, module, param, "vol");
      case WireRule::t4:
        return Within(x * 10000.0, lo, hi, module, param, "t4");
      case WireRule::byte:
      case WireRule::invbyte:
        return Within(I(v), f.lo, f.hi, module, param, "byte");
      case WireRule::pitch:
        return Within(I(v) - 5, -5, 5, module, param, "pitch");
      case WireRule::inv:
      case WireRule::route:
        return Within(x, 0, 1, module, param, "level");
      case WireRule::phase:
        return Expect(x == 1.0 || x == -1.0, module, param, "phase", x);
      case WireRule::ms:
      case WireRule::msint:
        return Within(I(v) / 48.0, f.lo - 0.02, f.hi + 0.02, module, param, "ms");
      case WireRule::raw:
        return Within(x, f.lo, f.hi, module, param, "raw");
      default:
        return Expect(false, module, param, "unexpected rule", 0);
    }
  }

  void Block(int address, int length, const std::uint8_t* data) {
    if (address + length <= 1253) {
      if (address % 7 != 0 || length % 7 != 0)
        return Expect(false, 0, address, "band block misaligned", length);
      for (int at = 0; at < length; at += 7) Band(address + at, data + at);
    } else if (address == 1253 && length == 32) {
      for (int c = 0; c < 8; ++c) Within(F(data + 4 * c), -40, 3, 0, address, "location gain dB");
    } else if (address == 1285 && length == 20) {
      Within(data[0], 1, 10, 0, address, "room width");
      Within(data[1], 1, 10, 0, address, "room length");
    } else if (address == 1305 && length == 2) {
      const std::uint8_t full[4] = {data[0], data[1], 0, 0};
      Within(F(full), -40, 0, 0, address, "boost dB");
    } else {
      Expect(false, 0, address, "unexpected block", length);
    }
  }

  void Band(int address, const std::uint8_t* b) {
    bool blank = true;
    for (int i = 0; i < 7; ++i) blank = blank && b[i] == 0;
    if (blank) return;
    Within(b[0] << 8 | b[1], 0, 300, 0, address, "band gain code");
    Within(b[2] << 8 | b[3], 20, 20000, 0, address, "band Hz");
    Within(b[4] << 8 | b[5], 100, 30000, 0, address, "band Q code");
    Within(b[6], 0, 21, 0, address, "band type");
  }
};

}  // namespace vireo::test
