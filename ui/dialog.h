// The Windows side of Notchwell: one modal dialog.
#pragma once

#include <windows.h>

// Prepares the controls, routes OK and Cancel, ends the dialog on close.
// Returns FALSE for every message.
INT_PTR CALLBACK CalculatorDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The OK command: reads the controls, evaluates them and shows the outcome.
void OnCalculate(HWND dialog);
