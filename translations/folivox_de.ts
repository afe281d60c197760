<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Folivox</source>
        <translation>Über Folivox</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Folivox&lt;/h2&gt;&lt;p&gt;Version %1&lt;/p&gt;&lt;p&gt;Turns PDF, text and RTF documents into page-flip e-books that play in any modern browser.&lt;/p&gt;&lt;p&gt;Licensed under the GNU Affero General Public License, version 3 or later.&lt;/p&gt;&lt;p&gt;Built with Qt, MuPDF, libjpeg-turbo, pugixml, libxml2 and zlib, each under its own licence. Templates, pictures and the page player are Folivox&apos;s own work.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Folivox&lt;/h2&gt;&lt;p&gt;Version %1&lt;/p&gt;&lt;p&gt;Macht aus PDF-, Text- und RTF-Dokumenten Blätterbücher, die in jedem aktuellen Browser laufen.&lt;/p&gt;&lt;p&gt;Lizenziert unter der GNU Affero General Public License, Version 3 oder später.&lt;/p&gt;&lt;p&gt;Erstellt mit Qt, MuPDF, libjpeg-turbo, pugixml, libxml2 und zlib, jeweils unter eigener Lizenz. Vorlagen, Bilder und der Seitenplayer sind eigene Arbeit von Folivox.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Select a property to read what it does.</source>
        <translation>Wählen Sie eine Eigenschaft, um zu lesen, was sie bewirkt.</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importieren...</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Import a PDF, text or RTF document</source>
        <translation>Ein PDF-, Text- oder RTF-Dokument importieren</translation>
    </message>
    <message>
        <source>&amp;Template...</source>
        <translation>&amp;Vorlage...</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>&amp;Apply Change</source>
        <translation>Änderung &amp;anwenden</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>Apply change</source>
        <translation>Änderung anwenden</translation>
    </message>
    <message>
        <source>Rebuild the preview with the changed properties</source>
        <translation>Die Vorschau mit den geänderten Eigenschaften neu erstellen</translation>
    </message>
    <message>
        <source>&amp;Publish...</source>
        <translation>&amp;Veröffentlichen...</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Publish</source>
        <translation>Veröffentlichen</translation>
    </message>
    <message>
        <source>Publish the book into a folder or as an application</source>
        <translation>Das Buch in einen Ordner oder als Anwendung veröffentlichen</translation>
    </message>
    <message>
        <source>&amp;Export Settings...</source>
        <translation>Einstellungen &amp;exportieren...</translation>
    </message>
    <message>
        <source>Export settings</source>
        <translation>Einstellungen exportieren</translation>
    </message>
    <message>
        <source>Import &amp;Settings...</source>
        <translation>Einstellungen i&amp;mportieren...</translation>
    </message>
    <message>
        <source>Import settings</source>
        <translation>Einstellungen importieren</translation>
    </message>
    <message>
        <source>Folivox &amp;Manual</source>
        <translation>Folivox-&amp;Handbuch</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Open the Folivox manual</source>
        <translation>Das Folivox-Handbuch öffnen</translation>
    </message>
    <message>
        <source>&amp;About Folivox...</source>
        <translation>Ü&amp;ber Folivox...</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z</source>
        <translation>Ctrl+Shift+Z</translation>
    </message>
    <message>
        <source>Ctrl+Y</source>
        <translation>Ctrl+Y</translation>
    </message>
    <message>
        <source>Choose a template and a style</source>
        <translation>Vorlage und Stil wählen</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Book</source>
        <translation>B&amp;uch</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Quit Folivox</source>
        <translation>Folivox beenden</translation>
    </message>
    <message>
        <source>The book has changes that were neither published nor exported.</source>
        <translation>Das Buch hat Änderungen, die weder veröffentlicht noch exportiert wurden.</translation>
    </message>
    <message>
        <source>If you quit now, they are lost.</source>
        <translation>Wenn Sie jetzt beenden, gehen sie verloren.</translation>
    </message>
    <message>
        <source>&amp;Quit Without Publishing</source>
        <translation>&amp;Beenden ohne zu veröffentlichen</translation>
    </message>
    <message>
        <source>&amp;Clear Menu</source>
        <translation>&amp;Liste leeren</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Building the preview...</source>
        <translation>Die Vorschau wird erstellt...</translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation>... und %1 weitere.</translation>
    </message>
    <message>
        <source>The document was imported, with warnings.</source>
        <translation>Das Dokument wurde importiert, mit Warnungen.</translation>
    </message>
    <message>
        <source>Export Settings</source>
        <translation>Einstellungen exportieren</translation>
    </message>
    <message>
        <source>Settings files (*.txt)</source>
        <translation>Einstellungsdateien (*.txt)</translation>
    </message>
    <message>
        <source>The settings could not be written to %1: %2</source>
        <translation>Die Einstellungen konnten nicht in %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The settings were written to %1, but these files could not be put beside them, so importing the settings again will leave them out:
%2</source>
        <translation>Die Einstellungen wurden in %1 geschrieben, aber diese Dateien konnten nicht daneben abgelegt werden; ein erneuter Import der Einstellungen lässt sie daher aus:
%2</translation>
    </message>
    <message>
        <source>Import Settings</source>
        <translation>Einstellungen importieren</translation>
    </message>
    <message>
        <source>These files were not taken:
%1</source>
        <translation>Diese Dateien wurden nicht übernommen:
%1</translation>
    </message>
    <message>
        <source>The style %1 set its own %2.</source>
        <translation>Der Stil %1 hat eigene Werte gesetzt für: %2.</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 has no %2; your values for them were left out.</source>
        <translation>%1 kennt %2 nicht; Ihre Werte dafür wurden ausgelassen.</translation>
    </message>
    <message>
        <source>Folivox Manual</source>
        <translation>Folivox-Handbuch</translation>
    </message>
    <message>
        <source>The manual is missing: %1</source>
        <translation>Das Handbuch fehlt: %1</translation>
    </message>
    <message>
        <source>Publish as &amp;EPUB...</source>
        <translation>Als &amp;EPUB veröffentlichen...</translation>
    </message>
    <message>
        <source>Ctrl+Shift+P</source>
        <translation>Ctrl+Shift+P</translation>
    </message>
    <message>
        <source>Publish the book as an EPUB file for e-book readers and stores</source>
        <translation>Das Buch als EPUB-Datei für E-Book-Reader und Shops veröffentlichen</translation>
    </message>
