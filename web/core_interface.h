// The page's way into the calculation core: plain C functions over fixed
// buffers in the module's memory, exported from the WebAssembly module.
// The page writes the three field texts into the buffers that
// nw_field_text hands out, calls nw_evaluate and reads the outcome back.
#pragma once

#include <stdint.h>

extern "C" {

// The 64-byte text buffer of a value field (0 R, 1 C, 2 Fo): at most 63
// bytes and a terminator, as the Windows program reads a field.
char* nw_field_text(int quantity);
// One OK press; mode as the core's CalcMode (0 solve Fo, 1 solve R,
// 2 solve C), unit indices as the lists' selections (-1: none). Returns
// the outcome's kind: 0 nothing, 1 error, 2 result.
int nw_evaluate(int mode, int resistance_unit, int capacitance_unit, int frequency_unit);
// The last outcome: the control identifier it points at, and the message
// (error) or the result text, terminated.
int nw_outcome_field(void);
// The quantity (0 R, 1 C, 2 Fo) a mode solves for, and the bytes of a
// field's text buffer (the terminating NUL among them).
int nw_solved_quantity(int mode);
int nw_field_text_size(void);
const char* nw_outcome_text(void);

// The unit lists and the message box caption, so that the page shows the
// core's own texts.
int nw_unit_count(void);
const char* nw_unit_label(int quantity, int index);
int nw_unit_default(int quantity);
const char* nw_message_caption(void);

// The two number conversions on their own, for checks of the module:
// FormatResult of a float's bit pattern into nw_conversion_text, returning
// its length; ParseNumberText of the first `length` bytes there, returning
// 1 and setting nw_parsed_bits, or 0 when the text is not a number.
char* nw_conversion_text(void);
int nw_format_result(uint32_t bits);
int nw_parse_number_text(int length);
uint32_t nw_parsed_bits(void);
}
