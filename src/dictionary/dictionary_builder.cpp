// The four builders as tables of stages, and the one builder that runs them; see
// dictionary_builder.h.
#include "dictionary/dictionary_builder.h"

#include "core/globals.h"
#include "core/progress_window.h"
#include "dictionary/term_splitter.h"
#include "platform/dao/dao.h"
#include "platform/forms/buttons.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/services.h"
#include "platform/vb/conversions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWindow>
#include <QPointer>
#include <QStringList>
#include <vector>

namespace dictionary {

namespace {

// One pass over a source column into one dictionary.
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

// The progress window as a builder drives it. It is shown, and pending events run,
// before the rebuild's transaction opens and after it has ended; in between no event
// runs (no other handler can slip in), and the window is only repainted: every row's
// place is noted, but the bar and the label are set and drawn at most once a time
// slice and at the end of each stage, so a long rebuild does not spend its time
// repainting.
class ProgressDisplay {
public:
    ProgressDisplay()
        : window_(new core::Frmjdys), previous_(QApplication::activeWindow())
    {
        window_->Show();
        window_->Labpre->setCaption(QString());
        window_->Labprg->setCaption(QString());
        forms::DoEvents();
        window_->ProgBar->setValue(0);
        waitUntilDrawable();
    }
    // Unloads the window and gives the activation back to the window that had it, so
    // the keys go where they went before (the query window opens inside it).
    ~ProgressDisplay()
    {
        if (window_) window_->Unload();
        if (previous_) previous_->activateWindow();
        forms::DoEvents();
    }
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    void beginStage(const QString& stageText)
    {
        window_->Labprg->setCaption(stageText);
        flush();
    }
    // Row n of the `rows` rows of `stage`.
    void note(const Stage& stage, int rows, int n)
    {
        stage_ = &stage;
        rows_ = rows;
        n_ = n;
        if (!slice_.isValid() || slice_.elapsed() >= SliceMilliseconds) flush();
    }
    void flush()
    {
        if (stage_) {
            const StageProgress progress = stageProgress(stage_->base, stage_->span, rows_, n_);
            window_->ProgBar->setValue(progress.bar);
            window_->Labpre->setCaption(progress.label);
            stage_ = nullptr;
        }
        window_->repaint();
        slice_.start();
    }

private:
    static constexpr int SliceMilliseconds = 40;
    static constexpr int ExposeMilliseconds = 1000;

    // A window that the display has not exposed yet is not drawn by a repaint, and
    // once the transaction is open no event will expose it: events run until it is
    // (or for a second at most, so a display that never says so blocks nothing).
    void waitUntilDrawable()
    {
        QElapsedTimer waited;
        waited.start();
        forms::DoEvents();
        while (!(window_->windowHandle() && window_->windowHandle()->isExposed())
               && waited.elapsed() < ExposeMilliseconds) {
            QThread::msleep(5);
            forms::DoEvents();
        }
    }

    QPointer<core::Frmjdys> window_;
    QPointer<QWidget> previous_;
    QElapsedTimer slice_;
    const Stage* stage_ = nullptr;   // the row noted and not drawn yet
    int rows_ = 0;
    int n_ = 0;
};

// The rebuild in one transaction, with the database closed again before `progress`
// goes (on success and on failure alike).
void runBuild(const Build& build, ProgressDisplay& progress)
{
    dao::Database db = core::OpenDb();
    dao::Transaction rebuild(db);
    for (const QString& statement : build.emptying) db.execute(statement);
    db.deleteAllQueryDefs();
    for (const Stage& stage : build.stages) {
        db.createQueryDef(stage.queryName, stage.sql);
        dao::Recordset source = db.openRecordset(stage.queryName);
        const int rows = source.recordCount();
        if (rows == 0) continue;
        progress.beginStage(stage.stageText);
        dao::Recordset dictionary = stage.splitter.openDictionary(db);
        for (int n = 1; !source.eof(); ++n, source.moveNext()) {
            progress.note(stage, rows, n);
            stage.splitter.addTo(dictionary, source.field(0).toString());
        }
        progress.flush();
    }
    rebuild.commit();
}

void runTrapped(const Build& build)
{
    try {
        ProgressDisplay progress;
        runBuild(build, progress);
    } catch (const std::exception& error) {
        forms::ReportErrorBlock(forms::ErrorNumber(error), forms::ErrorDescription(error));
    }
}

}  // namespace

StageProgress stageProgress(int base, int span, int rows, int n)
{
    const vb::Currency step = vb::Currency::fromDouble(static_cast<double>(span) / rows);
    const vb::Currency value = vb::Currency::fromDouble(base) + step * static_cast<double>(n);
    return {static_cast<double>(static_cast<float>(value.toDouble())),
            QString::number(vb::CInt(value)) + u'%'};
}

void BuildHerbDicts() { runTrapped(herbBuild()); }
void BuildFormulaDicts() { runTrapped(formulaBuild()); }
void BuildSymptomDict() { runTrapped(symptomBuild()); }
void BuildPatentMedDicts() { runTrapped(patentMedBuild()); }

}  // namespace dictionary
