// The window right after launch, the minimum-seconds text, and the two
// guards that protect a running task: closing the window and switching the
// schedule page.

#include "tests/support/WindowFixture.h"

#include <QCheckBox>
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
    void launchIgnoresInterfaceValues();
    void minimumSecondsText_data();
    void minimumSecondsText();
    void closeWhileIdleEndsApplication();
    void closeRefusedWhileRunning_data();
    void closeRefusedWhileRunning();
    void pageGuard_data();
    void pageGuard();
};

void TestLaunch::stateAfterLaunch()
{
    WindowFixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Morvane"));
    QCOMPARE(f.delegate->minimumCounter(), 1);
    QCOMPARE(f.delegate->counterTimer(), 0);
    QCOMPARE(f.control(Tag::MinimumSecondsText, f.page(1)).stringValue(), QStringLiteral("1 second"));
    QCOMPARE(f.runTitle(), QStringLiteral("Run"));
    QVERIFY(f.control(Tag::RunButton).isEnabled());
    QVERIFY(f.control(Tag::DimAfterScriptCheckBox).isHidden());
    QVERIFY(f.control(Tag::SpareCheckBox).isHidden());
    QVERIFY(f.control(Tag::TimeLeftCaption).isHidden());
    QVERIFY(f.control(Tag::TimeLeftText).isHidden());
    QCOMPARE(f.delegate->tabview1()->delegate(), f.delegate.get());
    QVERIFY(f.delegate->tabview2()->delegate() == nullptr);
    QVERIFY(f.delegate->objectGUIArray().isEmpty());
    QVERIFY(f.delegate->vAboutWindowController() == nullptr);
    QCOMPARE(f.delegate->tabview1()->tabText(0), QStringLiteral("Timer"));

    const QStringList units = {"Years", "Months", "Days", "Hours", "Minutes", "Seconds"};
    auto *unit = f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>();
    QVERIFY(unit);
    QCOMPARE(unit->count(), units.size());
    for (int i = 0; i < units.size(); ++i)
        QCOMPARE(unit->itemText(i), units.at(i));
    QVERIFY(f.alerts->alerts.isEmpty());
}

// Whatever the window starts with, launch sets the minimum to one second and
// hides both check boxes.
void TestLaunch::launchIgnoresInterfaceValues()
{
    WindowFixture f(false);
    f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>()->setValue(7);
    f.control(Tag::MinimumSecondsText, f.page(1)).setStringValue(QStringLiteral("7 seconds"));
    f.control(Tag::DimAfterScriptCheckBox).setHidden(false);
    f.control(Tag::SpareCheckBox).setHidden(false);
    f.delegate->setMinimumCounter(0);

    f.delegate->applicationDidFinishLaunching();

    QCOMPARE(f.delegate->minimumCounter(), 1);
    QCOMPARE(f.control(Tag::MinimumSecondsText, f.page(1)).stringValue(), QStringLiteral("1 second"));
    QCOMPARE(f.control(Tag::MinimumStepper, f.page(1)).integerValue(), 7);
    QVERIFY(f.control(Tag::DimAfterScriptCheckBox).isHidden());
    QVERIFY(f.control(Tag::SpareCheckBox).isHidden());
}

void TestLaunch::minimumSecondsText_data()
{
    QTest::addColumn<qint64>("minimum");
    QTest::addColumn<qint64>("n");
    QTest::addColumn<QString>("text");

    QTest::newRow("one") << qint64(1) << qint64(1) << "1 second";
    QTest::newRow("zero") << qint64(0) << qint64(0) << "0 seconds";
    QTest::newRow("two") << qint64(2) << qint64(2) << "2 seconds";
    QTest::newRow("large") << qint64(3600) << qint64(3600) << "3600 seconds";
    // The text is filled from the stored minimum, not from the argument.
    QTest::newRow("filledFromMinimum") << qint64(5) << qint64(3) << "5 seconds";
    QTest::newRow("oneWinsOverMinimum") << qint64(5) << qint64(1) << "1 second";
}

void TestLaunch::minimumSecondsText()
{
    QFETCH(qint64, minimum);
    QFETCH(qint64, n);
    QFETCH(QString, text);

    WindowFixture f;
    f.delegate->setMinimumCounter(minimum);
    f.delegate->displayMinimumSeconds(n);
    QCOMPARE(f.control(Tag::MinimumSecondsText, f.page(1)).stringValue(), text);
}

void TestLaunch::closeWhileIdleEndsApplication()
{
    WindowFixture f;
    QSignalSpy terminate(f.delegate.get(), &AppDelegate::terminationRequested);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));

    QVERIFY(f.window->close());
    QCOMPARE(terminate.count(), 1);
    QVERIFY(!f.window->isVisible());
    QVERIFY(f.alerts->alerts.isEmpty());
}

void TestLaunch::closeRefusedWhileRunning_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("running") << "Stop";
    // Only the exact idle title allows closing.
    QTest::newRow("otherTitle") << "run";
}

void TestLaunch::closeRefusedWhileRunning()
{
    QFETCH(QString, title);

    WindowFixture f;
    QSignalSpy terminate(f.delegate.get(), &AppDelegate::terminationRequested);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.control(Tag::RunButton).setTitle(title);
    f.delegate->setCounterTimer(42);

    QVERIFY(!f.window->close());

    QVERIFY(f.window->isVisible());
    QCOMPARE(terminate.count(), 0);
    QCOMPARE(f.alerts->alerts.size(), 1);
    QCOMPARE(f.alerts->alerts.first().first, QStringLiteral("Reminder"));
    QCOMPARE(f.alerts->alerts.first().second,
             QStringLiteral("You can not close the application when timing task is running!"));
    QCOMPARE(f.runTitle(), title);
    QCOMPARE(f.delegate->counterTimer(), 42);
}

void TestLaunch::pageGuard_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<bool>("switches");

    const QStringList gestures = {"click", "wheel", "arrowKey", "ctrlTab"};
    for (const QString &gesture : gestures) {
        QTest::addRow("idle-%s", qPrintable(gesture)) << "Run" << gesture << true;
        QTest::addRow("running-%s", qPrintable(gesture)) << "Stop" << gesture << false;
    }
    // Only the exact running title refuses.
    QTest::newRow("otherTitle-click") << "stop" << "click" << true;
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

    // Seen pages: a refused switch must never show the other page at all.
    QList<int> shown;
    connect(tabs, &QTabWidget::currentChanged, this, [&shown](int index) { shown << index; });

    if (gesture == QLatin1String("click")) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    } else if (gesture == QLatin1String("wheel")) {
        const QPointF pos = bar->tabRect(0).center();
        QWheelEvent wheel(pos, bar->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
    } else if (gesture == QLatin1String("arrowKey")) {
        QTest::keyClick(bar, Qt::Key_Right);
    } else if (gesture == QLatin1String("ctrlTab")) {
        QTest::keyClick(f.control(Tag::NumberField, f.page(0)).as<QWidget>(), Qt::Key_Tab, Qt::ControlModifier);
    }

    QCOMPARE(tabs->currentIndex(), switches ? 1 : 0);
    QCOMPARE(shown.isEmpty(), !switches);
    QVERIFY(f.alerts->alerts.isEmpty());
}

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
