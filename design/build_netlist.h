// The nearest build of a report as the SPICE netlist the page offers:
// its parts, the form's source and load, the divider and the chosen
// op-amps of an active network, and a sweep around the form's Fo.
#pragma once

#include "design_report.h"
#include "spice_netlist.h"

namespace notchwell {

// Appends to `out`; nothing when the build is out of range.
void WriteBuildNetlist(const DesignInputs& inputs, const DesignReport& report, NetlistText& out);

}  // namespace notchwell
