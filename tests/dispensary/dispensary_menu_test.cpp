// The dispensary's menu items as the program wires them: each, under its own top menu,
// opens its own window with its caption while every top menu is locked; in each
// window no label butts against the box before it.
#include "dispensary/dispensary_menu.h"
#include "dispensary_support.h"
#include "platform/forms/buttons.h"
#include "platform/forms/form.h"

#include <QMenu>

namespace {
const char* const TopMenus[] = {"ZymzZd", "ycrk", "zycxll", "ZysjDl", "xtwh", "XtHelp", "lxzz", "zyexit"};
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

            window->Unload();
            QTRY_VERIFY(window.isNull());
            for (const char* top : TopMenus) QVERIFY2(fixture.mainWindow().menuAction(top)->isEnabled(), top);
        }
    }
};

QTEST_MAIN(DispensaryMenuTest)
#include "dispensary_menu_test.moc"
