// Turning the display off against private session buses with mocked GNOME
// and KDE services, and a private X server without DPMS.

#include "actions/LinuxSystemActions.h"
#include "tests/common/DbusTestBus.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cerrno>
#include <memory>

using namespace std::chrono_literals;

namespace {

const QString Mutter = QStringLiteral("org.gnome.Mutter.DisplayConfig");
const QString MutterPath = QStringLiteral("/org/gnome/Mutter/DisplayConfig");
const QString KGlobalAccel = QStringLiteral("org.kde.kglobalaccel");
const QString PowerDevilPath = QStringLiteral("/component/org_kde_powerdevil");
const QString Component = QStringLiteral("org.kde.kglobalaccel.Component");
const QString TurnedOff = QStringLiteral("invokeShortcut('Turn Off Screen')");

// How GNOME's display service appears in a case.
enum class Gnome { Absent, Supported, Unsupported, Refuses, Hangs };
// How KDE's global shortcut service appears in a case.
enum class Kde { Absent, PowerDevil, WithoutPowerDevil, Refuses };

} // namespace

class tst_DisplayPower : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void dimDisplayNow_data();
    void dimDisplayNow();

private:
    void runGnome(Gnome gnome);
    void runKde(Kde kde);

    DbusTestBus m_buses;
    std::unique_ptr<QProcess> m_xvfb;
    QByteArray m_xvfbDisplay;
};

// A private X server without DPMS, as every virtual X server is: no case may
// turn off the screen of the machine the tests run on.
void tst_DisplayPower::initTestCase()
{
    qunsetenv("DISPLAY");
    QVERIFY2(m_buses.startBus(DbusTestBus::Session), qPrintable(m_buses.errorString()));

    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        return;
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setStandardErrorFile(QProcess::nullDevice());
    // -displayfd 1: Xvfb picks a free display and writes its number on
    // standard output once it accepts connections.
    m_xvfb->start(xvfb,
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
            QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("320x240x24")});
    QByteArray number;
    for (int i = 0; i < 100 && !number.contains('\n') && m_xvfb->state() != QProcess::NotRunning; ++i) {
        m_xvfb->waitForReadyRead(100);
        number += m_xvfb->readAllStandardOutput();
    }
    QVERIFY2(number.contains('\n'), "Xvfb did not start");
    m_xvfbDisplay = ':' + number.trimmed();
}

void tst_DisplayPower::cleanupTestCase()
{
    if (m_xvfb) {
        m_xvfb->terminate();
        m_xvfb->waitForFinished();
    }
}

void tst_DisplayPower::cleanup()
{
    m_buses.stopMock(Mutter);
    m_buses.stopMock(KGlobalAccel);
}

