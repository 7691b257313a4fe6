// What a running task adds to the window: the warnings before its action,
// logind's idle lock and the time left in the title. Morvane's real window,
// notifier and inhibitor run against dbusmock's notification daemon and
// logind on private buses; the test ticks the countdown itself.

#include "actions/DesktopNotifier.h"
#include "actions/LogindInhibitor.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "tests/common/PrivateBus.h"
#include "tests/notify/Recorders.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>
#include <QTimer>

namespace {
const QString Notifications = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString Logind = QStringLiteral("org.freedesktop.login1");
const QString LogindPath = QStringLiteral("/org/freedesktop/login1");
// The daemon's calls since the last time: "Notify 0 Sleep in 1 minute" (the
// id replaced, the summary; the actions only when they are not a Stop
// button), "Close 1".
const char *const NotificationCalls = R"(ret = []
for t, m, a in self.call_log:
    if m == 'Notify':
        ret.append('Notify %d %s%s' % (a[1], a[3], '' if list(a[5]) == ['stop', 'Stop'] else ' ' + str(a[5])))
    elif m == 'CloseNotification':
        ret.append('Close %d' % a[0])
self.call_log.clear())";
const char *const Inhibitors = "ret = [' '.join(i[:4]) for i in globals().get('inhibitors', [])]";

enum class Ending { Fires, StopButton, WarningsStop };
} // namespace
Q_DECLARE_METATYPE(Ending)

class tst_RunningTask : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void warnsLocksAndTitles_data();
    void warnsLocksAndTitles();

private:
    QStringList ask(PrivateBus &bus, const QString &service, const QString &path, const QString &code)
    {
        return bus.run(service, path, code, "as").arguments().value(0).toStringList();
    }
    QStringList notificationCalls() { return ask(m_session, Notifications, NotificationsPath, NotificationCalls); }
    QStringList inhibitors() { return ask(m_system, Logind, LogindPath, Inhibitors); }
    void emitActionInvoked(const char *arguments)
    {
        m_session.run(Notifications, NotificationsPath,
            QString("self.EmitSignal('%1', 'ActionInvoked', 'us', [%2])").arg(Notifications, arguments));
    }

    PrivateBus m_session {PrivateBus::Session};
    PrivateBus m_system {PrivateBus::System};
};

void tst_RunningTask::initTestCase()
{
    m_session.startMock(Notifications, {"--template", "notification_daemon"});
    m_system.startMock(Logind, {"--template", "logind"});
    QVERIFY(m_session.waitForMocks());
    QVERIFY(m_system.waitForMocks());
}

void tst_RunningTask::warnsLocksAndTitles_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("length");
    QTest::addColumn<Ending>("ending");
    // Seconds left when the task is stopped.
    QTest::addColumn<qint64>("stopAt");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("calls");

    QTest::newRow("6 minutes, fires")
        << 1 << "6 Minutes" << Ending::Fires << qint64(-1) << "6:00 – Shut Down – Morvane"
        << "Notify 0 Shut Down in 5 minutes; Notify 1 Shut Down in 1 minute; Notify 1 Shut Down in 10 seconds; Close 1";
    QTest::newRow("301 seconds, Stop pressed at 0:30")
        << 0 << "301 Seconds" << Ending::StopButton << qint64(30) << "5:01 – Restart – Morvane"
        << "Notify 0 Restart in 5 minutes; Notify 1 Restart in 1 minute; Close 1";
    QTest::newRow("5 minutes: no warning of the start itself, fires")
        << 3 << "5 Minutes" << Ending::Fires << qint64(-1) << "5:00 – Sleep – Morvane"
        << "Notify 0 Sleep in 1 minute; Notify 1 Sleep in 10 seconds; Close 1";
    QTest::newRow("6 minutes, the warning's Stop at 0:05")
        << 2 << "6 Minutes" << Ending::WarningsStop << qint64(5) << "6:00 – Log Out – Morvane"
        << "Notify 0 Log Out in 5 minutes; Notify 1 Log Out in 1 minute; Notify 1 Log Out in 10 seconds; Close 1";
    QTest::newRow("10 seconds, fires without a warning")
        << 4 << "10 Seconds" << Ending::Fires << qint64(-1) << "0:10 – Display Sleep – Morvane"
        << "";
}

void tst_RunningTask::warnsLocksAndTitles()
{
    QFETCH(int, row);
    QFETCH(QString, length);
    QFETCH(Ending, ending);
    QFETCH(qint64, stopAt);
    QFETCH(QString, title);
    QFETCH(QString, calls);

    m_session.run(Notifications, NotificationsPath, "self.next_id = 1");
    notificationCalls();
    MainWindow window;
    auto recorder = std::make_unique<RecordingActions>();
    RecordingActions &actions = *recorder;
    const QDBusConnection session(QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS")));
    AppDelegate delegate(&window, std::move(recorder), std::make_unique<RecordingAlerts>(),
        std::make_unique<DesktopNotifier>("io.github.morvane.Morvane", session), std::make_unique<LogindInhibitor>());
    delegate.applicationDidFinishLaunching();
    delegate.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly)->stop();
    const auto control = [&](qint64 tag, QObject *in = nullptr) { return delegate.getGUIObject(tag, in); };
    QStringList lockedAtAction {"no action"};
    actions.onCall = [&] { lockedAtAction = inhibitors(); };

    control(Tag::ActionMatrix, delegate.aBox1()).as<RadioMatrix>()->setSelectedRow(row);
    control(Tag::NumberField, delegate.tabview1()->widget(0)).setStringValue(length.section(' ', 0, 0));
    control(Tag::UnitComboBox, delegate.tabview1()->widget(0)).as<QComboBox>()->setCurrentText(length.section(' ', 1));
    control(Tag::RunButton).as<QAbstractButton>()->click();
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(inhibitors(), QStringList {"idle Morvane Counting down to " + title.section(" – ", 1, 1) + " block"});

    QStringList seen;
    while (delegate.isTaskRunning() && delegate.counterTimer() - 1 > stopAt) {
        delegate.timerFired();
        // Answered after the Notify on the same connection, whose id is then
        // taken in before the next tick.
        seen += notificationCalls();
        QCoreApplication::processEvents();
    }
    if (ending == Ending::StopButton)
        control(Tag::RunButton).as<QAbstractButton>()->click();
    if (ending == Ending::WarningsStop) {
        // Other notifications and other actions stop nothing.
        emitActionInvoked("7, 'stop'");
        emitActionInvoked("1, 'default'");
        seen += notificationCalls();
        QCoreApplication::processEvents();
        QVERIFY(delegate.isTaskRunning());
        emitActionInvoked("1, 'stop'");
    }
    QTRY_VERIFY(!delegate.isTaskRunning());
    QCOMPARE(delegate.counterTimer(), 0);
    QCOMPARE(window.windowTitle(), "Morvane");
    QTRY_COMPARE((seen += notificationCalls()).join("; "), calls);
    QCOMPARE(inhibitors(), QStringList {});
    QCOMPARE(lockedAtAction, ending == Ending::Fires ? QStringList {} : QStringList {"no action"});
    QCOMPARE(actions.calls, ending == Ending::Fires ? 1 : 0);
}

QTEST_MAIN(tst_RunningTask)
#include "tst_RunningTask.moc"
