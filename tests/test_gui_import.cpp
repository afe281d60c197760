// The import sheet: importing through it, closing it midway, its warnings, and documents
// that arrive from outside (dropped, named on the command line, recent).
#include "GuiFixture.h"

using namespace gui_test;

class TestGuiImport : public GuiTest {
  Q_OBJECT

 private Q_SLOTS:
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
    const QString pdf = twoPdf();
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
    for (QWidget* w :
         std::initializer_list<QWidget*>{dialog->btnOK(), dialog->importQuality(), dialog->pictureFormat(),
                                         dialog->txtPageRange(), dialog->txtFilePath(), dialog->btnImportLinks(),
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
    const std::shared_ptr<ImportPDFOperation> running = dialog->importPDF();
    QVERIFY(running);
    bool reported = false;  // queued behind the sheet's own handler of the same signal
    connect(
        running.get(), &Operation::finished, dialog, [&reported] { reported = true; }, Qt::QueuedConnection);
    QVERIFY(!running->isFinished());
    dialog->close();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.first().first().toInt(), 0);
    QVERIFY(!dialog->isImporting());
    QTRY_VERIFY_WITH_TIMEOUT(reported, kWaitMs);  // the import has ended and the sheet has seen it
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
};

QObject* makeTestGuiImport() { return new TestGuiImport; }

#include "test_gui_import.moc"
