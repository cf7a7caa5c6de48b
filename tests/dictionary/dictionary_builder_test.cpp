// The dictionary builders on a fresh database in a real main window: the progress
// arithmetic, skipped and filled stages, terms stored once (as the seek stores them), deleted records' terms gone
// at the next rebuild, repeatable results, and a failure at each write of a rebuild
// leaving the dictionaries as they were.
#include "dictionary/dictionary_builder.h"
#include "dictionary/term_splitter.h"
#include "platform/dao/fault_injector.h"
#include "reference/knowledge_test_support.h"
#include "support/window_fixture.h"

#include <QTest>

using namespace dictionary;
using knowledgetest::progressWindowGone;
using knowledgetest::termsInAddedOrder;
using knowledgetest::termsOf;   // sorted: the expected terms below are in code order

namespace {

void addHerb(const TestEnvironment& env, const QString& name, const vb::Variant& effects, const vb::Variant& indications)
{
    env.insert("zyyc", {name, "  ", "  ", effects, indications, "  ", "  ", "  ", "  "});
}

}  // namespace

class DictionaryBuilderTest : public QObject {
    Q_OBJECT

private slots:
    // The bar as a float; the label rounds half to even; a stage counts from its base.
    void progressOfARow()
    {
        const struct { int base, span, rows, n; double bar; const char* label; } rows[] = {
            {0, 50, 4, 1, 12.5, "12%"}, {0, 50, 4, 3, 37.5, "38%"}, {0, 50, 7, 7, 50.0003, "50%"},
            {50, 49, 2, 1, 74.5, "74%"}, {0, 98, 3, 1, 32.6667, "33%"}, {0, 98, 3, 3, 98.0001, "98%"}};
        for (const auto& row : rows) {
            const StageProgress progress = stageProgress(row.base, row.span, row.rows, row.n);
            QCOMPARE(progress.bar, static_cast<double>(static_cast<float>(row.bar)));
            QCOMPARE(progress.label, QString(row.label));
        }
    }
    // An imported row with Null effects comes first: the stage still runs. A term of many
    // herbs is stored once; a second run gives the same; a deleted herb's terms go, and
    // an empty source empties the dictionaries without a message.
    void termsAreStoredOnceAndNullRowsAddNothing()
    {
        WindowFixture fixture;
        TestEnvironment& env = fixture.environment();
        env.insert("ycgy", {"旧功效"});
        addHerb(env, "甲", vb::Variant(), "  ");
        addHerb(env, "人参", "大补元气，补脾益肺。", "气虚欲脱，脾虚食少");
        addHerb(env, "党参", "补脾益肺，养血。", "脾虚食少");
        for (int run = 0; run < 2; ++run) {
            BuildHerbDicts();
            QCOMPARE(termsOf(env, "ycgy"), (QStringList{"养血", "大补元气", "补脾益肺"}));
            QCOMPARE(termsOf(env, "yczz"), (QStringList{"气虚欲脱", "脾虚食少"}));
        }
        env.open().execute("delete * from zyyc where ycmc = '党参'");
        BuildHerbDicts();
        QCOMPARE(termsOf(env, "ycgy"), (QStringList{"大补元气", "补脾益肺"}));
        env.open().execute("delete * from zyyc");
        BuildHerbDicts();
        QCOMPARE(termsOf(env, "ycgy") + termsOf(env, "yczz"), QStringList());
        QVERIFY(fixture.messages().isEmpty());
        QVERIFY(progressWindowGone());
    }
    // A rebuilt dictionary holds what the stand-alone splitter, seeking each term in the
    // file, holds after the same texts, in the same order: letters A to Z compare
    // without case, full-width and accented letters as they are.
    void rebuildKeepsTheTermsTheSeekWouldKeep()
    {
        WindowFixture fixture;
        TestEnvironment& env = fixture.environment();
        const QStringList texts = {"Abc，ABC，乏力", "abc；ＡＢＣ，ａｂｃ", "É，é，乏力、食少", "食少，Z，z"};
        for (qsizetype i = 0; i < texts.size(); ++i) env.insert("zybz", {"病" + QString::number(i), texts[i]});
        BuildSymptomDict();
        const QStringList rebuilt = termsInAddedOrder(env, "bzzz");
        env.open().execute("delete * from bzzz");
        for (const QString& text : texts) AddSymptomTerms(text);
        QCOMPARE(rebuilt, termsInAddedOrder(env, "bzzz"));
        QCOMPARE(rebuilt, (QStringList{"Abc", "乏力", "ＡＢＣ", "ａｂｃ", "É", "é", "食少", "Z"}));
    }
    // The formula notes and the second family stop at their first line; a Null note in
    // the first formula no longer empties the notes dictionary.
    void everyBuilderFillsItsDictionaries()
    {
        WindowFixture fixture;
        TestEnvironment& env = fixture.environment();
        env.insert("zyfj", {"四君子汤", "人参", "益气健脾", "脾胃气虚", "  ", "局方", vb::Variant()});
        env.insert("zyfj", {"理中丸", "人参", "温中祛寒，补气健脾", "脾胃虚寒", "  ", "伤寒论", "腹痛，呕吐\r\n下利"});
        env.insert("zybz", {"风寒表证", "恶寒，发热（轻）；头痛\r\n无汗，"});
        env.insert("fjcy", {"银翘解毒丸", "金银花", "疏风解表，清热解毒", "风热感冒"});
        BuildFormulaDicts();
        BuildSymptomDict();
        BuildPatentMedDicts();
        QCOMPARE(termsOf(env, "fjgy"), (QStringList{"温中祛寒", "益气健脾", "补气健脾"}));
        QCOMPARE(termsOf(env, "fjzz"), (QStringList{"脾胃气虚", "脾胃虚寒"}));
        QCOMPARE(termsOf(env, "lcfj"), (QStringList{"呕吐", "腹痛"}));
        QCOMPARE(termsOf(env, "bzzz"), (QStringList{"发热", "头痛", "恶寒"}));
        QCOMPARE(termsOf(env, "Cygx"), (QStringList{"清热解毒", "疏风解表"}));
        QCOMPARE(termsOf(env, "Cyzz"), QStringList{"风热感冒"});
    }
    // Every write of a rebuild fails in turn (the emptying, each added term): each time the dictionaries stay as they were and the user is told once.
    void failureAtEachWriteLeavesTheOldDictionaries()
    {
        WindowFixture fixture;
        TestEnvironment& env = fixture.environment();
        env.insert("ycgy", {"旧功效"});
        env.insert("yczz", {"旧主治"});
        addHerb(env, "人参", "大补元气", "气虚欲脱，咳嗽");
        addHerb(env, "黄芪", "补气升阳", "气虚乏力");
        int failures = 0;
        for (int n = 1;; ++n) {
            fixture.clearMessages();
            dao::WriteFault::arm(n);
            BuildHerbDicts();
            if (!dao::WriteFault::fired()) break;
            ++failures;
            QCOMPARE(termsOf(env, "ycgy"), QStringList{"旧功效"});
            QCOMPARE(termsOf(env, "yczz"), QStringList{"旧主治"});
            QCOMPARE(fixture.messages().size(), 1);
            QVERIFY(fixture.messages().first().startsWith("错误号码：3043\r\n错误内容："));
            QVERIFY(progressWindowGone());
        }
        dao::WriteFault::disarm();
        QVERIFY(failures >= 7);   // two emptyings, five terms
        QCOMPARE(termsOf(env, "yczz"), (QStringList{"咳嗽", "气虚乏力", "气虚欲脱"}));
    }
};

QTEST_MAIN(DictionaryBuilderTest)
#include "dictionary_builder_test.moc"
