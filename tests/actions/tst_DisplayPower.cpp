// How Morvane chooses a way to turn the display off and what it says when
// none reports the display off, against a table of what each way answers.

#include "actions/DisplayPower.h"

#include <QMap>
#include <QTest>

namespace {

// Names as the rows write them, in the order of the enums.
const QStringList Ways {"Mutter", "KWin", "Wlr", "Dpms", "PowerDevil"};
const QStringList Answers {"Absent", "Unsupported", "NotConfirmed", "Done"};

// Answers each way as the row says ("Mutter=Unsupported Dpms=Done"), every
// other way Absent, and records "ask Way" and "off Way".
class TableWays : public DisplayWays
{
public:
    TableWays(DisplayServer server, const QString &answers)
        : m_server(server)
    {
        for (const QString &answer : answers.split(' ', Qt::SkipEmptyParts))
            m_answers[DisplayWay(Ways.indexOf(answer.section('=', 0, 0)))]
                = WayFound(Answers.indexOf(answer.section('=', 1)));
    }

    DisplayServer server() const override { return m_server; }
    WayFound ask(DisplayWay way) override { return answer("ask ", way); }
    WayFound turnOff(DisplayWay way) override { return answer("off ", way); }

    QStringList asked;

private:
    WayFound answer(const QString &what, DisplayWay way)
    {
        asked << what + Ways.value(int(way));
        return m_answers.value(way, WayFound::Absent);
    }

    DisplayServer m_server;
    QMap<DisplayWay, WayFound> m_answers;
};

} // namespace

class tst_DisplayPower : public QObject
{
    Q_OBJECT

private slots:
    void turnOff_data()
    {
        QTest::addColumn<DisplayServer>("server");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("asked");
        // None when the display was seen off (status 0), else status 1.
        QTest::addColumn<QString>("failure");

        const auto wayland = DisplayServer::Wayland;
        const auto x11 = DisplayServer::X11;
        const QStringList waylandWays {"off Mutter", "off KWin", "off Wlr"};
        const QStringList x11Ways {"off Mutter", "off Dpms"};
        const QStringList powerDevil {"ask PowerDevil", "off PowerDevil"};
        QTest::newRow("mutterFirst") << wayland << "Mutter=Done KWin=Done" << QStringList {"off Mutter"} << QString();
        QTest::newRow("kwinOff") << wayland << "KWin=Done PowerDevil=Done" << QStringList {"off Mutter", "off KWin"}
                                 << QString();
        QTest::newRow("wlrootsOff") << wayland << "Wlr=Done" << waylandWays << QString();
        QTest::newRow("dpmsBeforePowerDevil") << x11 << "Dpms=Done PowerDevil=Done" << x11Ways << QString();
        QTest::newRow("mutterOnX11WithoutDpms")
            << x11 << "Mutter=Unsupported Dpms=Unsupported" << x11Ways + QStringList {"ask PowerDevil"}
            << "Mutter is running, but this X server has no display power control.";
        QTest::newRow("kwinOutputsUnsupported")
            << wayland << "KWin=Unsupported PowerDevil=Done" << waylandWays + powerDevil
            << "KWin is running, but it cannot turn its outputs off.";
        // A compositor that took the request and left the output on: the
        // shortcut, which ends at the same compositor, is not sent.
        QTest::newRow("wlrootsNotConfirmed")
            << wayland << "Wlr=NotConfirmed PowerDevil=Done" << waylandWays
            << "A wlroots compositor is running, but it did not report its outputs off.";
        QTest::newRow("dpmsNotConfirmed") << x11 << "Dpms=NotConfirmed PowerDevil=Done" << x11Ways
                                          << "The X server has display power control, but it did not report the "
                                             "display off.";
        QTest::newRow("powerDevilOnBareCompositor")
            << wayland << "PowerDevil=Done" << waylandWays + powerDevil
            << "PowerDevil is running, but this Wayland compositor has no display power control.";
        QTest::newRow("nothingOnWayland")
            << wayland << "" << waylandWays + QStringList {"ask PowerDevil"}
            << "There is no way to turn the display off here: this Wayland compositor has no display power control.";
        QTest::newRow("noDisplayServer")
            << DisplayServer::NoServer << "" << QStringList {"off Mutter", "ask PowerDevil"}
            << "There is no way to turn the display off here: there is no X server or Wayland compositor to ask.";
    }

    void turnOff()
    {
        QFETCH(DisplayServer, server);
        QFETCH(QString, answers);
        QFETCH(QStringList, asked);
        QFETCH(QString, failure);

        TableWays ways(server, answers);
        DisplayPower power(ways);
        QCOMPARE(power.turnOff(), failure.isEmpty() ? 0 : 1);
        QCOMPARE(ways.asked, asked);
        QCOMPARE(power.failure(), failure);
    }

    void canTurnOff_data()
    {
        QTest::addColumn<DisplayServer>("server");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<bool>("can");

        // On X11 Mutter too ends at the X server's DPMS.
        QTest::newRow("mutterOnX11WithoutDpms") << DisplayServer::X11 << "Mutter=Done Dpms=Unsupported" << false;
        QTest::newRow("wlroots") << DisplayServer::Wayland << "KWin=Unsupported Wlr=Done" << true;
        QTest::newRow("kwinUnsupported") << DisplayServer::Wayland << "KWin=Unsupported" << false;
        // Its shortcut reports nothing, so PowerDevil alone is no way.
        QTest::newRow("powerDevilAlone") << DisplayServer::Wayland << "PowerDevil=Done" << false;
    }

    void canTurnOff()
    {
        QFETCH(DisplayServer, server);
        QFETCH(QString, answers);
        QFETCH(bool, can);

        TableWays ways(server, answers);
        QCOMPARE(DisplayPower(ways).canTurnOff(), can);
    }
};

QTEST_GUILESS_MAIN(tst_DisplayPower)
#include "tst_DisplayPower.moc"
