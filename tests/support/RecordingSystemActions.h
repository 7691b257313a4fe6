#pragma once

#include "actions/SystemActions.h"

#include <QString>
#include <QStringList>
#include <functional>

// Records what Morvane asked of the system and answers with chosen statuses.
class RecordingSystemActions : public SystemActions
{
public:
    int sendPowerEvent(quint32 eventId) override
    {
        calls << QStringLiteral("event:%1").arg(QString::fromLatin1(fourCharCode(eventId)));
        if (onCall)
            onCall();
        return eventStatus;
    }

    int turnDisplayOff() override
    {
        calls << QStringLiteral("dim");
        if (onCall)
            onCall();
        return dimStatus;
    }

    void runScript(const QString &path) override
    {
        calls << QStringLiteral("script:%1").arg(path);
        if (onCall)
            onCall();
    }

    static QByteArray fourCharCode(quint32 code)
    {
        QByteArray text(4, '\0');
        for (int i = 0; i < 4; ++i)
            text[i] = char((code >> (8 * (3 - i))) & 0xff);
        return text;
    }

    QStringList calls;
    int eventStatus = 0;
    int dimStatus = 0;
    // Runs inside every call, e.g. to look at the window at that moment.
    std::function<void()> onCall;
};
