// See stored_pages.h. The HMAC's inner and outer hash states are taken once from the
// key, and the cipher's key schedule is kept, so that each page costs its hashing and
// decryption only.
#include "platform/dao/stored_pages.h"

#define OPENSSL_SUPPRESS_DEPRECATED   // the plain SHA-1 state can be copied as a value
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/sha.h>

#include <cstring>

namespace dao {

namespace {

constexpr int KeySize = 32;
constexpr int IvSize = 16;
constexpr int HmacSize = SHA_DIGEST_LENGTH;
constexpr int KeyRounds = 64000;
constexpr int HmacKeyRounds = 2;
constexpr unsigned char HmacSaltMask = 0x3a;
constexpr char PlainHeader[StoredPages::SaltSize] = "SQLite format 3";

}  // namespace

struct StoredPages::Keys {
    SHA_CTX inner {};   // the HMAC key's inner and outer pads already hashed
    SHA_CTX outer {};
    EVP_CIPHER_CTX* cipher = EVP_CIPHER_CTX_new();
    ~Keys() { EVP_CIPHER_CTX_free(cipher); }

    bool authentic(std::uint32_t number, const unsigned char* data, int size, const unsigned char* code) const
    {
        const unsigned char pageNumber[4] = {static_cast<unsigned char>(number), static_cast<unsigned char>(number >> 8),
                                             static_cast<unsigned char>(number >> 16),
                                             static_cast<unsigned char>(number >> 24)};
        unsigned char digest[HmacSize];
        SHA_CTX hash = inner;
        SHA1_Update(&hash, data, static_cast<size_t>(size));
        SHA1_Update(&hash, pageNumber, sizeof pageNumber);
        SHA1_Final(digest, &hash);
        hash = outer;
        SHA1_Update(&hash, digest, sizeof digest);
        SHA1_Final(digest, &hash);
        return CRYPTO_memcmp(digest, code, HmacSize) == 0;
    }
};

StoredPages::StoredPages(std::unique_ptr<Keys> keys) : keys_(std::move(keys)) {}
StoredPages::~StoredPages() = default;

std::unique_ptr<StoredPages> StoredPages::forFile(const QByteArray& firstPage, const QString& password)
{
    if (firstPage.size() != PageSize) return nullptr;
    const auto* salt = reinterpret_cast<const unsigned char*>(firstPage.constData());
    const QByteArray secret = password.toUtf8();
    unsigned char key[KeySize], hmacKey[KeySize], hmacSalt[SaltSize];
    for (int i = 0; i < SaltSize; ++i) hmacSalt[i] = salt[i] ^ HmacSaltMask;
    auto keys = std::make_unique<Keys>();
    const bool derived =
        keys->cipher
        && PKCS5_PBKDF2_HMAC_SHA1(secret.constData(), static_cast<int>(secret.size()), salt, SaltSize, KeyRounds,
                                  KeySize, key)
        && PKCS5_PBKDF2_HMAC_SHA1(reinterpret_cast<const char*>(key), KeySize, hmacSalt, SaltSize, HmacKeyRounds,
                                  KeySize, hmacKey)
        && EVP_DecryptInit_ex(keys->cipher, EVP_aes_256_cbc(), nullptr, key, nullptr)
        && EVP_CIPHER_CTX_set_padding(keys->cipher, 0);
    unsigned char innerPad[SHA_CBLOCK], outerPad[SHA_CBLOCK];
    std::memset(innerPad, 0x36, sizeof innerPad);
    std::memset(outerPad, 0x5c, sizeof outerPad);
    for (int i = 0; i < KeySize; ++i) {
        innerPad[i] ^= hmacKey[i];
        outerPad[i] ^= hmacKey[i];
    }
    SHA1_Init(&keys->inner);
    SHA1_Update(&keys->inner, innerPad, sizeof innerPad);
    SHA1_Init(&keys->outer);
    SHA1_Update(&keys->outer, outerPad, sizeof outerPad);
    OPENSSL_cleanse(key, sizeof key);
    OPENSSL_cleanse(hmacKey, sizeof hmacKey);
    OPENSSL_cleanse(innerPad, sizeof innerPad);
    OPENSSL_cleanse(outerPad, sizeof outerPad);
    if (!derived) return nullptr;
    std::unique_ptr<StoredPages> pages(new StoredPages(std::move(keys)));
    return pages->authentic(1, salt) ? std::move(pages) : nullptr;
}

namespace {

struct PageParts {
    const unsigned char* data;   // the ciphertext
    int size;
    const unsigned char* iv;     // then the IV and the authentication code
    int start;                   // where the ciphertext lies in the page
};

PageParts partsOf(std::uint32_t number, const unsigned char* stored)
{
    const int start = number == 1 ? StoredPages::SaltSize : 0;   // the first page begins with the salt
    const int size = StoredPages::PageSize - start - StoredPages::ReservedSize;
    return {stored + start, size, stored + start + size, start};
}

}  // namespace

bool StoredPages::authentic(std::uint32_t number, const unsigned char* stored) const
{
    const PageParts page = partsOf(number, stored);
    return keys_->authentic(number, page.data, page.size + IvSize, page.iv + IvSize);
}

void StoredPages::decrypt(std::uint32_t number, const unsigned char* stored, unsigned char* plain)
{
    const PageParts page = partsOf(number, stored);
    int written = 0;
    EVP_DecryptInit_ex(keys_->cipher, nullptr, nullptr, nullptr, page.iv);
    EVP_DecryptUpdate(keys_->cipher, plain + page.start, &written, page.data, page.size);
    if (number == 1) std::memcpy(plain, PlainHeader, SaltSize);
    std::memcpy(plain + PageSize - ReservedSize, stored + PageSize - ReservedSize, ReservedSize);
}

}  // namespace dao
