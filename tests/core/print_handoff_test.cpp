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
    void textReachesADocumentThatIsOpened();
    void documentThatNoProgramOpensIsReportedNotThrown();
    void pauseDisablesTheButtonForFourSecondsWithTheBusyPointer();
};

void PrintHandoffTest::textReachesADocumentThatIsOpened()
{
    QString openedPath;
    office::setDocumentOpener([&](const QString& path) {
        openedPath = path;
        return true;
    });
    forms::MessageBoxes::TestHook boxes;

    core::ShowTextInWord(QStringLiteral("药材名称：甘草\r\n打印时间：2024-03-15"));

    QVERIFY(!openedPath.isEmpty());
    QVERIFY(QFileInfo::exists(openedPath));
    QVERIFY(boxes.shown().empty());
    QFile::remove(openedPath);
    office::setDocumentOpener({});
}

void PrintHandoffTest::documentThatNoProgramOpensIsReportedNotThrown()
{
    office::setDocumentOpener([](const QString&) { return false; });
    forms::MessageBoxes::TestHook boxes;

    core::ShowTextInWord(QStringLiteral("方剂名称：四君子汤"));

    QCOMPARE(boxes.shown().size(), size_t(1));
    const auto& box = boxes.shown()[0];
    QVERIFY(box.text.startsWith(QStringLiteral("错误号码：")));
    QVERIFY(box.text.contains(QStringLiteral("\r\n错误内容：")));
    QCOMPARE(box.icon, 0);
    QCOMPARE(box.buttons, forms::vbOKOnly);
    office::setDocumentOpener({});
}

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

    core::PauseAfterPrint(&button);

    QCOMPARE(clock.waited, 4.0);
    QVERIFY(disabledWhileWaiting);
    QCOMPARE(pointerWhileWaiting, forms::vbArrowHourglass);
    QVERIFY(button.isEnabled());
    QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
}

QTEST_MAIN(PrintHandoffTest)
#include "print_handoff_test.moc"
