#include "import/DocumentToPdf.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>

#include "base/AtomicFile.h"
#include "base/Log.h"
#include "import/RtfReader.h"

namespace {

void setError(QString* error, const QString& text) {
  qCWarning(lcImport).noquote() << text;
  if (error) *error = text;
}

bool readSource(const QString& source, QByteArray* data, QString* error) {
  const QString name = QFileInfo(source).fileName();
  QFile file(source);
  if (!QFileInfo(source).isFile()) {
    setError(error, QStringLiteral("Cannot convert %1: the file does not exist").arg(name));
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    setError(error, QStringLiteral("Cannot convert %1: %2").arg(name, file.errorString()));
    return false;
  }
  if (file.size() > DocumentToPdf::kMaxInputBytes) {
    setError(error, QStringLiteral("Cannot convert %1: the file is larger than %2 MB")
                        .arg(name)
                        .arg(DocumentToPdf::kMaxInputBytes >> 20));
    return false;
  }
  *data = file.readAll();
  return true;
}

QFont defaultFont() {
  QFont font(QStringLiteral("Helvetica"));
  font.setPointSizeF(DocumentToPdf::kFontSize);
  return font;
}

}  // namespace

QString DocumentToPdf::decodeText(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
  if (bytes.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
  return QString::fromUtf8(bytes);
}

bool DocumentToPdf::CreateTXTtoPDF(const QString& source, const QString& target, QString* error) {
  QByteArray data;
  if (!readSource(source, &data, error)) return false;
  QTextDocument doc;
  doc.setDefaultFont(defaultFont());
  doc.setPlainText(decodeText(data));
  return PrinttoPDF(doc, target, error, kTextInsetX, kTextInsetY);
}

bool DocumentToPdf::CreateRTFtoPDF(const QString& source, const QString& target, QString* error) {
  QByteArray data;
  if (!readSource(source, &data, error)) return false;
  QTextDocument doc;
  doc.setDefaultFont(defaultFont());
  QString why;
  if (!RtfReader().read(data, doc, &why)) {
    setError(error, QStringLiteral("Cannot convert %1: %2").arg(QFileInfo(source).fileName(), why));
    return false;
  }
  return PrinttoPDF(doc, target, error, 0, 0);
}

bool DocumentToPdf::PrinttoPDF(QTextDocument& doc, const QString& target, QString* error, double insetX,
                               double insetY) {
  AtomicFile file(target);
  if (!file.open(QIODevice::WriteOnly)) {
    setError(error, QStringLiteral("Cannot write %1: %2").arg(target, file.errorString()));
    return false;
  }
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Folivox"));
    // Wider than high, although called portrait: the page the text has always
    // been printed on.
    const QPageSize page(QSizeF(kPageWidth, kPageHeight), QPageSize::Point, QStringLiteral("A4 Minimal Margins 1"),
                         QPageSize::ExactMatch);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait,
                                     QMarginsF(kMarginLeft, kMarginTop, kMarginRight, kMarginBottom),
                                     QPageLayout::Point));

    // Lay the text out at the writer's resolution, or it comes out at screen
    // resolution with rounded glyph positions.
    doc.documentLayout()->setPaintDevice(&writer);
    const double k = writer.resolution() / 72.0;  // device units per point
    doc.setDocumentMargin(0);
    doc.setTextWidth((kViewWidth - 2 * insetX) * k);
    QTextOption option = doc.defaultTextOption();
    option.setTabStopDistance(36 * k);
    doc.setDefaultTextOption(option);
    const double pageHeight = (kPageHeight - kMarginTop - kMarginBottom) * k;
    doc.size();  // the layout is lazy; this finishes it, so every block has its lines

    QPainter painter;
    if (!painter.begin(&writer)) {
      setError(error, QStringLiteral("Cannot write %1: the PDF could not be started").arg(target));
      return false;
    }
    // Line by line: a line that does not fit on the page moves whole to the
    // next page, and each line is painted exactly once. (Painting the whole
    // document with a clip per page leaves the clipped line in the PDF's text.)
    double pageTop = 0;  // in the text view's coordinates
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
      doc.documentLayout()->blockBoundingRect(block);  // lays the block out if it is not yet
      const QTextLayout* layout = block.layout();
      if (layout == nullptr) continue;
      const QPointF blockPos = layout->position();
      for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const double top = insetY * k + blockPos.y() + line.y();
        const double bottom = top + line.height();
        if (bottom - pageTop > pageHeight && top > pageTop) {
          if (!writer.newPage()) {
            setError(error, QStringLiteral("Cannot write %1: a page could not be added").arg(target));
            return false;
          }
          pageTop = top;
        }
        line.draw(&painter, QPointF(insetX * k + blockPos.x(), insetY * k + blockPos.y() - pageTop));
      }
    }
    painter.end();
  }
  if (!file.commit()) {
    setError(error, QStringLiteral("Cannot write %1: %2").arg(target, file.errorString()));
    return false;
  }
  return true;
}

