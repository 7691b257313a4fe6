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

} // namespace

std::optional<QDateTime> parse(QStringView text, const QDateTime &now)
{
    const QString written = text.toString();
    const qsizetype separator = written.indexOf(QRegularExpression(QStringLiteral("[T ]")));
    if (separator < 0) {
        const QTime time = timeOf(written);
        if (!time.isValid())
            return std::nullopt;
        // Compared on the clock's face: a skipped time later today is still
        // today's, and invalid.
        if (time > now.time())
            return QDateTime(now.date(), time);
        return QDateTime(now.date().addDays(1), time);
    }
    const QDate date = QDate::fromString(written.left(separator), QStringLiteral("yyyy-MM-dd"));
    const QTime time = timeOf(written.mid(separator + 1));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

} // namespace TargetTime
