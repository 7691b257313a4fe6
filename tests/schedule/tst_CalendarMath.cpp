// The calendar arithmetic in two time zones, on ordinary days and on the
// days daylight saving time begins and ends.

#include "schedule/CalendarMath.h"

#include <QTest>

#include <ctime>

namespace {
const QByteArray Berlin = QByteArrayLiteral("Europe/Berlin");
const QByteArray NewYork = QByteArrayLiteral("America/New_York");

void useTimeZone(const QByteArray &zone)
{
    qputenv("TZ", zone);
    tzset();
}

// One row of a two-date table, named after its zone's city and the case.
void addRow(const QByteArray &zone, const char *name, const char *first, const char *second, qint64 result)
{
    const QByteArray city = zone.mid(zone.indexOf('/') + 1);
    QTest::newRow((city + '/' + name).constData())
        << zone << QString::fromLatin1(first) << QString::fromLatin1(second) << result;
}

// Dates are written as ISO text so that they are built only once the row's
// zone is in force: no offset means the user's local time, "Z" or an offset
// an exact instant (the only way to name either side of a DST fall-back).
QDateTime date(const QString &iso)
{
    const QDateTime parsed = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!parsed.isValid())
        qFatal("bad test date %s", qPrintable(iso));
    return parsed;
}
} // namespace

class tst_CalendarMath : public QObject
{
    Q_OBJECT

private slots:
    void calculateLeftTime_data();
    void calculateLeftTime();
    void compare2Days_data();
    void compare2Days();
    void calculateLongFromTime_data();
    void calculateLongFromTime();
};

void tst_CalendarMath::calculateLeftTime_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "";
    QTest::newRow("oneSecond") << qint64(1) << "1 Second";
    QTest::newRow("oneMinuteEndsInBlank") << qint64(60) << "1 Minute ";
    QTest::newRow("minuteAndSecond") << qint64(61) << "1 Minute 1 Second";
    QTest::newRow("oneHour") << qint64(3600) << "1 Hour ";
    QTest::newRow("oneDay") << qint64(86400) << "1 Day ";
    QTest::newRow("everyUnitOnce") << qint64(86400 + 3600 + 60 + 1) << "1 Day 1 Hour 1 Minute 1 Second";
    QTest::newRow("dayLessOneSecond") << qint64(86399) << "23 Hours 59 Minutes 59 Seconds";
    QTest::newRow("daysSkipEmptyParts") << qint64(2 * 86400 + 59) << "2 Days 59 Seconds";
    QTest::newRow("yearIsDays") << qint64(31104000) << "360 Days ";
    QTest::newRow("minusOneIsPlural") << qint64(-1) << "-1 Seconds";
    QTest::newRow("minusSixtyOne") << qint64(-61) << "-1 Minutes -1 Seconds";
    // More days than a 32-bit "%d" could hold.
    QTest::newRow("beyond32Bits") << qint64(3000000000) * 86400 + 7 << "3000000000 Days 7 Seconds";
}

void tst_CalendarMath::calculateLeftTime()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(CalendarMath::calculateLeftTime(seconds), text);
}

void tst_CalendarMath::compare2Days_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<qint64>("result");

    for (const QByteArray &zone : {Berlin, NewYork}) {
        addRow(zone, "sameDate", "2024-06-15T12:00:00", "2024-06-15T12:00:00", 2);
        addRow(zone, "fourTenthsApartSameSecond", "2024-06-15T12:00:00.100", "2024-06-15T12:00:00.500", 2);
        addRow(zone, "fifthApartAcrossSeconds", "2024-06-15T12:00:00.900", "2024-06-15T12:00:01.100", 0);
        addRow(zone, "oneSecondBefore", "2024-06-15T12:00:00", "2024-06-15T12:00:01", 0);
        addRow(zone, "oneSecondAfter", "2024-06-15T12:00:01", "2024-06-15T12:00:00", 1);
        addRow(zone, "newYearYearDecides", "2024-12-31T23:59:59", "2025-01-01T00:00:00", 0);
        addRow(zone, "newYearSwapped", "2025-01-01T00:00:00", "2024-12-31T23:59:59", 1);
    }

    // A UTC date is compared by the fields the user's clock shows for it.
    addRow(Berlin, "utcDateAsLocalFields", "2024-06-15T22:30:00Z", "2024-06-16T00:30:00", 2);
    addRow(NewYork, "utcDateAsLocalFields", "2024-06-15T22:30:00Z", "2024-06-15T18:30:00", 2);

    // Spring forward: one real second apart, the clock jumps an hour.
    addRow(Berlin, "springForward", "2024-03-31T01:59:59+01:00", "2024-03-31T03:00:00+02:00", 0);
    addRow(NewYork, "springForward", "2024-03-10T01:59:59-05:00", "2024-03-10T03:00:00-04:00", 0);
    // Fall back: the first date is the earlier instant, but its wall-clock
    // time is later, and the wall clock decides.
    addRow(Berlin, "fallBack", "2024-10-27T02:30:00+02:00", "2024-10-27T02:10:00+01:00", 1);
    addRow(NewYork, "fallBack", "2024-11-03T01:30:00-04:00", "2024-11-03T01:10:00-05:00", 1);
}

