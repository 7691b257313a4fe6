// Morvane in German and French: the main flows on the real window read in
// the language and work as they do in English.

#include "app/Translations.h"
#include "schedule/CalendarMath.h"
#include "tests/support/DataRow.h"
#include "tests/support/WindowFixture.h"

#include <QProcess>
#include <QTest>
#include <QTranslator>

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    // Each row: the idle window (Run, the unit shown, the countdown page), a
    // one-minute task after its first tick, a refused number, the alert of a
    // refused shutdown, a time-left text with plurals, and what the command
    // line says of a bad argument.
    void mainFlows_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("texts");

        addRow("german", "de",
            QStringList {"Starten|Minuten|Countdown", "Stopp|1 Minute ", "Hinweis|Ungültige Zahl!",
                "Fehler!|-2|Es gibt keine D-Bus-Verbindung: Der Socket des Busses fehlt.",
                "2 Tage 1 Stunde 1 Minute 2 Sekunden", "morvane: --in, --at und --script brauchen --action."});
        addRow("french", "fr",
            QStringList {"Lancer|Minutes|Compte à rebours", "Arrêter|1 minute ", "Rappel|Nombre non valide !",
                "Erreur !|-2|Il n'y a pas de connexion D-Bus : la socket du bus est absente.",
                "2 jours 1 heure 1 minute 2 secondes", "morvane: --in, --at et --script demandent --action."});
    }
    void mainFlows()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, texts);
        QVERIFY(Translations::install(QLocale(language), {QStringLiteral(MORVANE_TRANSLATIONS_DIR)}));

        WindowFixture f;
        auto *units = f.control(Tag::UnitComboBox, f.page(0)).as<QComboBox>();
        QStringList seen {
            f.runTitle() + '|' + units->currentText() + '|' + withoutMnemonic(f.delegate->tabview1()->tabText(0))};
        f.setCountdown(QStringLiteral("1"), units->itemText(4));
        f.pressRun();
        f.tick();
        seen << f.runTitle() + '|' + f.control(Tag::TimeLeftText).stringValue();
        f.pressRun();
        f.setCountdown(QStringLiteral("x"), units->itemText(4));
        f.pressRun();
        f.actions->eventStatus = -2;
        f.setCountdown(QStringLiteral("1"), units->itemText(5));
        f.pressRun();
        f.tick();
        f.tick();
        for (const auto &[title, message] : f.alerts->alerts)
            seen << title + '|' + QString(message).replace('\n', '|');
        seen << CalendarMath::calculateLeftTime(2 * 86400 + 3600 + 60 + 2);
        QProcess commandLine;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", language);
        commandLine.setProcessEnvironment(environment);
        commandLine.start(MORVANE_BINARY, {"--in", "5m"});
        QVERIFY(commandLine.waitForFinished());
        seen << QString::fromUtf8(commandLine.readAllStandardError()).section('\n', 0, 0);
        QCOMPARE(seen, texts);
    }

    // The next row starts from the source texts again.
    void cleanup() { qDeleteAll(qApp->findChildren<QTranslator *>()); }
};

QTEST_MAIN(tst_Translations)
#include "tst_Translations.moc"
