// Values as the old runtime carried them: a field or box value is Null, a text, a
// number (double), a currency amount or a date. The database layer hands these out
// and takes them in; the windows read them as texts (Null reads as "") or numbers.
#pragma once

#include <QDate>
#include <QString>
#include <compare>
#include <cstdint>

namespace vb {

// Money as the old runtime kept it: a 64-bit count of ten-thousandths.
class Currency {
public:
    Currency() = default;
    static Currency fromDouble(double value);        // rounds half to even at the 4th decimal; Overflow (6) out of range
    static Currency fromTenThousandths(std::int64_t raw) { Currency c; c.raw_ = raw; return c; }

    std::int64_t tenThousandths() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / 10000.0; }

    Currency operator+(Currency o) const { return fromTenThousandths(raw_ + o.raw_); }
    Currency operator-(Currency o) const { return fromTenThousandths(raw_ - o.raw_); }
    Currency& operator+=(Currency o) { raw_ += o.raw_; return *this; }
    Currency& operator-=(Currency o) { raw_ -= o.raw_; return *this; }
    // A price times a dose, an amount over a quantity: the exact product or quotient
    // rounded half to even at the 4th decimal. Overflow (6) out of range; dividing by
    // zero raises DivisionByZero (11).
    Currency operator*(double factor) const;
    Currency operator/(double divisor) const;
    // The amount rounded to the hundredth (fen), ties to the even neighbour: 0.125 is
    // 0.12, 0.135 is 0.14, -0.125 is -0.12.
    Currency roundedToCents() const;
    auto operator<=>(const Currency&) const = default;

private:
    std::int64_t raw_ = 0;
};

inline Currency operator*(double factor, Currency money) { return money * factor; }

class Variant {
public:
    enum class Type { Null, Text, Number, Currency, Date };

    Variant() = default;                              // Null
    Variant(const QString& text) : type_(Type::Text), text_(text) {}
    Variant(const char* text) : Variant(QString::fromUtf8(text)) {}
    Variant(double number) : type_(Type::Number), number_(number) {}
    Variant(int number) : Variant(static_cast<double>(number)) {}
    Variant(Currency money) : type_(Type::Currency), money_(money) {}
    Variant(const QDate& date) : type_(Type::Date), date_(date) {}

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }

    // The text a box or grid cell shows: "" for Null, dates as yyyy-mm-dd,
    // numbers and money in their shortest plain form (1250, 0.75).
    QString toString() const;
    // The number a computation uses: 0 for Null; texts are read as CDbl reads them
    // (thousands separators allowed), but 0 when not numeric instead of an error.
    double toDouble() const;
    Currency toCurrency() const;
    // Dates from Date values or texts IsDate accepts; an invalid QDate otherwise.
    QDate toDate() const;

    bool operator==(const Variant& other) const;

private:
    Type type_ = Type::Null;
    QString text_;
    double number_ = 0;
    Currency money_;
    QDate date_;
};

}  // namespace vb
