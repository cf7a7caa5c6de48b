// Table-type recordsets: one table walked in stored (rowid) order or in the order of a
// named index, one row read at a time by its rowid, seeks on the index, and adding,
// editing and deleting rows. The walk order is a list of rowids: an index's read when
// a move first needs it, the stored order's as the walk goes; adding or re-keying a
// row only marks it stale. A walk reads the rows ahead of it a block at a time (one
// statement, one read of the file's lock for the block), blocks growing as the walk
// goes on; read-ahead rows are dropped as soon as anything writes through the
// connection. Statements are prepared once per recordset, so a loop of seeks and adds
// costs little more than the prepared SQLite statements underneath. See
// recordset_impl.h.
#include "platform/dao/connection.h"
#include "platform/dao/recordset_impl.h"
#include "platform/vb/conversions.h"

#include <QHash>
#include <algorithm>

namespace dao {

namespace {

// One record as a table recordset holds it: the values, and the bytes of binary columns.
struct Row {
    std::vector<vb::Variant> values;
    QHash<int, QByteArray> blobs;
};

// Number columns take texts as numbers the way the runtime reads them ("1,250.00" is
// 1250; a blank text leaves the column empty); dates as their day numbers.
vb::Variant forNumberColumn(const vb::Variant& value)
{
    if (value.type() == vb::Variant::Type::Date) return value.toDouble();
    if (value.type() != vb::Variant::Type::Text) return value;
    if (value.toString().trimmed().isEmpty()) return {};
    if (!vb::IsNumeric(value))
        throw Error(3421, QStringLiteral("数据类型转换错误：“%1”不是数字。").arg(value.toString()));
    return vb::CDbl(value);
}

vb::Variant forTextColumn(const vb::Variant& value)
{
    if (value.type() == vb::Variant::Type::Number || value.type() == vb::Variant::Type::Currency)
        return value.toString();
    return value;
}

class TableRecordset final : public Recordset::Impl {
public:
    TableRecordset(std::shared_ptr<Connection> connection, const QString& table)
        : connection_(std::move(connection))
    {
        Statement find(db(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
        find.bind(1, table);
        if (!find.step()) throw Error(3078, QStringLiteral("找不到输入表“%1”。").arg(table));
        table_ = find.value(0).toString();

        Statement info(db(), QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(table_)));
        while (info.step()) {
            names.push_back(info.value(1).toString());
            const QString type = info.value(2).toString().toUpper();
            numberColumn_.push_back(type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("INT"))
                                    || type.contains(QLatin1String("NUM")));
        }
    }

    // ---- position

    bool eof() override
    {
        positionAtStart();
        return state_ == State::AfterLast || state_ == State::Empty;
    }

    void moveFirst() override
    {
        loadOrder();
        walkFrom(0, +1);
    }

    void moveLast() override
    {
        completeOrder();
        walkFrom(static_cast<long>(order_.size()) - 1, -1);
    }

    void moveNext() override
    {
        positionAtStart();
        if (state_ == State::AfterLast || state_ == State::Empty || state_ == State::Lost) noCurrentRecord();
        if (state_ == State::BeforeFirst) return moveFirst();
        locate();
        walkFrom(state_ == State::Removed ? position_ : position_ + 1, +1);
    }

    int recordCount() override
    {
        Statement count(db(), QStringLiteral("SELECT count(*) FROM %1").arg(quoteName(table_)));
        count.step();
        return static_cast<int>(count.value(0).toDouble());
    }

    // ---- index and seek

    void setIndex(const QString& indexName) override
    {
        const QString physical = table_ + u'_' + indexName;
        Statement find(db(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' "
                                            "AND tbl_name=? COLLATE NOCASE AND name=? COLLATE NOCASE"));
        find.bind(1, table_);
        find.bind(2, physical);
        if (!find.step())
            throw Error(3800, QStringLiteral("“%1”不是表“%2”的索引。").arg(indexName, table_));

        indexColumns_.clear();
        Statement info(db(), QStringLiteral("PRAGMA index_info(%1)").arg(quoteName(find.value(0).toString())));
        while (info.step()) indexColumns_.push_back(ordinalOf(info.value(2).toString()));
        for (auto& statement : seekStatements_) statement.reset();
        for (auto& statement : probeStatements_) statement.reset();
        pendingKeys_.clear();
        orderFresh_ = false;
        state_ = State::Initial;
        mode_ = Mode::None;
    }

