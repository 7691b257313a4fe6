// The whole chain as a user meets it: Morvane's real window, controller,
// alert and system actions with the real one-second timer, against a private
// system bus with a mocked logind. A task is set up and started with the
// mouse and keyboard, and what reaches logind is read back.

#include "app/Launcher.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "tests/common/DbusTestBus.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {
// Morvane as main() puts it together.
struct RealApplication {
    RealApplication() { morvane.launch(); }

    Control control(qint64 tag, QObject *container = nullptr) const
    {
        return delegate.getGUIObject(tag, container);
    }

    Launcher morvane;
    MainWindow &window = morvane.window();
    AppDelegate &delegate = morvane.delegate();
};

// Picks "Shut Down", types 1 Second and presses Run, as a user would.
void startOneSecondShutDown(RealApplication &app)
{
    auto *matrix = app.control(Tag::ActionMatrix, app.delegate.aBox1()).as<RadioMatrix>();
    QTest::mouseClick(matrix->rowButton(0), Qt::LeftButton);
    QTest::mouseClick(matrix->rowButton(1), Qt::LeftButton);
    QCOMPARE(matrix->selectedRow(), 1);

    QWidget *countdownPage = app.delegate.schedulePage(0);
    auto *number = app.control(Tag::NumberField, countdownPage).as<QLineEdit>();
    number->setFocus();
    number->selectAll();
    QTest::keyClicks(number, QStringLiteral("1"));
    auto *unit = app.control(Tag::UnitComboBox, countdownPage).as<QComboBox>();
    unit->lineEdit()->selectAll();
    QTest::keyClicks(unit->lineEdit(), QStringLiteral("Seconds"));
    QCOMPARE(unit->currentText(), QStringLiteral("Seconds"));

    QTest::mouseClick(app.control(Tag::RunButton).as<QAbstractButton>(), Qt::LeftButton);
}
}

class TestWholeChain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shutDownReachesLogind();
    void refusalShowsErrorAlert();

private:
    DbusTestBus m_buses;
};

void TestWholeChain::initTestCase()
{
    QVERIFY2(m_buses.startBus(DbusTestBus::System), qPrintable(m_buses.errorString()));
    QVERIFY2(m_buses.startLogind(), qPrintable(m_buses.errorString()));
}

void TestWholeChain::shutDownReachesLogind()
{
    QVERIFY(m_buses.clearCalls(DbusTestBus::LogindService));
    RealApplication app;
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));

    QElapsedTimer sincePress;
    startOneSecondShutDown(app);
    sincePress.start();
    QCOMPARE(app.control(Tag::RunButton).title(), QStringLiteral("Stop"));
    QCOMPARE(app.delegate.counterTimer(), 2);

    QTRY_COMPARE_WITH_TIMEOUT(m_buses.calls(DbusTestBus::LogindService), QStringList{"PowerOff(false)"}, 5000);
    const qint64 firedAfter = sincePress.elapsed();
    qInfo("PowerOff reached logind %lld ms after Run", firedAfter);
    // One second of task plus up to one second to the next tick of the
    // launch-phased timer; the bus round trip is generous on top.
    QVERIFY2(firedAfter >= 900 && firedAfter < 3500, qPrintable(QString::number(firedAfter)));

    QCOMPARE(app.control(Tag::RunButton).title(), QStringLiteral("Run"));
    QCOMPARE(app.delegate.counterTimer(), 0);
    QVERIFY(app.control(Tag::TimeLeftText).isHidden());

    // Fired once: later ticks are idle ticks.
    QTest::qWait(1200);
    QCOMPARE(m_buses.calls(DbusTestBus::LogindService), QStringList{"PowerOff(false)"});
}

void TestWholeChain::refusalShowsErrorAlert()
{
    QVERIFY(m_buses.raiseError(DbusTestBus::LogindService, DbusTestBus::LogindPath, DbusTestBus::LogindManager,
                               QStringLiteral("PowerOff"), QStringLiteral("b")));
    RealApplication app;
    QVERIFY(QTest::qWaitForWindowExposed(&app.window));

    // Reads the alert the user would see, then presses its one button.
    QString title;
    QString text;
    QStringList buttons;
    bool idleWhileOpen = false;
    QTimer watcher;
    watcher.setInterval(50);
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton *button : box->buttons())
            buttons << button->text();
        idleWhileOpen = app.control(Tag::RunButton).title() == QLatin1String("Run");
        box->buttons().constFirst()->click();
    });
    watcher.start();

    startOneSecondShutDown(app);
    QTRY_VERIFY_WITH_TIMEOUT(!title.isEmpty(), 5000);

    QCOMPARE(title, QStringLiteral("Error!"));
    QCOMPARE(text, QStringLiteral("-13"));
    QCOMPARE(buttons, QStringList{"Ok"});
    QVERIFY(idleWhileOpen);
    QCOMPARE(app.delegate.counterTimer(), 0);
    QVERIFY(app.control(Tag::ActionMatrix, app.delegate.aBox1()).isEnabled());
}

QTEST_MAIN(TestWholeChain)
#include "tst_wholechain.moc"
