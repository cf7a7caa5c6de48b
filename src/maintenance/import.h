// The import of one table from another copy of the system's database: for every
// record of the source table the key is sought in the system's own table, and the
// record is added when the key is absent; nothing is changed or deleted in either
// file. The seven tables that can be imported are the members of one table
// (importMembers), and one procedure runs them all.
//
// One import is one transaction on the system's file: an error part-way adds
// nothing. The source is opened read-only, its table's layout is checked before
// anything is written, and its records are read one at a time, so a source of
// millions of visits needs no more memory than a few. A record is present when the
// target (with what the run itself added) holds its key in any stored form that
// trims to the source's trimmed key; the added row keeps the key as the source
// stores it, so importing the same source again adds nothing. An error that stops a
// run names the table and the record's key. A record
// whose sought key holds a Null is skipped (for visits: a Null record number).
//
// Visits are matched in two steps: a visit whose record number the system held
// before the run is skipped (that number may belong to another person elsewhere);
// for any other record number each visit whose full key (record number,
// department, date) is absent is added. Visits come in the older layout of eight
// columns or in the current one of twelve.
#pragma once

#include <QString>
#include <vector>

namespace maintenance {

struct ImportMember {
    enum class Password { System, Import };
    // How the source's columns become the target's: column for column; the first
    // four of a diagnosis and a fixed entered-by name; a visit in either layout.
    enum class Layout { SameColumns, Diagnoses, Visits };

    QString menuItem;      // the item of the import window's pop-up menu
    QString caption;
    QString table;         // the same name in both files
    QString index;         // the target's named index sought
    int keyColumns;        // leading columns that form the key
    Password password;     // the source file's password
    Layout layout;
    bool locksMenuButton;  // the import menu's button is disabled while it runs
};

// The seven, in the order of the import window's menu.
const std::vector<ImportMember>& importMembers();

// The entered-by name that every imported diagnosis carries.
QString importedDiagnosisAuthor();

// What an import shows while its record loop runs.
class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    // The loop starts: the source table holds records.
    virtual void started(const ImportMember& member) = 0;
    // After each record: 100 / count × records done, in single precision.
    virtual void advanced(float percent) = 0;
    // The loop has ended and its work is stored.
    virtual void finished(const ImportMember& member) = 0;
};

// The percentage as the progress label shows it: rounded half to even (12.5 gives
// 12, 37.5 gives 38), then written after one blank and followed by "%" (" 12%").
int wholePercent(float percent);
QString percentCaption(int wholePercent);

// Imports `member`'s table from `sourcePath` into the database at `databasePath`;
// returns the number of records added. Throws dao::Error (nothing added) for any
// failure: a file that does not open, a table missing or of another layout, a value
// the target refuses.
int importTable(const ImportMember& member, const QString& databasePath, const QString& sourcePath,
                ImportProgress& progress);

}  // namespace maintenance