</context>
<context>
    <name>BatchCommand</name>
    <message>
        <source>the list of documents; - for the standard input</source>
        <translation>die Liste der Dokumente; - für die Standardeingabe</translation>
    </message>
    <message>
        <source>the folder that gets a book folder for each document</source>
        <translation>der Ordner, der für jedes Dokument einen Buchordner erhält</translation>
    </message>
    <message>
        <source>documents published at once (default 1)</source>
        <translation>gleichzeitig veröffentlichte Dokumente (Standard 1)</translation>
    </message>
    <message>
        <source>render threads of each document (default: the cores shared among the documents under way)</source>
        <translation>Render-Threads je Dokument (Standard: die Kerne, geteilt unter den laufenden Dokumenten)</translation>
    </message>
    <message>
        <source>stop a document that takes longer than this (default 0: no limit)</source>
        <translation>ein Dokument anhalten, das länger dauert (Standard 0: keine Grenze)</translation>
    </message>
    <message>
        <source>publish only the K-th of N equal slices of the list (K from 0), with the names the whole list gives: one slice for each of N machines</source>
        <translation>nur den K-ten von N gleichen Teilen der Liste veröffentlichen (K ab 0), mit den Namen, die die ganze Liste ergibt: ein Teil für jede von N Maschinen</translation>
    </message>
    <message>
        <source>skip documents whose book is there from the same input bytes and options</source>
        <translation>Dokumente überspringen, deren Buch aus denselben Eingabebytes und Optionen schon vorliegt</translation>
    </message>
    <message>
        <source>one JSON line per document on stdout: input, output, pages, bytes, seconds, status (ok, skipped, failed, timeout, stopped), error</source>
        <translation>eine JSON-Zeile je Dokument auf stdout: input, output, pages, bytes, seconds, status (ok, skipped, failed, timeout, stopped), error</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>diese Hilfe anzeigen</translation>
    </message>
    <message>
        <source>needs exactly one LIST</source>
        <translation>braucht genau eine LIST</translation>
    </message>
    <message>
        <source>--jobs takes a number from 1 to 256</source>
        <translation>--jobs erwartet eine Zahl von 1 bis 256</translation>
    </message>
    <message>
        <source>--threads takes a number from 0 (share the cores) to 256</source>
        <translation>--threads erwartet eine Zahl von 0 (Kerne teilen) bis 256</translation>
    </message>
    <message>
        <source>--timeout takes a number of seconds (0: no limit)</source>
        <translation>--timeout erwartet eine Anzahl Sekunden (0: keine Grenze)</translation>
    </message>
    <message>
        <source>--part takes K/N, a slice K from 0 to N-1</source>
        <translation>--part erwartet K/N, einen Teil K von 0 bis N-1</translation>
    </message>
    <message>
        <source>OUTDIR cannot be the root folder</source>
        <translation>OUTDIR darf nicht der Wurzelordner sein</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>needs -o OUTDIR</source>
        <translation>braucht -o OUTDIR</translation>
    </message>
</context>
<context>
    <name>BatchList</name>
    <message>
        <source>%1: the batch chooses the output folder (OUTDIR/NAME); leave it out</source>
        <translation>%1: der Stapel wählt den Ausgabeordner (OUTDIR/NAME); bitte weglassen</translation>
    </message>
    <message>
        <source>%1 has no place in a batch line</source>
        <translation>%1 hat in einer Stapelzeile keinen Platz</translation>
    </message>
    <message>
        <source>longer than %1 bytes</source>
        <translation>länger als %1 Bytes</translation>
    </message>
    <message>
        <source>holds a NUL byte</source>
        <translation>enthält ein NUL-Byte</translation>
    </message>
    <message>
        <source>is not UTF-8 text</source>
        <translation>ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>has more than %1 words</source>
        <translation>hat mehr als %1 Wörter</translation>
    </message>
    <message>
        <source>the input is empty</source>
        <translation>die Eingabe ist leer</translation>
    </message>
    <message>
        <source>a $&apos; is not closed</source>
        <translation>ein $&apos; ist nicht geschlossen</translation>
    </message>
    <message>
        <source>a &apos; is not closed</source>
        <translation>ein &apos; ist nicht geschlossen</translation>
    </message>
    <message>
        <source>the line ends in a backslash</source>
        <translation>die Zeile endet mit einem Backslash</translation>
    </message>
    <message>
        <source>the list is larger than %1 MB; split it</source>
        <translation>die Liste ist größer als %1 MB; bitte aufteilen</translation>
    </message>
    <message>
        <source>the list has more than %1 documents; split it</source>
        <translation>die Liste hat mehr als %1 Dokumente; bitte aufteilen</translation>
    </message>
    <message>
        <source>cannot read the list %1: %2</source>
        <translation>die Liste %1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>BookSession</name>
    <message>
        <source>Open the result files?</source>
        <translation>Die Ergebnisdateien öffnen?</translation>
    </message>
    <message>
        <source>Publishing was cancelled.</source>
        <translation>Das Veröffentlichen wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Other users may change what is in the folder.</source>
        <translation>Andere Benutzer können ändern, was in dem Ordner liegt.</translation>
    </message>
    <message>
        <source>The folder holds files that are not part of a book.</source>
        <translation>Der Ordner enthält Dateien, die nicht zu einem Buch gehören.</translation>
    </message>
    <message>
        <source>Publishing failed.</source>
        <translation>Das Veröffentlichen ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Publish finished! The book is in %1.</source>
        <translation>Veröffentlicht! Das Buch liegt in %1.</translation>
    </message>
    <message>
        <source>Open it?</source>
        <translation>Öffnen?</translation>
    </message>
    <message>
        <source>These files were copied into the book:</source>
        <translation>Diese Dateien wurden in das Buch kopiert:</translation>
    </message>
    <message>
        <source>Nothing in the output folder was changed.</source>
        <translation>Im Ausgabeordner wurde nichts geändert.</translation>
    </message>
    <message>
        <source>These files could not be written:</source>
        <translation>Diese Dateien konnten nicht geschrieben werden:</translation>
    </message>
    <message>
        <source>Choose the folder to publish into.</source>
        <translation>Wählen Sie den Ordner, in den veröffentlicht wird.</translation>
    </message>
    <message>
        <source>The root folder / cannot take a book; choose a folder for it.</source>
        <translation>Der Wurzelordner / kann kein Buch aufnehmen; wählen Sie einen Ordner dafür.</translation>
    </message>
    <message>
        <source>The page name &quot;%1&quot; cannot be used: it must not contain /, \, .. or control characters.</source>
        <translation>Der Seitenname „%1“ ist nicht möglich: Er darf kein /, \, .. und keine Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <source>The preview could not be rebuilt: %1</source>
        <translation>Die Vorschau konnte nicht neu erstellt werden: %1</translation>
    </message>
    <message>
        <source>The preview could not be rebuilt: %1 files could not be written (%2: %3)</source>
        <translation>Die Vorschau konnte nicht neu erstellt werden: %1 Dateien konnten nicht geschrieben werden (%2: %3)</translation>
    </message>
    <message>
        <source>There is no preview folder.</source>
        <translation>Es gibt keinen Vorschauordner.</translation>
    </message>
    <message>
        <source>There is no book to preview.</source>
        <translation>Es gibt kein Buch für die Vorschau.</translation>
    </message>
    <message>
        <source>Demonstration pages</source>
        <translation>Beispielseiten</translation>
    </message>
    <message>
        <source>There is no template.</source>
        <translation>Es gibt keine Vorlage.</translation>
    </message>
    <message>
        <source>No file name was given.</source>
        <translation>Es wurde kein Dateiname angegeben.</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>Die Datei konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>There is no template to apply settings to.</source>
        <translation>Es gibt keine Vorlage, auf die Einstellungen angewendet werden können.</translation>
    </message>
    <message>
        <source>There is no book to publish.</source>
        <translation>Es gibt kein Buch zum Veröffentlichen.</translation>
    </message>
