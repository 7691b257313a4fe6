#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <optional>

class ReadinessNotice;
class SettingsWriter;
class TaskContext;

// Starting and stopping a task: the Run button's handler and the two fixed
// sequences that lock the window (enter running) and unlock it (return to
// idle).
class TaskController
{
public:
    // Every task that starts is put on record through settings, and the
    // notice says whether the system will refuse its action.
    TaskController(TaskContext &context, SettingsWriter &settings, ReadinessNotice &notice);

    // The Run button was pressed: start a task under the title "Run",
    // otherwise stop the running one without acting.
    void runButtonPressed();

    // Validates the window's settings and, when they pass, arms the count
    // and enters running. A refused start shows one alert and changes
    // nothing else.
    void startTask();

    void enterRunning();
    void returnToIdle();

private:
    // Task length in seconds from the countdown page, or nothing after the
    // alert on a bad number or unit has been shown.
    std::optional<qint64> countdownLength();
    // Task length in seconds until target (date picker A's date), or
    // nothing after the alert that the date has passed.
    std::optional<qint64> dateLength(const QDateTime &target);
    // The selected action row's text as it reads ("Shut Down").
    QString selectedActionName() const;
    void refuse(const QString &message);
    // The lock shared by enterRunning() and returnToIdle(), in their order.
    void setEditingEnabled(bool enabled);

    TaskContext &m_context;
    SettingsWriter &m_settings;
    ReadinessNotice &m_notice;
};
