#pragma once

#include "actions/TaskNotifier.h"

#include <QDBusConnection>
#include <QObject>

// The warning as a desktop notification: org.freedesktop.Notifications on
// the session bus, with one action, "Stop". Every call is asynchronous, so a
// slow or hung notification service never holds up the countdown; the
// action button's signal arrives through Qt's event loop.
class DesktopNotifier : public QObject, public TaskNotifier
{
    Q_OBJECT

public:
    // appId names the desktop entry and the icon the service may show.
    explicit DesktopNotifier(
        const QString &appId, const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    void show(const QString &summary, const QString &body) override;
    void withdraw() override;
    void setStopHandler(std::function<void()> handler) override;
    void setPostponeHandler(std::function<void()> handler) override;
    void tell(const QString &summary, const QString &body) override;

private slots:
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    void close(uint id);
    QDBusMessage notification(uint replaces, const QString &summary, const QString &body, const QStringList &actions);

    QDBusConnection m_bus;
    QString m_appId;
    std::function<void()> m_stop;
    std::function<void()> m_postpone;
    // The id the service gave the warning shown, 0 while none is; the next
    // warning replaces it.
    uint m_id = 0;
    // Whether the last request was to show one: an id that arrives after
    // the warning was withdrawn is closed at once.
    bool m_wanted = false;
};
