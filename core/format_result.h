// Writing a computed value as the text of a value field.
#pragma once

namespace notchwell {

// 46 characters for the largest float, one for a minus sign.
constexpr int kResultTextSize = 48;

// Fixed notation with six decimals, from the value's first 17 significant
// digits: 0.0078125 -> "0.007813", 1e20f -> "100000002004087730000.000000",
// infinities as "1.#INF00" and "-1.#INF00". Returns the text's length.
int FormatResult(float value, char (&text)[kResultTextSize]);

}  // namespace notchwell
