#pragma once

#include "controls/AlertPresenter.h"

#include <QPointer>
#include <QWidget>

// The alert as the user sees it: an application-modal message box whose
// heading is the alert's title and whose window is titled "Morvane".
class MessageBoxAlertPresenter : public AlertPresenter
{
public:
    explicit MessageBoxAlertPresenter(QWidget *parent = nullptr);
    void showAlert(AlertKind kind, const QString &message) override;

private:
    QPointer<QWidget> m_parent;
};
