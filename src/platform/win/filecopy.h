// Copying a whole file so that the target is never half-written: the data go to a
// temporary file in the target's folder, reach the disk (fsync) and only then are
// renamed over the target, whose folder is flushed last so that the rename itself
// is on the medium. On any failure before the rename the target keeps what it had,
// the temporary file is removed and win::Error (file_error.h) is thrown; a folder
// that fails its flush after the rename is reported the same way. Used for the
// backup and restore of the database file, for placing the shipped database and
// for saving workbooks.
//
// Every file written so is readable and writable by the user alone (0600): the
// database, its backups and the reports hold the clinic's patients. The temporary
// file is named "." + the target's name + "." + six characters and locked while the
// copy runs; such files left by a copy that was killed are swept before the next
// copy to the same target (and at start-up, for the database).
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace win {

// Host paths; an existing target is replaced without asking.
void copyFile(const QString& source, const QString& target);

// Refuses, before anything is written, a target that a copy could not replace: a
// folder of its name (75; a link is replaced, not followed), a missing folder (76) or a folder the program may not write
// in (70, naming the folder). The check makes the copy's temporary file and removes it.
void refuseUnwritableTarget(const QString& target);

// Writes `length` bytes, read through `read` (`size` bytes at `offset` into
// `buffer`), to `target` the same safe way.
using ReadAt = std::function<void(char* buffer, qint64 size, qint64 offset)>;
void writeFile(qint64 length, const ReadAt& read, const QString& target);

// Makes `folder` and any missing folder above it, each readable by the user alone (0700).
void makePrivateFolders(const QString& folder);

// Takes from an existing file every permission but the user's reading and writing
// (at most 0600), or from a folder every permission but the user's (at most 0700), as
// earlier versions placed them readable by everyone; a path that is not the user's
// is left as it is.
void makePrivate(const QString& path);

// Removes the temporary files that copies to `target` left behind (no copy holds
// their lock any more).
void sweepCopyLeftovers(const QString& target);

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
