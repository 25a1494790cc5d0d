#include <windows.h>

// Shows the dialog and ends when it is closed; nothing else.
static INT_PTR CALLBACK MinimalProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if ((message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) || message == WM_CLOSE) {
    EndDialog(dialog, 0);
  }
  return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(instance, "MINIMAL", nullptr, MinimalProc, 0);
  return 0;
}
