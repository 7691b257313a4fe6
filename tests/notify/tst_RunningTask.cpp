// What a running task adds to the window: the warnings before its action,
// logind's idle lock and the time left in the title. Morvane's real window,
// notifier and inhibitor run against dbusmock's notification daemon and
// logind on private buses; the test ticks the countdown itself.

#include "actions/DesktopNotifier.h"
#include "actions/LogindInhibitor.h"
#include "app/AppDelegate.h"
#include "app/Launcher.h"
#include "app/MainWindow.h"
#include "app/Translations.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "tests/common/PrivateBus.h"
#include "tests/support/ManualClock.h"
#include "tests/support/RecordingAlertPresenter.h"
#include "tests/support/RecordingSystemActions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>
#include <QTimer>

namespace {
const QString Notifications = QStringLiteral("org.freedesktop.Notifications");
const QString Logind = QStringLiteral("org.freedesktop.login1");
// The daemon's calls since the last time: "Notify 0 Sleep in 1 minute" (the
// id replaced, the summary; the actions only when they are not the Stop and
// Postpone buttons), "Close 1".
const char *const NotificationCalls = R"(ret = []
for t, m, a in self.call_log:
    if m == 'Notify':
        ret.append('Notify %d %s%s' % (a[1], a[3], '' if list(a[5]) == ['stop', 'Stop', 'postpone', 'Postpone 10 minutes'] else ' ' + str(a[5])))
    elif m == 'CloseNotification':
        ret.append('Close %d' % a[0])
self.call_log.clear())";
// The daemon says that actions of its notifications were invoked.
const char *const Invoked = "ret = []\nfor a in [%1]: self.EmitSignal('', 'ActionInvoked', 'us', a)";
const char *const Inhibitors = "ret = [' '.join(i[:4]) for i in globals().get('inhibitors', [])]";
} // namespace

class tst_RunningTask : public QObject
{
    Q_OBJECT

    PrivateBus m_session {PrivateBus::Session};
    PrivateBus m_system {PrivateBus::System};

    QStringList notificationCalls() { return m_session.strings(Notifications, NotificationCalls); }
    QStringList inhibitors() { return m_system.strings(Logind, Inhibitors); }

private slots:
    void initTestCase()
    {
        Translations::install(QLocale::c());
        m_session.startMock(Notifications, {"--template", "notification_daemon"});
        m_system.startMock(Logind, {"--template", "logind"});
        QVERIFY(m_session.waitForMocks() && m_system.waitForMocks());
    }

    void warnsLocksAndTitles_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("seconds");
        // The warning's button pressed ("stop 5": Stop at 0:05), or none:
        // the task fires.
        QTest::addColumn<QString>("press");
        // What the system says of the action before it runs.
        QTest::addColumn<Readiness>("readiness");
        // The title at the start, then the daemon's calls, and the title
        // after the press.
        QTest::addColumn<QString>("expected");

