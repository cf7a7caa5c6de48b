// Number conversions of the old runtime as the dispensary relies on them: what counts
// as numeric, reading grouped texts, money rounding and arithmetic, 16-bit rounding
// and its overflow, single precision and Val.
#include "platform/vb/conversions.h"
#include "platform/vb/error.h"
#include "platform/vb/format.h"
#include "platform/raised.h"

#include <QTest>
#include <functional>

using vb::Currency;
using vb::Variant;

Q_DECLARE_METATYPE(vb::Variant)

namespace {

// The error number a call raises, 0 when it raises none.
int errorOf(const std::function<void()>& call) { return testing::raised(call).number(); }

}  // namespace

class VbNumbersTest : public QObject {
    Q_OBJECT

private slots:
    void readsNumericTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("number");
        QTest::newRow("grouped price") << "1,250.00" << true << 1250.0;
        QTest::newRow("blanks around") << "  12.5 " << true << 12.5;
        QTest::newRow("leading minus") << "-3" << true << -3.0;
        QTest::newRow("leading plus") << "+3" << true << 3.0;
        QTest::newRow("trailing minus") << "3-" << true << -3.0;
        QTest::newRow("no whole digits") << ".5" << true << 0.5;
        QTest::newRow("point at end") << "5." << true << 5.0;
        QTest::newRow("exponent") << "1.5E3" << true << 1500.0;
        QTest::newRow("double exponent marker") << "2d2" << true << 200.0;
        QTest::newRow("loose separators") << "1,2,3" << true << 123.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks only") << "   " << false << 0.0;
        QTest::newRow("word") << "abc" << false << 0.0;
        QTest::newRow("digits then word") << "12克" << false << 0.0;
        QTest::newRow("two signs") << "-3-" << false << 0.0;
        QTest::newRow("separator first") << ",5" << false << 0.0;
        QTest::newRow("separator in decimals") << "1.2,5" << false << 0.0;
        QTest::newRow("inner blank") << "1 2" << false << 0.0;
        QTest::newRow("lone point") << "." << false << 0.0;
        QTest::newRow("bare exponent") << "1e" << false << 0.0;
        QTest::newRow("tab around") << "\t1" << false << 0.0;
        QTest::newRow("full-width digits") << "１２" << false << 0.0;
    }
    void readsNumericTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, number);
        QCOMPARE(vb::IsNumeric(text), numeric);
        QCOMPARE(Variant(text).toDouble(), number);   // 0 when not numeric, no error
        if (numeric)
            QCOMPARE(vb::CDbl(text), number);
        else
            QCOMPARE(errorOf([&] { vb::CDbl(text); }), 13);
    }

    // Every conversion error of the runtime with its number; the two common ones carry
    // the runtime's own texts.
    void conversionErrors()
    {
        const Currency money = Currency::fromDouble(10);
        const struct {
            const char* call;
            std::function<void()> run;
            int error;
        } cases[] = {
            {"CDbl(\"1e999\")", [] { vb::CDbl(Variant("1e999")); }, 6},   // beyond the double range
            {"CDbl(\"-1e400\")", [] { vb::CDbl(Variant("-1e400")); }, 6},
            {"CDbl(\"1e309\")", [] { vb::CDbl(Variant("1e309")); }, 6},
            {"CDbl(Null)", [] { vb::CDbl(Variant()); }, 94},
            {"CCur beyond the top", [] { vb::CCur(QStringLiteral("922337203685477.5808")); }, 6},
            {"CCur(\"1e30\")", [] { vb::CCur(QStringLiteral("1e30")); }, 6},
            {"CCur(\"十元\")", [] { vb::CCur(QStringLiteral("十元")); }, 13},
            {"CCur(1e300)", [] { vb::CCur(Variant(1e300)); }, 6},
            {"money / 0", [&] { money / 0.0; }, 11},
            {"money * 1e16", [&] { money * 1e16; }, 6},
            {"CInt(-32769)", [] { vb::CInt(Variant(-32769)); }, 6},
            {"CInt(\"4e4\")", [] { vb::CInt(Variant("4e4")); }, 6},
            {"CInt(\"x\")", [] { vb::CInt(Variant("x")); }, 13},
            {"CSng(1e39)", [] { vb::CSng(Variant(1e39)); }, 6},
        };
        for (const auto& c : cases) QVERIFY2(errorOf(c.run) == c.error, c.call);
        QVERIFY_THROWS_EXCEPTION(vb::TypeMismatch, vb::CDbl(QStringLiteral("abc")));
        QVERIFY_THROWS_EXCEPTION(vb::Overflow, vb::CInt(Variant(32767.5)));
        QCOMPARE(testing::raised([] { vb::CDbl(QStringLiteral("abc")); }).description(), QStringLiteral("类型不匹配"));
        QCOMPARE(testing::raised([] { vb::CInt(Variant(32767.5)); }).description(), QStringLiteral("溢出"));
    }

    // A text beyond the double range is not numeric and Format hands it back; other
    // values than texts; single precision held as a float.
    void otherValues()
    {
        for (const char* text : {"1e999", "-1e400", "1e309"}) {
            QVERIFY2(!vb::IsNumeric(Variant(text)), text);
            QCOMPARE(vb::Format(Variant(text), QStringLiteral("###,##0.00")), QString::fromLatin1(text));
        }
        QVERIFY(vb::IsNumeric(Variant("1e308")));
        QVERIFY(vb::IsNumeric(Variant(0)));
        QVERIFY(vb::IsNumeric(Variant(Currency::fromDouble(1))));
        QVERIFY(!vb::IsNumeric(Variant()));
        QVERIFY(!vb::IsNumeric(Variant(QDate(2004, 1, 1))));
        QCOMPARE(vb::CDbl(Variant(QDate(1900, 1, 1))), 2.0);
        QCOMPARE(vb::CCur(QStringLiteral("0e99999")).tenThousandths(), 0);
        QCOMPARE((2.0 * Currency::fromDouble(10)).tenThousandths(), 200000);
        QCOMPARE(vb::CSng(Variant("33.3")), 33.3f);
        QVERIFY(double(vb::CSng(Variant(0.1))) != 0.1);
    }

    void currencyFromTextsIsExact_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("tenThousandths");
        QTest::newRow("grouped") << "1,250.00" << qint64(12500000);
        QTest::newRow("four places") << "0.1234" << qint64(1234);
        QTest::newRow("half to even down") << "0.00005" << qint64(0);
        QTest::newRow("half to even up") << "0.00015" << qint64(2);
        QTest::newRow("beyond half") << "0.000051" << qint64(1);
        QTest::newRow("negative half") << "-2.00025" << qint64(-20002);
        QTest::newRow("tiny") << "0.0000000009" << qint64(0);
        QTest::newRow("exponent") << "1.5e2" << qint64(1500000);
        QTest::newRow("largest") << "922337203685477.5807" << qint64(9223372036854775807LL);
    }
    void currencyFromTextsIsExact()
    {
        QFETCH(QString, text);
        QTEST(qint64(vb::CCur(text).tenThousandths()), "tenThousandths");
    }

    // Price times dose, amount over quantity: half to even at the fourth decimal.
    void currencyArithmetic_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<double>("factor");
        QTest::addColumn<bool>("divide");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("price times dose") << qint64(12500) << 12.0 << false << qint64(150000);
        QTest::newRow("product half down to even") << qint64(10001) << 0.5 << false << qint64(5000);
        QTest::newRow("product half up to even") << qint64(10003) << 0.5 << false << qint64(5002);
        QTest::newRow("negative product") << qint64(-10003) << 0.5 << false << qint64(-5002);
        QTest::newRow("unit cost") << qint64(1000000) << 3.0 << true << qint64(333333);
        QTest::newRow("quotient half to even") << qint64(5) << 2.0 << true << qint64(2);
        QTest::newRow("quotient half up") << qint64(7) << 2.0 << true << qint64(4);
    }
    void currencyArithmetic()
    {
        QFETCH(qint64, raw);
        QFETCH(double, factor);
        QFETCH(bool, divide);
        const Currency money = Currency::fromTenThousandths(raw);
        QTEST(qint64((divide ? money / factor : money * factor).tenThousandths()), "expected");
    }

    void amountsRoundToCentsHalfToEven_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("tie down to even") << qint64(1250) << qint64(1200);
        QTest::newRow("tie up to even") << qint64(1350) << qint64(1400);
        QTest::newRow("above the tie") << qint64(1251) << qint64(1300);
        QTest::newRow("negative tie") << qint64(-1250) << qint64(-1200);
        QTest::newRow("negative above the tie") << qint64(-1251) << qint64(-1300);
        QTest::newRow("beyond any double") << qint64(922337203685477550) << qint64(922337203685477600);
    }
    void amountsRoundToCentsHalfToEven()
    {
        QFETCH(qint64, raw);
        QTEST(qint64(Currency::fromTenThousandths(raw).roundedToCents().tenThousandths()), "expected");
    }

    void cintRoundsHalfToEven_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("2.5") << Variant(2.5) << 2;
        QTest::newRow("3.5") << Variant(3.5) << 4;
        QTest::newRow("-2.5") << Variant(-2.5) << -2;
        QTest::newRow("2.51") << Variant(2.51) << 3;
        QTest::newRow("text") << Variant("1,234.5") << 1234;
        QTest::newRow("top") << Variant(32767.4) << 32767;
        QTest::newRow("bottom") << Variant(-32768.5) << -32768;
    }
    void cintRoundsHalfToEven()
    {
        QFETCH(Variant, value);
        QTEST(vb::CInt(value), "expected");
    }

    void valReadsTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("grouped stops at separator") << "1,250.00" << 1.0;
        QTest::newRow("blanks inside skipped") << " 12 34 " << 1234.0;
        QTest::newRow("tab and line feed skipped") << "1\t2\n3" << 123.0;
        QTest::newRow("unit after number") << "12.5克" << 12.5;
        QTest::newRow("word") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("negative fraction") << "-.5" << -0.5;
        QTest::newRow("exponent") << "2e3x" << 2000.0;
        QTest::newRow("dangling exponent") << "2e" << 2.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
    }
    void valReadsTheLeadingNumber()
    {
        QFETCH(QString, text);
        QTEST(vb::Val(text), "number");
    }
};

QTEST_MAIN(VbNumbersTest)
#include "vb_numbers_test.moc"
