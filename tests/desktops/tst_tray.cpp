// Morvane's tray icon against a real tray host: xfce4-panel's status tray,
// which is the StatusNotifierWatcher and the host, on Xvfb and a private
// session bus (desktop-session.sh tray-xfce); the same panel as an X11 tray
// alone (tray-xembed); and a session with no tray at all (tray-none). Morvane is assembled as the user gets it, by the
// Launcher, with the real system actions against dbusmock's logind on a
// private system bus. Everything the test reads of the icon it reads over
// D-Bus, on a connection of its own, as a host would.

#include "actions/LinuxSystemActions.h"
#include "app/AppDelegate.h"
#include "app/Launcher.h"
#include "app/MainWindow.h"
#include "tests/support/DataRow.h"
#include "tests/support/RecordingAlertPresenter.h"

#include <QProcess>
#include <QRegularExpression>
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

// An entry of a dbusmenu layout, (ia{sv}av), and those below it.
void readEntries(const QDBusArgument &layout, QMap<QString, int> &entries)
{
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        readEntries(child.variant().value<QDBusArgument>(), entries);
    }
    layout.endArray();
    layout.endStructure();
    if (properties.value("visible", true).toBool() && properties.contains("label"))
        entries.insert(properties.value("label").toString(), id);
}
} // namespace

class tst_Tray : public QObject
{
    Q_OBJECT

