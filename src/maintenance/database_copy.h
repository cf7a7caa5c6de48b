// Backup and restore of the database file, as whole files: a backup copies the file
// to one the user picks, a restore copies a file the user picks over it. Both copy
// through a temporary file beside the target, flushed and then renamed, so a failure
// (a full disk, a pulled memory stick) leaves the target as it was.
//
// A restore is checked before anything is replaced: the chosen file must open with
// the system's password and hold every table of the system with its columns, and it
// must not be the database file itself; the program's held connection is closed
// while the file is replaced, so every window reads the restored data afterwards.
// A backup must not be made onto the database file itself. The database file is the
// running program's (WindowsDir's). The backup and restore window (copy_window.h)
// runs these steps.
#pragma once

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
// vb::Error when the target is the database file itself or the copy fails.
void backupDatabase(const QString& target);

// Throws dao::Error unless `file` opens, read-only, with the system's password and
// holds every table of the system with its columns in order.
void checkSystemDatabase(const QString& file);

// Replaces the database file with a copy of `source` once `source` has passed the
// check. The program's connection to the database is closed before the file is
// replaced and opened again afterwards, whether the copy succeeded or not. Throws
// vb::Error (or dao::Error from the check) with the database left as it was.
void restoreDatabase(const QString& source);

}  // namespace maintenance
