// The whole chain as a user meets it: Morvane's real window and controller
// with the real system actions and one-second timer, against a private system
// bus with dbusmock's logind. Only the alerts are recorded instead of shown,
// and a sleep moves the clocks on without the machine sleeping.

#include "actions/DesktopNotifier.h"
#include "actions/LinuxSystemActions.h"
#include "app/AppDelegate.h"
#include "app/Launcher.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "task/SystemTaskClock.h"
#include "tests/common/PrivateBus.h"
#include "tests/support/RecordingAlertPresenter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTest>

namespace {
const QString Logind = QStringLiteral("org.freedesktop.login1");
const QString LogindPath = QStringLiteral("/org/freedesktop/login1");
const QString Notifications = QStringLiteral("org.freedesktop.Notifications");
const char *const PrepareForSleep = "self.EmitSignal('org.freedesktop.login1.Manager', 'PrepareForSleep', 'b', [%1])";
const char *const Summaries = "ret = [a[3] for t, m, a in self.call_log if m == 'Notify']";

// The system's clocks, with the wall and the elapsed clock moved on by the
// time the test says the machine slept: what a suspend does to them.
class SleptClock : public SystemTaskClock
{
public:
    QDateTime now() const override { return SystemTaskClock::now().addMSecs(m_slept); }
    qint64 elapsedMs() const override { return SystemTaskClock::elapsedMs() + m_slept; }
    void sleep(qint64 ms) { m_slept += ms; }

private:
    qint64 m_slept = 0;
};
} // namespace

class tst_WholeChain : public QObject
{
    Q_OBJECT

    PrivateBus m_system {PrivateBus::System};
    PrivateBus m_session {PrivateBus::Session};

private slots:
    void initTestCase()
    {
        m_system.startMock(Logind, {"--template", "logind"});
        m_session.startMock(Notifications, {"--template", "notification_daemon"});
        QVERIFY(m_system.waitForMocks() && m_session.waitForMocks());
    }

    // PowerOff comes at its moment after a short sleep, and not at all after
    // a sleep past the due time: the window and a notification say so.
    void shutDownAcrossSleep_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("sleptSeconds");
        // When PowerOff comes, in seconds of the test's own time after Run,
        // or -1 for never.
        QTest::addColumn<double>("powerOffAfter");

        QTest::newRow("slept 3 hours past the due time") << 3 << 3 * 3600 << -1.0;
        QTest::newRow("slept 2 seconds of a 6-second countdown") << 6 << 2 << 4.0;
    }

    void shutDownAcrossSleep()
    {
        QFETCH(int, seconds);
        QFETCH(int, sleptSeconds);
        QFETCH(double, powerOffAfter);
        QVERIFY(m_system.addMethod(Logind, LogindPath, "org.freedesktop.login1.Manager", "PowerOff", "b"));
        m_session.strings(Notifications, "self.call_log.clear()\nret = []");

        auto sleptClock = std::make_unique<SleptClock>();
        SleptClock &clock = *sleptClock;
        auto recorder = std::make_unique<RecordingAlertPresenter>();
        const RecordingAlertPresenter &shown = *recorder;
        Launcher morvane(std::make_unique<LinuxSystemActions>(), std::move(recorder),
            std::make_unique<DesktopNotifier>("io.github.morvane.Morvane", m_session.bus()), nullptr,
            std::move(sleptClock));
        AppDelegate &delegate = morvane.delegate();
        delegate.applicationDidFinishLaunching();
        QCoreApplication::processEvents();
        const auto control = [&](qint64 tag, QObject *area = nullptr) { return delegate.getGUIObject(tag, area); };
        QWidget *countdown = delegate.tabview1()->widget(0);
        control(Tag::ActionMatrix, delegate.aBox1()).as<RadioMatrix>()->rowButton(1)->click();
        control(Tag::NumberField, countdown).setStringValue(QString::number(seconds));
        control(Tag::UnitComboBox, countdown).as<QComboBox>()->setCurrentText("Seconds");
        QElapsedTimer sinceRun;
        sinceRun.start();
        control(Tag::RunButton).as<QAbstractButton>()->click();
        const QDateTime due = delegate.runningTask().dueTime();
        // Leaves out the readiness questions of launching and starting.
        m_system.takeCalls();

        QTest::qWait(500);
        m_system.run(Logind, LogindPath, QString(PrepareForSleep).arg("True"));
        clock.sleep(sleptSeconds * 1000);
        m_system.run(Logind, LogindPath, QString(PrepareForSleep).arg("False"));

        QStringList calls;
        if (powerOffAfter < 0) {
            QTRY_COMPARE(control(Tag::RunButton).title(), "Run");
            QTest::qWait(seconds * 1000);
            QCOMPARE(calls += m_system.takeCalls(), QStringList {});
            const QString notice = "Shut Down was due at " + due.toString("HH:mm")
                + " while the computer slept; it was not carried out.";
            QCOMPARE(control(Tag::TimeLeftText).stringValue(), notice);
            QVERIFY(!control(Tag::TimeLeftText).isHidden());
            QTRY_COMPARE(m_session.strings(Notifications, Summaries), QStringList {notice});
        } else {
            const QStringList once {LogindPath + " PowerOff(dbus.Boolean(False))"};
            QTRY_COMPARE_WITH_TIMEOUT(calls += m_system.takeCalls(), once, 8000);
            const double after = sinceRun.elapsed() / 1000.0;
            QVERIFY2(after >= powerOffAfter - 0.1 && after < powerOffAfter + 1.5, qPrintable(QString::number(after)));
            // Once, with the window idle and nothing to alert of.
            QTest::qWait(1200);
            QCOMPARE(calls += m_system.takeCalls(), once);
            QCOMPARE(control(Tag::RunButton).title(), "Run");
        }
        QCOMPARE(shown.alerts.size(), 0);
    }
};

QTEST_MAIN(tst_WholeChain)
#include "tst_wholechain.moc"
