#include "app/SingleInstance.h"

#include "controls/Log.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <ctime>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// Each message is its size as four bytes, then its body.
constexpr qsizetype HeaderBytes = 4;
constexpr auto StreamVersion = QDataStream::Qt_6_0;
// Past the deadline the later start may still be reading the answer to a
// hand-over carried out just before it; this long it waits for that.
constexpr qint64 AnswerGraceMs = 1000;
// A connection that never sends its whole command line is dropped.
constexpr int ConnectionLimitMs = 10000;
// How often a start that lost the lock looks again for the winner's socket.
constexpr int RetryMs = 20;

// CLOCK_MONOTONIC is one clock for every process of the machine, so a
// deadline in it means the same moment to both ends.
qint64 monotonicMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

QByteArray framed(const QByteArray &body)
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << quint32(body.size());
    return message + body;
}

quint32 sizeIn(const QByteArray &header)
{
    QDataStream in(header);
    in.setVersion(StreamVersion);
    quint32 size = 0;
    in >> size;
    return size;
}

// Waits until fd is ready for events or the deadline passes.
bool waitFor(int fd, short events, qint64 deadlineMs)
{
    for (;;) {
        const qint64 left = deadlineMs - monotonicMs();
        if (left <= 0)
            return false;
        pollfd entry {fd, events, 0};
        const int ready = poll(&entry, 1, int(left));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

bool writeAll(int fd, const QByteArray &data, qint64 deadlineMs)
{
    qsizetype done = 0;
    while (done < data.size()) {
        if (!waitFor(fd, POLLOUT, deadlineMs))
            return false;
        const ssize_t n = send(fd, data.constData() + done, size_t(data.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        if (n > 0)
            done += n;
    }
    return true;
}

// Exactly size bytes, or nothing when the other end closes or the deadline
// passes first.
std::optional<QByteArray> readExactly(int fd, qsizetype size, qint64 deadlineMs)
{
    QByteArray data(size, Qt::Uninitialized);
    qsizetype done = 0;
    while (done < size) {
        if (!waitFor(fd, POLLIN, deadlineMs))
            return std::nullopt;
        const ssize_t n = recv(fd, data.data() + done, size_t(size - done), 0);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return std::nullopt;
        if (n > 0)
            done += n;
    }
    return data;
}

// A connected local socket, or -1 when nobody listens at path.
int connectTo(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address {};
    if (size_t(name.size()) >= sizeof(address.sun_path))
        return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    // A local connect completes at once or not at all; a listener that is
    // stopped still takes it into its backlog.
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

QString sessionName()
{
    QByteArray session = qgetenv("XDG_SESSION_ID");
    if (session.isEmpty())
        session = qgetenv("DISPLAY");
    // The session names one file in the folder, never a path.
    return QString::fromLocal8Bit(session).replace(QLatin1Char('/'), QLatin1Char('_'));
}
} // namespace

QString SingleInstance::socketPath()
{
    const QString name = QStringLiteral("morvane-%1").arg(sessionName());
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty())
        return isPrivateFolder(runtime) ? QDir(runtime).filePath(name) : QString();
    // In the shared folder for temporary files another user may have made
    // the folder first, or a link in its place: then it is not ours to use.
    const QString own = QDir(QDir::tempPath()).filePath(QStringLiteral("morvane-%1").arg(geteuid()));
    if (mkdir(QFile::encodeName(own).constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    return isPrivateFolder(own) ? QDir(own).filePath(name) : QString();
}

bool SingleInstance::isPrivateFolder(const QString &path)
{
    struct stat info
    {
    };
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

std::optional<uid_t> SingleInstance::peerUid(int fd)
{
    ucred credentials {};
    socklen_t size = sizeof(credentials);
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof(credentials))
        return std::nullopt;
    return credentials.uid;
}

SingleInstance::HandOver SingleInstance::handOver(const QString &path, const QStringList &arguments, int timeoutMs)
{
    HandOver result;
    const int fd = connectTo(path);
    if (fd < 0)
        return result;
    const auto closing = qScopeGuard([fd] { close(fd); });

    // Before one byte goes out: the command line may name a script, and
    // whoever answers decides what this start prints.
    const std::optional<uid_t> peer = peerUid(fd);
    if (!peer || *peer != geteuid()) {
        result.status = HandOver::Stranger;
        result.peer = peer.value_or(uid_t(-1));
        return result;
    }

    const qint64 deadline = monotonicMs() + timeoutMs;
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << deadline << arguments;
    if (body.size() > MaxMessageBytes) {
        result.status = HandOver::TooLong;
        return result;
    }

    // The running Morvane acts only before the deadline; an answer sent
    // just before it may still be on its way.
    const qint64 waitUntil = deadline + AnswerGraceMs;
    result.status = HandOver::NoAnswer;
    if (!writeAll(fd, framed(body), deadline))
        return result;
    const std::optional<QByteArray> header = readExactly(fd, HeaderBytes, waitUntil);
    if (!header || sizeIn(*header) > quint32(MaxMessageBytes))
        return result;
    const std::optional<QByteArray> answer = readExactly(fd, sizeIn(*header), waitUntil);
    if (!answer)
        return result;
    QDataStream in(*answer);
    in.setVersion(StreamVersion);
    qint32 status = 0;
    in >> status >> result.reply.text;
    if (in.status() != QDataStream::Ok)
        return result;
    result.reply.status = status;
    result.status = HandOver::Answered;
    return result;
}

SingleInstance::Claim SingleInstance::claim(const QString &path, const QStringList &arguments, int timeoutMs)
{
    const qint64 deadline = monotonicMs() + timeoutMs;
    auto lock = std::make_unique<InstanceLock>(path + QStringLiteral(".lock"));
    for (;;) {
        const qint64 left = deadline - monotonicMs();
        HandOver handed = handOver(path, arguments, int(qMax<qint64>(left, 0)));
        if (handed.status != HandOver::NoneRunning)
            return {handed, nullptr};
        const InstanceLock::Result locked = lock->tryLock();
        if (locked == InstanceLock::Result::Taken)
            return {handed, std::move(lock)};
        if (locked == InstanceLock::Result::Failed) {
            qCWarning(lcMorvane) << "Cannot lock" << path << "- this Morvane runs on its own";
            return {handed, nullptr};
        }
        // Another start holds the lock and is about to listen.
        if (left <= 0) {
            handed.status = HandOver::NoAnswer;
            return {handed, nullptr};
        }
        QThread::msleep(RetryMs);
    }
}

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection())
            serve(socket);
    });
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::listen(const QString &path, std::unique_ptr<InstanceLock> lock, Answer answer)
{
    m_lock = std::move(lock);
    m_answer = std::move(answer);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path);
    if (m_server.listen(path))
        return true;
    qCWarning(lcMorvane) << "Cannot listen on" << path << m_server.errorString() << "- this Morvane runs on its own";
    return false;
}

void SingleInstance::serve(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Before anything is read: another user's command line is not ours to
    // carry out, and nothing is told to them.
    const std::optional<uid_t> peer = peerUid(int(socket->socketDescriptor()));
    if (!peer || *peer != geteuid()) {
        qCWarning(lcMorvane) << "Refused a hand-over from user" << (peer ? qint64(*peer) : -1);
        socket->abort();
        socket->deleteLater();
        return;
    }
    // Enough for the largest command line: a longer one is refused by its
    // size before it is read, and is never held in memory.
    socket->setReadBufferSize(HeaderBytes + MaxMessageBytes);
    QTimer::singleShot(ConnectionLimitMs, socket, [socket] { socket->abort(); });

    const auto reply = [socket](const Reply &what) {
        QByteArray body;
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        out << qint32(what.status) << what.text;
        socket->write(framed(body));
        socket->flush();
        socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket, reply] {
        if (socket->bytesAvailable() < HeaderBytes)
            return;
        const quint32 size = sizeIn(socket->peek(HeaderBytes));
        if (size > quint32(MaxMessageBytes)) {
            reply({2,
                QStringLiteral("morvane: ")
                    + QCoreApplication::translate(
                        "SingleInstance", "The command line is longer than %1 KiB; Morvane took none of it.")
                          .arg(MaxMessageBytes / 1024)});
            return;
        }
        if (socket->bytesAvailable() < HeaderBytes + qint64(size))
            return;
        socket->skip(HeaderBytes);
        QDataStream in(socket->read(size));
        in.setVersion(StreamVersion);
        qint64 deadline = 0;
        QStringList arguments;
        in >> deadline >> arguments;
        if (in.status() != QDataStream::Ok) {
            socket->abort();
            return;
        }
        // A start that waited in vain has said so and is gone; carrying its
        // command line out now would do what it reported as failed.
        if (monotonicMs() >= deadline) {
            qCWarning(lcMorvane) << "Dropped a hand-over that came after its start stopped waiting";
            socket->abort();
            return;
        }
        reply(m_answer(arguments));
    });
}
