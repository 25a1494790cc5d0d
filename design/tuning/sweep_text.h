// A measured sweep as a person pastes it or loads it from a file: a point
// a line, the frequency in hertz, the level in dB of the source's voltage
// and optionally the phase in degrees. Every rule of reading one is here.
#pragma once

#include <string_view>

namespace notchwell {

constexpr int kMostSweepPoints = 20000;
constexpr int kFewestSweepPoints = 8;
// What the page may hand over of a sweep's text, in bytes: some 100 bytes
// a line for the most points.
constexpr int kSweepTextSize = 2 * 1024 * 1024;

struct MeasuredSweep {
  int count;
  bool phase;  // every point has its phase
  double hertz[kMostSweepPoints];
  double level_db[kMostSweepPoints];
  double degrees[kMostSweepPoints];
  int line[kMostSweepPoints];  // each point's line of the text, from 1
};

enum class SweepProblem : int {
  None,
  NoPoints,
  TooFewPoints,
  NotANumber,
  OneNumber,
  TooManyNumbers,
  NoPhase,     // a point without a phase after points with one
  ExtraPhase,  // and the other way round
  NotFinite,
  NotPositive,  // a frequency of 0 Hz or below
  NotRising,
  TooManyPoints,
  TooLong,  // more text than kSweepTextSize
  Count
};

struct SweepReading {
  SweepProblem problem;
  int line;  // the first bad line, from 1; 0 where the problem is the whole text's
};

// Numbers are separated by commas, semicolons, tabs or spaces, with a
// decimal point and an exponent as in 1.5e3, each in double quotes or not.
// Skipped: a UTF-8 byte-order mark, empty lines, lines starting with *, #
// or ; and lines of words (a header). Lines end in "\n", "\r\n" or "\r".
// A text of blanks alone is no sweep, and no problem.
SweepReading ReadSweepText(std::string_view text, MeasuredSweep& sweep);

// What the sweep's field says: "Line 12: ..." where a line is to blame;
// "" for none. Writes at most `size` bytes, NUL included.
void SweepProblemText(SweepReading reading, char* text, int size);

}  // namespace notchwell
