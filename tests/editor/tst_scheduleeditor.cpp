// Editing a task in the real window: the action rows and the script
// controls, the three mirrored date pickers, the now button, the minimum
// stepper and the script-file dialog.

#include "editor/ScheduleEditor.h"
#include "tests/editor/EditorTestSupport.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace EditorTest;

namespace {
const qint64 Pickers[] = {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC};
const QList<qint64> ScriptControls
    = {Tag::ScriptCaption, Tag::ScriptPathField, Tag::ChooseScriptButton, Tag::DimAfterScriptCheckBox};

QDateTimeEdit *picker(const WindowFixture &f, qint64 tag)
{
    return f.control(tag, f.page(1)).as<QDateTimeEdit>();
}

// Watches the three pickers for changes they send themselves.
std::vector<std::unique_ptr<QSignalSpy>> watchPickers(const WindowFixture &f)
{
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (qint64 tag : Pickers)
        spies.push_back(std::make_unique<QSignalSpy>(picker(f, tag), &QDateTimeEdit::dateTimeChanged));
    return spies;
}

// Ticks would bring the pickers forward while a test waits on the event
// loop; these tests are about editing alone.
void holdTicks(const WindowFixture &f)
{
    if (auto *timer = f.delegate->findChild<QTimer *>())
        timer->stop();
}
} // namespace

class TestScheduleEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void actionSelection_data();
    void actionSelection();
    void mirroring_data();
    void mirroring();
    void resetToNow();
    void minimumStepper_data();
    void minimumStepper();
    void scriptSheet_data();
    void scriptSheet();

private:
    QTemporaryDir m_dir;
};

void TestScheduleEditor::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFile(m_dir.filePath(QStringLiteral("nightly.scpt"))).open(QIODevice::WriteOnly));
}

void TestScheduleEditor::actionSelection_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("scriptShown");

    QTest::newRow("restart") << 0 << false;
    QTest::newRow("displaySleep") << 4 << false;
    QTest::newRow("script") << 5 << true;
    QTest::newRow("noSelection") << -1 << false;
}

void TestScheduleEditor::actionSelection()
{
    QFETCH(int, row);
    QFETCH(bool, scriptShown);

    WindowFixture f;
    // Start from the opposite, so that every change is seen.
    pickRow(f, scriptShown ? 0 : 5);
    f.control(Tag::SpareCheckBox).setHidden(false);
    f.control(Tag::RunButton).setEnabled(false);
    const QString path = m_dir.filePath(QStringLiteral("nightly.scpt"));
    f.control(Tag::ScriptPathField).setStringValue(path);

    if (row >= 0) {
        pickRow(f, row);
    } else {
        matrix(f)->setSelectedRow(-1);
        f.delegate->promptEvent(matrix(f));
    }

    for (qint64 tag : ScriptControls)
        QVERIFY2(f.control(tag).isHidden() != scriptShown, qPrintable(QString::number(tag)));
    QVERIFY(f.control(Tag::SpareCheckBox).isHidden());
    QVERIFY(f.control(Tag::RunButton).isEnabled());
    QCOMPARE(f.control(Tag::ScriptPathField).stringValue(), path);
    QVERIFY(f.alerts->alerts.isEmpty());
}

void TestScheduleEditor::mirroring_data()
{
    QTest::addColumn<qint64>("changed");

    QTest::newRow("pickerA") << Tag::DatePickerA;
    QTest::newRow("pickerB") << Tag::DatePickerB;
    QTest::newRow("pickerC") << Tag::DatePickerC;
}

void TestScheduleEditor::mirroring()
{
    QFETCH(qint64, changed);

    WindowFixture f;
    const QDateTime old(QDate(2030, 1, 1), QTime(8, 0));
    for (qint64 tag : Pickers)
        f.delegate->setTimeInfo(old, f.control(tag, f.page(1)));
    const auto spies = watchPickers(f);

    // The user sets the date: the picker sends its change itself.
    const QDateTime target = QDateTime::currentDateTime().addMSecs(3600500);
    picker(f, changed)->setDateTime(target);

    // The copies are set from code and send nothing, so nothing echoes back.
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(picker(f, Pickers[i])->dateTime(), target);
        QCOMPARE(spies[i]->count(), Pickers[i] == changed ? 1 : 0);
    }
    // A start reads picker A, whichever picker the user changed.
    f.delegate->tabview1()->setCurrentIndex(1);
    pressRun(f);
    QCOMPARE(f.delegate->counterTimer(), 3601);
}

