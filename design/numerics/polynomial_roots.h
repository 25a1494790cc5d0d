// The roots of a real polynomial of low degree (a response's poles), each
// repeated root once with its multiplicity.
#pragma once

#include "complex_number.h"

namespace notchwell {

constexpr int kMostRoots = 7;

struct Roots {
  int count;  // distinct roots
  Complex root[kMostRoots];
  int multiplicity[kMostRoots];
};

// The roots of c[0] + c[1] z + ... + c[degree] z^degree, c[degree] != 0,
// degree <= kMostRoots. Roots closer than 1e-4 of their size are taken as
// one repeated root, at their mean: a repeated root of the exact
// polynomial comes out of rounded coefficients as such a cluster.
Roots RootsOf(const double* c, int degree);

}  // namespace notchwell
