#include "app/AppDelegate.h"

#include "app/AboutWindowController.h"
#include "app/AfterFirstPaint.h"
#include "app/HelpBook.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/TaggedTabView.h"
#include "controls/ControlLookup.h"
#include "controls/Log.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "editor/CountdownTick.h"
#include "editor/EventRouter.h"
#include "editor/ReadinessNotice.h"
#include "editor/ScheduleEditor.h"
#include "editor/TaskController.h"
#include "schedule/CalendarMath.h"
#include "settings/SettingsWriter.h"
#include "task/SystemTaskClock.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QSpinBox>
#include <QTimer>

namespace {
constexpr const char *ProductName = "Morvane";
constexpr int TickIntervalMs = 1000;
} // namespace

AppDelegate::AppDelegate(MainWindow *window, std::unique_ptr<SystemActions> actions,
    std::unique_ptr<AlertPresenter> alerts, std::unique_ptr<TaskClock> clock, QObject *parent)
    : QObject(parent)
    , m_actions(std::move(actions))
    , m_alerts(std::move(alerts))
    , m_clock(clock ? std::move(clock) : std::make_unique<SystemTaskClock>())
    , m_task(std::make_unique<RunningTask>(*m_clock))
    , m_settings(std::make_unique<SettingsWriter>(context()))
    , m_notice(std::make_unique<ReadinessNotice>(context(), *m_actions))
    , m_taskController(std::make_unique<TaskController>(context(), *m_settings, *m_notice))
    , m_scheduleEditor(std::make_unique<ScheduleEditor>(context(), *m_notice, window))
    , m_tick(std::make_unique<CountdownTick>(context(), *m_actions))
{
    // What loading the window does: connect the outlets, become the
    // window's delegate and make promptEvent() every control's action.
    setWindow(window);
    if (window) {
        setABox1(window->aBox1());
        setABox2(window->aBox2());
        setTabview1(window->tabview1());
        setTabview2(window->tabview2());
        window->setDelegate(this);
    }
    connectControls();
    connect(m_task.get(), &RunningTask::postponed, this, [this] { m_tick->showTimeLeft(); });
    connect(m_task.get(), &RunningTask::missedWhileAsleep, this,
        [this](const QDateTime &due, const QString &action) { m_tick->missedWhileAsleep(due, action); });
}

AppDelegate::~AppDelegate()
{
    if (m_window)
        m_window->setDelegate(nullptr);
    if (m_tabview1 && m_tabview1->delegate() == this)
        m_tabview1->setDelegate(nullptr);
}

MainWindow *AppDelegate::window() const
{
    return m_window;
}
void AppDelegate::setWindow(MainWindow *window)
{
    m_window = window;
}
QGroupBox *AppDelegate::aBox1() const
{
    return m_aBox1;
}
void AppDelegate::setABox1(QGroupBox *box)
{
    m_aBox1 = box;
}
QGroupBox *AppDelegate::aBox2() const
{
    return m_aBox2;
}
void AppDelegate::setABox2(QGroupBox *box)
{
    m_aBox2 = box;
}
TaggedTabView *AppDelegate::tabview1() const
{
    return m_tabview1;
}
void AppDelegate::setTabview1(TaggedTabView *tabView)
{
    m_tabview1 = tabView;
}
TaggedTabView *AppDelegate::tabview2() const
{
    return m_tabview2;
}
void AppDelegate::setTabview2(TaggedTabView *tabView)
{
    m_tabview2 = tabView;
}
qint64 AppDelegate::counterTimer() const
{
    return m_counterTimer;
}
void AppDelegate::setCounterTimer(qint64 count)
{
    m_counterTimer = count;
}
qint64 AppDelegate::minimumCounter() const
{
    return m_minimumCounter;
}
void AppDelegate::setMinimumCounter(qint64 minimum)
{
    m_minimumCounter = minimum;
}
QObjectList AppDelegate::objectGUIArray() const
{
    return m_objectGUIArray;
}
void AppDelegate::setObjectGUIArray(const QObjectList &objects)
{
    m_objectGUIArray = objects;
}
AboutWindowController *AppDelegate::vAboutWindowController() const
{
    return m_vAboutWindowController.get();
}

void AppDelegate::setVAboutWindowController(AboutWindowController *controller)
{
    if (controller != m_vAboutWindowController.get())
        m_vAboutWindowController.reset(controller);
}

