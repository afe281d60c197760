<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Folivox</source>
        <translation>À propos de Folivox</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Folivox&lt;/h2&gt;&lt;p&gt;Version %1&lt;/p&gt;&lt;p&gt;Turns PDF, text and RTF documents into page-flip e-books that play in any modern browser.&lt;/p&gt;&lt;p&gt;Licensed under the GNU Affero General Public License, version 3 or later.&lt;/p&gt;&lt;p&gt;Built with Qt, MuPDF, libjpeg-turbo, pugixml, libxml2 and zlib, each under its own licence. Templates, pictures and the page player are Folivox&apos;s own work.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Folivox&lt;/h2&gt;&lt;p&gt;Version %1&lt;/p&gt;&lt;p&gt;Transforme des documents PDF, texte et RTF en livres à feuilleter qui s’ouvrent dans tout navigateur récent.&lt;/p&gt;&lt;p&gt;Sous licence GNU Affero General Public License, version 3 ou ultérieure.&lt;/p&gt;&lt;p&gt;Réalisé avec Qt, MuPDF, libjpeg-turbo, pugixml, libxml2 et zlib, chacun sous sa propre licence. Les modèles, les images et le lecteur de pages sont l’œuvre de Folivox.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Select a property to read what it does.</source>
        <translation>Sélectionnez une propriété pour lire ce qu’elle fait.</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importer...</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>Import a PDF, text or RTF document</source>
        <translation>Importer un document PDF, texte ou RTF</translation>
    </message>
    <message>
        <source>&amp;Template...</source>
        <translation>&amp;Modèle...</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>&amp;Apply Change</source>
        <translation>&amp;Appliquer la modification</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>Apply change</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Rebuild the preview with the changed properties</source>
        <translation>Reconstruire l’aperçu avec les propriétés modifiées</translation>
    </message>
    <message>
        <source>&amp;Publish...</source>
        <translation>&amp;Publier...</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Publish</source>
        <translation>Publier</translation>
    </message>
    <message>
        <source>Publish the book into a folder or as an application</source>
        <translation>Publier le livre dans un dossier ou comme application</translation>
    </message>
    <message>
        <source>&amp;Export Settings...</source>
        <translation>&amp;Exporter les réglages...</translation>
    </message>
    <message>
        <source>Export settings</source>
        <translation>Exporter les réglages</translation>
    </message>
    <message>
        <source>Import &amp;Settings...</source>
        <translation>Importer les &amp;réglages...</translation>
    </message>
    <message>
        <source>Import settings</source>
        <translation>Importer les réglages</translation>
    </message>
    <message>
        <source>Folivox &amp;Manual</source>
        <translation>&amp;Manuel de Folivox</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Open the Folivox manual</source>
        <translation>Ouvrir le manuel de Folivox</translation>
    </message>
    <message>
        <source>&amp;About Folivox...</source>
        <translation>À &amp;propos de Folivox...</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
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
        <translation>Choisir un modèle et un style</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Commandes</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Récents</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Édition</translation>
    </message>
    <message>
        <source>&amp;Book</source>
        <translation>&amp;Livre</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Quit Folivox</source>
        <translation>Quitter Folivox</translation>
    </message>
    <message>
        <source>The book has changes that were neither published nor exported.</source>
        <translation>Le livre a des modifications qui n’ont été ni publiées ni exportées.</translation>
    </message>
    <message>
        <source>If you quit now, they are lost.</source>
        <translation>Si vous quittez maintenant, elles seront perdues.</translation>
    </message>
    <message>
        <source>&amp;Quit Without Publishing</source>
        <translation>&amp;Quitter sans publier</translation>
    </message>
    <message>
        <source>&amp;Clear Menu</source>
        <translation>&amp;Vider la liste</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annuler : %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rétablir : %1</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Édition</translation>
    </message>
    <message>
        <source>Building the preview...</source>
        <translation>Construction de l’aperçu...</translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation>... et %1 de plus.</translation>
    </message>
    <message>
        <source>The document was imported, with warnings.</source>
        <translation>Le document a été importé, avec des avertissements.</translation>
    </message>
    <message>
        <source>Export Settings</source>
        <translation>Exporter les réglages</translation>
    </message>
    <message>
        <source>Settings files (*.txt)</source>
        <translation>Fichiers de réglages (*.txt)</translation>
    </message>
    <message>
        <source>The settings could not be written to %1: %2</source>
        <translation>Les réglages n’ont pas pu être écrits dans %1 : %2</translation>
    </message>
    <message>
        <source>The settings were written to %1, but these files could not be put beside them, so importing the settings again will leave them out:
%2</source>
        <translation>Les réglages ont été écrits dans %1, mais ces fichiers n’ont pas pu être placés à côté ; une nouvelle importation des réglages les laissera donc de côté :
%2</translation>
    </message>
    <message>
        <source>Import Settings</source>
        <translation>Importer les réglages</translation>
    </message>
    <message>
        <source>These files were not taken:
%1</source>
        <translation>Ces fichiers n’ont pas été repris :
%1</translation>
    </message>
    <message>
        <source>The style %1 set its own %2.</source>
        <translation>Le style %1 a fixé ses propres valeurs pour : %2.</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 has no %2; your values for them were left out.</source>
        <translation>%1 ne connaît pas %2 ; vos valeurs correspondantes ont été laissées de côté.</translation>
    </message>
    <message>
        <source>Folivox Manual</source>
        <translation>Manuel de Folivox</translation>
    </message>
    <message>
        <source>The manual is missing: %1</source>
        <translation>Le manuel est introuvable : %1</translation>
    </message>
    <message>
        <source>Publish as &amp;EPUB...</source>
        <translation>Publier en &amp;EPUB...</translation>
    </message>
    <message>
        <source>Ctrl+Shift+P</source>
        <translation>Ctrl+Shift+P</translation>
    </message>
    <message>
        <source>Publish the book as an EPUB file for e-book readers and stores</source>
        <translation>Publier le livre en fichier EPUB pour les liseuses et les librairies en ligne</translation>
    </message>
