// Date reading of the old runtime; see dates.h.
#include "platform/vb/dates.h"

#include "platform/vb/conversions.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"

#include <QRegularExpression>
#include <cmath>

namespace vb {

const QDate& dayZero()
{
    static const QDate zero(1899, 12, 30);
    return zero;
}

namespace {

bool validTime(const QRegularExpressionMatch& match, int first)
{
    if (!match.hasCaptured(first)) return true;
    const int hours = match.captured(first).toInt();
    const int minutes = match.captured(first + 1).toInt();
    const int seconds = match.hasCaptured(first + 2) ? match.captured(first + 2).toInt() : 0;
    return hours < 24 && minutes < 60 && seconds < 60;
}

}  // namespace

std::optional<QDate> parseDate(const QString& text)
{
    // Year, month, day with one separator used twice, or the Chinese written form.
    static const QRegularExpression numeric(QStringLiteral(
        "^(\\d{4})([-/.])(\\d{1,2})\\2(\\d{1,2})(?: +(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    static const QRegularExpression written(QStringLiteral(
        "^(\\d{4})年(\\d{1,2})月(\\d{1,2})日(?: *(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));

    const QString trimmed = Trim(text);
    QRegularExpressionMatch match = numeric.match(trimmed);
    int year = 0, month = 0, day = 0, timeGroup = 0;
    if (match.hasMatch()) {
        year = match.captured(1).toInt();
        month = match.captured(3).toInt();
        day = match.captured(4).toInt();
        timeGroup = 5;
    } else if ((match = written.match(trimmed)).hasMatch()) {
        year = match.captured(1).toInt();
        month = match.captured(2).toInt();
        day = match.captured(3).toInt();
        timeGroup = 4;
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (year < 100 || !date.isValid() || !validTime(match, timeGroup)) return std::nullopt;
    return date;
}

bool IsDate(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Date: return value.toDate().isValid();
    case Variant::Type::Text: return parseDate(value.toString()).has_value();
    default: return false;
    }
}

QDate CDate(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Null: throw InvalidUseOfNull();
    case Variant::Type::Date: return value.toDate();
    case Variant::Type::Text:
        if (const std::optional<QDate> date = parseDate(value.toString())) return *date;
        throw TypeMismatch();
    default: break;
    }
    const double days = std::floor(CDbl(value));
    if (std::fabs(days) > 3e6) throw Overflow();
    const QDate date = dayZero().addDays(static_cast<qint64>(days));
    if (date.year() < 100 || date.year() > 9999) throw Overflow();
    return date;
}

}  // namespace vb
