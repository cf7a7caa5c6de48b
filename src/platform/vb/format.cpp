// Number and date formatting of the old runtime; see format.h.
#include "platform/vb/format.h"

#include "platform/vb/conversions.h"
#include "platform/vb/dates.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
std::pair<std::string, std::string> roundedDigits(double value, int decimals)
{
    char scientific[40];   // d.dddddddddddddde±x; the point's own character is skipped
    std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(value));
    std::string mantissa(1, scientific[0]);
    mantissa.append(scientific + 2, 14);
    const int pointAt = std::atoi(std::strchr(scientific, 'e') + 1) + 1;
    const int size = static_cast<int>(mantissa.size());

    std::string whole, fraction;
    if (pointAt <= 0) {
        fraction = std::string(-pointAt, '0') + mantissa;
    } else if (pointAt >= size) {
        whole = mantissa + std::string(pointAt - size, '0');
    } else {
        whole = mantissa.substr(0, pointAt);
        fraction = mantissa.substr(pointAt);
    }
    const bool roundUp = static_cast<int>(fraction.size()) > decimals && fraction[decimals] >= '5';
    fraction.resize(decimals, '0');
    std::string digits = whole + fraction;
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i >= 0) ++digits[i];
        else digits.insert(digits.begin(), '1');
    }
    whole = digits.substr(0, digits.size() - decimals);
    fraction = digits.substr(digits.size() - decimals);
    const std::size_t firstDigit = whole.find_first_not_of('0');
    whole.erase(0, firstDigit == std::string::npos ? whole.size() : firstDigit);
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
    const bool zero = whole.empty() && fraction.find_first_not_of('0') == std::string::npos;

    while (static_cast<int>(fraction.size()) > pattern.minDecimals && fraction.back() == '0') fraction.pop_back();
    if (static_cast<int>(whole.size()) < pattern.minWholeDigits)
        whole.insert(0, pattern.minWholeDigits - whole.size(), '0');
    if (pattern.grouped)
        for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(at, 1, ',');

    std::string number = value < 0 && !zero ? "-" : "";
    const std::size_t signLength = number.size();
    number += whole;
    if (pattern.hasPoint && pattern.maxDecimals > 0) number += '.' + fraction;
    QString text = QString::fromLatin1(number.data(), static_cast<qsizetype>(number.size()));
    text.insert(signLength, pattern.prefix);
    return text + pattern.suffix;
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
    return formatNumber(CDbl(value), format);
}

}  // namespace vb
