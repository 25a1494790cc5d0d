// Both conversions against the exact oracle, over a million seeded random
// inputs each, plus a print-and-scan-back round trip.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "exact_decimal.h"
#include "format_result.h"
#include "parse_number_text.h"
#include "random_inputs.h"

namespace {

constexpr int kSamples = 1000000;

using oracle::Bits;
using oracle::FromBits;

TEST(Differential, FormatResultMatchesTheExactExpansion) {
  std::mt19937 rng(20261207);
  int failures = 0;
  for (int i = 0; i < kSamples && failures < 10; ++i) {
    const float value = oracle::RandomFloat(rng);
    char text[notchwell::kResultTextSize];
    notchwell::FormatResult(value, text);
    const std::string expected = oracle::ExpectedResultText(value);
    if (expected != text) {
      ++failures;
      ADD_FAILURE() << "bits 0x" << std::hex << Bits(value) << ": got " << text << ", expected " << expected;
    }
  }
}

TEST(Differential, ParseNumberTextGivesTheNearestFloat) {
  std::mt19937 rng(7122026);
  int failures = 0;
  for (int i = 0; i < kSamples && failures < 10; ++i) {
    const oracle::NumberSample s = oracle::RandomNumberText(rng);
    ASSERT_LE(s.text.size(), 63u);
    float got = 0.0f;
    ASSERT_TRUE(notchwell::ParseNumberText(s.text, got)) << s.text;
    float expected = oracle::NearestFloat(s.decimal);
    if (s.negative) expected = -expected;
    if (Bits(got) != Bits(expected)) {
      ++failures;
      ADD_FAILURE() << "\"" << s.text << "\": got " << std::hexfloat << got << ", expected " << expected;
    }
  }
}

TEST(Differential, PrintedFloatsScanBackToTheSameBits) {
  std::mt19937 rng(1591549);
  for (int i = 0; i < kSamples / 4; ++i) {
    std::uint32_t bits;
    do {
      bits = static_cast<std::uint32_t>(rng());
    } while ((bits & 0x7F800000u) == 0x7F800000u);
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(FromBits(bits)));
    float back = 0.0f;
    ASSERT_TRUE(notchwell::ParseNumberText(text, back)) << text;
    ASSERT_EQ(Bits(back), bits) << text;
  }
}

}  // namespace
