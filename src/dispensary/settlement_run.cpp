// The settlement's menu handler; see settlement_run.h.
#include "dispensary/settlement_run.h"

#include "core/error_trap.h"
#include "core/globals.h"
#include "core/main_window.h"
#include "core/progress_driver.h"
#include "dispensary/settlement.h"
#include "platform/forms/services.h"

namespace dispensary {

namespace {

// The settlement's progress in the progress window. The window is shown before the
// settlement's transaction opens and unloaded when the passes end; the window's last
// step (events run) comes when this object goes, after the transaction has ended.
class ProgressWindow : public SettlementProgress {
public:
    void begin(double value, const QString& stage) override { driver_.beginStage(stage, core::ProgressPlace{value, QString()}); }
    void advance(double value, const QString& percent) override
    {
        driver_.note([value, percent] { return core::ProgressPlace{value, percent}; });
    }
    void end() override
    {
        driver_.flush();
        driver_.close();
    }

private:
    core::ProgressDriver driver_;
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
        settlement.PriceStockOuts();
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
