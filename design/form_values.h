// The values a design starts from: the dialog's three fields as the
// calculator reads them, in ohms, farads and hertz.
#pragma once

#include <string_view>

#include "evaluate_form.h"

namespace notchwell {

struct FormValues {
  double r_ohms;
  double c_farads;
  double fo_hertz;
};

// The text of a field buffer: up to its terminator, or all of it.
std::string_view FieldText(const char* buffer);

// Reads every field of the snapshot, whatever its mode, with its unit.
// False when a field holds no number or an infinite result (written as
// 1.#INF00, which the calculator itself would read as 1), or when the
// values make no network (positive and finite, all three).
bool ReadFormValues(const FormSnapshot& snapshot, FormValues& values);

}  // namespace notchwell
