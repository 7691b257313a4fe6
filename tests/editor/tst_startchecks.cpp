// The arithmetic of a start, without a window: the number the user typed,
// the unit, the product and the task count, at their edges.

#include "schedule/StartChecks.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace StartChecks;

namespace {
constexpr qint64 Max = std::numeric_limits<qint64>::max();
constexpr qint64 Min = std::numeric_limits<qint64>::min();
} // namespace

Q_DECLARE_METATYPE(std::optional<qint64>)

class TestStartChecks : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void unitFactor_data();
    void unitFactor();
    void countdownLength_data();
    void countdownLength();
    void truncation_data();
    void truncation();
    void taskCount_data();
    void taskCount();
};

void TestStartChecks::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("tooLarge");
    QTest::addColumn<qint64>("value");

    QTest::newRow("plain") << "5" << false << qint64(5);
    QTest::newRow("leadingZeros") << "007" << false << qint64(7);
    QTest::newRow("blankAndTrailingLetters") << " 42x" << false << qint64(42);
    QTest::newRow("tabsAndNewline") << "\t\n 9" << false << qint64(9);
    QTest::newRow("plusSign") << "+8" << false << qint64(8);
    QTest::newRow("minusSign") << "-3" << false << qint64(-3);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("letters") << "abc" << false << qint64(0);
    QTest::newRow("signOnly") << "-" << false << qint64(0);
    QTest::newRow("doubleSign") << "+-5" << false << qint64(0);
    QTest::newRow("blankAfterSign") << "- 5" << false << qint64(0);
    QTest::newRow("decimalPoint") << "3.9" << false << qint64(3);
    QTest::newRow("digitsAfterLetters") << "x42" << false << qint64(0);
    // Only ASCII digits are digits here; an Arabic-Indic five ends the run.
    QTest::newRow("nonAsciiDigit") << QStringLiteral("7\u0665") << false << qint64(7);
    QTest::newRow("largest") << "9223372036854775807" << false << Max;
    QTest::newRow("smallest") << "-9223372036854775808" << false << Min;
    QTest::newRow("manyLeadingZerosStillFit") << "000000000000000000000000042" << false << qint64(42);
    QTest::newRow("oneAboveLargest") << "9223372036854775808" << true << qint64(0);
    QTest::newRow("oneBelowSmallest") << "-9223372036854775809" << true << qint64(0);
    QTest::newRow("twentyDigits") << "12345678901234567890" << true << qint64(0);
}

void TestStartChecks::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, tooLarge);
    QFETCH(qint64, value);

    const LeadingNumber number = parseLeadingNumber(text);
    QCOMPARE(number.status == NumberStatus::TooLarge, tooLarge);
    QCOMPARE(number.value, value);
}

void TestStartChecks::unitFactor_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<std::optional<qint64>>("factor");

    QTest::newRow("years") << "Years" << std::optional<qint64>(31104000);
    QTest::newRow("months") << "Months" << std::optional<qint64>(2592000);
    QTest::newRow("days") << "Days" << std::optional<qint64>(86400);
    QTest::newRow("hours") << "Hours" << std::optional<qint64>(3600);
    QTest::newRow("minutes") << "Minutes" << std::optional<qint64>(60);
    QTest::newRow("seconds") << "Seconds" << std::optional<qint64>(1);
    QTest::newRow("lowerCase") << "minutes" << std::optional<qint64>();
    QTest::newRow("trailingBlank") << "Hours " << std::optional<qint64>();
    QTest::newRow("empty") << "" << std::optional<qint64>();
    QTest::newRow("unknown") << "Fortnights" << std::optional<qint64>();
}

void TestStartChecks::unitFactor()
{
    QFETCH(QString, unit);
    QFETCH(std::optional<qint64>, factor);
    QCOMPARE(StartChecks::unitFactor(unit), factor);
}

void TestStartChecks::countdownLength_data()
{
    QTest::addColumn<qint64>("number");
    QTest::addColumn<qint64>("factor");
    QTest::addColumn<std::optional<qint64>>("length");

    QTest::newRow("fiveMinutes") << qint64(5) << qint64(60) << std::optional<qint64>(300);
    QTest::newRow("largestSeconds") << Max << qint64(1) << std::optional<qint64>(Max);
    // 296533308798 years of 360 days is the last whole count that fits.
    QTest::newRow("mostYearsThatFit") << qint64(296533308798) << qint64(31104000)
                                      << std::optional<qint64>(qint64(296533308798) * 31104000);
    QTest::newRow("oneYearTooMany") << qint64(296533308799) << qint64(31104000) << std::optional<qint64>();
    QTest::newRow("largestTimesMinutes") << Max << qint64(60) << std::optional<qint64>();
    QTest::newRow("halfRangeTimesTwo") << (Max / 2 + 1) << qint64(2) << std::optional<qint64>();
}

void TestStartChecks::countdownLength()
{
    QFETCH(qint64, number);
    QFETCH(qint64, factor);
    QFETCH(std::optional<qint64>, length);
    QCOMPARE(StartChecks::countdownLength(number, factor), length);
}

void TestStartChecks::truncation_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<qint64>("truncated");

    QTest::newRow("aheadWithFraction") << 90.7 << qint64(90);
    QTest::newRow("justBelowOne") << 0.999 << qint64(0);
    QTest::newRow("halfBehind") << -0.5 << qint64(0);
    QTest::newRow("behindWithFraction") << -1.7 << qint64(-1);
    QTest::newRow("whole") << 3600.0 << qint64(3600);
    QTest::newRow("farAhead") << 1e300 << Max;
    QTest::newRow("farBehind") << -1e300 << Min;
    QTest::newRow("exactlyTwoToThe63") << 9223372036854775808.0 << Max;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << Max;
    QTest::newRow("notANumber") << std::nan("") << qint64(0);
}

void TestStartChecks::truncation()
{
    QFETCH(double, seconds);
    QFETCH(qint64, truncated);
    QCOMPARE(truncateTowardZero(seconds), truncated);
}

void TestStartChecks::taskCount_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<qint64>("minimum");
    QTest::addColumn<std::optional<qint64>>("count");

    QTest::newRow("aboveMinimum") << qint64(300) << qint64(1) << std::optional<qint64>(301);
    QTest::newRow("belowMinimum") << qint64(1) << qint64(10) << std::optional<qint64>(11);
    QTest::newRow("equalToMinimum") << qint64(10) << qint64(10) << std::optional<qint64>(11);
    QTest::newRow("negativeLength") << qint64(-500) << qint64(1) << std::optional<qint64>(2);
    QTest::newRow("zeroMinimumNothingLeft") << qint64(-3) << qint64(0) << std::optional<qint64>(1);
    QTest::newRow("largestThatFits") << (Max - 1) << qint64(1) << std::optional<qint64>(Max);
    QTest::newRow("noRoomForTheLastTick") << Max << qint64(1) << std::optional<qint64>();
}

void TestStartChecks::taskCount()
{
    QFETCH(qint64, length);
    QFETCH(qint64, minimum);
    QFETCH(std::optional<qint64>, count);
    QCOMPARE(StartChecks::taskCount(length, minimum), count);
}

QTEST_APPLESS_MAIN(TestStartChecks)
#include "tst_startchecks.moc"