    // Calls from a connection of the test's own: the icon answers from this
    // thread's event loop, which runs while the test waits.
    QDBusMessage call(QDBusConnection bus, const QString &service, const QString &path, const QString &interface,
        const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        const QDBusPendingCall pending = bus.asyncCall(message, 5000);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 6000))
            return QDBusMessage();
        return pending.reply();
    }
    QDBusConnection session() { return QDBusConnection("tray-reader"); }
    QDBusConnection system() { return QDBusConnection("logind-reader"); }
    QVariant property(const QString &service, const QString &path, const QString &interface, const QString &name)
    {
        const QDBusMessage reply
            = call(session(), service, path, "org.freedesktop.DBus.Properties", "Get", {interface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    // The items the watcher knows, as "service path".
    QStringList items()
    {
        QStringList items;
        for (const QString &item :
            property(Watcher, "/StatusNotifierWatcher", Watcher, "RegisteredStatusNotifierItems").toStringList()) {
            const qsizetype slash = item.indexOf('/');
            items << (slash < 0 ? item + " /StatusNotifierItem" : item.left(slash) + ' ' + item.mid(slash));
        }
        return items;
    }
    // The title of the item's tooltip, (sa(iiay)ss).
    QString toolTip(const QString &service, const QString &path)
    {
        const QVariant value = property(service, path, Item, "ToolTip");
        if (value.userType() != qMetaTypeId<QDBusArgument>())
            return QString();
        const QDBusArgument tip = value.value<QDBusArgument>();
        QString iconName, title, text;
        tip.beginStructure();
        tip >> iconName;
        tip.beginArray();
        while (!tip.atEnd()) {
            int width = 0, height = 0;
            QByteArray pixels;
            tip.beginStructure();
            tip >> width >> height >> pixels;
            tip.endStructure();
        }
        tip.endArray();
        tip >> title >> text;
        tip.endStructure();
        return title;
    }
    // How often the logind mock was told to power off.
    int powerOffs()
    {
        const QDBusMessage reply = call(system(), "org.freedesktop.login1", "/org/freedesktop/login1",
            "org.freedesktop.DBus.Mock", "GetMethodCalls", {"PowerOff"});
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        int calls = 0;
        list.beginArray();
        for (; !list.atEnd(); ++calls) {
            quint64 time = 0;
            QVariantList arguments;
            list.beginStructure();
            list >> time >> arguments;
            list.endStructure();
        }
        list.endArray();
        return calls;
    }

    // The windows inside the panel's, as xwininfo lists them: the lines
    // under a panel window's that are indented deeper.
    static QString inPanel()
    {
        QProcess xwininfo;
        xwininfo.start("xwininfo", {"-root", "-tree"});
        xwininfo.waitForFinished();
        const QStringList lines = QString::fromUtf8(xwininfo.readAllStandardOutput()).split('\n');
        const auto indent = [](const QString &line) { return line.size() - line.trimmed().size(); };
        QStringList inside;
        for (qsizetype panel = 0; panel < lines.size(); ++panel) {
            if (!lines[panel].contains(R"("xfce4-panel": ("xfce4-panel")"))
                continue;
            for (qsizetype i = panel + 1; i < lines.size() && indent(lines[i]) > indent(lines[panel]); ++i)
                inside << lines[i];
        }
        return inside.join('\n');
    }

    // Morvane as main() makes it, with alerts recorded instead of shown,
    // started on a task that shuts down in TaskSeconds.
    struct Morvane
    {
        RecordingAlertPresenter *alerts = new RecordingAlertPresenter;
        Launcher launcher {
            std::make_unique<LinuxSystemActions>(), std::unique_ptr<AlertPresenter>(alerts), nullptr, nullptr};
        Morvane()
        {
            TaskRequest request;
            request.action = ActionRow::ShutDown;
            request.countdown = TaskSeconds;
            launcher.launch(request);
        }
    };

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("MORVANE_DESKTOP_RUN"))
            QSKIP("Runs only inside tests/desktops/desktop-session.sh, as ctest -L desktop does");
        Launcher::describeApplication();
        QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), "tray-reader");
        QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS"), "logind-reader");
        QVERIFY(system().isConnected());
    }

    void init()
    {
        call(system(), "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.DBus.Mock", "ClearCalls");
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

        Morvane morvane;
        MainWindow &window = morvane.launcher.window();
        // One item, Morvane's, registered with the panel's watcher.
        QTRY_COMPARE_WITH_TIMEOUT(items().size(), 1, 3000);
        const QString service = items().first().section(' ', 0, 0), path = items().first().section(' ', 1);
        QCOMPARE(property(service, path, Item, "Title").toString(), "Morvane");
        QVERIFY2(QRegularExpression(R"(^Shut Down in 0:0[1-4]$)").match(this->toolTip(service, path)).hasMatch(),
            qPrintable(this->toolTip(service, path)));

        // The tooltip follows the window's title, never faster.
        int titles = 0, tips = 0;
        connect(&window, &QWidget::windowTitleChanged, this, [&] { ++titles; });
        session().connect(service, path, Item, "NewToolTip", this, SLOT(countToolTip()));
        m_toolTips = &tips;

        const QString menuPath = property(service, path, Item, "Menu").value<QDBusObjectPath>().path();
        const QDBusMessage layout = call(session(), service, menuPath, Menu, "GetLayout", {0, -1, QStringList()});
        QMap<QString, int> entries;
        readEntries(layout.arguments().value(1).value<QDBusArgument>(), entries);
        QCOMPARE(entries.keys(), QStringList({"Postpone 10 minutes", "Show Morvane", "Stop"}));

        // The window's rules stand: it does not close while the task runs.
        window.close();
        QVERIFY(window.isVisible());
        QCOMPARE(morvane.alerts->alerts.size(), 1);

        window.hide();
        if (click == "Activate")
            call(session(), service, path, Item, "Activate", {0, 0});
        else if (!click.isEmpty())
            call(session(), service, menuPath, Menu, "Event",
                {entries.value(click), "clicked", QVariant::fromValue(QDBusVariant(QString())), 0u});
        if (click == "Show Morvane" || click == "Activate")
            QTRY_VERIFY(window.isVisible());
        if (!toolTip.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(
                QRegularExpression('^' + toolTip + '$').match(this->toolTip(service, path)).hasMatch(), 2000);
        }

        // Past the time the task was started for.
        QTest::qWait((TaskSeconds + 2) * 1000);
        QCOMPARE(powerOffs(), poweredOff ? 1 : 0);
        QCOMPARE(morvane.launcher.delegate().isTaskRunning(), click == "Postpone 10 minutes");
        // The icon goes with the task, and only then.
        QCOMPARE(items().size(), click == "Postpone 10 minutes" ? 1 : 0);
        session().disconnect(service, path, Item, "NewToolTip", this, SLOT(countToolTip()));
        QVERIFY2(tips <= titles, qPrintable(QString("%1 tooltips, %2 titles").arg(tips).arg(titles)));
        if (click.isEmpty())
            QCOMPARE_GE(tips, 2);
        morvane.launcher.delegate().stopRunningTask();
        QTRY_COMPARE(items().size(), 0);
    }

    void withX11Tray()
    {
        // No watcher on the bus, so Qt embeds the icon in the panel's X11
        // tray instead, and takes it out again when the task ends.
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 20000);
        Morvane morvane;
        QTRY_VERIFY_WITH_TIMEOUT(inPanel().contains(R"("Morvane"))"), 5000);
        morvane.launcher.delegate().stopRunningTask();
        QTRY_VERIFY(!inPanel().contains(R"("Morvane"))"));
        QVERIFY(!inPanel().isEmpty());
    }

    void withoutHost()
    {
        // No watcher and no X11 tray: the task runs and ends as ever, and
        // nothing about the missing tray reaches the journal.
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
        {
            Morvane morvane;
            QTRY_VERIFY(morvane.launcher.delegate().isTaskRunning());
            morvane.launcher.window().close();
            QVERIFY(morvane.launcher.window().isVisible());
            QTRY_VERIFY_WITH_TIMEOUT(!morvane.launcher.delegate().isTaskRunning(), (TaskSeconds + 2) * 1000);
        }
        qInstallMessageHandler(previous);
        QCOMPARE(powerOffs(), 1);
        QCOMPARE(logged, QStringList());
    }

public slots:
    void countToolTip() { ++*m_toolTips; }

private:
    int *m_toolTips = nullptr;
};

QTEST_MAIN(tst_Tray)
#include "tst_tray.moc"
