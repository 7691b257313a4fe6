// The record a start writes: seven keys in Morvane.conf under
// XDG_CONFIG_HOME, and nothing for a refused start.

#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

class tst_SettingsWriter : public QObject
{
    Q_OBJECT

private slots:
    void savedOnStart_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("saved"); // empty: no file

        addRow("countdownPage", 0, 0, "5", QStringList {"0", "Timer", "5", "Hours", "0", "3600", "/bin/sh"});
        addRow("numberAsUsed", 0, 5, " 12h", QStringList {"5", "Timer", "12", "Hours", "0", "3600", "/bin/sh"});
        addRow("datePage", 1, 3, "abc", QStringList {"3", "Date", "abc", "Hours", "0", "3600", "/bin/sh"});
        addRow("refusedStart", 0, 1, "abc", QStringList());
    }
    void savedOnStart()
    {
        QFETCH(int, page);
        QFETCH(int, row);
        QFETCH(QString, number);
        QFETCH(QStringList, saved);

        const QString path = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Morvane/Morvane.conf");
        QFile::remove(path);
        WindowFixture f;
        f.selectRow(row);
        f.setCountdown(number, QStringLiteral("Hours"));
        f.control(Tag::ScriptPathField).setStringValue(QStringLiteral("/bin/sh"));
        f.control(Tag::DatePickerA, f.page(1)).setDateValue(QDateTime::currentDateTime().addSecs(60));
        f.delegate->tabview1()->setCurrentIndex(page);
        f.pressRun();

        const QSettings file(path, QSettings::IniFormat);
        const QStringList keys {"Action", "Setting", "Number", "NumberType", "MinValue", "MaxValue", "ScriptFile"};
        QCOMPARE(file.allKeys().size(), saved.size());
        for (int i = 0; i < saved.size(); ++i)
            QCOMPARE(file.value(keys.at(i)).toString(), saved.at(i));
    }

    // A lock left behind as a folder, which no one can ever take, must not
    // hold a starting task: the start goes on and the record is written.
    void staleLockNeverHoldsStart()
    {
        const QString path = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Morvane/Morvane.conf");
        QVERIFY(QDir().mkpath(path + QStringLiteral(".lock")));
        WindowFixture f;
        f.pressRun();
        QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("Number").toString(), QStringLiteral("5"));
        QVERIFY(QDir(path + QStringLiteral(".lock")).removeRecursively());
    }
};

QTEST_MAIN(tst_SettingsWriter)
#include "tst_SettingsWriter.moc"
