// Exhaustive and large-volume checks of the two number conversions.
//
//   verify_exactness [--oracle] [--threads N] [--texts N] [--forms N] [--every K]
//
// Always: a digest of FormatResult over all 2^32 float bit patterns, of
// ParseNumberText over N generated texts (default 10^8) and of EvaluateForm
// over N generated forms (default 10^7) and the 32 forms whose results lie
// by a midpoint between floats (midpoint_forms.inc), so that builds (native, 32-bit
// Windows under Wine, WebAssembly under node) can be compared line by line. With --oracle, also every formatted text
// against the exact decimal oracle and every parse against strtof on the scanned characters.
// --every K, for a quick try, formats only every K-th block of 2^24
// patterns.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "conversion_inputs.h"
#include "evaluate_form.h"
#include "exact_decimal.h"
#include "format_result.h"
#include "parse_number_text.h"
#include "random_inputs.h"
#include "scan_oracle.h"

namespace {

using exactness::Digest;
using exactness::kFormatChunks;
using exactness::kParseChunks;
using oracle::Bits;
using oracle::FromBits;

struct Options {
  bool oracle = false;
  unsigned threads = 1;
  std::uint64_t texts = 100000000;
  std::uint64_t forms = 10000000;
  int every = 1;
};

std::mutex g_report_lock;
std::atomic<int> g_reported{0};

void Report(const std::string& line) {
  if (g_reported.fetch_add(1) >= 20) return;
  std::lock_guard<std::mutex> lock(g_report_lock);
  std::printf("MISMATCH %s\n", line.c_str());
}

// Runs work(chunk) for chunks 0..count-1 on the given number of threads.
template <typename Work>
void ForEachChunk(unsigned threads, int count, Work work) {
  std::atomic<int> next{0};
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back([&] {
      for (int c; (c = next.fetch_add(1)) < count;) work(c);
    });
  }
  for (auto& th : pool) th.join();
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// ---- FormatResult over every bit pattern ----------------------------------

struct FormatCounts {
  std::atomic<std::uint64_t> by_oracle{0}, below_half_millionth{0}, nan{0}, mismatches{0};
};

// What the program must print where no oracle is needed: magnitudes below
// 2^-21 (under 0.0000005 even after rounding to 17 digits), and NaNs.
const char* KnownText(std::uint32_t bits) {
  const std::uint32_t magnitude = bits & 0x7FFFFFFFu;
  const bool negative = bits >> 31;
  if (magnitude > 0x7F800000u) return negative ? "-1.#IND00" : "1.#QNAN0";
  if (magnitude < 0x35000000u) return negative && magnitude != 0 ? "-0.000000" : "0.000000";  // 2^-21
  return nullptr;
}

void FormatChunk(int chunk, bool use_oracle, std::uint64_t& digest, FormatCounts& counts) {
  Digest d;
  std::uint64_t by_oracle = 0, small = 0, nan = 0, bad = 0;
  const std::uint32_t first = static_cast<std::uint32_t>(chunk) << 24;
  for (std::uint32_t i = 0; i < (1u << 24); ++i) {
    const std::uint32_t bits = first + i;
    char text[notchwell::kResultTextSize];
    const int length = notchwell::FormatResult(FromBits(bits), text);
    d.Add(text, static_cast<std::size_t>(length) + 1);
    if (!use_oracle) continue;
    if (const char* known = KnownText(bits)) {
      ((bits & 0x7FFFFFFFu) > 0x7F800000u ? nan : small) += 1;
      if (std::strcmp(text, known) != 0) {
        ++bad;
        char line[128];
        std::snprintf(line, sizeof line, "format 0x%08" PRIx32 ": %s, expected %s", bits, text, known);
        Report(line);
      }
      continue;
    }
    ++by_oracle;
    const std::string expected = oracle::ExpectedResultText(FromBits(bits));
    if (expected != text) {
      ++bad;
      char line[160];
      std::snprintf(line, sizeof line, "format 0x%08" PRIx32 ": %s, expected %s", bits, text, expected.c_str());
      Report(line);
    }
  }
  digest = d.h;
  counts.by_oracle += by_oracle;
  counts.below_half_millionth += small;
  counts.nan += nan;
  counts.mismatches += bad;
}

bool CheckFormat(const Options& o) {
  const auto start = std::chrono::steady_clock::now();
  const int chunks = kFormatChunks / o.every;
  std::vector<std::uint64_t> digests(chunks);
  FormatCounts counts;
  ForEachChunk(o.threads, chunks, [&](int c) { FormatChunk(c * o.every, o.oracle, digests[c], counts); });
  Digest all;
  for (std::uint64_t d : digests) all.Add(d);
  std::printf("format digest: %016" PRIx64 " over %" PRIu64 " bit patterns\n", all.h,
              static_cast<std::uint64_t>(chunks) << 24);
  if (o.oracle) {
    std::printf("format oracle: %" PRIu64 " patterns against the exact expansion, %" PRIu64
                " below 2^-21 as 0.000000 or -0.000000, %" PRIu64 " NaNs; %" PRIu64 " mismatches (%.0f s)\n",
                counts.by_oracle.load(), counts.below_half_millionth.load(), counts.nan.load(),
                counts.mismatches.load(), Seconds(start));
  } else {
    std::printf("format time: %.0f s\n", Seconds(start));
  }
  return counts.mismatches == 0;
}

// ---- ParseNumberText over generated texts ---------------------------------

struct ParseCounts {
  std::atomic<std::uint64_t> numbers{0}, failures{0}, mismatches{0};
};

void ParseChunk(int chunk, const Options& o, std::uint64_t count, Digest& inputs, Digest& results,
                ParseCounts& counts) {
  std::mt19937 rng = exactness::ChunkGenerator(chunk);
  std::uint64_t numbers = 0, failures = 0, bad = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string text = exactness::GeneratedText(rng);
    float value = 0.0f;
    const bool ok = notchwell::ParseNumberText(text, value);
    inputs.Add(text.data(), text.size() + 1);
    const std::uint32_t bits = ok ? Bits(value) : 0;
    results.AddParse(ok, bits);
    (ok ? numbers : failures) += 1;
    if (!o.oracle) continue;
    float expected = 0.0f;
    const bool expected_ok = oracle::ScanFloat(text.data(), text.size(), expected);
    if (ok != expected_ok || (ok && Bits(expected) != bits)) {
      ++bad;
      char line[200];
      std::snprintf(line, sizeof line, "parse \"%s\": %d %a, expected %d %a", text.c_str(), ok,
                    static_cast<double>(value), expected_ok, static_cast<double>(expected));
      Report(line);
    }
  }
  counts.numbers += numbers;
  counts.failures += failures;
  counts.mismatches += bad;
}

