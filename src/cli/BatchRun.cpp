#include "cli/BatchRun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <optional>

#include "base/ChildProcess.h"
#include "base/TerminationSignals.h"
#include "publish/BookBinReader.h"
#include "publish/BookSourceRecord.h"
#include "publish/BookTransaction.h"
#include "session/BookFolderNames.h"
#include "session/BookSession.h"

struct BatchRun::Document {
  BatchEntry entry;
  QString folder;     // OUTDIR/<name>
  QByteArray record;  // what files/source.json is to hold; empty when the input could not be read
  std::unique_ptr<ChildProcess> child;
  QElapsedTimer clock;
  int threads = 0;
  std::optional<Status> ending;  // Timeout or Stopped, once we asked it to end
  qint64 termSentMs = -1;
  bool killed = false;
  QStringList errors;
  long peakKb = 0;
};

namespace {

const char* const kStatusNames[] = {"ok", "skipped", "failed", "timeout", "stopped"};

// A value that follows `name` as the next word or after "=": the last one, as
// the publish command reads it.
std::optional<QString> optionValue(const QStringList& options, const QString& name) {
  std::optional<QString> value;
  for (qsizetype i = 0; i < options.size(); ++i) {
    if (options[i] == name && i + 1 < options.size())
      value = options[++i];
    else if (options[i].startsWith(name + QLatin1Char('=')))
      value = options[i].mid(name.size() + 1);
  }
  return value;
}

// The options as the record keeps them: those that only steer the run
// (--jobs, --force) left out, since the book is the same without them, and a
// settings file by its bytes, not its path.
std::optional<QStringList> recordedOptions(const QStringList& options) {
  QStringList kept;
  for (qsizetype i = 0; i < options.size(); ++i) {
    const QString& o = options[i];
    if (o == QLatin1String("--force") || o.startsWith(QLatin1String("--jobs="))) continue;
    if (o == QLatin1String("--jobs")) {
      ++i;
      continue;
    }
    QString settings;
    if (o == QLatin1String("--settings") && i + 1 < options.size())
      settings = options[++i];
    else if (o.startsWith(QLatin1String("--settings=")))
      settings = o.mid(11);
    else {
      kept << o;
      continue;
    }
    QFile file(settings);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!QFileInfo(settings).isFile() || !file.open(QIODevice::ReadOnly) || !hash.addData(&file)) return std::nullopt;
    kept << QStringLiteral("--settings") << QStringLiteral("sha256:") + QString::fromLatin1(hash.result().toHex());
  }
  return kept;
}

// The folders a book in `folder` keeps its files/ in: the folder itself, or
// the resources of a bundle in it (--app).
QStringList bookFolders(const QString& folder) {
  QStringList folders{folder};
  for (const QString& app : QDir(folder).entryList({QStringLiteral("*.app")}, QDir::Dirs | QDir::NoDotAndDotDot))
    folders << QDir(folder).filePath(app + QStringLiteral("/Contents/Resources"));
  return folders;
}

// Pages (book.xml's count) and bytes of the book in `folder`.
std::pair<qint64, qint64> bookSize(const QString& folder) {
  qint64 pages = 0;
  for (const QString& books : bookFolders(folder)) {
    const BookBinReader::Result book = BookBinReader::inspect(books);
    if (!book.ok()) continue;
    QXmlStreamReader xml(book.bookXml);
    if (xml.readNextStartElement()) pages = xml.attributes().value(QLatin1String("count")).toLongLong();
    break;
  }
  qint64 bytes = 0;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
  while (it.hasNext()) bytes += it.nextFileInfo().size();
  return {pages, bytes};
}

// For messages on a terminal: a hostile file name must not move the cursor.
QString printable(const QString& text) {
  QString out;
  for (const QChar c : text) {
    if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
      out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    else
      out += c;
  }
  return out;
}

void printLine(FILE* stream, const QString& line) {
  const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
  std::fflush(stream);
}

}  // namespace

BatchRun::BatchRun(BatchSettings settings, std::vector<BatchEntry> entries) : m_settings(std::move(settings)) {
  // Names in list order, for every line with an input, so that mending one
  // line does not move the books of the lines after it.
  // With --part, over the whole list too: the runs of all parts name their
  // books alike and never meet in one folder.
  BookFolderNames names;
  const auto total = static_cast<qint64>(entries.size());
  const qint64 from = total * m_settings.part / m_settings.parts;
  const qint64 to = total * (m_settings.part + 1) / m_settings.parts;
  for (qint64 i = 0; i < total; ++i) {
    BatchEntry& entry = entries[static_cast<size_t>(i)];
    QString folder;
    if (!entry.input.isEmpty())
      folder = QDir(m_settings.outDir).filePath(names.take(entry.input, QFileInfo(entry.input).isDir()));
    if (i < from || i >= to) continue;
    auto doc = std::make_unique<Document>();
    doc->entry = std::move(entry);
    doc->folder = folder;
    m_pending.push_back(doc.get());
    m_documents.push_back(std::move(doc));
  }
}

