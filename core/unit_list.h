// The three fixed unit lists: labels as the dialog shows them and the
// factors that scale a value to and from ohms, farads and hertz.
#pragma once

#include "quantity.h"

namespace notchwell {

struct UnitEntry {
  const char* label;
  // False for the base unit (Ohm, Hz): no multiplication takes place at all.
  bool scaled;
  double input_factor;   // value in this unit * factor = base unit
  double output_factor;  // base unit * factor = value in this unit
};

constexpr int kUnitCount = 3;

struct UnitList {
  UnitEntry entries[kUnitCount];
  int default_index;
};

// "mOhm" and "mHz" mean mega (10^6), not milli: the labels are kept as the
// program has always shown them.
constexpr UnitList kResistanceUnits = {{
                                           {"Ohm", false, 1.0, 1.0},
                                           {"kOhm", true, 1000.0, 0.001},
                                           {"mOhm", true, 1000000.0, 0.000001},
                                       },
                                       1};

constexpr UnitList kCapacitanceUnits = {{
                                            {"pf", true, 1e-12, 1e12},
                                            {"nf", true, 1e-9, 1e9},
                                            {"uf", true, 1e-6, 1e6},
                                        },
                                        1};

constexpr UnitList kFrequencyUnits = {{
                                          {"Hz", false, 1.0, 1.0},
                                          {"kHz", true, 1000.0, 0.001},
                                          {"mHz", true, 1000000.0, 0.000001},
                                      },
                                      0};

constexpr const UnitList& UnitsOf(Quantity quantity) {
  return quantity == Quantity::Resistance    ? kResistanceUnits
         : quantity == Quantity::Capacitance ? kCapacitanceUnits
                                             : kFrequencyUnits;
}

constexpr bool IsUnitIndex(int index) { return index >= 0 && index < kUnitCount; }

// value * input factor, or the value itself for the base unit.
constexpr double ScaleToBase(const UnitEntry& unit, double value) {
  return unit.scaled ? value * unit.input_factor : value;
}

// value * output factor, or the value itself for the base unit.
constexpr double ScaleFromBase(const UnitEntry& unit, double value) {
  return unit.scaled ? value * unit.output_factor : value;
}

}  // namespace notchwell
