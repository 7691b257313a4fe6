// Bad input a user can give Morvane and places it cannot write: settings
// that cannot be saved, scripts that cannot run or take their time, date
// pickers and the minimum stepper at their extremes. Nothing may crash,
// nothing the user entered may be lost, and the window must stay usable.

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

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int RestartRow = 0;
constexpr int ScriptRow = 5;

// Permission bits deny root nothing, and CI runs as root: within this guard
// the process runs as "nobody", keeping root as the saved set-user-ID so
// that the guard can take the rights back.
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
        if (m_dropped && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
            qFatal("could not become root again");
    }
    WithoutRootRights(const WithoutRootRights &) = delete;
    WithoutRootRights &operator=(const WithoutRootRights &) = delete;

    bool failed() const { return m_failed; }

private:
    bool m_dropped = false;
    bool m_failed = false;
};

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(contents) == contents.size();
}

void pressRun(WindowFixture &f)
{
    f.control(Tag::RunButton).as<QAbstractButton>()->click();
}

void setUpTask(WindowFixture &f, int row, const QString &number, const QString &unit)
{
    f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->rowButton(row)->click();
    f.control(Tag::NumberField, f.page(0)).setStringValue(number);
    f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>()->setCurrentText(unit);
}

// The window is idle and a new task can be started and stopped.
void verifyUsable(WindowFixture &f)
{
    QCOMPARE(f.runTitle(), QStringLiteral("Run"));
    QCOMPARE(f.delegate->counterTimer(), 0);
    QVERIFY(f.control(Tag::ActionMatrix, f.delegate->aBox1()).isEnabled());
    pressRun(f);
    QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
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
    void scriptAction_data();
    void scriptAction();
    void datePickerAtExtremes_data();
    void datePickerAtExtremes();
    void stepperAtBounds_data();
    void stepperAtBounds();

private:
    QString settingsFolder() const { return m_dir.filePath(QStringLiteral("config/Morvane")); }

    QTemporaryDir m_dir;
};

void tst_WindowFaults::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // "nobody" must reach the files the cases make.
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("config"))));
    for (const QString &folder : {m_dir.path(), m_dir.filePath(QStringLiteral("config"))})
        QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7777)));
    // Qt reads the settings location once per process.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
}

void tst_WindowFaults::cleanup()
{
    QFile::setPermissions(settingsFolder(), QFile::Permissions(0x7777));
    QDir(settingsFolder()).removeRecursively();
    QFile::remove(settingsFolder());
}

void tst_WindowFaults::settingsNotWritable_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("readOnlyFolder") << "readOnlyFolder";
    QTest::newRow("folderIsAFile") << "folderIsAFile";
    QTest::newRow("fileIsAFolder") << "fileIsAFolder";
}

