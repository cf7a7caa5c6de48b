// Every working window of the program by keyboard alone, opened through its menu item
// as the user opens it: the focus starts in the window's first control, Tab walks the
// window's tab order through every control that takes the focus and comes back round,
// Shift+Tab walks the same way back, the close box is there only on the windows the
// user may close with it, and the title bar paints the program's own icon beside it
// (read from the painted title bar, not from the window's icon, which falls back to
// the program's whatever the title bar shows).
#include "app/register_windows.h"
#include "core/program_icon.h"
#include "dispensary/drug_list.h"
#include "dispensary/prescription_pricing.h"
#include "dispensary/stock_in.h"
#include "dispensary/stock_out.h"
#include "dispensary/stock_queries.h"
#include "maintenance/copy_window.h"
#include "maintenance/import_window.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "reference/diagnosis_entry.h"
#include "reference/diagnosis_query.h"
#include "reference/formula_entry.h"
#include "reference/formula_query.h"
#include "reference/herb_entry.h"
#include "reference/herb_query.h"
#include "reference/patent_medicine_entry.h"
#include "reference/patent_medicine_query.h"
#include "reference/western_drug_entry.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QtTest>
#include <functional>
#include <set>

using namespace dispensary;
using namespace reference;
using Chain = std::vector<QWidget*>;
using ChainOf = std::function<Chain(forms::Form*)>;

