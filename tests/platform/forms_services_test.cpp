// The services behind the windows: the message boxes' default title and the three
// error forms (the line form for any kind of error too), the file dialog (a cancel
// keeps the previous file name, filters in Qt's form) and the mouse pointer set
// without stacking. The test hooks themselves are exercised by every window test.
#include "platform/forms/services.h"

#include <QApplication>
#include <stdexcept>
#include <QtTest>

using namespace forms;

class FormsServicesTest : public QObject {
    Q_OBJECT

private slots:
    // The default title unless an empty one is asked for; the error forms, the line form
    // for what reaches the last trap (a menu item, the event loop) of any kind. (The line
    // form of a runtime error and the block form with a leading blank and no title: the
    // main window's and the backup window's tests.)
    void titlesAndTheThreeErrorForms()
    {
        MessageBoxes::TestHook boxes;
        MessageBoxes::setDefaultTitle("岐禾");
        MsgBox("打印内容输入不完全，不能打印");
        MsgBox("选择要备份或恢复的文件", vbOKOnly, "");
        ReportError("找不到文件");
        ReportErrorBlock(53, "文件未找到");
        ReportErrorLine(std::runtime_error("bad_alloc"));
        QCOMPARE(boxes.texts().mid(2), (QStringList{"找不到文件", "错误号码：53\r\n错误内容：文件未找到", "错误号码：51错误内容：bad_alloc"}));
        const struct { const char* title; int icon; } expected[] = {{"岐禾", 0}, {"", 0}, {"", vbInformation}, {"岐禾", 0}, {"", vbInformation}};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(boxes.shown()[i].title, QString::fromUtf8(expected[i].title));
            QCOMPARE(boxes.shown()[i].icon, expected[i].icon);
        }
    }

    void aCancelledDialogKeepsTheFileName()
    {
        CommonDialog::TestHook dialogs;
        CommonDialog dialog;
        dialogs.choose("/tmp/backup.mdb");
        QVERIFY(dialog.ShowSave());
        dialogs.cancel();
        QVERIFY(!dialog.ShowOpen());
        QCOMPARE(dialog.FileName, QString("/tmp/backup.mdb"));
        QCOMPARE(CommonDialog::qtFilter("文本|*.txt|全部|*.*"), QStringLiteral("文本 (*.txt);;全部 (*.*)"));
    }

    void thePointerIsSetNotStacked()
    {
        Screen::setMousePointer(vbArrowHourglass);
        Screen::setMousePointer(vbArrowHourglass);
        Screen::setMousePointer(vbHourglass);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

        // One "arrow" undoes all three settings.
        Screen::setMousePointer(vbArrow);
        QVERIFY(!QApplication::overrideCursor());
    }

    // A loop's pump runs pending events on its first call, then once a slice has passed.
    void aLoopsPumpRunsOnceASlice()
    {
        int ran = 0;
        const auto post = [&] { QTimer::singleShot(0, [&] { ++ran; }); };
        EventSlice hourly(3600 * 1000);
        post();
        hourly.DoEvents();
        QCOMPARE(ran, 1);
        post();
        hourly.DoEvents();
        QCOMPARE(ran, 1);                                   // within the slice: left waiting
        EventSlice(0).DoEvents();
        QCOMPARE(ran, 2);
    }
};

QTEST_MAIN(FormsServicesTest)
#include "forms_services_test.moc"
