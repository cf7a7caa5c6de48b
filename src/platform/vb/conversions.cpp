// Conversion functions of the old runtime; see conversions.h.
#include "platform/vb/conversions.h"

#include "platform/vb/error.h"
#include "platform/vb/number_text.h"

#include <cmath>
#include <limits>

namespace vb {

namespace {

double finiteOrOverflow(double value)
{
    if (!std::isfinite(value)) throw Overflow();
    return value;
}

DecimalText numberTextOf(const QString& text)
{
    const std::optional<DecimalText> number = parseNumberText(text);
    if (!number) throw TypeMismatch();
    return *number;
}

// digits * 10^exponent in ten-thousandths, rounded half to even; Overflow beyond int64.
Currency currencyOf(const DecimalText& number)
{
    QString digits = number.digits;
    const int shift = number.exponent + 4;   // ten-thousandths
    bool roundUp = false;
    if (shift >= 0) {
        if (shift > 19) {
            if (digits.count(u'0') != digits.size()) throw Overflow();
            digits = QStringLiteral("0");
        } else {
            digits += QString(shift, u'0');
        }
    } else {
        const qsizetype dropped = std::min<qsizetype>(-static_cast<qsizetype>(shift), digits.size());
        const QString rest = digits.right(dropped);
        digits.chop(dropped);
        const QChar first = rest.front();
        const bool restBeyondHalf = rest.mid(1).count(u'0') != rest.size() - 1;
        const bool lastOdd = !digits.isEmpty() && digits.back().digitValue() % 2 == 1;
        // Fewer digits than dropped means the first dropped one is a leading zero.
        const bool exact = -shift <= number.digits.size();
        roundUp = exact && (first > u'5' || (first == u'5' && (restBeyondHalf || lastOdd)));
    }
    while (digits.size() > 1 && digits.front() == u'0') digits.remove(0, 1);
    bool ok = true;
    std::int64_t raw = digits.isEmpty() ? 0 : digits.toLongLong(&ok);
    if (!ok) throw Overflow();
    if (roundUp) {
        if (raw == std::numeric_limits<std::int64_t>::max()) throw Overflow();
        ++raw;
    }
    return Currency::fromTenThousandths(number.negative ? -raw : raw);
}

}  // namespace

bool IsNumeric(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Number:
    case Variant::Type::Currency: return true;
    case Variant::Type::Text: {
        // A text beyond the range of a double is no number the runtime can hold.
        const std::optional<DecimalText> number = parseNumberText(value.toString());
        return number && std::isfinite(number->toDouble());
    }
    case Variant::Type::Null:
    case Variant::Type::Date: return false;
    }
    return false;
}

double CDbl(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Null: throw InvalidUseOfNull();
    case Variant::Type::Text: return finiteOrOverflow(numberTextOf(value.toString()).toDouble());
    default: return value.toDouble();
    }
}

Currency CCur(const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Null: throw InvalidUseOfNull();
    case Variant::Type::Currency: return value.toCurrency();
    case Variant::Type::Text: return currencyOf(numberTextOf(value.toString()));
    default: return Currency::fromDouble(value.toDouble());
    }
}

int CInt(const Variant& value)
{
    const double rounded = std::nearbyint(CDbl(value));   // the default mode rounds half to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw Overflow();
    return static_cast<int>(rounded);
}

}  // namespace vb
