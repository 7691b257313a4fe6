#include "app/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>

#include <unistd.h>

QString SingleInstance::socketName()
{
    QByteArray session = qgetenv("XDG_SESSION_ID");
    if (session.isEmpty())
        session = qgetenv("DISPLAY");
    const QString name = QStringLiteral("morvane-%1-%2").arg(getuid()).arg(QString::fromLocal8Bit(session));
    // Elsewhere in /tmp another user could take the name first and hear
    // every command line.
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

SingleInstance::HandOver SingleInstance::handOver(const QString &name, const QStringList &arguments, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return {HandOver::NoneRunning, QString()};

    QDataStream out(&socket);
    out << arguments;
    socket.flush();
    QDataStream in(&socket);
    // The answer may come in pieces; a transaction waits for the whole.
    for (;;) {
        in.startTransaction();
        QString answer;
        in >> answer;
        if (in.commitTransaction())
            return {HandOver::Answered, answer};
        if (!socket.waitForReadyRead(timeoutMs))
            return {HandOver::NoAnswer, QString()};
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

bool SingleInstance::listen(const QString &name, std::function<QString(const QStringList &)> answer)
{
    m_answer = std::move(answer);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(name))
        return true;
    // A socket that nobody answers on is a leftover; one that answers
    // belongs to a Morvane that started meanwhile, and stays its own.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void SingleInstance::serve(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        QDataStream in(socket);
        in.startTransaction();
        QStringList arguments;
        in >> arguments;
        if (!in.commitTransaction())
            return;
        QDataStream out(socket);
        out << m_answer(arguments);
        socket->flush();
        socket->disconnectFromServer();
    });
}