        QTest::newRow("5 minutes: no warning of the start itself, fires")
            << 3 << 300 << QString() << Readiness::Ready
            << "5:00 – Sleep – Morvane; Notify 0 Sleep in 1 minute; Notify 1 Sleep in 10 seconds; Close 1";
        QTest::newRow("6 minutes, the warning's Stop")
            << 2 << 360 << "stop 5" << Readiness::Ready
            << "6:00 – Log Out – Morvane; Notify 0 Log Out in 5 minutes; Notify 1 Log Out in 1 minute; "
               "Notify 1 Log Out in 10 seconds; Morvane; Close 1";
        QTest::newRow("6 minutes, Postpone at the 1-minute warning: the warnings come again")
            << 1 << 360 << "postpone 60" << Readiness::Ready
            << "6:00 – Shut Down – Morvane; Notify 0 Shut Down in 5 minutes; Notify 1 Shut Down in 1 minute; "
               "10:59 – Shut Down – Morvane; Close 1; Notify 0 Shut Down in 5 minutes; "
               "Notify 2 Shut Down in 1 minute; Notify 2 Shut Down in 10 seconds; Close 2";
        // An action the line under the actions calls refused is still
        // warned of, with the reason.
        QTest::newRow("refused Display Sleep")
            << 4 << 20 << QString() << Readiness::NotSupported
            << "0:20 – Display Sleep – Morvane; Notify 0 Display Sleep in 10 seconds, but there is no way to turn "
               "the display off here; Close 1";
        QTest::newRow("refused Sleep")
            << 3 << 20 << QString() << Readiness::NeedsPassword
            << "0:20 – Sleep – Morvane; Notify 0 Sleep in 10 seconds, but the system would ask for a password, and "
               "nobody may be there to give it; Close 1";
    }

    void warnsLocksAndTitles()
    {
        QFETCH(int, row);
        QFETCH(int, seconds);
        QFETCH(QString, press);
        QFETCH(Readiness, readiness);
        QFETCH(QString, expected);
        const QString button = press.section(' ', 0, 0);
        const qint64 pressAt = press.section(' ', 1).toLongLong();

        m_session.strings(Notifications, "self.next_id = 1\nself.call_log.clear()\nret = []");
        auto recorder = std::make_unique<RecordingSystemActions>();
        recorder->readiness = readiness;
        // The locks held as each action runs.
        QStringList atAction;
        recorder->onCall = [&] { atAction << inhibitors().join(", "); };
        auto manualClock = std::make_unique<ManualClock>();
        ManualClock &clock = *manualClock;
        Launcher morvane(std::move(recorder), std::make_unique<RecordingAlertPresenter>(),
            std::make_unique<DesktopNotifier>("io.github.morvane.Morvane", m_session.bus()),
            std::make_unique<LogindInhibitor>(), std::move(manualClock));
        AppDelegate &delegate = morvane.delegate();
        MainWindow &window = morvane.window();
        delegate.applicationDidFinishLaunching();
        delegate.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly)->stop();
        const auto control = [&](qint64 tag, QObject *in = nullptr) { return delegate.getGUIObject(tag, in); };

        control(Tag::ActionMatrix, delegate.aBox1()).as<RadioMatrix>()->setSelectedRow(row);
        control(Tag::NumberField, delegate.tabview1()->widget(0)).setStringValue(QString::number(seconds));
        control(Tag::UnitComboBox, delegate.tabview1()->widget(0)).as<QComboBox>()->setCurrentText("Seconds");
        control(Tag::RunButton).as<QAbstractButton>()->click();
        const QString action = window.windowTitle().section(" – ", 1, 1);
        QCOMPARE(inhibitors(), QStringList {"idle Morvane Counting down to " + action + " block"});

        QStringList calls {window.windowTitle()};
        bool pressed = button.isEmpty();
        while (delegate.isTaskRunning()) {
            clock.advance(500);
            delegate.timerFired();
            clock.advance(500);
            // Answered after the Notify on the same connection, whose id is then
            // taken in before the next tick.
            calls += notificationCalls();
            QCoreApplication::processEvents();
            if (pressed || delegate.counterTimer() != pressAt)
                continue;
            // Other notifications and other actions do nothing.
            m_session.strings(Notifications, QString(Invoked).arg("(7, 'stop'), (7, 'postpone'), (1, 'default')"));
            QCoreApplication::processEvents();
            QCOMPARE(delegate.counterTimer(), pressAt);
            const QString before = window.windowTitle();
            m_session.strings(Notifications, QString(Invoked).arg(QString("(1, '%1')").arg(button)));
            QTRY_VERIFY(window.windowTitle() != before);
            calls << window.windowTitle();
            pressed = true;
        }
        QTRY_VERIFY(!delegate.isTaskRunning());
        QCOMPARE(window.windowTitle(), "Morvane");
        QTRY_COMPARE((calls += notificationCalls()).join("; "), expected);
        QCOMPARE(inhibitors(), QStringList {});
        // Fired once, with the lock let go before.
        QCOMPARE(atAction, button == "stop" ? QStringList {} : QStringList {""});
    }
};

QTEST_MAIN(tst_RunningTask)
#include "tst_RunningTask.moc"
