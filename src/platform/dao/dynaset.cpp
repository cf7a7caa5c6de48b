// Dynasets: every row of a query read when the recordset opens, so no statement stays
// open behind a window and the rows outlive the Database handle; see recordset_impl.h.
#include "platform/dao/connection.h"
#include "platform/dao/recordset_impl.h"

namespace dao {

namespace {

class Dynaset final : public Recordset::Impl {
public:
    Dynaset(Connection& connection, const QString& sql)
    {
        Statement query(connection.handle(), sql);
        const int columns = query.columnCount();
        names.reserve(columns);
        for (int c = 0; c < columns; ++c) names.push_back(query.columnName(c));
        while (query.step()) {
            Row row;
            row.values.reserve(columns);
            for (int c = 0; c < columns; ++c) {
                if (query.isBlob(c)) {
                    row.blobs.insert(c, query.bytes(c));
                    row.values.emplace_back();
                } else {
                    row.values.push_back(query.value(c));
                }
            }
            rows_.push_back(std::move(row));
        }
    }

    bool eof() override { return rows_.empty() || position_ >= size(); }
    bool bof() override { return rows_.empty() || position_ < 0; }
    void moveFirst() override { position_ = 0; }
    void moveLast() override { position_ = size() - 1; }
    void moveNext() override
    {
        if (eof()) noCurrentRecord();
        ++position_;
    }
    void movePrevious() override
    {
        if (bof()) noCurrentRecord();
        --position_;
    }
    int recordCount() override { return static_cast<int>(rows_.size()); }

    const Row& current() override
    {
        if (eof() || bof()) noCurrentRecord();
        return rows_[static_cast<size_t>(position_)];
    }

private:
    long size() const { return static_cast<long>(rows_.size()); }

    std::vector<Row> rows_;
    long position_ = 0;
};

}  // namespace

std::unique_ptr<Recordset::Impl> openDynasetImpl(Connection& connection, const QString& sql)
{
    return std::make_unique<Dynaset>(connection, sql);
}

}  // namespace dao
