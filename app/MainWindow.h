#pragma once

#include <QMainWindow>
#include <memory>

namespace Ui {
class MainWindow;
}
class QAbstractButton;
class QAction;
class QGroupBox;
class TaggedTabView;
class WindowDelegate;

// Morvane's one main window, built from resources/MainWindow.ui. It holds no
// logic of its own: its delegate decides whether it may close, and the
// controls themselves are the record of the task being edited.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void setDelegate(WindowDelegate *delegate);

    // The outlets the controller keeps; everything else is found by tag.
    QGroupBox *aBox1() const;
    QGroupBox *aBox2() const;
    TaggedTabView *tabview1() const;
    TaggedTabView *tabview2() const;

    // "Postpone 10 minutes", shown while a task runs; PostponeButton
    // gives it its route.
    QAbstractButton *postponeButton() const;

    // Menu items that send control events: About, Help, Quit.
    QList<QAction *> menuItems() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    // Enter that no control took presses Run, the window's default button,
    // as in any dialog.
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::MainWindow> m_ui;
    WindowDelegate *m_delegate = nullptr;
};
