#pragma once

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/PostponeButton.h"
#include "app/TaggedTabView.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "tests/support/ManualClock.h"
#include "tests/support/RecordingAlertPresenter.h"
#include "tests/support/RecordingSystemActions.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QTimer>
#include <memory>

// The real main window and its controller, launched, with recorders standing
// in for the alert and the system actions. The tests call the tick
// themselves, on a clock that moves a second per tick; the one-second timer
// is stopped.
struct WindowFixture
{
    WindowFixture()
        : window(std::make_unique<MainWindow>())
    {
        auto recordingActions = std::make_unique<RecordingSystemActions>();
        auto recordingAlerts = std::make_unique<RecordingAlertPresenter>();
        auto manualClock = std::make_unique<ManualClock>();
        actions = recordingActions.get(), alerts = recordingAlerts.get(), clock = manualClock.get();
        delegate = std::make_unique<AppDelegate>(
            window.get(), std::move(recordingActions), std::move(recordingAlerts), std::move(manualClock));
        delegate->applicationDidFinishLaunching();
        postpone = std::make_unique<PostponeButton>(delegate->runningTask(), window->postponeButton());
        tickTimer()->stop();
    }

    // One tick of the one-second timer, halfway between two presses: a task
    // started just before shows its whole length on the first tick, as one
    // started some time within the second does.
    void tick() const
    {
        clock->advance(500);
        delegate->timerFired();
        clock->advance(500);
    }
    Control control(qint64 tag, QObject *container = nullptr) const { return delegate->getGUIObject(tag, container); }
    QWidget *page(int index) const { return delegate->tabview1()->widget(index); }
    QString runTitle() const { return control(Tag::RunButton).title(); }
    void pressRun() const { control(Tag::RunButton).as<QAbstractButton>()->click(); }
    void selectRow(int row) const
    {
        control(Tag::ActionMatrix, delegate->aBox1()).as<RadioMatrix>()->setSelectedRow(row);
    }
    // The unit is picked from the list, as a user can; one not in it leaves
    // the unit as it was.
    void setCountdown(const QString &number, const QString &unit) const
    {
        control(Tag::NumberField, page(0)).setStringValue(number);
        control(Tag::UnitComboBox, page(0)).as<QComboBox>()->setCurrentText(unit);
    }
    QAction *menuItem(qint64 tag) const
    {
        for (QAction *item : window->menuItems())
            if (item->property(Tag::Property).toLongLong() == tag)
                return item;
        return nullptr;
    }
    // The one-second timer started at launch.
    QTimer *tickTimer() const { return delegate->findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly); }

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<AppDelegate> delegate;
    // Assembled as the launcher assembles it.
    std::unique_ptr<PostponeButton> postpone;
    RecordingSystemActions *actions = nullptr;
    RecordingAlertPresenter *alerts = nullptr;
    ManualClock *clock = nullptr;
};
