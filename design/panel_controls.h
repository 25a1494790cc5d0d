// The design panel's lists and value fields, named once: the page's
// data-design names and the link's keys, in the order the panel snapshot
// holds them. The page fills its lists from here, and the print tool and
// the tests take their order from here too.
#pragma once

#include "design_choices.h"
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
  Count
};
constexpr int kPanelListCount = static_cast<int>(PanelList::Count);

struct PanelListInfo {
  const char* name;
  int count;
  int default_index;
};

template <typename T, int N>
constexpr PanelListInfo ListOf(const char* name, const Choices<T, N>& choices) {
  return {name, N, choices.default_index};
}

inline constexpr PanelListInfo kPanelLists[kPanelListCount] = {
    ListOf("resistor-series", kResistorSeries),
    ListOf("capacitor-series", kCapacitorSeries),
    ListOf("resistor-tolerance", kResistorTolerances),
    ListOf("capacitor-tolerance", kCapacitorTolerances),
    ListOf("network", kNetworks),
    ListOf("resistor-tempco", kResistorTempcos),
    ListOf("capacitor-tempco", kCapacitorTempcos),
    ListOf("temperature-range", kTemperatureRanges),
};

constexpr const PanelListInfo& InfoOf(PanelList list) { return kPanelLists[static_cast<int>(list)]; }

// The source, the load, then the measured R1, R2, R3, C1, C2 and C3.
struct PanelFieldInfo {
  const char* name;
  ValueField kind;
};
inline constexpr PanelFieldInfo kPanelFieldTable[kPanelFields] = {
    {"source", ValueField::Source},
    {"load", ValueField::Load},
    {"measured-r1", ValueField::MeasuredResistor},
    {"measured-r2", ValueField::MeasuredResistor},
    {"measured-r3", ValueField::MeasuredResistor},
    {"measured-c1", ValueField::MeasuredCapacitor},
    {"measured-c2", ValueField::MeasuredCapacitor},
    {"measured-c3", ValueField::MeasuredCapacitor},
};

}  // namespace notchwell
