// The one write routine of the windows: pending events run and the stored queries go
// before the transaction opens; work that declines or fails leaves the file as it was, a failure shown as its
// description.
#include "core/globals.h"
#include "core/write_routine.h"
#include "platform/dao/dao.h"
#include "platform/forms/form.h"
#include "support/window_fixture.h"

#include <QTimer>
#include <QtTest>
#include <stdexcept>

class WriteRoutineTest : public QObject {
    Q_OBJECT

private slots:
    void eventsBeforeTheTransactionAndNothingLeftOnFailure()
    {
        WindowFixture world;
        forms::Form window;
        core::WriteRoutine writer(window);
        // Events pending run before the transaction opens; the stored queries go.
        core::OpenDb().createQueryDef(QStringLiteral("qkbz"), QStringLiteral("select * from ycjg"));
        bool pending = false;
        QTimer::singleShot(0, [&] { pending = true; });
        bool ranFirst = false;
        const auto outcome = writer.write([&](dao::Database& db) {
            ranFirst = pending;
            db.execute(QStringLiteral("insert into ycjg (ycbm, ycmc) values ('A1', '当归')"));
            return true;
        });
        QCOMPARE(outcome, core::WriteRoutine::Outcome::Written);
        QVERIFY(ranFirst && core::OpenDb().queryDefs().isEmpty());
        QCOMPARE(world.environment().count("ycjg"), 1);

        // Work that declines or fails leaves the file as it was.
        world.environment().open().execute(QStringLiteral("delete * from ycjg"));
        const auto insertThen = [](bool result, bool fail) {
            return [=](dao::Database& db) {
                db.execute(QStringLiteral("insert into ycjg (ycbm, ycmc) values ('A1', '当归')"));
                if (fail) throw std::runtime_error("磁盘已满");
                return result;
            };
        };
        QCOMPARE(writer.write(insertThen(false, false)), core::WriteRoutine::Outcome::Declined);
        QCOMPARE(writer.write(insertThen(true, true)), core::WriteRoutine::Outcome::Failed);
        QCOMPARE(world.messages(), QStringList{"磁盘已满"});
        QCOMPARE(writer.write([](dao::Database&) { return false; }, insertThen(true, false)),
                 core::WriteRoutine::Outcome::Declined);   // the first check said no
        QCOMPARE(world.environment().count("ycjg"), 0);
    }
};

QTEST_MAIN(WriteRoutineTest)
#include "write_routine_test.moc"
