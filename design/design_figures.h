// The figures the design panel shows: their names (the page's
// data-figure attributes), units and how many digits their text carries.
#pragma once

namespace notchwell {

enum class Figure : int {
  Fo,  // the form's values, as the design reads them
  R,
  R3,
  C,
  C3,
  BuildR,  // the nearest standard values
  BuildC,
  BuildFo,
  BuildError,
  BestR,  // the standard pair nearest the form's Fo
  BestC,
  BestFo,
  BestError,
  FoLow,  // the nearest build within its tolerances
  FoHigh,
  Depth90,
  Notch,  // the ideal network with the source and load
  BandLow,
  BandHigh,
  Source,
  Load,
  Q,  // the ideal network's, from its half-power points
  K,  // the active network's feedback, and the divider that gives it
  DividerTop,
  DividerBottom,
  KBuild,
  QBuild,
  NoNotchCorners,  // builds that rise near Fo instead of dipping
  NoNotchRandom,
  Depth90Passive,  // the same random builds as a passive network, unloaded as the active one's
  BuildReject,     // dB below Vs at the form's Fo itself
  BestReject,
  Reject90,  // of the random builds, reached by 90 %
  ExactR,    // the nearest values one or two standard parts give
  ExactR3,
  ExactC,
  ExactC3,
  ExactFo,  // the build of those values
  ExactError,
  ExactReject,
  TrimR1Low,  // R1 that nulls each corner build of the nearest build at Fo
  TrimR1High,
  TrimR1Fixed,  // a fixed resistor and a trimmer in series that reach them all
  TrimR1Pot,
  TrimR3Low,  // the same for R3
  TrimR3High,
  TrimR3Fixed,
  TrimR3Pot,
  MeasuredFo,  // the build of the measured parts
  MeasuredDepth,
  MeasuredReject,
  MeasuredTrimR1,  // the R1 and R3 that null it at Fo
  MeasuredTrimR3,
  MeasuredTrimR1Change,
  MeasuredTrimR3Change,
  H2,  // the ideal network's level at 2, 3, 4 and 5 Fo
  H3,
  H4,
  H5,
  BuildH2,  // the nearest build's
  BuildH3,
  BuildH4,
  BuildH5,
  DriftFoLow,  // the nearest build over the temperature range
  DriftFoHigh,
  DriftReject,
  SpreadLow,  // where 90 % of the random builds lie at the form's Fo
  SpreadHigh,
  Count
};
constexpr int kFigureCount = static_cast<int>(Figure::Count);

enum class FigureUnit : int { Ohm, Farad, Hertz, Decibel, Percent, Number, Count };

struct FigureInfo {
  const char* name;
  FigureUnit unit;
  // Significant digits, or for decibels, percent and numbers digits after
  // the point; trimmed: trailing zeros dropped, as standard values are
  // written.
  int digits;
  bool trimmed;
};

inline constexpr FigureInfo kFigures[kFigureCount] = {
    {"fo", FigureUnit::Hertz, 4, false},
    {"r", FigureUnit::Ohm, 4, false},
    {"r3", FigureUnit::Ohm, 4, false},
    {"c", FigureUnit::Farad, 4, false},
    {"c3", FigureUnit::Farad, 4, false},
    {"build-r", FigureUnit::Ohm, 3, true},
    {"build-c", FigureUnit::Farad, 3, true},
    {"build-fo", FigureUnit::Hertz, 5, false},
    {"build-error", FigureUnit::Percent, 4, false},
    {"best-r", FigureUnit::Ohm, 3, true},
    {"best-c", FigureUnit::Farad, 3, true},
    {"best-fo", FigureUnit::Hertz, 5, false},
    {"best-error", FigureUnit::Percent, 4, false},
    {"fo-low", FigureUnit::Hertz, 4, false},
    {"fo-high", FigureUnit::Hertz, 4, false},
    {"depth-90", FigureUnit::Decibel, 1, false},
    {"notch", FigureUnit::Hertz, 4, false},
    {"band-low", FigureUnit::Hertz, 4, false},
    {"band-high", FigureUnit::Hertz, 4, false},
    {"source", FigureUnit::Ohm, 4, true},
    {"load", FigureUnit::Ohm, 4, true},
    {"q", FigureUnit::Number, 3, false},
    {"k", FigureUnit::Number, 4, false},
    {"divider-top", FigureUnit::Ohm, 3, true},
    {"divider-bottom", FigureUnit::Ohm, 3, true},
    {"k-build", FigureUnit::Number, 4, false},
    {"q-build", FigureUnit::Number, 3, false},
    {"no-notch-corners", FigureUnit::Count, 0, false},
    {"no-notch-random", FigureUnit::Count, 0, false},
    {"depth-90-passive", FigureUnit::Decibel, 1, false},
    {"build-reject", FigureUnit::Decibel, 1, false},
    {"best-reject", FigureUnit::Decibel, 1, false},
    {"reject-90", FigureUnit::Decibel, 1, false},
    {"exact-r", FigureUnit::Ohm, 5, false},
    {"exact-r3", FigureUnit::Ohm, 5, false},
    {"exact-c", FigureUnit::Farad, 5, false},
    {"exact-c3", FigureUnit::Farad, 5, false},
    {"exact-fo", FigureUnit::Hertz, 5, false},
    {"exact-error", FigureUnit::Percent, 4, false},
    {"exact-reject", FigureUnit::Decibel, 1, false},
    {"trim-r1-low", FigureUnit::Ohm, 4, false},
    {"trim-r1-high", FigureUnit::Ohm, 4, false},
    {"trim-r1-fixed", FigureUnit::Ohm, 3, true},
    {"trim-r1-pot", FigureUnit::Ohm, 3, true},
    {"trim-r3-low", FigureUnit::Ohm, 4, false},
    {"trim-r3-high", FigureUnit::Ohm, 4, false},
    {"trim-r3-fixed", FigureUnit::Ohm, 3, true},
    {"trim-r3-pot", FigureUnit::Ohm, 3, true},
    {"measured-fo", FigureUnit::Hertz, 5, false},
    {"measured-depth", FigureUnit::Decibel, 1, false},
    {"measured-reject", FigureUnit::Decibel, 1, false},
    {"measured-trim-r1", FigureUnit::Ohm, 4, false},
    {"measured-trim-r3", FigureUnit::Ohm, 4, false},
    {"measured-trim-r1-change", FigureUnit::Percent, 2, false},
    {"measured-trim-r3-change", FigureUnit::Percent, 2, false},
    {"h2", FigureUnit::Decibel, 2, false},
    {"h3", FigureUnit::Decibel, 2, false},
    {"h4", FigureUnit::Decibel, 2, false},
    {"h5", FigureUnit::Decibel, 2, false},
    {"build-h2", FigureUnit::Decibel, 2, false},
    {"build-h3", FigureUnit::Decibel, 2, false},
    {"build-h4", FigureUnit::Decibel, 2, false},
    {"build-h5", FigureUnit::Decibel, 2, false},
    {"drift-fo-low", FigureUnit::Hertz, 5, false},
    {"drift-fo-high", FigureUnit::Hertz, 5, false},
    {"drift-reject", FigureUnit::Decibel, 1, false},
    {"spread-low", FigureUnit::Decibel, 1, false},
    {"spread-high", FigureUnit::Decibel, 1, false},
};

constexpr const FigureInfo& InfoOf(Figure figure) { return kFigures[static_cast<int>(figure)]; }

}  // namespace notchwell
