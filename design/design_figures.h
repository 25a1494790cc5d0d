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
};

constexpr const FigureInfo& InfoOf(Figure figure) { return kFigures[static_cast<int>(figure)]; }

}  // namespace notchwell
