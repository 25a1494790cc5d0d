#include "trimmer_choice.h"

#include "null_conditions.h"
#include "part_ranges.h"
#include "tolerance_analysis.h"

namespace notchwell {

TrimRanges TrimRangesAt(const TwinTParts& nominal, double r_tolerance, double c_tolerance, double hertz) {
  TrimRanges ranges{0, 0, 0, 0};
  for (int corner = 0; corner < kCornerBuilds; ++corner) {
    const TwinTParts p = CornerParts(nominal, r_tolerance, c_tolerance, corner);
    const NullingResistors n = NullingResistorsAt(p, hertz);
    if (corner == 0 || n.r1 < ranges.r1_low) ranges.r1_low = n.r1;
    if (corner == 0 || n.r1 > ranges.r1_high) ranges.r1_high = n.r1;
    if (corner == 0 || n.r3 < ranges.r3_low) ranges.r3_low = n.r3;
    if (corner == 0 || n.r3 > ranges.r3_high) ranges.r3_high = n.r3;
  }
  return ranges;
}

FixedAndTrimmer ChooseFixedAndTrimmer(ESeries series, double tolerance, double low, double high) {
  FixedAndTrimmer none{false, 0, 0};
  if (!(low / (1 + tolerance) >= kResistorLowest)) return none;
  SeriesStep step = StepAtOrBelow(series, low / (1 + tolerance));
  double fixed = SeriesValue(series, step);
  // The division may have rounded up by a hair.
  while (fixed * (1 + tolerance) > low) {
    step = StepBelow(series, step);
    fixed = SeriesValue(series, step);
  }
  if (fixed < kResistorLowest || fixed > kResistorHighest) return none;
  constexpr double kSteps[] = {1, 2, 5};
  for (double decade = kTrimmerLowest; decade <= kTrimmerHighest; decade *= 10) {
    for (const double s : kSteps) {
      const double trimmer = s * decade;
      if (trimmer > kTrimmerHighest) break;
      if (fixed * (1 - tolerance) + (1 - kTrimmerTolerance) * trimmer >= high) return {true, fixed, trimmer};
    }
  }
  return none;
}

}  // namespace notchwell
