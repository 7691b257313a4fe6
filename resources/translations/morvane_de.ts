<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>About</name>
    <message>
        <source>About Morvane</source>
        <translation>Über Morvane</translation>
    </message>
    <message>
        <source>Morvane&apos;s icon</source>
        <translation>Symbol von Morvane</translation>
    </message>
    <message>
        <source>Restarts, shuts down, logs out, suspends, turns the display off or runs a script at a time you choose.</source>
        <translation>Startet neu, fährt herunter, meldet ab, versetzt in Bereitschaft, schaltet den Bildschirm aus oder führt ein Skript aus – zu einer Zeit Ihrer Wahl.</translation>
    </message>
    <message>
        <source>Free software under the &lt;a href=&quot;https://www.gnu.org/licenses/gpl-3.0.html&quot;&gt;GNU General Public License&lt;/a&gt;, version 3 or any later version (GPL-3.0-or-later).</source>
        <translation>Freie Software unter der &lt;a href=&quot;https://www.gnu.org/licenses/gpl-3.0.html&quot;&gt;GNU General Public License&lt;/a&gt;, Version 3 oder jeder späteren Version (GPL-3.0-or-later).</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>AboutWindowController</name>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>Alerts</name>
    <message>
        <source>Error!</source>
        <translation>Fehler!</translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>The system refused: polkit would have asked for a password, or another program holds a lock that blocks it. Make sure your session is the active local one and no update is running.</source>
        <translation>Das System hat abgelehnt: polkit hätte nach einem Passwort gefragt, oder ein anderes Programm hält eine Sperre, die es verhindert. Stellen Sie sicher, dass Ihre Sitzung die aktive lokale Sitzung ist und keine Aktualisierung läuft.</translation>
    </message>
    <message>
        <source>No one answered: systemd-logind or the session manager is not running.</source>
        <translation>Niemand hat geantwortet: systemd-logind oder die Sitzungsverwaltung läuft nicht.</translation>
    </message>
    <message>
        <source>There is no D-Bus connection: the bus socket is missing.</source>
        <translation>Es gibt keine D-Bus-Verbindung: Der Socket des Busses fehlt.</translation>
    </message>
    <message>
        <source>No answer came in time. The request was delivered, so it may still be carried out.</source>
        <translation>Es kam keine Antwort in der vorgesehenen Zeit. Die Anfrage wurde zugestellt und wird vielleicht noch ausgeführt.</translation>
    </message>
    <message>
        <source>The system is busy with another shutdown or sleep. Try again in a moment.</source>
        <translation>Das System ist mit einem anderen Herunterfahren oder Ruhezustand beschäftigt. Versuchen Sie es gleich noch einmal.</translation>
    </message>
    <message>
        <source>This computer cannot do that here, for example it cannot suspend.</source>
        <translation>Dieser Rechner kann das hier nicht, zum Beispiel kann er nicht in Bereitschaft gehen.</translation>
    </message>
    <message>
        <source>The service does not know this request: it may be too old or not the one Morvane expects.</source>
        <translation>Der Dienst kennt diese Anfrage nicht: Er ist vielleicht zu alt oder nicht der, den Morvane erwartet.</translation>
    </message>
    <message>
        <source>Morvane does not run inside a logind session, so there is no session to end.</source>
        <translation>Morvane läuft nicht in einer logind-Sitzung, daher gibt es keine Sitzung zu beenden.</translation>
    </message>
    <message>
        <source>The system does not allow this operation for your user.</source>
        <translation>Das System erlaubt diesen Vorgang für Ihren Benutzer nicht.</translation>
    </message>
    <message>
        <source>The system did not carry out the action. See Morvane&apos;s help for what the number means.</source>
        <translation>Das System hat die Aktion nicht ausgeführt. Was die Zahl bedeutet, steht in der Hilfe von Morvane.</translation>
    </message>
    <message>
        <source>The script file does not exist</source>
        <translation>Die Skriptdatei existiert nicht</translation>
    </message>
    <message>
        <source>Illegal Number!</source>
        <translation>Ungültige Zahl!</translation>
    </message>
    <message>
        <source>Choose a unit from the list: Years, Months, Days, Hours, Minutes or Seconds.</source>
        <translation>Wählen Sie eine Einheit aus der Liste: Jahre, Monate, Tage, Stunden, Minuten oder Sekunden.</translation>
    </message>
    <message>
        <source>The date has passed. Choose a date and time later than now.</source>
        <translation>Der Zeitpunkt ist vorbei. Wählen Sie ein Datum und eine Uhrzeit nach jetzt.</translation>
    </message>
    <message>
        <source>You can not close the application when timing task is running!</source>
        <translation>Sie können die Anwendung nicht schließen, solange eine zeitgesteuerte Aufgabe läuft!</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>That time does not exist here: the clock skips it as summer time begins. Choose a time outside the skipped hour.</source>
        <translation>Diese Uhrzeit gibt es hier nicht: Die Uhr überspringt sie, wenn die Sommerzeit beginnt. Wählen Sie eine Uhrzeit außerhalb der übersprungenen Stunde.</translation>
    </message>
    <message>
        <source>There is no way to turn the display off here.</source>
        <translation>Der Bildschirm lässt sich hier nicht ausschalten.</translation>
    </message>