    void seek(const QString& op, std::span<const vb::Variant* const> keys) override
    {
        if (op.trimmed() != QLatin1String("="))
            throw Error(3251, QStringLiteral("只支持用“=”查找索引。"));
        if (indexColumns_.empty()) throw Error(3019, QStringLiteral("查找之前没有设置当前索引。"));
        if (keys.size() > indexColumns_.size())
            throw Error(3251, QStringLiteral("查找的关键字多于索引的字段。"));
        mode_ = Mode::None;
        aheadSize_ = FirstBlock;
        // With fewer keys than the index has columns, a match is first only probed
        // for: which of the matching rows comes first in the walk (an ordering that
        // needs a sort) is settled when the row is used, not for a noMatch test.
        const bool partial = keys.size() < indexColumns_.size();
        Statement& statement = partial ? probeStatement(keys.size()) : seekStatement(keys.size());
        for (size_t k = 0; k < keys.size(); ++k) statement.bind(static_cast<int>(k) + 1, *keys[k]);
        noMatch_ = !statement.step();
        if (noMatch_) {
            state_ = State::Lost;
        } else {
            rowid_ = sqlite3_column_int64(statement.handle(), 0);
            rowRead_ = false;
            state_ = State::OnRow;
            position_ = -1;
            if (partial) {
                pendingKeys_.clear();
                for (const vb::Variant* key : keys) pendingKeys_.push_back(*key);
            }
        }
        statement.reset();
        if (noMatch_ || !partial) pendingKeys_.clear();
    }

    bool noMatch() const override { return noMatch_; }

    // ---- editing

    void addNew() override
    {
        buffer_.values.assign(names.size(), vb::Variant());   // keeps the buffer's room
        buffer_.blobs.clear();
        mode_ = Mode::Adding;
    }

    void edit() override
    {
        buffer_ = currentRow();
        mode_ = Mode::Editing;
    }

    void setField(int ordinal, const vb::Variant& value) override
    {
        requireEditing();
        buffer_.values[ordinal] = numberColumn_[ordinal] ? forNumberColumn(value) : forTextColumn(value);
        buffer_.blobs.remove(ordinal);
    }

    void setFieldBytes(int ordinal, const QByteArray& bytes) override
    {
        requireEditing();
        buffer_.values[ordinal] = {};
        buffer_.blobs.insert(ordinal, bytes);
    }

    void update() override
    {
        requireEditing();
        if (mode_ == Mode::Adding) {
            Statement& insert = prepared(insert_, [this] { return insertSql(); });
            bindRow(insert, buffer_, 1);
            ownWrite(insert, 0);
            // In stored order the new row comes last: a walk that has not read its
            // whole order yet meets it there anyway.
            if (indexColumns_.empty() && orderFresh_) {
                if (orderComplete_) order_.push_back(sqlite3_last_insert_rowid(db()));
            } else {
                orderFresh_ = false;
            }
        } else {
            Statement& change = prepared(update_, [this] { return updateSql(); });
            bindRow(change, buffer_, 1);
            change.bind(static_cast<int>(names.size()) + 1, static_cast<double>(rowid_));
            ownWrite(change, rowid_);
            for (int column : indexColumns_)
                if (!(buffer_.values[column] == row_.values[column])) orderFresh_ = false;
            row_ = buffer_;
        }
        mode_ = Mode::None;
    }

    void remove() override
    {
        if (!onRow()) noCurrentRecord();
        // The row's place in the walk is found first (a seek or an added row leaves it
        // unknown), so the next move lands on its neighbour.
        locate();
        Statement& erase = prepared(delete_, [this] {
            return QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(quoteName(table_));
        });
        erase.bind(1, static_cast<double>(rowid_));
        ownWrite(erase, rowid_);
        mode_ = Mode::None;
        order_.erase(order_.begin() + position_);
        if (position_ < aheadFirst_) --aheadFirst_;
        else if (position_ < aheadFirst_ + static_cast<long>(ahead_.size())) ahead_.erase(ahead_.begin() + (position_ - aheadFirst_));
        state_ = State::Removed;
    }