void tst_CalendarMath::compare2Days()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(qint64, result);

    useTimeZone(zone);
    QCOMPARE(CalendarMath::compare2Days(date(first), date(second)), result);
}

void tst_CalendarMath::calculateLongFromTime_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<qint64>("seconds");

    for (const QByteArray &zone : {Berlin, NewYork}) {
        addRow(zone, "sameDate", "2024-06-15T12:00:00", "2024-06-15T12:00:00", 0);
        addRow(zone, "oneSecond", "2024-06-15T12:00:00", "2024-06-15T12:00:01", 1);
        addRow(zone, "millisecondsIgnored", "2024-06-15T12:00:00.900", "2024-06-15T12:00:01.100", 1);
        // Two 30-day months less 30 days, though only 29 real days pass.
        addRow(zone, "januaryToMarch", "2023-01-31T10:00:00", "2023-03-01T10:00:00", 2592000);
        addRow(zone, "januaryToMarchSwapped", "2023-03-01T10:00:00", "2023-01-31T10:00:00", -2592000);
        addRow(zone, "januaryToMarchLeapYear", "2024-01-31T10:00:00", "2024-03-01T10:00:00", 2592000);
        addRow(zone, "wholeYear", "2023-06-15T08:00:00", "2024-06-15T08:00:00", 31104000);
        // December counts 30 days, so its 31st lies a day past the year's end.
        addRow(zone, "newYearUnnormalised", "2024-12-31T23:59:59", "2025-01-01T00:00:00", -86399);
        // Likewise from a 31st to the next month's 1st, no time passes.
        addRow(zone, "thirtyFirstToFirst", "2024-03-31T00:00:00", "2024-04-01T00:00:00", 0);
    }

    addRow(Berlin, "utcDateAsLocalFields", "2024-06-15T22:30:00Z", "2024-06-16T00:30:00", 0);
    addRow(NewYork, "utcDateAsLocalFields", "2024-06-15T22:30:00Z", "2024-06-15T18:30:00", 0);

    // DST days: the wall clock's fields count, not the elapsed time.
    addRow(Berlin, "springForwardSecond", "2024-03-31T01:59:59+01:00", "2024-03-31T03:00:00+02:00", 3601);
    addRow(NewYork, "springForwardSecond", "2024-03-10T01:59:59-05:00", "2024-03-10T03:00:00-04:00", 3601);
    addRow(Berlin, "shortDayIsFullDay", "2024-03-30T12:00:00", "2024-03-31T12:00:00", 86400);
    addRow(NewYork, "shortDayIsFullDay", "2024-03-09T12:00:00", "2024-03-10T12:00:00", 86400);
    addRow(Berlin, "fallBack", "2024-10-27T02:30:00+02:00", "2024-10-27T02:10:00+01:00", -1200);
    addRow(NewYork, "fallBack", "2024-11-03T01:30:00-04:00", "2024-11-03T01:10:00-05:00", -1200);
}

void tst_CalendarMath::calculateLongFromTime()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(qint64, seconds);

    useTimeZone(zone);
    QCOMPARE(CalendarMath::calculateLongFromTime(date(first), date(second)), seconds);
}

QTEST_GUILESS_MAIN(tst_CalendarMath)
#include "tst_CalendarMath.moc"
