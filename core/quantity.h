// The vocabulary shared by the calculation and the dialog.
#pragma once

#include "control_ids.h"

namespace notchwell {

enum class Quantity : int { Resistance, Capacitance, Frequency };

constexpr int kQuantityCount = 3;

// The quantity to solve for, as marked by the radio buttons.
enum class CalcMode : int { SolveFrequency, SolveResistance, SolveCapacitance };

// The quantity a mode solves for: the field the calculation writes.
constexpr Quantity SolvedQuantity(CalcMode mode) {
  return mode == CalcMode::SolveResistance    ? Quantity::Resistance
         : mode == CalcMode::SolveCapacitance ? Quantity::Capacitance
                                              : Quantity::Frequency;
}

// The six input controls a calculation reads and an outcome can point at;
// each is its control identifier on the dialog.
enum class FormField : int {
  Resistance = IDC_RESISTANCE,
  Capacitance = IDC_CAPACITANCE,
  Frequency = IDC_FREQUENCY,
  ResistanceUnits = IDC_RESISTANCE_UNITS,
  CapacitanceUnits = IDC_CAPACITANCE_UNITS,
  FrequencyUnits = IDC_FREQUENCY_UNITS,
};

}  // namespace notchwell