namespace {

// The chain of a window of type W, or nothing when the menu opened another window.
template <class W>
ChainOf chainOf(Chain (*list)(W&))
{
    return [list](forms::Form* form) {
        auto* window = qobject_cast<W*>(form);
        return window ? list(*window) : Chain{};
    };
}

struct Walk {
    const char* item;
    ChainOf chain;   // from the first control; on a tabbed window, its tab strip last
    bool closeBox;
};

const Walk Walks[] = {
    {"YcqkWh", chainOf<Frmyjwh>([](Frmyjwh& w) -> Chain {
         return {w.CboYplb, w.Txtycbm, w.Txtycmc, w.Txtycdj, w.CmdSave, w.CmdBmxg, w.CmdMcxg, w.Cmdedit,
                 w.Command1, w.Cmddele, w.CmdExit, w.CmdQcls, w.TxtJldw, w.MSFGridBmmc};
     }), true},
    {"ycrc", chainOf<Frmycrk>([](Frmycrk& w) -> Chain {
         return {w.Txtycbm, w.Txtycmc, w.TxtYcph, w.TxtYsqx, w.Txthwcd, w.TxtPjhm, w.TxtYcsl,
                 w.TxtYcje, w.Txthwll, w.TxtGjsj, w.Txtjbxm, w.CmdSave, w.CmdQcls, w.CmdExit};
     }), true},
    {"YcqkCk", chainOf<FrmYcck>([](FrmYcck& w) -> Chain {
         return {w.Txtycbm, w.TxtPjhm, w.TxtGjsj, w.Txthwll, w.TxtYcsl, w.TxtYcje, w.Txtjbxm,
                 w.CmdSave, w.CmdQcls, w.CmdExit, w.Txtycmc};
     }), true},
    {"YcqkXs", chainOf<Frmycjj>([](Frmycjj& w) -> Chain {
         return {w.TxtBlhm, w.CboZdks, w.MasZdsj, w.Txtycbm, w.Txtycmc, w.TxtYcjl, w.Cmdcksf, w.CmdQcls,
                 w.CmdHelp, w.CmdExit, w.TxtYchj, w.MSFGridyfjg, w.SSTab1};
     }), false},
    {"Yckc", chainOf<Frmyckc>([](Frmyckc& w) -> Chain {   // the option group: one stop, at the selected one
         return {w.Txtycbm, w.Txtycmc, w.TxtQssj, w.TxtJssj, w.CmdSeek, w.CmdQcls, w.CmdExit, w.CmdHelp, w.OptYcrk};
     }), false},
    {"zycxll0", chainOf<Frmzyll>([](Frmzyll& w) -> Chain {
         return {w.Txtmcyc, w.Cboycxw, w.Cboycgj, w.Cboycgx1, w.Cboycgx2, w.Cboycgx3, w.Cboyczz1, w.Cboyczz2,
                 w.Cboyczz3, w.CmdSeek, w.CmdQcls, w.CmdHelp, w.CmdExit, w.Msfgridzyyc, w.SSTab1};
     }), false},
    {"zycxll1", chainOf<Frmfjll>([](Frmfjll& w) -> Chain {
         return {w.Txtmcyc, w.Cbofjly, w.Cbocxyc1, w.Cbocxyc2, w.Cbocxyc3, w.Cboycgx1, w.Cboycgx2, w.Cboycgx3,
                 w.Cboyczz1, w.Cboyczz2, w.Cboyczz3, w.Cbofjlc1, w.Cbofjlc2, w.Cbofjlc3, w.CmdSeek, w.CmdQcls,
                 w.CmdHelp, w.CmdExit, w.MSFGridzyfj, w.SSTab1};
     }), false},
    {"zycxll2", chainOf<Frmzyzdll>([](Frmzyzdll& w) -> Chain {
         return {w.Dbobzmc, w.Dbobzzz(0), w.Dbobzzz(1), w.Dbobzzz(2), w.Dbobzzz(3), w.Dbobzzz(4), w.MSFGridzyzd,
                 w.CmdSeek, w.CmdQcls, w.CmdExit, w.SSTab1};
     }), false},
    {"ZycyCx", chainOf<FrmCyzy>([](FrmCyzy& w) -> Chain {
         return {w.Txtmcyc, w.Cbocxyc(0), w.Cbocxyc(1), w.Cbocxyc(2), w.Cboycgx(0), w.Cboycgx(1), w.Cboycgx(2),
                 w.Cboyczz(0), w.Cboyczz(1), w.Cboyczz(2), w.CmdSeek, w.CmdQcls, w.CmdExit, w.CmdHelp,
                 w.MSFGridzyfj, w.SSTab1};
     }), false},
    {"ZysjDl0", chainOf<Frmzyyc>([](Frmzyyc& w) -> Chain {
         return {w.Txtycmc, w.Cboycxw, w.Cboycgj, w.Txtycgy, w.Txtycyf, w.Txtyczz, w.Txtycyj, w.Txtycgb, w.CmdSave,
                 w.Cmdedit, w.CmdSeek, w.Cmdprnt, w.CmdQcls, w.Cmddele, w.CmdHelp, w.CmdExit, w.ListYcmc};
     }), false},
    {"ZysjDl1", chainOf<Frmfjdl>([](Frmfjdl& w) -> Chain {
         return {w.Txtfjmc, w.Txtfjnr, w.Txtfjgy, w.Txtfjzz, w.Txtfjyf, w.Txtlcxd, w.Txtfjly, w.CmdSave, w.Cmdedit,
                 w.CmdSeek, w.Cmddele, w.CmdQcls, w.Cmdprnt, w.CmdHelp, w.CmdQuit, w.ListFjmc, w.SSTab1};
     }), false},
    {"ZysjDl2", chainOf<Frmzyzddl>([](Frmzyzddl& w) -> Chain {
         return {w.TxtBzmc, w.Txtbzzz, w.Txtbzcy, w.TxtZlcs, w.CmdSave, w.Cmdedit, w.Cmddele, w.CmdQcls, w.Cmdprnt,
                 w.CmdHelp, w.CmdExit, w.MSFGridzyzd};
     }), false},
    {"ZysjDl3", chainOf<FrmZycy>([](FrmZycy& w) -> Chain {
         return {w.Txtfjmc, w.Txtfjnr, w.Txtfjgy, w.Txtfjzz, w.Txtfjyf, w.Txtlcxd, w.Cmdsave, w.Cmdedit, w.Cmdseek,
                 w.Cmddele, w.Cmdqcls, w.Cmdprnt, w.CmdHelp, w.Cmdquit, w.ListFjmc, w.SSTab1};
     }), false},
    {"ZysjDl4", chainOf<FrmXydl>([](FrmXydl& w) -> Chain {
         return {w.Txtycmc, w.Txtyczz, w.Txtycyf, w.Txtycyj, w.Txtycgb, w.Cmdsave, w.Cmdedit, w.Cmdseek, w.Cmddele,
                 w.Cmdprnt, w.CmdHelp, w.Cmdqcls, w.Cmdexit, w.ListYcmc, w.CboXylb};
     }), false},
    {"cc", chainOf<maintenance::Frmcopy>([](maintenance::Frmcopy& w) -> Chain {
         return {w.Txtpath, w.Cmdcopy, w.Cmdexit, w.Optsave, w.CmdPath};
     }), false},
    {"DateSj", chainOf<maintenance::FrmLinkDb>([](maintenance::FrmLinkDb& w) -> Chain {
         return {w.CmdQuit, w.CmdQcls, w.CmdLook, w.TxtFile, w.CmdFileName};
     }), false},
};

QString nameOf(const QWidget* control, const Chain& chain)
{
    const auto at = std::find(chain.begin(), chain.end(), control);
    return at == chain.end() ? QStringLiteral("a control outside the chain") : QStringLiteral("stop %1").arg(at - chain.begin());
}

// The controls holding a widget that the user could reach with Tab or the mouse: shown,
// enabled, taking the focus by Tab (an option of a group counts only when selected).
std::set<const QWidget*> focusTakers(const forms::Form& window)
{
    std::set<const QWidget*> controls;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy() || !widget->isVisible() || !widget->isEnabled())
            continue;
        if (auto* radio = qobject_cast<QRadioButton*>(widget); radio && !radio->isChecked()) continue;
        QWidget* control = widget;
        while (control && !qobject_cast<forms::Control*>(control)) control = control->parentWidget();
        controls.insert(control);
    }
    return controls;
}

