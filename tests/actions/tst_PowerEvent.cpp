// The session and power events against private buses with python3-dbusmock
// services: which service each event reaches, and the status of each way
// it can fail.

#include "actions/LinuxSystemActions.h"
#include "tests/common/DbusTestBus.h"

#include <QElapsedTimer>
#include <QTest>

#include <cerrno>

using namespace std::chrono_literals;

namespace {

// The desktops' session managers as they appear on a session bus. KDE's is
// not among them: as in Plasma, the bus starts it on the first call.
struct SessionManagerMock
{
    QString service, path, interface, method, inSignature;
};

const SessionManagerMock SessionManagers[] = {
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager", "Logout", "u"},
    {"org.cinnamon.SessionManager", "/org/cinnamon/SessionManager", "org.cinnamon.SessionManager", "Logout", "u"},
    {"org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager", "Logout", "bb"},
    {"org.lxqt.session", "/LXQtSession", "org.lxqt.session", "logout", ""},
};

const QString Gnome = QStringLiteral("org.gnome.SessionManager");
const QString Cinnamon = QStringLiteral("org.cinnamon.SessionManager");
const QString Kde = QStringLiteral("org.kde.Shutdown");
const QString Xfce = QStringLiteral("org.xfce.SessionManager");
const QString Lxqt = QStringLiteral("org.lxqt.session");
const QStringList RunningManagers {Gnome, Cinnamon, Xfce, Lxqt};

const QString SessionTerminated = QStringLiteral("org.freedesktop.login1 session: Terminate()");

// What a test breaks before sending the event.
enum class Fault {
    None,
    LogindDenies,
    LogindWantsPassword,
    SessionManagerDenies,
    SessionTerminateDenies,
    NoLogind,
    NoSystemBus,
    LogindHangs,
    SessionManagerHangs
};

} // namespace

class tst_PowerEvent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void powerEventCallsLogindOnce_data();
    void powerEventCallsLogindOnce();
    void logOutReachesTheDesktop_data();
    void logOutReachesTheDesktop();
    void failureGivesErrno_data();
    void failureGivesErrno();

private:
    void runManagers(const QStringList &services);
    QStringList everyCall();

    // Constructed before any D-Bus call: both bus addresses point at the
    // fixture's daemons or nowhere from here on.
    DbusTestBus m_buses;
    QStringList m_spoiled;
};

void tst_PowerEvent::initTestCase()
{
    QVERIFY2(m_buses.addActivatableMock(
                 DbusTestBus::Session, Kde, QStringLiteral("/Shutdown"), Kde, {{QStringLiteral("logout"), QString()}}),
        qPrintable(m_buses.errorString()));
    QVERIFY2(m_buses.startBus(DbusTestBus::Session), qPrintable(m_buses.errorString()));
}

// Each case starts from a running system bus with a fresh logind, whatever
// the previous case broke.
void tst_PowerEvent::init()
{
    if (!m_buses.isBusRunning(DbusTestBus::System))
        QVERIFY2(m_buses.startBus(DbusTestBus::System), qPrintable(m_buses.errorString()));
    if (!m_buses.isRunning(DbusTestBus::LogindService))
        QVERIFY2(m_buses.startLogind(), qPrintable(m_buses.errorString()));
    QVERIFY(m_buses.clearCalls(DbusTestBus::LogindService));
    QVERIFY(m_buses.clearCalls(DbusTestBus::LogindService, DbusTestBus::LogindSessionPath));
    for (const QString &service : RunningManagers) {
        if (m_buses.isRunning(service))
            QVERIFY(m_buses.clearCalls(service));
    }
    m_buses.stopMock(Kde);
    qunsetenv("XDG_CURRENT_DESKTOP");
}

void tst_PowerEvent::cleanup()
{
    for (const QString &service : std::as_const(m_spoiled))
        m_buses.stopMock(service);
    m_spoiled.clear();
}

void tst_PowerEvent::runManagers(const QStringList &services)
{
    for (const SessionManagerMock &manager : SessionManagers) {
        const bool wanted = services.contains(manager.service);
        if (!wanted) {
            m_buses.stopMock(manager.service);
            continue;
        }
        if (m_buses.isRunning(manager.service))
            continue;
        QVERIFY2(m_buses.startMock(DbusTestBus::Session, manager.service, manager.path, manager.interface),
            qPrintable(m_buses.errorString()));
        QVERIFY2(
            m_buses.addMethod(manager.service, manager.path, manager.interface, manager.method, manager.inSignature),
            qPrintable(m_buses.errorString()));
    }
}

