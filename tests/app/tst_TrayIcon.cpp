// The tray icon's menu on the real window: each entry takes the route the
// window's Stop or the warning's Postpone takes, and the icon follows the
// task. Qt's offscreen platform has no tray: the icon is never shown there,
// and nothing about it may be logged. The icon against a real tray host is
// in tests/desktops (make check-desktops).

#include "app/TrayIcon.h"
#include "task/TaskWarnings.h"
#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

#include <QMenu>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTest>

namespace {
// Everything logged above debug, but Morvane's own lines about the task and
// the offscreen platform's remarks on window operations it lacks (raise(),
// size hints).
QStringList logged;
void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool morvanes = type == QtInfoMsg && QByteArray(context.category).startsWith("morvane");
    if (type != QtDebugMsg && !morvanes && !message.startsWith("This plugin does not support"))
        logged << message;
}
} // namespace

class tst_TrayIcon : public QObject
{
    Q_OBJECT

private slots:
    // Each row is named after the entry it picks.
    void entryTakesTheWindowsRoute_data()
    {
        // Whether the task still runs afterwards, how far its due time moved,
        // in seconds, and the time left the tooltip shows; a slow machine may
        // have let a second pass.
        QTest::addColumn<bool>("running");
        QTest::addColumn<qint64>("moved");
        QTest::addColumn<QString>("left");
        addRow("Stop", false, qint64(0), QString("5:00|4:59"));
        addRow("Postpone 10 minutes", true, TaskWarnings::PostponeSeconds, QString("15:00|14:59"));
        addRow("Show Morvane", true, qint64(0), QString("5:00|4:59"));
    }

    void entryTakesTheWindowsRoute()
    {
        const QString entry = QTest::currentDataTag();
        QFETCH(bool, running);
        QFETCH(qint64, moved);
        QFETCH(QString, left);
        logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
        WindowFixture f;
        TrayIcon tray(f.delegate->runningTask(), f.window.get(), [&] { f.delegate->stopRunningTask(); });
        auto *icon = tray.findChild<QSystemTrayIcon *>();
        f.selectRow(1);
        f.setCountdown("5", "Minutes");
        f.pressRun();
        f.delegate->timerFired();
        const QDateTime due = f.delegate->runningTask().dueTime();
        f.window->showMinimized();

        QStringList entries;
        for (QAction *action : icon->contextMenu()->actions())
            entries << action->text();
        QCOMPARE(entries, QStringList({"Show Morvane", "Stop", "Postpone 10 minutes"}));
        icon->contextMenu()->actions().at(entries.indexOf(entry))->trigger();
        // The route runs from the event loop, once the menu is answered.
        QCOMPARE(f.delegate->isTaskRunning(), true);
        QCoreApplication::processEvents();
        QCOMPARE(f.delegate->isTaskRunning(), running);
        QCOMPARE(f.runTitle(), running ? "Stop" : "Run");
        const QRegularExpression toolTip("^Shut Down in (" + left + ")$");
        QVERIFY2(toolTip.match(icon->toolTip()).hasMatch(), qPrintable(icon->toolTip()));
        QCOMPARE(running ? due.secsTo(f.delegate->runningTask().dueTime()) : 0, moved);
        QCOMPARE(f.window->isMinimized(), entry != "Show Morvane");

        // No tray on this platform: nothing shown, nothing said about it.
        QVERIFY(!icon->isVisible());
        qInstallMessageHandler(previous);
        QCOMPARE(logged, QStringList());
    }
};

QTEST_MAIN(tst_TrayIcon)
#include "tst_TrayIcon.moc"
