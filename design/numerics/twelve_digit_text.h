// A value as machines read it: as C's "%.12g" writes it (12 significant
// digits, no trailing zeros, an exponent of at least two digits below 1e-4
// and from 1e12), from the value's exact decimal expansion, a tie going
// away from zero as the page's own number formatting takes it. The same
// text on every target, with no C library.
#pragma once

namespace notchwell {

// Enough for "-1.23456789012e-308" and a terminator.
constexpr int kTwelveDigitTextSize = 24;

// Exact for magnitudes from 1e-30 to 1e30 (every value a netlist of
// standard parts carries); beyond, within a unit of the last digit.
// Returns the length written, without the terminator.
int TwelveDigitText(double value, char (&text)[kTwelveDigitTextSize]);

}  // namespace notchwell