</context>
<context>
    <name>BatchCommand</name>
    <message>
        <source>the list of documents; - for the standard input</source>
        <translation>la liste des documents ; - pour l’entrée standard</translation>
    </message>
    <message>
        <source>the folder that gets a book folder for each document</source>
        <translation>le dossier qui reçoit un dossier de livre pour chaque document</translation>
    </message>
    <message>
        <source>documents published at once (default 1)</source>
        <translation>documents publiés à la fois (1 par défaut)</translation>
    </message>
    <message>
        <source>render threads of each document (default: the cores shared among the documents under way)</source>
        <translation>fils de rendu de chaque document (par défaut : les cœurs partagés entre les documents en cours)</translation>
    </message>
    <message>
        <source>stop a document that takes longer than this (default 0: no limit)</source>
        <translation>arrêter un document qui dure plus longtemps (0 par défaut : sans limite)</translation>
    </message>
    <message>
        <source>publish only the K-th of N equal slices of the list (K from 0), with the names the whole list gives: one slice for each of N machines</source>
        <translation>ne publier que la K-ième de N tranches égales de la liste (K à partir de 0), avec les noms que donne la liste entière : une tranche pour chacune de N machines</translation>
    </message>
    <message>
        <source>skip documents whose book is there from the same input bytes and options</source>
        <translation>sauter les documents dont le livre existe déjà à partir des mêmes octets d’entrée et options</translation>
    </message>
    <message>
        <source>one JSON line per document on stdout: input, output, pages, bytes, seconds, status (ok, skipped, failed, timeout, stopped), error</source>
        <translation>une ligne JSON par document sur stdout : input, output, pages, bytes, seconds, status (ok, skipped, failed, timeout, stopped), error</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>afficher cette aide</translation>
    </message>
    <message>
        <source>needs exactly one LIST</source>
        <translation>il faut exactement une LIST</translation>
    </message>
    <message>
        <source>--jobs takes a number from 1 to 256</source>
        <translation>--jobs attend un nombre de 1 à 256</translation>
    </message>
    <message>
        <source>--threads takes a number from 0 (share the cores) to 256</source>
        <translation>--threads attend un nombre de 0 (partager les cœurs) à 256</translation>
    </message>
    <message>
        <source>--timeout takes a number of seconds (0: no limit)</source>
        <translation>--timeout attend un nombre de secondes (0 : sans limite)</translation>
    </message>
    <message>
        <source>--part takes K/N, a slice K from 0 to N-1</source>
        <translation>--part attend K/N, une tranche K de 0 à N-1</translation>
    </message>
    <message>
        <source>OUTDIR cannot be the root folder</source>
        <translation>OUTDIR ne peut pas être le dossier racine</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>impossible de créer le dossier %1</translation>
    </message>
    <message>
        <source>needs -o OUTDIR</source>
        <translation>il faut -o OUTDIR</translation>
    </message>
</context>
<context>
    <name>BatchList</name>
    <message>
        <source>%1: the batch chooses the output folder (OUTDIR/NAME); leave it out</source>
        <translation>%1 : le lot choisit le dossier de sortie (OUTDIR/NAME) ; retirez-le</translation>
    </message>
    <message>
        <source>%1 has no place in a batch line</source>
        <translation>%1 n’a pas sa place dans une ligne de lot</translation>
    </message>
    <message>
        <source>longer than %1 bytes</source>
        <translation>plus long que %1 octets</translation>
    </message>
    <message>
        <source>holds a NUL byte</source>
        <translation>contient un octet NUL</translation>
    </message>
    <message>
        <source>is not UTF-8 text</source>
        <translation>n’est pas du texte UTF-8</translation>
    </message>
    <message>
        <source>has more than %1 words</source>
        <translation>a plus de %1 mots</translation>
    </message>
    <message>
        <source>the input is empty</source>
        <translation>l’entrée est vide</translation>
    </message>
    <message>
        <source>a $&apos; is not closed</source>
        <translation>un $&apos; n’est pas fermé</translation>
    </message>
    <message>
        <source>a &apos; is not closed</source>
        <translation>un &apos; n’est pas fermé</translation>
    </message>
    <message>
        <source>the line ends in a backslash</source>
        <translation>la ligne se termine par une barre oblique inverse</translation>
    </message>
    <message>
        <source>the list is larger than %1 MB; split it</source>
        <translation>la liste dépasse %1 Mo ; découpez-la</translation>
    </message>
    <message>
        <source>the list has more than %1 documents; split it</source>
        <translation>la liste a plus de %1 documents ; découpez-la</translation>
    </message>
    <message>
        <source>cannot read the list %1: %2</source>
        <translation>impossible de lire la liste %1 : %2</translation>
    </message>
</context>
<context>
    <name>BookSession</name>
    <message>
        <source>Open the result files?</source>
        <translation>Ouvrir les fichiers produits ?</translation>
    </message>
    <message>
        <source>Publishing was cancelled.</source>
        <translation>La publication a été annulée.</translation>
    </message>
    <message>
        <source>Other users may change what is in the folder.</source>
        <translation>D’autres utilisateurs peuvent modifier le contenu du dossier.</translation>
    </message>
    <message>
        <source>The folder holds files that are not part of a book.</source>
        <translation>Le dossier contient des fichiers qui ne font pas partie d’un livre.</translation>
    </message>
    <message>
        <source>Publishing failed.</source>
        <translation>La publication a échoué.</translation>
    </message>
    <message>
        <source>Publish finished! The book is in %1.</source>
        <translation>Publication terminée ! Le livre est dans %1.</translation>
    </message>
    <message>
        <source>Open it?</source>
        <translation>L’ouvrir ?</translation>
    </message>
    <message>
        <source>These files were copied into the book:</source>
        <translation>Ces fichiers ont été copiés dans le livre :</translation>
    </message>
    <message>
        <source>Nothing in the output folder was changed.</source>
        <translation>Rien n’a été modifié dans le dossier de sortie.</translation>
    </message>
    <message>
        <source>These files could not be written:</source>
        <translation>Ces fichiers n’ont pas pu être écrits :</translation>
    </message>
    <message>
        <source>Choose the folder to publish into.</source>
        <translation>Choisissez le dossier où publier.</translation>
    </message>
    <message>
        <source>The root folder / cannot take a book; choose a folder for it.</source>
        <translation>Le dossier racine / ne peut pas recevoir de livre ; choisissez-lui un dossier.</translation>
    </message>
    <message>
        <source>The page name &quot;%1&quot; cannot be used: it must not contain /, \, .. or control characters.</source>
        <translation>Le nom de page « %1 » n’est pas utilisable : il ne doit contenir ni /, ni \, ni .., ni caractères de contrôle.</translation>
    </message>
    <message>
        <source>The preview could not be rebuilt: %1</source>
        <translation>L’aperçu n’a pas pu être reconstruit : %1</translation>
    </message>
    <message>
        <source>The preview could not be rebuilt: %1 files could not be written (%2: %3)</source>
        <translation>L’aperçu n’a pas pu être reconstruit : %1 fichiers n’ont pas pu être écrits (%2 : %3)</translation>
    </message>
    <message>
        <source>There is no preview folder.</source>
        <translation>Il n’y a pas de dossier d’aperçu.</translation>
    </message>
    <message>
        <source>There is no book to preview.</source>
        <translation>Il n’y a pas de livre à prévisualiser.</translation>
    </message>
    <message>
        <source>Demonstration pages</source>
        <translation>Pages de démonstration</translation>
    </message>
    <message>
        <source>There is no template.</source>
        <translation>Il n’y a pas de modèle.</translation>
    </message>
    <message>
        <source>No file name was given.</source>
        <translation>Aucun nom de fichier n’a été donné.</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>Le fichier n’a pas pu être écrit.</translation>
    </message>
    <message>
        <source>There is no template to apply settings to.</source>
        <translation>Il n’y a pas de modèle auquel appliquer les réglages.</translation>
    </message>
    <message>
        <source>There is no book to publish.</source>
        <translation>Il n’y a pas de livre à publier.</translation>
    </message>
