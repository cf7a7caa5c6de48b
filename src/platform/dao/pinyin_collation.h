// Text order of the system: Chinese by pinyin (ICU's zh collation), other letters
// alphabetically, and two texts that differ only in the case of ASCII letters equal,
// as NOCASE makes them. Registered on every connection as the collation "PINYIN",
// which the dialect attaches to every ORDER BY term and table recordsets to their
// walk order. The file itself never names it (its columns are NOCASE), so any SQLite
// tool reads, checks and writes the file.
#pragma once

#include <QString>

namespace dao {

class PinyinCollation {
public:
    static constexpr const char* name = "PINYIN";
    // <0, 0 or >0 for two UTF-8 texts, as SQLite's collation callbacks expect.
    static int compare(const char* a, int aLength, const char* b, int bLength);
    static int compare(const QString& a, const QString& b);
};

}  // namespace dao
