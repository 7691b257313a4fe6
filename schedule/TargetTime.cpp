#include "schedule/TargetTime.h"

#include <QRegularExpression>
#include <QStringList>

namespace TargetTime {

namespace {
    // Hours may have one digit or two; minutes and seconds always have two.
    const QStringList TimeFormats = {QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")};

    QTime timeOf(const QString &text)
    {
        for (const QString &format : TimeFormats) {
            const QTime time = QTime::fromString(text, format);
            if (time.isValid())
                return time;
        }
        return QTime();
    }

    // A time the clock skips as summer time begins names no moment.
    std::optional<QDateTime> valid(const QDateTime &moment)
    {
        return moment.isValid() ? std::optional<QDateTime>(moment) : std::nullopt;
    }
} // namespace

std::optional<QDateTime> parse(QStringView text, const QDateTime &now)
{
    const QString written = text.toString();
    const qsizetype separator = written.indexOf(QRegularExpression(QStringLiteral("[T ]")));
    if (separator < 0) {
        const QTime time = timeOf(written);
        if (!time.isValid())
            return std::nullopt;
        const QDateTime today(now.date(), time);
        return valid(today > now ? today : QDateTime(now.date().addDays(1), time));
    }
    const QDate date = QDate::fromString(written.left(separator), QStringLiteral("yyyy-MM-dd"));
    const QTime time = timeOf(written.mid(separator + 1));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return valid(QDateTime(date, time));
}

} // namespace TargetTime