// Whether the title bar of `window` paints the program's icon: the red of its tile
// somewhere in the strip above the window's client area. A window without a close box
// has no system menu, and its title bar shows no icon at all.
bool titleBarPaintsTheProgramIcon(const forms::Form& window)
{
    QMdiSubWindow* sub = window.subWindow();
    const QImage shot = sub->grab().toImage();
    const QColor tile = core::programIcon().pixmap(16).toImage().pixelColor(2, 8);   // left of the gourd
    const int strip = sub->widget()->geometry().top();
    for (int y = 0; y < strip; ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor at = shot.pixelColor(x, y);
            if (qAbs(at.red() - tile.red()) + qAbs(at.green() - tile.green()) + qAbs(at.blue() - tile.blue()) < 12)
                return true;
        }
    return false;
}

}  // namespace

class KeyboardWalkTest : public QObject {
    Q_OBJECT

private slots:
    void everyWindowWalksItsTabOrderBothWays_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(Walks)); ++row) QTest::newRow(Walks[row].item) << row;
    }

    void everyWindowWalksItsTabOrderBothWays()
    {
        QFETCH(int, row);
        const Walk& walk = Walks[row];
        WindowFixture fixture;
        // The pricing window closes at once on a database without a visit.
        fixture.environment().insert("hzzdzl", {"A001", "内科", "2024-03-15", "  ", "  ", "  ", "  ", "  ",
                                                "当归 10克", "  ", "  ", "张医生"});
        registerWindows(fixture.mainWindow());
        fixture.mainWindow().menuAction(walk.item)->trigger();
        QCoreApplication::processEvents();
        QPointer<forms::Form> window = forms::Form::ActiveForm();
        QVERIFY(window);
        const Chain chain = walk.chain(window);
        QVERIFY2(!chain.empty(), window->metaObject()->className());

        QCOMPARE(bool(window->subWindow()->windowFlags() & Qt::WindowCloseButtonHint), walk.closeBox);
        QCOMPARE(titleBarPaintsTheProgramIcon(*window), walk.closeBox);

        const auto at = [&](const char* step, std::size_t i) {
            return QStringLiteral("%1 %2: %3").arg(step).arg(i).arg(nameOf(WindowFixture::focusedControl(), chain)).toUtf8();
        };
        QVERIFY2(WindowFixture::focusedControl() == chain.front(), at("opened", 0).constData());
        for (const QWidget* control : focusTakers(*window))
            QVERIFY2(std::count(chain.begin(), chain.end(), control), control->metaObject()->className());
        for (std::size_t i = 1; i <= chain.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(WindowFixture::focusedControl() == chain[i % chain.size()], at("Tab", i).constData());
        }
        for (std::size_t i = 1; i <= chain.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QVERIFY2(WindowFixture::focusedControl() == chain[chain.size() - i], at("Shift+Tab", i).constData());
        }

        window->Unload();
        QTRY_VERIFY(window.isNull());
    }
};

QTEST_MAIN(KeyboardWalkTest)
#include "keyboard_walk_test.moc"
