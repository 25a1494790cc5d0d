#include "design_interface.h"

#include <cstring>

#include "core_interface.h"
#include "design_choices.h"
#include "design_report.h"
#include "evaluate_form.h"
#include "form_values.h"
#include "part_value_text.h"
#include "tolerance_analysis.h"

using namespace notchwell;

namespace {

constexpr int kFields = kPanelFields;
constexpr int kFirstMeasured = kFirstMeasuredField;
constexpr int kNoForm = 256;

DesignInputs g_inputs;
bool g_have_form = false;
char g_field_texts[kFields][kFieldTextSize];
DesignReport g_report;
uint8_t g_available[kFigureCount];
double g_exact_parts[kPositions * 3];
double g_curve_notches[2 * kCurves];

bool IsFigure(int figure) { return figure >= 0 && figure < kFigureCount; }

bool IsField(int field) { return field >= 0 && field < kFields; }

ValueReading ReadField(int field) { return ReadValueText(FieldText(g_field_texts[field]), kPanelFieldKinds[field]); }

}  // namespace

int nw_design_figure_count(void) { return kFigureCount; }

const char* nw_design_figure_name(int figure) { return IsFigure(figure) ? kFigures[figure].name : nullptr; }

int nw_design_figure_unit(int figure) { return IsFigure(figure) ? static_cast<int>(kFigures[figure].unit) : -1; }

int nw_design_figure_digits(int figure) { return IsFigure(figure) ? kFigures[figure].digits : 0; }

int nw_design_figure_trimmed(int figure) { return IsFigure(figure) && kFigures[figure].trimmed; }

namespace {

// The panel's lists in order: their counts, defaults, numbers and labels.
struct ChoiceList {
  int count;
  int default_index;
  double (*value)(int option);
  double (*high)(int option);
  const char* (*label)(int option);
};
constexpr double None(int) { return 0; }
constexpr const char* NoLabel(int) { return nullptr; }
constexpr ChoiceList kChoiceLists[] = {
    {kResistorSeries.count, kResistorSeries.default_index, None, None, NoLabel},
    {kCapacitorSeries.count, kCapacitorSeries.default_index, None, None, NoLabel},
    {kResistorTolerances.count, kResistorTolerances.default_index, [](int i) { return kResistorTolerances.options[i]; },
     None, NoLabel},
    {kCapacitorTolerances.count, kCapacitorTolerances.default_index,
     [](int i) { return kCapacitorTolerances.options[i]; }, None, NoLabel},
    {kNetworks.count, kNetworks.default_index, [](int i) { return kNetworks.options[i]; }, None, NoLabel},
    {kResistorTempcos.count, kResistorTempcos.default_index,
     [](int i) { return kResistorTempcos.options[i].ppm_per_kelvin; }, None,
     [](int i) { return kResistorTempcos.options[i].parts; }},
    {kCapacitorTempcos.count, kCapacitorTempcos.default_index,
     [](int i) { return kCapacitorTempcos.options[i].ppm_per_kelvin; }, None,
     [](int i) { return kCapacitorTempcos.options[i].parts; }},
    {kTemperatureRanges.count, kTemperatureRanges.default_index,
     [](int i) { return kTemperatureRanges.options[i].low; }, [](int i) { return kTemperatureRanges.options[i].high; },
     [](int i) { return kTemperatureRanges.options[i].use; }},
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
  return IsChoice(list, option) ? kChoiceLists[list].value(option) : 0;
}

double nw_design_choice_high(int list, int option) {
  return IsChoice(list, option) ? kChoiceLists[list].high(option) : 0;
}

const char* nw_design_choice_label(int list, int option) {
  return IsChoice(list, option) ? kChoiceLists[list].label(option) : nullptr;
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

char* nw_design_field_text(int field) { return IsField(field) ? g_field_texts[field] : nullptr; }

int nw_design_field_problem(int field) { return IsField(field) ? static_cast<int>(ReadField(field).problem) : 0; }

const char* nw_design_field_message(int field) {
  return IsField(field) ? ValueProblemMessage(ReadField(field).problem, kPanelFieldKinds[field]) : "";
}

int nw_design_update(int resistor_series, int capacitor_series, int resistor_tolerance, int capacitor_tolerance,
                     int network, int resistor_tempco, int capacitor_tempco, int temperature_range) {
  ValueReading readings[kFields];
  int problems = 0;
  bool measured = true;
  for (int field = 0; field < kFields; ++field) {
    readings[field] = ReadField(field);
    if (readings[field].problem != ValueProblem::None) problems |= 1 << field;
    if (field >= kFirstMeasured && readings[field].empty) measured = false;
  }
  if (problems != 0 || !g_have_form) return problems != 0 ? problems : kNoForm;
  g_inputs.resistor_series = resistor_series;
  g_inputs.capacitor_series = capacitor_series;
  g_inputs.resistor_tolerance = resistor_tolerance;
  g_inputs.capacitor_tolerance = capacitor_tolerance;
  g_inputs.network = network;
  g_inputs.source_ohms = readings[0].value;
  g_inputs.load_ohms = readings[1].empty ? 0 : readings[1].value;
  g_inputs.resistor_tempco = resistor_tempco;
  g_inputs.capacitor_tempco = capacitor_tempco;
  g_inputs.temperature_range = temperature_range;
  g_inputs.measured = measured;
  const ValueReading* m = readings + kFirstMeasured;
  g_inputs.measured_parts = {m[0].value, m[1].value, m[2].value, m[3].value, m[4].value, m[5].value};
  MakeDesignReport(g_inputs, g_report);
  for (int i = 0; i < kFigureCount; ++i) g_available[i] = g_report.available[i] ? 1 : 0;
  for (int i = 0; i < kPositions; ++i) {
    const PartCombination& p = g_report.exact[i];
    g_exact_parts[3 * i] = static_cast<double>(p.connection);
    g_exact_parts[3 * i + 1] = p.a;
    g_exact_parts[3 * i + 2] = p.b;
  }
  return 0;
}

const double* nw_design_values(void) { return g_report.values; }

const uint8_t* nw_design_available(void) { return g_available; }

const double* nw_design_exact_parts(void) { return g_exact_parts; }

int nw_design_curve_points(void) { return kCurvePoints; }

int nw_design_band_points(void) { return kBandPoints; }

int nw_design_random_builds(void) { return kRandomBuilds; }

const double* nw_design_curve(int curve) {
  const double* const curves[] = {g_report.curve_hertz,       g_report.curve_ideal_db, g_report.curve_build_db,
                                  g_report.curve_measured_db, g_report.band_low_db,    g_report.band_high_db};
  return curve >= 0 && curve < 6 ? curves[curve] : nullptr;
}

const double* nw_design_curve_notches(void) {
  for (int i = 0; i < kCurves; ++i) {
    g_curve_notches[i] = g_report.curve_notch_hertz[i];
    g_curve_notches[kCurves + i] = g_report.curve_notch_db[i];
  }
  return g_curve_notches;
}
