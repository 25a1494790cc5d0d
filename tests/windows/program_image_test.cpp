// The executable file itself: a stripped GUI program with DEP and ASLR,
// terminal-server aware and, on 32-bit x86, without structured exception
// handlers; no link time stamp, and imports from Windows' own DLLs only.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dialog_driver.h"

namespace {

std::vector<std::string> g_programs;

struct Image {
  std::vector<unsigned char> bytes;
  IMAGE_FILE_HEADER file;
  WORD magic;
  WORD subsystem;
  WORD dll_characteristics;
  IMAGE_DATA_DIRECTORY imports;
  std::vector<IMAGE_SECTION_HEADER> sections;

  // File offset of a relative virtual address, or 0.
  std::size_t Offset(DWORD rva) const {
    for (const auto& s : sections) {
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData) {
        return rva - s.VirtualAddress + s.PointerToRawData;
      }
    }
    return 0;
  }
};

bool Read(const std::string& path, Image& image) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  unsigned char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
    image.bytes.insert(image.bytes.end(), buffer, buffer + n);
  std::fclose(f);
  const auto& b = image.bytes;
  LONG pe = 0;
  std::memcpy(&pe, &b[0x3C], 4);
  if (std::memcmp(&b[pe], "PE\0\0", 4) != 0) return false;
  std::memcpy(&image.file, &b[pe + 4], sizeof image.file);
  const std::size_t optional = pe + 4 + sizeof image.file;
  std::memcpy(&image.magic, &b[optional], 2);
  if (image.magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    IMAGE_OPTIONAL_HEADER32 h;
    std::memcpy(&h, &b[optional], sizeof h);
    image.subsystem = h.Subsystem;
    image.dll_characteristics = h.DllCharacteristics;
    image.imports = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  } else {
    IMAGE_OPTIONAL_HEADER64 h;
    std::memcpy(&h, &b[optional], sizeof h);
    image.subsystem = h.Subsystem;
    image.dll_characteristics = h.DllCharacteristics;
    image.imports = h.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  }
  const std::size_t section_table = optional + image.file.SizeOfOptionalHeader;
  image.sections.resize(image.file.NumberOfSections);
  std::memcpy(image.sections.data(), &b[section_table], image.sections.size() * sizeof(IMAGE_SECTION_HEADER));
  return true;
}

class ProgramImage : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetFileAttributesA(GetParam().c_str()) == INVALID_FILE_ATTRIBUTES)
      GTEST_SKIP() << GetParam() << " is not built";
    ASSERT_TRUE(Read(GetParam(), image_)) << GetParam();
  }
  Image image_;
};

TEST_P(ProgramImage, IsAStrippedHardenedGuiProgram) {
  EXPECT_EQ(image_.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  EXPECT_TRUE(image_.dll_characteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
  EXPECT_TRUE(image_.dll_characteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
  EXPECT_TRUE(image_.dll_characteristics & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE);
  EXPECT_EQ(image_.file.PointerToSymbolTable, 0u) << "not stripped";
  EXPECT_EQ(image_.file.NumberOfSymbols, 0u) << "not stripped";
  EXPECT_EQ(image_.file.TimeDateStamp, 0u) << "a time stamp makes every build differ";
  const bool i386 = image_.file.Machine == IMAGE_FILE_MACHINE_I386;
  EXPECT_EQ(image_.magic, i386 ? IMAGE_NT_OPTIONAL_HDR32_MAGIC : IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  // 64-bit code unwinds from tables, so the flag means nothing there.
  if (i386) {
    EXPECT_TRUE(image_.dll_characteristics & IMAGE_DLLCHARACTERISTICS_NO_SEH);
  }
}

TEST_P(ProgramImage, ImportsOnlyWindowsOwnDlls) {
  const char* const allowed[] = {"KERNEL32.dll", "USER32.dll", "msvcrt.dll"};
  std::size_t at = image_.Offset(image_.imports.VirtualAddress);
  ASSERT_NE(at, 0u);
  int count = 0;
  for (;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR d;
    std::memcpy(&d, &image_.bytes[at], sizeof d);
    if (d.Name == 0) break;
    const char* name = reinterpret_cast<const char*>(&image_.bytes[image_.Offset(d.Name)]);
    bool known = false;
    for (const char* a : allowed) known |= _stricmp(name, a) == 0;
    EXPECT_TRUE(known) << name;
    ++count;
  }
  EXPECT_GT(count, 0);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramImage, testing::ValuesIn(g_programs),
                         [](const auto& info) { return "program" + std::to_string(info.index); });

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--gtest", 7) != 0) g_programs.push_back(driver::WindowsPath(argv[i]));
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
