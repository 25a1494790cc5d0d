// Everything the design panel shows for one state of the form and the
// panel's own choices: the parts list, the standard-part builds, their
// tolerances and the response curves, of a passive network or an active
// one (whose ideal network takes the exact feedback for its Q, and whose
// builds the divider's); and at the form's Fo itself: what each build
// takes off there, the values two parts a position give, the trimmers
// that null every build there, a build of measured parts, the harmonics
// and the drift with temperature.
#pragma once

#include "design_figures.h"
#include "twin_t_circuit.h"
#include "two_part_values.h"

namespace notchwell {

// From Fo / 100 to 100 Fo, evenly on a log scale: Fo is the middle one.
constexpr int kCurvePoints = 401;
// The spread of the random builds at every other point, Fo among them.
constexpr int kBandPoints = (kCurvePoints + 1) / 2;
constexpr int kHarmonics = 4;  // 2 Fo to 5 Fo
constexpr int kCurves = 3;     // the ideal network, the nearest build, the measured build

struct DesignInputs {
  // The form's values in ohms, farads and hertz: positive and finite.
  double r_ohms;
  double c_farads;
  double fo_hertz;
  // Indices into the tables of design_choices.h.
  int resistor_series;
  int capacitor_series;
  int resistor_tolerance;
  int capacitor_tolerance;
  int network;         // passive, or active with a target Q
  double source_ohms;  // 0: the source drives the network directly
  double load_ohms;    // 0: no load (and none reaches an active network)
  int resistor_tempco;
  int capacitor_tempco;
  int temperature_range;
  bool measured;  // the parts of a build, as read off a meter:
  PositionValues measured_parts;
};

// The positions of the exact values: R (R1 and R2), R3, C (C1 and C2), C3.
constexpr int kPositions = 4;

struct DesignReport {
  double values[kFigureCount];  // in ohms, farads, hertz, dB and percent
  bool available[kFigureCount];
  // Builds from standard parts need R and C within the standard ranges;
  // the best pair a standard capacitor within reach of C.
  bool build_in_range;
  bool pair_found;
  PartCombination exact[kPositions];  // when the build is in range
  double curve_hertz[kCurvePoints];
  double curve_ideal_db[kCurvePoints];     // |Vout/Vs| of the ideal network
  double curve_build_db[kCurvePoints];     // of the nearest build, when in range
  double curve_measured_db[kCurvePoints];  // of the measured build, when given
  // Where 90 % of the random builds of the nearest build lie (their 5th to
  // their 95th percentile) at curve_hertz[0], [2] ... [kCurvePoints - 1],
  // when it is in range.
  double band_low_db[kBandPoints];
  double band_high_db[kBandPoints];
  // Each curve's own notch, for it to be drawn among the curve's points:
  // the ideal network's, the nearest build's and the measured build's
  // (0 Hz where there is none).
  double curve_notch_hertz[kCurves];
  double curve_notch_db[kCurves];
};

// Whether the form's values make a network at all.
bool IsDesignable(double r_ohms, double c_farads, double fo_hertz);

void MakeDesignReport(const DesignInputs& inputs, DesignReport& report);

}  // namespace notchwell
