#include <windows.h>

#include "dialog.h"

// Runs the dialog and ends with exit code 0 whichever way it was closed,
// and also when the dialog could not be created at all.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(instance, "NOTCHWELL", nullptr, CalculatorDlgProc, 0);
  return 0;
}
