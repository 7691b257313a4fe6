#include "app/MainWindow.h"

#include "app/AccessibleControls.h"
#include "app/WindowDelegate.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
{
    AccessibleControls::install();
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

QAbstractButton *MainWindow::postponeButton() const
{
    return m_ui->postponeButton;
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

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == 0 && m_ui->runButton->isEnabled()) {
        // A click, so the press takes the button's own route to promptEvent().
        m_ui->runButton->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}
