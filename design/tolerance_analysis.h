// How far a build's notch moves and how deep it stays when each of its
// eight parts lies anywhere within its tolerance.
#pragma once

#include "twin_t_circuit.h"

namespace notchwell {

// Random builds behind the depth figure, drawn with a fixed seed.
constexpr int kRandomBuilds = 2000;

struct ToleranceFigures {
  double fo_low_hertz;   // lowest notch of the 256 builds with every part at
  double fo_high_hertz;  // one end or the other of its tolerance; highest
  double depth_90_db;    // the depth at least 90 % of the random builds reach
};

// `nominal` is the build as designed; tolerances are fractions (0.01 = 1 %).
ToleranceFigures AnalyseTolerances(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance);

}  // namespace notchwell
