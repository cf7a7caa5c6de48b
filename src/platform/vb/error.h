// Run-time errors as the old runtime raised them: a number and a Chinese description.
// The value conversions, the office stand-ins and the file helpers throw these; a
// window's error trap shows the number and the description in one of its forms.
#pragma once

#include <QString>
#include <stdexcept>

namespace vb {

class Error : public std::runtime_error {
public:
    Error(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    QString description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Error 13: a text that is not a number (or a date) where one is needed.
class TypeMismatch : public Error {
public:
    TypeMismatch() : Error(13, QStringLiteral("类型不匹配")) {}
};

// Error 6: a value outside the range of its type.
class Overflow : public Error {
public:
    Overflow() : Error(6, QStringLiteral("溢出")) {}
};

// Error 11: a division by zero.
class DivisionByZero : public Error {
public:
    DivisionByZero() : Error(11, QStringLiteral("除数为零")) {}
};

// Error 94: Null where a value is needed.
class InvalidUseOfNull : public Error {
public:
    InvalidUseOfNull() : Error(94, QStringLiteral("无效使用 Null")) {}
};

}  // namespace vb
