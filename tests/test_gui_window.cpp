// The main window: start-up and the first preview, menus and help, window places,
// preview rebuilds that supersede or fail, signals, and shutdown.
#include "GuiFixture.h"

using namespace gui_test;

class TestGuiWindow : public GuiTest {
  Q_OBJECT

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
    sheet->txtFilePath()->setText(twoPdf());
    sheet->onOpenTheFileAction();
    QVERIFY(app->helpView()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(app->helpView()->url(), QUrl::fromLocalFile(twoPdf()), 20000);
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
    // One build runs at a time and reports in order: a report of the superseded one
    // would have come before this one.
    QCOMPARE(built.count(), 1);
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
};

// Runs last: the program ends and takes its preview with it.
class TestGuiShutdown : public GuiTest {
  Q_OBJECT

 private Q_SLOTS:
  void shutdownRemovesThePreview() {
    const QString folder = app->session().flashPreviewFolder();
    QVERIFY(QFileInfo::exists(folder));
    app->applicationWillTerminate();
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(!app->session().flashTmpl());
    app.reset();
  }
};

QObject* makeTestGuiShutdown() { return new TestGuiShutdown; }

QObject* makeTestGuiWindow() { return new TestGuiWindow; }

#include "test_gui_window.moc"