</context>
<context>
    <name>BookSourceRecord</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is neither a file nor a folder</source>
        <translation>%1 ist weder eine Datei noch ein Ordner</translation>
    </message>
</context>
<context>
    <name>BookTextReader</name>
    <message>
        <source>%1 has no text (it was published without text, or from pictures)</source>
        <translation>%1 hat keinen Text (es wurde ohne Text oder aus Bildern veröffentlicht)</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot read %1: a page&apos;s entry is damaged</source>
        <translation>%1 kann nicht gelesen werden: der Eintrag einer Seite ist beschädigt</translation>
    </message>
</context>
<context>
    <name>BookTextWriter</name>
    <message>
        <source>cannot create the folder: %1</source>
        <translation>der Ordner kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>the text of page %1 cannot be read back</source>
        <translation>der Text von Seite %1 kann nicht zurückgelesen werden</translation>
    </message>
    <message>
        <source>not every page&apos;s text could be read</source>
        <translation>nicht der Text jeder Seite konnte gelesen werden</translation>
    </message>
</context>
<context>
    <name>BookTransaction</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Der Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>Cannot publish into %1: %2</source>
        <translation>In %1 kann nicht veröffentlicht werden: %2</translation>
    </message>
    <message>
        <source>Cannot publish into %1: %2 is not a file</source>
        <translation>In %1 kann nicht veröffentlicht werden: %2 ist keine Datei</translation>
    </message>
    <message>
        <source>Another publish into %1 is under way; try again when it has finished.</source>
        <translation>In %1 wird gerade schon veröffentlicht; versuchen Sie es erneut, wenn das beendet ist.</translation>
    </message>
    <message>
        <source>Cannot lock %1 for publishing.</source>
        <translation>%1 kann zum Veröffentlichen nicht gesperrt werden.</translation>
    </message>
    <message>
        <source>%1 was moved or replaced while the book was written; the book was not put in place.</source>
        <translation>%1 wurde verschoben oder ersetzt, während das Buch geschrieben wurde; das Buch wurde nicht eingesetzt.</translation>
    </message>
    <message>
        <source>There is nothing to publish.</source>
        <translation>Es gibt nichts zu veröffentlichen.</translation>
    </message>
    <message>
        <source>Cannot write the book to the disk: %1</source>
        <translation>Das Buch kann nicht auf die Platte geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Cannot put %1 in place: %2</source>
        <translation>%1 kann nicht eingesetzt werden: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2 is not a folder</source>
        <translation>Der Ordner %1 kann nicht angelegt werden: %2 ist kein Ordner</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2</source>
        <translation>Der Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
</context>
<context>
    <name>BookWeight</name>
    <message>
        <source>The book takes %1; a reader downloads %2 to open it.</source>
        <translation>Das Buch belegt %1; zum Öffnen lädt ein Leser %2.</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
</context>
<context>
    <name>ChildProcess</name>
    <message>
        <source>cannot start %1: %2</source>
        <translation>%1 kann nicht gestartet werden: %2</translation>
    </message>
</context>
<context>
    <name>DesktopOpener</name>
    <message>
        <source>xdg-open, which opens files in your programs, is not installed (Debian package xdg-utils)</source>
        <translation>xdg-open, das Dateien in Ihren Programmen öffnet, ist nicht installiert (Debian-Paket xdg-utils)</translation>
    </message>
    <message>
        <source>no program that opens this kind of file is set up</source>
        <translation>es ist kein Programm eingerichtet, das diese Art Datei öffnet</translation>
    </message>
    <message>
        <source>the program that opens it failed</source>
        <translation>das Programm, das sie öffnet, ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>xdg-open ended with code %1</source>
        <translation>xdg-open endete mit Code %1</translation>
    </message>
    <message>
        <source>xdg-open could not be started</source>
        <translation>xdg-open konnte nicht gestartet werden</translation>
    </message>
</context>
<context>
    <name>DocumentToPdf</name>
    <message>
        <source>Cannot convert %1: %2</source>
        <translation>%1 kann nicht umgewandelt werden: %2</translation>
    </message>
    <message>
        <source>Cannot convert %1: the file is larger than %2 MB</source>
        <translation>%1 kann nicht umgewandelt werden: die Datei ist größer als %2 MB</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The conversion of %1 was stopped.</source>
        <translation>Die Umwandlung von %1 wurde angehalten.</translation>
    </message>
    <message>
        <source>Cannot convert %1: the document is empty</source>
        <translation>%1 kann nicht umgewandelt werden: das Dokument ist leer</translation>
    </message>
    <message>
        <source>Cannot convert %1: this needs LibreOffice, which is not installed. Install it (for example: sudo apt install libreoffice-writer) or save the document as PDF, RTF or plain text.</source>
        <translation>%1 kann nicht umgewandelt werden: dazu wird LibreOffice gebraucht, das nicht installiert ist. Installieren Sie es (zum Beispiel: sudo apt install libreoffice-writer) oder speichern Sie das Dokument als PDF, RTF oder reinen Text.</translation>
    </message>
    <message>
        <source>Cannot convert %1: no temporary folder</source>
        <translation>%1 kann nicht umgewandelt werden: kein temporärer Ordner</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice did not start (%2)</source>
        <translation>%1 kann nicht umgewandelt werden: LibreOffice ist nicht gestartet (%2)</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice took longer than five minutes</source>
        <translation>%1 kann nicht umgewandelt werden: LibreOffice brauchte länger als fünf Minuten</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice made no PDF%2</source>
        <translation>%1 kann nicht umgewandelt werden: LibreOffice hat kein PDF erzeugt%2</translation>
    </message>
    <message>
        <source>Cannot convert %1: unknown document type</source>
        <translation>%1 kann nicht umgewandelt werden: unbekannte Dokumentart</translation>
    </message>
