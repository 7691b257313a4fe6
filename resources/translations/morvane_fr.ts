<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>About</name>
    <message>
        <source>About Morvane</source>
        <translation>À propos de Morvane</translation>
    </message>
    <message>
        <source>Morvane&apos;s icon</source>
        <translation>Icône de Morvane</translation>
    </message>
    <message>
        <source>Restarts, shuts down, logs out, suspends, turns the display off or runs a script at a time you choose.</source>
        <translation>Redémarre, éteint, déconnecte, met en veille, éteint l&apos;écran ou exécute un script au moment que vous choisissez.</translation>
    </message>
    <message>
        <source>Free software under the &lt;a href=&quot;https://www.gnu.org/licenses/gpl-3.0.html&quot;&gt;GNU General Public License&lt;/a&gt;, version 3 or any later version (GPL-3.0-or-later).</source>
        <translation>Logiciel libre sous la &lt;a href=&quot;https://www.gnu.org/licenses/gpl-3.0.html&quot;&gt;licence publique générale GNU&lt;/a&gt;, version 3 ou toute version ultérieure (GPL-3.0-or-later).</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
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
        <translation>Erreur !</translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation>Rappel</translation>
    </message>
    <message>
        <source>The system refused: polkit would have asked for a password, or another program holds a lock that blocks it. Make sure your session is the active local one and no update is running.</source>
        <translation>Le système a refusé : polkit aurait demandé un mot de passe, ou un autre programme détient un verrou qui l&apos;empêche. Vérifiez que votre session est la session locale active et qu&apos;aucune mise à jour n&apos;est en cours.</translation>
    </message>
    <message>
        <source>No one answered: systemd-logind or the session manager is not running.</source>
        <translation>Personne n&apos;a répondu : systemd-logind ou le gestionnaire de session ne tourne pas.</translation>
    </message>
    <message>
        <source>There is no D-Bus connection: the bus socket is missing.</source>
        <translation>Il n&apos;y a pas de connexion D-Bus : la socket du bus est absente.</translation>
    </message>
    <message>
        <source>No answer came in time. The request was delivered, so it may still be carried out.</source>
        <translation>Aucune réponse n&apos;est arrivée à temps. La demande a été transmise, elle sera donc peut-être encore exécutée.</translation>
    </message>
    <message>
        <source>The system is busy with another shutdown or sleep. Try again in a moment.</source>
        <translation>Le système est occupé par un autre arrêt ou une autre mise en veille. Réessayez dans un instant.</translation>
    </message>
    <message>
        <source>This computer cannot do that here, for example it cannot suspend.</source>
        <translation>Cet ordinateur ne peut pas le faire ici, par exemple il ne peut pas se mettre en veille.</translation>
    </message>
    <message>
        <source>The service does not know this request: it may be too old or not the one Morvane expects.</source>
        <translation>Le service ne connaît pas cette demande : il est peut-être trop ancien ou ce n&apos;est pas celui qu&apos;attend Morvane.</translation>
    </message>
    <message>
        <source>Morvane does not run inside a logind session, so there is no session to end.</source>
        <translation>Morvane ne tourne pas dans une session logind, il n&apos;y a donc aucune session à fermer.</translation>
    </message>
    <message>
        <source>The system does not allow this operation for your user.</source>
        <translation>Le système n&apos;autorise pas cette opération pour votre utilisateur.</translation>
    </message>
    <message>
        <source>The system did not carry out the action. See Morvane&apos;s help for what the number means.</source>
        <translation>Le système n&apos;a pas exécuté l&apos;action. L&apos;aide de Morvane explique la signification du nombre.</translation>
    </message>
    <message>
        <source>The script file does not exist</source>
        <translation>Le fichier de script n&apos;existe pas</translation>
    </message>
    <message>
        <source>Illegal Number!</source>
        <translation>Nombre non valide !</translation>
    </message>
    <message>
        <source>Choose a unit from the list: Years, Months, Days, Hours, Minutes or Seconds.</source>
        <translation>Choisissez une unité dans la liste : Années, Mois, Jours, Heures, Minutes ou Secondes.</translation>
    </message>
    <message>
        <source>The date has passed. Choose a date and time later than now.</source>
        <translation>Cette date est passée. Choisissez une date et une heure postérieures à maintenant.</translation>
    </message>
    <message>
        <source>You can not close the application when timing task is running!</source>
        <translation>Vous ne pouvez pas fermer l&apos;application pendant qu&apos;une tâche programmée est en cours !</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>That time does not exist here: the clock skips it as summer time begins. Choose a time outside the skipped hour.</source>
        <translation>Cette heure n&apos;existe pas ici : l&apos;horloge la saute au passage à l&apos;heure d&apos;été. Choisissez une heure en dehors de l&apos;heure sautée.</translation>
    </message>
    <message>
        <source>There is no way to turn the display off here.</source>
        <translation>Impossible d&apos;éteindre l&apos;écran ici.</translation>
    </message>
