#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

namespace Ui {
class About;
}
class QLabel;
class QDialog;
class QWidget;

// The About window: Morvane's name, icon, version and licence.
//
// The window is built from resources/About.ui on its first showing, then
// kept: closing it only hides it, and the next showing brings the same
// window forward again. Its controls send promptEvent(), as the main
// window's do to the application's controller.
class AboutWindowController : public QObject
{
    Q_OBJECT

public:
    explicit AboutWindowController(QObject *parent = nullptr);
    ~AboutWindowController() override;

    // Loads the window on the first call, then shows it and brings it to
    // the front. The sender is whoever asked; it is not looked at.
    void showWindow(QObject *sender);
    // Runs once, right after the window has been loaded.
    void windowDidLoad();
    // Closes the window when the sender is a button tagged as the About
    // window's close button; ignores every other sender.
    void promptEvent(QObject *sender);

    // The window, or null before the first showing.
    QWidget *window() const;
    QLabel *aTextField() const;
    void setATextField(QLabel *field);

private:
    void loadWindow();

    std::unique_ptr<Ui::About> m_ui;
    std::unique_ptr<QDialog> m_window;
    QPointer<QLabel> m_aTextField;
};