BatchRun::~BatchRun() = default;

int BatchRun::threadsFor(const Document& doc) const {
  if (const auto own = optionValue(doc.entry.options, QStringLiteral("--jobs"))) {
    const int n = own->toInt();
    return n > 0 ? n : m_settings.cores;
  }
  if (m_settings.threads > 0) return m_settings.threads;
  int busy = 0;
  for (const Document* d : m_running) busy += d->threads;
  const auto slots = std::min<qsizetype>(m_settings.jobs - static_cast<qsizetype>(m_running.size()),
                                         static_cast<qsizetype>(m_pending.size()) + 1);
  return std::max(1, static_cast<int>((m_settings.cores - busy) / std::max<qsizetype>(slots, 1)));
}

void BatchRun::start(Document& doc) {
  doc.clock.start();
  if (!doc.entry.error.isEmpty()) return report(doc, Status::Failed, doc.entry.error);

  // The record this book would carry; a document whose input cannot be read
  // gets none and is left to publish to report.
  QString why;
  const std::optional<QByteArray> digest = BookSourceRecord::inputDigest(doc.entry.input, &why);
  const std::optional<QStringList> options = recordedOptions(doc.entry.options);
  if (digest && options) {
    const QString inputName = QFileInfo(QDir::cleanPath(doc.entry.input)).fileName();
    doc.record = BookSourceRecord::recordFor(inputName, *digest, *options);
  }
  if (m_settings.skipDone && !doc.record.isEmpty()) {
    for (const QString& books : bookFolders(doc.folder))
      if (BookSourceRecord::matches(books, doc.record)) return report(doc, Status::Skipped, QString());
  }

  doc.threads = threadsFor(doc);
  const QStringList args = QStringList{QStringLiteral("publish"), QStringLiteral("-o"), doc.folder,
                                       QStringLiteral("--jobs"), QString::number(doc.threads)} +
                           doc.entry.options + QStringList{QStringLiteral("--"), doc.entry.input};
  doc.child = std::make_unique<ChildProcess>();
  if (!doc.child->start(m_settings.program, args, &why)) {
    doc.child.reset();
    return report(doc, Status::Failed, why);
  }
  m_running.push_back(&doc);
}

void BatchRun::watch(Document& doc) {
  doc.child->poll();
  const QString name = printable(QFileInfo(doc.folder).fileName());
  for (const QByteArray& raw : doc.child->takeErrorLines()) {
    QString line = QString::fromUtf8(raw);
    if (line.startsWith(QLatin1String("folivox-cli: "))) line.remove(0, 13);
    if (line.trimmed().isEmpty()) continue;
    printLine(stderr, QStringLiteral("folivox-cli: %1: %2").arg(name, printable(line)));
    if (!line.startsWith(QLatin1String("warning: ")) && !line.startsWith(QLatin1String("copied into the book: ")))
      doc.errors << line.trimmed();
  }
  if (!doc.child->running()) return finish(doc);

  const qint64 elapsed = doc.clock.elapsed();
  if (!doc.ending && m_settings.timeoutMs > 0 && elapsed > m_settings.timeoutMs) {
    doc.ending = Status::Timeout;
    doc.termSentMs = elapsed;
    doc.child->signalGroup(SIGTERM);
  }
  if (doc.termSentMs >= 0 && !doc.killed && elapsed - doc.termSentMs > m_settings.graceMs) {
    // Deaf to SIGTERM: stuck in a call that never looks at the stop flag.
    doc.killed = true;
    doc.child->signalGroup(SIGKILL);
  }
}

void BatchRun::finish(Document& doc) {
  m_running.erase(std::find(m_running.begin(), m_running.end(), &doc));
  const std::unique_ptr<ChildProcess> child = std::move(doc.child);
  doc.peakKb = child->peakMemoryKb();
  if (child->exitSignal() != 0 && QFileInfo(doc.folder).isDir()) {
    // Ended by a signal, maybe in the middle of its swaps: a transaction on
    // the folder finishes or removes what it left, and the work folders of
    // ended processes go too.
    BookTransaction cleanup(doc.folder, false);
    (void)cleanup.begin();
    BookSession::removeLeftovers();
  }
  if (doc.ending) {
    const QString error =
        *doc.ending == Status::Timeout
            ? QStringLiteral("took longer than %1 s; stopped").arg(static_cast<double>(m_settings.timeoutMs) / 1000.0)
            : QStringLiteral("stopped before it was done");
    return report(doc, *doc.ending, error);
  }
  if (child->exitCode() != 0 || child->exitSignal() != 0) {
    QString error = doc.errors.join(QStringLiteral("; "));
    if (child->exitSignal() != 0)
      error = QStringLiteral("ended by signal %1%2")
                  .arg(child->exitSignal())
                  .arg(error.isEmpty() ? QString() : QStringLiteral(": ") + error);
    else if (child->exitCode() == 127 && error.isEmpty())
      error = QStringLiteral("cannot run %1").arg(m_settings.program);
    else if (error.isEmpty())
      error = QStringLiteral("publish failed (exit code %1)").arg(child->exitCode());
    return report(doc, Status::Failed, error.left(4000));
  }
  // Published: the record goes in beside the book now in place. Without it a
  // later --skip-done publishes again, which is safe.
  // publish names the page or bundle it wrote, inside the book's folder.
  const QString output = QString::fromUtf8(child->output()).trimmed().section(QLatin1Char('\n'), -1);
  if (!doc.record.isEmpty() && output.startsWith(doc.folder + QLatin1Char('/'))) {
    const QString books = output.endsWith(QLatin1String(".app")) ? output + QStringLiteral("/Contents/Resources")
                                                                 : QFileInfo(output).absolutePath();
    QString why;
    if (!BookSourceRecord::write(books, doc.record, &why))
      printLine(stderr, QStringLiteral("folivox-cli: %1: warning: no record for --skip-done: %2")
                            .arg(printable(QFileInfo(doc.folder).fileName()), why));
  }
  report(doc, Status::Ok, QString());
}

