// Saves a picture of the main window once the preview has loaded, optionally
// after importing a document through the import sheet, then quits. Used by
// scripts/screenshot.sh to show the program at work.
#pragma once

#include <QObject>
#include <QString>

class AppDelegate;

class ScreenshotTaker : public QObject {
  Q_OBJECT
 public:
  struct Options {
    QString output;      // PNG file to write
    QString importPath;  // document to import first, or ""
    int delayMs = 1500;  // after the preview has loaded, for the player to draw
    int page = 0;        // page to open in the preview, 0 for the first
    int timeoutMs = 180000;
  };

  ScreenshotTaker(AppDelegate& app, Options options, QObject* parent = nullptr);
  // Call after AppDelegate::applicationDidFinishLaunching().
  void start();

 private:
  void previewLoaded(bool ok);
  void capture();
  void finish(int code, const QString& message);

  AppDelegate& m_app;
  Options m_options;
  bool m_importStarted = false;
  bool m_done = false;
};
