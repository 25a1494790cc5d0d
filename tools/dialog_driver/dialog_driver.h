// Drives a running notchwell.exe from another process, the way a user
// would: field texts, list selections, posted keystrokes and commands;
// and reads back what the dialog shows.
#pragma once

#include <windows.h>

#include <string>

namespace driver {

// A Unix path (as CTest passes them under Wine) as a Windows path.
std::string WindowsPath(const char* path);

// Every wait below, multiplied by NOTCHWELL_TIMEOUT_SCALE (1 by default;
// raised where the program runs emulated, many times slower).
DWORD Patience(DWORD timeout_ms);

struct Program {
  PROCESS_INFORMATION process;
  HWND dialog;      // null when no dialog came up
  DWORD waited_ms;  // from the start until the dialog came up, or the wait ended
  // The group box (the dialog's first child): its pushed state, which
  // nothing else uses and nothing shows, serves as a posted marker.
  HWND marker;
};

// Starts the program and waits for its dialog to be visible.
Program Start(const std::string& exe);
// Waits for the process to end; its exit code, or -1 on time-out.
int WaitForExit(Program& program, DWORD timeout_ms = 10000);
// Ends the process if it is still running, and closes its handles.
void Stop(Program& program);

HWND Control(const Program& p, int id);

// Texts as the controls hold them, through the wide calls so that they
// cross process boundaries intact.
std::wstring Text(HWND window);
void SetText(HWND window, const std::wstring& text);
std::wstring ListEntry(HWND combo, int index);

// Posts the marker behind everything posted so far to the dialog's thread
// and waits for its effect, leaving the marker pushed. With spin the wait
// polls without sleeping, so that a timing sees only the round trip; it
// then notices a vanished dialog only by its time-out.
bool PostMarkerAndWait(const Program& p, bool spin);
// Waits until everything posted so far to the dialog's thread has been
// handled, and resets the marker.
bool Settle(const Program& p);

// A key press (down, up) posted to the
// control that has the focus, then Settle.
void PressKey(const Program& p, WPARAM virtual_key);
// Characters posted to a window as typed, then Settle.
void Type(const Program& p, HWND window, const std::wstring& text);
// A button click, as BM_CLICK, then Settle.
void Click(const Program& p, int id);

// The active window of the dialog's thread: the dialog, or a box it shows.
HWND ActiveWindow(const Program& p);
// The control with the keyboard focus on the dialog's thread.
HWND Focus(const Program& p);
// Its dialog identifier; a combo box's edit part counts as the combo box.
int FocusId(const Program& p);

// The message box owned by the dialog, if one is showing.
HWND FindMessageBox(const Program& p, DWORD timeout_ms = 5000);
// Presses the message box's OK button and waits until it is gone, the
// dialog is active again and the program has handled the box's outcome
// (the focus set): false if any of that does not come.
bool DismissMessageBox(const Program& p, HWND box);

// Writes what the screen shows of a window as an RGB PNG file.
bool SaveScreenshot(HWND window, const std::string& png_path);

}  // namespace driver
