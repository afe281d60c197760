<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Folivox</source>
        <translation>Acerca de Folivox</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Folivox&lt;/h2&gt;&lt;p&gt;Version %1&lt;/p&gt;&lt;p&gt;Turns PDF, text and RTF documents into page-flip e-books that play in any modern browser.&lt;/p&gt;&lt;p&gt;Licensed under the GNU Affero General Public License, version 3 or later.&lt;/p&gt;&lt;p&gt;Built with Qt, MuPDF, libjpeg-turbo, pugixml, libxml2 and zlib, each under its own licence. Templates, pictures and the page player are Folivox&apos;s own work.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Folivox&lt;/h2&gt;&lt;p&gt;Versión %1&lt;/p&gt;&lt;p&gt;Convierte documentos PDF, de texto y RTF en libros de pasar página que se abren en cualquier navegador actual.&lt;/p&gt;&lt;p&gt;Con licencia GNU Affero General Public License, versión 3 o posterior.&lt;/p&gt;&lt;p&gt;Hecho con Qt, MuPDF, libjpeg-turbo, pugixml, libxml2 y zlib, cada uno bajo su propia licencia. Las plantillas, las imágenes y el reproductor de páginas son obra propia de Folivox.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>Description</source>
        <translation>Descripción</translation>
    </message>
    <message>
        <source>Select a property to read what it does.</source>
        <translation>Seleccione una propiedad para leer qué hace.</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importar...</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importar</translation>
    </message>
    <message>
        <source>Import a PDF, text or RTF document</source>
        <translation>Importar un documento PDF, de texto o RTF</translation>
    </message>
    <message>
        <source>&amp;Template...</source>
        <translation>&amp;Plantilla...</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>&amp;Apply Change</source>
        <translation>&amp;Aplicar cambio</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>Apply change</source>
        <translation>Aplicar cambio</translation>
    </message>
    <message>
        <source>Rebuild the preview with the changed properties</source>
        <translation>Reconstruir la vista previa con las propiedades cambiadas</translation>
    </message>
    <message>
        <source>&amp;Publish...</source>
        <translation>P&amp;ublicar...</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Publish</source>
        <translation>Publicar</translation>
    </message>
    <message>
        <source>Publish the book into a folder or as an application</source>
        <translation>Publicar el libro en una carpeta o como aplicación</translation>
    </message>
    <message>
        <source>&amp;Export Settings...</source>
        <translation>&amp;Exportar ajustes...</translation>
    </message>
    <message>
        <source>Export settings</source>
        <translation>Exportar ajustes</translation>
    </message>
    <message>
        <source>Import &amp;Settings...</source>
        <translation>Importar a&amp;justes...</translation>
    </message>
    <message>
        <source>Import settings</source>
        <translation>Importar ajustes</translation>
    </message>
    <message>
        <source>Folivox &amp;Manual</source>
        <translation>&amp;Manual de Folivox</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Open the Folivox manual</source>
        <translation>Abrir el manual de Folivox</translation>
    </message>
    <message>
        <source>&amp;About Folivox...</source>
        <translation>A&amp;cerca de Folivox...</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rehacer</translation>
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
        <translation>Elegir una plantilla y un estilo</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Órdenes</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Abrir &amp;reciente</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Book</source>
        <translation>&amp;Libro</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>Quit Folivox</source>
        <translation>Salir de Folivox</translation>
    </message>
    <message>
        <source>The book has changes that were neither published nor exported.</source>
        <translation>El libro tiene cambios que no se han publicado ni exportado.</translation>
    </message>
    <message>
        <source>If you quit now, they are lost.</source>
        <translation>Si sale ahora, se perderán.</translation>
    </message>
    <message>
        <source>&amp;Quit Without Publishing</source>
        <translation>&amp;Salir sin publicar</translation>
    </message>
    <message>
        <source>&amp;Clear Menu</source>
        <translation>&amp;Vaciar la lista</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Deshacer %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rehacer %1</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Building the preview...</source>
        <translation>Creando la vista previa...</translation>
    </message>
    <message>
        <source>... and %1 more.</source>
        <translation>... y %1 más.</translation>
    </message>
    <message>
        <source>The document was imported, with warnings.</source>
        <translation>El documento se importó, con advertencias.</translation>
    </message>
    <message>
        <source>Export Settings</source>
        <translation>Exportar ajustes</translation>
    </message>
    <message>
        <source>Settings files (*.txt)</source>
        <translation>Archivos de ajustes (*.txt)</translation>
    </message>
    <message>
        <source>The settings could not be written to %1: %2</source>
        <translation>No se pudieron escribir los ajustes en %1: %2</translation>
    </message>
    <message>
        <source>The settings were written to %1, but these files could not be put beside them, so importing the settings again will leave them out:
%2</source>
        <translation>Los ajustes se escribieron en %1, pero estos archivos no se pudieron poner a su lado, así que al importar de nuevo los ajustes faltarán:
%2</translation>
    </message>
    <message>
        <source>Import Settings</source>
        <translation>Importar ajustes</translation>
    </message>
    <message>
        <source>These files were not taken:
%1</source>
        <translation>Estos archivos no se tomaron:
%1</translation>
    </message>
    <message>
        <source>The style %1 set its own %2.</source>
        <translation>El estilo %1 fijó sus propios valores de: %2.</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 has no %2; your values for them were left out.</source>
        <translation>%1 no tiene %2; sus valores para ellos se omitieron.</translation>
    </message>
    <message>
        <source>Folivox Manual</source>
        <translation>Manual de Folivox</translation>
    </message>
    <message>
        <source>The manual is missing: %1</source>
        <translation>Falta el manual: %1</translation>
    </message>
    <message>
        <source>Publish as &amp;EPUB...</source>
        <translation>Publicar como &amp;EPUB...</translation>
    </message>
    <message>
        <source>Ctrl+Shift+P</source>
        <translation>Ctrl+Shift+P</translation>
    </message>
    <message>
        <source>Publish the book as an EPUB file for e-book readers and stores</source>
        <translation>Publicar el libro como archivo EPUB para lectores de libros electrónicos y tiendas</translation>
    </message>
