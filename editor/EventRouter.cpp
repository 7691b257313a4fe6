#include "editor/EventRouter.h"

#include "controls/RadioMatrix.h"
#include "controls/Tags.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>

namespace {
qint64 tagOf(const QObject *sender)
{
    return sender->property(Tag::Property).toLongLong();
}

bool isToolbarButton(const QObject *sender)
{
    return qobject_cast<const QToolButton *>(sender) && sender->parent() && sender->parent()->inherits("QToolBar");
}
} // namespace

EventRoute EventRouter::route(const QObject *sender)
{
    if (!sender)
        return EventRoute::Ignore;
    const qint64 tag = tagOf(sender);

    if (qobject_cast<const RadioMatrix *>(sender))
        return tag == Tag::ActionMatrix ? EventRoute::ActionSelection : EventRoute::Ignore;

    if (qobject_cast<const QAction *>(sender)) {
        switch (tag) {
        case Tag::QuitMenuItem:
            return EventRoute::Quit;
        case Tag::HelpMenuItem:
            return EventRoute::Help;
        case Tag::AboutMenuItem:
            return EventRoute::About;
        default:
            return EventRoute::Ignore;
        }
    }

    // A toolbar's buttons would also be buttons; they are meant to do
    // nothing, so they are told apart before the button rows.
    if (isToolbarButton(sender))
        return EventRoute::Ignore;

    if (qobject_cast<const QAbstractButton *>(sender)) {
        switch (tag) {
        case Tag::RunButton:
            return EventRoute::Run;
        case Tag::NowButton:
            return EventRoute::Now;
        case Tag::ChooseScriptButton:
            return EventRoute::ChooseScript;
        case Tag::HelpButton:
            return EventRoute::Help;
        default:
            // The check boxes only toggle; the tick reads them later.
            return EventRoute::Ignore;
        }
    }

    if (qobject_cast<const QTabBar *>(sender) || qobject_cast<const QTableView *>(sender))
        return EventRoute::Ignore;

    // The unit is read only when a task starts.
    if (qobject_cast<const QComboBox *>(sender))
        return EventRoute::Ignore;

    if (qobject_cast<const QDateTimeEdit *>(sender)) {
        const bool picker = tag == Tag::DatePickerA || tag == Tag::DatePickerB || tag == Tag::DatePickerC;
        return picker ? EventRoute::DateMirror : EventRoute::Ignore;
    }

    if (qobject_cast<const QAbstractSpinBox *>(sender))
        return tag == Tag::MinimumStepper ? EventRoute::MinimumChange : EventRoute::Ignore;

    return EventRoute::Ignore;
}
