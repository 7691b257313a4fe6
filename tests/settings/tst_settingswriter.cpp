// The settings file that every successful start writes: its seven keys and
// their types, what a missing control does to them, and that a new launch
// does not read them back.

#include "controls/RadioMatrix.h"
#include "tests/support/WindowFixture.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
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
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            entries.insert(line.left(equals), line.mid(equals + 1));
    }
    return entries;
}

void pressRun(WindowFixture &f)
{
    f.delegate->promptEvent(f.control(Tag::RunButton).object());
}

// What the window shows of everything that is saved, and of the minimum.
struct WindowValues
{
    int action;
    int page;
    QString number;
    QString unit;
    qint64 stepper;
    QString minimumText;
    QString scriptPath;

    static WindowValues of(const WindowFixture &f)
    {
        return {f.control(Tag::ActionMatrix, f.delegate->aBox1()).selectedRow(), f.delegate->tabview1()->currentIndex(),
            f.control(Tag::NumberField, f.page(0)).stringValue(), f.control(Tag::UnitComboBox, f.page(0)).stringValue(),
            f.control(Tag::MinimumStepper, f.page(1)).integerValue(),
            f.control(Tag::MinimumSecondsText, f.page(1)).stringValue(), f.control(Tag::ScriptPathField).stringValue()};
    }
};
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
    QTest::addColumn<int>("stepper");
    QTest::addColumn<QString>("savedPage");
    QTest::addColumn<QString>("savedNumber");

    // -1: the stepper is left as the window has it.
    QTest::newRow("countdownPage") << 0 << 0 << "5"
                                   << "Minutes" << -1 << "Timer"
                                   << "5";
    QTest::newRow("countdownNumberAsUsed") << 0 << 2 << " 12 min"
                                           << "Hours" << -1 << "Timer"
                                           << "12";
    QTest::newRow("datePage") << 1 << 3 << "5"
                              << "Days" << -1 << "Date"
                              << "5";
    QTest::newRow("datePageEmptyNumber") << 1 << 1 << ""
                                         << "Seconds" << -1 << "Date"
                                         << "";
    QTest::newRow("datePageNumberNoNumber") << 1 << 4 << "abc"
                                            << "Years" << -1 << "Date"
                                            << "abc";
    QTest::newRow("stepperMoved") << 1 << 1 << "5"
                                  << "Minutes" << 42 << "Date"
                                  << "5";
    QTest::newRow("scriptAction") << 0 << 5 << "3"
                                  << "Seconds" << -1 << "Timer"
                                  << "3";
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
    f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->setSelectedRow(action);
    f.control(Tag::NumberField, f.page(0)).setStringValue(number);
    f.control(Tag::UnitComboBox, f.page(0)).setStringValue(unit);
    f.control(Tag::DatePickerA, f.page(1)).setDateValue(QDateTime::currentDateTime().addSecs(3600));
    auto *spin = f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>();
    QVERIFY(spin);
    if (stepper >= 0)
        spin->setValue(stepper);
    const QString script = m_scripts.filePath(QStringLiteral("night job.sh"));
    QFile(script).open(QIODevice::WriteOnly);
    f.control(Tag::ScriptPathField).setStringValue(script);
    f.delegate->tabview1()->setCurrentIndex(page);

    pressRun(f);
    QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
    QVERIFY(f.alerts->alerts.isEmpty());
    if (stepper >= 0)
        QCOMPARE(f.delegate->minimumCounter(), stepper);

    // Qt keeps the values of a file it has just written, with the types
    // they were written with.
    auto settings = store();
    QCOMPARE(settings->allKeys().size(), Keys.size());
    QCOMPARE(settings->value("Action").metaType().id(), QMetaType::Int);
    QCOMPARE(settings->value("Action").toInt(), action);
    QCOMPARE(settings->value("Setting").metaType().id(), QMetaType::QString);
    QCOMPARE(settings->value("Setting").toString(), savedPage);
    QCOMPARE(settings->value("Number").metaType().id(), QMetaType::QString);
    QCOMPARE(settings->value("Number").toString(), savedNumber);
    QCOMPARE(settings->value("NumberType").metaType().id(), QMetaType::QString);
    QCOMPARE(settings->value("NumberType").toString(), unit);
    QCOMPARE(settings->value("MinValue").metaType().id(), QMetaType::Double);
    QCOMPARE(settings->value("MinValue").toDouble(), double(spin->minimum()));
    QCOMPARE(settings->value("MaxValue").metaType().id(), QMetaType::Double);
    QCOMPARE(settings->value("MaxValue").toDouble(), double(spin->maximum()));
    QCOMPARE(settings->value("ScriptFile").metaType().id(), QMetaType::QString);
    QCOMPARE(settings->value("ScriptFile").toString(), script);

    // And on disk, where the next program reads them.
    const QMap<QString, QString> entries = fileEntries();
    QStringList sortedKeys = Keys;
    sortedKeys.sort();
    QCOMPARE(entries.keys(), sortedKeys);
    QCOMPARE(entries.value("Action"), QString::number(action));
    QCOMPARE(entries.value("Number"), savedNumber);
    QCOMPARE(entries.value("MinValue").toDouble(), double(spin->minimum()));
    QCOMPARE(entries.value("MaxValue").toDouble(), double(spin->maximum()));
}