    const vb::Variant& value(int ordinal) override { return current().values[ordinal]; }

    const QByteArray* blob(int ordinal) override
    {
        const Row& row = current();
        const auto found = row.blobs.constFind(ordinal);
        return found == row.blobs.cend() ? nullptr : &*found;
    }

private:
    // Removed: the current row was deleted and position_ is its successor's place.
    enum class State { Initial, OnRow, BeforeFirst, AfterLast, Empty, Removed, Lost };
    enum class Mode { None, Adding, Editing };
    // A row read ahead of the walk, for one place of it.
    struct Ahead {
        enum State { Unread, Present, Gone };   // Unread: taken by the walk, or dropped
        qint64 rowid = 0;
        State state = Unread;
        Row row;
    };

    sqlite3* db() const { return connection_->handle(); }
    long orderSize() const { return static_cast<long>(order_.size()); }

    const Row& current()
    {
        return mode_ != Mode::None ? buffer_ : currentRow();
    }

    const Row& currentRow()
    {
        if (!onRow()) noCurrentRecord();
        settleSeek();
        if (!rowRead_) {
            // A seek finds the row's place only; its fields are read when first asked for.
            Statement& fetch = fetchStatement();
            fetch.bind(1, static_cast<double>(rowid_));
            const bool found = fetch.step();
            if (found) readRow(fetch, 0, row_);
            fetch.reset();
            if (!found) noCurrentRecord();
            rowRead_ = true;
        }
        return row_;
    }

    bool onRow()
    {
        positionAtStart();
        return state_ == State::OnRow;
    }

    void requireEditing() const
    {
        if (mode_ == Mode::None)
            throw Error(3020, QStringLiteral("在调用 Update 之前没有调用 AddNew 或 Edit。"));
    }

    // A table recordset starts on its first row; the walk order is read only then.
    void positionAtStart()
    {
        if (state_ == State::Initial) moveFirst();
    }

    // The walk order: the index's columns, texts in pinyin order (the file's indexes
    // compare without case only, so a reader needs nothing of ours), rows with equal
    // keys in rowid order; or rowid.
    QString orderBy() const
    {
        QStringList terms = orderTerms(indexColumns_.begin(), indexColumns_.end());
        terms << QStringLiteral("rowid");
        return terms.join(u',');
    }

    template <class It>
    QStringList orderTerms(It first, It last) const
    {
        QStringList terms;
        for (It column = first; column != last; ++column)
            terms << quoteName(names[*column]) + (numberColumn_[*column] ? QString() : QStringLiteral(" COLLATE PINYIN"));
        return terms;
    }

    // The walk order of an index, read whole; in stored order it is read as the walk
    // goes (see extendOrder), so a walk reads the table once.
    void loadOrder()
    {
        if (orderFresh_) return;
        order_.clear();
        orderComplete_ = !indexColumns_.empty();
        if (orderComplete_) {
            Statement all(db(), QStringLiteral("SELECT rowid FROM %1 ORDER BY %2").arg(quoteName(table_), orderBy()));
            while (all.step()) order_.push_back(sqlite3_column_int64(all.handle(), 0));
        }
        orderFresh_ = true;
        position_ = -1;
        ahead_.clear();
        aheadSize_ = FirstBlock;
    }

    // The rest of a stored-order walk's rowids, for the moves that need all of them.
    void completeOrder()
    {
        loadOrder();
        if (orderComplete_) return;
        Statement rest(db(), QStringLiteral("SELECT rowid FROM %1 WHERE rowid>? ORDER BY rowid").arg(quoteName(table_)));
        rest.bind(1, lastKnownRowid());
        while (rest.step()) order_.push_back(sqlite3_column_int64(rest.handle(), 0));
        orderComplete_ = true;
    }

