// The spreadsheet's reading of cell values; see cell_values.h.
#include "platform/office/cell_values.h"

#include <QDate>
#include <QRegularExpression>
#include <optional>

namespace office {

namespace {

std::optional<double> typedNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^([+-]?)(\\d{1,3}(?:,\\d{3})+|\\d*)(\\.\\d*)?([eE][+-]?\\d+)?(%?)$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const QString whole = match.captured(2);
    const QString fraction = match.captured(3);
    if (whole.isEmpty() && fraction.length() < 2) return std::nullopt;   // no digit at all
    bool ok = false;
    double value = (QString(whole).remove(u',') + fraction + match.captured(4)).toDouble(&ok);
    if (!ok) return std::nullopt;
    if (match.captured(1) == u"-") value = -value;
    if (!match.captured(5).isEmpty()) value /= 100;
    return value;
}

std::optional<QDate> typedDate(const QString& text)
{
    static const QRegularExpression date(QStringLiteral("^(\\d{4})([-/])(\\d{1,2})\\2(\\d{1,2})$"));
    const QRegularExpressionMatch match = date.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const QDate parsed(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
    if (!parsed.isValid() || parsed.year() < 1900) return std::nullopt;
    return parsed;
}

}  // namespace

vb::Variant typedEntry(const vb::Variant& value)
{
    if (value.type() != vb::Variant::Type::Text) return value;
    const QString text = value.toString();
    if (text.startsWith(u'\'')) return text.mid(1);
    const QString trimmed = text.trimmed();
    if (const std::optional<double> number = typedNumber(trimmed)) return *number;
    if (const std::optional<QDate> date = typedDate(trimmed)) return *date;
    return value;
}

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