void TestSettingsWriter::refusedStartSavesNothing()
{
    WindowFixture f;
    f.control(Tag::NumberField, f.page(0)).setStringValue(QString());
    f.delegate->tabview1()->setCurrentIndex(0);

    pressRun(f);

    QCOMPARE(f.runTitle(), QStringLiteral("Run"));
    QCOMPARE(f.alerts->alerts.size(), 1);
    QVERIFY(fileEntries().isEmpty());
}

// A control that is not there gives 0 for a number and removes a text's
// key; what was saved before must not survive.
void TestSettingsWriter::missingControl_data()
{
    QTest::addColumn<qint64>("tag");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QVariantMap>("zeros");

    QTest::newRow("actionMatrix") << Tag::ActionMatrix << -1 << QStringList() << QVariantMap {{"Action", 0}};
    QTest::newRow("numberField") << Tag::NumberField << 0 << QStringList {"Number"} << QVariantMap();
    QTest::newRow("unitComboBox") << Tag::UnitComboBox << 0 << QStringList {"NumberType"} << QVariantMap();
    QTest::newRow("minimumStepper") << Tag::MinimumStepper << 1 << QStringList()
                                    << QVariantMap {{"MinValue", 0.0}, {"MaxValue", 0.0}};
    QTest::newRow("scriptPathField") << Tag::ScriptPathField << -1 << QStringList {"ScriptFile"} << QVariantMap();
    // Without the schedule tab view, neither its label nor its pages'
    // controls are there.
    QTest::newRow("scheduleTabView") << qint64(0) << -1 << QStringList {"Setting", "Number", "NumberType"}
                                     << QVariantMap {{"MinValue", 0.0}, {"MaxValue", 0.0}};
}

void TestSettingsWriter::missingControl()
{
    QFETCH(qint64, tag);
    QFETCH(int, page);
    QFETCH(QStringList, removed);
    QFETCH(QVariantMap, zeros);

    {
        auto settings = store();
        settings->setValue("Action", 4);
        settings->setValue("Setting", QStringLiteral("Old page"));
        settings->setValue("Number", QStringLiteral("99"));
        settings->setValue("NumberType", QStringLiteral("Days"));
        settings->setValue("MinValue", 7.0);
        settings->setValue("MaxValue", 70.0);
        settings->setValue("ScriptFile", QStringLiteral("/old/script"));
    }

    WindowFixture f;
    if (tag == 0) {
        delete f.delegate->tabview1();
    } else {
        QObject *container = page < 0 ? nullptr : f.page(page);
        QObject *control
            = f.control(tag, tag == Tag::ActionMatrix ? static_cast<QObject *>(f.delegate->aBox1()) : container)
                  .object();
        QVERIFY(control);
        delete control;
    }

    f.delegate->defaultSaveAppSetting();

    auto settings = store();
    for (const QString &key : Keys) {
        if (removed.contains(key)) {
            QVERIFY2(!settings->contains(key), qPrintable(key));
            QVERIFY2(!fileEntries().contains(key), qPrintable(key));
        } else if (zeros.contains(key)) {
            QCOMPARE(settings->value(key), zeros.value(key));
        } else {
            QVERIFY2(settings->contains(key), qPrintable(key));
        }
    }
    // The controls that are there are saved as usual.
    if (!removed.contains("Number"))
        QCOMPARE(settings->value("Number").toString(), f.control(Tag::NumberField, f.page(0)).stringValue());
    if (!zeros.contains("Action"))
        QCOMPARE(settings->value("Action").toInt(), f.control(Tag::ActionMatrix, f.delegate->aBox1()).selectedRow());
}

void TestSettingsWriter::newLaunchShowsInterfaceValues()
{
    const WindowValues initial = WindowValues::of(WindowFixture());
    const QString script = m_scripts.filePath(QStringLiteral("saved.sh"));
    QFile(script).open(QIODevice::WriteOnly);

    {
        WindowFixture f;
        f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>()->setSelectedRow(5);
        f.control(Tag::NumberField, f.page(0)).setStringValue(QStringLiteral("9"));
        f.control(Tag::UnitComboBox, f.page(0)).setStringValue(QStringLiteral("Hours"));
        f.control(Tag::MinimumStepper, f.page(1)).as<QSpinBox>()->setValue(30);
        f.control(Tag::ScriptPathField).setStringValue(script);
        f.control(Tag::DatePickerA, f.page(1)).setDateValue(QDateTime::currentDateTime().addDays(1));
        f.delegate->tabview1()->setCurrentIndex(1);
        pressRun(f);
        QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
        QCOMPARE(fileEntries().value("ScriptFile"), script);
    }

    WindowFixture relaunched;
    const WindowValues after = WindowValues::of(relaunched);
    QCOMPARE(after.action, initial.action);
    QCOMPARE(after.page, initial.page);
    QCOMPARE(after.number, initial.number);
    QCOMPARE(after.unit, initial.unit);
    QCOMPARE(after.stepper, initial.stepper);
    QCOMPARE(after.minimumText, initial.minimumText);
    QCOMPARE(after.scriptPath, initial.scriptPath);
    QCOMPARE(relaunched.delegate->minimumCounter(), 1);

    // Asking for the settings restores nothing either.
    relaunched.delegate->defaultLoadAppSetting();
    QCOMPARE(WindowValues::of(relaunched).number, initial.number);
    QCOMPARE(WindowValues::of(relaunched).scriptPath, initial.scriptPath);
    QCOMPARE(WindowValues::of(relaunched).action, initial.action);
}

QTEST_MAIN(TestSettingsWriter)
#include "tst_settingswriter.moc"
