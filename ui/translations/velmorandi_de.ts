<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>About</name>
    <message>
        <source>Velmorandi is a bulk file rename utility.</source>
        <translation>Velmorandi benennt viele Dateien auf einmal um.</translation>
    </message>
    <message>
        <source>It reshapes the names of all the files in a folder at once and renames them in one step.</source>
        <translation>Es ändert alle Dateinamen eines Ordners zugleich und benennt sie in einem Schritt um.</translation>
    </message>
    <message>
        <source>Designed &amp; Developed by</source>
        <translation>Entworfen &amp; entwickelt von</translation>
    </message>
    <message>
        <source>Velmorandi renames the files of a folder in bulk, shaping every name at once. This release is %1 and is featured with (a) find and replace, (b) change case, (c) add string, (d) serialize and (e) trim. Even though it has been tested for all known issues, the user must satisfy its proper testing himself/herself before using it. The author or the organisation doesn’t take any responsibility for any kind of disaster happens to the computer. Any kind of enhancement requested or bug reported will be appreciated and will be considered for its new version and next releases. Any new utility concept suggested by users will also be taken into consideration. </source>
        <translation>Velmorandi benennt die Dateien eines Ordners in einem Zug um und formt dabei alle Namen zugleich. Diese Version ist %1 und bietet (a) Suchen und Ersetzen, (b) Schreibweise ändern, (c) Text anfügen, (d) Nummerieren und (e) Trimmen. Obwohl sie auf alle bekannten Fehler geprüft wurde, muss sich jeder Anwender vor dem Einsatz selbst von ihrer Zuverlässigkeit überzeugen. Der Autor und die Organisation übernehmen keinerlei Haftung für Schäden am Computer, welcher Art auch immer. Verbesserungswünsche und Fehlerberichte sind willkommen und fließen in künftige Versionen ein. Auch Ideen der Anwender für neue Werkzeuge werden gern aufgenommen. </translation>
    </message>
