// The dispensary's menu items as the program wires them: each, under its own top menu,
// opens its own window with its caption while every top menu is locked; in each
// window no label butts against the box before it, and the Tab key walks the controls
// in the order of their tab indexes.
#include "dispensary/dispensary_menu.h"
#include "dispensary/drug_list.h"
#include "dispensary/prescription_pricing.h"
#include "dispensary/stock_in.h"
#include "dispensary/stock_out.h"
#include "dispensary/stock_queries.h"
#include "dispensary_support.h"

#include <QMenu>

using namespace dispensary;

namespace {
const char* const TopMenus[] = {"ZymzZd", "ycrk", "zycxll", "ZysjDl", "xtwh", "XtHelp", "lxzz", "zyexit"};

// The Tab chain each window's description gives, from its first control.
std::vector<QWidget*> tabChain(forms::Form* window)
{
    if (auto* w = qobject_cast<Frmyjwh*>(window))
        return {w->CboYplb, w->Txtycbm, w->Txtycmc, w->Txtycdj, w->CmdSave, w->CmdBmxg, w->CmdMcxg,
                w->Cmdedit, w->Command1, w->Cmddele, w->CmdExit, w->CmdQcls, w->TxtJldw};
    if (auto* w = qobject_cast<Frmycrk*>(window))
        return {w->Txtycbm, w->Txtycmc, w->TxtYcph, w->TxtYsqx, w->Txthwcd, w->TxtPjhm, w->TxtYcsl, w->TxtYcje,
                w->Txthwll, w->TxtGjsj, w->Txtjbxm, w->CmdSave, w->CmdQcls, w->CmdExit};
    if (auto* w = qobject_cast<FrmYcck*>(window))
        return {w->Txtycbm, w->TxtPjhm, w->TxtGjsj, w->Txthwll, w->TxtYcsl, w->TxtYcje, w->Txtjbxm,
                w->CmdSave, w->CmdQcls, w->CmdExit, w->Txtycmc};
    if (auto* w = qobject_cast<Frmyckc*>(window))   // the option group is one stop, at its selected option
        return {w->Txtycbm, w->Txtycmc, w->TxtQssj, w->TxtJssj, w->CmdSeek, w->CmdQcls, w->CmdExit, w->CmdHelp,
                w->OptYcrk};
    auto* w = qobject_cast<Frmycjj*>(window);
    return {w->TxtBlhm, w->CboZdks, w->MasZdsj, w->Txtycbm, w->Txtycmc, w->TxtYcjl, w->Cmdcksf, w->CmdQcls,
            w->CmdHelp, w->CmdExit};
}
}  // namespace

class DispensaryMenuTest : public QObject {
    Q_OBJECT

private slots:
    void eachItemOpensItsWindow()
    {
        const QString items[][4] = {{"YcqkWh", "系统维护&W", "dispensary::Frmyjwh", "药品价格维护"},
            {"ycrc", "药品入出库管理&R", "dispensary::Frmycrk", "中药材入库、退库"},
            {"YcqkCk", "药品入出库管理&R", "dispensary::FrmYcck", "药材出库"},
            {"YcqkXs", "药品入出库管理&R", "dispensary::Frmycjj", "病志处方药材计价"},
            {"Yckc", "药品入出库管理&R", "dispensary::Frmyckc", "药材库存查询"}};
        for (const auto& [item, menuCaption, windowClass, caption] : items) {
            WindowFixture fixture;
            fixture.environment().insert("hzzdzl", {"A001", "内科", "2024-03-15", "  ", "  ", "  ", "  ", "  ", "当归 10克",
                                                    "  ", "  ", "张医生"});
            registerDispensaryWindows(fixture.mainWindow());
            QAction* action = fixture.mainWindow().menuAction(item);
            QVERIFY(action->isEnabled() && qobject_cast<QMenu*>(action->parent()));
            QCOMPARE(qobject_cast<QMenu*>(action->parent())->title(), menuCaption);

            action->trigger();
            QPointer<forms::Form> window = forms::Form::ActiveForm();
            QVERIFY(window);
            QCOMPARE(QString::fromLatin1(window->metaObject()->className()), windowClass);
            QCOMPARE(window->Caption(), caption);
            for (const char* top : TopMenus) QVERIFY2(!fixture.mainWindow().menuAction(top)->isEnabled(), top);

            // No label butts against the box before it on its row.
            for (const forms::Label* label : window->findChildren<forms::Label*>()) {
                const QRect at = label->geometry();
                for (const forms::Control* box : window->findChildren<forms::Control*>()) {
                    const QRect other = box->geometry();
                    if (box == label || box->parentWidget() != label->parentWidget() || other.right() >= at.left()
                        || other.bottom() < at.top() || other.top() > at.bottom())
                        continue;
                    QVERIFY2(at.left() - other.right() > 2, qPrintable(label->Caption()));
                }
            }

            // Tab from the first control walks the chain in its order and comes back round.
            const std::vector<QWidget*> chain = tabChain(window);
            static_cast<forms::Control*>(chain.front())->SetFocus();
            for (std::size_t i = 1; i <= chain.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QWidget* expected = chain[i % chain.size()];
                QVERIFY2(WindowFixture::focusedControl() == expected,
                         qPrintable(QStringLiteral("Tab %1 of %2").arg(i).arg(windowClass)));
            }
            window->Unload();
            QTRY_VERIFY(window.isNull());
            for (const char* top : TopMenus) QVERIFY2(fixture.mainWindow().menuAction(top)->isEnabled(), top);
        }
    }
};

QTEST_MAIN(DispensaryMenuTest)
#include "dispensary_menu_test.moc"
