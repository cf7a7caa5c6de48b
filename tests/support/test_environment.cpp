// The per-test world; see test_environment.h. The shipped file made by the build is
// copied when ZYQHMZ_SHIPPED_DB points at it, otherwise a file is made from the table
// descriptions, so tests never share a database.
#include "support/test_environment.h"

#include "data/database_file.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

TestEnvironment::TestEnvironment()
{
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    QDir root(dir_.path());
    if (!root.mkpath(QStringLiteral("system")) || !root.mkpath(QStringLiteral("documents")))
        throw std::runtime_error("cannot make the test folders");
    qputenv("ZYQHMZ_WINDOWS_DIR", QFile::encodeName(dir_.path()));
    qputenv("ZYQHMZ_DOCUMENTS_DIR", QFile::encodeName(documentsDir()));

    const QString shipped = shippedDatabase();
    if (QFile::exists(shipped)) {
        if (!QFile::copy(shipped, databasePath())) throw std::runtime_error("cannot copy the shipped database");
        QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    } else {
        data::createDatabase(databasePath(), data::databasePassword());
    }
}

QString TestEnvironment::shippedDatabase()
{
    const QString fromEnvironment = qEnvironmentVariable("ZYQHMZ_SHIPPED_DB");
    return fromEnvironment.isEmpty() ? QStringLiteral(ZYQHMZ_SHIPPED_DB) : fromEnvironment;
}

QByteArray TestEnvironment::bytesOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TestEnvironment::herbsInsert(int count, const QString& name, const QString& filler, const QString& column)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                          "INSERT INTO zyyc(ycmc, %2) SELECT '%3' || i, %4 FROM n")
        .arg(count)
        .arg(column, name, filler);
}

bool TestEnvironment::writeBytes(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString TestEnvironment::documentsDir() const
{
    return dir_.filePath(QStringLiteral("documents"));
}

QString TestEnvironment::databasePath() const
{
    return dir_.filePath(QStringLiteral("system/zyqhmz.mdb"));
}

dao::Database TestEnvironment::open() const
{
    return dao::Database::open(databasePath(), data::connectText());
}

void TestEnvironment::insert(const QString& table, std::initializer_list<vb::Variant> values) const
{
    dao::Database db = open();
    dao::Recordset rs = db.openTable(table);
    rs.addNew();
    int ordinal = 0;
    for (const vb::Variant& value : values) rs.setField(ordinal++, value);
    rs.update();
}

int TestEnvironment::count(const QString& table) const
{
    dao::Database db = open();
    return db.openTable(table).recordCount();
}
