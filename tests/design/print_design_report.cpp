// What the design panel shows for a form, worked out by the native build:
// a JSON object of the available figures with 17 significant digits, and
// the exact values' parts as the page writes them (data-parts), for the
// browser tests to hold the page's figures to.
//
//   print_design_report R R_UNIT C C_UNIT FO FO_UNIT R_SERIES C_SERIES R_TOL C_TOL NETWORK
//                       R_TEMPCO C_TEMPCO RANGE SOURCE LOAD R1 R2 R3 C1 C2 C3
//
// Texts as typed into the fields, units and choices as list indices.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "design_report.h"
#include "form_values.h"
#include "part_value_text.h"

int main(int argc, char** argv) {
  using namespace notchwell;
  if (argc != 23) {
    std::fprintf(stderr,
                 "usage: %s R R_UNIT C C_UNIT FO FO_UNIT R_SERIES C_SERIES R_TOL C_TOL NETWORK R_TEMPCO C_TEMPCO RANGE "
                 "SOURCE LOAD R1 R2 R3 C1 C2 C3\n",
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
  ValueReading fields[kPanelFields];
  bool problem = !ReadFormValues(form, values), measured = true;
  for (int i = 0; i < kPanelFields; ++i) {
    fields[i] = ReadValueText(argv[15 + i], kPanelFieldKinds[i]);
    problem = problem || fields[i].problem != ValueProblem::None;
    measured = measured && (i < kFirstMeasuredField || !fields[i].empty);
  }
  if (problem) {
    std::puts("{}");
    return 0;
  }
  const DesignInputs inputs{
      values.r_ohms,
      values.c_farads,
      values.fo_hertz,
      std::atoi(argv[7]),
      std::atoi(argv[8]),
      std::atoi(argv[9]),
      std::atoi(argv[10]),
      std::atoi(argv[11]),
      fields[0].value,
      fields[1].empty ? 0 : fields[1].value,
      std::atoi(argv[12]),
      std::atoi(argv[13]),
      std::atoi(argv[14]),
      measured,
      {fields[2].value, fields[3].value, fields[4].value, fields[5].value, fields[6].value, fields[7].value}};
  static DesignReport report;
  MakeDesignReport(inputs, report);
  std::printf("{");
  for (int i = 0; i < kFigureCount; ++i) {
    if (report.available[i]) std::printf("\"%s\": %.17g, ", kFigures[i].name, report.values[i]);
  }
  std::printf("\"parts\": [");
  for (int i = 0; report.build_in_range && i < kPositions; ++i) {
    const PartCombination& p = report.exact[i];
    const char* const connections[] = {"", "series:", "parallel:"};
    std::printf("%s\"%s%.12g", i ? ", " : "", connections[static_cast<int>(p.connection)], p.a);
    if (p.connection != Connection::Single) std::printf(",%.12g", p.b);
    std::printf("\"");
  }
  std::puts("]}");
  return 0;
}