void AppDelegate::connectControls()
{
    if (!m_window)
        return;
    const auto widgets = m_window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->property(Tag::Property).isValid())
            continue;
        if (auto *matrix = qobject_cast<RadioMatrix *>(widget)) {
            connect(matrix, &RadioMatrix::rowSelected, this, [this, matrix] { promptEvent(matrix); });
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            connect(button, &QAbstractButton::clicked, this, [this, button] { promptEvent(button); });
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            connect(combo, &QComboBox::activated, this, [this, combo] { promptEvent(combo); });
        } else if (auto *picker = qobject_cast<QDateTimeEdit *>(widget)) {
            connect(picker, &QDateTimeEdit::dateTimeChanged, this, [this, picker] { promptEvent(picker); });
        } else if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
            connect(spin, &QSpinBox::valueChanged, this, [this, spin] { promptEvent(spin); });
        }
    }
    const auto items = m_window->menuItems();
    for (QAction *item : items)
        connect(item, &QAction::triggered, this, [this, item] { promptEvent(item); });
}

void AppDelegate::applicationDidFinishLaunching()
{
    if (m_window)
        m_window->setWindowTitle(QString::asprintf("%s", ProductName));

    setObjectGUIArray({});

    // The minimum starts at one second whatever the stepper shows.
    setMinimumCounter(1);
    displayMinimumSeconds(1);

    getGUIObject(Tag::DimAfterScriptCheckBox, nullptr).setHidden(true);
    getGUIObject(Tag::SpareCheckBox, nullptr).setHidden(true);

    // The date pickers show now from the start, and catch up whenever the
    // date page comes into view (the idle tick leaves them alone while
    // hidden).
    m_tick->followClock();
    // The readiness line asks logind or the display server, a round trip
    // that need not hold up the window: the line follows its first paint.
    AfterFirstPaint::run(m_window, this, [this] { m_notice->update(); });
    if (m_tabview1) {
        m_tabview1->setDelegate(this);
        connect(m_tabview1, &QTabWidget::currentChanged, this, [this] {
            if (isDatePageShown())
                m_tick->followClock();
        });
    }

    // One tick a second for the life of the process, whether a task runs or
    // not; starting a task does not re-phase it.
    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(TickIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &AppDelegate::onTimerTimeout);
    m_timer->start();
}

void AppDelegate::displayMinimumSeconds(qint64 n)
{
    m_scheduleEditor->displayMinimumSeconds(n);
}

bool AppDelegate::windowShouldClose(QWidget *)
{
    if (getGUIObject(Tag::RunButton, nullptr).title() == RunTitle::idle()) {
        closeApp();
        return true;
    }
    showAlert(AlertKind::Reminder, AlertText::closeRefused());
    return false;
}

bool AppDelegate::tabViewShouldSelectTabViewItem(TaggedTabView *, int)
{
    return !isTaskRunning();
}

void AppDelegate::closeApp()
{
    emit terminationRequested();
}

Control AppDelegate::getGUIObject(qint64 tag, QObject *container) const
{
    QWidget *contentView = m_window ? m_window->centralWidget() : nullptr;
    return ControlLookup::find(tag, container, contentView);
}

Control AppDelegate::control(qint64 tag, Area area) const
{
    switch (area) {
    case Area::Window:
        // Every tick asks for the Run button, and finding it by its tag
        // reads the "tag" property widget after widget, by name: on a cold
        // cache that was most of an idle tick's cost. The button sits outside
        // every page, so the search always ends at the same one.
        if (tag == Tag::RunButton) {
            if (!m_runButton)
                m_runButton = getGUIObject(tag, nullptr).object();
            return Control(m_runButton);
        }
        return getGUIObject(tag, nullptr);
    case Area::ActionBox:
        return getGUIObject(tag, m_aBox1);
    case Area::CountdownPage:
        return getGUIObject(tag, m_tabview1 ? m_tabview1->widget(0) : nullptr);
    case Area::DatePage:
        return getGUIObject(tag, m_tabview1 ? m_tabview1->widget(1) : nullptr);
    }
    return Control();
}

QString AppDelegate::selectedPageLabel() const
{
    return m_tabview1 ? m_tabview1->selectedLabel() : QString();
}

bool AppDelegate::isDatePageShown() const
{
    return m_tabview1 && m_tabview1->currentIndex() == 1;
}

void AppDelegate::returnToIdle()
{
    m_taskController->returnToIdle();
}

QDateTime AppDelegate::getTimeInfo(const Control &picker) const
{
    return picker.dateValue();
}

void AppDelegate::setTimeInfo(const QDateTime &date, const Control &picker)
{
    Control(picker).setDateValue(date);
}

