// A task whose action meets a broken system: the bus, logind or the session
// bus gone, logind refusing or hung. Morvane's real system actions talk to
// private buses with a mocked logind; the alert is recorded. Whatever
// breaks, the tick comes back within the call time-out, the window is idle
// and keeps the user's choices, and the next task works once the fault is
// repaired.

#include "actions/LinuxSystemActions.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "tests/common/DbusTestBus.h"
#include "tests/support/RecordingAlertPresenter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace std::chrono_literals;

namespace {
constexpr auto CallTimeout = 1000ms;

enum class Fault {
    SystemBusMissing,
    LogindMissing,
    LogindRefusing,
    LogindNeverAnswering,
    SessionBusMissing,
};

// Morvane as main() builds it, except that alerts are recorded and calls
// time out after one second instead of five.
struct RealActionsWindow {
    RealActionsWindow()
    {
        auto recorder = std::make_unique<RecordingAlertPresenter>();
        alerts = recorder.get();
        delegate = std::make_unique<AppDelegate>(&window, std::make_unique<LinuxSystemActions>(CallTimeout),
                                                 std::move(recorder));
        delegate->applicationDidFinishLaunching();
    }

    Control control(qint64 tag, QObject *container = nullptr) const
    {
        return delegate->getGUIObject(tag, container);
    }

    // The user's choices: an action, one second on the countdown page, Run.
    void startOneSecondTask(int row)
    {
        control(Tag::ActionMatrix, delegate->aBox1()).as<RadioMatrix>()->rowButton(row)->click();
        control(Tag::NumberField, delegate->schedulePage(0)).setStringValue(QStringLiteral("1"));
        control(Tag::UnitComboBox, delegate->schedulePage(0)).as<QComboBox>()->setCurrentText(QStringLiteral("Seconds"));
        control(Tag::RunButton).as<QAbstractButton>()->click();
    }

    MainWindow window;
    std::unique_ptr<AppDelegate> delegate;
    RecordingAlertPresenter *alerts = nullptr;
};
}

class tst_BusFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void taskSurvivesFault_data();
    void taskSurvivesFault();
    void displaySleepWithoutSessionBusOrDisplay();

private:
    void breakSystem(Fault fault);
    void repairSystem();
    QStringList logindCalls();

    // Constructed before any D-Bus call, so nothing reaches the machine's
    // own buses.
    DbusTestBus m_buses;
    // A refusing or hung logind is replaced by a fresh one: a hung one
    // would still answer the queued call once it runs again.
    bool m_logindSpoiled = false;
};

void tst_BusFaults::initTestCase()
{
    // No X server either: the display must never be the developer's own.
    qunsetenv("DISPLAY");
    qunsetenv("XDG_CURRENT_DESKTOP");
}

void tst_BusFaults::init()
{
    repairSystem();
}

void tst_BusFaults::repairSystem()
{
    if (m_logindSpoiled) {
        m_buses.stopMock(DbusTestBus::LogindService);
        m_logindSpoiled = false;
    }
    if (!m_buses.isBusRunning(DbusTestBus::System))
        QVERIFY2(m_buses.startBus(DbusTestBus::System), qPrintable(m_buses.errorString()));
    if (!m_buses.isRunning(DbusTestBus::LogindService))
        QVERIFY2(m_buses.startLogind(), qPrintable(m_buses.errorString()));
    QVERIFY(m_buses.clearCalls(DbusTestBus::LogindService));
    QVERIFY(m_buses.clearCalls(DbusTestBus::LogindService, DbusTestBus::LogindSessionPath));
}

void tst_BusFaults::breakSystem(Fault fault)
{
    switch (fault) {
    case Fault::SystemBusMissing:
        m_buses.stopBus(DbusTestBus::System);
        break;
    case Fault::LogindMissing:
        m_buses.stopMock(DbusTestBus::LogindService);
        break;
    case Fault::LogindRefusing:
        m_logindSpoiled = true;
        for (const char *method : {"Reboot", "PowerOff", "Suspend"}) {
            QVERIFY2(m_buses.raiseError(DbusTestBus::LogindService, DbusTestBus::LogindPath,
                                        DbusTestBus::LogindManager, QLatin1String(method), QStringLiteral("b")),
                     qPrintable(m_buses.errorString()));
        }
        break;
    case Fault::LogindNeverAnswering:
        m_logindSpoiled = true;
        QVERIFY2(m_buses.pauseMock(DbusTestBus::LogindService), qPrintable(m_buses.errorString()));
        break;
    case Fault::SessionBusMissing:
        // No session bus was ever started; its address points nowhere.
        break;
    }
}

// Calls on the Manager and on the caller's own session, in that order.
QStringList tst_BusFaults::logindCalls()
{
    QStringList calls = m_buses.calls(DbusTestBus::LogindService);
    for (const QString &call : m_buses.calls(DbusTestBus::LogindService, DbusTestBus::LogindSessionPath))
        calls << QStringLiteral("session: ") + call;
    return calls;
}

