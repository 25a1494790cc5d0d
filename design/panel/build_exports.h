// The nearest build of a report as the SPICE netlist and the KiCad
// schematic the page offers:
// its parts, the form's source and load, the divider and the chosen
// op-amps of an active network, and a sweep around the form's Fo.
#pragma once

#include "design_report.h"
#include "kicad_schematic.h"
#include "spice_netlist.h"

namespace notchwell {

// Appends to `out`; nothing when the build is out of range.
void WriteBuildNetlist(const DesignInputs& inputs, const DesignReport& report, NetlistText& out);

// The same build as a KiCad 9 schematic, with its texts.
void WriteBuildSchematic(const DesignInputs& inputs, const DesignReport& report, const KicadSheetText& text,
                         NetlistText& out);

}  // namespace notchwell
