// A fresh world for one test: a temporary Windows folder (ZYQHMZ_WINDOWS_DIR) with a
// documents folder (ZYQHMZ_DOCUMENTS_DIR) and a fresh copy of the shipped database at
// <dir>/system/zyqhmz.mdb, plus short helpers to open it and to put rows in it.
#pragma once

#include "platform/dao/dao.h"

#include <QTemporaryDir>
#include <QString>
#include <initializer_list>

class TestEnvironment {
public:
    TestEnvironment();                      // QVERIFY-free: throws std::runtime_error on failure

    QString windowsDir() const { return dir_.path(); }
    QString documentsDir() const;
    QString databasePath() const;           // <dir>/system/zyqhmz.mdb

    dao::Database open() const;             // the database, with the system's password

    // Adds one row to `table`, fields by ordinal from the first column on (columns not
    // given stay Null).
    void insert(const QString& table, std::initializer_list<vb::Variant> values) const;
    // The number of rows of `table`.
    int count(const QString& table) const;

    // The shipped database the build made (ZYQHMZ_SHIPPED_DB, or the path built in).
    static QString shippedDatabase();
    // The whole content of `file`, or nothing when it cannot be read.
    static QByteArray bytesOf(const QString& file);
    // Writes `bytes` as the whole content of `file`; false when it cannot.
    static bool writeBytes(const QString& file, const QByteArray& bytes);
    // SQL adding `count` herbs named `name` followed by 1, 2, …, each with `filler` (an
    // expression of the number i) in `column`.
    static QString herbsInsert(int count, const QString& name, const QString& filler = "hex(randomblob(60))",
                               const QString& column = "ycgj");

private:
    QTemporaryDir dir_;
};
