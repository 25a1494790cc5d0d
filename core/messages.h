// What the user is told, and where the focus goes, for each quantity.
#pragma once

#include "quantity.h"

namespace notchwell {

struct QuantityMessages {
  FormField value_field;
  FormField units_field;
  const char* invalid_units;
  const char* invalid_value;
  const char* missing;
};

// Indexed by Quantity.
inline constexpr QuantityMessages kQuantityMessages[kQuantityCount] = {
    {FormField::Resistance, FormField::ResistanceUnits, "Invalid resistance units index",
     "Invalid resistance value entered", "Resistance value is missing"},
    {FormField::Capacitance, FormField::CapacitanceUnits, "Invalid capacitance units index",
     "Invalid capacitance value entered", "Capacitance value is missing"},
    {FormField::Frequency, FormField::FrequencyUnits, "Invalid frequency units index",
     "Invalid frequency value entered", "Frequency value is missing"},
};

constexpr const QuantityMessages& MessagesFor(Quantity quantity) {
  return kQuantityMessages[static_cast<int>(quantity)];
}

// Caption of every message box the dialog shows.
inline constexpr const char kMessageCaption[] = "Notchwell Calculator";

}  // namespace notchwell
