// The old engine's LIKE patterns, matched the way it matched them: `*` any run of
// characters, `?` any one character, `#` one digit 0-9, `[...]` one character of a
// list or range (`[a-z]`), `[!...]` one character not in it; every other character,
// `%` and `_` included, stands for itself, and letters match without regard to case.
// The SQL layer registers this as SQLite's like() on every connection (dialect.cpp).
#pragma once

#include <QString>
#include <vector>

namespace dao {

class LikePattern {
public:
    explicit LikePattern(const QString& pattern);
    bool matches(const QString& text) const;

private:
    struct Range {
        char32_t low;
        char32_t high;
    };
    struct Token {
        enum class Kind { AnyRun, AnyOne, Digit, Literal, Set } kind = Kind::Literal;
        char32_t literal = 0;         // Literal: the case-folded character
        std::vector<Range> ranges;    // Set: the listed characters and ranges
        bool negated = false;         // Set: `[!...]`
    };

    static int parseSet(const std::u32string& pattern, int open, Token& token);
    bool matchesOne(const Token& token, char32_t character) const;

    std::vector<Token> tokens_;
};

}  // namespace dao
