#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalSocket;

// One Morvane for each user and session: the first start listens on a local
// socket, and every later start hands it its command line over that socket
// and prints what it answers. No widgets: a later start needs no display.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // What became of a hand-over.
    struct HandOver
    {
        enum Status {
            NoneRunning, // nobody listens: this start is the one
            Answered, // the Morvane running took it; answer may say more
            NoAnswer, // something listens but did not answer in time
        };
        Status status = NoneRunning;
        QString answer;
    };

    // The socket of this user's Morvane in this session:
    // "morvane-<uid>-<XDG_SESSION_ID, else DISPLAY>", in XDG_RUNTIME_DIR
    // where there is one (a folder only the user may enter), else in the
    // folder for temporary files.
    static QString socketName();

    // Sends the arguments to the Morvane listening on name and waits up to
    // timeoutMs for its answer.
    static HandOver handOver(const QString &name, const QStringList &arguments, int timeoutMs = 5000);

    explicit SingleInstance(QObject *parent = nullptr);

    // Listens on name; each later start's arguments go to answer, whose
    // result travels back to it. A socket left behind by a Morvane that
    // ended without closing it is taken over. False when listening fails:
    // Morvane then runs on alone.
    bool listen(const QString &name, std::function<QString(const QStringList &)> answer);

private:
    void serve(QLocalSocket *socket);

    QLocalServer m_server;
    std::function<QString(const QStringList &)> m_answer;
};
