// Compiles an old-engine LIKE pattern into tokens and matches texts against it; see
// like_pattern.h. Matching walks text and pattern once, backtracking only to the last
// `*`, so a long text costs linear time for the usual '*term*' patterns.
#include "platform/dao/like_pattern.h"

#include <QChar>
#include <QList>

namespace dao {

namespace {

// The code points of `text` into `out`, or false when it is not well-formed UTF-8.
bool decodeUtf8(QByteArrayView text, std::u32string& out)
{
    out.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            out.push_back(lead);
            ++p;
            continue;
        }
        int extra = 0;
        char32_t code = 0, least = 0;
        if ((lead & 0xE0) == 0xC0) extra = 1, code = lead & 0x1F, least = 0x80;
        else if ((lead & 0xF0) == 0xE0) extra = 2, code = lead & 0x0F, least = 0x800;
        else if ((lead & 0xF8) == 0xF0) extra = 3, code = lead & 0x07, least = 0x10000;
        else return false;
        if (end - p <= extra) return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80) return false;
            code = (code << 6) | (p[k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        out.push_back(code);
        p += extra + 1;
    }
    return true;
}

// No other character folds to it, and it folds to no other: Chinese characters and
// the other letters without case, ASCII digits, blanks and punctuation.
bool hasNoCase(char32_t c)
{
    if (c < 0x80) return !((c | 0x20) >= U'a' && (c | 0x20) <= U'z');
    return QChar::category(c) == QChar::Letter_Other;
}

}  // namespace

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
    containedTerm_ = caselessTerm(tokens_);
}

std::optional<QByteArray> LikePattern::caselessTerm(const std::vector<Token>& tokens)
{
    if (tokens.size() < 3 || tokens.front().kind != Token::Kind::AnyRun || tokens.back().kind != Token::Kind::AnyRun)
        return std::nullopt;
    std::u32string term;
    for (size_t i = 1; i + 1 < tokens.size(); ++i) {
        if (tokens[i].kind != Token::Kind::Literal || !hasNoCase(tokens[i].literal)) return std::nullopt;
        term.push_back(tokens[i].literal);
    }
    return QString::fromUcs4(term.data(), static_cast<qsizetype>(term.size())).toUtf8();
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

bool LikePattern::matches(QByteArrayView utf8Text) const
{
    if (containedTerm_) return utf8Text.indexOf(*containedTerm_) >= 0;
    thread_local std::u32string characters;   // reused: no allocation per row
    if (!decodeUtf8(utf8Text, characters)) characters = ucs4(QString::fromUtf8(utf8Text));
    return matchesCharacters(characters);
}

bool LikePattern::matchesCharacters(const std::u32string& chars) const
{
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
