// The hand-offs after building a text: the document opened for the user, the error
// report when no program opens it, and the pause after printing.
#include "core/print_handoff.h"

#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "platform/office/document.h"

#include <QFileInfo>

#include <QTest>
#include <QTimer>

class PrintHandoffTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { office::setDocumentOpener({}); }

    // The text reaches a document that is opened; when no program opens it, the error
    // form is shown instead of an exception.
    void textReachesADocumentThatIsOpened_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::newRow("opened") << true;
        QTest::newRow("no program opens it") << false;
    }
    void textReachesADocumentThatIsOpened()
    {
        QFETCH(bool, opens);
        QString openedPath;
        office::setDocumentOpener([&](const QString& path) {
            openedPath = path;
            return opens;
        });
        forms::MessageBoxes::TestHook boxes;
        core::ShowTextInWord(QStringLiteral("药材名称：甘草\r\n打印时间：2024-03-15"));
        QVERIFY(!opens || QFileInfo::exists(openedPath));
        QFile::remove(openedPath);
        QCOMPARE(boxes.shown().size(), size_t(opens ? 0 : 1));
        if (opens) return;
        const auto& box = boxes.shown()[0];
        QVERIFY(box.text.startsWith(QStringLiteral("错误号码：")) && box.text.contains(QStringLiteral("\r\n错误内容：")));
        QCOMPARE(box.icon, 0);
        QCOMPARE(box.buttons, forms::vbOKOnly);
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