void tst_DisplayPower::runGnome(Gnome gnome)
{
    if (gnome == Gnome::Absent)
        return;
    QVERIFY2(m_buses.startMock(DbusTestBus::Session, Mutter, MutterPath, Mutter), qPrintable(m_buses.errorString()));
    QVERIFY(m_buses.addProperty(
        Mutter, MutterPath, Mutter, QStringLiteral("PowerSaveMode"), gnome == Gnome::Unsupported ? -1 : 0));
    if (gnome == Gnome::Refuses)
        QVERIFY(m_buses.raiseError(Mutter, MutterPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Set"), QStringLiteral("ssv")));
    if (gnome == Gnome::Hangs)
        QVERIFY(m_buses.pauseMock(Mutter));
}

void tst_DisplayPower::runKde(Kde kde)
{
    if (kde == Kde::Absent)
        return;
    // Without PowerDevil, kglobalaccel has other components but not its.
    const QString path = kde == Kde::WithoutPowerDevil ? QStringLiteral("/component/kwin") : PowerDevilPath;
    QVERIFY2(m_buses.startMock(DbusTestBus::Session, KGlobalAccel, path, Component), qPrintable(m_buses.errorString()));
    if (kde == Kde::Refuses)
        QVERIFY(
            m_buses.raiseError(KGlobalAccel, path, Component, QStringLiteral("invokeShortcut"), QStringLiteral("s")));
    else
        QVERIFY(
            m_buses.addMethod(KGlobalAccel, path, Component, QStringLiteral("invokeShortcut"), QStringLiteral("s")));
}

// powerSaveMode: what the GNOME mock holds afterwards (null: not checked);
// kdeCalls: what the KDE mock was asked.
void tst_DisplayPower::dimDisplayNow_data()
{
    QTest::addColumn<Gnome>("gnome");
    QTest::addColumn<Kde>("kde");
    QTest::addColumn<bool>("sessionBus");
    QTest::addColumn<bool>("xDisplay");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("powerSaveMode");
    QTest::addColumn<QStringList>("kdeCalls");

    const auto row = [](const char *name, Gnome gnome, Kde kde, bool sessionBus, bool xDisplay, int status,
                         const char *powerSaveMode, const QStringList &kdeCalls) {
        QTest::newRow(name) << gnome << kde << sessionBus << xDisplay << status << QString::fromLatin1(powerSaveMode)
                            << kdeCalls;
    };
    const QStringList turnedOff {TurnedOff};
    row("gnome", Gnome::Supported, Kde::Absent, true, true, 0, "int32 3", {});
    row("gnomeBeforeKde", Gnome::Supported, Kde::PowerDevil, true, true, 0, "int32 3", {});
    row("kde", Gnome::Absent, Kde::PowerDevil, true, true, 0, nullptr, turnedOff);
    row("gnomeUnsupportedThenKde", Gnome::Unsupported, Kde::PowerDevil, true, true, 0, "int32 -1", turnedOff);
    row("gnomeRefuses", Gnome::Refuses, Kde::PowerDevil, true, true, -EACCES, "int32 0", {});
    row("gnomeHangs", Gnome::Hangs, Kde::PowerDevil, true, true, -ETIMEDOUT, nullptr, {});
    row("kdeRefuses", Gnome::Absent, Kde::Refuses, true, true, -EACCES, nullptr, turnedOff);
    row("kdeWithoutPowerDevil", Gnome::Absent, Kde::WithoutPowerDevil, true, true, 1, nullptr, {});
    row("xvfbWithoutDpms", Gnome::Absent, Kde::Absent, true, true, 1, nullptr, {});
    row("noSessionBus", Gnome::Absent, Kde::Absent, false, true, 1, nullptr, {});
    row("nothingAtAll", Gnome::Absent, Kde::Absent, false, false, 1, nullptr, {});
}

void tst_DisplayPower::dimDisplayNow()
{
    QFETCH(Gnome, gnome);
    QFETCH(Kde, kde);
    QFETCH(bool, sessionBus);
    QFETCH(bool, xDisplay);
    QFETCH(int, status);
    QFETCH(QString, powerSaveMode);
    QFETCH(QStringList, kdeCalls);

    if (xDisplay && m_xvfbDisplay.isEmpty())
        QSKIP("Xvfb is not installed");
    runGnome(gnome);
    runKde(kde);

    if (xDisplay)
        qputenv("DISPLAY", m_xvfbDisplay);
    else
        qunsetenv("DISPLAY");
    const QByteArray sessionAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!sessionBus)
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/morvane-test-session");

    LinuxSystemActions actions(500ms);
    const int result = actions.dimDisplayNow();
    qputenv("DBUS_SESSION_BUS_ADDRESS", sessionAddress);
    qunsetenv("DISPLAY");
    QCOMPARE(result, status);

    if (gnome == Gnome::Hangs)
        QVERIFY(m_buses.resumeMock(Mutter));
    if (!powerSaveMode.isNull())
        QCOMPARE(m_buses.property(Mutter, MutterPath, Mutter, QStringLiteral("PowerSaveMode")), powerSaveMode);
    if (kde != Kde::Absent)
        QCOMPARE(m_buses.calls(KGlobalAccel), kdeCalls);
}

QTEST_GUILESS_MAIN(tst_DisplayPower)
#include "tst_DisplayPower.moc"
