// Table recordsets and dynasets as the windows use them: stored and index order, seek
// with fewer keys, noMatch, edit/update/delete by ordinal, ordered and DISTINCT
// dynasets as the collation sorts them, texts with quotes and pattern characters,
// large dynasets and texts read back exactly, and transactions that leave nothing
// half-written. (Stored queries: dao_access_test.)
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/raised.h"
#include "support/test_environment.h"

#include <QtTest>
#include <functional>
#include <optional>

namespace {

QStringList column(dao::Recordset rs)
{
    QStringList values;
    if (rs.eof()) return values;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) values << rs.field(0).toString();
    return values;
}

QStringList query(dao::Database& db, const QString& sql)
{
    return column(db.storeAndOpen(QStringLiteral("000"), sql));
}

void addDrug(TestEnvironment& env, const QString& code, const QString& name, double price = 1)
{
    env.insert(QStringLiteral("ycjg"), {code, name, price, QStringLiteral("克"), QStringLiteral("中药")});
}

dao::Recordset drugsByCode(dao::Database& db)
{
    dao::Recordset rs = db.openTable(QStringLiteral("ycjg"));
    rs.setIndex(QStringLiteral("ycbmi"));
    return rs;
}

}  // namespace

class DaoRecordsetTest : public QObject {
    Q_OBJECT

private slots:
    void walksInStoredOrderOrInIndexOrderAndRefusesUnknownNames()
    {
        TestEnvironment env;
        for (const char* term : {"补血", "安神", "活血"}) env.insert(QStringLiteral("ycgy"), {term});
        dao::Database db = env.open();
        dao::Recordset rs = db.openTable(QStringLiteral("YCGY"));
        QCOMPARE(column(db.openTable(QStringLiteral("ycgy"))), QStringList({"补血", "安神", "活血"}));
        for (const bool walkedFirst : {false, true}) {   // the last row also when the walk has begun
            dao::Recordset last = db.openTable(QStringLiteral("ycgy"));
            if (walkedFirst) last.moveFirst();
            last.moveLast();
            QCOMPARE(last.field(0).toString(), QStringLiteral("活血"));
        }
        rs.setIndex(QStringLiteral("ycgyi"));
        QCOMPARE(column(std::move(rs)), QStringList({"安神", "补血", "活血"}));
        QVERIFY_THROWS_EXCEPTION(dao::Error, db.openTable(QStringLiteral("yczz")).moveNext());   // empty
        QVERIFY_THROWS_EXCEPTION(dao::Error, db.openTable(QStringLiteral("nosuch")));
        dao::Recordset drugs = db.openTable(QStringLiteral("ycjg"));
        QVERIFY_THROWS_EXCEPTION(dao::Error, drugs.setIndex(QStringLiteral("ycyli")));   // another table's index
        QVERIFY_THROWS_EXCEPTION(dao::Error, drugs.seek(QStringLiteral("="), QStringLiteral("A1")));  // no index set
        QVERIFY_THROWS_EXCEPTION(dao::Error, drugs.field(QStringLiteral("nosuch")));
    }

    void seekWithAllOrFewerKeysInAnyCase()
    {
        TestEnvironment env;
        const QString visits = QStringLiteral("hzzdzl");
        env.insert(visits, {"001", "内科", QDate(2024, 1, 2), "15/20", 60, 60, "头痛", "", "川芎 10"});
        env.insert(visits, {"001", "内科", QDate(2024, 1, 1), "15/20", 60, 60, "头痛", "", "白芷 6"});
        env.insert(visits, {"002", "外科", QDate(2024, 1, 1)});
        addDrug(env, QStringLiteral("AB12"), QStringLiteral("当归"), 1250);
        dao::Database db = env.open();
        dao::Recordset rs = db.openTable(visits);
        rs.setIndex(QStringLiteral("zdbmi"));
        rs.seek(QStringLiteral("="), QStringLiteral("001"), QStringLiteral("内科"), QDate(2024, 1, 2));   // a Date key
        QCOMPARE(rs.field(8).toString(), QStringLiteral("川芎 10"));
        rs.seek(QStringLiteral("="), QStringLiteral("001"));   // first in index order: the earlier date
        QCOMPARE(rs.field(QStringLiteral("blcf")).toString(), QStringLiteral("白芷 6"));
        rs.moveNext();                                         // and on from there in index order
        QCOMPARE(rs.field(QStringLiteral("blcf")).toString(), QStringLiteral("川芎 10"));
        rs.seek(QStringLiteral("="), QStringLiteral("003"));
        QVERIFY(rs.noMatch());
        QVERIFY_THROWS_EXCEPTION(dao::Error, rs.field(0));

        dao::Recordset drugs = drugsByCode(db);   // keys in another case
        drugs.seek(QStringLiteral("="), QStringLiteral("ab12"));
        QVERIFY(!drugs.noMatch());
    }

