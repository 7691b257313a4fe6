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
QAction *menuItem(const WindowFixture &f, qint64 tag)
{
    const auto items = f.window->menuItems();
    for (QAction *item : items) {
        if (item->property(Tag::Property).toLongLong() == tag)
            return item;
    }
    return nullptr;
}

QAbstractButton *closeButton(QWidget *aboutWindow)
{
    const auto buttons = aboutWindow->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->property(Tag::Property).toLongLong() == Tag::AboutCloseButton)
            return button;
    }
    return nullptr;
}

int visibleAboutWindows()
{
    int count = 0;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible() && window->findChild<QLineEdit *>(QStringLiteral("aTextField")))
            ++count;
    }
    return count;
}
} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void aboutTwiceShowsOneWindow();
    void aboutAfterClosingShowsItAgain();
    void windowShowsVersion();
    void promptEvent_data();
    void promptEvent();
};

void TestAbout::aboutTwiceShowsOneWindow()
{
    WindowFixture f;
    QAction *about = menuItem(f, Tag::AboutMenuItem);
    QVERIFY(about);

    about->trigger();
    AboutWindowController *controller = f.delegate->vAboutWindowController();
    QVERIFY(controller);
    QWidget *window = controller->window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(controller->aTextField()->text(), QStringLiteral("Morvane"));

    about->trigger();
    QCOMPARE(f.delegate->vAboutWindowController(), controller);
    QCOMPARE(controller->window(), window);
    QVERIFY(window->isVisible());
    QCOMPARE(visibleAboutWindows(), 1);
}

void TestAbout::aboutAfterClosingShowsItAgain()
{
    WindowFixture f;
    f.delegate->promptEvent(menuItem(f, Tag::AboutMenuItem));
    AboutWindowController *controller = f.delegate->vAboutWindowController();
    QVERIFY(controller);
    QPointer<QWidget> window = controller->window();
    QAbstractButton *close = closeButton(window);
    QVERIFY(close);

    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QCOMPARE(visibleAboutWindows(), 0);
    // Closing hides the window; it is kept for the next request.
    QVERIFY(window);

    f.delegate->promptEvent(menuItem(f, Tag::AboutMenuItem));
    QCOMPARE(f.delegate->vAboutWindowController(), controller);
    QCOMPARE(controller->window(), window.data());
    QVERIFY(window->isVisible());
    QCOMPARE(controller->aTextField()->text(), QStringLiteral("Morvane"));
}

void TestAbout::windowShowsVersion()
{
    AboutWindowController controller;
    QVERIFY(!controller.window());
    controller.showWindow(nullptr);
    QVERIFY(controller.window());

    bool versionShown = false;
    const auto labels = controller.window()->findChildren<QLabel *>();
    for (const QLabel *label : labels)
        versionShown = versionShown || label->text().contains(QStringLiteral(MORVANE_VERSION));
    QVERIFY(versionShown);
}

// Which senders close the About window. The close button's tag decides, and
// only for buttons.
void TestAbout::promptEvent_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<bool>("closes");

    QTest::newRow("closeButton") << "closeButton" << true;
    QTest::newRow("checkBoxWithCloseTag") << "checkBoxWithCloseTag" << true;
    QTest::newRow("buttonWithOtherTag") << "buttonWithOtherTag" << false;
    QTest::newRow("buttonWithoutTag") << "buttonWithoutTag" << false;
    QTest::newRow("lineEditWithCloseTag") << "lineEditWithCloseTag" << false;
    QTest::newRow("actionWithCloseTag") << "actionWithCloseTag" << false;
    QTest::newRow("noSender") << "noSender" << false;
}

void TestAbout::promptEvent()
{
    QFETCH(QString, sender);
    QFETCH(bool, closes);

    WindowFixture f;
    f.delegate->showAboutWindow();
    AboutWindowController *controller = f.delegate->vAboutWindowController();
    QWidget *window = controller->window();
    QVERIFY(window->isVisible());

    QObject *object = nullptr;
    if (sender == QLatin1String("closeButton")) {
        object = closeButton(window);
    } else if (sender == QLatin1String("checkBoxWithCloseTag")) {
        object = new QCheckBox(window);
        object->setProperty(Tag::Property, Tag::AboutCloseButton);
    } else if (sender == QLatin1String("buttonWithOtherTag")) {
        object = new QPushButton(window);
        object->setProperty(Tag::Property, Tag::AboutCloseButton + 1);
    } else if (sender == QLatin1String("buttonWithoutTag")) {
        object = new QPushButton(window);
    } else if (sender == QLatin1String("lineEditWithCloseTag")) {
        object = new QLineEdit(window);
        object->setProperty(Tag::Property, Tag::AboutCloseButton);
    } else if (sender == QLatin1String("actionWithCloseTag")) {
        object = new QAction(window);
        object->setProperty(Tag::Property, Tag::AboutCloseButton);
    }
    QVERIFY(object || sender == QLatin1String("noSender"));

    controller->promptEvent(object);

    QCOMPARE(window->isVisible(), !closes);
    QCOMPARE(controller->window(), window);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
