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
