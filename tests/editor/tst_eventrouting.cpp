// Which handler a control event reaches: by the sender's class first, in a
// fixed order with subclasses counting as their base, then by its tag.

#include "editor/EventRouter.h"
#include "tests/editor/EditorTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using namespace EditorTest;

Q_DECLARE_METATYPE(EventRoute)

namespace {
// A sender of the named kind carrying the tag; the holder owns whatever
// the sender needs around it (a toolbar's button lives in the toolbar).
QObject *makeSender(const QString &kind, qint64 tag, std::unique_ptr<QObject> &holder)
{
    QObject *sender = nullptr;
    if (kind == QLatin1String("matrix")) {
        sender = new RadioMatrix;
    } else if (kind == QLatin1String("menuItem")) {
        sender = new QAction;
    } else if (kind == QLatin1String("pushButton")) {
        sender = new QPushButton;
    } else if (kind == QLatin1String("checkBox")) {
        sender = new QCheckBox;
    } else if (kind == QLatin1String("radioButton")) {
        sender = new QRadioButton;
    } else if (kind == QLatin1String("toolButton")) {
        sender = new QToolButton;
    } else if (kind == QLatin1String("toolbarButton")) {
        auto *toolbar = new QToolBar;
        auto *button = new QToolButton(toolbar);
        button->setProperty(Tag::Property, tag);
        holder.reset(toolbar);
        return button;
    } else if (kind == QLatin1String("tabBar")) {
        sender = new QTabBar;
    } else if (kind == QLatin1String("tableView")) {
        sender = new QTableView;
    } else if (kind == QLatin1String("comboBox")) {
        sender = new QComboBox;
    } else if (kind == QLatin1String("fontComboBox")) {
        sender = new QFontComboBox;
    } else if (kind == QLatin1String("dateTimeEdit")) {
        sender = new QDateTimeEdit;
    } else if (kind == QLatin1String("dateEdit")) {
        sender = new QDateEdit;
    } else if (kind == QLatin1String("spinBox")) {
        sender = new QSpinBox;
    } else if (kind == QLatin1String("doubleSpinBox")) {
        sender = new QDoubleSpinBox;
    } else if (kind == QLatin1String("label")) {
        sender = new QLabel;
    } else if (kind == QLatin1String("lineEdit")) {
        sender = new QLineEdit;
    }
    if (sender)
        sender->setProperty(Tag::Property, tag);
    holder.reset(sender);
    return sender;
}

void addSenderRows()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("tag");
    QTest::addColumn<EventRoute>("route");

    const auto row = [](const char *name, const char *kind, qint64 tag, EventRoute route) {
        QTest::newRow(name) << QString::fromLatin1(kind) << tag << route;
    };
    row("matrixAction", "matrix", 32400, EventRoute::ActionSelection);
    row("matrixOtherTag", "matrix", 32401, EventRoute::Ignore);
    row("matrixWithRunTag", "matrix", 31031, EventRoute::Ignore);
    row("menuQuit", "menuItem", 32502, EventRoute::Quit);
    row("menuHelp", "menuItem", 32501, EventRoute::Help);
    row("menuAbout", "menuItem", 32500, EventRoute::About);
    row("menuOtherTag", "menuItem", 32503, EventRoute::Ignore);
    row("menuWithRunTag", "menuItem", 31031, EventRoute::Ignore);
    row("buttonRun", "pushButton", 31031, EventRoute::Run);
    row("buttonNow", "pushButton", 31032, EventRoute::Now);
    row("buttonChooseScript", "pushButton", 31033, EventRoute::ChooseScript);
    row("buttonHelp", "pushButton", 31002, EventRoute::Help);
    row("buttonAboutClose", "pushButton", 31018, EventRoute::Ignore);
    row("buttonWithQuitTag", "pushButton", 32502, EventRoute::Ignore);
    row("buttonWithMatrixTag", "pushButton", 32400, EventRoute::Ignore);
    row("dimCheckBox", "checkBox", 31034, EventRoute::Ignore);
    row("spareCheckBox", "checkBox", 31035, EventRoute::Ignore);
    row("checkBoxWithRunTag", "checkBox", 31031, EventRoute::Run);
    row("radioButtonWithNowTag", "radioButton", 31032, EventRoute::Now);
    row("looseToolButtonRun", "toolButton", 31031, EventRoute::Run);
    row("toolbarItemWithRunTag", "toolbarButton", 31031, EventRoute::Ignore);
    row("segmentedWithRunTag", "tabBar", 31031, EventRoute::Ignore);
    row("tableWithRunTag", "tableView", 31031, EventRoute::Ignore);
    row("unitComboBox", "comboBox", 40100, EventRoute::Ignore);
    row("comboBoxWithPickerTag", "comboBox", 40200, EventRoute::Ignore);
    row("fontComboBoxWithMatrixTag", "fontComboBox", 32400, EventRoute::Ignore);
    row("pickerA", "dateTimeEdit", 40200, EventRoute::DateMirror);
    row("pickerB", "dateTimeEdit", 40201, EventRoute::DateMirror);
    row("pickerC", "dateTimeEdit", 40202, EventRoute::DateMirror);
    row("pickerBelowRange", "dateTimeEdit", 40199, EventRoute::Ignore);
    row("pickerAboveRange", "dateTimeEdit", 40203, EventRoute::Ignore);
    // A date picker is a spin box in Qt, but the picker row decides first.
    row("pickerWithStepperTag", "dateTimeEdit", 32600, EventRoute::Ignore);
    row("dateEditPickerB", "dateEdit", 40201, EventRoute::DateMirror);
    row("stepper", "spinBox", 32600, EventRoute::MinimumChange);
    row("stepperOtherTag", "spinBox", 32601, EventRoute::Ignore);
    row("doubleStepper", "doubleSpinBox", 32600, EventRoute::MinimumChange);
    row("labelWithRunTag", "label", 31031, EventRoute::Ignore);
    row("numberField", "lineEdit", 35000, EventRoute::Ignore);
}
} // namespace

