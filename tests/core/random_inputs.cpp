#include "random_inputs.h"

#include <cmath>
#include <cstring>

namespace oracle {

std::uint32_t Bits(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

float FromBits(std::uint32_t b) {
  float f;
  std::memcpy(&f, &b, sizeof f);
  return f;
}

// Floats drawn three ways: any finite bit pattern; log-uniform where the
// six decimals matter; and next to the ties of the sixth decimal.
float RandomFloat(std::mt19937& rng) {
  std::uint32_t bits;
  switch (rng() % 3) {
    case 0:
      do {
        bits = static_cast<std::uint32_t>(rng());
      } while ((bits & 0x7F800000u) == 0x7F800000u);
      return FromBits(bits);
    case 1: {
      const double exponent = std::uniform_real_distribution<double>(-8.0, 12.0)(rng);
      const float f = static_cast<float>(std::pow(10.0, exponent));
      return rng() % 2 ? -f : f;
    }
    default: {
      const double tie = (static_cast<double>(rng() % 100000000) + 0.5) * 1e-6;
      float f = static_cast<float>(tie);
      const int nudge = static_cast<int>(rng() % 5) - 2;
      f = FromBits(Bits(f) + static_cast<std::uint32_t>(nudge));
      return rng() % 2 ? -f : f;
    }
  }
}

namespace {

std::string RandomDigits(std::mt19937& rng, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s.push_back(static_cast<char>('0' + rng() % 10));
  return s;
}

}  // namespace

NumberSample RandomNumberText(std::mt19937& rng) {
  NumberSample s;
  s.negative = rng() % 2;
  std::string integer;
  std::string fraction;
  int exponent = 0;
  switch (rng() % 3) {
    case 0: {  // plain digits, any scale
      integer = RandomDigits(rng, static_cast<int>(rng() % 12));
      fraction = RandomDigits(rng, static_cast<int>(rng() % 12));
      if (integer.empty() && fraction.empty()) integer = "0";
      exponent = static_cast<int>(rng() % 90) - 50;
      break;
    }
    case 1: {  // long mantissas with leading zeros
      // One draw a statement: the operands of + may be evaluated in
      // either order, and every compiler must draw the same texts.
      integer = std::string(rng() % 4, '0');
      integer += RandomDigits(rng, static_cast<int>(rng() % 25));
      fraction = std::string(rng() % 10, '0');
      fraction += RandomDigits(rng, static_cast<int>(rng() % 25));
      if (integer.empty() && fraction.empty()) fraction = "1";
      exponent = static_cast<int>(rng() % 30) - 15;
      break;
    }
    default: {  // exactly on, or one digit beside, a midpoint between floats
      const float low = FromBits(0x00800000u + static_cast<std::uint32_t>(rng() % 0x7E000000u));
      const float high = std::nextafter(low, INFINITY);
      const double mid = (static_cast<double>(low) + static_cast<double>(high)) / 2;
      int shift = 0;
      double scaled = mid;
      // Scale into a range whose exact expansion is short enough to write.
      while (scaled >= 1e7) scaled /= 2, ++shift;
      while (scaled < 1e-3) scaled *= 2, --shift;
      if (shift != 0) {
        const float f = static_cast<float>(scaled);
        const float g = std::nextafter(f, INFINITY);
        scaled = (static_cast<double>(f) + static_cast<double>(g)) / 2;
      }
      const Expansion x = ExactDigits(scaled, 60);
      integer = x.integer;
      fraction = x.fraction;
      if (fraction.size() > 40) fraction.resize(40);
      if (!fraction.empty()) {
        const int tweak = static_cast<int>(rng() % 3);
        char& last = fraction.back();
        if (tweak == 1 && last < '9') ++last;
        if (tweak == 2 && last > '0') --last;
      }
      if (integer.empty() && fraction.empty()) integer = "0";
      break;
    }
  }
  // Room for blanks, sign, point, exponent and trailing text in 63 bytes.
  if (integer.size() > 40) integer.resize(40);
  if (integer.size() + fraction.size() > 50) fraction.resize(50 - integer.size());
  if (integer.empty() && fraction.empty()) integer = "0";
  std::string text = std::string(rng() % 2, ' ');
  if (s.negative)
    text += "-";
  else if (rng() % 4 == 0)
    text += "+";
  text += integer;
  if (!fraction.empty() || rng() % 2) text += "." + fraction;
  if (exponent != 0 || rng() % 8 == 0) {
    text += rng() % 2 ? "e" : "E";
    if (exponent >= 0 && rng() % 2) text += "+";
    text += std::to_string(exponent);
  }
  if (rng() % 4 == 0) text += "x1";  // trailing text is ignored
  s.text = text;
  s.decimal.digits = integer + fraction;
  s.decimal.exponent = exponent - static_cast<int>(fraction.size());
  return s;
}

}  // namespace oracle
