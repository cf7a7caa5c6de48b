// The lists of the knowledge-base windows, filled from the database:
// - NameList: an entry window's list of stored names: either a list bound to a data
//   control, whose record source is the whole table after a reset and the SQL text of
//   the last search after a search, or a list box filled by code with column 0 of each
//   row (trimmed), read through a stored query;
// - PickList: the combos of a query window that share one data control and show one
//   column of an SQL text, re-read at every reset (the dictionary terms, the distinct
//   values of a column);
// - fillCombo: a combo's list refilled by code from a query's rows.
// A source without a row empties its list (a search's may leave it as it was); a Null
// value adds no entry to a combo unless the window lists it as an empty text.
#pragma once

#include <QString>
#include <initializer_list>
#include <vector>

namespace dao { class Recordset; }

namespace forms {
class ComboBox;
class DataControl;
class DBCombo;
class DBList;
class ListBox;
}

namespace reference {

// Points a data control at the database file, with its password, as a dynaset.
void bindToDatabase(forms::DataControl& data);

class NameList {
public:
    // `list` shows the column `column` of `data`'s records.
    NameList(forms::DataControl* data, forms::DBList* list, QString column);
    // `list` is filled by code.
    explicit NameList(forms::ListBox* list);

    // Binds a bound list's data control to the database (once, when the window loads).
    void setUp();
    // Reads `sql` (a table name or an SQL text; stored as `query` where the list is
    // filled by code) into the list; returns the number of rows. With `keepWhenEmpty`
    // a source without rows leaves the list as it was.
    int show(const QString& query, const QString& sql, bool keepWhenEmpty = false);

private:
    forms::DataControl* data_ = nullptr;
    forms::DBList* bound_ = nullptr;
    forms::ListBox* filled_ = nullptr;
    QString column_;
    QString shown_;   // the bound list's source now
};

class PickList {
public:
    PickList(forms::DataControl* data, QString sql, QString column, std::initializer_list<forms::DBCombo*> combos);

    // Sets the source and re-reads it; the combos, bound to its column from the
    // start, follow it.
    void refill();

private:
    forms::DataControl* data_;
    QString sql_;
    QString column_;
    std::vector<forms::DBCombo*> combos_;
};

// Replaces the list of `combo` with column 0 of every row of `rows`, trimmed, Null
// values left out (or listed as empty texts); the combo's text stays.
void fillCombo(forms::ComboBox& combo, dao::Recordset& rows, bool nullAsEmpty = false);

}  // namespace reference