</context>
<context>
    <name>FlashBookOutput</name>
    <message>
        <source>it is a symbolic link, which is not followed</source>
        <translation>es ist ein symbolischer Link, dem nicht gefolgt wird</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine normale Datei</translation>
    </message>
    <message>
        <source>it is no longer inside the folder it was taken from (%1)</source>
        <translation>es liegt nicht mehr in dem Ordner, aus dem es genommen wurde (%1)</translation>
    </message>
    <message>
        <source>cannot create the folder: %1</source>
        <translation>der Ordner kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>the source file %1 does not exist</source>
        <translation>die Quelldatei %1 existiert nicht</translation>
    </message>
    <message>
        <source>cannot copy %1: %2</source>
        <translation>%1 kann nicht kopiert werden: %2</translation>
    </message>
    <message>
        <source>cannot compress book.xml</source>
        <translation>book.xml kann nicht komprimiert werden</translation>
    </message>
    <message>
        <source>cannot encrypt book.xml</source>
        <translation>book.xml kann nicht verschlüsselt werden</translation>
    </message>
    <message>
        <source>the template has no HTML page</source>
        <translation>die Vorlage hat keine HTML-Seite</translation>
    </message>
    <message>
        <source>The book folder %1 does not exist.</source>
        <translation>Der Buchordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>%1 holds files that are not part of a book, where the book would go: %2. Publishing would replace them.</source>
        <translation>%1 enthält Dateien, die nicht zu einem Buch gehören, dort, wo das Buch hin soll: %2. Das Veröffentlichen würde sie ersetzen.</translation>
    </message>
</context>
<context>
    <name>FlashBookOutputApp</name>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot copy %1</source>
        <translation>%1 kann nicht kopiert werden</translation>
    </message>
    <message>
        <source>cannot copy the application skeleton: %1</source>
        <translation>das Anwendungsgerüst kann nicht kopiert werden: %1</translation>
    </message>
</context>
<context>
    <name>FlashOutlinePDF</name>
    <message>
        <source>The document has more than %1 bookmarks; the rest were ignored.</source>
        <translation>Das Dokument hat mehr als %1 Lesezeichen; die übrigen wurden übergangen.</translation>
    </message>
    <message>
        <source>Bookmarks nested deeper than %1 levels were ignored.</source>
        <translation>Lesezeichen, die tiefer als %1 Ebenen verschachtelt sind, wurden übergangen.</translation>
    </message>
</context>
<context>
    <name>FlashPageSourcePDF</name>
    <message>
        <source>Cannot open %1: the document has no pages</source>
        <translation>%1 kann nicht geöffnet werden: das Dokument hat keine Seiten</translation>
    </message>
    <message>
        <source>%1 is damaged and was repaired; some pages may be missing or incomplete.</source>
        <translation>%1 ist beschädigt und wurde repariert; manche Seiten können fehlen oder unvollständig sein.</translation>
    </message>
    <message>
        <source>Page %1 is not in %2 (%3 pages) and was skipped.</source>
        <translation>Seite %1 ist nicht in %2 (%3 Seiten) und wurde übersprungen.</translation>
    </message>
    <message>
        <source>Pages %1 are not in %2 (%3 pages) and were skipped.</source>
        <translation>Die Seiten %1 sind nicht in %2 (%3 Seiten) und wurden übersprungen.</translation>
    </message>
    <message>
        <source>The printed page numbers of %1 could not be read.</source>
        <translation>Die gedruckten Seitenzahlen von %1 konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The page range &quot;%1&quot; selects no page of %2 (%3 pages).</source>
        <translation>Der Seitenbereich „%1“ wählt keine Seite von %2 (%3 Seiten).</translation>
    </message>
</context>
<context>
    <name>FlashPagesAnnotationsPDF</name>
    <message>
        <source>Page %1 is not in %2 (%3 pages); its links were skipped.</source>
        <translation>Seite %1 ist nicht in %2 (%3 Seiten); ihre Links wurden übersprungen.</translation>
    </message>
    <message>
        <source>Page %1 has %2 annotations; only the first %3 were read.</source>
        <translation>Seite %1 hat %2 Anmerkungen; nur die ersten %3 wurden gelesen.</translation>
    </message>
    <message>
        <source>Page %1: links to %2 addresses were dropped; only web and mail links are kept.</source>
        <translation>Seite %1: Links auf %2-Adressen wurden verworfen; nur Web- und Mail-Links bleiben.</translation>
    </message>
    <message>
        <source>Page %1: a link address of %2 bytes is too long and was dropped.</source>
        <translation>Seite %1: eine Link-Adresse von %2 Bytes ist zu lang und wurde verworfen.</translation>
    </message>
</context>
<context>
    <name>FlashTemplate</name>
    <message>
        <source>cannot read the file</source>
        <translation>die Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>die Datei ist zu groß</translation>
    </message>
    <message>
        <source>not readable as XML, even leniently</source>
        <translation>auch nachsichtig nicht als XML lesbar</translation>
    </message>
    <message>
        <source>%1 cannot be used as a settings file: %2</source>
        <translation>%1 kann nicht als Einstellungsdatei dienen: %2</translation>
    </message>
    <message>
        <source>it is too large for a settings file</source>
        <translation>es ist zu groß für eine Einstellungsdatei</translation>
    </message>
    <message>
        <source>it holds binary data, not KEY=VALUE lines</source>
        <translation>es enthält Binärdaten statt Zeilen SCHLÜSSEL=WERT</translation>
    </message>
    <message>
        <source>it has no KEY=VALUE lines</source>
        <translation>es hat keine Zeilen SCHLÜSSEL=WERT</translation>
    </message>
    <message>
        <source>none of its keys names a property of the template &quot;%1&quot;</source>
        <translation>keiner seiner Schlüssel nennt eine Eigenschaft der Vorlage „%1“</translation>
    </message>
    <message>
        <source>%1 leaves the style folder</source>
        <translation>%1 verlässt den Stilordner</translation>
    </message>
    <message>
        <source>%1 is outside the settings file&apos;s folder</source>
        <translation>%1 liegt außerhalb des Ordners der Einstellungsdatei</translation>
    </message>
    <message>
        <source>%1: %2; not taken</source>
        <translation>%1: %2; nicht übernommen</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
    <message>
        <source>%1 could not be copied beside the settings: %2</source>
        <translation>%1 konnte nicht neben die Einstellungen kopiert werden: %2</translation>
    </message>
