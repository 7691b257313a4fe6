// Bad input a user can give Morvane and places it cannot write: settings
// that cannot be saved, a script path naming a folder, a script that cannot
// be read or is no script, a script that takes its time, date pickers and
// the minimum stepper at their extremes. Nothing may crash, nothing the user
// entered may be lost, and the window must stay usable.

#include "actions/ScriptRunner.h"
#include "controls/RadioMatrix.h"
#include "tests/support/WindowFixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int RestartRow = 0;
constexpr int ScriptRow = 5;

// Permission bits deny root nothing, and CI runs as root. Within this
// guard the process runs as the user "nobody"; the saved set-user-ID stays
// root, so the guard can give the rights back when it ends.
class WithoutRootRights
{
public:
    WithoutRootRights()
    {
        if (geteuid() != 0)
            return;
        const passwd *nobody = getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        m_dropped = setresgid(gid, gid, 0) == 0 && setresuid(uid, uid, 0) == 0;
        m_failed = !m_dropped;
    }
    ~WithoutRootRights()
    {
        if (m_dropped) {
            if (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0)
                qFatal("could not become root again");
        }
    }
    WithoutRootRights(const WithoutRootRights &) = delete;
    WithoutRootRights &operator=(const WithoutRootRights &) = delete;

    // True when root could not give up its rights.
    bool failed() const { return m_failed; }

private:
    bool m_dropped = false;
    bool m_failed = false;
};

// Runs scripts for real; every other action is only recorded.
class ScriptRunningActions : public RecordingSystemActions
{
public:
    void runAppleScript(const QString &path) override
    {
        RecordingSystemActions::runAppleScript(path);
        ScriptRunner::runAppleScript(path);
    }
};

bool writeFile(const QString &path, const QByteArray &contents, QFile::Permissions permissions)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(contents) == contents.size()
        && file.setPermissions(permissions);
}

void pickRow(WindowFixture &f, int row)
{
    f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->rowButton(row)->click();
}

void pressRun(WindowFixture &f)
{
    f.control(Tag::RunButton).as<QAbstractButton>()->click();
}

void setCountdown(WindowFixture &f, const QString &number, const QString &unit)
{
    f.control(Tag::NumberField, f.page(0)).setStringValue(number);
    f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>()->setCurrentText(unit);
}

// The window is idle and a new task can be started and stopped.
void verifyUsable(WindowFixture &f)
{
    QCOMPARE(f.runTitle(), QStringLiteral("Run"));
    QCOMPARE(f.delegate->counterTimer(), 0);
    QVERIFY(f.control(Tag::ActionMatrix, f.delegate->aBox1()).isEnabled());
    QVERIFY(f.control(Tag::NumberField, f.page(0)).isEditable());
    pressRun(f);
    QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
    QVERIFY(f.delegate->counterTimer() > 0);
    pressRun(f);
    QCOMPARE(f.runTitle(), QStringLiteral("Run"));
}
}

class tst_WindowFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void settingsNotWritable_data();
    void settingsNotWritable();
    void scriptCannotRun_data();
    void scriptCannotRun();
    void windowWaitsForScript();
    void datePickerAtExtremes_data();
    void datePickerAtExtremes();
    void stepperAtBounds_data();
    void stepperAtBounds();

private:
    QString configFolder() const { return m_dir.filePath(QStringLiteral("config")); }

    QTemporaryDir m_dir;
};

void tst_WindowFaults::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // "nobody" must reach the files the cases make.
    QVERIFY(QFile::setPermissions(m_dir.path(), QFile::Permissions(0x7777)));
    QVERIFY(QDir().mkpath(configFolder()));
    QVERIFY(QFile::setPermissions(configFolder(), QFile::Permissions(0x7777)));
    // Qt reads the settings location once per process, so it is set before
    // anything saves.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder()));
}