</context>
<context>
    <name>CalendarMath</name>
    <message numerus="yes">
        <source>%n Day(s) </source>
        <translation>
            <numerusform>%n Tag </numerusform>
            <numerusform>%n Tage </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Hour(s) </source>
        <translation>
            <numerusform>%n Stunde </numerusform>
            <numerusform>%n Stunden </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Minute(s) </source>
        <translation>
            <numerusform>%n Minute </numerusform>
            <numerusform>%n Minuten </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Second(s)</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Morvane restarts, shuts down, logs out, puts the computer to sleep, turns the
display off or runs a script when the time you chose comes. With --action and
--in or --at it fills in its window as you would and presses Run, so every
check of the window applies. A second start hands its command line to the
Morvane already running, which leaves a running task alone.</source>
        <translation>Morvane startet den Rechner neu, fährt ihn herunter, meldet ab, versetzt ihn in
Bereitschaft, schaltet den Bildschirm aus oder führt ein Skript aus, wenn die
gewählte Zeit kommt. Mit --action und --in oder --at füllt es sein Fenster aus,
wie Sie es tun würden, und drückt Starten; so gilt jede Prüfung des Fensters.
Ein zweiter Start übergibt seine Befehlszeile dem bereits laufenden Morvane,
das eine laufende Aufgabe unangetastet lässt.</translation>
    </message>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Zeigt diese Hilfe und beendet sich.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Zeigt die Version und beendet sich.</translation>
    </message>
    <message>
        <source>What to do: shutdown, restart, logout, sleep, display-off or script.</source>
        <translation>Was geschehen soll: shutdown, restart, logout, sleep, display-off oder script.</translation>
    </message>
    <message>
        <source>When: after a countdown such as 45s, 90m, 2h30m or 1d (units s, m, h, d).</source>
        <translation>Wann: nach einem Countdown wie 45s, 90m, 2h30m oder 1d (Einheiten s, m, h, d).</translation>
    </message>
    <message>
        <source>When: at a date and time such as 2026-12-24T18:00, or at the next 18:00.</source>
        <translation>Wann: zu einem Datum und einer Uhrzeit wie 2026-12-24T18:00 oder um die nächste 18:00.</translation>
    </message>
    <message>
        <source>The script file that --action script runs.</source>
        <translation>Die Skriptdatei, die --action script ausführt.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>Try &apos;morvane --help&apos; for more information.</source>
        <translation>Mehr dazu mit „morvane --help“.</translation>
    </message>
    <message>
        <source>Usage: morvane [options]</source>
        <translation>Aufruf: morvane [Optionen]</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>Beispiele:</translation>
    </message>
    <message>
        <source>--%1 is given more than once.</source>
        <translation>--%1 ist mehr als einmal angegeben.</translation>
    </message>
    <message>
        <source>--in, --at and --script need --action.</source>
        <translation>--in, --at und --script brauchen --action.</translation>
    </message>
    <message>
        <source>--action needs a time: either --in or --at.</source>
        <translation>--action braucht eine Zeit: entweder --in oder --at.</translation>
    </message>
    <message>
        <source>Unknown action &apos;%1&apos;: choose shutdown, restart, logout, sleep, display-off or script.</source>
        <translation>Unbekannte Aktion „%1“: Wählen Sie shutdown, restart, logout, sleep, display-off oder script.</translation>
    </message>
    <message>
        <source>--action script and --script PATH go together.</source>
        <translation>--action script und --script PFAD gehören zusammen.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a duration: write numbers with the units s, m, h or d, such as 45s, 90m or 2h30m.</source>
        <translation>„%1“ ist keine Dauer: Schreiben Sie Zahlen mit den Einheiten s, m, h oder d, etwa 45s, 90m oder 2h30m.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a time: write a date and time such as 2026-12-24T18:00, or a time such as 18:00.</source>
        <translation>„%1“ ist keine Zeitangabe: Schreiben Sie ein Datum mit Uhrzeit wie 2026-12-24T18:00 oder eine Uhrzeit wie 18:00.</translation>
    </message>
    <message>
        <source>Moves the task that is counting down later, such as by 10m.</source>
        <translation>Verschiebt die laufende Aufgabe nach hinten, etwa um 10m.</translation>
    </message>
    <message>
        <source>--postpone goes alone: it moves the task that runs.</source>
        <translation>--postpone steht allein: Es verschiebt die laufende Aufgabe.</translation>
    </message>
