// The real notchwell.exe, started and driven from this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "control_ids.h"
#include "dialog_driver.h"
#include "unit_list.h"

namespace {

std::string g_exe;

using driver::Program;

class Dialog : public testing::Test {
 protected:
  void SetUp() override {
    p_ = driver::Start(g_exe);
    ASSERT_NE(p_.dialog, nullptr) << "no dialog from " << g_exe << " after " << p_.waited_ms / 1000.0
                                  << " s (NOTCHWELL_TIMEOUT_SCALE multiplies the waits)";
  }
  void TearDown() override { driver::Stop(p_); }

  HWND Ctl(int id) const { return driver::Control(p_, id); }
  std::wstring TextOf(int id) const { return driver::Text(Ctl(id)); }
  void Fill(int id, const wchar_t* text) { driver::SetText(Ctl(id), text); }
  void SelectUnit(int id, int index) { SendMessageW(Ctl(id), CB_SETCURSEL, index, 0); }
  int Selected(int id) const { return static_cast<int>(SendMessageW(Ctl(id), CB_GETCURSEL, 0, 0)); }
  bool Checked(int id) const { return SendMessageW(Ctl(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Ok() { driver::Click(p_, IDOK); }

  Program p_;
};

TEST_F(Dialog, StartsCentredWithTheDefaults) {
  RECT desktop, own;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(p_.dialog, &own);
  EXPECT_EQ(own.left, (desktop.right - (own.right - own.left)) / 2);
  EXPECT_EQ(own.top, (desktop.bottom - (own.bottom - own.top)) / 2);
  EXPECT_TRUE(IsWindowVisible(p_.dialog));

  EXPECT_TRUE(Checked(IDC_SOLVE_R));
  EXPECT_FALSE(Checked(IDC_SOLVE_C));
  EXPECT_FALSE(Checked(IDC_SOLVE_FO));

  struct {
    int id;
    const wchar_t* entries[3];
    int selected;
  } const lists[] = {{IDC_RESISTANCE_UNITS, {L"Ohm", L"kOhm", L"mOhm"}, 1},
                     {IDC_CAPACITANCE_UNITS, {L"pf", L"nf", L"uf"}, 1},
                     {IDC_FREQUENCY_UNITS, {L"Hz", L"kHz", L"mHz"}, 0}};
  for (const auto& list : lists) {
    ASSERT_EQ(SendMessageW(Ctl(list.id), CB_GETCOUNT, 0, 0), 3) << list.id;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(driver::ListEntry(Ctl(list.id), i), list.entries[i]) << list.id;
    EXPECT_EQ(Selected(list.id), list.selected) << list.id;
    EXPECT_EQ(TextOf(list.id), list.entries[list.selected]) << list.id;
  }
  for (int id : {IDC_RESISTANCE, IDC_CAPACITANCE, IDC_FREQUENCY}) EXPECT_EQ(TextOf(id), L"") << id;
  EXPECT_EQ(driver::FocusId(p_), IDC_RESISTANCE);
}

// The template's font, 8-point "MS Sans Serif", must be there as itself
// and give the classic dialog base units of 6 x 13 pixels (worked out as
// the dialog manager does); the dialog must then have the template's size
// in those units. Wine without its own fonts falls back to another face,
// and the dialog comes out larger.
TEST_F(Dialog, IsDrawnInTheClassicDialogFont) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SIZE letters{};
  GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  const int base_x = (letters.cx / 26 + 1) / 2;
  const int base_y = metrics.tmHeight;
  EXPECT_STREQ(face, L"MS Sans Serif");
  EXPECT_EQ(base_x, 6);
  EXPECT_EQ(base_y, 13);

  RECT client;
  GetClientRect(p_.dialog, &client);
  EXPECT_EQ(client.right, MulDiv(247, base_x, 4));
  EXPECT_EQ(client.bottom, MulDiv(241, base_y, 8));
}

TEST_F(Dialog, OkAtOnceReportsTheMissingCapacitance) {
  Ok();
  HWND box = driver::FindMessageBox(p_);
  ASSERT_NE(box, nullptr);
  wchar_t caption[64] = {};
  GetWindowTextW(box, caption, 64);
  EXPECT_STREQ(caption, L"Notchwell Calculator");
  EXPECT_EQ(GetWindow(box, GW_OWNER), p_.dialog);
  EXPECT_EQ(driver::Text(GetDlgItem(box, 0xFFFF)), L"Capacitance value is missing");
  // One button, OK; no other of the message box buttons is shown.
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDOK)));
  for (int other : {IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    HWND button = GetDlgItem(box, other);
    EXPECT_TRUE(button == nullptr || !IsWindowVisible(button)) << other;
  }
  // The error icon.
  HWND icon = GetDlgItem(box, 0x0440);
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
  EXPECT_FALSE(IsWindowEnabled(p_.dialog)) << "the box is modal to the dialog";

  ASSERT_TRUE(driver::DismissMessageBox(p_, box));
  EXPECT_EQ(driver::FocusId(p_), IDC_CAPACITANCE);
  EXPECT_TRUE(IsWindowEnabled(p_.dialog));
}

// The shared table of OK presses and their outcomes (tests/form_cases.tsv,
// compiled in), which the web page's tests read too.
constexpr char kFormCases[] =
#include "form_cases.inc"
    ;
constexpr char kCodePage1252[] =
#include "code_page_1252.inc"
    ;

struct FormCase {
  std::string name;
  int solve;
  std::wstring texts[3];  // R, C, Fo
  int units[3];
  bool error;
  int field;
  std::wstring text;
};

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  return wide;
}

