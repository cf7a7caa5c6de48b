// The plain side of the knowledge-base window benchmarks: what a competent Qt
// programmer writes to show the same texts as a query window. Its dictionaries are
// rebuilt on one SQLite connection (one transaction, the terms not added yet answered
// from memory, a prepared insert); its pick lists are combo boxes, those of one list
// sharing one string list model; its grid is a table view over a plain table model;
// every list and the grid are filled from prepared statements, each model reset once.
#pragma once

#include "plain_connection.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QStringListModel>
#include <QTableView>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

namespace bench {

// A dictionary rebuilt from the texts `source` selects.
struct PlainDictionary {
    const char* source;
    const char* insert;
    const dictionary::TermSplitter& splitter;
    const char* table;
};

// A pick list: a SELECT of one column, in the order shown, and how many combo boxes
// show it.
struct PlainList {
    const char* sql;
    int combos;
};

// The rows of one SELECT, every text trimmed.
class PlainTable : public QAbstractTableModel {
public:
    std::vector<QStringList> rows;
    int columns = 0;

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : static_cast<int>(rows.size()); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : columns; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(rows[index.row()][index.column()]) : QVariant();
    }
    void refill(sqlite3* db, const QByteArray& sql)
    {
        beginResetModel();
        rows.clear();
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr);
        columns = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList& row = rows.emplace_back();
            for (int c = 0; c < columns; ++c) row << textOf(statement, c);
        }
        sqlite3_finalize(statement);
        endResetModel();
    }
    static QString textOf(sqlite3_stmt* statement, int column)
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(statement, column)).trimmed();
    }
};

// The lists of combo boxes in one order whatever order the boxes come in, each list
// followed by "--".
inline QStringList joinedLists(std::vector<QStringList> lists)
{
    std::sort(lists.begin(), lists.end());
    QStringList texts;
    for (const QStringList& list : lists) texts << list << QStringLiteral("--");
    return texts;
}

// A shown window of combo boxes and a table view, the size of the window it stands for.
class PlainWindow {
public:
    PlainWindow(std::vector<PlainDictionary> dictionaries, std::vector<PlainList> lists, QByteArray gridSql,
                const QSize& size)
        : dictionaries_(std::move(dictionaries)), lists_(std::move(lists)), gridSql_(std::move(gridSql)),
          models_(lists_.size())
    {
        auto* layout = new QVBoxLayout(&widget_);
        for (size_t k = 0; k < lists_.size(); ++k)
            for (int copy = 0; copy < lists_[k].combos; ++copy) {
                auto* combo = new QComboBox;
                combo->setModel(&models_[k]);   // the combos of one list share its model
                layout->addWidget(combo);
            }
        auto* view = new QTableView;
        view->setModel(&grid_);
        layout->addWidget(view);
        widget_.resize(size);
        widget_.show();
    }

    void open(sqlite3* db)
    {
        rebuild(db);
        fill(db);
    }

    void rebuild(sqlite3* db)
    {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const PlainDictionary& dictionary : dictionaries_) {
            sqlite3_exec(db, (QByteArray("DELETE FROM ") + dictionary.table).constData(), nullptr, nullptr, nullptr);
            addTermsPlain(db, dictionary.source, dictionary.insert, dictionary.splitter);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }

    // Every list, then the grid, then the events that show them.
    void fill(sqlite3* db)
    {
        for (size_t k = 0; k < lists_.size(); ++k) {
            QStringList items;
            sqlite3_stmt* statement = nullptr;
            sqlite3_prepare_v2(db, lists_[k].sql, -1, &statement, nullptr);
            while (sqlite3_step(statement) == SQLITE_ROW)
                if (sqlite3_column_type(statement, 0) != SQLITE_NULL) items << PlainTable::textOf(statement, 0);
            sqlite3_finalize(statement);
            models_[k].setStringList(items);
        }
        grid_.refill(db, gridSql_);
        QCoreApplication::processEvents();
    }

    // Every combo box's list (joinedLists), then every cell of the grid row by row.
    QStringList shown() const
    {
        std::vector<QStringList> lists;
        for (size_t k = 0; k < lists_.size(); ++k) lists.insert(lists.end(), lists_[k].combos, models_[k].stringList());
        QStringList texts = joinedLists(std::move(lists));
        for (const QStringList& row : grid_.rows) texts << row;
        return texts;
    }

private:
    std::vector<PlainDictionary> dictionaries_;
    std::vector<PlainList> lists_;
    QByteArray gridSql_;
    QWidget widget_;
    std::vector<QStringListModel> models_;
    PlainTable grid_;
};

}  // namespace bench