</context>
<context>
    <name>CalendarMath</name>
    <message numerus="yes">
        <source>%n Day(s) </source>
        <translation>
            <numerusform>%n jour </numerusform>
            <numerusform>%n jours </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Hour(s) </source>
        <translation>
            <numerusform>%n heure </numerusform>
            <numerusform>%n heures </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Minute(s) </source>
        <translation>
            <numerusform>%n minute </numerusform>
            <numerusform>%n minutes </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Second(s)</source>
        <translation>
            <numerusform>%n seconde</numerusform>
            <numerusform>%n secondes</numerusform>
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
        <translation>Morvane redémarre l&apos;ordinateur, l&apos;éteint, ferme la session, le met en veille,
éteint l&apos;écran ou exécute un script au moment choisi. Avec --action et --in ou
--at, il remplit sa fenêtre comme vous le feriez et appuie sur Lancer : toutes
les vérifications de la fenêtre s&apos;appliquent. Un second lancement transmet sa
ligne de commande au Morvane déjà lancé, qui laisse intacte une tâche en cours.</translation>
    </message>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Affiche cette aide et quitte.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Affiche la version et quitte.</translation>
    </message>
    <message>
        <source>What to do: shutdown, restart, logout, sleep, display-off or script.</source>
        <translation>Que faire : shutdown, restart, logout, sleep, display-off ou script.</translation>
    </message>
    <message>
        <source>When: after a countdown such as 45s, 90m, 2h30m or 1d (units s, m, h, d).</source>
        <translation>Quand : après un compte à rebours comme 45s, 90m, 2h30m ou 1d (unités s, m, h, d).</translation>
    </message>
    <message>
        <source>When: at a date and time such as 2026-12-24T18:00, or at the next 18:00.</source>
        <translation>Quand : à une date et une heure comme 2026-12-24T18:00, ou au prochain 18:00.</translation>
    </message>
    <message>
        <source>The script file that --action script runs.</source>
        <translation>Le fichier de script que --action script exécute.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argument inattendu « %1 ».</translation>
    </message>
    <message>
        <source>Try &apos;morvane --help&apos; for more information.</source>
        <translation>Essayez « morvane --help » pour en savoir plus.</translation>
    </message>
    <message>
        <source>Usage: morvane [options]</source>
        <translation>Utilisation : morvane [options]</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>Exemples :</translation>
    </message>
    <message>
        <source>--%1 is given more than once.</source>
        <translation>--%1 est donné plus d&apos;une fois.</translation>
    </message>
    <message>
        <source>--in, --at and --script need --action.</source>
        <translation>--in, --at et --script demandent --action.</translation>
    </message>
    <message>
        <source>--action needs a time: either --in or --at.</source>
        <translation>--action demande un moment : soit --in, soit --at.</translation>
    </message>
    <message>
        <source>Unknown action &apos;%1&apos;: choose shutdown, restart, logout, sleep, display-off or script.</source>
        <translation>Action inconnue « %1 » : choisissez shutdown, restart, logout, sleep, display-off ou script.</translation>
    </message>
    <message>
        <source>--action script and --script PATH go together.</source>
        <translation>--action script et --script CHEMIN vont ensemble.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a duration: write numbers with the units s, m, h or d, such as 45s, 90m or 2h30m.</source>
        <translation>« %1 » n&apos;est pas une durée : écrivez des nombres avec les unités s, m, h ou d, comme 45s, 90m ou 2h30m.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a time: write a date and time such as 2026-12-24T18:00, or a time such as 18:00.</source>
        <translation>« %1 » n&apos;est pas un moment : écrivez une date et une heure comme 2026-12-24T18:00, ou une heure comme 18:00.</translation>
    </message>
    <message>
        <source>Moves the task that is counting down later, such as by 10m.</source>
        <translation>Reporte la tâche en cours de décompte, par exemple de 10m.</translation>
    </message>
    <message>
        <source>--postpone goes alone: it moves the task that runs.</source>
        <translation>--postpone s&apos;emploie seul : il reporte la tâche en cours.</translation>
    </message>
</context>
<context>
    <name>CountdownTick</name>
    <message>
        <source>Running the script…</source>
        <translation>Exécution du script…</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Postpone 10 minutes</source>
        <translation>Reporter de 10 minutes</translation>
    </message>
