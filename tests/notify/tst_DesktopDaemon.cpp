// The warning against a real notification daemon, Debian's dunst, on a
// private X server and session bus: shown, replaced by the next, its Stop
// button reaching Morvane, and withdrawn. Skipped without dunst or Xvfb
// (make check-desktops installs them).

#include "actions/DesktopNotifier.h"
#include "tests/common/PrivateBus.h"

#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {
const QString Notifications = QStringLiteral("org.freedesktop.Notifications");
const QString Dunst = QStringLiteral("org.dunstproject.cmd0");
} // namespace

class tst_DesktopDaemon : public QObject
{
    Q_OBJECT

private slots:
    void warningOnTheDesktop();

private:
    QDBusMessage callDunst(const QString &interface, const QString &method, const QVariantList &arguments)
    {
        auto message
            = QDBusMessage::createMethodCall(Notifications, "/org/freedesktop/Notifications", interface, method);
        message.setArguments(arguments);
        return m_bus.call(message, QDBus::Block, 5000);
    }
    // The notifications on the screen, and those received but not yet shown.
    uint shown()
    {
        uint count = 0;
        for (const char *property : {"displayedLength", "waitingLength"}) {
            const QVariant answer
                = callDunst("org.freedesktop.DBus.Properties", "Get", {Dunst, property}).arguments().value(0);
            count += answer.value<QDBusVariant>().variant().toUInt();
        }
        return count;
    }

    QDBusConnection m_bus {QString()};
};

void tst_DesktopDaemon::warningOnTheDesktop()
{
    if (QStandardPaths::findExecutable("dunst").isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty())
        QSKIP("dunst or Xvfb is not installed; make check-desktops installs them");
    QProcess xvfb;
    // Xvfb picks a free display and writes its number.
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
    QVERIFY(xvfb.waitForReadyRead(10000));
    PrivateBus session(PrivateBus::Session);
    m_bus = QDBusConnection(QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS")));
    QProcess dunst;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", ':' + QString::fromLatin1(xvfb.readLine().trimmed()));
    dunst.setProcessEnvironment(environment);
    // Its built-in settings, whatever /etc/xdg says.
    dunst.start("dunst", {"-config", "/dev/null"});
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.interface()->isServiceRegistered(Notifications), 10000);

    DesktopNotifier notifier("io.github.morvane.Morvane", m_bus);
    int stops = 0;
    notifier.setStopHandler([&] { ++stops; });
    notifier.show("Shut Down in 5 minutes", "At 18:00:00.");
    QTRY_COMPARE(shown(), 1u);
    // Its id came back before the answer to shown(), and is taken in here.
    QCoreApplication::processEvents();
    notifier.show("Shut Down in 1 minute", "At 18:00:00.");
    QCOMPARE(shown(), 1u);

    // As a middle click does: the one action of the first notification.
    callDunst(Dunst, "NotificationAction", {0u});
    QTRY_COMPARE(stops, 1);

    notifier.show("Shut Down in 10 seconds", "At 18:00:00.");
    QTRY_COMPARE(shown(), 1u);
    QCoreApplication::processEvents();
    notifier.withdraw();
    QTRY_COMPARE(shown(), 0u);
    dunst.terminate();
    dunst.waitForFinished();
    xvfb.terminate();
    xvfb.waitForFinished();
}

QTEST_GUILESS_MAIN(tst_DesktopDaemon)
#include "tst_DesktopDaemon.moc"
