// The shared floor of every write: the one-press guard (a second press while a
// handler runs does nothing, a close waits for the handler's end, an error frees the
// guard) and the batch writer (events run before the transaction opens and never
// while it is open; a check that declines or a failure anywhere leaves the file as it
// was, the failure told once in the handler's form, the progress window gone).
#include "core/batch_writer.h"
#include "core/one_press.h"
#include "core/progress_window.h"
#include "platform/dao/dao.h"
#include "platform/dao/fault_injector.h"
#include "platform/forms/event_pump.h"
#include "platform/forms/form.h"
#include "support/window_fixture.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <optional>
#include <stdexcept>

namespace {

bool progressWindowShown()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QWidgetList widgets = QApplication::allWidgets();
    return std::any_of(widgets.begin(), widgets.end(), [](QWidget* w) { return qobject_cast<core::Frmjdys*>(w); });
}

void insertHerb(dao::Database& db, const QString& code)
{
    db.execute(QStringLiteral("insert into ycjg (ycbm, ycmc) values ('%1', '%1')").arg(code));
}

}  // namespace

class BatchWriterTest : public QObject {
    Q_OBJECT

private slots:
    void secondPressDoesNothingAndTheCloseWaits_data()
    {
        QTest::addColumn<bool>("ofAWindow");
        QTest::newRow("a window's handler") << true;
        QTest::newRow("a menu item's handler") << false;
    }
    void secondPressDoesNothingAndTheCloseWaits()
    {
        QFETCH(bool, ofAWindow);
        WindowFixture world;
        QPointer<forms::Form> window = new forms::Form;
        window->setWindowButtons(forms::Form::WindowButtons::None);
        window->Show();
        std::optional<core::OnePress> built;
        if (ofAWindow) built.emplace(*window);
        else built.emplace();
        core::OnePress& press = *built;

        int runs = 0;
        press.run([&] {
            ++runs;
            press.run([&] { ++runs; });   // a press arriving meanwhile
            if (!ofAWindow) return;
            window->Unload();             // the close box pressed meanwhile
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(window && window->isVisible());
        });
        QCOMPARE(runs, 1);
        if (ofAWindow) QTRY_VERIFY(window.isNull());
        else window->Unload();

        // A handler's error goes on to its trap and leaves the guard free.
        core::OnePress free;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, free.run([] { throw std::runtime_error("磁盘已满"); }));
        free.run([&] { ++runs; });
        QCOMPARE(runs, 2);
    }

    // Events pending run while the progress window comes up, none while the
    // transaction is open (code inside that pumps anyway lets none run), and the ones
    // posted meanwhile run once the batch has ended.
    void eventsRunOnlyOutsideTheTransaction()
    {
        WindowFixture world;
        bool pending = false;
        QTimer::singleShot(0, [&] { pending = true; });
        bool ranFirst = false;
        bool ranInside = false;
        const bool written = core::writeBatch(core::runTrapped, [&](dao::Database& db, core::ProgressDriver&) {
            ranFirst = pending;
            QVERIFY(progressWindowShown());
            QTimer::singleShot(0, [&] { pending = false; });
            insertHerb(db, "A1");
            forms::DoEvents();
            ranInside = !pending;
        });
        QVERIFY(written && ranFirst && !ranInside);
        QTRY_VERIFY(!pending);
        QCOMPARE(world.environment().count("ycjg"), 1);
        QVERIFY(!progressWindowShown());
    }

    // Whatever stops a batch, nothing of it stays, and only a failure is told: in the
    // trap's form, once, with the progress window gone.
    void aStoppedBatchLeavesNothing_data()
    {
        QTest::addColumn<int>("faultAtWrite");   // 0: none
        QTest::addColumn<bool>("throwsAfter");
        QTest::addColumn<bool>("checkDeclines");
        QTest::addColumn<QString>("told");
        QTest::newRow("first write refused") << 1 << false << false << "3043\r\n磁盘或网络读写错误。";
        QTest::newRow("last write refused") << 2 << false << false << "3043\r\n磁盘或网络读写错误。";
        QTest::newRow("error after the writes") << 0 << true << false << "51\r\n磁盘已满";
        QTest::newRow("check declines") << 0 << false << true << "";
    }
    void aStoppedBatchLeavesNothing()
    {
        QFETCH(int, faultAtWrite);
        QFETCH(bool, throwsAfter);
        QFETCH(bool, checkDeclines);
        QFETCH(QString, told);
        WindowFixture world;
        dao::WriteFault::arm(faultAtWrite);
        int worked = 0;
        bool windowBeforeCheck = true;
        const bool written = core::writeBatch(
            core::runTrappedNumbered,
            [&](dao::Database&) {
                windowBeforeCheck = progressWindowShown();
                return !checkDeclines;
            },
            [&](dao::Database& db, core::ProgressDriver&) {
                ++worked;
                for (const char* code : {"A1", "A2"}) insertHerb(db, code);
                if (throwsAfter) throw std::runtime_error("磁盘已满");
            });
        dao::WriteFault::disarm();
        QVERIFY(!written && !windowBeforeCheck);
        QCOMPARE(worked, checkDeclines ? 0 : 1);
        QCOMPARE(world.environment().count("ycjg"), 0);
        QCOMPARE(world.messages(), told.isEmpty() ? QStringList() : QStringList{told});
        QVERIFY(!progressWindowShown());
    }
};

QTEST_MAIN(BatchWriterTest)
#include "batch_writer_test.moc"
