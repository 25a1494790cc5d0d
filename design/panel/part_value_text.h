// Reading the panel's value fields as a person writes a part's value: the
// source and load resistances ("600", "4.7k", "1M", also "4k7" and a
// trailing "Ω" or "ohm"), resistors and capacitors read off a meter
// (capacitances with p, n, u or µ: "98.7n", "4n7", "0.1uF"), and an
// op-amp's datasheet figures: gain-bandwidth ("3M", "800k", "3 MHz",
// "10e6"), open-loop gain ("106", "106 dB"), slew rate ("13",
// "0.3 V/µs") and input noise ("5", "5 nV/√Hz"; "0.7", "0.7 pA/√Hz"); and
// the signal a distortion analyser measures ("1", "2.5 V").
#pragma once

#include <string_view>

namespace notchwell {

enum class ValueField : int {
  Source,
  Load,
  MeasuredResistor,
  MeasuredCapacitor,
  GainBandwidth,
  OpenLoopGain,
  SlewRate,
  NoiseVoltage,  // nV/sqrt(Hz), 0 for none
  NoiseCurrent,  // pA/sqrt(Hz), 0 for none
  Signal         // V rms
};

// The panel's value fields (named, and put in groups, in panel_controls.h).
constexpr int kPanelFields = 14;

enum class ValueProblem : int {
  None,
  NotANumber,
  Negative,
  ZeroLoad,    // a load of 0 ohms would short the output
  SmallM,      // m could mean milli or, as on the dialog, mega
  TooLarge,    // a source or load above kLargestResistance
  OutOfRange,  // a source or load below kSmallestResistance, or a measured part or op-amp figure outside its range
  Count
};

constexpr double kLargestResistance = 1e12;
constexpr double kSmallestResistance = 1e-3;  // of a source or load other than 0
// What a meter's reading of a part may be.
constexpr double kMeasuredResistanceLowest = kSmallestResistance;
constexpr double kMeasuredResistanceHighest = kLargestResistance;
constexpr double kMeasuredCapacitanceLowest = 1e-15;
constexpr double kMeasuredCapacitanceHighest = 1;
// The signal an analyser measures, V rms.
constexpr double kSignalLowest = 1e-6;
constexpr double kSignalHighest = 1000;

struct ValueReading {
  ValueProblem problem;
  bool empty;    // nothing but blanks: no source resistance, no load, not measured yet
  double value;  // in SI units (ohms, farads, V/sqrt(Hz) ...), when there is no problem and the text is not empty
};

// `text` in UTF-8, all of it: a control character anywhere, NUL among
// them, makes it not a number. A source may be 0 ohms; a load, a measured
// part and an op-amp's figure not (a gain in dB, the op-amp's ranges in
// op_amps.h).
ValueReading ReadValueText(std::string_view text, ValueField field);

// What the field tells the person, for each problem.
const char* ValueProblemMessage(ValueProblem problem, ValueField field);

}  // namespace notchwell