    void editUpdateAndDeleteByOrdinalAndMoveOnAfterADelete()
    {
        TestEnvironment env;
        for (const char* code : {"A1", "A2", "A3"}) addDrug(env, QString::fromLatin1(code), QStringLiteral("当归") + QLatin1String(code));
        dao::Database db = env.open();
        dao::Recordset rs = drugsByCode(db);
        rs.seek(QStringLiteral("="), QStringLiteral("A2"));
        rs.edit();
        rs.setField(2, QStringLiteral("1,250.50"));            // a box text, read as the number it shows
        rs.update();
        QCOMPARE(rs.field(2), vb::Variant(1250.5));
        rs.edit();
        for (const char* notANumber : {"十元", "inf", "nan", "1e999"})
            QVERIFY_THROWS_EXCEPTION(dao::Error, rs.setField(2, QString::fromUtf8(notANumber)));

        // Delete in a walk: the next move lands on the row after the deleted one.
        rs.moveFirst();
        rs.moveNext();
        rs.remove();
        QVERIFY_THROWS_EXCEPTION(dao::Error, rs.field(0));
        rs.moveNext();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("A3"));
        QCOMPARE(column(db.openTable(QStringLiteral("ycjg"))), QStringList({"A1", "A3"}));
        QVERIFY_THROWS_EXCEPTION(dao::Error, rs.setField(0, QStringLiteral("X")));   // without AddNew or Edit

