#include "app/ScreenshotTaker.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>

#include "app/AppDelegate.h"
#include "import/gui/ImportWindowDelegate.h"

ScreenshotTaker::ScreenshotTaker(AppDelegate& app, Options options, QObject* parent)
    : QObject(parent), m_app(app), m_options(std::move(options)) {}

void ScreenshotTaker::start() {
  connect(&m_app, &AppDelegate::previewLoaded, this, &ScreenshotTaker::previewLoaded);
  connect(m_app.importWindow(), &ImportWindowDelegate::importFailed, this,
          [this](const QString& reason) { finish(1, QStringLiteral("import failed: ") + reason); });
  QTimer::singleShot(m_options.timeoutMs, this, [this]() { finish(1, QStringLiteral("timed out")); });
}

void ScreenshotTaker::previewLoaded(bool ok) {
  if (m_done) return;
  if (!ok) {
    finish(1, QStringLiteral("the preview did not load"));
    return;
  }
  if (!m_options.importPath.isEmpty() && !m_importStarted) {
    m_importStarted = true;
    m_app.OnImportPDF();
    ImportWindowDelegate* dialog = m_app.importWindow();
    dialog->txtFilePath()->setText(QFileInfo(m_options.importPath).absoluteFilePath());
    dialog->onImportAction();
    return;  // the adopted import rebuilds the preview and loads it again
  }
  if (m_options.page > 0)
    m_app.webView()->page()->runJavaScript(QStringLiteral("location.hash = '#page=%1';").arg(m_options.page));
  QTimer::singleShot(m_options.delayMs, this, &ScreenshotTaker::capture);
}

void ScreenshotTaker::capture() {
  if (m_done) return;
  const QPixmap picture = m_app.window()->grab();
  if (picture.isNull() || !picture.save(m_options.output, "PNG")) {
    finish(1, QStringLiteral("cannot write ") + m_options.output);
    return;
  }
  finish(0, m_options.output);
}

void ScreenshotTaker::finish(int code, const QString& message) {
  if (m_done) return;
  m_done = true;
  std::fprintf(code == 0 ? stdout : stderr, "%s\n", qPrintable(message));
  QApplication::exit(code);
}