bool DocumentToPdf::CreateOfficeToPDF(const QString& source, const QString& target, QString* error) {
  const QString name = QFileInfo(source).fileName();
  if (!QFileInfo(source).isFile()) {
    setError(error, QStringLiteral("Cannot convert %1: the file does not exist").arg(name));
    return false;
  }
  QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
  if (office.isEmpty()) office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  if (office.isEmpty()) {
    setError(error, QStringLiteral("Cannot convert %1: this needs LibreOffice, which is not installed. Install it "
                                   "(for example: sudo apt install libreoffice-writer) or save the document as "
                                   "PDF, RTF or plain text.")
                        .arg(name));
    return false;
  }
  // A private profile per run: two conversions at once would otherwise wait
  // on each other's profile lock, or hand the job to a running LibreOffice.
  QTemporaryDir work(QDir::tempPath() + QStringLiteral("/folivox-office-XXXXXX"));
  if (!work.isValid()) {
    setError(error, QStringLiteral("Cannot convert %1: no temporary folder").arg(name));
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
    setError(error, QStringLiteral("Cannot convert %1: LibreOffice did not start (%2)").arg(name, process.errorString()));
    return false;
  }
  if (!process.waitForFinished(300000)) {
    process.kill();
    process.waitForFinished(5000);
    setError(error, QStringLiteral("Cannot convert %1: LibreOffice took longer than five minutes").arg(name));
    return false;
  }
  const QString produced = QDir(outDir).filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".pdf"));
  QFile pdf(produced);
  if (process.exitStatus() != QProcess::NormalExit || !pdf.open(QIODevice::ReadOnly)) {
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed().left(300);
    setError(error, QStringLiteral("Cannot convert %1: LibreOffice made no PDF%2")
                        .arg(name, output.isEmpty() ? QString() : QStringLiteral(" (") + output + QLatin1Char(')')));
    return false;
  }
  const QByteArray bytes = pdf.readAll();
  QString why;
  if (!AtomicFile::writeFile(target, bytes, &why)) {
    setError(error, QStringLiteral("Cannot write %1: %2").arg(target, why));
    return false;
  }
  return true;
}

bool DocumentToPdf::needsConversion(const QString& path) {
  static const QStringList kExtensions = {QStringLiteral("txt"), QStringLiteral("rtf"), QStringLiteral("docx"),
                                          QStringLiteral("odt"), QStringLiteral("doc")};
  return kExtensions.contains(QFileInfo(path).suffix().toLower());
}

bool DocumentToPdf::convertToPDF(const QString& source, const QString& target, QString* error) {
  const QString ext = QFileInfo(source).suffix().toLower();
  if (ext == QLatin1String("txt")) return CreateTXTtoPDF(source, target, error);
  if (ext == QLatin1String("rtf")) return CreateRTFtoPDF(source, target, error);
  if (needsConversion(source)) return CreateOfficeToPDF(source, target, error);
  setError(error, QStringLiteral("Cannot convert %1: unknown document type").arg(QFileInfo(source).fileName()));
  return false;
}
