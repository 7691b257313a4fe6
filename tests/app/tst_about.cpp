// The About window: one window for the life of the application, shown again
// after closing, and closed only by its own close button.

#include "app/AboutWindowController.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
QAbstractButton *closeButton(QWidget *aboutWindow)
{
    for (QAbstractButton *button : aboutWindow->findChildren<QAbstractButton *>()) {
        if (button->property(Tag::Property).toLongLong() == Tag::AboutCloseButton)
            return button;
    }
    return nullptr;
}

int visibleAboutWindows()
{
    int count = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        count += window->isVisible() && window->findChild<QLineEdit *>(QStringLiteral("aTextField"));
    return count;
}
} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void oneWindowShownAgainAfterClosing();
    void promptEvent_data();
    void promptEvent();
};

void TestAbout::oneWindowShownAgainAfterClosing()
{
    WindowFixture f;
    QAction *about = nullptr;
    for (QAction *item : f.window->menuItems()) {
        if (item->property(Tag::Property).toLongLong() == Tag::AboutMenuItem)
            about = item;
    }
    QVERIFY(about);
    QVERIFY(!f.delegate->vAboutWindowController());

    about->trigger();
    AboutWindowController *controller = f.delegate->vAboutWindowController();
    QVERIFY(controller);
    QPointer<QWidget> window = controller->window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(controller->aTextField()->text(), QStringLiteral("Morvane"));
    bool versionShown = false;
    for (const QLabel *label : window->findChildren<QLabel *>())
        versionShown = versionShown || label->text().contains(QStringLiteral(MORVANE_VERSION));
    QVERIFY(versionShown);

    about->trigger();
    QCOMPARE(f.delegate->vAboutWindowController(), controller);
    QCOMPARE(controller->window(), window.data());
    QCOMPARE(visibleAboutWindows(), 1);

    // Closing hides the window; it is kept for the next request.
    QTest::mouseClick(closeButton(window), Qt::LeftButton);
    QVERIFY(window);
    QCOMPARE(visibleAboutWindows(), 0);

    about->trigger();
    QCOMPARE(f.delegate->vAboutWindowController(), controller);
    QCOMPARE(controller->window(), window.data());
    QVERIFY(window->isVisible());
    QCOMPARE(controller->aTextField()->text(), QStringLiteral("Morvane"));
    QVERIFY(f.alerts->alerts.isEmpty());
}

// Which senders close the About window: the close button's tag decides, and
// only for buttons.
void TestAbout::promptEvent_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<qint64>("tag");
    QTest::addColumn<bool>("closes");

    const qint64 close = Tag::AboutCloseButton;
    QTest::newRow("closeButton") << "closeButton" << close << true;
    QTest::newRow("checkBoxWithCloseTag") << "checkBox" << close << true;
    QTest::newRow("buttonWithOtherTag") << "pushButton" << close + 1 << false;
    QTest::newRow("buttonWithoutTag") << "pushButton" << qint64(0) << false;
    QTest::newRow("lineEditWithCloseTag") << "lineEdit" << close << false;
    QTest::newRow("actionWithCloseTag") << "action" << close << false;
    QTest::newRow("noSender") << "" << qint64(0) << false;
}

void TestAbout::promptEvent()
{
    QFETCH(QString, sender);
    QFETCH(qint64, tag);
    QFETCH(bool, closes);

    WindowFixture f;
    f.delegate->showAboutWindow();
    AboutWindowController *controller = f.delegate->vAboutWindowController();
    QWidget *window = controller->window();
    QVERIFY(window->isVisible());

    QObject *object = sender == QLatin1String("closeButton") ? closeButton(window)
        : sender == QLatin1String("checkBox")                ? new QCheckBox(window)
        : sender == QLatin1String("pushButton")              ? new QPushButton(window)
        : sender == QLatin1String("lineEdit")                ? new QLineEdit(window)
        : sender == QLatin1String("action")                  ? static_cast<QObject *>(new QAction(window))
                                                             : nullptr;
    if (object && tag)
        object->setProperty(Tag::Property, tag);

    controller->promptEvent(object);

    QCOMPARE(window->isVisible(), !closes);
    QCOMPARE(controller->window(), window);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
