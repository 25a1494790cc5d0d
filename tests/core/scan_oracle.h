// Test oracle for reading number text: the grammar of the scan written
// out plainly, and the C library's correctly rounded strtof on exactly the
// characters it takes.
#pragma once

#include <cstddef>

namespace oracle {

// How many bytes of text[0..size) the scan takes (white space, sign,
// digits, point, exponent), or 0 when it takes no digit of a mantissa.
std::size_t ScannedLength(const char* text, std::size_t size);

// False when the scan takes no digit; else the value strtof gives for the
// scanned characters in the C locale.
bool ScanFloat(const char* text, std::size_t size, float& value);

}  // namespace oracle
