#include "sweep_text.h"

#include "decimal_digits.h"

namespace notchwell {
namespace {

// Part of a text (the freestanding string_view has no substr).
std::string_view Part(std::string_view text, std::size_t at, std::size_t count) { return {text.data() + at, count}; }

bool IsSeparator(char c) { return c == ',' || c == ';' || c == '\t' || c == ' '; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }

bool SameWord(std::string_view token, std::string_view word) {
  if (token.size() != word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (Lower(token[i]) != word[i]) return false;
  }
  return true;
}

enum class Token { Number, NotFinite, Word };

// One field between separators: a number, a word standing for no finite
// number (inf, nan), or anything else.
Token ReadToken(std::string_view token, double& value) {
  std::size_t at = 0;
  const bool negative = at < token.size() && token[at] == '-';
  if (at < token.size() && (token[at] == '-' || token[at] == '+')) ++at;
  const std::string_view rest = Part(token, at, token.size() - at);
  if (SameWord(rest, "inf") || SameWord(rest, "infinity") || SameWord(rest, "nan")) return Token::NotFinite;
  Decimal d{0, 0, false};
  at = TakeDecimalDigits(token, at, d, false);
  if (at < token.size() && token[at] == '.') at = TakeDecimalDigits(token, at + 1, d, true);
  if (!d.has_digit) return Token::Word;
  if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) {
    ++at;
    const bool negative_exponent = at < token.size() && token[at] == '-';
    if (at < token.size() && (token[at] == '-' || token[at] == '+')) ++at;
    int exponent = 0;
    if (!TakeExponentDigits(token, at, exponent)) return Token::Word;
    d.exponent += negative_exponent ? -exponent : exponent;
  }
  if (at != token.size()) return Token::Word;
  value = DecimalValue(d);
  if (!(value <= kLargestDouble)) return Token::NotFinite;
  if (negative) value = -value;
  return Token::Number;
}

// What one line holds: nothing to read, or up to four numbers.
struct Line {
  bool skipped;
  SweepProblem problem;
  int count;
  double numbers[3];
};

Line ReadLine(std::string_view line) {
  std::size_t at = 0;
  while (at < line.size() && IsSeparator(line[at])) ++at;
  if (at == line.size() || line[at] == '*' || line[at] == '#' || line[at] == ';') return {true, {}, 0, {}};
  Line out{false, SweepProblem::None, 0, {}};
  bool first = true;
  while (at < line.size()) {
    std::size_t end = at;
    while (end < line.size() && !IsSeparator(line[end])) ++end;
    double value = 0;
    // A spreadsheet's quotes around a field are not part of it.
    std::string_view field = Part(line, at, end - at);
    if (field.size() >= 2 && field[0] == '"' && field[field.size() - 1] == '"')
      field = Part(field, 1, field.size() - 2);
    const Token token = ReadToken(field, value);
    // A line whose first field is a word is a header, or a note.
    if (first && token == Token::Word) return {true, {}, 0, {}};
    first = false;
    if (token == Token::Word && out.problem == SweepProblem::None) out.problem = SweepProblem::NotANumber;
    if (token == Token::NotFinite && out.problem == SweepProblem::None) out.problem = SweepProblem::NotFinite;
    if (token == Token::Number && out.count < 3) out.numbers[out.count] = value;
    if (token == Token::Number && ++out.count > 3 && out.problem == SweepProblem::None) {
      out.problem = SweepProblem::TooManyNumbers;
    }
    at = end;
    while (at < line.size() && IsSeparator(line[at])) ++at;
  }
  if (out.problem == SweepProblem::None && out.count == 1) out.problem = SweepProblem::OneNumber;
  return out;
}

// A line's end at `at`: its length in bytes, 1 or 2 ("\r\n"), 0 for none.
int LineEndAt(std::string_view text, std::size_t at) {
  if (text[at] == '\n') return 1;
  if (text[at] != '\r') return 0;
  return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

}  // namespace

SweepReading ReadSweepText(std::string_view text, MeasuredSweep& sweep) {
  sweep.count = 0;
  sweep.phase = false;
  if (text.size() > static_cast<std::size_t>(kSweepTextSize)) return {SweepProblem::TooLong, 0};
  // A UTF-8 byte-order mark, as some programs begin a file with, is no
  // part of the first line.
  if (text.size() >= 3 && text[0] == '\xEF' && text[1] == '\xBB' && text[2] == '\xBF')
    text = Part(text, 3, text.size() - 3);
  bool blank = true;
  for (std::size_t i = 0; i < text.size() && blank; ++i)
    blank = IsSeparator(text[i]) || text[i] == '\r' || text[i] == '\n';
  if (blank) return {SweepProblem::None, 0};
  int number = 1;
  for (std::size_t start = 0; start < text.size(); ++number) {
    std::size_t end = start;
    while (end < text.size() && LineEndAt(text, end) == 0) ++end;
    const Line line = ReadLine(Part(text, start, end - start));
    start = end < text.size() ? end + static_cast<std::size_t>(LineEndAt(text, end)) : end;
    if (line.skipped) continue;
    if (line.problem != SweepProblem::None) return {line.problem, number};
    if (sweep.count == kMostSweepPoints) return {SweepProblem::TooManyPoints, number};
    const bool phase = line.count == 3;
    if (sweep.count == 0) sweep.phase = phase;
    if (phase != sweep.phase) return {phase ? SweepProblem::ExtraPhase : SweepProblem::NoPhase, number};
    const double hertz = line.numbers[0];
    if (!(hertz > 0)) return {SweepProblem::NotPositive, number};
    if (sweep.count > 0 && !(hertz > sweep.hertz[sweep.count - 1])) return {SweepProblem::NotRising, number};
    sweep.hertz[sweep.count] = hertz;
    sweep.level_db[sweep.count] = line.numbers[1];
    sweep.degrees[sweep.count] = phase ? line.numbers[2] : 0;
    sweep.line[sweep.count] = number;
    ++sweep.count;
  }
  if (sweep.count == 0) return {SweepProblem::NoPoints, 0};
  if (sweep.count < kFewestSweepPoints) return {SweepProblem::TooFewPoints, 0};
  return {SweepProblem::None, 0};
}

namespace {

constexpr const char* kSweepMessages[static_cast<int>(SweepProblem::Count)] = {
    "",
    "No points: paste a point a line, the frequency in Hz, the level in dB and optionally the phase in degrees.",
    "Fewer than 8 points: a sweep needs at least 8, across the notch.",
    "something in it is not a number.",
    "one number alone: a point is a frequency and a level, and optionally a phase.",
    "more than three numbers: a point is a frequency, a level and optionally a phase.",
    "no phase, though the points before it have one.",
    "a phase, though the points before it have none.",
    "a number that is not finite.",
    "the frequency is not above 0 Hz.",
    "the frequency does not rise above the line before's.",
    "more than 20,000 points: a sweep takes at most 20,000.",
    "More than 2 MB of text: a sweep takes at most 20,000 points.",
};

}  // namespace

void SweepProblemText(SweepReading reading, char* text, int size) {
  if (size <= 0) return;
  int length = 0;
  const auto put = [&](char c) {
    if (length < size - 1) text[length++] = c;
  };
  if (reading.line > 0) {
    for (const char* p = "Line "; *p; ++p) put(*p);
    char digits[12];
    int n = 0;
    for (int line = reading.line; line > 0 && n < 12; line /= 10) digits[n++] = static_cast<char>('0' + line % 10);
    while (n > 0) put(digits[--n]);
    put(':');
    put(' ');
  }
  const int problem = static_cast<int>(reading.problem);
  if (problem >= 0 && problem < static_cast<int>(SweepProblem::Count)) {
    for (const char* p = kSweepMessages[problem]; *p; ++p) put(*p);
  }
  text[length] = '\0';
}

}  // namespace notchwell
