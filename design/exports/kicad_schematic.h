// A twin-T as a KiCad 9 schematic (the S-expression format of KiCad 9),
// the netlist's second output: the same circuit, drawn as a person draws
// a twin-T on KiCad's 1.27 mm grid, every symbol it uses embedded, and
// the Sim.* fields that let KiCad's simulator run it as it is (the
// source V1 with AC 1; ideal followers as controlled sources E, real ones
// as the single-pole subcircuit OPAMP carried in the file).
//
// Parts: R1 and R2 the series resistors, R3 and R4 the pair that makes
// R/2, C1 and C2, C3 and C4 the pair that makes 2C, V1 the source; then
// in turn from R5 the source's and the load's resistors and the divider's
// top and bottom; the followers E1 and E2, or U1 and U2.
#pragma once

#include "spice_netlist.h"
#include "twelve_digit_text.h"

namespace notchwell {

// What the schematic says beside the circuit: the title block's title,
// date (YYYY-MM-DD, of the version, never the clock) and comment, and a
// note of the design in lines.
struct KicadSheetText {
  const char* title;
  const char* date;
  const char* comment;
  const char* note;
};

// Appends the whole file. The same circuit and texts give the same bytes:
// every UUID comes from them.
void WriteKicadSchematic(const TwinTCircuit& circuit, const NetlistDivider& divider, double fo_hertz,
                         const KicadSheetText& text, NetlistText& out);

// A value as KiCad users write it: "33k", "4.7k", "100n", "680", "1M"
// (12 significant digits at most).
void KicadValue(double value, char (&text)[kTwelveDigitTextSize + 2]);

}  // namespace notchwell
