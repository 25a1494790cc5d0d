// The value nearest an ideal one that one standard part, or two in series
// or in parallel, can give: how a position of the network gets within a
// few hundredths of a percent from a coarse series.
#pragma once

#include "e_series.h"

namespace notchwell {

enum class PartKind : int { Resistor, Capacitor };

enum class Connection : int { Single, Series, Parallel };

struct PartCombination {
  Connection connection;
  double a;      // the part, or the smaller of two (ohms or farads)
  double b;      // the larger of two; 0 for a single part
  double value;  // what they make together
};

// From the series, each part within the standard range of its kind
// (design_choices.h). The nearest by absolute difference, over every pair
// there is: for each first part only the two neighbours of the ideal
// complement can be best, and a pair whose smaller part lies further out
// than the bounds below cannot beat the single part. A single part wins
// wherever it is as near (up to rounding); of pairs equally near, the one
// whose parts lie nearest each other, then a series connection.
PartCombination NearestCombination(ESeries series, PartKind kind, double ideal);

// The value of two parts so connected.
double CombinedValue(PartKind kind, Connection connection, double a, double b);

}  // namespace notchwell