</context>
<context>
    <name>Grid</name>
    <message>
        <source>Err!</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Another row has the same edited filename.</source>
        <translation>Eine andere Zeile hat denselben neuen Dateinamen.</translation>
    </message>
    <message>
        <source>The edited filename is empty.</source>
        <translation>Der neue Dateiname ist leer.</translation>
    </message>
    <message>
        <source>The edited filename begins with a dot.</source>
        <translation>Der neue Dateiname beginnt mit einem Punkt.</translation>
    </message>
    <message>
        <source>The system does not allow this filename.</source>
        <translation>Das System erlaubt diesen Dateinamen nicht.</translation>
    </message>
    <message>
        <source>The edited filename is too long for this drive.</source>
        <translation>Der neue Dateiname ist für dieses Laufwerk zu lang.</translation>
    </message>
    <message>
        <source>Another file or folder in this folder already has this name.</source>
        <translation>Eine andere Datei oder ein anderer Ordner in diesem Ordner trägt diesen Namen schon.</translation>
    </message>
    <message>
        <source>This file is no longer in the folder.</source>
        <translation>Diese Datei ist nicht mehr im Ordner.</translation>
    </message>
    <message>
        <source>Find &amp; Replace</source>
        <translation>Suchen &amp; Ersetzen</translation>
    </message>
    <message>
        <source>Change Case</source>
        <translation>Schreibweise</translation>
    </message>
    <message>
        <source>Add String</source>
        <translation>Text anfügen</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>Trim</source>
        <translation>Trimmen</translation>
    </message>
    <message>
        <source>Blank</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>%1 rückgängig machen</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>%1 wiederholen</translation>
    </message>
    <message>
        <source>Undo last rename</source>
        <translation>Letztes Umbenennen rückgängig machen</translation>
    </message>
    <message>
        <source>Redo last rename</source>
        <translation>Letztes Umbenennen wiederholen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>It is not advisable to rename some of the listed files.</source>
        <translation>Es ist nicht ratsam, einige der aufgeführten Dateien umzubenennen.</translation>
    </message>
    <message>
        <source>It may cause serious damages to the operating system of this computer. Renaming these files may also result undesirable to the execution of the programs that is dependent of these files.</source>
        <translation>Das kann das Betriebssystem dieses Computers ernsthaft beschädigen. Auch Programme, die diese Dateien brauchen, laufen danach womöglich nicht mehr wie gewünscht.</translation>
    </message>
    <message>
        <source>Selected drive is not found ready for IO operations. Resetting the drive default to first accessible drive found.</source>
        <translation>Das gewählte Laufwerk ist nicht bereit zum Lesen und Schreiben. Stattdessen wird das erste erreichbare Laufwerk gewählt.</translation>
    </message>
    <message>
        <source>Also check floppy, CD or DVD drive contains disk in it and is closed properly.</source>
        <translation>Prüfen Sie auch, ob im Disketten-, CD- oder DVD-Laufwerk ein Datenträger liegt und ob es richtig geschlossen ist.</translation>
    </message>
    <message>
        <source>Selected folder could not be opened.</source>
        <translation>Der gewählte Ordner konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Check that the folder still exists and that you may read it.</source>
        <translation>Prüfen Sie, ob es den Ordner noch gibt und ob Sie ihn lesen dürfen.</translation>
    </message>
    <message>
        <source>The folder %1 could not be opened.</source>
        <translation>Der Ordner %1 konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The drive %1 is gone, and with it the folder that was open.</source>
        <translation>Das Laufwerk %1 ist nicht mehr da, und mit ihm der geöffnete Ordner.</translation>
    </message>
    <message>
        <source>Velmorandi shows the default drive instead.</source>
        <translation>Velmorandi zeigt stattdessen das Standardlaufwerk.</translation>
    </message>
    <message>
        <source>Row %L1, %2, was refused.</source>
        <translation>Zeile %L1, %2, wurde abgelehnt.</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Reading the folder...</source>
        <translation>Der Ordner wird gelesen...</translation>
    </message>
    <message>
        <source>Preparing to rename...</source>
        <translation>Das Umbenennen wird vorbereitet...</translation>
    </message>
    <message>
        <source>Preparing to restore names...</source>
        <translation>Das Zurückbenennen wird vorbereitet...</translation>
    </message>
    <message>
        <source>Renaming %1 of %2 files</source>
        <translation>Umbenennen: %1 von %2 Dateien</translation>
    </message>
    <message>
        <source>Restoring %1 of %2 names</source>
        <translation>Zurückbenennen: %1 von %2 Namen</translation>
    </message>
    <message>
        <source>Restoring names in %1…</source>
        <translation>Namen in %1 werden zurückbenannt…</translation>
    </message>
    <message>
        <source>Cancelling…</source>
        <translation>Abbruch…</translation>
    </message>
    <message>
        <source>Cancelling… 1 name to put back</source>
        <translation>Abbruch… noch 1 Name zurückzubenennen</translation>
    </message>
    <message>
        <source>Cancelling… %1 names to put back</source>
        <translation>Abbruch… noch %1 Namen zurückzubenennen</translation>
    </message>
    <message>
        <source>About %1 seconds left</source>
        <translation>Noch etwa %1 Sekunden</translation>
    </message>
    <message>
        <source>About a minute left</source>
        <translation>Noch etwa eine Minute</translation>
    </message>
    <message>
        <source>About %1 minutes left</source>
        <translation>Noch etwa %1 Minuten</translation>
    </message>