</context>
<context>
    <name>BookSourceRecord</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>%1 is neither a file nor a folder</source>
        <translation>%1 n’est ni un fichier ni un dossier</translation>
    </message>
</context>
<context>
    <name>BookTextReader</name>
    <message>
        <source>%1 has no text (it was published without text, or from pictures)</source>
        <translation>%1 n’a pas de texte (il a été publié sans texte, ou à partir d’images)</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>cannot read %1: a page&apos;s entry is damaged</source>
        <translation>impossible de lire %1 : l’entrée d’une page est endommagée</translation>
    </message>
</context>
<context>
    <name>BookTextWriter</name>
    <message>
        <source>cannot create the folder: %1</source>
        <translation>impossible de créer le dossier : %1</translation>
    </message>
    <message>
        <source>the text of page %1 cannot be read back</source>
        <translation>le texte de la page %1 ne peut pas être relu</translation>
    </message>
    <message>
        <source>not every page&apos;s text could be read</source>
        <translation>le texte de certaines pages n’a pas pu être lu</translation>
    </message>
</context>
<context>
    <name>BookTransaction</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Le dossier %1 n’existe pas.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 n’est pas un dossier.</translation>
    </message>
    <message>
        <source>Cannot publish into %1: %2</source>
        <translation>Impossible de publier dans %1 : %2</translation>
    </message>
    <message>
        <source>Cannot publish into %1: %2 is not a file</source>
        <translation>Impossible de publier dans %1 : %2 n’est pas un fichier</translation>
    </message>
    <message>
        <source>Another publish into %1 is under way; try again when it has finished.</source>
        <translation>Une autre publication dans %1 est en cours ; réessayez quand elle sera terminée.</translation>
    </message>
    <message>
        <source>Cannot lock %1 for publishing.</source>
        <translation>Impossible de verrouiller %1 pour la publication.</translation>
    </message>
    <message>
        <source>%1 was moved or replaced while the book was written; the book was not put in place.</source>
        <translation>%1 a été déplacé ou remplacé pendant l’écriture du livre ; le livre n’a pas été mis en place.</translation>
    </message>
    <message>
        <source>There is nothing to publish.</source>
        <translation>Il n’y a rien à publier.</translation>
    </message>
    <message>
        <source>Cannot write the book to the disk: %1</source>
        <translation>Impossible d’écrire le livre sur le disque : %1</translation>
    </message>
    <message>
        <source>Cannot put %1 in place: %2</source>
        <translation>Impossible de mettre %1 en place : %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2 is not a folder</source>
        <translation>Impossible de créer le dossier %1 : %2 n’est pas un dossier</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2</source>
        <translation>Impossible de créer le dossier %1 : %2</translation>
    </message>
</context>
<context>
    <name>BookWeight</name>
    <message>
        <source>The book takes %1; a reader downloads %2 to open it.</source>
        <translation>Le livre occupe %1 ; un lecteur télécharge %2 pour l’ouvrir.</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
</context>
<context>
    <name>ChildProcess</name>
    <message>
        <source>cannot start %1: %2</source>
        <translation>impossible de lancer %1 : %2</translation>
    </message>
</context>
<context>
    <name>DesktopOpener</name>
    <message>
        <source>xdg-open, which opens files in your programs, is not installed (Debian package xdg-utils)</source>
        <translation>xdg-open, qui ouvre les fichiers dans vos programmes, n’est pas installé (paquet Debian xdg-utils)</translation>
    </message>
    <message>
        <source>no program that opens this kind of file is set up</source>
        <translation>aucun programme n’est configuré pour ouvrir ce type de fichier</translation>
    </message>
    <message>
        <source>the program that opens it failed</source>
        <translation>le programme qui l’ouvre a échoué</translation>
    </message>
    <message>
        <source>xdg-open ended with code %1</source>
        <translation>xdg-open s’est terminé avec le code %1</translation>
    </message>
    <message>
        <source>xdg-open could not be started</source>
        <translation>xdg-open n’a pas pu être lancé</translation>
    </message>
