// The page's way into the design code, beside its way into the core
// (core_interface.h): plain C functions over fixed buffers in the module's
// memory. The page hands over the form's texts after an OK press that
// wrote a result, and the panel's choices and fields; it reads back named
// figures in SI units and the two response curves.
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
// tolerance, 3 capacitor tolerance, 4 network): their length, default, and
// each option's series name, or its number (a tolerance in percent, a
// network's target Q or 0 for the passive one).
int nw_design_choice_count(int list);
int nw_design_choice_default(int list);
const char* nw_design_series_name(int list, int option);
double nw_design_choice_value(int list, int option);

// The form as the calculator reads it: the three texts in the core
// interface's field buffers with their units. Returns 1 when they make a
// network (positive and finite), 0 otherwise.
int nw_design_take_form(int resistance_unit, int capacitance_unit, int frequency_unit);

// The 64-byte UTF-8 text buffers of the source (0) and load (1) fields,
// the problem with the text there (0 none; else for
// nw_design_problem_message) and its message.
char* nw_design_field_text(int field);
int nw_design_field_problem(int field);
const char* nw_design_problem_message(int problem);

// Works out the panel for the form last taken, the choices given and the
// two fields' texts. Returns 0; or, leaving the last figures as they
// were, 1 (source), 2 (load) or 3 (both) when a field's text has a
// problem, and 4 when the form last taken made no network.
int nw_design_update(int resistor_series, int capacitor_series, int resistor_tolerance, int capacitor_tolerance,
                     int network);

// The last figures: values in SI units, and whether each is available
// (1 byte each); the curves (0 frequencies in Hz, 1 the ideal network in
// dB, 2 the nearest build in dB, when it is available).
const double* nw_design_values(void);
const uint8_t* nw_design_available(void);
int nw_design_curve_points(void);
// How many random builds the depth figure comes from.
int nw_design_random_builds(void);
const double* nw_design_curve(int curve);
}
