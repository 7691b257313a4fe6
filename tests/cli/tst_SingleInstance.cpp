// The hand-over between two starts of Morvane: where its socket may live,
// that each end talks only to its own user, that a start reported as failed
// is never carried out later, that simultaneous starts leave one window, and
// that an oversized command line is refused unread. The other user is
// "nobody", taken on by a forked child when the test runs as root.

#include "app/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <functional>
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

// A local socket connected to path, or -1.
int connectRaw(const QString &path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
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

// A message as a start frames it, announcing size bytes, with body after.
QByteArray message(quint32 size, const QByteArray &body)
{
    QByteArray header;
    QDataStream(&header, QIODevice::WriteOnly) << size;
    return header + body;
}

// A command line as a start sends it, with its deadline a minute ahead.
QByteArray commandLineMessage(const QStringList &arguments)
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << qint64(now.tv_sec * 1000 + 60000) << arguments;
    return message(quint32(body.size()), body);
}

// A child process running as another user; what it reports comes back as
// one number.
class OtherUser
{
public:
    OtherUser(uid_t uid, const std::function<int()> &body)
    {
        if (pipe(m_report) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(m_report[0]);
            const int result = setgid(uid) == 0 && setuid(uid) == 0 ? body() : -1;
            (void)!write(m_report[1], &result, sizeof(result));
            _exit(0);
        }
        close(m_report[1]);
    }
    ~OtherUser()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_report[0]);
    }
    // The child's number, while this process's event loop runs meanwhile.
    int result()
    {
        pollfd entry {m_report[0], POLLIN, 0};
        QElapsedTimer waited;
        waited.start();
        while (poll(&entry, 1, 0) == 0 && waited.elapsed() < 10000)
            QTest::qWait(5);
        int value = -1;
        (void)!read(m_report[0], &value, sizeof(value));
        return value;
    }

private:
    int m_report[2] = {-1, -1};
    pid_t m_pid = -1;
};

// The running Morvane's side: answers each command line with 0 and counts
// what it was given.
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

// A hand-over from another thread, as a later start sends it, while this
// thread stays deaf for deafMs (as a Morvane stopped with SIGSTOP) and then
// runs its event loop until the start has its answer.
SingleInstance::HandOver handOverAside(const QString &path, const QStringList &arguments, int timeoutMs, int deafMs)
{
    SingleInstance::HandOver result;
    std::atomic<bool> done = false;
    std::thread start([&] {
        result = SingleInstance::handOver(path, arguments, timeoutMs);
        done = true;
    });
    QThread::msleep(deafMs);
    // The start gives up by itself, so this ends.
    while (!done)
        QTest::qWait(5);
    start.join();
    // What was queued meanwhile gets its chance to run.
    QTest::qWait(200);
    return result;
}

QString describe(const SingleInstance::HandOver &handOver)
{
    const char *names[] = {"none running", "answered", "no answer", "stranger", "too long"};
    QString text = names[handOver.status];
    if (handOver.status == SingleInstance::HandOver::Answered)
        text += QString(" %1 %2").arg(handOver.reply.status).arg(handOver.reply.text);
    return text;
}
} // namespace

class tst_SingleInstance : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;

    QString socketPath() const { return m_folder.filePath("morvane-test"); }

