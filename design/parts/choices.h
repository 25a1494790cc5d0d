// A list of options to choose from, with the one taken where none is
// chosen.
#pragma once

namespace notchwell {

template <typename T, int N>
struct Choices {
  T options[N];
  int default_index;
  static constexpr int count = N;
};

}  // namespace notchwell
