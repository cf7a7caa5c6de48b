// The term splitters: their edge cases as one table run through the real calls on a
// fresh database, and a randomized comparison of every member's walk with a reference
// walk written here, step by step, from the splitting rules.
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

// The walk as the rules tell it: the text trimmed of blanks, then character by
// character: a group skipped up to its closer (or to the end), a blank dropped, a
// separator closing the term; the second family ends at the first carriage return.
QStringList referenceWalk(QString t, bool firstFamily, bool cutsAtZhi)
{
    while (t.startsWith(u' ')) t.remove(0, 1);
    while (t.endsWith(u' ')) t.chop(1);
    const QString separators = cutsAtZhi ? QStringLiteral("。，；*：、治") : QStringLiteral("。，；*：、");
    QStringList out;
    QString term;
    for (qsizetype i = 0; i < t.size() && (firstFamily || t[i] != u'\r'); ++i) {
        QString closers;
        if (t[i] == u'（') closers = firstFamily ? QStringLiteral("）") : QStringLiteral("）)");
        if (t[i] == u'(') closers = firstFamily ? QStringLiteral(")") : QStringLiteral("）)");
        if (!closers.isEmpty()) {
            while (i < t.size() && !closers.contains(t[i])) ++i;
        } else if (!separators.contains(t[i])) {
            if (t[i] != u' ') term += t[i];
        } else if (!term.isEmpty()) {
            out << term;
            term.clear();
        }
    }
    if (!term.isEmpty()) out << term;
    return out;
}

}  // namespace

class TermSplitterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { core::WindowsDir = env_.windowsDir(); }
    // Each text is split twice: the second call adds nothing.
    void addsTerms()
    {
        const QString longTerm = QString(300, u'痛');
        const struct { const TermSplitter& splitter; QString text; QStringList stored; } rows[] = {
            {AddHerbEffectTerms, "清热(酒炒)解毒。", {"清热解毒"}},   // ASCII group skipped
            {AddHerbEffectTerms, "清热（酒炒）解毒。", {"清热解毒"}},   // full-width group skipped
            {AddHerbIndicationTerms, "主治咳嗽，", {"主", "咳嗽"}},   // 治 cuts in the first family
            {AddFormulaIndicationTerms, "主治咳嗽，", {"主治咳嗽"}},   // 治 kept for formula indications
            {AddHerbEffectTerms, "头 痛，", {"头痛"}},   // blank inside a term
            {AddHerbEffectTerms, "清热 : 解毒，", {"清热:解毒"}},   // ASCII colon kept
            {AddHerbEffectTerms, "，，；。", {}},   // separators only
            {AddSymptomTerms, "   ", {}},   // blanks only
            {AddSymptomTerms, "发热，恶寒。\r\n头痛，", {"发热", "恶寒"}},   // second family stops at CR
            {AddHerbEffectTerms, "发热，\r\n头痛，", {"发热", "\r\n头痛"}},   // first family keeps CR LF in a term
            {AddHerbEffectTerms, "清热，(酒炒，解毒，", {"清热"}},   // unclosed group skips the rest
            {AddSymptomTerms, "（酒炒)解毒，", {"解毒"}},   // mixed pair, second family
            {AddHerbEffectTerms, "（酒炒)解毒，", {}},   // mixed pair, first family
            {AddHerbEffectTerms, "清热，解毒", {"清热", "解毒"}},   // final term kept
            {AddPatentMedIndicationTerms, "发热，恶寒\r\n头痛", {"发热", "恶寒"}},   // term at the first CR kept
            {AddHerbIndicationTerms, "头痛，头痛。头痛", {"头痛"}},   // repeat stored once
            {AddFormulaNoteTerms, "ABC，abc", {"ABC"}},   // letter case stored once
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
    void walkAgreesWithTheRulesOnRandomTexts()
    {
        const QStringList pieces{"。", "，", "；", "*", "：", "、", "治", "（", "）", "(", ")", "\r", "\n", " ",
                                 "清", "热", "头", "痛", "a", ":", ",", ".", "　"};
        QRandomGenerator random(20240315);
        for (int round = 0; round < 3000; ++round) {
            QString text;
            const int length = static_cast<int>(random.bounded(0, 24));
            for (int k = 0; k < length; ++k) text += pieces[static_cast<int>(random.bounded(pieces.size()))];
            for (const Member& m : Members) {
                const QStringList expected = referenceWalk(text, m.firstFamily, m.cutsAtZhi);
                if (m.splitter->terms(text) != expected)
                    QFAIL(qPrintable(QStringLiteral("%1 on \"%2\": %3 instead of %4")
                                         .arg(m.name, text, m.splitter->terms(text).join('|'), expected.join('|'))));
            }
        }
    }

private:
    TestEnvironment env_;
};

QTEST_MAIN(TermSplitterTest)
#include "term_splitter_test.moc"
