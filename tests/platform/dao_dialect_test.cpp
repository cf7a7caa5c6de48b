// The old SQL dialect: translation of the windows' SQL texts (delete *, #date#,
// sorted DISTINCT, pinyin ORDER BY, literals left alone) and the old engine's LIKE
// patterns, checked case by case and against an independent regular-expression
// reading of random patterns; and the pinyin order of codes against ICU's own.
#include "platform/dao/dialect.h"
#include "platform/dao/like_pattern.h"
#include "platform/dao/pinyin_collation.h"

#include <unicode/ucol.h>

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

namespace {

// The old engine's pattern read as a regular expression, written from the rules and
// not from the matcher: * ? # [list] [!list] [a-z]; an unclosed [ is a plain [.
QRegularExpression referenceRegex(const QString& pattern)
{
    QString rx;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'*') rx += QStringLiteral(".*");
        else if (c == u'?') rx += u'.';
        else if (c == u'#') rx += QStringLiteral("[0-9]");
        else if (c == u'[' && pattern.indexOf(u']', i + 1) > 0) {
            const qsizetype close = pattern.indexOf(u']', i + 1);
            QString list = pattern.mid(i + 1, close - i - 1);
            i = close;
            if (list.isEmpty()) continue;
            QString set = QStringLiteral("[");
            if (list.size() > 1 && list[0] == u'!') {
                set += u'^';
                list.remove(0, 1);
            }
            for (qsizetype k = 0; k < list.size(); ++k) {
                if (k + 2 < list.size() && list[k + 1] == u'-') {
                    set += QRegularExpression::escape(list.mid(k, 1)) + u'-' + QRegularExpression::escape(list.mid(k + 2, 1));
                    k += 2;
                } else {
                    set += QRegularExpression::escape(list.mid(k, 1));
                }
            }
            rx += set + u']';
        } else {
            rx += QRegularExpression::escape(QString(c));
        }
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(rx),
                              QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

QString randomText(QRandomGenerator& random, const QString& alphabet, int maxLength)
{
    QString text;
    const int length = static_cast<int>(random.bounded(maxLength + 1));
    for (int i = 0; i < length; ++i) text += alphabet[static_cast<qsizetype>(random.bounded(alphabet.size()))];
    return text;
}

}  // namespace

class DaoDialectTest : public QObject {
    Q_OBJECT

private slots:
    void translation()
    {
        const std::pair<const char*, const char*> rows[] = {
            {"delete * from bzzz", "delete from bzzz"},
            {"select * from yccrtb where crsj between #2024-03-01# and  #2024-3-31#",
             "select * from yccrtb where crsj between '2024-03-01' and  '2024-03-31'"},
            {"select * from t where d=#2024/12/5#", "select * from t where d='2024-12-05'"},
            {"select * from zyyc where ycmc='delete * from x' and ycgy like '*#2024-01-01#*'",   // literals untouched
             "select * from zyyc where ycmc='delete * from x' and ycgy like '*#2024-01-01#*'"},
            {"select * from t where a='O''Brien order by x'", "select * from t where a='O''Brien order by x'"},
            {"select * from ycjg order by ycbm", "select * from ycjg order by ycbm COLLATE PINYIN"},
            {"select * from zybz order by bzmc,bzqk desc ", "select * from zybz order by bzmc COLLATE PINYIN,bzqk COLLATE PINYIN desc "},
            {"select * from t order by coalesce(a, b), c", "select * from t order by coalesce(a, b) COLLATE PINYIN, c COLLATE PINYIN"},
            {"select a from t order by a collate binary", "select a from t order by a collate binary"},
            {"select distinct blkb from hzzdzl ", "select distinct blkb from hzzdzl ORDER BY 1 COLLATE PINYIN "},
            {"select distinct a, b from t where a<>''", "select distinct a, b from t where a<>'' ORDER BY 1 COLLATE PINYIN,2 COLLATE PINYIN"},
            {"select DISTINCT * from ycgy order by ycgy", "select DISTINCT * from ycgy order by ycgy COLLATE PINYIN"},
            {"select distinct yplb from ycjg limit 5 offset 1", "select distinct yplb from ycjg ORDER BY 1 COLLATE PINYIN limit 5 offset 1"},
            {"select distinct ycgy from ycgy union select yczz from yczz",
             "select distinct ycgy from ycgy union select yczz from yczz ORDER BY 1 COLLATE PINYIN"},
            {"select ycgy from ycgy union select distinct yczz from yczz order by 1 limit 3",
             "select ycgy from ycgy union select distinct yczz from yczz order by 1 COLLATE PINYIN limit 3"},
            {"select * from ycjg where yplb in (select distinct yplb from ycjg)",
             "select * from ycjg where yplb in (select distinct yplb from ycjg ORDER BY 1 COLLATE PINYIN)"},
            {"select distinct ycgy from ycgy; -- order by", "select distinct ycgy from ycgy ORDER BY 1 COLLATE PINYIN; -- order by"},
            {"select * from ycjg order by ycbm /* by code */", "select * from ycjg order by ycbm COLLATE PINYIN /* by code */"}};
        for (const auto& [old, translated] : rows) QCOMPARE(dao::dialect::translate(QString::fromUtf8(old)), QString::fromUtf8(translated));
    }

