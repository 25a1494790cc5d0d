#include "design_interface.h"

#include "build_exports.h"
#include "design_report.h"
#include "panel_controls.h"
#include "panel_snapshot.h"
#include "part_value_text.h"
#include "sweep_round.h"
#include "sweep_text.h"
#include "tolerance_analysis.h"

using namespace notchwell;

namespace {

// What an update came to (design_interface.h).
enum UpdateOutcome : int { kDesigned = 0, kBadFields = 1, kNoNetwork = 2 };
constexpr int kNetlistSize = 4096;
constexpr int kKicadInputSize = 4096;
constexpr int kKicadSize = 65536;
constexpr int kSweepMessageSize = 256;

PanelSnapshot g_snapshot;
PanelReading g_reading;
DesignInputs g_inputs;
DesignReport g_report;
bool g_report_made = false;
uint8_t g_available[kFigureCount];
uint8_t g_sections[kSectionCount];
uint8_t g_drawn[kCurves];
double g_exact_parts[kPositions * 3];
double g_curve_notches[4 * kCurves];
double g_opamp[5];
char g_netlist[kNetlistSize];
char g_kicad_input[kKicadInputSize];
char g_kicad[kKicadSize];
char g_sweep_text[kSweepTextSize];
char g_sweep_message[kSweepMessageSize];
MeasuredSweep g_sweep;
MeasuredSweep g_last_sweep;  // the last sweep read, to tell an edit from a new measurement
unsigned g_sweep_generation = 0;
TuneRound g_round = {false, 0, 0, 0};

bool IsFigure(int figure) { return figure >= 0 && figure < kFigureCount; }

bool IsField(int field) { return field >= 0 && field < kPanelFields; }

bool IsList(int list) { return list >= 0 && list < kPanelListCount; }

ValueReading ReadField(int field) { return ReadPanelField(g_snapshot, field); }

bool IsChoice(int list, int option) { return IsList(list) && option >= 0 && option < kPanelLists[list].count; }

}  // namespace

int nw_design_figure_count(void) { return kFigureCount; }

const char* nw_design_figure_name(int figure) { return IsFigure(figure) ? kFigures[figure].name : nullptr; }

int nw_design_figure_unit(int figure) { return IsFigure(figure) ? static_cast<int>(kFigures[figure].unit) : -1; }

int nw_design_figure_digits(int figure) { return IsFigure(figure) ? kFigures[figure].digits : 0; }

int nw_design_figure_trimmed(int figure) { return IsFigure(figure) && kFigures[figure].trimmed; }

int nw_design_list_count(void) { return kPanelListCount; }

const char* nw_design_list_name(int list) { return IsList(list) ? kPanelLists[list].name : nullptr; }

int nw_design_choice_count(int list) { return IsList(list) ? kPanelLists[list].count : 0; }

int nw_design_choice_default(int list) { return IsList(list) ? kPanelLists[list].default_index : -1; }

const char* nw_design_option_name(int list, int option) {
  return IsChoice(list, option) ? kPanelLists[list].option_name(option) : nullptr;
}

double nw_design_choice_value(int list, int option) {
  return IsChoice(list, option) ? kPanelLists[list].value(option) : 0;
}

double nw_design_choice_high(int list, int option) {
  return IsChoice(list, option) ? kPanelLists[list].high(option) : 0;
}

const char* nw_design_choice_label(int list, int option) {
  return IsChoice(list, option) ? kPanelLists[list].label(option) : nullptr;
}

const double* nw_design_opamp(int option) {
  const OpAmp amp = option >= 0 && option < kOpAmps.count ? kOpAmps.options[option].figures : OpAmp{0, 0, 0};
  g_opamp[0] = amp.gbw_hertz;
  g_opamp[1] = amp.gain_db;
  g_opamp[2] = amp.slew_volts_per_us;
  g_opamp[3] = amp.noise_volts;
  g_opamp[4] = amp.noise_amps;
  return g_opamp;
}

int nw_design_curve_count(void) { return kCurves; }

const char* nw_design_curve_name(int curve) { return curve >= 0 && curve < kCurves ? kCurveNames[curve] : nullptr; }

int nw_design_noise_curve_count(void) { return kNoiseCurves; }

const char* nw_design_noise_curve_name(int curve) {
  return curve >= 0 && curve < kNoiseCurves ? kNoiseCurveNames[curve] : nullptr;
}

int nw_design_field_count(void) { return kPanelFields; }

const char* nw_design_field_name(int field) { return IsField(field) ? kPanelFieldTable[field].name : nullptr; }

const char* nw_design_field_group(int field) {
  return IsField(field) ? kFieldGroupNames[static_cast<int>(kPanelFieldTable[field].group)] : nullptr;
}

