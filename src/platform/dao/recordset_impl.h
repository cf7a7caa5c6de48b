// The two kinds of recordset behind dao::Recordset: a table-type recordset that reads
// one row at a time from a table (table_recordset.cpp) and a dynaset that holds every
// row of a query, read when it opens (dynaset.cpp). Internal to the database layer.
#pragma once

#include "platform/dao/dao.h"

#include <QHash>
#include <memory>
#include <vector>

namespace dao {

class Connection;

// One record as the layer holds it: the values, and the bytes of binary columns.
struct Row {
    std::vector<vb::Variant> values;
    QHash<int, QByteArray> blobs;
};

struct Recordset::Impl {
    virtual ~Impl() = default;

    virtual bool eof() = 0;
    virtual bool bof() = 0;
    virtual void moveFirst() = 0;
    virtual void moveLast() = 0;
    virtual void moveNext() = 0;
    virtual void movePrevious() = 0;
    virtual int recordCount() = 0;

    virtual void setIndex(const QString& indexName);
    virtual void seek(const QString& op, const std::vector<vb::Variant>& keys);
    virtual bool noMatch() const;
    virtual void addNew();
    virtual void edit();
    virtual void update();
    virtual void remove();
    virtual void setField(int ordinal, const vb::Variant& value);
    virtual void setFieldBytes(int ordinal, const QByteArray& bytes);

    // The record fields are read from (the edit buffer while editing).
    virtual const Row& current() = 0;

    std::vector<QString> names;
    int ordinalOf(const QString& name) const;
    void checkOrdinal(int ordinal) const;

protected:
    [[noreturn]] static void unsupported();
};

[[noreturn]] void noCurrentRecord();

QString quoteName(const QString& name);

std::unique_ptr<Recordset::Impl> openTableImpl(std::shared_ptr<Connection> connection, const QString& table);
std::unique_ptr<Recordset::Impl> openDynasetImpl(Connection& connection, const QString& sql);

}  // namespace dao
