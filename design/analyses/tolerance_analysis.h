// How far a build's notch moves and how deep it stays when each of its
// eight parts lies anywhere within its tolerance.
#pragma once

#include "twin_t_circuit.h"

namespace notchwell {

constexpr int kCornerBuilds = 256;   // every part at one end or the other
constexpr int kRandomBuilds = 2000;  // drawn with a fixed seed

// Tolerances are fractions (0.01 = 1 %); `nominal` is the build as
// designed. Corner `corner` puts part i (R1, R2, R3a, R3b, C1, C2, C3a,
// C3b) at the upper end of its tolerance where bit i is set.
TwinTParts CornerParts(const TwinTParts& nominal, double r_tolerance, double c_tolerance, int corner);

// Random build n (0 <= n < kRandomBuilds): every part anywhere within its
// tolerance, drawn with a fixed seed, the same on every target.
TwinTParts RandomParts(const TwinTParts& nominal, double r_tolerance, double c_tolerance, int n);

// A build without a notch (a sharp active network can rise near Fo
// instead of dipping) is counted, not used.
struct CornerSpread {
  bool found;  // some corner build has a notch
  double fo_low_hertz;
  double fo_high_hertz;
  int without_notch;
};
CornerSpread SpreadAtCorners(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance);

// Of the random builds: the notch depth at least 90 % reach (a build
// without a notch counting as 0 dB), the rejection at `fo_hertz` at least
// 90 % reach, and the least rejection from fo (1 - band) to fo (1 + band)
// at least 90 % reach; all in dB below Vs.
struct RandomBuilds {
  double depth_90_db;
  double reject_90_db;
  double band_reject_90_db;
  int without_notch;
};

// Where the random builds' levels lie at each of `points` frequencies:
// from their 5th to their 95th percentile, in dB.
struct SpreadBand {
  const double* hertz;
  int points;
  double* low_db;
  double* high_db;
};

// `band`, when given, is filled in too.
RandomBuilds AnalyseRandomBuilds(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance, double fo_hertz,
                                 double band_fraction, const SpreadBand* band);

// The band_reject_90_db of the same random builds alone, the same to the
// last bit: for a change of the band alone.
double RandomBuildsBandReject90Db(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance, double fo_hertz,
                                  double band_fraction);

}  // namespace notchwell
