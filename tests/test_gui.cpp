// The desktop program driven through its real window, offscreen: start-up and
// the first preview, the blinking apply button, the property editor's
// delegates, an import through the import sheet, the template chooser,
// publishing, settings files and shutdown.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QRegularExpression>
#include <QScreen>
#include <cmath>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QWebEngineView>

#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "PdfFixture.h"
#include "TestEnv.h"
#include "base/RecentDocuments.h"
#include "publish/BookBinReader.h"
#include "templates/gui/ValueProblemMark.h"
#include "app/AppDelegate.h"
#include "base/AppSettings.h"
#include "base/NotificationCenter.h"
#include "import/FlashPageSource.h"
#include "import/ImportPDFOperation.h"
#include "import/gui/ImportWindowDelegate.h"
#include "publish/gui/OutputWindowDelegate.h"
#include "templates/FlashTemplate.h"
#include "templates/gui/FlashTemplateOutlineDelegate.h"
#include "templates/FlashTemplatePropertyModel.h"
#include "templates/gui/FlashTmplCells.h"
#include "templates/gui/FlashTmplValueDelegate.h"
#include "templates/gui/SelectTemplateWindowDelegate.h"
#include "templates/MyColorOper.h"
#include "app/WindowPlacement.h"

namespace {

constexpr int kWaitMs = 90000;

// A two-page PDF: the first page 595.3 x 841.9 points, the second smaller.
QByteArray twoPagePdf() {
  PdfFixture pdf(2);
  pdf.page(0).mediaBox = "[0 0 595.3 841.9]";
  pdf.page(1).mediaBox = "[0 0 300 400]";
  return pdf.build();
}

// The value a style's settings file gives a key ("" when it gives none).
QString styleValue(const QString& tmplName, const QString& style, const QString& key) {
  QFile f(FlashTemplate::stylePathFor(tmplName, style) + QStringLiteral("/tmplSetting.txt"));
  if (!f.open(QIODevice::ReadOnly)) return QString();
  QString found;
  for (const auto& [k, v] : FlashTemplate::parseSettings(f.readAll()))
    if (k == key) found = v;
  return found;
}

// The mnemonic letter of a label or button text ("&Open" gives 'o'), or none.
QChar mnemonic(const QString& text) {
  for (qsizetype i = text.indexOf('&'); i >= 0 && i + 1 < text.size(); i = text.indexOf('&', i + 2))
    if (text.at(i + 1) != '&') return text.at(i + 1).toLower();
  return {};
}

// Every control of a sheet can be reached with Alt and a letter of its own:
// buttons by their text, fields by the label they are the buddy of. The
// standard OK and Cancel are Enter and Escape.
void checkMnemonics(QWidget* sheet) {
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
    QVERIFY2(reachable.contains(f), qPrintable(sheet->windowTitle() + ": no label leads to a " + f->metaObject()->className()));
}

// WCAG contrast of two colours.
double contrast(const QColor& a, const QColor& b) {
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
    writeFile(dir.filePath("xdg-open"), QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\nexit %2\n")
                                            .arg(dir.filePath("opened"))
                                            .arg(openExit)
                                            .toUtf8());
    writeFile(dir.filePath("xdg-mime"), "#!/bin/sh\necho folivox.desktop\n");
    for (const char* tool : {"xdg-open", "xdg-mime"})
      QFile::setPermissions(dir.filePath(tool), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", dir.path().toLocal8Bit() + ":" + oldPath);
  }
  ~FakeDesktop() { qputenv("PATH", oldPath); }
  QStringList opened() const { return QString::fromUtf8(readFile(dir.filePath("opened"))).split('\n', Qt::SkipEmptyParts); }
};

struct NoteCounter {
  QObject observer;
  int count = 0;
  explicit NoteCounter(const QString& name) {
    NotificationCenter::defaultCenter().addObserver(&observer, name, [this](const Notification&) { ++count; });
  }
};

}  // namespace

class TestGui : public QObject {
  Q_OBJECT

  std::unique_ptr<AppDelegate> app;
  QTemporaryDir scratch;

  FlashTemplate& tmpl() { return *app->session().flashTmpl(); }
  QString value(const QString& key) { return tmpl().propertyValueFor(key, QStringLiteral("<none>")); }
  QModelIndex valueIndex(const QString& key) {
    FlashTemplatePropertyModel* model = app->tmplDelegate()->model();
    return model->indexOf(tmpl().propertyForKey(key), FlashTemplatePropertyModel::ValueColumn);
  }

 private Q_SLOTS:
  void startUpBuildsThePreview() {
    app = std::make_unique<AppDelegate>();
    QSignalSpy loaded(app.get(), &AppDelegate::previewLoaded);
    app->applicationDidFinishLaunching();
    QVERIFY(app->window()->isVisible());
    // Placed through the window manager at a size of its own, not stretched
    // over the whole screen by hand (which put its title bar off the screen).
    const QRect free = app->window()->screen()->availableGeometry();
    QVERIFY(app->window()->size() != free.size());
    QVERIFY(free.contains(app->window()->frameGeometry()));
    QVERIFY(loaded.count() > 0 || loaded.wait(kWaitMs));
    QCOMPARE(loaded.first().first().toBool(), true);

    const QString folder = app->session().flashPreviewFolder();
    QCOMPARE(QFileInfo(folder).absolutePath(), PlatformPaths::current().userAppSupport + "/Folivox/preview");
    QVERIFY(QFileInfo(folder).fileName().startsWith("preview-"));
    QVERIFY(QFileInfo::exists(folder + "/index.html"));
    QVERIFY(QFileInfo::exists(folder + "/files/book.bin"));
    QVERIFY(!QDir(folder + "/files/page").entryList(QDir::Files).isEmpty());
    // The player keeps "#page=N" in the address.
    QCOMPARE(app->webView()->url().adjusted(QUrl::RemoveFragment), QUrl::fromLocalFile(folder + "/index.html"));
    // The player has read the book.
    auto state = std::make_shared<QString>();
    QTRY_VERIFY_WITH_TIMEOUT((app->webView()->page()->runJavaScript(
                                  "window.folivoxState", [state](const QVariant& v) { *state = v.toString(); }),
                              *state == "ready"),
                             30000);

    QCOMPARE(app->btnFloat()->text(), QString("Float"));
    QVERIFY(app->outlineView()->model()->rowCount() > 5);
    QVERIFY(
        app->outlineView()->isExpanded(app->tmplDelegate()->model()->indexOf(tmpl().propertyForKey("toolbarGroup"))));
    QCOMPARE(app->applyChangeImageName(), QString("apply"));
    QVERIFY(app->applyChangeTimer() == nullptr);
  }