</context>
<context>
    <name>FlashTemplatePropertyModel</name>
    <message>
        <source>(Untitled)</source>
        <translation>(Ohne Titel)</translation>
    </message>
    <message>
        <source>(Unknown)</source>
        <translation>(Unbekannt)</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Eigenschaft</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
</context>
<context>
    <name>FlashTmplColorCell</name>
    <message>
        <source>Choose a colour</source>
        <translation>Eine Farbe wählen</translation>
    </message>
</context>
<context>
    <name>FlashTmplFileCell</name>
    <message>
        <source>Choose a file</source>
        <translation>Eine Datei wählen</translation>
    </message>
</context>
<context>
    <name>FlashTmplValueDelegate</name>
    <message>
        <source>Files (%1)</source>
        <translation>Dateien (%1)</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Choose a file</source>
        <translation>Eine Datei wählen</translation>
    </message>
</context>
<context>
    <name>HTMLConfigInfo</name>
    <message>
        <source>cannot read the template page %1</source>
        <translation>die Vorlagenseite %1 kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>ImportPDFOperation</name>
    <message>
        <source>The import was cancelled.</source>
        <translation>Der Import wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The links could not be read: %1</source>
        <translation>Die Links konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The bookmarks could not be read: %1</source>
        <translation>Die Lesezeichen konnten nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>ImportWindowDelegate</name>
    <message>
        <source>Import a document</source>
        <translation>Ein Dokument importieren</translation>
    </message>
    <message>
        <source>A PDF, text or RTF document</source>
        <translation>Ein PDF-, Text- oder RTF-Dokument</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>O&amp;pen</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open the document that is imported</source>
        <translation>Das Dokument öffnen, das importiert wird</translation>
    </message>
    <message>
        <source>&amp;All pages</source>
        <translation>&amp;Alle Seiten</translation>
    </message>
    <message>
        <source>Pa&amp;ges:</source>
        <translation>&amp;Seiten:</translation>
    </message>
    <message>
        <source>e.g. 1-5,8,11-13</source>
        <translation>z. B. 1-5,8,11-13</translation>
    </message>
    <message>
        <source>Best (100)</source>
        <translation>Beste (100)</translation>
    </message>
    <message>
        <source>High (85)</source>
        <translation>Hoch (85)</translation>
    </message>
    <message>
        <source>Medium (65)</source>
        <translation>Mittel (65)</translation>
    </message>
    <message>
        <source>Low (45)</source>
        <translation>Niedrig (45)</translation>
    </message>
    <message>
        <source>Lowest (25)</source>
        <translation>Niedrigste (25)</translation>
    </message>
    <message>
        <source>Lightest per page (WebP or JPEG)</source>
        <translation>Am leichtesten je Seite (WebP oder JPEG)</translation>
    </message>
    <message>
        <source>WebP</source>
        <translation>WebP</translation>
    </message>
    <message>
        <source>JPEG (as older books)</source>
        <translation>JPEG (wie ältere Bücher)</translation>
    </message>
    <message>
        <source>Pages of text are stored without loss, photographs at the quality chosen</source>
        <translation>Textseiten werden verlustfrei gespeichert, Fotos in der gewählten Qualität</translation>
    </message>
    <message>
        <source>Import &amp;links</source>
        <translation>&amp;Links importieren</translation>
    </message>
    <message>
        <source>Import boo&amp;kmarks</source>
        <translation>Lese&amp;zeichen importieren</translation>
    </message>
    <message>
        <source>Make the &amp;text searchable</source>
        <translation>&amp;Text durchsuchbar machen</translation>
    </message>
    <message>
        <source>Sharp &amp;zoom pictures</source>
        <translation>Scharfe Zoom-&amp;Bilder</translation>
    </message>
    <message>
        <source>Adds a picture of twice the resolution for each page, shown when the reader zooms in</source>
        <translation>Fügt jeder Seite ein Bild in doppelter Auflösung hinzu, das beim Vergrößern gezeigt wird</translation>
    </message>
    <message>
        <source>&amp;Document:</source>
        <translation>D&amp;okument:</translation>
    </message>
    <message>
        <source>&amp;Range:</source>
        <translation>&amp;Bereich:</translation>
    </message>
    <message>
        <source>&amp;Quality:</source>
        <translation>&amp;Qualität:</translation>
    </message>
    <message>
        <source>Pict&amp;ures:</source>
        <translation>Bil&amp;der:</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Choose a document</source>
        <translation>Ein Dokument wählen</translation>
    </message>
    <message>
        <source>Documents (*.pdf *.txt *.rtf *.docx *.odt *.doc)</source>
        <translation>Dokumente (*.pdf *.txt *.rtf *.docx *.odt *.doc)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>%1 konnte nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>Import file does not exist.</source>
        <translation>Die zu importierende Datei existiert nicht.</translation>
    </message>
    <message>
        <source>Preparing the document, please wait...</source>
        <translation>Das Dokument wird vorbereitet, bitte warten...</translation>
    </message>
    <message>
        <source>The import failed.</source>
        <translation>Der Import ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Converting page %L1 of %L2</source>
        <translation>Seite %L1 von %L2 wird umgewandelt</translation>
    </message>
    <message>
        <source>Importing page %L1 of %L2</source>
        <translation>Seite %L1 von %L2 wird importiert</translation>
    </message>
</context>
<context>
    <name>MuPdfDocument</name>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>it is not a PDF document</source>
        <translation>es ist kein PDF-Dokument</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>zu wenig Speicher</translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation>die Datei ist beschädigt (%1)</translation>
    </message>
    <message>
        <source>the document is protected by a password</source>
        <translation>das Dokument ist durch ein Passwort geschützt</translation>
    </message>
