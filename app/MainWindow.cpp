#include "app/MainWindow.h"

#include "app/WindowDelegate.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::setDelegate(WindowDelegate *delegate)
{
    m_delegate = delegate;
}

QGroupBox *MainWindow::aBox1() const
{
    return m_ui->aBox1;
}

QGroupBox *MainWindow::aBox2() const
{
    return m_ui->aBox2;
}

TaggedTabView *MainWindow::tabview1() const
{
    return m_ui->tabview1;
}

TaggedTabView *MainWindow::tabview2() const
{
    return m_ui->tabview2;
}

QList<QAction *> MainWindow::menuItems() const
{
    return {m_ui->actionAbout, m_ui->actionHelp, m_ui->actionQuit};
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_delegate && !m_delegate->windowShouldClose(this)) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
