#pragma once

#include "actions/SystemActions.h"

#include <QString>
#include <QStringList>
#include <functional>

// Records what Morvane asked of the system ("event:shut", "dim",
// "script:PATH") and answers with chosen statuses.
class RecordingSystemActions : public SystemActions
{
public:
    // An event is named by its four-letter code: rest, shut, rlgo, slep.
    int sendPowerEvent(quint32 eventId) override
    {
        return record(
            "event:" + QString::fromLatin1(QByteArray::fromHex(QByteArray::number(eventId, 16))), eventStatus);
    }
    int turnDisplayOff() override { return record(QStringLiteral("dim"), dimStatus); }
    QString displayOffFailure() override { return dimFailure; }
    void runScript(const QString &path) override { record("script:" + path, 0); }
    Readiness powerEventReadiness(quint32) override { return readiness; }
    Readiness displayReadiness() override { return readiness; }

    QStringList calls;
    int eventStatus = 0;
    int dimStatus = 0;
    QString dimFailure;
    Readiness readiness = Readiness::Ready;
    // Runs inside every call, e.g. to look at the window at that moment.
    std::function<void()> onCall;

private:
    int record(const QString &call, int status)
    {
        calls << call;
        if (onCall)
            onCall();
        return status;
    }
};