  void editsBlinkUntilApply() {
    QSignalSpy built(app.get(), &AppDelegate::previewBuilt);
    FlashTemplatePropertyModel* model = app->tmplDelegate()->model();
    // Storing the value a property already has is no edit.
    QVERIFY(!model->setData(valueIndex("bookTitle"), value("bookTitle")));
    QVERIFY(app->applyChangeTimer() == nullptr);

    QTimer* timer = nullptr;
    for (int i = 0; i < 10; ++i) {
      QVERIFY(model->setData(valueIndex("bookTitle"), QStringLiteral("Title %1").arg(i)));
      if (i == 0) timer = app->applyChangeTimer();
    }
    QVERIFY(timer && timer->isActive());
    QCOMPARE(app->applyChangeTimer(), timer);
    QCOMPARE(app->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly).size(), qsizetype(1));
    const int tag = app->applyChangeTag();
    QTRY_VERIFY_WITH_TIMEOUT(app->applyChangeTag() != tag, 2000);
    QCOMPARE(app->applyChangeImageName(), QStringLiteral("apply%1").arg(app->applyChangeTag() + 1));
    // A few blinks, then the button stays marked (an endless blink kept a core busy).
    QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 10000);
    QCOMPARE(app->applyChangeTimer(), timer);
    QCOMPARE(app->applyChangeImageName(), QStringLiteral("apply%1").arg(AppDelegate::kMarkedFrame));
    QCOMPARE(built.count(), 0);

    app->OnApplyChange();
    // The build runs on a worker: the window goes on at once.
    QVERIFY(app->isBuildingPreview());
    QVERIFY(app->applyChangeTimer() == nullptr);
    QCOMPARE(app->applyChangeImageName(), QString("apply"));
    QVERIFY(built.wait(kWaitMs));
    QCOMPARE(built.count(), 1);
    QVERIFY(QFile(app->session().flashPreviewFolder() + "/index.html").size() > 0);
  }

  void delegatesStoreRealChanges() {
    QTreeView* view = app->outlineView();
    FlashTmplValueDelegate* delegate = app->tmplDelegate()->valueDelegate();
    NoteCounter changes(FlashTmplProValueChangedNotification);

    // List: a pop-up of the entries with the value selected.
    const QModelIndex language = valueIndex("languageSetting");
    view->setCurrentIndex(language);
    view->edit(language);
    auto* combo = qobject_cast<QComboBox*>(view->indexWidget(language));
    QVERIFY(combo);
    QCOMPARE(combo->count(), FlashTemplatePropertyModel::listEntries(*tmpl().propertyForKey("languageSetting")).size());
    QCOMPARE(combo->currentText(), value("languageSetting"));
    const int before = combo->currentIndex();
    delegate->setModelData(combo, view->model(), language);  // unchanged: nothing posted
    QCOMPARE(changes.count, 0);
    combo->setCurrentIndex(before == 1 ? 2 : 1);
    Q_EMIT combo->activated(combo->currentIndex());
    QCOMPARE(value("languageSetting"), combo->itemText(combo->currentIndex()));
    QCOMPARE(changes.count, 1);

    // Switch: a click on the check box stores YES or NO.
    const QModelIndex hard = valueIndex("isHardCover");
    const QString hardBefore = value("isHardCover");
    view->scrollTo(hard);
    QStyleOptionViewItem opt;
    opt.initFrom(view);
    opt.rect = view->visualRect(hard);
    opt.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    opt.text = hard.data().toString();
    const QRect check = view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, check.center());
    QCOMPARE(value("isHardCover"), QString(hardBefore == "YES" ? "NO" : "YES"));
    QCOMPARE(changes.count, 2);

    // Colour: the swatch opens the chooser; its colour is stored as text.
    delegate->setColorPicker([](const QColor&, QWidget*) { return QColor(0x33, 0x66, 0x99); });
    const QModelIndex colour = valueIndex("toolbarColor");
    view->setCurrentIndex(colour);
    view->edit(colour);
    auto* colourCell = qobject_cast<FlashTmplColorCell*>(view->indexWidget(colour));
    QVERIFY(colourCell);
    QCOMPARE(colourCell->text(), MyColorOper::displayText(value("toolbarColor")));
    QVERIFY(colourCell->text().startsWith('#'));
    colourCell->swatchButton()->click();
    QCOMPARE(value("toolbarColor"), QString("0x336699"));
    QCOMPARE(changes.count, 3);
    delegate->onSelectColor(colour, view);  // the same colour again: nothing posted
    QCOMPARE(changes.count, 3);

    // File: the chooser gets the property's extensions; a cancel keeps the path.
    QStringList offered;
    const QString mp3 = scratch.filePath("page.mp3");
    writeFile(mp3, "ID3");
    std::optional<QString> answer = mp3;
    delegate->setFilePicker([&](const QString&, const QStringList& ext, QWidget*) {
      offered = ext;
      return answer;
    });
    const QModelIndex sound = valueIndex("flipSound");
    view->setCurrentIndex(sound);
    view->edit(sound);
    auto* fileCell = qobject_cast<FlashTmplFileCell*>(view->indexWidget(sound));
    QVERIFY(fileCell);
    fileCell->browseButton()->click();
    QCOMPARE(value("flipSound"), mp3);
    QVERIFY(offered.contains("mp3") && offered.contains("ogg"));
    answer = std::nullopt;
    delegate->onSelectFile(sound, view);
    QCOMPARE(value("flipSound"), mp3);
    QCOMPARE(changes.count, 4);

    // Text: typed and committed.
    const QModelIndex title = valueIndex("bookTitle");
    view->setCurrentIndex(title);
    view->edit(title);
    auto* line = qobject_cast<QLineEdit*>(view->indexWidget(title));
    QVERIFY(line);
    line->setText("A typed title");
    delegate->setModelData(line, view->model(), title);
    QCOMPARE(value("bookTitle"), QString("A typed title"));
    QCOMPARE(changes.count, 5);

    // Each selection change posts once and fills the description box.
    NoteCounter tips(UpdateFlashTmplProTipNotification);
    view->clearSelection();
    const int cleared = tips.count;
    view->selectionModel()->select(valueIndex("flipSpeed"),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QCOMPARE(tips.count, cleared + 1);
    QCOMPARE(app->toolTipBox()->title(), tmpl().propertyForKey("flipSpeed")->title());
    QCOMPARE(app->toolTip()->toPlainText(), tmpl().propertyForKey("flipSpeed")->desc());
    app->OnApplyChange();
  }

  void importThroughTheSheet() {
    ImportWindowDelegate* dialog = app->importWindow();
    const auto demo = app->session().flashPageSource();
    app->OnImportPDF();
    QVERIFY(dialog->isVisible());

    dialog->txtFilePath()->setText(QString());
    dialog->onImportAction();
    QCOMPARE(dialog->lblInfo()->text(), QString("Import file does not exist."));

    // A file that is no PDF: the reason is shown and the book stays.
    const QString junk = scratch.filePath("junk.pdf");
    writeFile(junk, "this is not a PDF at all");
    dialog->txtFilePath()->setText(junk);
    QSignalSpy failed(dialog, &ImportWindowDelegate::importFailed);
    dialog->onImportAction();
    QVERIFY(failed.wait(kWaitMs));
    QVERIFY(dialog->isVisible() && !dialog->isImporting());
    QVERIFY(!dialog->lblInfo()->isHidden());
    QVERIFY2(dialog->lblInfo()->text().contains("junk.pdf"), qPrintable(dialog->lblInfo()->text()));
    QCOMPARE(app->session().flashPageSource(), demo);

    // A real PDF, all pages even though the range field holds text.
    const QString pdf = scratch.filePath("two.pdf");
    writeFile(pdf, twoPagePdf());
    dialog->txtFilePath()->setText(pdf);
    dialog->pageRangeType()->button(0)->click();
    dialog->txtPageRange()->setText("2");
    dialog->importQuality()->setCurrentIndex(4);
    // Pictures: the lightest format per page unless the user picks one.
    QCOMPARE(dialog->pictureFormat()->currentIndex(), PictureFormats::toSetting(PictureFormat::Auto));
    dialog->pictureFormat()->setCurrentIndex(PictureFormats::toSetting(PictureFormat::Jpeg));
    QVERIFY(!dialog->txtPageRange()->isEnabled());
    // The sheet's own end, not the next preview: a rebuild still under way from
    // earlier steps may finish first on a loaded machine.
    QSignalSpy accepted(dialog, &QDialog::accepted);
    QSignalSpy built(app.get(), &AppDelegate::previewBuilt);
    dialog->onImportAction();
    QVERIFY(dialog->isImporting() || accepted.count() > 0);
    QVERIFY(accepted.count() > 0 || accepted.wait(kWaitMs));
    QVERIFY(!dialog->isVisible());
    QVERIFY(built.count() > 0 || built.wait(kWaitMs));
    QCOMPARE(dialog->importPDF()->pageRange(), QString("ALL"));
    QCOMPARE(dialog->importPDF()->quality(), 25);
    QCOMPARE(dialog->importPDF()->DPI(), 144);
    QCOMPARE(value("pageWidth"), QString("595"));
    QCOMPARE(value("pageHeight"), QString("841"));
    QCOMPARE(app->session().flashPageSource()->normalPages().size(), size_t(2));
    QCOMPARE(AppSettings::shareInstance().lastImportedFile(), pdf);
    QCOMPARE(AppSettings::shareInstance().importPageRange(), QString("2"));
    QCOMPARE(AppSettings::shareInstance().importQualityLevel(), 4);
    QCOMPARE(dialog->importPDF()->pictureFormat(), PictureFormat::Jpeg);
    QCOMPARE(AppSettings::shareInstance().importPictureFormat(), PictureFormats::toSetting(PictureFormat::Jpeg));
    QVERIFY(app->session().flashPageSource()->normalPages().front()->pageFilePath().endsWith(".jpg"));

    // A text document is converted first, whatever the case of its extension.
    const QString text = scratch.filePath("NOTES.TXT");
    writeFile(text, "Chapter one\n\nSome words to turn into a page.\n");
    app->OnImportPDF();
    dialog->txtFilePath()->setText(text);
    accepted.clear();
    dialog->onImportAction();
    QVERIFY(accepted.count() > 0 || accepted.wait(kWaitMs));
    QCOMPARE(QFileInfo(dialog->txtImportFile()).fileName(), QString("Folivox.pdf"));
    QVERIFY(
        QFileInfo(dialog->txtImportFile()).absolutePath().startsWith(PlatformPaths::current().tmpRoot + "/Quireon-"));
    QCOMPARE(value("pageWidth"), QString("648"));
    QVERIFY(!app->session().flashPageSource()->normalPages().empty());

    // Cancel while idle closes the sheet with 0 and keeps the book.
    const auto kept = app->session().flashPageSource();
    app->OnImportPDF();
    QSignalSpy finished(dialog, &QDialog::finished);
    dialog->onCancelAction();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), 0);
    QCOMPARE(app->session().flashPageSource(), kept);
  }

  void importSheetClosedMidwayCancels() {
    ImportWindowDelegate* dialog = app->importWindow();
    const QString big = scratch.filePath("big.pdf");
    writeFile(big, PdfFixture(600).build());
    const auto kept = app->session().flashPageSource();
    QSignalSpy ended(dialog, &QDialog::finished);

    // Escape is Cancel: the import stops, the sheet stays, idle.
    app->OnImportPDF();
    dialog->txtFilePath()->setText(big);
    dialog->pageRangeType()->button(0)->click();
    dialog->onImportAction();
    QVERIFY(dialog->isImporting());
    // Nothing that changes the import can be touched while it runs, also
    // after a click on a range button.
    dialog->pageRangeType()->button(1)->click();
    for (QWidget* w : std::initializer_list<QWidget*>{dialog->btnOK(), dialog->importQuality(), dialog->pictureFormat(), dialog->txtPageRange(),
                                                      dialog->txtFilePath(), dialog->btnImportLinks(),
                                                      dialog->btnImportBookMark(), dialog->pageRangeType()->button(0)})
      QVERIFY2(!w->isEnabled(), qPrintable(w->metaObject()->className()));
    QVERIFY(dialog->prgBar()->isVisible());
    // The bar counts pages once the first one is done.
    QTRY_VERIFY_WITH_TIMEOUT(dialog->prgBar()->maximum() == 600 || !dialog->isImporting(), kWaitMs);
    QVERIFY2(QRegularExpression("^Importing page \\d+ of 600$").match(dialog->lblInfo()->text()).hasMatch() ||
                 !dialog->isImporting(),
             qPrintable(dialog->lblInfo()->text()));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isImporting(), kWaitMs);
    QVERIFY(dialog->isVisible());
    QCOMPARE(ended.count(), 0);
    QVERIFY(dialog->btnOK()->isEnabled());
    QCOMPARE(app->session().flashPageSource(), kept);

    // The window's close button ends the sheet and drops the import's result.
    dialog->pageRangeType()->button(0)->click();
    dialog->onImportAction();
    QVERIFY(dialog->isImporting());
    dialog->close();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.first().first().toInt(), 0);
    QVERIFY(!dialog->isImporting());
    QTest::qWait(3000);  // long enough for an import that ran on to end
    QCOMPARE(app->session().flashPageSource(), kept);
    QVERIFY(!dialog->isVisible());
    QVERIFY(dialog->btnOK()->isEnabled());
  }

  void importWarningsAreShown() {
    ImportWindowDelegate* dialog = app->importWindow();
    QSignalSpy built(app.get(), &AppDelegate::previewBuilt);
    app->OnImportPDF();
    dialog->txtFilePath()->setText(scratch.filePath("two.pdf"));
    dialog->pageRangeType()->button(1)->click();
    dialog->txtPageRange()->setText("1-80");
    dialog->onImportAction();
    QVERIFY(built.wait(kWaitMs));
    QCOMPARE(app->session().flashPageSource()->normalPages().size(), size_t(2));
    QVERIFY2(app->importNotice().contains("Pages 3-80 are not in two.pdf (2 pages)"), qPrintable(app->importNotice()));
    auto* notice = app->window()->findChild<QMessageBox*>("importNotice");
    QVERIFY(notice && notice->isVisible());
    QVERIFY(notice->informativeText().contains("3-80"));
    notice->accept();
    // The imported document names the window and is the newest recent one.
    QVERIFY(app->window()->windowTitle().startsWith("two.pdf[*]"));
    QVERIFY(app->window()->isWindowModified());
    QCOMPARE(RecentDocuments::list().value(0), scratch.filePath("two.pdf"));
  }

  void documentsOpenFromOutside() {
    ImportWindowDelegate* dialog = app->importWindow();
    const QString text = scratch.filePath("dropped.txt");
    writeFile(text, "Dropped words\n");

    // Dropped on the window: the import sheet opens with that file.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(text)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app->window(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app->window(), &drop);
    QVERIFY(drop.isAccepted());
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->txtFilePath()->text(), text);
    dialog->onCancelAction();
    QVERIFY(!dialog->isVisible());
    // Files that are no document are refused.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(scratch.filePath("page.mp3"))});
    QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app->window(), &refused);
    QVERIFY(!refused.isAccepted());

    // "folivox FILE" does the same.
    QVERIFY(app->openDocument(scratch.filePath("two.pdf")));
    QCOMPARE(dialog->txtFilePath()->text(), scratch.filePath("two.pdf"));
    dialog->onCancelAction();

    // Open Recent lists what was imported, without files that are gone, and clears.
    const QString gone = scratch.filePath("gone.pdf");
    writeFile(gone, twoPagePdf());
    RecentDocuments::add(gone);
    QFile::remove(gone);
    QMenu* recent = app->recentMenu();
    Q_EMIT recent->aboutToShow();
    QStringList entries;
    for (QAction* a : recent->actions())
      if (!a->isSeparator()) entries << a->text();
    QVERIFY2(entries.size() >= 2 && entries.first().endsWith("two.pdf"), qPrintable(entries.join('|')));
    QVERIFY(!entries.join('|').contains("gone.pdf"));
    recent->actions().first()->trigger();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->txtFilePath()->text(), scratch.filePath("two.pdf"));
    dialog->onCancelAction();
    recent->actions().last()->trigger();  // Clear Menu
    Q_EMIT recent->aboutToShow();
    QCOMPARE(recent->actions().size(), qsizetype(2));  // separator and the disabled Clear
    QVERIFY(!recent->actions().last()->isEnabled());
  }

  void chooserAppliesAStyle() {
    SelectTemplateWindowDelegate* chooser = app->selecteTmplWindow();
    chooser->prepairToTmpl("FLOAT");
    const QList<QTableWidgetItem*> rows = chooser->tableViewTmpls()->selectedItems();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first()->text(), QString("Float"));  // as the toolbar names it

    app->onSelectTemplate();
    QVERIFY(chooser->isVisible());
    QListWidget* styles = chooser->imgBrowserView();
    QList<QListWidgetItem*> ocean = styles->findItems("Ocean", Qt::MatchExactly);
    QCOMPARE(ocean.size(), 1);
    QVERIFY(styles->findItems("images", Qt::MatchExactly).isEmpty());  // picture folders are no styles
    const QString width = value("pageWidth");
    tmpl().setPropertyValue("isHardCover", styleValue("float", "Ocean", "isHardCover") == "YES" ? "NO" : "YES");
    QSignalSpy built(app.get(), &AppDelegate::previewBuilt);
    // A double click on a thumbnail is OK.
    styles->doItemsLayout();
    styles->scrollToItem(ocean.first());
    const QPoint at = styles->visualItemRect(ocean.first()).center();
    // The view takes a double click only after a press on the same item.
    QTest::mouseClick(styles->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(styles->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(built.wait(kWaitMs));
    QCOMPARE(built.count(), 1);
    QVERIFY(!chooser->isVisible());
    QCOMPARE(tmpl().styleName(), std::optional<QString>("Ocean"));
    QCOMPARE(value("bgColor"), styleValue("float", "Ocean", "bgColor"));
    QCOMPARE(value("pageWidth"), width);
    QCOMPARE(app->btnFloat()->text(), QString("Float"));
    // The style set its own hard cover over the user's: the window says so,
    // and the rebuilt preview does not wipe the notice.
    const QString hard = tmpl().propertyForKey("isHardCover")->title();
    QVERIFY2(app->templateNotice().contains(hard), qPrintable(app->templateNotice()));
    QCOMPARE(app->window()->statusBar()->currentMessage(), app->templateNotice());

    // Cancel changes nothing.
    app->onSelectTemplate();
    chooser->onCancel();
    QTest::qWait(100);
    QCOMPARE(built.count(), 1);

    // The current template and style are selected on opening; OK with a
    // template but no style picked applies that template's default style.
    app->onSelectTemplate();
    QCOMPARE(chooser->selectedTemplateName(), QString("float"));
    QCOMPARE(chooser->imgBrowserView()->currentItem()->text(), QString("Ocean"));
    QCOMPARE(chooser->selectedStyle(), std::optional<QString>(FlashTemplate::stylePathFor("float", "Ocean") + "/shot.jpg"));
    for (int row = 0; row < chooser->tmplListData().size(); ++row)
      if (QFileInfo(chooser->tmplListData().at(row)).fileName() == "slate") chooser->tableViewTmpls()->selectRow(row);
    QCOMPARE(chooser->selectedTemplateName(), QString("slate"));
    QVERIFY(chooser->imgBrowserView()->selectedItems().isEmpty());
    chooser->onOK();
    QVERIFY(built.wait(kWaitMs));
    QCOMPARE(tmpl().tmplName(), QString("slate"));
    QCOMPARE(tmpl().styleName(), std::optional<QString>(tmpl().defaultStyleName()));
    QCOMPARE(app->btnFloat()->text(), QString("Slate"));
    QCOMPARE(value("pageWidth"), width);
    // One step: undo goes back to float with Ocean.
    app->undoAction()->trigger();
    QCOMPARE(tmpl().tmplName(), QString("float"));
    QCOMPARE(tmpl().styleName(), std::optional<QString>("Ocean"));
    QCOMPARE(app->btnFloat()->text(), QString("Float"));
    app->OnApplyChange();
    QVERIFY(built.wait(kWaitMs));
  }

  void publishWritesAndRemembers() {
    OutputWindowDelegate* dialog = app->ouputWindow();
    std::vector<PublishResult> shown;
    dialog->setAlertPresenter([&](const PublishResult& r, QWidget*) {
      shown.push_back(r);
      return OutputWindowDelegate::AlertAnswer::Close;  // "No"
    });
    int opened = 0;
    dialog->setUrlOpener([&](const QUrl&) { ++opened; });

    app->OnExportFlipBook();
    QCOMPARE(dialog->flashTmpl(), app->session().flashTmpl());
    QCOMPARE(dialog->flashPageSource(), app->session().flashPageSource());
    QVERIFY(!dialog->flashOutline() && !dialog->flashPagesAnnotations());
    const QString out = scratch.filePath("published");
    dialog->txtOutputFolder()->setText(out);
    dialog->txtOutputName()->setText("Book");
    dialog->txtTitle()->setText("A Published Book");
    dialog->mOutputType()->button(0)->click();
    QSignalSpy finished(dialog, &QDialog::finished);
    QVERIFY(app->window()->isWindowModified());
    dialog->onPublish();
    QVERIFY(dialog->isPublishing());
    QVERIFY(!dialog->txtOutputFolder()->isEnabled());
    QVERIFY(finished.wait(kWaitMs));
    QCOMPARE(finished.first().first().toInt(), 1);
    QVERIFY(!app->window()->isWindowModified());  // published: nothing unsaved
    QCOMPARE(shown.size(), size_t(1));
    QVERIFY(shown[0].succeeded());
    QCOMPARE(opened, 0);
    QFile page(out + "/Book.html");
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("A Published Book"));
    QVERIFY(QFileInfo::exists(out + "/files/book.bin"));
    QVERIFY(!dialog->flashTmpl());  // the sheet holds the book only while it is up

    // The choices are remembered, and a new dialog starts with them.
    QSettings store(QStringLiteral("Folivox"), QStringLiteral("Folivox"));
    QCOMPARE(store.value("lastOutputFileFolder").toString(), out);
    QCOMPARE(store.value("lastOutputFileName").toString(), QString("Book"));
    QCOMPARE(store.value("lastOutputFileTitle").toString(), QString("A Published Book"));
    QCOMPARE(store.value("outputType").toInt(), 0);
    OutputWindowDelegate fresh;
    QCOMPARE(fresh.txtOutputFolder()->text(), out);
    QCOMPARE(fresh.txtTitle()->text(), QString("A Published Book"));

    // A failed publish says so; nothing is opened.
    writeFile(scratch.filePath("blocker"), "x");
    app->OnExportFlipBook();
    dialog->txtOutputFolder()->setText(scratch.filePath("blocker/book"));
    finished.clear();
    dialog->onPublish();
    QVERIFY(finished.wait(kWaitMs));
    QCOMPARE(shown.size(), size_t(2));
    QVERIFY(!shown[1].succeeded());
    QCOMPARE(shown[1].alertMessage(), QString("Publishing failed."));
    QCOMPARE(opened, 0);

    // A folder with the user's own page: the sheet asks first. "Cancel" keeps
    // the page and the sheet; "Replace" publishes over it.
    const QString site = scratch.filePath("site");
    QDir().mkpath(site);
    writeFile(site + "/Book.html", "<h1>mine</h1>");
    bool replace = false;
    QStringList asked;
    dialog->setReplaceQuestion([&](const PublishResult& r, QWidget*) {
      asked << r.foreignEntries;
      return replace;
    });
    app->OnExportFlipBook();
    dialog->txtOutputFolder()->setText(site);
    finished.clear();
    QSignalSpy ended(dialog, &OutputWindowDelegate::publishEnded);
    dialog->onPublish();
    QVERIFY(ended.wait(kWaitMs));
    QCOMPARE(asked, QStringList({"Book.html"}));
    QVERIFY(!dialog->isPublishing() && dialog->isVisible());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(shown.size(), size_t(2));
    QFile mine(site + "/Book.html");
    QVERIFY(mine.open(QIODevice::ReadOnly) && mine.readAll() == "<h1>mine</h1>");
    mine.close();
    replace = true;
    dialog->onPublish();
    QVERIFY(finished.wait(kWaitMs));
    QCOMPARE(asked.size(), 2);
    QCOMPARE(shown.size(), size_t(3));
    QVERIFY(shown[2].succeeded());
    QVERIFY(mine.open(QIODevice::ReadOnly) && mine.readAll().contains("A Published Book"));

    // A folder that other users may change: asked too, and a yes to that is
    // not a yes to replacing files.
    const QString open = scratch.filePath("open");
    QDir().mkpath(open);
    QFile::setPermissions(open, QFileDevice::Permissions(0x7777));
    asked.clear();
    replace = false;
    dialog->setReplaceQuestion([&](const PublishResult& r, QWidget*) {
      asked << (r.sharedFolder ? QStringLiteral("shared") : r.foreignEntries.join(QLatin1Char(',')));
      return replace;
    });
    app->OnExportFlipBook();
    dialog->txtOutputFolder()->setText(open);
    finished.clear();
    ended.clear();
    dialog->onPublish();
    QVERIFY(ended.wait(kWaitMs));
    QCOMPARE(asked, QStringList({"shared"}));
    QVERIFY(QDir(open).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    replace = true;
    dialog->onPublish();
    QVERIFY(finished.wait(kWaitMs));
    QCOMPARE(asked, QStringList({"shared", "shared"}));
    QVERIFY(QFileInfo::exists(open + "/Book.html"));

    // A publish killed between its swaps, in the folder the sheet names: it
    // is finished as soon as the sheet shows.
    const QString pending = scratch.filePath("pending");
    const QString staging = pending + "/.folivox-staging-dead03";
    writeFile(pending + "/index.html", "old page");
    writeFile(staging + "/index.html", "new page");
    struct stat st {};
    QCOMPARE(::lstat(QFile::encodeName(staging + "/index.html").constData(), &st), 0);
    writeFile(staging + "/.folivox-swap-list", QByteArray::number(qulonglong(st.st_ino)) + "\tindex.html\n");
    dialog->txtOutputFolder()->setText(pending);
    app->OnExportFlipBook();
    QVERIFY(dialog->isVisible());
    QCOMPARE(readFile(pending + "/index.html"), QByteArray("new page"));
    QVERIFY(!QFileInfo::exists(staging));
    dialog->onCancel();
  }

  // "Open it?" names the folder, offers to show it, and a book that cannot be
  // opened is reported, not passed over in silence.
  void openingTheBookSaysWhereAndWhenItFails() {
    OutputWindowDelegate* dialog = app->ouputWindow();
    const FakeDesktop desktop(3);
    dialog->setUrlOpener({});  // the real opener, with the fake xdg-open
    OutputWindowDelegate::AlertAnswer answer = OutputWindowDelegate::AlertAnswer::Open;
    QString detail;
    dialog->setAlertPresenter([&](const PublishResult& r, QWidget*) {
      detail = r.alertDetail();
      return answer;
    });
    const QString out = scratch.filePath("opened");
    QSignalSpy finished(dialog, &QDialog::finished);
    app->OnExportFlipBook();
    dialog->txtOutputFolder()->setText(out);
    dialog->onPublish();
    QVERIFY(finished.wait(kWaitMs));
    QVERIFY2(detail.contains(out), qPrintable(detail));
    QTRY_VERIFY_WITH_TIMEOUT(app->window()->findChild<QMessageBox*>("openFailed") != nullptr, 20000);
    auto* failed = app->window()->findChild<QMessageBox*>("openFailed");
    QVERIFY2(failed->text().contains(out) && failed->text().contains("no program"), qPrintable(failed->text()));
    failed->accept();
    answer = OutputWindowDelegate::AlertAnswer::ShowFolder;
    app->OnExportFlipBook();
    finished.clear();
    dialog->onPublish();
    QVERIFY(finished.wait(kWaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(desktop.opened().size(), qsizetype(2), 20000);
    QCOMPARE(desktop.opened(), QStringList({out + "/" + dialog->options().pageName(), out}));
    QTRY_VERIFY_WITH_TIMEOUT(app->window()->findChild<QMessageBox*>("openFailed") != nullptr, 20000);
    app->window()->findChild<QMessageBox*>("openFailed")->accept();
    // An empty title stands for the document's, as the field's hint shows.
    QVERIFY(!dialog->txtTitle()->placeholderText().isEmpty());
  }

  void settingsFilesRoundTrip() {
    QSignalSpy built(app.get(), &AppDelegate::previewBuilt);
    tmpl().setPropertyValue("bookTitle", "Saved title");
    const QString written = app->exportTmplSettingsTo(scratch.filePath("look")).path;
    QCOMPARE(written, scratch.filePath("look.txt"));
    tmpl().setPropertyValue("bookTitle", "Other");
    app->importTmplSettingsFrom(written);
    QCOMPARE(value("bookTitle"), QString("Saved title"));
    QVERIFY(built.wait(kWaitMs));
    QCOMPARE(built.count(), 1);
  }

  void undoRedoAndUnsavedEdits() {
    FlashTemplatePropertyModel* model = app->tmplDelegate()->model();
    QSignalSpy built(app.get(), &AppDelegate::previewBuilt);
    app->session().markPublished();  // as after a publish: nothing unsaved
    const QString before = value("bookTitle");
    QVERIFY(model->setData(valueIndex("bookTitle"), "First"));
    QVERIFY(model->setData(valueIndex("bookTitle"), "Second"));
    QVERIFY(app->window()->isWindowModified());
    QVERIFY(app->undoAction()->isEnabled());
    QCOMPARE(app->undoAction()->text(), "&Undo " + tmpl().propertyForKey("bookTitle")->title());
    QVERIFY(app->undoAction()->shortcuts().contains(QKeySequence("Ctrl+Z")));
    QVERIFY(app->redoAction()->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
    const QModelIndex selected = valueIndex("bookTitle");
    app->outlineView()->setCurrentIndex(selected);
    app->undoAction()->trigger();
    QCOMPARE(value("bookTitle"), QString("First"));
    QCOMPARE(app->outlineView()->currentIndex(), selected);  // the editor keeps its place
    QCOMPARE(selected.data().toString(), QString("First"));
    QVERIFY(app->applyChangeTimer() != nullptr);  // the preview is out of date
    app->undoAction()->trigger();
    QCOMPARE(value("bookTitle"), before);
    QVERIFY(!app->window()->isWindowModified());
    app->redoAction()->trigger();
    QCOMPARE(value("bookTitle"), QString("First"));

    // Quitting with unsaved edits asks; "Cancel" keeps the window.
    int asked = 0;
    app->setQuitQuestion([&](QWidget*) {
      ++asked;
      return false;
    });
    QVERIFY(!app->window()->close());
    QCOMPARE(asked, 1);
    QVERIFY(app->window()->isVisible());
    QVERIFY(app->exportTmplSettingsTo(scratch.filePath("saved.txt")).succeeded());
    QVERIFY(!app->window()->isWindowModified());
    QVERIFY(app->maySafelyClose());  // saved: no question
    QCOMPARE(asked, 1);
    app->setQuitQuestion({});
    app->OnApplyChange();
    QVERIFY(built.wait(kWaitMs));
  }

  void keyboardReachesTheValues() {
    QTreeView* view = app->outlineView();
    FlashTmplValueDelegate* delegate = app->tmplDelegate()->valueDelegate();
    view->setFocus();
    // A click or arrow on a row makes its value cell the current one.
    view->setCurrentIndex(valueIndex("isHardCover").siblingAtColumn(FlashTemplatePropertyModel::KeyColumn));
    QCOMPARE(view->currentIndex(), valueIndex("isHardCover"));
    const QString hard = value("isHardCover");
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(value("isHardCover") != hard);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(value("isHardCover"), hard);
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(view->currentIndex().column(), int(FlashTemplatePropertyModel::ValueColumn));

    // Enter opens the colour chooser.
    int picked = 0;
    delegate->setColorPicker([&](const QColor&, QWidget*) {
      ++picked;
      return QColor(0x12, 0x34, 0x56);
    });
    view->setCurrentIndex(valueIndex("toolbarColor"));
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(picked, 1);
    QCOMPARE(value("toolbarColor"), QString("0x123456"));

    // One Enter does one thing: a typed colour is stored, and no chooser
    // opens after it (whose OK would put the old colour back).
    QTest::keyClick(view, Qt::Key_F2);
    auto* colourCell = qobject_cast<FlashTmplColorCell*>(view->indexWidget(valueIndex("toolbarColor")));
    QVERIFY(colourCell);
    colourCell->lineEdit()->selectAll();
    QTest::keyClicks(colourCell->lineEdit(), "#ff0000");
    QTest::keyClick(colourCell->lineEdit(), Qt::Key_Return);
    QTRY_COMPARE(value("toolbarColor"), QString("0xff0000"));
    QCOMPARE(picked, 1);
    // The same for a typed path.
    int browsed = 0;
    delegate->setFilePicker([&](const QString&, const QStringList&, QWidget*) {
      ++browsed;
      return std::optional<QString>();
    });
    const QString sound = scratch.filePath("typed.mp3");
    writeFile(sound, "ID3");
    view->setCurrentIndex(valueIndex("flipSound"));
    QTest::keyClick(view, Qt::Key_F2);
    auto* fileCell = qobject_cast<FlashTmplFileCell*>(view->indexWidget(valueIndex("flipSound")));
    QVERIFY(fileCell);
    fileCell->lineEdit()->selectAll();
    QTest::keyClicks(fileCell->lineEdit(), sound);
    QTest::keyClick(fileCell->lineEdit(), Qt::Key_Return);
    QTRY_COMPARE(value("flipSound"), sound);
    QCOMPARE(browsed, 0);
    delegate->setFilePicker({});

    // F2 edits; a number that is no number is marked and not stored.
    const QString width = value("pageWidth");
    view->setCurrentIndex(valueIndex("pageWidth"));
    QTest::keyClick(view, Qt::Key_F2);
    auto* line = qobject_cast<QLineEdit*>(view->indexWidget(valueIndex("pageWidth")));
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, "abc");
    QVERIFY(ValueProblemMark::problemOf(line).contains("not a number"));
    QVERIFY(line->styleSheet().contains("border"));
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_VERIFY(view->indexWidget(valueIndex("pageWidth")) == nullptr);  // the editor commits queued
    QCOMPARE(value("pageWidth"), width);
    view->setCurrentIndex(valueIndex("pageWidth"));
    QTest::keyClick(view, Qt::Key_F2);
    line = qobject_cast<QLineEdit*>(view->indexWidget(valueIndex("pageWidth")));
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, "640");
    QVERIFY(ValueProblemMark::problemOf(line).isEmpty());
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_COMPARE(value("pageWidth"), QString("640"));
    delegate->setColorPicker({});
  }

  void menusAndHelp() {
    // Items that open a dialog end in "..."; the toolbar shows them without.
    QStringList texts;
    for (QAction* menu : app->window()->menuBar()->actions())
      for (QAction* a : menu->menu()->actions()) texts << a->text();
    for (const char* t : {"&Import...", "&Publish...", "&Export Settings...", "Import &Settings...", "&Template...",
                          "&About Folivox..."})
      QVERIFY2(texts.contains(t), qPrintable(texts.join('|')));
    QVERIFY(texts.contains("Folivox &Manual"));

    // F1 shows the manual in the program's own window, also when the desktop
    // would hand PDFs to this very program (a second Folivox, in its import
    // sheet). So does the import sheet's "Open" for a PDF; other documents go
    // to the desktop, and a failure to open them is shown.
    const FakeDesktop desktop(3);
    app->OnOpenHelp();
    QVERIFY(app->helpView() && app->helpView()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(app->helpView()->url(), QUrl::fromLocalFile(BookSession::manualPath()), 20000);
    // It fits on the screen.
    QVERIFY(app->helpView()->screen()->availableGeometry().contains(app->helpView()->frameGeometry()));
    app->helpView()->close();
    ImportWindowDelegate* sheet = app->importWindow();
    app->OnImportPDF();
    sheet->txtFilePath()->setText(scratch.filePath("two.pdf"));
    sheet->onOpenTheFileAction();
    QVERIFY(app->helpView()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(app->helpView()->url(), QUrl::fromLocalFile(scratch.filePath("two.pdf")), 20000);
    app->helpView()->close();
    sheet->onCancelAction();
    ImportWindowDelegate plain;  // a sheet that leaves every document to the desktop
    const QString rtf = scratch.filePath("letter.rtf");
    writeFile(rtf, "{\\rtf1 Hello}");
    plain.open();
    plain.txtFilePath()->setText(rtf);
    plain.onOpenTheFileAction();
    QTRY_VERIFY_WITH_TIMEOUT(plain.lblInfo()->isVisible() && plain.lblInfo()->text().contains("could not be opened"),
                             20000);
    QCOMPARE(desktop.opened(), QStringList{rtf});
    plain.done(0);

    // Quit has Ctrl+Q whatever the theme binds to the standard key.
    QVERIFY(app->quitAction()->shortcuts().contains(QKeySequence("Ctrl+Q")));
  }

  void keyboardAndMnemonics() {
    QMainWindow* w = app->window();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    // Tab leaves the description box instead of being kept there.
    app->toolTip()->setFocus();
    QVERIFY(app->toolTip()->hasFocus());
    QTest::keyClick(app->toolTip(), Qt::Key_Tab);
    QVERIFY(!app->toolTip()->hasFocus());

    // A sheet opens at its first field, not on the Cancel that an earlier
    // import or publish left the focus on.
    ImportWindowDelegate* import = app->importWindow();
    app->OnImportPDF();
    import->btnCancel()->setFocus();
    import->enableButtons(false);  // as while an import runs
    import->enableButtons(true);
    import->onCancelAction();
    app->OnImportPDF();
    QCOMPARE(import->focusWidget(), static_cast<QWidget*>(import->txtFilePath()));
    checkMnemonics(import);
    import->onCancelAction();
    OutputWindowDelegate* publish = app->ouputWindow();
    app->OnExportFlipBook();
    QCOMPARE(publish->focusWidget(), static_cast<QWidget*>(publish->txtOutputFolder()));
    checkMnemonics(publish);
    publish->onCancel();
    checkMnemonics(app->selecteTmplWindow());
  }

  // In a dark palette an invalid value's mark keeps its text readable.
  void invalidValueMarkReadsInAnyPalette() {
    for (const auto& [base, text] : {std::pair{QColor(0x20, 0x20, 0x20), QColor(0xee, 0xee, 0xee)},
                                     std::pair{QColor(Qt::white), QColor(Qt::black)}}) {
      QLineEdit edit;
      QPalette palette = edit.palette();
      palette.setColor(QPalette::Base, base);
      palette.setColor(QPalette::Text, text);
      edit.setPalette(palette);
      edit.resize(240, 32);
      ValueProblemMark::watch(&edit, pt_number);
      edit.setText("MMMMMMMM");
      QVERIFY(!ValueProblemMark::problemOf(&edit).isEmpty());
      // The field's most common colour is its background; the text is the
      // colour that stands out most from it.
      const QImage shot = edit.grab().toImage();
      QHash<QRgb, int> counts;
      for (int y = 6; y < shot.height() - 6; ++y)
        for (int x = 6; x < shot.width() / 2; ++x) ++counts[shot.pixel(x, y)];
      QRgb background = 0;
      for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background)) background = it.key();
      double best = 1;
      for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(QColor(background), QColor(it.key())));
      QVERIFY2(best >= 4.5, qPrintable(QStringLiteral("contrast %1 on %2").arg(best).arg(QColor(background).name())));
    }
  }

  // Windows open where the user left them, else at a size of their own that
  // fits on the screen.
  void windowsOpenWhereTheyWereLeft() {
    QWidget first;
    WindowPlacement::restore(&first, "probe", QSize(8000, 6000));
    const QRect free = first.screen()->availableGeometry();
    QVERIFY(free.contains(first.geometry()));
    QVERIFY(first.width() < free.width());
    first.setGeometry(QRect(free.topLeft() + QPoint(30, 40), QSize(300, 200)));
    WindowPlacement::save(&first, "probe");
    QWidget again;
    WindowPlacement::restore(&again, "probe", QSize(640, 480));
    QCOMPARE(again.size(), QSize(300, 200));
  }

  void newerChangesSupersedeAPreviewBuild() {
    QSignalSpy built(app.get(), &AppDelegate::previewBuilt);
    QSignalSpy loaded(app.get(), &AppDelegate::previewLoaded);
    app->OnApplyChange();
    QVERIFY(app->isBuildingPreview());
    QVERIFY(app->previewProgress()->isVisible());
    tmpl().setPropertyValue("bookTitle", "Newest title");
    app->OnApplyChange();
    QVERIFY(built.wait(kWaitMs));
    QTest::qWait(200);
    QCOMPARE(built.count(), 1);  // the superseded build never shows
    QVERIFY(!app->previewProgress()->isVisible());
    const BookBinReader::Result book = BookBinReader::inspect(app->session().flashPreviewFolder());
    QVERIFY(book.ok() && book.bookXml.contains("Newest title"));
    QVERIFY(loaded.count() > 0 || loaded.wait(kWaitMs));
  }

  void failedRebuildSaysSoInTheWindow() {
    const QString folder = app->session().flashPreviewFolder();
    const QString parent = BookSession::previewParentFolder();
    // The preview folder vanished and no new one can be made there.
    QVERIFY(QDir(parent).removeRecursively());
    QVERIFY(QFile(parent).open(QIODevice::WriteOnly));
    QSignalSpy built(app.get(), &AppDelegate::previewBuilt);
    app->applyChange();
    QVERIFY(built.count() > 0 || built.wait(kWaitMs));
    QVERIFY(!app->lastPreview().succeeded());
    QVERIFY2(app->window()->statusBar()->currentMessage().startsWith("The preview could not be rebuilt: "),
             qPrintable(app->window()->statusBar()->currentMessage()));
    // Once it can be made again, the next rebuild clears the message.
    QVERIFY(QFile::remove(parent));
    QSignalSpy loaded(app.get(), &AppDelegate::previewLoaded);
    built.clear();
    app->applyChange();
    QVERIFY(built.count() > 0 || built.wait(kWaitMs));
    QVERIFY(app->lastPreview().succeeded());
    QVERIFY(app->session().flashPreviewFolder() != folder);
    QVERIFY(app->window()->statusBar()->currentMessage().isEmpty());
    QVERIFY(loaded.count() > 0 || loaded.wait(kWaitMs));
  }

  // The program itself, signalled: it quits as from the menu (preview
  // removed) and a killed one's preview is swept by the next start.
  void signalsQuitTheProgramInOrder() {
    const QString previews = BookSession::previewParentFolder();
    auto previewOf = [&](qint64 pid) {
      const QStringList found =
          QDir(previews).entryList({QStringLiteral("preview-%1-*").arg(pid)}, QDir::Dirs | QDir::NoDotAndDotDot);
      return found.isEmpty() ? QString() : previews + "/" + found.first();
    };
    auto start = [&](QProcess& p) {
      p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      p.start(QCoreApplication::applicationDirPath() + "/folivox", QStringList());
      QVERIFY(p.waitForStarted());
      QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(previewOf(p.processId()) + "/index.html"), 60000);
    };
    QProcess killed;
    start(killed);
    const QString left = previewOf(killed.processId());
    killed.kill();
    QVERIFY(killed.waitForFinished());
    QVERIFY(QFileInfo::exists(left));

    QProcess second;
    start(second);
    QTRY_VERIFY(!QFileInfo::exists(left));  // swept at start-up, on a worker
    const QString preview = previewOf(second.processId());
    QCOMPARE(::kill(static_cast<pid_t>(second.processId()), SIGTERM), 0);
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 128 + SIGTERM);
    QVERIFY(!QFileInfo::exists(preview));
  }

  void shutdownRemovesThePreview() {
    const QString folder = app->session().flashPreviewFolder();
    QVERIFY(QFileInfo::exists(folder));
    app->applicationWillTerminate();
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(!app->session().flashTmpl());
    app.reset();
  }
};

int main(int argc, char** argv) {
  TestEnv env;
  // The web engine refuses to start as root with its sandbox on (as in CI).
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication qapp(argc, argv);
  env.install();
  TestGui tc;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&tc, argc, argv);
}

#include "test_gui.moc"