</context>
<context>
    <name>DisplayPower</name>
    <message>
        <source>There is no way to turn the display off here: %1.</source>
        <extracomment>%1 says why, as &quot;this X server has no display power control&quot;.</extracomment>
        <translation>Impossible d&apos;éteindre l&apos;écran ici : %1.</translation>
    </message>
    <message>
        <source>%1, but %2.</source>
        <extracomment>%1 names a service, %2 says why it could not: &quot;Mutter is running, but this X server has no display power control.&quot;</extracomment>
        <translation>%1, mais %2.</translation>
    </message>
    <message>
        <source>it did not report the display off</source>
        <translation>il n&apos;a pas signalé l&apos;écran éteint</translation>
    </message>
    <message>
        <source>this X server has no display power control</source>
        <translation>ce serveur X n&apos;a pas de gestion d&apos;énergie de l&apos;écran</translation>
    </message>
    <message>
        <source>it cannot turn its outputs off</source>
        <translation>il ne peut pas éteindre ses sorties</translation>
    </message>
    <message>
        <source>it did not report its outputs off</source>
        <translation>il n&apos;a pas signalé ses sorties éteintes</translation>
    </message>
    <message>
        <source>this Wayland compositor has no display power control</source>
        <translation>ce compositeur Wayland n&apos;a pas de gestion d&apos;énergie de l&apos;écran</translation>
    </message>
    <message>
        <source>there is no X server or Wayland compositor to ask</source>
        <translation>il n&apos;y a ni serveur X ni compositeur Wayland à qui le demander</translation>
    </message>
    <message>
        <source>Mutter is running</source>
        <translation>Mutter est en cours d&apos;exécution</translation>
    </message>
    <message>
        <source>KWin is running</source>
        <translation>KWin est en cours d&apos;exécution</translation>
    </message>
    <message>
        <source>A wlroots compositor is running</source>
        <translation>Un compositeur wlroots est en cours d&apos;exécution</translation>
    </message>
    <message>
        <source>The X server has display power control</source>
        <translation>Le serveur X a une gestion d&apos;énergie de l&apos;écran</translation>
    </message>
    <message>
        <source>PowerDevil is running</source>
        <translation>PowerDevil est en cours d&apos;exécution</translation>
    </message>
</context>
<context>
    <name>Duration</name>
    <message>
        <source>%1 d %2</source>
        <extracomment>A count of days before the clock, as in &quot;2 d 03:04:05&quot;.</extracomment>
        <translation>%1 j %2</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Morvane Help</source>
        <translation>Aide de Morvane</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Page d&apos;aide</translation>
    </message>
