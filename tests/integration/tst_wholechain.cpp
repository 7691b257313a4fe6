// The whole chain as a user meets it: Morvane's real window and controller
// with the real system actions and one-second timer, against a private system
// bus with dbusmock's logind. Only the alerts are recorded instead of shown.

#include "actions/LinuxSystemActions.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "tests/common/PrivateBus.h"
#include "tests/support/RecordingAlertPresenter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

namespace {
const QString Logind = QStringLiteral("org.freedesktop.login1");
const QString LogindPath = QStringLiteral("/org/freedesktop/login1");
} // namespace

class tst_WholeChain : public QObject
{
    Q_OBJECT

    PrivateBus m_system {PrivateBus::System};

private slots:
    void initTestCase()
    {
        m_system.startMock(Logind, {"--template", "logind"});
        QVERIFY(m_system.waitForMocks());
    }

    void shutDownInOneSecond_data()
    {
        QTest::addColumn<QString>("error");
        // Each alert's title and the number on its first line.
        QTest::addColumn<QStringList>("alerts");

        QTest::newRow("accepted") << QString() << QStringList {};
        QTest::newRow("refused") << PrivateBus::raise("org.freedesktop.DBus.Error.AccessDenied")
                                 << QStringList {"Error! -13"};
    }

    void shutDownInOneSecond()
    {
        QFETCH(QString, error);
        QFETCH(QStringList, alerts);
        QVERIFY(m_system.addMethod(Logind, LogindPath, "org.freedesktop.login1.Manager", "PowerOff", "b", error));

        MainWindow window;
        auto recorder = std::make_unique<RecordingAlertPresenter>();
        const RecordingAlertPresenter &shown = *recorder;
        AppDelegate delegate(&window, std::make_unique<LinuxSystemActions>(), std::move(recorder));
        delegate.applicationDidFinishLaunching();
        const auto control = [&](qint64 tag, QObject *area = nullptr) { return delegate.getGUIObject(tag, area); };
        QWidget *countdown = delegate.tabview1()->widget(0);
        control(Tag::ActionMatrix, delegate.aBox1()).as<RadioMatrix>()->rowButton(1)->click();
        control(Tag::NumberField, countdown).setStringValue("1");
        control(Tag::UnitComboBox, countdown).as<QComboBox>()->setCurrentText("Seconds");
        control(Tag::RunButton).as<QAbstractButton>()->click();
        // Leaves out the readiness questions of launching and starting.
        m_system.takeCalls();

        QStringList calls;
        const QStringList once {LogindPath + " PowerOff(dbus.Boolean(False))"};
        QTRY_COMPARE_WITH_TIMEOUT(calls += m_system.takeCalls(), once, 4000);
        // The ticks after it are idle.
        QTest::qWait(1200);
        QCOMPARE(calls += m_system.takeCalls(), once);
        QStringList alerted;
        for (const auto &[title, message] : shown.alerts)
            alerted << title + ' ' + message.section('\n', 0, 0);
        QCOMPARE(alerted, alerts);
        QCOMPARE(control(Tag::RunButton).title(), "Run");
    }
};

QTEST_MAIN(tst_WholeChain)
#include "tst_wholechain.moc"
