// What guards a running task (closing, Quit, switching the schedule page by
// any route), the window's Postpone, and the help reached from the window.

#include "app/HelpWindow.h"
#include "schedule/CalendarMath.h"
#include "task/TaskWarnings.h"
#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class tst_MainWindow : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened << url; }

private slots:
    void closeGuard_data()
    {
        QTest::addColumn<bool>("quitItem"); // else the window's close button
        QTest::addColumn<bool>("running");
        for (const bool quitItem : {false, true})
            for (const bool running : {false, true})
                QTest::addRow("%s %s", quitItem ? "quit" : "close", running ? "running" : "idle")
                    << quitItem << running;
    }
    void closeGuard()
    {
        QFETCH(bool, quitItem);
        QFETCH(bool, running);

        WindowFixture f;
        QSignalSpy terminate(f.delegate.get(), &AppDelegate::terminationRequested);
        f.window->show();
        if (running)
            f.pressRun();
        if (quitItem)
            f.menuItem(Tag::QuitMenuItem)->trigger();
        else
            QCOMPARE(f.window->close(), !running);

        QCOMPARE(terminate.count(), running ? 0 : 1);
        QCOMPARE(f.window->isVisible(), running || quitItem);
        QCOMPARE(f.delegate->counterTimer(), running ? 301 : 0);
        const Alerts refusal {{"Reminder", "You can not close the application when timing task is running!"}};
        QCOMPARE(f.alerts->alerts, running ? refusal : Alerts());
    }

    // "Postpone 10 minutes" is there only while a task runs. A click and
    // Space on the focused button each move the due time as the warning's
    // Postpone does, the time left follows, and the editor stays locked; the
    // button goes once the task has fired.
    void postponeWhileRunning_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        addRow("click", false);
        addRow("space", true);
    }
    void postponeWhileRunning()
    {
        QFETCH(bool, byKeyboard);
        WindowFixture f;
        f.window->show();
        QAbstractButton *postpone = f.window->postponeButton();
        QVERIFY(!postpone->isVisible());
        f.selectRow(1);
        f.setCountdown("5", "Minutes");
        f.pressRun();
        QVERIFY(postpone->isVisible());
        const QDateTime due = f.delegate->runningTask().dueTime();
        if (byKeyboard) {
            postpone->setFocus();
            QTest::keyClick(postpone, Qt::Key_Space);
        } else {
            QTest::mouseClick(postpone, Qt::LeftButton);
        }
        QCOMPARE(due.secsTo(f.delegate->runningTask().dueTime()), TaskWarnings::PostponeSeconds);
        QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), CalendarMath::calculateLeftTime(900));
        QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
        QVERIFY(!f.control(Tag::ActionMatrix, f.delegate->aBox1()).isEnabled()
            && !f.control(Tag::NumberField, f.page(0)).isEnabled());

        f.clock->advance(900000);
        f.tick();
        QCOMPARE(f.actions->calls.size(), 1);
        QVERIFY(!postpone->isVisible());
    }

    // The page guard meets every route to the other page: a click, the arrow
    // key on the tab bar and an assistive technology's "Press" on the tab.
    void pageGuard_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("running");
        for (const char *route : {"click", "key", "accessiblePress"}) {
            QTest::addRow("%s idle", route) << QString(route) << false;
            QTest::addRow("%s running", route) << QString(route) << true;
        }
    }
    void pageGuard()
    {
        QFETCH(QString, route);
        QFETCH(bool, running);

        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        if (running)
            f.pressRun();
        QTabBar *bar = f.delegate->tabview1()->tabBar();
        // A refused switch never shows the other page, not even for a moment:
        // the page reaches the window only through a paint event.
        QSignalSpy changed(f.delegate->tabview1(), &QTabWidget::currentChanged);
        struct : QObject
        {
            int paints = 0;
            bool eventFilter(QObject *, QEvent *e) override { return (paints += e->type() == QEvent::Paint), false; }
        } counter;
        f.page(1)->installEventFilter(&counter);
        if (route == "click")
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        else if (route == "key")
            QTest::keyClick(bar, Qt::Key_Right);
        else
            QAccessible::queryAccessibleInterface(bar)->child(1)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        QTest::qWait(100);
        f.page(1)->removeEventFilter(&counter);

        QCOMPARE(f.delegate->tabview1()->currentIndex(), running ? 0 : 1);
        // Qt gives "Press" no hook before the switch: the guard takes it back
        // at once (two changes), before anything is painted.
        QCOMPARE(changed.count(), !running ? 1 : route == "accessiblePress" ? 2 : 0);
        QCOMPARE(counter.paints > 0, !running);
        QCOMPARE(f.runTitle(), QLatin1String(running ? "Stop" : "Run"));
    }

    // The book the build puts beside the program, opened at the anchor of
    // its front page: in the desktop's viewer for HTML (this test stands in
    // for it, as xdg-mime finds it set), else in Morvane's help window.
    void helpOpensAtAnchor_data()
    {
        QTest::addColumn<bool>("viewer");
        addRow("desktopViewer", true);
        addRow("noViewerHelpWindow", false);
    }
    void helpOpensAtAnchor()
    {
        QFETCH(bool, viewer);
        QTemporaryDir home;
        const auto write = [&](const QString &name, const QByteArray &text) {
            QFile file(home.filePath(name));
            return QDir(home.path()).mkpath("data/applications") && file.open(QIODevice::WriteOnly)
                && file.write(text) == text.size();
        };
        QVERIFY(!viewer
            || (write("data/applications/viewer.desktop",
                    "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %u\nMimeType=text/html;\n")
                && write("mimeapps.list", "[Default Applications]\ntext/html=viewer.desktop\n")));
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", "/nonexistent");
        m_opened.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        WindowFixture f;
        f.menuItem(Tag::HelpMenuItem)->trigger();
        f.control(Tag::HelpButton).as<QAbstractButton>()->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        auto *window = f.window->findChild<HelpWindow *>();
        QCOMPARE(window && window->isVisible(), !viewer);
        const QList<QUrl> shown = viewer ? m_opened : QList<QUrl> {window->page()};
        QCOMPARE(m_opened.size(), viewer ? 2 : 0);
        QCOMPARE(shown.constLast(), shown.constFirst());
        QCOMPARE(shown.constFirst().fragment(), QStringLiteral("acess"));
        QFile page(shown.constFirst().toLocalFile());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("id=\"acess\""));
    }

private:
    QList<QUrl> m_opened;
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