void AppDelegate::promptEvent(QObject *sender)
{
    switch (EventRouter::route(sender)) {
    case EventRoute::ActionSelection:
        m_scheduleEditor->actionSelected();
        break;
    case EventRoute::Quit:
        // The Quit item asks the same question as closing the window.
        windowShouldClose(m_window);
        break;
    case EventRoute::Help:
        openHtmlHelp();
        break;
    case EventRoute::About:
        showAboutWindow();
        break;
    case EventRoute::Run:
        m_taskController->runButtonPressed();
        break;
    case EventRoute::Now:
        m_scheduleEditor->resetToNow();
        break;
    case EventRoute::ChooseScript:
        m_scheduleEditor->chooseScriptFile();
        break;
    case EventRoute::DateMirror:
        m_scheduleEditor->mirrorDates(sender);
        break;
    case EventRoute::MinimumChange:
        m_scheduleEditor->minimumChanged();
        break;
    case EventRoute::Ignore:
        break;
    }
}

void AppDelegate::onTimerTimeout()
{
    // Qt delivers timer events inside an alert's own event loop, and inside
    // the loop that keeps the window painting while a script runs. The
    // countdown waits for both, as the user expects.
    if (m_openAlerts > 0 || m_ticking) {
        m_tickHeld = true;
        return;
    }
    m_ticking = true;
    timerFired();
    m_ticking = false;
    releaseHeldTick();
}

void AppDelegate::releaseHeldTick()
{
    if (m_openAlerts > 0 || m_ticking || !m_tickHeld)
        return;
    // The one tick that fell due runs after the handler that held it has
    // finished; missed ones are not made up.
    m_tickHeld = false;
    QMetaObject::invokeMethod(this, &AppDelegate::onTimerTimeout, Qt::QueuedConnection);
}

void AppDelegate::timerFired()
{
    m_tick->timerFired();
}

bool AppDelegate::isTaskRunning() const
{
    return getGUIObject(Tag::RunButton, nullptr).title() == RunTitle::running();
}

void AppDelegate::stopRunningTask()
{
    if (isTaskRunning())
        promptEvent(getGUIObject(Tag::RunButton, nullptr).object());
}

RunningTask &AppDelegate::runningTask()
{
    return *m_task;
}

void AppDelegate::showAlert(AlertKind kind, const QString &message)
{
    ++m_openAlerts;
    m_task->beginHold();
    m_alerts->showAlert(kind, message);
    m_task->endHold();
    --m_openAlerts;
    releaseHeldTick();
}

qint64 AppDelegate::calculateLongFromTime(const QDateTime &date1, const QDateTime &date2) const
{
    return CalendarMath::calculateLongFromTime(date1, date2);
}

QString AppDelegate::calculateLeftTime(qint64 n) const
{
    return CalendarMath::calculateLeftTime(n);
}

qint64 AppDelegate::compare2Days(const QDateTime &date1, const QDateTime &date2) const
{
    return CalendarMath::compare2Days(date1, date2);
}

int AppDelegate::dimDisplayNow()
{
    return m_actions->turnDisplayOff();
}

void AppDelegate::runAppleScript(const QString &path)
{
    m_actions->runScript(path);
}

// The do1..do4 actions send their event and drop the status; the tick
// sends events itself so that it can report a failure.
void AppDelegate::do1(QObject *)
{
    m_actions->sendPowerEvent(EventId::Restart);
}
void AppDelegate::do2(QObject *)
{
    m_actions->sendPowerEvent(EventId::ShutDown);
}
void AppDelegate::do3(QObject *)
{
    m_actions->sendPowerEvent(EventId::ReallyLogOut);
}
void AppDelegate::do4(QObject *)
{
    m_actions->sendPowerEvent(EventId::Sleep);
}

void AppDelegate::showAboutWindow()
{
    if (!m_vAboutWindowController)
        setVAboutWindowController(new AboutWindowController());
    m_vAboutWindowController->showWindow(this);
}

void AppDelegate::openHtmlHelp()
{
    showInHelpWindow(HelpBook().openHtmlHelp());
}
void AppDelegate::openHtmlHelp1()
{
    showInHelpWindow(HelpBook().openHtmlHelp1());
}
void AppDelegate::openOnePageHtmlHelp(const QString &path)
{
    showInHelpWindow(HelpBook().openOnePageHtmlHelp(path));
}

void AppDelegate::showInHelpWindow(const QUrl &page)
{
    if (page.isEmpty())
        return;
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(m_window);
    m_helpWindow->showPage(page);
}

void AppDelegate::defaultSaveAppSetting()
{
    m_settings->save();
}
// Morvane's settings are a record, not a preference: nothing is restored.
void AppDelegate::defaultLoadAppSetting()
{
}
