// The settlement's menu handler; see settlement_run.h.
#include "dispensary/settlement_run.h"

#include "core/error_trap.h"
#include "core/globals.h"
#include "core/main_window.h"
#include "core/progress_window.h"
#include "dispensary/settlement.h"
#include "platform/forms/buttons.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/services.h"

#include <QPointer>

namespace dispensary {

namespace {

// The settlement's progress shown in Frmjdys, with pending events run after each
// update so that it repaints. They run inside the settlement's transaction: no other
// handler can write meanwhile, as the menus are locked and no working window is open
// (the menus are locked while one is). The window goes when the passes end or, after
// an error, when this object does.
class ProgressWindow : public SettlementProgress {
public:
    ~ProgressWindow() override { end(); }

    void begin(double value, const QString& stage) override
    {
        if (!window_) {
            window_ = new core::Frmjdys;
            window_->Show();
        }
        window_->Labpre->setCaption(QString());
        window_->Labprg->setCaption(stage);
        forms::DoEvents();
        window_->ProgBar->setValue(value);
        forms::DoEvents();
    }

    void advance(double value, const QString& percent) override
    {
        window_->ProgBar->setValue(value);
        window_->Labpre->setCaption(percent);
        forms::DoEvents();
    }

    void end() override
    {
        if (window_) window_->Unload();
    }

private:
    QPointer<core::Frmjdys> window_;
};

bool running = false;   // a second start while one runs is ignored

}  // namespace

void Ypjz_Click()
{
    if (running
        || forms::MsgBox(QStringLiteral("开始进行结帐处理吗？"), forms::vbYesNo | forms::vbQuestion, QString())
               != forms::vbYes)
        return;
    running = true;
    forms::DoEvents();
    const bool done = core::runTrappedNumbered([] {
        forms::Screen::setMousePointer(forms::vbArrowHourglass);
        core::menuOff();
        ProgressWindow progress;
        dao::Database db = core::OpenDb();
        dao::Transaction transaction(db);
        Settlement settlement(db, progress);
        settlement.PrepareSettlement();
        forms::DoEvents();
        settlement.PriceStockOuts();
        forms::DoEvents();
        settlement.RebaseStockBalances();
        transaction.commit();
        db.close();
        forms::DoEvents();
        forms::DoEvents();
        forms::Clock::WaitSeconds(3);
    });
    if (done) forms::Notice(QStringLiteral("当期结帐已经完成"));
    forms::Screen::setMousePointer(forms::vbArrow);
    core::menuOn();
    running = false;
}

}  // namespace dispensary
