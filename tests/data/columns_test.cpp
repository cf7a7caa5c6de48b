// The named column ordinals of columns.h against the table descriptions: every table
// is named, each with all its columns in their stored order.
#include "data/columns.h"
#include "data/schema.h"

#include <QtTest>

class ColumnsTest : public QObject {
    Q_OBJECT

private slots:
    void ordinalsFollowTheDescriptions()
    {
#define TABLE(t) {#t, data::t::columnNames}
        const std::pair<const char*, const char*> named[] = {
            TABLE(ycjg), TABLE(ycyltb), TABLE(yccrtb), TABLE(ycgy),   TABLE(yczz), TABLE(fjgy),
            TABLE(fjzz), TABLE(lcfj),   TABLE(bzzz),   TABLE(Cygx),   TABLE(Cyzz), TABLE(zyyc),
            TABLE(zyfj), TABLE(zybz),   TABLE(fjcy),   TABLE(ylsy),   TABLE(hzblzl), TABLE(hzzdzl),
            TABLE(fzzl), TABLE(xtzlqk), TABLE(yckpass)};
#undef TABLE
        QCOMPARE(std::size(named), data::tables().size());
        for (const auto& [table, names] : named) {
            const data::Table* described = data::findTable(table);
            QVERIFY2(described, table);
            QStringList described_names;
            for (const data::Column& column : described->columns) described_names << column.name;
            QStringList listed = QString::fromLatin1(names).split(u',');
            for (QString& name : listed) name = name.trimmed();
            QCOMPARE(listed, described_names);
        }
        QCOMPARE(int(data::yccrtb::bgxm), 15);   // the enum counts as the list reads
    }
};

QTEST_MAIN(ColumnsTest)
#include "columns_test.moc"