</context>
<context>
    <name>BatchCommand</name>
    <message>
        <source>the list of documents; - for the standard input</source>
        <translation>la lista de documentos; - para la entrada estándar</translation>
    </message>
    <message>
        <source>the folder that gets a book folder for each document</source>
        <translation>la carpeta que recibe una carpeta de libro por cada documento</translation>
    </message>
    <message>
        <source>documents published at once (default 1)</source>
        <translation>documentos publicados a la vez (por defecto 1)</translation>
    </message>
    <message>
        <source>render threads of each document (default: the cores shared among the documents under way)</source>
        <translation>hilos de renderizado de cada documento (por defecto: los núcleos repartidos entre los documentos en curso)</translation>
    </message>
    <message>
        <source>stop a document that takes longer than this (default 0: no limit)</source>
        <translation>detener un documento que tarde más que esto (por defecto 0: sin límite)</translation>
    </message>
    <message>
        <source>publish only the K-th of N equal slices of the list (K from 0), with the names the whole list gives: one slice for each of N machines</source>
        <translation>publicar solo la K-ésima de N partes iguales de la lista (K desde 0), con los nombres que da la lista entera: una parte para cada una de N máquinas</translation>
    </message>
    <message>
        <source>skip documents whose book is there from the same input bytes and options</source>
        <translation>omitir los documentos cuyo libro ya existe a partir de los mismos bytes de entrada y opciones</translation>
    </message>
    <message>
        <source>one JSON line per document on stdout: input, output, pages, bytes, seconds, status (ok, skipped, failed, timeout, stopped), error</source>
        <translation>una línea JSON por documento en stdout: input, output, pages, bytes, seconds, status (ok, skipped, failed, timeout, stopped), error</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>mostrar esta ayuda</translation>
    </message>
    <message>
        <source>needs exactly one LIST</source>
        <translation>necesita exactamente una LIST</translation>
    </message>
    <message>
        <source>--jobs takes a number from 1 to 256</source>
        <translation>--jobs admite un número de 1 a 256</translation>
    </message>
    <message>
        <source>--threads takes a number from 0 (share the cores) to 256</source>
        <translation>--threads admite un número de 0 (repartir los núcleos) a 256</translation>
    </message>
    <message>
        <source>--timeout takes a number of seconds (0: no limit)</source>
        <translation>--timeout admite un número de segundos (0: sin límite)</translation>
    </message>
    <message>
        <source>--part takes K/N, a slice K from 0 to N-1</source>
        <translation>--part admite K/N, una parte K de 0 a N-1</translation>
    </message>
    <message>
        <source>OUTDIR cannot be the root folder</source>
        <translation>OUTDIR no puede ser la carpeta raíz</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>no se puede crear la carpeta %1</translation>
    </message>
    <message>
        <source>needs -o OUTDIR</source>
        <translation>necesita -o OUTDIR</translation>
    </message>
</context>
<context>
    <name>BatchList</name>
    <message>
        <source>%1: the batch chooses the output folder (OUTDIR/NAME); leave it out</source>
        <translation>%1: el lote elige la carpeta de salida (OUTDIR/NAME); quítelo</translation>
    </message>
    <message>
        <source>%1 has no place in a batch line</source>
        <translation>%1 no cabe en una línea del lote</translation>
    </message>
    <message>
        <source>longer than %1 bytes</source>
        <translation>más larga que %1 bytes</translation>
    </message>
    <message>
        <source>holds a NUL byte</source>
        <translation>contiene un byte NUL</translation>
    </message>
    <message>
        <source>is not UTF-8 text</source>
        <translation>no es texto UTF-8</translation>
    </message>
    <message>
        <source>has more than %1 words</source>
        <translation>tiene más de %1 palabras</translation>
    </message>
    <message>
        <source>the input is empty</source>
        <translation>la entrada está vacía</translation>
    </message>
    <message>
        <source>a $&apos; is not closed</source>
        <translation>un $&apos; no está cerrado</translation>
    </message>
    <message>
        <source>a &apos; is not closed</source>
        <translation>un &apos; no está cerrado</translation>
    </message>
    <message>
        <source>the line ends in a backslash</source>
        <translation>la línea termina en una barra invertida</translation>
    </message>
    <message>
        <source>the list is larger than %1 MB; split it</source>
        <translation>la lista supera %1 MB; divídala</translation>
    </message>
    <message>
        <source>the list has more than %1 documents; split it</source>
        <translation>la lista tiene más de %1 documentos; divídala</translation>
    </message>
    <message>
        <source>cannot read the list %1: %2</source>
        <translation>no se puede leer la lista %1: %2</translation>
    </message>
</context>
<context>
    <name>BookSession</name>
    <message>
        <source>Open the result files?</source>
        <translation>¿Abrir los archivos resultantes?</translation>
    </message>
    <message>
        <source>Publishing was cancelled.</source>
        <translation>La publicación se canceló.</translation>
    </message>
    <message>
        <source>Other users may change what is in the folder.</source>
        <translation>Otros usuarios pueden cambiar lo que hay en la carpeta.</translation>
    </message>
    <message>
        <source>The folder holds files that are not part of a book.</source>
        <translation>La carpeta contiene archivos que no forman parte de un libro.</translation>
    </message>
    <message>
        <source>Publishing failed.</source>
        <translation>La publicación falló.</translation>
    </message>
    <message>
        <source>Publish finished! The book is in %1.</source>
        <translation>¡Publicación terminada! El libro está en %1.</translation>
    </message>
    <message>
        <source>Open it?</source>
        <translation>¿Abrirlo?</translation>
    </message>
    <message>
        <source>These files were copied into the book:</source>
        <translation>Estos archivos se copiaron en el libro:</translation>
    </message>
    <message>
        <source>Nothing in the output folder was changed.</source>
        <translation>No se cambió nada en la carpeta de salida.</translation>
    </message>
    <message>
        <source>These files could not be written:</source>
        <translation>Estos archivos no se pudieron escribir:</translation>
    </message>
    <message>
        <source>Choose the folder to publish into.</source>
        <translation>Elija la carpeta donde publicar.</translation>
    </message>
    <message>
        <source>The root folder / cannot take a book; choose a folder for it.</source>
        <translation>La carpeta raíz / no puede recibir un libro; elija una carpeta para él.</translation>
    </message>
    <message>
        <source>The page name &quot;%1&quot; cannot be used: it must not contain /, \, .. or control characters.</source>
        <translation>El nombre de página «%1» no se puede usar: no debe contener /, \, .. ni caracteres de control.</translation>
    </message>
    <message>
        <source>The preview could not be rebuilt: %1</source>
        <translation>No se pudo reconstruir la vista previa: %1</translation>
    </message>
    <message>
        <source>The preview could not be rebuilt: %1 files could not be written (%2: %3)</source>
        <translation>No se pudo reconstruir la vista previa: %1 archivos no se pudieron escribir (%2: %3)</translation>
    </message>
    <message>
        <source>There is no preview folder.</source>
        <translation>No hay carpeta de vista previa.</translation>
    </message>
    <message>
        <source>There is no book to preview.</source>
        <translation>No hay libro que previsualizar.</translation>
    </message>
    <message>
        <source>Demonstration pages</source>
        <translation>Páginas de demostración</translation>
    </message>
    <message>
        <source>There is no template.</source>
        <translation>No hay plantilla.</translation>
    </message>
    <message>
        <source>No file name was given.</source>
        <translation>No se indicó ningún nombre de archivo.</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>No se pudo escribir el archivo.</translation>
    </message>
    <message>
        <source>There is no template to apply settings to.</source>
        <translation>No hay plantilla a la que aplicar los ajustes.</translation>
    </message>
    <message>
        <source>There is no book to publish.</source>
        <translation>No hay libro que publicar.</translation>
    </message>