    double lastKnownRowid() const { return order_.empty() ? -1e300 : static_cast<double>(order_.back()); }

    // Reads the next block of a stored-order walk whose order is not read whole yet:
    // the rows after the last rowid known, their rowids added to the order. False when
    // there was none.
    bool extendOrder()
    {
        if (orderComplete_) return false;
        Statement& next = prepared(nextBlock_, [this] {
            return QStringLiteral("SELECT rowid,* FROM %1 WHERE rowid>? ORDER BY rowid LIMIT ?").arg(quoteName(table_));
        });
        next.bind(1, lastKnownRowid());
        next.bind(2, static_cast<double>(aheadSize_));
        aheadFirst_ = orderSize();
        ahead_.resize(static_cast<size_t>(aheadSize_));
        size_t read = 0;
        for (; next.step(); ++read) {
            Ahead& slot = ahead_[read];
            slot.rowid = sqlite3_column_int64(next.handle(), 0);
            readRow(next, 1, slot.row);
            slot.state = Ahead::Present;
            order_.push_back(slot.rowid);
        }
        next.reset();
        orderComplete_ = read < static_cast<size_t>(aheadSize_);
        ahead_.resize(read);
        aheadSize_ = std::min(aheadSize_ * 2, LastBlock);
        aheadStamp_ = connection_->changeCount();
        return read > 0;
    }

    // Finds the current row in a freshly read walk order.
    void locate()
    {
        if (state_ == State::OnRow) settleSeek();
        const bool wasFresh = orderFresh_;
        loadOrder();
        if (wasFresh && position_ >= 0 && position_ < orderSize() && order_[position_] == rowid_) return;
        if (state_ != State::OnRow) {
            if (state_ == State::Removed && !wasFresh) noCurrentRecord();
            return;
        }
        completeOrder();
        const auto found = std::find(order_.begin(), order_.end(), rowid_);
        if (found == order_.end()) noCurrentRecord();
        position_ = found - order_.begin();
    }

    // Reads the row at `from`, skipping rows deleted through other handles, in
    // direction `step`; past either end the recordset stands at EOF or BOF.
    void walkFrom(long from, int step)
    {
        mode_ = Mode::None;
        pendingKeys_.clear();
        if (connection_->changeCount() != aheadStamp_) ahead_.clear();
        for (long p = from; p >= 0; p += step) {
            if (p >= orderSize() && !(step > 0 && extendOrder())) break;
            Ahead* slot = aheadAt(p);
            if (!slot) {
                readAhead(p, step);
                slot = aheadAt(p);
            }
            const bool present = slot->state == Ahead::Present;
            if (present) std::swap(row_, slot->row);   // the slot keeps row_'s room for a later block
            slot->state = Ahead::Unread;
            if (present) {
                position_ = p;
                rowid_ = order_[p];
                rowRead_ = true;
                state_ = State::OnRow;
                return;
            }
        }
        state_ = order_.empty() ? State::Empty : (step > 0 ? State::AfterLast : State::BeforeFirst);
        position_ = step > 0 ? orderSize() : -1;
    }

    // The row read ahead for place `p` of the walk, or null.
    Ahead* aheadAt(long p)
    {
        const long k = p - aheadFirst_;
        if (k < 0 || k >= static_cast<long>(ahead_.size())) return nullptr;
        Ahead& slot = ahead_[k];
        return slot.state != Ahead::Unread && slot.rowid == order_[p] ? &slot : nullptr;
    }

