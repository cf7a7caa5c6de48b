// The services behind the windows: the message boxes' default title and the three
// error forms (the line form for any kind of error too), the file dialog (a cancel
// keeps the previous file name, filters in Qt's form) and the mouse pointer set
// without stacking. The test hooks themselves are exercised by every window test.
#include "platform/dao/dao.h"
#include "platform/forms/services.h"
#include "platform/vb/error.h"

#include <QApplication>
#include <QtTest>

using namespace forms;

class FormsServicesTest : public QObject {
    Q_OBJECT

private slots:
    // The default title unless an empty one is asked for; the three error forms, the
    // line form for what reaches the last trap (a menu item, the event loop) of any kind.
    void titlesAndTheThreeErrorForms()
    {
        MessageBoxes::TestHook boxes;
        MessageBoxes::setDefaultTitle("岐禾");
        MsgBox("打印内容输入不完全，不能打印");
        MsgBox("选择要备份或恢复的文件", vbOKOnly, "");
        ReportError("找不到文件");
        ReportErrorLine(3078, "找不到输入表");
        ReportErrorBlock(53, "文件未找到");
        ReportErrorBlock(53, "文件未找到", NumberText::LeadingBlank, BoxTitle::Empty);
        ReportErrorLine(dao::Error(3024, "找不到文件"));
        ReportErrorLine(vb::TypeMismatch());
        ReportErrorLine(std::runtime_error("bad_alloc"));
        QCOMPARE(boxes.texts().mid(2), (QStringList{"找不到文件", "错误号码：3078错误内容：找不到输入表",
                                                    "错误号码：53\r\n错误内容：文件未找到", "错误号码： 53\r\n错误内容：文件未找到",
                                                    "错误号码：3024错误内容：找不到文件", "错误号码：13错误内容：类型不匹配",
                                                    "错误号码：51错误内容：bad_alloc"}));
        const auto& log = boxes.shown();
        const QList<int> icons{0, 0, vbInformation, vbInformation, 0, 0, vbInformation, vbInformation, vbInformation};
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(log[i].title, QString(i == 0 || i == 4 ? "岐禾" : ""));
            QCOMPARE(log[i].icon, icons[i]);
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
        EventSlice always(0);
        always.DoEvents();
        always.DoEvents();
        QCOMPARE(ran, 2);
    }
};

QTEST_MAIN(FormsServicesTest)
#include "forms_services_test.moc"
