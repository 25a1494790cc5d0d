#include "scan_oracle.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace oracle {
namespace {

bool Space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool Digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t ScannedLength(const char* text, std::size_t size) {
  std::size_t i = 0;
  while (i < size && Space(text[i])) ++i;
  if (i < size && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  for (; i < size && Digit(text[i]); ++i) ++digits;
  if (i < size && text[i] == '.') {
    for (++i; i < size && Digit(text[i]); ++i) ++digits;
  }
  if (digits == 0) return 0;
  if (i < size && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < size && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t exponent_digits = 0;
    for (; j < size && Digit(text[j]); ++j) ++exponent_digits;
    // A bare "e" or "e+" is taken but adds nothing; strtof must not see it.
    if (exponent_digits > 0) i = j;
  }
  return i;
}

bool ScanFloat(const char* text, std::size_t size, float& value) {
  const std::size_t length = ScannedLength(text, size);
  if (length == 0) return false;
  const std::string taken(text, length);
  value = std::strtof(taken.c_str(), nullptr);
  return true;
}

}  // namespace oracle
