// Dynasets: every row of a query read when the recordset opens, so no statement stays
// open behind a window and the rows outlive the Database handle; see recordset_impl.h.
// The rows are kept compactly, as SQLite hands them out: a field is a 16-byte cell (a
// number, or the place and length of its UTF-8 text in large shared blocks), so a
// query of the whole journal stays a few hundred bytes a row. A row's fields become
// values only when the recordset stands on it; the rare binary field keeps its bytes
// on the side. A query ordered by its result columns is read in the columns' own
// order (an index walks it) and put in pinyin order here, when it is not already.
#include "platform/dao/connection.h"
#include "platform/dao/dialect.h"
#include "platform/dao/pinyin_collation.h"
#include "platform/dao/recordset_impl.h"

#include <QHash>
#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

namespace dao {

namespace {

struct Cell {
    enum class Kind : quint8 { Null, Number, Text, Bytes } kind = Kind::Null;
    quint32 length = 0;           // of the text, in bytes
    union {
        double number;
        const char* text;
    };
    Cell() : number(0) {}
};
static_assert(sizeof(Cell) == 16);

// Cells row after row, and the texts they point at, in blocks that double in size up
// to a limit (a look-up of one row allocates little, the whole journal a few hundred
// large blocks): both grow without moving what they hold.
class CellStore {
public:
    Cell& append()
    {
        const auto [block, offset] = place(size_++);
        if (offset == 0) cells_.push_back(std::make_unique_for_overwrite<Cell[]>(blockSize(block)));
        return cells_[block][offset];
    }
    const Cell& operator[](size_t index) const
    {
        const auto [block, offset] = place(index);
        return cells_[block][offset];
    }
    size_t size() const { return size_; }

    const char* keep(const char* bytes, size_t length)
    {
        if (texts_.empty() || used_ + length > textBlock_) {
            textBlock_ = std::min(std::max(textBlock_ * 2, length), std::max(maxTextBlock, length));
            texts_.push_back(std::make_unique_for_overwrite<char[]>(textBlock_));
            used_ = 0;
        }
        char* place = texts_.back().get() + used_;
        std::memcpy(place, bytes, length);
        used_ += length;
        return place;
    }

private:
    // Blocks of 64, 128, ... cells up to 4096, then 4096 each.
    static constexpr size_t firstBlock = 64, growingBlocks = 7, maxBlock = firstBlock << (growingBlocks - 1);
    static constexpr size_t grown = firstBlock * ((size_t{1} << growingBlocks) - 1);   // cells in the growing blocks
    static constexpr size_t maxTextBlock = 1 << 20;

    static size_t blockSize(size_t block) { return block < growingBlocks ? firstBlock << block : maxBlock; }
    static std::pair<size_t, size_t> place(size_t index)
    {
        if (index >= grown) return {growingBlocks + (index - grown) / maxBlock, (index - grown) % maxBlock};
        const size_t block = static_cast<size_t>(std::bit_width(index / firstBlock + 1)) - 1;
        return {block, index - firstBlock * ((size_t{1} << block) - 1)};
    }

    std::vector<std::unique_ptr<Cell[]>> cells_;
    size_t size_ = 0;
    std::vector<std::unique_ptr<char[]>> texts_;
    size_t textBlock_ = 128;   // the size of the last text block
    size_t used_ = 0;
};

class Dynaset final : public Recordset::Impl {
public:
    // Reads every row of `query`; then, unless `sortBy` is empty, puts the rows in
    // pinyin order of those columns.
    Dynaset(Statement& query, const std::vector<int>& sortBy)
    {
        sqlite3_stmt* stmt = query.handle();
        const int columns = query.columnCount();
        names.reserve(columns);
        for (int c = 0; c < columns; ++c) names.push_back(query.columnName(c));
        while (query.step()) {
            for (int c = 0; c < columns; ++c) {
                Cell& cell = cells_.append();
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER:
                case SQLITE_FLOAT:
                    cell.kind = Cell::Kind::Number;
                    cell.number = sqlite3_column_double(stmt, c);
                    break;
                case SQLITE_TEXT: {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                    cell.kind = Cell::Kind::Text;
                    cell.length = static_cast<quint32>(sqlite3_column_bytes(stmt, c));
                    cell.text = cells_.keep(text, cell.length);
                    break;
                }
                case SQLITE_BLOB: {
                    const char* data = static_cast<const char*>(sqlite3_column_blob(stmt, c));
                    cell.kind = Cell::Kind::Bytes;
                    blobs_.insert(cells_.size() - 1, QByteArray(data, sqlite3_column_bytes(stmt, c)));
                    break;
                }
                default:
                    break;
                }
            }
            ++rows_;
        }
        current_.resize(names.size());
        if (!sortBy.empty()) sortRows(sortBy);
    }

    bool eof() override { return rows_ == 0 || position_ >= rows_; }
    void moveFirst() override { position_ = 0; }
    void moveLast() override { position_ = rows_ - 1; }
    void moveNext() override
    {
        if (eof()) noCurrentRecord();
        ++position_;
    }
    int recordCount() override { return static_cast<int>(rows_); }

