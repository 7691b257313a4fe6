#include "controls/Alerts.h"

#include <QCoreApplication>

// Every text here is looked up in the catalogue of the "Alerts" context, so
// an alert reads in the user's language; English is the source.
namespace {
QString translated(const char *text)
{
    return QCoreApplication::translate("Alerts", text);
}
} // namespace

QString AlertText::title(AlertKind kind)
{
    switch (kind) {
    case AlertKind::Error:
        return translated(QT_TRANSLATE_NOOP("Alerts", "Error!"));
    case AlertKind::Reminder:
        break;
    }
    return translated(QT_TRANSLATE_NOOP("Alerts", "Reminder"));
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
        QT_TRANSLATE_NOOP("Alerts",
            "The system refused: polkit would have asked for a password, or another program holds a lock that "
            "blocks it. Make sure your session is the active local one and no update is running.")},
    {-113, QT_TRANSLATE_NOOP("Alerts", "No one answered: systemd-logind or the session manager is not running.")},
    {-2, QT_TRANSLATE_NOOP("Alerts", "There is no D-Bus connection: the bus socket is missing.")},
    {-110,
        QT_TRANSLATE_NOOP(
            "Alerts", "No answer came in time. The request was delivered, so it may still be carried out.")},
    {-115, QT_TRANSLATE_NOOP("Alerts", "The system is busy with another shutdown or sleep. Try again in a moment.")},
    {-95, QT_TRANSLATE_NOOP("Alerts", "This computer cannot do that here, for example it cannot suspend.")},
    {-53,
        QT_TRANSLATE_NOOP(
            "Alerts", "The service does not know this request: it may be too old or not the one Morvane expects.")},
    {-6, QT_TRANSLATE_NOOP("Alerts", "Morvane does not run inside a logind session, so there is no session to end.")},
    {-1, QT_TRANSLATE_NOOP("Alerts", "The system does not allow this operation for your user.")},
    {1, QT_TRANSLATE_NOOP("Alerts", "There is no way to turn the display off here.")},
};
} // namespace

QString AlertText::failedAction(int status, const QString &why)
{
    if (!why.isEmpty())
        return QString::number(status) + QLatin1Char('\n') + why;
    const char *text = QT_TRANSLATE_NOOP(
        "Alerts", "The system did not carry out the action. See Morvane's help for what the number means.");
    for (const Meaning &meaning : Meanings) {
        if (meaning.status == status)
            text = meaning.text;
    }
    return QString::number(status) + QLatin1Char('\n') + translated(text);
}

QString AlertText::missingScript()
{
    return translated(QT_TRANSLATE_NOOP("Alerts", "The script file does not exist"));
}

QString AlertText::illegalNumber()
{
    return translated(QT_TRANSLATE_NOOP("Alerts", "Illegal Number!"));
}

QString AlertText::unknownUnit()
{
    return translated(
        QT_TRANSLATE_NOOP("Alerts", "Choose a unit from the list: Years, Months, Days, Hours, Minutes or Seconds."));
}

QString AlertText::datePassed()
{
    return translated(QT_TRANSLATE_NOOP("Alerts", "The date has passed. Choose a date and time later than now."));
}

QString AlertText::timeSkipped()
{
    return translated(QT_TRANSLATE_NOOP("Alerts",
        "That time does not exist here: the clock skips it as summer time begins. Choose a time outside the "
        "skipped hour."));
}

QString AlertText::closeRefused()
{
    return translated(QT_TRANSLATE_NOOP("Alerts", "You can not close the application when timing task is running!"));
}
