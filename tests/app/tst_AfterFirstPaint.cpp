// Work put off until the window's first paint: it never runs inside the
// launch, comes after the paint of a window that is shown, still comes for
// one that never is, and never reaches a window or an owner already gone.

#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {
struct PaintCounter : QObject
{
    bool eventFilter(QObject *, QEvent *event) override { return (paints += event->type() == QEvent::Paint), false; }
    int paints = 0;
};
} // namespace

class tst_AfterFirstPaint : public QObject
{
    Q_OBJECT

private slots:
    void runsOnceAfterThePaint_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<int>("runs");
        QTest::addColumn<bool>("afterAPaint");
        QTest::newRow("shown right after the call, as the launch does") << "shown" << 1 << true;
        QTest::newRow("painted before the call") << "painted" << 1 << true;
        QTest::newRow("never shown") << "hidden" << 1 << false;
        QTest::newRow("window deleted before the loop runs") << "window" << 0 << false;
        QTest::newRow("owner deleted before the paint") << "context" << 0 << false;
    }

    void runsOnceAfterThePaint()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, runs);
        QFETCH(bool, afterAPaint);
        auto window = std::make_unique<QWidget>();
        window->resize(200, 100);
        auto context = std::make_unique<QObject>();
        PaintCounter counter;
        window->installEventFilter(&counter);
        int ran = 0;
        int paintsSeen = 0;
        if (meanwhile == "painted") {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        }
        AfterFirstPaint::run(window.get(), context.get(), [&] { ++ran, paintsSeen = counter.paints; });
        if (meanwhile != "hidden")
            window->show();
        // Nothing inside the launch itself.
        QCOMPARE(ran, 0);
        if (meanwhile == "window")
            window.reset();
        if (meanwhile == "context") {
            // Past the loop's first turn: the work now waits for the paint.
            QCoreApplication::sendPostedEvents();
            context.reset();
        }
        QTest::qWait(100);
        QCOMPARE(ran, runs);
        QCOMPARE(paintsSeen > 0, afterAPaint);
        // Later exposes run nothing again.
        if (window) {
            window->hide();
            window->show();
        }
        QTest::qWait(50);
        QCOMPARE(ran, runs);
    }
};

QTEST_MAIN(tst_AfterFirstPaint)
#include "tst_AfterFirstPaint.moc"
