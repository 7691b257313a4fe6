// What a screen reader hears, read off the real AT-SPI bus as a client reads
// it (python3-pyatspi in a process of its own), against what each widget
// paints. Runs inside atspi-session.sh, which provides the bus and display.

#include "app/AboutWindowController.h"
#include "controls/Alerts.h"
#include "controls/MessageBoxAlertPresenter.h"
#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

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

// The client, answering "tree" (every object, each a JSON object) or
// "spoken" (what Morvane said unasked since the last time, in order).
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
        m_client.waitForFinished(2000);
    }

    // The event loop runs while the client asks, so that Morvane answers each
    // of the client's many calls as soon as it arrives.
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
    QJsonArray tree() { return ask("tree\n"); }
    QStringList spoken() { return QVariant(ask("spoken\n").toVariantList()).toStringList(); }

private:
    QProcess m_client;
};

bool hasState(const QJsonValue &node, const char *state)
{
    return node["states"].toArray().contains(QLatin1String(state));
}

// The object a client finds where the widget is painted, of the given role.
Node nodeAt(const QJsonArray &tree, const QWidget *widget, const QString &role)
{
    const QRect painted(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    for (const QJsonValue &node : tree) {
        const QJsonArray e = node["extents"].toArray();
        if (node["role"] == role && QRect(e[0].toInt(), e[1].toInt(), e[2].toInt(), e[3].toInt()) == painted)
            return node.toObject();
    }
    return Node {{"name", "nothing of role " + role + " where " + widget->objectName() + " is painted"}};
}

// The names of the objects below top, in the order a client walks them, of
// the given role (any if empty), with " (selected)" for those selected.
QStringList namesBelow(const QJsonArray &tree, const Node &top, const QString &role = {})
{
    QStringList names;
    for (const QJsonValue &node : tree)
        if (node["path"].toString().startsWith(top["path"].toString() + '/')
            && (role.isEmpty() || node["role"] == role))
            names << node["name"].toString() + (hasState(node, "selected") ? " (selected)" : "");
    return names;
}
} // namespace

class tst_Atspi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(qEnvironmentVariableIsSet("DISPLAY"), "run inside atspi-session.sh"); }

    // Each row shows something and lists what the window paints beside what
    // a client reads of it, in the same order. The spoken rows list what
    // Morvane says unasked beside what a listener hears, step by step: the
    // bridge tells only that a description changed, and the client reads it
    // as it handles the change.
    void readIsWhatIsShown_data()
    {
        QTest::addColumn<QString>("scene");
        for (const char *scene : {"unitAtLaunch", "unitAfterChange", "timeLeftThreeTicks", "aboutWindow",
                 "alertHeadingThenMessage", "tabsSelected", "postponeWhileRunning", "readinessLine",
                 "spokenTaskStartedAndStopped", "spokenTimeLeftMinutesAndLastTen"})
            addRow(scene, QString(scene));
    }
    void readIsWhatIsShown()
    {
        QFETCH(QString, scene);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        AtspiReader reader;
        reader.spoken();
        QStringList shown, read;
        const auto readLabel = [&](const QWidget *label, const QString &text, const char *role = "label") {
            shown << text;
            read << nodeAt(reader.tree(), label, role)["name"].toString();
        };
        const auto said = [&](const QString &text) {
            shown << text;
            read << reader.spoken();
        };
        auto *run = f.control(Tag::RunButton).as<QAbstractButton>();

        if (scene.startsWith("unit")) {
            auto *unit = f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>();
            if (scene == "unitAfterChange") {
                unit->setFocus();
                // The bridge hands a key to the registry's listeners first and
                // delivers it when they have answered: wait for it to land.
                QTest::keyClick(unit, Qt::Key_Down);
                QTRY_COMPARE(unit->currentText(), QStringLiteral("Seconds"));
            }
            // Its name and text, and the item a client finds selected in its list.
            const QJsonArray tree = reader.tree();
            const Node box = nodeAt(tree, unit, "combo box");
            shown << unit->accessibleName() + " | " + unit->currentText() << unit->currentText() + " (selected)";
            read << box["name"].toString() + " | " + box["text"].toString()
                 << namesBelow(tree, box, "list item").filter(" (selected)").join(',');
        } else if (scene == "timeLeftThreeTicks") {
            f.setCountdown("3", "Minutes");
            f.pressRun();
            for (int tick = 0; tick < 3; ++tick) {
                f.tick();
                auto *timeLeft = f.control(Tag::TimeLeftText).as<QLabel>();
                readLabel(timeLeft, timeLeft->text());
            }
        } else if (scene == "aboutWindow") {
            f.menuItem(Tag::AboutMenuItem)->trigger();
            AboutWindowController *about = f.delegate->vAboutWindowController();
            QVERIFY(QTest::qWaitForWindowExposed(about->window()));
            readLabel(about->window(), about->window()->windowTitle(), "dialog");
            readLabel(about->aTextField(), about->aTextField()->text());
            // Escape reaches the focus, at first the licence's link.
            QTest::keyClick(about->window(), Qt::Key_Escape);
            QTRY_VERIFY(!about->window()->isVisible());
        } else if (scene == "alertHeadingThenMessage") {
            MessageBoxAlertPresenter presenter(f.window.get());
            QTimer::singleShot(0, this, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box || !QTest::qWaitForWindowExposed(box))
                    return;
                shown << box->text() << box->informativeText();
                const QJsonArray tree = reader.tree();
                read = namesBelow(tree, nodeAt(tree, box, "alert"), "label");
                read.removeAll(QString());
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
                const QJsonArray tree = reader.tree();
                read << namesBelow(tree, nodeAt(tree, bar, "page tab list"));
            }
        } else if (scene == "postponeWhileRunning") {
            // Idle, running, stopped: a client finds the button showing while
            // the task runs, and only then.
            const QString name = QString(f.window->postponeButton()->text()).remove('&');
            for (int press = 0; press < 3; ++press) {
                if (press == 1)
                    f.setCountdown("5", "Minutes");
                if (press > 0)
                    f.pressRun();
                shown << (f.delegate->isTaskRunning() ? name : QString());
                QString found;
                for (const QJsonValue &node : reader.tree())
                    if (node["role"] == "push button" && node["name"] == name && hasState(node, "showing"))
                        found += name;
                read << found;
            }
        } else if (scene == "readinessLine") {
            // Said as it appears, and read as shown.
            f.actions->readiness = Readiness::Refused;
            f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->rowButton(0)->click();
            auto *line = f.control(Tag::ReadinessText).as<QLabel>();
            QVERIFY(line->isVisible());
            said(line->text());
            readLabel(line, line->text());
        } else if (scene == "spokenTaskStartedAndStopped") {
            f.setCountdown("5", "Minutes");
            f.pressRun();
            said(run->accessibleDescription());
            f.pressRun();
            said(run->accessibleDescription());
            QVERIFY(shown[0] != shown[1]);
        } else if (scene == "spokenTimeLeftMinutesAndLastTen") {
            f.setCountdown("70", "Seconds");
            f.pressRun();
            said(run->accessibleDescription());
            // Said once a minute and in each of the last ten seconds only.
            for (int left = 70; left > 0; --left) {
                f.tick();
                if (left == 60 || left <= 10)
                    shown << f.control(Tag::TimeLeftText).as<QLabel>()->text();
                read << reader.spoken();
            }
        }
        QVERIFY(!shown.isEmpty());
        QCOMPARE(read, shown);
    }
};

QTEST_MAIN(tst_Atspi)
#include "tst_Atspi.moc"