void TestScheduleEditor::resetToNow()
{
    WindowFixture f;
    for (qint64 tag : Pickers)
        f.delegate->setTimeInfo(QDateTime(QDate(2001, 1, 1), QTime(0, 0)), f.control(tag, f.page(1)));
    const auto spies = watchPickers(f);

    const QDateTime before = QDateTime::currentDateTime();
    f.control(Tag::NowButton, f.page(1)).as<QAbstractButton>()->click();
    const QDateTime after = QDateTime::currentDateTime();

    // Each picker has its own reading of the clock, taken in A, B, C order.
    QDateTime previous = before;
    for (int i = 0; i < 3; ++i) {
        const QDateTime date = picker(f, Pickers[i])->dateTime();
        QVERIFY2(date >= previous && date <= after, qPrintable(QString::number(Pickers[i])));
        QCOMPARE(spies[i]->count(), 0);
        previous = date;
    }
}

void TestScheduleEditor::minimumStepper_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("count");

    QTest::newRow("one") << 1 << "1 second" << qint64(2);
    QTest::newRow("five") << 5 << "5 seconds" << qint64(6);
    QTest::newRow("zero") << 0 << "0 seconds" << qint64(2);
    QTest::newRow("largest") << 3600 << "3600 seconds" << qint64(3601);
}

void TestScheduleEditor::minimumStepper()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(qint64, count);

    WindowFixture f;
    auto *stepper = f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>();
    // The user moves the stepper; from another value so that it sends.
    stepper->setValue(value == 2 ? 3 : 2);
    stepper->setValue(value);

    QCOMPARE(f.delegate->minimumCounter(), value);
    QCOMPARE(f.control(Tag::MinimumSecondsText, f.page(1)).stringValue(), text);
    // The next start uses the new minimum: one second raised to it.
    setUpCountdown(f, QStringLiteral("1"), QStringLiteral("Seconds"));
    pressRun(f);
    QCOMPARE(f.delegate->counterTimer(), count);
}

void TestScheduleEditor::scriptSheet_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("takesPath");

    QTest::newRow("open") << int(QDialog::Accepted) << true;
    QTest::newRow("cancel") << int(QDialog::Rejected) << false;
    // Only the open button's code hands on the path.
    QTest::newRow("otherCode") << 2 << false;
}

void TestScheduleEditor::scriptSheet()
{
    QFETCH(int, result);
    QFETCH(bool, takesPath);

    WindowFixture f;
    holdTicks(f);
    // Any message box the dialog opens is closed and remembered, so that the
    // test fails instead of waiting on it.
    QStringList messageBoxes;
    QTimer watchdog;
    connect(&watchdog, &QTimer::timeout, this, [&messageBoxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            messageBoxes << box->text();
            box->reject();
        }
    });
    watchdog.start(20);
    pickRow(f, 5);
    const QString oldPath = QStringLiteral("/srv/jobs/old.scpt");
    f.control(Tag::ScriptPathField).setStringValue(oldPath);

    f.control(Tag::ChooseScriptButton).as<QAbstractButton>()->click();

    QPointer<QFileDialog> panel = f.delegate->scheduleEditor().openPanel();
    QVERIFY(panel && panel->isVisible());
    QCOMPARE(panel->windowModality(), Qt::WindowModal);
    QCOMPARE(panel->parentWidget(), f.window.get());
    QCOMPARE(panel->nameFilters(), QStringList {QStringLiteral("*.scpt")});
    QCOMPARE(panel->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(panel->acceptMode(), QFileDialog::AcceptOpen);
    auto *fileName = panel->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(fileName);
    QCOMPARE(fileName->text(), QStringLiteral("Script"));

    // Should a press reach the button while the dialog is open, the open
    // dialog is kept rather than a second one stacked on it.
    f.control(Tag::ChooseScriptButton).as<QAbstractButton>()->click();
    QCOMPARE(f.delegate->scheduleEditor().openPanel(), panel.data());
    QCOMPARE(f.window->findChildren<QFileDialog *>().size(), 1);

    // The user types the file's full path and ends the dialog.
    const QString chosen = m_dir.filePath(QStringLiteral("nightly.scpt"));
    fileName->setText(chosen);
    if (result == QDialog::Accepted)
        static_cast<QDialog *>(panel.data())->accept();
    else
        static_cast<QDialog *>(panel.data())->done(result);

    // The end handler has returned without writing the field itself.
    QCOMPARE(f.control(Tag::ScriptPathField).stringValue(), oldPath);
    QVERIFY(!f.delegate->scheduleEditor().openPanel());

    QTRY_VERIFY(panel.isNull());
    if (takesPath)
        QTRY_COMPARE(f.control(Tag::ScriptPathField).stringValue(), chosen);
    QCoreApplication::processEvents();
    QCOMPARE(f.control(Tag::ScriptPathField).stringValue(), takesPath ? chosen : oldPath);
    QCOMPARE(messageBoxes, QStringList());

    // Once it has ended, the button opens a fresh one.
    f.control(Tag::ChooseScriptButton).as<QAbstractButton>()->click();
    QVERIFY(f.delegate->scheduleEditor().openPanel());
    static_cast<QDialog *>(f.delegate->scheduleEditor().openPanel())->reject();
}

QTEST_MAIN(TestScheduleEditor)
#include "tst_scheduleeditor.moc"
