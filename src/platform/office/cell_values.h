// How the spreadsheet program reads what is put into a cell, for the streamed sheet
// (sheet_stream.cpp); the windows never see it.
#pragma once

#include "platform/vb/variant.h"

namespace office {

// A value as the cell holds it. A text is read as the program reads typed text: a
// number ("1,250.00", "-3.5", "1e3", "12%" is 0.12) becomes that number, a date
// "yyyy-m-d" or "yyyy/m/d" becomes that date, a leading apostrophe keeps the rest as
// text; anything else stays text. Other values are kept.
vb::Variant typedEntry(const vb::Variant& value);

// Whether the value leaves the cell empty (Null or "").
bool isEmptyValue(const vb::Variant& value);

// Width of a value in characters of the standard font, for auto-fit: a wide (CJK)
// character counts two, dates show as yyyy-mm-dd.
double contentWidth(const vb::Variant& value);

}  // namespace office
