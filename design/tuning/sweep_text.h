// A measured sweep as a person pastes it or loads it from a file: a point
// a line, the frequency in hertz, the level in dB of the source's voltage
// and optionally the phase in degrees. Every rule of reading one is here.
#pragma once

#include <string_view>

#include "sweep_columns.h"

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
  // Where the text has a header: its level columns by name, the one read
  // (-1 for none), and the name of the phase column read with it ("" for
  // none, or the level's own pairs).
  int level_columns;
  char level_names[kMostColumns][kColumnNameSize];
  int level_column;
  char phase_name[kColumnNameSize];
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
  TooLong,   // more text than kSweepTextSize
  NoColumn,  // fewer numbers than the column read needs
  NoRatio,   // a level given as a ratio of 0 or below
  Count
};

struct SweepReading {
  SweepProblem problem;
  int line;  // the first bad line, from 1; 0 where the problem is the whole text's
};

// Numbers are separated by commas, semicolons, tabs or spaces, with a
// decimal point and an exponent as in 1.5e3, each in double quotes or not,
// a Unicode minus taken for a minus; where semicolons or tabs separate
// them, a comma between digits is a decimal comma. A pair in parentheses
// is a level and phase, "(-17.8dB,-8.1°)", or a complex ratio, "(re, im)".
// Skipped: a UTF-8 byte-order mark, empty lines, lines starting with *, #,
// ; or ! (where one names the columns, as a header), `key, value`
// settings and other lines of words. A header's names decide the columns
// and their units (sweep_columns.h); without one a line is a frequency in
// Hz, a level in dB and optionally a phase in degrees. Of several level
// columns the output's is read, or else the one with the notch, or
// `level_column` where that is one. Lines end in "\n", "\r\n" or "\r". A
// text of blanks alone is no sweep, and no problem.
SweepReading ReadSweepText(std::string_view text, MeasuredSweep& sweep, int level_column = -1);

// What the sweep's field says: "Line 12: ..." where a line is to blame;
// "" for none. Writes at most `size` bytes, NUL included.
void SweepProblemText(SweepReading reading, char* text, int size);

}  // namespace notchwell
