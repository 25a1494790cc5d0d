// The resources compiled into notchwell.exe, read back with the platform's
// own resource functions: the dialog template, the schematic and the
// version block, each in US English. Checks every module named on the
// command line (the 64-bit test can read the 32-bit program as data).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "control_ids.h"
#include "dialog_driver.h"

namespace {

std::vector<std::string> g_modules;
std::string g_bitmap_file;

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class Resources : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(GetParam().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module_ && GetFileAttributesA(GetParam().c_str()) == INVALID_FILE_ATTRIBUTES) {
      GTEST_SKIP() << GetParam() << " is not built";
    }
    ASSERT_NE(module_, nullptr) << GetParam();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  // The bytes of one resource in US English.
  std::vector<unsigned char> Load(LPCSTR type, LPCSTR name) const {
    HRSRC info = FindResourceExA(module_, type, name, kEnglishUs);
    if (!info) return {};
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module_, info)));
    return std::vector<unsigned char>(data, data + SizeofResource(module_, info));
  }

  HMODULE module_ = nullptr;
};

// Reads a template or version block field by field.
struct Reader {
  const std::vector<unsigned char>& bytes;
  std::size_t at = 0;

  bool Has(std::size_t n) const { return at + n <= bytes.size(); }
  WORD Word() {
    WORD w = 0;
    if (Has(2)) std::memcpy(&w, &bytes[at], 2);
    at += 2;
    return w;
  }
  DWORD Dword() {
    DWORD d = Word();
    return d | static_cast<DWORD>(Word()) << 16;
  }
  std::wstring String() {
    std::wstring s;
    for (WORD c; Has(2) && (c = Word()) != 0;) s.push_back(static_cast<wchar_t>(c));
    return s;
  }
  // A string, or 0xFFFF and an ordinal written as "#n".
  std::wstring StringOrOrdinal() {
    if (Has(2) && bytes[at] == 0xFF && bytes[at + 1] == 0xFF) {
      at += 2;
      return L"#" + std::to_wstring(Word());
    }
    return String();
  }
  void Align(std::size_t to) { at = (at + to - 1) / to * to; }
};

struct Control {
  const wchar_t* class_name;
  int id;
  const wchar_t* text;
  DWORD style;  // beyond WS_CHILD | WS_VISIBLE
  short x, y, cx, cy;
};

constexpr const wchar_t* kButton = L"BUTTON";
constexpr const wchar_t* kEdit = L"EDIT";
constexpr const wchar_t* kStatic = L"STATIC";
constexpr const wchar_t* kComboBox = L"COMBOBOX";

// A predefined class is stored either by name (windres) or as its atom
// (Microsoft's compiler); the dialog manager takes both.
bool IsClass(const std::wstring& stored, const wchar_t* name) {
  struct {
    const wchar_t* name;
    const wchar_t* atom;
  } const atoms[] = {{kButton, L"#128"}, {kEdit, L"#129"}, {kStatic, L"#130"}, {kComboBox, L"#133"}};
  for (const auto& a : atoms) {
    if (lstrcmpW(a.name, name) == 0 && stored == a.atom) return true;
  }
  return lstrcmpiW(stored.c_str(), name) == 0;
}

const Control kControls[] = {
    {kButton, IDC_STATIC, L"", BS_GROUPBOX, 7, 7, 233, 83},
    {kStatic, IDC_STATIC, L"Calculate", SS_LEFT | WS_GROUP, 15, 17, 32, 8},
    {kButton, IDC_SOLVE_R, L"", BS_AUTORADIOBUTTON, 25, 30, 13, 10},
    {kButton, IDC_SOLVE_C, L"", BS_AUTORADIOBUTTON, 25, 47, 13, 10},
    {kButton, IDC_SOLVE_FO, L"", BS_AUTORADIOBUTTON | WS_TABSTOP, 25, 64, 13, 10},
    {kStatic, IDC_STATIC, L"R", SS_RIGHT | WS_GROUP, 44, 31, 12, 8},
    {kEdit, IDC_RESISTANCE, L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 65, 29, 50, 12},
    {kStatic, IDC_STATIC, L"(R1, R2)", SS_LEFT | WS_GROUP, 121, 31, 26, 8},
    {kComboBox, IDC_RESISTANCE_UNITS, L"", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 161, 31, 48, 45},
    {kStatic, IDC_STATIC, L"C", SS_RIGHT | WS_GROUP, 44, 48, 12, 8},
    {kEdit, IDC_CAPACITANCE, L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 65, 46, 50, 12},
    {kStatic, IDC_STATIC, L"(C1, C2)", SS_LEFT | WS_GROUP, 121, 48, 26, 8},
    {kComboBox, IDC_CAPACITANCE_UNITS, L"", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 161, 47, 48, 53},
    {kStatic, IDC_STATIC, L"Fo", SS_RIGHT | WS_GROUP, 44, 65, 12, 8},
    {kEdit, IDC_FREQUENCY, L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 65, 63, 50, 12},
    {kComboBox, IDC_FREQUENCY_UNITS, L"", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 161, 64, 48, 53},
    {kStatic, IDC_SCHEMATIC, L"#103", SS_BITMAP, 65, 95, 116, 112},
    {kButton, IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 220, 50, 14},
    {kButton, IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 190, 220, 50, 14},
};

