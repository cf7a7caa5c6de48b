// Format of the old runtime for the patterns the windows use.
//
// Numbers: "###,##0.00", "#,##0.00", "##,##0.00", "#,###,##0.00", "0.00", "###,##0":
// a ',' among the whole-part placeholders groups thousands, each '0' is a digit that
// is always shown, each '#' one shown only when needed; the value is rounded half
// away from zero at the last decimal placeholder (2.675 gives "2.68"). Characters
// before and after the placeholders are copied as they stand.
//
// Dates: "yyyy-mm-dd", "yyyymmdd" and other arrangements of yyyy, yy, mm, m, dd, d.
//
// The value may be a number, money, a date or a text that reads as one; a text that
// does not fit the pattern's kind comes back unchanged, Null comes back as "".
#pragma once

#include "platform/vb/variant.h"

namespace vb {

QString Format(const Variant& value, const QString& format);

}  // namespace vb