void BatchRun::report(const Document& doc, Status status, const QString& error) {
  ++m_counts[static_cast<int>(status)];
  const double seconds = static_cast<double>(doc.clock.elapsed()) / 1000.0;
  const bool hasBook = status == Status::Ok || status == Status::Skipped;
  const auto [pages, bytes] = hasBook ? bookSize(doc.folder) : std::pair<qint64, qint64>{0, 0};
  const char* statusName = kStatusNames[static_cast<int>(status)];
  if (m_settings.json) {
    QJsonObject line{{QStringLiteral("line"), doc.entry.line},
                     {QStringLiteral("input"), doc.entry.input},
                     {QStringLiteral("output"), doc.folder.isEmpty() ? QJsonValue() : QJsonValue(doc.folder)},
                     {QStringLiteral("status"), QLatin1String(statusName)},
                     {QStringLiteral("pages"), pages},
                     {QStringLiteral("bytes"), bytes},
                     {QStringLiteral("seconds"), std::round(seconds * 1000.0) / 1000.0},
                     {QStringLiteral("error"), error.isEmpty() ? QJsonValue() : QJsonValue(error)}};
    if (doc.threads > 0) {  // a publish ran
      line.insert(QStringLiteral("threads"), doc.threads);
      line.insert(QStringLiteral("peak_memory_kb"), static_cast<qint64>(doc.peakKb));
    }
    printLine(stdout, QString::fromUtf8(QJsonDocument(line).toJson(QJsonDocument::Compact)));
    return;
  }
  // A line that could not be read has no input; its error names the line.
  QString text = QString::fromLatin1(statusName).leftJustified(8);
  if (!doc.entry.input.isEmpty()) text += QLatin1Char(' ') + printable(doc.entry.input);
  if (hasBook)
    text += QStringLiteral(" -> %1 (%2 pages, %3 KB, %4 s)")
                .arg(printable(doc.folder))
                .arg(pages)
                .arg((bytes + 1023) / 1024)
                .arg(seconds, 0, 'f', 1);
  else
    text += (doc.entry.input.isEmpty() ? QStringLiteral(" ") : QStringLiteral(": ")) + printable(error);
  printLine(stdout, text);
}

void BatchRun::stopAll() {
  m_stopping = true;
  for (Document* doc : m_running) {
    if (doc->ending) continue;
    doc->ending = Status::Stopped;
    doc->termSentMs = doc->clock.elapsed();
    doc->child->signalGroup(SIGTERM);
  }
}

int BatchRun::exec() {
  for (;;) {
    if (!m_stopping && TerminationSignals::received() != 0) stopAll();
    while (!m_stopping && !m_pending.empty() && static_cast<int>(m_running.size()) < m_settings.jobs) {
      Document* doc = m_pending.front();
      m_pending.pop_front();
      start(*doc);
      if (TerminationSignals::received() != 0) stopAll();
    }
    if (m_running.empty()) break;
    std::vector<ChildProcess*> children;
    for (Document* doc : m_running) children.push_back(doc->child.get());
    ChildProcess::wait(children, 100);
    for (Document* doc : std::vector<Document*>(m_running)) watch(*doc);
  }
  const int total = static_cast<int>(m_documents.size());
  QString summary = QStringLiteral("folivox-cli: batch: %1 documents: %2 published, %3 skipped, %4 failed")
                        .arg(total)
                        .arg(m_counts[static_cast<int>(Status::Ok)])
                        .arg(m_counts[static_cast<int>(Status::Skipped)])
                        .arg(m_counts[static_cast<int>(Status::Failed)] + m_counts[static_cast<int>(Status::Timeout)]);
  if (m_stopping)
    summary += QStringLiteral(", %1 stopped, %2 not started")
                   .arg(m_counts[static_cast<int>(Status::Stopped)])
                   .arg(m_pending.size());
  printLine(stderr, summary);
  return m_counts[static_cast<int>(Status::Failed)] + m_counts[static_cast<int>(Status::Timeout)] > 0 ? 1 : 0;
}
