// Pure model of the LED peak meter: band levels, peaks and hold counters, the falloff tick, which LEDs are
// lit and in which colour zone, and where each LED cell lies.
#pragma once

#include <span>
#include <vector>

struct PeakMeterSettings {
  int bands = 8;  // meters side by side
  int leds = 8;   // LEDs per band
  int maximum = 60;
  int low = 40;     // green below, yellow from here
  int medium = 50;  // red from here
  int holdCount = 10;
};

// The input meters of the microphone and music page: one band of 15 LEDs, range 60, limits 40 and 50.
PeakMeterSettings InputMeterSettings();

enum class LedZone { green, yellow, red };

// LEDs lit for `level`: trunc(leds x level / maximum), kept within 0..leds.
int LitLedCount(const PeakMeterSettings& s, int level);
LedZone ZoneOfLed(const PeakMeterSettings& s, int led);

struct MeterCell {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const MeterCell&) const = default;
};

// The cell of LED `led` of `band` in a client area of width x height. Horizontal: one row per band, the
// remainder of the height left empty at the top, LEDs from the left; vertical: one column per band, the
// remainder left at the left, LEDs from the bottom. A one-pixel gap separates neighbouring LEDs and, with
// several bands, neighbouring bands.
MeterCell MeterCellRect(const PeakMeterSettings& s, bool horizontal, int width, int height, int band,
                        int led);

class PeakMeterBallistics {
 public:
  explicit PeakMeterBallistics(const PeakMeterSettings& settings = {});

  // New settings; band data starts again from silence.
  void Configure(const PeakMeterSettings& settings);
  const PeakMeterSettings& settings() const { return settings_; }

  // Levels of bands `firstBand`, `firstBand` + 1, ...; values are kept within 0..maximum, bands that do not
  // exist are skipped. A value above the band's peak becomes the peak and restarts its hold.
  void SetData(std::span<const int> values, int firstBand = 0);
  // One falloff tick. Returns false once every level and every hold counter has reached 0: the timer can
  // stop.
  bool Tick();
  // What one tick takes off a level.
  int FalloffStep() const;

  int Level(int band) const;
  int Peak(int band) const;
  int Hold(int band) const;

 private:
  struct Band {
    int level = 0;
    int peak = 0;
    int hold = 0;
  };
  PeakMeterSettings settings_;
  std::vector<Band> bands_;
};
