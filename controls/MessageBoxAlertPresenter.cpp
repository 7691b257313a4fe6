#include "controls/MessageBoxAlertPresenter.h"

#include <QMessageBox>
#include <QPushButton>

MessageBoxAlertPresenter::MessageBoxAlertPresenter(QWidget *parent)
    : m_parent(parent)
{
}

void MessageBoxAlertPresenter::showAlert(const QString &title, const QString &message)
{
    QMessageBox box(m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(title == QLatin1String("Error!") ? QMessageBox::Critical : QMessageBox::Information);
    box.setWindowTitle(title);
    box.setText(message);
    QPushButton *ok = box.addButton(QStringLiteral("Ok"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}