    const vb::Variant& value(int ordinal) override
    {
        const size_t place = currentField(ordinal);
        if (decodedRow_ != position_) {
            for (vb::Variant& field : current_) field = {};
            decoded_.assign(names.size(), false);
            decodedRow_ = position_;
        }
        if (!decoded_[ordinal]) {
            const Cell& cell = cells_[place];
            if (cell.kind == Cell::Kind::Number) current_[ordinal] = vb::Variant(cell.number);
            else if (cell.kind == Cell::Kind::Text) current_[ordinal] = vb::Variant(QString::fromUtf8(cell.text, cell.length));
            decoded_[ordinal] = true;
        }
        return current_[ordinal];
    }

    const QByteArray* blob(int ordinal) override
    {
        const auto found = blobs_.constFind(currentField(ordinal));
        return found == blobs_.cend() ? nullptr : &*found;
    }

private:
    // Where the current record's field `ordinal` is in cells_.
    size_t currentField(int ordinal)
    {
        if (eof() || position_ < 0) noCurrentRecord();
        const size_t row = order_.empty() ? static_cast<size_t>(position_) : order_[static_cast<size_t>(position_)];
        return row * names.size() + static_cast<size_t>(ordinal);
    }

    // SQLite's order of values (Null, numbers, texts, bytes) with texts in pinyin order.
    int compareFields(size_t a, size_t b) const
    {
        const Cell& x = cells_[a];
        const Cell& y = cells_[b];
        if (x.kind != y.kind) return x.kind < y.kind ? -1 : 1;
        if (x.kind == Cell::Kind::Number) return x.number < y.number ? -1 : (y.number < x.number ? 1 : 0);
        if (x.kind == Cell::Kind::Text)
            return PinyinCollation::compare(x.text, static_cast<int>(x.length), y.text, static_cast<int>(y.length));
        return 0;
    }

    int compareRows(size_t a, size_t b, const std::vector<int>& sortBy) const
    {
        for (int column : sortBy)
            if (const int order = compareFields(a * names.size() + column, b * names.size() + column)) return order;
        return 0;
    }

    void sortRows(const std::vector<int>& sortBy)
    {
        bool sorted = true;
        for (long r = 1; r < rows_ && sorted; ++r) sorted = compareRows(r - 1, r, sortBy) <= 0;
        if (sorted) return;
        order_.resize(static_cast<size_t>(rows_));
        std::iota(order_.begin(), order_.end(), size_t{0});
        std::stable_sort(order_.begin(), order_.end(),
                         [&](size_t a, size_t b) { return compareRows(a, b, sortBy) < 0; });
    }

    CellStore cells_;                          // row after row, names.size() a row
    QHash<size_t, QByteArray> blobs_;          // bytes of binary fields, by place in cells_
    long rows_ = 0;
    long position_ = 0;
    std::vector<size_t> order_;                // rows in pinyin order, when read otherwise

    std::vector<vb::Variant> current_;         // the fields of row decodedRow_ read so far
    std::vector<bool> decoded_;
    long decodedRow_ = -1;
};

}  // namespace

namespace {

// The ordinals of the result columns named by `columns` (names or numbers from 1), or
// nothing when one is not a single result column.
std::optional<std::vector<int>> resultColumns(const Statement& query, const QStringList& columns)
{
    std::vector<int> ordinals;
    for (const QString& column : columns) {
        bool isNumber = false;
        const int number = column.toInt(&isNumber);
        int found = isNumber && number >= 1 && number <= query.columnCount() ? number - 1 : -1;
        for (int c = 0; !isNumber && c < query.columnCount(); ++c) {
            if (query.columnName(c).compare(column, Qt::CaseInsensitive) != 0) continue;
            if (found >= 0) return std::nullopt;   // two columns of that name
            found = c;
        }
        if (found < 0) return std::nullopt;
        ordinals.push_back(found);
    }
    return ordinals;
}

// A translated query's reusable statement with its values bound, reset again when the
// rows have been read (or the reading failed).
class BoundQuery {
public:
    BoundQuery(Connection& connection, const QString& sql)
    {
        const dialect::ValueParameters query = dialect::valuesAsParameters(sql);
        statement_ = &connection.reusable(query.sql);
        for (qsizetype i = 0; i < query.values.size(); ++i)
            statement_->bind(static_cast<int>(i) + 1, vb::Variant(query.values[i]));
    }
    ~BoundQuery() { statement_->reset(); }
    BoundQuery(const BoundQuery&) = delete;
    BoundQuery& operator=(const BoundQuery&) = delete;

    Statement& statement() { return *statement_; }

private:
    Statement* statement_;
};

}  // namespace

std::unique_ptr<Recordset::Impl> openDynasetImpl(Connection& connection, const QString& sql)
{
    if (const std::optional<dialect::ReadOrder> order = dialect::readOrder(sql)) {
        BoundQuery query(connection, order->sql);
        if (const std::optional<std::vector<int>> sortBy = resultColumns(query.statement(), order->columns))
            return std::make_unique<Dynaset>(query.statement(), *sortBy);
    }
    BoundQuery query(connection, sql);
    return std::make_unique<Dynaset>(query.statement(), std::vector<int>{});
}

}  // namespace dao
