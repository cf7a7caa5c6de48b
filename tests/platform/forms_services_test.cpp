// The services behind test hooks: message boxes and the three error forms (the line
// form for any kind of error too), the file dialog (a cancel keeps the previous file
// name), the mouse pointer set without stacking, the clock with instant waits, and
// pop-up menus with a default item.
#include "platform/dao/dao.h"
#include "platform/forms/services.h"
#include "platform/vb/error.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QtTest>

using namespace forms;

class FormsServicesTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxesAreAnsweredAndLogged()
    {
        MessageBoxes::TestHook boxes;
        boxes.answer(vbNo);
        QCOMPARE(MsgBox("确实要删除此条信息吗？", vbYesNo | vbQuestion, ""), vbNo);
        // Nothing queued: the first button answers, and the log says so.
        QCOMPARE(MsgBox("再问一次", vbYesNo | vbQuestion, ""), vbYes);
        QCOMPARE(MsgBox("药品编码重复", vbInformation, ""), vbOK);

        QCOMPARE(boxes.shown().size(), std::size_t(3));
        const auto& first = boxes.shown()[0];
        QCOMPARE(first.buttons, vbYesNo);
        QCOMPARE(first.icon, vbQuestion);
        QVERIFY(first.queued);
        QVERIFY(!boxes.shown()[1].queued);
        QCOMPARE(boxes.shown()[2].icon, vbInformation);
        QCOMPARE(boxes.shown()[2].title, QString());
    }

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
        const QStringList titles{"岐禾", "", "", "", "岐禾", "", "", "", ""};
        const QList<int> icons{0, 0, vbInformation, vbInformation, 0, 0, vbInformation, vbInformation, vbInformation};
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(log[i].title, titles[i]);
            QCOMPARE(log[i].icon, icons[i]);
        }
        QCOMPARE(log[4].buttons, vbOKOnly);
    }

    void aCancelledDialogKeepsTheFileName()
    {
        CommonDialog::TestHook dialogs;
        CommonDialog dialog;
        dialog.InitDir = "d:\\";
        dialog.Filter = "数据库文件(*.mdb)|*.mdb";
        dialogs.cancel();
        QVERIFY(!dialog.ShowSave());
        QCOMPARE(dialog.FileName, QString());               // empty at first

        dialogs.choose("/tmp/backup.mdb");
        QVERIFY(dialog.ShowSave());
        QCOMPARE(dialog.FileName, QString("/tmp/backup.mdb"));
        dialogs.cancel();
        QVERIFY(!dialog.ShowOpen());
        QCOMPARE(dialog.FileName, QString("/tmp/backup.mdb"));
        QVERIFY(!dialog.ShowOpen());                        // nothing queued: cancelled

        QCOMPARE(dialogs.log.size(), std::size_t(4));
        QVERIFY(dialogs.log[0].save);
        QVERIFY(!dialogs.log[2].save);
        QCOMPARE(dialogs.log[0].initDir, QString("d:\\"));
        QCOMPARE(CommonDialog::qtFilter(dialog.Filter), QStringLiteral("数据库文件(*.mdb) (*.mdb)"));
        QCOMPARE(CommonDialog::qtFilter("文本|*.txt|全部|*.*"), QStringLiteral("文本 (*.txt);;全部 (*.*)"));
    }

    void thePointerIsSetNotStacked()
    {
        Screen::setMousePointer(vbArrowHourglass);
        Screen::setMousePointer(vbArrowHourglass);
        Screen::setMousePointer(vbHourglass);
        QCOMPARE(Screen::MousePointer(), vbHourglass);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

        // One "arrow" undoes all three settings.
        Screen::setMousePointer(vbArrow);
        QCOMPARE(Screen::MousePointer(), vbArrow);
        QVERIFY(!QApplication::overrideCursor());
        Screen::setMousePointer(vbDefault);
        QVERIFY(!QApplication::overrideCursor());

        // Someone else's override cursor survives ours.
        QApplication::setOverrideCursor(Qt::CrossCursor);
        Screen::setMousePointer(vbArrowHourglass);
        Screen::setMousePointer(vbArrow);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
    }

    void theClockHookSetsTodayAndMakesWaitsInstant()
    {
        Clock::TestHook clock(QDate(2024, 2, 29));
        QCOMPARE(Clock::Today(), QDate(2024, 2, 29));
        clock.setToday(QDate(2023, 12, 31));
        QCOMPARE(Clock::Today(), QDate(2023, 12, 31));
        QCOMPARE(Clock::Timer(), 36000.0);
        bool pumped = false;
        QTimer::singleShot(0, [&] { pumped = true; });
        Clock::WaitSeconds(5);
        Clock::WaitSeconds(4);
        QVERIFY(pumped);                                    // the pump still runs
        QCOMPARE(clock.waited, 9.0);
        QCOMPARE(clock.waits, 2);
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

    void popupMenusTriggerTheChosenItem()
    {
        PopupMenus::TestHook popups;
        QMenu menu;
        QAction* find = menu.addAction("查询药材特点");
        int found = 0;
        connect(find, &QAction::triggered, this, [&] { ++found; });
        popups.choose(find);
        QCOMPARE(PopupMenu(&menu, find), find);
        QCOMPARE(menu.defaultAction(), find);              // shown bold
        QCOMPARE(PopupMenu(&menu), nullptr);               // dismissed
        QCOMPARE(menu.defaultAction(), nullptr);
        QCOMPARE(found, 1);
        QCOMPARE(popups.log.size(), std::size_t(2));
        QCOMPARE(popups.log[0].defaultItem, find);
    }
};

QTEST_MAIN(FormsServicesTest)
#include "forms_services_test.moc"
