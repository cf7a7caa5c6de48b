// Copying a whole file so that the target is never half-written: the data go to a
// temporary file in the target's folder, reach the disk (fsync) and only then are
// renamed over the target, whose folder is flushed last so that the rename itself
// is on the medium. On any failure before the rename the target keeps what it had,
// the temporary file is removed and win::Error (file_error.h) is thrown; a folder
// that fails its flush after the rename is reported the same way. Used for the
// backup and restore of the database file, for placing the shipped database and
// for saving workbooks.
#pragma once

#include <QString>
#include <optional>

namespace win {

// Host paths; an existing target is replaced without asking and keeps its permissions.
void copyFile(const QString& source, const QString& target);

// True when both paths name one existing file (the same device and inode), however
// the paths are written: through links, "..", another spelling of a mount.
bool isSameFile(const QString& first, const QString& second);

// Tests simulate a full disk: while set, a copy fails with 磁盘已满 (61) once this many
// bytes have been written. std::nullopt lifts the limit.
void setCopyByteLimit(std::optional<qint64> bytes);
// Tests simulate a medium that fails to flush: while set, the copy's flush of the
// data fails with 设备 I/O 错误 (57), as a pulled memory stick does.
void setCopyFlushFails(bool fails);

}  // namespace win
