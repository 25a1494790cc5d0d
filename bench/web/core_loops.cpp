// The calls of bench/core_bench.cpp, looped inside a WebAssembly module
// built from the same core objects as the page's module, so that node
// times the core's own code rather than the crossings from JavaScript.
#include <stdint.h>

#include <cstring>
#include <string_view>

#include "bench_inputs.h"
#include "evaluate_form.h"
#include "format_result.h"
#include "parse_number_text.h"

namespace {

using bench::kTextCount;
using bench::kTexts;
using bench::kValueCount;
using bench::kValues;

// Keeps every result alive, as benchmark::DoNotOptimize does natively.
volatile uint32_t g_sink;

}  // namespace

extern "C" {

// The texts' lengths are taken before the loop: the loop times the core,
// not this module's strlen.
void bench_parse_number_text(int calls) {
  std::string_view texts[kTextCount];
  for (int i = 0; i < kTextCount; ++i) texts[i] = kTexts[i];
  for (int i = 0; i < calls; ++i) {
    float value;
    g_sink = notchwell::ParseNumberText(texts[i % kTextCount], value);
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    g_sink = bits;
  }
}

void bench_format_result(int calls) {
  for (int i = 0; i < calls; ++i) {
    char text[notchwell::kResultTextSize];
    g_sink = static_cast<uint32_t>(notchwell::FormatResult(kValues[i % kValueCount], text));
    g_sink = static_cast<unsigned char>(text[0]);
  }
}

void bench_evaluate_form(int calls) {
  notchwell::FormSnapshot s{};
  s.mode = notchwell::CalcMode::SolveFrequency;
  s.resistance_unit = 1;
  s.capacitance_unit = 1;
  s.frequency_unit = 0;
  std::memcpy(s.resistance_text, "10", 3);
  std::memcpy(s.capacitance_text, "10", 3);
  for (int i = 0; i < calls; ++i) {
    const notchwell::CalcOutcome outcome = notchwell::EvaluateForm(s);
    g_sink = static_cast<unsigned char>(outcome.text[0]);
  }
}
}