void tst_WindowFaults::settingsNotWritable()
{
    QFETCH(QString, blocker);
    const QString file = QDir(settingsFolder()).filePath(QStringLiteral("Morvane.conf"));
    const bool readOnly = blocker == QLatin1String("readOnlyFolder");
    if (readOnly)
        QVERIFY(QDir().mkpath(settingsFolder())
                && QFile::setPermissions(settingsFolder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    else if (blocker == QLatin1String("folderIsAFile"))
        QVERIFY(writeFile(settingsFolder(), "not a folder"));
    else
        QVERIFY(QDir().mkpath(file));

    WindowFixture f;
    setUpTask(f, ScriptRow, QStringLiteral("3"), QStringLiteral("Hours"));
    f.control(Tag::ScriptPathField).setStringValue(m_dir.path());

    // Saved by hand and by the start of the task: each failure is logged,
    // none is shown, and neither stops the start.
    const QRegularExpression notWritten(QStringLiteral("^Could not write the settings to "));
    QTest::ignoreMessage(QtWarningMsg, notWritten);
    QTest::ignoreMessage(QtWarningMsg, notWritten);
    {
        std::optional<WithoutRootRights> unprivileged;
        if (readOnly)
            QVERIFY(!unprivileged.emplace().failed());
        f.delegate->defaultSaveAppSetting();
        QCOMPARE(f.control(Tag::ActionMatrix, f.delegate->aBox1()).selectedRow(), ScriptRow);
        QCOMPARE(f.control(Tag::NumberField, f.page(0)).stringValue(), QStringLiteral("3"));
        QCOMPARE(f.control(Tag::UnitComboBox, f.page(0)).stringValue(), QStringLiteral("Hours"));
        QCOMPARE(f.control(Tag::ScriptPathField).stringValue(), m_dir.path());
        verifyUsable(f);
    }
    QVERIFY(!QFileInfo(file).isFile());
    QVERIFY(f.alerts->alerts.isEmpty());
}

void tst_WindowFaults::scriptAction_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<bool>("runs");

    const QByteArray script("#!/bin/sh\ntouch \"$0.ran\"\n");
    // A folder passes the start's check, since something exists there.
    QTest::newRow("pathIsAFolder") << "folder" << QByteArray() << 0755 << false;
    QTest::newRow("unreadableFile") << "locked.sh" << script << 0000 << false;
    QTest::newRow("executableButUnreadable") << "sealed.sh" << script << 0111 << false;
    // A script that never ends keeps the window waiting, as designed: the
    // action runs on the tick. One second shows the wait.
    QTest::newRow("slowScript") << "slow.sh" << QByteArray("#!/bin/sh\nsleep 1\ntouch \"$0.ran\"\n") << 0755 << true;
}

void tst_WindowFaults::scriptAction()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(int, permissions);
    QFETCH(bool, runs);

    const QString path = m_dir.filePath(name);
    QVERIFY(contents.isEmpty() ? QDir().mkpath(path) : writeFile(path, contents));
    QCOMPARE(chmod(QFile::encodeName(path).constData(), mode_t(permissions)), 0);

    WindowFixture f;
    f.actions->onCall = [&path] { ScriptRunner::runAppleScript(path); };
    setUpTask(f, ScriptRow, QStringLiteral("1"), QStringLiteral("Seconds"));
    f.control(Tag::ScriptPathField).setStringValue(path);
    pressRun(f);
    f.delegate->timerFired();

    QElapsedTimer expiry;
    {
        const WithoutRootRights unprivileged;
        QVERIFY(!unprivileged.failed());
        expiry.start();
        f.delegate->timerFired();
    }
    const qint64 waited = expiry.elapsed();
    QVERIFY2(waited < (runs ? 5000 : 2000) && (!runs || waited >= 1000), qPrintable(QString::number(waited)));

    // Tried once, quietly, and nothing of an unreadable script ran.
    QCOMPARE(f.actions->calls, QStringList{QStringLiteral("script:") + path});
    QCOMPARE(QFile::exists(path + QStringLiteral(".ran")), runs);
    QVERIFY(f.alerts->alerts.isEmpty());
    QCOMPARE(f.control(Tag::ScriptPathField).stringValue(), path);
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
    pickerA->setDateTime(extreme);
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
    // once behind.
    pressRun(f);
    const QDateTime beforeTick = QDateTime::currentDateTime().addSecs(-1);
    f.delegate->timerFired();
    for (const qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC}) {
        const QDateTime shown = f.control(tag, f.page(1)).dateValue();
        QVERIFY2(latest ? shown == extreme : shown >= beforeTick && shown <= QDateTime::currentDateTime(),
                 qPrintable(shown.toString(Qt::ISODate)));
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
    auto *stepper = f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>();
    QVERIFY(stepper);
    const int bound = upper ? stepper->maximum() : stepper->minimum();
    QVERIFY(bound >= 0);

    // A wheel spun hard beyond the bound.
    stepper->stepBy(upper ? 1000000 : -1000000);
    QCOMPARE(stepper->value(), bound);
    QCOMPARE(f.delegate->minimumCounter(), qint64(bound));

    // A unit Morvane does not know gives a task of no length, which runs
    // for the minimum: at 0 it ends on the first tick, and fires.
    setUpTask(f, RestartRow, QStringLiteral("1"), QStringLiteral("fortnights"));
    pressRun(f);
    QCOMPARE(f.delegate->counterTimer(), qint64(bound) + 1);
    f.delegate->timerFired();
    QCOMPARE(f.actions->calls, upper ? QStringList() : QStringList{QStringLiteral("event:rest")});
    if (upper)
        pressRun(f);
    verifyUsable(f);
}

QTEST_MAIN(tst_WindowFaults)
#include "tst_WindowFaults.moc"
