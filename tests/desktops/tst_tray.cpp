// Morvane's tray icon against a real tray host: xfce4-panel's status tray,
// which is the StatusNotifierWatcher and the host, on Xvfb and a private
// session bus (desktop-session.sh tray-xfce), and a session with no tray at
// all (tray-none). Morvane is assembled as the user gets it, by the Launcher,
// with the real system actions against dbusmock's logind on a private system
// bus. Everything the test reads of the icon it reads over D-Bus, on a
// connection of its own, as a host would.

#include "actions/LinuxSystemActions.h"
#include "app/AppDelegate.h"
#include "app/Launcher.h"
#include "app/MainWindow.h"
#include "tests/support/DataRow.h"
#include "tests/support/RecordingAlertPresenter.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QtDBus>

namespace {
const QString Watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString Item = QStringLiteral("org.kde.StatusNotifierItem");
const QString Menu = QStringLiteral("com.canonical.dbusmenu");
// Long enough to read the icon and click before the action.
constexpr qint64 TaskSeconds = 4;

// Everything logged above debug, but Morvane's own lines about the task.
QStringList logged;
void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && !(type == QtInfoMsg && QByteArray(context.category).startsWith("morvane")))
        logged << message;
}

// The reply's arguments of a call, made with the event loop going (the icon
// answers from this thread), from the test's own connection unless BUS.
QVariantList call(const QString &service, const QString &path, const QString &interface, const QString &method,
    const QVariantList &arguments = {}, const QDBusConnection &bus = QDBusConnection("tray-reader"))
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::BlockWithGui, 5000).arguments();
}
QVariant busProperty(const QString &service, const QString &path, const QString &interface, const QString &name)
{
    return call(service, path, "org.freedesktop.DBus.Properties", "Get", {interface, name})
        .value(0)
        .value<QDBusVariant>()
        .variant();
}
// The items the watcher knows, as "service/path".
QStringList items()
{
    return busProperty(Watcher, "/StatusNotifierWatcher", Watcher, "RegisteredStatusNotifierItems").toStringList();
}
// The title of the item's tooltip, (sa(iiay)ss), after its icon and pixmaps.
QString toolTip(const QString &service, const QString &path)
{
    const QDBusArgument tip = busProperty(service, path, Item, "ToolTip").value<QDBusArgument>();
    QString title;
    tip.beginStructure();
    tip.asVariant();
    tip.asVariant();
    tip >> title;
    return title;
}
// How often the logind mock was told to power off.
int powerOffs()
{
    const QVariantList reply = call("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.DBus.Mock",
        "GetMethodCalls", {"PowerOff"}, QDBusConnection::systemBus());
    const QDBusArgument list = reply.value(0).value<QDBusArgument>();
    int calls = 0;
    for (list.beginArray(); !list.atEnd(); ++calls)
        list.asVariant();
    return calls;
}

// An entry of a dbusmenu layout, (ia{sv}av), and those below it.
void readEntries(const QDBusArgument &layout, QMap<QString, int> &entries)
{
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    layout.beginArray();
    while (!layout.atEnd())
        readEntries(layout.asVariant().value<QDBusVariant>().variant().value<QDBusArgument>(), entries);
    layout.endArray();
    layout.endStructure();
    if (properties.value("visible", true).toBool() && properties.contains("label"))
        entries.insert(properties.value("label").toString(), id);
}

// Morvane as main() makes it, with alerts recorded instead of shown,
// started on a task that shuts down in TaskSeconds.
struct Morvane
{
    Launcher launcher {
        std::make_unique<LinuxSystemActions>(), std::make_unique<RecordingAlertPresenter>(), nullptr, nullptr};
    Morvane()
    {
        TaskRequest request;
        request.action = ActionRow::ShutDown;
        request.countdown = TaskSeconds;
        launcher.launch(request);
    }
};
} // namespace

