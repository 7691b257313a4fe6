// A task whose action meets a broken system, with the real system actions
// on private buses and a mocked logind. Whatever breaks, the tick returns
// within the call time-out, the window is idle with the user's choices, and
// the next task works once the fault is repaired. The errno each fault
// gives is checked in tests/actions; here it is the alert's text.

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
#include <QRadioButton>
#include <QTest>

using namespace std::chrono_literals;

namespace {
enum class Fault { SystemBusMissing, LogindMissing, LogindRefusing, LogindNeverAnswering, SessionBusMissing };
using Alerts = QList<QPair<QString, QString>>;
}

class tst_BusFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void taskSurvivesFault_data();
    void taskSurvivesFault();

private:
    void breakSystem(Fault fault);
    QStringList logindCalls();

    // Constructed before any D-Bus call, so nothing reaches the machine's
    // own buses.
    DbusTestBus m_buses;
    // A refusing or hung logind is replaced: a hung one would still answer
    // the queued call once it runs again.
    bool m_logindSpoiled = false;
};

void tst_BusFaults::init()
{
    qunsetenv("XDG_CURRENT_DESKTOP");
    if (m_logindSpoiled)
        m_buses.stopMock(DbusTestBus::LogindService);
    m_logindSpoiled = false;
    if (!m_buses.isBusRunning(DbusTestBus::System))
        QVERIFY2(m_buses.startBus(DbusTestBus::System), qPrintable(m_buses.errorString()));
    if (!m_buses.isRunning(DbusTestBus::LogindService))
        QVERIFY2(m_buses.startLogind(), qPrintable(m_buses.errorString()));
    QVERIFY(m_buses.clearCalls(DbusTestBus::LogindService));
    QVERIFY(m_buses.clearCalls(DbusTestBus::LogindService, DbusTestBus::LogindSessionPath));
}

void tst_BusFaults::breakSystem(Fault fault)
{
    m_logindSpoiled = fault == Fault::LogindRefusing || fault == Fault::LogindNeverAnswering;
    if (fault == Fault::SystemBusMissing)
        m_buses.stopBus(DbusTestBus::System);
    else if (fault == Fault::LogindMissing)
        m_buses.stopMock(DbusTestBus::LogindService);
    else if (fault == Fault::LogindNeverAnswering)
        QVERIFY2(m_buses.pauseMock(DbusTestBus::LogindService), qPrintable(m_buses.errorString()));
    else if (fault == Fault::LogindRefusing)
        QVERIFY2(m_buses.raiseError(DbusTestBus::LogindService, DbusTestBus::LogindPath, DbusTestBus::LogindManager,
                                    QStringLiteral("Suspend"), QStringLiteral("b")),
                 qPrintable(m_buses.errorString()));
    // SessionBusMissing: no session bus is ever started.
}

// Calls on the Manager, then on the caller's own session.
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
    // The "Error!" alert's text, empty when the action succeeds anyway.
    QTest::addColumn<QString>("errorCode");
    // What logind hears from the task once the fault is repaired.
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

    // Morvane as main() builds it, but with a one-second call time-out and
    // the alerts recorded.
    MainWindow window;
    auto recorder = std::make_unique<RecordingAlertPresenter>();
    RecordingAlertPresenter *alerts = recorder.get();
    AppDelegate delegate(&window, std::make_unique<LinuxSystemActions>(1000ms), std::move(recorder));
    delegate.applicationDidFinishLaunching();
    const auto control = [&](qint64 tag, QObject *container = nullptr) {
        return delegate.getGUIObject(tag, container);
    };
    const auto runTitle = [&] { return control(Tag::RunButton).title(); };

    control(Tag::ActionMatrix, delegate.aBox1()).as<RadioMatrix>()->rowButton(row)->click();
    control(Tag::NumberField, delegate.schedulePage(0)).setStringValue(QStringLiteral("1"));
    control(Tag::UnitComboBox, delegate.schedulePage(0)).as<QComboBox>()->setCurrentText(QStringLiteral("Seconds"));
    control(Tag::RunButton).as<QAbstractButton>()->click();
    delegate.timerFired();
    QCOMPARE(runTitle(), QStringLiteral("Stop"));

    breakSystem(fault);
    QElapsedTimer expiry;
    expiry.start();
    delegate.timerFired();
    const qint64 expiryMs = expiry.elapsed();

    // A hung logind costs the call time-out and no more; anything else
    // fails at once.
    const bool hangs = fault == Fault::LogindNeverAnswering;
    QVERIFY2(expiryMs < (hangs ? 2500 : 1500) && (!hangs || expiryMs >= 900), qPrintable(QString::number(expiryMs)));
    QCOMPARE(alerts->alerts, (errorCode.isEmpty() ? Alerts{} : Alerts{{QStringLiteral("Error!"), errorCode}}));

    QCOMPARE(runTitle(), QStringLiteral("Run"));
    QCOMPARE(delegate.counterTimer(), 0);
    QVERIFY(control(Tag::TimeLeftText).isHidden());
    QVERIFY(control(Tag::ActionMatrix, delegate.aBox1()).isEnabled());
    QCOMPARE(control(Tag::ActionMatrix, delegate.aBox1()).selectedRow(), row);
    QCOMPARE(control(Tag::NumberField, delegate.schedulePage(0)).stringValue(), QStringLiteral("1"));

    // Repaired, the next task reaches logind: no broken connection is kept.
    init();
    alerts->alerts.clear();
    control(Tag::RunButton).as<QAbstractButton>()->click();
    delegate.timerFired();
    delegate.timerFired();
    QCOMPARE(alerts->alerts, Alerts{});
    QCOMPARE(logindCalls(), repairedCalls);
    QCOMPARE(runTitle(), QStringLiteral("Run"));
}

QTEST_MAIN(tst_BusFaults)
#include "tst_BusFaults.moc"
