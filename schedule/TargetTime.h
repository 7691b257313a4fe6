#pragma once

#include <QDateTime>
#include <QStringView>

#include <optional>

// The moment a command line names with --at, on the local clock. No widgets.
namespace TargetTime {

// "2026-12-24T18:00" (seconds may follow, a space may stand for the T) names
// that moment; "18:00" or "7:30:15" names the next time after now that the
// clock shows it, today or tomorrow. Nothing for any other text. A moment
// that has passed is still a moment, and a time the clock skips as summer
// time begins gives an invalid QDateTime: whether either may start a task is
// for the start checks to say.
std::optional<QDateTime> parse(QStringView text, const QDateTime &now);

} // namespace TargetTime
