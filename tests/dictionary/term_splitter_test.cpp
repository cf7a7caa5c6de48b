// The term splitters: their hand-worked cases as one table run through the real calls
// on a fresh database, and properties every member's walk keeps on random texts.
#include "core/globals.h"
#include "dictionary/term_splitter.h"
#include "reference/knowledge_test_support.h"
#include "support/test_environment.h"

#include <QRandomGenerator>
#include <QTest>

using namespace dictionary;

namespace {

struct Member {
    const char* name;
    const TermSplitter* splitter;
    bool firstFamily;
    bool cutsAtZhi;
};

// The members as the splitting rules list them (not as the code's table does).
const Member Members[] = {
    {"herbEffect", &AddHerbEffectTerms, true, true},
    {"herbIndication", &AddHerbIndicationTerms, true, true},
    {"formulaEffect", &AddFormulaEffectTerms, true, true},
    {"formulaIndication", &AddFormulaIndicationTerms, true, false},
    {"formulaNote", &AddFormulaNoteTerms, false, false},
    {"symptom", &AddSymptomTerms, false, false},
    {"patentEffect", &AddPatentMedEffectTerms, false, false},
    {"patentIndication", &AddPatentMedIndicationTerms, false, false},
};

// What is wrong with `terms` as the split of `text` by `m`, or nothing: every term
// holds something besides line breaks and no separator, blank or opening parenthesis;
// the terms' characters stand in the text in their order (a skipped group may part a
// term's characters); split again, joined by a separator, they come back unchanged; the
// second family takes nothing from a line after a carriage return.
QString brokenProperty(const Member& m, const QString& text, const QStringList& terms)
{
    const QString forbidden = QStringLiteral("。，；*：、 （(") + (m.cutsAtZhi ? QStringLiteral("治") : QString());
    qsizetype from = 0;
    for (const QString& term : terms) {
        if (QString(term).remove(u'\r').remove(u'\n').isEmpty()) return "a term of line breaks alone";
        for (QChar c : term) {
            if (forbidden.contains(c)) return QStringLiteral("'%1' inside a term").arg(c);
            from = text.indexOf(c, from);
            if (from++ < 0) return "a term out of order or not in the text";
        }
    }
    if (m.splitter->terms(terms.join(u'，')) != terms) return "a second split changes the terms";
    if (!m.firstFamily && m.splitter->terms(text + QStringLiteral("\r\n热，")) != terms) return "a term after a CR";
    return {};
}

}  // namespace

class TermSplitterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { core::WindowsDir = env_.windowsDir(); }
    // Each text is split twice: the second call adds nothing. (Repeats and letter case
    // stored once: the builders' test, against the rebuilt dictionary.)
    void addsTerms()
    {
        const QString longTerm = QString(300, u'痛');
        const struct { const TermSplitter& splitter; QString text; QStringList stored; } rows[] = {
            {AddHerbEffectTerms, "清热(酒炒)解毒。", {"清热解毒"}},   // ASCII group skipped
            {AddHerbEffectTerms, "清热（酒炒）解毒。", {"清热解毒"}},   // full-width group skipped
            {AddHerbEffectTerms, "头 痛，", {"头痛"}},   // blank inside a term
            {AddHerbEffectTerms, "清热 : 解毒，", {"清热:解毒"}},   // ASCII colon kept
            {AddFormulaEffectTerms, "补血。\r\n", {"补血"}},   // line breaks after the last term are none
            {AddHerbEffectTerms, "清热，(酒炒，解毒，", {"清热"}},   // unclosed group skips the rest
            {AddHerbEffectTerms, "清热，解毒", {"清热", "解毒"}},   // final term kept
            {AddSymptomTerms, "当归'，[a]%?#，", {"当归'", "[a]%?#"}},   // apostrophe and pattern marks literal
            {AddSymptomTerms, longTerm + "，", {longTerm}},   // long term stored whole
        };
        for (const auto& [splitter, text, terms] : rows) {
            env_.open().execute("delete * from " + splitter.table);
            splitter(text);
            splitter(text);
            QStringList stored = terms;
            stored.sort();
            QVERIFY2(knowledgetest::termsOf(env_, splitter.table) == stored, qPrintable(text));
        }
    }
    // Each member by its family and its 治 rule: a line break kept inside a term or
    // ending the text, a mixed pair of parentheses closing or not.
    void eachMemberFollowsItsRules()
    {
        for (const Member& m : Members) {
            const QStringList expected = m.firstFamily ? QStringList{m.cutsAtZhi ? "主" : "主治", "补气\r\n养血"}
                                                       : QStringList{"主治", "补气"};
            QCOMPARE(m.splitter->terms("主治，补气\r\n养血，"), expected);
            QCOMPARE(m.splitter->terms("（酒炒)解毒，"), m.firstFamily ? QStringList() : QStringList{"解毒"});
        }
    }
    void walkKeepsItsPropertiesOnRandomTexts()
    {
        const QStringList pieces{"。", "，", "；", "*", "：", "、", "治", "（", "）", "(", ")", "\r", "\n", " ",
                                 "清", "热", "头", "痛", "a", ":", ",", ".", "　"};
        QRandomGenerator random(20240315);
        for (int round = 0; round < 3000; ++round) {
            QString text;
            const int length = static_cast<int>(random.bounded(0, 24));
            for (int k = 0; k < length; ++k) text += pieces[static_cast<int>(random.bounded(pieces.size()))];
            for (const Member& m : Members) {
                const QStringList terms = m.splitter->terms(text);
                const QString broken = brokenProperty(m, text, terms);
                if (!broken.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("%1 on \"%2\" -> %3: %4").arg(m.name, text, terms.join('|'), broken)));
            }
        }
    }

private:
    TestEnvironment env_;
};

QTEST_MAIN(TermSplitterTest)
#include "term_splitter_test.moc"
