// The arithmetic of a start, without a window: the number typed, the length
// of a countdown in its unit and the task count, at their edges.

#include "schedule/StartChecks.h"

#include "tests/support/DataRow.h"

#include <QTest>

#include <limits>

using namespace StartChecks;
using Seconds = std::optional<qint64>;
Q_DECLARE_METATYPE(Seconds)

namespace {
constexpr qint64 Max = std::numeric_limits<qint64>::max();
constexpr qint64 Min = std::numeric_limits<qint64>::min();
} // namespace

class tst_StartChecks : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Seconds>("value"); // nothing: too large

        addRow("leadingZeros", "007", Seconds(7));
        addRow("blankAndTrailingLetters", " 42x", Seconds(42));
        addRow("minusSign", "-3", Seconds(-3));
        addRow("noDigits", "abc", Seconds(0));
        addRow("largest", "9223372036854775807", Seconds(Max));
        addRow("smallest", "-9223372036854775808", Seconds(Min));
        addRow("oneAboveLargest", "9223372036854775808", Seconds());
        addRow("oneBelowSmallest", "-9223372036854775809", Seconds());
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(Seconds, value);
        const LeadingNumber number = parseLeadingNumber(text);
        QCOMPARE(number.status == NumberStatus::TooLarge, !value.has_value());
        QCOMPARE(number.value, value.value_or(0));
    }

    void countdownLength_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<Seconds>("length"); // nothing: no such unit, or too long

        addRow("yearOf360Days", qint64(1), "Years", Seconds(31104000));
        addRow("monthOf30Days", qint64(1), "Months", Seconds(2592000));
        addRow("fiveMinutes", qint64(5), "Minutes", Seconds(300));
        addRow("largestSeconds", Max, "Seconds", Seconds(Max));
        addRow("lowerCaseUnit", qint64(5), "minutes", Seconds());
        addRow("mostYearsThatFit", qint64(296533308798), "Years", Seconds(qint64(296533308798) * 31104000));
        addRow("oneYearTooMany", qint64(296533308799), "Years", Seconds());
        addRow("smallestInMinutes", Min, "Minutes", Seconds());
    }
    void countdownLength()
    {
        QFETCH(qint64, number);
        QFETCH(QString, unit);
        QFETCH(Seconds, length);
        const Seconds factor = unitFactor(unit);
        QCOMPARE(factor ? StartChecks::countdownLength(number, *factor) : Seconds(), length);
    }

    void taskCount_data()
    {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<qint64>("minimum");
        QTest::addColumn<Seconds>("count");

        addRow("aboveMinimum", qint64(300), qint64(1), Seconds(301));
        addRow("belowMinimum", qint64(1), qint64(10), Seconds(11));
        addRow("negativeLength", qint64(-500), qint64(1), Seconds(2));
        addRow("largestThatFits", (Max - 1), qint64(1), Seconds(Max));
        addRow("noRoomForTheLastTick", Max, qint64(1), Seconds());
    }
    void taskCount()
    {
        QFETCH(qint64, length);
        QFETCH(qint64, minimum);
        QFETCH(Seconds, count);
        QCOMPARE(StartChecks::taskCount(length, minimum), count);
    }

    // Local time in Berlin (the tests' zone): summer time begins on
    // 2026-03-29, when 2:00 becomes 3:00.
    void momentLength_data()
    {
        QTest::addColumn<QDateTime>("target");
        QTest::addColumn<QString>("length");
        const QDate day(2026, 3, 29);
        addRow("aheadAcrossTheSkip", QDateTime(day, QTime(3, 0, 30)), QString("ahead 31"));
        addRow("halfASecondAhead", QDateTime(day, QTime(1, 59, 59)).addMSecs(500), QString("passed"));
        addRow("skippedHour", QDateTime(day, QTime(2, 30)), QString("skipped"));
        addRow("farAway", QDateTime(QDate(292000000, 1, 1), QTime(0, 0)), QString("ahead large"));
    }
    void momentLength()
    {
        QFETCH(QDateTime, target);
        QFETCH(QString, length);
        const MomentLength seen = StartChecks::momentLength(QDateTime(QDate(2026, 3, 29), QTime(1, 59, 59)), target);
        const char *status[] = {"ahead", "passed", "skipped"};
        QString text = status[int(seen.status)];
        if (seen.status == MomentStatus::Ahead)
            text += seen.seconds > 1000000000000 ? QString(" large") : QString(" %1").arg(seen.seconds);
        else
            QCOMPARE(seen.seconds, 0);
        QCOMPARE(text, length);
    }
};

QTEST_APPLESS_MAIN(tst_StartChecks)
#include "tst_StartChecks.moc"
