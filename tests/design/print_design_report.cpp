// What the design panel shows for a form, worked out by the native build:
// a JSON object of the available figures with 17 significant digits, for
// the browser tests to hold the page's figures to.
//
//   print_design_report R R_UNIT C C_UNIT FO FO_UNIT R_SERIES C_SERIES R_TOL C_TOL NETWORK SOURCE LOAD
//
// Texts as typed into the fields, units and choices as list indices.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "design_report.h"
#include "form_values.h"
#include "resistance_text.h"

int main(int argc, char** argv) {
  using namespace notchwell;
  if (argc != 14) {
    std::fprintf(stderr, "usage: %s R R_UNIT C C_UNIT FO FO_UNIT R_SERIES C_SERIES R_TOL C_TOL NETWORK SOURCE LOAD\n",
                 argv[0]);
    return 2;
  }
  FormSnapshot form{};
  std::strncpy(form.resistance_text, argv[1], kFieldTextSize - 1);
  std::strncpy(form.capacitance_text, argv[3], kFieldTextSize - 1);
  std::strncpy(form.frequency_text, argv[5], kFieldTextSize - 1);
  form.resistance_unit = std::atoi(argv[2]);
  form.capacitance_unit = std::atoi(argv[4]);
  form.frequency_unit = std::atoi(argv[6]);
  FormValues values;
  const ResistanceReading source = ReadResistanceText(argv[12], false);
  const ResistanceReading load = ReadResistanceText(argv[13], true);
  if (!ReadFormValues(form, values) || source.problem != ResistanceProblem::None ||
      load.problem != ResistanceProblem::None) {
    std::puts("{}");
    return 0;
  }
  const DesignInputs inputs{values.r_ohms,      values.c_farads,           values.fo_hertz,     std::atoi(argv[7]),
                            std::atoi(argv[8]), std::atoi(argv[9]),        std::atoi(argv[10]), std::atoi(argv[11]),
                            source.ohms,        load.empty ? 0 : load.ohms};
  static DesignReport report;
  MakeDesignReport(inputs, report);
  const char* separator = "{";
  for (int i = 0; i < kFigureCount; ++i) {
    if (!report.available[i]) continue;
    std::printf("%s\"%s\": %.17g", separator, kFigures[i].name, report.values[i]);
    separator = ", ";
  }
  std::puts("}");
  return 0;
}