</context>
<context>
    <name>OutputWindowDelegate</name>
    <message>
        <source>Publish the book</source>
        <translation>Das Buch veröffentlichen</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>&amp;Wählen...</translation>
    </message>
    <message>
        <source>Op&amp;en</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Show the folder in the file manager</source>
        <translation>Den Ordner im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>&amp;Web folder (plays in any browser)</source>
        <translation>&amp;Webordner (läuft in jedem Browser)</translation>
    </message>
    <message>
        <source>&amp;Application bundle</source>
        <translation>&amp;Anwendungspaket</translation>
    </message>
    <message>
        <source>&amp;Output folder:</source>
        <translation>A&amp;usgabeordner:</translation>
    </message>
    <message>
        <source>Page &amp;name:</source>
        <translation>Seiten&amp;name:</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>Publish as:</source>
        <translation>Veröffentlichen als:</translation>
    </message>
    <message>
        <source>&amp;Publish</source>
        <translation>&amp;Veröffentlichen</translation>
    </message>
    <message>
        <source>Writing page %L1 of %L2...</source>
        <translation>Seite %L1 von %L2 wird geschrieben...</translation>
    </message>
    <message>
        <source>Choose folder</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>%1 konnte nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>Publishing...</source>
        <translation>Wird veröffentlicht...</translation>
    </message>
    <message>
        <source>&amp;Open it</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Show in Folder</source>
        <translation>Im &amp;Ordner zeigen</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>%1

Publish there all the same?</source>
        <translation>%1

Trotzdem dort veröffentlichen?</translation>
    </message>
    <message>
        <source>Publish There</source>
        <translation>Dort veröffentlichen</translation>
    </message>
    <message>
        <source>%1

Replace them with the book?</source>
        <translation>%1

Sie durch das Buch ersetzen?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>EP&amp;UB e-book (for e-book readers and stores)</source>
        <translation>EP&amp;UB-E-Book (für E-Book-Reader und Shops)</translation>
    </message>
</context>
<context>
    <name>PDFToSWFPageConverter</name>
    <message>
        <source>Page %1 is very large and was drawn at a lower resolution.</source>
        <translation>Seite %1 ist sehr groß und wurde in geringerer Auflösung gezeichnet.</translation>
    </message>
    <message>
        <source>The text of page %1 could not be read; it will not be found by search.</source>
        <translation>Der Text von Seite %1 konnte nicht gelesen werden; die Suche findet ihn nicht.</translation>
    </message>
    <message>
        <source>Page %1 could not be drawn (%2); a blank page stands in its place.</source>
        <translation>Seite %1 konnte nicht gezeichnet werden (%2); eine leere Seite steht an ihrer Stelle.</translation>
    </message>
    <message>
        <source>Page %1 holds more than %2 words; only the first %2 will be found by search.</source>
        <translation>Seite %1 enthält mehr als %2 Wörter; die Suche findet nur die ersten %2.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot create a work folder for the pages of %1%2</source>
        <translation>Für die Seiten von %1 kann kein Arbeitsordner angelegt werden%2</translation>
    </message>
    <message>
        <source>Cannot start a rendering thread: %1</source>
        <translation>Ein Render-Thread kann nicht gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>PageTextStore</name>
    <message>
        <source>There is no work folder for the text of the pages.</source>
        <translation>Es gibt keinen Arbeitsordner für den Text der Seiten.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>PrintBookCommand</name>
    <message>
        <source>usage: folivox-cli inspect BOOK_FOLDER|book.bin [--text [--page N]]
</source>
        <translation>Aufruf: folivox-cli inspect BUCHORDNER|book.bin [--text [--page N]]
</translation>
    </message>
    <message>
        <source>page %1 is not in the book</source>
        <translation>Seite %1 ist nicht im Buch</translation>
    </message>
    <message>
        <source>Usage: folivox-cli inspect BOOK [--text [--page N]]
Decrypts a book&apos;s files/book.bin, checks the zip archive inside and prints its book.xml;
with --text, prints the text of the book&apos;s pages from its files instead.

Options:
  --text      print the text of every page, each under a &quot;--- page N ---&quot; line
  --page N    with --text: print only the text of page N (as in files/page/N.jpg)
  -h, --help  show this help

Arguments:
  BOOK        a published book folder, or its files/book.bin
</source>
        <translation>Aufruf: folivox-cli inspect BOOK [--text [--page N]]
Entschlüsselt die files/book.bin eines Buchs, prüft das Zip-Archiv darin und gibt seine book.xml aus;
mit --text stattdessen den Text der Buchseiten aus seinen Dateien.

Optionen:
  --text      den Text jeder Seite ausgeben, jeweils unter einer Zeile „--- page N ---“
  --page N    mit --text: nur den Text von Seite N ausgeben (wie in files/page/N.jpg)
  -h, --help  diese Hilfe anzeigen

Argumente:
  BOOK        ein veröffentlichter Buchordner oder seine files/book.bin
</translation>
    </message>
</context>
<context>
    <name>PrivateFolder</name>
    <message>
        <source>it belongs to another user (uid %1)</source>
        <translation>er gehört einem anderen Benutzer (UID %1)</translation>
    </message>
    <message>
        <source>it is writable by other users</source>
        <translation>andere Benutzer können darin schreiben</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>Cannot make a private folder: %1</source>
        <translation>Ein privater Ordner kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>%1 cannot be made: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 was not made private</source>
        <translation>%1 wurde nicht privat gemacht</translation>
    </message>
    <message>
        <source>%1: other runs keep taking the new folders</source>
        <translation>%1: andere Läufe nehmen immer wieder die neuen Ordner</translation>
    </message>
</context>
<context>
    <name>PropertyValueCheck</name>
    <message>
        <source>A number is needed.</source>
        <translation>Eine Zahl wird gebraucht.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number; type digits, such as 600.</source>
        <translation>„%1“ ist keine Zahl; geben Sie Ziffern ein, etwa 600.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number; type one from %2.</source>
        <translation>„%1“ ist keine ganze Zahl; geben Sie eine aus %2 ein.</translation>
    </message>
    <message>
        <source>%1 is out of range; type a number from %2.</source>
        <translation>%1 liegt außerhalb des Bereichs; geben Sie eine Zahl aus %2 ein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a colour; type #rrggbb, six hexadecimal digits such as #336699.</source>
        <translation>„%1“ ist keine Farbe; geben Sie #rrggbb ein, sechs Hexadezimalziffern wie #336699.</translation>
    </message>
