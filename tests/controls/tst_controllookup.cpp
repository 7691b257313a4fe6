// The lookup by tag: which tags are served, which containers are searched,
// and the empty handle that stands for "no control".

#include "controls/ControlLookup.h"
#include "controls/Tags.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

class TestControlLookup : public QObject
{
    Q_OBJECT

private slots:
    void findsPlanControls_data();
    void findsPlanControls();
    void servedBands_data();
    void servedBands();
    void itemRange_data();
    void itemRange();
    void emptyHandle();
    void handleOfDeletedControl();
};

// Container names used by the data rows.
static QObject *containerNamed(const WindowFixture &f, const QString &name)
{
    if (name == QLatin1String("none"))
        return nullptr;
    if (name == QLatin1String("aBox1"))
        return f.delegate->aBox1();
    if (name == QLatin1String("page0"))
        return f.page(0);
    if (name == QLatin1String("page1"))
        return f.page(1);
    return nullptr;
}

void TestControlLookup::findsPlanControls_data()
{
    QTest::addColumn<qint64>("tag");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("expected"); // objectName, empty for no control

    QTest::newRow("runButtonInWindow") << Tag::RunButton << "none" << "runButton";
    QTest::newRow("matrixInActionBox") << Tag::ActionMatrix << "aBox1" << "actionMatrix";
    QTest::newRow("chooseScriptInWindow") << Tag::ChooseScriptButton << "none" << "chooseScriptButton";
    QTest::newRow("chooseScriptInActionBox") << Tag::ChooseScriptButton << "aBox1" << "chooseScriptButton";
    QTest::newRow("scriptFieldInWindow") << Tag::ScriptPathField << "none" << "scriptPathField";
    QTest::newRow("timeLeftTextInWindow") << Tag::TimeLeftText << "none" << "timeLeftText";
    QTest::newRow("hiddenCheckBoxStillFound") << Tag::SpareCheckBox << "none" << "spareCheckBox";
    // Page 0 is shown: its controls are part of the window's tree.
    QTest::newRow("numberFieldShownPage") << Tag::NumberField << "none" << "numberField";
    QTest::newRow("numberFieldThroughPage") << Tag::NumberField << "page0" << "numberField";
    QTest::newRow("unitThroughPage") << Tag::UnitComboBox << "page0" << "unitComboBox";
    // Page 1 is not shown: found only through the page itself.
    QTest::newRow("pickerAHiddenPage") << Tag::DatePickerA << "none" << "";
    QTest::newRow("pickerAThroughPage") << Tag::DatePickerA << "page1" << "datePickerA";
    QTest::newRow("pickerCThroughPage") << Tag::DatePickerC << "page1" << "datePickerC";
    QTest::newRow("stepperHiddenPage") << Tag::MinimumStepper << "none" << "";
    QTest::newRow("stepperThroughPage") << Tag::MinimumStepper << "page1" << "minimumStepper";
    QTest::newRow("minimumTextThroughPage") << Tag::MinimumSecondsText << "page1" << "minimumSecondsText";
    QTest::newRow("nowButtonThroughPage") << Tag::NowButton << "page1" << "nowButton";
    QTest::newRow("pickerNotOnCountdownPage") << Tag::DatePickerA << "page0" << "";
    QTest::newRow("runButtonNotInActionBox") << Tag::RunButton << "aBox1" << "";
    // Menu items are never looked up.
    QTest::newRow("aboutMenuItem") << Tag::AboutMenuItem << "none" << "";
    QTest::newRow("helpMenuItem") << Tag::HelpMenuItem << "none" << "";
    QTest::newRow("quitMenuItem") << Tag::QuitMenuItem << "none" << "";
    QTest::newRow("unknownTagInBand") << qint64(31999) << "none" << "";
}

void TestControlLookup::findsPlanControls()
{
    QFETCH(qint64, tag);
    QFETCH(QString, container);
    QFETCH(QString, expected);

    WindowFixture f;
    QCOMPARE(f.delegate->tabview1()->currentIndex(), 0);
    const Control control = f.control(tag, containerNamed(f, container));
    QCOMPARE(control.isNull(), expected.isEmpty());
    if (!expected.isEmpty()) {
        QCOMPARE(control.object()->objectName(), expected);
        QCOMPARE(control.tag(), tag);
    }
}

