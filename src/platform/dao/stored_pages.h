// The stored pages of an encrypted database file as SQLite's own plain pages, read
// apart from SQLCipher: its key derived from the password and the file's salt, each
// page's authentication code proven and its content decrypted. SQLCipher 3 keeps
// every page (the first after its 16-byte salt) as AES-256-CBC ciphertext followed by
// its 16-byte IV and its HMAC-SHA1 over ciphertext, IV and page number, in 48 reserved
// bytes; the keys come from PBKDF2-HMAC-SHA1 (64,000 rounds for the content key, two
// more over the content key, with the salt masked by 0x3a, for the HMAC key). It lets
// the structure check read a file on a thread of its own, without the per-page set-up
// the engine pays (plain_view.cpp). Internal to the database layer.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

namespace dao {

class StoredPages {
public:
    static constexpr int PageSize = 1024;    // SQLCipher 3's page
    static constexpr int SaltSize = 16;      // the start of the first page
    static constexpr int ReservedSize = 48;  // IV and HMAC at the end of each page, rounded to the cipher block

    // The keys of the file whose first stored page is `firstPage` (PageSize bytes) under
    // `password`, or null when that page is not stored as read here under that password
    // (another page size, another cipher or key).
    static std::unique_ptr<StoredPages> forFile(const QByteArray& firstPage, const QString& password);
    ~StoredPages();
    StoredPages(const StoredPages&) = delete;
    StoredPages& operator=(const StoredPages&) = delete;

    // Whether the stored page `number` (from 1) bears its own authentication code.
    // Safe to call from several threads at once.
    bool authentic(std::uint32_t number, const unsigned char* stored) const;
    // Writes the plain page `number` of the stored page `stored` to `plain`, without
    // proving it. One thread at a time.
    void decrypt(std::uint32_t number, const unsigned char* stored, unsigned char* plain);

private:
    struct Keys;
    explicit StoredPages(std::unique_ptr<Keys> keys);
    std::unique_ptr<Keys> keys_;
};

}  // namespace dao
