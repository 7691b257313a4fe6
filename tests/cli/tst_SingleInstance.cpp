// The hand-over between two starts of Morvane: where its socket may live,
// that each end talks only to its own user, that a start reported as failed
// is never carried out later, that simultaneous starts leave one window, and
// that an oversized command line is refused unread. The other user is
// "nobody", taken on by a forked child when the test runs as root.

#include "app/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cstring>
#include <functional>
#include <limits>
#include <thread>

#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QStringList Arguments {"morvane", "--action", "sleep", "--in", "5m"};

// Another user than the test's; nothing when the test may not become one.
std::optional<uid_t> otherUser()
{
    const passwd *nobody = getpwnam("nobody");
    if (geteuid() != 0 || !nobody)
        return std::nullopt;
    return nobody->pw_uid;
}

// A local socket connected to path, or listening on it; -1 when it fails.
int openRaw(const QString &path, bool listening)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const auto *at = reinterpret_cast<const sockaddr *>(&address);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listening ? bind(fd, at, sizeof(address)) == 0 && listen(fd, 1) == 0 : connect(fd, at, sizeof(address)) == 0)
        return fd;
    close(fd);
    return -1;
}

// Everything fd receives until it is closed or quiet for a second.
QByteArray drain(int fd)
{
    QByteArray received;
    char buffer[4096];
    pollfd entry {fd, POLLIN, 0};
    while (poll(&entry, 1, 1000) > 0) {
        const ssize_t n = read(fd, buffer, sizeof(buffer));
        if (n <= 0)
            break;
        received.append(buffer, n);
    }
    return received;
}

// A message as the two ends frame it: the size announced, then the body.
QByteArray message(quint32 size, const QByteArray &body)
{
    QByteArray header;
    QDataStream(&header, QIODevice::WriteOnly) << size;
    return header + body;
}

// What the socket at path answers to data.
QByteArray exchange(const QString &path, const QByteArray &data)
{
    const int fd = openRaw(path, false);
    const bool sent = fd >= 0 && write(fd, data.constData(), size_t(data.size())) == data.size();
    QByteArray answer = sent ? drain(fd) : "not sent";
    close(fd);
    return answer;
}

// Runs body in a child process as the other user; its exit status is what
// body returns. It ends itself after ten seconds, should the test fail.
pid_t forkAsOtherUser(const std::function<int()> &body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(10);
        _exit(setgid(*otherUser()) == 0 && setuid(*otherUser()) == 0 ? body() : 99);
    }
    return pid;
}

// The child's exit status, while this process's event loop runs meanwhile.
int exitStatus(pid_t pid)
{
    int status = -1;
    while (waitpid(pid, &status, WNOHANG) == 0)
        QTest::qWait(5);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A morvane binary's environment when its socket is "morvane-tst" in runtime.
QProcessEnvironment runtimeEnvironment(const QString &runtime)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime);
    environment.insert("XDG_SESSION_ID", "tst");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    return environment;
}

// The running Morvane's side: answers each command line and counts them.
struct Listener
{
    SingleInstance instance;
    int calls = 0;

    bool listen(const QString &path)
    {
        auto lock = std::make_unique<InstanceLock>(path + ".lock");
        return lock->tryLock() == InstanceLock::Result::Taken
            && instance.listen(path, std::move(lock), [this](const QStringList &) {
                   ++calls;
                   return SingleInstance::Reply {0, "taken"};
               });
    }
};

// Runs start on another thread, as a later start of Morvane, while this
// thread stays deaf for deafMs (as a Morvane stopped with SIGSTOP) and then
// runs its event loop until start is done and what it queued had its chance.
void aside(const std::function<void()> &start, int deafMs)
{
    std::atomic<bool> done = false;
    std::thread thread([&] {
        start();
        done = true;
    });
    QThread::msleep(deafMs);
    while (!done)
        QTest::qWait(5);
    thread.join();
    QTest::qWait(200);
}

// What became of a hand-over made aside.
QString handOverAside(const QString &path, const QStringList &arguments, int timeoutMs, int deafMs)
{
    SingleInstance::HandOver handed;
    aside([&] { handed = SingleInstance::handOver(path, arguments, timeoutMs); }, deafMs);
    const char *names[] = {"none running", "answered", "no answer", "stranger", "too long"};
    return names[handed.status] + QString(" ") + handed.reply.text;
}
} // namespace