void TestControlLookup::servedBands_data()
{
    QTest::addColumn<qint64>("tag");
    QTest::addColumn<bool>("served");

    QTest::newRow("29999") << qint64(29999) << false;
    QTest::newRow("31000") << qint64(31000) << true;
    QTest::newRow("31999") << qint64(31999) << true;
    QTest::newRow("32000") << qint64(32000) << false;
    QTest::newRow("32199") << qint64(32199) << false;
    QTest::newRow("32200") << qint64(32200) << true;
    QTest::newRow("32300") << qint64(32300) << false;
    QTest::newRow("32399") << qint64(32399) << false;
    QTest::newRow("32450") << qint64(32450) << true;
    QTest::newRow("32500") << qint64(32500) << false;
    QTest::newRow("32599") << qint64(32599) << false;
    QTest::newRow("32650") << qint64(32650) << true;
    QTest::newRow("32700") << qint64(32700) << false;
    QTest::newRow("33999") << qint64(33999) << false;
    QTest::newRow("34000") << qint64(34000) << true;
    QTest::newRow("35999") << qint64(35999) << true;
    QTest::newRow("36999") << qint64(36999) << true;
    QTest::newRow("37000") << qint64(37000) << false;
    QTest::newRow("38999") << qint64(38999) << false;
    QTest::newRow("39000") << qint64(39000) << true;
    QTest::newRow("40000") << qint64(40000) << true;
    QTest::newRow("40199") << qint64(40199) << true;
    QTest::newRow("40200") << qint64(40200) << true;
    QTest::newRow("40299") << qint64(40299) << true;
    QTest::newRow("40300") << qint64(40300) << false;
    QTest::newRow("negative") << qint64(-31031) << false;
    QTest::newRow("huge") << (qint64(1) << 40 | 31031) << false;
}

// A view carrying the tag exists in the container; only served tags find it.
void TestControlLookup::servedBands()
{
    QFETCH(qint64, tag);
    QFETCH(bool, served);

    QWidget container;
    auto *inner = new QWidget(&container);
    auto *view = new QLabel(inner);
    view->setProperty(Tag::Property, tag);

    const Control found = ControlLookup::find(tag, &container, nullptr);
    QCOMPARE(found.object() == view, served);
    QCOMPARE(found.isNull(), !served);
    // With no container the content view stands in for it.
    QCOMPARE(ControlLookup::find(tag, nullptr, &container).object() == view, served);
}

void TestControlLookup::itemRange_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<qint64>("tag");
    QTest::addColumn<bool>("found");

    QTest::newRow("firstOfRange") << "toolbar" << qint64(30000) << true;
    QTest::newRow("lastOfRange") << "toolbar" << qint64(30999) << true;
    QTest::newRow("noMatchingItem") << "toolbar" << qint64(30500) << false;
    QTest::newRow("noContainer") << "none" << qint64(30000) << false;
    QTest::newRow("containerWithoutItems") << "empty" << qint64(30000) << false;
    // A widget with an item tag is not an item.
    QTest::newRow("viewWithItemTag") << "viewOnly" << qint64(30001) << false;
}

void TestControlLookup::itemRange()
{
    QFETCH(QString, container);
    QFETCH(qint64, tag);
    QFETCH(bool, found);

    QToolBar toolbar;
    QAction *first = toolbar.addAction(QStringLiteral("first"));
    first->setProperty(Tag::Property, 30000);
    QAction *last = toolbar.addAction(QStringLiteral("last"));
    last->setProperty(Tag::Property, 30999);
    QWidget empty;
    QWidget viewOnly;
    (new QLabel(&viewOnly))->setProperty(Tag::Property, 30001);

    QObject *where = nullptr;
    if (container == QLatin1String("toolbar"))
        where = &toolbar;
    else if (container == QLatin1String("empty"))
        where = &empty;
    else if (container == QLatin1String("viewOnly"))
        where = &viewOnly;

    const Control control = ControlLookup::find(tag, where, &toolbar);
    QCOMPARE(!control.isNull(), found);
    if (found) {
        QVERIFY(qobject_cast<QAction *>(control.object()));
        QCOMPARE(control.tag(), tag);
    }
}

void TestControlLookup::emptyHandle()
{
    const Control none;
    Control mutableNone;
    mutableNone.setEnabled(true);
    mutableNone.setHidden(false);
    mutableNone.setStringValue(QStringLiteral("x"));
    mutableNone.setTitle(QStringLiteral("Stop"));
    mutableNone.setEditable(true);
    mutableNone.setSelectable(true);
    mutableNone.setRefusesFirstResponder(false);
    mutableNone.setDateValue(QDateTime::currentDateTime());
    mutableNone.setMinDate(QDateTime::currentDateTime());

    QVERIFY(none.isNull());
    QCOMPARE(none.tag(), 0);
    QCOMPARE(none.isEnabled(), false);
    QCOMPARE(none.isHidden(), false);
    QCOMPARE(none.stringValue(), QString());
    QCOMPARE(none.title(), QString());
    QCOMPARE(none.state(), 0);
    QCOMPARE(none.isEditable(), false);
    QCOMPARE(none.selectedRow(), -1);
    QCOMPARE(none.integerValue(), 0);
    QCOMPARE(none.minValue(), 0.0);
    QCOMPARE(none.maxValue(), 0.0);
    QVERIFY(!none.dateValue().isValid());
    QVERIFY(mutableNone.stringValue().isEmpty());
}

void TestControlLookup::handleOfDeletedControl()
{
    auto *field = new QLineEdit(QStringLiteral("text"));
    Control control(field);
    QCOMPARE(control.stringValue(), QStringLiteral("text"));
    delete field;
    QVERIFY(control.isNull());
    control.setStringValue(QStringLiteral("after"));
    QCOMPARE(control.stringValue(), QString());
}

QTEST_MAIN(TestControlLookup)
#include "tst_controllookup.moc"
