// Reading numbers out of texts the way the old runtime's conversions read them:
// blanks around the text, a leading or trailing sign, thousands separators in the
// whole part, a decimal point and an exponent ("1,250.00", " -3 ", "5-", "1.5E3").
// The digits are kept exactly, so money can be rounded without a binary detour.
// Shared by IsNumeric, CDbl, CCur and Variant; the windows call those instead.
#pragma once

#include <QString>
#include <optional>

namespace vb {

// A decimal number: (negative ? -1 : 1) * digits * 10^exponent, digits without separators.
struct DecimalText {
    bool negative = false;
    QString digits;   // at least one digit, leading zeros possible
    int exponent = 0;

    double toDouble() const;   // may be ±inf when out of range
};

std::optional<DecimalText> parseNumberText(const QString& text);

}  // namespace vb
