// Conversions of the old runtime's values; see variant.h.
#include "platform/vb/variant.h"

#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/number_text.h"

#include <cmath>

namespace vb {

// A count of ten-thousandths rounded half to even, with a tolerance for the binary
// error of the product that scaled it.
static Currency roundedTenThousandths(double scaled)
{
    double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (fraction > 0.5 + 1e-9 || (std::fabs(fraction - 0.5) <= 1e-9 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    // 2^63 is exactly representable; anything from there on does not fit.
    if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0)) throw Overflow();
    return Currency::fromTenThousandths(static_cast<std::int64_t>(whole));
}

Currency Currency::fromDouble(double value) { return roundedTenThousandths(value * 10000.0); }

Currency Currency::operator*(double factor) const
{
    return roundedTenThousandths(static_cast<double>(raw_) * factor);
}

Currency Currency::operator/(double divisor) const
{
    if (divisor == 0.0) throw DivisionByZero();
    return roundedTenThousandths(static_cast<double>(raw_) / divisor);
}

Currency Currency::roundedToCents() const
{
    std::int64_t hundredths = raw_ / 100;
    const std::int64_t rest = raw_ % 100;   // carries the sign of raw_
    if (rest > 50 || (rest == 50 && hundredths % 2 != 0))
        ++hundredths;
    else if (rest < -50 || (rest == -50 && hundredths % 2 != 0))
        --hundredths;
    return fromTenThousandths(hundredths * 100);
}

static QString plainNumber(double value)
{
    QString text = QString::number(value, 'f', 10);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0')) text.chop(1);
        if (text.endsWith(u'.')) text.chop(1);
    }
    return text == u"-0" ? QStringLiteral("0") : text;
}

QString Variant::toString() const
{
    switch (type_) {
    case Type::Null: return {};
    case Type::Text: return text_;
    case Type::Number: return plainNumber(number_);
    case Type::Currency: return plainNumber(money_.toDouble());
    case Type::Date: return date_.toString(QStringLiteral("yyyy-MM-dd"));
    }
    return {};
}

double Variant::toDouble() const
{
    switch (type_) {
    case Type::Null: return 0;
    case Type::Text: {
        const std::optional<DecimalText> number = parseNumberText(text_);
        const double value = number ? number->toDouble() : 0;
        return std::isfinite(value) ? value : 0;
    }
    case Type::Number: return number_;
    case Type::Currency: return money_.toDouble();
    case Type::Date: return static_cast<double>(dayZero().daysTo(date_));
    }
    return 0;
}

Currency Variant::toCurrency() const
{
    return type_ == Type::Currency ? money_ : Currency::fromDouble(toDouble());
}

QDate Variant::toDate() const
{
    if (type_ == Type::Date) return date_;
    if (type_ == Type::Text) return parseDate(text_).value_or(QDate());
    return {};
}

bool Variant::operator==(const Variant& other) const
{
    if (type_ != other.type_) return false;
    switch (type_) {
    case Type::Null: return true;
    case Type::Text: return text_ == other.text_;
    case Type::Number: return number_ == other.number_;
    case Type::Currency: return money_ == other.money_;
    case Type::Date: return date_ == other.date_;
    }
    return false;
}

}  // namespace vb