void tst_WindowFaults::cleanup()
{
    const QString folder = QDir(configFolder()).filePath(QStringLiteral("Morvane"));
    QFile::setPermissions(folder, QFile::Permissions(0x7777));
    QDir(folder).removeRecursively();
    QFile::remove(folder);
}

void tst_WindowFaults::settingsNotWritable_data()
{
    QTest::addColumn<QString>("blocker");

    // The folder is there, but may not be written.
    QTest::newRow("readOnlyFolder") << "readOnlyFolder";
    // A file stands where the folder belongs.
    QTest::newRow("folderIsAFile") << "folderIsAFile";
    // A folder stands where the settings file belongs.
    QTest::newRow("fileIsAFolder") << "fileIsAFolder";
}

void tst_WindowFaults::settingsNotWritable()
{
    QFETCH(QString, blocker);
    const QString folder = QDir(configFolder()).filePath(QStringLiteral("Morvane"));
    const QString file = QDir(folder).filePath(QStringLiteral("Morvane.conf"));
    if (blocker == QLatin1String("readOnlyFolder")) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    } else if (blocker == QLatin1String("folderIsAFile")) {
        QVERIFY(writeFile(folder, "not a folder", QFile::ReadOwner | QFile::WriteOwner));
    } else {
        QVERIFY(QDir().mkpath(file));
    }

    WindowFixture f;
    pickRow(f, ScriptRow);
    setCountdown(f, QStringLiteral("3"), QStringLiteral("Hours"));
    f.control(Tag::ScriptPathField).setStringValue(QStringLiteral("/opt/tasks/backup.sh"));

    // Saved once by hand and once more by the start of a task: each failure
    // is logged, none is shown, and neither stops the start.
    const QRegularExpression notWritten(QStringLiteral("^Could not write the settings to "));
    QTest::ignoreMessage(QtWarningMsg, notWritten);
    QTest::ignoreMessage(QtWarningMsg, notWritten);
    {
        std::optional<WithoutRootRights> unprivileged;
        if (blocker == QLatin1String("readOnlyFolder")) {
            unprivileged.emplace();
            QVERIFY(!unprivileged->failed());
        }
        f.delegate->defaultSaveAppSetting();

        // Nothing was written, and the window still holds every choice.
        QVERIFY(!QFileInfo(file).isFile());
        QCOMPARE(f.control(Tag::ActionMatrix, f.delegate->aBox1()).selectedRow(), ScriptRow);
        QCOMPARE(f.control(Tag::NumberField, f.page(0)).stringValue(), QStringLiteral("3"));
        QCOMPARE(f.control(Tag::UnitComboBox, f.page(0)).stringValue(), QStringLiteral("Hours"));
        QCOMPARE(f.control(Tag::ScriptPathField).stringValue(), QStringLiteral("/opt/tasks/backup.sh"));

        // Usable: the script row needs an existing file to start.
        f.control(Tag::ScriptPathField).setStringValue(m_dir.path());
        verifyUsable(f);
    }
    QVERIFY(!QFileInfo(file).isFile());
    QVERIFY(f.alerts->alerts.isEmpty());
}

void tst_WindowFaults::scriptCannotRun_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("permissions");

    // The script path names a folder: it passes the start's check, since
    // something exists there, and is then not run.
    QTest::newRow("folder") << "folder" << QByteArray() << 0755;
    // A script nobody may read (root excepted, hence the guard).
    QTest::newRow("unreadableFile") << "locked.sh" << QByteArray("#!/bin/sh\ntouch \"$0.ran\"\n") << 0000;
    QTest::newRow("executableButUnreadable") << "sealed.sh" << QByteArray("#!/bin/sh\ntouch \"$0.ran\"\n") << 0111;
    // Bytes that are no script at all.
    QTest::newRow("notAScript") << "garbage.scpt" << QByteArray("\x7f\x00\xff\xfe(((\n\x01", 10) << 0644;
}

