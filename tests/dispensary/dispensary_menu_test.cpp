// The dispensary's menu items as the program wires them: each opens its own window
// under the one-window lock.
#include "dispensary/dispensary_menu.h"
#include "dispensary/drug_list.h"
#include "dispensary/prescription_pricing.h"
#include "dispensary/stock_in.h"
#include "dispensary/stock_out.h"
#include "platform/forms/form.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QPointer>
#include <QtTest>

class DispensaryMenuTest : public QObject {
    Q_OBJECT

private slots:
    void eachItemOpensItsWindowAndLocksTheMenus_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("windowClass");
        QTest::newRow("drug list") << "YcqkWh" << "dispensary::Frmyjwh";
        QTest::newRow("stock-in") << "ycrc" << "dispensary::Frmycrk";
        QTest::newRow("other stock-out") << "YcqkCk" << "dispensary::FrmYcck";
        QTest::newRow("pricing") << "YcqkXs" << "dispensary::Frmycjj";
        QTest::newRow("stock queries") << "Yckc" << "dispensary::Frmyckc";
    }

    void eachItemOpensItsWindowAndLocksTheMenus()
    {
        QFETCH(QString, item);
        QFETCH(QString, windowClass);
        WindowFixture fixture;
        fixture.environment().insert(QStringLiteral("hzzdzl"),
                                     {"A001", "内科", "2024-03-15", "  ", "  ", "  ", "  ", "  ",
                                      "当归 10克", "  ", "  ", "张医生"});
        registerDispensaryWindows(fixture.mainWindow());
        QAction* action = fixture.mainWindow().menuAction(item);
        QVERIFY(action->isEnabled());

        action->trigger();
        QPointer<forms::Form> window = forms::Form::ActiveForm();
        QVERIFY(window);
        QCOMPARE(QString::fromLatin1(window->metaObject()->className()), windowClass);
        QVERIFY(!fixture.mainWindow().menuAction(QStringLiteral("ycrk"))->isEnabled());
        QVERIFY(!fixture.mainWindow().menuAction(QStringLiteral("zyexit"))->isEnabled());
        window->Unload();
        QTRY_VERIFY(window.isNull());
    }
};

QTEST_MAIN(DispensaryMenuTest)
#include "dispensary_menu_test.moc"
