// Dynasets: every row of a query read when the recordset opens, so no statement stays
// open behind a window and the rows outlive the Database handle; see recordset_impl.h.
// The fields are kept row after row in one list, so opening costs one value a field
// and no allocation a row; the rare binary field keeps its bytes on the side.
#include "platform/dao/connection.h"
#include "platform/dao/recordset_impl.h"

#include <QHash>

namespace dao {

namespace {

// Fields row after row in blocks of a fixed size: the list grows without moving what it
// holds, so the memory of a large query is written once instead of copied at every
// doubling.
class FieldList {
public:
    vb::Variant& append()
    {
        if (size_ % blockSize == 0) blocks_.push_back(std::make_unique<vb::Variant[]>(blockSize));
        return blocks_.back()[size_++ % blockSize];
    }
    const vb::Variant& operator[](size_t index) const { return blocks_[index / blockSize][index % blockSize]; }
    size_t size() const { return size_; }

private:
    static constexpr size_t blockSize = 1024;
    std::vector<std::unique_ptr<vb::Variant[]>> blocks_;
    size_t size_ = 0;
};

class Dynaset final : public Recordset::Impl {
public:
    Dynaset(Connection& connection, const QString& sql)
    {
        Statement query(connection.handle(), sql);
        const int columns = query.columnCount();
        names.reserve(columns);
        for (int c = 0; c < columns; ++c) names.push_back(query.columnName(c));
        QByteArray bytes;
        while (query.step()) {
            for (int c = 0; c < columns; ++c) {
                vb::Variant& field = fields_.append();
                if (query.read(c, field, bytes)) blobs_.insert(fields_.size() - 1, bytes);
            }
            ++rows_;
        }
    }

    bool eof() override { return rows_ == 0 || position_ >= rows_; }
    bool bof() override { return rows_ == 0 || position_ < 0; }
    void moveFirst() override { position_ = 0; }
    void moveLast() override { position_ = rows_ - 1; }
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
    int recordCount() override { return static_cast<int>(rows_); }

    const vb::Variant& value(int ordinal) override { return fields_[currentField(ordinal)]; }

    const QByteArray* blob(int ordinal) override
    {
        const auto found = blobs_.constFind(currentField(ordinal));
        return found == blobs_.cend() ? nullptr : &*found;
    }

private:
    // Where the current record's field `ordinal` is in fields_.
    size_t currentField(int ordinal)
    {
        if (eof() || bof()) noCurrentRecord();
        return static_cast<size_t>(position_) * names.size() + static_cast<size_t>(ordinal);
    }

    FieldList fields_;                         // row after row, names.size() a row
    QHash<size_t, QByteArray> blobs_;          // bytes of binary fields, by place in fields_
    long rows_ = 0;
    long position_ = 0;
};

}  // namespace

std::unique_ptr<Recordset::Impl> openDynasetImpl(Connection& connection, const QString& sql)
{
    return std::make_unique<Dynaset>(connection, sql);
}

}  // namespace dao