</context>
<context>
    <name>DocumentToPdf</name>
    <message>
        <source>Cannot convert %1: %2</source>
        <translation>Impossible de convertir %1 : %2</translation>
    </message>
    <message>
        <source>Cannot convert %1: the file is larger than %2 MB</source>
        <translation>Impossible de convertir %1 : le fichier dépasse %2 Mo</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d’écrire %1 : %2</translation>
    </message>
    <message>
        <source>The conversion of %1 was stopped.</source>
        <translation>La conversion de %1 a été arrêtée.</translation>
    </message>
    <message>
        <source>Cannot convert %1: the document is empty</source>
        <translation>Impossible de convertir %1 : le document est vide</translation>
    </message>
    <message>
        <source>Cannot convert %1: this needs LibreOffice, which is not installed. Install it (for example: sudo apt install libreoffice-writer) or save the document as PDF, RTF or plain text.</source>
        <translation>Impossible de convertir %1 : il faut LibreOffice, qui n’est pas installé. Installez-le (par exemple : sudo apt install libreoffice-writer) ou enregistrez le document en PDF, RTF ou texte brut.</translation>
    </message>
    <message>
        <source>Cannot convert %1: no temporary folder</source>
        <translation>Impossible de convertir %1 : pas de dossier temporaire</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice did not start (%2)</source>
        <translation>Impossible de convertir %1 : LibreOffice n’a pas démarré (%2)</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice took longer than five minutes</source>
        <translation>Impossible de convertir %1 : LibreOffice a mis plus de cinq minutes</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice made no PDF%2</source>
        <translation>Impossible de convertir %1 : LibreOffice n’a produit aucun PDF%2</translation>
    </message>
    <message>
        <source>Cannot convert %1: unknown document type</source>
        <translation>Impossible de convertir %1 : type de document inconnu</translation>
    </message>
</context>
<context>
    <name>FlashBookOutput</name>
    <message>
        <source>it is a symbolic link, which is not followed</source>
        <translation>c’est un lien symbolique, qui n’est pas suivi</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is no longer inside the folder it was taken from (%1)</source>
        <translation>il n’est plus dans le dossier d’où il a été pris (%1)</translation>
    </message>
    <message>
        <source>cannot create the folder: %1</source>
        <translation>impossible de créer le dossier : %1</translation>
    </message>
    <message>
        <source>the source file %1 does not exist</source>
        <translation>le fichier source %1 n’existe pas</translation>
    </message>
    <message>
        <source>cannot copy %1: %2</source>
        <translation>impossible de copier %1 : %2</translation>
    </message>
    <message>
        <source>cannot compress book.xml</source>
        <translation>impossible de compresser book.xml</translation>
    </message>
    <message>
        <source>cannot encrypt book.xml</source>
        <translation>impossible de chiffrer book.xml</translation>
    </message>
    <message>
        <source>the template has no HTML page</source>
        <translation>le modèle n’a pas de page HTML</translation>
    </message>
    <message>
        <source>The book folder %1 does not exist.</source>
        <translation>Le dossier du livre %1 n’existe pas.</translation>
    </message>
    <message>
        <source>%1 holds files that are not part of a book, where the book would go: %2. Publishing would replace them.</source>
        <translation>%1 contient des fichiers qui ne font pas partie d’un livre, là où irait le livre : %2. La publication les remplacerait.</translation>
    </message>
</context>
<context>
    <name>FlashBookOutputApp</name>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 n’est pas un dossier</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>impossible de créer %1 : %2</translation>
    </message>
    <message>
        <source>cannot copy %1</source>
        <translation>impossible de copier %1</translation>
    </message>
    <message>
        <source>cannot copy the application skeleton: %1</source>
        <translation>impossible de copier le squelette de l’application : %1</translation>
    </message>
</context>
<context>
    <name>FlashOutlinePDF</name>
    <message>
        <source>The document has more than %1 bookmarks; the rest were ignored.</source>
        <translation>Le document a plus de %1 signets ; les autres ont été ignorés.</translation>
    </message>
    <message>
        <source>Bookmarks nested deeper than %1 levels were ignored.</source>
        <translation>Les signets imbriqués sur plus de %1 niveaux ont été ignorés.</translation>
    </message>
</context>
<context>
    <name>FlashPageSourcePDF</name>
    <message>
        <source>Cannot open %1: the document has no pages</source>
        <translation>Impossible d’ouvrir %1 : le document n’a aucune page</translation>
    </message>
    <message>
        <source>%1 is damaged and was repaired; some pages may be missing or incomplete.</source>
        <translation>%1 est endommagé et a été réparé ; certaines pages peuvent manquer ou être incomplètes.</translation>
    </message>
    <message>
        <source>Page %1 is not in %2 (%3 pages) and was skipped.</source>
        <translation>La page %1 n’est pas dans %2 (%3 pages) et a été ignorée.</translation>
    </message>
    <message>
        <source>Pages %1 are not in %2 (%3 pages) and were skipped.</source>
        <translation>Les pages %1 ne sont pas dans %2 (%3 pages) et ont été ignorées.</translation>
    </message>
    <message>
        <source>The printed page numbers of %1 could not be read.</source>
        <translation>Les numéros de page imprimés de %1 n’ont pas pu être lus.</translation>
    </message>
    <message>
        <source>The page range &quot;%1&quot; selects no page of %2 (%3 pages).</source>
        <translation>La plage de pages « %1 » ne sélectionne aucune page de %2 (%3 pages).</translation>
    </message>
</context>
<context>
    <name>FlashPagesAnnotationsPDF</name>
    <message>
        <source>Page %1 is not in %2 (%3 pages); its links were skipped.</source>
        <translation>La page %1 n’est pas dans %2 (%3 pages) ; ses liens ont été ignorés.</translation>
    </message>
    <message>
        <source>Page %1 has %2 annotations; only the first %3 were read.</source>
        <translation>La page %1 a %2 annotations ; seules les %3 premières ont été lues.</translation>
    </message>
    <message>
        <source>Page %1: links to %2 addresses were dropped; only web and mail links are kept.</source>
        <translation>Page %1 : les liens vers des adresses %2 ont été retirés ; seuls les liens web et mail sont gardés.</translation>
    </message>
    <message>
        <source>Page %1: a link address of %2 bytes is too long and was dropped.</source>
        <translation>Page %1 : une adresse de lien de %2 octets est trop longue et a été retirée.</translation>
    </message>
