#pragma once

#include "controls/AlertPresenter.h"

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

using Alerts = QList<QPair<QString, QString>>;

// Records the alerts Morvane would show instead of blocking on them, as
// (title, message). whileOpen, when set, runs as if the user waited with the
// alert open.
class RecordingAlertPresenter : public AlertPresenter
{
public:
    void showAlert(AlertKind kind, const QString &message) override
    {
        alerts.append({AlertText::title(kind), message});
        if (whileOpen)
            whileOpen();
    }

    Alerts alerts;
    std::function<void()> whileOpen;
};
