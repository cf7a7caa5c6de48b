// Number conversions of the old runtime as the dispensary relies on them: what counts
// as numeric, reading grouped texts, money rounding and arithmetic, and 16-bit
// rounding with its overflow.
#include "platform/vb/conversions.h"
#include "platform/vb/error.h"
#include "platform/vb/format.h"
#include "platform/raised.h"

#include <QTest>
#include <functional>

using vb::Currency;
using vb::Variant;

namespace {

// The error number a call raises, 0 when it raises none.
int errorOf(const std::function<void()>& call) { return testing::raised(call).number(); }

}  // namespace

class VbNumbersTest : public QObject {
    Q_OBJECT

private slots:
    // Numeric texts give their number; others are 0 as a Variant and error 13 in CDbl.
    void readsNumericTexts()
    {
        const struct { const char* text; bool numeric; double number; } rows[] = {
            {"1,250.00", true, 1250}, {"  12.5 ", true, 12.5}, {"+3", true, 3}, {"3-", true, -3}, {".5", true, 0.5}, {"5.", true, 5},
            {"1.5E3", true, 1500}, {"2d2", true, 200}, {"1,2,3", true, 123}, {"1e308", true, 1e308}, {"", false, 0}, {"   ", false, 0},
            {"12克", false, 0}, {"-3-", false, 0}, {",5", false, 0}, {"1.2,5", false, 0}, {"1 2", false, 0}, {".", false, 0},
            {"1e", false, 0}, {"\t1", false, 0}, {"１２", false, 0}};
        for (const auto& row : rows) {
            const QString text = QString::fromUtf8(row.text);
            QVERIFY2(vb::IsNumeric(text) == row.numeric, row.text);
            QCOMPARE(Variant(text).toDouble(), row.number);
            if (row.numeric) QCOMPARE(vb::CDbl(text), row.number);
            else QVERIFY2(errorOf([&] { vb::CDbl(text); }) == 13, row.text);
        }
    }

    // Every conversion error of the runtime with its number; the two common ones carry
    // the runtime's own texts. A text beyond the double range is not numeric and
    // Format hands it back.
    void conversionErrorsAndOtherValues()
    {
        const Currency money = Currency::fromDouble(10);
        const struct { const char* call; std::function<void()> run; int error; } cases[] = {
            {"CDbl(\"1e999\")", [] { vb::CDbl(Variant("1e999")); }, 6},
            {"CDbl(Null)", [] { vb::CDbl(Variant()); }, 94},
            {"CCur beyond the top", [] { vb::CCur(QStringLiteral("922337203685477.5808")); }, 6},
            {"CCur(\"十元\")", [] { vb::CCur(QStringLiteral("十元")); }, 13},
            {"CCur(1e300)", [] { vb::CCur(Variant(1e300)); }, 6},
            {"money / 0", [&] { money / 0.0; }, 11},
            {"money * 1e16", [&] { money * 1e16; }, 6},
            {"CInt(-32769)", [] { vb::CInt(Variant(-32769)); }, 6},
            {"CInt(\"4e4\")", [] { vb::CInt(Variant("4e4")); }, 6},
        };
        for (const auto& c : cases) QVERIFY2(errorOf(c.run) == c.error, c.call);
        QCOMPARE(testing::raised([] { vb::CDbl(QStringLiteral("abc")); }).description(), QStringLiteral("类型不匹配"));
        QCOMPARE(testing::raised([] { vb::CInt(Variant(32767.5)); }).description(), QStringLiteral("溢出"));

        for (const char* text : {"1e999", "-1e400"}) {
            QVERIFY2(!vb::IsNumeric(Variant(text)), text);
            QCOMPARE(vb::Format(Variant(text), QStringLiteral("###,##0.00")), QString::fromLatin1(text));
        }
        QVERIFY(!vb::IsNumeric(Variant()) && !vb::IsNumeric(Variant(QDate(2004, 1, 1))));
        QCOMPARE(vb::CDbl(Variant(QDate(1900, 1, 1))), 2.0);
        QCOMPARE(vb::CCur(QStringLiteral("0e99999")).tenThousandths(), 0);
    }

    // Money from texts digit by digit, half to even at the fourth decimal.
    void currencyFromTextsIsExact()
    {
        const struct { const char* text; qint64 tenThousandths; } rows[] = {
            {"1,250.00", 12500000}, {"0.1234", 1234}, {"0.00005", 0},     {"0.00015", 2},
            {"0.000051", 1},        {"-2.00025", -20002}, {"1.5e2", 1500000},
            {"922337203685477.5807", 9223372036854775807LL}};
        for (const auto& row : rows) QVERIFY2(vb::CCur(QString::fromLatin1(row.text)).tenThousandths() == row.tenThousandths, row.text);
    }

    // Price times dose and amount over quantity round half to even at the fourth
    // decimal; an amount rounds to cents half to even.
    void currencyArithmeticAndCents()
    {
        const struct { qint64 raw; double factor; bool divide; qint64 expected; } rows[] = {
            {12500, 12, false, 150000}, {10001, 0.5, false, 5000}, {10003, 0.5, false, 5002}, {-10003, 0.5, false, -5002},
            {1000000, 3, true, 333333}, {5, 2, true, 2},           {7, 2, true, 4}};
        for (const auto& row : rows) {
            const Currency money = Currency::fromTenThousandths(row.raw);
            QCOMPARE(qint64((row.divide ? money / row.factor : money * row.factor).tenThousandths()), row.expected);
        }
        const std::pair<qint64, qint64> cents[] = {
            {1250, 1200}, {1350, 1400}, {1251, 1300}, {-1250, -1200}, {-1251, -1300}, {922337203685477550, 922337203685477600}};
        for (const auto& [raw, expected] : cents)
            QCOMPARE(qint64(Currency::fromTenThousandths(raw).roundedToCents().tenThousandths()), expected);
    }

    void cintRoundsHalfToEven()
    {
        const std::pair<Variant, int> rows[] = {{Variant(2.5), 2},  {Variant(3.5), 4},        {Variant(-2.5), -2},
                                                {Variant(2.51), 3}, {Variant("1,234.5"), 1234}, {Variant(32767.4), 32767},
                                                {Variant(-32768.5), -32768}};
        for (const auto& [value, expected] : rows) QCOMPARE(vb::CInt(value), expected);
    }
};

QTEST_MAIN(VbNumbersTest)
#include "vb_numbers_test.moc"
