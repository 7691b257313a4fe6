// The one-second tick, called directly: the time left, the action fired
// once with the window already idle, its failure alert, and no tick while
// an alert is open. The real timer runs in the whole-chain test.

#include "app/Translations.h"
#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_CountdownTick : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Translations::install(QLocale::c()); }
    void firesSelectedActionOnce_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("status"); // what the event or the display answers
        QTest::addColumn<bool>("dimAfterScript");
        QTest::addColumn<QStringList>("calls"); // %1: the script path
        QTest::addColumn<Alerts>("alerts"); // an error's number is its first line

        const Alerts none;
        addRow("shutDown", 1, 0, false, QStringList {"event:shut"}, none);
        addRow("logOut", 2, 0, false, QStringList {"event:rlgo"}, none);
        addRow("sleep", 3, 0, false, QStringList {"event:slep"}, none);
        addRow("displaySleep", 4, 0, false, QStringList {"dim"}, none);
        addRow("noRowSelected", -1, 0, false, QStringList(), none);
        addRow("restartDenied", 0, -13, false, QStringList {"event:rest"}, Alerts {{"Error!", "-13"}});
        addRow("displayOffUnavailable", 4, 1, false, QStringList {"dim"}, Alerts {{"Error!", "1"}});
        addRow("script", 5, 0, false, QStringList {"script:%1"}, none);
        addRow("scriptThenDim", 5, 1, true, QStringList {"script:%1", "dim"}, none);
        addRow("scriptDeletedMeanwhile", 5, 0, true, QStringList(),
            Alerts {{"Reminder", "The script file does not exist"}});
    }
    // A two-second task counts down, then acts once, the window already idle.
    void firesSelectedActionOnce()
    {
        QFETCH(int, row);
        QFETCH(int, status);
        QFETCH(bool, dimAfterScript);
        QFETCH(QStringList, calls);
        QFETCH(Alerts, alerts);

        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("job.scpt"));
        QVERIFY(QFile(script).open(QIODevice::WriteOnly));
        WindowFixture f;
        f.selectRow(row);
        f.control(Tag::ScriptPathField).setStringValue(script);
        f.setCountdown(QStringLiteral("2"), QStringLiteral("Seconds"));
        f.actions->eventStatus = f.actions->dimStatus = status;
        const QString dimFailure = QStringLiteral("Mutter is running, but this X server has no display power control.");
        f.actions->dimFailure = dimFailure;
        QStringList titles; // the Run button's title at each call and alert
        f.actions->onCall = f.alerts->whileOpen = [&] { titles << f.runTitle(); };
        f.pressRun();
        // Read when the task ends, not when it starts.
        f.control(Tag::DimAfterScriptCheckBox).as<QAbstractButton>()->setChecked(dimAfterScript);
        if (QTest::currentDataTag() == QByteArray("scriptDeletedMeanwhile"))
            QVERIFY(QFile::remove(script));

        for (const char *left : {"2 Seconds", "1 Second"}) {
            f.tick();
            QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QLatin1String(left));
        }
        QVERIFY(f.actions->calls.isEmpty());
        for (int tick = 0; tick < 3; ++tick)
            f.tick();
        QCOMPARE(f.actions->calls, calls.replaceInStrings(QStringLiteral("%1"), script));
        // A display left on is explained by the action's own sentence; no
        // other failure borrows it.
        Alerts shown;
        for (const auto &[title, message] : std::as_const(f.alerts->alerts)) {
            shown << qMakePair(title, message.section(QLatin1Char('\n'), 0, 0));
            QCOMPARE(message.section(QLatin1Char('\n'), 1) == dimFailure, row == 4);
        }
        QCOMPARE(shown, alerts);
        QCOMPARE(titles, QStringList(calls.size() + alerts.size(), QStringLiteral("Run")));
        QCOMPARE(f.runTitle(), QStringLiteral("Run"));
    }

    // Ticks that fall due while an alert is open wait; one of them runs once
    // it closes, and the task comes later by the time the alert was open.
    void noTickWhileAlertOpen()
    {
        WindowFixture f;
        QTimer *timer = f.tickTimer();
        f.setCountdown(QStringLiteral("10"), QStringLiteral("Seconds"));
        f.pressRun();
        qint64 countWhileOpen = 0;
        f.alerts->whileOpen = [&] {
            for (int i = 0; i < 3; ++i) {
                f.clock->advance(1000);
                QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
            }
            countWhileOpen = f.delegate->counterTimer();
        };
        f.window->close();
        QCOMPARE(f.alerts->alerts.size(), 1);
        QCOMPARE(countWhileOpen, 11);
        QCOMPARE(f.delegate->counterTimer(), 11);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(f.delegate->counterTimer(), 10);
        QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QStringLiteral("10 Seconds"));
    }
};

QTEST_MAIN(tst_CountdownTick)
#include "tst_CountdownTick.moc"
