#include "schedule/CalendarMath.h"

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

// One piece of the time-left text: nothing for 0, the singular text for
// exactly 1, otherwise the plural with the whole signed value.
QString leftTimePiece(qint64 value, const char *singular, const char *plural)
{
    if (value == 0)
        return QString();
    if (value == 1)
        return QString::fromLatin1(singular);
    return QString::number(value) + QLatin1String(plural);
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

    return leftTimePiece(days, "1 Day ", " Days ") + leftTimePiece(hours, "1 Hour ", " Hours ")
        + leftTimePiece(minutes, "1 Minute ", " Minutes ") + leftTimePiece(seconds, "1 Second", " Seconds");
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
