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
#include <QToolButton>
#include <functional>

namespace {
// The mnemonic letters of the controls shown now, one per control.
QStringList shownMnemonics(QWidget *window)
{
    QStringList letters;
    const auto add = [&](const QString &text) { letters << QKeySequence::mnemonic(text).toString(); };
    for (QWidget *w : window->findChildren<QWidget *>(Qt::FindChildrenRecursively)) {
        auto *label = qobject_cast<QLabel *>(w);
        auto *bar = qobject_cast<QTabBar *>(w);
        if (!w->isVisibleTo(window))
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            add(button->text());
        for (int i = 0; bar && i < bar->count(); ++i)
            add(bar->tabText(i));
        if (label && label->buddy())
            add(label->text());
    }
    for (QAction *menu : window->findChild<QMenuBar *>()->actions())
        add(menu->text());
    return letters;
}

RadioMatrix *actionMatrix(WindowFixture &f)
{
    return f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>();
}
} // namespace

class tst_Routes : public QObject
{
    Q_OBJECT

private slots:
    void rowSelectedByEveryRoute_data()
    {
        QTest::addColumn<QString>("route");
        for (const char *route : {"click", "arrowKey", "accessibleToggle"})
            addRow(route, QString(route));
    }
    void rowSelectedByEveryRoute()
    {
        QFETCH(QString, route);
        WindowFixture f;
        f.window->show();
        auto *matrix = actionMatrix(f);
        matrix->rowButton(4)->setChecked(true);
        QSignalSpy selected(matrix, &RadioMatrix::rowSelected);
        if (route == "click") {
            matrix->rowButton(5)->click();
        } else if (route == "arrowKey") {
            f.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
            matrix->rowButton(4)->setFocus();
            QTest::keyClick(matrix->rowButton(4), Qt::Key_Down);
        } else {
            QAccessible::queryAccessibleInterface(matrix->rowButton(5))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::toggleAction());
        }
        QCOMPARE(selected.count(), 1);
        QCOMPARE(matrix->selectedRow(), 5);
    }

    // At launch: the pickers show now; a screen reader names the pickers and
    // the unit box by what they are (on Linux Qt names a combo box by its
    // value) and meets no control the window never shows; the box holds only
    // the six units; Choose Script... offers the script types of Linux, from
    // the home folder.
    void windowAtLaunch()
    {
        WindowFixture f;
        f.window->show();
        QSet<QString> names;
        for (qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC})
            names << QAccessible::queryAccessibleInterface(f.control(tag, f.page(1)).object())->text(QAccessible::Name);
        QCOMPARE(names.size(), 3);
        QVERIFY(!names.contains(QString()));
        QVERIFY(qAbs(f.control(Tag::DatePickerC, f.page(1)).dateValue().secsTo(QDateTime::currentDateTime())) < 5);
        auto *units = f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>();
        const QAccessibleInterface *unitBox = QAccessible::queryAccessibleInterface(units);
        QCOMPARE(
            unitBox->text(QAccessible::Name) + '=' + unitBox->text(QAccessible::Value), QStringLiteral("Unit=Minutes"));
        QObjectList tree;
        std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i)), tree << node->child(i)->object();
        };
        walk(QAccessible::queryAccessibleInterface(f.window.get()));
        QVERIFY(!tree.contains(f.control(Tag::SpareCheckBox).object())
            && !tree.contains(f.delegate->tabview2()->tabBar())
            && !tree.contains(f.delegate->tabview1()->tabBar()->findChild<QToolButton *>()));
        QVERIFY(!units->isEditable());
        f.selectRow(5);
        f.control(Tag::ChooseScriptButton).as<QAbstractButton>()->click();
        auto *dialog = f.window->findChild<QFileDialog *>();
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
        const std::pair<int, const char *> rows[] = {
            {-13, "password"}, {-53, "does not know"}, {-6, "logind session"}, {-1, "does not allow"}, {-42, "help"}};
        for (const auto &[status, meaning] : rows)
            addRow(meaning, status, QString(meaning));
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

    // While the script runs the window says so.
    void scriptRunShown()
    {
        WindowFixture f;
        f.selectRow(5);
        f.control(Tag::ScriptPathField).setStringValue(QStringLiteral("/bin/true"));
        f.setCountdown("1", "Seconds");
        f.pressRun();
        const Control text = f.control(Tag::TimeLeftText);
        QString shown;
        f.actions->onCall = [&] { shown = text.isHidden() ? QString() : text.stringValue(); };
        f.tick();
        f.tick();
        QCOMPARE(shown, QStringLiteral("Running the script…"));
        QCOMPARE(f.actions->calls, QStringList {"script:/bin/true"});
        QVERIFY(text.isHidden());
    }

    // The line under the actions: there when the system will refuse the
    // selected action, gone when it will not.
    void readinessLine()
    {
        WindowFixture f;
        const Control line = f.control(Tag::ReadinessText);
        f.actions->readiness = Readiness::NeedsPassword;
        actionMatrix(f)->rowButton(0)->click();
        QVERIFY(!line.isHidden() && line.stringValue().contains("password"));
        f.actions->readiness = Readiness::Ready;
        f.pressRun();
        QVERIFY(line.isHidden());
    }

    // Tab goes through the controls shown in the order they are seen: the
    // action column, the schedule tabs and page, the script row, Help, Run;
    // while a task runs, through what is left enabled and Postpone. Among the
    // controls shown together, no two share a mnemonic, and each button, tab
    // and field has one. Enter in the number field presses Run.
    void controlsShownTogether_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("order");
        const QStringList buttons {"helpButton", "runButton"};
        addRow("countdownPage", 1, 0, false,
            QStringList {"actionMatrix", "tabview1", "numberField", "unitComboBox"} + buttons);
        // Choose Script... sits in the action column, under the actions.
        addRow("datePageWithScript", 5, 1, false,
            QStringList {"actionMatrix", "chooseScriptButton", "tabview1", "datePickerA", "datePickerB", "datePickerC",
                "nowButton", "minimumStepper", "scriptPathField", "dimAfterScriptCheckBox"}
                + buttons);
        addRow("countdownPageWithScript", 5, 0, false,
            QStringList {"actionMatrix", "chooseScriptButton", "tabview1", "numberField", "unitComboBox",
                "scriptPathField", "dimAfterScriptCheckBox"}
                + buttons);
        addRow("running", 1, 0, true, QStringList {"helpButton", "postponeButton", "runButton", "tabview1"});
    }
    void controlsShownTogether()
    {
        QFETCH(int, row);
        QFETCH(int, page);
        QFETCH(bool, running);
        QFETCH(QStringList, order);
        WindowFixture f;
        f.window->show();
        QApplication::setActiveWindow(f.window.get());
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        actionMatrix(f)->rowButton(row)->click();
        f.delegate->tabview1()->setCurrentIndex(page);
        const QStringList letters = shownMnemonics(f.window.get());
        QVERIFY2(!letters.contains(QString()), qPrintable(letters.join(' ')));
        QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
        if (running)
            f.pressRun();
        // The editing controls are locked while a task runs.
        (running ? f.window->findChild<QWidget *>(order.first()) : actionMatrix(f)->rowButton(row))->setFocus();
        // A control made of parts (the radio column, a tab widget's bar, a
        // spin box's line edit) counts by the control, and once: Tab first
        // steps through the fields of a date picker.
        QStringList visited;
        for (int i = 0; i < 60 && visited.size() <= order.size(); ++i) {
            QWidget *focus = QApplication::focusWidget();
            while (focus && focus != f.window.get() && !order.contains(focus->objectName()))
                focus = focus->parentWidget();
            const QString name = focus ? focus->objectName() : QString();
            if (visited.isEmpty() || visited.last() != name)
                visited << name;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited.join(' '), (order + QStringList {order.first()}).join(' '));
        if (running)
            return;
        QTest::keyClick(f.control(Tag::NumberField, f.page(0)).as<QWidget>(), Qt::Key_Return);
        // With the script row and no script, or the date page at now, Run refuses.
        QCOMPARE(f.delegate->counterTimer(), row == 1 && page == 0 ? 301 : 0);
    }
};

QTEST_MAIN(tst_Routes)
#include "tst_Routes.moc"
