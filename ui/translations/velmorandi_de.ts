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
    <message>
        <source>The system keeps the name %1 for a device, with or without an extension.</source>
        <translation>Das System hält den Namen %1 für ein Gerät frei, mit oder ohne Endung.</translation>
    </message>
    <message>
        <source>The edited filename ends in a dot, which the system does not allow.</source>
        <translation>Der neue Dateiname endet mit einem Punkt, was das System nicht erlaubt.</translation>
    </message>
    <message>
        <source>The edited filename ends in a space, which the system does not allow.</source>
        <translation>Der neue Dateiname endet mit einem Leerzeichen, was das System nicht erlaubt.</translation>
    </message>
    <message>
        <source>The edited filename holds %1, which the system does not allow in a filename.</source>
        <translation>Der neue Dateiname enthält %1, was das System in einem Dateinamen nicht erlaubt.</translation>
    </message>
    <message>
        <source>Row %L1 has the same edited filename.</source>
        <translation>Zeile %L1 hat denselben neuen Dateinamen.</translation>
    </message>
    <message>
        <source>the control character U+%1</source>
        <translation>das Steuerzeichen U+%1</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>Typed Name</source>
        <translation>Eingegebener Name</translation>
    </message>
    <message>
        <source>Leave Out</source>
        <translation>Auslassen</translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>Wiederaufnehmen</translation>
    </message>
    <message>
        <source>Left out of the rename: this file keeps its name.</source>
        <translation>Von der Umbenennung ausgelassen: Diese Datei behält ihren Namen.</translation>
    </message>
    <message>
        <source>Leave out</source>
        <translation>Auslassen</translation>
    </message>
    <message>
        <source>Put back</source>
        <translation>Wieder aufnehmen</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>Reihenfolge</translation>
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
    <message>
        <source>%1 cannot be part of a file name on this system.</source>
        <translation>%1 kann auf diesem System nicht Teil eines Dateinamens sein.</translation>
    </message>
    <message>
        <source>%1 is left out: Velmorandi keeps file names free of the characters Windows does not allow.</source>
        <translation>%1 wird weggelassen: Velmorandi hält Dateinamen frei von den Zeichen, die Windows nicht erlaubt.</translation>
    </message>
    <message>
        <source>This is the folder Velmorandi runs from.</source>
        <translation>Dies ist der Ordner, aus dem Velmorandi läuft.</translation>
    </message>
    <message>
        <source>Its files are not renamed here: Velmorandi needs them to start. Choose a folder of your own files.</source>
        <translation>Seine Dateien werden hier nicht umbenannt: Velmorandi braucht sie zum Starten. Wählen Sie einen Ordner mit Ihren eigenen Dateien.</translation>
    </message>
    <message>
        <source>The name must end in .%1: Velmorandi changes only the part of a name before its last dot.</source>
        <translation>Der Name muss auf .%1 enden: Velmorandi ändert nur den Teil eines Namens vor seinem letzten Punkt.</translation>
    </message>
