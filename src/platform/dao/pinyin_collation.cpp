// The PINYIN collation over ICU; see pinyin_collation.h. ICU compares at secondary
// strength (pinyin, letters, accents; not case or width); ties are broken by the bytes
// with ASCII letters folded, so the order is total and equality is exactly NOCASE's.
#include "platform/dao/pinyin_collation.h"

#include <unicode/ucol.h>

#include <QByteArray>
#include <algorithm>
#include <cstring>

namespace dao {

namespace {

UCollator* chineseCollator()
{
    static UCollator* const collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("zh", &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            c = ucol_open("", &status);
        }
        ucol_setStrength(c, UCOL_SECONDARY);
        // Digits and Latin letters before Chinese, as the old engine sorted.
        const int32_t noReordering = UCOL_REORDER_CODE_NONE;
        ucol_setReorderCodes(c, &noReordering, 1, &status);
        return c;
    }();
    return collator;
}

unsigned char asciiLower(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

int foldedBytesCompare(const char* a, int aLength, const char* b, int bLength)
{
    const int common = std::min(aLength, bLength);
    for (int i = 0; i < common; ++i) {
        const unsigned char ca = asciiLower(static_cast<unsigned char>(a[i]));
        const unsigned char cb = asciiLower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
}

// Texts of ASCII letters and digits only (drug codes, most keys): ICU orders them as
// their folded bytes, so the comparison needs no ICU call.
bool lettersAndDigits(const char* text, int length)
{
    for (int i = 0; i < length; ++i) {
        const unsigned char c = asciiLower(static_cast<unsigned char>(text[i]));
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return false;
    }
    return true;
}

}  // namespace

int PinyinCollation::compare(const char* a, int aLength, const char* b, int bLength)
{
    const int folded = foldedBytesCompare(a, aLength, b, bLength);
    if (folded == 0 || (lettersAndDigits(a, aLength) && lettersAndDigits(b, bLength))) return folded;
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order = ucol_strcollUTF8(chineseCollator(), a, aLength, b, bLength, &status);
    if (U_SUCCESS(status) && order != UCOL_EQUAL) return order == UCOL_LESS ? -1 : 1;
    return folded;
}

int PinyinCollation::compare(const QString& a, const QString& b)
{
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return compare(ua.constData(), static_cast<int>(ua.size()), ub.constData(), static_cast<int>(ub.size()));
}

}  // namespace dao
