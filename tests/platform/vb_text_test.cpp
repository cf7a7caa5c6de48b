// Trim, Format and date reading as the dispensary windows use them: blank trimming
// that leaves other white space alone, the money patterns with their rounding, dates
// formatted, and the date texts IsDate accepts (days that do not exist and masked
// boxes still holding prompt characters are none) with CDate's errors.
#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

#include <QTest>

using vb::Format;
using vb::Variant;

class VbTextTest : public QObject {
    Q_OBJECT

private slots:
    void trimRemovesAsciiBlanksOnly()
    {
        const struct { const char *text, *trimmed, *left; } rows[] = {
            {"  当归 ", "当归", "当归 "}, {"   ", "", ""}, {" 当 归 ", "当 归", "当 归 "}, {"\t当归\t", "\t当归\t", "\t当归\t"},
            {"\r\n当归 \r\n", "\r\n当归 \r\n", "\r\n当归 \r\n"}, {"　当归　 ", "　当归　", "　当归　 "}};
        for (const auto& row : rows) {
            QCOMPARE(vb::Trim(QString::fromUtf8(row.text)), QString::fromUtf8(row.trimmed));
            QCOMPARE(vb::LTrim(QString::fromUtf8(row.text)), QString::fromUtf8(row.left));
        }
    }

    void formatsNumbersAndDates()
    {
        const char* money = "###,##0.00";
        const struct { Variant value; const char* format; const char* expected; } rows[] = {
            {Variant(1234567.891), money, "1,234,567.89"}, {Variant(-1234.5), money, "-1,234.50"}, {Variant(-0.001), money, "0.00"},
            {Variant(2.675), money, "2.68"}, {Variant(-2.675), money, "-2.68"}, {Variant(999.995), money, "1,000.00"},   // half away from zero
            {Variant("1,250.00"), money, "1,250.00"}, {Variant(" 12 "), money, "12.00"}, {Variant(vb::Currency::fromDouble(12.345)), money, "12.35"},
            {Variant(1234.5), "###,##0", "1,235"}, {Variant(0.4), "###,##0", "0"}, {Variant(0.5), "#.00", ".50"}, {Variant(3), "0.00元", "3.00元"},
            {Variant(123456789012345678.0), money, "123,456,789,012,346,000.00"}, {Variant(-0.0), money, "0.00"}, {Variant(0.005), money, "0.01"},
            {Variant(-999999.995), money, "-1,000,000.00"}, {Variant(1e-300), money, "0.00"}, {Variant(0.1), "0.0000000000", "0.1000000000"},
            {Variant(QDate(2004, 8, 19)), "yyyy-mm-dd", "2004-08-19"}, {Variant(QDate(2004, 8, 19)), "yyyymmdd", "20040819"},
            {Variant("2004-8-9"), "yyyy-mm-dd", "2004-08-09"}, {Variant("2004/08/19"), "yyyymmdd", "20040819"},
            {Variant(QDate(2004, 8, 9)), "yy.m.d", "04.8.9"}, {Variant(38218), "yyyy-mm-dd", "2004-08-19"}, {Variant(1.5), "", "1.5"},
            // texts of the wrong kind come back as they were; Null gives ""
            {Variant("十二"), money, "十二"}, {Variant(""), money, ""}, {Variant(), money, ""},
            {Variant("2004-0_-__"), "yyyymmdd", "2004-0_-__"}, {Variant("2024-02-30"), "yyyymmdd", "2024-02-30"}};
        for (const auto& row : rows) QCOMPARE(Format(row.value, QString::fromUtf8(row.format)), QString::fromUtf8(row.expected));
    }

    void readsDateTexts()
    {
        const struct { const char* text; QDate date; } rows[] = {   // an invalid date: not a date
            {"2004-8-9", QDate(2004, 8, 9)}, {"2004/08/19", QDate(2004, 8, 19)}, {"2004.08.19", QDate(2004, 8, 19)},
            {"2004年8月19日", QDate(2004, 8, 19)}, {" 2004-08-19 14:30:59 ", QDate(2004, 8, 19)}, {"2024-02-29", QDate(2024, 2, 29)},
            {"2023-02-29", {}}, {"2024-02-30", {}}, {"2024-13-01", {}}, {"2024-01-00", {}}, {"2004-08/19", {}}, {"2004-0_-__", {}},
            {"____-__-__", {}}, {"20040819", {}}, {"2004-08-19 24:00", {}}, {"今天", {}}, {"", {}}};
        for (const auto& row : rows) {
            const QString text = QString::fromUtf8(row.text);
            QVERIFY2(vb::IsDate(text) == row.date.isValid(), row.text);
            QCOMPARE(Variant(text).toDate(), row.date);
            if (row.date.isValid()) QCOMPARE(vb::CDate(text), row.date);
            else QVERIFY_THROWS_EXCEPTION(vb::TypeMismatch, vb::CDate(text));
        }
        QVERIFY(vb::IsDate(Variant(QDate(2004, 1, 1))));
        QVERIFY(!vb::IsDate(Variant(38000)));
        QCOMPARE(vb::CDate(Variant(38218)), QDate(2004, 8, 19));
        QVERIFY_THROWS_EXCEPTION(vb::InvalidUseOfNull, vb::CDate(Variant()));
        QVERIFY_THROWS_EXCEPTION(vb::Overflow, vb::CDate(Variant(1e12)));
    }
};

QTEST_MAIN(VbTextTest)
#include "vb_text_test.moc"
