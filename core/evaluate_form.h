// One OK press: from what the dialog holds to what it should show.
#pragma once

#include "quantity.h"

namespace notchwell {

// Field texts travel in buffers of this size: 63 characters and a terminator.
constexpr int kFieldTextSize = 64;

struct FormSnapshot {
  CalcMode mode;
  // Selected entry of each unit list, or -1 when the list has no selection.
  int resistance_unit;
  int capacitance_unit;
  int frequency_unit;
  // Field texts; a text ends at its terminator or at the end of the buffer.
  char resistance_text[kFieldTextSize];
  char capacitance_text[kFieldTextSize];
  char frequency_text[kFieldTextSize];
};

enum class OutcomeKind : int { Nothing, Error, Result };

struct CalcOutcome {
  OutcomeKind kind;
  // Error: the control to receive the focus. Result: the solved value field.
  FormField field;
  const char* message;        // Error only; a constant text
  char text[kFieldTextSize];  // Result only
};

// Checks the snapshot in a fixed order, stops at the first problem and
// otherwise solves Fo = 1/(2 pi R C) for the marked quantity.
CalcOutcome EvaluateForm(const FormSnapshot& snapshot);

}  // namespace notchwell
