// The figures the design panel shows, defined once: their names (the
// page's data-figure attributes), units and how many digits their text
// carries.
#pragma once

namespace notchwell {

// Builds: a number of builds (the page's unit "count"), written as a whole
// number. Noise densities in V/sqrt(Hz) and A/sqrt(Hz).
enum class FigureUnit : int {
  Ohm,
  Farad,
  Hertz,
  Decibel,
  Percent,
  Number,
  Builds,
  Volt,
  VoltPerSecond,
  Second,
  VoltPerRootHertz,
  AmpPerRootHertz
};

// X(enumerator, name, unit, digits, trimmed): digits are significant
// digits, or for decibels, percent and numbers digits after the point;
// trimmed drops trailing zeros, as standard values are written.
// clang-format off
#define NOTCHWELL_FIGURES(X) \
  /* the form's values, as the design reads them */ \
  X(Fo, "fo", Hertz, 4, false) \
  X(R, "r", Ohm, 4, false) \
  X(R3, "r3", Ohm, 4, false) \
  X(C, "c", Farad, 4, false) \
  X(C3, "c3", Farad, 4, false) \
  /* the nearest standard values */ \
  X(BuildR, "build-r", Ohm, 3, true) \
  X(BuildC, "build-c", Farad, 3, true) \
  X(BuildFo, "build-fo", Hertz, 5, false) \
  X(BuildError, "build-error", Percent, 4, false) \
  /* the standard pair nearest the form's Fo */ \
  X(BestR, "best-r", Ohm, 3, true) \
  X(BestC, "best-c", Farad, 3, true) \
  X(BestFo, "best-fo", Hertz, 5, false) \
  X(BestError, "best-error", Percent, 4, false) \
  /* the nearest build within its tolerances */ \
  X(FoLow, "fo-low", Hertz, 4, false) \
  X(FoHigh, "fo-high", Hertz, 4, false) \
  X(Depth90, "depth-90", Decibel, 1, false) \
  /* the ideal network with the source and load */ \
  X(Notch, "notch", Hertz, 4, false) \
  X(BandLow, "band-low", Hertz, 4, false) \
  X(BandHigh, "band-high", Hertz, 4, false) \
  X(Source, "source", Ohm, 4, true) \
  X(Load, "load", Ohm, 4, true) \
  /* the ideal network's, from its half-power points */ \
  X(Q, "q", Number, 2, false) \
  /* the active network's feedback, and the divider that gives it */ \
  X(K, "k", Number, 4, false) \
  X(DividerTop, "divider-top", Ohm, 3, true) \
  X(DividerBottom, "divider-bottom", Ohm, 3, true) \
  X(KBuild, "k-build", Number, 4, false) \
  X(QBuild, "q-build", Number, 2, false) \
  /* builds that rise near Fo instead of dipping */ \
  X(NoNotchCorners, "no-notch-corners", Builds, 0, false) \
  X(NoNotchRandom, "no-notch-random", Builds, 0, false) \
  /* the same random builds as a passive network, unloaded as the active one's */ \
  X(Depth90Passive, "depth-90-passive", Decibel, 1, false) \
  /* dB below Vs at the form's Fo itself */ \
  X(BuildReject, "build-reject", Decibel, 1, false) \
  X(BestReject, "best-reject", Decibel, 1, false) \
  /* of the random builds, reached by 90 % */ \
  X(Reject90, "reject-90", Decibel, 1, false) \
  /* the nearest values one or two standard parts give */ \
  X(ExactR, "exact-r", Ohm, 5, false) \
  X(ExactR3, "exact-r3", Ohm, 5, false) \
  X(ExactC, "exact-c", Farad, 5, false) \
  X(ExactC3, "exact-c3", Farad, 5, false) \
  /* the build of those values */ \
  X(ExactFo, "exact-fo", Hertz, 5, false) \
  X(ExactError, "exact-error", Percent, 4, false) \
  X(ExactReject, "exact-reject", Decibel, 1, false) \
  /* R1 that nulls each corner build of the nearest build at Fo */ \
  X(TrimR1Low, "trim-r1-low", Ohm, 4, false) \
  X(TrimR1High, "trim-r1-high", Ohm, 4, false) \
  /* a fixed resistor and a trimmer in series that reach them all */ \
  X(TrimR1Fixed, "trim-r1-fixed", Ohm, 3, true) \
  X(TrimR1Pot, "trim-r1-pot", Ohm, 3, true) \
  /* the same for R3 */ \
  X(TrimR3Low, "trim-r3-low", Ohm, 4, false) \
  X(TrimR3High, "trim-r3-high", Ohm, 4, false) \
  X(TrimR3Fixed, "trim-r3-fixed", Ohm, 3, true) \
  X(TrimR3Pot, "trim-r3-pot", Ohm, 3, true) \
  /* the build of the measured parts */ \
  X(MeasuredFo, "measured-fo", Hertz, 5, false) \
  X(MeasuredDepth, "measured-depth", Decibel, 1, false) \
  X(MeasuredReject, "measured-reject", Decibel, 1, false) \
  /* the R1 and R3 that null it at Fo */ \
  X(MeasuredTrimR1, "measured-trim-r1", Ohm, 4, false) \
  X(MeasuredTrimR3, "measured-trim-r3", Ohm, 4, false) \
  X(MeasuredTrimR1Change, "measured-trim-r1-change", Percent, 2, false) \
  X(MeasuredTrimR3Change, "measured-trim-r3-change", Percent, 2, false) \
  /* the ideal network's level at 2, 3, 4 and 5 Fo */ \
  X(H2, "h2", Decibel, 2, false) \
  X(H3, "h3", Decibel, 2, false) \
  X(H4, "h4", Decibel, 2, false) \
  X(H5, "h5", Decibel, 2, false) \
  /* the nearest build's */ \
  X(BuildH2, "build-h2", Decibel, 2, false) \
  X(BuildH3, "build-h3", Decibel, 2, false) \
  X(BuildH4, "build-h4", Decibel, 2, false) \
  X(BuildH5, "build-h5", Decibel, 2, false) \
  /* the nearest build over the temperature range */ \
  X(DriftFoLow, "drift-fo-low", Hertz, 5, false) \
  X(DriftFoHigh, "drift-fo-high", Hertz, 5, false) \
  X(DriftReject, "drift-reject", Decibel, 1, false) \
  /* where 90 % of the random builds lie at the form's Fo */ \
  X(SpreadLow, "spread-low", Decibel, 1, false) \
  X(SpreadHigh, "spread-high", Decibel, 1, false) \
  /* the real op-amps chosen for the active network */ \
  X(OpAmpGbw, "opamp-gbw", Hertz, 3, true) \
  X(OpAmpGain, "opamp-gain", Decibel, 0, false) \
  X(OpAmpSlew, "opamp-slew", VoltPerSecond, 3, true) \
  X(OpAmpEn, "opamp-en", VoltPerRootHertz, 3, true) \
  X(OpAmpIn, "opamp-in", AmpPerRootHertz, 3, true) \
  /* each follower's own gain at Fo, dB */ \
  X(OpAmpFollowerGain, "opamp-follower-gain", Decibel, 1, false) \
  /* the ideal parts with them: half power 3.01 dB below the level far below the notch */ \
  X(OpAmpBandLow, "opamp-band-low", Hertz, 4, false) \
  X(OpAmpBandHigh, "opamp-band-high", Hertz, 4, false) \
  X(OpAmpQ, "opamp-q", Number, 2, false) \
  X(OpAmpPeak, "opamp-peak", Decibel, 2, false) \
  /* the least gain-bandwidth that keeps Q within 5 % and the peak under 0.5 dB */ \
  X(OpAmpGbwNeeded, "opamp-gbw-needed", Hertz, 2, false) \
  /* the largest sine the output follows at 5 Fo, peak */ \
  X(OpAmpSlewLimit, "opamp-slew-limit", Volt, 3, false) \
  /* a sine at Fo switched on at t = 0: from when on the output stays */ \
  /* within 1 % of the sine's amplitude of what it settles to */ \
  X(BurstSettle, "burst-settle", Second, 3, false) \
  X(BuildBurstSettle, "build-burst-settle", Second, 3, false) \
  /* a unit step at t = 0: from when on within 1 % of the step of its final value */ \
  X(StepSettle, "step-settle", Second, 3, false) \
  X(BuildStepSettle, "build-step-settle", Second, 3, false) \
  /* the step's lowest output from 1 / (100 Fo) on, as a fraction of the step */ \
  X(StepLow, "step-low", Number, 3, false) \
  X(BuildStepLow, "build-step-low", Number, 3, false) \
  /* the least taken off anywhere in the reject band about Fo, dB below Vs */ \
  X(BandRejectIdeal, "band-reject-ideal", Decibel, 1, false) \
  X(BandReject, "band-reject", Decibel, 1, false) \
  X(BandRejectExact, "band-reject-exact", Decibel, 1, false) \
  X(BandReject90, "band-reject-90", Decibel, 1, false) \
  /* a measured sweep of the build: the points read, where and how deep */ \
  /* its fitted network notches (dB below its level far below the notch), */ \
  /* what it takes off Fo (dB below Vs); each of the last two the bound */ \
  /* the sweep decides where it does not decide the figure */ \
  X(TunePoints, "tune-points", Number, 0, false) \
  X(TuneNotch, "tune-notch", Hertz, 5, false) \
  X(TuneDepth, "tune-depth", Decibel, 1, false) \
  X(TuneReject, "tune-reject", Decibel, 1, false) \
  /* how much R1 and the whole R3 must change for it to null at Fo, and */ \
  /* the resistances that makes of the fit's own parts */ \
  X(TuneR1Change, "tune-r1-change", Percent, 2, false) \
  X(TuneR3Change, "tune-r3-change", Percent, 2, false) \
  /* what the sweep decides of them: two standard deviations */ \
  X(TuneR1Spread, "tune-r1-spread", Percent, 2, false) \
  X(TuneR3Spread, "tune-r3-spread", Percent, 2, false) \
  X(TuneR1, "tune-r1", Ohm, 4, false) \
  X(TuneR3, "tune-r3", Ohm, 4, false) \
  /* the level left after the fit, root mean square */ \
  X(TuneFitRms, "tune-fit-rms", Decibel, 3, false) \
  /* the sweep's levels above Vout/Vs, where they are of another reference */ \
  X(TuneOffset, "tune-offset", Decibel, 2, false) \
  /* with the level alone, the changes for the fit's mirror image */ \
  X(TuneR1ChangeAlt, "tune-r1-change-alt", Percent, 2, false) \
  X(TuneR3ChangeAlt, "tune-r3-change-alt", Percent, 2, false) \
  /* the sweep before this one, and how much nearer Fo the null has come */ \
  X(TuneNotchBefore, "tune-notch-before", Hertz, 5, false) \
  X(TuneRejectBefore, "tune-reject-before", Decibel, 1, false) \
  X(TuneNearer, "tune-nearer", Percent, 1, false) \
  /* the nearest build's output noise with no signal: rms over the noise */ \
  /* band, its density at Fo, and the floor, dB below the analyser's signal */ \
  X(NoiseTotal, "noise-total", Volt, 3, false) \
  X(NoiseDensity, "noise-density", VoltPerRootHertz, 3, false) \
  X(NoiseFloor, "noise-floor", Decibel, 1, false) \
  X(NoiseSignal, "noise-signal", Volt, 4, true) \
  /* by where it comes from, each rms over the band: their squares add up */ \
  X(NoiseResistors, "noise-resistors", Volt, 3, false) \
  X(NoiseOpAmpVoltage, "noise-opamp-voltage", Volt, 3, false) \
  X(NoiseOpAmpCurrent, "noise-opamp-current", Volt, 3, false) \
  /* the floor with the build's impedance a tenth: the same Fo and surroundings */ \
  X(NoiseFloorTenth, "noise-floor-tenth", Decibel, 1, false)
// clang-format on

enum class Figure : int {
#define NOTCHWELL_FIGURE_ENUMERATOR(enumerator, name, unit, digits, trimmed) enumerator,
  NOTCHWELL_FIGURES(NOTCHWELL_FIGURE_ENUMERATOR)
#undef NOTCHWELL_FIGURE_ENUMERATOR
      Count
};
constexpr int kFigureCount = static_cast<int>(Figure::Count);

struct FigureInfo {
  const char* name;
  FigureUnit unit;
  int digits;
  bool trimmed;
};

inline constexpr FigureInfo kFigures[kFigureCount] = {
#define NOTCHWELL_FIGURE_INFO(enumerator, name, unit, digits, trimmed) {name, FigureUnit::unit, digits, trimmed},
    NOTCHWELL_FIGURES(NOTCHWELL_FIGURE_INFO)
#undef NOTCHWELL_FIGURE_INFO
};

constexpr const FigureInfo& InfoOf(Figure figure) { return kFigures[static_cast<int>(figure)]; }

}  // namespace notchwell
