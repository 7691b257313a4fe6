// The settings file that every successful start writes: its seven keys and
// their types, what a missing control does to them, and that a new launch
// does not read them back.

#include "controls/RadioMatrix.h"
#include "tests/support/WindowFixture.h"

#include <QFile>
#include <QGroupBox>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QStringList Keys = {"Action", "Setting", "Number", "NumberType", "MinValue", "MaxValue", "ScriptFile"};

std::unique_ptr<QSettings> store()
{
    return std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Morvane"), QStringLiteral("Morvane"));
}

// The key=value lines of the file as they are on disk.
QMap<QString, QString> fileEntries()
{
    QMap<QString, QString> entries;
    QFile file(store()->fileName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            entries.insert(line.left(equals), line.mid(equals + 1));
    }
    return entries;
}

void startTask(const WindowFixture &f, int action, const QString &number, const QString &unit, int page)
{
    f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->setSelectedRow(action);
    f.control(Tag::NumberField, f.page(0)).setStringValue(number);
    f.control(Tag::UnitComboBox, f.page(0)).setStringValue(unit);
    f.control(Tag::DatePickerA, f.page(1)).setDateValue(QDateTime::currentDateTime().addSecs(3600));
    f.delegate->tabview1()->setCurrentIndex(page);
    f.delegate->promptEvent(f.control(Tag::RunButton).object());
}

// What the window shows of everything that is saved, and of the minimum.
QStringList windowValues(const WindowFixture &f)
{
    return {QString::number(f.control(Tag::ActionMatrix, f.delegate->aBox1()).selectedRow()),
        QString::number(f.delegate->tabview1()->currentIndex()), f.control(Tag::NumberField, f.page(0)).stringValue(),
        f.control(Tag::UnitComboBox, f.page(0)).stringValue(),
        QString::number(f.control(Tag::MinimumStepper, f.page(1)).integerValue()),
        f.control(Tag::MinimumSecondsText, f.page(1)).stringValue(), f.control(Tag::ScriptPathField).stringValue(),
        QString::number(f.delegate->minimumCounter())};
}
} // namespace

class TestSettingsWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void savedOnStart_data();
    void savedOnStart();
    void refusedStartSavesNothing();
    void missingControl_data();
    void missingControl();
    void newLaunchShowsInterfaceValues();

private:
    QTemporaryDir m_scripts;
};

void TestSettingsWriter::init()
{
    auto settings = store();
    settings->clear();
    settings->sync();
    QVERIFY(fileEntries().isEmpty());
}

void TestSettingsWriter::savedOnStart_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("stepper"); // -1: as the window has it
    QTest::addColumn<QString>("savedPage");
    QTest::addColumn<QString>("savedNumber");

    const auto row = [](const char *name, int page, int action, const char *number, const char *unit, int stepper,
                         const char *savedPage, const char *savedNumber) {
        QTest::newRow(name) << page << action << QString::fromLatin1(number) << QString::fromLatin1(unit) << stepper
                            << QString::fromLatin1(savedPage) << QString::fromLatin1(savedNumber);
    };
    row("countdownPage", 0, 0, "5", "Minutes", -1, "Timer", "5");
    // Saved after the start has rewritten the field.
    row("countdownNumberAsUsed", 0, 5, " 12 min", "Hours", -1, "Timer", "12");
    row("datePage", 1, 3, "abc", "Days", -1, "Date", "abc");
    row("datePageEmptyNumber", 1, 1, "", "Seconds", -1, "Date", "");
    row("stepperMoved", 1, 1, "5", "Minutes", 42, "Date", "5");
}

void TestSettingsWriter::savedOnStart()
{
    QFETCH(int, page);
    QFETCH(int, action);
    QFETCH(QString, number);
    QFETCH(QString, unit);
    QFETCH(int, stepper);
    QFETCH(QString, savedPage);
    QFETCH(QString, savedNumber);

    WindowFixture f;
    auto *spin = f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>();
    if (stepper >= 0)
        spin->setValue(stepper);
    const QString script = m_scripts.filePath(QStringLiteral("night job.sh"));
    QFile(script).open(QIODevice::WriteOnly);
    f.control(Tag::ScriptPathField).setStringValue(script);

    startTask(f, action, number, unit, page);
    QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
    if (stepper >= 0)
        QCOMPARE(f.delegate->minimumCounter(), stepper);

    // Qt keeps the values of a file it has just written, with the types
    // they were written with.
    const QVariant expected[]
        = {action, savedPage, savedNumber, unit, double(spin->minimum()), double(spin->maximum()), script};
    auto settings = store();
    QCOMPARE(settings->allKeys().size(), Keys.size());
    for (int i = 0; i < Keys.size(); ++i) {
        const QVariant value = settings->value(Keys[i]);
        QVERIFY2(value.metaType() == expected[i].metaType(), qPrintable(Keys[i]));
        QCOMPARE(value, expected[i]);
    }
    // And on disk, where the next program reads them.
    const QMap<QString, QString> entries = fileEntries();
    QCOMPARE(entries.size(), Keys.size());
    QCOMPARE(entries.value("Action"), QString::number(action));
    QCOMPARE(entries.value("Number"), savedNumber);
    QCOMPARE(entries.value("MaxValue").toDouble(), double(spin->maximum()));
}