void tst_BusFaults::taskSurvivesFault_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("row");
    // The "Error!" alert's message, empty when the action succeeds anyway.
    QTest::addColumn<QString>("errorCode");
    // What logind hears once the fault is repaired and the task run again.
    QTest::addColumn<QStringList>("repairedCalls");

    QTest::newRow("systemBusMissing") << Fault::SystemBusMissing << 0 << "-2" << QStringList{"Reboot(false)"};
    QTest::newRow("logindMissing") << Fault::LogindMissing << 1 << "-113" << QStringList{"PowerOff(false)"};
    QTest::newRow("logindRefusing") << Fault::LogindRefusing << 3 << "-13" << QStringList{"Suspend(false)"};
    QTest::newRow("logindNeverAnswering") << Fault::LogindNeverAnswering << 1 << "-110"
                                          << QStringList{"PowerOff(false)"};
    // Logging out needs no session manager: logind ends the session itself.
    QTest::newRow("sessionBusMissing") << Fault::SessionBusMissing << 2 << QString()
                                       << QStringList{"session: Terminate()"};
}

void tst_BusFaults::taskSurvivesFault()
{
    QFETCH(Fault, fault);
    QFETCH(int, row);
    QFETCH(QString, errorCode);
    QFETCH(QStringList, repairedCalls);

    RealActionsWindow app;
    app.startOneSecondTask(row);
    QCOMPARE(app.delegate->counterTimer(), 2);
    app.delegate->timerFired();
    QCOMPARE(app.control(Tag::TimeLeftText).stringValue(), QStringLiteral("1 Second"));

    breakSystem(fault);
    QElapsedTimer expiry;
    expiry.start();
    app.delegate->timerFired();
    const qint64 expiryMs = expiry.elapsed();

    // A hung logind costs the call time-out and no more; anything else
    // fails at once.
    const qint64 limitMs = fault == Fault::LogindNeverAnswering ? 1000 + 1500 : 1500;
    QVERIFY2(expiryMs < limitMs, qPrintable(QStringLiteral("the expiry took %1 ms").arg(expiryMs)));
    if (fault == Fault::LogindNeverAnswering)
        QVERIFY2(expiryMs >= 900, qPrintable(QStringLiteral("gave up after %1 ms").arg(expiryMs)));

    using Alert = QPair<QString, QString>;
    const QList<Alert> expectedAlerts = errorCode.isEmpty() ? QList<Alert>{}
                                                            : QList<Alert>{{QStringLiteral("Error!"), errorCode}};
    QCOMPARE(app.alerts->alerts, expectedAlerts);
    if (errorCode.isEmpty())
        QCOMPARE(logindCalls(), repairedCalls);

    // Idle, with every choice the user made still in the window.
    QCOMPARE(app.control(Tag::RunButton).title(), QStringLiteral("Run"));
    QCOMPARE(app.delegate->counterTimer(), 0);
    QVERIFY(app.control(Tag::ActionMatrix, app.delegate->aBox1()).isEnabled());
    QVERIFY(app.control(Tag::NumberField, app.delegate->schedulePage(0)).isEditable());
    QVERIFY(app.control(Tag::TimeLeftText).isHidden());
    QCOMPARE(app.control(Tag::ActionMatrix, app.delegate->aBox1()).selectedRow(), row);
    QCOMPARE(app.control(Tag::NumberField, app.delegate->schedulePage(0)).stringValue(), QStringLiteral("1"));
    QCOMPARE(app.control(Tag::UnitComboBox, app.delegate->schedulePage(0)).stringValue(), QStringLiteral("Seconds"));

    // The next task, with the system repaired, reaches logind: no broken
    // connection was kept from the failed one.
    repairSystem();
    app.alerts->alerts.clear();
    app.control(Tag::RunButton).as<QAbstractButton>()->click();
    QCOMPARE(app.control(Tag::RunButton).title(), QStringLiteral("Stop"));
    app.delegate->timerFired();
    app.delegate->timerFired();
    QCOMPARE(app.alerts->alerts, QList<Alert>{});
    QCOMPARE(logindCalls(), repairedCalls);
    QCOMPARE(app.control(Tag::RunButton).title(), QStringLiteral("Run"));
}

// No session bus and no X display: nothing can turn the display off, and
// the user is told so with the code 1.
void tst_BusFaults::displaySleepWithoutSessionBusOrDisplay()
{
    RealActionsWindow app;
    app.startOneSecondTask(4);
    QElapsedTimer expiry;
    expiry.start();
    app.delegate->timerFired();
    app.delegate->timerFired();
    QVERIFY2(expiry.elapsed() < 1500, qPrintable(QString::number(expiry.elapsed())));

    QCOMPARE(app.alerts->alerts, (QList<QPair<QString, QString>>{{QStringLiteral("Error!"), QStringLiteral("1")}}));
    QCOMPARE(app.control(Tag::RunButton).title(), QStringLiteral("Run"));
    QCOMPARE(app.control(Tag::ActionMatrix, app.delegate->aBox1()).selectedRow(), 4);
    QVERIFY(logindCalls().isEmpty());
}

QTEST_MAIN(tst_BusFaults)
#include "tst_BusFaults.moc"