// Lines of a table, without comments, each split at its tabs.
std::vector<std::vector<std::string>> TableRows(const char* table) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

// What the program reads from a field is what the page hands its core:
// the page's table of code page 1252 is Windows' own conversion.
TEST(CodePage1252, IsThePageTable) {
  std::vector<int> expected(0x10000, '?');
  for (int unit = 0; unit < 0x80; ++unit) expected[unit] = unit;
  for (const auto& row : TableRows(kCodePage1252)) {
    ASSERT_EQ(row.size(), 2u);
    expected[std::stoi(row[0], nullptr, 16)] = std::stoi(row[1], nullptr, 16);
  }
  int mismatches = 0;
  for (int unit = 1; unit < 0x10000; ++unit) {
    const wchar_t text[] = {static_cast<wchar_t>(unit), L'\0'};
    char bytes[4] = {};
    WideCharToMultiByte(1252, 0, text, 1, bytes, sizeof bytes, nullptr, nullptr);
    const int byte = static_cast<unsigned char>(bytes[0]);
    if (byte != expected[unit] && ++mismatches <= 10) ADD_FAILURE() << std::hex << "U+" << unit << " gives " << byte;
  }
  EXPECT_EQ(mismatches, 0);
}

std::vector<FormCase> ReadFormCases() {
  const int solve_ids[] = {IDC_SOLVE_R, IDC_SOLVE_C, IDC_SOLVE_FO};
  const int field_ids[] = {IDC_RESISTANCE, IDC_CAPACITANCE, IDC_FREQUENCY};
  const char* const rows[] = {"R", "C", "Fo"};
  auto row = [&](const std::string& name, const int(&ids)[3]) {
    for (int q = 0; q < 3; ++q) {
      if (name == rows[q]) return ids[q];
    }
    ADD_FAILURE() << "no row " << name;
    return 0;
  };
  std::vector<FormCase> cases;
  bool header = true;
  for (std::vector<std::string> cells : TableRows(kFormCases)) {
    cells.resize(11);
    if (std::exchange(header, false)) continue;
    FormCase k;
    k.name = cells[0];
    k.solve = row(cells[1], solve_ids);
    for (int q = 0; q < 3; ++q) {
      k.texts[q] = Wide(cells[2 + 2 * q]);
      const auto& units = notchwell::UnitsOf(static_cast<notchwell::Quantity>(q));
      k.units[q] = -1;
      for (int i = 0; i < notchwell::kUnitCount; ++i) {
        if (cells[3 + 2 * q] == units.entries[i].label) k.units[q] = i;
      }
    }
    k.error = cells[8] == "error";
    k.field = row(cells[9], field_ids);
    k.text = Wide(cells[10]);
    cases.push_back(k);
  }
  return cases;
}

class DialogForms : public Dialog, public testing::WithParamInterface<FormCase> {};

// Result: the text in the solved field, the focus in R, the dialog still
// open. Error: the message, then the focus on the field, texts kept.
TEST_P(DialogForms, ShowTheOutcome) {
  const FormCase& k = GetParam();
  const int fields[] = {IDC_RESISTANCE, IDC_CAPACITANCE, IDC_FREQUENCY};
  const int lists[] = {IDC_RESISTANCE_UNITS, IDC_CAPACITANCE_UNITS, IDC_FREQUENCY_UNITS};
  driver::Click(p_, k.solve);
  for (int q = 0; q < 3; ++q) {
    Fill(fields[q], k.texts[q].c_str());
    SelectUnit(lists[q], k.units[q]);
  }
  Ok();
  if (k.error) {
    HWND box = driver::FindMessageBox(p_);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver::Text(GetDlgItem(box, 0xFFFF)), k.text);
    ASSERT_TRUE(driver::DismissMessageBox(p_, box));
    EXPECT_EQ(driver::FocusId(p_), k.field);
    for (int q = 0; q < 3; ++q) EXPECT_EQ(TextOf(fields[q]), k.texts[q]) << fields[q];
  } else {
    EXPECT_EQ(driver::FindMessageBox(p_, 0), nullptr);
    EXPECT_EQ(TextOf(k.field), k.text);
    EXPECT_EQ(driver::FocusId(p_), IDC_RESISTANCE);
    EXPECT_TRUE(IsWindowVisible(p_.dialog)) << "OK never closes the dialog";
  }
}

