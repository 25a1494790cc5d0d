// Reading a value field's text as a single-precision number.
#pragma once

#include <string_view>

namespace notchwell {

// Scans an optionally signed decimal number (digits, an optional '.', an
// optional exponent) after leading white space and stops at the first byte
// that does not fit. Returns false when no digit was taken; otherwise sets
// `value` to the nearest float (ties to even, +-inf on overflow, +-0 on
// underflow). Needs no terminator and reads nothing outside `text`.
bool ParseNumberText(std::string_view text, float& value);

}  // namespace notchwell
