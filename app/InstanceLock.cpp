#include "app/InstanceLock.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(const QString &path)
    : m_path(path)
{
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        close(m_fd);
}

InstanceLock::Result InstanceLock::tryLock()
{
    if (m_fd < 0) {
        // O_NOFOLLOW: the folder is the user's own, but a link here would
        // still lock some other file.
        m_fd = open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return Result::Failed;
    }
    // Nothing is written and nothing synced: a start never waits on the disk.
    if (flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return Result::Taken;
    return errno == EWOULDBLOCK ? Result::Held : Result::Failed;
}
