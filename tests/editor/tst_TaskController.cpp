// The Run button on the real window: the count a start arms, the starts it
// refuses, and Stop.

#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString IllegalNumber = QStringLiteral("Illegal Number!");
const QString MissingScript = QStringLiteral("The script file does not exist");
const QString UnknownUnit
    = QStringLiteral("Choose a unit from the list: Years, Months, Days, Hours, Minutes or Seconds.");
const QString DatePassed = QStringLiteral("The date has passed. Choose a date and time later than now.");
} // namespace

class tst_TaskController : public QObject
{
    Q_OBJECT

private slots:
    void start_data()
    {
        QTest::addColumn<int>("row");
        // A null number starts from the date page, with picker A "unit" ms ahead.
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<qint64>("count"); // 0: refused with the alert
        QTest::addColumn<QString>("alert");

        addRow("fiveMinutes", 1, "5", "Minutes", 1, qint64(301), "");
        addRow("zero", 1, "0", "Minutes", 1, qint64(0), IllegalNumber);
        addRow("overflowingYears", 1, "300000000000", "Years", 1, qint64(0), IllegalNumber);
        addRow("noRoomForLastTick", 1, "9223372036854775807", "Seconds", 1, qint64(0), IllegalNumber);
        // A unit the list does not hold, should the box ever hold one.
        addRow("unknownUnit", 1, "5", "mins", 1, qint64(0), UnknownUnit);
        addRow("dateAhead", 1, QString(), "90700", 1, qint64(91), "");
        addRow("datePassed", 1, QString(), "-3000", 1, qint64(0), DatePassed);
        addRow("dateRaisedToMinimum", 1, QString(), "2500", 10, qint64(11), "");
        addRow("scriptPresent", 5, "5", "Minutes", 1, qint64(301), "");
        addRow("scriptMissing", 5, "5", "Minutes", 1, qint64(0), MissingScript);
    }
    void start()
    {
        QFETCH(int, row);
        QFETCH(QString, number);
        QFETCH(QString, unit);
        QFETCH(int, minimum);
        QFETCH(qint64, count);
        QFETCH(QString, alert);

        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("job.sh"));
        if (alert != MissingScript)
            QVERIFY(QFile(script).open(QIODevice::WriteOnly));
        WindowFixture f;
        f.selectRow(row);
        f.control(Tag::ScriptPathField).setStringValue(script);
        f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>()->setValue(minimum);
        if (number.isNull()) {
            const QDateTime date = QDateTime::currentDateTime().addMSecs(unit.toLongLong());
            f.control(Tag::DatePickerA, f.page(1)).setDateValue(date);
            f.delegate->tabview1()->setCurrentIndex(1);
        } else {
            f.setCountdown(number, unit);
            auto *units = f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>();
            if (units->findText(unit) < 0) {
                units->setEditable(true);
                units->setEditText(unit);
            }
        }
        f.pressRun();

        QCOMPARE(f.delegate->counterTimer(), count);
        QCOMPARE(f.runTitle(), QLatin1String(count ? "Stop" : "Run"));
        QCOMPARE(f.alerts->alerts, (alert.isEmpty() ? Alerts() : Alerts {{"Reminder", alert}}));
    }

    void stopReturnsToIdle()
    {
        WindowFixture f;
        const Control number = f.control(Tag::NumberField, f.page(0));
        f.pressRun();
        QVERIFY(!number.isEnabled() && !f.control(Tag::TimeLeftText).isHidden());
        f.pressRun();
        QCOMPARE(f.runTitle(), QStringLiteral("Run"));
        QCOMPARE(f.delegate->counterTimer(), 0);
        QVERIFY(number.isEnabled() && number.isEditable() && f.control(Tag::TimeLeftText).isHidden());
        for (int tick = 0; tick < 3; ++tick)
            f.tick();
        QVERIFY(f.actions->calls.isEmpty());
    }
};

QTEST_MAIN(tst_TaskController)
#include "tst_TaskController.moc"
