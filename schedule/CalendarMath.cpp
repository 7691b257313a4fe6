#include "schedule/CalendarMath.h"

#include <QCoreApplication>

#include <limits>

namespace {
// The six calendar fields Morvane works with; parts of a second never count.
struct DateFields
{
    qint64 year;
    qint64 month;
    qint64 day;
    qint64 hour;
    qint64 minute;
    qint64 second;
};

// Fields of the date as the user's clock shows it, whatever time spec the
// date was made with, so a UTC date and a local one compare by wall time.
DateFields localFields(const QDateTime &date)
{
    const QDateTime local = date.toLocalTime();
    const QDate day = local.date();
    const QTime time = local.time();
    return {day.year(), day.month(), day.day(), time.hour(), time.minute(), time.second()};
}

// One piece of the time-left text: nothing for 0, otherwise the count with
// its unit in the form the user's language takes for it ("1 Day ",
// "2 Days "). A catalogue chooses forms by an int, so a count outside 0 to
// INT_MAX chooses by a stand-in with the same last six digits, never 0 or
// 1, and then shows its own number: "-1 Seconds" and "3000000000 Days "
// take the plural, as every other count that is not exactly 1.
QString leftTimePiece(qint64 value, const char *text)
{
    if (value == 0)
        return QString();
    const bool fits = value > 0 && value <= std::numeric_limits<int>::max();
    const int form = fits ? int(value) : int(1000000 + (value < 0 ? -(value % 1000000) : value % 1000000));
    QString piece = QCoreApplication::translate("CalendarMath", text, nullptr, form);
    return fits ? piece : piece.replace(QString::number(form), QString::number(value));
}
} // namespace

qint64 CalendarMath::calculateLongFromTime(const QDateTime &date1, const QDateTime &date2)
{
    const DateFields a = localFields(date1);
    const DateFields b = localFields(date2);
    // Field by field and unnormalised: a month is always 30 days here, so a
    // span over February comes out longer than the real time.
    return (b.year - a.year) * SecondsPerYear + (b.month - a.month) * SecondsPerMonth + (b.day - a.day) * SecondsPerDay
        + (b.hour - a.hour) * SecondsPerHour + (b.minute - a.minute) * SecondsPerMinute + (b.second - a.second);
}

QString CalendarMath::calculateLeftTime(qint64 n)
{
    // Division truncates toward zero, so every part of a negative count is
    // zero or negative.
    const qint64 days = n / SecondsPerDay;
    qint64 rest = n - days * SecondsPerDay;
    const qint64 hours = rest / SecondsPerHour;
    rest -= hours * SecondsPerHour;
    const qint64 minutes = rest / SecondsPerMinute;
    const qint64 seconds = rest - minutes * SecondsPerMinute;

    return leftTimePiece(days, QT_TRANSLATE_N_NOOP("CalendarMath", "%n Day(s) "))
        + leftTimePiece(hours, QT_TRANSLATE_N_NOOP("CalendarMath", "%n Hour(s) "))
        + leftTimePiece(minutes, QT_TRANSLATE_N_NOOP("CalendarMath", "%n Minute(s) "))
        + leftTimePiece(seconds, QT_TRANSLATE_N_NOOP("CalendarMath", "%n Second(s)"));
}

qint64 CalendarMath::compare2Days(const QDateTime &date1, const QDateTime &date2)
{
    const DateFields a = localFields(date1);
    const DateFields b = localFields(date2);
    const qint64 first[] = {a.year, a.month, a.day, a.hour, a.minute, a.second};
    const qint64 second[] = {b.year, b.month, b.day, b.hour, b.minute, b.second};
    for (int i = 0; i < 6; ++i) {
        if (second[i] > first[i])
            return 0;
        if (second[i] < first[i])
            return 1;
    }
    return 2;
}
