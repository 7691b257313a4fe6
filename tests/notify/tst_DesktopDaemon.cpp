// The warning against a real notification daemon, Debian's dunst, on a
// private X server and session bus: shown, replaced by the next, its Stop
// and Postpone buttons reaching Morvane, and withdrawn. Skipped without dunst or Xvfb
// (make check-desktops installs them).

#include "actions/DesktopNotifier.h"
#include "tests/common/PrivateBus.h"

#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Notifications = QStringLiteral("org.freedesktop.Notifications");
const QString Dunst = QStringLiteral("org.dunstproject.cmd0");

// The notifications on the screen, and those received but not yet shown.
uint shown(const QDBusConnection &bus)
{
    const QDBusMessage getAll = QDBusMessage::createMethodCall(
        Notifications, "/org/freedesktop/Notifications", "org.freedesktop.DBus.Properties", "GetAll");
    const QVariantMap dunst = qdbus_cast<QVariantMap>(bus.call(QDBusMessage(getAll) << Dunst).arguments().value(0));
    return dunst["displayedLength"].toUInt() + dunst["waitingLength"].toUInt();
}
void writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}
} // namespace

class tst_DesktopDaemon : public QObject
{
    Q_OBJECT

private slots:
    void warningOnTheDesktop()
    {
        if (QStandardPaths::findExecutable("dunst").isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty())
            QSKIP("dunst or Xvfb is not installed; make check-desktops installs them");
        QProcess xvfb;
        // Xvfb picks a free display and writes its number.
        xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
        QVERIFY(xvfb.waitForReadyRead(10000));
        qputenv("DISPLAY", ':' + xvfb.readLine().trimmed());
        PrivateBus session(PrivateBus::Session);
        // Its built-in settings, whatever /etc/xdg says, but for the menu
        // of a notification's buttons: the line of the button named in the
        // file "choice" is picked, as the user would in dmenu.
        QTemporaryDir dir;
        const QString pick = dir.filePath("pick"), choice = dir.filePath("choice"), config = dir.filePath("dunstrc");
        writeFile(pick, QString("#!/bin/sh\ngrep -m1 \"$(cat '%1')\"\n").arg(choice));
        QFile(pick).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        writeFile(config, "[global]\n    dmenu = " + pick + "\n");
        QProcess dunst;
        dunst.start("dunst", {"-config", config});
        QTRY_VERIFY_WITH_TIMEOUT(session.bus().interface()->isServiceRegistered(Notifications), 10000);

        DesktopNotifier notifier("io.github.morvane.Morvane", session.bus());
        QStringList pressed;
        notifier.setStopHandler([&] { pressed << "Stop"; });
        notifier.setPostponeHandler([&] { pressed << "Postpone"; });
        notifier.show("Shut Down in 5 minutes", "At 18:00:00.");
        QTRY_COMPARE(shown(session.bus()), 1u);
        // Its id came back before the answer to shown(); the next warning
        // replaces it only once the notifier has taken the id in.
        QTRY_VERIFY(notifier.findChildren<QDBusPendingCallWatcher *>().isEmpty());
        notifier.show("Shut Down in 1 minute", "At 18:00:00.");
        QCOMPARE(shown(session.bus()), 1u);
        notifier.withdraw();
        QTRY_COMPARE(shown(session.bus()), 0u);

        // Each button from dunst's menu of them.
        for (const QString button : {"Postpone", "Stop"}) {
            notifier.show("Shut Down in 10 seconds", "At 18:00:00.");
            QTRY_COMPARE(shown(session.bus()), 1u);
            QTRY_VERIFY(notifier.findChildren<QDBusPendingCallWatcher *>().isEmpty());
            writeFile(choice, button);
            session.bus().call(QDBusMessage::createMethodCall(
                Notifications, "/org/freedesktop/Notifications", Dunst, "ContextMenuCall"));
            QTRY_COMPARE(pressed.join(' '), button == "Stop" ? "Postpone Stop" : "Postpone");
        }
        // Leaves no X server's files behind.
        xvfb.terminate();
        xvfb.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(tst_DesktopDaemon)
#include "tst_DesktopDaemon.moc"