</context>
<context>
    <name>FlashTemplate</name>
    <message>
        <source>cannot read the file</source>
        <translation>impossible de lire le fichier</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>le fichier est trop gros</translation>
    </message>
    <message>
        <source>not readable as XML, even leniently</source>
        <translation>illisible comme XML, même avec tolérance</translation>
    </message>
    <message>
        <source>%1 cannot be used as a settings file: %2</source>
        <translation>%1 ne peut pas servir de fichier de réglages : %2</translation>
    </message>
    <message>
        <source>it is too large for a settings file</source>
        <translation>il est trop gros pour un fichier de réglages</translation>
    </message>
    <message>
        <source>it holds binary data, not KEY=VALUE lines</source>
        <translation>il contient des données binaires, pas des lignes CLÉ=VALEUR</translation>
    </message>
    <message>
        <source>it has no KEY=VALUE lines</source>
        <translation>il n’a aucune ligne CLÉ=VALEUR</translation>
    </message>
    <message>
        <source>none of its keys names a property of the template &quot;%1&quot;</source>
        <translation>aucune de ses clés ne nomme une propriété du modèle « %1 »</translation>
    </message>
    <message>
        <source>%1 leaves the style folder</source>
        <translation>%1 sort du dossier du style</translation>
    </message>
    <message>
        <source>%1 is outside the settings file&apos;s folder</source>
        <translation>%1 est en dehors du dossier du fichier de réglages</translation>
    </message>
    <message>
        <source>%1: %2; not taken</source>
        <translation>%1 : %2 ; non repris</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 n’existe pas</translation>
    </message>
    <message>
        <source>%1 could not be copied beside the settings: %2</source>
        <translation>%1 n’a pas pu être copié à côté des réglages : %2</translation>
    </message>
</context>
<context>
    <name>FlashTemplatePropertyModel</name>
    <message>
        <source>(Untitled)</source>
        <translation>(Sans titre)</translation>
    </message>
    <message>
        <source>(Unknown)</source>
        <translation>(Inconnu)</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Propriété</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valeur</translation>
    </message>
</context>
<context>
    <name>FlashTmplColorCell</name>
    <message>
        <source>Choose a colour</source>
        <translation>Choisir une couleur</translation>
    </message>
</context>
<context>
    <name>FlashTmplFileCell</name>
    <message>
        <source>Choose a file</source>
        <translation>Choisir un fichier</translation>
    </message>
</context>
<context>
    <name>FlashTmplValueDelegate</name>
    <message>
        <source>Files (%1)</source>
        <translation>Fichiers (%1)</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Choose a file</source>
        <translation>Choisir un fichier</translation>
    </message>
</context>
<context>
    <name>HTMLConfigInfo</name>
    <message>
        <source>cannot read the template page %1</source>
        <translation>impossible de lire la page du modèle %1</translation>
    </message>
</context>
<context>
    <name>ImportPDFOperation</name>
    <message>
        <source>The import was cancelled.</source>
        <translation>L’importation a été annulée.</translation>
    </message>
    <message>
        <source>The links could not be read: %1</source>
        <translation>Les liens n’ont pas pu être lus : %1</translation>
    </message>
    <message>
        <source>The bookmarks could not be read: %1</source>
        <translation>Les signets n’ont pas pu être lus : %1</translation>
    </message>
</context>
<context>
    <name>ImportWindowDelegate</name>
    <message>
        <source>Import a document</source>
        <translation>Importer un document</translation>
    </message>
    <message>
        <source>A PDF, text or RTF document</source>
        <translation>Un document PDF, texte ou RTF</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Parcourir...</translation>
    </message>
    <message>
        <source>O&amp;pen</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>Open the document that is imported</source>
        <translation>Ouvrir le document importé</translation>
    </message>
    <message>
        <source>&amp;All pages</source>
        <translation>&amp;Toutes les pages</translation>
    </message>
    <message>
        <source>Pa&amp;ges:</source>
        <translation>Pa&amp;ges :</translation>
    </message>
    <message>
        <source>e.g. 1-5,8,11-13</source>
        <translation>p. ex. 1-5,8,11-13</translation>
    </message>
    <message>
        <source>Best (100)</source>
        <translation>Maximale (100)</translation>
    </message>
    <message>
        <source>High (85)</source>
        <translation>Haute (85)</translation>
    </message>
    <message>
        <source>Medium (65)</source>
        <translation>Moyenne (65)</translation>
    </message>
    <message>
        <source>Low (45)</source>
        <translation>Basse (45)</translation>
    </message>
    <message>
        <source>Lowest (25)</source>
        <translation>Minimale (25)</translation>
    </message>
    <message>
        <source>Lightest per page (WebP or JPEG)</source>
        <translation>La plus légère par page (WebP ou JPEG)</translation>
    </message>
    <message>
        <source>WebP</source>
        <translation>WebP</translation>
    </message>
    <message>
        <source>JPEG (as older books)</source>
        <translation>JPEG (comme les anciens livres)</translation>
    </message>
    <message>
        <source>Pages of text are stored without loss, photographs at the quality chosen</source>
        <translation>Les pages de texte sont enregistrées sans perte, les photos à la qualité choisie</translation>
    </message>
    <message>
        <source>Import &amp;links</source>
        <translation>Importer les &amp;liens</translation>
    </message>
    <message>
        <source>Import boo&amp;kmarks</source>
        <translation>Importer les &amp;signets</translation>
    </message>
    <message>
        <source>Make the &amp;text searchable</source>
        <translation>Rendre le te&amp;xte cherchable</translation>
    </message>
    <message>
        <source>Sharp &amp;zoom pictures</source>
        <translation>Images de &amp;zoom nettes</translation>
    </message>
    <message>
        <source>Adds a picture of twice the resolution for each page, shown when the reader zooms in</source>
        <translation>Ajoute pour chaque page une image de double résolution, montrée quand le lecteur agrandit</translation>
    </message>
    <message>
        <source>&amp;Document:</source>
        <translation>&amp;Document :</translation>
    </message>
    <message>
        <source>&amp;Range:</source>
        <translation>&amp;Plage :</translation>
    </message>
    <message>
        <source>&amp;Quality:</source>
        <translation>&amp;Qualité :</translation>
    </message>
    <message>
        <source>Pict&amp;ures:</source>
        <translation>&amp;Images :</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importer</translation>
    </message>
    <message>
        <source>Choose a document</source>
        <translation>Choisir un document</translation>
    </message>
    <message>
        <source>Documents (*.pdf *.txt *.rtf *.docx *.odt *.doc)</source>
        <translation>Documents (*.pdf *.txt *.rtf *.docx *.odt *.doc)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>%1 n’a pas pu être ouvert : %2.</translation>
    </message>
    <message>
        <source>Import file does not exist.</source>
        <translation>Le fichier à importer n’existe pas.</translation>
    </message>
    <message>
        <source>Preparing the document, please wait...</source>
        <translation>Préparation du document, veuillez patienter...</translation>
    </message>
    <message>
        <source>The import failed.</source>
        <translation>L’importation a échoué.</translation>
    </message>
    <message>
        <source>Converting page %L1 of %L2</source>
        <translation>Conversion de la page %L1 sur %L2</translation>
    </message>
    <message>
        <source>Importing page %L1 of %L2</source>
        <translation>Importation de la page %L1 sur %L2</translation>
    </message>
