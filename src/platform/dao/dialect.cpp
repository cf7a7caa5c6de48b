// Translation of the old dialect (see dialect.h): the SQL text is cut into tokens
// (words, quoted strings, quoted names, date literals, punctuation, blanks and
// comments), the few rewrites work on the tokens, and the tokens are joined again, so
// a literal such as 'delete * from' or '#1#' inside quotes, or a word in a comment, is
// left exactly as written. Every rewrite keeps a valid statement valid: clauses end at
// the bracket, the ';' or the comment that ends their statement.
#define SQLITE_HAS_CODEC 1
#include "platform/dao/dialect.h"

#include "platform/dao/dao.h"
#include "platform/dao/like_pattern.h"
#include "platform/dao/pinyin_collation.h"

#include <sqlcipher/sqlite3.h>

#include <QDate>
#include <QRegularExpression>
#include <vector>

namespace dao::dialect {

namespace {

struct Token {
    enum class Kind { Word, String, Name, Date, Punct, Space } kind;
    QString text;

    bool isWord(const char* word) const
    {
        return kind == Kind::Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool is(QChar c) const { return kind == Kind::Punct && text.size() == 1 && text[0] == c; }
};

using Tokens = std::vector<Token>;

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'.';
}

// The closing position of a quoted run opened at `open` by `quote`; a doubled quote
// stays inside. Returns the last index when the run is never closed.
qsizetype closingQuote(const QString& sql, qsizetype open, QChar quote)
{
    qsizetype i = open + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote && quote != u']') {
                i += 2;
                continue;
            }
            return i;
        }
        ++i;
    }
    return sql.size() - 1;
}

// "#2024-3-5#" as an ISO date literal, or an empty text when it is not a date.
QString dateLiteral(const QString& sql, qsizetype open, qsizetype* close)
{
    static const QRegularExpression date(QStringLiteral("\\G#\\s*(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})\\s*#"));
    const QRegularExpressionMatch m = date.match(sql, open);
    if (!m.hasMatch()) return {};
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid()) return {};
    *close = m.capturedEnd() - 1;
    return quote(d.toString(QStringLiteral("yyyy-MM-dd")));
}

Tokens tokenize(const QString& sql)
{
    Tokens tokens;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        qsizetype end = i;
        Token::Kind kind = Token::Kind::Punct;
        QString text;
        if (c.isSpace()) {
            while (end + 1 < sql.size() && sql[end + 1].isSpace()) ++end;
            kind = Token::Kind::Space;
        } else if (sql.mid(i, 2) == QLatin1String("--")) {
            end = sql.indexOf(u'\n', i);
            end = (end < 0 ? sql.size() : end) - 1;
            kind = Token::Kind::Space;
        } else if (sql.mid(i, 2) == QLatin1String("/*")) {
            end = sql.indexOf(QLatin1String("*/"), i + 2);
            end = end < 0 ? sql.size() - 1 : end + 1;
            kind = Token::Kind::Space;
        } else if (c == u'\'') {
            end = closingQuote(sql, i, c);
            kind = Token::Kind::String;
        } else if (c == u'"' || c == u'`') {
            end = closingQuote(sql, i, c);
            kind = Token::Kind::Name;
        } else if (c == u'[') {
            end = closingQuote(sql, i, u']');
            kind = Token::Kind::Name;
        } else if (c == u'#') {
            text = dateLiteral(sql, i, &end);
            kind = text.isEmpty() ? Token::Kind::Punct : Token::Kind::Date;
        } else if (isWordChar(c)) {
            while (end + 1 < sql.size() && isWordChar(sql[end + 1])) ++end;
            kind = Token::Kind::Word;
        }
        if (text.isEmpty()) text = sql.mid(i, end - i + 1);
        tokens.push_back({kind, text});
        i = end + 1;
    }
    return tokens;
}

size_t nextSolid(const Tokens& tokens, size_t i)
{
    while (i < tokens.size() && tokens[i].kind == Token::Kind::Space) ++i;
    return i;
}

// "delete * from" -> "delete from".
void dropDeleteStar(Tokens& tokens)
{
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].isWord("delete")) continue;
        const size_t star = nextSolid(tokens, i + 1);
        if (star < tokens.size() && tokens[star].is(u'*')) {
            const size_t from = nextSolid(tokens, star + 1);
            if (from < tokens.size() && tokens[from].isWord("from"))
                tokens.erase(tokens.begin() + static_cast<long>(star), tokens.begin() + static_cast<long>(from));
        }
    }
}

