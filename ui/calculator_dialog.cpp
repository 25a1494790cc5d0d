#include <windows.h>

#include "control_ids.h"
#include "dialog.h"
#include "unit_list.h"

namespace {

using notchwell::UnitList;

// Value fields take at most this many typed characters; results written
// by the program may be longer.
constexpr WPARAM kTypedCharacterLimit = 8;

void FillUnitList(HWND dialog, int list_id, const UnitList& units) {
  for (const auto& entry : units.entries) {
    SendDlgItemMessageA(dialog, list_id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.label));
  }
  // The search starts after entry 0 and wraps, so "Hz" is found last.
  SendDlgItemMessageA(dialog, list_id, CB_SELECTSTRING, 0,
                      reinterpret_cast<LPARAM>(units.entries[units.default_index].label));
}

void CentreOnDesktop(HWND dialog) {
  RECT desktop;
  RECT own;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  // Also shows the dialog: the template is not visible by itself.
  SetWindowPos(dialog, HWND_TOP, (desktop.right - width) / 2, (desktop.bottom - height) / 2, width, height,
               SWP_SHOWWINDOW);
}

void OnInitDialog(HWND dialog) {
  const int fields[] = {IDC_RESISTANCE, IDC_CAPACITANCE, IDC_FREQUENCY};
  for (int field : fields) {
    SendDlgItemMessageA(dialog, field, EM_LIMITTEXT, kTypedCharacterLimit, 0);
  }
  SendDlgItemMessageA(dialog, IDC_SOLVE_R, BM_SETCHECK, BST_CHECKED, 0);
  FillUnitList(dialog, IDC_CAPACITANCE_UNITS, notchwell::kCapacitanceUnits);
  FillUnitList(dialog, IDC_RESISTANCE_UNITS, notchwell::kResistanceUnits);
  FillUnitList(dialog, IDC_FREQUENCY_UNITS, notchwell::kFrequencyUnits);
  CentreOnDesktop(dialog);
  SetFocus(GetDlgItem(dialog, IDC_RESISTANCE));
}

}  // namespace

INT_PTR CALLBACK CalculatorDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      break;  // FALSE: the focus stays where it was put
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:
          OnCalculate(dialog);
          break;
        case IDCANCEL:
          EndDialog(dialog, 0);
          break;
      }
      break;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      break;
  }
  return FALSE;
}
