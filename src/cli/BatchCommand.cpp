// folivox-cli batch: many documents, each into a book folder of its own.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <cmath>

#include "base/AvailableCores.h"
#include "cli/BatchRun.h"
#include "cli/CliCommands.h"
#include "session/BatchList.h"

namespace {

int usageError(const QString& message) {
  QTextStream(stderr) << "folivox-cli batch: " << message << "\n";
  return 2;
}

}  // namespace

int runBatchCommand(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Publishes every document of LIST, one a line: INPUT and its publish options, split into words as a\n"
      "shell does. Each book goes to OUTDIR/NAME/, NAME made from the input's file name. A document that\n"
      "fails is reported and the others go on; Ctrl-C keeps the finished books and the earlier book of those\n"
      "under way. Exit status 0 when every document was published or skipped, 1 when one failed."));
  parser.addPositionalArgument(
      QStringLiteral("LIST"),
      QCoreApplication::translate("BatchCommand", "the list of documents; - for the standard input"));
  const QCommandLineOption outOpt(
      {QStringLiteral("o"), QStringLiteral("output")},
      QCoreApplication::translate("BatchCommand", "the folder that gets a book folder for each document"),
      QStringLiteral("OUTDIR"));
  const QCommandLineOption jobsOpt(
      QStringLiteral("jobs"), QCoreApplication::translate("BatchCommand", "documents published at once (default 1)"),
      QStringLiteral("N"), QStringLiteral("1"));
  const QCommandLineOption threadsOpt(
      QStringLiteral("threads"),
      QCoreApplication::translate(
          "BatchCommand", "render threads of each document (default: the cores shared among the documents under way)"),
      QStringLiteral("N"), QStringLiteral("0"));
  const QCommandLineOption timeoutOpt(
      QStringLiteral("timeout"),
      QCoreApplication::translate("BatchCommand", "stop a document that takes longer than this (default 0: no limit)"),
      QStringLiteral("SECONDS"), QStringLiteral("0"));
  const QCommandLineOption partOpt(
      QStringLiteral("part"),
      QCoreApplication::translate(
          "BatchCommand",
          "publish only the K-th of N equal slices of the list (K from 0), with the names the whole "
          "list gives: one slice for each of N machines"),
      QStringLiteral("K/N"), QStringLiteral("0/1"));
  const QCommandLineOption skipOpt(
      QStringLiteral("skip-done"),
      QCoreApplication::translate("BatchCommand",
                                  "skip documents whose book is there from the same input bytes and options"));
  const QCommandLineOption jsonOpt(
      QStringLiteral("json"),
      QCoreApplication::translate("BatchCommand",
                                  "one JSON line per document on stdout: input, output, pages, bytes, "
                                  "seconds, status (ok, skipped, failed, timeout, stopped), error"));
  const QCommandLineOption helpOpt({QStringLiteral("h"), QStringLiteral("help")},
                                   QCoreApplication::translate("BatchCommand", "show this help"));
  parser.addOptions({outOpt, jobsOpt, threadsOpt, timeoutOpt, partOpt, skipOpt, jsonOpt, helpOpt});
  if (!parser.parse(QStringList{QStringLiteral("folivox-cli batch")} + args)) return usageError(parser.errorText());
  if (parser.isSet(helpOpt)) return printCommandHelp(parser, QStringLiteral("batch"));
  if (parser.positionalArguments().size() != 1)
    return usageError(QCoreApplication::translate("BatchCommand", "needs exactly one LIST"));
  if (parser.value(outOpt).isEmpty()) return usageError(QCoreApplication::translate("BatchCommand", "needs -o OUTDIR"));

  BatchSettings settings;
  bool ok = false;
  settings.jobs = parser.value(jobsOpt).toInt(&ok);
  if (!ok || settings.jobs < 1 || settings.jobs > 256)
    return usageError(QCoreApplication::translate("BatchCommand", "--jobs takes a number from 1 to 256"));
  settings.threads = parser.value(threadsOpt).toInt(&ok);
  if (!ok || settings.threads < 0 || settings.threads > 256)
    return usageError(
        QCoreApplication::translate("BatchCommand", "--threads takes a number from 0 (share the cores) to 256"));
  const double timeout = parser.value(timeoutOpt).toDouble(&ok);
  if (!ok || !std::isfinite(timeout) || timeout < 0 || timeout > 1e7)
    return usageError(QCoreApplication::translate("BatchCommand", "--timeout takes a number of seconds (0: no limit)"));
  settings.timeoutMs = static_cast<qint64>(timeout * 1000.0);
  const QStringList part = parser.value(partOpt).split(QLatin1Char('/'));
  bool partOk = false;
  bool partsOk = false;
  settings.part = part.value(0).toInt(&partOk);
  settings.parts = part.value(1).toInt(&partsOk);
  if (part.size() != 2 || !partOk || !partsOk || settings.parts < 1 || settings.parts > 1000000 || settings.part < 0 ||
      settings.part >= settings.parts)
    return usageError(QCoreApplication::translate("BatchCommand", "--part takes K/N, a slice K from 0 to N-1"));
  settings.skipDone = parser.isSet(skipOpt);
  settings.json = parser.isSet(jsonOpt);
  settings.cores = AvailableCores::count();
  settings.program = QCoreApplication::applicationFilePath();
  settings.outDir = QDir(parser.value(outOpt)).absolutePath();
  if (settings.outDir == QLatin1String("/"))
    return usageError(QCoreApplication::translate("BatchCommand", "OUTDIR cannot be the root folder"));

  QByteArray bytes;
  QString error;
  if (!BatchList::read(parser.positionalArguments().first(), &bytes, &error)) return usageError(error);
  BatchList::Result list = BatchList::parse(bytes);
  if (!list.error.isEmpty()) return usageError(list.error);
  if (!QDir().mkpath(settings.outDir))
    return usageError(QCoreApplication::translate("BatchCommand", "cannot create the folder %1").arg(settings.outDir));
  return BatchRun(settings, std::move(list.entries)).exec();
}
