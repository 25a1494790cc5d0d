// Everything the design panel shows for one state of the form and the
// panel's own choices: the parts list, the standard-part builds, their
// tolerances and the response curves, of a passive network or an active
// one (whose ideal network takes the exact feedback for its Q, and whose
// builds the divider's); and at the form's Fo itself: what each build
// takes off there, the values two parts a position give, the trimmers
// that null every build there, a build of measured parts, the harmonics
// and the drift with temperature; and, with real op-amps in the active
// network, what they do to it; the nearest build's output noise, as a
// distortion analyser reads it behind the notch. Each analysis gives its
// own result; design_sections.cpp says which parts hold and
// design_figures.cpp turns them into the named figures.
#pragma once

#include "active_feedback.h"
#include "design_figures.h"
#include "notch_search.h"
#include "null_conditions.h"
#include "op_amp_response.h"
#include "output_noise.h"
#include "panel_controls.h"
#include "phase_response.h"
#include "sweep_tuning.h"
#include "temperature_drift.h"
#include "time_response.h"
#include "tolerance_analysis.h"
#include "trimmer_choice.h"
#include "twin_t_circuit.h"
#include "two_part_values.h"

namespace notchwell {

// From Fo / 100 to 100 Fo, evenly on a log scale: Fo is the middle one.
constexpr int kCurvePoints = 401;
// The spread of the random builds at every other point, Fo among them.
constexpr int kBandPoints = (kCurvePoints + 1) / 2;
constexpr int kHarmonics = 4;  // 2 Fo to 5 Fo
// The curves the panel draws, named once: the name is the page's (its key,
// its style, its columns in the curve's CSV).
// clang-format off
#define NOTCHWELL_CURVES(X) \
  X(Ideal, "ideal")       /* the ideal network */ \
  X(Build, "build")       /* the nearest build, when in range */ \
  X(Measured, "measured") /* the build of measured parts, when given */ \
  X(OpAmp, "opamp")       /* the ideal parts with the real op-amps */ \
  X(Fitted, "fitted")     /* the network fitted to a measured sweep */
// clang-format on

enum class Curve : int {
#define NOTCHWELL_CURVE_ENUMERATOR(enumerator, name) enumerator,
  NOTCHWELL_CURVES(NOTCHWELL_CURVE_ENUMERATOR)
#undef NOTCHWELL_CURVE_ENUMERATOR
      Count
};
constexpr int kCurves = static_cast<int>(Curve::Count);
inline constexpr const char* kCurveNames[kCurves] = {
#define NOTCHWELL_CURVE_NAME(enumerator, name) name,
    NOTCHWELL_CURVES(NOTCHWELL_CURVE_NAME)
#undef NOTCHWELL_CURVE_NAME
};
// The time views' points, from t = 0 to a little past the slowest
// settling time of the curves drawn.
constexpr int kTimePoints = 801;

struct DesignInputs {
  // The form's values in ohms, farads and hertz: positive and finite.
  double r_ohms;
  double c_farads;
  double fo_hertz;
  // Each list's selected index (panel_controls.h); one out of range
  // counts as the list's default.
  int choices[kPanelListCount];
  double source_ohms;  // 0: the source drives the network directly
  double load_ohms;    // 0: no load (and none reaches an active network)
  bool measured;       // the parts of a build, as read off a meter:
  PositionValues measured_parts;
  OpAmp custom_opamp = {0, 0, 0};  // the op-amp of the custom fields, when chosen
  double noise_signal_volts = 1;   // what an analyser measures the noise against, V rms
  // A measured sweep read (none: null), a new generation for each text
  // read, and what the sweep before it came to.
  const MeasuredSweep* sweep = nullptr;
  unsigned sweep_generation = 0;
  TuneRound round = {false, 0, 0, 0};
};

// The op-amp chosen for the active network's followers: a preset, or the
// custom one (all zero for ideal op-amps).
OpAmp ChosenOpAmp(const DesignInputs& inputs);

// The positions of the exact values: R (R1 and R2), R3, C (C1 and C2), C3.
constexpr int kPositions = 4;

// Where a build notches, how far that is from the form's Fo, and what it
// takes off the form's Fo itself (dB below Vs).
struct BuildNotch {
  bool found;
  double hertz;
  double error_percent;
  double reject_db;
};

// The active network's feedback: exact for the ideal network, the
// divider's for the builds (exact too when no divider comes near); and
// the op-amps of its followers.
struct Feedback {
  bool active;
  double k;
  Divider divider;
  double k_build;
  bool real_opamps;
  OpAmp opamp;
  FollowerOpAmps followers;
};

// How a curve's network answers in time: a unit step at t = 0, and a sine
// at the form's Fo switched on then; settled once the transient stays
// within 1 % of the step or the sine; the step's lowest output from
// 1 / (100 Fo) on, as a fraction of the step. Not found: it does not
// settle within 10^4 / Fo. The measured parts' and the op-amps' only
// with the step or burst view chosen.
struct TimeFigures {
  Settling step, burst;
};

struct IdealResult {
  double notch_hertz;
  double band_reject_db;  // the least taken off anywhere in the band around Fo
  HalfPowerBand band;
  double band_low_hertz, band_high_hertz;
  double harmonics_db[kHarmonics];
};

struct NearestResult {
  double r, c;
  BuildNotch notch;
  double band_reject_db;
  double harmonics_db[kHarmonics];
  CornerSpread corners;
  RandomBuilds random;
  double depth_90_passive_db;            // the same random builds as a passive network, when active
  double spread_low_db, spread_high_db;  // where 90 % of them lie at the form's Fo
  TrimRanges trims;
  FixedAndTrimmer trim_r1, trim_r3;
  TemperatureDrift drift;
  double band_reject_90_db;  // the least 90 % of the random builds take off across the band
};

struct ExactResult {
  PartCombination positions[kPositions];
  TransferFunction function;
  BuildNotch notch;
  double band_reject_db;
};

struct PairResult {
  bool found;
  double r, c;
  BuildNotch notch;
};

struct MeasuredResult {
  bool notch_found;
  double notch_hertz;
  double depth_db;
  double reject_db;
  NullingChange trim;  // of R1 and R3, to null it at Fo
};

// The nearest build's output noise with no signal, from each kind of
// source (output_noise.h), and its density along the curves: named once,
// the names the page's (its curves' keys and CSV columns, after "noise-").
// clang-format off
#define NOTCHWELL_NOISE_CURVES(X) \
  X(Total, "total") \
  X(Resistors, "resistors") \
  X(OpAmpVoltage, "opamp-voltage") \
  X(OpAmpCurrent, "opamp-current")
// clang-format on
enum class NoiseCurve : int {
#define NOTCHWELL_NOISE_CURVE_ENUMERATOR(enumerator, name) enumerator,
  NOTCHWELL_NOISE_CURVES(NOTCHWELL_NOISE_CURVE_ENUMERATOR)
#undef NOTCHWELL_NOISE_CURVE_ENUMERATOR
      Count
};
constexpr int kNoiseCurves = static_cast<int>(NoiseCurve::Count);
inline constexpr const char* kNoiseCurveNames[kNoiseCurves] = {
#define NOTCHWELL_NOISE_CURVE_NAME(enumerator, name) name,
    NOTCHWELL_NOISE_CURVES(NOTCHWELL_NOISE_CURVE_NAME)
#undef NOTCHWELL_NOISE_CURVE_NAME
};

struct NoiseResult {
  NoisePower band;                             // V^2 over the noise band chosen
  double tenth_band;                           // V^2 over it with a tenth of the build's impedance
  double density_at_fo;                        // V/sqrt(Hz)
  double density[kNoiseCurves][kCurvePoints];  // V/sqrt(Hz) at the curves' frequencies
};

// Which parts of the report hold: the page shows and hides by these (its
// data-when names), never by which figures there are.
// clang-format off
#define NOTCHWELL_SECTIONS(X) \
  X(Build, "build")              /* R and C within the standard ranges */ \
  X(Pair, "pair")                /* a standard capacitor within reach of C */ \
  X(Active, "active") \
  X(DividerFound, "divider")     /* a divider from the series within 10 % of the Q */ \
  X(NoNotch, "no-notch")         /* some builds within tolerance rise instead of dipping */ \
  X(Measured, "measured")        /* all six measured parts given */ \
  X(MeasuredDip, "measured-dip") \
  X(MeasuredTrim, "measured-trim") \
  X(BandLow, "band-low")         /* the ideal network's half-power points */ \
  X(BandHigh, "band-high") \
  X(TrimR1, "trim-r1")           /* a fixed resistor and trimmer that cover the range */ \
  X(TrimR3, "trim-r3") \
  X(OpAmp, "opamp")              /* the active network with real op-amps */ \
  X(OpAmpNeeded, "opamp-needed") /* some gain-bandwidth up to 10 GHz keeps Q and peak */ \
  X(OpAmpBandLow, "opamp-band-low") /* their half-power points */ \
  X(OpAmpBandHigh, "opamp-band-high") \
  X(OpAmpWeak, "opamp-weak")     /* the followers more than 3 dB down at Fo */ \
  X(OpAmpQ, "opamp-q")           /* a half-power point on both sides with them */ \
  X(Q, "q")                      /* the ideal network's, likewise */ \
  X(Load, "load")                /* a load given */ \
  X(BuildNotch, "build-notch")   /* the nearest build notches */ \
  X(ExactNotch, "exact-notch")   /* the build of one or two parts a position */ \
  X(BestNotch, "best-notch")     /* the best pair's */ \
  X(Drift, "drift")              /* the nearest build notches over the temperature range */ \
  X(StepSettles, "step-settles") /* the ideal network settles after a step */ \
  X(BurstSettles, "burst-settles") \
  X(BuildStepSettles, "build-step-settles") /* the nearest build notches and settles */ \
  X(BuildBurstSettles, "build-burst-settles") \
  X(TuneSweep, "tune-sweep")     /* a measured sweep read */ \
  X(TuneNoBuild, "tune-no-build") /* and nothing it could be a sweep of */ \
  X(TuneNotSpanning, "tune-not-spanning") \
  X(TuneNoFit, "tune-no-fit") \
  X(TuneLeftOut, "tune-left-out") /* points left out of the fit as glitches */ \
  X(Tuned, "tuned")              /* the fit of the sweep */ \
  X(TuneTurns, "tune-turns")     /* and the turns it decides */ \
  X(TuneUndecided, "tune-undecided") /* or the level alone leaves them open */ \
  X(TuneNotch, "tune-notch")     /* its fitted build notches */ \
  X(TuneOffset, "tune-offset") /* the sweep's levels of another reference than Vs */ \
  X(TuneDepthBound, "tune-depth-bound") /* the depth shown is what the sweep decides of it */ \
  X(TuneRejectBound, "tune-reject-bound") /* likewise what it takes off Fo */ \
  X(TuneAlternative, "tune-alt") /* a mirror image fits the level alike */ \
  X(TuneRound, "tune-round")     /* a sweep before this one */ \
  X(Noise, "noise")              /* the nearest build's noise */ \
  X(NoiseMostResistors, "noise-most-resistors") /* most of it the resistors' */ \
  X(NoiseMostVoltage, "noise-most-voltage") /* the op-amps' voltage noise */ \
  X(NoiseMostCurrent, "noise-most-current") /* their current noise through the network */
// clang-format on

enum class Section : int {
#define NOTCHWELL_SECTION_ENUMERATOR(enumerator, name) enumerator,
  NOTCHWELL_SECTIONS(NOTCHWELL_SECTION_ENUMERATOR)
#undef NOTCHWELL_SECTION_ENUMERATOR
      Count
};
constexpr int kSectionCount = static_cast<int>(Section::Count);
inline constexpr const char* kSectionNames[kSectionCount] = {
#define NOTCHWELL_SECTION_NAME(enumerator, name) name,
    NOTCHWELL_SECTIONS(NOTCHWELL_SECTION_NAME)
#undef NOTCHWELL_SECTION_NAME
};

// One curve of the panel (the ideal network, the nearest build, the
// measured build, the ideal parts with real op-amps), drawn where its
// network is there to draw: |Vout/Vs| in dB, its phase and group delay at
// the report's frequencies; its own notch, to be drawn among them (at 0 Hz
// where there is none); how it answers in time, and with the step or
// burst view chosen its output at the report's times.
struct CurveResult {
  bool drawn;
  TransferFunction function;
  double level_db[kCurvePoints];
  double degrees[kCurvePoints];
  double delay_s[kCurvePoints];
  double notch_hertz, notch_db, notch_degrees, notch_delay_s;
  TimeResponse step, sine;
  TimeFigures time;
  double time_output[kTimePoints];
};

struct DesignReport {
  Feedback feedback;
  IdealResult ideal;
  NearestResult nearest;    // when in range
  ExactResult exact;        // when in range
  PairResult pair;          // when found
  MeasuredResult measured;  // when given
  OpAmpResponse opamp;      // with real op-amps
  TuneResult tune;          // with a measured sweep
  bool tune_modelled;       // and a build it can be a sweep of
  NoiseResult noise;        // when in range
  bool in_range;            // R and C within the standard ranges
  double follower_db;       // and each follower's gain at the form's Fo
  bool sections[kSectionCount];
  // The figures of all of the above, in ohms, farads, hertz, dB and percent.
  double values[kFigureCount];
  bool available[kFigureCount];
  // The frequencies every curve is drawn at, and each curve.
  double curve_hertz[kCurvePoints];
  CurveResult curves[kCurves];
  // Where 90 % of the random builds of the nearest build lie (their 5th to
  // their 95th percentile) at band_hertz: curve_hertz[0], [2] ...
  // [kCurvePoints - 1], when it is in range.
  double band_hertz[kBandPoints];
  double band_low_db[kBandPoints];
  double band_high_db[kBandPoints];
  // Every curve drawn at every curve's notch ([curve][notch]; a curve at
  // its own notch as its result says), so that a table of the curves has
  // each of them on every row.
  double at_notch_db[kCurves][kCurves];
  double at_notch_degrees[kCurves][kCurves];
  double at_notch_delay_s[kCurves][kCurves];
  // With the step or burst view chosen, the times each curve's output is
  // drawn at.
  double time_seconds[kTimePoints];
};

inline bool Holds(const DesignReport& report, Section section) { return report.sections[static_cast<int>(section)]; }

inline const CurveResult& CurveOf(const DesignReport& report, Curve curve) {
  return report.curves[static_cast<int>(curve)];
}
inline CurveResult& CurveOf(DesignReport& report, Curve curve) { return report.curves[static_cast<int>(curve)]; }

void MakeDesignReport(const DesignInputs& inputs, DesignReport& report);

// The report made of `before` brought to `inputs`, working out again only
// what reads an input that changed: a change of the plot's view redoes the
// time view alone, one of the reject band the band's figures alone.
void UpdateDesignReport(const DesignInputs& before, const DesignInputs& inputs, DesignReport& report);

// Which parts of the report hold, from its results (design_sections.cpp).
void SetSections(const DesignInputs& inputs, DesignReport& report);

// The named figures of the report's results (design_figures.cpp).
void SetFigures(const DesignInputs& inputs, DesignReport& report);

}  // namespace notchwell
