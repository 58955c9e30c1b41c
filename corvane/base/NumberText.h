// Number texts of the data files, converted on the text in place (internal
// to the library, not exported).
//
// The conversion is exact: the result is the double nearest to the decimal
// value written (ties to even), the value a correctly rounding strtod gives,
// whatever the length of the text.  It does not depend on the locale and
// takes no lock.
#pragma once
#include <cstddef>

namespace number_text {

// The whole text as a number of the data files: blanks and tabs at both ends
// are ignored; then an optional "+" or "-" and digits with at most one "."
// (at least one digit).  Nothing else: no exponent, no inner blank, no other
// character.  false, value unchanged, when the text is no such number or its
// value lies beyond the range of double.  A value too small for a double
// reads as zero.
bool ReadNumber(const wchar_t* text, size_t length, double& value);
bool ReadNumber(const wchar_t* text, double& value);

// The same for 8-bit text.
bool ReadNumber(const char* text, size_t length, double& value);

// The number at the start of a text as the C library's conversion reads it:
// white space first, then an optional sign, digits with an optional "." and
// an optional exponent ("e" or "E", optional sign, digits); the rest of the
// text is ignored.  A text that does not begin with a number reads as 0.
// false, value unchanged, when the number lies beyond the range of double.
bool ReadLeadingNumber(const wchar_t* text, double& value);

// A value the number test accepted, as the C library's integer conversion of
// its text reads it: the whole part, held within the range of int.
int WholePart(double value);

} // namespace number_text
