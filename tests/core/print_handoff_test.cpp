// The pause after printing: the pressed button and the pointer during and after it.
#include "core/print_handoff.h"

#include "platform/forms/buttons.h"
#include "platform/forms/services.h"

#include <QTest>
#include <QTimer>

class PrintHandoffTest : public QObject {
    Q_OBJECT

private slots:
    void pauseDisablesTheButtonForFourSecondsWithTheBusyPointer();
};

void PrintHandoffTest::pauseDisablesTheButtonForFourSecondsWithTheBusyPointer()
{
    forms::Clock::TestHook clock;
    forms::CommandButton button(nullptr, QStringLiteral("打印&P"));
    bool disabledWhileWaiting = false;
    int pointerWhileWaiting = -1;
    QTimer::singleShot(0, [&] {                      // runs inside the wait's event pump
        disabledWhileWaiting = !button.isEnabled();
        pointerWhileWaiting = forms::Screen::MousePointer();
    });

    PauseAfterPrint(&button);

    QCOMPARE(clock.waited, 4.0);
    QVERIFY(disabledWhileWaiting);
    QCOMPARE(pointerWhileWaiting, forms::vbArrowHourglass);
    QVERIFY(button.isEnabled());
    QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
}

QTEST_MAIN(PrintHandoffTest)
#include "print_handoff_test.moc"
