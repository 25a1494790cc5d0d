#include "elementary.h"

#include <cstdint>
#include <cstring>

namespace notchwell {
namespace {

constexpr double kLn2High = 6.93147180369123816490e-01;  // ln 2 in 32 bits, so n * it is exact
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kLn10 = 2.302585092994046;
constexpr double kLog10E = 0.4342944819032518;
constexpr double kLog2Of10 = 3.321928094887362;
constexpr double kSqrtHalf = 0.7071067811865476;

std::uint64_t BitsOf(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

double FromBits(std::uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// 10^k for 0 <= k <= 22, every one exact in a double.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 2^n for a normal exponent.
double PowerOfTwo(int n) { return FromBits(static_cast<std::uint64_t>(n + 1023) << 52); }

// ln x for finite positive x: x = m 2^e with m in [sqrt(1/2), sqrt(2)),
// ln m = 2 atanh((m - 1) / (m + 1)), whose series converges fast there.
double NaturalLog(double x) {
  int extra = 0;
  if (x < 2.2250738585072014e-308) {  // subnormal: scale into the normal range first
    x *= 18014398509481984.0;         // 2^54
    extra = -54;
  }
  const std::uint64_t bits = BitsOf(x);
  int e = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
  double m = FromBits((bits & 0x000fffffffffffffull) | 0x3ff0000000000000ull);  // [1, 2)
  if (m > 2 * kSqrtHalf) {
    m *= 0.5;
    ++e;
  }
  const double z = (m - 1) / (m + 1);
  const double z2 = z * z;
  double sum = 0;
  for (int k = 23; k >= 3; k -= 2) sum = (sum + 1.0 / k) * z2;
  const double ln_m = 2 * z + 2 * z * sum;
  const double n = e + extra;
  return n * kLn2High + (n * kLn2Low + ln_m);
}

}  // namespace

double ScaleByPowerOfTen(double value, int exponent) {
  for (int e = exponent; e > 0; e -= 22) value *= kExactPowers[e < 22 ? e : 22];
  for (int e = exponent; e < 0; e += 22) value /= kExactPowers[-e < 22 ? -e : 22];
  return value;
}

double Log10(double x) { return NaturalLog(x) * kLog10E; }

double Pow10(double x) {
  // 10^x = 2^n e^r with r = x ln 10 - n ln 2 in [-ln2/2, ln2/2].
  const double t = x * kLog2Of10;
  const double n = t < 0 ? static_cast<double>(static_cast<std::int64_t>(t - 0.5))
                         : static_cast<double>(static_cast<std::int64_t>(t + 0.5));
  const double r = (x * kLn10 - n * kLn2High) - n * kLn2Low;
  double e = 1;
  for (int k = 17; k >= 1; --k) e = 1 + e * r / k;
  return e * PowerOfTwo(static_cast<int>(n));
}

double NthSmallest(double* values, int from, int count, int n) {
  int low = from, high = count - 1;
  while (low < high) {
    const double pivot = values[low + (high - low) / 2];
    int i = low, j = high;
    while (i <= j) {
      while (values[i] < pivot) ++i;
      while (values[j] > pivot) --j;
      if (i <= j) {
        const double t = values[i];
        values[i++] = values[j];
        values[j--] = t;
      }
    }
    // [low, j] <= pivot <= [i, high], and pivot between them.
    if (n <= j) {
      high = j;
    } else if (n >= i) {
      low = i;
    } else {
      break;
    }
  }
  return values[n];
}

double PowerRatioToDecibels(double power_ratio) {
  constexpr double kFloor = 1e-40;  // -400 dB
  return 10 * Log10(power_ratio > kFloor ? power_ratio : kFloor);
}

}  // namespace notchwell
