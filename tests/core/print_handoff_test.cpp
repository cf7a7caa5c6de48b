// The hand-offs after building a text: the document opened for the user, the error
// report when no program opens it, and the pause after printing.
#include "core/print_handoff.h"

#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "platform/office/document.h"

#include <QTest>
#include <QTimer>

class PrintHandoffTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { office::setDocumentOpener({}); }

    // When no program opens the document, the error form is shown instead of an
    // exception (the text reaching an opened document: the entry windows' tests).
    void noProgramToOpenTheDocumentIsReported()
    {
        office::setDocumentOpener([](const QString&) { return false; });
        forms::MessageBoxes::TestHook boxes;
        core::ShowTextInWord(QStringLiteral("药材名称：甘草\r\n打印时间：2024-03-15"));
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts()[0].startsWith("错误号码：") && boxes.texts()[0].contains("\r\n错误内容："));
    }

    void pauseDisablesTheButtonForFourSecondsWithTheBusyPointer()
    {
        forms::Clock::TestHook clock;
        forms::CommandButton button(nullptr, QStringLiteral("打印&P"));
        bool disabledWhileWaiting = false;
        int pointerWhileWaiting = -1;
        QTimer::singleShot(0, [&] {   // runs inside the wait's event pump
            disabledWhileWaiting = !button.isEnabled();
            pointerWhileWaiting = forms::Screen::MousePointer();
        });
        core::PauseAfterPrint(&button);
        QCOMPARE(clock.waited, 4.0);
        QVERIFY(disabledWhileWaiting);
        QCOMPARE(pointerWhileWaiting, forms::vbArrowHourglass);
        QVERIFY(button.isEnabled());
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
    }
};

QTEST_MAIN(PrintHandoffTest)
#include "print_handoff_test.moc"
