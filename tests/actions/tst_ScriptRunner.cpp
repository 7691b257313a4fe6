// The script runner with real files: which interpreter runs a file, that a
// hostile path is never read by a shell, and that the call waits for the
// script and gives it no standard input.

#include "actions/ScriptRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// Every script writes what it is into the file that MARKER names, so a case
// sees which interpreter ran it, and that it ran at all.
const QByteArray WritesRan = "echo ran > \"$MARKER\"\n";
const QByteArray ReadsInput = "#!/bin/sh\nif read line; then echo \"read $line\"; else echo empty; fi > \"$MARKER\"\n";
const QByteArray PythonWritesPython = "import os\nopen(os.environ['MARKER'], 'w').write('python\\n')\n";

// A name that a shell would split, unquote, expand and run pieces of.
const QString HostileDirectory
    = QStringLiteral("dir with 'single' \"double\"; touch injected1; $(touch injected2)\nline two");
const QString HostileFile = QStringLiteral("run `touch injected3`; $(touch injected4) 'x'.scpt");

} // namespace

class tst_ScriptRunner : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void runsTheScript_data();
    void runsTheScript();

private:
    QString writeScript(const QString &relativePath, const QByteArray &contents, bool executable);
    QString marker() const;

    std::unique_ptr<QTemporaryDir> m_directory;
    QString m_startDirectory;
};

// Each case works in a fresh directory that is also the current one, so
// that anything a shell would create from a mangled path turns up there.
void tst_ScriptRunner::init()
{
    m_directory = std::make_unique<QTemporaryDir>();
    QVERIFY(m_directory->isValid());
    m_startDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_directory->path()));
    qputenv("MARKER", marker().toLocal8Bit());
}

void tst_ScriptRunner::cleanup()
{
    QDir::setCurrent(m_startDirectory);
    m_directory.reset();
}

QString tst_ScriptRunner::marker() const
{
    return m_directory->filePath(QStringLiteral("marker"));
}

QString tst_ScriptRunner::writeScript(const QString &relativePath, const QByteArray &contents, bool executable)
{
    const QString path = m_directory->filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return {};
    file.setPermissions(
        executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner : QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void tst_ScriptRunner::runsTheScript_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<bool>("relative");
    QTest::addColumn<QByteArray>("written");

    const QByteArray notAScript = QByteArray("\x7f"
                                             "ELF\x02\x01\x01",
                                      7)
        + QByteArray(200, '\0') + "\xff\xfe garbage";
    QTest::newRow("executableWithInterpreterLine") << "a.scpt"
                                                   << "#!/bin/sh\n" + WritesRan << true << false << QByteArray("ran\n");
    QTest::newRow("executableWithoutInterpreterLine") << "a.scpt" << WritesRan << true << false << QByteArray("ran\n");
    QTest::newRow("plainFileWithInterpreterLine")
        << "a.scpt"
        << "#!/usr/bin/python3\n" + PythonWritesPython << false << false << QByteArray("python\n");
    QTest::newRow("plainFileWithInterpreterArgument")
        << "a.scpt"
        << "#! /usr/bin/env  python3 \n" + PythonWritesPython << false << false << QByteArray("python\n");
    QTest::newRow("plainFileWithoutInterpreterLine") << "a.scpt" << WritesRan << false << false << QByteArray("ran\n");
    QTest::newRow("executableWithHostilePath")
        << HostileDirectory + '/' + HostileFile << "#!/bin/sh\n" + WritesRan << true << false << QByteArray("ran\n");
    QTest::newRow("plainFileWithHostilePath")
        << HostileDirectory + '/' + HostileFile << WritesRan << false << false << QByteArray("ran\n");
    QTest::newRow("relativePath") << "sub/a.scpt"
                                  << "#!/bin/sh\n" + WritesRan << true << true << QByteArray("ran\n");
    QTest::newRow("failingScript") << "a.scpt"
                                   << "#!/bin/sh\n" + WritesRan + "exit 3\n"
                                   << true << false << QByteArray("ran\n");
    QTest::newRow("missingInterpreter") << "a.scpt"
                                        << "#!/nonexistent/interpreter\n" + WritesRan << false << false << QByteArray();
    QTest::newRow("executableNotAScript") << "a.scpt" << notAScript << true << false << QByteArray();
    QTest::newRow("plainFileNotAScript") << "a.scpt" << notAScript << false << false << QByteArray();
    // The marker must be there as soon as the call returns.
    QTest::newRow("waitsForTheEnd") << "a.scpt"
                                    << "#!/bin/sh\nsleep 0.3\n" + WritesRan << true << false << QByteArray("ran\n");
    // Morvane's own standard input holds a line the script could read.
    QTest::newRow("noStandardInput") << "a.scpt" << ReadsInput << true << false << QByteArray("empty\n");
}

// The script runs with the interpreter it asks for, and nothing else runs:
// afterwards the directory holds only the script and, where it ran, the
// marker it wrote.
void tst_ScriptRunner::runsTheScript()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(bool, executable);
    QFETCH(bool, relative);
    QFETCH(QByteArray, written);

    const QString path = writeScript(name, contents, executable);
    QVERIFY(!path.isEmpty());
    const QStringList before = QDir(m_directory->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    int pipeEnds[2];
    QCOMPARE(pipe(pipeEnds), 0);
    QCOMPARE(write(pipeEnds[1], "leaked\n", 7), ssize_t(7));
    close(pipeEnds[1]);
    const int savedInput = dup(STDIN_FILENO);
    dup2(pipeEnds[0], STDIN_FILENO);
    close(pipeEnds[0]);
    ScriptRunner::runAppleScript(relative ? name : path);
    dup2(savedInput, STDIN_FILENO);
    close(savedInput);

    QStringList expected = before;
    if (!written.isNull())
        expected.append(QStringLiteral("marker"));
    expected.sort();
    QCOMPARE(QDir(m_directory->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), expected);
    if (!written.isNull()) {
        QFile result(marker());
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readAll(), written);
    }
}

QTEST_GUILESS_MAIN(tst_ScriptRunner)
#include "tst_ScriptRunner.moc"
