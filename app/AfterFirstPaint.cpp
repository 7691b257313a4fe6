#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
// Long after any first paint seen: the work may not wait for ever.
constexpr int FallbackMs = 1000;
} // namespace

void AfterFirstPaint::run(QWidget *window, QObject *context, std::function<void()> work)
{
    // The launch shows the window after its controller has set it up; by
    // the time the loop runs, the window is either on its way to the screen
    // or not shown at all.
    const bool watched = window != nullptr;
    QTimer::singleShot(0, context, [watched, window = QPointer<QWidget>(window), context, work = std::move(work)] {
        if (watched && !window)
            return;
        QWindow *handle = window && window->isVisible() ? window->windowHandle() : nullptr;
        if (!handle || handle->isExposed()) {
            work();
            return;
        }
        new AfterFirstPaint(handle, context, work);
    });
}

AfterFirstPaint::AfterFirstPaint(QWindow *window, QObject *context, std::function<void()> work)
    : QObject(window)
    , m_window(window)
    , m_context(context)
    , m_work(std::move(work))
{
    window->installEventFilter(this);
    QTimer::singleShot(FallbackMs, this, &AfterFirstPaint::runOnce);
}

bool AfterFirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    // Queued: the expose is painted and flushed once this event is handled.
    if (watched == m_window && event->type() == QEvent::Expose && m_window->isExposed())
        QMetaObject::invokeMethod(this, &AfterFirstPaint::runOnce, Qt::QueuedConnection);
    return false;
}

void AfterFirstPaint::runOnce()
{
    if (!m_work)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    const std::function<void()> work = std::move(m_work);
    m_work = nullptr;
    if (m_context)
        work();
    deleteLater();
}
