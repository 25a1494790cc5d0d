#include "two_part_values.h"

#include "elementary.h"
#include "part_ranges.h"

namespace notchwell {
namespace {

// Two resistors in series and two capacitors in parallel add; the other
// two connections add reciprocals.
bool Adds(PartKind kind, Connection connection) {
  return (kind == PartKind::Resistor) == (connection == Connection::Series);
}

double Clamped(double value, double lowest, double highest) {
  return value < lowest ? lowest : value > highest ? highest : value;
}

struct Search {
  PartKind kind;
  double ideal;
  double tie;  // differences within this are rounding
  PartCombination best;
  double distance;

  // Whether (a, b) so connected should replace the best so far.
  void Try(Connection connection, double a, double b) {
    if (b < a) {
      const double t = a;
      a = b;
      b = t;
    }
    const double value = CombinedValue(kind, connection, a, b);
    const double distance_now = Abs(value - ideal);
    if (distance_now > distance + tie) return;
    if (distance_now >= distance - tie) {
      // As near: a single part stays; of two pairs, the parts nearer each
      // other, then series.
      if (best.connection == Connection::Single) return;
      const double spread = b / a;
      const double best_spread = best.b / best.a;
      if (spread > best_spread || (spread == best_spread && connection != Connection::Series)) return;
    }
    best = {connection, a, b, value};
    distance = distance_now;
  }
};

}  // namespace

double CombinedValue(PartKind kind, Connection connection, double a, double b) {
  if (connection == Connection::Single) return a;
  return Adds(kind, connection) ? a + b : a * b / (a + b);
}

PartCombination NearestCombination(ESeries series, PartKind kind, double ideal) {
  const bool resistor = kind == PartKind::Resistor;
  const double lowest = resistor ? kResistorLowest : kCapacitorLowest;
  const double highest = resistor ? kResistorHighest : kCapacitorHighest;
  const SeriesNeighbours single = NeighboursIn(series, Clamped(ideal, lowest, highest));
  const double one = Abs(single.below - ideal) <= Abs(single.above - ideal) ? single.below : single.above;
  Search search{kind, ideal, 1e-12 * ideal, {Connection::Single, one, 0, one}, Abs(one - ideal)};

  const Connection kPairs[] = {Connection::Series, Connection::Parallel};
  for (const Connection connection : kPairs) {
    // The smaller part a of a pair nearer than `distance`: when the two
    // add, a <= (ideal + distance) / 2; when their reciprocals add,
    // ideal - distance < a <= 2 (ideal + distance).
    const bool adds = Adds(kind, connection);
    const double from = adds ? lowest : Clamped(ideal - search.distance, lowest, highest);
    SeriesStep step = StepAtOrBelow(series, from);
    for (double a = SeriesValue(series, step); a <= highest; a = SeriesValue(series, {++step.index, step.exponent})) {
      if (a < from) continue;
      const double reach = adds ? (ideal + search.distance) / 2 : 2 * (ideal + search.distance);
      if (a > reach) break;
      // The b that would make the ideal exactly, and the two standard
      // values either side of it (or the end of the range).
      double complement;
      if (adds) {
        complement = ideal - a;
      } else {
        complement = a > ideal ? a * ideal / (a - ideal) : highest;
      }
      const SeriesNeighbours b = NeighboursIn(series, Clamped(complement, lowest, highest));
      search.Try(connection, a, b.below);
      if (b.above <= highest) search.Try(connection, a, b.above);
    }
  }
  return search.best;
}

}  // namespace notchwell
