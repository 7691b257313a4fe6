// CPU time of one tick, idle and while a task counts down: the real main
// window and controller, shown, with stand-ins for the system actions and
// the alert. Each call of timerFired() is timed alone on the thread's CPU
// clock; the events it leaves behind (the repaint of the time left) are
// handled after it and timed as well, apart.
//
//   bench_tick [calls]     prints one line per measure: name, median, 90th
//                          percentile and worst, in microseconds

#include "actions/SystemActions.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "controls/AlertPresenter.h"
#include "controls/Tags.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// Answers like a system whose every action succeeds; never called while
// the bench runs, as no task is let to expire.
class QuietSystemActions : public SystemActions
{
public:
    int sendPowerEvent(quint32) override { return 0; }
    int turnDisplayOff() override { return 0; }
    QString displayOffFailure() override { return QString(); }
    void runScript(const QString &) override { }
    Readiness powerEventReadiness(quint32) override { return Readiness::Ready; }
    Readiness displayReadiness() override { return Readiness::Ready; }
};

class QuietAlertPresenter : public AlertPresenter
{
public:
    void showAlert(AlertKind, const QString &) override { }
};

double threadCpuUs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

void report(const char *name, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    std::printf("%s median %.2f p90 %.2f worst %.2f calls %zu\n", name, median, samples[n * 9 / 10], samples.back(), n);
}

// Times calls of the tick, and apart from them the event processing each
// one leaves behind; a few hundred calls first warm the caches up. Before
// each call, prepare() sets the scene unmeasured.
template<class Prepare>
void measureTicks(AppDelegate &delegate, int calls, const char *tickName, const char *eventsName, Prepare prepare)
{
    constexpr int WarmUp = 200;
    std::vector<double> ticks;
    std::vector<double> events;
    ticks.reserve(size_t(calls));
    events.reserve(size_t(calls));
    for (int i = 0; i < WarmUp + calls; ++i) {
        prepare();
        const double before = threadCpuUs();
        delegate.timerFired();
        const double between = threadCpuUs();
        QCoreApplication::processEvents();
        const double after = threadCpuUs();
        if (i >= WarmUp) {
            ticks.push_back(between - before);
            events.push_back(after - between);
        }
    }
    report(tickName, ticks);
    report(eventsName, events);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[argc - 1]).toInt()) : 10000;

    MainWindow window;
    AppDelegate delegate(&window, std::make_unique<QuietSystemActions>(), std::make_unique<QuietAlertPresenter>());
    delegate.applicationDidFinishLaunching();
    // The ticks are called here, one after the other; the real timer would
    // only add ticks of its own.
    for (QTimer *timer : delegate.findChildren<QTimer *>())
        timer->stop();
    window.show();
    const QDeadlineTimer exposed(5000);
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && !exposed.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    std::printf("qt %s platform %s\n", qVersion(), qPrintable(QGuiApplication::platformName()));
    // While the date page is shown, every real idle tick comes in a new
    // second, finds date picker A a second behind and brings the three
    // pickers up to now; back-to-back calls would find them in the current
    // second and do nothing. So picker A is put a second back before each
    // call, as the clock does. With the countdown page shown (as at launch)
    // the pickers wait until their page is shown.
    QWidget *datePage = delegate.tabview1()->widget(1);
    Control pickerA = delegate.getGUIObject(Tag::DatePickerA, datePage);
    const auto secondBehind = [&pickerA] {
        pickerA.setMinDate(QDateTime::currentDateTime().addSecs(-2));
        pickerA.setDateValue(QDateTime::currentDateTime().addSecs(-1));
    };
    measureTicks(delegate, calls, "idle-tick-us", "idle-events-us", secondBehind);
    delegate.tabview1()->setCurrentIndex(1);
    measureTicks(delegate, calls, "idle-datepage-tick-us", "idle-datepage-events-us", secondBehind);
    // A date set ahead by the user: the idle tick only compares.
    const auto dateAhead = [&pickerA] { pickerA.setDateValue(QDateTime::currentDateTime().addDays(1)); };
    measureTicks(delegate, calls, "idle-ahead-tick-us", "idle-ahead-events-us", dateAhead);

    // A year's countdown: no call here comes near its end.
    QWidget *countdownPage = delegate.tabview1()->widget(0);
    delegate.getGUIObject(Tag::NumberField, countdownPage).setStringValue(QStringLiteral("1"));
    delegate.getGUIObject(Tag::UnitComboBox, countdownPage).as<QComboBox>()->setCurrentText(QStringLiteral("Years"));
    delegate.getGUIObject(Tag::RunButton, nullptr).as<QAbstractButton>()->click();
    if (delegate.getGUIObject(Tag::RunButton, nullptr).title() != RunTitle::running()) {
        std::fprintf(stderr, "bench_tick: the countdown did not start\n");
        return 1;
    }
    measureTicks(delegate, calls, "running-tick-us", "running-events-us", [] {});
    return 0;
}