</context>
<context>
    <name>MuPdfDocument</name>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Impossible d’ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>le fichier est vide</translation>
    </message>
    <message>
        <source>it is not a PDF document</source>
        <translation>ce n’est pas un document PDF</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>mémoire insuffisante</translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation>le fichier est endommagé (%1)</translation>
    </message>
    <message>
        <source>the document is protected by a password</source>
        <translation>le document est protégé par un mot de passe</translation>
    </message>
</context>
<context>
    <name>OutputWindowDelegate</name>
    <message>
        <source>Publish the book</source>
        <translation>Publier le livre</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>C&amp;hoisir...</translation>
    </message>
    <message>
        <source>Op&amp;en</source>
        <translation>Ou&amp;vrir</translation>
    </message>
    <message>
        <source>Show the folder in the file manager</source>
        <translation>Afficher le dossier dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>&amp;Web folder (plays in any browser)</source>
        <translation>Dossier &amp;web (s’ouvre dans tout navigateur)</translation>
    </message>
    <message>
        <source>&amp;Application bundle</source>
        <translation>Paquet d’&amp;application</translation>
    </message>
    <message>
        <source>&amp;Output folder:</source>
        <translation>Dossier de &amp;sortie :</translation>
    </message>
    <message>
        <source>Page &amp;name:</source>
        <translation>&amp;Nom de la page :</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titre :</translation>
    </message>
    <message>
        <source>Publish as:</source>
        <translation>Publier en tant que :</translation>
    </message>
    <message>
        <source>&amp;Publish</source>
        <translation>&amp;Publier</translation>
    </message>
    <message>
        <source>Writing page %L1 of %L2...</source>
        <translation>Écriture de la page %L1 sur %L2...</translation>
    </message>
    <message>
        <source>Choose folder</source>
        <translation>Choisir un dossier</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>%1 n’a pas pu être ouvert : %2.</translation>
    </message>
    <message>
        <source>Publishing...</source>
        <translation>Publication...</translation>
    </message>
    <message>
        <source>&amp;Open it</source>
        <translation>&amp;L’ouvrir</translation>
    </message>
    <message>
        <source>&amp;Show in Folder</source>
        <translation>Afficher dans le &amp;dossier</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Non</translation>
    </message>
    <message>
        <source>%1

Publish there all the same?</source>
        <translation>%1

Publier là quand même ?</translation>
    </message>
    <message>
        <source>Publish There</source>
        <translation>Publier là</translation>
    </message>
    <message>
        <source>%1

Replace them with the book?</source>
        <translation>%1

Les remplacer par le livre ?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>EP&amp;UB e-book (for e-book readers and stores)</source>
        <translation>Livre EP&amp;UB (pour liseuses et librairies)</translation>
    </message>
</context>
<context>
    <name>PDFToSWFPageConverter</name>
    <message>
        <source>Page %1 is very large and was drawn at a lower resolution.</source>
        <translation>La page %1 est très grande et a été dessinée à une résolution plus faible.</translation>
    </message>
    <message>
        <source>The text of page %1 could not be read; it will not be found by search.</source>
        <translation>Le texte de la page %1 n’a pas pu être lu ; la recherche ne le trouvera pas.</translation>
    </message>
    <message>
        <source>Page %1 could not be drawn (%2); a blank page stands in its place.</source>
        <translation>La page %1 n’a pas pu être dessinée (%2) ; une page blanche la remplace.</translation>
    </message>
    <message>
        <source>Page %1 holds more than %2 words; only the first %2 will be found by search.</source>
        <translation>La page %1 contient plus de %2 mots ; la recherche ne trouvera que les %2 premiers.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d’écrire %1 : %2</translation>
    </message>
    <message>
        <source>Cannot create a work folder for the pages of %1%2</source>
        <translation>Impossible de créer un dossier de travail pour les pages de %1%2</translation>
    </message>
    <message>
        <source>Cannot start a rendering thread: %1</source>
        <translation>Impossible de lancer un fil de rendu : %1</translation>
    </message>
</context>
<context>
    <name>PageTextStore</name>
    <message>
        <source>There is no work folder for the text of the pages.</source>
        <translation>Il n’y a pas de dossier de travail pour le texte des pages.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d’écrire %1 : %2</translation>
    </message>
</context>
<context>
    <name>PrintBookCommand</name>
    <message>
        <source>usage: folivox-cli inspect BOOK_FOLDER|book.bin [--text [--page N]]
</source>
        <translation>usage : folivox-cli inspect DOSSIER_DU_LIVRE|book.bin [--text [--page N]]
</translation>
    </message>
    <message>
        <source>page %1 is not in the book</source>
        <translation>la page %1 n’est pas dans le livre</translation>
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
        <translation>Usage : folivox-cli inspect BOOK [--text [--page N]]
Déchiffre le files/book.bin d’un livre, vérifie l’archive zip qu’il contient et affiche son book.xml ;
avec --text, affiche plutôt le texte des pages du livre à partir de ses fichiers.

Options :
  --text      afficher le texte de chaque page, chacune sous une ligne « --- page N --- »
  --page N    avec --text : n’afficher que le texte de la page N (comme dans files/page/N.jpg)
  -h, --help  afficher cette aide

Arguments :
  BOOK        un dossier de livre publié, ou son files/book.bin
</translation>
    </message>
</context>
<context>
    <name>PrivateFolder</name>
    <message>
        <source>it belongs to another user (uid %1)</source>
        <translation>il appartient à un autre utilisateur (uid %1)</translation>
    </message>
    <message>
        <source>it is writable by other users</source>
        <translation>d’autres utilisateurs peuvent y écrire</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 n’est pas un dossier</translation>
    </message>
    <message>
        <source>Cannot make a private folder: %1</source>
        <translation>Impossible de créer un dossier privé : %1</translation>
    </message>
    <message>
        <source>%1 cannot be made: %2</source>
        <translation>%1 ne peut pas être créé : %2</translation>
    </message>
    <message>
        <source>%1 was not made private</source>
        <translation>%1 n’a pas été rendu privé</translation>
    </message>
    <message>
        <source>%1: other runs keep taking the new folders</source>
        <translation>%1 : d’autres exécutions prennent sans cesse les nouveaux dossiers</translation>
    </message>
