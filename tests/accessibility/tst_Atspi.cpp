// What a screen reader hears, read off the real AT-SPI bus as a client reads
// it (python3-pyatspi in a process of its own), against what each widget
// paints. Runs inside atspi-session.sh, which provides the bus and display.

#include "app/AboutWindowController.h"
#include "controls/Alerts.h"
#include "controls/MessageBoxAlertPresenter.h"
#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

namespace {
using Node = QJsonObject;

// The client: one tree a request, each object as a JSON object.
class AtspiReader
{
public:
    AtspiReader()
    {
        m_client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_client.start(
            "/usr/bin/python3", {QStringLiteral(ATSPI_READER), QString::number(QCoreApplication::applicationPid())});
    }
    ~AtspiReader()
    {
        m_client.closeWriteChannel();
        if (!m_client.waitForFinished(2000))
            m_client.kill();
    }

    // The whole tree as the client finds it now.
    QList<Node> tree()
    {
        QList<Node> nodes;
        for (const QJsonValue &node : ask("tree\n"))
            nodes << node.toObject();
        return nodes;
    }

    // What Morvane said unasked since the last time, in order.
    QStringList spoken()
    {
        QStringList said;
        for (const QJsonValue &line : ask("spoken\n"))
            said << line.toString();
        return said;
    }

private:
    // The event loop runs while the client asks, so that Morvane can
    // answer: a loop of its own rather than polling, so that each of the
    // client's many calls is answered as soon as it arrives.
    QJsonArray ask(const char *request)
    {
        m_client.write(request);
        QEventLoop loop;
        QObject::connect(&m_client, &QProcess::readyRead, &loop, [&] {
            if (m_client.canReadLine())
                loop.quit();
        });
        QObject::connect(&m_client, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        if (!m_client.canReadLine())
            loop.exec();
        return m_client.canReadLine() ? QJsonDocument::fromJson(m_client.readLine()).array() : QJsonArray();
    }

    QProcess m_client;
};

bool hasState(const Node &node, const char *state)
{
    return node["states"].toArray().contains(QLatin1String(state));
}

// The object a client finds where the widget is painted, of the given role.
Node nodeAt(const QList<Node> &tree, const QWidget *widget, const QString &role)
{
    const QRect painted(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    for (const Node &node : tree) {
        const QJsonArray e = node["extents"].toArray();
        if (node["role"] == role && QRect(e[0].toInt(), e[1].toInt(), e[2].toInt(), e[3].toInt()) == painted)
            return node;
    }
    return Node {{"role", "nothing of role " + role + " where " + widget->objectName() + " is painted"}};
}

// The objects below the one at path, in the order a client walks them.
QList<Node> below(const QList<Node> &tree, const Node &top)
{
    QList<Node> nodes;
    const QString prefix = top["path"].toString() + '/';
    for (const Node &node : tree) {
        if (node["path"].toString().startsWith(prefix))
            nodes << node;
    }
    return nodes;
}

// What a client reads of a label or a box: its name, and its text when it
// has a text interface.
QString readOf(const Node &node)
{
    return node.contains("text") ? node["name"].toString() + " | " + node["text"].toString() : node["name"].toString();
}
} // namespace

class tst_Atspi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(qEnvironmentVariableIsSet("DISPLAY"), "run inside atspi-session.sh"); }

