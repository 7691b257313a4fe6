#pragma once

#include "controls/AlertPresenter.h"
#include "tests/support/RecordingSystemActions.h"

#include <QStringList>

// Stand-ins for the system actions and the alert: they record the actions
// and the alerts ("Reminder: text"), and never touch the machine or block on
// a dialog.
using RecordingActions = RecordingSystemActions;

class RecordingAlerts : public AlertPresenter
{
public:
    void showAlert(AlertKind kind, const QString &message) override
    {
        alerts << AlertText::title(kind) + ": " + message;
    }

    QStringList alerts;
};
