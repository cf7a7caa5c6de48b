// The backup and restore window Frmcopy driven as the user drives it: a backup and
// its restore through the file dialog, with the pause and the path emptied; every
// refusal and failure with its message, the buttons back, the path kept and the
// database untouched; a cancelled dialog; the exit giving the menus back.
#include "maintenance/copy_window.h"
#include "maintenance/maintenance_menu.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "data/database_file.h"
#include "platform/forms/animation.h"
#include "platform/forms/buttons.h"
#include "platform/forms/textbox.h"
#include "platform/win/disk.h"
#include "platform/win/filecopy.h"

#include <QAction>
#include <QFile>
#include <QRadioButton>
#include <QtTest>

using maintenance::Frmcopy;

class CopyWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> world_;
    std::unique_ptr<forms::CommonDialog::TestHook> dialogs_;
    Frmcopy* window_ = nullptr;

    QString path(const QString& name) const { return world_->environment().windowsDir() + u'/' + name; }

    static QByteArray bytesOf(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Chooses `file` through the dialog in the mode of `mode`, then presses the copy button.
    void copy(forms::OptionButton* mode, const QString& file)
    {
        QTest::mouseClick(mode->radioButton(), Qt::LeftButton);
        dialogs_->choose(file);
        WindowFixture::click(window_->CmdPath);
        WindowFixture::click(window_->Cmdcopy);
    }

    static int herbs() { return core::OpenDb().openTable("zyyc").recordCount(); }

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
        win::setDiskFreeSpaceHook({});
        dialogs_.reset();
        world_.reset();
    }

    void backupAndRestoreWithThePauseAndNoQuestion()
    {
        copy(window_->Optsave, path("备份.mdb"));
        QCOMPARE(window_->Cmdcopy->Caption(), QStringLiteral("数据备份"));
        QCOMPARE(world_->clock().waited, 5.0);
        QVERIFY(window_->Txtpath->Text().isEmpty());
        QVERIFY(window_->Cmdcopy->isVisible() && window_->Cmdexit->isVisible() && !window_->Aniplay->isVisible());
        QVERIFY(!window_->Aniplay->isPlaying());

        world_->environment().insert("zyyc", {"当归"});
        copy(window_->Optcove, path("备份.mdb"));
        QCOMPARE(herbs(), 1);   // read through the program's connection, reopened on the restored file
        QCOMPARE(dialogs_->log.back().save, false);
        QCOMPARE(world_->messages(), QStringList());

        WindowFixture::click(window_->Cmdexit);
        QVERIFY(world_->mainWindow().menuAction("xtwh")->isEnabled());
    }

    void refusalsAndFailuresLeaveTheDatabase_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message");
        const QString block = QStringLiteral("错误号码： %1\r\n错误内容：%2");
        QTest::newRow("no file chosen") << "empty" << "选择要备份或恢复的文件";
        QTest::newRow("database missing") << "missing" << "系统数据丢失，不能备份。";
        QTest::newRow("backup: no room") << "room backup" << "目标磁盘太小，不能备份数据。";
        QTest::newRow("restore: no room") << "room restore" << "目标磁盘太小，不能备份数据。";
        QTest::newRow("backup: full disk") << "full" << block.arg(61).arg("磁盘已满");
        QTest::newRow("restore from a text file") << "text" << "错误号码： 3343";
    }
    void refusalsAndFailuresLeaveTheDatabase()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        QFile text(path("说明.mdb"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("不是数据库") > 0);
        text.close();
        QVERIFY(QFile::copy(world_->environment().databasePath(), path("备份.mdb")));
        if (situation.startsWith("room"))
            win::setDiskFreeSpaceHook([](const QString&) { return win::DiskFreeSpace{true, 1, 1, 100, 100}; });
        if (situation == "full") win::setCopyByteLimit(1024);
        if (situation == "missing") QVERIFY(QFile::rename(world_->environment().databasePath(), path("别处.mdb")));
        const QByteArray database = bytesOf(world_->environment().databasePath());
        const QByteArray backup = bytesOf(path("备份.mdb"));

        const bool restore = situation == "room restore" || situation == "text";
        const QString chosen = situation == "text" ? path("说明.mdb") : path("备份.mdb");
        if (situation == "empty") WindowFixture::click(window_->Cmdcopy);
        else copy(restore ? window_->Optcove : window_->Optsave, chosen);

        QCOMPARE(world_->messages().size(), 1);
        QVERIFY2(world_->messages().first().startsWith(message), qPrintable(world_->messages().first()));
        QVERIFY(world_->boxes().shown().front().title.isEmpty());
        QCOMPARE(bytesOf(world_->environment().databasePath()), database);
        QCOMPARE(bytesOf(path("备份.mdb")), backup);
        QVERIFY(window_->Cmdcopy->isVisible() && window_->Cmdexit->isVisible() && !window_->Aniplay->isVisible());
        QCOMPARE(window_->Txtpath->Text(), situation == "empty" ? QString() : chosen);
        if (situation == "empty") QCOMPARE(WindowFixture::focusedControl(), static_cast<forms::Control*>(window_->CmdPath));
        if (situation.startsWith("room")) QCOMPARE(WindowFixture::focusedControl(), static_cast<forms::Control*>(window_->Txtpath));
    }

    // A cancel must not bring back a file chosen before, to be copied over unasked.
    void cancelledDialogKeepsThePathBox()
    {
        QCOMPARE(WindowFixture::focusedControl(), static_cast<forms::Control*>(window_->Txtpath));
        dialogs_->choose(path("备份.mdb"));
        WindowFixture::click(window_->CmdPath);
        dialogs_->cancel();
        WindowFixture::click(window_->CmdPath);
        QCOMPARE(window_->Txtpath->Text(), path("备份.mdb"));
        QTest::mouseClick(window_->Optcove->radioButton(), Qt::LeftButton);
        dialogs_->cancel();
        WindowFixture::click(window_->CmdPath);
        QVERIFY(window_->Txtpath->Text().isEmpty());
        QCOMPARE(window_->Cmdcopy->Caption(), QStringLiteral("数据恢复"));
    }
};

QTEST_MAIN(CopyWindowTest)
#include "copy_window_test.moc"
