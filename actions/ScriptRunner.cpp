#include "actions/ScriptRunner.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr char Shell[] = "/bin/sh";
// How often a running script is looked at; short enough for the window not
// to lag behind its end.
constexpr int PollInterval = 50;
// The kernel reads no further for a "#!" line either.
constexpr qint64 InterpreterLineLength = 256;

// The program to run and its arguments, argv[0] first.
using CommandLine = QList<QByteArray>;

class SpawnSettings
{
public:
    SpawnSettings()
    {
        posix_spawn_file_actions_init(&m_files);
        // A script must not read Morvane's standard input, nor wait on it.
        posix_spawn_file_actions_addopen(&m_files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

        // The script gets a plain signal state, not the one that Qt and
        // Morvane set up for themselves (an ignored SIGPIPE, say).
        posix_spawnattr_init(&m_attributes);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigdefault(&m_attributes, &all);
        posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSettings()
    {
        posix_spawnattr_destroy(&m_attributes);
        posix_spawn_file_actions_destroy(&m_files);
    }
    SpawnSettings(const SpawnSettings &) = delete;
    SpawnSettings &operator=(const SpawnSettings &) = delete;

    const posix_spawn_file_actions_t *files() const { return &m_files; }
    const posix_spawnattr_t *attributes() const { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_files;
    posix_spawnattr_t m_attributes;
};

// Waits for the child to end. Meanwhile the event loop goes on, so the
// window keeps painting and answering the desktop, but no user input is
// taken until the script has ended.
void waitForEnd(pid_t child)
{
    int waitStatus = 0;
    bool ended = false;
    if (QCoreApplication::instance()) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            ended = waitpid(child, &waitStatus, WNOHANG) != 0;
            if (ended)
                loop.quit();
        });
        poll.start(PollInterval);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // Without an event loop, or when the application quits meanwhile.
    while (!ended && waitpid(child, &waitStatus, 0) < 0 && errno == EINTR) { }
}

// Starts the command and waits for it to end. 0 once it ran (whatever its
// exit status), else the errno of starting it.
int runToEnd(const CommandLine &command)
{
    QList<char *> argv;
    for (const QByteArray &argument : command)
        argv.append(const_cast<char *>(argument.constData()));
    argv.append(nullptr);

    const SpawnSettings settings;
    pid_t child = 0;
    const int error = posix_spawn(&child, argv.first(), settings.files(), settings.attributes(), argv.data(), environ);
    if (error)
        return error;

    waitForEnd(child);
    return 0;
}

// The interpreter and its optional single argument, read as the kernel reads
// a "#!" line; empty when the file has no such line.
CommandLine interpreterOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = file.read(InterpreterLineLength);
    if (!line.startsWith("#!"))
        return {};
    line = line.mid(2);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    line = line.trimmed();
    if (line.isEmpty())
        return {};

    qsizetype split = 0;
    while (split < line.size() && line.at(split) != ' ' && line.at(split) != '\t')
        ++split;
    CommandLine interpreter {line.left(split)};
    const QByteArray argument = line.mid(split).trimmed();
    if (!argument.isEmpty())
        interpreter.append(argument);
    return interpreter;
}

bool isExecutableFile(const QByteArray &path)
{
    struct stat info;
    return stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) && access(path.constData(), X_OK) == 0;
}

} // namespace

void ScriptRunner::run(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    const QByteArray file = QFile::encodeName(absolutePath);

    if (isExecutableFile(file)) {
        const int error = runToEnd({file});
        // A file without a "#!" line that the kernel cannot execute is a
        // shell script, as for a shell that runs it.
        if (error == ENOEXEC)
            runToEnd({Shell, file});
        // On a file system mounted noexec, the file is run as if it had no
        // execute permission.
        if (error != EACCES)
            return;
    }

    if (!QFileInfo(absolutePath).isFile())
        return;
    CommandLine command = interpreterOf(absolutePath);
    if (command.isEmpty())
        command = {Shell};
    command.append(file);
    runToEnd(command);
}