</context>
<context>
    <name>BookSourceRecord</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>no se puede leer %1: %2</translation>
    </message>
    <message>
        <source>%1 is neither a file nor a folder</source>
        <translation>%1 no es ni un archivo ni una carpeta</translation>
    </message>
</context>
<context>
    <name>BookTextReader</name>
    <message>
        <source>%1 has no text (it was published without text, or from pictures)</source>
        <translation>%1 no tiene texto (se publicó sin texto, o a partir de imágenes)</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>no se puede leer %1: %2</translation>
    </message>
    <message>
        <source>cannot read %1: a page&apos;s entry is damaged</source>
        <translation>no se puede leer %1: la entrada de una página está dañada</translation>
    </message>
</context>
<context>
    <name>BookTextWriter</name>
    <message>
        <source>cannot create the folder: %1</source>
        <translation>no se puede crear la carpeta: %1</translation>
    </message>
    <message>
        <source>the text of page %1 cannot be read back</source>
        <translation>el texto de la página %1 no se puede volver a leer</translation>
    </message>
    <message>
        <source>not every page&apos;s text could be read</source>
        <translation>no se pudo leer el texto de todas las páginas</translation>
    </message>
</context>
<context>
    <name>BookTransaction</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>La carpeta %1 no existe.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 no es una carpeta.</translation>
    </message>
    <message>
        <source>Cannot publish into %1: %2</source>
        <translation>No se puede publicar en %1: %2</translation>
    </message>
    <message>
        <source>Cannot publish into %1: %2 is not a file</source>
        <translation>No se puede publicar en %1: %2 no es un archivo</translation>
    </message>
    <message>
        <source>Another publish into %1 is under way; try again when it has finished.</source>
        <translation>Ya hay otra publicación en %1 en curso; inténtelo de nuevo cuando haya terminado.</translation>
    </message>
    <message>
        <source>Cannot lock %1 for publishing.</source>
        <translation>No se puede bloquear %1 para publicar.</translation>
    </message>
    <message>
        <source>%1 was moved or replaced while the book was written; the book was not put in place.</source>
        <translation>%1 se movió o se reemplazó mientras se escribía el libro; el libro no se puso en su sitio.</translation>
    </message>
    <message>
        <source>There is nothing to publish.</source>
        <translation>No hay nada que publicar.</translation>
    </message>
    <message>
        <source>Cannot write the book to the disk: %1</source>
        <translation>No se puede escribir el libro en el disco: %1</translation>
    </message>
    <message>
        <source>Cannot put %1 in place: %2</source>
        <translation>No se puede poner %1 en su sitio: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2 is not a folder</source>
        <translation>No se puede crear la carpeta %1: %2 no es una carpeta</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2</source>
        <translation>No se puede crear la carpeta %1: %2</translation>
    </message>
</context>
<context>
    <name>BookWeight</name>
    <message>
        <source>The book takes %1; a reader downloads %2 to open it.</source>
        <translation>El libro ocupa %1; un lector descarga %2 para abrirlo.</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 bytes</translation>
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
        <translation>no se puede iniciar %1: %2</translation>
    </message>
</context>
<context>
    <name>DesktopOpener</name>
    <message>
        <source>xdg-open, which opens files in your programs, is not installed (Debian package xdg-utils)</source>
        <translation>xdg-open, que abre los archivos en sus programas, no está instalado (paquete de Debian xdg-utils)</translation>
    </message>
    <message>
        <source>no program that opens this kind of file is set up</source>
        <translation>no hay ningún programa configurado para abrir este tipo de archivo</translation>
    </message>
    <message>
        <source>the program that opens it failed</source>
        <translation>el programa que lo abre falló</translation>
    </message>
    <message>
        <source>xdg-open ended with code %1</source>
        <translation>xdg-open terminó con el código %1</translation>
    </message>
    <message>
        <source>xdg-open could not be started</source>
        <translation>no se pudo iniciar xdg-open</translation>
    </message>
</context>
<context>
    <name>DocumentToPdf</name>
    <message>
        <source>Cannot convert %1: %2</source>
        <translation>No se puede convertir %1: %2</translation>
    </message>
    <message>
        <source>Cannot convert %1: the file is larger than %2 MB</source>
        <translation>No se puede convertir %1: el archivo supera %2 MB</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>The conversion of %1 was stopped.</source>
        <translation>La conversión de %1 se detuvo.</translation>
    </message>
    <message>
        <source>Cannot convert %1: the document is empty</source>
        <translation>No se puede convertir %1: el documento está vacío</translation>
    </message>
    <message>
        <source>Cannot convert %1: this needs LibreOffice, which is not installed. Install it (for example: sudo apt install libreoffice-writer) or save the document as PDF, RTF or plain text.</source>
        <translation>No se puede convertir %1: hace falta LibreOffice, que no está instalado. Instálelo (por ejemplo: sudo apt install libreoffice-writer) o guarde el documento como PDF, RTF o texto sin formato.</translation>
    </message>
    <message>
        <source>Cannot convert %1: no temporary folder</source>
        <translation>No se puede convertir %1: no hay carpeta temporal</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice did not start (%2)</source>
        <translation>No se puede convertir %1: LibreOffice no arrancó (%2)</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice took longer than five minutes</source>
        <translation>No se puede convertir %1: LibreOffice tardó más de cinco minutos</translation>
    </message>
    <message>
        <source>Cannot convert %1: LibreOffice made no PDF%2</source>
        <translation>No se puede convertir %1: LibreOffice no generó ningún PDF%2</translation>
    </message>
    <message>
        <source>Cannot convert %1: unknown document type</source>
        <translation>No se puede convertir %1: tipo de documento desconocido</translation>
    </message>