void tst_WindowFaults::scriptCannotRun()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(int, permissions);

    const QString path = m_dir.filePath(name);
    if (name == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(writeFile(path, contents, QFile::WriteOwner));
    QCOMPARE(chmod(QFile::encodeName(path).constData(), mode_t(permissions)), 0);

    WindowFixture f(false);
    f.delegate.reset();
    auto actions = std::make_unique<ScriptRunningActions>();
    ScriptRunningActions *recorder = actions.get();
    f.delegate = std::make_unique<AppDelegate>(f.window.get(), std::move(actions),
                                               std::make_unique<RecordingAlertPresenter>());
    f.delegate->applicationDidFinishLaunching();
    f.actions = recorder;

    pickRow(f, ScriptRow);
    f.control(Tag::ScriptPathField).setStringValue(path);
    setCountdown(f, QStringLiteral("1"), QStringLiteral("Seconds"));
    pressRun(f);
    QCOMPARE(f.runTitle(), QStringLiteral("Stop"));

    QElapsedTimer expiry;
    {
        const WithoutRootRights unprivileged;
        QVERIFY(!unprivileged.failed());
        f.delegate->timerFired();
        expiry.start();
        f.delegate->timerFired();
    }
    QVERIFY2(expiry.elapsed() < 2000, qPrintable(QString::number(expiry.elapsed())));

    // Tried once, failed quietly, and nothing of the script ran.
    QCOMPARE(recorder->calls, QStringList{QStringLiteral("script:") + path});
    QVERIFY(!QFile::exists(path + QStringLiteral(".ran")));
    QCOMPARE(f.control(Tag::ScriptPathField).stringValue(), path);
    QCOMPARE(f.control(Tag::ActionMatrix, f.delegate->aBox1()).selectedRow(), ScriptRow);
    verifyUsable(f);
}

