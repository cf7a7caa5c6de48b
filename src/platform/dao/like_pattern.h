// The old engine's LIKE patterns, matched the way it matched them: `*` any run of
// characters, `?` any one character, `#` one digit 0-9, `[...]` one character of a
// list or range (`[a-z]`), `[!...]` one character not in it; every other character,
// `%` and `_` included, stands for itself, and letters match without regard to case.
// The SQL layer registers this as SQLite's like() on every connection (dialect.cpp).
// Texts are matched as SQLite hands them over, in UTF-8; the usual '*term*' with a
// term of characters that have no case (Chinese, digits, punctuation) is a plain
// search for the term's bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace dao {

class LikePattern {
public:
    explicit LikePattern(const QString& pattern);
    bool matches(QByteArrayView utf8Text) const;
    // For '*term*' with a term of characters that have no case and no pattern
    // character: the term's UTF-8 bytes, which a text matches exactly when it holds
    // them; none for any other pattern.
    const std::optional<QByteArray>& containedTerm() const { return containedTerm_; }

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
    bool matchesCharacters(const std::u32string& characters) const;
    // The term of a '*term*' pattern in UTF-8, when no character of it has a case.
    static std::optional<QByteArray> caselessTerm(const std::vector<Token>& tokens);

    std::vector<Token> tokens_;
    std::optional<QByteArray> containedTerm_;   // set: a text matches when it holds these bytes
};

}  // namespace dao
