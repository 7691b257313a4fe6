#include "app/CommandLineTask.h"

#include "app/AppDelegate.h"
#include "app/TaggedTabView.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "schedule/Duration.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QRadioButton>

namespace {
constexpr int CountdownPage = 0;
constexpr int DatePage = 1;
} // namespace

CommandLineTask::CommandLineTask(AppDelegate &delegate)
    : m_delegate(delegate)
{
}

void CommandLineTask::start(const TaskRequest &request)
{
    TaggedTabView *pages = m_delegate.tabview1();
    if (!request.asksForTask() || m_delegate.isTaskRunning() || !pages)
        return;
    const auto control = [this](qint64 tag, QObject *container) { return m_delegate.getGUIObject(tag, container); };

    // A click, so that the script controls and the readiness line follow
    // the row as they do for the user.
    if (auto *matrix = control(Tag::ActionMatrix, m_delegate.aBox1()).as<RadioMatrix>()) {
        if (QRadioButton *row = matrix->rowButton(int(request.action)))
            row->click();
    }
    if (request.action == ActionRow::RunScript)
        control(Tag::ScriptPathField, nullptr).setStringValue(request.script);

    if (request.countdown) {
        pages->setCurrentIndex(CountdownPage);
        QWidget *page = pages->widget(CountdownPage);
        const Duration::CountdownFields fields = Duration::countdownFields(*request.countdown);
        control(Tag::NumberField, page).setStringValue(QString::number(fields.number));
        if (auto *unit = control(Tag::UnitComboBox, page).as<QComboBox>())
            unit->setCurrentText(fields.unit);
    } else if (request.moment) {
        // The page first: showing it moves the pickers to now, as it does
        // for the user.
        pages->setCurrentIndex(DatePage);
        // Set on the picker itself, so that the other two follow it as
        // they do when the user edits it.
        if (auto *picker = control(Tag::DatePickerA, pages->widget(DatePage)).as<QDateTimeEdit>())
            picker->setDateTime(*request.moment);
    }

    if (auto *run = control(Tag::RunButton, nullptr).as<QAbstractButton>())
        run->click();
}
