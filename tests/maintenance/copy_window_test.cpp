// Backup and restore through the window Frmcopy, driven as the user drives it: a backup
// and its restore give the same records, with the pause and the path emptied, the buttons
// and the animation changing places pump by pump, a disk exactly large enough taking it; every
// refusal and failure (no room, a full disk, a failed flush, the live file, anything
// but a database of this system) shows its message with the buttons back, the path
// kept and both files untouched; a cancelled dialog; the exit giving the menus back.
#include "maintenance/copy_window.h"
#include "maintenance/maintenance_menu.h"
#include "support/window_fixture.h"

#include "data/database_file.h"
#include "data/schema.h"
#include "platform/forms/animation.h"
#include "platform/forms/buttons.h"
#include "platform/forms/pointer.h"
#include "platform/forms/textbox.h"
#include "platform/win/disk.h"
#include "platform/win/filecopy.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

#include <optional>

#include <unistd.h>

using maintenance::Frmcopy;

class CopyWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> world_;
    std::unique_ptr<forms::CommonDialog::TestHook> dialogs_;
    Frmcopy* window_ = nullptr;

    QString path(const QString& name) const { return world_->environment().windowsDir() + u'/' + name; }

    // A database file of the system's format keyed with `password`, `schema` run on it.
    static void makeDatabase(const QString& file, const QString& password, const QString& schema = {})
    {
        data::createDatabase(file, password);
        if (!schema.isEmpty()) dao::Database::open(file, QStringLiteral(";pwd=") + password).executeSchema(schema);
    }

    // Chooses `file` through the dialog in the mode of `mode`, then presses the copy button.
    void copy(forms::OptionButton* mode, const QString& file)
    {
        QTest::mouseClick(mode->radioButton(), Qt::LeftButton);
        dialogs_->choose(file);
        WindowFixture::click(window_->CmdPath);
        WindowFixture::click(window_->Cmdcopy);
    }

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        dialogs_ = std::make_unique<forms::CommonDialog::TestHook>();
        world_->environment().insert("zyyc", {"黄芪"});
        registerMaintenanceWindows(world_->mainWindow());
        world_->mainWindow().menuAction("cc")->trigger();
        window_ = qobject_cast<Frmcopy*>(forms::Form::ActiveForm());
        QVERIFY(window_);
    }

    void cleanup()
    {
        win::setCopyByteLimit(std::nullopt);
        win::setCopyFlushFails(false);
        win::setDiskFreeSpaceHook({});
        dialogs_.reset();
        world_.reset();
    }

    // What the window shows before anything is done: its caption, the path box's hint,
    // the two modes and the two buttons each side by side; the window centred across
    // the screen and a third of the way down it.
    void whatTheWindowShows()
    {
        QCOMPARE(window_->Caption(), QStringLiteral("数据备份及数据恢复"));
        QCOMPARE(window_->subWindow()->pos(), QPoint(forms::toPixels((forms::Screen::Width() - window_->Width()) / 2),
                                                     forms::toPixels((forms::Screen::Height() - window_->Height()) / 3)));
        QCOMPARE(window_->Txtpath->toolTip(), QStringLiteral("\"回车选择要保存或要恢复的路径及名称\""));
        QVERIFY(WindowFixture::sideBySide({window_->CmdPath, window_->Txtpath}));
        QVERIFY(WindowFixture::sideBySide({window_->Optsave, window_->Optcove}));
        QVERIFY(WindowFixture::sideBySide({window_->Cmdcopy, window_->Cmdexit}));
        QVERIFY(window_->Optsave->geometry().bottom() < window_->Cmdcopy->y());
    }

    // What each copy shows at every pass of events, a change at a time: the copy button
    // goes, then the exit button; the animation stands alone through the copy and the
    // pause; the buttons come back over the stopped animation, and the animation goes.
    void backupAndRestoreWithThePauseAndNoQuestion()
    {
        // What the pause shows: sampled in the one pass of events its wait runs here.
        std::optional<bool> buttonsInThePause;
        QStringList moments;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, [&] {
            if (!buttonsInThePause && world_->clock().waits > 0)
                buttonsInThePause = window_->Cmdcopy->isVisible() || window_->Cmdexit->isVisible();
            QStringList shown;
            for (const auto& [name, control] : {std::pair<const char*, QWidget*>{"Cmdcopy", window_->Cmdcopy},
                                                {"Cmdexit", window_->Cmdexit}, {"Aniplay", window_->Aniplay}})
                if (control->isVisible()) shown << name;
            if (moments.isEmpty() || moments.last() != shown.join(u' ')) moments << shown.join(u' ');
        });
        const QStringList eachCopy = {"Cmdcopy Cmdexit", "Cmdexit", "", "Aniplay", "Cmdcopy Cmdexit Aniplay", "Cmdcopy Cmdexit"};
        sampler.start(0);
        copy(window_->Optsave, path("备份.mdb"));
        QCOMPARE(moments, eachCopy);
        QCOMPARE(buttonsInThePause, std::optional<bool>(false));
        QCOMPARE(world_->clock().waited, 5.0);
        QVERIFY(window_->Txtpath->Text().isEmpty());
        QVERIFY(window_->Cmdcopy->isVisible() && window_->Cmdexit->isVisible() && !window_->Aniplay->isVisible());

        world_->environment().insert("zyyc", {"当归"});
        moments.clear();
        copy(window_->Optcove, path("备份.mdb"));
        QCOMPARE(moments, eachCopy);
        QCOMPARE(world_->environment().count("zyyc"), 1);   // on the program's connection, reopened on the restored file
        QCOMPARE(world_->messages(), QStringList());

        const QPointer<Frmcopy> window(window_);
        WindowFixture::click(window_->Cmdexit);
        QVERIFY(world_->mainWindow().menuAction("xtwh")->isEnabled());
        QVERIFY(!window || !window->isVisible());
    }

    void refusalsAndFailuresLeaveTheDatabase_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message");
        const auto error = [](int number) { return QStringLiteral("错误号码： %1\r\n错误内容：").arg(number); };
        const QString noRoom = QStringLiteral("目标磁盘太小，不能备份数据。");
        QTest::newRow("no file chosen") << "empty" << "选择要备份或恢复的文件";
        QTest::newRow("backup: database missing") << "save missing" << "系统数据丢失，不能备份。";
        QTest::newRow("backup: no room") << "save room" << noRoom;
        QTest::newRow("restore: no room") << "restore room" << "数据库所在的磁盘太小，不能恢复数据。";
        QTest::newRow("backup: full disk") << "save full" << error(61) + "磁盘已满";
        QTest::newRow("backup: failed flush") << "save flush" << error(57);
        QTest::newRow("backup onto the live file") << "save live" << error(75);
        QTest::newRow("restore: the live file by another name") << "restore link" << error(75);
        QTest::newRow("restore: a text file") << "restore text" << error(3343);
        QTest::newRow("restore: another password") << "restore password" << error(3031);
        // Refused for what makes the file another format, each named by its reason.
        const auto notOurs = [&](const QString& why) {
            return error(3343) + QStringLiteral("“chosen.mdb”不是本系统的数据库文件：") + why;
        };
        QTest::newRow("restore: a table missing") << "restore table" << notOurs("没有表“fzzl”。");
        QTest::newRow("restore: an index unique only for Null names")
            << "restore partial" << notOurs("表“zyyc”缺少索引“ycmci”或索引与本系统不同。");
        QTest::newRow("restore: an index made case-sensitive")
            << "restore case index" << notOurs("表“zyyc”缺少索引“ycmci”或索引与本系统不同。");
        QTest::newRow("restore: herbs without the case-insensitive collation, holding abc and ABC")
            << "restore case column" << notOurs("表“zyyc”的字段与本系统不同。");
        QTest::newRow("restore: every text column without its collation")
            << "restore plain texts" << notOurs("表“ycjg”的字段与本系统不同。");
        QTest::newRow("restore: a column that refuses Null")
            << "restore not null" << notOurs("表“zyyc”的字段与本系统不同。");
        QTest::newRow("restore: an extra unique index")
            << "restore extra index" << notOurs("表“zyyc”有本系统没有的索引。");
        QTest::newRow("restore: a trigger that refuses every herb")
            << "restore trigger" << notOurs("有本系统没有的触发器或视图“no_herbs”。");
        QTest::newRow("restore: a view") << "restore view" << notOurs("有本系统没有的触发器或视图“herbs”。");
        QTest::newRow("restore: a table of other columns") << "restore columns" << error(3343);
        QTest::newRow("restore: the columns' names changed") << "restore names" << error(3343);
        QTest::newRow("restore: the columns' types changed") << "restore types" << error(3343);
        QTest::newRow("restore: a unique index made plain") << "restore unique" << error(3343);
        QTest::newRow("restore: an index dropped") << "restore index" << error(3343);
        QTest::newRow("restore: 200 KB of pages overwritten") << "restore damaged" << error(3343);
        QTest::newRow("restore: a truncated copy") << "restore truncated" << error(3049);
        QTest::newRow("restore: another program's database") << "restore plain" << error(3343);
        QTest::newRow("restore: a large random file") << "restore random" << error(3031);
    }
    void refusalsAndFailuresLeaveTheDatabase()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        const QString live = world_->environment().databasePath();
        const QString backup = path("备份.mdb");
        const QString other = path("chosen.mdb");
        const QString password = data::databasePassword();
        QVERIFY(QFile::copy(live, backup));
        QString chosen = backup;
        QString asked;   // the free space is asked of the filesystem that receives the copy
        if (situation.endsWith("room"))
            win::setDiskFreeSpaceHook([&](const QString& path) {
                asked = path;
                return win::DiskFreeSpace{true, 1, 1, 100, 100};
            });
        if (situation.endsWith("full")) win::setCopyByteLimit(2048);
        if (situation.endsWith("flush")) win::setCopyFlushFails(true);
        if (situation.endsWith("missing")) QVERIFY(QFile::rename(live, path("别处.mdb")));
        if (situation.endsWith("live")) chosen = path("system/../system/zyqhmz.mdb");
        if (situation.endsWith("link")) QCOMPARE(::link(QFile::encodeName(live), QFile::encodeName(other)), 0);
        if (situation.endsWith("text")) QVERIFY(TestEnvironment::writeBytes(other, "这不是数据库，是一份文本。"));
        if (situation.endsWith("password")) makeDatabase(other, data::importPassword());
        if (situation.endsWith("table")) makeDatabase(other, password, "DROP TABLE fzzl");
        if (situation.endsWith("columns"))
            makeDatabase(other, password, "DROP TABLE zybz; CREATE TABLE zybz(bzmc, bzqk, bzcy, zlcs)");
        // zybz again, with its index, but for one column's name or the columns' types
        const QString zybz = QStringLiteral("DROP TABLE zybz; CREATE TABLE zybz(%1); CREATE UNIQUE INDEX zybz_zybzi ON zybz(bzmc, bzqk)");
        if (situation.endsWith("names")) makeDatabase(other, password, zybz.arg("bzmc TEXT, bzqk TEXT, bzcy TEXT, zlff TEXT, dlxm TEXT"));
        if (situation.endsWith("types")) makeDatabase(other, password, zybz.arg("bzmc, bzqk, bzcy, zlcs, dlxm"));
        if (situation.endsWith("unique"))
            makeDatabase(other, password, "DROP INDEX zyyc_ycmci; CREATE INDEX zyyc_ycmci ON zyyc(ycmc)");
        if (situation.endsWith("restore index")) makeDatabase(other, password, "DROP INDEX zyyc_ycmci");
        const QString herbs = QStringLiteral("DROP TABLE zyyc; CREATE TABLE zyyc(ycmc TEXT%1, ycgj TEXT, ycxw TEXT, ycgy TEXT, "
                                             "yczz TEXT, ycyf TEXT, ycyj TEXT, ycxd TEXT, dlxm TEXT); "
                                             "CREATE UNIQUE INDEX zyyc_ycmci ON zyyc(ycmc);");
        if (situation.endsWith("case column"))
            makeDatabase(other, password, herbs.arg("") + "INSERT INTO zyyc(ycmc) VALUES ('abc'), ('ABC')");
        if (situation.endsWith("not null")) makeDatabase(other, password, herbs.arg(" COLLATE NOCASE NOT NULL"));
        if (situation.endsWith("plain texts")) {
            QString plain;
            for (const data::Table& table : data::tables()) plain += table.createStatements().replace(" COLLATE NOCASE", "");
            dao::Database::create(other, ";pwd=" + password).executeSchema(plain);
        }
        const QString herbIndex = QStringLiteral("DROP INDEX zyyc_ycmci; CREATE UNIQUE INDEX zyyc_ycmci ON zyyc(ycmc%1)");
        if (situation.endsWith("partial")) makeDatabase(other, password, herbIndex.arg(") WHERE (ycmc IS NULL"));
        if (situation.endsWith("case index")) makeDatabase(other, password, herbIndex.arg(" COLLATE BINARY"));
        if (situation.endsWith("extra index")) makeDatabase(other, password, "CREATE UNIQUE INDEX zyyc_ycgj ON zyyc(ycgj)");
        if (situation.endsWith("trigger"))
            makeDatabase(other, password, "CREATE TRIGGER no_herbs BEFORE INSERT ON zyyc BEGIN SELECT RAISE(ABORT, 'no'); END");
        if (situation.endsWith("view")) makeDatabase(other, password, "CREATE VIEW herbs AS SELECT ycmc FROM zyyc");
        if (situation.endsWith("damaged") || situation.endsWith("truncated")) {
            makeDatabase(other, password, TestEnvironment::herbsInsert(20000, "药材", "'归经' || i"));
            QByteArray bytes = TestEnvironment::bytesOf(other);
            if (situation.endsWith("damaged")) bytes.replace(bytes.size() / 2, 200 * 1024, QByteArray(200 * 1024, 'Z'));
            else bytes.truncate(bytes.size() / 2);
            QVERIFY(TestEnvironment::writeBytes(other, bytes));
        }
        if (situation.endsWith("plain")) {
            makeDatabase(other, QString(), "");
        }
        if (situation.endsWith("random")) {
            QByteArray noise(8 << 20, Qt::Uninitialized);
            for (char& byte : noise) byte = static_cast<char>(QRandomGenerator::global()->generate());
            QVERIFY(TestEnvironment::writeBytes(other, noise));
        }
        if (situation.startsWith("restore") && !situation.endsWith("room")) chosen = other;
        const QByteArray database = TestEnvironment::bytesOf(live);
        const QByteArray copied = TestEnvironment::bytesOf(backup);

        if (situation == "empty") WindowFixture::click(window_->Cmdcopy);
        else copy(situation.startsWith("save") ? window_->Optsave : window_->Optcove, chosen);

        QCOMPARE(world_->messages().size(), 1);
        QVERIFY2(world_->messages().first().startsWith(message), qPrintable(world_->messages().first()));
        QCOMPARE(TestEnvironment::bytesOf(live), database);
        QCOMPARE(TestEnvironment::bytesOf(backup), copied);
        QVERIFY(window_->Cmdcopy->isVisible() && window_->Cmdexit->isVisible() && !window_->Aniplay->isVisible());
        QCOMPARE(window_->Txtpath->Text(), situation == "empty" ? QString() : chosen);
        if (situation == "empty") QCOMPARE(WindowFixture::focusedControl(), static_cast<forms::Control*>(window_->CmdPath));
        if (situation.endsWith("room")) QCOMPARE(WindowFixture::focusedControl(), static_cast<forms::Control*>(window_->Txtpath));
        if (situation.endsWith("room")) QVERIFY(win::isSameFile(QFileInfo(asked).absolutePath(), QFileInfo(situation.startsWith("save") ? backup : live).absolutePath()));
    }

    // A disk with exactly the database's size free takes the backup.
    void backupFillingTheDiskExactly()
    {
        const QString live = world_->environment().databasePath();
        const quint64 size = QFileInfo(live).size();
        win::setDiskFreeSpaceHook([&](const QString&) { return win::DiskFreeSpace{true, 1, 1, size, size}; });
        copy(window_->Optsave, path("备份.mdb"));
        QCOMPARE(world_->messages(), QStringList());
        QCOMPARE(TestEnvironment::bytesOf(path("备份.mdb")), TestEnvironment::bytesOf(live));
    }

    // The animation covers the place of the two buttons it stands in for.
    void theAnimationCoversTheButtons()
    {
        for (forms::CommandButton* button : {window_->Cmdcopy, window_->Cmdexit})
            QVERIFY(window_->Aniplay->geometry().contains(button->geometry()));
    }

    // A cancel must not bring back a file chosen before, to be copied over unasked.
    void cancelledDialogKeepsThePathBox()
    {
        WindowFixture::type(window_->Txtpath, "/tmp/typed.mdb");   // the box is locked: only the dialog fills it
        QVERIFY(window_->Txtpath->Text().isEmpty());
        dialogs_->choose(path("备份.mdb"));
        WindowFixture::click(window_->CmdPath);
        dialogs_->cancel();
        WindowFixture::click(window_->CmdPath);
        QCOMPARE(window_->Txtpath->Text(), path("备份.mdb"));
        QTest::mouseClick(window_->Optcove->radioButton(), Qt::LeftButton);
        dialogs_->cancel();
        WindowFixture::click(window_->CmdPath);
        QVERIFY(window_->Txtpath->Text().isEmpty());
    }
};

QTEST_MAIN(CopyWindowTest)
#include "copy_window_test.moc"
