#include "import/DocumentToPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include "base/AtomicFile.h"
#include "base/Log.h"
#include "base/RegularFile.h"
#include "import/RtfReader.h"
#include "import/TextPagePrinter.h"

namespace {

// Bytes of plain text read, decoded and printed at a time.
constexpr qint64 kReadChunk = 256 * 1024;
// Characters of a document printed between two progress reports.
constexpr qint64 kReportEvery = 64 * 1024;

void setError(QString* error, const QString& text) {
  qCWarning(lcImport).noquote() << text;
  if (error) *error = text;
}

bool openSource(const QString& source, QFile* file, QString* error) {
  const QString name = QFileInfo(source).fileName();
  QString why;
  if (!RegularFile::open(*file, source, &why)) {
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: %2").arg(name, why));
    return false;
  }
  if (file->size() > DocumentToPdf::kMaxInputBytes) {
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: the file is larger than %2 MB")
                        .arg(name)
                        .arg(DocumentToPdf::kMaxInputBytes >> 20));
    return false;
  }
  return true;
}

QFont defaultFont() {
  QFont font(QStringLiteral("Helvetica"));
  font.setPointSizeF(DocumentToPdf::kFontSize);
  return font;
}

// The decoder for text that starts with `head`, and the length of its byte-order mark.
QStringDecoder decoderFor(QByteArrayView head, qsizetype* bomLength) {
  if (head.startsWith("\xFF\xFE")) {
    *bomLength = 2;
    return QStringDecoder(QStringDecoder::Utf16LE);
  }
  if (head.startsWith("\xFE\xFF")) {
    *bomLength = 2;
    return QStringDecoder(QStringDecoder::Utf16BE);
  }
  *bomLength = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
  return QStringDecoder(QStringDecoder::Utf8);
}

// Prints what `feed` hands the printer into `target`, written atomically.
// `feed` returns false when it could not go on: with the reason in `why`, or
// with `why` empty when the conversion was stopped.
using Feed = std::function<bool(TextPagePrinter& printer, QString* why)>;

bool printDocument(const QString& name, const QString& target, double insetX, double insetY, QString* error,
                   const Feed& feed) {
  AtomicFile file(target);
  if (!file.open(QIODevice::WriteOnly)) {
    setError(error,
             QCoreApplication::translate("DocumentToPdf", "Cannot write %1: %2").arg(target, file.errorString()));
    return false;
  }
  TextPagePrinter printer(&file, defaultFont(), insetX, insetY);
  QString why;
  if (!printer.begin(&why)) {
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot write %1: %2").arg(target, why));
    return false;
  }
  if (!feed(printer, &why)) {
    setError(error, why.isEmpty()
                        ? QCoreApplication::translate("DocumentToPdf", "The conversion of %1 was stopped.").arg(name)
                        : QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: %2").arg(name, why));
    return false;
  }
  if (!printer.finish(&why)) {
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot write %1: %2").arg(target, why));
    return false;
  }
  // Nothing but a blank page would come of it, as of a PDF without pages.
  if (!printer.hasInk()) {
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: the document is empty").arg(name));
    return false;
  }
  if (!file.commit()) {
    setError(error,
             QCoreApplication::translate("DocumentToPdf", "Cannot write %1: %2").arg(target, file.errorString()));
    return false;
  }
  return true;
}

bool printBlocks(const QTextDocument& doc, TextPagePrinter& printer, const DocumentToPdf::Progress& progress) {
  const qint64 total = doc.characterCount();
  qint64 sinceReport = 0;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    printer.beginParagraph(block.blockFormat().alignment());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      const QString text = fragment.text();
      printer.addText(text, &format);
      sinceReport += text.size();
    }
    printer.endParagraph();
    if (sinceReport >= kReportEvery) {
      sinceReport = 0;
      if (progress && !progress(block.position(), total)) return false;
    }
  }
  return !progress || progress(total, total);
}

}  // namespace

QString DocumentToPdf::decodeText(const QByteArray& bytes) {
  qsizetype bom = 0;
  QStringDecoder decoder = decoderFor(bytes, &bom);
  return decoder.decode(QByteArrayView(bytes).sliced(bom));
}

bool DocumentToPdf::CreateTXTtoPDF(const QString& source, const QString& target, QString* error,
                                   const Progress& progress) {
  QFile file;
  if (!openSource(source, &file, error)) return false;
  const QString name = QFileInfo(source).fileName();
  const qint64 total = file.size();
  return printDocument(name, target, kTextInsetX, kTextInsetY, error, [&](TextPagePrinter& printer, QString* why) {
    QStringDecoder decoder;
    bool started = false;
    bool open = false;     // a paragraph has begun and not ended
    bool afterCR = false;  // the last character was a CR: a LF right after it ends nothing more
    qint64 done = 0;
    for (;;) {
      QByteArray bytes = file.read(kReadChunk);
      if (bytes.isEmpty()) {
        if (file.error() == QFileDevice::NoError) break;
        *why = file.errorString();
        return false;
      }
      done += bytes.size();
      if (!started) {
        qsizetype bom = 0;
        decoder = decoderFor(bytes, &bom);
        bytes.remove(0, bom);
        started = true;
      }
      const QString text = decoder.decode(bytes);
      qsizetype from = 0;
      for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c != u'\n' && c != u'\r' && c != u'\u2029') {
          afterCR = false;
          continue;
        }
        if (c == u'\n' && afterCR && i == from) {
          afterCR = false;
          from = i + 1;
          continue;
        }
        if (!open) printer.beginParagraph();
        printer.addText(QStringView(text).sliced(from, i - from));
        printer.endParagraph();
        open = false;
        afterCR = c == u'\r';
        from = i + 1;
      }
      if (from < text.size()) {
        if (!open) printer.beginParagraph();
        open = true;
        printer.addText(QStringView(text).sliced(from));
      }
      if (progress && !progress(done, total)) return false;
    }
    if (open) printer.endParagraph();
    return true;
  });
}

