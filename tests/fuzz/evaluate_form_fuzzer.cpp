// Arbitrary snapshots into EvaluateForm: any mode, any unit indices, any
// bytes in the texts (up to a full buffer with no terminator). Every
// outcome must be one the rules allow.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "evaluate_form.h"
#include "messages.h"
#include "parse_number_text.h"

using namespace notchwell;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// "[-]digits.dddddd" or an infinity.
bool IsResultText(const char* text) {
  if (std::strcmp(text, "1.#INF00") == 0 || std::strcmp(text, "-1.#INF00") == 0) return true;
  const char* p = text;
  if (*p == '-') ++p;
  const char* digits = p;
  while (*p >= '0' && *p <= '9') ++p;
  if (p == digits || *p != '.') return false;
  for (int i = 1; i <= 6; ++i) {
    if (p[i] < '0' || p[i] > '9') return false;
  }
  return p[7] == '\0' && std::strlen(text) <= 47;
}

bool IsErrorOf(const CalcOutcome& out) {
  for (const QuantityMessages& m : kQuantityMessages) {
    if (std::strcmp(out.message, m.invalid_units) == 0) return out.field == m.units_field;
    if (std::strcmp(out.message, m.invalid_value) == 0 || std::strcmp(out.message, m.missing) == 0) {
      return out.field == m.value_field;
    }
  }
  return false;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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
  switch (out.kind) {
    case OutcomeKind::Nothing:
      Check(s.frequency_unit == -1 || s.capacitance_unit == -1 || s.resistance_unit == -1);
      break;
    case OutcomeKind::Error:
      Check(IsErrorOf(out));
      break;
    case OutcomeKind::Result: {
      const FormField target = s.mode == CalcMode::SolveFrequency    ? FormField::Frequency
                               : s.mode == CalcMode::SolveResistance ? FormField::Resistance
                                                                     : FormField::Capacitance;
      Check(out.field == target);
      Check(std::memchr(out.text, '\0', sizeof out.text) != nullptr);
      Check(IsResultText(out.text));
      break;
    }
    default:
      Check(false);
  }
  return 0;
}