</context>
<context>
    <name>Order</name>
    <message>
        <source>Order by</source>
        <translation>Sortieren nach</translation>
    </message>
    <message>
        <source>Date modified</source>
        <translation>Änderungsdatum</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Ascending</source>
        <translation>Aufsteigend</translation>
    </message>
    <message>
        <source>Descending</source>
        <translation>Absteigend</translation>
    </message>
    <message>
        <source>Ordered by %1, descending</source>
        <translation>Sortiert nach %1, absteigend</translation>
    </message>
    <message>
        <source>Ordered by %1, ascending</source>
        <translation>Sortiert nach %1, aufsteigend</translation>
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
    <name>RunWords</name>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>%1 is now %2</source>
        <translation>%1 heißt jetzt %2</translation>
    </message>
    <message>
        <source>it cannot be made: %1</source>
        <translation>er kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>it cannot be made or opened: %1</source>
        <translation>er kann weder angelegt noch geöffnet werden: %1</translation>
    </message>
    <message>
        <source>something that is not a folder bears its name</source>
        <translation>etwas, das kein Ordner ist, trägt seinen Namen</translation>
    </message>
    <message>
        <source>it is reached through a symbolic link, which another user could change</source>
        <translation>er wird über eine symbolische Verknüpfung erreicht, die ein anderer Benutzer ändern könnte</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>er gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>other users may write to it</source>
        <translation>andere Benutzer dürfen in ihn schreiben</translation>
    </message>
    <message>
        <source>Set HOME, or XDG_STATE_HOME, to a folder of yours and start Velmorandi again.</source>
        <translation>Setzen Sie HOME oder XDG_STATE_HOME auf einen eigenen Ordner und starten Sie Velmorandi erneut.</translation>
    </message>
    <message>
        <source>Check that the folder can be made and written to, and that its drive is not full.</source>
        <translation>Prüfen Sie, ob der Ordner angelegt und beschrieben werden kann und ob sein Laufwerk nicht voll ist.</translation>
    </message>
    <message>
        <source>Move that entry out of the way, or set XDG_STATE_HOME to a folder of yours, and start Velmorandi again.</source>
        <translation>Räumen Sie diesen Eintrag beiseite oder setzen Sie XDG_STATE_HOME auf einen eigenen Ordner, und starten Sie Velmorandi erneut.</translation>
    </message>
    <message>
        <source>Start Velmorandi as %1, the user who owns it, without sudo.</source>
        <translation>Starten Sie Velmorandi als %1, dem Benutzer, dem er gehört, ohne sudo.</translation>
    </message>
    <message>
        <source>An administrator&apos;s session made it: give it back to you (for example: sudo chown -R &quot;$USER&quot; %1) and start Velmorandi again.</source>
        <translation>Eine Sitzung des Administrators hat ihn angelegt: Übertragen Sie ihn wieder auf sich (zum Beispiel: sudo chown -R &quot;$USER&quot; %1) und starten Sie Velmorandi erneut.</translation>
    </message>
    <message>
        <source>Start Velmorandi as %1, the user who owns it.</source>
        <translation>Starten Sie Velmorandi als %1, dem Benutzer, dem er gehört.</translation>
    </message>
    <message>
        <source>Close it to other users (for example: chmod 700 %1) and start Velmorandi again.</source>
        <translation>Sperren Sie ihn für andere Benutzer (zum Beispiel: chmod 700 %1) und starten Sie Velmorandi erneut.</translation>
    </message>
    <message>
        <source>Velmorandi keeps the records that make a rename safe in %1, but %2. Until that is mended, no file is renamed, restored or undone.</source>
        <translation>Velmorandi führt die Protokolle, die das Umbenennen sicher machen, in %1, aber %2. Bis das behoben ist, wird keine Datei umbenannt, zurückbenannt oder rückgängig gemacht.</translation>
    </message>
    <message>
        <source>Could not read the folder %1: %2</source>
        <translation>Der Ordner %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Could not rename %1 to %2: %3</source>
        <translation>%1 konnte nicht in %2 umbenannt werden: %3</translation>
    </message>
    <message>
        <source>Could not rename %1 to %2: another program has given that name to a file or folder meanwhile</source>
        <translation>%1 konnte nicht in %2 umbenannt werden: Ein anderes Programm hat diesen Namen inzwischen einer Datei oder einem Ordner gegeben</translation>
    </message>
    <message>
        <source>Could not write a record of the renames to %1: %2</source>
        <translation>Das Protokoll der Umbenennungen konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Velmorandi cannot keep its records in %1: %2</source>
        <translation>Velmorandi kann seine Protokolle nicht in %1 führen: %2</translation>
    </message>
    <message>
        <source>Could not make the renames in %1 last on its drive: %2</source>
        <translation>Die Umbenennungen in %1 konnten auf seinem Laufwerk nicht dauerhaft gemacht werden: %2</translation>
    </message>
    <message>
        <source>The rename has been cancelled</source>
        <translation>Das Umbenennen wurde abgebrochen</translation>
    </message>
    <message>
        <source>Could not remove %1, which a step of this rename left: %2</source>
        <translation>%1, das ein Schritt dieses Umbenennens hinterlassen hat, konnte nicht entfernt werden: %2</translation>
    </message>
    <message>
        <source>Could not remove %1, which a step of this rename left: %1 is no longer what this rename left there</source>
        <translation>%1, das ein Schritt dieses Umbenennens hinterlassen hat, konnte nicht entfernt werden: %1 ist nicht mehr das, was dieses Umbenennen dort hinterlassen hat</translation>
    </message>
    <message>
        <source>No file has been renamed. Check that the folder still exists and can be read.</source>
        <translation>Keine Datei wurde umbenannt. Prüfen Sie, ob es den Ordner noch gibt und ob er gelesen werden kann.</translation>
    </message>
    <message>
        <source>No file has been renamed. Rename or move that %1, then click Rename again.</source>
        <translation>Keine Datei wurde umbenannt. Benennen Sie %1 um oder verschieben Sie es, und klicken Sie dann erneut auf Umbenennen.</translation>
    </message>
    <message>
        <source>No file has been renamed. Check that the folder can be written to and that its drive is not full.</source>
        <translation>Keine Datei wurde umbenannt. Prüfen Sie, ob der Ordner beschrieben werden kann und ob sein Laufwerk nicht voll ist.</translation>
    </message>
    <message>
        <source>The rename has been cancelled. No file has been renamed.</source>
        <translation>Das Umbenennen wurde abgebrochen. Keine Datei wurde umbenannt.</translation>
    </message>
    <message>
        <source>Click Rename to start it again.</source>
        <translation>Klicken Sie auf Umbenennen, um es erneut zu starten.</translation>
    </message>
    <message>
        <source>The undo has been cancelled. Every file keeps its new name.</source>
        <translation>Das Rückgängigmachen wurde abgebrochen. Jede Datei behält ihren neuen Namen.</translation>
    </message>
    <message>
        <source>Press Ctrl+Z to undo the rename again.</source>
        <translation>Drücken Sie Strg+Z, um das Umbenennen erneut rückgängig zu machen.</translation>
    </message>
    <message>
        <source>No file has been renamed. Check that the file still exists and that the folder can be written to.</source>
        <translation>Keine Datei wurde umbenannt. Prüfen Sie, ob es die Datei noch gibt und ob der Ordner beschrieben werden kann.</translation>
    </message>
    <message>
        <source>%1, and the folder could not be checked afterwards.</source>
        <translation>%1, und der Ordner konnte danach nicht geprüft werden.</translation>
    </message>
    <message>
        <source>If some files still bear new names, they get their old names back the next time Velmorandi starts, or when you open the folder again.</source>
        <translation>Tragen noch Dateien neue Namen, erhalten sie ihre alten Namen beim nächsten Start von Velmorandi zurück oder wenn Sie den Ordner erneut öffnen.</translation>
    </message>
    <message>
        <source>%1, and 1 file is still under new names: %2.</source>
        <translation>%1, und 1 Datei trägt noch einen neuen Namen: %2.</translation>
    </message>
    <message>
        <source>%1, and %2 files are still under new names: %3.</source>
        <translation>%1, und %2 Dateien tragen noch neue Namen: %3.</translation>
    </message>
    <message>
        <source>They get their old names back the next time Velmorandi starts, or when you open the folder again.</source>
        <translation>Sie erhalten ihre alten Namen beim nächsten Start von Velmorandi zurück oder wenn Sie den Ordner erneut öffnen.</translation>
    </message>
    <message>
        <source>Could not rename again the files of the last undo in %1</source>
        <translation>Die Dateien des letzten Rückgängigmachens in %1 konnten nicht erneut umbenannt werden</translation>
    </message>
    <message>
        <source>Could not undo the last rename in %1</source>
        <translation>Das letzte Umbenennen in %1 konnte nicht rückgängig gemacht werden</translation>
    </message>
    <message>
        <source>%1: it is not the folder that rename was made in; that one has been moved or replaced since.</source>
        <translation>%1: Es ist nicht der Ordner, in dem umbenannt wurde; jener wurde inzwischen verschoben oder ersetzt.</translation>
    </message>
    <message>
        <source>No file has been renamed. Open the folder where it is now and try there.</source>
        <translation>Keine Datei wurde umbenannt. Öffnen Sie den Ordner dort, wo er jetzt ist, und versuchen Sie es dort.</translation>
    </message>
    <message>
        <source>%1: %2 is no longer in the folder.</source>
        <translation>%1: %2 ist nicht mehr im Ordner.</translation>
    </message>
    <message>
        <source>No file has been renamed. Put %1 back and try again, or give the files the names you want with a new rename.</source>
        <translation>Keine Datei wurde umbenannt. Legen Sie %1 zurück und versuchen Sie es erneut, oder geben Sie den Dateien die gewünschten Namen mit einem neuen Umbenennen.</translation>
    </message>
    <message>
        <source>%1: %2 is now another file than the one that bore %3.</source>
        <translation>%1: %2 ist jetzt eine andere Datei als die, die %3 hieß.</translation>
    </message>
    <message>
        <source>No file has been renamed. Give the files the names you want with a new rename.</source>
        <translation>Keine Datei wurde umbenannt. Geben Sie den Dateien die gewünschten Namen mit einem neuen Umbenennen.</translation>
    </message>
    <message>
        <source>%1: the name %2 is now taken by another file or folder.</source>
        <translation>%1: Der Name %2 ist jetzt von einer anderen Datei oder einem anderen Ordner belegt.</translation>
    </message>
    <message>
        <source>No file has been renamed. Rename or move that entry, then try again.</source>
        <translation>Keine Datei wurde umbenannt. Benennen Sie diesen Eintrag um oder verschieben Sie ihn, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>1 file has its old name again.</source>
        <translation>1 Datei hat wieder ihren alten Namen.</translation>
    </message>
    <message>
        <source>Press Ctrl+Y to rename it again.</source>
        <translation>Drücken Sie Strg+Y, um sie erneut umzubenennen.</translation>
    </message>
    <message>
        <source>%1 files have their old names again.</source>
        <translation>%1 Dateien haben wieder ihre alten Namen.</translation>
    </message>
    <message>
        <source>Press Ctrl+Y to rename them again.</source>
        <translation>Drücken Sie Strg+Y, um sie erneut umzubenennen.</translation>
    </message>
    <message>
        <source>Could not invoke rename process. Some edited filename conflicts with Microsoft Windows filenaming conventions.</source>
        <translation>Das Umbenennen konnte nicht gestartet werden. Ein neuer Dateiname verstößt gegen die Namensregeln von Microsoft Windows.</translation>
    </message>
    <message>
        <source>Also check edited filename for no duplicacy and no blank wherever status is marked for error.</source>
        <translation>Prüfen Sie außerdem überall, wo der Status einen Fehler zeigt, dass kein neuer Dateiname doppelt oder leer ist.</translation>
    </message>
    <message>
        <source>Could not invoke rename process. Some edited filename is already taken by another file or folder in this folder.</source>
        <translation>Das Umbenennen konnte nicht gestartet werden. Ein neuer Dateiname ist in diesem Ordner schon von einer anderen Datei oder einem anderen Ordner belegt.</translation>
    </message>
    <message>
        <source>Choose another name wherever status is marked for error.</source>
        <translation>Wählen Sie überall, wo der Status einen Fehler zeigt, einen anderen Namen.</translation>
    </message>
    <message>
        <source>Every file has its new name, but the record of this rename could not be marked complete. %1.</source>
        <translation>Jede Datei hat ihren neuen Namen, aber das Protokoll dieses Umbenennens konnte nicht als vollständig markiert werden. %1.</translation>
    </message>
    <message>
        <source>Velmorandi completes the record the next time it starts; until then this rename cannot be undone.</source>
        <translation>Velmorandi vervollständigt das Protokoll beim nächsten Start; bis dahin kann dieses Umbenennen nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>These edited filenames are not in the folder after renaming: %1.</source>
        <translation>Diese neuen Dateinamen sind nach dem Umbenennen nicht im Ordner: %1.</translation>
    </message>
    <message>
        <source>The file system may have changed or ignored them. Check the folder before renaming again.</source>
        <translation>Das Dateisystem hat sie womöglich geändert oder übergangen. Prüfen Sie den Ordner, bevor Sie erneut umbenennen.</translation>
    </message>
    <message>
        <source>The files have been renamed, but the folder could not be read again: %1. The list has been emptied, so that no file is renamed from an old name.</source>
        <translation>Die Dateien wurden umbenannt, aber der Ordner konnte nicht erneut gelesen werden: %1. Die Liste wurde geleert, damit keine Datei von einem alten Namen aus umbenannt wird.</translation>
    </message>
    <message>
        <source>Open the folder again to see its files.</source>
        <translation>Öffnen Sie den Ordner erneut, um seine Dateien zu sehen.</translation>
    </message>
    <message>
        <source>There is no rename to undo in the folder %1.</source>
        <translation>Im Ordner %1 gibt es kein Umbenennen, das rückgängig gemacht werden kann.</translation>
    </message>
    <message>
        <source>Only the last rename of a folder can be undone, and only once.</source>
        <translation>Nur das letzte Umbenennen eines Ordners kann rückgängig gemacht werden, und nur einmal.</translation>
    </message>
    <message>
        <source>There is no undone rename to rename again in the folder %1.</source>
        <translation>Im Ordner %1 gibt es kein rückgängig gemachtes Umbenennen, das wiederholt werden kann.</translation>
    </message>
    <message>
        <source>Only the last undo of a folder can be taken back, and only once.</source>
        <translation>Nur das letzte Rückgängigmachen eines Ordners kann zurückgenommen werden, und nur einmal.</translation>
    </message>
    <message>
        <source>The last rename in %1 is being worked on by another Velmorandi window.</source>
        <translation>Am letzten Umbenennen in %1 arbeitet gerade ein anderes Velmorandi-Fenster.</translation>
    </message>
    <message>
        <source>Wait until it has finished, then try again.</source>
        <translation>Warten Sie, bis es fertig ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>%1 (now at %2)</source>
        <translation>%1 (jetzt unter %2)</translation>
    </message>
    <message>
        <source>A rename in %1 did not finish; every file there has its old name.</source>
        <translation>Ein Umbenennen in %1 wurde nicht beendet; jede Datei dort hat ihren alten Namen.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted; 1 file got its old name back.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen; 1 Datei hat ihren alten Namen zurückerhalten.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted; %2 files got their old names back.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen; %2 Dateien haben ihre alten Namen zurückerhalten.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted; in %2, which may be a copy of it, every file has its old name.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen; in %2, womöglich einer Kopie davon, hat jede Datei ihren alten Namen.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted; in %2, which may be a copy of it, 1 file got its old name back.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen; in %2, womöglich einer Kopie davon, hat 1 Datei ihren alten Namen zurückerhalten.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted; in %2, which may be a copy of it, %3 files got their old names back.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen; in %2, womöglich einer Kopie davon, haben %3 Dateien ihre alten Namen zurückerhalten.</translation>
    </message>
    <message>
        <source>Its record is kept at %1 until %2 itself can be read and put right.</source>
        <translation>Sein Protokoll bleibt unter %1, bis %2 selbst gelesen und in Ordnung gebracht werden kann.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted; 1 file got its old name back</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen; 1 Datei hat ihren alten Namen zurückerhalten</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted; %2 files got their old names back</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen; %2 Dateien haben ihre alten Namen zurückerhalten</translation>
    </message>
    <message>
        <source>, %1 could not: %2</source>
        <translation>, %1 nicht: %2</translation>
    </message>
    <message>
        <source>; not found there: %1</source>
        <translation>; dort nicht gefunden: %1</translation>
    </message>
    <message>
        <source>. Its record is kept at %1 and tried again at the next start.</source>
        <translation>. Sein Protokoll bleibt unter %1 und wird beim nächsten Start erneut versucht.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted, and its files could not all get their old names back. %2.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen, und nicht alle seine Dateien konnten ihre alten Namen zurückerhalten. %2.</translation>
    </message>
    <message>
        <source>1 file is still under new names: %1.</source>
        <translation>1 Datei trägt noch einen neuen Namen: %1.</translation>
    </message>
    <message>
        <source>%1 files are still under new names: %2.</source>
        <translation>%1 Dateien tragen noch neue Namen: %2.</translation>
    </message>
    <message>
        <source>Its record is kept, and it is tried again at the next start.</source>
        <translation>Sein Protokoll bleibt erhalten, und es wird beim nächsten Start erneut versucht.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted, but %2 there is a folder that rename cannot prove it made, and it keeps the names from showing how far the rename got; so nothing was renamed, and %2 was left as it is. Its record is kept at %3: move %2 out of the folder, then open the folder again.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen, aber %2 dort ist ein Ordner, von dem dieses Umbenennen nicht beweisen kann, dass es ihn angelegt hat, und er verhindert, dass die Namen zeigen, wie weit das Umbenennen kam; darum wurde nichts umbenannt, und %2 blieb, wie es ist. Sein Protokoll bleibt unter %3: Verschieben Sie %2 aus dem Ordner und öffnen Sie den Ordner dann erneut.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted, but %2 there is a file that rename cannot prove it made, and it keeps the names from showing how far the rename got; so nothing was renamed, and %2 was left as it is. Its record is kept at %3: move %2 out of the folder, then open the folder again.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen, aber %2 dort ist eine Datei, von der dieses Umbenennen nicht beweisen kann, dass es sie angelegt hat, und sie verhindert, dass die Namen zeigen, wie weit das Umbenennen kam; darum wurde nichts umbenannt, und %2 blieb, wie es ist. Sein Protokoll bleibt unter %3: Verschieben Sie %2 aus dem Ordner und öffnen Sie den Ordner dann erneut.</translation>
    </message>
    <message>
        <source>a part of it is damaged</source>
        <translation>ein Teil davon ist beschädigt</translation>
    </message>
    <message>
        <source>it ends before its plan does</source>
        <translation>es endet vor dem Ende seines Plans</translation>
    </message>
    <message>
        <source>another version of Velmorandi wrote it</source>
        <translation>eine andere Version von Velmorandi hat es geschrieben</translation>
    </message>
    <message>
        <source>it is a link</source>
        <translation>es ist eine Verknüpfung</translation>
    </message>
    <message>
        <source>it is not a plain file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is larger than any record this program writes</source>
        <translation>es ist größer als jedes Protokoll, das dieses Programm schreibt</translation>
    </message>
    <message>
        <source>it was replaced while it was being opened</source>
        <translation>es wurde ersetzt, während es geöffnet wurde</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>es kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Files in %1 may still bear the names that rename gave them.</source>
        <translation>Dateien in %1 tragen womöglich noch die Namen, die ihnen dieses Umbenennen gab.</translation>
    </message>
    <message>
        <source>Its record at %1 could not be removed (%2); it is tried again at the next start.</source>
        <translation>Sein Protokoll unter %1 konnte nicht entfernt werden (%2); es wird beim nächsten Start erneut versucht.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted, and that folder cannot be reached: %2. Its record is kept: open the folder where it is now, or start Velmorandi again once it can be reached, and its files get their old names back.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen, und dieser Ordner ist nicht erreichbar: %2. Sein Protokoll bleibt erhalten: Öffnen Sie den Ordner dort, wo er jetzt ist, oder starten Sie Velmorandi erneut, sobald er erreichbar ist, und seine Dateien erhalten ihre alten Namen zurück.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted, but the folder there now is another one, so nothing in it was renamed. Its record is kept: open the folder where it is now and its files get their old names back.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen, aber dort ist jetzt ein anderer Ordner, darum wurde darin nichts umbenannt. Sein Protokoll bleibt erhalten: Öffnen Sie den Ordner dort, wo er jetzt ist, und seine Dateien erhalten ihre alten Namen zurück.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted, but the names there do not show how far it got, so nothing was renamed. Its record is kept at %2; if the folder was moved, open it where it is now.</source>
        <translation>Ein Umbenennen in %1 wurde unterbrochen, aber die Namen dort zeigen nicht, wie weit es kam, darum wurde nichts umbenannt. Sein Protokoll bleibt unter %2; wurde der Ordner verschoben, öffnen Sie ihn dort, wo er jetzt ist.</translation>
    </message>
    <message>
        <source>The record of a rename at %1 could not be read: %2. It is kept, and tried again at the next start.</source>
        <translation>Das Protokoll eines Umbenennens unter %1 konnte nicht gelesen werden: %2. Es bleibt erhalten und wird beim nächsten Start erneut versucht.</translation>
    </message>
    <message>
        <source>A rename in %1 had finished, but its record is damaged; it is kept at %2, and that rename can no longer be undone.</source>
        <translation>Ein Umbenennen in %1 war beendet, aber sein Protokoll ist beschädigt; es bleibt unter %2, und dieses Umbenennen kann nicht mehr rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>A rename in %1 had finished, but its record at %2 is damaged and could not be set aside (%3); that rename can no longer be undone.</source>
        <translation>Ein Umbenennen in %1 war beendet, aber sein Protokoll unter %2 ist beschädigt und konnte nicht beiseitegelegt werden (%3); dieses Umbenennen kann nicht mehr rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>A rename in %1 had finished, but its record at %2 could not be marked complete (%3); it is tried again at the next start.</source>
        <translation>Ein Umbenennen in %1 war beendet, aber sein Protokoll unter %2 konnte nicht als vollständig markiert werden (%3); es wird beim nächsten Start erneut versucht.</translation>
    </message>
    <message>
        <source>A rename in %1 is being made by Velmorandi on another computer, so it was left alone.</source>
        <translation>Ein Umbenennen in %1 wird gerade von Velmorandi auf einem anderen Computer ausgeführt, darum blieb es unberührt.</translation>
    </message>
    <message>
        <source>A rename in %1 is being made by Velmorandi on %2, so it was left alone.</source>
        <translation>Ein Umbenennen in %1 wird gerade von Velmorandi auf %2 ausgeführt, darum blieb es unberührt.</translation>
    </message>
    <message>
        <source>A record of a rename could not be used (%1), so nothing was renamed from it; it is kept at %2.</source>
        <translation>Ein Protokoll eines Umbenennens konnte nicht verwendet werden (%1), darum wurde danach nichts umbenannt; es bleibt unter %2.</translation>
    </message>
    <message>
        <source>A record of a rename could not be used (%1), so nothing was renamed from it; it could not be set aside either (%2), and stays at %3.</source>
        <translation>Ein Protokoll eines Umbenennens konnte nicht verwendet werden (%1), darum wurde danach nichts umbenannt; es konnte auch nicht beiseitegelegt werden (%2) und bleibt unter %3.</translation>
    </message>
    <message>
        <source>The record of a rename at %1 was written by a newer version of Velmorandi, so nothing was renamed from it; it is kept for that version.</source>
        <translation>Das Protokoll eines Umbenennens unter %1 wurde von einer neueren Version von Velmorandi geschrieben, darum wurde danach nichts umbenannt; es bleibt für diese Version erhalten.</translation>
    </message>
    <message>
        <source>The record of a rename that never began, at %1, could not be removed (%2); it is tried again at the next start.</source>
        <translation>Das Protokoll eines Umbenennens, das nie begann, unter %1 konnte nicht entfernt werden (%2); es wird beim nächsten Start erneut versucht.</translation>
    </message>
    <message>
        <source>Check those files before renaming in those folders again.</source>
        <translation>Prüfen Sie diese Dateien, bevor Sie in diesen Ordnern erneut umbenennen.</translation>
    </message>
    <message>
        <source>You can rename them again whenever you are ready.</source>
        <translation>Sie können sie jederzeit erneut umbenennen.</translation>
    </message>
    <message>
        <source>no folder of records was given</source>
        <translation>es wurde kein Ordner für die Protokolle angegeben</translation>
    </message>
    <message>
        <source>the %1 environment variable is not set</source>
        <translation>die Umgebungsvariable %1 ist nicht gesetzt</translation>
    </message>
    <message>
        <source>neither %1 nor %2 is set</source>
        <translation>weder %1 noch %2 ist gesetzt</translation>
    </message>
    <message>
        <source>Another computer took this rename over while this one was paused</source>
        <translation>Ein anderer Computer hat diese Umbenennung übernommen, während dieser angehalten war</translation>
    </message>
    <message>
        <source>This computer could not confirm in time that it still holds the record of this rename in %1</source>
        <translation>Dieser Computer konnte nicht rechtzeitig bestätigen, dass er die Aufzeichnung dieser Umbenennung in %1 noch hält</translation>
    </message>
    <message>
        <source>%1, and put the names back. Nothing more has been renamed here.</source>
        <translation>%1, und hat die Namen zurückgesetzt. Hier wurde nichts weiter umbenannt.</translation>
    </message>
    <message>
        <source>The list shows the folder as it is now.</source>
        <translation>Die Liste zeigt den Ordner, wie er jetzt ist.</translation>
    </message>
    <message>
        <source>%1. The rename has been stopped, and nothing more has been renamed.</source>
        <translation>%1. Die Umbenennung wurde angehalten, und es wurde nichts weiter umbenannt.</translation>
    </message>
    <message>
        <source>Files that still bear new names get their old names back the next time Velmorandi starts.</source>
        <translation>Dateien, die noch neue Namen tragen, erhalten ihre alten Namen beim nächsten Start von Velmorandi zurück.</translation>
    </message>
    <message>
        <source>No file has been renamed: another program holds %1. Close it there, then click Rename again; your edits are kept.</source>
        <translation>Keine Datei wurde umbenannt: Ein anderes Programm hält %1 geöffnet. Schließen Sie die Datei dort und klicken Sie dann erneut auf Umbenennen; Ihre Änderungen bleiben erhalten.</translation>
    </message>
    <message>
        <source>Could not invoke rename process. Some edited filename conflicts with the filenaming rules of Linux and Velmorandi.</source>
        <translation>Das Umbenennen konnte nicht gestartet werden. Ein neuer Dateiname verstößt gegen die Namensregeln von Linux und Velmorandi.</translation>
    </message>
    <message>
        <source>A rename in %1 was interrupted while it made a placeholder, and an empty or unfinished file %2 lies there now. The rename cannot prove it made that file: another program may have.</source>
        <translation>Eine Umbenennung in %1 wurde unterbrochen, während sie einen Platzhalter anlegte, und dort liegt nun eine leere oder unfertige Datei %2. Die Umbenennung kann nicht beweisen, dass sie diese Datei angelegt hat: Ein anderes Programm könnte es gewesen sein.</translation>
    </message>
    <message>
        <source>1 file got its old name back.</source>
        <translation>1 Datei hat ihren alten Namen zurückerhalten.</translation>
    </message>
    <message>
        <source>%1 files got their old names back.</source>
        <translation>%1 Dateien haben ihre alten Namen zurückerhalten.</translation>
    </message>
    <message>
        <source>While %1 is there, these keep their new names: %2.</source>
        <translation>Solange %1 dort liegt, behalten diese ihre neuen Namen: %2.</translation>
    </message>
    <message>
        <source>%1 was left as it is, and the record is kept at %2.</source>
        <translation>%1 wurde belassen, wie es ist, und die Aufzeichnung wird unter %2 aufbewahrt.</translation>
    </message>
    <message>
        <source>Remove %1? Keep it if another program may be writing it; you are asked again at the next start.</source>
        <translation>%1 entfernen? Behalten Sie die Datei, falls ein anderes Programm sie gerade schreibt; beim nächsten Start werden Sie erneut gefragt.</translation>
    </message>
    <message>
        <source>Remove the empty file</source>
        <translation>Leere Datei entfernen</translation>
    </message>
    <message>
        <source>Keep it</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>%1 is the folder Velmorandi runs from</source>
        <translation>%1 ist der Ordner, aus dem Velmorandi läuft</translation>
    </message>
    <message>
        <source>No file has been renamed: Velmorandi does not rename its own files, which it needs to start. Choose a folder of your own files.</source>
        <translation>Keine Datei wurde umbenannt: Velmorandi benennt seine eigenen Dateien nicht um, denn es braucht sie zum Starten. Wählen Sie einen Ordner mit Ihren eigenen Dateien.</translation>
    </message>
    <message>
        <source>No file has been renamed: %1 is open in %2. Close it there, then click Rename again; your edits are kept.</source>
        <translation>Keine Datei wurde umbenannt: %1 ist in %2 geöffnet. Schließen Sie die Datei dort und klicken Sie dann erneut auf Umbenennen; Ihre Änderungen bleiben erhalten.</translation>
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
