#pragma once

#include "controls/Alerts.h"

#include <QString>

// Shows a modal alert of a kind, with a message and one button "Ok", and
// returns once the user has dismissed it. The product shows a message box;
// tests hand in a presenter that records what would have been shown.
class AlertPresenter
{
public:
    virtual ~AlertPresenter() = default;
    virtual void showAlert(AlertKind kind, const QString &message) = 0;
};
