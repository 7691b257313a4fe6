// Work put off until the window's first paint: it never runs inside the
// launch, comes after the paint of a window that is shown, still comes for
// one that never is, and never reaches a window or an owner already gone.

#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {
// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};
} // namespace

class tst_AfterFirstPaint : public QObject
{
    Q_OBJECT

private slots:
    void runsOnceAfterThePaint_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("shownAfterTheCall");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<int>("runs");
        QTest::addColumn<bool>("afterAPaint");

        QTest::newRow("shown before the call") << true << false << QString() << 1 << true;
        QTest::newRow("painted before the call") << true << false << "painted" << 1 << true;
        QTest::newRow("shown right after the call, as the launch does") << true << true << QString() << 1 << true;
        QTest::newRow("never shown") << false << false << QString() << 1 << false;
        QTest::newRow("window deleted before the loop runs") << true << true << "window" << 0 << false;
        QTest::newRow("owner deleted before the loop runs") << true << true << "context" << 0 << false;
        QTest::newRow("owner deleted before the paint") << true << true << "context after the check" << 0 << false;
    }

    void runsOnceAfterThePaint()
    {
        QFETCH(bool, shown);
        QFETCH(bool, shownAfterTheCall);
        QFETCH(QString, meanwhile);
        QFETCH(int, runs);
        QFETCH(bool, afterAPaint);

        auto window = std::make_unique<QWidget>();
        window->resize(200, 100);
        auto context = std::make_unique<QObject>();
        PaintCounter counter;
        window->installEventFilter(&counter);
        int ran = 0;
        int paintsSeen = -1;
        if (shown && !shownAfterTheCall)
            window->show();
        if (meanwhile == "painted")
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        AfterFirstPaint::run(window.get(), context.get(), [&] {
            ++ran;
            paintsSeen = counter.paints;
        });
        if (shownAfterTheCall)
            window->show();
        // Nothing inside the launch itself.
        QCOMPARE(ran, 0);
        if (meanwhile == "window")
            window.reset();
        if (meanwhile == "context")
            context.reset();
        if (meanwhile == "context after the check") {
            QCoreApplication::sendPostedEvents();
            context.reset();
        }
        QTest::qWait(100);
        QCOMPARE(ran, runs);
        if (runs > 0)
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