INSTANTIATE_TEST_SUITE_P(Table, DialogForms, testing::ValuesIn(ReadFormCases()),
                         [](const testing::TestParamInfo<FormCase>& info) { return info.param.name; });

TEST_F(Dialog, EnterPressesOk) {
  driver::Click(p_, IDC_SOLVE_FO);
  Fill(IDC_RESISTANCE, L"10");
  Fill(IDC_CAPACITANCE, L"10");
  for (int id : {IDC_CAPACITANCE, IDC_FREQUENCY, IDC_FREQUENCY_UNITS, IDC_SOLVE_FO}) {
    Fill(IDC_FREQUENCY, L"");
    SendMessageW(p_.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Ctl(id)), TRUE);
    driver::Settle(p_);
    driver::PressKey(p_, VK_RETURN);
    EXPECT_EQ(TextOf(IDC_FREQUENCY), L"1591.549438") << "Enter in " << id;
    EXPECT_EQ(driver::FocusId(p_), IDC_RESISTANCE);
  }
}

TEST_F(Dialog, TypingStopsAtEightCharactersButResultsAreWrittenAndReadInFull) {
  driver::Type(p_, Ctl(IDC_RESISTANCE), L"123456789");
  EXPECT_EQ(TextOf(IDC_RESISTANCE), L"12345678");
  driver::Type(p_, Ctl(IDC_FREQUENCY), L"1000000000");
  EXPECT_EQ(TextOf(IDC_FREQUENCY), L"10000000");

  // 15915.494141 pf, written by the program, then read back whole.
  driver::Click(p_, IDC_SOLVE_C);
  Fill(IDC_RESISTANCE, L"10");
  Fill(IDC_FREQUENCY, L"1");
  SelectUnit(IDC_CAPACITANCE_UNITS, 0);
  SelectUnit(IDC_FREQUENCY_UNITS, 1);
  Ok();
  ASSERT_EQ(TextOf(IDC_CAPACITANCE), L"15915.494141");
  driver::Click(p_, IDC_SOLVE_FO);
  SelectUnit(IDC_FREQUENCY_UNITS, 0);
  Ok();
  // 8 characters (15915.49) would give 1000.000297 Hz.
  EXPECT_EQ(TextOf(IDC_FREQUENCY), L"1000.000000");
}

TEST_F(Dialog, ResultsReadBackAsTheyPrint) {
  // 0.000000 reads back as zero, so it is missing next time.
  driver::Click(p_, IDC_SOLVE_FO);
  Fill(IDC_RESISTANCE, L"1");
  Fill(IDC_CAPACITANCE, L"1");
  SelectUnit(IDC_RESISTANCE_UNITS, 2);
  SelectUnit(IDC_CAPACITANCE_UNITS, 2);
  SelectUnit(IDC_FREQUENCY_UNITS, 2);
  Ok();
  ASSERT_EQ(TextOf(IDC_FREQUENCY), L"0.000000");
  driver::Click(p_, IDC_SOLVE_R);
  Ok();
  HWND box = driver::FindMessageBox(p_);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(driver::Text(GetDlgItem(box, 0xFFFF)), L"Frequency value is missing");
  ASSERT_TRUE(driver::DismissMessageBox(p_, box));

  // 1.#INF00 reads back as 1.
  Fill(IDC_FREQUENCY, L"1.#INF00");
  SelectUnit(IDC_FREQUENCY_UNITS, 0);
  SelectUnit(IDC_CAPACITANCE_UNITS, 0);
  Ok();
  EXPECT_EQ(TextOf(IDC_RESISTANCE), L"159154.937500");
}

TEST_F(Dialog, AUnitListWithoutSelectionMakesOkDoNothing) {
  driver::Click(p_, IDC_SOLVE_FO);
  Fill(IDC_RESISTANCE, L"abc");
  Fill(IDC_FREQUENCY, L"old");
  // Typing into the list's edit part leaves it without a selection.
  HWND edit = FindWindowExW(Ctl(IDC_CAPACITANCE_UNITS), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageW(p_.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Ctl(IDC_CAPACITANCE_UNITS)), TRUE);
  driver::Settle(p_);
  driver::Type(p_, edit, L"q");
  ASSERT_EQ(Selected(IDC_CAPACITANCE_UNITS), CB_ERR);
  EXPECT_EQ(TextOf(IDC_CAPACITANCE_UNITS), L"q");
  const int focus = driver::FocusId(p_);

  driver::PressKey(p_, VK_RETURN);  // OK from the keyboard, leaving the focus where it is
  EXPECT_EQ(driver::FindMessageBox(p_, 300), nullptr);
  EXPECT_EQ(TextOf(IDC_RESISTANCE), L"abc");
  EXPECT_EQ(TextOf(IDC_FREQUENCY), L"old");
  EXPECT_EQ(driver::FocusId(p_), focus);
}