</context>
<context>
    <name>CountdownTick</name>
    <message>
        <source>Running the script…</source>
        <translation>Das Skript läuft …</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Stop</source>
        <translation>Stoppen</translation>
    </message>
    <message>
        <source>Postpone 10 minutes</source>
        <translation>Um 10 Minuten verschieben</translation>
    </message>
</context>
<context>
    <name>DisplayPower</name>
    <message>
        <source>There is no way to turn the display off here: %1.</source>
        <extracomment>%1 says why, as &quot;this X server has no display power control&quot;.</extracomment>
        <translation>Der Bildschirm lässt sich hier nicht ausschalten: %1.</translation>
    </message>
    <message>
        <source>%1, but %2.</source>
        <extracomment>%1 names a service, %2 says why it could not: &quot;Mutter is running, but this X server has no display power control.&quot;</extracomment>
        <translation>%1, aber %2.</translation>
    </message>
    <message>
        <source>it did not report the display off</source>
        <translation>der Bildschirm wurde nicht als ausgeschaltet gemeldet</translation>
    </message>
    <message>
        <source>this X server has no display power control</source>
        <translation>dieser X-Server hat keine Energiesteuerung für den Bildschirm</translation>
    </message>
    <message>
        <source>it cannot turn its outputs off</source>
        <translation>seine Ausgänge lassen sich nicht ausschalten</translation>
    </message>
    <message>
        <source>it did not report its outputs off</source>
        <translation>seine Ausgänge wurden nicht als ausgeschaltet gemeldet</translation>
    </message>
    <message>
        <source>this Wayland compositor has no display power control</source>
        <translation>dieser Wayland-Compositor hat keine Energiesteuerung für den Bildschirm</translation>
    </message>
    <message>
        <source>there is no X server or Wayland compositor to ask</source>
        <translation>es gibt keinen X-Server und keinen Wayland-Compositor, der gefragt werden könnte</translation>
    </message>
    <message>
        <source>Mutter is running</source>
        <translation>Mutter läuft</translation>
    </message>
    <message>
        <source>KWin is running</source>
        <translation>KWin läuft</translation>
    </message>
    <message>
        <source>A wlroots compositor is running</source>
        <translation>Ein wlroots-Compositor läuft</translation>
    </message>
    <message>
        <source>The X server has display power control</source>
        <translation>Der X-Server hat eine Energiesteuerung für den Bildschirm</translation>
    </message>
    <message>
        <source>PowerDevil is running</source>
        <translation>PowerDevil läuft</translation>
    </message>
