#include "schedule/Duration.h"

#include "schedule/CalendarMath.h"

#include <QCoreApplication>

#include <limits>

namespace Duration {

namespace {
    struct Unit
    {
        char16_t letter;
        const char *name;
        qint64 seconds;
    };

    // Largest first: countdownFields() takes the first that divides. The
    // names are the unit box's items, handed over in the user's language.
    constexpr Unit Units[] = {
        {u'd', QT_TRANSLATE_NOOP("MainWindow", "Days"), CalendarMath::SecondsPerDay},
        {u'h', QT_TRANSLATE_NOOP("MainWindow", "Hours"), CalendarMath::SecondsPerHour},
        {u'm', QT_TRANSLATE_NOOP("MainWindow", "Minutes"), CalendarMath::SecondsPerMinute},
        {u's', QT_TRANSLATE_NOOP("MainWindow", "Seconds"), 1},
    };
    constexpr qint64 Max = std::numeric_limits<qint64>::max();

    const Unit *unitFor(char16_t letter)
    {
        for (const Unit &unit : Units) {
            if (unit.letter == letter)
                return &unit;
        }
        return nullptr;
    }
} // namespace

std::optional<qint64> parse(QStringView text)
{
    qint64 total = 0;
    QString seen;
    qsizetype i = 0;
    while (i < text.size()) {
        qint64 number = 0;
        const qsizetype digitsStart = i;
        for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
            const qint64 digit = text.at(i).unicode() - u'0';
            if (number > (Max - digit) / 10)
                return std::nullopt;
            number = number * 10 + digit;
        }
        // A number without its unit ("90") could mean any unit: refused
        // rather than guessed.
        if (i == digitsStart || i == text.size())
            return std::nullopt;
        const Unit *unit = unitFor(text.at(i).unicode());
        if (!unit || seen.contains(QChar(unit->letter)))
            return std::nullopt;
        seen += QChar(unit->letter);
        ++i;
        if (number > (Max - total) / unit->seconds)
            return std::nullopt;
        total += number * unit->seconds;
    }
    if (total <= 0)
        return std::nullopt;
    return total;
}

QString clockText(qint64 seconds)
{
    const qint64 left = qMax<qint64>(seconds, 0);
    const qint64 days = left / CalendarMath::SecondsPerDay;
    const qint64 hours = left / CalendarMath::SecondsPerHour % 24;
    const qint64 minutes = left / CalendarMath::SecondsPerMinute % 60;
    const QString secondsText = QStringLiteral("%1").arg(left % 60, 2, 10, QLatin1Char('0'));
    if (left < CalendarMath::SecondsPerHour)
        return QStringLiteral("%1:%2").arg(minutes).arg(secondsText);
    const QString clock = QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')).arg(secondsText);
    //: A count of days before the clock, as in "2 d 03:04:05".
    return days > 0 ? QCoreApplication::translate("Duration", "%1 d %2").arg(days).arg(clock) : clock;
}

CountdownFields countdownFields(qint64 seconds)
{
    for (const Unit &unit : Units) {
        if (seconds % unit.seconds == 0)
            return {seconds / unit.seconds, QCoreApplication::translate("MainWindow", unit.name)};
    }
    return {seconds, QCoreApplication::translate("MainWindow", "Seconds")};
}

} // namespace Duration