</context>
<context>
    <name>IdleLock</name>
    <message>
        <source>Counting down to %1</source>
        <translation>Compte à rebours avant : %1</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>Morvane is already counting down (%1); that task goes on and this one was not started. Press Stop in the window first to start another.</source>
        <translation>Morvane a déjà un compte à rebours en cours (%1) ; cette tâche continue et la nouvelle n&apos;a pas été lancée. Appuyez d&apos;abord sur Arrêter dans la fenêtre pour en lancer une autre.</translation>
    </message>
    <message>
        <source>Morvane is running in this session but did not answer in time. Nothing of this start was carried out.</source>
        <translation>Morvane tourne dans cette session mais n&apos;a pas répondu à temps. Rien de ce lancement n&apos;a été exécuté.</translation>
    </message>
    <message>
        <source>Morvane&apos;s socket %1 is held by another user (uid %2). Nothing was sent to it, and no window opens while it is held.</source>
        <translation>Le socket de Morvane %1 est détenu par un autre utilisateur (uid %2). Rien ne lui a été envoyé, et aucune fenêtre ne s&apos;ouvre tant qu&apos;il le détient.</translation>
    </message>
    <message>
        <source>The command line is longer than %1 KiB; nothing was handed to the Morvane running.</source>
        <translation>La ligne de commande dépasse %1 Kio ; rien n&apos;a été transmis au Morvane en cours.</translation>
    </message>
    <message>
        <source>The script path &apos;%1&apos; is not absolute; nothing was started.</source>
        <translation>Le chemin du script « %1 » n&apos;est pas absolu ; rien n&apos;a été lancé.</translation>
    </message>
    <message>
        <source>Morvane is not running in this session; there is nothing to postpone.</source>
        <translation>Morvane ne tourne pas dans cette session ; il n&apos;y a rien à reporter.</translation>
    </message>
    <message>
        <source>No task is counting down; there is nothing to postpone.</source>
        <translation>Aucun compte à rebours en cours ; il n&apos;y a rien à reporter.</translation>
    </message>
    <message>
        <source>Postponed: %1 at %2.</source>
        <translation>Reporté : %1 à %2.</translation>
    </message>
    <message>
        <source>the task ends</source>
        <translation>la tâche se termine</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Task</source>
        <translation>Tâche</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>R&amp;estart</source>
        <translation>Redé&amp;marrer</translation>
    </message>
    <message>
        <source>Shut &amp;Down</source>
        <translation>É&amp;teindre</translation>
    </message>
    <message>
        <source>Log &amp;Out</source>
        <translation>Se &amp;déconnecter</translation>
    </message>
    <message>
        <source>S&amp;leep</source>
        <translation>Mettre en &amp;veille</translation>
    </message>
    <message>
        <source>Displa&amp;y Sleep</source>
        <translation>É&amp;cran en veille</translation>
    </message>
    <message>
        <source>Run Scr&amp;ipt</source>
        <translation>E&amp;xécuter un script</translation>
    </message>
    <message>
        <source>Choose S&amp;cript…</source>
        <translation>C&amp;hoisir un script…</translation>
    </message>
    <message>
        <source>&amp;Timer</source>
        <translation>Compte à re&amp;bours</translation>
    </message>
    <message>
        <source>Carry out the action in:</source>
        <translation>Exécuter l&apos;action dans :</translation>
    </message>
    <message>
        <source>Nu&amp;mber</source>
        <translation>&amp;Nombre</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>How many units</source>
        <translation>Combien d&apos;unités</translation>
    </message>
    <message>
        <source>&amp;Unit</source>
        <translation>&amp;Unité</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unité</translation>
    </message>
    <message>
        <source>Years</source>
        <translation>Années</translation>
    </message>
    <message>
        <source>Months</source>
        <translation>Mois</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Jours</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Heures</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Secondes</translation>
    </message>
    <message>
        <source>D&amp;ate</source>
        <translation>Dat&amp;e</translation>
    </message>
    <message>
        <source>Date and ti&amp;me</source>
        <translation>&amp;Jour et heure</translation>
    </message>
    <message>
        <source>Date and time</source>
        <translation>Date et heure</translation>
    </message>
    <message>
        <source>Calendar &amp;view</source>
        <translation>V&amp;ue calendrier</translation>
    </message>
    <message>
        <source>Date and time in the calendar</source>
        <translation>Date et heure dans le calendrier</translation>
    </message>
    <message>
        <source>ddd d MMM yyyy, HH:mm:ss</source>
        <translation>ddd d MMM yyyy, HH:mm:ss</translation>
    </message>
    <message>
        <source>Lon&amp;g form</source>
        <translation>Forme lon&amp;gue</translation>
    </message>
    <message>
        <source>Date and time in long form</source>
        <translation>Date et heure en forme longue</translation>
    </message>
    <message>
        <source>dddd, d MMMM yyyy, HH:mm:ss</source>
        <translation>dddd d MMMM yyyy, HH:mm:ss</translation>
    </message>
    <message>
        <source>No&amp;w</source>
        <translation>Mainte&amp;nant</translation>
    </message>
    <message>
        <source>Shortest tas&amp;k</source>
        <translation>Tâche la plus c&amp;ourte</translation>
    </message>
    <message>
        <source>Minimum seconds</source>
        <translation>Nombre minimal de secondes</translation>
    </message>
    <message>
        <source>1 second</source>
        <translation>1 seconde</translation>
    </message>
    <message>
        <source>Smallest length of a task</source>
        <translation>Durée minimale d&apos;une tâche</translation>
    </message>
    <message>
        <source>&amp;Script file:</source>
        <translation>Fichier du &amp;script :</translation>
    </message>
    <message>
        <source>Script file</source>
        <translation>Fichier du script</translation>
    </message>
    <message>
        <source>Path of the script to run</source>
        <translation>Chemin du script à exécuter</translation>
    </message>
    <message>
        <source>Tur&amp;n the display off after the script</source>
        <translation>Éteindre l&apos;écran après le scri&amp;pt</translation>
    </message>
    <message>
        <source>Spare option</source>
        <translation>Option de réserve</translation>
    </message>
    <message>
        <source>Time left:</source>
        <translation>Temps restant :</translation>
    </message>
    <message>
        <source>Hel&amp;p</source>
        <translation>A&amp;ide</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>&amp;Lancer</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;About Morvane</source>
        <translation>À &amp;propos de Morvane</translation>
    </message>
    <message>
        <source>Morvane &amp;Help</source>
        <translation>&amp;Aide de Morvane</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>St&amp;op</source>
        <translation>A&amp;rrêter</translation>
    </message>
    <message>
        <source>Postpone &amp;10 minutes</source>
        <translation>Reporter de &amp;10 minutes</translation>
    </message>