    // Reads the rows of the next block of the walk from `from` in direction `step`; a
    // row it does not find was deleted and is marked gone.
    void readAhead(long from, int step)
    {
        const long first = step > 0 ? from : std::max(0L, from - aheadSize_ + 1);
        const long last = step > 0 ? std::min(orderSize(), from + aheadSize_) - 1 : from;
        aheadSize_ = std::min(aheadSize_ * 2, LastBlock);
        aheadFirst_ = first;
        ahead_.resize(last - first + 1);
        std::vector<std::pair<qint64, int>> byRowid;   // the block's slots by rowid
        for (long p = first; p <= last; ++p) {
            ahead_[p - first].rowid = order_[p];
            ahead_[p - first].state = Ahead::Gone;
            byRowid.emplace_back(order_[p], static_cast<int>(p - first));
        }
        std::sort(byRowid.begin(), byRowid.end());
        Statement& block = blockStatement();
        if (indexColumns_.empty()) {
            // The stored order is the rowid order: the block is a range of rowids.
            block.bind(1, static_cast<double>(byRowid.front().first));
            block.bind(2, static_cast<double>(byRowid.back().first));
        } else {
            for (size_t k = 0; k < byRowid.size(); ++k) block.bind(static_cast<int>(k) + 1, static_cast<double>(byRowid[k].first));
        }
        while (block.step()) {
            const qint64 rowid = sqlite3_column_int64(block.handle(), 0);
            const auto found = std::lower_bound(byRowid.begin(), byRowid.end(), std::pair<qint64, int>(rowid, 0));
            if (found == byRowid.end() || found->first != rowid) continue;
            Ahead& slot = ahead_[found->second];
            readRow(block, 1, slot.row);
            slot.state = Ahead::Present;
        }
        block.reset();
        aheadStamp_ = connection_->changeCount();
    }

    // The rows of one block: a rowid range in stored order, a list of rowids in an
    // index's order (the places left over stay Null and match nothing).
    Statement& blockStatement()
    {
        return prepared(indexColumns_.empty() ? rangeBlock_ : listBlock_, [this] {
            if (indexColumns_.empty())
                return QStringLiteral("SELECT rowid,* FROM %1 WHERE rowid BETWEEN ? AND ?").arg(quoteName(table_));
            QStringList marks;
            for (int k = 0; k < LastBlock; ++k) marks << QStringLiteral("?");
            return QStringLiteral("SELECT rowid,* FROM %1 WHERE rowid IN (%2)").arg(quoteName(table_), marks.join(u','));
        });
    }

    // Runs one of this recordset's own writes, which changes the row `rowid` only: the
    // rows read ahead stay good, that one dropped, if nothing else wrote since.
    void ownWrite(Statement& write, qint64 rowid)
    {
        const bool aheadGood = connection_->changeCount() == aheadStamp_;
        write.step();
        write.reset();
        const qint64 written = rowid ? rowid : sqlite3_last_insert_rowid(db());
        for (Ahead& slot : ahead_)
            if (slot.rowid == written) slot.state = Ahead::Unread;
        if (aheadGood) aheadStamp_ = connection_->changeCount();
    }

    void readRow(const Statement& statement, int first, Row& row) const
    {
        row.values.resize(names.size());
        if (!row.blobs.isEmpty()) row.blobs.clear();   // clearing an empty hash costs a detach
        QByteArray bytes;
        for (size_t c = 0; c < names.size(); ++c)
            if (statement.read(first + static_cast<int>(c), row.values[c], bytes)) row.blobs.insert(static_cast<int>(c), bytes);
    }

    void bindRow(Statement& statement, const Row& row, int first) const
    {
        for (size_t c = 0; c < names.size(); ++c) {
            const int position = first + static_cast<int>(c);
            if (row.blobs.contains(static_cast<int>(c))) statement.bindBytes(position, row.blobs.value(static_cast<int>(c)));
            else statement.bind(position, row.values[c]);
        }
    }

    Statement& fetchStatement()
    {
        return prepared(fetch_, [this] { return QStringLiteral("SELECT * FROM %1 WHERE rowid=?").arg(quoteName(table_)); });
    }

    // The statement in `slot`, prepared from `sql()` the first time only: a loop of
    // moves and adds builds no SQL text.
    template <class Sql>
    Statement& prepared(std::unique_ptr<Statement>& slot, const Sql& sql)
    {
        if (!slot) slot = std::make_unique<Statement>(db(), sql());
        return *slot;
    }