// Where the clause that starts at `from` ends: at the ')' that closes its level, at
// the ';' that ends its statement, at a word of `stops` on its level, or at the end.
size_t clauseEnd(const Tokens& tokens, size_t from, std::initializer_list<const char*> stops)
{
    int depth = 0;
    for (size_t i = from; i < tokens.size(); ++i) {
        if (tokens[i].is(u'(')) ++depth;
        else if (tokens[i].is(u')')) {
            if (depth == 0) return i;
            --depth;
        } else if (depth == 0 && tokens[i].is(u';')) {
            return i;
        } else if (depth == 0) {
            for (const char* stop : stops)
                if (tokens[i].isWord(stop)) return i;
        }
    }
    return tokens.size();
}

const Token collateToken{Token::Kind::Word, QStringLiteral(" COLLATE PINYIN")};

// Adds the PINYIN collation to each term of the ORDER BY that starts at `first`.
void collateTerms(Tokens& tokens, size_t first)
{
    size_t end = clauseEnd(tokens, first, {"limit", "offset", "union", "intersect", "except"});
    size_t termStart = first;
    int depth = 0;
    for (size_t i = first; i <= end; ++i) {
        const bool atEnd = i == end;
        if (!atEnd && tokens[i].is(u'(')) ++depth;
        if (!atEnd && tokens[i].is(u')')) --depth;
        if (!atEnd && !(depth == 0 && tokens[i].is(u','))) continue;

        // The term is tokens[termStart, i): skip it when it names a collation.
        size_t last = i;
        while (last > termStart && tokens[last - 1].kind == Token::Kind::Space) --last;
        bool named = false;
        for (size_t k = termStart; k < last; ++k) named = named || tokens[k].isWord("collate");
        if (!named && last > termStart) {
            size_t insertAt = last;
            if (tokens[last - 1].isWord("asc") || tokens[last - 1].isWord("desc")) {
                insertAt = last - 1;
                while (insertAt > termStart && tokens[insertAt - 1].kind == Token::Kind::Space) --insertAt;
            }
            tokens.insert(tokens.begin() + static_cast<long>(insertAt), collateToken);
            ++i;
            ++end;
        }
        termStart = i + 1;
    }
}

void collateOrderBy(Tokens& tokens)
{
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].isWord("order")) continue;
        const size_t by = nextSolid(tokens, i + 1);
        if (by < tokens.size() && tokens[by].isWord("by")) collateTerms(tokens, by + 1);
    }
}

// Whether an ORDER BY stands on the level of tokens[from, to).
bool ordered(const Tokens& tokens, size_t from, size_t to)
{
    int depth = 0;
    for (size_t k = from; k < to; ++k) {
        if (tokens[k].is(u'(')) ++depth;
        else if (tokens[k].is(u')')) --depth;
        else if (depth == 0 && tokens[k].isWord("order")) return true;
    }
    return false;
}

// A "select distinct" without ORDER BY is ordered by its columns, as the old engine
// returned distinct lists sorted. The ORDER BY goes where its statement allows one:
// at the end of the whole compound (UNION...), before LIMIT, before the ')', ';' or
// comment that ends it.
void sortDistinct(Tokens& tokens)
{
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].isWord("select")) continue;
        const size_t distinct = nextSolid(tokens, i + 1);
        if (distinct >= tokens.size() || !tokens[distinct].isWord("distinct")) continue;

        const size_t end = clauseEnd(tokens, distinct + 1, {});
        if (ordered(tokens, distinct + 1, end)) continue;
        size_t at = clauseEnd(tokens, distinct + 1, {"limit"});
        while (at > distinct && tokens[at - 1].kind == Token::Kind::Space) --at;

        const size_t from = clauseEnd(tokens, distinct + 1, {"from", "union", "intersect", "except"});
        int columns = 1, depth = 0;
        for (size_t k = distinct + 1; k < from; ++k) {
            if (tokens[k].is(u'(')) ++depth;
            if (tokens[k].is(u')')) --depth;
            if (depth == 0 && tokens[k].is(u',')) ++columns;
        }
        QString orderBy = QStringLiteral(" ORDER BY 1");
        for (int c = 2; c <= columns; ++c) orderBy += QStringLiteral(",%1").arg(c);
        // The terms get their collation from collateOrderBy, which runs next.
        Tokens clause = tokenize(orderBy);
        tokens.insert(tokens.begin() + static_cast<long>(at), clause.begin(), clause.end());
    }
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    // The compiled pattern is kept with the statement while the pattern stays the same.
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
    if (!pattern) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        pattern = new LikePattern(QString::fromUtf8(text, sqlite3_value_bytes(argv[0])));
        sqlite3_set_auxdata(context, 0, pattern, [](void* p) { delete static_cast<LikePattern*>(p); });
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
        if (!pattern) {
            sqlite3_result_error_nomem(context);
            return;
        }
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    sqlite3_result_int(context, pattern->matches(QByteArrayView(text, sqlite3_value_bytes(argv[1]))) ? 1 : 0);
}

