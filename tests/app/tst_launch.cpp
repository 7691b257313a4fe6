// The window right after launch, and the guards that protect a running
// task: closing, quitting and switching the page.

#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>

class TestLaunch : public QObject
{
    Q_OBJECT

private slots:
    void stateAfterLaunch();
    void closeGuard_data();
    void closeGuard();
    void pageGuard_data();
    void pageGuard();
};

// Whatever the interface file gives the window, launch sets the minimum to
// one second and hides both check boxes.
void TestLaunch::stateAfterLaunch()
{
    WindowFixture f(false);
    f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>()->setValue(7);
    f.control(Tag::MinimumSecondsText, f.page(1)).setStringValue(QStringLiteral("7 seconds"));
    f.control(Tag::DimAfterScriptCheckBox).setHidden(false);
    f.control(Tag::SpareCheckBox).setHidden(false);
    f.delegate->setMinimumCounter(0);

    f.delegate->applicationDidFinishLaunching();

    QCOMPARE(f.window->windowTitle(), QStringLiteral("Morvane"));
    QCOMPARE(f.delegate->minimumCounter(), 1);
    QCOMPARE(f.control(Tag::MinimumSecondsText, f.page(1)).stringValue(), QStringLiteral("1 second"));
    QCOMPARE(f.control(Tag::MinimumStepper, f.page(1)).integerValue(), 7);
    QCOMPARE(f.delegate->counterTimer(), 0);
    QCOMPARE(f.runTitle(), QStringLiteral("Run"));
    QVERIFY(f.control(Tag::RunButton).isEnabled());
    for (qint64 tag : {Tag::DimAfterScriptCheckBox, Tag::SpareCheckBox, Tag::TimeLeftCaption, Tag::TimeLeftText})
        QVERIFY2(f.control(tag).isHidden(), qPrintable(QString::number(tag)));
    QCOMPARE(f.delegate->tabview1()->delegate(), f.delegate.get());
    QCOMPARE(f.delegate->tabview1()->tabText(0), QStringLiteral("Timer"));
    auto *unit = f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>();
    QStringList units;
    for (int i = 0; i < unit->count(); ++i)
        units << unit->itemText(i);
    QCOMPARE(units, (QStringList {"Years", "Months", "Days", "Hours", "Minutes", "Seconds"}));
    QVERIFY(f.alerts->alerts.isEmpty());
}

void TestLaunch::closeGuard_data()
{
    QTest::addColumn<bool>("quitMenuItem"); // else the window's close button
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("ends");

    for (bool quit : {false, true}) {
        const char *via = quit ? "quitMenuItem" : "closeWindow";
        QTest::addRow("%s-idle", via) << quit << "Run" << true;
        QTest::addRow("%s-running", via) << quit << "Stop" << false;
        // Only the exact idle title allows it.
        QTest::addRow("%s-otherTitle", via) << quit << "run" << false;
    }
}

void TestLaunch::closeGuard()
{
    QFETCH(bool, quitMenuItem);
    QFETCH(QString, title);
    QFETCH(bool, ends);

    WindowFixture f;
    QSignalSpy terminate(f.delegate.get(), &AppDelegate::terminationRequested);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.control(Tag::RunButton).setTitle(title);
    f.delegate->setCounterTimer(ends ? 0 : 42);

    if (quitMenuItem) {
        for (QAction *item : f.window->menuItems()) {
            if (item->property(Tag::Property).toLongLong() == Tag::QuitMenuItem)
                item->trigger();
        }
    } else {
        QCOMPARE(f.window->close(), ends);
        QCOMPARE(f.window->isVisible(), !ends);
    }

    QCOMPARE(terminate.count(), ends ? 1 : 0);
    if (ends) {
        QVERIFY(f.alerts->alerts.isEmpty());
    } else {
        QCOMPARE(f.alerts->alerts,
            (QList<QPair<QString, QString>> {{QStringLiteral("Reminder"),
                QStringLiteral("You can not close the application when timing task is running!")}}));
        // The task goes on as it was.
        QCOMPARE(f.runTitle(), title);
        QCOMPARE(f.delegate->counterTimer(), 42);
    }
}

void TestLaunch::pageGuard_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<bool>("switches");

    for (const char *gesture : {"click", "wheel", "arrowKey", "ctrlTab"}) {
        QTest::addRow("idle-%s", gesture) << "Run" << gesture << true;
        QTest::addRow("running-%s", gesture) << "Stop" << gesture << false;
    }
    // Only the exact running title refuses.
    QTest::newRow("otherTitle-click") << "stop"
                                      << "click" << true;
}

void TestLaunch::pageGuard()
{
    QFETCH(QString, title);
    QFETCH(QString, gesture);
    QFETCH(bool, switches);

    WindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    TaggedTabView *tabs = f.delegate->tabview1();
    QTabBar *bar = tabs->tabBar();
    QCOMPARE(tabs->currentIndex(), 0);
    f.control(Tag::RunButton).setTitle(title);

    // A refused switch must never show the other page, not even briefly.
    QList<int> shown;
    connect(tabs, &QTabWidget::currentChanged, this, [&shown](int index) { shown << index; });

    if (gesture == QLatin1String("click")) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    } else if (gesture == QLatin1String("wheel")) {
        const QPointF pos = bar->tabRect(0).center();
        QWheelEvent wheel(pos, bar->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
    } else if (gesture == QLatin1String("arrowKey")) {
        QTest::keyClick(bar, Qt::Key_Right);
    } else {
        QTest::keyClick(f.control(Tag::NumberField, f.page(0)).as<QWidget>(), Qt::Key_Tab, Qt::ControlModifier);
    }

    QCOMPARE(tabs->currentIndex(), switches ? 1 : 0);
    QCOMPARE(shown.isEmpty(), !switches);
    QVERIFY(f.alerts->alerts.isEmpty());
}

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