class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void socketFolder_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("used");
        QTest::newRow("runtime folder of the user's own") << "private" << true;
        QTest::newRow("runtime folder others may enter") << "open" << false;
        QTest::newRow("runtime folder behind a link") << "link" << false;
        QTest::newRow("no runtime folder: one made in tmp") << "none" << true;
        QTest::newRow("no runtime folder, tmp's taken by another") << "none, taken" << false;
    }

    void socketFolder()
    {
        QFETCH(QString, layout);
        QFETCH(bool, used);
        if (layout == "none, taken" && !otherUser())
            QSKIP("Needs root to make a folder of another user");
        QTemporaryDir root;
        const QString runtime = root.filePath("runtime");
        const QString folder
            = layout.startsWith("none") ? root.filePath(QString("morvane-%1").arg(geteuid())) : runtime;
        QVERIFY(QDir().mkdir(runtime) && QFile::link(runtime, root.filePath("link")));
        chmod(QFile::encodeName(runtime), layout == "open" ? 0755 : 0700);
        // Another user made the folder first, as private as it should be.
        if (layout == "none, taken")
            QVERIFY(QDir().mkdir(folder) && chmod(QFile::encodeName(folder), 0700) == 0
                && chown(QFile::encodeName(folder), *otherUser(), *otherUser()) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.filePath(layout == "link" ? "link" : "runtime")));
        if (layout.startsWith("none"))
            qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(root.path()));
        qputenv("XDG_SESSION_ID", "7");
        const QString path = SingleInstance::socketPath();
        qunsetenv("TMPDIR");
        // The folder made in tmp passes the same checks as a runtime folder.
        QCOMPARE(path, used ? QDir(folder).filePath("morvane-7") : QString());
    }

    void onlyOwnUser_data()
    {
        QTest::addColumn<bool>("strangerListens");
        QTest::newRow("listener of another user") << true;
        QTest::newRow("start of another user") << false;
    }

    // Nothing goes either way between two users: the other end hears and is
    // answered nothing, and nothing is carried out.
    void onlyOwnUser()
    {
        QFETCH(bool, strangerListens);
        if (!otherUser())
            QSKIP("Needs root to run the other end as another user");
        QTemporaryDir folder;
        // The other user must reach the socket, so that Morvane refuses it
        // rather than the file system.
        chmod(QFile::encodeName(folder.path()), 0777);
        const QString path = folder.filePath("morvane-tst");
        Listener listener;
        QVERIFY(strangerListens || listener.listen(path));
        chmod(QFile::encodeName(path), 0666);
        // A well-formed command line, whose deadline never passes.
        QByteArray body;
        QDataStream(&body, QIODevice::WriteOnly) << std::numeric_limits<qint64>::max() << Arguments;
        const QByteArray sent = message(quint32(body.size()), body);
        const pid_t other = forkAsOtherUser([&] {
            if (!strangerListens)
                return exchange(path, sent).isEmpty() ? 0 : 1;
            const int fd = openRaw(path, true);
            return fd >= 0 && drain(accept(fd, nullptr, nullptr)).isEmpty() ? 0 : 1;
        });
        if (strangerListens) {
            // Taken first by another user's program: a start with that
            // socket in its runtime folder refuses and opens no window.
            QTRY_VERIFY(QFile::exists(path));
            QThread::msleep(100);
            chmod(QFile::encodeName(folder.path()), 0700);
            QProcess morvane;
            morvane.setProcessEnvironment(runtimeEnvironment(folder.path()));
            morvane.start(MORVANE_BINARY, Arguments.mid(1));
            QVERIFY(morvane.waitForFinished(10000));
            QCOMPARE(morvane.exitCode(), 1);
            const QString printed = QString::fromLocal8Bit(morvane.readAllStandardError());
            QVERIFY2(printed.contains(QString("%1 is held by another user (uid %2)").arg(path).arg(*otherUser())),
                qPrintable(printed));
        }
        QCOMPARE(exitStatus(other), 0);
        QCOMPARE(listener.calls, 0);
    }

    void handOver_data()
    {
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("deafMs");
        QTest::addColumn<QString>("handOver");
        QTest::newRow("answered at once") << 0 << 0 << "answered taken";
        QTest::newRow("answered late, within the wait") << 0 << 200 << "answered taken";
        QTest::newRow("stopped past the wait") << 0 << 600 << "no answer ";
        QTest::newRow("stopped until the start gave up") << 0 << 1600 << "no answer ";
        QTest::newRow("a long command line") << 30000 << 0 << "answered taken";
        QTest::newRow("over the limit, kept by the start") << 40000 << 0 << "too long ";
    }

    // Carried out only while the start waits, and only up to the size limit.
    void handOver()
    {
        QFETCH(int, characters);
        QFETCH(int, deafMs);
        QFETCH(QString, handOver);
        QTemporaryDir folder;
        Listener listener;
        QVERIFY(listener.listen(folder.filePath("morvane-test")));
        const QStringList arguments = Arguments + QStringList {QString(characters, 'x')};
        QCOMPARE(handOverAside(folder.filePath("morvane-test"), arguments, 400, deafMs), handOver);
        QCOMPARE(listener.calls, handOver.startsWith("answered") ? 1 : 0);
    }

    // Another program may announce any size; the listener refuses it unread.
    void refusesOversized()
    {
        QTemporaryDir folder;
        Listener listener;
        QVERIFY(listener.listen(folder.filePath("morvane-test")));
        QByteArray received;
        aside([&] { received = exchange(folder.filePath("morvane-test"), message(1 << 30, QByteArray(1 << 16, 'x'))); },
            0);
        QByteArray refusal;
        QDataStream out(&refusal, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << qint32(2) << QString("morvane: The command line is longer than 64 KiB; Morvane took none of it.");
        QCOMPARE(received, message(quint32(refusal.size()), refusal));
        QCOMPARE(listener.calls, 0);
    }

    // Simultaneous starts: the others hand over to the one that listens and end.
    void oneWinner()
    {
        QTemporaryDir runtime;
        std::vector<std::unique_ptr<QProcess>> morvanes(4);
        for (auto &morvane : morvanes) {
            morvane = std::make_unique<QProcess>();
            morvane->setProcessEnvironment(runtimeEnvironment(runtime.path()));
            morvane->setProcessChannelMode(QProcess::ForwardedChannels);
            morvane->start(MORVANE_BINARY, {});
        }
        const auto running = [&] {
            return std::count_if(
                morvanes.begin(), morvanes.end(), [](const auto &p) { return p->state() != QProcess::NotRunning; });
        };
        QTRY_COMPARE_WITH_TIMEOUT(running(), 1, 15000);
        QTest::qWait(300);
        QCOMPARE(running(), 1);
        for (auto &morvane : morvanes) {
            QVERIFY(morvane->state() != QProcess::NotRunning || morvane->exitCode() == 0);
            morvane->terminate();
            morvane->waitForFinished(5000);
        }
    }
};

QTEST_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
