// The settlement's menu handler; see settlement_run.h.
#include "dispensary/settlement_run.h"

#include "core/batch_writer.h"
#include "core/main_window.h"
#include "core/one_press.h"
#include "core/progress_driver.h"
#include "dispensary/settlement.h"
#include "platform/forms/services.h"

namespace dispensary {

namespace {

// The settlement's progress in the batch's progress window, unloaded when the passes
// end; the window's last step (events run) comes after the transaction has ended.
class ProgressWindow : public SettlementProgress {
public:
    explicit ProgressWindow(core::ProgressDriver& driver) : driver_(driver) {}
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
    core::ProgressDriver& driver_;
};

core::OnePress press;   // a second start while one runs is ignored

}  // namespace

void Ypjz_Click()
{
    press.run([] {
        if (forms::MsgBox(QStringLiteral("开始进行结帐处理吗？"), forms::vbYesNo | forms::vbQuestion, QString())
            != forms::vbYes)
            return;
        forms::DoEvents();
        forms::Screen::setMousePointer(forms::vbArrowHourglass);
        core::menuOff();
        const bool done = core::writeBatch(core::runTrappedNumbered, [](dao::Database& db, core::ProgressDriver& driver) {
            ProgressWindow progress(driver);
            Settlement settlement(db, progress);
            settlement.PrepareSettlement();
            settlement.PriceStockOuts();
            settlement.RebaseStockBalances();
        });
        if (done) {
            forms::DoEvents();
            forms::DoEvents();
            forms::Clock::WaitSeconds(3);
            forms::Notice(QStringLiteral("当期结帐已经完成"));
        }
        forms::Screen::setMousePointer(forms::vbArrow);
        core::menuOn();
    });
}

}  // namespace dispensary