const char* nw_design_field_label(int field) { return IsField(field) ? kPanelFieldTable[field].label : nullptr; }

const char* nw_design_field_empty_means(int field) {
  return IsField(field) ? kPanelFieldTable[field].empty_means : nullptr;
}

int nw_design_field_length(void) { return kPanelFieldLength; }

int32_t* nw_design_snapshot_form_numbers(void) {
  // CalcMode and the three unit indices lie one int after another.
  static_assert(sizeof(CalcMode) == sizeof(int32_t), "the mode is an int");
  return reinterpret_cast<int32_t*>(&g_snapshot.form.mode);
}

char* nw_design_snapshot_form_text(int quantity) {
  char* const texts[] = {g_snapshot.form.resistance_text, g_snapshot.form.capacitance_text,
                         g_snapshot.form.frequency_text};
  return quantity >= 0 && quantity < 3 ? texts[quantity] : nullptr;
}

int32_t* nw_design_snapshot_choices(void) { return g_snapshot.choices; }

char* nw_design_snapshot_field(int field) { return IsField(field) ? g_snapshot.fields[field] : nullptr; }

int32_t* nw_design_snapshot_field_lengths(void) { return g_snapshot.field_lengths; }

int nw_design_field_problem(int field) { return IsField(field) ? static_cast<int>(ReadField(field).problem) : 0; }

const char* nw_design_field_message(int field) {
  return IsField(field) ? ValueProblemMessage(ReadField(field).problem, kPanelFieldTable[field].kind) : "";
}

char* nw_design_sweep_text(void) { return g_sweep_text; }

int nw_design_sweep_text_size(void) { return kSweepTextSize; }

int nw_design_sweep_read(int length, int anew, int level_column) {
  const SweepReading reading =
      length >= 0 && length <= kSweepTextSize
          ? ReadSweepText({g_sweep_text, static_cast<std::size_t>(length)}, g_sweep, level_column)
          : SweepReading{SweepProblem::TooLong, 0};
  if (reading.problem != SweepProblem::None) g_sweep.count = 0;
  SweepProblemText(reading, g_sweep_message, kSweepMessageSize);
  // The sweep this one follows, if it was tuned: a new measurement after
  // trimming says how much nearer Fo the null has come; an edit of the
  // same one keeps the round it had.
  if (g_sweep.count > 0) {
    if ((anew != 0 || IsNewMeasurement(g_last_sweep, g_sweep)) && g_report_made &&
        Holds(g_report, Section::TuneNotch)) {
      g_round = {true, g_inputs.fo_hertz, g_report.tune.notch_hertz, g_report.tune.reject_db};
    }
    g_last_sweep = g_sweep;
  }
  ++g_sweep_generation;
  return static_cast<int>(reading.problem);
}

const char* nw_design_sweep_message(void) { return g_sweep_message; }

int nw_design_sweep_points(void) { return g_sweep.count; }

const char* nw_design_sweep_level_name(int index) {
  return index >= 0 && index < g_sweep.level_columns ? g_sweep.level_names[index] : nullptr;
}

int nw_design_sweep_level_column(void) { return g_sweep.level_column; }

const char* nw_design_sweep_phase_name(void) { return g_sweep.phase_name; }

int nw_design_tune_left_out(int index) {
  const TuneResult& t = g_report.tune;
  return g_report_made && index >= 0 && index < t.left_out_count ? t.left_out_lines[index] : 0;
}

int nw_design_tune_worst_line(void) { return g_report_made ? g_report.tune.worst_line : 0; }

int nw_design_sweep_phase(void) { return g_sweep.count > 0 && g_sweep.phase ? 1 : 0; }

const double* nw_design_sweep(int column) {
  return column == 0 ? g_sweep.hertz : column == 1 ? g_sweep.level_db : column == 2 ? g_sweep.degrees : nullptr;
}

int nw_design_update(void) {
  DesignInputs inputs;
  const bool designable = ReadPanelSnapshot(g_snapshot, g_reading, inputs);
  inputs.sweep = g_sweep.count > 0 ? &g_sweep : nullptr;
  inputs.sweep_generation = g_sweep_generation;
  inputs.round = g_round;
  if (g_reading.field_problems != 0) return kBadFields;
  if (!designable) return kNoNetwork;
  // The report of the last design is brought up to this one: what reads
  // no input that changed stays as it was.
  if (g_report_made) {
    UpdateDesignReport(g_inputs, inputs, g_report);
  } else {
    MakeDesignReport(inputs, g_report);
  }
  g_report_made = true;
  g_inputs = inputs;
  for (int i = 0; i < kFigureCount; ++i) g_available[i] = g_report.available[i] ? 1 : 0;
  for (int i = 0; i < kSectionCount; ++i) g_sections[i] = g_report.sections[i] ? 1 : 0;
  for (int i = 0; i < kPositions; ++i) {
    const PartCombination& p = g_report.exact.positions[i];
    g_exact_parts[3 * i] = static_cast<double>(p.connection);
    g_exact_parts[3 * i + 1] = p.a;
    g_exact_parts[3 * i + 2] = p.b;
  }
  for (int i = 0; i < kCurves; ++i) {
    g_drawn[i] = g_report.curves[i].drawn ? 1 : 0;
    g_curve_notches[i] = g_report.curves[i].notch_hertz;
    g_curve_notches[kCurves + i] = g_report.curves[i].notch_db;
    g_curve_notches[2 * kCurves + i] = g_report.curves[i].notch_degrees;
    g_curve_notches[3 * kCurves + i] = g_report.curves[i].notch_delay_s;
  }
  return kDesigned;
}

