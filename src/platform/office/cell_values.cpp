// Cell values as the streamed sheet measures them; see cell_values.h.
#include "platform/office/cell_values.h"

namespace office {

bool isEmptyValue(const vb::Variant& value)
{
    return value.isNull() || (value.type() == vb::Variant::Type::Text && value.toString().isEmpty());
}

double contentWidth(const vb::Variant& value)
{
    if (value.type() == vb::Variant::Type::Date) return 10;
    double width = 0;
    const QString text = value.toString();
    for (const char32_t c : text.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF)
                          || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF)
                          || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
                          || (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
        width += wide ? 2 : 1;
    }
    return width;
}

}  // namespace office
