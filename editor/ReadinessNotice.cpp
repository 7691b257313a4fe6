#include "editor/ReadinessNotice.h"

#include "controls/Tags.h"
#include "controls/TaskContext.h"

#include <QCoreApplication>

ReadinessNotice::ReadinessNotice(TaskContext &context, SystemActions &actions)
    : m_context(context)
    , m_actions(actions)
{
}

void ReadinessNotice::update()
{
    const ActionRow row = actionRowAt(m_context.control(Tag::ActionMatrix, Area::ActionBox).selectedRow());
    Readiness readiness = Readiness::Ready;
    if (const std::optional<quint32> event = powerEventOf(row))
        readiness = m_actions.powerEventReadiness(*event);
    else if (row == ActionRow::DisplaySleep)
        readiness = m_actions.displayReadiness();
    const QString line = text(row, readiness);
    m_refusal = reason(row, readiness);
    Control label = m_context.control(Tag::ReadinessText, Area::Window);
    // Said once, as it appears or changes; the label itself is read anytime.
    if (!line.isEmpty() && line != label.stringValue())
        label.announce(line);
    label.setStringValue(line);
    label.setHidden(line.isEmpty());
}

QString ReadinessNotice::text(ActionRow row, Readiness readiness)
{
    // Whole sentences, so that each language can put the reason its own way.
    switch (readiness) {
    case Readiness::Ready:
        return QString();
    case Readiness::Refused:
        return QCoreApplication::translate(
            "ReadinessNotice", "This action will be refused: the system does not allow it for you now.");
    case Readiness::NeedsPassword:
        return QCoreApplication::translate("ReadinessNotice",
            "This action will be refused: the system would ask for a password, and nobody may be there to give it.");
    case Readiness::NotSupported:
        if (row == ActionRow::DisplaySleep)
            return QCoreApplication::translate(
                "ReadinessNotice", "This action will be refused: there is no way to turn the display off here.");
        return QCoreApplication::translate(
            "ReadinessNotice", "This action will be refused: this computer cannot do it here.");
    case Readiness::NoAnswer:
        break;
    }
    return QCoreApplication::translate(
        "ReadinessNotice", "This action will be refused: the service that carries it out does not answer.");
}

QString ReadinessNotice::reason(ActionRow row, Readiness readiness)
{
    switch (readiness) {
    case Readiness::Ready:
        return QString();
    case Readiness::Refused:
        return QCoreApplication::translate("ReadinessNotice", "the system does not allow it for you now");
    case Readiness::NeedsPassword:
        return QCoreApplication::translate(
            "ReadinessNotice", "the system would ask for a password, and nobody may be there to give it");
    case Readiness::NotSupported:
        if (row == ActionRow::DisplaySleep)
            return QCoreApplication::translate("ReadinessNotice", "there is no way to turn the display off here");
        return QCoreApplication::translate("ReadinessNotice", "this computer cannot do it here");
    case Readiness::NoAnswer:
        break;
    }
    return QCoreApplication::translate("ReadinessNotice", "the service that carries it out does not answer");
}
