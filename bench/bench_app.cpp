// Morvane built by its Launcher, exactly as app/main.cpp does, with a watch on the
// window added from outside, for what the real binary cannot report about
// itself. bench/run_bench.py starts it as a separate process:
//
//   bench_app first-paint   prints "first-paint <ns>" (CLOCK_MONOTONIC) once
//                           the main window's first paint has been handled
//                           and the event loop is free again, then quits;
//   bench_app idle          runs idle and prints the lateness of 60 ticks;
//   bench_app countdown     starts a one-hour countdown the way a user does
//                           (number, unit, Run) and does the same;
//   bench_app idle-ahead    the same as idle with the date set a day ahead,
//                           as a user does for a date task: the idle ticks
//                           then leave the date pickers alone;
//   bench_app bare-ticks    a bare one-second precise QTimer in a
//                           QCoreApplication, its lateness printed the same
//                           way: what Qt's timer gives before Morvane;
//   bench_app bare-first-paint
//                           the same as first-paint for a bare QMainWindow
//                           holding the same widgets, set up from the same
//                           form, with nothing of Morvane's behind them
//                           (no controller, catalogues, settings, D-Bus or
//                           socket): what Qt costs before Morvane.
//
// Nothing here reaches into Morvane beyond what a test may: the window is
// watched through an event filter and the one-second timer through its
// timeout signal.

#include "app/AppDelegate.h"
#include "app/Launcher.h"
#include "app/MainWindow.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "ui_MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QMainWindow>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

qint64 monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Notes the first paint event of the window; once the event loop is free
// again (the backing store flushed to the screen), prints the time and
// ends the process.
class FirstPaintWatch : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            m_paintNs = monotonicNs();
            QTimer::singleShot(0, this, [this] {
                std::printf("first-paint %lld paint-event %lld\n", monotonicNs(), m_paintNs);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
    qint64 m_paintNs = 0;
};

// Lateness of each tick after its slot, the slots being whole seconds
// after the timer was started.
class TickWatch : public QObject
{
public:
    TickWatch(QTimer *timer, qint64 startNs)
        : m_startNs(startNs)
    {
        connect(timer, &QTimer::timeout, this, [this] { tick(); });
    }

private:
    void tick()
    {
        const qint64 now = monotonicNs();
        ++m_ticks;
        m_lateness.push_back(double(now - m_startNs - m_ticks * qint64(1000000000)) / 1e6);
        if (m_lateness.size() != 60)
            return;
        std::vector<double> sorted = m_lateness;
        std::sort(sorted.begin(), sorted.end());
        const double median = (sorted[29] + sorted[30]) / 2;
        std::printf("lateness-ms median %.3f worst %.3f best %.3f\n", median, sorted.back(), sorted.front());
        std::fflush(stdout);
    }

    qint64 m_startNs;
    qint64 m_ticks = 0;
    std::vector<double> m_lateness;
};

void startOneHourCountdown(AppDelegate &delegate)
{
    // Shut down in one hour: the run ends long before, and the buses point
    // nowhere besides.
    delegate.getGUIObject(Tag::ActionMatrix, delegate.aBox1()).as<RadioMatrix>()->rowButton(1)->click();
    QWidget *countdownPage = delegate.tabview1()->widget(0);
    delegate.getGUIObject(Tag::NumberField, countdownPage).setStringValue(QStringLiteral("1"));
    delegate.getGUIObject(Tag::UnitComboBox, countdownPage).as<QComboBox>()->setCurrentText(QStringLiteral("Hours"));
    delegate.getGUIObject(Tag::RunButton, nullptr).as<QAbstractButton>()->click();
    std::printf("running %s\n", qPrintable(delegate.getGUIObject(Tag::RunButton, nullptr).title()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    const char *mode = argc > 1 ? argv[argc - 1] : "";
    if (std::strcmp(mode, "first-paint") != 0 && std::strcmp(mode, "idle") != 0 && std::strcmp(mode, "countdown") != 0
        && std::strcmp(mode, "idle-ahead") != 0 && std::strcmp(mode, "bare-first-paint") != 0
        && std::strcmp(mode, "bare-ticks") != 0) {
        std::fprintf(stderr, "usage: bench_app first-paint|idle|idle-ahead|countdown|bare-first-paint|bare-ticks\n");
        return 2;
    }

    if (std::strcmp(mode, "bare-ticks") == 0) {
        QCoreApplication app(argc, argv);
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1000);
        timer.start();
        TickWatch tickWatch(&timer, monotonicNs());
        return app.exec();
    }

    if (std::strcmp(mode, "bare-first-paint") == 0) {
        QApplication app(argc, argv);
        QMainWindow window;
        Ui::MainWindow form;
        form.setupUi(&window);
        FirstPaintWatch paintWatch;
        window.installEventFilter(&paintWatch);
        window.show();
        return app.exec();
    }

    // From here to app.exec(), as app/main.cpp does it, with Launcher::launch()
    // taken apart so that the timer's start can be noted.
    QApplication app(argc, argv);
    Launcher::describeApplication();
    Launcher morvane;
    MainWindow &window = morvane.window();
    AppDelegate &delegate = morvane.delegate();

    FirstPaintWatch paintWatch;
    if (std::strcmp(mode, "first-paint") == 0)
        window.installEventFilter(&paintWatch);

    delegate.applicationDidFinishLaunching();
    const qint64 timerStartNs = monotonicNs();
    std::unique_ptr<TickWatch> tickWatch;
    if (std::strcmp(mode, "first-paint") != 0) {
        const auto timers = delegate.findChildren<QTimer *>();
        const auto tickTimer = std::find_if(
            timers.begin(), timers.end(), [](QTimer *timer) { return timer->isActive() && timer->interval() == 1000; });
        if (tickTimer == timers.end()) {
            std::fprintf(stderr, "bench_app: no one-second timer found\n");
            return 1;
        }
        tickWatch = std::make_unique<TickWatch>(*tickTimer, timerStartNs);
    }
    window.show();

    if (std::strcmp(mode, "countdown") == 0)
        QTimer::singleShot(0, &delegate, [&delegate] { startOneHourCountdown(delegate); });
    if (std::strcmp(mode, "idle-ahead") == 0) {
        QTimer::singleShot(0, &delegate, [&delegate] {
            // As the user changes it: the picker sends its change and the
            // other two follow.
            auto *picker = delegate.getGUIObject(Tag::DatePickerA, delegate.tabview1()->widget(1)).as<QDateTimeEdit>();
            picker->setDateTime(QDateTime::currentDateTime().addDays(1));
        });
    }
    return app.exec();
}
