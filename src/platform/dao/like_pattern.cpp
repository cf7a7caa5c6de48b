// Compiles an old-engine LIKE pattern into tokens and matches texts against it; see
// like_pattern.h. Matching walks text and pattern once, backtracking only to the last
// `*`, so a long text costs linear time for the usual '*term*' patterns.
#include "platform/dao/like_pattern.h"

#include <QChar>
#include <QList>

namespace dao {

static char32_t folded(char32_t c)
{
    return QChar::toCaseFolded(c);
}

static std::u32string ucs4(const QString& text)
{
    const QList<uint> codes = text.toUcs4();
    return std::u32string(codes.begin(), codes.end());
}

LikePattern::LikePattern(const QString& pattern)
{
    const std::u32string chars = ucs4(pattern);
    const int size = static_cast<int>(chars.size());
    for (int i = 0; i < size; ++i) {
        const char32_t c = chars[i];
        Token token;
        if (c == U'*') {
            if (!tokens_.empty() && tokens_.back().kind == Token::Kind::AnyRun) continue;
            token.kind = Token::Kind::AnyRun;
        } else if (c == U'?') {
            token.kind = Token::Kind::AnyOne;
        } else if (c == U'#') {
            token.kind = Token::Kind::Digit;
        } else if (c == U'[') {
            const int close = parseSet(chars, i, token);
            if (close < 0) {                      // no closing bracket: a plain '['
                token = Token();
                token.literal = U'[';
            } else {
                i = close;
                if (token.kind == Token::Kind::Set && token.ranges.empty() && !token.negated)
                    continue;                     // "[]" matches the empty string
            }
        } else {
            token.literal = folded(c);
        }
        tokens_.push_back(std::move(token));
    }
}

// Reads the list that opens at `open`; returns the position of its ']' or -1.
int LikePattern::parseSet(const std::u32string& pattern, int open, Token& token)
{
    const int size = static_cast<int>(pattern.size());
    int close = open + 1;
    while (close < size && pattern[close] != U']') ++close;
    if (close >= size) return -1;

    int i = open + 1;
    if (i < close && pattern[i] == U'!' && close - i > 1) {
        token.negated = true;
        ++i;
    }
    token.kind = Token::Kind::Set;
    while (i < close) {
        const char32_t low = pattern[i];
        if (i + 2 < close && pattern[i + 1] == U'-') {
            token.ranges.push_back({low, pattern[i + 2]});
            i += 3;
        } else {
            token.ranges.push_back({low, low});
            ++i;
        }
    }
    return close;
}

bool LikePattern::matchesOne(const Token& token, char32_t character) const
{
    switch (token.kind) {
    case Token::Kind::AnyOne: return true;
    case Token::Kind::Digit: return character >= U'0' && character <= U'9';
    case Token::Kind::Literal: return folded(character) == token.literal;
    case Token::Kind::Set: {
        const char32_t f = folded(character);
        bool listed = false;
        for (const Range& r : token.ranges) {
            if ((character >= r.low && character <= r.high)
                || (f >= folded(r.low) && f <= folded(r.high))) {
                listed = true;
                break;
            }
        }
        return listed != token.negated;
    }
    case Token::Kind::AnyRun: break;
    }
    return false;
}

bool LikePattern::matches(const QString& text) const
{
    const std::u32string chars = ucs4(text);
    const size_t n = tokens_.size();
    size_t t = 0, p = 0;
    size_t starToken = n, starText = 0;     // the last `*` seen and where its run ends
    while (t < chars.size()) {
        if (p < n && tokens_[p].kind == Token::Kind::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < n && matchesOne(tokens_[p], chars[t])) {
            ++p;
            ++t;
        } else if (starToken != n) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < n && tokens_[p].kind == Token::Kind::AnyRun) ++p;
    return p == n;
}

}  // namespace dao
