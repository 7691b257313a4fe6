#include "controls/Alerts.h"

QString AlertText::title(AlertKind kind)
{
    switch (kind) {
    case AlertKind::Error:
        return QStringLiteral("Error!");
    case AlertKind::Reminder:
        break;
    }
    return QStringLiteral("Reminder");
}

namespace {
struct Meaning
{
    int status;
    const char *text;
};

// The statuses that logind, the session managers and the display services
// were seen to answer, as negative errno values (1: no way to turn the
// display off).
constexpr Meaning Meanings[] = {
    {-13,
        "The system refused: polkit would have asked for a password, or another program holds a lock that "
        "blocks it. Make sure your session is the active local one and no update is running."},
    {-113, "No one answered: systemd-logind or the session manager is not running."},
    {-2, "There is no D-Bus connection: the bus socket is missing."},
    {-110, "No answer came in time. The request was delivered, so it may still be carried out."},
    {-115, "The system is busy with another shutdown or sleep. Try again in a moment."},
    {-95, "This computer cannot do that here, for example it cannot suspend."},
    {-53, "The service does not know this request: it may be too old or not the one Morvane expects."},
    {-6, "Morvane does not run inside a logind session, so there is no session to end."},
    {-1, "The system does not allow this operation for your user."},
    {1,
        "There is no way to turn the display off here: no GNOME or KDE display service, and no X server with "
        "display power control."},
};
} // namespace

QString AlertText::failedAction(int status)
{
    const char *text = "The system did not carry out the action. See Morvane's help for what the number means.";
    for (const Meaning &meaning : Meanings) {
        if (meaning.status == status)
            text = meaning.text;
    }
    return QString::number(status) + QLatin1Char('\n') + QLatin1String(text);
}