    // Quoted texts compared with = < > or LIKE become parameters, unquoted; every other
    // text (a selected constant, a name, a list) stays in the statement.
    void comparedTextsBecomeParameters()
    {
        const struct { const char* sql; const char* shared; QStringList values; } rows[] = {
            {"select * from ycjg where ycbm='YC1'", "select * from ycjg where ycbm=?1", {"YC1"}},
            {"select * from t where a like '*x*' and b<>'O''1' and c >= 'z' or d<'' ", "select * from t where a like ?1 and b<>?2 and c >= ?3 or d<?4 ", {"*x*", "O'1", "z", ""}},
            {"select 'x' as 'y', a from t where a in ('p', 'q') and b = 2 -- = 'c'", "select 'x' as 'y', a from t where a in ('p', 'q') and b = 2 -- = 'c'", {}}};
        for (const auto& row : rows) {
            const dao::dialect::ValueParameters query = dao::dialect::valuesAsParameters(QString::fromUtf8(row.sql));
            QCOMPARE(query.sql, QString::fromUtf8(row.shared));
            QCOMPARE(query.values, row.values);
        }
    }

    // The random comparison below covers the pattern rules; these rows pin the reading
    // the reference itself relies on.
    void likePatterns()
    {
        const struct { const char* pattern; const char* text; bool matches; } rows[] = {
            {"*当归*", "全当归片", true}, {"[!a-c]1", "a1", false}, {"*[*]*", "ab", false}, {"*[*", "a[b", true},
            {"ab*", "ABC", true},         {"5%", "5000", false},     {"a_c", "abc", false},  {"*ab*ab", "xabyabab", true},
            // a term without case is searched as bytes, also after a broken character;
            // a broken character is one character for the other patterns
            {"*当归*", "当", false},      {"*1%*", "a1%b", true},   {"*当归*", "\xE5" "当归", true}, {"a?c", "a\xFF" "c", true}};
        for (const auto& row : rows)
            QVERIFY2(dao::LikePattern(QString::fromUtf8(row.pattern)).matches(row.text) == row.matches, row.pattern);
    }

    void codesOfLettersAndDigitsSortAsIcuSortsThem()
    {
        // The collation orders such texts without asking ICU; the order must be ICU's
        // Chinese order at the strength that ignores case, as for any other text.
        UErrorCode status = U_ZERO_ERROR;
        UCollator* icu = ucol_open("zh", &status);
        ucol_setStrength(icu, UCOL_SECONDARY);
        const int32_t noReordering = UCOL_REORDER_CODE_NONE;
        ucol_setReorderCodes(icu, &noReordering, 1, &status);
        QVERIFY(U_SUCCESS(status));
        QRandomGenerator random(1963);
        const QString alphabet = QStringLiteral("09aAbBzZ");
        for (int round = 0; round < 20000; ++round) {
            const QByteArray a = randomText(random, alphabet, 5).toUtf8(), b = randomText(random, alphabet, 5).toUtf8();
            const UCollationResult expected = ucol_strcollUTF8(icu, a.constData(), static_cast<int32_t>(a.size()),
                                                               b.constData(), static_cast<int32_t>(b.size()), &status);
            const int ours = dao::PinyinCollation::compare(a.constData(), static_cast<int>(a.size()), b.constData(), static_cast<int>(b.size()));
            if (expected != UCOL_EQUAL && (ours < 0) != (expected == UCOL_LESS))
                QFAIL(qPrintable(QStringLiteral("%1 against %2").arg(QString::fromUtf8(a), QString::fromUtf8(b))));
        }
        ucol_close(icu);
    }

    void likeAgreesWithAReferenceOnRandomPatterns()
    {
        QRandomGenerator random(618);
        const QString textAlphabet = QStringLiteral("aAbBc12当归%_'*?[]!-");
        const QString patternAlphabet = QStringLiteral("aAbc12当*?#[]!-%_'");
        for (int round = 0; round < 20000; ++round) {
            const QString pattern = randomText(random, patternAlphabet, 7);
            const QRegularExpression reference = referenceRegex(pattern);
            if (!reference.isValid()) continue;   // e.g. a reversed range, which the old engine refused too
            const dao::LikePattern like(pattern);
            for (int t = 0; t < 5; ++t) {
                const QString text = randomText(random, textAlphabet, 8);
                if (like.matches(text.toUtf8()) != reference.match(text).hasMatch())
                    QFAIL(qPrintable(QStringLiteral("pattern %1, text %2").arg(pattern, text)));
            }
        }
    }
};

QTEST_MAIN(DaoDialectTest)
#include "dao_dialect_test.moc"
