// Exhaustive and large-volume checks of the two number conversions.
//
//   verify_exactness [--oracle] [--threads N] [--texts N] [--every K]
//
// Always: a digest of FormatResult over all 2^32 float bit patterns and a
// digest of ParseNumberText over N generated texts (default 10^8), so that
// two builds (native, and 32-bit Windows under Wine) can be compared line
// by line. With --oracle, also every formatted text against the exact
// decimal oracle and every parse against strtof on the scanned characters.
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

#include "exact_decimal.h"
#include "format_result.h"
#include "parse_number_text.h"
#include "random_inputs.h"
#include "scan_oracle.h"

namespace {

using oracle::Bits;
using oracle::FromBits;

struct Digest {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a
  void Add(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  }
  void Add(std::uint64_t v) {
    unsigned char le[8];
    for (int i = 0; i < 8; ++i) le[i] = static_cast<unsigned char>(v >> (8 * i));
    Add(le, 8);
  }
};

struct Options {
  bool oracle = false;
  unsigned threads = 1;
  std::uint64_t texts = 100000000;
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

constexpr int kFormatChunks = 256;  // 2^24 patterns each

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

constexpr int kParseChunks = 100;

std::uint32_t Below(std::mt19937& rng, std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); }

// Decimal texts of the exact midpoints where rounding changes its mind:
// past the largest float, among the subnormals and at the smallest normal,
// cut or nudged in their last digit.
std::string NearThreshold(std::mt19937& rng) {
  double mid;
  switch (Below(rng, 3)) {
    case 0:  // halfway between the largest floats, and past the largest
      mid = std::ldexp(static_cast<double>((1u << 25) - 1 - 2 * Below(rng, 3)), 103);
      break;
    case 1:  // odd multiples of 2^-150: halfway between subnormals
      mid = std::ldexp(static_cast<double>(2 * Below(rng, 16) + 1), -150);
      break;
    default:  // around the smallest normal float
      mid = std::ldexp(static_cast<double>((1u << 24) - 2 + 2 * Below(rng, 3)) + 1.0, -150);
      break;
  }
  const std::string sign = Below(rng, 2) ? "-" : "";
  // The significant digits, and the exponent of the first.
  const oracle::Expansion x = oracle::ExactDigits(mid, 60);
  std::string digits;
  int exponent;
  int tweak;
  if (mid > 1.0) {  // 39 integer digits; keep 10..45 of them
    digits = x.integer;
    exponent = static_cast<int>(digits.size()) - 1;
    digits.resize(std::min<std::size_t>(digits.size(), 10 + Below(rng, 36)));
    tweak = Below(rng, 3) == 0 ? 1 : 0;
  } else {  // tiny: keep 5..49 digits after the leading zeros
    const std::size_t lead = x.fraction.find_first_not_of('0');
    digits = x.fraction.substr(lead);
    exponent = -static_cast<int>(lead) - 1;
    digits.resize(std::min<std::size_t>(digits.size(), 5 + Below(rng, 45)));
    tweak = static_cast<int>(Below(rng, 3));
  }
  if (tweak == 1 && digits.back() < '9') ++digits.back();
  if (tweak == 2 && digits.back() > '0') --digits.back();
  return sign + digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(exponent);
}

std::string RandomDigitString(std::mt19937& rng, std::uint32_t max) {
  std::string s;
  for (std::uint32_t n = Below(rng, max + 1); n > 0; --n) s.push_back(static_cast<char>('0' + Below(rng, 10)));
  return s;
}

// Short mantissas with exponents far outside any float's range.
std::string HugeExponent(std::mt19937& rng) {
  std::string text = RandomDigitString(rng, 6);
  if (Below(rng, 2)) text += "." + RandomDigitString(rng, 6);
  if (text.empty() || text == ".") text = "0" + text;
  text += Below(rng, 2) ? "e" : "E";
  const std::uint32_t sign = Below(rng, 3);
  if (sign) text += sign == 1 ? "+" : "-";
  text += std::string(Below(rng, 4), '0') + RandomDigitString(rng, 25);
  return text;
}

// The pieces of the grammar in random order: blanks of every kind, signs,
// points, exponent letters, digits; mostly failures and short numbers.
std::string Jumble(std::mt19937& rng) {
  static const char* const kPieces[] = {" ", "\t", "\n", "\v", "\f", "\r", "+",    "-",    ".",  "e",  "E",   "0",
                                        "1", "5",  "9",  "x",  ",",  "#",  "\x85", "\xA0", "1e", "e+", ".e5", "00"};
  std::string text;
  for (std::uint32_t n = 1 + Below(rng, 10); n > 0; --n) text += kPieces[Below(rng, sizeof kPieces / sizeof *kPieces)];
  return text;
}

std::string RandomBytes(std::mt19937& rng) {
  std::string text;
  for (std::uint32_t n = 1 + Below(rng, 63); n > 0; --n) text.push_back(static_cast<char>(1 + Below(rng, 255)));
  return text;
}

std::string GeneratedText(std::mt19937& rng) {
  static const char kBlanks[] = " \t\n\v\f\r";
  std::string text;
  for (std::uint32_t n = Below(rng, 4) == 0 ? Below(rng, 5) : 0; n > 0; --n) text.push_back(kBlanks[Below(rng, 6)]);
  switch (Below(rng, 10)) {
    case 0:
      text += NearThreshold(rng);
      break;
    case 1:
      text += HugeExponent(rng);
      break;
    case 2:
      text += Jumble(rng);
      break;
    case 3:
      text += RandomBytes(rng);
      break;
    default:
      text += oracle::RandomNumberText(rng).text;
      break;
  }
  if (Below(rng, 6) == 0) text += RandomBytes(rng);  // trailing junk
  if (text.size() > 63) text.resize(63);
  return text;
}

struct ParseCounts {
  std::atomic<std::uint64_t> numbers{0}, failures{0}, mismatches{0};
};

void ParseChunk(int chunk, const Options& o, std::uint64_t count, Digest& inputs, Digest& results,
                ParseCounts& counts) {
  std::mt19937 rng(20261208u + static_cast<std::uint32_t>(chunk));
  std::uint64_t numbers = 0, failures = 0, bad = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string text = GeneratedText(rng);
    float value = 0.0f;
    const bool ok = notchwell::ParseNumberText(text, value);
    inputs.Add(text.data(), text.size() + 1);
    const std::uint32_t bits = ok ? Bits(value) : 0;
    const unsigned char record[5] = {static_cast<unsigned char>(ok), static_cast<unsigned char>(bits),
                                     static_cast<unsigned char>(bits >> 8), static_cast<unsigned char>(bits >> 16),
                                     static_cast<unsigned char>(bits >> 24)};
    results.Add(record, sizeof record);
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
    } else {
      std::fprintf(stderr, "usage: verify_exactness [--oracle] [--threads N] [--texts N] [--every K]\n");
      return 2;
    }
  }
  if (o.threads == 0) o.threads = 1;
  if (o.every < 1 || o.every > kFormatChunks) o.every = 1;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const bool parse_ok = CheckParse(o);
  const bool format_ok = CheckFormat(o);
  return parse_ok && format_ok ? 0 : 1;
}
