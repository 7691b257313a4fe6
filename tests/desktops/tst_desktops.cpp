// Morvane against the real services of each desktop, as Debian 12 ships
// them. Each row runs inside desktop-session.sh, which starts that desktop
// headless on private buses and a private display. Morvane's real window and
// system actions run a one-second task; the row checks the one call the
// service saw on the session bus (as dbus-monitor shows it), the alerts, and
// that a session manager ended the session while a compositor kept running;
// where the session speaks XSMP, the real Morvane runs in it as well and must
// stay out of it.

#include "actions/LinuxSystemActions.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "controls/ActionRow.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "tests/support/DataRow.h"
#include "tests/support/RecordingAlertPresenter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtDBus>

class tst_Desktops : public QObject
{
    Q_OBJECT

private slots:
    void desktop_data()
    {
        QTest::addColumn<ActionRow>("action");
        // The one call of its destination, interface and member the desktop
        // must see, as "destination interface.member arguments..."; none
        // where no service takes the request.
        QTest::addColumn<QString>("call");
        // Each alert's title and message, on one line.
        QTest::addColumn<QStringList>("alerts");
        // The display power protocol lines of Morvane's own Wayland traffic
        // once the task runs, as "-> interface.request(...)" and
        // "interface.event(...)", without times and object numbers; then
        // those of asking the compositor afresh how its outputs are.
        QTest::addColumn<QStringList>("protocol");

        const QStringList none;
        addRow("xfce", ActionRow::LogOut,
            "org.xfce.SessionManager org.xfce.Session.Manager.Logout boolean false boolean false", none, none);
        addRow("lxqt", ActionRow::LogOut, "org.lxqt.session org.lxqt.session.logout", none, none);
        for (const char *gnome : {"mate", "gnome", "cinnamon"})
            addRow(gnome, ActionRow::LogOut, "org.gnome.SessionManager org.gnome.SessionManager.Logout uint32 1", none,
                none);
        const char *mutterOff = R"(org.gnome.Mutter.DisplayConfig org.freedesktop.DBus.Properties.Set string )"
                                R"("org.gnome.Mutter.DisplayConfig" string "PowerSaveMode" variant int32 3)";
        addRow("mutter-wayland", ActionRow::DisplaySleep, mutterOff, none, none);
        // Mutter takes the request, and its PowerSaveMode then reads -1: Xvfb
        // has no DPMS.
        addRow("mutter-x11", ActionRow::DisplaySleep, mutterOff,
            QStringList {"Error! 1 Mutter is running, but this X server has no display power control."}, none);
        // Morvane's window is an X client there, but the compositor owns the
        // outputs.
        const QStringList noControl {
            "Error! 1 There is no way to turn the display off here: this Wayland compositor has no display power "
            "control."};
        addRow("weston", ActionRow::DisplaySleep, "", noControl, none);
        addRow("weston-xwayland", ActionRow::DisplaySleep, "", noControl, none);
        // PowerDevil is there, but turns the display off through the same
        // compositor: its shortcut is sent, and nothing reports the screen off.
        addRow("weston-powerdevil", ActionRow::DisplaySleep,
            R"(org.kde.kglobalaccel org.kde.kglobalaccel.Component.invokeShortcut string "Turn Off Screen")",
            QStringList {"Error! 1 PowerDevil is running, but this Wayland compositor has no display power control."},
            none);
        // KWin's virtual output says it has no power control at all, so no
        // request is sent; it stays on.
        const QStringList kwinAsked {"-> org_kde_kwin_dpms_manager.get(new id org_kde_kwin_dpms, wl_output)",
            "org_kde_kwin_dpms.supported(0)", "org_kde_kwin_dpms.mode(0)", "org_kde_kwin_dpms.done()",
            "-> org_kde_kwin_dpms.release()"};
        addRow("kwin-wayland", ActionRow::DisplaySleep, "",
            QStringList {"Error! 1 KWin is running, but it cannot turn its outputs off."}, kwinAsked + kwinAsked);
        const QStringList wlrAsk {
            "-> zwlr_output_power_manager_v1.get_output_power(new id zwlr_output_power_v1, wl_output)",
            "zwlr_output_power_v1.mode(1)"};
        const QStringList wlrDone {"-> zwlr_output_power_v1.destroy()", "-> zwlr_output_power_manager_v1.destroy()"};
        // sway takes the request, but a headless output cannot be disabled:
        // it stays on, and says nothing.
        addRow("sway", ActionRow::DisplaySleep, "",
            QStringList {"Error! 1 A wlroots compositor is running, but it did not report its outputs off."},
            wlrAsk + QStringList {"-> zwlr_output_power_v1.set_mode(0)"} + wlrDone + wlrAsk + wlrDone);
    }