// A script that does not end keeps Morvane waiting: the action runs on the
// tick, which returns only when the script has ended. A script of one
// second shows that wait without hanging the test.
void tst_WindowFaults::windowWaitsForScript()
{
    const QString path = m_dir.filePath(QStringLiteral("slow.sh"));
    const QString marker = path + QStringLiteral(".done");
    QVERIFY(writeFile(path, "#!/bin/sh\nsleep 1\ntouch \"$0.done\"\n",
                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    WindowFixture f(false);
    f.delegate.reset();
    f.delegate = std::make_unique<AppDelegate>(f.window.get(), std::make_unique<ScriptRunningActions>(),
                                               std::make_unique<RecordingAlertPresenter>());
    f.delegate->applicationDidFinishLaunching();
    pickRow(f, ScriptRow);
    f.control(Tag::ScriptPathField).setStringValue(path);
    setCountdown(f, QStringLiteral("1"), QStringLiteral("Seconds"));
    pressRun(f);
    f.delegate->timerFired();

    QElapsedTimer expiry;
    expiry.start();
    f.delegate->timerFired();
    const qint64 waited = expiry.elapsed();

    QVERIFY2(waited >= 1000, qPrintable(QString::number(waited)));
    QVERIFY2(waited < 5000, qPrintable(QString::number(waited)));
    QVERIFY(QFile::exists(marker));
    verifyUsable(f);
}

void tst_WindowFaults::datePickerAtExtremes_data()
{
    QTest::addColumn<bool>("latest");

    QTest::newRow("maximumDateTime") << true;
    QTest::newRow("minimumDateTime") << false;
}

void tst_WindowFaults::datePickerAtExtremes()
{
    QFETCH(bool, latest);

    WindowFixture f;
    auto *pickerA = f.control(Tag::DatePickerA, f.page(1)).as<QDateTimeEdit>();
    QVERIFY(pickerA);
    const QDateTime extreme = latest ? pickerA->maximumDateTime() : pickerA->minimumDateTime();
    // As the user would: the picker sends its change and the others follow.
    pickerA->setDateTime(extreme);
    QCOMPARE(pickerA->dateTime(), extreme);
    QCOMPARE(f.control(Tag::DatePickerB, f.page(1)).dateValue(), extreme);
    QCOMPARE(f.control(Tag::DatePickerC, f.page(1)).dateValue(), extreme);

    f.delegate->tabview1()->setCurrentIndex(1);
    const qint64 expectedLength = QDateTime::currentDateTime().msecsTo(extreme) / 1000;
    pressRun(f);
    QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
    if (latest) {
        // Some eight thousand years, counted in seconds without wrapping.
        QVERIFY2(qAbs(f.delegate->counterTimer() - (expectedLength + 1)) <= 2,
                 qPrintable(QString::number(f.delegate->counterTimer())));
        f.delegate->timerFired();
        const QString left = f.control(Tag::TimeLeftText).stringValue();
        const qint64 days = left.section(QLatin1Char(' '), 0, 0).toLongLong();
        QVERIFY2(left.contains(QLatin1String(" Days ")) && qAbs(days - expectedLength / 86400) <= 1, qPrintable(left));
    } else {
        QCOMPARE(f.delegate->counterTimer(), f.delegate->minimumCounter() + 1);
    }

    // Stopped, the pickers are left alone while ahead and brought to now
    // once behind; every date stays where a user can reach it again.
    pressRun(f);
    const QDateTime beforeTick = QDateTime::currentDateTime().addSecs(-1);
    f.delegate->timerFired();
    for (const qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC}) {
        const QDateTime shown = f.control(tag, f.page(1)).dateValue();
        if (latest)
            QCOMPARE(shown, extreme);
        else
            QVERIFY2(shown >= beforeTick && shown <= QDateTime::currentDateTime(), qPrintable(shown.toString(Qt::ISODate)));
    }
    verifyUsable(f);
}

void tst_WindowFaults::stepperAtBounds_data()
{
    QTest::addColumn<bool>("upper");

    QTest::newRow("pastMaximum") << true;
    QTest::newRow("belowMinimum") << false;
}

void tst_WindowFaults::stepperAtBounds()
{
    QFETCH(bool, upper);

    WindowFixture f;
    f.window->show();
    auto *stepper = f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>();
    QVERIFY(stepper);
    const int bound = upper ? stepper->maximum() : stepper->minimum();
    QVERIFY(bound >= 0);

    // To the bound with the keyboard, three more steps beyond it, then a
    // wheel spun hard the same way.
    f.delegate->tabview1()->setCurrentIndex(1);
    const Qt::Key toBound = upper ? Qt::Key_PageUp : Qt::Key_PageDown;
    for (int i = 0; i < 1000 && stepper->value() != bound; ++i)
        QTest::keyClick(stepper, toBound);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(stepper, upper ? Qt::Key_Up : Qt::Key_Down);
    stepper->stepBy(upper ? 1000000 : -1000000);

    QCOMPARE(stepper->value(), bound);
    QCOMPARE(f.delegate->minimumCounter(), qint64(bound));
    QCOMPARE(f.control(Tag::MinimumSecondsText, f.page(1)).stringValue(), QStringLiteral("%1 seconds").arg(bound));

    // A task of no length (a unit Morvane does not know) runs for the
    // minimum: at 0 it ends on the first tick, and fires.
    pickRow(f, RestartRow);
    setCountdown(f, QStringLiteral("1"), QStringLiteral("fortnights"));
    pressRun(f);
    QCOMPARE(f.delegate->counterTimer(), qint64(bound) + 1);
    f.delegate->timerFired();
    if (upper) {
        QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
        QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), f.delegate->calculateLeftTime(bound));
        QVERIFY(f.actions->calls.isEmpty());
        pressRun(f);
    } else {
        QCOMPARE(f.actions->calls, QStringList{QStringLiteral("event:rest")});
    }
    verifyUsable(f);
}

QTEST_MAIN(tst_WindowFaults)
#include "tst_WindowFaults.moc"
