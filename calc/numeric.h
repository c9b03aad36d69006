// The numeric text conventions shared by the three calculator rows:
// text -> single, rounding to decimal places, double -> text, and the two
// functions of the screen formula.
//
// Every operation follows the evaluation rule (see fp_environment.h): chains
// are carried in x87 extended precision and rounded to double or single only
// where a value is stored.
#pragma once

#include <cstdint>
#include <string>

#include "calc/text.h"

namespace kalvoro {

// Folds the full-width characters of the folding table (ideographic space,
// U+FF01..U+FF5E, fullwidth yen/macron, the two stars) to ASCII, copies every
// other two-byte character unchanged and drops a lead byte that stands
// directly before the NUL.
//   fold_full_width("\xA3\xB0.\xA3\xB7") -> "0.7"
std::string fold_full_width(Text text);

// Reads the number at the start of `text` (after folding) as a single:
// decimal -> (cut to 25 significant digits, half up to 24) -> nearest double
// with ties toward zero -> nearest single with ties to even. No number: +0.
//   parse_single("25.4")      -> 25.3999996185302734375
//   parse_single("16777217")  -> 16777216
//   parse_single("1e39")      -> +inf
//   parse_single("-0")        -> -0
//   parse_single("-x")        -> +0
float parse_single(Text text);

// Rounds half away from zero at `places` decimal places, after nudging the
// scaled magnitude up by 1e-12. Zero and NaN come back unchanged.
//   round_places(2.25, 1)                -> 2.3
//   round_places(0.04999999999995, 1)    -> 0.1
//   round_places(12345.678951, 4)        -> 12345.679
//   round_places(1234.5, -1)             -> 1230
double round_places(double value, std::int32_t places = 0);

// "%.13g"-like text with two half-up roundings (to 17 digits by the 18th,
// then to 13 by the 14th), exponents of at least three digits, and the
// texts "1.#INF", "-1.#INF", "-1.#IND", "1.#QNAN", "1.#SNAN" for the
// special values. At most 20 bytes. A new Text: the caller gives it back.
//   format_number(2.9)             -> "2.9"
//   format_number(1000000000.0005) -> "1000000000.001"
//   format_number(12345678901234)  -> "1.234567890123e+013"
//   format_number(0.00001)         -> "1e-005"
Text format_number(double value);

// `base` to the power `exponent`, formed in extended precision and rounded to
// a double.
//   power(-3, 2) -> 9, power(-0.0, 2) -> +0, power(-inf, 2) -> +inf
double power(double base, double exponent);

// Square root, correctly rounded to extended precision, then to a double.
// Negative values give the default NaN; -0 gives -0.
//   square_root(2.25) -> 1.5
double square_root(double value);

}  // namespace kalvoro
