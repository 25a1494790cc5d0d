// Per-call cost of the conversions and of one evaluation, each beside the
// C library's nearest equivalent and with its goal, and a count of heap
// allocations made on the calculation path (which must stay zero).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "bench_inputs.h"
#include "evaluate_form.h"
#include "format_result.h"
#include "parse_number_text.h"

namespace {

using bench::kTextCount;
using bench::kTexts;
using bench::kValueCount;
using bench::kValues;

void ReportAllocations(benchmark::State& state, long before) {
  state.counters["allocs"] = static_cast<double>(AllocationCount() - before);
}

void BM_ParseNumberText(benchmark::State& state) {
  int i = 0;
  const long before = AllocationCount();
  for (auto _ : state) {
    float value;
    benchmark::DoNotOptimize(notchwell::ParseNumberText(kTexts[i], value));
    benchmark::DoNotOptimize(value);
    i = (i + 1) % kTextCount;
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_ParseNumberText);

void BM_Baseline_strtof(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::strtof(kTexts[i], nullptr));
    i = (i + 1) % kTextCount;
  }
}
BENCHMARK(BM_Baseline_strtof);

void BM_FormatResult(benchmark::State& state) {
  int i = 0;
  const long before = AllocationCount();
  for (auto _ : state) {
    char text[notchwell::kResultTextSize];
    benchmark::DoNotOptimize(notchwell::FormatResult(kValues[i], text));
    benchmark::DoNotOptimize(text);
    i = (i + 1) % kValueCount;
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_FormatResult);

void BM_Baseline_snprintf_f(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    char text[64];
    benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%f", static_cast<double>(kValues[i])));
    benchmark::DoNotOptimize(text);
    i = (i + 1) % kValueCount;
  }
}
BENCHMARK(BM_Baseline_snprintf_f);

notchwell::FormSnapshot WorkedExample() {
  notchwell::FormSnapshot s{};
  s.mode = notchwell::CalcMode::SolveFrequency;
  s.resistance_unit = 1;
  s.capacitance_unit = 1;
  s.frequency_unit = 0;
  std::strcpy(s.resistance_text, "10");
  std::strcpy(s.capacitance_text, "10");
  return s;
}

void BM_EvaluateForm(benchmark::State& state) {
  const notchwell::FormSnapshot s = WorkedExample();
  const long before = AllocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(notchwell::EvaluateForm(s));
  ReportAllocations(state, before);
}
BENCHMARK(BM_EvaluateForm);

// The same evaluation done with the C library's conversions.
void BM_Baseline_strtof_snprintf(benchmark::State& state) {
  const notchwell::FormSnapshot s = WorkedExample();
  for (auto _ : state) {
    const double r = std::strtof(s.resistance_text, nullptr) * 1000.0;
    const double c = std::strtof(s.capacitance_text, nullptr) * 1e-9;
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(static_cast<float>(1.0 / ((c * r) * 6.2831853))));
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_Baseline_strtof_snprintf);

// Collects the runs instead of printing them, so that each figure is
// printed once, in the table below, beside its baseline and its goal.
class Collector : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) results[run.benchmark_name()] = run;
  }
  std::map<std::string, Run> results;
};

}  // namespace

// --figures FILE: also writes the three per-call times as JSON, for the
// WebAssembly benchmark to set its own beside them.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const char* figures = argc == 3 && std::strcmp(argv[1], "--figures") == 0 ? argv[2] : nullptr;
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  const auto ns = [&](const char* name) { return collector.results[name].GetAdjustedRealTime(); };
  const auto allocs = [&](const char* name) {
    const auto& counters = collector.results[name].counters;
    const auto it = counters.find("allocs");
    return it == counters.end() ? -1.0 : it->second.value;
  };
  struct Row {
    const char* name;
    const char* baseline_name;
    const char* baseline;
    double goal_ns;  // the per-call limit
    const char* goal;
  };
  const double parse_base = ns("BM_Baseline_strtof");
  const double format_base = ns("BM_Baseline_snprintf_f");
  const Row rows[] = {
      {"BM_ParseNumberText", "BM_Baseline_strtof", "strtof", parse_base, "<= strtof"},
      {"BM_FormatResult", "BM_Baseline_snprintf_f", "snprintf \"%f\"", 2 * format_base, "<= 2 x snprintf"},
      {"BM_EvaluateForm", "BM_Baseline_strtof_snprintf", "strtof + snprintf", 1000.0, "< 1 us"},
  };
  std::printf("%-20s %10s   %-18s %10s   %-16s %s\n", "per call", "ns", "baseline", "ns", "goal", "allocations");
  bool met = true;
  for (const Row& row : rows) {
    const double t = ns(row.name);
    const bool ok = t <= row.goal_ns && allocs(row.name) == 0;
    met = met && ok;
    std::printf("%-20s %10.1f   %-18s %10.1f   %-16s %.0f (goal 0)   %s\n", row.name + 3, t, row.baseline,
                ns(row.baseline_name), row.goal, allocs(row.name), ok ? "met" : "NOT MET");
  }
  if (figures) {
    if (FILE* out = std::fopen(figures, "w")) {
      std::fprintf(out, "{\"ParseNumberText\": %.2f, \"FormatResult\": %.2f, \"EvaluateForm\": %.2f}\n",
                   ns("BM_ParseNumberText"), ns("BM_FormatResult"), ns("BM_EvaluateForm"));
      std::fclose(out);
    }
  }
  benchmark::Shutdown();
  return met ? 0 : 1;
}
