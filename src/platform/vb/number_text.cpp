// Parser of numeric texts; see number_text.h.
#include "platform/vb/number_text.h"

#include <climits>
#include <cstdlib>

namespace vb {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Cursor over the text with the small steps the grammar needs.
struct Scanner {
    const QString& text;
    qsizetype pos = 0;
    qsizetype end = 0;

    bool atEnd() const { return pos >= end; }
    QChar peek() const { return atEnd() ? QChar() : text[pos]; }
    bool take(QChar c)
    {
        if (peek() != c) return false;
        ++pos;
        return true;
    }
    std::optional<bool> takeSign()   // true for '-', false for '+'
    {
        if (take(u'-')) return true;
        if (take(u'+')) return false;
        return std::nullopt;
    }
};

}  // namespace

double DecimalText::toDouble() const
{
    const QString plain = (negative ? QStringLiteral("-") : QString()) + digits
                          + QStringLiteral("e") + QString::number(exponent);
    // Only digits, signs and 'e': strtod reads it the same in every locale.
    return std::strtod(plain.toLatin1().constData(), nullptr);
}

std::optional<DecimalText> parseNumberText(const QString& text)
{
    Scanner in{text, 0, text.size()};
    while (!in.atEnd() && in.peek() == u' ') ++in.pos;
    while (in.end > in.pos && text[in.end - 1] == u' ') --in.end;

    DecimalText number;
    const std::optional<bool> leadingSign = in.takeSign();
    number.negative = leadingSign.value_or(false);

    // Whole part: digits, with thousands separators once a digit has been read.
    while (!in.atEnd() && (isDigit(in.peek()) || (in.peek() == u',' && !number.digits.isEmpty()))) {
        if (in.peek() != u',') number.digits += in.peek();
        ++in.pos;
    }
    if (in.take(u'.')) {
        while (!in.atEnd() && isDigit(in.peek())) {
            number.digits += in.peek();
            --number.exponent;
            ++in.pos;
        }
    }
    if (number.digits.isEmpty()) return std::nullopt;

    const QChar marker = in.peek().toLower();
    if (marker == u'e' || marker == u'd') {
        ++in.pos;
        const bool negativeExponent = in.takeSign().value_or(false);
        qint64 power = 0;
        bool any = false;
        while (!in.atEnd() && isDigit(in.peek())) {
            power = std::min<qint64>(power * 10 + in.peek().digitValue(), INT_MAX / 2);
            any = true;
            ++in.pos;
        }
        if (!any) return std::nullopt;
        number.exponent += static_cast<int>(negativeExponent ? -power : power);
    }
    if (!leadingSign) {
        if (const std::optional<bool> trailingSign = in.takeSign()) number.negative = *trailingSign;
    }
    if (!in.atEnd()) return std::nullopt;
    return number;
}

}  // namespace vb
