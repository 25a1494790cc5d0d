// The report's curves sampled: the frequencies every curve is drawn at,
// each network's level, phase and delay there and at every curve's notch,
// its answer in time, and the nearest build's noise density.
#pragma once

#include "design_report.h"

namespace notchwell {

// A response still moving 10^4 cycles of Fo after it starts does not settle.
constexpr double kSettlingLimit = 1e4;

// The frequencies every curve is drawn at, Fo exactly the middle one, and
// every other one for the random builds' band.
void MakeFrequencyGrid(DesignReport& report, double fo_hertz);

// A curve of network `h` whose own notch is `notch`: its level, phase
// and delay at `hertz`, at its notch, and its answer in time, whose
// settling times are figures (`settling`) or, for the curves drawn only,
// worked out for the time view alone (TimeView).
void DrawCurve(CurveResult& curve, const TransferFunction& h, const Notch& notch, const double (&hertz)[kCurvePoints],
               double fo_hertz, bool settling);

// A curve not drawn, and its notch nowhere.
void ClearCurve(DesignReport& report, Curve which);

// Each curve drawn at each curve's notch: its own as found, the others'
// worked out there.
void CurvesAtNotches(DesignReport& report);

// What the plot's view reads: the settling times of the curves that are
// worked out for the time view alone, and that view's points.
void TimeView(DesignReport& report, const DesignInputs& inputs);

// The noise density of `noisy` at every curve frequency, by its sources.
void DrawNoise(DesignReport& report, const NoisyCircuit& noisy);

}  // namespace notchwell