// Every call on logind and on the session managers that are running, so
// that a case sees both what was called and that nothing else was, not even
// a start of KDE's manager.
QStringList tst_PowerEvent::everyCall()
{
    QStringList calls;
    for (const QString &call : m_buses.calls(DbusTestBus::LogindService))
        calls.append(DbusTestBus::LogindService + QStringLiteral(": ") + call);
    for (const QString &call : m_buses.calls(DbusTestBus::LogindService, DbusTestBus::LogindSessionPath))
        calls.append(DbusTestBus::LogindService + QStringLiteral(" session: ") + call);
    if (m_buses.isRunning(Kde) && m_buses.calls(Kde).isEmpty())
        calls.append(Kde + QStringLiteral(" started"));
    for (const QString &service : RunningManagers + QStringList {Kde}) {
        if (m_buses.isRunning(service)) {
            for (const QString &call : m_buses.calls(service))
                calls.append(service + QStringLiteral(": ") + call);
        }
    }
    return calls;
}

void tst_PowerEvent::powerEventCallsLogindOnce_data()
{
    QTest::addColumn<quint32>("event");
    QTest::addColumn<QString>("call");

    QTest::newRow("restart") << EventId::Restart << "Reboot(false)";
    QTest::newRow("shutDown") << EventId::ShutDown << "PowerOff(false)";
    QTest::newRow("sleep") << EventId::Sleep << "Suspend(false)";
}

// A session manager on the session bus must not draw these away from logind.
void tst_PowerEvent::powerEventCallsLogindOnce()
{
    QFETCH(quint32, event);
    QFETCH(QString, call);
    runManagers({Gnome});
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");

    LinuxSystemActions actions;
    QCOMPARE(actions.sendSystemProcessEvent(event), 0);
    QCOMPARE(everyCall(), QStringList {DbusTestBus::LogindService + QStringLiteral(": ") + call});
}

void tst_PowerEvent::logOutReachesTheDesktop_data()
{
    QTest::addColumn<QByteArray>("desktop");
    QTest::addColumn<QStringList>("managers");
    QTest::addColumn<bool>("sessionBus");
    QTest::addColumn<QStringList>("calls");

    const auto called = [](const QString &service, const char *call) {
        return QStringList {service + QStringLiteral(": ") + QLatin1String(call)};
    };
    QTest::newRow("gnome") << QByteArray("GNOME") << RunningManagers << true << called(Gnome, "Logout(uint32 1)");
    QTest::newRow("gnomeNamedSecond") << QByteArray("ubuntu:GNOME") << RunningManagers << true
                                      << called(Gnome, "Logout(uint32 1)");
    QTest::newRow("mate") << QByteArray("MATE") << RunningManagers << true << called(Gnome, "Logout(uint32 1)");
    QTest::newRow("cinnamon") << QByteArray("X-Cinnamon") << RunningManagers << true
                              << called(Cinnamon, "Logout(uint32 1)");
    QTest::newRow("kde") << QByteArray("KDE") << RunningManagers << true << called(Kde, "logout()");
    QTest::newRow("xfce") << QByteArray("XFCE") << RunningManagers << true << called(Xfce, "Logout(false, true)");
    QTest::newRow("lxqt") << QByteArray("LXQt") << RunningManagers << true << called(Lxqt, "logout()");
    QTest::newRow("desktopsManagerMissing")
        << QByteArray("LXQt") << QStringList {Xfce} << true << called(Xfce, "Logout(false, true)");
    // KDE's manager comes before LXQt's, but is only installed, not running.
    QTest::newRow("noDesktopNamed") << QByteArray() << QStringList {Lxqt} << true << called(Lxqt, "logout()");
    QTest::newRow("noSessionManagerRunning")
        << QByteArray() << QStringList() << true << QStringList {SessionTerminated};
    QTest::newRow("desktopWithoutSessionManager")
        << QByteArray("GNOME") << QStringList() << true << QStringList {SessionTerminated};
    QTest::newRow("noSessionBus") << QByteArray("GNOME") << QStringList() << false << QStringList {SessionTerminated};
}

