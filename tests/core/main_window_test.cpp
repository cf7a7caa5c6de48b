// The main window on a fresh Windows folder: the eight menus, the one-working-window
// lock around a working window, an error while a window opens, a database moved away
// closing the working windows, the exit question, and the start that finds no database
// anywhere.
#include "core/error_trap.h"
#include "core/globals.h"
#include "core/main_window.h"
#include "core/progress_window.h"
#include "core/startup.h"
#include "data/database_file.h"
#include "platform/forms/services.h"
#include "platform/vb/error.h"
#include "support/test_environment.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMenuBar>
#include <QTest>

namespace {

// A working window as the real ones behave towards the main window: its exit
// unloads it and unlocks the menus.
class DummyWindow : public forms::Form {
public:
    DummyWindow() { setWindowButtons(WindowButtons::None); }
    void Exit()
    {
        Unload();
        core::menuOn();
    }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> windowsDir_;
    std::unique_ptr<core::MDIFqhmz> mainWindow_;
    std::unique_ptr<forms::MessageBoxes::TestHook> boxes_;

    core::MDIFqhmz& showMainWindow()
    {
        mainWindow_ = std::make_unique<core::MDIFqhmz>();
        mainWindow_->show();
        return *mainWindow_;
    }

    bool allTopMenusEnabled(bool enabled) const
    {
        for (const QString& name : {"ZymzZd", "ycrk", "zycxll", "ZysjDl", "xtwh", "XtHelp", "lxzz", "zyexit"})
            if (mainWindow_->menuAction(name)->isEnabled() != enabled) return false;
        return true;
    }

private slots:
    void init()
    {
        windowsDir_ = std::make_unique<QTemporaryDir>();
        qputenv("ZYQHMZ_WINDOWS_DIR", windowsDir_->path().toUtf8());
        boxes_ = std::make_unique<forms::MessageBoxes::TestHook>();
    }

    void cleanup()
    {
        mainWindow_.reset();
        core::ReleaseDb();
        boxes_.reset();
        windowsDir_.reset();
    }

    void startWithoutAnyDatabaseSaysSoAndCreatesNothing()
    {
        const QString missing = windowsDir_->filePath(QStringLiteral("no-such-file.mdb"));
        QVERIFY(core::RunSystem(missing, [](core::MDIFqhmz&) { QFAIL("the main window must not open"); }) != 0);
        QCOMPARE(boxes_->texts(), QStringList{QStringLiteral("系统数据丢失，请将原系统卸载，重新安装。")});
        QCOMPARE(QDir(windowsDir_->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        QVERIFY(core::MainWindow() == nullptr);
    }

    // The eight menus in order; an item without a window stays disabled until wired; a
    // working window locks the menus until its exit. (The database placed at the first
    // start: the start-up test.)
    void firstStartMenusAndTheWorkingWindowLock()
    {
        QVERIFY(core::PrepareSystem(TestEnvironment::shippedDatabase()));
        core::OpenDb().execute(QStringLiteral("delete * from ycjg"));
        showMainWindow();
        QStringList captions;
        for (QAction* action : mainWindow_->menuBar()->actions()) captions << action->text();
        QCOMPARE(captions, QStringList({"门诊处方管理&Z", "药品入出库管理&R", "数据资料查询&F", "中医数据编辑&D",
                                        "系统维护&W", "系统帮助&H", "联系作者&L", "退出系统&Q"}));
        QVERIFY(allTopMenusEnabled(true));

        QAction* item = mainWindow_->menuAction(QStringLiteral("YcqkWh"));
        QVERIFY(!item->isEnabled());
        QPointer<DummyWindow> opened;
        mainWindow_->wire(QStringLiteral("YcqkWh"), [&] { return opened = new DummyWindow; });
        QVERIFY(item->isEnabled());

        item->trigger();
        QVERIFY(opened && opened->isVisible());
        QCOMPARE(mainWindow_->mdiArea()->subWindowList().size(), 1);
        QVERIFY(allTopMenusEnabled(false));
        opened->Exit();
        QVERIFY(allTopMenusEnabled(true));
    }

    // A database file moved away while the program runs: the next handler says so,
    // and no working window goes on showing the vanished file's rows.
    void aDatabaseThatLeftItsPlaceClosesTheWorkingWindows()
    {
        QVERIFY(core::PrepareSystem(TestEnvironment::shippedDatabase()));
        showMainWindow().wire(QStringLiteral("YcqkWh"), [] { return new DummyWindow; });
        mainWindow_->menuAction(QStringLiteral("YcqkWh"))->trigger();
        const QString database = data::databasePath(windowsDir_->path());
        QVERIFY(QFile::rename(database, database + QStringLiteral(".moved")));
        QVERIFY(!core::runTrapped([] { core::OpenDb().execute(QStringLiteral("delete * from ycjg")); }));
        QCOMPARE(boxes_->texts().size(), 1);
        QVERIFY2(boxes_->texts().constFirst().contains(QStringLiteral("已被移走")), qPrintable(boxes_->texts().constFirst()));
        QTRY_VERIFY(mainWindow_->mdiArea()->subWindowList().isEmpty());
        QVERIFY(allTopMenusEnabled(true));
    }

    // A builder runs first, menus locked, under the busy pointer. A builder or a
    // window's load that fails is reported in the error form; no window or progress is
    // left and the menus come back.
    void aFailingBuilderOrLoadIsReportedAndTheMenusComeBack()
    {
        struct FailingToLoad : DummyWindow {
            void Form_Load() override { throw vb::TypeMismatch(); }
        };
        showMainWindow().wire(QStringLiteral("ZysjDl2"), [] { return new FailingToLoad; });
        bool windowMade = false;
        mainWindow_->wire(
            QStringLiteral("zycxll1"),
            [&] {
                windowMade = true;
                return new DummyWindow;
            },
            [&] {
                QVERIFY(allTopMenusEnabled(false));
                QCOMPARE(forms::Screen::MousePointer(), forms::vbArrowHourglass);
                (new core::Frmjdys)->Show();   // a builder fails half-way
                throw dao::Error(3044, QStringLiteral("路径无效"));
            });
        mainWindow_->menuAction(QStringLiteral("zycxll1"))->trigger();
        QVERIFY(!windowMade);
        QVERIFY(allTopMenusEnabled(true));
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
        QTRY_VERIFY(mainWindow_->findChildren<core::Frmjdys*>().isEmpty());   // no progress left on top

        mainWindow_->menuAction(QStringLiteral("ZysjDl2"))->trigger();
        QCOMPARE(boxes_->texts(), QStringList({"错误号码：3044错误内容：路径无效", "错误号码：13错误内容：类型不匹配"}));
        QTRY_VERIFY(mainWindow_->mdiArea()->subWindowList().isEmpty());
        QVERIFY(allTopMenusEnabled(true));
    }

    // Closing by other means is refused; the exit asks, No keeps the program, Yes ends it.
    void exitAsksAndOnlyYesEndsTheProgram()
    {
        showMainWindow();
        QVERIFY(!mainWindow_->close());
        QVERIFY(mainWindow_->isVisible());
        QVERIFY(boxes_->shown().empty());
        boxes_->answer(forms::vbNo);
        mainWindow_->menuAction(QStringLiteral("zyexit"))->trigger();
        QCOMPARE(boxes_->texts(), QStringList{"退出岐禾中医门诊系统吗?"});
        QVERIFY(mainWindow_->isVisible());
        boxes_->answer(forms::vbYes);
        mainWindow_->menuAction(QStringLiteral("zyexit"))->trigger();
        QVERIFY(!mainWindow_->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