</context>
<context>
    <name>Duration</name>
    <message>
        <source>%1 d %2</source>
        <extracomment>A count of days before the clock, as in &quot;2 d 03:04:05&quot;.</extracomment>
        <translation>%1 T %2</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Morvane Help</source>
        <translation>Morvane-Hilfe</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Hilfeseite</translation>
    </message>
</context>
<context>
    <name>IdleLock</name>
    <message>
        <source>Counting down to %1</source>
        <translation>Countdown bis: %1</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>Morvane is already counting down (%1); that task goes on and this one was not started. Press Stop in the window first to start another.</source>
        <translation>Morvane zählt bereits herunter (%1); diese Aufgabe läuft weiter, und die neue wurde nicht gestartet. Drücken Sie zuerst im Fenster auf Stopp, um eine andere zu starten.</translation>
    </message>
    <message>
        <source>Morvane is running in this session but did not answer in time. Nothing of this start was carried out.</source>
        <translation>Morvane läuft in dieser Sitzung, hat aber nicht rechtzeitig geantwortet. Nichts von diesem Start wurde ausgeführt.</translation>
    </message>
    <message>
        <source>Morvane&apos;s socket %1 is held by another user (uid %2). Nothing was sent to it, and no window opens while it is held.</source>
        <translation>Morvanes Socket %1 gehört einem anderen Benutzer (UID %2). Ihm wurde nichts gesendet, und solange er ihn hält, öffnet sich kein Fenster.</translation>
    </message>
    <message>
        <source>The command line is longer than %1 KiB; nothing was handed to the Morvane running.</source>
        <translation>Die Befehlszeile ist länger als %1 KiB; dem laufenden Morvane wurde nichts übergeben.</translation>
    </message>
    <message>
        <source>The script path &apos;%1&apos; is not absolute; nothing was started.</source>
        <translation>Der Skriptpfad „%1“ ist nicht absolut; es wurde nichts gestartet.</translation>
    </message>
    <message>
        <source>Morvane is not running in this session; there is nothing to postpone.</source>
        <translation>Morvane läuft in dieser Sitzung nicht; es gibt nichts zu verschieben.</translation>
    </message>
    <message>
        <source>No task is counting down; there is nothing to postpone.</source>
        <translation>Es läuft kein Countdown; es gibt nichts zu verschieben.</translation>
    </message>
    <message>
        <source>Postponed: %1 at %2.</source>
        <translation>Verschoben: %1 um %2.</translation>
    </message>
    <message>
        <source>the task ends</source>
        <translation>die Aufgabe endet</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>R&amp;estart</source>
        <translation>Neu &amp;starten</translation>
    </message>
    <message>
        <source>Shut &amp;Down</source>
        <translation>Herunter&amp;fahren</translation>
    </message>
    <message>
        <source>Log &amp;Out</source>
        <translation>Ab&amp;melden</translation>
    </message>
    <message>
        <source>S&amp;leep</source>
        <translation>&amp;Bereitschaft</translation>
    </message>
    <message>
        <source>Displa&amp;y Sleep</source>
        <translation>Bi&amp;ldschirm aus</translation>
    </message>
    <message>
        <source>Run Scr&amp;ipt</source>
        <translation>S&amp;kript ausführen</translation>
    </message>
    <message>
        <source>Choose S&amp;cript…</source>
        <translation>Skript &amp;wählen …</translation>
    </message>
    <message>
        <source>&amp;Timer</source>
        <translation>&amp;Countdown</translation>
    </message>
    <message>
        <source>Carry out the action in:</source>
        <translation>Aktion ausführen in:</translation>
    </message>
    <message>
        <source>Nu&amp;mber</source>
        <translation>&amp;Anzahl</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>How many units</source>
        <translation>Wie viele Einheiten</translation>
    </message>
    <message>
        <source>&amp;Unit</source>
        <translation>&amp;Einheit</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>Years</source>
        <translation>Jahre</translation>
    </message>
    <message>
        <source>Months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>D&amp;ate</source>
        <translation>&amp;Zeitpunkt</translation>
    </message>
    <message>
        <source>Date and ti&amp;me</source>
        <translation>Datum und &amp;Uhrzeit</translation>
    </message>
    <message>
        <source>Date and time</source>
        <translation>Datum und Uhrzeit</translation>
    </message>
    <message>
        <source>Calendar &amp;view</source>
        <translation>Kalender&amp;ansicht</translation>
    </message>
    <message>
        <source>Date and time in the calendar</source>
        <translation>Datum und Uhrzeit im Kalender</translation>
    </message>
    <message>
        <source>ddd d MMM yyyy, HH:mm:ss</source>
        <translation>ddd d. MMM yyyy, HH:mm:ss</translation>
    </message>
    <message>
        <source>Lon&amp;g form</source>
        <translation>Lan&amp;ge Form</translation>
    </message>
    <message>
        <source>Date and time in long form</source>
        <translation>Datum und Uhrzeit in langer Form</translation>
    </message>
    <message>
        <source>dddd, d MMMM yyyy, HH:mm:ss</source>
        <translation>dddd, d. MMMM yyyy, HH:mm:ss</translation>
    </message>
    <message>
        <source>No&amp;w</source>
        <translation>&amp;Jetzt</translation>
    </message>
    <message>
        <source>Shortest tas&amp;k</source>
        <translation>Kü&amp;rzeste Aufgabe</translation>
    </message>
    <message>
        <source>Minimum seconds</source>
        <translation>Mindestzahl an Sekunden</translation>
    </message>
    <message>
        <source>1 second</source>
        <translation>1 Sekunde</translation>
    </message>
    <message>
        <source>Smallest length of a task</source>
        <translation>Kleinste Dauer einer Aufgabe</translation>
    </message>
    <message>
        <source>&amp;Script file:</source>
        <translation>Skript&amp;pfad:</translation>
    </message>
    <message>
        <source>Script file</source>
        <translation>Skriptdatei</translation>
    </message>
    <message>
        <source>Path of the script to run</source>
        <translation>Pfad des auszuführenden Skripts</translation>
    </message>
    <message>
        <source>Tur&amp;n the display off after the script</source>
        <translation>Danach de&amp;n Bildschirm ausschalten</translation>
    </message>
    <message>
        <source>Spare option</source>
        <translation>Reserveoption</translation>
    </message>
    <message>
        <source>Time left:</source>
        <translation>Verbleibende Zeit:</translation>
    </message>
    <message>
        <source>Hel&amp;p</source>
        <translation>H&amp;ilfe</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>Star&amp;ten</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Morvane</source>
        <translation>&amp;Über Morvane</translation>
    </message>
    <message>
        <source>Morvane &amp;Help</source>
        <translation>Morvane-&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>St&amp;op</source>
        <translation>St&amp;opp</translation>
    </message>
    <message>
        <source>Postpone &amp;10 minutes</source>
        <translation>Um &amp;10 Minuten verschieben</translation>
    </message>