</context>
<context>
    <name>FlashBookOutput</name>
    <message>
        <source>it is a symbolic link, which is not followed</source>
        <translation>es un enlace simbólico, que no se sigue</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>it is no longer inside the folder it was taken from (%1)</source>
        <translation>ya no está dentro de la carpeta de la que se tomó (%1)</translation>
    </message>
    <message>
        <source>cannot create the folder: %1</source>
        <translation>no se puede crear la carpeta: %1</translation>
    </message>
    <message>
        <source>the source file %1 does not exist</source>
        <translation>el archivo de origen %1 no existe</translation>
    </message>
    <message>
        <source>cannot copy %1: %2</source>
        <translation>no se puede copiar %1: %2</translation>
    </message>
    <message>
        <source>cannot compress book.xml</source>
        <translation>no se puede comprimir book.xml</translation>
    </message>
    <message>
        <source>cannot encrypt book.xml</source>
        <translation>no se puede cifrar book.xml</translation>
    </message>
    <message>
        <source>the template has no HTML page</source>
        <translation>la plantilla no tiene página HTML</translation>
    </message>
    <message>
        <source>The book folder %1 does not exist.</source>
        <translation>La carpeta del libro %1 no existe.</translation>
    </message>
    <message>
        <source>%1 holds files that are not part of a book, where the book would go: %2. Publishing would replace them.</source>
        <translation>%1 contiene archivos que no forman parte de un libro, donde iría el libro: %2. Publicar los reemplazaría.</translation>
    </message>
</context>
<context>
    <name>FlashBookOutputApp</name>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 no es una carpeta</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>no se puede crear %1: %2</translation>
    </message>
    <message>
        <source>cannot copy %1</source>
        <translation>no se puede copiar %1</translation>
    </message>
    <message>
        <source>cannot copy the application skeleton: %1</source>
        <translation>no se puede copiar el esqueleto de la aplicación: %1</translation>
    </message>
</context>
<context>
    <name>FlashOutlinePDF</name>
    <message>
        <source>The document has more than %1 bookmarks; the rest were ignored.</source>
        <translation>El documento tiene más de %1 marcadores; el resto se ignoró.</translation>
    </message>
    <message>
        <source>Bookmarks nested deeper than %1 levels were ignored.</source>
        <translation>Se ignoraron los marcadores anidados a más de %1 niveles.</translation>
    </message>
</context>
<context>
    <name>FlashPageSourcePDF</name>
    <message>
        <source>Cannot open %1: the document has no pages</source>
        <translation>No se puede abrir %1: el documento no tiene páginas</translation>
    </message>
    <message>
        <source>%1 is damaged and was repaired; some pages may be missing or incomplete.</source>
        <translation>%1 está dañado y se reparó; puede que falten páginas o estén incompletas.</translation>
    </message>
    <message>
        <source>Page %1 is not in %2 (%3 pages) and was skipped.</source>
        <translation>La página %1 no está en %2 (%3 páginas) y se omitió.</translation>
    </message>
    <message>
        <source>Pages %1 are not in %2 (%3 pages) and were skipped.</source>
        <translation>Las páginas %1 no están en %2 (%3 páginas) y se omitieron.</translation>
    </message>
    <message>
        <source>The printed page numbers of %1 could not be read.</source>
        <translation>No se pudieron leer los números de página impresos de %1.</translation>
    </message>
    <message>
        <source>The page range &quot;%1&quot; selects no page of %2 (%3 pages).</source>
        <translation>El intervalo de páginas «%1» no selecciona ninguna página de %2 (%3 páginas).</translation>
    </message>
</context>
<context>
    <name>FlashPagesAnnotationsPDF</name>
    <message>
        <source>Page %1 is not in %2 (%3 pages); its links were skipped.</source>
        <translation>La página %1 no está en %2 (%3 páginas); sus enlaces se omitieron.</translation>
    </message>
    <message>
        <source>Page %1 has %2 annotations; only the first %3 were read.</source>
        <translation>La página %1 tiene %2 anotaciones; solo se leyeron las %3 primeras.</translation>
    </message>
    <message>
        <source>Page %1: links to %2 addresses were dropped; only web and mail links are kept.</source>
        <translation>Página %1: se quitaron los enlaces a direcciones %2; solo se conservan los enlaces web y de correo.</translation>
    </message>
    <message>
        <source>Page %1: a link address of %2 bytes is too long and was dropped.</source>
        <translation>Página %1: una dirección de enlace de %2 bytes es demasiado larga y se quitó.</translation>
    </message>
</context>
<context>
    <name>FlashTemplate</name>
    <message>
        <source>cannot read the file</source>
        <translation>no se puede leer el archivo</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>el archivo es demasiado grande</translation>
    </message>
    <message>
        <source>not readable as XML, even leniently</source>
        <translation>no se puede leer como XML, ni siquiera con tolerancia</translation>
    </message>
    <message>
        <source>%1 cannot be used as a settings file: %2</source>
        <translation>%1 no sirve como archivo de ajustes: %2</translation>
    </message>
    <message>
        <source>it is too large for a settings file</source>
        <translation>es demasiado grande para un archivo de ajustes</translation>
    </message>
    <message>
        <source>it holds binary data, not KEY=VALUE lines</source>
        <translation>contiene datos binarios, no líneas CLAVE=VALOR</translation>
    </message>
    <message>
        <source>it has no KEY=VALUE lines</source>
        <translation>no tiene líneas CLAVE=VALOR</translation>
    </message>
    <message>
        <source>none of its keys names a property of the template &quot;%1&quot;</source>
        <translation>ninguna de sus claves nombra una propiedad de la plantilla «%1»</translation>
    </message>
    <message>
        <source>%1 leaves the style folder</source>
        <translation>%1 sale de la carpeta del estilo</translation>
    </message>
    <message>
        <source>%1 is outside the settings file&apos;s folder</source>
        <translation>%1 está fuera de la carpeta del archivo de ajustes</translation>
    </message>
    <message>
        <source>%1: %2; not taken</source>
        <translation>%1: %2; no se tomó</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 no existe</translation>
    </message>
    <message>
        <source>%1 could not be copied beside the settings: %2</source>
        <translation>%1 no se pudo copiar junto a los ajustes: %2</translation>
    </message>
