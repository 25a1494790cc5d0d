// The network fitted to a measured sweep: the six parts, and in the active
// form its feedback, that make the panel's circuit answer as the sweep
// says, with the noise floor the sweep bottoms out on.
//
// A sweep cannot tell every part apart (all resistors up and all
// capacitors down alike, without a source or a load, give the same
// curve): the fit keeps to the parts as built where the sweep has nothing
// to say, and only their ratios are to be relied on.
#pragma once

#include "sweep_text.h"
#include "transfer_function.h"
#include "twin_t_circuit.h"

namespace notchwell {

// The circuit the sweep was measured on, as the panel has it: its parts'
// values, what drives and loads it, and the active form's feedback and
// followers.
struct SweepModel {
  PositionValues parts;
  double source_ohms;
  double load_ohms;
  bool active;
  double feedback;
  FollowerOpAmps opamps;
  // How far the parts may be from their values, as a fraction: their
  // tolerances, or a meter's accuracy.
  double resistor_spread;
  double capacitor_spread;
};

// What a bench meter's reading of a part may be off by: its basic accuracy.
constexpr double kMeterSpread = 0.002;

TwinTCircuit CircuitOfModel(const SweepModel& model, const PositionValues& parts, double feedback);

// The parameters fitted, by their index in theta: the six parts' log
// ratios to the model's, the active form's 1 - k's likewise, the log of
// the noise floor (relative to Vs), and where the sweep's levels are of
// another reference, their offset from Vout/Vs in nepers.
enum FitParameter : int {
  kR1Parameter,
  kR2Parameter,
  kR3Parameter,
  kC1Parameter,
  kC2Parameter,
  kC3Parameter,
  kFeedbackParameter,
  kFloorParameter,
  kOffsetParameter,
  kFitParameters
};

// The parts and feedback that parameters theta make of the model's.
void PartsOfFit(const SweepModel& model, const double (&theta)[kFitParameters], PositionValues& parts,
                double& feedback);

struct SweepFit {
  bool found;
  PositionValues parts;
  double feedback;
  double rms_db;      // of the level left after the fit, over the points fitted
  double cost;        // of all that is left, levels in nepers and phases in radians
  double distance;    // how far the parts and feedback are from the model's, in log ratios squared
  double zeros_real;  // the real part of the notch's zeros, normalised: its side of the j-omega axis
  double theta[kFitParameters];
  // How far theta may be off, as the sweep decides it: its covariance
  // (found where the normal equations are definite).
  bool spread_found;
  double covariance[kFitParameters][kFitParameters];
  TransferFunction function;
};

constexpr int kMostLeftOut = 8;

struct SweepFits {
  double noise_db;  // the sweep's own roughness, point to point
  SweepFit best;
  // With the level alone: the best fit whose notch's zeros lie on the
  // other side of the j-omega axis, found or not.
  SweepFit mirrored;
  // With the level alone: the best fit run on without a floor. A floor
  // under a deeper notch fits a shallow notch's points alike; where this
  // one fits as well, the floor decides nothing.
  SweepFit floorless;
  // Points no fit of the network explains (a glitch of the measurement),
  // left out of the fits above: their indices in the sweep. And where the
  // best fit does not fit, the point it explains least (-1 for none).
  int left_out_count;
  int left_out[kMostLeftOut];
  int worst;
  // How far the sweep's levels lie above Vout/Vs where Vout/Vs alone does
  // not explain them (a reference of their own: dBV, dBu, dBFS, SPL with
  // an offset), taken off before the fits above; 0 where it does.
  double offset_db;
};

// Whether a fit leaves no more of the level than the sweep's own noise
// explains, with an allowance for its steps and rounding.
bool FitsWithinNoise(const SweepFit& fit, double noise_db);

// A fit refused: a part more than this factor from its value.
constexpr double kFarthestPart = 1.3;
// Whether a fit's parts (and feedback) all lie within kFarthestPart of the
// model's.
bool PartsNear(const SweepFit& fit, const SweepModel& model);

constexpr int kFitPoints = 256;
// A point's level further than this from the fit's, and further than
// kGlitchNoises times the sweep's noise, is a glitch where the fit does not
// fit for it: one a round, and a twentieth of the points at most.
constexpr double kGlitchDb = 6;
// No instrument measures a level further than this from the source's.
constexpr double kMostMeasuredDb = 200;
constexpr double kGlitchNoises = 20;
constexpr int kGlitchRounds = 3;

void FitSweep(const MeasuredSweep& sweep, const SweepModel& model, SweepFits& fits);

}  // namespace notchwell