</context>
<context>
    <name>PublishCommand</name>
    <message>
        <source> Nothing was written; add --force to publish there all the same.</source>
        <translation> Es wurde nichts geschrieben; mit --force wird trotzdem dort veröffentlicht.</translation>
    </message>
    <message>
        <source> Nothing was written; add --force to replace them.</source>
        <translation> Es wurde nichts geschrieben; mit --force werden sie ersetzt.</translation>
    </message>
    <message>
        <source>Converting</source>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Importing</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>%1 holds no .jpg, .png or .webp pictures</source>
        <translation>%1 enthält keine .jpg-, .png- oder .webp-Bilder</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>cannot import %1</source>
        <translation>%1 kann nicht importiert werden</translation>
    </message>
    <message>
        <source>Publishes a book folder (or an application bundle) from a document or a folder of pictures.</source>
        <translation>Veröffentlicht einen Buchordner (oder ein Anwendungspaket) aus einem Dokument oder einem Ordner mit Bildern.</translation>
    </message>
    <message>
        <source>a PDF, text or RTF document, or a folder of .jpg, .png or .webp pictures</source>
        <translation>ein PDF-, Text- oder RTF-Dokument oder ein Ordner mit .jpg-, .png- oder .webp-Bildern</translation>
    </message>
    <message>
        <source>book folder</source>
        <translation>Buchordner</translation>
    </message>
    <message>
        <source>HTML page name (empty: index)</source>
        <translation>Name der HTML-Seite (leer: index)</translation>
    </message>
    <message>
        <source>the title the book and its page show (default: the document&apos;s own title, else the input&apos;s name)</source>
        <translation>der Titel, den das Buch und seine Seite zeigen (Standard: der eigene Titel des Dokuments, sonst der Name der Eingabe)</translation>
    </message>
    <message>
        <source>pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>keep the links</source>
        <translation>die Links übernehmen</translation>
    </message>
    <message>
        <source>keep the bookmarks</source>
        <translation>die Lesezeichen übernehmen</translation>
    </message>
    <message>
        <source>template</source>
        <translation>Vorlage</translation>
    </message>
    <message>
        <source>style</source>
        <translation>Stil</translation>
    </message>
    <message>
        <source>settings file</source>
        <translation>Einstellungsdatei</translation>
    </message>
    <message>
        <source>application bundle</source>
        <translation>Anwendungspaket</translation>
    </message>
    <message>
        <source>rendering threads</source>
        <translation>Render-Threads</translation>
    </message>
    <message>
        <source>replace files in the way that are not part of a book, and publish into a folder that other users may write to</source>
        <translation>Dateien im Weg ersetzen, die nicht zu einem Buch gehören, und in einen Ordner veröffentlichen, in den andere Benutzer schreiben dürfen</translation>
    </message>
    <message>
        <source>leave the text out: no search</source>
        <translation>den Text weglassen: keine Suche</translation>
    </message>
    <message>
        <source>no sharper pictures for zooming</source>
        <translation>keine schärferen Bilder zum Vergrößern</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>diese Hilfe anzeigen</translation>
    </message>
    <message>
        <source>publish needs exactly one INPUT</source>
        <translation>publish braucht genau eine INPUT</translation>
    </message>
    <message>
        <source>publish needs -o DIR</source>
        <translation>publish braucht -o DIR</translation>
    </message>
    <message>
        <source>--quality takes a level from 0 (best) to 4 (smallest)</source>
        <translation>--quality erwartet eine Stufe von 0 (beste) bis 4 (kleinste)</translation>
    </message>
    <message>
        <source>--jobs takes a number of threads (0: one per core)</source>
        <translation>--jobs erwartet eine Anzahl Threads (0: einer je Kern)</translation>
    </message>
    <message>
        <source>there is no template &quot;%1&quot; (see folivox-cli templates)</source>
        <translation>es gibt keine Vorlage „%1“ (siehe folivox-cli templates)</translation>
    </message>
    <message>
        <source>the settings file %1 does not exist</source>
        <translation>die Einstellungsdatei %1 existiert nicht</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
    <message>
        <source>stopped before publishing</source>
        <translation>vor dem Veröffentlichen angehalten</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>der Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>stopped by signal %1 before the book was put in place; nothing in %2 was changed</source>
        <translation>durch Signal %1 angehalten, bevor das Buch eingesetzt wurde; in %2 wurde nichts geändert</translation>
    </message>
    <message>
        <source>publishing failed; these files could not be written:</source>
        <translation>Veröffentlichen fehlgeschlagen; diese Dateien konnten nicht geschrieben werden:</translation>
    </message>
    <message>
        <source>nothing in %1 was changed</source>
        <translation>in %1 wurde nichts geändert</translation>
    </message>
    <message>
        <source>copied into the book: %1 (as %2)</source>
        <translation>in das Buch kopiert: %1 (als %2)</translation>
    </message>
    <message>
        <source>signal %1 came while the book was put in place; it was put in place first</source>
        <translation>Signal %1 kam, während das Buch eingesetzt wurde; es wurde zuerst fertig eingesetzt</translation>
    </message>
    <message>
        <source>template &quot;%1&quot; cannot be loaded: %2</source>
        <translation>die Vorlage „%1“ kann nicht geladen werden: %2</translation>
    </message>
    <message>
        <source>template &quot;%1&quot; has no style &quot;%2&quot; (see folivox-cli templates)</source>
        <translation>die Vorlage „%1“ hat keinen Stil „%2“ (siehe folivox-cli templates)</translation>
    </message>
    <message>
        <source>%1 holds no picture that can be a page</source>
        <translation>%1 enthält kein Bild, das eine Seite sein kann</translation>
    </message>
    <message>
        <source>page pictures: auto (each page as WebP or JPEG, whichever suits it), webp, jpeg (as books were before), or png (text pages PNG, photographs JPEG: the default of --format epub)</source>
        <translation>Seitenbilder: auto (jede Seite als WebP oder JPEG, je nachdem, was passt), webp, jpeg (wie Bücher früher waren) oder png (Textseiten PNG, Fotos JPEG: die Vorgabe von --format epub)</translation>
    </message>
    <message>
        <source>web (a book folder, the default) or epub (-o names the EPUB 3 file)</source>
        <translation>web (ein Buchordner, die Vorgabe) oder epub (-o benennt die EPUB-3-Datei)</translation>
    </message>
    <message>
        <source>the EPUB&apos;s author (default: the document&apos;s own)</source>
        <translation>der Autor des EPUB (Vorgabe: der des Dokuments)</translation>
    </message>
    <message>
        <source>the EPUB&apos;s language tag, such as en or de-CH (default: the document&apos;s own, else und)</source>
        <translation>das Sprachkürzel des EPUB, etwa en oder de-CH (Vorgabe: das des Dokuments, sonst und)</translation>
    </message>
    <message>
        <source>seconds one page may take to draw; a slower page is left blank (0: no limit)</source>
        <translation>Sekunden, die das Zeichnen einer Seite dauern darf; eine langsamere Seite bleibt leer (0: keine Grenze)</translation>
    </message>
    <message>
        <source>--format takes web or epub</source>
        <translation>--format nimmt web oder epub</translation>
    </message>
    <message>
        <source>--app and --name are for web books; with --format epub, -o names the file</source>
        <translation>--app und --name gelten für Webbücher; mit --format epub benennt -o die Datei</translation>
    </message>
    <message>
        <source>--author and --language are for --format epub</source>
        <translation>--author und --language gelten für --format epub</translation>
    </message>
    <message>
        <source>--language takes a language tag such as en, de-CH or pt-BR</source>
        <translation>--language nimmt ein Sprachkürzel wie en, de-CH oder pt-BR</translation>
    </message>
    <message>
        <source>--page-timeout takes a number of seconds (0: no limit)</source>
        <translation>--page-timeout nimmt eine Zahl von Sekunden (0: keine Grenze)</translation>
    </message>
    <message>
        <source>--picture-format takes auto, webp, jpeg or png</source>
        <translation>--picture-format nimmt auto, webp, jpeg oder png</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>it is a folder, not a regular file</source>
        <translation>es ist ein Ordner, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a named pipe, not a regular file</source>
        <translation>es ist eine benannte Pipe, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation>es ist ein Gerät, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a regular file</source>
        <translation>es ist ein Socket, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>sie ist größer als %1 Byte</translation>
    </message>
