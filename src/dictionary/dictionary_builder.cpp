// The four builders as tables of stages, and the one builder that runs them; see
// dictionary_builder.h.
#include "dictionary/dictionary_builder.h"

#include "core/batch_writer.h"
#include "core/progress_driver.h"
#include "dictionary/term_splitter.h"
#include "platform/dao/dao.h"
#include "platform/vb/conversions.h"

#include <QStringList>
#include <vector>

namespace dictionary {

namespace {

// One pass over a source column into one dictionary. The stages of a build fill
// dictionaries of their own, each emptied by the build before its stages run.
struct Stage {
    QString queryName;
    QString sql;
    int base;
    int span;
    QString stageText;
    const TermSplitter& splitter;
};

struct Build {
    QStringList emptying;
    std::vector<Stage> stages;
};

const Build& herbBuild()
{
    static const Build build{
        {QStringLiteral("delete * from ycgy"), QStringLiteral("delete * from yczz")},
        {{QStringLiteral("000"), QStringLiteral("select ycgy from zyyc "), 0, 50,
          QStringLiteral("正在读取药材功效词典......"), AddHerbEffectTerms},
         {QStringLiteral("001"), QStringLiteral("select yczz from zyyc "), 50, 49,
          QStringLiteral("正在读取药材主治词典......"), AddHerbIndicationTerms}}};
    return build;
}

const Build& formulaBuild()
{
    static const Build build{
        {QStringLiteral("delete * from fjgy"), QStringLiteral("delete * from fjzz"), QStringLiteral("delete * from lcfj")},
        {{QStringLiteral("000"), QStringLiteral("select fjgy from zyfj "), 0, 33,
          QStringLiteral("正在读取方剂功用词典......"), AddFormulaEffectTerms},
         {QStringLiteral("001"), QStringLiteral("select fjzz from zyfj "), 33, 33,
          QStringLiteral("正在读取方剂主治词典......"), AddFormulaIndicationTerms},
         {QStringLiteral("002"), QStringLiteral("select fjxd from zyfj "), 66, 33,
          QStringLiteral("正在读取中医方剂临床使用词典......"), AddFormulaNoteTerms}}};
    return build;
}

const Build& symptomBuild()
{
    static const Build build{
        {QStringLiteral("delete * from bzzz")},
        {{QStringLiteral("000"), QStringLiteral("select bzqk from zybz "), 0, 99,
          QStringLiteral("正在读取中医临床症状诊断词典......"), AddSymptomTerms}}};
    return build;
}

const Build& patentMedBuild()
{
    static const Build build{
        {QStringLiteral("delete * from Cyzz"), QStringLiteral("delete * from Cygx")},
        {{QStringLiteral("0001"), QStringLiteral("select cyzz from fjcy"), 0, 50,
          QStringLiteral("正在读取中医成药主治词典......"), AddPatentMedIndicationTerms},
         {QStringLiteral("0000"), QStringLiteral("select cygy from fjcy"), 50, 49,
          QStringLiteral("正在读取中医成药功效词典......"), AddPatentMedEffectTerms}}};
    return build;
}

// One stage over its opened source: the terms of every row added to the stage's
// dictionary, the progress noted row by row.
void runStage(dao::Database& db, const Stage& stage, dao::Recordset& source, core::ProgressDriver& progress)
{
    const int rows = source.recordCount();
    progress.beginStage(stage.stageText);
    EmptiedDictionary dictionary(db, stage.splitter);
    for (int n = 1; !source.eof(); ++n, source.moveNext()) {
        progress.note([&stage, rows, n] { return stageProgress(stage.base, stage.span, rows, n); });
        dictionary.addTermsOf(source.field(0).toString());
    }
    progress.flush();
}

// The rebuild, run by the batch writer in one transaction.
void runBuild(const Build& build, dao::Database& db, core::ProgressDriver& progress)
{
    for (const QString& statement : build.emptying) db.execute(statement);
    db.deleteAllQueryDefs();
    for (const Stage& stage : build.stages) {
        db.createQueryDef(stage.queryName, stage.sql);
        dao::Recordset source = db.openRecordset(stage.queryName);
        if (source.recordCount() == 0) continue;
        runStage(db, stage, source, progress);
    }
}

void runTrapped(const Build& build)
{
    core::writeBatch(core::runTrappedBlockTitled,
                     [&build](dao::Database& db, core::ProgressDriver& progress) { runBuild(build, db, progress); });
}

}  // namespace

StageProgress stageProgress(int base, int span, int rows, int n)
{
    const vb::Currency step = vb::Currency::fromDouble(static_cast<double>(span) / rows);
    const vb::Currency value = vb::Currency::fromDouble(base) + step * static_cast<double>(n);
    return {static_cast<double>(static_cast<float>(value.toDouble())),
            QString::number(vb::CInt(value)) + u'%'};
}

bool NarrowSymptomDict(const QString& sql, const std::function<void(dao::Database&)>& alsoInRefill)
{
    const Stage narrowing{QStringLiteral("qkbz"), sql, 0, 98, QStringLiteral("正在读取中医临床症状诊断词典......"),
                          AddSymptomTerms};
    // The texts are read before anything is written, so a name that matches none
    // writes nothing; the stored query, the refill and the caller's writes then go to
    // the file together.
    dao::Recordset source;
    return core::writeBatch(
        core::runTrappedBlockTitled,
        [&](dao::Database& db) {
            source = db.openRecordset(narrowing.sql);
            return source.recordCount() != 0;
        },
        [&](dao::Database& db, core::ProgressDriver& progress) {
            db.deleteAllQueryDefs();
            db.createQueryDef(narrowing.queryName, narrowing.sql);
            db.execute(QStringLiteral("delete * from bzzz"));
            runStage(db, narrowing, source, progress);
            if (alsoInRefill) alsoInRefill(db);
        });
}

void BuildHerbDicts() { runTrapped(herbBuild()); }
void BuildFormulaDicts() { runTrapped(formulaBuild()); }
void BuildSymptomDict() { runTrapped(symptomBuild()); }
void BuildPatentMedDicts() { runTrapped(patentMedBuild()); }

}  // namespace dictionary
