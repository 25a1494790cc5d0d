// What the design panel shows for a form, worked out by the native build:
// a JSON object of the available figures with 17 significant digits, the
// sections that hold, and the exact values' parts as the page writes them
// (data-parts), for the browser tests to hold the page's figures to.
//
//   print_design_report NAME=VALUE...
//
// Names: mode (0 solve Fo, 1 R, 2 C), r, c, fo (texts as typed), r-unit,
// c-unit, fo-unit (list indices), each panel list's name (its selected
// index) and each panel field's name (its text). What is not given is
// empty, or the list's default.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "design_report.h"
#include "panel_snapshot.h"

using namespace notchwell;

namespace {

// NAME=... : the text after the '=', or null.
const char* ValueOf(const char* arg, const char* name) {
  const std::size_t length = std::strlen(name);
  return std::strncmp(arg, name, length) == 0 && arg[length] == '=' ? arg + length + 1 : nullptr;
}

void Copy(char (&buffer)[kFieldTextSize], const char* text) { std::strncpy(buffer, text, kFieldTextSize - 1); }

}  // namespace

int main(int argc, char** argv) {
  static PanelSnapshot s;
  s.form.mode = CalcMode::SolveResistance;
  s.form.resistance_unit = s.form.capacitance_unit = s.form.frequency_unit = 0;
  for (int i = 0; i < kPanelListCount; ++i) s.choices[i] = kPanelLists[i].default_index;
  for (int a = 1; a < argc; ++a) {
    const char* arg = argv[a];
    const char* v;
    bool known = true;
    if ((v = ValueOf(arg, "mode"))) {
      s.form.mode = static_cast<CalcMode>(std::atoi(v));
    } else if ((v = ValueOf(arg, "r"))) {
      Copy(s.form.resistance_text, v);
    } else if ((v = ValueOf(arg, "c"))) {
      Copy(s.form.capacitance_text, v);
    } else if ((v = ValueOf(arg, "fo"))) {
      Copy(s.form.frequency_text, v);
    } else if ((v = ValueOf(arg, "r-unit"))) {
      s.form.resistance_unit = std::atoi(v);
    } else if ((v = ValueOf(arg, "c-unit"))) {
      s.form.capacitance_unit = std::atoi(v);
    } else if ((v = ValueOf(arg, "fo-unit"))) {
      s.form.frequency_unit = std::atoi(v);
    } else {
      known = false;
      for (int i = 0; i < kPanelListCount && !known; ++i) {
        if ((v = ValueOf(arg, kPanelLists[i].name))) s.choices[i] = std::atoi(v), known = true;
      }
      for (int i = 0; i < kPanelFields && !known; ++i) {
        if ((v = ValueOf(arg, kPanelFieldTable[i].name))) {
          Copy(s.fields[i], v);
          s.field_lengths[i] = static_cast<int>(std::strlen(s.fields[i]));
          known = true;
        }
      }
    }
    if (!known) {
      std::fprintf(stderr, "usage: %s NAME=VALUE... (not known: %s)\n", argv[0], arg);
      return 2;
    }
  }
  static PanelReading reading;
  static DesignInputs inputs;
  if (!ReadPanelSnapshot(s, reading, inputs)) {
    std::puts("{}");
    return 0;
  }
  static DesignReport report;
  MakeDesignReport(inputs, report);
  std::printf("{");
  for (int i = 0; i < kFigureCount; ++i) {
    if (report.available[i]) std::printf("\"%s\": %.17g, ", kFigures[i].name, report.values[i]);
  }
  std::printf("\"sections\": [");
  for (int i = 0, n = 0; i < kSectionCount; ++i) {
    if (report.sections[i]) std::printf("%s\"%s\"", n++ ? ", " : "", kSectionNames[i]);
  }
  std::printf("], \"parts\": [");
  for (int i = 0; Holds(report, Section::Build) && i < kPositions; ++i) {
    const PartCombination& p = report.exact.positions[i];
    const char* const connections[] = {"", "series:", "parallel:"};
    std::printf("%s\"%s%.12g", i ? ", " : "", connections[static_cast<int>(p.connection)], p.a);
    if (p.connection != Connection::Single) std::printf(",%.12g", p.b);
    std::printf("\"");
  }
  std::puts("]}");
  return 0;
}
