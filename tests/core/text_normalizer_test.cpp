// Table-driven cases for NormalizeText, the normaliser the entry windows run before
// storing a free text.
#include "core/text_normalizer.h"

#include <QTest>

class TextNormalizerTest : public QObject {
    Q_OBJECT

private slots:
    void normalizes()
    {
        const std::pair<QString, QString> cases[] = {
            {"甘草,大枣;生姜\\桂枝.", "甘草，大枣；生姜、桂枝。"},   // half-width marks
            {"每次1.5克", "每次1.5克"},   // decimal point kept
            {"每次1。5克", "每次1.5克"},   // full stop between digits
            {"用3.次", "用3。次"},   // stop after a digit only
            {"次.3克", "次。3克"},   // stop before a digit only
            {"出自.《伤寒论》", "出自.《伤寒论》"},   // half-width stop before book title
            {"见。《金匮要略》", "见.《金匮要略》"},   // full-width stop before book title stored alike
            {"  清 热  解 毒  ", "清热解毒"},   // blanks vanish everywhere
            {"清热\r\n解毒", "清热\r\n解毒"},   // CR LF kept inside
            {"清热\n解毒", "清热解毒"},   // lone line feed dropped
            {"\r\n清热", "清热"},   // leading CR LF dropped
            {"  \r\n 清热", "清热"},   // leading CR LF after blanks
            {"\r\n\r\n清热", "\r\n清热"},   // only the first leading CR LF
            {"清热\r\n", "清热\r\n"},   // trailing CR LF kept
            {"", "  "},   // empty text
            {"     ", "  "},   // blanks only
        };
        for (const auto& [input, expected] : cases) QCOMPARE(core::NormalizeText(input), expected);
    }
};

QTEST_MAIN(TextNormalizerTest)
#include "text_normalizer_test.moc"
