// Everything one update of the design panel reads, in one plain struct:
// the form as the calculator read it at the last OK press that wrote a
// result, each list's selected index and each value field's text. The
// page fills it in before every update; nothing else carries over.
#pragma once

#include "design_report.h"
#include "evaluate_form.h"
#include "panel_controls.h"
#include "part_value_text.h"

namespace notchwell {

struct PanelSnapshot {
  FormSnapshot form;  // its mode names the field the calculator wrote
  int choices[kPanelListCount];
  // UTF-8 texts of their lengths, NULs and all: a field's text is all it
  // holds, not what comes before a NUL.
  char fields[kPanelFields][kFieldTextSize];
  int field_lengths[kPanelFields];
};

// Why the form makes no network, naming the first field (R, C, Fo) at fault.
enum class FormProblem : int {
  None,
  NotANumber,  // no number in the text, or an infinite result (1.#INF00)
  Negative,
  Zero,      // reads as zero: a result that lost all its digits, say
  Infinite,  // beyond any double once in ohms, farads or hertz
};

struct FormReading {
  FormProblem problem;
  Quantity field;  // with the problem, or else the field the calculator wrote
  // The written field's text keeps fewer than four significant digits of
  // what the calculator computed (or reads as zero): the panel designs
  // for what the text reads as, and says so.
  bool imprecise;
  double reads;     // the written field's value as its text reads, in ohms, farads or hertz
  double computed;  // what the calculator computed there, the same unit
};

struct PanelReading {
  FormReading form;
  ValueReading fields[kPanelFields];
  int field_problems;  // bit n for field n
  bool measured;       // all six measured parts given
};

// The field's text as the snapshot holds it.
std::string_view PanelFieldText(const PanelSnapshot& snapshot, int field);

// Whether the active network is chosen with the custom op-amp, whose
// fields then count.
bool CustomOpAmpInUse(const PanelSnapshot& snapshot);

// A field's text read as its kind: the custom op-amp's fields read as
// empty and good while it is not in use, and empty as no number while it is.
ValueReading ReadPanelField(const PanelSnapshot& snapshot, int field);

// Reads the snapshot into `inputs` (whose analysis choices are the lists'
// indices); true when the form makes a network and every field's text is
// good, so that the report can be worked out.
bool ReadPanelSnapshot(const PanelSnapshot& snapshot, PanelReading& reading, DesignInputs& inputs);

}  // namespace notchwell
