#pragma once

#include <QDateTime>
#include <QString>

// Morvane's arithmetic on dates and second counts, in the user's local
// calendar and time zone (TZ honoured). Years count 360 days and months 30.
class CalendarMath
{
public:
    static constexpr qint64 SecondsPerYear = 31104000;
    static constexpr qint64 SecondsPerMonth = 2592000;
    static constexpr qint64 SecondsPerDay = 86400;
    static constexpr qint64 SecondsPerHour = 3600;
    static constexpr qint64 SecondsPerMinute = 60;

    // date2 minus date1 on the 360-day calendar, field by field.
    static qint64 calculateLongFromTime(const QDateTime &date1, const QDateTime &date2);
    // A second count spelled as days, hours, minutes and seconds.
    static QString calculateLeftTime(qint64 n);
    // 0 when date1 lies in an earlier second than date2, 1 in a later one,
    // 2 in the same calendar second.
    static qint64 compare2Days(const QDateTime &date1, const QDateTime &date2);
};
