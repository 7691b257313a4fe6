#include "app/HelpWindow.h"

#include "ui_HelpWindow.h"

HelpWindow::HelpWindow(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::HelpWindow>())
{
    m_ui->setupUi(this);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::showPage(const QUrl &page)
{
    m_ui->browser->setSource(page);
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::page() const
{
    return m_ui->browser->source();
}
