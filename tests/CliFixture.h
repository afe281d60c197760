// Runs folivox-cli as a user or a script runs it, for the tests of the command
// line: one place that starts it, feeds it and collects its exit code and output.
#pragma once

#include <QCoreApplication>
#include <QProcess>

inline QString cliProgram() { return QCoreApplication::applicationDirPath() + QStringLiteral("/folivox-cli"); }

struct CliRun {
  int code = -1;  // the exit code; -2 when a signal ended it, -1 when it did not end in time
  QString out;
  QString err;
};

// `program` is folivox-cli unless a test starts it through another program;
// `input` is its standard input, closed after.
inline CliRun runCli(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                     const QByteArray& input = {}, const QString& cwd = {}, const QString& program = cliProgram()) {
  QProcess p;
  p.setProcessEnvironment(env);
  if (!cwd.isEmpty()) p.setWorkingDirectory(cwd);
  p.start(program, args);
  p.write(input);
  p.closeWriteChannel();
  CliRun r;
  if (!p.waitForFinished(180000)) return r;
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}
