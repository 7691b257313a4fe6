#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Lengths of time as people write them on a command line and read them in a
// window title. No widgets: the command line is checked before any window
// exists.
namespace Duration {

// A length such as "45s", "90m", "2h30m" or "1d12h": numbers, each followed
// by one unit s, m, h or d, every unit at most once. Nothing for any other
// text, for a length of zero and for one beyond 64-bit seconds.
std::optional<qint64> parse(QStringView text);

// Time left as a clock shows it: "4:59" under an hour, "1:02:03" under a
// day, "2 d 3:04:59" beyond. Negative counts read as 0:00.
QString clockText(qint64 seconds);

// A length as the countdown page holds it: a number and one of its units.
struct CountdownFields
{
    qint64 number = 0;
    QString unit;
};

// The largest of Days, Hours, Minutes and Seconds that holds the length
// exactly: 90 minutes stay "90 Minutes" rather than 1.5 hours, two days of
// hours become "2 Days".
CountdownFields countdownFields(qint64 seconds);

} // namespace Duration