</context>
<context>
    <name>FlashTemplatePropertyModel</name>
    <message>
        <source>(Untitled)</source>
        <translation>(Sin título)</translation>
    </message>
    <message>
        <source>(Unknown)</source>
        <translation>(Desconocido)</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Propiedad</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
</context>
<context>
    <name>FlashTmplColorCell</name>
    <message>
        <source>Choose a colour</source>
        <translation>Elegir un color</translation>
    </message>
</context>
<context>
    <name>FlashTmplFileCell</name>
    <message>
        <source>Choose a file</source>
        <translation>Elegir un archivo</translation>
    </message>
</context>
<context>
    <name>FlashTmplValueDelegate</name>
    <message>
        <source>Files (%1)</source>
        <translation>Archivos (%1)</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Choose a file</source>
        <translation>Elegir un archivo</translation>
    </message>
</context>
<context>
    <name>HTMLConfigInfo</name>
    <message>
        <source>cannot read the template page %1</source>
        <translation>no se puede leer la página de la plantilla %1</translation>
    </message>
</context>
<context>
    <name>ImportPDFOperation</name>
    <message>
        <source>The import was cancelled.</source>
        <translation>La importación se canceló.</translation>
    </message>
    <message>
        <source>The links could not be read: %1</source>
        <translation>No se pudieron leer los enlaces: %1</translation>
    </message>
    <message>
        <source>The bookmarks could not be read: %1</source>
        <translation>No se pudieron leer los marcadores: %1</translation>
    </message>
</context>
<context>
    <name>ImportWindowDelegate</name>
    <message>
        <source>Import a document</source>
        <translation>Importar un documento</translation>
    </message>
    <message>
        <source>A PDF, text or RTF document</source>
        <translation>Un documento PDF, de texto o RTF</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Examinar...</translation>
    </message>
    <message>
        <source>O&amp;pen</source>
        <translation>A&amp;brir</translation>
    </message>
    <message>
        <source>Open the document that is imported</source>
        <translation>Abrir el documento que se importa</translation>
    </message>
    <message>
        <source>&amp;All pages</source>
        <translation>&amp;Todas las páginas</translation>
    </message>
    <message>
        <source>Pa&amp;ges:</source>
        <translation>Pá&amp;ginas:</translation>
    </message>
    <message>
        <source>e.g. 1-5,8,11-13</source>
        <translation>p. ej. 1-5,8,11-13</translation>
    </message>
    <message>
        <source>Best (100)</source>
        <translation>Óptima (100)</translation>
    </message>
    <message>
        <source>High (85)</source>
        <translation>Alta (85)</translation>
    </message>
    <message>
        <source>Medium (65)</source>
        <translation>Media (65)</translation>
    </message>
    <message>
        <source>Low (45)</source>
        <translation>Baja (45)</translation>
    </message>
    <message>
        <source>Lowest (25)</source>
        <translation>Mínima (25)</translation>
    </message>
    <message>
        <source>Lightest per page (WebP or JPEG)</source>
        <translation>La más ligera por página (WebP o JPEG)</translation>
    </message>
    <message>
        <source>WebP</source>
        <translation>WebP</translation>
    </message>
    <message>
        <source>JPEG (as older books)</source>
        <translation>JPEG (como los libros anteriores)</translation>
    </message>
    <message>
        <source>Pages of text are stored without loss, photographs at the quality chosen</source>
        <translation>Las páginas de texto se guardan sin pérdida, las fotos con la calidad elegida</translation>
    </message>
    <message>
        <source>Import &amp;links</source>
        <translation>Importar en&amp;laces</translation>
    </message>
    <message>
        <source>Import boo&amp;kmarks</source>
        <translation>Importar &amp;marcadores</translation>
    </message>
    <message>
        <source>Make the &amp;text searchable</source>
        <translation>Hacer que el te&amp;xto se pueda buscar</translation>
    </message>
    <message>
        <source>Sharp &amp;zoom pictures</source>
        <translation>Imágenes de &amp;zoom nítidas</translation>
    </message>
    <message>
        <source>Adds a picture of twice the resolution for each page, shown when the reader zooms in</source>
        <translation>Añade a cada página una imagen del doble de resolución, que se muestra cuando el lector amplía</translation>
    </message>
    <message>
        <source>&amp;Document:</source>
        <translation>&amp;Documento:</translation>
    </message>
    <message>
        <source>&amp;Range:</source>
        <translation>&amp;Intervalo:</translation>
    </message>
    <message>
        <source>&amp;Quality:</source>
        <translation>&amp;Calidad:</translation>
    </message>
    <message>
        <source>Pict&amp;ures:</source>
        <translation>Imág&amp;enes:</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importar</translation>
    </message>
    <message>
        <source>Choose a document</source>
        <translation>Elegir un documento</translation>
    </message>
    <message>
        <source>Documents (*.pdf *.txt *.rtf *.docx *.odt *.doc)</source>
        <translation>Documentos (*.pdf *.txt *.rtf *.docx *.odt *.doc)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>No se pudo abrir %1: %2.</translation>
    </message>
    <message>
        <source>Import file does not exist.</source>
        <translation>El archivo que se va a importar no existe.</translation>
    </message>
    <message>
        <source>Preparing the document, please wait...</source>
        <translation>Preparando el documento, espere...</translation>
    </message>
    <message>
        <source>The import failed.</source>
        <translation>La importación falló.</translation>
    </message>
    <message>
        <source>Converting page %L1 of %L2</source>
        <translation>Convirtiendo la página %L1 de %L2</translation>
    </message>
    <message>
        <source>Importing page %L1 of %L2</source>
        <translation>Importando la página %L1 de %L2</translation>
    </message>