    void desktop()
    {
        QFETCH(ActionRow, action);
        QFETCH(QString, call);
        QFETCH(QStringList, alerts);
        QFETCH(QStringList, protocol);
        if (qEnvironmentVariableIsEmpty("MORVANE_DESKTOP_RUN"))
            QSKIP("Runs only inside tests/desktops/desktop-session.sh, as ctest -L desktop does");

        // What desktop-session.sh keeps in MORVANE_DESKTOP_RUN.
        const auto runFile = [](const QString &name) {
            QFile file(qEnvironmentVariable("MORVANE_DESKTOP_RUN") + '/' + name);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
        };
        // Where the session speaks XSMP, the real Morvane, started as the
        // session starts its programs, stays out of the session manager that
        // a plain Qt program joins (xfce4-session lists its clients with
        // ListClients, the others with GetClients).
        const QByteArray sessionManager = runFile("session-manager").toUtf8();
        QProcess joins, morvane;
        if (!sessionManager.isEmpty()) {
            QDBusInterface manager(call.section(' ', 0, 0), '/' + call.section(' ', 0, 0).replace('.', '/'),
                call.section(' ', 1, 1).section('.', 0, -2));
            const QString list = call.startsWith("org.xfce") ? "ListClients" : "GetClients";
            const auto clients = [&] { return QDBusReply<QList<QDBusObjectPath>>(manager.call(list)).value().size(); };
            qputenv("SESSION_MANAGER", sessionManager);
            const qsizetype others = clients();
            joins.start("/usr/lib/qt6/bin/qdbusviewer");
            QTRY_COMPARE(clients(), others + 1);
            morvane.start(MORVANE_BINARY, {"--action", "logout", "--in", "1h"});
            // A task starts, and is saved, once the window is up.
            QTRY_VERIFY(QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Morvane/Morvane.conf"));
            QCOMPARE(clients(), others + 1);
        }

        MainWindow window;
        auto recorder = std::make_unique<RecordingAlertPresenter>();
        const RecordingAlertPresenter &shown = *recorder;
        AppDelegate delegate(&window, std::make_unique<LinuxSystemActions>(), std::move(recorder));
        delegate.applicationDidFinishLaunching();
        window.show();
        // The readiness line asks its questions once the window is painted;
        // they are done before the action is chosen.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(50);
        const auto control = [&](qint64 tag, QObject *in = nullptr) { return delegate.getGUIObject(tag, in); };
        control(Tag::ActionMatrix, delegate.aBox1()).as<RadioMatrix>()->rowButton(int(action))->click();
        control(Tag::NumberField, delegate.tabview1()->widget(0)).setStringValue("1");
        control(Tag::UnitComboBox, delegate.tabview1()->widget(0)).as<QComboBox>()->setCurrentText("Seconds");
        control(Tag::RunButton).as<QAbstractButton>()->click();
        // The readiness line has asked the compositor already; only what
        // the action itself says counts.
        const qsizetype asked = runFile("wayland.log").size();
        QTRY_COMPARE_WITH_TIMEOUT(control(Tag::RunButton).title(), "Run", 10000);

        QStringList alerted;
        for (const auto &[title, message] : shown.alerts)
            alerted << (title + ' ' + message).simplified();
        QCOMPARE(alerted, alerts);
        // Each output's mode as the compositor tells a new client.
        if (!protocol.isEmpty())
            LinuxSystemActions().displayReadiness();
        QStringList said;
        for (QString line : runFile("wayland.log").mid(asked).split('\n')) {
            line.remove(QRegularExpression(R"(^\[\s*[0-9.]+\]\s*|@[0-9]+)"));
            if (line.contains(QRegularExpression("^(?!.*(global|bind)).*(dpms|output_power)")))
                said << line;
        }
        QCOMPARE(said, protocol);
        // dbus-monitor starts each message at the margin, its arguments
        // follow indented; a method call, on one line, reads
        // "destination interface.member arguments...".
        const QRegularExpression header(R"(^method call .*? destination=(\S+) .*? interface=(\S+); member=(\S+))");
        const auto callsLike = [&] {
            QStringList calls;
            for (const QString &message : runFile("monitor.log").split(QRegularExpression("\n(?! )")))
                calls << message.simplified().replace(header, R"(\1 \2.\3)");
            return calls.filter(
                QRegularExpression('^' + QRegularExpression::escape(call.section(' ', 0, 1)) + "( |$)"));
        };
        if (!call.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(callsLike(), QStringList {call}, 2000);
        // Cinnamon's settings schema is named so, but no session manager owns
        // the name: asking for it means taking the wrong desktop's way.
        QVERIFY(!runFile("monitor.log").contains("org.cinnamon.SessionManager"));
        // A session manager ends the session, without saving one that would
        // start Morvane again at the next log-in; a compositor keeps running.
        QTRY_COMPARE_WITH_TIMEOUT(runFile("exit"), QString(action == ActionRow::LogOut ? "0" : ""), 5000);
        QVERIFY(QDir(qEnvironmentVariable("XDG_CACHE_HOME") + "/sessions").isEmpty());
        // Never told to save or die, Morvane outlives the session manager.
        QCOMPARE(morvane.state(), sessionManager.isEmpty() ? QProcess::NotRunning : QProcess::Running);
    }
};

QTEST_MAIN(tst_Desktops)
#include "tst_desktops.moc"