int nw_design_form_problem(void) { return static_cast<int>(g_reading.form.problem); }

int nw_design_form_field(void) { return static_cast<int>(g_reading.form.field); }

int nw_design_form_imprecise(void) { return g_reading.form.imprecise ? 1 : 0; }

double nw_design_form_reads(void) { return g_reading.form.reads; }

double nw_design_form_computed(void) { return g_reading.form.computed; }

int nw_design_section_count(void) { return kSectionCount; }

const char* nw_design_section_name(int section) {
  return section >= 0 && section < kSectionCount ? kSectionNames[section] : nullptr;
}

const uint8_t* nw_design_sections(void) { return g_sections; }

const double* nw_design_values(void) { return g_report.values; }

const uint8_t* nw_design_available(void) { return g_available; }

const double* nw_design_exact_parts(void) { return g_exact_parts; }

int nw_design_curve_points(void) { return kCurvePoints; }

int nw_design_band_points(void) { return kBandPoints; }

int nw_design_random_builds(void) { return kRandomBuilds; }

const double* nw_design_curve_hertz(void) { return g_report.curve_hertz; }

const double* nw_design_band(int edge) {
  return edge == 0 ? g_report.band_low_db : edge == 1 ? g_report.band_high_db : nullptr;
}

const uint8_t* nw_design_curves_drawn(void) { return g_drawn; }

const double* nw_design_curve_notches(void) { return g_curve_notches; }

const double* nw_design_curves_at_notches(int view) {
  const double(*const views[])[kCurves][kCurves] = {&g_report.at_notch_db, &g_report.at_notch_degrees,
                                                    &g_report.at_notch_delay_s};
  return view >= 0 && view < 3 ? &(*views[view])[0][0] : nullptr;
}

int nw_design_time_points(void) { return kTimePoints; }

const double* nw_design_curve_view(int view, int curve) {
  if (view == 3 && curve == -1) return g_report.time_seconds;
  if (view == 4) return curve >= 0 && curve < kNoiseCurves ? g_report.noise.density[curve] : nullptr;
  if (curve < 0 || curve >= kCurves) return nullptr;
  if (view == 0) return CurveOf(g_report, static_cast<Curve>(curve)).level_db;
  if (view == 1) return g_report.curves[curve].degrees;
  if (view == 2) return g_report.curves[curve].delay_s;
  return view == 3 ? g_report.curves[curve].time_output : nullptr;
}

char* nw_design_netlist_text(void) { return g_netlist; }

int nw_design_netlist(int header) {
  if (!Holds(g_report, Section::Build) || header < 0 || header >= kNetlistSize) return 0;
  NetlistText out{g_netlist, kNetlistSize, header, false};
  WriteBuildNetlist(g_inputs, g_report, out);
  return out.overflow ? 0 : out.length;
}

char* nw_design_kicad_input(void) { return g_kicad_input; }

const char* nw_design_kicad_text(void) { return g_kicad; }

int nw_design_kicad(void) {
  if (!Holds(g_report, Section::Build)) return 0;
  // The four texts, each cut at its newline (the note runs to the end).
  g_kicad_input[kKicadInputSize - 1] = '\0';
  const char* texts[4] = {g_kicad_input, "", "", ""};
  char* cursor = g_kicad_input;
  for (int i = 1; i < 4; ++i) {
    while (*cursor && *cursor != '\n') ++cursor;
    if (!*cursor) break;
    *cursor++ = '\0';
    texts[i] = cursor;
  }
  for (char* end = cursor + __builtin_strlen(cursor); end > cursor && end[-1] == '\n';) *--end = '\0';
  const KicadSheetText text{texts[0], texts[1], texts[2], texts[3]};
  NetlistText out{g_kicad, kKicadSize, 0, false};
  WriteBuildSchematic(g_inputs, g_report, text, out);
  return out.overflow ? 0 : out.length;
}
