// Morvane's system actions against private buses with dbusmock's logind,
// the desktops' session managers and display services, and a private X
// server without DPMS: the one call each power event makes and the status of
// each way it fails; which way turns the display off in which session.

#include "actions/LinuxSystemActions.h"
#include "tests/common/PrivateBus.h"

#include <QDateTime>
#include <QTest>

#include <cerrno>
#include <optional>

using namespace std::chrono_literals;

namespace {

struct Method
{
    QString service, path, interface, name, signature;
};
const QString Logind = QStringLiteral("org.freedesktop.login1");
const QString LogindPath = QStringLiteral("/org/freedesktop/login1");
const QString Manager = QStringLiteral("org.freedesktop.login1.Manager");
// Each desktop's session manager with its log-out method.
const Method Gnome {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager", "Logout", "u"};
const Method Kde {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", ""};
const Method Xfce {"org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager", "Logout", "bb"};
const Method Lxqt {"org.lxqt.session", "/LXQtSession", "org.lxqt.session", "logout", ""};
const Method Methods[] = {{Logind, LogindPath, Manager, "Reboot", "b"}, {Logind, LogindPath, Manager, "PowerOff", "b"},
    {Logind, LogindPath, Manager, "Suspend", "b"},
    {Logind, LogindPath + "/session/auto", "org.freedesktop.login1.Session", "Terminate", ""}, Gnome, Kde, Xfce, Lxqt};
// The first two make every method answer with an error.
enum class Fault { Busy, UnknownError, None, NoLogind, NoBus, NoSessionBus, Hangs };

const QString Mutter = QStringLiteral("org.gnome.Mutter.DisplayConfig");
const QString MutterPath = QStringLiteral("/org/gnome/Mutter/DisplayConfig");
const QString KGlobalAccel = QStringLiteral("org.kde.kglobalaccel");
const QString PowerDevilPath = QStringLiteral("/component/org_kde_powerdevil");
const QString Component = QStringLiteral("org.kde.kglobalaccel.Component");
const QStringList MutterOff {
    MutterPath + " Set(dbus.String('" + Mutter + "'), dbus.String('PowerSaveMode'), dbus.Int32(3, variant_level=1))"};
const QString PowerDevilAsked = PowerDevilPath + " isActive()";
const QStringList PowerDevilOff {PowerDevilAsked, PowerDevilPath + " invokeShortcut(dbus.String('Turn Off Screen'))"};
// Unsupported: Mutter takes the write, but PowerSaveMode reads -1 after it.
// Inactive: kglobalaccel keeps PowerDevil's component, but it is not running.
enum class State { Absent, Works, Unsupported, Inactive, Refuses };

} // namespace

class tst_BusActions : public QObject
{
    Q_OBJECT

    PrivateBus m_system {PrivateBus::System};
    PrivateBus m_session {PrivateBus::Session};
    QProcess m_xvfb;

private slots:
    void initTestCase()
    {
        for (const Method &m : {Gnome, Kde, Xfce, Lxqt})
            m_session.startMock(m.service, {m.service, m.path, m.interface});
        m_session.startMock(Mutter, {Mutter, MutterPath, Mutter});
        m_session.startMock(KGlobalAccel, {KGlobalAccel, PowerDevilPath, Component});
        m_system.startMock(Logind, {"--template", "logind"});
        QVERIFY(m_system.waitForMocks() && m_session.waitForMocks());
        // Checked by every row that logs out through logind; its calls are
        // not counted.
        m_system.run(Logind, LogindPath, "self.AddSession('auto', 'seat0', 1000, 'user', True)\nself.call_log.clear()");
        // Xvfb, as every virtual X server, has no DPMS: no case can turn off
        // a real screen.
        m_xvfb.setStandardErrorFile(QProcess::nullDevice());
        m_xvfb.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp"});
        QVERIFY(m_xvfb.waitForReadyRead(10000));
        qputenv("DISPLAY", ':' + m_xvfb.readLine().trimmed());
    }

    // Terminated, the X server removes its socket and lock files.
    void cleanupTestCase() { m_xvfb.terminate(), m_xvfb.waitForFinished(); }

    void sendPowerEvent_data()
    {
        QTest::addColumn<quint32>("event");
        QTest::addColumn<QByteArray>("desktop");
        QTest::addColumn<QStringList>("managers");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("call");

        const auto row = [](const char *name, quint32 event, const char *desktop, const QStringList &managers,
                             const QString &call, Fault fault = Fault::None, int status = 0) {
            QTest::newRow(name) << event << QByteArray(desktop) << managers << fault << status << call;
        };
        const QString powerOff = LogindPath + " PowerOff(dbus.Boolean(False))";
        const QString suspend = LogindPath + " Suspend(dbus.Boolean(False))";
        const QString terminate = LogindPath + "/session/auto Terminate()";
        const quint32 logOut = EventId::ReallyLogOut;
        // A session manager on the bus must not draw these away from logind,
        // which answers each with its status.
        row("restart", EventId::Restart, "GNOME", {Gnome.service}, LogindPath + " Reboot(dbus.Boolean(False))");
        row("shutDownBusy", EventId::ShutDown, "GNOME", {Gnome.service}, powerOff, Fault::Busy, -EINPROGRESS);
        row("sleepUnknownError", EventId::Sleep, "GNOME", {Gnome.service}, suspend, Fault::UnknownError, -EIO);
        // Log-out: the manager of a desktop named, else any that runs, else
        // logind ends the session.
        row("logOutGnome", logOut, "GNOME", {Gnome.service}, "/org/gnome/SessionManager Logout(dbus.UInt32(1))");
        row("logOutKde", logOut, "KDE", {Gnome.service, Kde.service}, "/Shutdown logout()");
        row("logOutXfce", logOut, "Other:XFCE", {Gnome.service, Xfce.service},
            "/org/xfce/SessionManager Logout(dbus.Boolean(False), dbus.Boolean(False))");
        row("logOutLxqt", logOut, "LXQt", {Gnome.service, Lxqt.service}, "/LXQtSession logout()");
        row("logOutOtherDesktop", logOut, "Sway", {Lxqt.service}, "/LXQtSession logout()");
        row("logOutNoManager", logOut, "GNOME", {}, terminate);
        row("logOutNoSessionBus", logOut, "GNOME", {Gnome.service}, terminate, Fault::NoSessionBus);
        // Each failure's status; log-out reaches logind as no manager runs.
        row("logOutNoLogind", logOut, "", {}, {}, Fault::NoLogind, -EHOSTUNREACH);
        row("restartNoBus", EventId::Restart, "", {}, {}, Fault::NoBus, -ENOENT);
        row("sleepHangs", EventId::Sleep, "", {}, suspend, Fault::Hangs, -ETIMEDOUT);
    }

    void sendPowerEvent()
    {
        QFETCH(quint32, event);
        QFETCH(QByteArray, desktop);
        QFETCH(QStringList, managers);
        QFETCH(Fault, fault);
        QFETCH(int, status);
        QFETCH(QString, call);

        // Only the named session managers own their names. Every method takes
        // its exact argument types, and answers with the error of the fault.
        const char *errors[] = {"org.freedesktop.login1.OperationInProgress", "org.example.Unheard"};
        const QString error = fault < Fault::None ? PrivateBus::raise(errors[int(fault)]) : QString();
        for (const Method &m : Methods) {
            PrivateBus &bus = m.service == Logind ? m_system : m_session;
            QVERIFY(bus.own(
                m.service, m.path, m.service == Logind ? fault != Fault::NoLogind : managers.contains(m.service)));
            QVERIFY(bus.addMethod(m.service, m.path, m.interface, m.name, m.signature, error));
        }
        qputenv("XDG_CURRENT_DESKTOP", desktop);
        std::optional<PrivateBus> gone;
        if (fault == Fault::NoBus || fault == Fault::NoSessionBus)
            gone.emplace(fault == Fault::NoBus ? PrivateBus::System : PrivateBus::Session).stop();
        m_system.signal(Logind, fault == Fault::Hangs ? SIGSTOP : SIGCONT);

        const qint64 start = QDateTime::currentMSecsSinceEpoch();
        const int result = LinuxSystemActions(300ms).sendPowerEvent(event);
        const qint64 elapsed = QDateTime::currentMSecsSinceEpoch() - start;
        m_system.signal(Logind, SIGCONT);
        QCOMPARE(m_system.takeCalls() + m_session.takeCalls(), call.isEmpty() ? QStringList() : QStringList {call});
        QCOMPARE(result, status);
        // A hung service costs the time-out and no more; the rest answer at once.
        QVERIFY2(elapsed < 1300 && (fault != Fault::Hangs || elapsed >= 300), qPrintable(QString::number(elapsed)));
    }

    // What logind's Can* answers mean for the warning under the actions.
    void powerEventReadiness_data()
    {
        QTest::addColumn<QString>("answer"); // null: logind is not on the bus
        QTest::addColumn<Readiness>("readiness");
        QTest::newRow("yes") << "yes" << Readiness::Ready;
        QTest::newRow("no") << "no" << Readiness::Refused;
        QTest::newRow("na") << "na" << Readiness::NotSupported;
        QTest::newRow("challenge") << "challenge" << Readiness::NeedsPassword;
        QTest::newRow("noLogind") << QString() << Readiness::NoAnswer;
    }
    void powerEventReadiness()
    {
        QFETCH(QString, answer);
        QFETCH(Readiness, readiness);
        for (const char *can : {"CanReboot", "CanPowerOff", "CanSuspend"})
            QVERIFY(m_system.addMethod(Logind, LogindPath, Manager, can, "", "ret = '" + answer + "'", "s"));
        QVERIFY(m_system.own(Logind, LogindPath, !answer.isNull()));
        for (quint32 event : {EventId::Restart, EventId::ShutDown, EventId::Sleep})
            QCOMPARE(LinuxSystemActions(300ms).powerEventReadiness(event), readiness);
    }

    void turnDisplayOff_data()
    {
        QTest::addColumn<State>("gnome");
        QTest::addColumn<State>("kde");
        // Else X11. Under Wayland an X server is there too, for X programs;
        // the compositor here offers no display power protocol.
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<QStringList>("calls");
        // None when the display was seen off (status 0), else status 1.
        QTest::addColumn<QString>("failure");

        // Mutter first, before the X server's DPMS and PowerDevil.
        QTest::newRow("gnomeOnX11") << State::Works << State::Works << false << MutterOff << QString();
        // PowerDevil's shortcut only where nothing took the request, and it
        // never counts as done.
        QTest::newRow("unsupported") << State::Unsupported << State::Works << true << MutterOff + PowerDevilOff
                                     << "Mutter is running, but it did not report the display off.";
        QTest::newRow("refuses") << State::Refuses << State::Works << true << MutterOff
                                 << "Mutter is running, but it did not report the display off.";
        QTest::newRow("kdeInactive")
            << State::Absent << State::Inactive << true << QStringList {PowerDevilAsked}
            << "There is no way to turn the display off here: this Wayland compositor has no display power control.";
        QTest::newRow("kdeRefuses")
            << State::Absent << State::Refuses << true << PowerDevilOff
            << "PowerDevil is running, but this Wayland compositor has no display power control.";
        QTest::newRow("x11WithoutDpmsKde") << State::Absent << State::Works << false << PowerDevilOff
                                           << "PowerDevil is running, but this X server has no display power control.";
    }

    void turnDisplayOff()
    {
        QFETCH(State, gnome);
        QFETCH(State, kde);
        QFETCH(bool, wayland);
        QFETCH(QStringList, calls);
        QFETCH(QString, failure);

        const QString denied = PrivateBus::raise("org.freedesktop.DBus.Error.AccessDenied");
        const QString mode = QString("self.props.setdefault('%1', {})['PowerSaveMode'] = dbus.Int32(%2)\n").arg(Mutter);
        QVERIFY(m_session.own(Mutter, MutterPath, gnome != State::Absent));
        QVERIFY(m_session.addMethod(Mutter, MutterPath, "org.freedesktop.DBus.Properties", "Set", "ssv",
            gnome == State::Refuses ? denied : mode.arg(gnome == State::Unsupported ? "-1" : "int(args[2])")));
        QVERIFY(m_session.own(KGlobalAccel, PowerDevilPath, kde != State::Absent));
        QVERIFY(m_session.addMethod(KGlobalAccel, PowerDevilPath, Component, "isActive", "",
            kde == State::Inactive ? "ret = False" : "ret = True", "b"));
        QVERIFY(m_session.addMethod(
            KGlobalAccel, PowerDevilPath, Component, "invokeShortcut", "s", kde == State::Refuses ? denied : ""));
        m_session.takeCalls();
        // A compositor that is not there: the machine's own must never be
        // asked to turn its outputs off.
        qputenv("WAYLAND_DISPLAY", wayland ? "/nonexistent/morvane-wayland" : "");

        LinuxSystemActions actions(300ms);
        const int result = actions.turnDisplayOff();
        QCOMPARE(m_session.takeCalls(), calls);
        QCOMPARE(result, failure.isEmpty() ? 0 : 1);
        QCOMPARE(actions.displayOffFailure(), failure);
    }
};

QTEST_GUILESS_MAIN(tst_BusActions)
#include "tst_BusActions.moc"
