// Dates as the old runtime read them from texts: "2024-03-05", "2024-3-5",
// "2024/03/05", "2024.03.05" and "2024年3月5日", each optionally followed by a time
// ("2024-03-05 14:30"). The day must exist: "2024-02-30" is not a date, nor is a
// masked box still holding its prompt characters ("2024-0_-__").
#pragma once

#include "platform/vb/variant.h"

#include <QDate>
#include <optional>

namespace vb {

// The day the runtime counts dates from (day 0): 1899-12-30.
const QDate& dayZero();

// The calendar date of a text (its time of day, if any, is checked and dropped).
std::optional<QDate> parseDate(const QString& text);

// Date values, and texts parseDate accepts; never numbers or Null.
bool IsDate(const Variant& value);
// The date of a value; a text that is not a date raises TypeMismatch (13),
// Null raises InvalidUseOfNull (94), a number is read as a day count from 1899-12-30.
QDate CDate(const Variant& value);

}  // namespace vb
