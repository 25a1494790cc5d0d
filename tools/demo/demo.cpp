// The worked example, played through the real dialog: solve for Fo from
// R = 10 kOhm and C = 10 nf, then save a picture of the result.
//
//   notchwell_demo NOTCHWELL.EXE SCREENSHOT.PNG
#include <windows.h>

#include <cstdio>
#include <string>

#include "control_ids.h"
#include "dialog_driver.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: notchwell_demo NOTCHWELL.EXE SCREENSHOT.PNG\n");
    return 2;
  }
  driver::Program p = driver::Start(driver::WindowsPath(argv[1]));
  if (!p.dialog) {
    std::fprintf(stderr, "the dialog did not appear\n");
    driver::Stop(p);
    return 1;
  }
  driver::Click(p, IDC_SOLVE_FO);
  SendMessageW(p.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(driver::Control(p, IDC_RESISTANCE)), TRUE);
  driver::Settle(p);
  driver::Type(p, driver::Control(p, IDC_RESISTANCE), L"10");
  driver::PressKey(p, VK_TAB);  // to the R unit list, left at kOhm
  driver::PressKey(p, VK_TAB);  // to the C field
  driver::Type(p, driver::Control(p, IDC_CAPACITANCE), L"10");
  driver::PressKey(p, VK_RETURN);

  const std::wstring result = driver::Text(driver::Control(p, IDC_FREQUENCY));
  std::printf("R = 10 kOhm, C = 10 nf  ->  Fo = %ls Hz\n", result.c_str());
  Sleep(300);  // let the dialog finish painting
  const bool saved = driver::SaveScreenshot(p.dialog, driver::WindowsPath(argv[2]));
  if (saved) std::printf("screenshot: %s\n", argv[2]);
  PostMessageW(driver::Control(p, IDCANCEL), BM_CLICK, 0, 0);
  const int code = driver::WaitForExit(p);
  driver::Stop(p);
  return saved && result == L"1591.549438" && code == 0 ? 0 : 1;
}
