// The one walk of the term splitters and the table of its eight members; see
// term_splitter.h.
#include "dictionary/term_splitter.h"

#include "core/globals.h"
#include "platform/dao/dao.h"
#include "platform/vb/strings.h"

#include <algorithm>

namespace dictionary {

namespace {

const QString Separators = QStringLiteral("。，；*：、");
constexpr QChar Zhi = u'治';
constexpr QChar CarriageReturn = u'\r';
constexpr QChar Blank = u' ';

bool opens(QChar c) { return c == u'（' || c == u'('; }

// A term of line breaks alone (what follows the last full stop of a text ending in
// CR LF) is no term.
bool isTerm(const QString& term)
{
    return std::any_of(term.begin(), term.end(), [](QChar c) { return c != u'\r' && c != u'\n'; });
}

// Whether `c` closes a group that `opening` began.
bool closes(QChar c, QChar opening, Parentheses rule)
{
    if (rule == Parentheses::EitherCloses) return c == u'）' || c == u')';
    return c == (opening == u'（' ? u'）' : u')');
}

// A term as the dictionary column compares it: its UTF-8 with A to Z made lower case.
QByteArray comparedForm(const QString& term)
{
    QByteArray bytes = term.toUtf8();
    for (char& c : bytes)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return bytes;
}

void addRow(dao::Recordset& dictionary, const QString& term)
{
    dictionary.addNew();
    dictionary.setField(0, term);
    dictionary.update();
}

}  // namespace

const TermSplitter AddHerbEffectTerms{QStringLiteral("ycgy"), QStringLiteral("ycgyi"), true, false, Parentheses::EachKindItsOwn};
const TermSplitter AddHerbIndicationTerms{QStringLiteral("yczz"), QStringLiteral("yczzi"), true, false, Parentheses::EachKindItsOwn};
const TermSplitter AddFormulaEffectTerms{QStringLiteral("fjgy"), QStringLiteral("fjgyi"), true, false, Parentheses::EachKindItsOwn};
const TermSplitter AddFormulaIndicationTerms{QStringLiteral("fjzz"), QStringLiteral("fjzzi"), false, false, Parentheses::EachKindItsOwn};
const TermSplitter AddFormulaNoteTerms{QStringLiteral("lcfj"), QStringLiteral("fjlci"), false, true, Parentheses::EitherCloses};
const TermSplitter AddSymptomTerms{QStringLiteral("bzzz"), QStringLiteral("bzzzi"), false, true, Parentheses::EitherCloses};
const TermSplitter AddPatentMedEffectTerms{QStringLiteral("Cygx"), QStringLiteral("cygxi"), false, true, Parentheses::EitherCloses};
const TermSplitter AddPatentMedIndicationTerms{QStringLiteral("Cyzz"), QStringLiteral("cyzzi"), false, true, Parentheses::EitherCloses};

QStringList TermSplitter::terms(const QString& text) const
{
    const QString walked = vb::Trim(text);
    QStringList found;
    QString term;
    const auto closeTerm = [&] {
        if (isTerm(term)) found << term;
        term.clear();
    };
    for (qsizetype i = 0; i < walked.size(); ++i) {
        const QChar c = walked[i];
        if (carriageReturnEndsText && c == CarriageReturn) break;
        if (opens(c)) {   // the group adds nothing; unclosed, it runs to the end
            while (i < walked.size() && !closes(walked[i], c, parentheses)) ++i;
            continue;
        }
        if (c == Blank) continue;
        if (Separators.contains(c) || (cutsAtZhi && c == Zhi)) closeTerm();
        else term += c;
    }
    closeTerm();
    return found;
}

EmptiedDictionary::EmptiedDictionary(dao::Database& db, const TermSplitter& splitter)
    : splitter_(splitter), table_(std::make_unique<dao::Recordset>(db.openTable(splitter.table)))
{
}

EmptiedDictionary::~EmptiedDictionary() = default;

void EmptiedDictionary::addTermsOf(const QString& text)
{
    for (const QString& term : splitter_.terms(text)) {
        const qsizetype before = held_.size();
        held_.insert(comparedForm(term));
        if (held_.size() > before) addRow(*table_, term);
    }
}

void TermSplitter::operator()(const QString& text) const
{
    if (vb::Trim(text).isEmpty()) return;
    dao::Database db = core::OpenDb();
    dao::Recordset dictionary = db.openTable(table);
    dictionary.setIndex(index);
    for (const QString& term : terms(text)) {
        dictionary.seek(QStringLiteral("="), term);
        if (dictionary.noMatch()) addRow(dictionary, term);
    }
}

}  // namespace dictionary
