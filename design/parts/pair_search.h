// The pair of standard values whose balanced network notches nearest a
// wanted frequency.
#pragma once

#include "e_series.h"

namespace notchwell {

struct StandardPair {
  bool found;
  double r;               // ohms
  double c;               // farads
  double relative_error;  // of 1/(2 pi r c) from the wanted frequency
};

// R from its series between kPairResistorLowest and kPairResistorHighest,
// C from its series within a factor of ten either side of `c_farads` (and
// among standard capacitors). Errors that differ by rounding only are
// ties; a tie goes to the C nearer `c_farads`, then to the smaller C and
// R. Not found when no standard capacitor lies in reach.
StandardPair BestPair(ESeries r_series, ESeries c_series, double c_farads, double fo_hertz);

// The notch frequency of a balanced network, and its relative distance
// from a wanted one.
double BalancedNotchHertz(double r, double c);
double RelativeError(double hertz, double wanted_hertz);

// Whether error a counts as smaller than b, or equal to it up to rounding.
bool IsSmallerError(double a, double b);
bool IsSameError(double a, double b);

}  // namespace notchwell
