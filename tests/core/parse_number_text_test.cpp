#include "parse_number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

using notchwell::ParseNumberText;

std::uint32_t Bits(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

struct Accepted {
  const char* text;
  float expected;
};

class ParseAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(ParseAccepts, GivesNearestFloat) {
  float value = 12345.0f;
  ASSERT_TRUE(ParseNumberText(GetParam().text, value)) << GetParam().text;
  EXPECT_EQ(Bits(value), Bits(GetParam().expected)) << GetParam().text << " gave " << value;
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(Grammar, ParseAccepts,
                         testing::Values(Accepted{"1591.549438", 1591.5494384765625f}, Accepted{"0.1", 0.1f},
                                         Accepted{"  \t12", 12.0f}, Accepted{"\n\v\f\r12", 12.0f},
                                         Accepted{"12k", 12.0f}, Accepted{"+12", 12.0f}, Accepted{".5", 0.5f},
                                         Accepted{"5.", 5.0f}, Accepted{"1e3", 1000.0f}, Accepted{"1E3", 1000.0f},
                                         Accepted{"1e", 1.0f}, Accepted{"1e+", 1.0f}, Accepted{"1e-", 1.0f},
                                         Accepted{"1ex", 1.0f}, Accepted{"1,5", 1.0f}, Accepted{"0x10", 0.0f},
                                         Accepted{"-0", -0.0f}, Accepted{"1.#INF00", 1.0f},
                                         Accepted{"-1.#INF00", -1.0f}, Accepted{"12 34", 12.0f},
                                         Accepted{"1e0000000000000000000000000000000000000000000000003", 1000.0f},
                                         Accepted{"007", 7.0f}, Accepted{"0.000", 0.0f}, Accepted{"-.0e7", -0.0f}));

INSTANTIATE_TEST_SUITE_P(
    Range, ParseAccepts,
    testing::Values(Accepted{"1e39", kInf}, Accepted{"-1e39", -kInf}, Accepted{"1e-50", 0.0f},
                    Accepted{"-1e-50", -0.0f}, Accepted{"3.4028235e38", 3.4028235e38f},
                    Accepted{"340282356779733661637539395458142568448", kInf},  // exactly the midpoint past FLT_MAX
                    Accepted{"340282356779733661637539395458142568447", 3.4028235e38f}, Accepted{"1.4e-45", 1.4e-45f},
                    Accepted{"7.1e-46", 1.4e-45f},
                    // 2^-150 exactly: a tie between zero and the smallest subnormal, goes to zero.
                    Accepted{
                        "7.00649232162408535461864791644958065640130970938257885878534141944895541342930300743319094"
                        "181060791015625e-46",
                        0.0f},
                    Accepted{"1e99999999", kInf}, Accepted{"1e-99999999", 0.0f},
                    Accepted{"0.00000000000000000000000000000000000000000000000000000000001e60", 10.0f}));

INSTANTIATE_TEST_SUITE_P(
    Rounding, ParseAccepts,
    testing::Values(  // 2^24 + 1 is a tie between 2^24 and 2^24 + 2: to even.
        Accepted{"16777217", 16777216.0f}, Accepted{"16777219", 16777220.0f},
        Accepted{"16777217.000000000000000000000000000000000000000000000001", 16777218.0f},
        Accepted{"16777216.999999999999999999999999999999999999999999999999", 16777216.0f},
        // Long mantissa whose deciding digit lies past the 120th.
        Accepted{"16777217"
                 "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
                 "0000000000000000000000000000000000001e-131",
                 16777218.0f},
        Accepted{"0.1000000000000000055511151231257827", 0.1f}, Accepted{"123.456", 123.456f}));

struct Rejected {
  const char* text;
};

class ParseRejects : public testing::TestWithParam<Rejected> {};

TEST_P(ParseRejects, WhenNoDigitIsTaken) {
  float value = 42.0f;
  EXPECT_FALSE(ParseNumberText(GetParam().text, value)) << GetParam().text;
  EXPECT_EQ(value, 42.0f) << "a failed scan leaves the value alone";
}

INSTANTIATE_TEST_SUITE_P(Grammar, ParseRejects,
                         testing::Values(Rejected{"   "}, Rejected{"+"}, Rejected{"-"}, Rejected{"."}, Rejected{"abc"},
                                         Rejected{"-a"}, Rejected{"e5"}, Rejected{".e5"}, Rejected{"- 1"},
                                         Rejected{"inf"}, Rejected{"nan"},
                                         Rejected{"\xA0"
                                                  "1"},
                                         Rejected{",5"},
                                         Rejected{"\x85"
                                                  "5"},
                                         Rejected{"+-1"}));

TEST(ParseNumberText, ReadsOnlyTheGivenBytes) {
  // "12" followed by digits that lie outside the view.
  const char buffer[] = "1234";
  float value = 0.0f;
  ASSERT_TRUE(ParseNumberText(std::string_view(buffer, 2), value));
  EXPECT_EQ(value, 12.0f);
  ASSERT_FALSE(ParseNumberText(std::string_view(buffer, 0), value));
}

TEST(ParseNumberText, HighBytesAreNeitherSpaceNorDigits) {
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const std::string text = std::string(1, static_cast<char>(byte)) + "7";
    float value = 0.0f;
    EXPECT_FALSE(ParseNumberText(text, value)) << byte;
    const std::string after = "7" + std::string(1, static_cast<char>(byte)) + "7";
    ASSERT_TRUE(ParseNumberText(after, value)) << byte;
    EXPECT_EQ(value, 7.0f) << byte;
  }
}

}  // namespace
