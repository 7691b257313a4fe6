#pragma once

#include <QString>

// Shows a modal alert with a title, a message and one button "Ok", and
// returns once the user has dismissed it. The product shows a message box;
// tests hand in a presenter that records what would have been shown.
class AlertPresenter
{
public:
    virtual ~AlertPresenter() = default;
    virtual void showAlert(const QString &title, const QString &message) = 0;
};
