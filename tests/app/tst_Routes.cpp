// The routes besides the mouse: arrow keys, Enter, mnemonics and an
// assistive technology's actions each reach the handler and the guard a
// click does, and the window says what a screen reader needs.

#include "controls/MessageBoxAlertPresenter.h"
#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

namespace {
void doAccessibleAction(QObject *object, int child, const QString &action)
{
    QAccessibleInterface *target = QAccessible::queryAccessibleInterface(object);
    if (child >= 0)
        target = target->child(child);
    target->actionInterface()->doAction(action);
}

// The mnemonic letters of the controls shown now, one per control.
QStringList shownMnemonics(QWidget *window)
{
    QStringList texts;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << button->text();
        else if (auto *label = qobject_cast<QLabel *>(w); label && label->buddy())
            texts << label->text();
        else if (auto *bar = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < bar->count(); ++i)
                texts << bar->tabText(i);
        else if (auto *menus = qobject_cast<QMenuBar *>(w))
            for (QAction *menu : menus->actions())
                texts << menu->text();
    }
    QStringList letters;
    for (const QString &text : texts)
        letters << QKeySequence::mnemonic(text).toString();
    return letters;
}
} // namespace

class tst_Routes : public QObject
{
    Q_OBJECT

private slots:
    void rowSelectedByEveryRoute_data()
    {
        QTest::addColumn<QString>("route");
        addRow("click", QString("click"));
        addRow("arrowKey", QString("arrowKey"));
        addRow("accessibleToggle", QString("toggle"));
    }
    void rowSelectedByEveryRoute()
    {
        QFETCH(QString, route);
        WindowFixture f;
        f.window->show();
        auto *matrix = f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>();
        QSignalSpy selected(matrix, &RadioMatrix::rowSelected);
        if (route == "click") {
            matrix->rowButton(5)->click();
        } else if (route == "arrowKey") {
            matrix->rowButton(4)->setChecked(true);
            selected.clear();
            f.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
            matrix->rowButton(4)->setFocus();
            QTest::keyClick(matrix->rowButton(4), Qt::Key_Down);
        } else {
            doAccessibleAction(matrix->rowButton(5), -1, QAccessibleActionInterface::toggleAction());
        }
        QCOMPARE(selected.count(), 1);
        QCOMPARE(matrix->selectedRow(), 5);
        QVERIFY(!f.control(Tag::ScriptPathField).isHidden() && !f.control(Tag::ChooseScriptButton).isHidden());
    }

    // An assistive technology's "Press" on a tab meets the page guard too,
    // and the refused page is never painted.
    void accessiblePressOnTab_data()
    {
        QTest::addColumn<bool>("running");
        addRow("idle", false);
        addRow("running", true);
    }
    void accessiblePressOnTab()
    {
        QFETCH(bool, running);
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        if (running)
            f.pressRun();
        QWidget *datePage = f.page(1);
        int paints = 0;
        struct PaintCounter : QObject
        {
            int &count;
            PaintCounter(int &c)
                : count(c)
            {
            }
            bool eventFilter(QObject *, QEvent *e) override { return count += e->type() == QEvent::Paint, false; }
        } counter(paints);
        datePage->installEventFilter(&counter);
        doAccessibleAction(f.delegate->tabview1()->tabBar(), 1, QAccessibleActionInterface::pressAction());
        QTest::qWait(100);
        QCOMPARE(f.delegate->tabview1()->currentIndex(), running ? 0 : 1);
        QCOMPARE(paints > 0, !running);
        datePage->removeEventFilter(&counter);
    }

    void enterPressesRun()
    {
        WindowFixture f;
        f.window->show();
        QTest::keyClick(f.control(Tag::NumberField, f.page(0)).as<QWidget>(), Qt::Key_Return);
        QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
        QCOMPARE(f.delegate->counterTimer(), 301);
    }

