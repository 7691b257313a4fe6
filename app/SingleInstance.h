#pragma once

#include "app/InstanceLock.h"

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

#include <sys/types.h>

class QLocalSocket;

// One Morvane for each user and session: the first start takes a lock and
// listens on a local socket, and every later start hands it its command
// line over that socket and prints what it answers. Both ends make sure the
// other is the same user before anything is read or sent, and a hand-over is
// carried out only while the later start still waits for its answer. No
// widgets: a later start needs no display, not even an application object.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // A hand-over is one command line; anything larger is refused unread.
    static constexpr qsizetype MaxMessageBytes = qsizetype(64) * 1024;
    // How long a later start waits for the running Morvane.
    static constexpr int DefaultTimeoutMs = 5000;

    // What the running Morvane did with a command line: the exit status for
    // the later start and what it prints on standard error (may be empty).
    struct Reply
    {
        int status = 0;
        QString text;
    };
    using Answer = std::function<Reply(const QStringList &)>;

    // What became of a hand-over.
    struct HandOver
    {
        enum Status {
            NoneRunning, // nobody listens: this start may be the one
            Answered, // the Morvane running answered with reply
            NoAnswer, // something listens but did not answer in time
            Stranger, // another user's process holds the socket: nothing was sent
            TooLong, // the command line is over the limit: nothing was sent
        };
        Status status = NoneRunning;
        Reply reply;
        // The user at the other end, for Stranger.
        uid_t peer = 0;
    };

    // What a start found: the lock is set when this start is the one Morvane
    // (it then listens with it); otherwise handOver says what happened.
    struct Claim
    {
        HandOver handOver;
        std::unique_ptr<InstanceLock> lock;
    };

    // The socket of this user's Morvane in this session,
    // "morvane-<XDG_SESSION_ID, else DISPLAY>" in XDG_RUNTIME_DIR, else in a
    // folder "morvane-<uid>" of the user's own in the folder for temporary
    // files. Empty when neither is a folder only this user may enter: then
    // each start runs on its own.
    static QString socketPath();

    // True when path is a folder (not a link to one) that belongs to this
    // user and that nobody else may read, write or enter.
    static bool isPrivateFolder(const QString &path);

    // The user at the other end of a connected local socket; nothing when
    // the system does not say.
    static std::optional<uid_t> peerUid(int fd);

    // Sends the arguments to the Morvane listening on path and waits up to
    // timeoutMs for its answer. Only this user's Morvane is told anything.
    static HandOver handOver(const QString &path, const QStringList &arguments, int timeoutMs = DefaultTimeoutMs);

    // Hands the arguments over, or takes the lock next to the socket when
    // nobody listens. Among starts at the same moment one takes the lock
    // and the others hand over to it once it listens. A lock that cannot
    // be made at all leaves this start on its own (no lock, NoneRunning).
    static Claim claim(const QString &path, const QStringList &arguments, int timeoutMs = DefaultTimeoutMs);

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // Listens on path, holding lock (from claim()) for the life of this
    // object; whatever sits at path is a leftover, as the lock is ours. Each
    // later start's arguments go to answer, whose reply travels back to it.
    // False when listening fails: Morvane then runs on alone.
    bool listen(const QString &path, std::unique_ptr<InstanceLock> lock, Answer answer);

private:
    void serve(QLocalSocket *socket);

    QLocalServer m_server;
    std::unique_ptr<InstanceLock> m_lock;
    Answer m_answer;
};
