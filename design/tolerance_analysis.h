// How far a build's notch moves and how deep it stays when each of its
// eight parts lies anywhere within its tolerance.
#pragma once

#include "twin_t_circuit.h"

namespace notchwell {

constexpr int kCornerBuilds = 256;   // every part at one end or the other
constexpr int kRandomBuilds = 2000;  // drawn with a fixed seed

// Tolerances are fractions (0.01 = 1 %); `nominal` is the build as
// designed. A build without a notch (a sharp active network can rise near
// Fo instead of dipping) is counted, not used.
struct CornerSpread {
  bool found;  // some corner build has a notch
  double fo_low_hertz;
  double fo_high_hertz;
  int without_notch;
};
CornerSpread SpreadAtCorners(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance);

// The notch depth at least 90 % of the random builds reach, a build
// without a notch counting as 0 dB.
struct RandomDepth {
  double depth_90_db;
  int without_notch;
};
RandomDepth DepthOfRandomBuilds(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance);

}  // namespace notchwell
