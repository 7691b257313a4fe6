#pragma once

#include <QObject>
#include <QPointer>

class QLineEdit;
class QWidget;

// The About window: built from resources/About.ui on first showing, then
// kept and brought forward again.
class AboutWindowController : public QObject
{
    Q_OBJECT

public:
    explicit AboutWindowController(QObject *parent = nullptr);
    ~AboutWindowController() override;

    void showWindow(QObject *sender);
    void windowDidLoad();
    void promptEvent(QObject *sender);

    QWidget *window() const;
    QLineEdit *aTextField() const;
    void setATextField(QLineEdit *field);

private:
    QPointer<QWidget> m_window;
    QPointer<QLineEdit> m_aTextField;
};