</context>
<context>
    <name>MuPdfDocument</name>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>No se puede abrir %1: %2</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>el archivo está vacío</translation>
    </message>
    <message>
        <source>it is not a PDF document</source>
        <translation>no es un documento PDF</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>memoria insuficiente</translation>
    </message>
    <message>
        <source>the file is damaged (%1)</source>
        <translation>el archivo está dañado (%1)</translation>
    </message>
    <message>
        <source>the document is protected by a password</source>
        <translation>el documento está protegido con contraseña</translation>
    </message>
</context>
<context>
    <name>OutputWindowDelegate</name>
    <message>
        <source>Publish the book</source>
        <translation>Publicar el libro</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>E&amp;legir...</translation>
    </message>
    <message>
        <source>Op&amp;en</source>
        <translation>A&amp;brir</translation>
    </message>
    <message>
        <source>Show the folder in the file manager</source>
        <translation>Mostrar la carpeta en el gestor de archivos</translation>
    </message>
    <message>
        <source>&amp;Web folder (plays in any browser)</source>
        <translation>Carpeta &amp;web (se abre en cualquier navegador)</translation>
    </message>
    <message>
        <source>&amp;Application bundle</source>
        <translation>Paquete de &amp;aplicación</translation>
    </message>
    <message>
        <source>&amp;Output folder:</source>
        <translation>Carpeta de &amp;salida:</translation>
    </message>
    <message>
        <source>Page &amp;name:</source>
        <translation>&amp;Nombre de la página:</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Título:</translation>
    </message>
    <message>
        <source>Publish as:</source>
        <translation>Publicar como:</translation>
    </message>
    <message>
        <source>&amp;Publish</source>
        <translation>&amp;Publicar</translation>
    </message>
    <message>
        <source>Writing page %L1 of %L2...</source>
        <translation>Escribiendo la página %L1 de %L2...</translation>
    </message>
    <message>
        <source>Choose folder</source>
        <translation>Elegir carpeta</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>No se pudo abrir %1: %2.</translation>
    </message>
    <message>
        <source>Publishing...</source>
        <translation>Publicando...</translation>
    </message>
    <message>
        <source>&amp;Open it</source>
        <translation>&amp;Abrirlo</translation>
    </message>
    <message>
        <source>&amp;Show in Folder</source>
        <translation>&amp;Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>%1

Publish there all the same?</source>
        <translation>%1

¿Publicar allí de todos modos?</translation>
    </message>
    <message>
        <source>Publish There</source>
        <translation>Publicar allí</translation>
    </message>
    <message>
        <source>%1

Replace them with the book?</source>
        <translation>%1

¿Reemplazarlos por el libro?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>EP&amp;UB e-book (for e-book readers and stores)</source>
        <translation>Libro EP&amp;UB (para lectores electrónicos y tiendas)</translation>
    </message>
</context>
<context>
    <name>PDFToSWFPageConverter</name>
    <message>
        <source>Page %1 is very large and was drawn at a lower resolution.</source>
        <translation>La página %1 es muy grande y se dibujó con una resolución menor.</translation>
    </message>
    <message>
        <source>The text of page %1 could not be read; it will not be found by search.</source>
        <translation>No se pudo leer el texto de la página %1; la búsqueda no lo encontrará.</translation>
    </message>
    <message>
        <source>Page %1 could not be drawn (%2); a blank page stands in its place.</source>
        <translation>No se pudo dibujar la página %1 (%2); una página en blanco ocupa su lugar.</translation>
    </message>
    <message>
        <source>Page %1 holds more than %2 words; only the first %2 will be found by search.</source>
        <translation>La página %1 contiene más de %2 palabras; la búsqueda solo encontrará las %2 primeras.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>Cannot create a work folder for the pages of %1%2</source>
        <translation>No se puede crear una carpeta de trabajo para las páginas de %1%2</translation>
    </message>
    <message>
        <source>Cannot start a rendering thread: %1</source>
        <translation>No se puede iniciar un hilo de renderizado: %1</translation>
    </message>
</context>
<context>
    <name>PageTextStore</name>
    <message>
        <source>There is no work folder for the text of the pages.</source>
        <translation>No hay carpeta de trabajo para el texto de las páginas.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
</context>
<context>
    <name>PrintBookCommand</name>
    <message>
        <source>usage: folivox-cli inspect BOOK_FOLDER|book.bin [--text [--page N]]
</source>
        <translation>uso: folivox-cli inspect CARPETA_DEL_LIBRO|book.bin [--text [--page N]]
</translation>
    </message>
    <message>
        <source>page %1 is not in the book</source>
        <translation>la página %1 no está en el libro</translation>
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
        <translation>Uso: folivox-cli inspect BOOK [--text [--page N]]
Descifra el files/book.bin de un libro, comprueba el archivo zip que contiene y muestra su book.xml;
con --text, muestra en su lugar el texto de las páginas del libro a partir de sus archivos.

Opciones:
  --text      mostrar el texto de cada página, cada una bajo una línea «--- page N ---»
  --page N    con --text: mostrar solo el texto de la página N (como en files/page/N.jpg)
  -h, --help  mostrar esta ayuda

Argumentos:
  BOOK        una carpeta de libro publicada, o su files/book.bin
</translation>
    </message>
</context>
<context>
    <name>PrivateFolder</name>
    <message>
        <source>it belongs to another user (uid %1)</source>
        <translation>pertenece a otro usuario (uid %1)</translation>
    </message>
    <message>
        <source>it is writable by other users</source>
        <translation>otros usuarios pueden escribir en ella</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 no es una carpeta</translation>
    </message>
    <message>
        <source>Cannot make a private folder: %1</source>
        <translation>No se puede crear una carpeta privada: %1</translation>
    </message>
    <message>
        <source>%1 cannot be made: %2</source>
        <translation>No se puede crear %1: %2</translation>
    </message>
    <message>
        <source>%1 was not made private</source>
        <translation>%1 no se hizo privada</translation>
    </message>
    <message>
        <source>%1: other runs keep taking the new folders</source>
        <translation>%1: otras ejecuciones siguen tomando las carpetas nuevas</translation>
    </message>
