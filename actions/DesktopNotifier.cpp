#include "actions/DesktopNotifier.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
const QString StopKey = QStringLiteral("stop");
const QString PostponeKey = QStringLiteral("postpone");
// Critical: services keep such a notification up until it is replaced or
// withdrawn, instead of letting it slip away while the user looks elsewhere.
constexpr uchar CriticalUrgency = 2;
// The service's own default.
constexpr int DefaultExpiry = -1;
} // namespace

DesktopNotifier::DesktopNotifier(const QString &appId, const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_appId(appId)
{
    m_bus.connect(
        Service, Path, Interface, QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(
        Service, Path, Interface, QStringLiteral("NotificationClosed"), this, SLOT(onNotificationClosed(uint, uint)));
}

void DesktopNotifier::show(const QString &summary, const QString &body)
{
    m_wanted = true;
    const QStringList actions {StopKey, QCoreApplication::translate("DesktopNotifier", "Stop"), PostponeKey,
        QCoreApplication::translate("DesktopNotifier", "Postpone 10 minutes")};
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(notification(m_id, summary, body, actions)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError())
            return;
        m_id = reply.value();
        if (!m_wanted)
            withdraw();
    });
}

void DesktopNotifier::withdraw()
{
    m_wanted = false;
    if (m_id == 0)
        return;
    close(m_id);
    m_id = 0;
}

void DesktopNotifier::setStopHandler(std::function<void()> handler)
{
    m_stop = std::move(handler);
}

void DesktopNotifier::setPostponeHandler(std::function<void()> handler)
{
    m_postpone = std::move(handler);
}

void DesktopNotifier::tell(const QString &summary, const QString &body)
{
    // A new notification of its own: the warnings' id is not touched, and
    // nothing withdraws it but the user.
    m_bus.asyncCall(notification(0, summary, body, {}));
}

QDBusMessage DesktopNotifier::notification(
    uint replaces, const QString &summary, const QString &body, const QStringList &actions)
{
    QDBusMessage notify = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    const QVariantMap hints {
        {QStringLiteral("urgency"), QVariant::fromValue(CriticalUrgency)}, {QStringLiteral("desktop-entry"), m_appId}};
    notify << QStringLiteral("Morvane") << replaces << m_appId << summary << body << actions << hints << DefaultExpiry;
    return notify;
}

void DesktopNotifier::onActionInvoked(uint id, const QString &actionKey)
{
    // The service sends every application's actions to everyone listening.
    if (id == 0 || id != m_id)
        return;
    if (actionKey == StopKey && m_stop)
        m_stop();
    else if (actionKey == PostponeKey && m_postpone)
        m_postpone();
}

void DesktopNotifier::onNotificationClosed(uint id, uint)
{
    // Closed by the user or expired: the next warning is a new one.
    if (id == m_id)
        m_id = 0;
}

void DesktopNotifier::close(uint id)
{
    QDBusMessage message
        = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("CloseNotification"));
    message << id;
    m_bus.asyncCall(message);
}
