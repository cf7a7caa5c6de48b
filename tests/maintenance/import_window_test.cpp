// The import window FrmLinkDb driven as the user drives it: a file chosen, a table
// picked from the pop-up menu and imported; an error part-way shown in its form with
// nothing added, the bar and the percentage where the run stopped and the menu button
// usable; the import then going through and the window back to idle with the path
// kept; an empty path doing nothing; 清屏 and a cancelled dialog leaving the path box empty.
#include "maintenance/import_window.h"
#include "maintenance/maintenance_menu.h"
#include "support/other_program.h"
#include "support/paint_watch.h"
#include "support/window_fixture.h"

#include "data/database_file.h"
#include "platform/forms/buttons.h"
#include "platform/forms/pointer.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/textbox.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QtTest>

using maintenance::FrmLinkDb;

class ImportWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> world_;
    std::unique_ptr<forms::CommonDialog::TestHook> dialogs_;
    std::unique_ptr<forms::PopupMenus::TestHook> popups_;
    FrmLinkDb* window_ = nullptr;

    QString sourcePath() const { return world_->environment().windowsDir() + QStringLiteral("/分店.mdb"); }

    // A source keyed with the system's password whose patent medicines are `names`.
    void makeSource(const QStringList& names)
    {
        data::createDatabase(sourcePath(), data::databasePassword());
        dao::Database source = dao::Database::open(sourcePath(), data::connectText());
        for (const QString& name : names) source.execute("insert into fjcy(cymc) values (" + dao::quote(name) + ")");
    }

    void importPatentMedicines()
    {
        popups_->choose(window_->pupmenu1->findChild<QAction*>("BwThing"));
        WindowFixture::click(window_->CmdLook);
    }

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        dialogs_ = std::make_unique<forms::CommonDialog::TestHook>();
        popups_ = std::make_unique<forms::PopupMenus::TestHook>();
        registerMaintenanceWindows(world_->mainWindow());   // the menu item as the program wires it
        world_->mainWindow().menuAction("DateSj")->trigger();
        window_ = qobject_cast<FrmLinkDb*>(forms::Form::ActiveForm());
        QVERIFY(window_);
    }

    void cleanup()
    {
        popups_.reset();
        dialogs_.reset();
        world_.reset();
    }

    // What the window shows before anything is done: its caption, the three buttons side
    // by side under the path, the bar and under it the percentage in the window's font;
    // the window centred across the main window and a third of the way down it.
    void whatTheWindowShows()
    {
        QCOMPARE(window_->Caption(), QStringLiteral("导入数据库"));
        QCOMPARE(window_->subWindow()->pos(), QPoint(forms::toPixels((forms::Form::MainWidth() - window_->Width()) / 2),
                                                     forms::toPixels((forms::Form::MainHeight() - window_->Height()) / 3)));
        QVERIFY(WindowFixture::sideBySide({window_->CmdFileName, window_->TxtFile}));
        QVERIFY(WindowFixture::sideBySide({window_->CmdLook, window_->CmdQcls, window_->CmdQuit}));
        QVERIFY(window_->TxtFile->geometry().bottom() < window_->CmdLook->y());
        QVERIFY(window_->CmdLook->geometry().bottom() < window_->ProgBar->y());
        QVERIFY(window_->ProgBar->y() < window_->LabJd->y());
        QCOMPARE(window_->LabJd->font().family(), QStringLiteral("宋体"));
        QCOMPARE(window_->LabJd->font().pointSizeF(), 10.5);
    }

    // An error part-way adds nothing and leaves the bar and the percentage where the run
    // stopped; once the refusal is gone the same import adds the absent keys and the
    // window goes back to idle with the path kept.
    void errorPartWayThenTheImportGoesThrough()
    {
        TestEnvironment& env = world_->environment();
        env.open().executeSchema("CREATE TRIGGER refuse BEFORE INSERT ON fjcy WHEN NEW.cymc='逍遥丸' "
                                 "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        makeSource({"六味地黄丸", "逍遥丸", "O'Brien丸", "归脾丸"});
        dialogs_->choose(sourcePath());
        WindowFixture::click(window_->CmdFileName);
        importPatentMedicines();
        QCOMPARE(env.count("fjcy"), 0);
        QCOMPARE(world_->messages().filter(QStringLiteral("错误号码： ")).size(), 1);
        QVERIFY(window_->ProgBar->isVisible());
        QCOMPARE(window_->ProgBar->Value(), 50.0);
        QCOMPARE(window_->LabJd->Caption(), QStringLiteral(" 50%"));
        QVERIFY(window_->CmdLook->isEnabled());

        env.open().executeSchema("DROP TRIGGER refuse");
        importPatentMedicines();
        QCOMPARE(env.count("fjcy"), 4);
        QVERIFY(!window_->ProgBar->isVisible());
        QVERIFY(window_->LabJd->Caption().isEmpty());
        QCOMPARE(window_->TxtFile->Text(), sourcePath());

        importPatentMedicines();   // the same source again: nothing to add, and no error
        QCOMPARE(env.count("fjcy"), 4);
        QCOMPARE(world_->messages().size(), 1);
        QVERIFY(window_->CmdLook->isEnabled());
    }

    // Another program writing the database: the import is refused before its first
    // record, with the bar shown at its start and no percentage.
    void anotherProgramWritingStopsTheImportAtTheStart()
    {
        makeSource({"六味地黄丸"});
        dialogs_->choose(sourcePath());
        WindowFixture::click(window_->CmdFileName);
        OtherProgram other(world_->environment().databasePath());
        other.writeWithoutCommit(1);
        importPatentMedicines();
        QCOMPARE(world_->messages().filter(QStringLiteral("错误号码： ")).size(), 1);
        QVERIFY(window_->ProgBar->isVisible());
        QCOMPARE(window_->ProgBar->Value(), 0.0);
        QVERIFY(window_->LabJd->Caption().isEmpty());
    }

    // No event runs while the records are read, so the percentage is drawn as it
    // changes: each whole percent in order, with the bar and by itself, however many
    // records there are.
    void thePercentageIsDrawnOnceForEachWholePercent()
    {
        QStringList names;
        for (int i = 0; i < 1000; ++i) names << QStringLiteral("丸%1").arg(i);
        makeSource(names);
        dialogs_->choose(sourcePath());
        WindowFixture::click(window_->CmdFileName);
        QStringList drawn;
        const PaintWatchOf<forms::Label> watch([&](forms::Label* label) {
            if (label == window_->LabJd) drawn << label->Caption();
        });
        importPatentMedicines();
        QStringList percents;
        for (int percent = 0; percent <= 100; ++percent) percents << QStringLiteral(" %1%").arg(percent);
        QVERIFY2(drawn.size() <= 2 * percents.size(), qPrintable(QString::number(drawn.size())));
        drawn.removeDuplicates();
        QCOMPARE(drawn, percents);
    }

    // After 清屏 a cancelled dialog must not bring back the file chosen before.
    void emptyPathDoesNothingAndClearingStays()
    {
        QCOMPARE(WindowFixture::focusedControl(), static_cast<forms::Control*>(window_->CmdQuit));   // on opening
        WindowFixture::type(window_->TxtFile, "/tmp/typed.mdb");   // locked: only the dialog fills it
        QVERIFY(window_->TxtFile->Text().isEmpty());
        importPatentMedicines();
        QCOMPARE(world_->messages(), QStringList());
        dialogs_->choose(sourcePath());
        WindowFixture::click(window_->CmdFileName);
        const forms::CommonDialog::Shown& asked = dialogs_->log.back();
        QCOMPARE(std::tuple(asked.save, asked.filter, asked.title),
                 std::tuple(false, QStringLiteral("*.mdb|*.mdb"), QStringLiteral("查找 mdb 数据库")));
        forms::Screen::setMousePointer(forms::vbHourglass);
        WindowFixture::click(window_->CmdQcls);
        QVERIFY(!window_->ProgBar->isVisible());
        QCOMPARE(forms::Screen::MousePointer(), forms::vbDefault);
        QCOMPARE(WindowFixture::focusedControl(), static_cast<forms::Control*>(window_->CmdFileName));
        dialogs_->cancel();
        WindowFixture::click(window_->CmdFileName);
        QVERIFY(window_->TxtFile->Text().isEmpty());
        const QPointer<FrmLinkDb> window(window_);
        WindowFixture::click(window_->CmdQuit);
        QVERIFY(world_->mainWindow().menuAction("xtwh")->isEnabled());
        QVERIFY(!window || !window->isVisible());
    }
};

QTEST_MAIN(ImportWindowTest)
#include "import_window_test.moc"