</context>
<context>
    <name>Start</name>
    <message>
        <source>invalid option -- &apos;%1&apos;</source>
        <translation>ungültige Option -- &apos;%1&apos;</translation>
    </message>
    <message>
        <source>unrecognized option &apos;%1&apos;</source>
        <translation>unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; requires an argument</source>
        <translation>Option &apos;%1&apos; verlangt ein Argument</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; doesn&apos;t allow an argument</source>
        <translation>Option &apos;%1&apos; erlaubt kein Argument</translation>
    </message>
    <message>
        <source>extra operand &apos;%1&apos;</source>
        <translation>zusätzlicher Operand &apos;%1&apos;</translation>
    </message>
    <message>
        <source>An instance of this application is already running.</source>
        <translation>Diese Anwendung läuft bereits.</translation>
    </message>
    <message>
        <source>A second instance is not supported</source>
        <translation>Eine zweite Instanz wird nicht unterstützt</translation>
    </message>
    <message>
        <source>Velmorandi is already running, and busy.</source>
        <translation>Velmorandi läuft bereits und ist beschäftigt.</translation>
    </message>
    <message>
        <source>The folder opens in it as soon as it is free.</source>
        <translation>Der Ordner wird dort geöffnet, sobald es frei ist.</translation>
    </message>
    <message>
        <source>Usage: velmorandi [OPTION]... [FOLDER|FILE]
Rename all the files of FOLDER at once: find and replace, change case, add a
string, number them, trim them. Without FOLDER, the current folder is listed;
given a FILE, its folder is listed with that file&apos;s row current. While
Velmorandi runs, a second start hands its folder over to it.

      --help     display this help and exit
      --version  output version information and exit

A file manager can also open a folder with Velmorandi through &quot;Open With&quot;.
</source>
        <translation>Aufruf: velmorandi [OPTION]... [ORDNER|DATEI]
Alle Dateien von ORDNER auf einmal umbenennen: suchen und ersetzen, Schreibweise
ändern, Text anfügen, nummerieren, trimmen. Ohne ORDNER wird der aktuelle Ordner
aufgeführt; mit einer DATEI ihr Ordner, mit der Zeile dieser Datei als aktueller.
Läuft Velmorandi schon, übergibt ihm ein zweiter Start seinen Ordner.

      --help     diese Hilfe anzeigen und beenden
      --version  Versionsinformation anzeigen und beenden

Ein Dateimanager kann einen Ordner auch über „Öffnen mit“ in Velmorandi öffnen.
</translation>
    </message>
    <message>
        <source>Written by %1.</source>
        <translation>Geschrieben von %1.</translation>
    </message>
    <message>
        <source>Try &apos;velmorandi --help&apos; for more information.</source>
        <translation>»velmorandi --help« liefert weitere Informationen.</translation>
    </message>
</context>
<context>
    <name>SystemErrors</name>
    <message>
        <source>No such file or folder</source>
        <translation>Datei oder Ordner nicht gefunden</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>Vorgang nicht zulässig</translation>
    </message>
    <message>
        <source>No space left on the drive</source>
        <translation>Kein Platz mehr auf dem Laufwerk</translation>
    </message>
    <message>
        <source>The drive is read-only</source>
        <translation>Das Laufwerk ist schreibgeschützt</translation>
    </message>
    <message>
        <source>The drive could not be read or written</source>
        <translation>Das Laufwerk ließ sich nicht lesen oder beschreiben</translation>
    </message>
    <message>
        <source>A file or folder of that name exists</source>
        <translation>Eine Datei oder ein Ordner dieses Namens ist schon vorhanden</translation>
    </message>
    <message>
        <source>The folder is not empty</source>
        <translation>Der Ordner ist nicht leer</translation>
    </message>
    <message>
        <source>The name would move it to another drive</source>
        <translation>Der Name würde sie auf ein anderes Laufwerk verschieben</translation>
    </message>
    <message>
        <source>The name is too long</source>
        <translation>Der Name ist zu lang</translation>
    </message>
    <message>
        <source>The file is in use</source>
        <translation>Die Datei wird gerade benutzt</translation>
    </message>
    <message>
        <source>The drive did not answer in time</source>
        <translation>Das Laufwerk hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>The drive is not connected</source>
        <translation>Das Laufwerk ist nicht verbunden</translation>
    </message>
</context>
<context>
    <name>velmorandi::RenameGridModel</name>
    <message>
        <source>S#</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Original filename</source>
        <translation>Bisheriger Dateiname</translation>
    </message>
    <message>
        <source>Edited filename</source>
        <translation>Neuer Dateiname</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>velmorandi::RenameGridView</name>
    <message>
        <source>Why…</source>
        <translation>Warum…</translation>
    </message>
