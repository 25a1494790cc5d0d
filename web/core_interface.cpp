#include "core_interface.h"

#include <cstring>

#include "evaluate_form.h"
#include "format_result.h"
#include "messages.h"
#include "parse_number_text.h"
#include "unit_list.h"

using namespace notchwell;

namespace {

FormSnapshot g_snapshot;
CalcOutcome g_outcome;
char g_conversion[kFieldTextSize];
uint32_t g_parsed_bits;

bool IsQuantity(int quantity) { return quantity >= 0 && quantity < kQuantityCount; }

// 0 solve Fo, 1 solve R, anything else solve C.
CalcMode ModeOf(int mode) {
  return mode == 0 ? CalcMode::SolveFrequency : mode == 1 ? CalcMode::SolveResistance : CalcMode::SolveCapacitance;
}

}  // namespace

char* nw_field_text(int quantity) {
  char* const texts[] = {g_snapshot.resistance_text, g_snapshot.capacitance_text, g_snapshot.frequency_text};
  return IsQuantity(quantity) ? texts[quantity] : nullptr;
}

int nw_evaluate(int mode, int resistance_unit, int capacitance_unit, int frequency_unit) {
  g_snapshot.mode = ModeOf(mode);
  g_snapshot.resistance_unit = resistance_unit;
  g_snapshot.capacitance_unit = capacitance_unit;
  g_snapshot.frequency_unit = frequency_unit;
  g_outcome = EvaluateForm(g_snapshot);
  return static_cast<int>(g_outcome.kind);
}

int nw_solved_quantity(int mode) { return static_cast<int>(SolvedQuantity(ModeOf(mode))); }

int nw_field_text_size(void) { return kFieldTextSize; }

int nw_outcome_field(void) { return static_cast<int>(g_outcome.field); }

const char* nw_outcome_text(void) {
  switch (g_outcome.kind) {
    case OutcomeKind::Error:
      return g_outcome.message;
    case OutcomeKind::Result:
      return g_outcome.text;
    default:
      return "";
  }
}

int nw_unit_count(void) { return kUnitCount; }

const char* nw_unit_label(int quantity, int index) {
  if (!IsQuantity(quantity) || !IsUnitIndex(index)) return nullptr;
  return UnitsOf(static_cast<Quantity>(quantity)).entries[index].label;
}

int nw_unit_default(int quantity) {
  return IsQuantity(quantity) ? UnitsOf(static_cast<Quantity>(quantity)).default_index : -1;
}

const char* nw_message_caption(void) { return kMessageCaption; }

char* nw_conversion_text(void) { return g_conversion; }

int nw_format_result(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  char text[kResultTextSize];
  const int length = FormatResult(value, text);
  std::memcpy(g_conversion, text, static_cast<std::size_t>(length) + 1);
  return length;
}

int nw_parse_number_text(int length) {
  if (length < 0 || length > kFieldTextSize) return 0;
  float value = 0.0f;
  if (!ParseNumberText(std::string_view(g_conversion, static_cast<std::size_t>(length)), value)) return 0;
  std::memcpy(&g_parsed_bits, &value, sizeof value);
  return 1;
}

uint32_t nw_parsed_bits(void) { return g_parsed_bits; }