</context>
<context>
    <name>ReadinessNotice</name>
    <message>
        <source>This action will be refused: the system does not allow it for you now.</source>
        <translation>Cette action sera refusée : le système ne vous l&apos;autorise pas pour le moment.</translation>
    </message>
    <message>
        <source>This action will be refused: the system would ask for a password, and nobody may be there to give it.</source>
        <translation>Cette action sera refusée : le système demanderait un mot de passe, et personne ne sera peut-être là pour le saisir.</translation>
    </message>
    <message>
        <source>This action will be refused: there is no way to turn the display off here.</source>
        <translation>Cette action sera refusée : impossible d&apos;éteindre l&apos;écran ici.</translation>
    </message>
    <message>
        <source>This action will be refused: this computer cannot do it here.</source>
        <translation>Cette action sera refusée : cet ordinateur ne peut pas le faire ici.</translation>
    </message>
    <message>
        <source>This action will be refused: the service that carries it out does not answer.</source>
        <translation>Cette action sera refusée : le service qui l&apos;exécute ne répond pas.</translation>
    </message>
    <message>
        <source>the system does not allow it for you now</source>
        <translation>le système ne vous l&apos;autorise pas pour le moment</translation>
    </message>
    <message>
        <source>the system would ask for a password, and nobody may be there to give it</source>
        <translation>le système demanderait un mot de passe, et personne ne sera peut-être là pour le saisir</translation>
    </message>
    <message>
        <source>there is no way to turn the display off here</source>
        <translation>impossible d&apos;éteindre l&apos;écran ici</translation>
    </message>
    <message>
        <source>this computer cannot do it here</source>
        <translation>cet ordinateur ne peut pas le faire ici</translation>
    </message>
    <message>
        <source>the service that carries it out does not answer</source>
        <translation>le service qui l&apos;exécute ne répond pas</translation>
    </message>
</context>
<context>
    <name>ScheduleEditor</name>
    <message numerus="yes">
        <source>%n second(s)</source>
        <translation>
            <numerusform>%n seconde</numerusform>
            <numerusform>%n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>Scripts (*.sh *.bash *.py *.pl *.rb *.scpt)</source>
        <translation>Scripts (*.sh *.bash *.py *.pl *.rb *.scpt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Script</source>
        <translation>Script</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>The command line is longer than %1 KiB; Morvane took none of it.</source>
        <translation>La ligne de commande dépasse %1 Kio ; Morvane n&apos;en a rien pris.</translation>
    </message>
</context>
<context>
    <name>TaskController</name>
    <message>
        <source>The task has started.</source>
        <translation>La tâche a démarré.</translation>
    </message>
    <message>
        <source>The task has stopped.</source>
        <translation>La tâche s&apos;est arrêtée.</translation>
    </message>
</context>
<context>
    <name>TaskWarnings</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <translation>
            <numerusform>%n seconde</numerusform>
            <numerusform>%n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>At %1, unless you stop the task. Stop cancels it and nothing is done.</source>
        <translation>À %1, sauf si vous arrêtez la tâche. « Arrêter » l&apos;annule et rien n&apos;est fait.</translation>
    </message>
    <message>
        <source>The task ends</source>
        <translation>La tâche se termine</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <extracomment>The action, then how long until it is carried out: &quot;Shut Down in 5 minutes&quot;.</extracomment>
        <translation>%1 dans %2</translation>
    </message>
    <message>
        <source>%1 in %2, but %3</source>
        <extracomment>The action, how long until it is due, and why the system will refuse it: &quot;Display Sleep in 10 seconds, but there is no way to turn the display off here&quot;.</extracomment>
        <translation>%1 dans %2, mais %3</translation>
    </message>
    <message>
        <source>%1 was due at %2 while the computer slept; it was not carried out.</source>
        <translation>%1 était prévu à %2 pendant que l&apos;ordinateur dormait ; cela n&apos;a pas été fait.</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Show Morvane</source>
        <translation>Afficher Morvane</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Postpone 10 minutes</source>
        <translation>Reporter de 10 minutes</translation>
    </message>
    <message>
        <source>The task ends</source>
        <translation>La tâche se termine</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <extracomment>The action, then the time left as a clock shows it: &quot;Shut Down in 4:59&quot;.</extracomment>
        <translation>%1 dans %2</translation>
    </message>
</context>
</TS>
