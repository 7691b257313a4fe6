// The lookup by tag: which tags are served, which containers are searched,
// and the empty handle that stands for "no control".

#include "controls/ControlLookup.h"
#include "controls/Tags.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
};

void TestControlLookup::findsPlanControls_data()
{
    QTest::addColumn<qint64>("tag");
    QTest::addColumn<QString>("container"); // "", "aBox1", "page0" or "page1"
    QTest::addColumn<QString>("expected"); // objectName, empty for no control

    const auto row = [](const char *name, qint64 tag, const char *container, const char *expected) {
        QTest::newRow(name) << tag << QString::fromLatin1(container) << QString::fromLatin1(expected);
    };
    row("runButtonInWindow", Tag::RunButton, "", "runButton");
    row("matrixInActionBox", Tag::ActionMatrix, "aBox1", "actionMatrix");
    row("hiddenCheckBoxStillFound", Tag::SpareCheckBox, "", "spareCheckBox");
    // Page 0 is shown: its controls are part of the window's tree.
    row("numberFieldShownPage", Tag::NumberField, "", "numberField");
    row("unitThroughPage", Tag::UnitComboBox, "page0", "unitComboBox");
    // Page 1 is not shown: found only through the page itself.
    row("pickerAHiddenPage", Tag::DatePickerA, "", "");
    row("pickerAThroughPage", Tag::DatePickerA, "page1", "datePickerA");
    row("stepperHiddenPage", Tag::MinimumStepper, "", "");
    row("stepperThroughPage", Tag::MinimumStepper, "page1", "minimumStepper");
    row("pickerNotOnCountdownPage", Tag::DatePickerA, "page0", "");
    row("runButtonNotInActionBox", Tag::RunButton, "aBox1", "");
    // Menu items are never looked up.
    row("aboutMenuItem", Tag::AboutMenuItem, "", "");
    row("helpMenuItem", Tag::HelpMenuItem, "", "");
    row("quitMenuItem", Tag::QuitMenuItem, "", "");
    row("unknownTagInBand", qint64(31999), "", "");
}

void TestControlLookup::findsPlanControls()
{
    QFETCH(qint64, tag);
    QFETCH(QString, container);
    QFETCH(QString, expected);

    WindowFixture f;
    QObject *where = container == QLatin1String("aBox1") ? static_cast<QObject *>(f.delegate->aBox1())
        : container.startsWith(QLatin1String("page"))    ? f.page(container.back().digitValue())
                                                         : nullptr;
    const Control control = f.control(tag, where);
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

    // The edges of every band, and the gaps between them.
    const std::pair<qint64, bool> edges[]
        = {{29999, false}, {31000, true}, {31999, true}, {32000, false}, {32199, false}, {32200, true}, {32300, false},
            {32399, false}, {32450, true}, {32500, false}, {32599, false}, {32650, true}, {32700, false},
            {33999, false}, {34000, true}, {35999, true}, {36999, true}, {37000, false}, {38999, false}, {39000, true},
            {40000, true}, {40299, true}, {40300, false}, {-31031, false}, {qint64(1) << 40 | 31031, false}};
    for (const auto &[tag, served] : edges)
        QTest::addRow("%lld", tag) << tag << served;
}

// A view carrying the tag exists in the container; only served tags find it.
void TestControlLookup::servedBands()
{
    QFETCH(qint64, tag);
    QFETCH(bool, served);

    QWidget container;
    auto *view = new QLabel(new QWidget(&container));
    view->setProperty(Tag::Property, tag);

    QCOMPARE(ControlLookup::find(tag, &container, nullptr).object() == view, served);
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
    QTest::newRow("noContainer") << "" << qint64(30000) << false;
    // A widget with an item tag is not an item.
    QTest::newRow("viewWithItemTag") << "viewOnly" << qint64(30001) << false;
}

void TestControlLookup::itemRange()
{
    QFETCH(QString, container);
    QFETCH(qint64, tag);
    QFETCH(bool, found);

    QToolBar toolbar;
    toolbar.addAction(QStringLiteral("first"))->setProperty(Tag::Property, 30000);
    toolbar.addAction(QStringLiteral("last"))->setProperty(Tag::Property, 30999);
    QWidget viewOnly;
    (new QLabel(&viewOnly))->setProperty(Tag::Property, 30001);

    QObject *where = container == QLatin1String("toolbar") ? &toolbar
        : container == QLatin1String("viewOnly")           ? &viewOnly
                                                           : nullptr;
    const Control control = ControlLookup::find(tag, where, &toolbar);
    QCOMPARE(!control.isNull(), found);
    if (found) {
        QVERIFY(qobject_cast<QAction *>(control.object()));
        QCOMPARE(control.tag(), tag);
    }
}

// No control, whether there never was one or it has been deleted: every
// question answers empty, 0 or false and every operation does nothing.
void TestControlLookup::emptyHandle()
{
    auto *field = new QLineEdit(QStringLiteral("text"));
    Control deleted(field);
    QCOMPARE(deleted.stringValue(), QStringLiteral("text"));
    delete field;

    for (Control none : {Control(), deleted}) {
        none.setEnabled(true);
        none.setHidden(true);
        none.setStringValue(QStringLiteral("x"));
        none.setTitle(QStringLiteral("Stop"));
        none.setEditable(true);
        none.setSelectable(true);
        none.setRefusesFirstResponder(false);
        none.setDateValue(QDateTime::currentDateTime());
        none.setMinDate(QDateTime::currentDateTime());
        QVERIFY(none.isNull());
        QCOMPARE(none.tag(), 0);
        QCOMPARE(none.isEnabled(), false);
        QCOMPARE(none.isHidden(), false);
        QCOMPARE(none.stringValue(), QString());
        QCOMPARE(none.title(), QString());
        QCOMPARE(none.state(), 0);
        QCOMPARE(none.isEditable(), false);
        QCOMPARE(none.isSelectable(), false);
        QCOMPARE(none.selectedRow(), -1);
        QCOMPARE(none.integerValue(), 0);
        QCOMPARE(none.maxValue(), 0.0);
        QVERIFY(!none.dateValue().isValid());
        QVERIFY(!none.minDate().isValid());
    }
}

QTEST_MAIN(TestControlLookup)
#include "tst_controllookup.moc"
