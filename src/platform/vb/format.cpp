// Number and date formatting of the old runtime; see format.h.
#include "platform/vb/format.h"

#include "platform/vb/conversions.h"
#include "platform/vb/dates.h"

#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

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

// The number as the runtime shows it, without pattern affixes: its decimal digits to
// 15 significant digits, rounded half away from zero at the pattern's last decimal
// place, written into one buffer (no allocation for the sizes the windows see).
class NumberText {
public:
    NumberText(double value, const NumberPattern& pattern)
    {
        // d.dddddddddddddde±x, exactly as printf's "%.14e" gives it.
        char scientific[32] = {};
        const auto written = std::to_chars(scientific, scientific + sizeof scientific, std::fabs(value),
                                           std::chars_format::scientific, 14);
        std::memcpy(mantissa_, scientific, 1);
        std::memcpy(mantissa_ + 1, scientific + 2, 14);
        int exponent = 0;
        if (written.ptr > scientific + 17)
            std::from_chars(scientific + 17 + (scientific[17] == '+'), written.ptr, exponent);
        pointAt_ = exponent + 1;

        // The digits from the first whole one (or the first decimal one, below one) to
        // the last decimal place, then the carry of the rounding.
        const int decimals = pattern.maxDecimals;
        const int first = std::min(pointAt_, 0);
        const int count = pointAt_ + decimals - first;
        digits_.resize(count + 1);
        char* digits = digits_.data() + 1;   // room for a carry in front
        for (int i = 0; i < count; ++i) digits[i] = digitAt(first + i);
        const char* const wholeEnd = digits + (count - decimals);
        if (digitAt(pointAt_ + decimals) >= '5') {
            int i = count - 1;
            while (i >= 0 && digits[i] == '9') digits[i--] = '0';
            if (i >= 0) ++digits[i];
            else *--digits = '1';
        }
        const char* whole = digits;
        while (whole < wholeEnd && *whole == '0') ++whole;
        const char* fractionEnd = wholeEnd + decimals;
        const bool zero = whole == wholeEnd && std::all_of(wholeEnd, fractionEnd, [](char c) { return c == '0'; });
        while (fractionEnd - wholeEnd > pattern.minDecimals && fractionEnd[-1] == '0') --fractionEnd;

        // Sign, whole digits padded and grouped, point and decimals.
        const int wholeDigits = std::max(static_cast<int>(wholeEnd - whole), pattern.minWholeDigits);
        text_.reserve(2 + wholeDigits + wholeDigits / 3 + decimals);
        if (value < 0 && !zero) {
            text_.push_back('-');
            signLength_ = 1;
        }
        for (int left = wholeDigits; left > 0; --left) {
            text_.push_back(left > wholeEnd - whole ? '0' : wholeEnd[-left]);
            if (pattern.grouped && left > 1 && left % 3 == 1) text_.push_back(',');
        }
        if (pattern.hasPoint && pattern.maxDecimals > 0) {
            text_.push_back('.');
            text_.append(wholeEnd, fractionEnd - wholeEnd);
        }
    }

    QString toString(const NumberPattern& pattern) const
    {
        QString text = QString::fromLatin1(text_.constData(), text_.size());
        if (!pattern.prefix.isEmpty()) text.insert(signLength_, pattern.prefix);
        if (!pattern.suffix.isEmpty()) text += pattern.suffix;
        return text;
    }

private:
    // The digit at place `at` counted from the first significant digit; zeros outside.
    char digitAt(int at) const { return at >= 0 && at < 15 ? mantissa_[at] : '0'; }

    char mantissa_[15];
    int pointAt_ = 0;   // the point's place among the significant digits
    QVarLengthArray<char, 64> digits_;
    QVarLengthArray<char, 64> text_;
    int signLength_ = 0;
};

// The windows format with a handful of patterns, one at a time: keep the last one read.
struct Pattern {
    bool date = false;
    NumberPattern number{QString()};
};

const Pattern& patternOf(const QString& format)
{
    thread_local QString lastFormat;
    thread_local Pattern lastPattern;
    if (format != lastFormat) {
        lastPattern.date = isDatePattern(format);
        lastPattern.number = NumberPattern(lastPattern.date ? QString() : format);
        lastFormat = format;
    }
    return lastPattern;
}

}  // namespace

QString Format(const Variant& value, const QString& format)
{
    if (value.isNull()) return {};
    if (format.isEmpty()) return value.toString();
    const Pattern& pattern = patternOf(format);
    if (pattern.date) {
        if (value.type() == Variant::Type::Text && !IsDate(value)) return value.toString();
        return formatDate(CDate(value), format);
    }
    if (value.type() == Variant::Type::Text && !IsNumeric(value)) return value.toString();
    return NumberText(CDbl(value), pattern.number).toString(pattern.number);
}

}  // namespace vb
