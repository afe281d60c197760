// What the desktop program's tests share: one running program that the test classes
// drive in turn (test_gui_main.cpp runs them in order: the window starts it, the
// editor, the import sheet and the other dialogs use it, and the last one ends it),
// a scratch folder, and helpers for sheets, colours and the desktop's programs.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QWebEngineView>
#include <cmath>

#include "PdfFixture.h"
#include "TemplateFixture.h"
#include "TestEnv.h"
#include "app/AppDelegate.h"
#include "app/WindowPlacement.h"
#include "base/AppSettings.h"
#include "base/NotificationCenter.h"
#include "base/RecentDocuments.h"
#include "import/FlashPageSource.h"
#include "import/ImportPDFOperation.h"
#include "import/gui/ImportWindowDelegate.h"
#include "publish/BookBinReader.h"
#include "publish/gui/OutputWindowDelegate.h"
#include "templates/FlashTemplate.h"
#include "templates/FlashTemplatePropertyModel.h"
#include "templates/MyColorOper.h"
#include "templates/gui/FlashTemplateOutlineDelegate.h"
#include "templates/gui/FlashTmplCells.h"
#include "templates/gui/FlashTmplValueDelegate.h"
#include "templates/gui/SelectTemplateWindowDelegate.h"
#include "templates/gui/ValueProblemMark.h"

namespace gui_test {

inline constexpr int kWaitMs = 90000;

// A two-page PDF: the first page 595.3 x 841.9 points, the second smaller.
inline QByteArray twoPagePdf() {
  PdfFixture pdf(2);
  pdf.page(0).mediaBox = "[0 0 595.3 841.9]";
  pdf.page(1).mediaBox = "[0 0 300 400]";
  return pdf.build();
}

// The mnemonic letter of a label or button text ("&Open" gives 'o'), or none.
inline QChar mnemonic(const QString& text) {
  for (qsizetype i = text.indexOf('&'); i >= 0 && i + 1 < text.size(); i = text.indexOf('&', i + 2))
    if (text.at(i + 1) != '&') return text.at(i + 1).toLower();
  return {};
}

// Every control of a sheet can be reached with Alt and a letter of its own:
// buttons by their text, fields by the label they are the buddy of. The
// standard OK and Cancel are Enter and Escape.
inline void checkMnemonics(QWidget* sheet) {
  QMap<QChar, QString> used;
  auto claim = [&](const QString& text) {
    const QChar m = mnemonic(text);
    QVERIFY2(!m.isNull(), qPrintable(sheet->windowTitle() + ": no mnemonic in " + text));
    QVERIFY2(!used.contains(m), qPrintable(sheet->windowTitle() + ": " + text + " and " + used.value(m)));
    used.insert(m, text);
  };
  // Parts of a list or a pop-up are reached through it.
  auto insideView = [](QWidget* w) {
    for (QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget())
      if (qobject_cast<QAbstractItemView*>(p) != nullptr || qobject_cast<QComboBox*>(p) != nullptr) return true;
    return false;
  };
  for (QAbstractButton* b : sheet->findChildren<QAbstractButton*>()) {
    if (insideView(b)) continue;
    auto* box = qobject_cast<QDialogButtonBox*>(b->parentWidget());
    if (box != nullptr && box->standardButton(b) != QDialogButtonBox::NoButton) continue;
    claim(b->text());
  }
  QSet<QWidget*> reachable;
  for (QLabel* l : sheet->findChildren<QLabel*>()) {
    if (l->buddy() == nullptr) continue;
    claim(l->text());
    reachable << l->buddy();
  }
  QList<QWidget*> fields;
  for (QWidget* w : sheet->findChildren<QWidget*>())
    if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w)) &&
        !insideView(w))
      fields << w;
  for (QWidget* f : fields)
    QVERIFY2(reachable.contains(f),
             qPrintable(sheet->windowTitle() + ": no label leads to a " + f->metaObject()->className()));
}

// WCAG contrast of two colours.
inline double contrast(const QColor& a, const QColor& b) {
  auto lum = [](const QColor& c) {
    auto ch = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
  };
  const double x = lum(a);
  const double y = lum(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// Programs that stand in for the desktop's in a folder put first on PATH:
// xdg-open records what it was asked to open and ends with `openExit`;
// xdg-mime says this program opens PDFs (as the package's entry makes it on
// a desktop without a PDF viewer).
struct FakeDesktop {
  QTemporaryDir dir;
  QByteArray oldPath = qgetenv("PATH");
  explicit FakeDesktop(int openExit) {
    writeFile(
        dir.filePath("xdg-open"),
        QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\nexit %2\n").arg(dir.filePath("opened")).arg(openExit).toUtf8());
    writeFile(dir.filePath("xdg-mime"), "#!/bin/sh\necho folivox.desktop\n");
    for (const char* tool : {"xdg-open", "xdg-mime"})
      QFile::setPermissions(dir.filePath(tool), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", dir.path().toLocal8Bit() + ":" + oldPath);
  }
  ~FakeDesktop() { qputenv("PATH", oldPath); }
  QStringList opened() const {
    return QString::fromUtf8(readFile(dir.filePath("opened"))).split('\n', Qt::SkipEmptyParts);
  }
};

struct NoteCounter {
  QObject observer;
  int count = 0;
  explicit NoteCounter(const QString& name) {
    NotificationCenter::defaultCenter().addObserver(&observer, name, [this](const Notification&) { ++count; });
  }
};

}  // namespace gui_test

namespace gui_test {

// The program under test and the files the tests make, shared by every class.
struct Program {
  std::unique_ptr<AppDelegate> app;
  QTemporaryDir scratch;
};
inline Program& program() {
  static Program p;
  return p;
}

class GuiTest : public QObject {
 protected:
  std::unique_ptr<AppDelegate>& app = program().app;
  QTemporaryDir& scratch = program().scratch;

  FlashTemplate& tmpl() { return *app->session().flashTmpl(); }
  QString value(const QString& key) { return tmpl().propertyValueFor(key, QStringLiteral("<none>")); }
  QModelIndex valueIndex(const QString& key) {
    FlashTemplatePropertyModel* model = app->tmplDelegate()->model();
    return model->indexOf(tmpl().propertyForKey(key), FlashTemplatePropertyModel::ValueColumn);
  }
  // A two-page PDF in the scratch folder (written by the first test that needs it).
  QString twoPdf() {
    const QString pdf = scratch.filePath(QStringLiteral("two.pdf"));
    if (!QFileInfo::exists(pdf)) writeFile(pdf, twoPagePdf());
    return pdf;
  }
};

}  // namespace gui_test
