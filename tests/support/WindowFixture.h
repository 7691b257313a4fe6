#pragma once

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/TaggedTabView.h"
#include "controls/Tags.h"
#include "tests/support/RecordingAlertPresenter.h"
#include "tests/support/RecordingSystemActions.h"

#include <memory>

// The real main window and its controller, with recorders standing in for
// the alert and the system actions. Launched unless asked not to be.
struct WindowFixture {
    explicit WindowFixture(bool launch = true)
        : window(std::make_unique<MainWindow>())
    {
        auto recordingActions = std::make_unique<RecordingSystemActions>();
        auto recordingAlerts = std::make_unique<RecordingAlertPresenter>();
        actions = recordingActions.get();
        alerts = recordingAlerts.get();
        delegate = std::make_unique<AppDelegate>(window.get(), std::move(recordingActions),
                                                 std::move(recordingAlerts));
        if (launch)
            delegate->applicationDidFinishLaunching();
    }

    Control control(qint64 tag, QObject *container = nullptr) const
    {
        return delegate->getGUIObject(tag, container);
    }
    QWidget *page(int index) const { return delegate->tabview1()->widget(index); }
    QString runTitle() const { return control(Tag::RunButton).title(); }

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<AppDelegate> delegate;
    RecordingSystemActions *actions = nullptr;
    RecordingAlertPresenter *alerts = nullptr;
};