</context>
<context>
    <name>ReadinessNotice</name>
    <message>
        <source>This action will be refused: the system does not allow it for you now.</source>
        <translation>Diese Aktion wird abgelehnt werden: Das System erlaubt sie Ihnen derzeit nicht.</translation>
    </message>
    <message>
        <source>This action will be refused: the system would ask for a password, and nobody may be there to give it.</source>
        <translation>Diese Aktion wird abgelehnt werden: Das System würde nach einem Passwort fragen, und vielleicht ist dann niemand da, der es eingibt.</translation>
    </message>
    <message>
        <source>This action will be refused: there is no way to turn the display off here.</source>
        <translation>Diese Aktion wird abgelehnt werden: Der Bildschirm lässt sich hier nicht ausschalten.</translation>
    </message>
    <message>
        <source>This action will be refused: this computer cannot do it here.</source>
        <translation>Diese Aktion wird abgelehnt werden: Dieser Rechner kann das hier nicht.</translation>
    </message>
    <message>
        <source>This action will be refused: the service that carries it out does not answer.</source>
        <translation>Diese Aktion wird abgelehnt werden: Der Dienst, der sie ausführt, antwortet nicht.</translation>
    </message>
    <message>
        <source>the system does not allow it for you now</source>
        <translation>das System erlaubt sie Ihnen derzeit nicht</translation>
    </message>
    <message>
        <source>the system would ask for a password, and nobody may be there to give it</source>
        <translation>das System würde nach einem Passwort fragen, und vielleicht ist dann niemand da, der es eingibt</translation>
    </message>
    <message>
        <source>there is no way to turn the display off here</source>
        <translation>der Bildschirm lässt sich hier nicht ausschalten</translation>
    </message>
    <message>
        <source>this computer cannot do it here</source>
        <translation>dieser Rechner kann das hier nicht</translation>
    </message>
    <message>
        <source>the service that carries it out does not answer</source>
        <translation>der Dienst, der sie ausführt, antwortet nicht</translation>
    </message>
