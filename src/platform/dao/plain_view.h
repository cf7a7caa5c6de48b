// SQLite's quick structure check of an encrypted file, run over a plain view of its
// stored pages: a read-only connection of its own, without a key, whose file layer
// hands SQLite each page proven and decrypted by StoredPages (stored_pages.h). It
// reads the file under SQLite's locks like any connection, costs a fraction of the
// check through the keyed engine, and may run on a thread of its own while the
// caller's connection goes on (Database::beginQuickCheck, dao.h). Internal to the
// database layer.
#pragma once

#include <QString>
#include <optional>

namespace dao {

// What PRAGMA quick_check answers of the file at `path` under `password` ("ok", or the
// first fault found; a page whose authentication fails is a fault), or nothing when
// the file's pages are not stored as StoredPages reads them or the view can't take a
// read lock at once (the caller then asks its keyed connection, which holds one).
std::optional<QString> quickCheckOfStoredPages(const QString& path, const QString& password);

}  // namespace dao
