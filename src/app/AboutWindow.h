// The program's information window: name, version, licence and credits.
#pragma once

#include <QDialog>

class AboutWindow : public QDialog {
  Q_OBJECT
 public:
  explicit AboutWindow(QWidget* parent = nullptr);
  // The text shown, also for tests.
  static QString aboutText();
};
