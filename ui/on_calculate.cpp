#include <windows.h>

#include "control_ids.h"
#include "dialog.h"
#include "evaluate_form.h"
#include "messages.h"

namespace {

using notchwell::CalcMode;
using notchwell::CalcOutcome;
using notchwell::FormSnapshot;
using notchwell::kFieldTextSize;
using notchwell::OutcomeKind;

bool IsChecked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The list's selected index, or -1 (CB_ERR) when it has none.
int Selection(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)); }

void FocusOn(HWND dialog, int id) { SetFocus(GetDlgItem(dialog, id)); }

}  // namespace

void OnCalculate(HWND dialog) {
  FormSnapshot s{};
  // With no button checked (not reachable from the dialog) it solves for C.
  s.mode = IsChecked(dialog, IDC_SOLVE_FO)  ? CalcMode::SolveFrequency
           : IsChecked(dialog, IDC_SOLVE_R) ? CalcMode::SolveResistance
                                            : CalcMode::SolveCapacitance;
  s.frequency_unit = Selection(dialog, IDC_FREQUENCY_UNITS);
  s.capacitance_unit = Selection(dialog, IDC_CAPACITANCE_UNITS);
  s.resistance_unit = Selection(dialog, IDC_RESISTANCE_UNITS);
  GetDlgItemTextA(dialog, IDC_RESISTANCE, s.resistance_text, kFieldTextSize);
  GetDlgItemTextA(dialog, IDC_CAPACITANCE, s.capacitance_text, kFieldTextSize);
  GetDlgItemTextA(dialog, IDC_FREQUENCY, s.frequency_text, kFieldTextSize);

  const CalcOutcome outcome = notchwell::EvaluateForm(s);
  const int field = static_cast<int>(outcome.field);
  switch (outcome.kind) {
    case OutcomeKind::Nothing:
      break;
    case OutcomeKind::Error:
      MessageBoxA(dialog, outcome.message, notchwell::kMessageCaption, MB_OK | MB_ICONERROR);
      FocusOn(dialog, field);
      break;
    case OutcomeKind::Result:
      SetDlgItemTextA(dialog, field, outcome.text);
      FocusOn(dialog, IDC_RESISTANCE);
      break;
  }
}
