// Arithmetic expression evaluator.
//
// The expression may use + - * / ^ (power) and % (floating remainder), with
// "^" binding tightest, then "/", then "*", then "%", then "-" and "+";
// parentheses; the functions ln, log, sqr (square root), e^, exp (10 to the
// power), abs, ac, as, at, sin, cos, tan, cot, sh, ch, th (arguments in
// radians); the upper-case constants PI, GG, EF, VM, BC, MG, GR, NA, LS, DC
// and E; and numbers with the suffixes "xo" (octal), "xh" (hexadecimal) and
// "xb" (binary).  Function names match in either case.
#pragma once
#include "corvane/CorvaneDefs.h"

// Evaluates expression.  Returns 1 with the value as text in result, or 0
// with the message in result.  An empty expression or "NULL" gives "0".
// Computed values are written with 16 decimals ("2+3" gives
// "5.0000000000000000"); an expression that is a plain number comes back as
// written.
CORVANE_API int tkx_ExpressCalc(const wchar_t* expression, CString& result);
