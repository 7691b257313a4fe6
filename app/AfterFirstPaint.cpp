#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
// Long after any first paint seen: the work may not wait for ever.
constexpr int FallbackMs = 1000;
} // namespace

void AfterFirstPaint::run(QWidget *window, std::function<void()> work)
{
    QWindow *handle = window ? window->windowHandle() : nullptr;
    if (!handle) {
        QTimer::singleShot(0, std::move(work));
        return;
    }
    new AfterFirstPaint(handle, std::move(work));
}

AfterFirstPaint::AfterFirstPaint(QWindow *window, std::function<void()> work)
    : QObject(window)
    , m_window(window)
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
    work();
    deleteLater();
}
