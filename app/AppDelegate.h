#pragma once

#include "actions/SystemActions.h"
#include "app/TabViewDelegate.h"
#include "app/TaggedTabView.h"
#include "app/WindowDelegate.h"
#include "controls/AlertPresenter.h"
#include "controls/Control.h"
#include "controls/TaskContext.h"
#include "task/RunningTask.h"
#include "task/TaskClock.h"

#include <QDateTime>
#include <QGroupBox>
#include <QObject>
#include <QObjectList>
#include <QPointer>
#include <memory>

class AboutWindowController;
class HelpWindow;
class CountdownTick;
class MainWindow;
class QTimer;
class ReadinessNotice;
class ScheduleEditor;
class SettingsWriter;
class TaskController;

// The one controller of Morvane's main window.
//
// The window's controls are the model: the selected action, the number and
// unit, the dates, the script path and even the task state (the Run
// button's title, "Run" or "Stop") are read from the controls when needed.
// The only numbers kept here are the running task's count and the minimum
// task length. Every control sends promptEvent(), which routes by the
// sender's class and tag to a small handler.
//
// Platform services (the system actions, the alert and the clocks the
// running task is measured by) are injected so that tests can stand in for
// them. The running task lives here, since counterTimer follows from it;
// what follows the task beyond the window's controls (the title, the
// warnings, the idle lock) is put together by the Launcher. The handlers below it (task controller, schedule editor,
// tick, settings writer) see the window only through the TaskContext this class hands them.
class AppDelegate : public QObject, public WindowDelegate, public TabViewDelegate, private TaskContext
{
    Q_OBJECT

public:
    // Without a clock the system's clocks are read.
    AppDelegate(MainWindow *window, std::unique_ptr<SystemActions> actions, std::unique_ptr<AlertPresenter> alerts,
        std::unique_ptr<TaskClock> clock = nullptr, QObject *parent = nullptr);
    ~AppDelegate() override;

    // Fields.
    MainWindow *window() const;
    void setWindow(MainWindow *window);
    QGroupBox *aBox1() const;
    void setABox1(QGroupBox *box);
    QGroupBox *aBox2() const;
    void setABox2(QGroupBox *box);
    TaggedTabView *tabview1() const;
    void setTabview1(TaggedTabView *tabView);
    TaggedTabView *tabview2() const;
    void setTabview2(TaggedTabView *tabView);
    qint64 counterTimer() const override;
    void setCounterTimer(qint64 count) override;
    qint64 minimumCounter() const override;
    void setMinimumCounter(qint64 minimum) override;
    QObjectList objectGUIArray() const;
    void setObjectGUIArray(const QObjectList &objects);
    AboutWindowController *vAboutWindowController() const;
    void setVAboutWindowController(AboutWindowController *controller);

    // Start-up and guards.
    void applicationDidFinishLaunching();
    bool windowShouldClose(QWidget *window) override;
    bool tabViewShouldSelectTabViewItem(TaggedTabView *tabView, int index) override;
    void displayMinimumSeconds(qint64 n);
    void closeApp();

    // Controls by tag. With no container, the window's content view is
    // searched; a schedule page's controls are found through its page.
    Control getGUIObject(qint64 tag, QObject *container) const;
    QDateTime getTimeInfo(const Control &picker) const;
    void setTimeInfo(const QDateTime &date, const Control &picker);

    // Every control event of the main window, and the About, Help and Quit
    // menu items, arrive here.
    void promptEvent(QObject *sender);

    // The one-second tick.
    void timerFired();

    // Whether a task is counting down: the Run button reads "Stop".
    bool isTaskRunning() const;
    // Stops the running task as the Stop button does, through the same
    // route; nothing while no task runs, so that a late request from
    // outside the window can never start one.
    void stopRunningTask();
    // The task that counts down, for what follows it.
    RunningTask &runningTask() override;

    // Calendar arithmetic and the time-left text.
    qint64 calculateLongFromTime(const QDateTime &date1, const QDateTime &date2) const;
    QString calculateLeftTime(qint64 n) const;
    qint64 compare2Days(const QDateTime &date1, const QDateTime &date2) const;

    // System actions.
    int dimDisplayNow();
    void runAppleScript(const QString &path);
    void do1(QObject *sender);
    void do2(QObject *sender);
    void do3(QObject *sender);
    void do4(QObject *sender);

    // About window and help.
    void showAboutWindow();
    void openHtmlHelp();
    void openHtmlHelp1();
    void openOnePageHtmlHelp(const QString &path);

    // Saved settings.
    void defaultSaveAppSetting();
    void defaultLoadAppSetting();

signals:
    // Asks the application to end; main() connects it to the event loop.
    void terminationRequested();

private:
    // TaskContext, for the handlers.
    TaskContext &context() { return *this; }
    Control control(qint64 tag, Area area) const override;
    QString selectedPageLabel() const override;
    bool isDatePageShown() const override;
    // No tick runs while the alert is open; one tick that fell due meanwhile
    // runs right after it closes.
    void showAlert(AlertKind kind, const QString &message) override;
    void returnToIdle() override;
    // A help page no viewer of the desktop took, in Morvane's own window.
    void showInHelpWindow(const QUrl &page);

    void connectControls();
    void onTimerTimeout();
    void releaseHeldTick();

    QPointer<MainWindow> m_window;
    QPointer<QGroupBox> m_aBox2;
    QPointer<QGroupBox> m_aBox1;
    QPointer<TaggedTabView> m_tabview1;
    QPointer<TaggedTabView> m_tabview2;
    // The Run button, once found: see control().
    mutable QPointer<QObject> m_runButton;
    qint64 m_counterTimer = 0;
    qint64 m_minimumCounter = 0;
    QObjectList m_objectGUIArray;
    std::unique_ptr<AboutWindowController> m_vAboutWindowController;
    QPointer<HelpWindow> m_helpWindow;

    std::unique_ptr<SystemActions> m_actions;
    std::unique_ptr<AlertPresenter> m_alerts;
    std::unique_ptr<TaskClock> m_clock;
    std::unique_ptr<RunningTask> m_task;
    std::unique_ptr<SettingsWriter> m_settings;
    std::unique_ptr<ReadinessNotice> m_notice;
    std::unique_ptr<TaskController> m_taskController;
    std::unique_ptr<ScheduleEditor> m_scheduleEditor;
    std::unique_ptr<CountdownTick> m_tick;
    QTimer *m_timer = nullptr;
    int m_openAlerts = 0;
    bool m_tickHeld = false;
    bool m_ticking = false;
};