bool CheckParse(const Options& o) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<Digest> inputs(kParseChunks), results(kParseChunks);
  ParseCounts counts;
  const std::uint64_t per_chunk = (o.texts + kParseChunks - 1) / kParseChunks;
  ForEachChunk(o.threads, kParseChunks, [&](int c) { ParseChunk(c, o, per_chunk, inputs[c], results[c], counts); });
  Digest all_inputs, all_results;
  for (int c = 0; c < kParseChunks; ++c) {
    all_inputs.Add(inputs[c].h);
    all_results.Add(results[c].h);
  }
  const std::uint64_t total = per_chunk * kParseChunks;
  std::printf("parse inputs digest: %016" PRIx64 " over %" PRIu64 " texts\n", all_inputs.h, total);
  std::printf("parse digest: %016" PRIx64 " over %" PRIu64 " texts\n", all_results.h, total);
  if (o.oracle) {
    std::printf("parse oracle: %" PRIu64 " numbers and %" PRIu64
                " failures against strtof on the scanned text; %" PRIu64 " mismatches (%.0f s)\n",
                counts.numbers.load(), counts.failures.load(), counts.mismatches.load(), Seconds(start));
  } else {
    std::printf("parse time: %.0f s\n", Seconds(start));
  }
  return counts.mismatches == 0;
}

