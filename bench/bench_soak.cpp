// Morvane ticks all day long: a million ticks, counting and idle by turns,
// measured against the memory in use after the first ten thousand. A leak
// of even 8 bytes a tick would show as megabytes. Events are processed after
// every tick, as the event loop would. The real main window and controller,
// with stand-ins for the system actions and the alert.
//
//   bench_soak [ticks]     prints one line: "soak ticks N heap-bytes A B
//                          resident-kib C D anon-kib E F seconds S", each
//                          pair after 10,000 ticks and at the end

#include "actions/SystemActions.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "controls/AlertPresenter.h"
#include "controls/Tags.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <malloc.h>

namespace {
constexpr qint64 SettleTicks = 10000;
constexpr qint64 BlockTicks = 2500;

// No task is let to expire and no alert is shown; each counts what reaches it.
class QuietSystemActions : public SystemActions
{
public:
    int sendPowerEvent(quint32) override { return ++calls, 0; }
    int turnDisplayOff() override { return ++calls, 0; }
    QString displayOffFailure() override { return QString(); }
    void runScript(const QString &) override { ++calls; }
    Readiness powerEventReadiness(quint32) override { return Readiness::Ready; }
    Readiness displayReadiness() override { return Readiness::Ready; }
    int calls = 0;
};

class QuietAlertPresenter : public AlertPresenter
{
public:
    void showAlert(AlertKind, const QString &) override { ++alerts; }
    int alerts = 0;
};

struct Memory
{
    qint64 heap = 0; // bytes handed out by malloc and not freed
    qint64 residentKib = 0; // VmRSS
    qint64 anonymousKib = 0; // RssAnon
};

qint64 statusKib(const QString &status, const char *name)
{
    const QRegularExpression field(
        QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(name)), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = field.match(status);
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

Memory measure()
{
    Memory memory;
    memory.heap = qint64(mallinfo2().uordblks);
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QString text = QString::fromLatin1(status.readAll());
        memory.residentKib = statusKib(text, "VmRSS");
        memory.anonymousKib = statusKib(text, "RssAnon");
    }
    return memory;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const qint64 soakTicks = argc > 1 ? std::max<qint64>(SettleTicks, QByteArray(argv[1]).toLongLong()) : 1000000;

    MainWindow window;
    auto actions = std::make_unique<QuietSystemActions>();
    auto alerts = std::make_unique<QuietAlertPresenter>();
    QuietSystemActions *actionCalls = actions.get();
    QuietAlertPresenter *alertCalls = alerts.get();
    AppDelegate delegate(&window, std::move(actions), std::move(alerts));
    delegate.applicationDidFinishLaunching();
    // The ticks are called here; the real timer would only add its own.
    for (QTimer *timer : delegate.findChildren<QTimer *>())
        timer->stop();

    TaggedTabView *pages = delegate.tabview1();
    const Control runButton = delegate.getGUIObject(Tag::RunButton, nullptr);
    delegate.getGUIObject(Tag::NumberField, pages->widget(0)).setStringValue(QStringLiteral("1"));
    delegate.getGUIObject(Tag::UnitComboBox, pages->widget(0)).as<QComboBox>()->setCurrentText(QStringLiteral("Years"));
    Control pickerA = delegate.getGUIObject(Tag::DatePickerA, pages->widget(1));
    // What measuring costs the first time is not growth.
    measure();

    QElapsedTimer clock;
    clock.start();
    Memory settled;
    for (qint64 tick = 1; tick <= soakTicks; ++tick) {
        // Counting and idle blocks, switched with the Run button, so that the
        // first ten thousand ticks have been down every path. Idle, the date
        // page is shown with picker A a minute back, for the tick to bring
        // it to now; the countdown starts from the countdown page.
        if (tick % BlockTicks == 1) {
            const bool counting = (tick / BlockTicks) % 2 == 0;
            if (counting)
                pages->setCurrentIndex(0);
            runButton.as<QAbstractButton>()->click();
            if ((runButton.title() == RunTitle::running()) != counting) {
                std::fprintf(stderr, "bench_soak: the Run button did not %s the task\n", counting ? "start" : "stop");
                return 1;
            }
            if (!counting) {
                pages->setCurrentIndex(1);
                pickerA.setDateValue(QDateTime::currentDateTime().addSecs(-60));
            }
        }
        delegate.timerFired();
        QCoreApplication::processEvents();
        if (tick == SettleTicks)
            settled = measure();
    }
    const Memory last = measure();
    if (actionCalls->calls != 0 || alertCalls->alerts != 0) {
        std::fprintf(stderr, "bench_soak: %d actions and %d alerts where none were due\n", actionCalls->calls,
            alertCalls->alerts);
        return 1;
    }
    std::printf("soak ticks %lld heap-bytes %lld %lld resident-kib %lld %lld anon-kib %lld %lld seconds %.1f\n",
        soakTicks, settled.heap, last.heap, settled.residentKib, last.residentKib, settled.anonymousKib,
        last.anonymousKib, clock.elapsed() / 1000.0);
    return 0;
}
