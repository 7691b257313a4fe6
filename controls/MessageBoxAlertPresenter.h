#pragma once

#include "controls/AlertPresenter.h"

#include <QPointer>
#include <QWidget>

// The alert as the user sees it: an application-modal message box.
class MessageBoxAlertPresenter : public AlertPresenter
{
public:
    explicit MessageBoxAlertPresenter(QWidget *parent = nullptr);
    void showAlert(const QString &title, const QString &message) override;

private:
    QPointer<QWidget> m_parent;
};