class TestEventRouting : public QObject
{
    Q_OBJECT

private slots:
    void route_data();
    void route();
    void windowSenders_data();
    void windowSenders();
    void noSender();
    void quitGuard_data();
    void quitGuard();
    void aboutMenuItem();
};

void TestEventRouting::route_data()
{
    addSenderRows();
}

void TestEventRouting::route()
{
    QFETCH(QString, kind);
    QFETCH(qint64, tag);
    QFETCH(EventRoute, route);

    std::unique_ptr<QObject> holder;
    QObject *sender = makeSender(kind, tag, holder);
    QVERIFY(sender);
    QCOMPARE(EventRouter::route(sender), route);
}

// The window's own controls and menu items, as loaded from the interface
// file, reach the handler of their row.
void TestEventRouting::windowSenders_data()
{
    QTest::addColumn<qint64>("tag");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("menuItem");
    QTest::addColumn<EventRoute>("route");

    QTest::newRow("actionMatrix") << Tag::ActionMatrix << -1 << false << EventRoute::ActionSelection;
    QTest::newRow("quitMenuItem") << Tag::QuitMenuItem << -1 << true << EventRoute::Quit;
    QTest::newRow("helpMenuItem") << Tag::HelpMenuItem << -1 << true << EventRoute::Help;
    QTest::newRow("aboutMenuItem") << Tag::AboutMenuItem << -1 << true << EventRoute::About;
    QTest::newRow("runButton") << Tag::RunButton << -1 << false << EventRoute::Run;
    QTest::newRow("nowButton") << Tag::NowButton << 1 << false << EventRoute::Now;
    QTest::newRow("chooseScriptButton") << Tag::ChooseScriptButton << -1 << false << EventRoute::ChooseScript;
    QTest::newRow("helpButton") << Tag::HelpButton << -1 << false << EventRoute::Help;
    QTest::newRow("dimCheckBox") << Tag::DimAfterScriptCheckBox << -1 << false << EventRoute::Ignore;
    QTest::newRow("spareCheckBox") << Tag::SpareCheckBox << -1 << false << EventRoute::Ignore;
    QTest::newRow("unitComboBox") << Tag::UnitComboBox << 0 << false << EventRoute::Ignore;
    QTest::newRow("pickerA") << Tag::DatePickerA << 1 << false << EventRoute::DateMirror;
    QTest::newRow("pickerB") << Tag::DatePickerB << 1 << false << EventRoute::DateMirror;
    QTest::newRow("pickerC") << Tag::DatePickerC << 1 << false << EventRoute::DateMirror;
    QTest::newRow("stepper") << Tag::MinimumStepper << 1 << false << EventRoute::MinimumChange;
    QTest::newRow("numberField") << Tag::NumberField << 0 << false << EventRoute::Ignore;
}

void TestEventRouting::windowSenders()
{
    QFETCH(qint64, tag);
    QFETCH(int, page);
    QFETCH(bool, menuItem);
    QFETCH(EventRoute, route);

    WindowFixture f;
    QObject *sender = nullptr;
    if (menuItem) {
        for (QAction *item : f.window->menuItems()) {
            if (item->property(Tag::Property).toLongLong() == tag)
                sender = item;
        }
    } else {
        sender = f.control(tag, page < 0 ? nullptr : f.page(page)).object();
    }
    QVERIFY(sender);
    QCOMPARE(EventRouter::route(sender), route);
}

void TestEventRouting::noSender()
{
    QCOMPARE(EventRouter::route(nullptr), EventRoute::Ignore);
    WindowFixture f;
    const QStringList before = snapshot(f);
    f.delegate->promptEvent(nullptr);
    QCOMPARE(snapshot(f), before);
}

void TestEventRouting::quitGuard_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("quits");

    QTest::newRow("idle") << "Run" << true;
    QTest::newRow("running") << "Stop" << false;
    // Quitting needs the exact idle title.
    QTest::newRow("otherTitle") << "Pause" << false;
}

void TestEventRouting::quitGuard()
{
    QFETCH(QString, title);
    QFETCH(bool, quits);

    WindowFixture f;
    f.control(Tag::RunButton).setTitle(title);
    f.delegate->setCounterTimer(quits ? 0 : 42);
    QSignalSpy terminations(f.delegate.get(), &AppDelegate::terminationRequested);
    QAction *quit = nullptr;
    for (QAction *item : f.window->menuItems()) {
        if (item->property(Tag::Property).toLongLong() == Tag::QuitMenuItem)
            quit = item;
    }
    QVERIFY(quit);

    quit->trigger();

    QCOMPARE(terminations.count(), quits ? 1 : 0);
    if (quits) {
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

void TestEventRouting::aboutMenuItem()
{
    WindowFixture f;
    QAction *about = nullptr;
    for (QAction *item : f.window->menuItems()) {
        if (item->property(Tag::Property).toLongLong() == Tag::AboutMenuItem)
            about = item;
    }
    QVERIFY(about);
    QVERIFY(!f.delegate->vAboutWindowController());

    about->trigger();

    QVERIFY(f.delegate->vAboutWindowController());
    QVERIFY(f.alerts->alerts.isEmpty());
}

QTEST_MAIN(TestEventRouting)
#include "tst_eventrouting.moc"