int pinyinCompare(void*, int aLength, const void* a, int bLength, const void* b)
{
    return PinyinCollation::compare(static_cast<const char*>(a), aLength, static_cast<const char*>(b), bLength);
}

}  // namespace

QString translate(const QString& oldSql)
{
    Tokens tokens = tokenize(oldSql);
    dropDeleteStar(tokens);
    sortDistinct(tokens);
    collateOrderBy(tokens);
    QString sql;
    sql.reserve(oldSql.size() + 32);
    for (const Token& t : tokens) sql += t.text;
    return sql;
}

std::optional<ReadOrder> readOrder(const QString& translatedSql)
{
    Tokens tokens = tokenize(translatedSql);
    const size_t select = nextSolid(tokens, 0);
    if (select < tokens.size() && tokens[select].isWord("select")) {
        const size_t distinct = nextSolid(tokens, select + 1);
        if (distinct < tokens.size() && tokens[distinct].isWord("distinct")) return std::nullopt;
    }
    // The last ORDER BY of the statement's own level, and whether that level filters.
    size_t by = tokens.size();
    bool filtered = false;
    int depth = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].is(u'(')) ++depth;
        else if (tokens[i].is(u')')) --depth;
        else if (depth == 0 && tokens[i].is(u';')) break;
        else if (depth == 0 && tokens[i].isWord("where")) filtered = true;
        else if (depth == 0 && tokens[i].isWord("order")) {
            const size_t next = nextSolid(tokens, i + 1);
            if (next < tokens.size() && tokens[next].isWord("by")) by = next;
        }
    }
    if (by == tokens.size()) return std::nullopt;

    // Terms "column COLLATE PINYIN [ASC]" separated by commas, then only blanks,
    // comments and the ';'.
    ReadOrder order;
    std::vector<size_t> dropped;
    size_t i = nextSolid(tokens, by + 1);
    while (true) {
        if (i >= tokens.size() || tokens[i].kind != Token::Kind::Word) return std::nullopt;
        order.columns << tokens[i].text;
        const size_t collate = nextSolid(tokens, i + 1), name = nextSolid(tokens, collate + 1);
        if (name >= tokens.size() || !tokens[collate].isWord("collate") || !tokens[name].isWord(PinyinCollation::name))
            return std::nullopt;
        for (size_t k = i + 1; k <= name; ++k) dropped.push_back(k);
        if (filtered) tokens[i].text.prepend(u'+');
        i = nextSolid(tokens, name + 1);
        if (i < tokens.size() && tokens[i].isWord("asc")) i = nextSolid(tokens, i + 1);
        if (i < tokens.size() && tokens[i].is(u',')) {
            i = nextSolid(tokens, i + 1);
            continue;
        }
        break;
    }
    for (; i < tokens.size(); i = nextSolid(tokens, i + 1))
        if (!tokens[i].is(u';')) return std::nullopt;
    for (auto k = dropped.rbegin(); k != dropped.rend(); ++k) tokens.erase(tokens.begin() + static_cast<long>(*k));
    for (const Token& t : tokens) order.sql += t.text;
    return order;
}

ValueParameters valuesAsParameters(const QString& translatedSql)
{
    const Tokens tokens = tokenize(translatedSql);
    ValueParameters result;
    result.sql.reserve(translatedSql.size());
    const Token* previous = nullptr;   // the last token that is not a blank or a comment
    for (const Token& t : tokens) {
        const bool compared = previous && (previous->is(u'=') || previous->is(u'<') || previous->is(u'>')
                                           || previous->isWord("like"));
        if (t.kind == Token::Kind::String && compared && t.text.size() >= 2 && t.text.endsWith(u'\'')) {
            result.values << t.text.mid(1, t.text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
            result.sql += u'?' + QString::number(result.values.size());
        } else {
            result.sql += t.text;
        }
        if (t.kind != Token::Kind::Space) previous = &t;
    }
    return result;
}

void registerOn(sqlite3* connection)
{
    sqlite3_create_function(connection, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            likeFunction, nullptr, nullptr);
    sqlite3_create_collation(connection, PinyinCollation::name, SQLITE_UTF8, nullptr, pinyinCompare);
}

}  // namespace dao::dialect
