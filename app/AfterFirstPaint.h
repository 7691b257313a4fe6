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
    // Call before or right after window->show(): whether the window waits
    // for its first paint is decided once the event loop runs. A window not
    // shown by then, or painted already, runs the work there and then. The
    // work never runs once the window or the context (which the work may
    // use; not null) is gone; the object deletes itself once the work has
    // run.
    static void run(QWidget *window, QObject *context, std::function<void()> work);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AfterFirstPaint(QWindow *window, QObject *context, std::function<void()> work);
    void runOnce();

    QPointer<QWindow> m_window;
    QPointer<QObject> m_context;
    std::function<void()> m_work;
};
