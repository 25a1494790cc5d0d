// Reading the source and load fields: a resistance in ohms, with an
// optional k or M ("600", "4.7k", "1M", also "4k7" and a trailing "Ω" or
// "ohm").
#pragma once

#include <string_view>

namespace notchwell {

enum class ResistanceProblem : int {
  None,
  NotANumber,
  Negative,
  ZeroLoad,  // a load of 0 ohms would short the output
  SmallM,    // m could mean milli or, as on the dialog, mega
  TooLarge,  // above kLargestResistance
  Count
};

constexpr double kLargestResistance = 1e12;

struct ResistanceReading {
  ResistanceProblem problem;
  bool empty;   // nothing but blanks: no source resistance, or no load
  double ohms;  // when there is no problem and the text is not empty
};

// `text` in UTF-8. Zero is taken for a source, refused for a load.
ResistanceReading ReadResistanceText(std::string_view text, bool is_load);

// What the field tells the person, for each problem.
const char* ResistanceProblemMessage(ResistanceProblem problem);

}  // namespace notchwell
