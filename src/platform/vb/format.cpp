// Number and date formatting of the old runtime; see format.h.
#include "platform/vb/format.h"

#include "platform/vb/conversions.h"
#include "platform/vb/dates.h"

#include <cmath>

namespace vb {

namespace {

bool isDatePattern(const QString& format)
{
    if (format.contains(u'0') || format.contains(u'#')) return false;
    for (const QChar c : format) {
        const QChar lower = c.toLower();
        if (lower == u'y' || lower == u'm' || lower == u'd') return true;
    }
    return false;
}

QString formatDate(const QDate& date, const QString& format)
{
    QString out;
    for (qsizetype i = 0; i < format.size();) {
        const QChar letter = format[i].toLower();
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run].toLower() == letter) ++run;
        if (letter == u'y')
            out += run >= 3 ? QString::number(date.year()).rightJustified(4, u'0')
                            : QString::number(date.year() % 100).rightJustified(2, u'0');
        else if (letter == u'm')
            out += QString::number(date.month()).rightJustified(run >= 2 ? 2 : 1, u'0');
        else if (letter == u'd')
            out += QString::number(date.day()).rightJustified(run >= 2 ? 2 : 1, u'0');
        else
            out += format.mid(i, run);
        i += run;
    }
    return out;
}

// The parts of a number pattern such as "###,##0.00".
struct NumberPattern {
    QString prefix, suffix;
    bool grouped = false;
    int minWholeDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool hasPoint = false;

    explicit NumberPattern(const QString& format)
    {
        const auto isPlaceholder = [](QChar c) { return c == u'#' || c == u'0' || c == u',' || c == u'.'; };
        qsizetype first = 0;
        while (first < format.size() && !isPlaceholder(format[first])) ++first;
        qsizetype last = format.size();
        while (last > first && !isPlaceholder(format[last - 1])) --last;
        prefix = format.left(first);
        suffix = format.mid(last);
        const QString body = format.mid(first, last - first);
        const qsizetype point = body.indexOf(u'.');
        hasPoint = point >= 0;
        const QString whole = hasPoint ? body.left(point) : body;
        const QString decimals = hasPoint ? body.mid(point + 1) : QString();
        grouped = whole.contains(u',');
        minWholeDigits = static_cast<int>(whole.count(u'0'));
        minDecimals = static_cast<int>(decimals.count(u'0'));
        maxDecimals = minDecimals + static_cast<int>(decimals.count(u'#'));
    }
};

// The decimal digits of |value| as the runtime sees them (15 significant digits),
// rounded half away from zero to `decimals` places: whole part and decimal part.
std::pair<QString, QString> roundedDigits(double value, int decimals)
{
    const QString scientific = QString::number(std::fabs(value), 'e', 14);   // d.dddddddddddddde±x
    const QString mantissa = scientific.left(1) + scientific.mid(2, 14);
    const int pointAt = scientific.mid(scientific.indexOf(u'e') + 1).toInt() + 1;

    QString whole, fraction;
    if (pointAt <= 0) {
        fraction = QString(-pointAt, u'0') + mantissa;
    } else if (pointAt >= mantissa.size()) {
        whole = mantissa + QString(pointAt - mantissa.size(), u'0');
    } else {
        whole = mantissa.left(pointAt);
        fraction = mantissa.mid(pointAt);
    }
    const bool roundUp = fraction.size() > decimals && fraction[decimals] >= u'5';
    fraction = fraction.left(decimals).leftJustified(decimals, u'0');
    QString digits = whole + fraction;
    if (roundUp) {
        qsizetype i = digits.size() - 1;
        while (i >= 0 && digits[i] == u'9') digits[i--] = u'0';
        if (i >= 0) digits[i] = QChar(digits[i].unicode() + 1);
        else digits.prepend(u'1');
    }
    whole = digits.left(digits.size() - decimals);
    fraction = digits.right(decimals);
    while (!whole.isEmpty() && whole.front() == u'0') whole.remove(0, 1);
    return {whole, fraction};
}

// The windows format with a handful of patterns, one at a time: keep the last one read.
const NumberPattern& patternOf(const QString& format)
{
    thread_local QString lastFormat;
    thread_local NumberPattern lastPattern{QString()};
    if (format != lastFormat) {
        lastPattern = NumberPattern(format);
        lastFormat = format;
    }
    return lastPattern;
}

QString formatNumber(double value, const QString& format)
{
    const NumberPattern& pattern = patternOf(format);
    auto [whole, fraction] = roundedDigits(value, pattern.maxDecimals);
    const bool zero = whole.isEmpty() && fraction.count(u'0') == fraction.size();

    while (fraction.size() > pattern.minDecimals && fraction.endsWith(u'0')) fraction.chop(1);
    whole = whole.rightJustified(pattern.minWholeDigits, u'0');
    if (pattern.grouped)
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3) whole.insert(at, u',');

    QString number = whole;
    if (pattern.hasPoint && pattern.maxDecimals > 0) number += u'.' + fraction;
    const QString sign = value < 0 && !zero ? QStringLiteral("-") : QString();
    return sign + pattern.prefix + number + pattern.suffix;
}

}  // namespace

QString Format(const Variant& value, const QString& format)
{
    if (value.isNull()) return {};
    if (format.isEmpty()) return value.toString();
    if (isDatePattern(format)) {
        if (value.type() == Variant::Type::Text && !IsDate(value)) return value.toString();
        return formatDate(CDate(value), format);
    }
    if (value.type() == Variant::Type::Text && !IsNumeric(value)) return value.toString();
    const double number = CDbl(value);
    return std::isfinite(number) ? formatNumber(number, format) : value.toString();
}

}  // namespace vb