TEST_P(Resources, DialogTemplateIsTheClassicFormAsDesigned) {
  const std::vector<unsigned char> bytes = Load(RT_DIALOG, "NOTCHWELL");
  ASSERT_FALSE(bytes.empty());
  Reader r{bytes};
  const DWORD style = r.Dword();
  ASSERT_NE(style, 0xFFFF0001u) << "an extended template";
  EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(r.Dword(), 0u) << "extended style";
  const WORD count = r.Word();
  ASSERT_EQ(count, sizeof kControls / sizeof kControls[0]);
  EXPECT_EQ(static_cast<short>(r.Word()), 0);
  EXPECT_EQ(static_cast<short>(r.Word()), 0);
  EXPECT_EQ(static_cast<short>(r.Word()), 247);
  EXPECT_EQ(static_cast<short>(r.Word()), 241);
  EXPECT_EQ(r.StringOrOrdinal(), L"") << "menu";
  EXPECT_EQ(r.StringOrOrdinal(), L"") << "class";
  EXPECT_EQ(r.String(), L"Notchwell Network Calculator");
  EXPECT_EQ(r.Word(), 8) << "point size";
  EXPECT_EQ(r.String(), L"MS Sans Serif");

  for (const Control& c : kControls) {
    SCOPED_TRACE(testing::Message() << "control " << c.id << " \"" << std::string(c.text, c.text + wcslen(c.text))
                                    << "\"");
    r.Align(4);
    ASSERT_TRUE(r.Has(18));
    EXPECT_EQ(r.Dword(), static_cast<DWORD>(WS_CHILD | WS_VISIBLE) | c.style);
    EXPECT_EQ(r.Dword(), 0u);
    EXPECT_EQ(static_cast<short>(r.Word()), c.x);
    EXPECT_EQ(static_cast<short>(r.Word()), c.y);
    EXPECT_EQ(static_cast<short>(r.Word()), c.cx);
    EXPECT_EQ(static_cast<short>(r.Word()), c.cy);
    EXPECT_EQ(r.Word(), static_cast<WORD>(c.id));
    const std::wstring cls = r.StringOrOrdinal();
    EXPECT_TRUE(IsClass(cls, c.class_name)) << std::string(cls.begin(), cls.end());
    EXPECT_EQ(r.StringOrOrdinal(), c.text);
    const WORD extra = r.Word();
    r.at += extra;
  }
  EXPECT_LE(r.at, bytes.size());
}

TEST_P(Resources, SchematicIsTheFourBitGreyBitmap) {
  const std::vector<unsigned char> bytes = Load(RT_BITMAP, MAKEINTRESOURCEA(IDB_SCHEMATIC));
  ASSERT_EQ(bytes.size(), sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD) + 25868u);
  BITMAPINFOHEADER h;
  std::memcpy(&h, bytes.data(), sizeof h);
  EXPECT_EQ(h.biSize, sizeof h);
  EXPECT_EQ(h.biWidth, 232);
  EXPECT_EQ(h.biHeight, 223) << "bottom-up";
  EXPECT_EQ(h.biPlanes, 1);
  EXPECT_EQ(h.biBitCount, 4);
  EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(h.biSizeImage, 25868u);
  EXPECT_EQ(h.biXPelsPerMeter, 0);
  EXPECT_EQ(h.biYPelsPerMeter, 0);
  EXPECT_EQ(h.biClrUsed, 0u);
  EXPECT_EQ(h.biClrImportant, 0u);
  const unsigned char levels[16] = {8, 138, 70, 200, 37, 169, 104, 233, 26, 150, 89, 219, 56, 186, 117, 253};
  for (int i = 0; i < 16; ++i) {
    const unsigned char* q = &bytes[sizeof h + 4 * i];
    EXPECT_EQ(q[0], levels[i]) << i;
    EXPECT_EQ(q[1], levels[i]) << i;
    EXPECT_EQ(q[2], levels[i]) << i;
    EXPECT_EQ(q[3], 0) << i;
  }
  // The very picture committed in the source tree.
  std::FILE* f = std::fopen(g_bitmap_file.c_str(), "rb");
  ASSERT_NE(f, nullptr) << g_bitmap_file;
  std::vector<unsigned char> file(bytes.size() + 14);
  const std::size_t n = std::fread(file.data(), 1, file.size(), f);
  std::fclose(f);
  ASSERT_EQ(n, file.size());
  EXPECT_EQ(std::memcmp(file.data() + 14, bytes.data(), bytes.size()), 0);
}

