// The lists of the knowledge-base windows, filled from the database:
// - NameList: an entry window's list of stored names, bound to its data control, whose
//   record source is the whole table (or an SQL text) after a reset and the stored
//   query of the last search after a search;
// - PickList: the combos of a query window that share one data control and show one
//   column of an SQL text, re-read at every reset (the dictionary terms, the distinct
//   values of a column);
// - fillCombo: a combo's list refilled by code from a query's rows.
// A source without a row empties its list; a Null value adds no entry.
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
}

namespace reference {

// Points a data control at the database file, with its password, as a dynaset.
void bindToDatabase(forms::DataControl& data);

class NameList {
public:
    // `list` shows the column `column` of `data`'s records.
    NameList(forms::DataControl* data, forms::DBList* list, QString column);

    // Binds the data control to the database (once, when the window loads).
    void setUp();
    // Reads `source` (a table, an SQL text or a stored query) into the list; returns
    // the number of rows.
    int show(const QString& source);

private:
    forms::DataControl* data_;
    forms::DBList* list_;
    QString column_;
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
// values left out; the text typed into the combo is cleared too.
void fillCombo(forms::ComboBox& combo, dao::Recordset& rows);

}  // namespace reference
