#include "controls/MessageBoxAlertPresenter.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

MessageBoxAlertPresenter::MessageBoxAlertPresenter(QWidget *parent)
    : m_parent(parent)
{
}

void MessageBoxAlertPresenter::showAlert(AlertKind kind, const QString &message)
{
    QMessageBox box(m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(kind == AlertKind::Error ? QMessageBox::Critical : QMessageBox::Information);
    // The heading goes into the box itself: a window title may have no room
    // (a narrow title bar) or not be drawn at all on some Wayland desktops.
    box.setWindowTitle(QStringLiteral("Morvane"));
    box.setText(AlertText::title(kind));
    box.setInformativeText(message);
    QPushButton *ok = box.addButton(QCoreApplication::translate("Alerts", "Ok"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}
