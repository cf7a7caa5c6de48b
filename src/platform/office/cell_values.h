// What the streamed sheet (sheet_stream.cpp) needs to know of a cell's value: whether
// it leaves the cell empty and how wide it shows; the windows never see it.
#pragma once

#include "platform/vb/variant.h"

namespace office {

// Whether the value leaves the cell empty (Null or "").
bool isEmptyValue(const vb::Variant& value);

// Width of a value in characters of the standard font, for auto-fit: a wide (CJK)
// character counts two, dates show as yyyy-mm-dd.
double contentWidth(const vb::Variant& value);

}  // namespace office