// ---- EvaluateForm over generated forms -------------------------------------

// One form through EvaluateForm, into the digest.
void Evaluate(const exactness::FormInput& form, Digest& outcomes) {
  notchwell::FormSnapshot snapshot{};
  snapshot.mode = static_cast<notchwell::CalcMode>(form.mode);
  snapshot.resistance_unit = form.units[0];
  snapshot.capacitance_unit = form.units[1];
  snapshot.frequency_unit = form.units[2];
  char* const texts[] = {snapshot.resistance_text, snapshot.capacitance_text, snapshot.frequency_text};
  for (int q = 0; q < 3; ++q) std::memcpy(texts[q], form.texts[q].c_str(), form.texts[q].size() + 1);
  const notchwell::CalcOutcome outcome = notchwell::EvaluateForm(snapshot);
  const char* text = outcome.kind == notchwell::OutcomeKind::Error    ? outcome.message
                     : outcome.kind == notchwell::OutcomeKind::Result ? outcome.text
                                                                      : "";
  outcomes.AddOutcome(static_cast<int>(outcome.kind), static_cast<int>(outcome.field), text);
}

void FormChunk(int chunk, std::uint64_t count, Digest& outcomes) {
  std::mt19937 rng = exactness::FormChunkGenerator(chunk);
  for (std::uint64_t i = 0; i < count; ++i) Evaluate(exactness::RandomForm(rng), outcomes);
}

void CheckForms(const Options& o) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<Digest> outcomes(exactness::kFormChunks);
  const std::uint64_t per_chunk = (o.forms + exactness::kFormChunks - 1) / exactness::kFormChunks;
  ForEachChunk(o.threads, exactness::kFormChunks, [&](int c) { FormChunk(c, per_chunk, outcomes[c]); });
  Digest all;
  for (const Digest& d : outcomes) all.Add(d.h);
  std::printf("form digest: %016" PRIx64 " over %" PRIu64 " forms\n", all.h, per_chunk * exactness::kFormChunks);
  Digest midpoints;
  for (int i = 0; i < exactness::kMidpointFormCount; ++i) Evaluate(exactness::MidpointForm(i), midpoints);
  std::printf("midpoint form digest: %016" PRIx64 " over %d forms\n", midpoints.h, exactness::kMidpointFormCount);
  std::printf("form time: %.0f s\n", Seconds(start));
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  o.threads = std::thread::hardware_concurrency() ? std::thread::hardware_concurrency() : 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--oracle") {
      o.oracle = true;
    } else if (arg == "--threads" && i + 1 < argc) {
      o.threads = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--every" && i + 1 < argc) {
      o.every = std::atoi(argv[++i]);
    } else if (arg == "--texts" && i + 1 < argc) {
      o.texts = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--forms" && i + 1 < argc) {
      o.forms = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--find-midpoint-forms" && i + 1 < argc) {
      // Prints the table of midpoint_forms.inc.
      std::mt19937 rng = exactness::MidpointFormGenerator();
      for (int n = std::atoi(argv[++i]); n > 0; --n) {
        const exactness::FormInput form = exactness::NearMidpointForm(rng);
        std::printf("    {\"%s\", \"%s\"},\n", form.texts[0].c_str(), form.texts[1].c_str());
      }
      return 0;
    } else {
      std::fprintf(stderr,
                   "usage: verify_exactness [--oracle] [--threads N] [--texts N] [--forms N] "
                   "[--every K]\n");
      return 2;
    }
  }
  if (o.threads == 0) o.threads = 1;
  if (o.every < 1 || o.every > kFormatChunks) o.every = 1;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const bool parse_ok = CheckParse(o);
  CheckForms(o);
  const bool format_ok = CheckFormat(o);
  return parse_ok && format_ok ? 0 : 1;
}