</context>
<context>
    <name>PropertyValueCheck</name>
    <message>
        <source>A number is needed.</source>
        <translation>Un nombre est nécessaire.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number; type digits, such as 600.</source>
        <translation>« %1 » n’est pas un nombre ; tapez des chiffres, comme 600.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number; type one from %2.</source>
        <translation>« %1 » n’est pas un nombre entier ; tapez-en un entre %2.</translation>
    </message>
    <message>
        <source>%1 is out of range; type a number from %2.</source>
        <translation>%1 est hors limites ; tapez un nombre entre %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a colour; type #rrggbb, six hexadecimal digits such as #336699.</source>
        <translation>« %1 » n’est pas une couleur ; tapez #rrggbb, six chiffres hexadécimaux comme #336699.</translation>
    </message>
</context>
<context>
    <name>PublishCommand</name>
    <message>
        <source> Nothing was written; add --force to publish there all the same.</source>
        <translation> Rien n’a été écrit ; ajoutez --force pour publier là quand même.</translation>
    </message>
    <message>
        <source> Nothing was written; add --force to replace them.</source>
        <translation> Rien n’a été écrit ; ajoutez --force pour les remplacer.</translation>
    </message>
    <message>
        <source>Converting</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>Importing</source>
        <translation>Importation</translation>
    </message>
    <message>
        <source>%1 holds no .jpg, .png or .webp pictures</source>
        <translation>%1 ne contient aucune image .jpg, .png ou .webp</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>avertissement : %1</translation>
    </message>
    <message>
        <source>cannot import %1</source>
        <translation>impossible d’importer %1</translation>
    </message>
    <message>
        <source>Publishes a book folder (or an application bundle) from a document or a folder of pictures.</source>
        <translation>Publie un dossier de livre (ou un paquet d’application) à partir d’un document ou d’un dossier d’images.</translation>
    </message>
    <message>
        <source>a PDF, text or RTF document, or a folder of .jpg, .png or .webp pictures</source>
        <translation>un document PDF, texte ou RTF, ou un dossier d’images .jpg, .png ou .webp</translation>
    </message>
    <message>
        <source>book folder</source>
        <translation>dossier du livre</translation>
    </message>
    <message>
        <source>HTML page name (empty: index)</source>
        <translation>nom de la page HTML (vide : index)</translation>
    </message>
    <message>
        <source>the title the book and its page show (default: the document&apos;s own title, else the input&apos;s name)</source>
        <translation>le titre que montrent le livre et sa page (par défaut : le titre du document, sinon le nom de l’entrée)</translation>
    </message>
    <message>
        <source>pages</source>
        <translation>pages</translation>
    </message>
    <message>
        <source>keep the links</source>
        <translation>garder les liens</translation>
    </message>
    <message>
        <source>keep the bookmarks</source>
        <translation>garder les signets</translation>
    </message>
    <message>
        <source>template</source>
        <translation>modèle</translation>
    </message>
    <message>
        <source>style</source>
        <translation>style</translation>
    </message>
    <message>
        <source>settings file</source>
        <translation>fichier de réglages</translation>
    </message>
    <message>
        <source>application bundle</source>
        <translation>paquet d’application</translation>
    </message>
    <message>
        <source>rendering threads</source>
        <translation>fils de rendu</translation>
    </message>
    <message>
        <source>replace files in the way that are not part of a book, and publish into a folder that other users may write to</source>
        <translation>remplacer les fichiers gênants qui ne font pas partie d’un livre, et publier dans un dossier où d’autres utilisateurs peuvent écrire</translation>
    </message>
    <message>
        <source>leave the text out: no search</source>
        <translation>laisser le texte de côté : pas de recherche</translation>
    </message>
    <message>
        <source>no sharper pictures for zooming</source>
        <translation>pas d’images plus nettes pour le zoom</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>afficher cette aide</translation>
    </message>
    <message>
        <source>publish needs exactly one INPUT</source>
        <translation>publish demande exactement une INPUT</translation>
    </message>
    <message>
        <source>publish needs -o DIR</source>
        <translation>publish demande -o DIR</translation>
    </message>
    <message>
        <source>--quality takes a level from 0 (best) to 4 (smallest)</source>
        <translation>--quality attend un niveau de 0 (le meilleur) à 4 (le plus petit)</translation>
    </message>
    <message>
        <source>--jobs takes a number of threads (0: one per core)</source>
        <translation>--jobs attend un nombre de fils (0 : un par cœur)</translation>
    </message>
    <message>
        <source>there is no template &quot;%1&quot; (see folivox-cli templates)</source>
        <translation>il n’y a pas de modèle « %1 » (voir folivox-cli templates)</translation>
    </message>
    <message>
        <source>the settings file %1 does not exist</source>
        <translation>le fichier de réglages %1 n’existe pas</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 n’existe pas</translation>
    </message>
    <message>
        <source>stopped before publishing</source>
        <translation>arrêté avant la publication</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>impossible de créer le dossier %1 : %2</translation>
    </message>
    <message>
        <source>stopped by signal %1 before the book was put in place; nothing in %2 was changed</source>
        <translation>arrêté par le signal %1 avant la mise en place du livre ; rien n’a été modifié dans %2</translation>
    </message>
    <message>
        <source>publishing failed; these files could not be written:</source>
        <translation>la publication a échoué ; ces fichiers n’ont pas pu être écrits :</translation>
    </message>
    <message>
        <source>nothing in %1 was changed</source>
        <translation>rien n’a été modifié dans %1</translation>
    </message>
    <message>
        <source>copied into the book: %1 (as %2)</source>
        <translation>copié dans le livre : %1 (sous le nom %2)</translation>
    </message>
    <message>
        <source>signal %1 came while the book was put in place; it was put in place first</source>
        <translation>le signal %1 est arrivé pendant la mise en place du livre ; celle-ci a d’abord été terminée</translation>
    </message>
    <message>
        <source>template &quot;%1&quot; cannot be loaded: %2</source>
        <translation>le modèle « %1 » ne peut pas être chargé : %2</translation>
    </message>
    <message>
        <source>template &quot;%1&quot; has no style &quot;%2&quot; (see folivox-cli templates)</source>
        <translation>le modèle « %1 » n’a pas de style « %2 » (voir folivox-cli templates)</translation>
    </message>
    <message>
        <source>%1 holds no picture that can be a page</source>
        <translation>%1 ne contient aucune image pouvant servir de page</translation>
    </message>
    <message>
        <source>page pictures: auto (each page as WebP or JPEG, whichever suits it), webp, jpeg (as books were before), or png (text pages PNG, photographs JPEG: the default of --format epub)</source>
        <translation>images des pages : auto (chaque page en WebP ou JPEG, selon ce qui lui convient), webp, jpeg (comme les livres d’avant) ou png (pages de texte en PNG, photos en JPEG : le choix par défaut de --format epub)</translation>
    </message>
    <message>
        <source>web (a book folder, the default) or epub (-o names the EPUB 3 file)</source>
        <translation>web (un dossier de livre, par défaut) ou epub (-o nomme le fichier EPUB 3)</translation>
    </message>
    <message>
        <source>the EPUB&apos;s author (default: the document&apos;s own)</source>
        <translation>l’auteur de l’EPUB (par défaut : celui du document)</translation>
    </message>
    <message>
        <source>the EPUB&apos;s language tag, such as en or de-CH (default: the document&apos;s own, else und)</source>
        <translation>la balise de langue de l’EPUB, comme en ou de-CH (par défaut : celle du document, sinon und)</translation>
    </message>
    <message>
        <source>seconds one page may take to draw; a slower page is left blank (0: no limit)</source>
        <translation>secondes que peut prendre le dessin d’une page ; une page plus lente reste blanche (0 : sans limite)</translation>
    </message>
    <message>
        <source>--format takes web or epub</source>
        <translation>--format prend web ou epub</translation>
    </message>
    <message>
        <source>--app and --name are for web books; with --format epub, -o names the file</source>
        <translation>--app et --name sont pour les livres web ; avec --format epub, -o nomme le fichier</translation>
    </message>
    <message>
        <source>--author and --language are for --format epub</source>
        <translation>--author et --language sont pour --format epub</translation>
    </message>
    <message>
        <source>--language takes a language tag such as en, de-CH or pt-BR</source>
        <translation>--language prend une balise de langue comme en, de-CH ou pt-BR</translation>
    </message>
    <message>
        <source>--page-timeout takes a number of seconds (0: no limit)</source>
        <translation>--page-timeout prend un nombre de secondes (0 : sans limite)</translation>
    </message>
    <message>
        <source>--picture-format takes auto, webp, jpeg or png</source>
        <translation>--picture-format prend auto, webp, jpeg ou png</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>it is a folder, not a regular file</source>
        <translation>c’est un dossier, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is a named pipe, not a regular file</source>
        <translation>c’est un tube nommé, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation>c’est un périphérique, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is a socket, not a regular file</source>
        <translation>c’est un socket, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>le fichier n’existe pas</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>il dépasse %1 octets</translation>
    </message>
