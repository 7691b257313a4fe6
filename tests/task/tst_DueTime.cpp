// The running task's due time against clocks the test moves: what a tick
// finds after a clock change, a sleep, a hold or a postpone.

#include "task/RunningTask.h"
#include "tests/support/DataRow.h"
#include "tests/support/ManualClock.h"

#include <QTest>

namespace {
// 22:00 on a winter evening in Berlin, the tests' time zone.
const QDateTime Evening(QDate(2026, 12, 6), QTime(22, 0), Qt::LocalTime);
// Half an hour before the clocks go back from 03:00 summer time to 02:00.
const QDateTime BeforeFallBack(QDate(2026, 10, 25), QTime(1, 30), Qt::LocalTime);
} // namespace

class tst_DueTime : public QObject
{
    Q_OBJECT

private slots:
    void tickAfter_data()
    {
        QTest::addColumn<QDateTime>("startsAt");
        // "in SECONDS" for a countdown, "at HH:MM" for a date task that day.
        QTest::addColumn<QString>("task");
        // Each "what SECONDS": awake (time passes), set (the wall clock is
        // set), sleep (found by the tick alone), logind (a sleep logind
        // announces), asleep (logind's first word alone), hold (an alert is
        // open), postpone.
        QTest::addColumn<QStringList>("events");
        // What the next tick finds: "counting SECONDS", "due", "asleep", or
        // "missed HH:MM" when the task ended without its action.
        QTest::addColumn<QString>("expected");

        addRow("countdown, clock set an hour forward", Evening, QString("in 5400"),
            QStringList {"awake 1800", "set 3600"}, QString("counting 3600"));
        addRow("countdown, clock set an hour back", Evening, QString("in 5400"),
            QStringList {"awake 1800", "set -3600"}, QString("counting 3600"));
        addRow("date task, clock set an hour forward", Evening, QString("at 23:30"),
            QStringList {"awake 600", "set 3600"}, QString("counting 1200"));
        addRow("date task, clock set an hour back", Evening, QString("at 23:30"),
            QStringList {"awake 600", "set -3600"}, QString("counting 8400"));
        addRow("date task, clock set past its moment", Evening, QString("at 23:30"),
            QStringList {"awake 600", "set 7200"}, QString("due"));
        addRow("9-hour sleep past the due time", Evening, QString("in 5400"),
            QStringList {"awake 1800", "logind 32400"}, QString("missed 23:30"));
        addRow("9-hour sleep, the tick before logind", Evening, QString("at 23:30"),
            QStringList {"awake 1800", "sleep 32400"}, QString("missed 23:30"));
        addRow("sleep that ends before the due time", Evening, QString("in 5400"),
            QStringList {"awake 1800", "logind 1800"}, QString("counting 1800"));
        addRow("wake-up at the due time", Evening, QString("in 5400"), QStringList {"awake 1800", "logind 3603"},
            QString("due"));
        addRow("between logind's two words", Evening, QString("in 60"), QStringList {"awake 30", "asleep", "awake 40"},
            QString("asleep"));
        addRow("logind's wake word never comes", Evening, QString("in 60"),
            QStringList {"awake 30", "asleep", "awake 70"}, QString("due"));
        addRow("hold while an alert is open", Evening, QString("in 120"), QStringList {"awake 30", "hold 100"},
            QString("counting 90"));
        addRow("postpone twice", Evening, QString("in 300"),
            QStringList {"awake 290", "postpone 600", "awake 5", "postpone 600"}, QString("counting 1205"));
        // 01:30 summer time to 03:30 winter time is three hours, not two.
        addRow("daylight saving ends under a date task", BeforeFallBack, QString("at 03:30"),
            QStringList {"awake 7200"}, QString("counting 3600"));
    }

    void tickAfter()
    {
        QFETCH(QDateTime, startsAt);
        QFETCH(QString, task);
        QFETCH(QStringList, events);
        QFETCH(QString, expected);

        ManualClock clock(startsAt);
        RunningTask running(clock);
        QStringList missed;
        connect(&running, &RunningTask::missedWhileAsleep, this,
            [&](const QDateTime &due, const QString &action) { missed << action + due.toString(" HH:mm"); });
        const qint64 number = task.section(' ', 1).toLongLong();
        if (task.startsWith("in"))
            running.startCountdown(number, "Shut Down");
        else
            running.startAt(QDateTime(startsAt.date(), QTime::fromString(task.section(' ', 1), "HH:mm")), "Shut Down");

        for (const QString &event : std::as_const(events)) {
            const QString what = event.section(' ', 0, 0);
            const qint64 ms = event.section(' ', 1).toLongLong() * 1000;
            if (what == "awake")
                clock.advance(ms);
            else if (what == "set")
                clock.set(ms);
            else if (what == "sleep")
                clock.sleep(ms);
            else if (what == "postpone")
                running.postpone(ms / 1000);
            else if (what == "hold")
                running.beginHold(), clock.advance(ms), running.endHold();
            else if (what == "asleep")
                running.prepareForSleep(true);
            else if (what == "logind")
                running.prepareForSleep(true), clock.sleep(ms), running.prepareForSleep(false);
            // The one-second timer goes on ticking while the machine is awake.
            if (what == "awake" || what == "postpone")
                QVERIFY(running.tick() != RunningTask::Status::Due || (expected == "due" && event == events.last()));
        }
        clock.advance(500);
        const RunningTask::Status status = running.tick();
        const QString found = status == RunningTask::Status::Counting
            ? QString("counting %1").arg(running.secondsLeft())
            : QStringList {"missed" + missed.value(0).section("Shut Down", 1), "", "due", "asleep"}.at(int(status));
        QCOMPARE(found, expected);
        QCOMPARE(missed.size(), expected.startsWith("missed") ? 1 : 0);
        QCOMPARE(running.isRunning(), !expected.startsWith("missed"));
    }
};

QTEST_GUILESS_MAIN(tst_DueTime)
#include "tst_DueTime.moc"