</context>
<context>
    <name>RtfReader</name>
    <message>
        <source>it is not an RTF document</source>
        <translation>es ist kein RTF-Dokument</translation>
    </message>
</context>
<context>
    <name>SelectTemplateWindowDelegate</name>
    <message>
        <source>Choose a template</source>
        <translation>Eine Vorlage wählen</translation>
    </message>
    <message>
        <source>&amp;Templates</source>
        <translation>&amp;Vorlagen</translation>
    </message>
    <message>
        <source>&amp;Styles</source>
        <translation>&amp;Stile</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
</context>
<context>
    <name>TemplatesCommand</name>
    <message>
        <source>Usage: folivox-cli templates
Lists the installed templates with their number of properties, and the styles of each;
the default style is marked.

Options:
  -h, --help  show this help
</source>
        <translation>Aufruf: folivox-cli templates
Listet die installierten Vorlagen mit der Zahl ihrer Eigenschaften und den Stilen jeder Vorlage auf;
der Standardstil ist markiert.

Optionen:
  -h, --help  diese Hilfe anzeigen
</translation>
    </message>
    <message>
        <source>takes no arguments</source>
        <translation>nimmt keine Argumente</translation>
    </message>
    <message>
        <source>no templates found in %1</source>
        <translation>keine Vorlagen in %1 gefunden</translation>
    </message>
</context>
<context>
    <name>TextPagePrinter</name>
    <message>
        <source>the PDF could not be started</source>
        <translation>das PDF konnte nicht begonnen werden</translation>
    </message>
    <message>
        <source>a page could not be added</source>
        <translation>eine Seite konnte nicht hinzugefügt werden</translation>
    </message>
</context>
<context>
    <name>folivox-cli</name>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>Usage: folivox-cli COMMAND [ARGUMENTS]
Turns a PDF, text or RTF document, or a folder of pictures, into a page-flip e-book
that any modern browser plays.

Commands:
  publish INPUT -o DIR [options]  publish a book from a document or a folder of pictures
  inspect BOOK [--text]           print the book.xml inside a book folder or a book.bin,
                                  or the text of the book
  templates                       list the templates and their styles
  batch LIST -o OUTDIR [options]  publish every document of a list, each into OUTDIR/NAME/

Options:
  -h, --help                      show this help; after a command, that command&apos;s help
  --version                       show the version

&apos;folivox-cli COMMAND --help&apos; lists the options of a command.
</source>
        <translation>Aufruf: folivox-cli BEFEHL [ARGUMENTE]
Macht aus einem PDF-, Text- oder RTF-Dokument oder einem Ordner mit Bildern ein Blätterbuch,
das jeder aktuelle Browser abspielt.

Befehle:
  publish INPUT -o DIR [Optionen]  ein Buch aus einem Dokument oder einem Ordner mit Bildern veröffentlichen
  inspect BOOK [--text]            die book.xml in einem Buchordner oder einer book.bin ausgeben,
                                   oder den Text des Buchs
  templates                        die Vorlagen und ihre Stile auflisten
  batch LIST -o OUTDIR [Optionen]  jedes Dokument einer Liste veröffentlichen, jedes nach OUTDIR/NAME/

Optionen:
  -h, --help                       diese Hilfe anzeigen; nach einem Befehl die Hilfe dieses Befehls
  --version                        die Version anzeigen

„folivox-cli BEFEHL --help“ zeigt die Optionen eines Befehls.
</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Save a picture of the window once the preview has loaded, then quit.</source>
        <translation>Ein Bild des Fensters speichern, sobald die Vorschau geladen ist, dann beenden.</translation>
    </message>
    <message>
        <source>With --screenshot: import this document first.</source>
        <translation>Mit --screenshot: zuerst dieses Dokument importieren.</translation>
    </message>
    <message>
        <source>With --screenshot: wait this long after loading (default 1500).</source>
        <translation>Mit --screenshot: so lange nach dem Laden warten (Standard 1500).</translation>
    </message>
    <message>
        <source>With --screenshot: open this page of the preview.</source>
        <translation>Mit --screenshot: diese Seite der Vorschau öffnen.</translation>
    </message>
    <message>
        <source>A PDF, text or RTF document to import (the import sheet opens with it).</source>
        <translation>Ein PDF-, Text- oder RTF-Dokument zum Importieren (der Import-Dialog öffnet sich damit).</translation>
    </message>
</context>
</TS>