// One node of a version block: key, value bytes and children.
struct VersionNode {
  std::wstring key;
  WORD type;
  std::vector<unsigned char> value;
  std::vector<VersionNode> children;
};

VersionNode ReadNode(Reader& r) {
  VersionNode node;
  const std::size_t start = r.at;
  const WORD length = r.Word();
  const WORD value_length = r.Word();
  node.type = r.Word();
  node.key = r.String();
  r.Align(4);
  const std::size_t value_bytes = node.type == 1 ? value_length * 2u : value_length;
  if (r.Has(value_bytes)) node.value.assign(r.bytes.begin() + r.at, r.bytes.begin() + r.at + value_bytes);
  r.at += value_bytes;
  r.Align(4);
  while (r.at < start + length && r.Has(6)) node.children.push_back(ReadNode(r));
  r.at = start + length;
  r.Align(4);
  return node;
}

std::wstring TextValue(const VersionNode& node) {
  std::wstring s;
  for (std::size_t i = 0; i + 1 < node.value.size(); i += 2) {
    const wchar_t c = static_cast<wchar_t>(node.value[i] | node.value[i + 1] << 8);
    if (c == 0) break;
    s.push_back(c);
  }
  return s;
}

TEST_P(Resources, VersionBlockNamesTheProgram) {
  const std::vector<unsigned char> bytes = Load(RT_VERSION, MAKEINTRESOURCEA(1));
  ASSERT_FALSE(bytes.empty());
  Reader r{bytes};
  const VersionNode root = ReadNode(r);
  EXPECT_EQ(root.key, L"VS_VERSION_INFO");
  ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, root.value.data(), sizeof fixed);
  EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed.dwFileFlags, 0u);
  EXPECT_EQ(fixed.dwFileOS, 0x40004u);
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed.dwFileSubtype, 0u);

  ASSERT_EQ(root.children.size(), 2u);
  const VersionNode& strings = root.children[0];
  EXPECT_EQ(strings.key, L"StringFileInfo");
  ASSERT_EQ(strings.children.size(), 1u);
  const VersionNode& table = strings.children[0];
  EXPECT_EQ(table.key, L"040904b0");
  struct {
    const wchar_t* key;
    const wchar_t* value;  // null: any non-empty text
  } const expected[] = {
      {L"Comments", L""},
      {L"CompanyName", nullptr},
      {L"FileDescription", L"notchwell"},
      {L"FileVersion", L"1, 0, 0, 1"},
      {L"InternalName", L"notchwell"},
      {L"LegalCopyright", nullptr},
      {L"LegalTrademarks", L""},
      {L"OriginalFilename", L"notchwell.exe"},
      {L"PrivateBuild", L""},
      {L"ProductName", L"notchwell network calculator"},
      {L"ProductVersion", L"1, 0, 0, 1"},
      {L"SpecialBuild", L""},
  };
  ASSERT_EQ(table.children.size(), sizeof expected / sizeof expected[0]);
  for (std::size_t i = 0; i < table.children.size(); ++i) {
    EXPECT_EQ(table.children[i].key, expected[i].key) << i;
    if (expected[i].value) {
      EXPECT_EQ(TextValue(table.children[i]), expected[i].value) << i;
    } else {
      EXPECT_FALSE(TextValue(table.children[i]).empty()) << i;
    }
  }

  const VersionNode& vars = root.children[1];
  EXPECT_EQ(vars.key, L"VarFileInfo");
  ASSERT_EQ(vars.children.size(), 1u);
  EXPECT_EQ(vars.children[0].key, L"Translation");
  ASSERT_EQ(vars.children[0].value.size(), 4u);
  WORD translation[2];
  std::memcpy(translation, vars.children[0].value.data(), 4);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 0x04B0);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
  reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
  return TRUE;
}

TEST_P(Resources, EveryResourceIsUsEnglishOnly) {
  struct {
    LPCSTR type;
    LPCSTR name;
  } const resources[] = {
      {RT_DIALOG, "NOTCHWELL"}, {RT_BITMAP, MAKEINTRESOURCEA(IDB_SCHEMATIC)}, {RT_VERSION, MAKEINTRESOURCEA(1)}};
  for (const auto& res : resources) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module_, res.type, res.name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    ASSERT_EQ(languages.size(), 1u);
    EXPECT_EQ(languages[0], 1033);
  }
}

INSTANTIATE_TEST_SUITE_P(Modules, Resources, testing::ValuesIn(g_modules),
                         [](const auto& info) { return "module" + std::to_string(info.index); });

}  // namespace

int main(int argc, char** argv) {
  // The modules must be known before the parameterised tests are made.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--gtest", 7) != 0) args.push_back(driver::WindowsPath(argv[i]));
  }
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: resource_test SCHEMATIC.BMP MODULE...\n");
    return 2;
  }
  g_bitmap_file = args[0];
  g_modules.assign(args.begin() + 1, args.end());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
