// The two kinds of recordset behind dao::Recordset: a table-type recordset that reads
// one row at a time from a table (table_recordset.cpp) and a dynaset that holds every
// row of a query, read when it opens (dynaset.cpp). Internal to the database layer.
#pragma once

#include "platform/dao/dao.h"

#include <memory>
#include <span>
#include <vector>

namespace dao {

struct Recordset::Impl {
    virtual ~Impl() = default;

    virtual bool eof() = 0;
    virtual void moveFirst() = 0;
    virtual void moveLast() = 0;
    virtual void moveNext() = 0;
    virtual int recordCount() = 0;

    virtual void setIndex(const QString& indexName);
    // The keys as the caller passed them, trailing empty ones already dropped.
    virtual void seek(const QString& op, std::span<const vb::Variant* const> keys);
    virtual bool noMatch() const;
    virtual void addNew();
    virtual void edit();
    virtual void update();
    virtual void remove();
    virtual void setField(int ordinal, const vb::Variant& value);
    virtual void setFieldBytes(int ordinal, const QByteArray& bytes);

    // The fields of the record being read (the edit buffer while editing): a field's
    // value, and the bytes of a binary field (nullptr for any other). Both throw when
    // there is no current record; `ordinal` is already checked.
    virtual const vb::Variant& value(int ordinal) = 0;
    virtual const QByteArray* blob(int ordinal) = 0;

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
