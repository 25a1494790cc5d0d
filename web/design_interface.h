// The page's way into the design code, beside its way into the core
// (core_interface.h): plain C functions over fixed buffers in the module's
// memory. The page hands over the form's texts after an OK press that
// wrote a result, and the panel's choices and fields; it reads back named
// figures in SI units, the exact values' parts and the response curves.
#pragma once

#include <stdint.h>

extern "C" {

// The figures: name (the page's data-figure), unit (0 ohm, 1 farad,
// 2 hertz, 3 dB, 4 percent, 5 a plain number, 6 a count) and the digits
// their text carries (significant digits, or for dB, percent and plain
// numbers digits after the point; trimmed: trailing zeros dropped).
int nw_design_figure_count(void);
const char* nw_design_figure_name(int figure);
int nw_design_figure_unit(int figure);
int nw_design_figure_digits(int figure);
int nw_design_figure_trimmed(int figure);

// The panel's lists (0 resistor series, 1 capacitor series, 2 resistor
// tolerance, 3 capacitor tolerance, 4 network, 5 resistor tempco,
// 6 capacitor tempco, 7 temperature range): their length, default, and
// each option's series name, or its number (a tolerance in percent, a
// network's target Q or 0 for the passive one, a tempco in ppm/K, a
// range's low end in degrees Celsius) with the high end of a range, and
// the parts a tempco comes with or what a range is for.
int nw_design_choice_count(int list);
int nw_design_choice_default(int list);
const char* nw_design_series_name(int list, int option);
double nw_design_choice_value(int list, int option);
double nw_design_choice_high(int list, int option);
const char* nw_design_choice_label(int list, int option);

// The form as the calculator reads it: the three texts in the core
// interface's field buffers with their units. Returns 1 when they make a
// network (positive and finite), 0 otherwise.
int nw_design_take_form(int resistance_unit, int capacitance_unit, int frequency_unit);

// The 64-byte UTF-8 text buffers of the panel's fields: 0 source, 1 load,
// then the measured parts 2 R1, 3 R2, 4 R3, 5 C1, 6 C2, 7 C3; the problem
// with the text there (0 none) and its message ("" for none).
char* nw_design_field_text(int field);
int nw_design_field_problem(int field);
const char* nw_design_field_message(int field);

// Works out the panel for the form last taken, the choices given (list
// indices in the order above) and the fields' texts; the measured build
// when all six of its fields hold a value. Returns 0; or, leaving the last
// figures as they were, the fields whose text has a problem (bit n for
// field n), or 256 when the form last taken made no network.
int nw_design_update(int resistor_series, int capacitor_series, int resistor_tolerance, int capacitor_tolerance,
                     int network, int resistor_tempco, int capacitor_tempco, int temperature_range);

// The last figures: values in SI units, and whether each is available
// (1 byte each); the exact values' parts (for R, R3, C and C3 in turn:
// the connection, 0 one part, 1 series, 2 parallel, then the two parts'
// values, the second 0 for one part); the curves (0 frequencies in Hz,
// 1 the ideal network in dB, 2 the nearest build, 3 the measured build,
// 4 and 5 the low and high edge of the band where 90 % of the random
// builds lie, at every other frequency from the first (band points), each
// when available); and the curves' own notches, to be
// drawn among their points (the frequencies of the ideal network's, the
// nearest build's and the measured build's, 0 for none, then their
// levels in dB).
const double* nw_design_values(void);
const uint8_t* nw_design_available(void);
const double* nw_design_exact_parts(void);
int nw_design_curve_points(void);
int nw_design_band_points(void);
// How many random builds the depth figure comes from.
int nw_design_random_builds(void);
const double* nw_design_curve(int curve);
const double* nw_design_curve_notches(void);
}
