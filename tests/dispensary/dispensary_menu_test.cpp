// The dispensary's menu items as the program wires them: each opens a window (which
// one: the keyboard walk) while every top menu is locked; in each window no label
// butts against the box before it.
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
        for (const char* item : {"YcqkWh", "ycrc", "YcqkCk", "YcqkXs", "Yckc"}) {
            WindowFixture fixture;
            fixture.environment().insert("hzzdzl", {"A001", "内科", "2024-03-15", "  ", "  ", "  ", "  ", "  ", "当归 10克",
                                                    "  ", "  ", "张医生"});
            registerDispensaryWindows(fixture.mainWindow());
            fixture.mainWindow().menuAction(item)->trigger();
            QPointer<forms::Form> window = forms::Form::ActiveForm();
            QVERIFY2(window, item);
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