void TestSettingsWriter::refusedStartSavesNothing()
{
    WindowFixture f;
    startTask(f, 1, QString(), QStringLiteral("Minutes"), 0);
    QCOMPARE(f.alerts->alerts.size(), 1);
    QVERIFY(fileEntries().isEmpty());
}

// A control that is not there gives 0 for a number and removes a text's
// key; what was saved before must not survive.
void TestSettingsWriter::missingControl_data()
{
    QTest::addColumn<qint64>("tag"); // 0: the schedule tab view
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QVariantMap>("zeros");

    const QVariantMap noBounds {{"MinValue", 0.0}, {"MaxValue", 0.0}};
    QTest::newRow("actionMatrix") << Tag::ActionMatrix << -1 << QStringList() << QVariantMap {{"Action", 0}};
    QTest::newRow("numberField") << Tag::NumberField << 0 << QStringList {"Number"} << QVariantMap();
    QTest::newRow("unitComboBox") << Tag::UnitComboBox << 0 << QStringList {"NumberType"} << QVariantMap();
    QTest::newRow("minimumStepper") << Tag::MinimumStepper << 1 << QStringList() << noBounds;
    QTest::newRow("scriptPathField") << Tag::ScriptPathField << -1 << QStringList {"ScriptFile"} << QVariantMap();
    // Without the tab view, neither its label nor its pages' controls are.
    QTest::newRow("scheduleTabView") << qint64(0) << -1 << QStringList {"Setting", "Number", "NumberType"} << noBounds;
}

void TestSettingsWriter::missingControl()
{
    QFETCH(qint64, tag);
    QFETCH(int, page);
    QFETCH(QStringList, removed);
    QFETCH(QVariantMap, zeros);

    {
        auto settings = store();
        for (const QString &key : Keys)
            settings->setValue(key, key == QLatin1String("Action") ? QVariant(4) : QVariant(QStringLiteral("old")));
    }

    WindowFixture f;
    if (tag == 0) {
        delete f.delegate->tabview1();
    } else {
        QObject *container = tag == Tag::ActionMatrix ? static_cast<QObject *>(f.delegate->aBox1())
            : page < 0                                ? nullptr
                                                      : f.page(page);
        delete f.control(tag, container).object();
    }

    f.delegate->defaultSaveAppSetting();

    auto settings = store();
    for (const QString &key : Keys) {
        if (removed.contains(key)) {
            QVERIFY2(!settings->contains(key) && !fileEntries().contains(key), qPrintable(key));
        } else if (zeros.contains(key)) {
            QCOMPARE(settings->value(key), zeros.value(key));
        } else {
            QVERIFY2(settings->value(key) != QVariant(QStringLiteral("old")), qPrintable(key));
            QVERIFY2(settings->value(key) != QVariant(4), qPrintable(key));
        }
    }
}

// Settings are written, never read back: a new launch shows the values of
// the interface file.
void TestSettingsWriter::newLaunchShowsInterfaceValues()
{
    const QStringList initial = windowValues(WindowFixture());
    const QString script = m_scripts.filePath(QStringLiteral("saved.sh"));
    QFile(script).open(QIODevice::WriteOnly);
    {
        WindowFixture f;
        f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>()->setValue(30);
        f.control(Tag::ScriptPathField).setStringValue(script);
        startTask(f, 5, QStringLiteral("9"), QStringLiteral("Hours"), 1);
        QCOMPARE(fileEntries().value("ScriptFile"), script);
    }

    WindowFixture relaunched;
    QCOMPARE(windowValues(relaunched), initial);
    relaunched.delegate->defaultLoadAppSetting();
    QCOMPARE(windowValues(relaunched), initial);
}

QTEST_MAIN(TestSettingsWriter)
#include "tst_settingswriter.moc"
