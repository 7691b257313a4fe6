// Which handler a control event reaches: by the sender's class first, in a
// fixed order with subclasses counting as their base, then by its tag.

#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "editor/EventRouter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(EventRoute)

namespace {
// A sender of the named kind carrying the tag; the holder owns whatever
// the sender needs around it (a toolbar's button lives in the toolbar).
QObject *makeSender(const QString &kind, qint64 tag, std::unique_ptr<QObject> &holder)
{
    static const QMap<QString, std::function<QObject *()>> kinds = {
        {"matrix", [] { return new RadioMatrix; }},
        {"menuItem", [] { return new QAction; }},
        {"pushButton", [] { return new QPushButton; }},
        {"checkBox", [] { return new QCheckBox; }},
        {"radioButton", [] { return new QRadioButton; }},
        {"toolButton", [] { return new QToolButton; }},
        {"tabBar", [] { return new QTabBar; }},
        {"tableView", [] { return new QTableView; }},
        {"comboBox", [] { return new QComboBox; }},
        {"fontComboBox", [] { return new QFontComboBox; }},
        {"dateTimeEdit", [] { return new QDateTimeEdit; }},
        {"dateEdit", [] { return new QDateEdit; }},
        {"spinBox", [] { return new QSpinBox; }},
        {"doubleSpinBox", [] { return new QDoubleSpinBox; }},
        {"label", [] { return new QLabel; }},
        {"lineEdit", [] { return new QLineEdit; }},
    };
    if (kind == QLatin1String("none"))
        return nullptr;
    QObject *sender = nullptr;
    if (kind == QLatin1String("toolbarButton")) {
        holder = std::make_unique<QToolBar>();
        sender = new QToolButton(static_cast<QToolBar *>(holder.get()));
    } else {
        holder.reset(kinds.value(kind)());
        sender = holder.get();
    }
    sender->setProperty(Tag::Property, tag);
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
    row("menuQuit", "menuItem", 32502, EventRoute::Quit);
    row("menuHelp", "menuItem", 32501, EventRoute::Help);
    row("menuAbout", "menuItem", 32500, EventRoute::About);
    row("menuOtherTag", "menuItem", 32503, EventRoute::Ignore);
    row("buttonRun", "pushButton", 31031, EventRoute::Run);
    row("buttonNow", "pushButton", 31032, EventRoute::Now);
    row("buttonChooseScript", "pushButton", 31033, EventRoute::ChooseScript);
    row("buttonHelp", "pushButton", 31002, EventRoute::Help);
    row("buttonAboutClose", "pushButton", 31018, EventRoute::Ignore);
    row("buttonWithQuitTag", "pushButton", 32502, EventRoute::Ignore);
    row("dimCheckBox", "checkBox", 31034, EventRoute::Ignore);
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
    row("noSender", "none", 0, EventRoute::Ignore);
}
} // namespace

// Which handler each sender reaches. That each handler does its work is
// shown by the tests that drive the window's own controls.
class TestEventRouting : public QObject
{
    Q_OBJECT

private slots:
    void route_data();
    void route();
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
    QCOMPARE(EventRouter::route(makeSender(kind, tag, holder)), route);
}

QTEST_MAIN(TestEventRouting)
#include "tst_eventrouting.moc"
