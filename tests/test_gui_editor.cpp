// The property editor: the blinking apply button, the value delegates, undo and redo,
// the keyboard, and the mark of an invalid value.
#include "GuiFixture.h"

using namespace gui_test;

class TestGuiEditor : public GuiTest {
  Q_OBJECT

 private Q_SLOTS:
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
};

QObject* makeTestGuiEditor() { return new TestGuiEditor; }

#include "test_gui_editor.moc"