bool DocumentToPdf::CreateRTFtoPDF(const QString& source, const QString& target, QString* error,
                                   const Progress& progress) {
  QFile file;
  if (!openSource(source, &file, error)) return false;
  const QString name = QFileInfo(source).fileName();
  const QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    setError(error,
             QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: %2").arg(name, file.errorString()));
    return false;
  }
  // Printed as it is read: a document is never held whole in a layout.
  class Printer : public RtfReader::Sink {
   public:
    explicit Printer(TextPagePrinter& printer) : m_printer(printer) {}
    void text(QStringView run, const QTextCharFormat& format) override {
      if (!m_open) m_printer.beginParagraph();
      m_open = true;
      m_printer.addText(run, &format);
    }
    void paragraph(Qt::Alignment align) override {
      if (!m_open) m_printer.beginParagraph();
      m_printer.setAlignment(align);
      m_printer.endParagraph();
      m_open = false;
    }

   private:
    TextPagePrinter& m_printer;
    bool m_open = false;
  };
  return printDocument(name, target, 0, 0, error, [&](TextPagePrinter& printer, QString* why) {
    Printer sink(printer);
    return RtfReader().read(data, sink, why, progress);
  });
}

bool DocumentToPdf::PrinttoPDF(const QTextDocument& doc, const QString& target, QString* error, double insetX,
                               double insetY, const Progress& progress) {
  return printDocument(QFileInfo(target).fileName(), target, insetX, insetY, error,
                       [&](TextPagePrinter& printer, QString*) { return printBlocks(doc, printer, progress); });
}

bool DocumentToPdf::CreateOfficeToPDF(const QString& source, const QString& target, QString* error,
                                      const Progress& progress) {
  const QString name = QFileInfo(source).fileName();
  {
    QFile file;
    QString why;
    if (!RegularFile::open(file, source, &why)) {
      setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: %2").arg(name, why));
      return false;
    }
  }
  QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
  if (office.isEmpty()) office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  if (office.isEmpty()) {
    setError(error, QCoreApplication::translate(
                        "DocumentToPdf",
                        "Cannot convert %1: this needs LibreOffice, which is not installed. Install it "
                        "(for example: sudo apt install libreoffice-writer) or save the document as "
                        "PDF, RTF or plain text.")
                        .arg(name));
    return false;
  }
  // A private profile per run: two conversions at once would otherwise wait
  // on each other's profile lock, or hand the job to a running LibreOffice.
  // Beside the target, which the import keeps in its private work folder.
  QTemporaryDir work(QFileInfo(target).absolutePath() + QStringLiteral("/office-XXXXXX"));
  if (!work.isValid()) {
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: no temporary folder").arg(name));
    return false;
  }
  const QString outDir = work.filePath(QStringLiteral("out"));
  QDir().mkpath(outDir);
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(office, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                         QStringLiteral("-env:UserInstallation=") +
                             QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(),
                         QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), outDir,
                         QFileInfo(source).absoluteFilePath()});
  if (!process.waitForStarted(30000)) {
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: LibreOffice did not start (%2)")
                        .arg(name, process.errorString()));
    return false;
  }
  QElapsedTimer clock;
  clock.start();
  while (!process.waitForFinished(200)) {
    const bool stopped = progress && !progress(0, 0);
    if (!stopped && clock.elapsed() < 300000 && process.state() != QProcess::NotRunning) continue;
    process.kill();
    process.waitForFinished(5000);
    setError(error, stopped
                        ? QCoreApplication::translate("DocumentToPdf", "The conversion of %1 was stopped.").arg(name)
                        : QCoreApplication::translate("DocumentToPdf",
                                                      "Cannot convert %1: LibreOffice took longer than five minutes")
                              .arg(name));
    return false;
  }
  const QString produced = QDir(outDir).filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".pdf"));
  QFile pdf(produced);
  if (process.exitStatus() != QProcess::NormalExit || !pdf.open(QIODevice::ReadOnly)) {
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed().left(300);
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: LibreOffice made no PDF%2")
                        .arg(name, output.isEmpty() ? QString() : QStringLiteral(" (") + output + QLatin1Char(')')));
    return false;
  }
  const QByteArray bytes = pdf.readAll();
  QString why;
  if (!AtomicFile::writeFile(target, bytes, &why)) {
    setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot write %1: %2").arg(target, why));
    return false;
  }
  return true;
}

bool DocumentToPdf::needsConversion(const QString& path) {
  static const QStringList kExtensions = {QStringLiteral("txt"), QStringLiteral("rtf"), QStringLiteral("docx"),
                                          QStringLiteral("odt"), QStringLiteral("doc")};
  return kExtensions.contains(QFileInfo(path).suffix().toLower());
}

bool DocumentToPdf::convertToPDF(const QString& source, const QString& target, QString* error,
                                 const Progress& progress) {
  const QString ext = QFileInfo(source).suffix().toLower();
  if (ext == QLatin1String("txt")) return CreateTXTtoPDF(source, target, error, progress);
  if (ext == QLatin1String("rtf")) return CreateRTFtoPDF(source, target, error, progress);
  if (needsConversion(source)) return CreateOfficeToPDF(source, target, error, progress);
  setError(error, QCoreApplication::translate("DocumentToPdf", "Cannot convert %1: unknown document type")
                      .arg(QFileInfo(source).fileName()));
  return false;
}
