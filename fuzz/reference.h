// Slow, independent references for the fuzz targets. They share no code with
// calc/: the folding, the reading and the digit rules are written again from
// their definitions, and the exact binary/decimal conversions are left to the
// C library (glibc converts exactly in both directions), which calc/ never
// uses. Speed does not matter here; being obviously right does.
#pragma once

#include <string>
#include <string_view>

namespace kalvoro::fuzz {

// The working copy of a text (the bytes before its NUL) with the full-width
// table applied and a lone lead byte before the end left out.
std::string reference_fold(std::string_view text);

// The single that parse_single must give for `text`: fold, read the longest
// number at the start, cut to 25 significant digits and round half up to 24,
// round to the nearest double with ties toward zero, then to the nearest
// single with ties to even.
float reference_parse_single(std::string_view text);

// The text that format_number must give for `value`: exact digits, half up
// to 17 by the 18th, then half up to 13 by the 14th, plain or exponent
// notation, trailing zeros removed, the special texts for inf and NaN.
std::string reference_format_number(double value);

// A shape check, independent of any value: one of the special texts, or an
// optional "-", then either plain digits with at most one point (no trailing
// zero after it, no lone point) or d[.ddd]e[+-]ddd; at most 13 significant
// digits; at most 20 bytes.
bool is_number_text(std::string_view text);

}  // namespace kalvoro::fuzz