</context>
<context>
    <name>velmorandi::frmHelpAbout</name>
    <message>
        <source>About Velmorandi</source>
        <translation>Über Velmorandi</translation>
    </message>
    <message>
        <source>Web address</source>
        <translation>Webadresse</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Closes the About window (Escape or Enter)</source>
        <translation>Schließt das Fenster „Über Velmorandi“ (Esc oder Eingabetaste)</translation>
    </message>
</context>
<context>
    <name>velmorandi::frmMainWindow</name>
    <message>
        <source>Protected files warning</source>
        <translation>Warnung vor geschützten Dateien</translation>
    </message>
    <message>
        <source>The folder holds system or start-up files; tells what renaming them risks</source>
        <translation>Der Ordner enthält System- oder Startdateien; sagt, was ihr Umbenennen riskiert</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Shows the About window (F1)</source>
        <translation>Zeigt das Fenster „Über Velmorandi“ (F1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Ends the program</source>
        <translation>Beendet das Programm</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Blank</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Rename options</source>
        <translation>Optionen zum Umbenennen</translation>
    </message>
    <message>
        <source>Rename grid</source>
        <translation>Umbenennungsliste</translation>
    </message>
    <message>
        <source>One row per file of the folder: serial number, original filename, edited filename and status</source>
        <translation>Eine Zeile je Datei des Ordners: laufende Nummer, bisheriger Dateiname, neuer Dateiname und Status</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Find &amp;&amp; Replace</source>
        <translation>Suchen &amp;&amp; Ersetzen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Change Case</source>
        <translation>Schreibweise</translation>
    </message>
    <message>
        <source>Upper</source>
        <translation>Groß</translation>
    </message>
    <message>
        <source>Lower</source>
        <translation>Klein</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Sentence</source>
        <translation>Satz</translation>
    </message>
    <message>
        <source>Add String</source>
        <translation>Text anfügen</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>String</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>Trim</source>
        <translation>Trimmen</translation>
    </message>
    <message>
        <source>Apply Find &amp; Replace</source>
        <translation>Suchen &amp; Ersetzen anwenden</translation>
    </message>
    <message>
        <source>Replaces the find text with the replacement in every edited name</source>
        <translation>Ersetzt in jedem neuen Namen den Suchtext durch den Ersatztext</translation>
    </message>
    <message>
        <source>Apply Change Case</source>
        <translation>Schreibweise anwenden</translation>
    </message>
    <message>
        <source>Changes every edited name to the chosen case</source>
        <translation>Bringt jeden neuen Namen in die gewählte Schreibweise</translation>
    </message>
    <message>
        <source>Apply Add String</source>
        <translation>Text anfügen anwenden</translation>
    </message>
    <message>
        <source>Adds the string on the chosen side of every edited name</source>
        <translation>Fügt den Text auf der gewählten Seite jedes neuen Namens an</translation>
    </message>
    <message>
        <source>Apply Serial</source>
        <translation>Nummer anwenden</translation>
    </message>
    <message>
        <source>Numbers the edited names on the chosen side</source>
        <translation>Nummeriert die neuen Namen auf der gewählten Seite</translation>
    </message>
    <message>
        <source>Apply Trim</source>
        <translation>Trimmen anwenden</translation>
    </message>
    <message>
        <source>Removes the spaces on the chosen side of every edited name</source>
        <translation>Entfernt die Leerzeichen auf der gewählten Seite jedes neuen Namens</translation>
    </message>
</context>
<context>
    <name>velmorandi::frmMessageBox</name>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Closes the message (Escape or Enter)</source>
        <translation>Schließt die Meldung (Esc oder Eingabetaste)</translation>
    </message>
</context>
<context>
    <name>velmorandi::frmProgress</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stops the work and undoes what it did</source>
        <translation>Hält die Arbeit an und nimmt zurück, was sie getan hat</translation>
    </message>
</context>
</TS>
