#include "dialog_driver.h"

#include <cstdlib>
#include <vector>

namespace driver {
namespace {

constexpr wchar_t kDialogCaption[] = L"Notchwell Network Calculator";
constexpr wchar_t kDialogClass[] = L"#32770";

struct Search {
  DWORD process_id;
  HWND owner;  // null: the program's main dialog; else a box it owns
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (pid != search->process_id || lstrcmpW(cls, kDialogClass) != 0 || !IsWindowVisible(window)) return TRUE;
  if (search->owner == nullptr) {
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (lstrcmpW(caption, kDialogCaption) != 0) return TRUE;
  } else if (GetWindow(window, GW_OWNER) != search->owner) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindTopLevel(DWORD pid, HWND owner, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    Search search{pid, owner, nullptr};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    if (search.found || GetTickCount() - start > timeout_ms) return search.found;
    Sleep(5);
  }
}

DWORD DialogThread(const Program& p) { return GetWindowThreadProcessId(p.dialog, nullptr); }

}  // namespace

DWORD Patience(DWORD timeout_ms) {
  static const DWORD scale = [] {
    char text[16] = {};
    const DWORD length = GetEnvironmentVariableA("NOTCHWELL_TIMEOUT_SCALE", text, sizeof text);
    const unsigned long value = length > 0 && length < sizeof text ? std::strtoul(text, nullptr, 10) : 1;
    return value >= 1 && value <= 1000 ? static_cast<DWORD>(value) : 1;
  }();
  return timeout_ms * scale;
}

std::string WindowsPath(const char* path) {
  std::string s = path;
  if (!s.empty() && s[0] == '/') s = "Z:" + s;
  return s;
}

Program Start(const std::string& exe) {
  const DWORD started = GetTickCount();
  Program p{};
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string command = "\"" + exe + "\"";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p.process)) {
    return p;
  }
  WaitForInputIdle(p.process.hProcess, Patience(10000));
  p.dialog = FindTopLevel(p.process.dwProcessId, nullptr, Patience(20000));
  p.waited_ms = GetTickCount() - started;
  if (p.dialog) p.marker = GetWindow(p.dialog, GW_CHILD);
  return p;
}

int WaitForExit(Program& p, DWORD timeout_ms) {
  if (!p.process.hProcess || WaitForSingleObject(p.process.hProcess, Patience(timeout_ms)) != WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(p.process.hProcess, &code);
  return static_cast<int>(code);
}

void Stop(Program& p) {
  if (!p.process.hProcess) return;
  if (WaitForSingleObject(p.process.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(p.process.hProcess, 1);
    WaitForSingleObject(p.process.hProcess, 5000);
  }
  CloseHandle(p.process.hThread);
  CloseHandle(p.process.hProcess);
  p = Program{};
}

HWND Control(const Program& p, int id) { return GetDlgItem(p.dialog, id); }

std::wstring Text(HWND window) {
  wchar_t buffer[256] = {};
  SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

void SetText(HWND window, const std::wstring& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ListEntry(HWND combo, int index) {
  wchar_t buffer[64] = {};
  if (SendMessageW(combo, CB_GETLBTEXTLEN, index, 0) >= 64) return L"?";
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

bool PostMarkerAndWait(const Program& p, bool spin) {
  if (!p.marker) return false;
  SendMessageW(p.marker, BM_SETSTATE, FALSE, 0);
  PostMessageW(p.marker, BM_SETSTATE, TRUE, 0);
  const DWORD start = GetTickCount();
  while (!(SendMessageW(p.marker, BM_GETSTATE, 0, 0) & BST_PUSHED)) {
    if (GetTickCount() - start > Patience(10000)) return false;
    if (!spin) {
      if (!IsWindow(p.marker)) return false;
      Sleep(1);
    }
  }
  return true;
}

bool Settle(const Program& p) {
  if (!IsWindow(p.marker) || !PostMarkerAndWait(p, false)) return false;
  SendMessageW(p.marker, BM_SETSTATE, FALSE, 0);
  return true;
}

HWND ActiveWindow(const Program& p) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(DialogThread(p), &info) ? info.hwndActive : nullptr;
}

HWND Focus(const Program& p) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(DialogThread(p), &info)) return nullptr;
  return info.hwndFocus;
}

int FocusId(const Program& p) {
  HWND focus = Focus(p);
  if (!focus) return 0;
  HWND parent = GetParent(focus);
  wchar_t cls[32] = {};
  if (parent && parent != p.dialog && GetClassNameW(parent, cls, 32) && lstrcmpiW(cls, L"ComboBox") == 0) {
    focus = parent;
  }
  return GetDlgCtrlID(focus);
}

void PressKey(const Program& p, WPARAM key) {
  HWND target = Focus(p);
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  // The dialog manager acts on the key-down of Tab, Enter, Escape and the
  // arrows, so no character message follows them.
  PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
  Settle(p);
}

void Type(const Program& p, HWND window, const std::wstring& text) {
  for (wchar_t ch : text) PostMessageW(window, WM_CHAR, ch, 1);
  Settle(p);
}

void Click(const Program& p, int id) {
  PostMessageW(Control(p, id), BM_CLICK, 0, 0);
  Settle(p);
}

HWND FindMessageBox(const Program& p, DWORD timeout_ms) {
  return FindTopLevel(p.process.dwProcessId, p.dialog, Patience(timeout_ms));
}

bool DismissMessageBox(const Program& p, HWND box) {
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  // The box is hidden while its own modal loop still runs, and that loop
  // handles a posted marker too. It is destroyed only on the way out of
  // MessageBox, and the program sets the focus before its thread reads a
  // message again: so wait for the box to be gone and the dialog active
  // once more, then let a marker through the dialog's own loop.
  const DWORD start = GetTickCount();
  while (IsWindow(box) || ActiveWindow(p) != p.dialog) {
    if (GetTickCount() - start > Patience(5000)) return false;
    Sleep(2);
  }
  return Settle(p) && Focus(p) != nullptr;
}

}  // namespace driver
