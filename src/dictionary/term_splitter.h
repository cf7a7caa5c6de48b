// The term splitters: eight members of one walk that cut a knowledge-base text into
// the terms of a query dictionary (the effects, indications, clinical notes and
// symptoms that the query windows offer as pick lists) and add each term that its
// dictionary table does not hold yet.
//
// The members differ only in the rows of one table (term_splitter.cpp): the
// dictionary they fill, whether "治" cuts a term, whether the first carriage return
// ends the text, and how a parenthesised group closes. The first family (herb effects
// and indications, formula effects and indications) keeps line breaks inside terms and
// closes "（" only at "）" and "(" only at ")"; the second family (formula notes,
// symptoms, patent-medicine effects and indications) stops at the first carriage return
// and closes a group of either kind at either closing parenthesis.
//
// Terms are cut at "。", "，", "；", "*", "：" and "、"; a group in parentheses adds
// nothing and the term goes on after it; blanks never enter a term; the term still
// being gathered when the text ends (or, in the second family, at the first carriage
// return) is added too; a term of carriage returns and line feeds alone is none. A
// term is stored whole, however long.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

namespace dao {
class Database;
class Recordset;
}

namespace dictionary {

enum class Parentheses {
    EachKindItsOwn,   // "（" runs to the next "）", "(" to the next ")"
    EitherCloses,     // "（" or "(" runs to the next "）" or ")"
};

class TermSplitter {
public:
    QString table;                   // the dictionary table, its one text column first
    QString index;                   // the named index on that column
    bool cutsAtZhi;
    bool carriageReturnEndsText;
    Parentheses parentheses;

    // The terms of `text` in the order their ends are met (repeats included).
    QStringList terms(const QString& text) const;
    // The self-contained call: a text of blanks opens nothing; otherwise it opens the
    // database and the dictionary and adds each term of `text` that a seek on the
    // dictionary's index does not find, then closes both. Database errors reach the
    // caller.
    void operator()(const QString& text) const;
};

// A dictionary that the caller's transaction has just emptied and that is filled
// through this object alone (a builder's stage, the symptom refill): the terms it
// holds are the ones added here, so whether a term is there already is answered from
// memory, as the seek on its index would answer it (the column compares letters A to Z
// without case, every other character as it is), and the file is only written.
class EmptiedDictionary {
public:
    EmptiedDictionary(dao::Database& db, const TermSplitter& splitter);
    ~EmptiedDictionary();
    EmptiedDictionary(const EmptiedDictionary&) = delete;
    EmptiedDictionary& operator=(const EmptiedDictionary&) = delete;

    // Adds each term of `text` that the dictionary does not hold yet.
    void addTermsOf(const QString& text);

private:
    const TermSplitter& splitter_;
    std::unique_ptr<dao::Recordset> table_;
    QSet<QByteArray> held_;   // the terms added, in UTF-8 with A to Z made lower case
};

// The eight members, named for what they fill.
extern const TermSplitter AddHerbEffectTerms;           // ycgy
extern const TermSplitter AddHerbIndicationTerms;       // yczz
extern const TermSplitter AddFormulaEffectTerms;        // fjgy
extern const TermSplitter AddFormulaIndicationTerms;    // fjzz
extern const TermSplitter AddFormulaNoteTerms;          // lcfj
extern const TermSplitter AddSymptomTerms;              // bzzz; also refilled by the diagnosis query window
extern const TermSplitter AddPatentMedEffectTerms;      // Cygx
extern const TermSplitter AddPatentMedIndicationTerms;  // Cyzz

}  // namespace dictionary
