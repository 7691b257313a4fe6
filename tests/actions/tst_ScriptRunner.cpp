// The script runner with real files at a path that a shell would split,
// unquote and run pieces of: each kind of script runs, with /dev/null as its
// standard input, and nothing else runs.

#include "actions/ScriptRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {
// Writes what its standard input is.
const QByteArray Body = "printf 'ran %s' \"$(readlink /proc/$$/fd/0)\" > \"$MARKER\"\n";
const QString Directory = QStringLiteral("dir with 'single' \"double\"; touch injected1; $(touch injected2)\nline two");
const QString Name = QStringLiteral("run `touch injected3`; $(touch injected4) 'x'.scpt");
} // namespace

class tst_ScriptRunner : public QObject
{
    Q_OBJECT

private slots:
    void runsOnlyTheScript_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("executable");

        QTest::newRow("executable") << "#!/bin/sh\n" + Body << true;
        QTest::newRow("executableWithoutInterpreterLine") << Body << true;
        QTest::newRow("plainFileWithInterpreterLine") << "#!/bin/sh\n" + Body << false;
        QTest::newRow("plainFileWithoutInterpreterLine") << Body << false;
    }

    void runsOnlyTheScript()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, executable);

        // Also the current directory: whatever a shell made of the path lands
        // in it.
        QTemporaryDir directory;
        QVERIFY(QDir::setCurrent(directory.path()));
        QVERIFY(QDir(directory.path()).mkdir(Directory));
        QFile script(directory.filePath(Directory + '/' + Name));
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write(contents) == contents.size());
        script.close();
        script.setPermissions(executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
        qputenv("MARKER", QFile::encodeName(directory.filePath("marker")));

        // Morvane's own standard input is a file the script could read.
        QVERIFY(std::freopen(QFile::encodeName(script.fileName()).constData(), "r", stdin));
        ScriptRunner::run(script.fileName());

        QFile marker(directory.filePath("marker"));
        QVERIFY(marker.open(QIODevice::ReadOnly));
        QCOMPARE(marker.readAll(), QByteArray("ran /dev/null"));
        QCOMPARE(QDir(directory.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            (QStringList {Directory, "marker"}));
    }

    // A script that takes its time does not stop the event loop: the window
    // goes on painting and answering the desktop meanwhile.
    void eventsGoOnWhileScriptRuns()
    {
        QTemporaryDir directory;
        QFile script(directory.filePath("slow.sh"));
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write("sleep 0.5\n") > 0);
        script.close();
        int timerEvents = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++timerEvents; });
        timer.start(20);
        QElapsedTimer clock;
        clock.start();
        ScriptRunner::run(script.fileName());
        QVERIFY(clock.elapsed() >= 500);
        QVERIFY2(timerEvents >= 5, qPrintable(QString::number(timerEvents)));
    }
};

QTEST_GUILESS_MAIN(tst_ScriptRunner)
#include "tst_ScriptRunner.moc"
