#pragma once

#include "actions/SystemActions.h"
#include "controls/AlertPresenter.h"

#include <QStringList>

#include <functional>

// Stand-ins for the system actions and the alert: they count the actions
// and record the alerts ("Reminder: text"), and never touch the machine or
// block on a dialog.
class RecordingActions : public SystemActions
{
public:
    int sendPowerEvent(quint32) override { return record(); }
    int turnDisplayOff() override { return record(); }
    void runScript(const QString &) override { record(); }
    Readiness powerEventReadiness(quint32) override { return Readiness::Ready; }
    Readiness displayReadiness() override { return Readiness::Ready; }

    int calls = 0;
    // Runs inside every action, to look at the world at that moment.
    std::function<void()> onCall;

private:
    int record()
    {
        ++calls;
        if (onCall)
            onCall();
        return 0;
    }
};

class RecordingAlerts : public AlertPresenter
{
public:
    void showAlert(AlertKind kind, const QString &message) override
    {
        alerts << AlertText::title(kind) + ": " + message;
    }

    QStringList alerts;
};
