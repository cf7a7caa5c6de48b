// The criteria builder finds the rows the old engine's patterns find: each criterion
// '*text*' matched anywhere in its column, letters without case, "*", "?", "#" and
// "[...]" as pattern characters, an empty criterion matching every row (Null columns
// of imported records included). The builder leaves empty criteria out and sends a
// plain Chinese term to SQLite's own search; every case here runs both queries over
// the same rows and compares what they find.
#include "reference/like_criteria.h"
#include "support/test_environment.h"

#include <QTest>

using reference::LikeCriterion;
using reference::whereClause;

namespace {

// The conditions as the old engine's patterns state them, every criterion present.
QString patternConditions(const std::vector<LikeCriterion>& criteria)
{
    QStringList conditions;
    for (const LikeCriterion& c : criteria) {
        const QString like = c.column + QStringLiteral(" like ") + dao::quote(u'*' + c.text + u'*');
        conditions << (c.text.isEmpty() ? QStringLiteral("(%1 or %2 is null)").arg(like, c.column) : like);
    }
    return conditions.join(QStringLiteral(" and "));
}

QStringList names(dao::Database& db, const QString& sql)
{
    QStringList found;
    for (dao::Recordset rs = db.openRecordset(sql); !rs.eof(); rs.moveNext()) found << rs.field(0).toString();
    return found;
}

}  // namespace

class LikeCriteriaTest : public QObject {
    Q_OBJECT

private slots:
    void findsWhatTheOldPatternsFind_data()
    {
        QTest::addColumn<QString>("herb");
        QTest::addColumn<QString>("effect");
        QTest::addColumn<QString>("source");
        QTest::newRow("nothing filled: every row, Null columns too") << "" << "" << "";
        QTest::newRow("a Chinese term") << "当归" << "" << "";
        QTest::newRow("two terms, one column left empty") << "当归" << "补血" << "";
        QTest::newRow("a term no row holds") << "人参" << "" << "";
        QTest::newRow("letters in any case") << "ab" << "" << "";
        QTest::newRow("capital letters in a Chinese term") << "" << "" << "A局";
        QTest::newRow("a full-width letter") << "" << "" << "Ｂ";
        QTest::newRow("digits") << "" << "12" << "";
        QTest::newRow("a one-digit pattern") << "" << "#2" << "";
        QTest::newRow("any one character") << "当?" << "" << "";
        QTest::newRow("a run of characters") << "川*归" << "" << "";
        QTest::newRow("a set") << "[甲乙]" << "" << "";
        QTest::newRow("an opening bracket alone") << "方[" << "" << "";
        QTest::newRow("a closing bracket") << "甲]" << "" << "";
        QTest::newRow("an empty set") << "当[]归" << "" << "";
        QTest::newRow("percent and underscore stand for themselves") << "" << "5%" << "_方";
        QTest::newRow("an apostrophe") << "" << "" << "王's";
        QTest::newRow("blanks inside a term") << "川 芎" << "" << "";
    }

    void findsWhatTheOldPatternsFind()
    {
        QFETCH(QString, herb);
        QFETCH(QString, effect);
        QFETCH(QString, source);
        TestEnvironment env;
        const char* const rows[][4] = {
            {"四物汤", "当归、川芎、白芍", "补血，调经", "和剂局方"},
            {"当归补血汤", "黄芪、当归", "补血12次", "A局方"},
            {"甲方", "方[甲]、方[乙", "养血5%", "_方书"},
            {"乙方", "甲]草", "止痛", "王's 手录"},
            {"丙方", "AB草、川 芎", "化瘀#2", "ａ局Ｂ本"},
            {"丁方", "Ab花、当当", "x_y", "b局方"},
        };
        for (const auto& row : rows)
            env.insert(QStringLiteral("zyfj"), {QString::fromUtf8(row[0]), QString::fromUtf8(row[1]),
                                                QString::fromUtf8(row[2]), vb::Variant(), vb::Variant(),
                                                QString::fromUtf8(row[3])});
        env.insert(QStringLiteral("zyfj"), {QStringLiteral("戊方（导入，无内容）")});

        const std::vector<LikeCriterion> criteria = {{QStringLiteral("fjgc"), herb},
                                                     {QStringLiteral("fjgy"), effect},
                                                     {QStringLiteral("fjly"), source}};
        dao::Database db = env.open();
        const QStringList built = names(db, QStringLiteral("select fjmc from zyfj") + whereClause(criteria)
                                                + QStringLiteral(" order by fjmc"));
        const QStringList patterns = names(db, QStringLiteral("select fjmc from zyfj where ")
                                                   + patternConditions(criteria) + QStringLiteral(" order by fjmc"));
        QCOMPARE(built, patterns);
        if (herb.isEmpty() && effect.isEmpty() && source.isEmpty()) QCOMPARE(built.size(), 7);
    }
};

QTEST_GUILESS_MAIN(LikeCriteriaTest)
#include "like_criteria_test.moc"