private slots:
    void socketFolder_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("used");
        QTest::newRow("runtime folder of the user's own") << "private" << true;
        QTest::newRow("runtime folder others may enter") << "open" << false;
        QTest::newRow("runtime folder behind a link") << "link" << false;
        QTest::newRow("runtime folder of another user") << "stranger" << false;
        QTest::newRow("no runtime folder: one made in tmp") << "none" << true;
        QTest::newRow("no runtime folder, tmp's taken by another") << "none, taken" << false;
    }

    void socketFolder()
    {
        QFETCH(QString, layout);
        QFETCH(bool, used);
        if ((layout == "stranger" || layout == "none, taken") && !otherUser())
            QSKIP("Needs root to make a folder of another user");

        QTemporaryDir root;
        const QString runtime = root.filePath("runtime");
        QDir().mkdir(runtime);
        chmod(QFile::encodeName(runtime), layout == "open" ? 0755 : 0700);
        if (layout == "stranger")
            QCOMPARE(chown(QFile::encodeName(runtime), *otherUser(), *otherUser()), 0);
        QString folder = runtime;
        if (layout == "link") {
            QVERIFY(QFile::link(runtime, root.filePath("link")));
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.filePath("link")));
        } else if (layout.startsWith("none")) {
            qunsetenv("XDG_RUNTIME_DIR");
            qputenv("TMPDIR", QFile::encodeName(root.path()));
            folder = root.filePath(QString("morvane-%1").arg(geteuid()));
            if (layout == "none, taken") {
                QDir().mkdir(folder);
                QCOMPARE(chown(QFile::encodeName(folder), *otherUser(), *otherUser()), 0);
            }
        } else {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        }
        qputenv("XDG_SESSION_ID", "7");

        const QString path = SingleInstance::socketPath();
        qunsetenv("TMPDIR");
        QCOMPARE(path, used ? QDir(folder).filePath("morvane-7") : QString());
        if (used) {
            struct stat info
            {
            };
            QCOMPARE(lstat(QFile::encodeName(folder), &info), 0);
            QCOMPARE(info.st_mode & 0777, 0700u);
        }
    }

    void onlyOwnUser_data()
    {
        QTest::addColumn<QString>("stranger");
        QTest::addColumn<QString>("handOver");
        QTest::newRow("both ends the user's own") << ""
                                                  << "answered 0 taken";
        QTest::newRow("listener of another user") << "listener"
                                                  << "stranger";
        QTest::newRow("start of another user") << "start"
                                               << "";
    }

    void onlyOwnUser()
    {
        QFETCH(QString, stranger);
        QFETCH(QString, handOver);
        if (!stranger.isEmpty() && !otherUser())
            QSKIP("Needs root to run the other end as another user");
        QTemporaryDir folder;
        // The other user must reach the socket, so that Morvane refuses it
        // rather than the file system.
        chmod(QFile::encodeName(folder.path()), 0777);
        const QString path = folder.filePath("morvane-test");

        if (stranger == "listener") {
            // Another user's program took the name first; it hears nothing
            // and the start says who holds it.
            OtherUser other(*otherUser(), [&] {
                const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un address {};
                address.sun_family = AF_UNIX;
                std::strcpy(address.sun_path, QFile::encodeName(path).constData());
                if (bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0 || listen(fd, 1) != 0)
                    return -2;
                // This test's hand-over, then the morvane binary's.
                int heard = 0;
                for (int i = 0; i < 2; ++i)
                    heard += int(drain(accept(fd, nullptr, nullptr)).size());
                return heard;
            });
            QTRY_VERIFY(QFile::exists(path));
            QThread::msleep(100);
            const SingleInstance::HandOver handed = SingleInstance::handOver(path, Arguments, 2000);
            QCOMPARE(describe(handed), handOver);
            QCOMPARE(handed.peer, *otherUser());

            // A start whose own runtime folder holds that socket (moved
            // there; it stays the other user's) refuses and opens nothing.
            QTemporaryDir runtime;
            QVERIFY(QFile::rename(path, runtime.filePath("morvane-tst")));
            QProcess morvane;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("XDG_RUNTIME_DIR", runtime.path());
            environment.insert("XDG_SESSION_ID", "tst");
            morvane.setProcessEnvironment(environment);
            morvane.start(MORVANE_BINARY, {"--action", "sleep", "--in", "5m"});
            QVERIFY(morvane.waitForFinished(10000));
            QCOMPARE(morvane.exitCode(), 1);
            const QString printed = QString::fromLocal8Bit(morvane.readAllStandardError());
            QCOMPARE(printed,
                QString("morvane: Morvane's socket %1 is held by another user (uid %2). Nothing was sent to it, and no "
                        "window opens while it is held.\n")
                    .arg(runtime.filePath("morvane-tst"))
                    .arg(*otherUser()));
            QCOMPARE(other.result(), 0);
            return;
        }

        Listener listener;
        QVERIFY(listener.listen(path));
        if (stranger == "start") {
            QFile::setPermissions(path,
                QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            // A well-formed command line from another user: not carried
            // out, and not a byte of answer.
            const QByteArray sent = commandLineMessage(Arguments);
            OtherUser other(*otherUser(), [&] {
                const int fd = connectRaw(path);
                if (fd < 0 || write(fd, sent.constData(), size_t(sent.size())) != sent.size())
                    return -2;
                return int(drain(fd).size());
            });
            QCOMPARE(other.result(), 0);
            QCOMPARE(listener.calls, 0);
            return;
        }
        QCOMPARE(describe(handOverAside(path, Arguments, 2000, 0)), handOver);
        QCOMPARE(listener.calls, 1);
    }

    void onlyWhileWaited_data()
    {
        QTest::addColumn<int>("deafMs");
        QTest::addColumn<QString>("handOver");
        QTest::addColumn<int>("calls");
        QTest::newRow("answered at once") << 0 << "answered 0 taken" << 1;
        QTest::newRow("answered late, within the wait") << 200 << "answered 0 taken" << 1;
        QTest::newRow("stopped past the wait") << 600 << "no answer" << 0;
        QTest::newRow("stopped until the start gave up") << 1600 << "no answer" << 0;
    }

    void onlyWhileWaited()
    {
        QFETCH(int, deafMs);
        QFETCH(QString, handOver);
        QFETCH(int, calls);
        QTemporaryDir folder;
        Listener listener;
        QVERIFY(listener.listen(folder.filePath("morvane-test")));
        QCOMPARE(describe(handOverAside(folder.filePath("morvane-test"), Arguments, 400, deafMs)), handOver);
        QCOMPARE(listener.calls, calls);
    }

    void sizeLimit_data()
    {
        QTest::addColumn<int>("characters");
        // Sent unchecked, announcing this size: as another program could.
        QTest::addColumn<int>("announced");
        QTest::addColumn<QString>("handOver");
        QTest::addColumn<int>("calls");
        QTest::newRow("a long command line") << 30000 << 0 << "answered 0 taken" << 1;
        QTest::newRow("over the limit, kept by the start") << 40000 << 0 << "too long" << 0;
        QTest::newRow("over the limit, announced to the listener")
            << 0 << 100 * 1024 * 1024 << "morvane: The command line is longer than 64 KiB; Morvane took none of it."
            << 0;
    }

    void sizeLimit()
    {
        QFETCH(int, characters);
        QFETCH(int, announced);
        QFETCH(QString, handOver);
        QFETCH(int, calls);
        QTemporaryDir folder;
        const QString path = folder.filePath("morvane-test");
        Listener listener;
        QVERIFY(listener.listen(path));

        if (!announced) {
            const QStringList arguments = Arguments + QStringList {QString(characters, 'x')};
            QCOMPARE(describe(handOverAside(path, arguments, 2000, 0)), handOver);
        } else {
            QByteArray received;
            std::atomic<bool> done = false;
            std::thread start([&] {
                const int fd = connectRaw(path);
                const QByteArray sent = message(quint32(announced), QByteArray(64 * 1024, 'x'));
                (void)!write(fd, sent.constData(), size_t(sent.size()));
                received = drain(fd);
                close(fd);
                done = true;
            });
            QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
            start.join();
            QDataStream in(received.mid(4));
            in.setVersion(QDataStream::Qt_6_0);
            qint32 status = 0;
            QString text;
            in >> status >> text;
            QCOMPARE(status, 2);
            QCOMPARE(text, handOver);
        }
        QCOMPARE(listener.calls, calls);
    }

    void oneWinner_data()
    {
        QTest::addColumn<int>("starts");
        QTest::newRow("two at once") << 2;
        QTest::newRow("three at once") << 3;
        QTest::newRow("five at once") << 5;
    }

    void oneWinner()
    {
        QFETCH(int, starts);
        QTemporaryDir runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        environment.insert("XDG_SESSION_ID", "tst_SingleInstance");
        environment.insert("QT_QPA_PLATFORM", "offscreen");

        std::vector<std::unique_ptr<QProcess>> morvanes;
        for (int i = 0; i < starts; ++i) {
            morvanes.push_back(std::make_unique<QProcess>());
            morvanes.back()->setProcessEnvironment(environment);
            morvanes.back()->setProcessChannelMode(QProcess::ForwardedChannels);
        }
        for (auto &morvane : morvanes)
            morvane->start(MORVANE_BINARY, {});
        const auto running = [&] {
            return std::count_if(
                morvanes.begin(), morvanes.end(), [](const auto &p) { return p->state() != QProcess::NotRunning; });
        };
        // The others hand over to the one that listens and end.
        QTRY_COMPARE_WITH_TIMEOUT(running(), 1, 15000);
        QTest::qWait(300);
        QCOMPARE(running(), 1);
        for (auto &morvane : morvanes) {
            if (morvane->state() == QProcess::NotRunning) {
                QCOMPARE(morvane->exitStatus(), QProcess::NormalExit);
                QCOMPARE(morvane->exitCode(), 0);
            } else {
                morvane->terminate();
                QVERIFY(morvane->waitForFinished(5000));
            }
        }
    }
};

QTEST_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
