// The time-left text at its unit boundaries, and the calendar arithmetic on
// ordinary days and across daylight saving time (TZ is Europe/Berlin).

#include "schedule/CalendarMath.h"

#include "tests/support/DataRow.h"

#include <QTest>
#include <QTranslator>

class tst_CalendarMath : public QObject
{
    Q_OBJECT

    QTranslator m_english;

private slots:
    // The English plural forms, built into the library, as Morvane installs them.
    void initTestCase()
    {
        QVERIFY(m_english.load(QStringLiteral(":/i18n/morvane_en.qm")));
        QVERIFY(QCoreApplication::installTranslator(&m_english));
    }
    void calculateLeftTime_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");

        addRow("zero", qint64(0), "");
        addRow("oneSecond", qint64(1), "1 Second");
        addRow("fiftyNine", qint64(59), "59 Seconds");
        addRow("oneMinuteEndsInBlank", qint64(60), "1 Minute ");
        addRow("sixtyOne", qint64(61), "1 Minute 1 Second");
        addRow("pluralMinutes", qint64(5 * 60 + 2), "5 Minutes 2 Seconds");
        addRow("oneHour", qint64(3600), "1 Hour ");
        addRow("oneDay", qint64(86400), "1 Day ");
        addRow("emptyPartsSkipped", qint64(2 * 86400 + 7200 + 2), "2 Days 2 Hours 2 Seconds");
        addRow("minusOneIsPlural", qint64(-1), "-1 Seconds");
        addRow("beyond32Bits", qint64(3000000000) * 86400, "3000000000 Days ");
    }
    void calculateLeftTime()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(CalendarMath::calculateLeftTime(seconds), text);
    }

    // No offset in a date means local time; an offset names one instant, the
    // only way to tell apart the two 02:10 of the autumn change.
    void twoDates_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<qint64>("length"); // calculateLongFromTime
        QTest::addColumn<qint64>("order"); // compare2Days

        addRow("sameSecond", "2024-06-15T12:00:00.1", "2024-06-15T12:00:00.9", qint64(0), qint64(2));
        addRow("nextSecond", "2024-06-15T12:00:00.9", "2024-06-15T12:00:01.1", qint64(1), qint64(0));
        addRow("monthIs30Days", "2023-01-31T10:00", "2023-03-01T10:00", qint64(2592000), qint64(0));
        addRow("yearIs360Days", "2023-06-15T08:00", "2024-06-15T08:00", qint64(31104000), qint64(0));
        addRow("utcByLocalClock", "2024-06-15T22:30:00Z", "2024-06-16T00:30", qint64(0), qint64(2));
        // The wall clock's fields count, not the time that passes.
        addRow("springForward", "2024-03-31T01:59:59+01:00", "2024-03-31T03:00:00+02:00", qint64(3601), qint64(0));
        addRow("shortDayIsFullDay", "2024-03-30T12:00", "2024-03-31T12:00", qint64(86400), qint64(0));
        addRow("fallBack", "2024-10-27T02:30:00+02:00", "2024-10-27T02:10:00+01:00", qint64(-1200), qint64(1));
    }
    void twoDates()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(qint64, length);
        QFETCH(qint64, order);

        const QDateTime a = QDateTime::fromString(first, Qt::ISODateWithMs);
        const QDateTime b = QDateTime::fromString(second, Qt::ISODateWithMs);
        QVERIFY(a.isValid() && b.isValid());
        QCOMPARE(CalendarMath::calculateLongFromTime(a, b), length);
        QCOMPARE(CalendarMath::compare2Days(a, b), order);
    }
};

QTEST_GUILESS_MAIN(tst_CalendarMath)
#include "tst_CalendarMath.moc"