</context>
<context>
    <name>RtfReader</name>
    <message>
        <source>it is not an RTF document</source>
        <translation>ce n’est pas un document RTF</translation>
    </message>
</context>
<context>
    <name>SelectTemplateWindowDelegate</name>
    <message>
        <source>Choose a template</source>
        <translation>Choisir un modèle</translation>
    </message>
    <message>
        <source>&amp;Templates</source>
        <translation>&amp;Modèles</translation>
    </message>
    <message>
        <source>&amp;Styles</source>
        <translation>&amp;Styles</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Actualiser</translation>
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
        <translation>Usage : folivox-cli templates
Liste les modèles installés avec leur nombre de propriétés, et les styles de chacun ;
le style par défaut est marqué.

Options :
  -h, --help  afficher cette aide
</translation>
    </message>
    <message>
        <source>takes no arguments</source>
        <translation>ne prend aucun argument</translation>
    </message>
    <message>
        <source>no templates found in %1</source>
        <translation>aucun modèle trouvé dans %1</translation>
    </message>
</context>
<context>
    <name>TextPagePrinter</name>
    <message>
        <source>the PDF could not be started</source>
        <translation>le PDF n’a pas pu être commencé</translation>
    </message>
    <message>
        <source>a page could not be added</source>
        <translation>une page n’a pas pu être ajoutée</translation>
    </message>
</context>
<context>
    <name>folivox-cli</name>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>commande inconnue « %1 »</translation>
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
        <translation>Usage : folivox-cli COMMANDE [ARGUMENTS]
Transforme un document PDF, texte ou RTF, ou un dossier d’images, en livre à feuilleter
que tout navigateur récent ouvre.

Commandes :
  publish INPUT -o DIR [options]  publier un livre à partir d’un document ou d’un dossier d’images
  inspect BOOK [--text]           afficher le book.xml d’un dossier de livre ou d’un book.bin,
                                  ou le texte du livre
  templates                       lister les modèles et leurs styles
  batch LIST -o OUTDIR [options]  publier chaque document d’une liste, chacun dans OUTDIR/NAME/

Options :
  -h, --help                      afficher cette aide ; après une commande, l’aide de cette commande
  --version                       afficher la version

« folivox-cli COMMANDE --help » liste les options d’une commande.
</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Save a picture of the window once the preview has loaded, then quit.</source>
        <translation>Enregistrer une image de la fenêtre une fois l’aperçu chargé, puis quitter.</translation>
    </message>
    <message>
        <source>With --screenshot: import this document first.</source>
        <translation>Avec --screenshot : importer d’abord ce document.</translation>
    </message>
    <message>
        <source>With --screenshot: wait this long after loading (default 1500).</source>
        <translation>Avec --screenshot : attendre ce délai après le chargement (1500 par défaut).</translation>
    </message>
    <message>
        <source>With --screenshot: open this page of the preview.</source>
        <translation>Avec --screenshot : ouvrir cette page de l’aperçu.</translation>
    </message>
    <message>
        <source>A PDF, text or RTF document to import (the import sheet opens with it).</source>
        <translation>Un document PDF, texte ou RTF à importer (la fenêtre d’importation s’ouvre avec lui).</translation>
    </message>
</context>
</TS>