        // A move after deleting a sought row goes to its successor in index order, here
        // not the stored order (A1, A3, A2), also after an added row made the walk stale.
        addDrug(env, QStringLiteral("A2"), QStringLiteral("川芎"));
        rs = drugsByCode(db);
        rs.seek(QStringLiteral("="), QStringLiteral("A2"));
        rs.remove();
        rs.moveNext();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("A3"));
        rs.addNew();
        rs.setField(0, QStringLiteral("A0"));
        rs.setField(1, QStringLiteral("黄芪"));
        rs.update();
        rs.seek(QStringLiteral("="), QStringLiteral("A1"));
        rs.remove();
        rs.moveNext();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("A3"));
        QCOMPARE(column(db.openTable(QStringLiteral("ycjg"))), QStringList({"A3", "A0"}));
    }

    void aWalkSeesWhatChangedUnderItInStoredAndIndexOrder()
    {
        // The walk reads rows ahead of where it stands; every change made while it
        // stands on C10 must show in the rest of the walk. `next` is the row after C10,
        // already read ahead; the rows are stored in the order C00, C37, C14, ...
        using Rows = QStringList;
        struct Case {
            const char* change;
            std::function<void(dao::Database&, dao::Recordset&, const QString& next, std::optional<dao::Transaction>&)> make;
            std::function<void(Rows&, bool indexOrder)> expect;   // on the rows after C10 as they were
            bool needsIndex = false;                              // seeks: only in index order
        };
        const Case cases[] = {
            {"a row added through the walk",
             [](dao::Database&, dao::Recordset& rs, const QString&, auto&) {
                 rs.addNew();
                 rs.setField(0, QStringLiteral("C305"));
                 rs.setField(1, QStringLiteral("黄芪"));
                 rs.update();
             },
             [](Rows& rows, bool indexOrder) { rows.insert(indexOrder ? 20 : rows.size(), QStringLiteral("C305 黄芪")); }},
            {"a row ahead deleted through another handle",
             [](dao::Database& db, dao::Recordset&, const QString& next, auto&) {
                 db.execute(QStringLiteral("delete from ycjg where ycbm='%1'").arg(next));
             },
             [](Rows& rows, bool) { rows.removeFirst(); }},
            {"a row ahead changed through another recordset",
             [](dao::Database& db, dao::Recordset&, const QString& next, auto&) {
                 dao::Recordset other = drugsByCode(db);
                 other.seek(QStringLiteral("="), next);
                 other.edit();
                 other.setField(1, QStringLiteral("川芎"));
                 other.update();
             },
             [](Rows& rows, bool) { rows[0].replace(QStringLiteral("白芍"), QStringLiteral("川芎")); }},
            {"a row ahead changed through the walk after a seek",
             [](dao::Database&, dao::Recordset& rs, const QString& next, auto&) {
                 rs.seek(QStringLiteral("="), next);
                 rs.edit();
                 rs.setField(1, QStringLiteral("川芎"));
                 rs.update();
                 rs.seek(QStringLiteral("="), QStringLiteral("C10"));
             },
             [](Rows& rows, bool) { rows[0].replace(QStringLiteral("白芍"), QStringLiteral("川芎")); },
             true},
            {"a change to a row ahead rolled back",
             [](dao::Database&, dao::Recordset&, const QString&, std::optional<dao::Transaction>& transaction) {
                 transaction.reset();
             },
             [](Rows& rows, bool) { rows[0].replace(QStringLiteral("白芍"), QStringLiteral("当归") + rows[0].mid(1, 2)); }},
        };
        TestEnvironment env;
        dao::Database db = env.open();
        dao::Recordset drugs = db.openTable(QStringLiteral("ycjg"));
        QStringList stored;
        for (int i = 0; i < 60; ++i) {
            const QString code = QStringLiteral("C%1").arg(i * 37 % 60, 2, 10, QLatin1Char('0'));
            stored << code;
            drugs.addNew();
            drugs.setField(0, code);
            drugs.setField(1, QStringLiteral("当归") + code.mid(1));
            drugs.update();
        }
        QStringList indexed = stored;
        indexed.sort();
        for (const bool indexOrder : {false, true})
            for (const Case& test : cases) {
                if (test.needsIndex && !indexOrder) continue;
                const QStringList& order = indexOrder ? indexed : stored;
                const QString next = order[order.indexOf(QStringLiteral("C10")) + 1];
                // Each case's changes are rolled back when it ends.
                std::optional<dao::Transaction> transaction(std::in_place, db);
                db.execute(QStringLiteral("update ycjg set ycmc='白芍' where ycbm='%1'").arg(next));   // undone by a rollback
                dao::Recordset rs = db.openTable(QStringLiteral("ycjg"));
                rs.moveFirst();   // a walk in stored order begun, then perhaps one in index order
                if (indexOrder) rs.setIndex(QStringLiteral("ycbmi"));
                Rows expected;
                for (qsizetype k = order.indexOf(QStringLiteral("C10")) + 1; k < order.size(); ++k)
                    expected << order[k] + (order[k] == next ? QStringLiteral(" 白芍") : QStringLiteral(" 当归") + order[k].mid(1));
                while (rs.field(0).toString() != QLatin1String("C10")) rs.moveNext();
                test.make(db, rs, next, transaction);
                test.expect(expected, indexOrder);
                Rows rest;
                for (rs.moveNext(); !rs.eof(); rs.moveNext()) rest << rs.field(0).toString() + u' ' + rs.field(1).toString();
                QVERIFY2(rest == expected, qPrintable(QString::fromUtf8(test.change) + (indexOrder ? " in index order" : " in stored order")));
            }
    }

    void aWalkKeepsBinaryFieldsToTheirRows()
    {
        // Rows with bytes and rows with a text in the same column, walked in blocks.
        TestEnvironment env;
        dao::Database db = env.open();
        dao::Recordset terms = db.openTable(QStringLiteral("ycgy"));
        const auto bytesOf = [](int i) { return i % 2 ? QStringLiteral("补血%1").arg(i).toUtf8() : QByteArray(3, char(i + 1)); };
        for (int i = 0; i < 40; ++i) {
            terms.addNew();
            if (i % 2) terms.setField(0, QString::fromUtf8(bytesOf(i)));
            else terms.setFieldBytes(0, bytesOf(i));
            terms.update();
        }
        int i = 0;
        for (dao::Recordset rs = db.openTable(QStringLiteral("ycgy")); !rs.eof(); rs.moveNext(), ++i)
            QCOMPARE(rs.fieldBytes(0), bytesOf(i));
        QCOMPARE(i, 40);
    }

    void aLargeDynasetKeepsEveryFieldInItsRow()
    {
        // Enough rows and text that the fields fill several of the dynaset's blocks of
        // fields and of text (one text larger than a block), with a binary and a Null
        // field in every row.
        TestEnvironment env;
        constexpr int drugs = 2500;
        const auto codeOf = [](int i) { return QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0')); };
        const auto nameOf = [](int i) { return QStringLiteral("当归%1").arg(i) + QString(i == 1234 ? 400000 : 300, u'草'); };
        {
            dao::Database db = env.open();
            dao::Transaction transaction(db);
            dao::Recordset rs = db.openTable(QStringLiteral("ycjg"));
            for (int i = 0; i < drugs; ++i) {
                rs.addNew();
                rs.setField(0, codeOf(i));
                rs.setField(1, nameOf(i));
                rs.setField(2, i + 0.5);
                rs.update();
            }
            transaction.commit();
        }
        dao::Database db = env.open();
        dao::Recordset rs = db.storeAndOpen(
            QStringLiteral("000"), QStringLiteral("select ycbm, cast(ycmc as blob) as raw, ycdj, jldw, ycmc from ycjg order by ycbm"));
        QCOMPARE(rs.recordCount(), drugs);
        for (int i = 0; i < drugs; ++i, rs.moveNext()) {
            QCOMPARE(rs.field(0).toString(), codeOf(i));
            QVERIFY(rs.field(QStringLiteral("raw")).isNull() && rs.field(3).isNull());
            QCOMPARE(rs.fieldBytes(1), nameOf(i).toUtf8());
            QCOMPARE(rs.field(2).toDouble(), i + 0.5);
            QCOMPARE(rs.field(4).toString(), nameOf(i));
        }
        QVERIFY_THROWS_EXCEPTION(dao::Error, rs.field(0));   // past the end
    }

    void textsReadBackAsTheyWereStored()
    {
        // Every text is decoded as Qt decodes UTF-8 (a malformed byte becomes U+FFFD, a
        // leading byte-order mark is dropped), an empty text is not Null, and numbers stay numbers.
        TestEnvironment env;
        dao::Database db = env.open();
        dao::Recordset rs = db.openRecordset(QStringLiteral(
            "select '活血化瘀' as herb, cast(x'efbbbf41' as text) as marked, cast(x'e6b4bbff41e6' as text) as broken, "
            "'' as blank, null as nothing, 2.5 as price, 3 as count"));
        const vb::Variant expected[] = {QStringLiteral("活血化瘀"), QString::fromUtf8("\xef\xbb\xbf" "A"),
                                        QString::fromUtf8("\xe6\xb4\xbb\xff" "A\xe6"), QString(), {}, 2.5, 3.0};
        for (int c = 0; c < 7; ++c) QCOMPARE(rs.field(c), expected[c]);
    }

    void orderedDynasetsAgreeWithSqlitesOwnSort()
    {
        // The layer reads some ordered queries in the columns' own order and sorts them
        // itself; "limit -1" (no limit) makes SQLite sort the same query through the
        // collation. Keys are distinct, so the two orders must be the same.
        TestEnvironment env;
        const char* names[] = {"张三", "李四", "安康", "b药", "A药", "王五", "阿胶", "白术", "Zz", "1号", "", "艾叶"};
        const char* kinds[] = {"西药", "草药", "中药", "Ab", "aC"};
        for (int n = 1; n <= 12; ++n)
            env.insert(QStringLiteral("ycjg"), {QStringLiteral("c%1").arg(n * 37 % 13), QString::fromUtf8(names[n - 1]),
                                                n % 4 ? vb::Variant(n % 3 * 1.5) : vb::Variant(), "克", kinds[n % 5]});
        dao::Database db = env.open();
        const auto rows = [&db](const QString& text) {
            QStringList all;
            dao::Recordset rs = db.openRecordset(text);
            for (; !rs.eof(); rs.moveNext()) {
                QStringList fields;
                for (int c = 0; c < rs.fieldCount(); ++c) fields << rs.field(c).toString();
                all << fields.join(u'|');
            }
            return all;
        };
        for (const char* sql : {"select * from ycjg order by ycmc", "select ycmc, ycdj from ycjg order by 2, 1",
                                "select ycbm, ycmc from ycjg order by YCBM asc, ycmc", "select distinct yplb from ycjg",
                                "select ycmc from ycjg order by ycbm", "select * from ycjg order by ycmc desc",
                                "select * from ycjg where ycdj > 0 order by ycmc", "select ycmc from ycjg where "
                                "ycmc glob '*药*' or yplb like 'a*' order by ycbm"})
            QCOMPARE(rows(QString::fromLatin1(sql)), rows(QString::fromLatin1(sql) + QStringLiteral(" limit -1")));
    }

    void quotesAndPatternCharactersThroughEveryPath()
    {
        const QStringList names({"O'Brien", "当归'", "a*b", "c?d", "[x]", "50%", "a_b", "''"});
        TestEnvironment env;
        for (const char* other : {"ab", "cxd", "x", "500", "O Brien", "当归"}) env.insert(QStringLiteral("zyyc"), {other});
        dao::Database db = env.open();
        for (const QString& name : names)
            db.execute(QStringLiteral("insert into zyyc (ycmc, ycgy) values (%1, %2)").arg(dao::quote(name), dao::quote(name + name)));
        const QStringList withApostrophe = query(db, QStringLiteral("select ycmc from zyyc where ycmc like '*''*'"));
        const QStringList ordered = query(db, QStringLiteral("select ycmc from zyyc order by ycmc"));
        for (const QString& name : names) {
            dao::Recordset rs = db.openTable(QStringLiteral("zyyc"));
            rs.setIndex(QStringLiteral("ycmci"));
            rs.seek(QStringLiteral("="), name);
            QVERIFY2(!rs.noMatch(), qPrintable(name));
            QCOMPARE(rs.field(3).toString(), name + name);
            QCOMPARE(query(db, QStringLiteral("select ycmc from zyyc where ycmc=") + dao::quote(name)), QStringList({name}));
            // LIKE with the name between stars matches it wherever the old engine's
            // pattern reading lets it: a literal name always matches itself; an
            // apostrophe is an ordinary character of the pattern.
            QVERIFY2(query(db, QStringLiteral("select ycmc from zyyc where ycmc like ") + dao::quote(u'*' + name + u'*')).contains(name) ||
                         name.contains(u'['), qPrintable(name));
            QCOMPARE(withApostrophe.contains(name), name.contains(u'\''));
            QVERIFY(ordered.contains(name));
        }
    }

    // Queries that differ only in their compared values share a statement and still
    // read as their texts say: a number column against a quoted number, then another.
    void queriesDifferingInTheirValuesReadTheirOwnRows()
    {
        TestEnvironment env;
        addDrug(env, QStringLiteral("A1"), QStringLiteral("当归"), 1.5);
        addDrug(env, QStringLiteral("B2"), QStringLiteral("黄芪"), 2);
        dao::Database db = env.open();
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(query(db, QStringLiteral("select ycmc from ycjg where ycdj='1.5'")), QStringList{"当归"});
            QCOMPARE(query(db, QStringLiteral("select ycmc from ycjg where ycdj='2'")), QStringList{"黄芪"});
            QCOMPARE(query(db, QStringLiteral("select ycmc from ycjg where ycbm='b2' or ycbm='A1' order by ycmc")),
                     (QStringList{"当归", "黄芪"}));
        }
    }

    void aFailureInATransactionLeavesTheFileAsItWasAndSaysWhatRefused()
    {
        TestEnvironment env;
        addDrug(env, QStringLiteral("A1"), QStringLiteral("当归"), 1);
        env.insert(QStringLiteral("ycyltb"), {"当归", 10, 100, 10});
        const QByteArray before = TestEnvironment::bytesOf(env.databasePath());
        QCOMPARE(testing::raised([&] {
                     dao::Database db = env.open();
                     dao::Transaction transaction(db);
                     for (int i = 0; i < 200; ++i)
                         env.insert(QStringLiteral("yccrtb"), {QDate(2024, 1, 1), "当归", "出库", "", "", "", QDate(2024, 1, 1), "", "", 0, 0, 1});
                     db.execute(QStringLiteral("update ycyltb set ycyl=ycyl-200"));
                     dao::Recordset rs = db.openTable(QStringLiteral("ycjg"));
                     rs.addNew();
                     rs.setField(0, QStringLiteral("a1"));         // fails: the code exists in another case
                     rs.update();
                     transaction.commit();
                 }).number(), 3022);
        QCOMPARE(env.count(QStringLiteral("yccrtb")), 0);
        QCOMPARE(env.count(QStringLiteral("ycjg")), 1);
        QCOMPARE(TestEnvironment::bytesOf(env.databasePath()), before);

        // A refusal that is no duplicate says what refused.
        dao::Database db = env.open();
        db.executeSchema(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON ycgy "
                                        "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
        const vb::Error error = testing::raised([&] { db.execute(QStringLiteral("insert into ycgy values ('补血')")); });
        QVERIFY(error.number() != 3022);
        QVERIFY(error.description().contains(QLatin1String("refused by the test")));
    }

    void aRefusedCommitLeavesTheConnectionFreeForTheNextTransaction()
    {
        // An inner transaction ending without commit undoes the outer one; a commit the
        // engine refuses (here a deferred rule that fails only at COMMIT) rolls back and
        // says so; the next transaction on the handle begins afresh and its rows are stored.
        TestEnvironment env;
        {
            dao::Database db = env.open();
            {
                dao::Transaction outer(db);
                db.execute(QStringLiteral("insert into ycgy values ('补血')"));
                { dao::Transaction inner(db); }
                QVERIFY_THROWS_EXCEPTION(dao::Error, outer.commit());
            }
            QCOMPARE(env.count(QStringLiteral("ycgy")), 0);
            db.executeSchema(QStringLiteral("PRAGMA foreign_keys=ON;"
                                            "CREATE TABLE parent (id TEXT PRIMARY KEY);"
                                            "CREATE TABLE child (id TEXT REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED);"));
            {
                dao::Transaction refused(db);
                db.execute(QStringLiteral("insert into ycgy values ('补血')"));
                db.execute(QStringLiteral("insert into child values ('nobody')"));
                QVERIFY_THROWS_EXCEPTION(dao::Error, refused.commit());
            }
            QCOMPARE(env.count(QStringLiteral("ycgy")), 0);
            dao::Transaction next(db);
            db.execute(QStringLiteral("insert into ycgy values ('活血')"));
            next.commit();
        }
        QCOMPARE(env.count(QStringLiteral("ycgy")), 1);
    }
};

QTEST_MAIN(DaoRecordsetTest)
#include "dao_recordset_test.moc"
