// Morvane ticks all day long: a million ticks, counting and idle by turns,
// must leave memory where it stood after the first ten thousand. Events are
// processed after every tick, as the event loop would.

#include "tests/support/WindowFixture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
#define MORVANE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVANE_ASAN 1
#endif
#endif

#ifdef MORVANE_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {
constexpr qint64 SettleTicks = 10000;
constexpr qint64 BlockTicks = 2500;
constexpr qint64 SoakTicks = 1000000;
// A page or two of the allocator's own bookkeeping may come and go; a leak
// of even 8 bytes a tick would be several MiB.
constexpr qint64 AllowedHeapGrowth = 64 * 1024;
constexpr qint64 AllowedResidentGrowth = 1024 * 1024;

struct Memory {
    qint64 heap = 0; // bytes handed out by malloc and not freed
    qint64 resident = 0; // VmRSS
    qint64 anonymous = 0; // RssAnon
};

qint64 statusField(const QString &status, const QString &name)
{
    const QRegularExpression field(QStringLiteral("^%1:\\s+(\\d+) kB").arg(name), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = field.match(status);
    return match.hasMatch() ? match.captured(1).toLongLong() * 1024 : -1;
}

Memory measure()
{
    Memory memory;
#ifdef MORVANE_ASAN
    memory.heap = qint64(__sanitizer_get_current_allocated_bytes());
#else
    memory.heap = qint64(mallinfo2().uordblks);
#endif
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QString text = QString::fromLatin1(status.readAll());
        memory.resident = statusField(text, QStringLiteral("VmRSS"));
        memory.anonymous = statusField(text, QStringLiteral("RssAnon"));
    }
    return memory;
}
}

class tst_Soak : public QObject
{
    Q_OBJECT

private slots:
    void millionTicksDoNotGrow();
};

void tst_Soak::millionTicksDoNotGrow()
{
    WindowFixture f;
    f.control(Tag::NumberField, f.page(0)).setStringValue(QStringLiteral("1"));
    f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>()->setCurrentText(QStringLiteral("Years"));

    auto *pickerA = f.control(Tag::DatePickerA, f.page(1)).as<QDateTimeEdit>();
    QVERIFY(pickerA);
    // What measuring costs the first time is not growth.
    measure();

    Memory settled;
    for (qint64 tick = 1; tick <= SoakTicks; ++tick) {
        // Counting and idle blocks, switched with the Run button, so that the
        // first ten thousand ticks have been down every path; each idle
        // block sets the date a minute back for the tick to bring to now.
        if (tick % BlockTicks == 1) {
            f.delegate->promptEvent(f.control(Tag::RunButton).object());
            const bool counting = (tick / BlockTicks) % 2 == 0;
            QCOMPARE(f.runTitle(), counting ? QStringLiteral("Stop") : QStringLiteral("Run"));
            if (!counting)
                pickerA->setDateTime(QDateTime::currentDateTime().addSecs(-60));
        }
        f.delegate->timerFired();
        QCoreApplication::processEvents();
        if (tick == SettleTicks)
            settled = measure();
    }
    const Memory last = measure();

    QVERIFY(f.alerts->alerts.isEmpty());
    QVERIFY(f.actions->calls.isEmpty());
    qInfo("%lld ticks; heap %lld -> %lld bytes, resident %lld -> %lld KiB, anonymous %lld -> %lld KiB", SoakTicks,
          settled.heap, last.heap, settled.resident / 1024, last.resident / 1024, settled.anonymous / 1024,
          last.anonymous / 1024);
    QVERIFY2(last.heap - settled.heap <= AllowedHeapGrowth,
             qPrintable(QStringLiteral("heap grew by %1 bytes").arg(last.heap - settled.heap)));
    QVERIFY2(last.resident - settled.resident <= AllowedResidentGrowth,
             qPrintable(QStringLiteral("resident memory grew by %1 KiB").arg((last.resident - settled.resident) / 1024)));
}

QTEST_MAIN(tst_Soak)
#include "tst_Soak.moc"