class tst_Tray : public QObject
{
    Q_OBJECT

signals:
    void newToolTip();

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("MORVANE_DESKTOP_RUN"))
            QSKIP("Runs only inside tests/desktops/desktop-session.sh, as ctest -L desktop does");
        Launcher::describeApplication();
        QVERIFY(QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), "tray-reader")
                    .isConnected());
    }

    void init()
    {
        call("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.DBus.Mock", "ClearCalls", {},
            QDBusConnection::systemBus());
    }

    void withHost_data()
    {
        // The menu entry clicked through the host, "Activate" for a click
        // on the icon itself, nothing for a task left alone.
        QTest::addColumn<QString>("click");
        // The tooltip right after the click.
        QTest::addColumn<QString>("toolTip");
        // Whether the machine was told to shut down once the task was due.
        QTest::addColumn<bool>("poweredOff");

        const QString soon = R"(Shut Down in 0:0[1-4])";
        addRow("left alone", QString(), soon, true);
        addRow("Stop", QString("Stop"), QString(), false);
        addRow("Postpone 10 minutes", QString("Postpone 10 minutes"), QString(R"(Shut Down in 10:0[1-4])"), false);
        addRow("Show Morvane", QString("Show Morvane"), soon, true);
        addRow("a click on the icon", QString("Activate"), soon, true);
    }

    void withHost()
    {
        QFETCH(QString, click);
        QFETCH(QString, toolTip);
        QFETCH(bool, poweredOff);
        const bool postponed = click == "Postpone 10 minutes";

        Morvane morvane;
        MainWindow &window = morvane.launcher.window();
        // One item, Morvane's, registered with the panel's watcher.
        QTRY_COMPARE_WITH_TIMEOUT(items().size(), 1, 3000);
        const QString item = items().first(), service = item.section('/', 0, 0), path = item.mid(service.size());
        QCOMPARE(busProperty(service, path, Item, "Title").toString(), "Morvane");
        // The tooltip follows the window's title, never faster.
        QSignalSpy titles(&window, &QWidget::windowTitleChanged), tips(this, &tst_Tray::newToolTip);
        QDBusConnection("tray-reader").connect(service, path, Item, "NewToolTip", this, SIGNAL(newToolTip()));

        const QString menuPath = busProperty(service, path, Item, "Menu").value<QDBusObjectPath>().path();
        QMap<QString, int> entries;
        const QVariantList layout = call(service, menuPath, Menu, "GetLayout", {0, -1, QStringList()});
        readEntries(layout.value(1).value<QDBusArgument>(), entries);
        QCOMPARE(entries.keys(), QStringList({"Postpone 10 minutes", "Show Morvane", "Stop"}));

        // The window's rules stand: it does not close while the task runs.
        window.close();
        QVERIFY(window.isVisible());
        window.hide();
        if (click == "Activate")
            call(service, path, Item, "Activate", {0, 0});
        else if (!click.isEmpty())
            call(service, menuPath, Menu, "Event",
                {entries.value(click), "clicked", QVariant::fromValue(QDBusVariant(QString())), 0u});
        QTRY_COMPARE(window.isVisible(), click == "Show Morvane" || click == "Activate");
        if (!toolTip.isEmpty())
            QTRY_VERIFY(QRegularExpression('^' + toolTip + '$').match(::toolTip(service, path)).hasMatch());

        // Past the time the task was started for; the icon goes with the
        // task, and only then.
        QTest::qWait((TaskSeconds + 2) * 1000);
        QCOMPARE(powerOffs(), poweredOff ? 1 : 0);
        QCOMPARE(morvane.launcher.delegate().isTaskRunning(), postponed);
        QCOMPARE(items().size(), postponed ? 1 : 0);
        QDBusConnection("tray-reader").disconnect(service, path, Item, "NewToolTip", this, SIGNAL(newToolTip()));
        QVERIFY2(tips.size() <= titles.size(),
            qPrintable(QString("%1 tooltips, %2 titles").arg(tips.size()).arg(titles.size())));
        if (click.isEmpty())
            QCOMPARE_GE(tips.size(), 2);
        morvane.launcher.delegate().stopRunningTask();
        QTRY_COMPARE(items().size(), 0);
    }

    void withoutHost()
    {
        // No watcher and no X11 tray: the task runs and ends as ever, and
        // nothing about the missing tray reaches the journal.
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
        {
            Morvane morvane;
            QTRY_VERIFY(morvane.launcher.delegate().isTaskRunning());
            QTRY_VERIFY_WITH_TIMEOUT(!morvane.launcher.delegate().isTaskRunning(), (TaskSeconds + 2) * 1000);
        }
        qInstallMessageHandler(previous);
        QCOMPARE(powerOffs(), 1);
        QCOMPARE(logged, QStringList());
    }
};

QTEST_MAIN(tst_Tray)
#include "tst_tray.moc"
