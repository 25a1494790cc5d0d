#include "design_interface.h"

#include <cstring>

#include "core_interface.h"
#include "design_choices.h"
#include "design_report.h"
#include "evaluate_form.h"
#include "form_values.h"
#include "resistance_text.h"
#include "tolerance_analysis.h"

using namespace notchwell;

namespace {

constexpr int kFields = 2;  // source, load

DesignInputs g_inputs;
bool g_have_form = false;
char g_field_texts[kFields][kFieldTextSize];
DesignReport g_report;
uint8_t g_available[kFigureCount];

bool IsFigure(int figure) { return figure >= 0 && figure < kFigureCount; }

ResistanceReading ReadField(int field) { return ReadResistanceText(FieldText(g_field_texts[field]), field == 1); }

}  // namespace

int nw_design_figure_count(void) { return kFigureCount; }

const char* nw_design_figure_name(int figure) { return IsFigure(figure) ? kFigures[figure].name : nullptr; }

int nw_design_figure_unit(int figure) { return IsFigure(figure) ? static_cast<int>(kFigures[figure].unit) : -1; }

int nw_design_figure_digits(int figure) { return IsFigure(figure) ? kFigures[figure].digits : 0; }

int nw_design_figure_trimmed(int figure) { return IsFigure(figure) && kFigures[figure].trimmed; }

namespace {

// The panel's lists in order: their counts, defaults and numbers.
struct ChoiceList {
  int count;
  int default_index;
  const double* values;  // tolerances in percent, target Qs (0 passive)
};
const ChoiceList kChoiceLists[] = {
    {kResistorSeries.count, kResistorSeries.default_index, nullptr},
    {kCapacitorSeries.count, kCapacitorSeries.default_index, nullptr},
    {kResistorTolerances.count, kResistorTolerances.default_index, kResistorTolerances.options},
    {kCapacitorTolerances.count, kCapacitorTolerances.default_index, kCapacitorTolerances.options},
    {kNetworks.count, kNetworks.default_index, kNetworks.options},
};
constexpr int kChoiceListCount = sizeof kChoiceLists / sizeof kChoiceLists[0];

bool IsChoice(int list, int option) {
  return list >= 0 && list < kChoiceListCount && option >= 0 && option < kChoiceLists[list].count;
}

}  // namespace

int nw_design_choice_count(int list) { return list >= 0 && list < kChoiceListCount ? kChoiceLists[list].count : 0; }

int nw_design_choice_default(int list) {
  return list >= 0 && list < kChoiceListCount ? kChoiceLists[list].default_index : -1;
}

const char* nw_design_series_name(int list, int option) {
  if (!IsChoice(list, option) || list > 1) return nullptr;
  return SeriesOf(list == 0 ? kResistorSeries.options[option] : kCapacitorSeries.options[option]).name;
}

double nw_design_choice_value(int list, int option) {
  return IsChoice(list, option) && kChoiceLists[list].values ? kChoiceLists[list].values[option] : 0;
}

int nw_design_take_form(int resistance_unit, int capacitance_unit, int frequency_unit) {
  FormSnapshot form{};
  form.resistance_unit = resistance_unit;
  form.capacitance_unit = capacitance_unit;
  form.frequency_unit = frequency_unit;
  std::memcpy(form.resistance_text, nw_field_text(0), kFieldTextSize);
  std::memcpy(form.capacitance_text, nw_field_text(1), kFieldTextSize);
  std::memcpy(form.frequency_text, nw_field_text(2), kFieldTextSize);
  FormValues values;
  g_have_form = ReadFormValues(form, values);
  if (g_have_form) {
    g_inputs.r_ohms = values.r_ohms;
    g_inputs.c_farads = values.c_farads;
    g_inputs.fo_hertz = values.fo_hertz;
  }
  return g_have_form ? 1 : 0;
}

char* nw_design_field_text(int field) { return field >= 0 && field < kFields ? g_field_texts[field] : nullptr; }

int nw_design_field_problem(int field) {
  return field >= 0 && field < kFields ? static_cast<int>(ReadField(field).problem) : 0;
}

const char* nw_design_problem_message(int problem) {
  return problem >= 0 && problem < static_cast<int>(ResistanceProblem::Count)
             ? ResistanceProblemMessage(static_cast<ResistanceProblem>(problem))
             : "";
}

int nw_design_update(int resistor_series, int capacitor_series, int resistor_tolerance, int capacitor_tolerance,
                     int network) {
  const ResistanceReading source = ReadField(0);
  const ResistanceReading load = ReadField(1);
  const int problems =
      (source.problem != ResistanceProblem::None ? 1 : 0) | (load.problem != ResistanceProblem::None ? 2 : 0);
  if (problems != 0 || !g_have_form) return problems != 0 ? problems : 4;
  g_inputs.resistor_series = resistor_series;
  g_inputs.capacitor_series = capacitor_series;
  g_inputs.resistor_tolerance = resistor_tolerance;
  g_inputs.capacitor_tolerance = capacitor_tolerance;
  g_inputs.network = network;
  g_inputs.source_ohms = source.ohms;
  g_inputs.load_ohms = load.empty ? 0 : load.ohms;
  MakeDesignReport(g_inputs, g_report);
  for (int i = 0; i < kFigureCount; ++i) g_available[i] = g_report.available[i] ? 1 : 0;
  return 0;
}

const double* nw_design_values(void) { return g_report.values; }

const uint8_t* nw_design_available(void) { return g_available; }

int nw_design_curve_points(void) { return kCurvePoints; }

int nw_design_random_builds(void) { return kRandomBuilds; }

const double* nw_design_curve(int curve) {
  const double* const curves[] = {g_report.curve_hertz, g_report.curve_ideal_db, g_report.curve_build_db};
  return curve >= 0 && curve < 3 ? curves[curve] : nullptr;
}