</context>
<context>
    <name>PropertyValueCheck</name>
    <message>
        <source>A number is needed.</source>
        <translation>Hace falta un número.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number; type digits, such as 600.</source>
        <translation>«%1» no es un número; escriba cifras, como 600.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number; type one from %2.</source>
        <translation>«%1» no es un número entero; escriba uno de %2.</translation>
    </message>
    <message>
        <source>%1 is out of range; type a number from %2.</source>
        <translation>%1 está fuera del intervalo; escriba un número de %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a colour; type #rrggbb, six hexadecimal digits such as #336699.</source>
        <translation>«%1» no es un color; escriba #rrggbb, seis cifras hexadecimales como #336699.</translation>
    </message>
</context>
<context>
    <name>PublishCommand</name>
    <message>
        <source> Nothing was written; add --force to publish there all the same.</source>
        <translation> No se escribió nada; añada --force para publicar allí de todos modos.</translation>
    </message>
    <message>
        <source> Nothing was written; add --force to replace them.</source>
        <translation> No se escribió nada; añada --force para reemplazarlos.</translation>
    </message>
    <message>
        <source>Converting</source>
        <translation>Convirtiendo</translation>
    </message>
    <message>
        <source>Importing</source>
        <translation>Importando</translation>
    </message>
    <message>
        <source>%1 holds no .jpg, .png or .webp pictures</source>
        <translation>%1 no contiene imágenes .jpg, .png ni .webp</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>aviso: %1</translation>
    </message>
    <message>
        <source>cannot import %1</source>
        <translation>no se puede importar %1</translation>
    </message>
    <message>
        <source>Publishes a book folder (or an application bundle) from a document or a folder of pictures.</source>
        <translation>Publica una carpeta de libro (o un paquete de aplicación) a partir de un documento o de una carpeta de imágenes.</translation>
    </message>
    <message>
        <source>a PDF, text or RTF document, or a folder of .jpg, .png or .webp pictures</source>
        <translation>un documento PDF, de texto o RTF, o una carpeta de imágenes .jpg, .png o .webp</translation>
    </message>
    <message>
        <source>book folder</source>
        <translation>carpeta del libro</translation>
    </message>
    <message>
        <source>HTML page name (empty: index)</source>
        <translation>nombre de la página HTML (vacío: index)</translation>
    </message>
    <message>
        <source>the title the book and its page show (default: the document&apos;s own title, else the input&apos;s name)</source>
        <translation>el título que muestran el libro y su página (por defecto: el título del propio documento, si no el nombre de la entrada)</translation>
    </message>
    <message>
        <source>pages</source>
        <translation>páginas</translation>
    </message>
    <message>
        <source>keep the links</source>
        <translation>conservar los enlaces</translation>
    </message>
    <message>
        <source>keep the bookmarks</source>
        <translation>conservar los marcadores</translation>
    </message>
    <message>
        <source>template</source>
        <translation>plantilla</translation>
    </message>
    <message>
        <source>style</source>
        <translation>estilo</translation>
    </message>
    <message>
        <source>settings file</source>
        <translation>archivo de ajustes</translation>
    </message>
    <message>
        <source>application bundle</source>
        <translation>paquete de aplicación</translation>
    </message>
    <message>
        <source>rendering threads</source>
        <translation>hilos de renderizado</translation>
    </message>
    <message>
        <source>replace files in the way that are not part of a book, and publish into a folder that other users may write to</source>
        <translation>reemplazar los archivos que estorban y no forman parte de un libro, y publicar en una carpeta en la que otros usuarios pueden escribir</translation>
    </message>
    <message>
        <source>leave the text out: no search</source>
        <translation>dejar fuera el texto: sin búsqueda</translation>
    </message>
    <message>
        <source>no sharper pictures for zooming</source>
        <translation>sin imágenes más nítidas para el zoom</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>mostrar esta ayuda</translation>
    </message>
    <message>
        <source>publish needs exactly one INPUT</source>
        <translation>publish necesita exactamente una INPUT</translation>
    </message>
    <message>
        <source>publish needs -o DIR</source>
        <translation>publish necesita -o DIR</translation>
    </message>
    <message>
        <source>--quality takes a level from 0 (best) to 4 (smallest)</source>
        <translation>--quality admite un nivel de 0 (el mejor) a 4 (el más pequeño)</translation>
    </message>
    <message>
        <source>--jobs takes a number of threads (0: one per core)</source>
        <translation>--jobs admite un número de hilos (0: uno por núcleo)</translation>
    </message>
    <message>
        <source>there is no template &quot;%1&quot; (see folivox-cli templates)</source>
        <translation>no hay ninguna plantilla «%1» (véase folivox-cli templates)</translation>
    </message>
    <message>
        <source>the settings file %1 does not exist</source>
        <translation>el archivo de ajustes %1 no existe</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 no existe</translation>
    </message>
    <message>
        <source>stopped before publishing</source>
        <translation>detenido antes de publicar</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>no se puede crear la carpeta %1: %2</translation>
    </message>
    <message>
        <source>stopped by signal %1 before the book was put in place; nothing in %2 was changed</source>
        <translation>detenido por la señal %1 antes de poner el libro en su sitio; no se cambió nada en %2</translation>
    </message>
    <message>
        <source>publishing failed; these files could not be written:</source>
        <translation>la publicación falló; estos archivos no se pudieron escribir:</translation>
    </message>
    <message>
        <source>nothing in %1 was changed</source>
        <translation>no se cambió nada en %1</translation>
    </message>
    <message>
        <source>copied into the book: %1 (as %2)</source>
        <translation>copiado en el libro: %1 (como %2)</translation>
    </message>
    <message>
        <source>signal %1 came while the book was put in place; it was put in place first</source>
        <translation>la señal %1 llegó mientras el libro se ponía en su sitio; primero se terminó de ponerlo</translation>
    </message>
    <message>
        <source>template &quot;%1&quot; cannot be loaded: %2</source>
        <translation>la plantilla «%1» no se puede cargar: %2</translation>
    </message>
    <message>
        <source>template &quot;%1&quot; has no style &quot;%2&quot; (see folivox-cli templates)</source>
        <translation>la plantilla «%1» no tiene el estilo «%2» (véase folivox-cli templates)</translation>
    </message>
    <message>
        <source>%1 holds no picture that can be a page</source>
        <translation>%1 no contiene ninguna imagen que pueda ser una página</translation>
    </message>
    <message>
        <source>page pictures: auto (each page as WebP or JPEG, whichever suits it), webp, jpeg (as books were before), or png (text pages PNG, photographs JPEG: the default of --format epub)</source>
        <translation>imágenes de las páginas: auto (cada página en WebP o JPEG, lo que mejor le convenga), webp, jpeg (como eran los libros antes) o png (páginas de texto en PNG, fotografías en JPEG: lo predeterminado con --format epub)</translation>
    </message>
    <message>
        <source>web (a book folder, the default) or epub (-o names the EPUB 3 file)</source>
        <translation>web (una carpeta de libro, lo predeterminado) o epub (-o da nombre al archivo EPUB 3)</translation>
    </message>
    <message>
        <source>the EPUB&apos;s author (default: the document&apos;s own)</source>
        <translation>el autor del EPUB (predeterminado: el del documento)</translation>
    </message>
    <message>
        <source>the EPUB&apos;s language tag, such as en or de-CH (default: the document&apos;s own, else und)</source>
        <translation>la etiqueta de idioma del EPUB, como en o de-CH (predeterminada: la del documento, si no und)</translation>
    </message>
    <message>
        <source>seconds one page may take to draw; a slower page is left blank (0: no limit)</source>
        <translation>segundos que puede tardar en dibujarse una página; una página más lenta queda en blanco (0: sin límite)</translation>
    </message>
    <message>
        <source>--format takes web or epub</source>
        <translation>--format admite web o epub</translation>
    </message>
    <message>
        <source>--app and --name are for web books; with --format epub, -o names the file</source>
        <translation>--app y --name son para libros web; con --format epub, -o da nombre al archivo</translation>
    </message>
    <message>
        <source>--author and --language are for --format epub</source>
        <translation>--author y --language son para --format epub</translation>
    </message>
    <message>
        <source>--language takes a language tag such as en, de-CH or pt-BR</source>
        <translation>--language admite una etiqueta de idioma como en, de-CH o pt-BR</translation>
    </message>
    <message>
        <source>--page-timeout takes a number of seconds (0: no limit)</source>
        <translation>--page-timeout admite un número de segundos (0: sin límite)</translation>
    </message>
    <message>
        <source>--picture-format takes auto, webp, jpeg or png</source>
        <translation>--picture-format admite auto, webp, jpeg o png</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>it is a folder, not a regular file</source>
        <translation>es una carpeta, no un archivo normal</translation>
    </message>
    <message>
        <source>it is a named pipe, not a regular file</source>
        <translation>es una tubería con nombre, no un archivo normal</translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation>es un dispositivo, no un archivo normal</translation>
    </message>
    <message>
        <source>it is a socket, not a regular file</source>
        <translation>es un socket, no un archivo normal</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>el archivo no existe</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>ocupa más de %1 bytes</translation>
    </message>
