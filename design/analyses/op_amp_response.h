// What real op-amps do to the active network of the ideal parts: the
// half-power points nearest the notch and the Q they give, the highest
// rise above the level far below the notch, the least gain-bandwidth that
// keeps both near what ideal op-amps give, and the largest sine the output
// follows at the fifth harmonic. The null itself stays where it was: at a
// null the output is zero, whatever the followers' gain.
#pragma once

#include "notch_search.h"
#include "op_amps.h"
#include "twin_t_circuit.h"

namespace notchwell {

// Q within this fraction of the ideal op-amps', and a peak below this, is
// what an op-amp needs to leave the design as it is.
constexpr double kQFraction = 0.05;
constexpr double kPeakLimitDb = 0.5;

struct OpAmpResponse {
  HalfPowerBand band;  // 3.01 dB below the level far below the notch, both sides
  double band_low_hertz, band_high_hertz;
  double q;  // notch over the band's width, when both edges are found
  double peak_db;
  bool gbw_found;  // some gain-bandwidth up to kGbwHighest does it
  double gbw_needed_hertz;
  double slew_limit_volts;  // peak
};

// `circuit`: the active network of the ideal parts (r and c), its op-amps
// `amp`, notching at `notch_hertz`; the rise is looked for from fo / 100
// to 100 fo.
OpAmpResponse AnalyseOpAmpResponse(const TwinTCircuit& circuit, double r, double c, const OpAmp& amp,
                                   double notch_hertz, double fo_hertz);

}  // namespace notchwell
