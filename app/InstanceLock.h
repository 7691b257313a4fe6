#pragma once

#include <QString>

// The lock that makes one start of Morvane the one that listens: an
// advisory lock (flock) on a file beside the socket. The system lets go of
// it when its holder ends, however it ends, so a lock is never left stale.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &path);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    enum class Result {
        Taken,
        Held, // another process holds it
        Failed, // the file cannot be made or locked at all
    };
    // Takes the lock without waiting.
    Result tryLock();

private:
    QString m_path;
    int m_fd = -1;
};