</context>
<context>
    <name>RtfReader</name>
    <message>
        <source>it is not an RTF document</source>
        <translation>no es un documento RTF</translation>
    </message>
</context>
<context>
    <name>SelectTemplateWindowDelegate</name>
    <message>
        <source>Choose a template</source>
        <translation>Elegir una plantilla</translation>
    </message>
    <message>
        <source>&amp;Templates</source>
        <translation>&amp;Plantillas</translation>
    </message>
    <message>
        <source>&amp;Styles</source>
        <translation>&amp;Estilos</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Actualizar</translation>
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
        <translation>Uso: folivox-cli templates
Lista las plantillas instaladas con su número de propiedades, y los estilos de cada una;
el estilo predeterminado está marcado.

Opciones:
  -h, --help  mostrar esta ayuda
</translation>
    </message>
    <message>
        <source>takes no arguments</source>
        <translation>no admite argumentos</translation>
    </message>
    <message>
        <source>no templates found in %1</source>
        <translation>no se encontraron plantillas en %1</translation>
    </message>
</context>
<context>
    <name>TextPagePrinter</name>
    <message>
        <source>the PDF could not be started</source>
        <translation>no se pudo empezar el PDF</translation>
    </message>
    <message>
        <source>a page could not be added</source>
        <translation>no se pudo añadir una página</translation>
    </message>
</context>
<context>
    <name>folivox-cli</name>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>orden desconocida «%1»</translation>
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
        <translation>Uso: folivox-cli ORDEN [ARGUMENTOS]
Convierte un documento PDF, de texto o RTF, o una carpeta de imágenes, en un libro de pasar página
que cualquier navegador actual reproduce.

Órdenes:
  publish INPUT -o DIR [opciones]  publicar un libro a partir de un documento o de una carpeta de imágenes
  inspect BOOK [--text]            mostrar el book.xml de una carpeta de libro o de un book.bin,
                                   o el texto del libro
  templates                        listar las plantillas y sus estilos
  batch LIST -o OUTDIR [opciones]  publicar cada documento de una lista, cada uno en OUTDIR/NAME/

Opciones:
  -h, --help                       mostrar esta ayuda; tras una orden, la ayuda de esa orden
  --version                        mostrar la versión

«folivox-cli ORDEN --help» lista las opciones de una orden.
</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Save a picture of the window once the preview has loaded, then quit.</source>
        <translation>Guardar una imagen de la ventana en cuanto la vista previa se haya cargado, y salir.</translation>
    </message>
    <message>
        <source>With --screenshot: import this document first.</source>
        <translation>Con --screenshot: importar primero este documento.</translation>
    </message>
    <message>
        <source>With --screenshot: wait this long after loading (default 1500).</source>
        <translation>Con --screenshot: esperar este tiempo tras la carga (por defecto 1500).</translation>
    </message>
    <message>
        <source>With --screenshot: open this page of the preview.</source>
        <translation>Con --screenshot: abrir esta página de la vista previa.</translation>
    </message>
    <message>
        <source>A PDF, text or RTF document to import (the import sheet opens with it).</source>
        <translation>Un documento PDF, de texto o RTF que importar (la ventana de importación se abre con él).</translation>
    </message>
</context>
</TS>
