// The op-amps the active network's two followers can be built with: the
// ones people choose between, by their datasheets' gain-bandwidth
// product, open-loop gain, slew rate and input noise at 1 kHz, or figures
// of the person's own.
#pragma once

#include "choices.h"

namespace notchwell {

struct OpAmp {
  double gbw_hertz;
  double gain_db;  // open-loop, at DC
  double slew_volts_per_us;
  // Input voltage and current noise, V/sqrt(Hz) and A/sqrt(Hz): 0 for none.
  double noise_volts = 0;
  double noise_amps = 0;
};

// `name` is the page's option value and the link's; `parts` the op-amps
// people know the figures from (none for ideal ones and the person's own).
struct OpAmpPreset {
  const char* name;
  const char* parts;
  OpAmp figures;
};
// The LM358's datasheet gives no current noise: its 20 nA input bias
// current's shot noise, sqrt(2 q Ib), stands for it.
inline constexpr Choices<OpAmpPreset, 6> kOpAmps = {{{"ideal", nullptr, {0, 0, 0}},
                                                     {"lm358", "LM358, LM324", {1e6, 100, 0.3, 40e-9, 0.08e-12}},
                                                     {"tl072", "TL072, TL082", {3e6, 106, 13, 18e-9, 0.01e-12}},
                                                     {"ne5532", "NE5532", {10e6, 100, 9, 5e-9, 0.7e-12}},
                                                     {"fast", "a fast audio op-amp", {50e6, 120, 20, 1.1e-9, 1.7e-12}},
                                                     {"custom", nullptr, {0, 0, 0}}},
                                                    0};
constexpr int kCustomOpAmp = kOpAmps.count - 1;

// What the custom fields take.
inline constexpr double kGbwLowest = 1e3;  // hertz
inline constexpr double kGbwHighest = 1e10;
inline constexpr double kGainLowest = 40;  // dB
inline constexpr double kGainHighest = 160;
inline constexpr double kSlewLowest = 0.01;  // V/us
inline constexpr double kSlewHighest = 1e4;
inline constexpr double kNoiseVoltsHighest = 1e-6;  // V/sqrt(Hz)
inline constexpr double kNoiseAmpsHighest = 1e-9;   // A/sqrt(Hz)

}  // namespace notchwell
