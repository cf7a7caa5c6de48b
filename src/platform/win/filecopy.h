// Copying a whole file so that the target is never half-written: the data go to a
// temporary file in the target's folder, reach the disk (fsync) and only then are
// renamed over the target. On any failure the target keeps what it had, the
// temporary file is removed and win::Error (file_error.h) is thrown. Used for the
// backup and restore of the database file, for placing the shipped database and
// for saving workbooks.
#pragma once

#include <QString>
#include <optional>

namespace win {

// Host paths; an existing target is replaced without asking and keeps its permissions.
void copyFile(const QString& source, const QString& target);

// Tests simulate a full disk: while set, a copy fails with 磁盘已满 (61) once this many
// bytes have been written. std::nullopt lifts the limit.
void setCopyByteLimit(std::optional<qint64> bytes);

}  // namespace win
