#include "elementary.h"

#include <cstdint>

#include "bits.h"

namespace notchwell {
namespace {

constexpr double kLn2High = 6.93147180369123816490e-01;  // ln 2 in 32 bits, so n * it is exact
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kLn10 = 2.302585092994046;
constexpr double kLog10E = 0.4342944819032518;
constexpr double kLog2Of10 = 3.321928094887362;
constexpr double kSqrtHalf = 0.7071067811865476;

// 1 / k! for k from 0 to 19.
constexpr double kInverseFactorials[] = {1.0,
                                         1.0,
                                         0.5,
                                         0.16666666666666666,
                                         0.041666666666666664,
                                         0.008333333333333333,
                                         0.001388888888888889,
                                         0.0001984126984126984,
                                         2.48015873015873e-05,
                                         2.7557319223985893e-06,
                                         2.755731922398589e-07,
                                         2.505210838544172e-08,
                                         2.08767569878681e-09,
                                         1.6059043836821613e-10,
                                         1.1470745597729725e-11,
                                         7.647163731819816e-13,
                                         4.779477332387385e-14,
                                         2.8114572543455206e-15,
                                         1.5619206968586225e-16,
                                         8.22063524662433e-18};

// 2^n for a normal exponent.
double PowerOfTwo(int n) { return DoubleFromBits(static_cast<std::uint64_t>(n + 1023) << 52); }

// 10^k for 0 <= k <= kLargestExactPowerOfTen, every one exact in a double:
// a product or quotient by one rounds once.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPowerOfTen = 22;

}  // namespace

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
  double m = DoubleFromBits((bits & 0x000fffffffffffffull) | 0x3ff0000000000000ull);  // [1, 2)
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

double ScaleByPowerOfTen(double value, int exponent) {
  constexpr int kLargest = kLargestExactPowerOfTen;
  for (int e = exponent; e > 0; e -= kLargest) value *= kExactPowersOfTen[e < kLargest ? e : kLargest];
  for (int e = exponent; e < 0; e += kLargest) value /= kExactPowersOfTen[-e < kLargest ? -e : kLargest];
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

double Exp(double x) {
  if (x < -745) return 0;
  if (x > 709) x = 709;
  // e^x = 2^n e^r with r = x - n ln 2 in [-ln2/2, ln2/2], e^r by its
  // Taylor series to r^16 / 16!.
  const double t = x * (1 / 0.6931471805599453);
  const double n = t < 0 ? static_cast<double>(static_cast<std::int64_t>(t - 0.5))
                         : static_cast<double>(static_cast<std::int64_t>(t + 0.5));
  const double r = (x - n * kLn2High) - n * kLn2Low;
  double e = kInverseFactorials[16];
  for (int k = 15; k >= 0; --k) e = e * r + kInverseFactorials[k];
  // Below the normal range in two steps, each exact.
  if (n < -1020) return e * PowerOfTwo(static_cast<int>(n) + 60) * 8.673617379884035e-19;  // 2^-60
  return e * PowerOfTwo(static_cast<int>(n));
}

void CosSin(double x, double& cosine, double& sine) {
  // x = q pi/2 + r with |r| <= pi/4, pi/2 in two parts so that q pi/2 is
  // exact in the first for q up to 2^20.
  constexpr double kHalfPiHigh = 1.5707963267341256e+00;
  constexpr double kHalfPiLow = 6.0771005065061922e-11;
  const double t = x * (2 / kPi);
  const double q = t < 0 ? static_cast<double>(static_cast<std::int64_t>(t - 0.5))
                         : static_cast<double>(static_cast<std::int64_t>(t + 0.5));
  const double r = (x - q * kHalfPiHigh) - q * kHalfPiLow;
  const double r2 = r * r;
  // The series to r^19 / 19! and r^18 / 18!, signs alternating.
  double s = kInverseFactorials[19], c = kInverseFactorials[18];
  for (int k = 17; k >= 1; k -= 2) s = kInverseFactorials[k] - s * r2;
  for (int k = 16; k >= 0; k -= 2) c = kInverseFactorials[k] - c * r2;
  s *= r;
  switch (static_cast<std::int64_t>(q) & 3) {
    case 0:
      cosine = c, sine = s;
      break;
    case 1:
      cosine = -s, sine = c;
      break;
    case 2:
      cosine = -c, sine = -s;
      break;
    default:
      cosine = s, sine = -c;
      break;
  }
}

double Atan2(double y, double x) {
  const double ax = Abs(x), ay = Abs(y);
  if (ax == 0 && ay == 0) return 0;
  // atan of the smaller over the larger, in [0, 1]; above tan(pi/12)
  // shifted by pi/6 so that the series converges fast.
  const bool swapped = ay > ax;
  double a = swapped ? ax / ay : ay / ax;
  double base = 0;
  constexpr double kSqrt3 = 1.7320508075688772;
  if (a > 0.2679491924311227) {
    a = (a * kSqrt3 - 1) / (a + kSqrt3);
    base = kPi / 6;
  }
  const double a2 = a * a;
  double sum = 0;
  for (int k = 29; k >= 3; k -= 2) sum = (1.0 / k - sum) * a2;
  double angle = base + a * (1 - sum);
  if (swapped) angle = kPi / 2 - angle;
  if (x < 0) angle = kPi - angle;
  return y < 0 ? -angle : angle;
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