TEST_F(Dialog, WithNoRadioButtonCheckedOkSolvesForC) {
  for (int id : {IDC_SOLVE_R, IDC_SOLVE_C, IDC_SOLVE_FO}) SendMessageW(Ctl(id), BM_SETCHECK, BST_UNCHECKED, 0);
  Fill(IDC_RESISTANCE, L"10");
  Fill(IDC_FREQUENCY, L"1");
  SelectUnit(IDC_FREQUENCY_UNITS, 1);
  Ok();
  EXPECT_EQ(TextOf(IDC_CAPACITANCE), L"15.915494");
}

TEST_F(Dialog, RadioButtonsFormOneGroup) {
  driver::Click(p_, IDC_SOLVE_C);
  EXPECT_TRUE(Checked(IDC_SOLVE_C));
  EXPECT_FALSE(Checked(IDC_SOLVE_R));
  EXPECT_FALSE(Checked(IDC_SOLVE_FO));
  // Arrow keys move between the three, and check as they go.
  SendMessageW(p_.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Ctl(IDC_SOLVE_C)), TRUE);
  driver::Settle(p_);
  struct {
    WPARAM key;
    int lands_on;
  } const moves[] = {{VK_DOWN, IDC_SOLVE_FO}, {VK_UP, IDC_SOLVE_C}, {VK_UP, IDC_SOLVE_R}, {VK_DOWN, IDC_SOLVE_C}};
  for (const auto& move : moves) {
    driver::PressKey(p_, move.key);
    EXPECT_EQ(driver::FocusId(p_), move.lands_on);
    for (int id : {IDC_SOLVE_R, IDC_SOLVE_C, IDC_SOLVE_FO}) EXPECT_EQ(Checked(id), id == move.lands_on) << id;
  }
}

bool InRadioGroup(int id) { return id == IDC_SOLVE_R || id == IDC_SOLVE_C || id == IDC_SOLVE_FO; }

TEST_F(Dialog, TabVisitsTheControlsInOrder) {
  const int order[] = {
      IDC_RESISTANCE_UNITS, IDC_CAPACITANCE, IDC_CAPACITANCE_UNITS, IDC_FREQUENCY, IDC_FREQUENCY_UNITS, IDOK, IDCANCEL};
  ASSERT_EQ(driver::FocusId(p_), IDC_RESISTANCE);
  for (int expected : order) {
    driver::PressKey(p_, VK_TAB);
    EXPECT_EQ(driver::FocusId(p_), expected);
  }
  // Into the radio group, which may land on the checked button before its
  // tab stop; out of it, on to the R field.
  driver::PressKey(p_, VK_TAB);
  EXPECT_TRUE(InRadioGroup(driver::FocusId(p_))) << driver::FocusId(p_);
  for (int i = 0; i < 2 && InRadioGroup(driver::FocusId(p_)); ++i) driver::PressKey(p_, VK_TAB);
  EXPECT_EQ(driver::FocusId(p_), IDC_RESISTANCE);
}

struct WayOut {
  const char* name;
  void (*close)(Program&);
};

class DialogEnds : public Dialog, public testing::WithParamInterface<WayOut> {};

TEST_P(DialogEnds, WithExitCodeZero) {
  GetParam().close(p_);
  EXPECT_EQ(driver::WaitForExit(p_), 0) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    WaysOut, DialogEnds,
    testing::Values(WayOut{"Cancel", [](Program& p) { PostMessageW(driver::Control(p, IDCANCEL), BM_CLICK, 0, 0); }},
                    WayOut{"Escape", [](Program& p) { driver::PressKey(p, VK_ESCAPE); }},
                    WayOut{"close box", [](Program& p) { PostMessageW(p.dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
                    WayOut{"Escape after an error",
                           [](Program& p) {
                             driver::Click(p, IDOK);
                             HWND box = driver::FindMessageBox(p);
                             driver::DismissMessageBox(p, box);
                             driver::PressKey(p, VK_ESCAPE);
                           }}),
    [](const testing::TestParamInfo<WayOut>& info) {
      std::string name = info.param.name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_test NOTCHWELL.EXE\n");
    return 2;
  }
  g_exe = driver::WindowsPath(argv[1]);
  return RUN_ALL_TESTS();
}
