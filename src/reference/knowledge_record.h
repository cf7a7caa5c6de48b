// The record side of a knowledge-base entry window (herbs, formulas, diagnoses, patent
// medicines, western drugs): which column of the table each input control holds, and
// the road every such window takes through its table, on the key's named index:
//
// - the key is sought as typed or loaded (trimmed) and, when that is absent, in the
//   form it is stored (NormalizeText, where the window normalises its key column):
//   imported rows keep their keys as the copy they came from stored them, so a row
//   loaded with `重,复` is the one edited or deleted even when `重，复` is stored too,
//   and a name typed half-width still finds its normalised row;
// - add writes a new row only when both are absent; edit and delete act on the row
//   found; each tells the window what it did, and the window shows the way on;
// - the inputs are written through NormalizeText (or trimmed only, where a window
//   stores a column unchanged), the entered-by column gets EnteredBy();
// - a row loads into the inputs as stored, a column without a value as an empty box.
//
// The writing operations work on a database the caller opened (the window's write
// routine, in one transaction); the loads open their own. Database errors reach the
// caller's error trap.
#pragma once

#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace dao {
class Database;
class Recordset;
}

namespace forms {
class ComboBox;
class Control;
class TextBox;
}

namespace reference {

// LoginUser when it is not blank after trimming, OwnerName otherwise.
QString EnteredBy();

// An input control of an entry window: a text box or an editable combo.
using Input = std::variant<forms::TextBox*, forms::ComboBox*>;
QString textOf(const Input& input);
QString trimmedTextOf(const Input& input);
void setTextOf(const Input& input, const QString& text);
forms::Control* controlOf(const Input& input);

struct BoundColumn {
    int ordinal;
    Input input;
    bool normalized = true;      // false: stored trimmed, otherwise unchanged
    bool rewrittenOnEdit = true; // false: written by add only (a key column that edit keeps)
};

class KnowledgeRecord {
public:
    enum class Outcome { Added, Edited, Deleted, AlreadyStored, NotFound };

    static constexpr int NoEnteredBy = -1;   // a table whose entered-by column this window leaves unset

    // `keyInput` is the input of the key column, which is one of `columns`.
    KnowledgeRecord(QString table, QString keyIndex, Input keyInput, std::vector<BoundColumn> columns,
                    int enteredByOrdinal);
    // A key of several columns (name and symptoms), sought together on `keyIndex`.
    KnowledgeRecord(QString table, QString keyIndex, std::vector<Input> keyInputs, std::vector<BoundColumn> columns,
                    int enteredByOrdinal);

    Outcome add(dao::Database& db) const;
    Outcome edit(dao::Database& db) const;
    Outcome remove(dao::Database& db) const;
    // Loads the row whose key is `key` (sought as add does; a one-column key) into the
    // inputs; when there is none the inputs stay unchanged.
    void loadByKey(const QString& key) const;
    // Loads the current row of `row` into the inputs.
    void load(const dao::Recordset& row) const;
    // Empties every input.
    void clear() const;

private:
    dao::Recordset openSought(dao::Database& db, const QStringList& keys) const;
    dao::Recordset openSought(dao::Database& db) const;
    void store(dao::Recordset& row, bool editing) const;

    QString table_;
    QString keyIndex_;
    std::vector<Input> keyInputs_;
    bool keyNormalized_ = false;     // the key column is stored through NormalizeText
    std::vector<BoundColumn> columns_;
    int enteredByOrdinal_;
};

}  // namespace reference
