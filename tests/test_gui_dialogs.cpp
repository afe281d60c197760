// The other sheets: the template chooser, publishing and opening the book, settings
// files, and the keyboard and mnemonics of every sheet.
#include "GuiFixture.h"

using namespace gui_test;

class TestGuiDialogs : public GuiTest {
  Q_OBJECT

 private Q_SLOTS:
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
    QCoreApplication::sendPostedEvents();
    QVERIFY(!app->isBuildingPreview());
    QCOMPARE(built.count(), 1);

    // The current template and style are selected on opening; OK with a
    // template but no style picked applies that template's default style.
    app->onSelectTemplate();
    QCOMPARE(chooser->selectedTemplateName(), QString("float"));
    QCOMPARE(chooser->imgBrowserView()->currentItem()->text(), QString("Ocean"));
    QCOMPARE(chooser->selectedStyle(),
             std::optional<QString>(FlashTemplate::stylePathFor("float", "Ocean") + "/shot.jpg"));
    for (int row = 0; row < chooser->tmplListData().size(); ++row)
      if (QFileInfo(chooser->tmplListData().at(row)).fileName() == "slate") chooser->tableViewTmpls()->selectRow(row);
    QCOMPARE(chooser->selectedTemplateName(), QString("slate"));
    QVERIFY(chooser->imgBrowserView()->selectedItems().isEmpty());
    chooser->onOK();
    QVERIFY(built.wait(kWaitMs));
    QCOMPARE(tmpl().tmplName(), QString("slate"));
    QCOMPARE(tmpl().styleName(), std::optional<QString>(tmpl().defaultSytleName()));
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
    QVERIFY(readFile(out + "/Book.html").contains("A Published Book"));
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
    QCOMPARE(readFile(site + "/Book.html"), QByteArray("<h1>mine</h1>"));
    replace = true;
    dialog->onPublish();
    QVERIFY(finished.wait(kWaitMs));
    QCOMPARE(asked.size(), 2);
    QCOMPARE(shown.size(), size_t(3));
    QVERIFY(shown[2].succeeded());
    QVERIFY(readFile(site + "/Book.html").contains("A Published Book"));

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
};

QObject* makeTestGuiDialogs() { return new TestGuiDialogs; }

#include "test_gui_dialogs.moc"
