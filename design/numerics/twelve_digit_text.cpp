#include "twelve_digit_text.h"

#include <cstdint>

#include "big_integer.h"
#include "bits.h"
#include "elementary.h"

namespace notchwell {
namespace {

constexpr int kDigits = 12;
constexpr double kExactLowest = 1e-30;
constexpr double kExactHighest = 1e30;

void MulPow10(BigInteger& n, int exponent) {
  BigMulPow5(n, exponent);
  BigShiftLeft(n, exponent);
}

// The first kDigits digits of value (1e-30 <= value < 1e30), rounded,
// and the power of ten of the first.
int DecimalDigits(double value, char (&digits)[kDigits]) {
  const std::uint64_t bits = BitsOf(value);
  const int biased = static_cast<int>(bits >> 52) & 0x7ff;
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  const std::uint64_t mantissa = biased ? fraction | (std::uint64_t{1} << 52) : fraction;
  const int binary_exponent = (biased ? biased : 1) - 1075;
  // value = num / den, then scaled into [1, 10).
  BigInteger num, den;
  BigSet(num, mantissa);
  BigSet(den, 1);
  if (binary_exponent > 0) BigShiftLeft(num, binary_exponent);
  if (binary_exponent < 0) BigShiftLeft(den, -binary_exponent);
  int exponent = static_cast<int>(Log10(value));
  if (Log10(value) < 0 && exponent != Log10(value)) --exponent;
  if (exponent > 0) MulPow10(den, exponent);
  if (exponent < 0) MulPow10(num, -exponent);
  if (BigCompare(num, den) < 0) {
    BigMulSmall(num, 10);
    --exponent;
  }
  BigInteger ten_den = den;
  BigMulSmall(ten_den, 10);
  if (BigCompare(num, ten_den) >= 0) {
    den = ten_den;
    ++exponent;
  }
  for (char& digit : digits) {
    digit = 0;
    while (BigCompare(num, den) >= 0) {
      BigSubtract(num, den);
      ++digit;
    }
    BigMulSmall(num, 10);
  }
  // What is left, against half a unit of the last digit.
  BigInteger half = den;
  BigMulSmall(half, 5);
  if (BigCompare(num, half) >= 0) {
    int i = kDigits - 1;
    while (i >= 0 && digits[i] == 9) digits[i--] = 0;
    if (i >= 0) {
      ++digits[i];
    } else {
      digits[0] = 1;
      ++exponent;
    }
  }
  return exponent;
}

}  // namespace

int TwelveDigitText(double value, char (&text)[kTwelveDigitTextSize]) {
  int at = 0;
  if (value < 0) {
    text[at++] = '-';
    value = -value;
  }
  if (!(value > 0)) {
    text[at++] = '0';
    text[at] = '\0';
    return at;
  }
  // Far out, scaled by a power of ten first: not exact, but near.
  int shift = 0;
  if (value < kExactLowest || value >= kExactHighest) {
    shift = static_cast<int>(Log10(value));
    value = ScaleByPowerOfTen(value, -shift);
    if (value < 1) {
      value = ScaleByPowerOfTen(value, 1);
      --shift;
    }
  }
  char digits[kDigits];
  const int exponent = DecimalDigits(value, digits) + shift;
  int last = kDigits - 1;
  while (last > 0 && digits[last] == 0) --last;
  if (exponent < -4 || exponent >= kDigits) {
    text[at++] = static_cast<char>('0' + digits[0]);
    if (last > 0) text[at++] = '.';
    for (int i = 1; i <= last; ++i) text[at++] = static_cast<char>('0' + digits[i]);
    text[at++] = 'e';
    text[at++] = exponent < 0 ? '-' : '+';
    const int size = exponent < 0 ? -exponent : exponent;
    if (size >= 100) text[at++] = static_cast<char>('0' + size / 100);
    text[at++] = static_cast<char>('0' + size / 10 % 10);
    text[at++] = static_cast<char>('0' + size % 10);
  } else if (exponent >= 0) {
    for (int i = 0; i <= exponent || i <= last; ++i) {
      if (i == exponent + 1) text[at++] = '.';
      text[at++] = static_cast<char>('0' + digits[i]);
    }
  } else {
    text[at++] = '0';
    text[at++] = '.';
    for (int i = 1; i < -exponent; ++i) text[at++] = '0';
    for (int i = 0; i <= last; ++i) text[at++] = static_cast<char>('0' + digits[i]);
  }
  text[at] = '\0';
  return at;
}

}  // namespace notchwell
