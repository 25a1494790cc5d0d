// The page's way into the design code, beside its way into the core
// (core_interface.h): plain C functions over fixed buffers in the module's
// memory. Before every update the page fills in the panel snapshot (the
// form as the calculator read it at the last OK press that wrote a
// result, each list's selected index, each field's text); it reads back
// the sections that hold, named figures in SI units, the exact values'
// parts and the response curves.
#pragma once

#include <stdint.h>

extern "C" {

// The figures: name (the page's data-figure), unit (0 ohm, 1 farad,
// 2 hertz, 3 dB, 4 percent, 5 a plain number, 6 a count, 7 volt, 8 volts
// per second) and the digits
// their text carries (significant digits, or for dB, percent and plain
// numbers digits after the point; trimmed: trailing zeros dropped).
int nw_design_figure_count(void);
const char* nw_design_figure_name(int figure);
int nw_design_figure_unit(int figure);
int nw_design_figure_digits(int figure);
int nw_design_figure_trimmed(int figure);

// The panel's lists in the snapshot's order: their names (the page's
// data-design and the link's keys), lengths, defaults, and each option's
// name (a series', an op-amp's), or its number (a tolerance in percent, a
// network's target Q or 0 for the passive one, a tempco in ppm/K, a
// range's low end in degrees Celsius) with the high end of a range, and
// the parts a tempco or an op-amp comes with or what a range is for; and
// an op-amp option's gain-bandwidth in Hz, open-loop gain in dB and slew
// rate in V/us (zeros for ideal ones and the custom one).
int nw_design_list_count(void);
const char* nw_design_list_name(int list);
int nw_design_choice_count(int list);
int nw_design_choice_default(int list);
const char* nw_design_option_name(int list, int option);
double nw_design_choice_value(int list, int option);
double nw_design_choice_high(int list, int option);
const char* nw_design_choice_label(int list, int option);
// An op-amp's figures: gain-bandwidth (Hz), gain (dB), slew rate (V/us),
// voltage and current noise (V/sqrt(Hz), A/sqrt(Hz)).
const double* nw_design_opamp(int option);

// The curves the panel draws, by name, in the order every curve's array
// takes them: the ideal network, the nearest build, the measured build,
// the ideal parts with real op-amps.
int nw_design_curve_count(void);
const char* nw_design_curve_name(int curve);
// The nearest build's noise curves, by name: the total, the resistors',
// the op-amps' voltage and current noise.
int nw_design_noise_curve_count(void);
const char* nw_design_noise_curve_name(int curve);

// The panel's value fields in the snapshot's order, by name: the source,
// the load, the measured R1, R2, R3, C1, C2 and C3, then the custom
// op-amp's gain-bandwidth, open-loop gain and slew rate.
int nw_design_field_count(void);
const char* nw_design_field_name(int field);
// A field's group: "surroundings" (the source and load), "measured" (the
// measured parts, which count when all are given) or "opamp" (the custom
// op-amp's, which count while it is chosen).
const char* nw_design_field_group(int field);
// The label a field shows, what it means left empty (null: its group's
// hint says), and how many characters a field takes.
const char* nw_design_field_label(int field);
const char* nw_design_field_empty_means(int field);
int nw_design_field_length(void);

// The snapshot: the form's mode (as the core's CalcMode) and three unit
// indices; its three texts (64 bytes each, as the calculator reads a
// field); each list's selected index; each panel field's UTF-8 text (64
// bytes) and its length in bytes, NULs and all.
int32_t* nw_design_snapshot_form_numbers(void);
char* nw_design_snapshot_form_text(int quantity);
int32_t* nw_design_snapshot_choices(void);
char* nw_design_snapshot_field(int field);
int32_t* nw_design_snapshot_field_lengths(void);

// The problem with a field's text in the snapshot now (0 none) and its
// message ("" for none); the custom op-amp's fields count only while the
// snapshot's choices take it.
int nw_design_field_problem(int field);
const char* nw_design_field_message(int field);

// A measured sweep of the build: the page writes its text's UTF-8 at
// nw_design_sweep_text (at most nw_design_sweep_text_size bytes) and reads
// it once for each change of the text with nw_design_sweep_read(length,
// anew, level_column), which returns its problem (0 none; an empty text is no sweep)
// with the message nw_design_sweep_message gives, naming the first bad
// line. The points read (none after a problem): their count, whether they
// have phases, and column 0 their frequencies in Hz, 1 levels in dB, 2
// phases in degrees. A sweep measured anew (`anew` 1: a file chosen; or
// one whose points differ from the last sweep read beyond an edit) makes
// the last one, if its build was tuned, the round before. `level_column`:
// which of a header's level columns to read (-1: the output's, or the
// one with the notch).
char* nw_design_sweep_text(void);
int nw_design_sweep_text_size(void);
int nw_design_sweep_read(int length, int anew, int level_column);
const char* nw_design_sweep_message(void);
int nw_design_sweep_points(void);
int nw_design_sweep_phase(void);
const double* nw_design_sweep(int column);
// Where the sweep's text has a header: its level columns' names (null past
// the last), which of them was read (-1 for none), and the name of the
// phase column read with it ("" for none).
const char* nw_design_sweep_level_name(int index);
int nw_design_sweep_level_column(void);
const char* nw_design_sweep_phase_name(void);
// The lines of the sweep's points the last report's fit left out as
// glitches (0 past the last), and where the network did not fit, the line
// of the point it explained least (0 for none).
int nw_design_tune_left_out(int index);
int nw_design_tune_worst_line(void);

// Works out the panel for the snapshot. Returns what came of it: 0 the
// report was worked out afresh; 1 some field's text has a problem (each
// field's through nw_design_field_problem), 2 the form makes no network
// (why: nw_design_form_problem), and either way the last report is left
// as it was.
int nw_design_update(void);

// The form as the last update read it: the problem that keeps it from
// making a network (0 none, 1 not a number, 2 negative, 3 zero, 4 beyond
// any double) and the field it lies in (0 R, 1 C, 2 Fo; without a problem
// the field the calculator wrote); whether that written field's text
// keeps fewer than four significant digits of what the calculator
// computed, what the text reads as and what was computed, in SI units.
int nw_design_form_problem(void);
int nw_design_form_field(void);
int nw_design_form_imprecise(void);
double nw_design_form_reads(void);
double nw_design_form_computed(void);

// Which sections of the last report hold (1 byte each), by name (the
// page's data-when).
int nw_design_section_count(void);
const char* nw_design_section_name(int section);
const uint8_t* nw_design_sections(void);

// The last figures: values in SI units, and whether each is available
// (1 byte each); the exact values' parts (for R, R3, C and C3 in turn:
// the connection, 0 one part, 1 series, 2 parallel, then the two parts'
// values, the second 0 for one part).
const double* nw_design_values(void);
const uint8_t* nw_design_available(void);
const double* nw_design_exact_parts(void);
int nw_design_curve_points(void);
int nw_design_band_points(void);
// How many random builds the depth figure comes from.
int nw_design_random_builds(void);
// The curves' frequencies in Hz, and the low and high edge (0, 1) of the
// band where 90 % of the random builds lie, in dB at every other
// frequency from the first (band points), with the nearest build.
const double* nw_design_curve_hertz(void);
const double* nw_design_band(int edge);
// Which curves the last report draws (1 byte each, in the curves' order).
const uint8_t* nw_design_curves_drawn(void);
// The curves' own notches, to be drawn among their points: their
// frequencies (0 for none), then their levels in dB, phases in degrees
// and group delays in seconds, each in the curves' order.
const double* nw_design_curve_notches(void);
// Each curve at each curve's notch, [curve * count + notch] (0 where
// either is not drawn or the notch is none): view 0 the level in dB, 1 the
// phase in degrees, 2 the group delay in seconds.
const double* nw_design_curves_at_notches(int view);
// A curve drawn in a view: 0 the level in dB, 1 the phase in degrees, 2
// the group delay in seconds, at the curves' frequencies; 3 the output in
// time of the step or burst view chosen, at the time points (curve -1:
// their times in seconds, from 0); 4 a noise curve's density in
// V/sqrt(Hz) at the curves' frequencies, while the build is in range.
int nw_design_time_points(void);
const double* nw_design_curve_view(int view, int curve);

// The nearest build of the last report as a SPICE netlist, after the
// page's comment lines (`header` bytes of UTF-8 the page wrote into
// nw_design_netlist_text); returns its length in bytes there, or 0 when
// the build is out of range or the text would not fit.
char* nw_design_netlist_text(void);
int nw_design_netlist(int header);

// The same build as a KiCad 9 schematic: the page writes its texts (the
// title, the date, the title block's comment and the note, each ended by
// a newline, the note's own lines too, then a NUL) at
// nw_design_kicad_input; the file goes to nw_design_kicad_text. Returns
// its length in bytes there, or 0 when the build is out of range.
char* nw_design_kicad_input(void);
const char* nw_design_kicad_text(void);
int nw_design_kicad(void);
}
