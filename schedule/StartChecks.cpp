#include "schedule/StartChecks.h"

#include "schedule/CalendarMath.h"

#include <QChar>
#include <QCoreApplication>

#include <cmath>
#include <limits>

namespace StartChecks {

namespace {
    constexpr qint64 Max = std::numeric_limits<qint64>::max();
    constexpr qint64 Min = std::numeric_limits<qint64>::min();

    struct Unit
    {
        const char *text;
        qint64 seconds;
    };

    // Compared in this order; the first equal text decides. The names are
    // the unit box's items, compared in the user's language as the box
    // shows them (the main window's catalogue entries).
    constexpr Unit Units[] = {
        {QT_TRANSLATE_NOOP("MainWindow", "Years"), CalendarMath::SecondsPerYear},
        {QT_TRANSLATE_NOOP("MainWindow", "Months"), CalendarMath::SecondsPerMonth},
        {QT_TRANSLATE_NOOP("MainWindow", "Days"), CalendarMath::SecondsPerDay},
        {QT_TRANSLATE_NOOP("MainWindow", "Hours"), CalendarMath::SecondsPerHour},
        {QT_TRANSLATE_NOOP("MainWindow", "Minutes"), CalendarMath::SecondsPerMinute},
        {QT_TRANSLATE_NOOP("MainWindow", "Seconds"), 1},
    };
} // namespace

LeadingNumber parseLeadingNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && text.at(i).isSpace())
        ++i;

    bool negative = false;
    if (i < size && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }

    // The magnitude is gathered unsigned so that the most negative number
    // still fits; it may not pass 2^63 (negative) or 2^63 - 1 (positive).
    const quint64 limit = negative ? quint64(Max) + 1 : quint64(Max);
    quint64 magnitude = 0;
    bool tooLarge = false;
    for (; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            break;
        const quint64 digit = c - u'0';
        if (tooLarge || magnitude > (limit - digit) / 10) {
            // Keep reading the digits: the whole run is one number.
            tooLarge = true;
            continue;
        }
        magnitude = magnitude * 10 + digit;
    }

    if (tooLarge)
        return {NumberStatus::TooLarge, 0};
    if (!negative)
        return {NumberStatus::Ok, qint64(magnitude)};
    if (magnitude == quint64(Max) + 1)
        return {NumberStatus::Ok, Min};
    return {NumberStatus::Ok, -qint64(magnitude)};
}

std::optional<qint64> unitFactor(QStringView unitText)
{
    for (const Unit &unit : Units) {
        if (unitText == QCoreApplication::translate("MainWindow", unit.text))
            return unit.seconds;
    }
    return std::nullopt;
}

std::optional<qint64> countdownLength(qint64 number, qint64 factor)
{
    qint64 product = 0;
    if (__builtin_mul_overflow(number, factor, &product))
        return std::nullopt;
    return product;
}

qint64 truncateTowardZero(double seconds)
{
    if (std::isnan(seconds))
        return 0;
    // 2^63 is exact as a double; anything at or past it does not fit.
    constexpr double Limit = 9223372036854775808.0;
    if (seconds >= Limit)
        return Max;
    if (seconds < -Limit)
        return Min;
    return static_cast<qint64>(std::trunc(seconds));
}

std::optional<qint64> taskCount(qint64 length, qint64 minimum)
{
    const qint64 raised = length < minimum ? minimum : length;
    qint64 count = 0;
    if (__builtin_add_overflow(raised, qint64(1), &count))
        return std::nullopt;
    return count;
}

MomentLength momentLength(const QDateTime &now, const QDateTime &target)
{
    if (!target.isValid())
        return {MomentStatus::Skipped, 0};
    const qint64 seconds = truncateTowardZero(now.msecsTo(target) / 1000.0);
    if (seconds <= 0)
        return {MomentStatus::Passed, 0};
    return {MomentStatus::Ahead, seconds};
}

} // namespace StartChecks