    // Among the controls shown together, no two share a mnemonic, and each
    // button, tab and field has one.
    void mnemonicsDistinct_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("page");
        addRow("countdownPage", 1, 0);
        addRow("datePageWithScript", 5, 1);
        addRow("countdownPageWithScript", 5, 0);
    }
    void mnemonicsDistinct()
    {
        QFETCH(int, row);
        QFETCH(int, page);
        WindowFixture f;
        f.window->show();
        f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->rowButton(row)->click();
        f.delegate->tabview1()->setCurrentIndex(page);
        const QStringList letters = shownMnemonics(f.window.get());
        QVERIFY2(!letters.contains(QString()), qPrintable(letters.join(' ')));
        QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
    }

    // What a screen reader says: the three pickers by what they are, not by
    // their value, and the unit box through its label (on Linux Qt names a
    // combo box by its value and ties the label to it); the box holds only
    // the six units.
    void accessibleNames()
    {
        WindowFixture f;
        QSet<QString> names;
        for (qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC})
            names << QAccessible::queryAccessibleInterface(f.control(tag, f.page(1)).object())->text(QAccessible::Name);
        QCOMPARE(names.size(), 3);
        QVERIFY(!names.contains(QString()));
        auto *units = f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>();
        const auto labels = QAccessible::queryAccessibleInterface(units)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(withoutMnemonic(labels.first().first->text(QAccessible::Name)), QStringLiteral("Unit"));
        QVERIFY(!units->isEditable());
    }

    void pickersShowNowFromLaunch()
    {
        WindowFixture f;
        const QDateTime shown = f.control(Tag::DatePickerC, f.page(1)).dateValue();
        QVERIFY(qAbs(shown.secsTo(QDateTime::currentDateTime())) < 5);
    }

    void chooseScriptOffersLinuxScripts()
    {
        WindowFixture f;
        f.window->show();
        f.selectRow(5);
        f.control(Tag::ChooseScriptButton).as<QAbstractButton>()->click();
        auto *dialog = f.window->findChild<QFileDialog *>();
        QVERIFY(dialog);
        QCOMPARE(dialog->nameFilters(), QStringList({"Scripts (*.sh *.bash *.py *.pl *.rb *.scpt)", "All files (*)"}));
        QCOMPARE(dialog->directory().absolutePath(), QDir::homePath());
        dialog->reject();
    }

    // The alert's heading is in the box itself, where every desktop shows
    // it; an error adds what its number means.
    void alertHeadingInTheBox_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("meaning");
        addRow("denied", -13, QString("password"));
        addRow("unknownMethod", -53, QString("does not know"));
        addRow("noSession", -6, QString("logind session"));
        addRow("notPermitted", -1, QString("does not allow"));
        addRow("other", -42, QString("help"));
    }
    void alertHeadingInTheBox()
    {
        QFETCH(int, status);
        QFETCH(QString, meaning);
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            shown << box->windowTitle() << box->text() << box->informativeText();
            box->accept();
        });
        MessageBoxAlertPresenter().showAlert(AlertKind::Error, AlertText::failedAction(status));
        QCOMPARE(shown.mid(0, 2), QStringList({"Morvane", "Error!"}));
        QVERIFY(shown.at(2).startsWith(QString::number(status) + '\n'));
        QVERIFY2(shown.at(2).contains(meaning), qPrintable(shown.at(2)));
    }

    // While the script runs the window says so, and a tick that falls due
    // meanwhile waits for it: the script is run once.
    void scriptRunShownAndTicksHeld()
    {
        WindowFixture f;
        f.selectRow(5);
        f.control(Tag::ScriptPathField).setStringValue(QStringLiteral("/bin/true"));
        f.setCountdown("1", "Seconds");
        f.pressRun();
        QString shown;
        f.actions->onCall = [&] {
            const Control text = f.control(Tag::TimeLeftText);
            shown = text.isHidden() ? QString() : text.stringValue();
            QMetaObject::invokeMethod(f.tickTimer(), "timeout", Qt::DirectConnection);
        };
        f.delegate->timerFired();
        QMetaObject::invokeMethod(f.tickTimer(), "timeout", Qt::DirectConnection);
        QTest::qWait(50);
        QCOMPARE(shown, QStringLiteral("Running the script…"));
        QCOMPARE(f.actions->calls, QStringList {"script:/bin/true"});
        QVERIFY(f.control(Tag::TimeLeftText).isHidden());
    }

    // The line under the actions: there when the system will refuse the
    // selected action, gone when it will not.
    void readinessLine()
    {
        WindowFixture f;
        const Control line = f.control(Tag::ReadinessText);
        auto *matrix = f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>();
        f.actions->readiness = Readiness::NeedsPassword;
        matrix->rowButton(0)->click();
        QVERIFY(!line.isHidden() && line.stringValue().contains("password"));
        f.actions->readiness = Readiness::Ready;
        f.pressRun();
        QVERIFY(line.isHidden());
    }
};

QTEST_MAIN(tst_Routes)
#include "tst_Routes.moc"
