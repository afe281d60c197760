// folivox-cli: the command-line tool over the same core as the desktop program.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <initializer_list>
#include <memory>

#include "base/Log.h"
#include "base/PlatformPaths.h"
#include "base/PrivateFolder.h"
#include "base/TerminationSignals.h"
#include "base/Translations.h"
#include "cli/CliCommands.h"
#include "session/BookSession.h"

namespace {

const char* const kUsage =
    QT_TRANSLATE_NOOP("folivox-cli",
                      "Usage: folivox-cli COMMAND [ARGUMENTS]\n"
                      "Turns a PDF, text or RTF document, or a folder of pictures, into a page-flip e-book\n"
                      "that any modern browser plays.\n"
                      "\n"
                      "Commands:\n"
                      "  publish INPUT -o DIR [options]  publish a book from a document or a folder of pictures\n"
                      "  inspect BOOK [--text]           print the book.xml inside a book folder or a book.bin,\n"
                      "                                  or the text of the book\n"
                      "  templates                       list the templates and their styles\n"
                      "  batch LIST -o OUTDIR [options]  publish every document of a list, each into OUTDIR/NAME/\n"
                      "\n"
                      "Options:\n"
                      "  -h, --help                      show this help; after a command, that command's help\n"
                      "  --version                       show the version\n"
                      "\n"
                      "'folivox-cli COMMAND --help' lists the options of a command.\n");

QString usage() { return QCoreApplication::translate("folivox-cli", kUsage); }

struct Command {
  const char* name;
  int (*run)(const QStringList& args);
};

const Command kCommands[] = {
    {"publish", runPublishCommand},
    {"inspect", runPrintBookCommand},
    {"templates", runTemplatesCommand},
    {"batch", runBatchCommand},
};

// Whether one of the flags stands among the arguments, before a "--" that ends
// the options; so "publish in.pdf -o out --help" asks for help as well.
bool hasFlag(const QStringList& args, std::initializer_list<const char*> flags) {
  for (const QString& a : args) {
    if (a == QLatin1String("--")) return false;
    for (const char* f : flags)
      if (a == QLatin1String(f)) return true;
  }
  return false;
}

// Qt wants a private runtime folder: the one it would pick,
// $TMPDIR/runtime-<uid>, made or closed (mode 0700) through the folder
// opened, never through a link; when something else stands there (a link, a
// folder of another user), a folder of this run's own.
void provideRuntimeFolder(std::unique_ptr<PrivateFolder>& own) {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const QByteArray dir = QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(::getuid());
  ::mkdir(dir.constData(), 0700);
  const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st {};
  const bool ours = fd >= 0 && ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() &&
                    ((st.st_mode & 07777) == 0700 || ::fchmod(fd, 0700) == 0);
  if (fd >= 0) ::close(fd);
  if (ours) {
    qputenv("XDG_RUNTIME_DIR", dir);
  } else if ((own = PrivateFolder::create(QDir::tempPath(), QStringLiteral("folivox-cli-runtime-")))) {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own->path()));
  }
}

int run(int argc, char** argv) {
  // Text and RTF conversion lays out text with QtGui; it runs without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Logging::setStderrPrefix(QStringLiteral("folivox-cli: "));
  std::unique_ptr<PrivateFolder> ownRuntimeFolder;
  provideRuntimeFolder(ownRuntimeFolder);
  // Read the arguments before QGuiApplication sees them: it takes options such
  // as --style and --title for itself.
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Folivox"));
  QCoreApplication::setApplicationName(QStringLiteral("Folivox"));
  QCoreApplication::setApplicationVersion(QStringLiteral(FOLIVOX_VERSION));
  Translations::install(app);

  // Help and version answer before anything else, so they write no log.
  QTextStream out(stdout);
  QTextStream err(stderr);
  if (args.isEmpty()) {
    err << usage();
    return 2;
  }
  const QString first = args.takeFirst();
  if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
    out << usage();
    return 0;
  }
  const Command* command = nullptr;
  for (const Command& c : kCommands)
    if (first == QLatin1String(c.name)) command = &c;
  if (first == QLatin1String("--version") || (command != nullptr && hasFlag(args, {"--version"}))) {
    out << "folivox-cli " << FOLIVOX_VERSION << "\n";
    return 0;
  }
  if (command == nullptr) {
    err << "folivox-cli: " << QCoreApplication::translate("folivox-cli", "unknown command '%1'").arg(first) << "\n"
        << usage();
    return 2;
  }
  if (hasFlag(args, {"--help", "-h"})) return command->run({QStringLiteral("--help")});

  Logging::prepaireTheLog(PlatformPaths::current());
  // The log keeps the details; the commands report what went wrong themselves,
  // in one line each.
  Logging::setEchoToStderr(QtFatalMsg);
  // Ctrl-C, SIGTERM and SIGHUP stop a running import; the command then ends
  // as after a failure, removing what it made.
  TerminationSignals terminationSignals;
  // A second signal ends the run at once, its work folders removed first.
  QObject::connect(&terminationSignals, &TerminationSignals::terminationForced, [] {
    BookSession::removeOwnFolders();
    QTextStream(stderr) << "folivox-cli: stopped at once\n";
  });
  BookSession::removeLeftovers();
  return command->run(args);
}

}  // namespace

int main(int argc, char** argv) {
  const int code = run(argc, argv);
  // Everything is cleaned up by now: end by the signal that stopped us, so
  // that a shell loop or a service manager sees it.
  TerminationSignals::raiseReceived();
  return code;
}