void tst_PowerEvent::logOutReachesTheDesktop()
{
    QFETCH(QByteArray, desktop);
    QFETCH(QStringList, managers);
    QFETCH(bool, sessionBus);
    QFETCH(QStringList, calls);

    runManagers(managers);
    if (!desktop.isNull())
        qputenv("XDG_CURRENT_DESKTOP", desktop);
    const QByteArray sessionAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!sessionBus)
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/morvane-test-session");

    LinuxSystemActions actions;
    const int status = actions.sendSystemProcessEvent(EventId::ReallyLogOut);
    qputenv("DBUS_SESSION_BUS_ADDRESS", sessionAddress);

    QCOMPARE(status, 0);
    QCOMPARE(everyCall(), calls);
}

void tst_PowerEvent::failureGivesErrno_data()
{
    QTest::addColumn<quint32>("event");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("status");

    QTest::newRow("restartDenied") << EventId::Restart << Fault::LogindDenies << -EACCES;
    QTest::newRow("sleepWantsPassword") << EventId::Sleep << Fault::LogindWantsPassword << -EACCES;
    QTest::newRow("logOutDeniedBySessionManager") << EventId::ReallyLogOut << Fault::SessionManagerDenies << -EACCES;
    QTest::newRow("logOutDeniedByLogind") << EventId::ReallyLogOut << Fault::SessionTerminateDenies << -EACCES;
    QTest::newRow("shutDownWithoutLogind") << EventId::ShutDown << Fault::NoLogind << -EHOSTUNREACH;
    QTest::newRow("logOutWithoutLogind") << EventId::ReallyLogOut << Fault::NoLogind << -EHOSTUNREACH;
    QTest::newRow("restartWithoutSystemBus") << EventId::Restart << Fault::NoSystemBus << -ENOENT;
    QTest::newRow("sleepWhileLogindHangs") << EventId::Sleep << Fault::LogindHangs << -ETIMEDOUT;
    QTest::newRow("logOutWhileSessionManagerHangs")
        << EventId::ReallyLogOut << Fault::SessionManagerHangs << -ETIMEDOUT;
    QTest::newRow("unknownEvent") << quint32(0x61626364) << Fault::None << -EINVAL;
}

void tst_PowerEvent::failureGivesErrno()
{
    QFETCH(quint32, event);
    QFETCH(Fault, fault);
    QFETCH(int, status);

    const QString logind = DbusTestBus::LogindService;
    const char *method = event == EventId::Restart ? "Reboot" : event == EventId::ShutDown ? "PowerOff" : "Suspend";
    const bool managerNeeded = fault == Fault::SessionManagerDenies || fault == Fault::SessionManagerHangs;
    runManagers(managerNeeded ? QStringList {Gnome} : QStringList());
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");

    bool broken = true;
    if (fault == Fault::LogindDenies)
        broken = m_buses.raiseError(logind, DbusTestBus::LogindPath, DbusTestBus::LogindManager, method, "b");
    else if (fault == Fault::LogindWantsPassword)
        broken = m_buses.raiseError(logind, DbusTestBus::LogindPath, DbusTestBus::LogindManager, method, "b",
            "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired");
    else if (fault == Fault::SessionManagerDenies)
        broken = m_buses.raiseError(Gnome, "/org/gnome/SessionManager", Gnome, "Logout", "u");
    else if (fault == Fault::SessionTerminateDenies)
        broken = m_buses.raiseError(
            logind, DbusTestBus::LogindSessionPath, "org.freedesktop.login1.Session", "Terminate", "");
    else if (fault == Fault::NoLogind)
        m_buses.stopMock(logind);
    else if (fault == Fault::NoSystemBus)
        m_buses.stopBus(DbusTestBus::System);
    else if (fault == Fault::LogindHangs)
        broken = m_buses.pauseMock(logind);
    else if (fault == Fault::SessionManagerHangs)
        broken = m_buses.pauseMock(Gnome);
    QVERIFY(broken);
    // What is gone init() starts again; what answers wrongly is stopped.
    if (fault != Fault::None && fault != Fault::NoLogind && fault != Fault::NoSystemBus)
        m_spoiled << (managerNeeded ? Gnome : logind);

    // A short time-out keeps the hung cases quick; the others are answered
    // at once.
    constexpr auto callTimeout = 400ms;
    LinuxSystemActions actions(callTimeout);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(actions.sendSystemProcessEvent(event), status);
    if (status == -ETIMEDOUT) {
        QVERIFY2(clock.elapsed() >= callTimeout.count(), qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(clock.elapsed() < callTimeout.count() + 1000, qPrintable(QString::number(clock.elapsed())));
    }
    if (fault == Fault::None)
        QCOMPARE(everyCall(), QStringList());
}

QTEST_GUILESS_MAIN(tst_PowerEvent)
#include "tst_PowerEvent.moc"