    // Each row shows something and lists what the window paints beside what
    // a client reads of it, in the same order.
    void readIsWhatIsShown_data()
    {
        QTest::addColumn<QString>("scene");
        for (const char *scene :
            {"unitAtLaunch", "unitAfterChange", "timeLeftThreeTicks", "aboutWindow", "alertHeadingThenMessage",
                "tabsSelected", "readinessLine", "minimumSecondsAfterChange", "postponeWhileRunning"})
            addRow(scene, QString(scene));
    }
    void readIsWhatIsShown()
    {
        QFETCH(QString, scene);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        AtspiReader reader;
        QStringList shown, read;

        auto *unit = f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>();
        const auto readUnit = [&] {
            const QList<Node> tree = reader.tree();
            const Node box = nodeAt(tree, unit, "combo box");
            shown << unit->accessibleName() + " | " + unit->currentText();
            read << readOf(box);
            // The item a client finds selected in the box's list.
            shown << unit->currentText();
            QStringList selected;
            for (const Node &item : below(tree, box))
                if (item["role"] == "list item" && hasState(item, "selected"))
                    selected << item["name"].toString();
            read << selected.join(',');
        };
        auto *timeLeft = f.control(Tag::TimeLeftText).as<QLabel>();
        const auto readLabel = [&](const QLabel *label) {
            shown << label->text();
            read << nodeAt(reader.tree(), label, "label")["name"].toString();
        };

        if (scene == "unitAtLaunch") {
            readUnit();
        } else if (scene == "unitAfterChange") {
            unit->setFocus();
            // The bridge hands a key to the registry's listeners first and
            // delivers it when they have answered: wait for it to land.
            QTest::keyClick(unit, Qt::Key_Down);
            QTRY_COMPARE(unit->currentText(), QStringLiteral("Seconds"));
            readUnit();
        } else if (scene == "timeLeftThreeTicks") {
            f.setCountdown("3", "Minutes");
            f.pressRun();
            for (int tick = 0; tick < 3; ++tick) {
                f.tick();
                readLabel(timeLeft);
            }
        } else if (scene == "aboutWindow") {
            f.menuItem(Tag::AboutMenuItem)->trigger();
            QWidget *about = f.delegate->vAboutWindowController()->window();
            QVERIFY(QTest::qWaitForWindowExposed(about));
            const QList<Node> tree = reader.tree();
            shown << about->windowTitle() << f.delegate->vAboutWindowController()->aTextField()->text();
            read << nodeAt(tree, about, "dialog")["name"].toString()
                 << nodeAt(tree, f.delegate->vAboutWindowController()->aTextField(), "label")["name"].toString();
            // Escape reaches the focus, at first the licence's link.
            QTest::keyClick(about, Qt::Key_Escape);
            QTRY_VERIFY(!about->isVisible());
        } else if (scene == "alertHeadingThenMessage") {
            MessageBoxAlertPresenter presenter(f.window.get());
            QTimer::singleShot(0, this, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box || !QTest::qWaitForWindowExposed(box))
                    return;
                shown << box->text() << box->informativeText();
                const QList<Node> tree = reader.tree();
                for (const Node &node : below(tree, nodeAt(tree, box, "alert")))
                    if (node["role"] == "label" && !node["name"].toString().isEmpty())
                        read << node["name"].toString();
                QTest::keyClick(box, Qt::Key_Escape);
            });
            // Returns once Escape has closed the alert.
            presenter.showAlert(AlertKind::Reminder, AlertText::illegalNumber());
        } else if (scene == "tabsSelected") {
            auto *bar = f.delegate->tabview1()->tabBar();
            for (int page : {0, 1}) {
                bar->setCurrentIndex(page);
                for (int i = 0; i < bar->count(); ++i)
                    shown << QString(bar->tabText(i)).remove('&') + (i == page ? " (selected)" : "");
                for (const Node &tab : below(reader.tree(), nodeAt(reader.tree(), bar, "page tab list")))
                    read << tab["name"].toString() + (hasState(tab, "selected") ? " (selected)" : "");
            }
        } else if (scene == "readinessLine") {
            f.actions->readiness = Readiness::Refused;
            f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->rowButton(0)->click();
            auto *line = f.control(Tag::ReadinessText).as<QLabel>();
            QVERIFY(line->isVisible());
            readLabel(line);
        } else if (scene == "minimumSecondsAfterChange") {
            f.delegate->tabview1()->setCurrentIndex(1);
            // One step up, as the arrow key and the up button make it.
            f.control(Tag::MinimumStepper, f.page(1)).as<QAbstractSpinBox>()->stepBy(1);
            auto *text = f.control(Tag::MinimumSecondsText, f.page(1)).as<QLabel>();
            QVERIFY2(text->text().startsWith("2 "), qPrintable(text->text()));
            readLabel(text);
        } else if (scene == "postponeWhileRunning") {
            // Idle, running, stopped: a client finds the button showing while the
            // task runs, and only then.
            QAbstractButton *postpone = f.window->postponeButton();
            const QString name = QString(postpone->text()).remove('&');
            const auto readButton = [&] {
                shown << (f.delegate->isTaskRunning() ? name : QString());
                QStringList found;
                for (const Node &node : reader.tree())
                    if (node["role"] == "push button" && node["name"] == name && hasState(node, "showing"))
                        found << node["name"].toString();
                read << found.join(',');
            };
            readButton();
            f.setCountdown("5", "Minutes");
            f.pressRun();
            readButton();
            f.pressRun();
            readButton();
        }
        QVERIFY(!shown.isEmpty());
        QCOMPARE(read, shown);
    }

    // What is said unasked: the start and the stop of a task, the time left
    // once a minute and each of the last ten seconds (never in between), and
    // the readiness line as it appears.
    void spokenUnasked_data()
    {
        QTest::addColumn<QString>("scene");
        for (const char *scene : {"taskStartedAndStopped", "timeLeftMinutesAndLastTen", "readinessLineAppears"})
            addRow(scene, QString(scene));
    }
    void spokenUnasked()
    {
        QFETCH(QString, scene);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        AtspiReader reader;
        reader.spoken();
        // Each step is heard before the next, as a listener hears it: the
        // bridge tells only that a description changed, and the client reads
        // it as it handles the change.
        QStringList expected, spoken;
        const auto listen = [&] { spoken << reader.spoken(); };
        const auto said = [&](const QWidget *widget) { expected << widget->accessibleDescription(); };
        auto *run = f.control(Tag::RunButton).as<QAbstractButton>();

        if (scene == "taskStartedAndStopped") {
            f.setCountdown("5", "Minutes");
            f.pressRun();
            said(run);
            listen();
            f.pressRun();
            said(run);
            listen();
            QCOMPARE(expected.size(), 2);
            QVERIFY(expected[0] != expected[1]);
        } else if (scene == "timeLeftMinutesAndLastTen") {
            f.setCountdown("70", "Seconds");
            f.pressRun();
            said(run);
            listen();
            auto *timeLeft = f.control(Tag::TimeLeftText).as<QLabel>();
            // 70 seconds left after the first tick, 1 after the seventieth.
            for (int tick = 0; tick < 70; ++tick) {
                f.tick();
                const int left = 70 - tick;
                if (left == 60 || (left >= 1 && left <= 10))
                    expected << timeLeft->text();
                listen();
            }
            QCOMPARE(expected.size(), 12);
        } else if (scene == "readinessLineAppears") {
            f.actions->readiness = Readiness::Refused;
            f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->rowButton(0)->click();
            expected << f.control(Tag::ReadinessText).stringValue();
            listen();
        }
        QCOMPARE(spoken.join(" / "), expected.join(" / "));
    }
};

QTEST_MAIN(tst_Atspi)
#include "tst_Atspi.moc"
