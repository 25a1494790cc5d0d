// The KiCad schematic's own rules: values as KiCad users write them, every
// placed point on the 1.27 mm grid, every UUID its own, and the same
// bytes for the same design. KiCad itself checks and simulates the files
// in the browser tests.
#include "kicad_schematic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "active_feedback.h"
#include "followers.h"
#include "op_amps.h"

namespace notchwell {
namespace {

TEST(KicadValue, IsWrittenAsKicadUsersWriteIt) {
  const struct {
    double value;
    const char* text;
  } kCases[] = {{33e3, "33k"},    {4.7e3, "4.7k"},
                {100e-9, "100n"}, {680, "680"},
                {1e6, "1M"},      {2.2e-6, "2.2u"},
                {10e-12, "10p"},  {1.5, "1.5"},
                {9.1e3, "9.1k"},  {4.99e3, "4.99k"},
                {600, "600"},     {1e3, "1k"},
                {1e-3, "1m"},     {12345.6789, "12.3456789k"}};
  for (const auto& k : kCases) {
    char text[kTwelveDigitTextSize + 2];
    KicadValue(k.value, text);
    EXPECT_STREQ(text, k.text) << k.value;
  }
}

std::string Sheet(const TwinTCircuit& c, const NetlistDivider& d, const char* note) {
  static char text[100000];
  NetlistText out{text, sizeof text, 0, false};
  WriteKicadSchematic(c, d, 50, {"Twin-T notch", "2026-12-08", "comment", note}, out);
  EXPECT_FALSE(out.overflow);
  return std::string(text, out.length);
}

TEST(KicadSchematic, KeepsToTheGridWithItsOwnUuidsAndTheSameBytes) {
  TwinTCircuit active{BalancedParts(33e3, 100e-9), 600, 10e3, true, 39e3 / 40e3};
  active.opamps = FollowersOf(kOpAmps.options[2].figures);
  const TwinTCircuit passive{BalancedParts(33e3, 100e-9), 0, 0, false, 0};
  for (const TwinTCircuit& c : {passive, active}) {
    const std::string sheet = Sheet(c, {true, 1e3, 39e3}, "a note");
    EXPECT_EQ(Sheet(c, {true, 1e3, 39e3}, "a note"), sheet);
    EXPECT_NE(Sheet(c, {true, 1e3, 39e3}, "another note"), sheet);
    // Placed points, after the embedded symbols: multiples of 1.27 mm.
    const std::size_t placed = sheet.find("\n(symbol (lib_id");
    ASSERT_NE(placed, std::string::npos);
    int points = 0;
    for (const char* token : {"(xy ", "(at "}) {
      for (std::size_t at = sheet.find(token, placed); at != std::string::npos; at = sheet.find(token, at + 1)) {
        double x, y;
        ASSERT_EQ(std::sscanf(sheet.c_str() + at + 4, "%lf %lf", &x, &y), 2);
        for (const double v : {x, y}) {
          EXPECT_NEAR(std::remainder(v * 100, 127), 0, 1e-6) << sheet.substr(at, 40);
        }
        ++points;
      }
    }
    EXPECT_GT(points, 100);
    std::set<std::string> uuids;
    int count = 0;
    for (std::size_t at = sheet.find("(uuid \""); at != std::string::npos; at = sheet.find("(uuid \"", at + 1)) {
      uuids.insert(sheet.substr(at + 7, 36));
      ++count;
    }
    EXPECT_EQ(static_cast<int>(uuids.size()), count);
    // The instance paths name the sheet's own UUID.
    const std::string own = sheet.substr(sheet.find("(uuid \"") + 7, 36);
    EXPECT_NE(sheet.find("(path \"/" + own + "\""), std::string::npos);
  }
}

}  // namespace
}  // namespace notchwell
