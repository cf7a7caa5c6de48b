// Table recordsets and dynasets as the windows use them: stored and index order, seek
// with fewer keys, noMatch, edit/update/delete by ordinal, stored queries, ordered and
// DISTINCT dynasets as the collation sorts them, case-blind equality, #date# criteria,
// texts with quotes and pattern characters,
// large dynasets and texts read back exactly, and
// transactions that leave nothing half-written.
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/file_bytes.h"
#include "platform/raised.h"
#include "support/test_environment.h"

#include <QtTest>

namespace {

QStringList column(dao::Recordset rs, int ordinal = 0)
{
    QStringList values;
    if (rs.eof()) return values;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) values << rs.field(ordinal).toString();
    return values;
}

QStringList query(dao::Database& db, const QString& sql)
{
    return column(db.storeAndOpen(QStringLiteral("000"), sql));
}

void addDrug(TestEnvironment& env, const QString& code, const QString& name, double price)
{
    env.insert(QStringLiteral("ycjg"), {code, name, price, QStringLiteral("克"), QStringLiteral("中药")});
}

// Drugs priced 1, 2, 3... in the order given.
void addDrugs(TestEnvironment& env, std::initializer_list<std::pair<const char*, const char*>> codesAndNames)
{
    double price = 1;
    for (const auto& [code, name] : codesAndNames) addDrug(env, QString::fromUtf8(code), QString::fromUtf8(name), price++);
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
        QCOMPARE(rs.recordCount(), 3);
        QCOMPARE(column(db.openTable(QStringLiteral("ycgy"))), QStringList({"补血", "安神", "活血"}));
        rs.setIndex(QStringLiteral("ycgyi"));
        QCOMPARE(column(std::move(rs)), QStringList({"安神", "补血", "活血"}));

        dao::Recordset empty = db.openTable(QStringLiteral("yczz"));
        QVERIFY(empty.eof());
        QVERIFY(empty.bof());
        QVERIFY_THROWS_EXCEPTION(dao::Error, empty.moveNext());

        // Unknown tables, indexes and fields are errors.
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
        env.insert(visits, {"001", "内科", QDate(2024, 1, 2), "15/20", 60, 60, "头痛", "", "川芎 10", "", QDate(2024, 1, 9), "李医生"});
        env.insert(visits, {"001", "内科", QDate(2024, 1, 1), "15/20", 60, 60, "头痛", "", "白芷 6", "", QDate(2024, 1, 8), "李医生"});
        env.insert(visits, {"002", "外科", QDate(2024, 1, 1)});
        addDrug(env, QStringLiteral("AB12"), QStringLiteral("当归"), 1250);
        dao::Database db = env.open();
        dao::Recordset rs = db.openTable(visits);
        rs.setIndex(QStringLiteral("zdbmi"));

        rs.seek(QStringLiteral("="), QStringLiteral("001"), QStringLiteral("内科"), QStringLiteral("2024-01-02"));
        QVERIFY(!rs.noMatch());
        QCOMPARE(rs.field(8).toString(), QStringLiteral("川芎 10"));
        QCOMPARE(rs.field(2).toDate(), QDate(2024, 1, 2));
        QCOMPARE(rs.field(4).type(), vb::Variant::Type::Number);

        rs.seek(QStringLiteral("="), QStringLiteral("001"), QStringLiteral("内科"), QDate(2024, 1, 2));   // a Date key
        QVERIFY(!rs.noMatch());

        rs.seek(QStringLiteral("="), QStringLiteral("001"));   // first in index order: the earlier date
        QVERIFY(!rs.noMatch());
        QCOMPARE(rs.field(QStringLiteral("blcf")).toString(), QStringLiteral("白芷 6"));
        rs.moveNext();                                         // and on from there in index order
        QCOMPARE(rs.field(QStringLiteral("blcf")).toString(), QStringLiteral("川芎 10"));

        rs.seek(QStringLiteral("="), QStringLiteral("003"));
        QVERIFY(rs.noMatch());
        QVERIFY_THROWS_EXCEPTION(dao::Error, rs.field(0));

        dao::Recordset drugs = drugsByCode(db);   // keys in another case, prices kept
        drugs.seek(QStringLiteral("="), QStringLiteral("ab12"));
        QVERIFY(!drugs.noMatch());
        QCOMPARE(drugs.field(2), vb::Variant(1250.0));
        QCOMPARE(drugs.field(4).type(), vb::Variant::Type::Text);
    }

    void editUpdateAndDeleteByOrdinalAndMoveOnAfterADelete()
    {
        TestEnvironment env;
        addDrugs(env, {{"A1", "当归"}, {"A2", "川芎"}, {"A3", "白芷"}});
        dao::Database db = env.open();
        dao::Recordset rs = drugsByCode(db);
        rs.seek(QStringLiteral("="), QStringLiteral("A2"));
        rs.edit();
        rs.setField(2, QStringLiteral("1,250.50"));            // a box text, read as the number it shows
        rs.setField(3, 7);                                      // a number into a text column
        rs.update();
        QCOMPARE(rs.field(2), vb::Variant(1250.5));
        QCOMPARE(rs.field(3), vb::Variant(QStringLiteral("7")));
        rs.edit();
        rs.setField(2, QStringLiteral("3-"));                  // a trailing sign, as the runtime reads it
        QCOMPARE(rs.field(2), vb::Variant(-3.0));
        for (const char* notANumber : {"十元", "inf", "nan", "1e999"})
            QVERIFY_THROWS_EXCEPTION(dao::Error, rs.setField(2, QString::fromUtf8(notANumber)));

        // Delete in a walk: the next move lands on the row after the deleted one.
        rs.moveFirst();
        rs.moveNext();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("A2"));
        rs.remove();
        QVERIFY_THROWS_EXCEPTION(dao::Error, rs.field(0));
        rs.moveNext();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("A3"));
        QCOMPARE(column(db.openTable(QStringLiteral("ycjg"))), QStringList({"A1", "A3"}));

        // Setting a field without AddNew or Edit is refused.
        QVERIFY_THROWS_EXCEPTION(dao::Error, rs.setField(0, QStringLiteral("X")));

        // A move after deleting a sought row goes to its successor in index order, here
        // not the stored order (A1, A3, A2).
        addDrug(env, QStringLiteral("A2"), QStringLiteral("川芎"), 2);
        rs = drugsByCode(db);
        rs.seek(QStringLiteral("="), QStringLiteral("A2"));
        rs.remove();
        rs.moveNext();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("A3"));

        // The same after the walk order went stale through an added row.
        rs.addNew();
        rs.setField(0, QStringLiteral("A0"));
        rs.setField(1, QStringLiteral("黄芪"));
        rs.update();
        rs.seek(QStringLiteral("="), QStringLiteral("A1"));
        rs.remove();
        rs.movePrevious();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("A0"));
        rs.moveNext();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("A3"));
        QCOMPARE(column(db.openTable(QStringLiteral("ycjg"))), QStringList({"A3", "A0"}));
    }

    void storedQueriesLiveWithTheConnectionAndDynasetsOutliveTheirHandle()
    {
        TestEnvironment env;
        const dao::Database held = env.open();   // as the program holds it for its run
        addDrug(env, QStringLiteral("B2"), QStringLiteral("川芎"), 2);
        addDrug(env, QStringLiteral("B1"), QStringLiteral("当归"), 1);
        dao::Recordset rs;
        {
            dao::Database db = env.open();
            db.createQueryDef(QStringLiteral("old"), QStringLiteral("select * from ycjg"));
            QVERIFY_THROWS_EXCEPTION(dao::Error, db.createQueryDef(QStringLiteral("OLD"), QStringLiteral("select * from ycjg")));
            rs = db.storeAndOpen(QStringLiteral("000"), QStringLiteral("select * from ycjg order by ycbm"));
            QCOMPARE(db.queryDefs(), QStringList({"000"}));
        }
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(rs.fieldCount(), 5);
        QCOMPARE(rs.fieldName(1), QStringLiteral("ycmc"));
        QCOMPARE(rs.field(QStringLiteral("YCBM")).toString(), QStringLiteral("B1"));
        rs.moveLast();
        QCOMPARE(rs.field(0).toString(), QStringLiteral("B2"));
        rs.moveNext();
        QVERIFY(rs.eof());
        QVERIFY_THROWS_EXCEPTION(dao::Error, rs.field(0));

        dao::Database db = env.open();
        QCOMPARE(column(db.openRecordset(QStringLiteral("000"))), QStringList({"B1", "B2"}));
        db.deleteQueryDef(QStringLiteral("000"));
        QVERIFY(db.queryDefs().isEmpty());
        QVERIFY_THROWS_EXCEPTION(dao::Error, db.openRecordset(QStringLiteral("000")));
    }

    void aLargeDynasetKeepsEveryFieldInItsRow()
    {
        // Enough rows and text that the fields fill several of the dynaset's blocks of
        // fields and of text (one text larger than a block), with a binary and a Null
        // field in every row.
        TestEnvironment env;
        constexpr int drugs = 2500;
        const auto nameOf = [](int i) { return QStringLiteral("当归%1").arg(i) + QString(i == 1234 ? 400000 : 300, u'草'); };
        {
            dao::Database db = env.open();
            dao::Transaction transaction(db);
            dao::Recordset rs = db.openTable(QStringLiteral("ycjg"));
            for (int i = 0; i < drugs; ++i) {
                rs.addNew();
                rs.setField(0, QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0')));
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
        const auto checkRow = [&rs, &nameOf](int i) {
            QCOMPARE(rs.field(0).toString(), QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0')));
            QVERIFY(rs.field(QStringLiteral("raw")).isNull());
            QCOMPARE(rs.fieldBytes(1), nameOf(i).toUtf8());
            QCOMPARE(rs.field(2).toDouble(), i + 0.5);
            QVERIFY(rs.field(3).isNull());
            QCOMPARE(rs.fieldBytes(0), rs.field(0).toString().toUtf8());
            QCOMPARE(rs.field(4).toString(), nameOf(i));
        };
        int i = 0;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) checkRow(i++);
        QCOMPARE(i, drugs);
        for (rs.moveLast(); !rs.bof(); rs.movePrevious()) checkRow(--i);
        QCOMPARE(i, 0);
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
        QCOMPARE(rs.field(0).toString(), QStringLiteral("活血化瘀"));
        QCOMPARE(rs.field(1).toString(), QString::fromUtf8("\xef\xbb\xbf" "A"));
        QCOMPARE(rs.field(2).toString(), QString::fromUtf8("\xe6\xb4\xbb\xff" "A\xe6"));
        QCOMPARE(rs.field(3).type(), vb::Variant::Type::Text);
        QCOMPARE(rs.field(3).toString(), QString());
        QVERIFY(rs.field(4).isNull());
        QCOMPARE(rs.field(5).type(), vb::Variant::Type::Number);
        QCOMPARE(rs.field(5).toDouble(), 2.5);
        QCOMPARE(rs.field(6).toDouble(), 3.0);
        const QString longText = QString(2000, QChar(0x8349));   // longer than the decoder's stack buffer
        env.insert(QStringLiteral("ycgy"), {longText});
        QCOMPARE(db.openRecordset(QStringLiteral("select ycgy from ycgy")).field(0).toString(), longText);
    }

    // Texts compare without regard to case; dates are given in the old #date# form.
    // (The pinyin order itself is checked against the collation and by the windows.)
    void caseInsensitiveEqualityAndDateCriteria()
    {
        TestEnvironment env;
        for (const char* name : {"b", "A"}) env.insert(QStringLiteral("yckpass"), {name, "1", 1});
        dao::Database db = env.open();
        QCOMPARE(query(db, QStringLiteral("select passuser from yckpass where passuser='a'")), QStringList({"A"}));
        const QString journal = QStringLiteral("yccrtb");
        env.insert(journal, {QDate(2024, 2, 29), "当归", "购进"});
        env.insert(journal, {QDate(2024, 3, 1), "川芎", "购进"});
        env.insert(journal, {QDate(2024, 3, 31), "白芷", "出库"});
        env.insert(journal, {QDate(2024, 4, 1), "黄芪", "购进"});
        QCOMPARE(query(db, QStringLiteral("select ycbm,crsj from yccrtb where crsj between #2024-03-01# and  #2024-03-31# order by crsj,ycbm")),
                 QStringList({"川芎", "白芷"}));
        QCOMPARE(query(db, QStringLiteral("select ycbm from yccrtb where crsj between #2024-03-01# and  #2024-04-30# and ywzy<>'购进'")),
                 QStringList({"白芷"}));
    }

    void orderedDynasetsAgreeWithSqlitesOwnSort_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("by a name") << "select * from ycjg order by ycmc";
        QTest::newRow("by number, then name") << "select ycmc, ycdj from ycjg order by 2, 1";
        QTest::newRow("by two names, asc") << "select ycbm, ycmc from ycjg order by YCBM asc, ycmc";
        QTest::newRow("distinct") << "select distinct yplb from ycjg";
        QTest::newRow("by a column not listed") << "select ycmc from ycjg order by ycbm";
        QTest::newRow("descending") << "select * from ycjg order by ycmc desc";
    }

    void orderedDynasetsAgreeWithSqlitesOwnSort()
    {
        // The layer reads some ordered queries in the columns' own order and sorts them
        // itself; "limit -1" (no limit) makes SQLite sort the same query through the
        // collation. Keys are distinct, so the two orders must be the same.
        QFETCH(QString, sql);
        TestEnvironment env;
        const char* names[] = {"张三", "李四", "安康", "b药", "A药", "王五", "阿胶", "白术", "Zz", "1号", "", "艾叶"};
        const char* kinds[] = {"西药", "草药", "中药", "Ab", "aC"};
        int n = 0;
        for (const char* name : names) {
            ++n;
            env.insert(QStringLiteral("ycjg"), {QStringLiteral("c%1").arg(n * 37 % 13), QString::fromUtf8(name),
                                                n % 4 ? vb::Variant(n % 3 * 1.5) : vb::Variant(), "克", kinds[n % 5]});
        }
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
        QCOMPARE(rows(sql), rows(sql + QStringLiteral(" limit -1")));
    }

    void quotesAndPatternCharactersThroughEveryPath_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"O'Brien", "当归'", "a*b", "c?d", "[x]", "50%", "a_b", "''"}) QTest::newRow(name) << QString::fromUtf8(name);
    }

    void quotesAndPatternCharactersThroughEveryPath()
    {
        QFETCH(QString, name);
        TestEnvironment env;
        for (const char* other : {"ab", "cxd", "x", "500", "O Brien", "当归"}) env.insert(QStringLiteral("zyyc"), {other});
        dao::Database db = env.open();
        db.execute(QStringLiteral("insert into zyyc (ycmc, ycgy) values (%1, %2)").arg(dao::quote(name), dao::quote(name + name)));

        dao::Recordset rs = db.openTable(QStringLiteral("zyyc"));
        rs.setIndex(QStringLiteral("ycmci"));
        rs.seek(QStringLiteral("="), name);
        QVERIFY(!rs.noMatch());
        QCOMPARE(rs.field(3).toString(), name + name);

        QCOMPARE(query(db, QStringLiteral("select ycmc from zyyc where ycmc=") + dao::quote(name)), QStringList({name}));
        // LIKE with the name between stars matches it wherever the old engine's
        // pattern reading lets it: a literal name always matches itself...
        QVERIFY(query(db, QStringLiteral("select ycmc from zyyc where ycmc like ") + dao::quote(QStringLiteral("*") + name + QStringLiteral("*")))
                    .contains(name) || name.contains(u'['));
        // ...and an apostrophe is an ordinary character of the pattern.
        const QStringList withApostrophe = query(db, QStringLiteral("select ycmc from zyyc where ycmc like '*''*'"));
        QCOMPARE(withApostrophe.contains(name), name.contains(u'\''));
        QVERIFY(query(db, QStringLiteral("select ycmc from zyyc order by ycmc")).contains(name));
    }

    void aFailureInATransactionLeavesTheFileAsItWasAndSaysWhatRefused()
    {
        TestEnvironment env;
        addDrug(env, QStringLiteral("A1"), QStringLiteral("当归"), 1);
        env.insert(QStringLiteral("ycyltb"), {"当归", 10, 100, 10});
        const QByteArray before = testing::bytesOf(env.databasePath());
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
        QCOMPARE(testing::bytesOf(env.databasePath()), before);

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
