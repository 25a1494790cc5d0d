// Trimming a build onto a frequency: R1 and R3 each as a fixed resistor in
// series with a trimmer, chosen so that every build within tolerance can
// be nulled there (null_conditions.h).
#pragma once

#include "e_series.h"
#include "twin_t_circuit.h"

namespace notchwell {

// The R1 and the whole R3 that null each of the 256 corner builds of
// `nominal` (every part at one end of its tolerance or the other) at
// `hertz`: their lowest and highest.
struct TrimRanges {
  double r1_low, r1_high;
  double r3_low, r3_high;
};
TrimRanges TrimRangesAt(const TwinTParts& nominal, double r_tolerance, double c_tolerance, double hertz);

// Trimmers of the 1-2-5 series, 100 ohms to 10 Mohms, good to +-20 %.
inline constexpr double kTrimmerLowest = 100;
inline constexpr double kTrimmerHighest = 1e7;
inline constexpr double kTrimmerTolerance = 0.2;

// The largest resistor of the series (a standard part) with
// fixed (1 + tolerance) <= low, and the smallest trimmer with
// fixed (1 - tolerance) + (1 - trimmer tolerance) trimmer >= high. Not
// found when either does not exist.
struct FixedAndTrimmer {
  bool found;
  double fixed;
  double trimmer;
};
FixedAndTrimmer ChooseFixedAndTrimmer(ESeries series, double tolerance, double low, double high);

}  // namespace notchwell