</context>
<context>
    <name>ScheduleEditor</name>
    <message numerus="yes">
        <source>%n second(s)</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>Scripts (*.sh *.bash *.py *.pl *.rb *.scpt)</source>
        <translation>Skripte (*.sh *.bash *.py *.pl *.rb *.scpt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Script</source>
        <translation>Skript</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>The command line is longer than %1 KiB; Morvane took none of it.</source>
        <translation>Die Befehlszeile ist länger als %1 KiB; Morvane hat nichts davon übernommen.</translation>
    </message>
</context>
<context>
    <name>TaskController</name>
    <message>
        <source>The task has started.</source>
        <translation>Die Aufgabe wurde gestartet.</translation>
    </message>
    <message>
        <source>The task has stopped.</source>
        <translation>Die Aufgabe wurde beendet.</translation>
    </message>
</context>
<context>
    <name>TaskWarnings</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>At %1, unless you stop the task. Stop cancels it and nothing is done.</source>
        <translation>Um %1, sofern Sie die Aufgabe nicht stoppen. „Stoppen“ bricht sie ab, und nichts geschieht.</translation>
    </message>
    <message>
        <source>The task ends</source>
        <translation>Die Aufgabe endet</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <extracomment>The action, then how long until it is carried out: &quot;Shut Down in 5 minutes&quot;.</extracomment>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <source>%1 in %2, but %3</source>
        <extracomment>The action, how long until it is due, and why the system will refuse it: &quot;Display Sleep in 10 seconds, but there is no way to turn the display off here&quot;.</extracomment>
        <translation>%1 in %2, aber %3</translation>
    </message>
    <message>
        <source>%1 was due at %2 while the computer slept; it was not carried out.</source>
        <translation>%1 war für %2 vorgesehen, während der Computer schlief; es wurde nicht ausgeführt.</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Show Morvane</source>
        <translation>Morvane zeigen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stoppen</translation>
    </message>
    <message>
        <source>Postpone 10 minutes</source>
        <translation>Um 10 Minuten verschieben</translation>
    </message>
    <message>
        <source>The task ends</source>
        <translation>Die Aufgabe endet</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <extracomment>The action, then the time left as a clock shows it: &quot;Shut Down in 4:59&quot;.</extracomment>
        <translation>%1 in %2</translation>
    </message>
</context>
</TS>
