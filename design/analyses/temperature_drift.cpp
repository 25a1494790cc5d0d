#include "temperature_drift.h"

#include "elementary.h"
#include "notch_search.h"
#include "part_ranges.h"

namespace notchwell {

TemperatureDrift DriftOverTemperature(const TwinTCircuit& nominal, double r_ppm, double c_ppm, double low_celsius,
                                      double high_celsius, double fo_hertz) {
  TemperatureDrift drift{false, 0, 0, 0};
  const double ends[] = {low_celsius, high_celsius};
  bool first = true;
  for (const double celsius : ends) {
    for (int signs = 0; signs < 4; ++signs) {
      const double kelvin = celsius - kReferenceCelsius;
      const double r = 1 + (signs & 1 ? 1 : -1) * r_ppm * 1e-6 * kelvin;
      const double c = 1 + (signs & 2 ? 1 : -1) * c_ppm * 1e-6 * kelvin;
      TwinTCircuit moved = nominal;
      TwinTParts& p = moved.parts;
      p = {p.r1 * r, p.r2 * r, p.r3a * r, p.r3b * r, p.c1 * c, p.c2 * c, p.c3a * c, p.c3b * c};
      const TransferFunction h = TransferFunctionOf(moved, nominal.parts.r1, nominal.parts.c1);
      const double reject = -LevelDb(h, fo_hertz);
      if (first || reject < drift.least_reject_db) drift.least_reject_db = reject;
      first = false;
      const Notch notch = FindNotch(h);
      if (!notch.found) continue;
      const double hertz = HertzAt(h, notch.x);
      if (!drift.found || hertz < drift.fo_low_hertz) drift.fo_low_hertz = hertz;
      if (!drift.found || hertz > drift.fo_high_hertz) drift.fo_high_hertz = hertz;
      drift.found = true;
    }
  }
  return drift;
}

}  // namespace notchwell