    // The row a partial seek found first in the walk, once it is needed.
    void settleSeek()
    {
        if (pendingKeys_.empty()) return;
        Statement& statement = seekStatement(pendingKeys_.size());
        for (size_t k = 0; k < pendingKeys_.size(); ++k) statement.bind(static_cast<int>(k) + 1, pendingKeys_[k]);
        const bool found = statement.step();
        if (found) rowid_ = sqlite3_column_int64(statement.handle(), 0);
        statement.reset();
        pendingKeys_.clear();
        if (!found) noCurrentRecord();
    }

    // Whether any row has the leading index columns equal to the keys.
    Statement& probeStatement(size_t keyCount)
    {
        auto& slot = probeStatements_[keyCount];
        if (!slot) {
            QStringList conditions;
            for (size_t k = 0; k < keyCount; ++k) conditions << quoteName(names[indexColumns_[k]]) + QStringLiteral("=?");
            slot = std::make_unique<Statement>(
                db(), QStringLiteral("SELECT rowid FROM %1 WHERE %2 LIMIT 1").arg(quoteName(table_), conditions.join(QStringLiteral(" AND "))));
        }
        return *slot;
    }

    Statement& seekStatement(size_t keyCount)
    {
        auto& slot = seekStatements_[keyCount];
        if (!slot) {
            // The first match in walk order: the keyed columns are equal, so only the
            // index's further columns and the rowid order the candidates.
            QStringList conditions;
            for (size_t k = 0; k < keyCount; ++k) conditions << quoteName(names[indexColumns_[k]]) + QStringLiteral("=?");
            QStringList further = orderTerms(indexColumns_.begin() + static_cast<long>(keyCount), indexColumns_.end());
            further << QStringLiteral("rowid");
            const QString order = QStringLiteral(" ORDER BY ") + further.join(u',');
            slot = std::make_unique<Statement>(
                db(), QStringLiteral("SELECT rowid FROM %1 WHERE %2%3 LIMIT 1")
                          .arg(quoteName(table_), conditions.join(QStringLiteral(" AND ")), order));
        }
        return *slot;
    }

    QString insertSql() const
    {
        QStringList columns, marks;
        for (const QString& name : names) {
            columns << quoteName(name);
            marks << QStringLiteral("?");
        }
        return QStringLiteral("INSERT INTO %1(%2) VALUES(%3)").arg(quoteName(table_), columns.join(u','), marks.join(u','));
    }

    QString updateSql() const
    {
        QStringList assignments;
        for (const QString& name : names) assignments << quoteName(name) + QStringLiteral("=?");
        return QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(quoteName(table_), assignments.join(u','));
    }

    std::shared_ptr<Connection> connection_;
    QString table_;
    std::vector<bool> numberColumn_;
    std::vector<int> indexColumns_;            // ordinals of the current index's columns

    std::vector<qint64> order_;                // rowids in walk order
    bool orderFresh_ = false;
    bool orderComplete_ = true;                // false: a stored-order walk's rowids up to where it has read
    long position_ = -1;                       // of the current row in order_, -1 unknown
    State state_ = State::Initial;
    qint64 rowid_ = 0;
    Row row_;
    bool rowRead_ = true;                      // false: row_ is not the current row's yet
    bool noMatch_ = false;

    Mode mode_ = Mode::None;
    Row buffer_;

    static constexpr int FirstBlock = 4;
    static constexpr int LastBlock = 256;
    // Rows of the walk read ahead, for the places from aheadFirst_ on, good while the
    // connection's count of changes is the stamp.
    std::vector<Ahead> ahead_;
    long aheadFirst_ = 0;
    qint64 aheadStamp_ = -1;
    int aheadSize_ = FirstBlock;

    std::unique_ptr<Statement> fetch_, insert_, update_, delete_, rangeBlock_, listBlock_, nextBlock_;
    std::unique_ptr<Statement> seekStatements_[4];
    std::unique_ptr<Statement> probeStatements_[4];
    std::vector<vb::Variant> pendingKeys_;     // a partial seek's keys until its row is settled
};

}  // namespace

std::unique_ptr<Recordset::Impl> openTableImpl(std::shared_ptr<Connection> connection, const QString& table)
{
    return std::make_unique<TableRecordset>(std::move(connection), table);
}

}  // namespace dao
