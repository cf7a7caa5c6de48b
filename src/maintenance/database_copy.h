// Backup and restore of the database file, always through SQLite and under its locks,
// since other programs (a second copy, another workstation) may have the file open:
// a backup writes the file's stored bytes, read under a read lock held for the whole
// copy, to a temporary file beside the target, flushed and then renamed (platform
// win/filecopy.h), so it is one consistent state and a failure leaves the target as
// it was. A restore proves the chosen file a sound database of this system (it opens
// with the system's password, passes SQLite's structure check, and holds the whole
// format of data/schema.h: every table, every column's declaration, exactly the named
// indexes with their collations, and no trigger or view) and writes it into the
// program's held connection: all or nothing through the file's own journal, refused
// while another program holds the file, and taking effect only once the file is
// proven (the structure check runs while the pages are copied). The check and the
// copy read one state of the chosen file.
// Neither may be made with the database file itself. The backup and restore window
// (copy_window.h) runs these steps.
#pragma once

#include "platform/dao/dao.h"

#include <QString>
#include <QtGlobal>

namespace maintenance {

// The running program's database file: WindowsDir's "\system\zyqhmz.mdb".
QString databaseFile();

// Whether the filesystem that will receive a file (the folder of `receivingPath`)
// has room for `bytes`. A failed free-space query answers yes: the copy then goes
// ahead unchecked.
bool hasRoomFor(qint64 bytes, const QString& receivingPath);

// Copies the database file to `target`, replacing a file of that name. Throws
// vb::Error when the target is the database file itself or the copy fails, and
// dao::Error when another program keeps writing the file.
void backupDatabase(const QString& target);

// `file` opened read-only, or dao::Error unless it opens with the system's password,
// passes the structure check and holds the system's format: every table with its
// columns (names, order, whole declarations), exactly the named indexes (names, key
// columns, collations, uniqueness, none partial), and no trigger or view.
dao::Database checkSystemDatabase(const QString& file);

// Replaces the content of the database with that of `source` once `source` has
// passed the check. Throws vb::Error or dao::Error with the database left as it was.
void restoreDatabase(const QString& source);

}  // namespace maintenance
