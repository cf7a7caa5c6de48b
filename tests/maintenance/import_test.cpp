// The import from another copy of the database, member by member: absent keys added
// (trimmed, with Nulls and apostrophes kept), present keys skipped, a Null key never
// added, visits in both layouts with every visit of a new patient and none of a known
// one, layouts of another width refused, a failure part-way adding nothing, the
// source never written, and the progress captions.
#include "maintenance/import.h"

#include "data/database_file.h"
#include "data/schema.h"
#include "platform/raised.h"
#include "support/test_environment.h"

#include <QtTest>

using maintenance::ImportMember;
using Row = std::vector<vb::Variant>;

namespace {

// What the import showed: the captions of its progress label, and its ends.
struct ProgressLog : maintenance::ImportProgress {
    QStringList captions;
    int starts = 0;
    int ends = 0;
    void started(const ImportMember&) override { ++starts; }
    void advanced(float percent) override { captions << maintenance::percentCaption(maintenance::wholePercent(percent)); }
    void finished(const ImportMember&) override { ++ends; }
};

const ImportMember& member(const QString& table)
{
    for (const ImportMember& m : maintenance::importMembers())
        if (m.table == table) return m;
    throw std::logic_error("no such member");
}

// A record of `table`: the key parts first, then a filler of each column's type
// marked with `tag`, or Nulls.
Row record(const QString& table, const Row& key, const QString& tag, bool nulls = false)
{
    Row row;
    for (const data::Column& column : data::findTable(table)->columns) {
        const size_t c = row.size();
        if (c < key.size()) row.push_back(key[c]);
        else if (nulls) row.push_back({});
        else if (column.type == data::Column::Type::Number) row.push_back(36.0);
        else if (column.type == data::Column::Type::Date) row.push_back("2024-03-01");
        else row.push_back(column.name + tag);
    }
    return row;
}

// A key of the member's width whose first part is `name`.
Row keyOf(const ImportMember& m, const vb::Variant& name, const QString& department = "内科",
          const QString& date = "2024-01-05")
{
    if (m.keyColumns == 3) return {name, department, date};
    if (m.keyColumns == 2) return {name, "头痛"};
    return {name};
}

void insertRows(dao::Database db, const QString& table, const std::vector<Row>& rows)
{
    if (rows.empty()) return;
    dao::Recordset rs = db.openTable(table);
    for (const Row& row : rows) {
        rs.addNew();
        for (size_t c = 0; c < row.size(); ++c) rs.setField(static_cast<int>(c), row[c]);
        rs.update();
    }
}

// The target's record with `key`, or nothing.
Row stored(const TestEnvironment& env, const ImportMember& m, const Row& key)
{
    dao::Database db = env.open();
    dao::Recordset rs = db.openTable(m.table);
    rs.setIndex(m.index);
    rs.seek("=", key[0], key.size() > 1 ? key[1] : vb::Variant(), key.size() > 2 ? key[2] : vb::Variant());
    Row row;
    for (int c = 0; !rs.noMatch() && c < rs.fieldCount(); ++c) row.push_back(rs.field(c));
    return row;
}

}  // namespace

class ImportTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> env_;
    ProgressLog progress_;

    QString sourcePath() const { return env_->windowsDir() + QStringLiteral("/另一个.mdb"); }

    // A source file keyed as the import of `m` reads it (herbs, formulas and diagnoses
    // come from files of the import password, the rest from the system's), holding
    // `rows` in its table, made with `schema` run first.
    void makeSource(const ImportMember& m, const std::vector<Row>& rows, const QString& schema = {})
    {
        const QString password = QStringList{"zyyc", "zyfj", "zybz"}.contains(m.table) ? data::importPassword()
                                                                                      : data::databasePassword();
        data::createDatabase(sourcePath(), password);
        dao::Database db = dao::Database::open(sourcePath(), QStringLiteral(";pwd=") + password);
        if (!schema.isEmpty()) db.executeSchema(schema);
        insertRows(std::move(db), m.table, rows);
    }

    static void oneRowPerMember()
    {
        QTest::addColumn<QString>("table");
        for (const ImportMember& m : maintenance::importMembers()) QTest::newRow(qPrintable(m.menuItem)) << m.table;
    }

    int run(const ImportMember& m, const QString& source)
    {
        return maintenance::importTable(m, env_->databasePath(), source, progress_);
    }

