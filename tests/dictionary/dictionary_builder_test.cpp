// The dictionary builders on a fresh database in a real main window: the progress
// arithmetic and what each stage draws, skipped and filled stages, terms stored once
// (as the seek stores them), deleted records' terms gone from every dictionary at the
// next rebuild, repeatable results, and a failure at each write of a rebuild leaving
// the dictionaries as they were.
#include "dictionary/dictionary_builder.h"
#include "dictionary/term_splitter.h"
#include "platform/dao/fault_injector.h"
#include "reference/knowledge_test_support.h"
#include "support/paint_watch.h"
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

// The percentage and stage text of every distinct drawing of the progress window while
// `build` runs, each noted place drawn at once or (`everyPlace` false) once a time slice.
QStringList drawnWhile(const std::function<void()>& build, bool everyPlace = true)
{
    QStringList drawn;
    std::optional<core::ProgressDriver::TestHook> everyPlaceDrawn;
    if (everyPlace) everyPlaceDrawn.emplace();
    const PaintWatch watch([&](core::Frmjdys* progress) {
        const QString label = progress->Labpre->Caption() + u'|' + progress->Labprg->Caption();
        if (drawn.isEmpty() || drawn.last() != label) drawn << label;
    });
    build();
    return drawn;
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
    // Every stage of every builder with two source rows (one for the narrowing): its
    // text, then its percentages from its base; on the time slice, the last one drawn.
    void eachStageDrawsItsTextAndPercentages()
    {
        WindowFixture fixture;
        TestEnvironment& env = fixture.environment();
        for (const char* name : {"甲", "乙"}) {
            addHerb(env, name, "补气", "乏力");
            env.insert("zyfj", {name, "人参", "补气", "乏力", "  ", "局方", "腹痛"});
            env.insert("zybz", {name, "发热"});
            env.insert("fjcy", {name, "人参", "补气", "乏力"});
        }
        const QString herbs = "正在读取药材", formulas = "正在读取方剂", patents = "正在读取中医成药";
        const QString symptoms = "正在读取中医临床症状诊断词典......";
        const struct {
            std::function<void()> build;
            std::vector<std::pair<QString, QStringList>> stages;   // text, percentages drawn
        } builds[] = {
            {BuildHerbDicts, {{herbs + "功效词典......", {"25", "50"}}, {herbs + "主治词典......", {"74", "99"}}}},
            {BuildFormulaDicts, {{formulas + "功用词典......", {"16", "33"}}, {formulas + "主治词典......", {"50", "66"}},
                                 {"正在读取中医方剂临床使用词典......", {"82", "99"}}}},
            {BuildSymptomDict, {{symptoms, {"50", "99"}}}},
            {BuildPatentMedDicts, {{patents + "主治词典......", {"25", "50"}}, {patents + "功效词典......", {"74", "99"}}}},
            {[] { NarrowSymptomDict("select bzqk from zybz where bzmc = '甲'"); }, {{symptoms, {"98"}}}},
        };
        for (const auto& [build, stages] : builds) {
            QStringList expected{"|"};
            QString percentage;
            for (const auto& [text, percentages] : stages) {
                expected << percentage + '|' + text;
                for (const QString& drawn : percentages) expected << (percentage = drawn + '%') + '|' + text;
            }
            QCOMPARE(drawnWhile(build), expected);
            QCOMPARE(drawnWhile(build, false).last(), expected.last());
        }
    }
    // An imported row with Null effects comes first: the stage still runs. A term of many
    // herbs is stored once; a second run gives the same; an empty source empties the
    // dictionaries without a message.
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
        env.open().execute("delete * from zyyc");
        BuildHerbDicts();
        QCOMPARE(termsOf(env, "ycgy") + termsOf(env, "yczz"), QStringList());
        QVERIFY(fixture.messages().isEmpty());
        QVERIFY(progressWindowGone());
    }
    // Two records of every base, the second deleted before the next rebuild: every
    // dictionary of the builder keeps the first record's terms alone (the one they share
    // included).
    void deletedRecordsTermsLeaveEveryDictionary()
    {
        WindowFixture fixture;
        TestEnvironment& env = fixture.environment();
        for (const char* record : {"甲", "乙"}) {
            const QString a = QString(record) + "一，共有", b = QString(record) + "二，共有", c = QString(record) + "三";
            addHerb(env, record, a, b);
            env.insert("zyfj", {record, "人参", a, b, "  ", "局方", c});
            env.insert("zybz", {record, a});
            env.insert("fjcy", {record, "人参", a, b});
        }
        const struct {
            void (*build)();
            const char* table;
            std::vector<std::pair<const char*, QStringList>> dictionaries;
        } builds[] = {
            {BuildHerbDicts, "zyyc where ycmc", {{"ycgy", {"共有", "甲一"}}, {"yczz", {"共有", "甲二"}}}},
            {BuildFormulaDicts, "zyfj where fjmc",
             {{"fjgy", {"共有", "甲一"}}, {"fjzz", {"共有", "甲二"}}, {"lcfj", {"甲三"}}}},
            {BuildSymptomDict, "zybz where bzmc", {{"bzzz", {"共有", "甲一"}}}},
            {BuildPatentMedDicts, "fjcy where cymc", {{"Cygx", {"共有", "甲一"}}, {"Cyzz", {"共有", "甲二"}}}},
        };
        for (const auto& [build, table, dictionaries] : builds) {
            build();
            env.open().execute(QStringLiteral("delete * from %1 = '乙'").arg(table));
            build();
            for (const auto& [dictionary, terms] : dictionaries) QCOMPARE(termsOf(env, dictionary), terms);
        }
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
