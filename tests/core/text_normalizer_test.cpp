// Table-driven cases for NormalizeText, the normaliser the entry windows run before
// storing a free text.
#include "core/text_normalizer.h"

#include <QTest>

class TextNormalizerTest : public QObject {
    Q_OBJECT

private slots:
    void normalizes_data();
    void normalizes()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(core::NormalizeText(input), expected);
    }
};

void TextNormalizerTest::normalizes_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("half-width marks") << "甘草,大枣;生姜\\桂枝." << "甘草，大枣；生姜、桂枝。";
    QTest::newRow("decimal point kept") << "每次1.5克" << "每次1.5克";
    QTest::newRow("full stop between digits") << "每次1。5克" << "每次1.5克";
    QTest::newRow("stop after a digit only") << "用3.次" << "用3。次";
    QTest::newRow("stop before a digit only") << "次.3克" << "次。3克";
    QTest::newRow("stop at the end") << "清热解毒." << "清热解毒。";
    QTest::newRow("half-width stop before book title") << "出自.《伤寒论》" << "出自.《伤寒论》";
    QTest::newRow("full-width stop before book title stored alike") << "见。《金匮要略》" << "见.《金匮要略》";
    QTest::newRow("blanks vanish everywhere") << "  清 热  解 毒  " << "清热解毒";
    QTest::newRow("CR LF kept inside") << "清热\r\n解毒" << "清热\r\n解毒";
    QTest::newRow("lone line feed dropped") << "清热\n解毒" << "清热解毒";
    QTest::newRow("leading line feed dropped") << "\n解毒" << "解毒";
    QTest::newRow("leading CR LF dropped") << "\r\n清热" << "清热";
    QTest::newRow("leading CR LF after blanks") << "  \r\n 清热" << "清热";
    QTest::newRow("only the first leading CR LF") << "\r\n\r\n清热" << "\r\n清热";
    QTest::newRow("trailing CR LF kept") << "清热\r\n" << "清热\r\n";
    QTest::newRow("empty text") << "" << "  ";
    QTest::newRow("blanks only") << "     " << "  ";
    QTest::newRow("leading CR LF only") << "\r\n" << "  ";
    QTest::newRow("full-width marks untouched") << "甘草，大枣；生姜、桂枝。" << "甘草，大枣；生姜、桂枝。";
}

QTEST_MAIN(TextNormalizerTest)
#include "text_normalizer_test.moc"