private slots:
    void init()
    {
        env_ = std::make_unique<TestEnvironment>();
        progress_ = {};
    }
    void cleanup() { env_.reset(); }

    void eachMemberAddsAbsentKeysOnly_data() { oneRowPerMember(); }
    void eachMemberAddsAbsentKeysOnly()
    {
        QFETCH(QString, table);
        const ImportMember& m = member(table);
        const Row held = record(table, keyOf(m, "甲"), "旧");
        insertRows(env_->open(), table, {held});
        // A visit of a record number the target holds is skipped whatever its department and date.
        const Row present = m.keyColumns == 3 ? keyOf(m, "甲", "外科", "2024-02-01") : keyOf(m, "甲");
        Row padded;   // keys are trimmed
        for (const vb::Variant& part : keyOf(m, "乙")) padded.push_back(u' ' + part.toString() + u' ');
        // A visit is sought by its record number alone: Nulls beside it don't skip it.
        const bool visits = m.keyColumns == 3;
        const Row nullsBeside = visits ? Row{"戊", {}, {}} : keyOf(m, vb::Variant());
        makeSource(m, {record(table, present, "新"), record(table, padded, "乙"), record(table, keyOf(m, "O'丙"), "", true),
                       record(table, keyOf(m, vb::Variant()), "丁"), record(table, nullsBeside, "戊")});
        const QByteArray source = TestEnvironment::bytesOf(sourcePath());

        QCOMPARE(run(m, sourcePath()), visits ? 3 : 2);
        QCOMPARE(env_->count(table), visits ? 4 : 3);
        QCOMPARE(stored(*env_, m, keyOf(m, "甲")), held);
        Row added = record(table, padded, "乙");   // the key as the source stores it
        Row withNulls = record(table, keyOf(m, "O'丙"), "", true);
        if (table == "zybz") added[4] = withNulls[4] = maintenance::importedDiagnosisAuthor();
        QCOMPARE(stored(*env_, m, padded), added);
        QCOMPARE(stored(*env_, m, keyOf(m, "O'丙")), withNulls);
        if (visits) QCOMPARE(stored(*env_, m, {"戊"}), record(table, nullsBeside, "戊"));
        QCOMPARE(progress_.captions, QStringList({" 20%", " 40%", " 60%", " 80%", " 100%"}));
        QCOMPARE(progress_.ends, 1);
        QCOMPARE(TestEnvironment::bytesOf(sourcePath()), source);
    }

    // A key stored with blanks is found in any stored form that trims to the same key,
    // the target's own before the run and what the run adds: importing the same source
    // again adds nothing and raises no error.
    void keysStoredWithBlanksAreFoundAndASecondImportAddsNothing_data() { oneRowPerMember(); }
    void keysStoredWithBlanksAreFoundAndASecondImportAddsNothing()
    {
        QFETCH(QString, table);
        const ImportMember& m = member(table);
        insertRows(env_->open(), table, {record(table, keyOf(m, " 甲 "), "旧")});
        makeSource(m, {record(table, keyOf(m, "甲"), "新"), record(table, keyOf(m, "乙 "), "乙"),
                       record(table, keyOf(m, "  乙"), "二"), record(table, keyOf(m, "b003 "), "三"),
                       record(table, keyOf(m, "B003"), "四"), record(table, keyOf(m, "丙"), "丙")});
        QCOMPARE(run(m, sourcePath()), 3);
        Row added = record(table, keyOf(m, "乙 "), "乙");   // as the source stores it
        if (table == "zybz") added[4] = maintenance::importedDiagnosisAuthor();
        QCOMPARE(stored(*env_, m, keyOf(m, "乙 ")), added);
        QCOMPARE(stored(*env_, m, keyOf(m, "  乙")), Row());
        QCOMPARE(stored(*env_, m, keyOf(m, "B003")), Row());
        QVERIFY(!stored(*env_, m, keyOf(m, "b003 ")).empty());
        QCOMPARE(run(m, sourcePath()), 0);
        QCOMPARE(env_->count(table), 4);
    }

    // A visit's department or date may be Null (only its record number is sought
    // first). A Null equals nothing on the index, yet such a visit is present as any
    // other: repeated in the source it is added once, and a second import adds nothing.
    void aVisitWithANullPartIsAddedOnce()
    {
        const ImportMember& m = member("hzzdzl");
        Row noDepartment = keyOf(m, "丁");
        noDepartment[1] = vb::Variant();
        Row noDate = keyOf(m, "戊");
        noDate[2] = vb::Variant();
        makeSource(m, {record("hzzdzl", noDepartment, "一"), record("hzzdzl", noDate, "一"),
                       record("hzzdzl", noDepartment, "二"), record("hzzdzl", noDate, "二")});
        QCOMPARE(run(m, sourcePath()), 2);
        QCOMPARE(run(m, sourcePath()), 0);
        QCOMPARE(env_->count("hzzdzl"), 2);
    }

    // An empty source table: nothing added, the progress never shown.
    void emptySourceShowsNothing()
    {
        const ImportMember& m = member("fjcy");
        makeSource(m, {});
        QCOMPARE(run(m, sourcePath()), 0);
        QCOMPARE(progress_.starts, 0);
        QVERIFY(progress_.captions.isEmpty());
    }

    // The label after each record: 100 / count × records done in single precision,
    // rounded half to even.
    void progressCaptions()
    {
        const struct { int records; const char* captions; } rows[] = {
            {8, "12 25 38 50 62 75 88 100"}, {3, "33 67 100"}, {1, "100"}, {6, "17 33 50 67 83 100"}};
        for (const auto& row : rows) {
            QStringList captions;
            const float step = 100.0f / static_cast<float>(row.records);
            for (int done = 1; done <= row.records; ++done)
                captions << maintenance::percentCaption(maintenance::wholePercent(step * static_cast<float>(done))).mid(1).chopped(1);
            QCOMPARE(captions.join(u' '), QString::fromLatin1(row.captions));
            QCOMPARE(maintenance::percentCaption(7), QStringLiteral(" 7%"));
        }
    }

    // Visits in the older layout of eight columns: every visit of a new patient is
    // added once, filled in as that layout lacked; a known patient's are skipped.
    void olderVisitsOfANewPatientAreAllAdded()
    {
        const ImportMember& m = member("hzzdzl");
        env_->insert("hzzdzl", {"甲", "内科", "2024-01-05"});
        const auto visit = [](const QString& number, const QString& department, const QString& date) {
            return Row{number, department, date, "咳嗽", "宣肺", "麻黄汤", "温服", "李医生"};
        };
        makeSource(m,
                   {visit("乙", "内科", "2024-01-01"), visit("乙", "内科", "2024-02-01"), visit("乙", "外科", "2024-02-01"),
                    visit("乙", "内科", "2024-01-01"), visit("甲", "外科", "2024-03-01"), visit("A丙", "内科", "2024-01-01"),
                    visit("a丙", "内科", "2024-02-01")},   // one record number in two spellings
                   "DROP TABLE hzzdzl; CREATE TABLE hzzdzl(blbm, blkb, blsj, bzqk, blfa, blcf, blsx, zdys)");
        QCOMPARE(run(m, sourcePath()), 5);
        QCOMPARE(env_->count("hzzdzl"), 6);
        QCOMPARE(stored(*env_, m, {"乙", "外科", "2024-02-01"}),
                 Row({"乙", "外科", "2024-02-01", " ", 60.0, 60.0, "咳嗽", "宣肺", "麻黄汤", "温服", "2024-02-01", "李医生"}));
        QVERIFY(stored(*env_, m, {"甲", "外科", "2024-03-01"}).empty());
    }

    // Nothing is added when a source cannot be imported: a layout of another width is
    // refused before anything is written; a value refused part-way (one import is one
    // transaction) adds nothing either.
    void failuresAddNothing_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");   // of the source's table; none: the layout of the system
        QTest::newRow("herbs of 8 columns") << "zyyc" << "ycmc, ycgj, ycxw, ycgy, yczz, ycyf, ycyj, ycxd";
        QTest::newRow("diagnoses of 3 columns") << "zybz" << "bzmc, bzqk, bzcy";
        QTest::newRow("visits of 10 columns") << "hzzdzl" << "a, b, c, d, e, f, g, h, i, j";
        QTest::newRow("refused part-way") << "zyfj" << "";
    }
    void failuresAddNothing()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        const ImportMember& m = member(table);
        env_->open().executeSchema("CREATE TRIGGER refuse BEFORE INSERT ON zyfj WHEN NEW.fjmc='丁' "
                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        if (columns.isEmpty()) makeSource(m, {record(table, {"乙"}, ""), record(table, {"丁"}, "")});
        else makeSource(m, {Row(static_cast<size_t>(columns.count(u',') + 1), vb::Variant("新"))},
                        QStringLiteral("DROP TABLE %1; CREATE TABLE %1(%2)").arg(table, columns));
        const vb::Error error = testing::raised([&] { run(m, sourcePath()); });
        QCOMPARE(error.number(), columns.isEmpty() ? 3000 : 3343);
        if (columns.isEmpty()) QVERIFY2(error.description().endsWith("（表“zyfj”，记录“丁”）"), qPrintable(error.description()));
        QCOMPARE(env_->count(table), 0);
        QCOMPARE(progress_.ends, 0);
        if (!columns.isEmpty()) QCOMPARE(progress_.starts, 0);   // refused before the loop
    }
};

QTEST_GUILESS_MAIN(ImportTest)
#include "import_test.moc"
