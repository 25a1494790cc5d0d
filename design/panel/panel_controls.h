// The design panel's lists and value fields, named once: the page's
// data-design names and the link's keys, in the order the panel snapshot
// holds them. The page fills its lists from here, and the print tool and
// the tests take their order from here too.
#pragma once

#include "design_choices.h"
#include "op_amps.h"
#include "part_value_text.h"

namespace notchwell {

enum class PanelList : int {
  ResistorSeries,
  CapacitorSeries,
  ResistorTolerance,
  CapacitorTolerance,
  Network,
  ResistorTempco,
  CapacitorTempco,
  TemperatureRange,
  OpAmp,
  RejectBand,
  PlotView,
  TuneBuilt,
  NoiseBand,
  Count
};
constexpr int kPanelListCount = static_cast<int>(PanelList::Count);

// A list: its name, length and default, and what each option is: a name
// (a series', an op-amp's), or a number (a tolerance in percent, a
// network's target Q or 0 for the passive one, a tempco in ppm/K, a
// range's low end in degrees Celsius) with the high end of a range, and
// the parts a tempco or an op-amp comes with or what a range is for.
struct PanelListInfo {
  const char* name;
  int count;
  int default_index;
  const char* (*option_name)(int option);
  double (*value)(int option);
  double (*high)(int option);
  const char* (*label)(int option);
};

namespace panel_options {
inline const char* NoName(int) { return nullptr; }
inline double None(int) { return 0; }
inline const char* NoLabel(int) { return nullptr; }
template <const auto& kChoices>
inline const char* Series(int i) {
  return SeriesOf(kChoices.options[i]).name;
}
template <const auto& kChoices>
inline double Number(int i) {
  return kChoices.options[i];
}
template <const auto& kChoices>
inline double Tempco(int i) {
  return kChoices.options[i].ppm_per_kelvin;
}
template <const auto& kChoices>
inline const char* Parts(int i) {
  return kChoices.options[i].parts;
}
inline const char* ViewName(int i) { return kPlotViews.options[i]; }
inline const char* BuiltName(int i) { return kTuneBuilds.options[i]; }
inline const char* OpAmpName(int i) { return kOpAmps.options[i].name; }
inline const char* OpAmpParts(int i) { return kOpAmps.options[i].parts; }
inline double Low(int i) { return kTemperatureRanges.options[i].low; }
inline double High(int i) { return kTemperatureRanges.options[i].high; }
inline const char* Use(int i) { return kTemperatureRanges.options[i].use; }
inline const char* BandName(int i) { return kNoiseBands.options[i].name; }
inline double BandLow(int i) { return kNoiseBands.options[i].low_hertz; }
inline double BandHigh(int i) { return kNoiseBands.options[i].high_hertz; }
}  // namespace panel_options

template <typename T, int N>
constexpr PanelListInfo ListOf(const char* name, const Choices<T, N>& choices, const char* (*option_name)(int),
                               double (*value)(int), double (*high)(int), const char* (*label)(int)) {
  return {name, N, choices.default_index, option_name, value, high, label};
}

inline constexpr PanelListInfo kPanelLists[kPanelListCount] = {
    ListOf("resistor-series", kResistorSeries, panel_options::Series<kResistorSeries>, panel_options::None,
           panel_options::None, panel_options::NoLabel),
    ListOf("capacitor-series", kCapacitorSeries, panel_options::Series<kCapacitorSeries>, panel_options::None,
           panel_options::None, panel_options::NoLabel),
    ListOf("resistor-tolerance", kResistorTolerances, panel_options::NoName, panel_options::Number<kResistorTolerances>,
           panel_options::None, panel_options::NoLabel),
    ListOf("capacitor-tolerance", kCapacitorTolerances, panel_options::NoName,
           panel_options::Number<kCapacitorTolerances>, panel_options::None, panel_options::NoLabel),
    ListOf("network", kNetworks, panel_options::NoName, panel_options::Number<kNetworks>, panel_options::None,
           panel_options::NoLabel),
    ListOf("resistor-tempco", kResistorTempcos, panel_options::NoName, panel_options::Tempco<kResistorTempcos>,
           panel_options::None, panel_options::Parts<kResistorTempcos>),
    ListOf("capacitor-tempco", kCapacitorTempcos, panel_options::NoName, panel_options::Tempco<kCapacitorTempcos>,
           panel_options::None, panel_options::Parts<kCapacitorTempcos>),
    ListOf("temperature-range", kTemperatureRanges, panel_options::NoName, panel_options::Low, panel_options::High,
           panel_options::Use),
    ListOf("opamp", kOpAmps, panel_options::OpAmpName, panel_options::None, panel_options::None,
           panel_options::OpAmpParts),
    ListOf("reject-band", kRejectBands, panel_options::NoName, panel_options::Number<kRejectBands>, panel_options::None,
           panel_options::NoLabel),
    ListOf("plot-view", kPlotViews, panel_options::ViewName, panel_options::None, panel_options::None,
           panel_options::NoLabel),
    ListOf("tune-built", kTuneBuilds, panel_options::BuiltName, panel_options::None, panel_options::None,
           panel_options::NoLabel),
    ListOf("noise-band", kNoiseBands, panel_options::BandName, panel_options::BandLow, panel_options::BandHigh,
           panel_options::NoLabel),
};

// The option chosen on a list, its default for an index out of range.
inline int ChosenIndex(const int (&choices)[kPanelListCount], PanelList list) {
  const int index = choices[static_cast<int>(list)];
  return index >= 0 && index < kPanelLists[static_cast<int>(list)].count
             ? index
             : kPanelLists[static_cast<int>(list)].default_index;
}

// The fields' groups, each of fields that stand together: the source and
// the load; the measured parts, which count when all are given; the
// custom op-amp's figures, which count while it is chosen; the signal an
// analyser measures the noise against.
enum class FieldGroup : int { Surroundings, Measured, OpAmp, Noise, Count };
inline constexpr const char* kFieldGroupNames[static_cast<int>(FieldGroup::Count)] = {"surroundings", "measured",
                                                                                      "opamp", "noise"};

// The source, the load, the measured R1, R2, R3, C1, C2 and C3, then the
// custom op-amp's gain-bandwidth, open-loop gain, slew rate and noise, and
// the signal the noise is measured against: each with
// the label the page shows and what an empty field means (none: the
// group's hint says).
struct PanelFieldInfo {
  const char* name;
  ValueField kind;
  FieldGroup group;
  const char* label;
  const char* empty_means;
};
inline constexpr PanelFieldInfo kPanelFieldTable[kPanelFields] = {
    {"source", ValueField::Source, FieldGroup::Surroundings, "Source resistance", "0 \u03a9"},
    {"load", ValueField::Load, FieldGroup::Surroundings, "Load resistance", "none"},
    {"measured-r1", ValueField::MeasuredResistor, FieldGroup::Measured, "R1", nullptr},
    {"measured-r2", ValueField::MeasuredResistor, FieldGroup::Measured, "R2", nullptr},
    {"measured-r3", ValueField::MeasuredResistor, FieldGroup::Measured, "R3", nullptr},
    {"measured-c1", ValueField::MeasuredCapacitor, FieldGroup::Measured, "C1", nullptr},
    {"measured-c2", ValueField::MeasuredCapacitor, FieldGroup::Measured, "C2", nullptr},
    {"measured-c3", ValueField::MeasuredCapacitor, FieldGroup::Measured, "C3", nullptr},
    {"opamp-gbw", ValueField::GainBandwidth, FieldGroup::OpAmp, "Gain-bandwidth", nullptr},
    {"opamp-gain", ValueField::OpenLoopGain, FieldGroup::OpAmp, "Open-loop gain", nullptr},
    {"opamp-slew", ValueField::SlewRate, FieldGroup::OpAmp, "Slew rate", nullptr},
    {"opamp-en", ValueField::NoiseVoltage, FieldGroup::OpAmp, "Voltage noise", "none"},
    {"opamp-in", ValueField::NoiseCurrent, FieldGroup::OpAmp, "Current noise", "none"},
    {"noise-signal", ValueField::Signal, FieldGroup::Noise, "Signal", "1 V"},
};
// What a person may type into a field, in characters: well within the
// bytes the snapshot keeps of it.
constexpr int kPanelFieldLength = 32;

// The first field of a group.
constexpr int FirstFieldOf(FieldGroup group) {
  int i = 0;
  while (i < kPanelFields && kPanelFieldTable[i].group != group) ++i;
  return i;
}
constexpr int kFirstMeasuredField = FirstFieldOf(FieldGroup::Measured);
constexpr int kFirstOpAmpField = FirstFieldOf(FieldGroup::OpAmp);
constexpr int kNoiseSignalField = FirstFieldOf(FieldGroup::Noise);
constexpr bool IsInGroup(int field, FieldGroup group) { return kPanelFieldTable[field].group == group; }

}  // namespace notchwell
