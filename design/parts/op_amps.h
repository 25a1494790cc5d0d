// The op-amps the active network's two followers can be built with: the
// ones people choose between, by their datasheets' gain-bandwidth
// product, open-loop gain and slew rate, or figures of the person's own.
#pragma once

#include "choices.h"

namespace notchwell {

struct OpAmp {
  double gbw_hertz;
  double gain_db;  // open-loop, at DC
  double slew_volts_per_us;
};

// `name` is the page's option value and the link's; `parts` the op-amps
// people know the figures from (none for ideal ones and the person's own).
struct OpAmpPreset {
  const char* name;
  const char* parts;
  OpAmp figures;
};
inline constexpr Choices<OpAmpPreset, 6> kOpAmps = {{{"ideal", nullptr, {0, 0, 0}},
                                                     {"lm358", "LM358, LM324", {1e6, 100, 0.3}},
                                                     {"tl072", "TL072, TL082", {3e6, 106, 13}},
                                                     {"ne5532", "NE5532", {10e6, 100, 9}},
                                                     {"fast", "a fast audio op-amp", {50e6, 120, 20}},
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

}  // namespace notchwell
