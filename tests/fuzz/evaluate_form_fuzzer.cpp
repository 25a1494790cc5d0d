// Fuzzes the core against independent oracles, value for value. The first
// byte picks the target:
//   0  ParseNumberText on the remaining bytes, against the scan grammar
//      plus the C library's strtof on exactly the scanned characters;
//   1  FormatResult on four bytes taken as a float, against the exact
//      decimal expansion;
//   2  EvaluateForm on a snapshot (any mode and unit indices, texts of any
//      bytes up to a full 64-byte buffer with no terminator), against the
//      outcome worked out again from the two oracles above.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "evaluate_form.h"
#include "exact_decimal.h"
#include "format_result.h"
#include "messages.h"
#include "parse_number_text.h"
#include "random_inputs.h"
#include "scan_oracle.h"
#include "unit_list.h"

using namespace notchwell;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckParse(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  float got = 0.0f;
  const bool ok = ParseNumberText(std::string_view(text, size), got);
  float expected = 0.0f;
  Check(ok == oracle::ScanFloat(text, size, expected));
  if (ok) Check(oracle::Bits(got) == oracle::Bits(expected));
}

void CheckFormat(const std::uint8_t* data, std::size_t size) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, data, size < 4 ? size : 4);
  const float value = oracle::FromBits(bits);
  if (std::isnan(value)) return;  // not a value the calculation can produce
  char text[kResultTextSize];
  FormatResult(value, text);
  Check(oracle::ExpectedResultText(value) == text);
}

int TakeInt(const std::uint8_t*& data, std::size_t& size) {
  std::int32_t v = 0;
  if (size >= 1 && data[0] < 0xF0) {  // mostly small indices, sometimes anything
    v = static_cast<std::int32_t>(data[0] % 5) - 1;
    ++data, --size;
  } else if (size >= 5) {
    std::memcpy(&v, data + 1, 4);
    data += 5, size -= 5;
  }
  return v;
}

void TakeText(const std::uint8_t*& data, std::size_t& size, char (&text)[kFieldTextSize]) {
  std::size_t length = 0;
  if (size > 0) {
    length = data[0] % (kFieldTextSize + 1);
    ++data, --size;
  }
  if (length > size) length = size;
  std::memcpy(text, data, length);
  if (length < kFieldTextSize) text[length] = '\0';
  data += length, size -= length;
}

// One value field as the rules read it: 0 when empty, else the oracle's
// scan; false when the text is not a number.
bool OracleField(const char (&text)[kFieldTextSize], float& value) {
  const void* end = std::memchr(text, '\0', kFieldTextSize);
  const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : kFieldTextSize;
  value = 0.0f;
  return length == 0 || oracle::ScanFloat(text, length, value);
}

struct Expected {
  OutcomeKind kind;
  FormField field;
  const char* message;
  std::string text;
};

Expected Error(Quantity q, const char* QuantityMessages::*which, bool units_field = false) {
  const QuantityMessages& m = MessagesFor(q);
  return {OutcomeKind::Error, units_field ? m.units_field : m.value_field, m.*which, {}};
}

// The outcome worked out again, step by step, from the rules and oracles.
Expected ExpectedOutcome(const FormSnapshot& s) {
  const Quantity by_check_order[] = {Quantity::Frequency, Quantity::Capacitance, Quantity::Resistance};
  const int selected[] = {s.frequency_unit, s.capacitance_unit, s.resistance_unit};
  for (int i = 0; i < 3; ++i) {
    if (selected[i] == -1) return {OutcomeKind::Nothing, FormField::Resistance, nullptr, {}};
    if (selected[i] < 0 || selected[i] > 2) return Error(by_check_order[i], &QuantityMessages::invalid_units, true);
  }
  const bool need_r = s.mode != CalcMode::SolveResistance;
  const bool need_c = s.mode != CalcMode::SolveCapacitance;
  const bool need_f = s.mode != CalcMode::SolveFrequency;
  float r = 0, c = 0, f = 0;
  if (need_r && !OracleField(s.resistance_text, r))
    return Error(Quantity::Resistance, &QuantityMessages::invalid_value);
  if (need_c && !OracleField(s.capacitance_text, c))
    return Error(Quantity::Capacitance, &QuantityMessages::invalid_value);
  if (need_f && !OracleField(s.frequency_text, f)) return Error(Quantity::Frequency, &QuantityMessages::invalid_value);
  if (need_c && c == 0.0f) return Error(Quantity::Capacitance, &QuantityMessages::missing);
  if (need_f && f == 0.0f) return Error(Quantity::Frequency, &QuantityMessages::missing);
  if (need_r && r == 0.0f) return Error(Quantity::Resistance, &QuantityMessages::missing);

  const UnitEntry& ru = kResistanceUnits.entries[s.resistance_unit];
  const UnitEntry& cu = kCapacitanceUnits.entries[s.capacitance_unit];
  const UnitEntry& fu = kFrequencyUnits.entries[s.frequency_unit];
  const double ohm = ru.scaled ? static_cast<double>(r) * ru.input_factor : static_cast<double>(r);
  const double farad = cu.scaled ? static_cast<double>(c) * cu.input_factor : static_cast<double>(c);
  const double hertz = fu.scaled ? static_cast<double>(f) * fu.input_factor : static_cast<double>(f);
  double x;
  const UnitEntry* out;
  FormField field;
  if (s.mode == CalcMode::SolveFrequency) {
    x = 1.0 / ((farad * ohm) * 6.2831853), out = &fu, field = FormField::Frequency;
  } else if (s.mode == CalcMode::SolveResistance) {
    x = 1.0 / ((hertz * farad) * 6.2831853), out = &ru, field = FormField::Resistance;
  } else {
    x = 1.0 / ((hertz * ohm) * 6.2831853), out = &cu, field = FormField::Capacitance;
  }
  if (out->scaled) x *= out->output_factor;
  return {OutcomeKind::Result, field, nullptr, oracle::ExpectedResultText(static_cast<float>(x))};
}

void CheckEvaluate(const std::uint8_t* data, std::size_t size) {
  // On the heap, so that a read past the last text is caught.
  auto snapshot = std::make_unique<FormSnapshot>();
  FormSnapshot& s = *snapshot;
  s.mode = static_cast<CalcMode>(size > 0 ? data[0] % 3 : 0);
  if (size > 0) ++data, --size;
  s.frequency_unit = TakeInt(data, size);
  s.capacitance_unit = TakeInt(data, size);
  s.resistance_unit = TakeInt(data, size);
  TakeText(data, size, s.resistance_text);
  TakeText(data, size, s.capacitance_text);
  TakeText(data, size, s.frequency_text);

  const CalcOutcome out = EvaluateForm(s);
  const Expected expected = ExpectedOutcome(s);
  Check(out.kind == expected.kind);
  if (out.kind == OutcomeKind::Nothing) return;
  Check(out.field == expected.field);
  if (out.kind == OutcomeKind::Error) {
    Check(std::strcmp(out.message, expected.message) == 0);
  } else {
    Check(std::memchr(out.text, '\0', sizeof out.text) != nullptr);
    Check(expected.text == out.text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  switch (data[0] % 3) {
    case 0:
      CheckParse(data + 1, size - 1);
      break;
    case 1:
      CheckFormat(data + 1, size - 1);
      break;
    default:
      CheckEvaluate(data + 1, size - 1);
      break;
  }
  return 0;
}
