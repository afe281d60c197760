#include "base/DesktopOpener.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include "base/Log.h"

DesktopOpener::DesktopOpener(QObject* parent, int patienceMs) : QObject(parent), m_patienceMs(patienceMs) {}

DesktopOpener* DesktopOpener::open(const QString& path, QObject* parent, int patienceMs) {
  auto* opener = new DesktopOpener(parent, patienceMs);
  // The caller connects first; the outcome comes from the event loop.
  QTimer::singleShot(0, opener, [opener, path]() { opener->start(path); });
  return opener;
}

void DesktopOpener::start(const QString& path) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (tool.isEmpty()) {
    finish(false, tr("xdg-open, which opens files in your programs, is not installed (Debian package xdg-utils)"));
    return;
  }
  m_process = new QProcess;  // not a child: it may have to outlive this opener
  m_process->setProgram(tool);
  m_process->setArguments({path});
  m_process->setStandardInputFile(QProcess::nullDevice());
  m_process->setStandardOutputFile(QProcess::nullDevice());
  m_process->setStandardErrorFile(QProcess::nullDevice());
  connect(m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
    if (status == QProcess::NormalExit && code == 0) return finish(true);
    // xdg-open's exit codes.
    if (status == QProcess::NormalExit && code == 3)
      return finish(false, tr("no program that opens this kind of file is set up"));
    if (status == QProcess::NormalExit && code == 4) return finish(false, tr("the program that opens it failed"));
    finish(false, tr("xdg-open ended with code %1").arg(code));
  });
  connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) finish(false, tr("xdg-open could not be started"));
  });
  m_process->start();
  QTimer::singleShot(m_patienceMs, this, [this]() { finish(true); });
}

void DesktopOpener::finish(bool ok, const QString& reason) {
  if (m_done) return;
  m_done = true;
  if (m_process != nullptr) {
    m_process->disconnect(this);
    if (m_process->state() == QProcess::NotRunning) {
      delete m_process;
    } else {
      // xdg-open waits for the program it started (a browser, say): leave it
      // running, and tidy up when it ends. Never killed with the opener.
      connect(m_process, &QProcess::finished, m_process, &QObject::deleteLater);
    }
    m_process = nullptr;
  }
  if (ok) {
    Q_EMIT opened();
  } else {
    qCWarning(lcApp).noquote() << "cannot open:" << reason;
    Q_EMIT failed(reason);
  }
  deleteLater();
}
