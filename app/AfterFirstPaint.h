#pragma once

#include <QObject>
#include <QPointer>
#include <QWindow>

#include <functional>

class QWidget;

// Runs work once a window has been painted for the first time: what a
// start needs but the user does not see at once waits until the window is
// on the screen. The window system's first expose is the signal, as Qt
// paints the window while it handles it; a platform that never exposes the
// window runs the work after a short wait instead.
class AfterFirstPaint : public QObject
{
    Q_OBJECT

public:
    // Call right after window->show(). The object deletes itself once the
    // work has run.
    static void run(QWidget *window, std::function<void()> work);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AfterFirstPaint(QWindow *window, std::function<void()> work);
    void runOnce();

    QPointer<QWindow> m_window;
    std::function<void()> m_work;
};
