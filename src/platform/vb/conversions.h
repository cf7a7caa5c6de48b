// The old runtime's conversion functions as the windows call them on box texts and
// field values. A text that is not a number raises TypeMismatch (13), a value out of
// its type's range Overflow (6), Null InvalidUseOfNull (94); see error.h.
#pragma once

#include "platform/vb/variant.h"

namespace vb {

// True for numbers, money and texts the conversions accept: blanks around, a leading
// or trailing sign, thousands separators ("1,250.00"), a decimal point, an exponent.
// Null, dates, the empty text and texts beyond the range of a double ("1e999") are not
// numeric.
bool IsNumeric(const Variant& value);

double CDbl(const Variant& value);
// Money: texts are read digit by digit, numbers rounded half to even at 4 decimals.
Currency CCur(const Variant& value);
// A 16-bit whole number, rounded half to even (2.5 is 2, 3.5 is 4).
int CInt(const Variant& value);
}  // namespace vb
