#include "format_result.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {

using notchwell::FormatResult;
using notchwell::kResultTextSize;

struct Case {
  float value;
  const char* text;
};

class FormatResultCases : public testing::TestWithParam<Case> {};

TEST_P(FormatResultCases, PrintsSixDecimals) {
  char text[kResultTextSize];
  const int length = FormatResult(GetParam().value, text);
  EXPECT_STREQ(text, GetParam().text);
  EXPECT_EQ(length, static_cast<int>(std::strlen(GetParam().text)));
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Digits, FormatResultCases,
    testing::Values(Case{1591.5494384765625f, "1591.549438"}, Case{0.1f, "0.100000"},
                    Case{15915.494140625f, "15915.494141"}, Case{0.0159154939f, "0.015915"},
                    Case{123.456f, "123.456001"}, Case{1e20f, "100000002004087730000.000000"},
                    Case{0.0078125f, "0.007813"}, Case{0.9999997f, "1.000000"}, Case{0.5f, "0.500000"},
                    Case{1.0f, "1.000000"}, Case{159154.9375f, "159154.937500"}, Case{16777216.0f, "16777216.000000"},
                    Case{std::numeric_limits<float>::max(), "340282346638528860000000000000000000000.000000"},
                    Case{-std::numeric_limits<float>::max(), "-340282346638528860000000000000000000000.000000"}));

INSTANTIATE_TEST_SUITE_P(SignsAndLimits, FormatResultCases,
                         testing::Values(Case{0.0f, "0.000000"}, Case{-0.0f, "0.000000"}, Case{-1e-9f, "-0.000000"},
                                         Case{1e-9f, "0.000000"}, Case{-1591.5494384765625f, "-1591.549438"},
                                         Case{kInf, "1.#INF00"}, Case{-kInf, "-1.#INF00"},
                                         Case{std::numeric_limits<float>::denorm_min(), "0.000000"},
                                         // 5e-7 as a float lies just below the tie; 5.0000006e-7 just above.
                                         Case{5e-7f, "0.000000"}, Case{5.0000006e-7f, "0.000001"},
                                         Case{-5.0000006e-7f, "-0.000001"}, Case{4e-7f, "0.000000"},
                                         Case{9.9999997e-7f, "0.000001"}));

TEST(FormatResult, LongestTextFitsTheBuffer) {
  char text[kResultTextSize];
  EXPECT_EQ(FormatResult(-std::numeric_limits<float>::max(), text), 47);
}

}  // namespace
