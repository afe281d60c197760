// The desktop program's window and sheets in German and French (every text
// translated, none cut off) and mirrored for a right-to-left language. The
// pictures of each go to i18n-shots/ in the build folder, to look at.
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QToolBar>
#include <QTreeView>
#include <QWebEngineView>
#include <QXmlStreamReader>
#include <functional>

#include "TestEnv.h"
#include "app/AppDelegate.h"
#include "base/Translations.h"
#include "import/gui/ImportWindowDelegate.h"
#include "publish/gui/OutputWindowDelegate.h"
#include "templates/gui/SelectTemplateWindowDelegate.h"

namespace {

// The English texts that `language`'s file translates to something else.
QSet<QString> translatedSources(const QString& language) {
  QFile file(QStringLiteral(FOLIVOX_SOURCE_DIR "/translations/folivox_%1.ts").arg(language));
  QSet<QString> sources;
  if (!file.open(QIODevice::ReadOnly)) return sources;
  QXmlStreamReader xml(&file);
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) source = xml.readElementText();
    if (xml.name() == QLatin1String("translation") && xml.readElementText() != source) sources << source;
  }
  return sources;
}

QString plain(QString text) { return text.remove(QLatin1Char('&')); }

// Every text a widget below `top` shows, with where it stands.
QList<std::pair<QWidget*, QString>> shownTexts(QWidget* top) {
  QList<std::pair<QWidget*, QString>> texts;
  QList<QWidget*> widgets = top->findChildren<QWidget*>();
  widgets.prepend(top);
  for (QWidget* w : widgets) {
    if (!w->isVisibleTo(top) && w != top) continue;
    if (w->isWindow() && !w->windowTitle().isEmpty()) texts.append({w, w->windowTitle()});
    if (auto* l = qobject_cast<QLabel*>(w)) texts.append({w, l->text()});
    if (auto* b = qobject_cast<QAbstractButton*>(w)) texts.append({w, b->text()});
    if (auto* g = qobject_cast<QGroupBox*>(w)) texts.append({w, g->title()});
    if (!w->toolTip().isEmpty()) texts.append({w, w->toolTip()});
  }
  return texts;
}

// Labels and buttons narrower than their text needs: a word cut off or elided.
QStringList cutOff(QWidget* top) {
  QStringList bad;
  for (const auto& [w, text] : shownTexts(top)) {
    if (text.isEmpty() || w == top || !w->isVisibleTo(top)) continue;
    auto* label = qobject_cast<QLabel*>(w);
    if (label != nullptr && label->text() == text && !label->wordWrap() && label->sizeHint().width() > label->width())
      bad << QStringLiteral("%1 (%2 < %3)").arg(text).arg(label->width()).arg(label->sizeHint().width());
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (button != nullptr && button->text() == text && button->sizeHint().width() > button->width())
      bad << QStringLiteral("%1 (%2 < %3)").arg(text).arg(button->width()).arg(button->sizeHint().width());
  }
  return bad;
}

// Cells of an item view whose text does not fit their column (drawn elided).
QStringList elidedCells(QTreeView* view) {
  QStringList bad;
  QAbstractItemModel* model = view->model();
  std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
    for (int r = 0; r < model->rowCount(parent); ++r) {
      for (int c = 0; c < model->columnCount(parent); ++c) {
        const QModelIndex index = model->index(r, c, parent);
        const QRect rect = view->visualRect(index);
        if (index.data().toString().isEmpty() || !rect.isValid()) continue;
        QStyleOptionViewItem option;
        option.initFrom(view);
        option.rect = rect;
        option.widget = view;
        option.decorationSize = view->iconSize().isValid() ? view->iconSize() : QSize(16, 16);
        const int need = view->itemDelegateForIndex(index)->sizeHint(option, index).width();
        if (need > rect.width())
          bad << QStringLiteral("%1 (%2 < %3)").arg(index.data().toString()).arg(rect.width()).arg(need);
      }
      walk(model->index(r, 0, parent));
    }
  };
  walk(QModelIndex());
  return bad;
}

// Shown texts that are still the English of a text the language translates.
QStringList untranslated(QWidget* top, const QSet<QString>& english) {
  QStringList bad;
  for (const auto& [w, text] : shownTexts(top))
    if (english.contains(text)) bad << text;
  return bad;
}

// Toolbar entries pushed behind the overflow button for want of room.
QStringList hiddenInToolbar(QMainWindow* window) {
  QStringList bad;
  for (QToolBar* bar : window->findChildren<QToolBar*>())
    for (QAction* a : bar->actions())
      if (QWidget* w = bar->widgetForAction(a); w != nullptr && !a->isSeparator() && !w->isVisible())
        bad << plain(a->text());
  return bad;
}

}  // namespace

class TestGuiI18n : public QObject {
  Q_OBJECT

  std::unique_ptr<AppDelegate> app;

  void startWindow() {
    app = std::make_unique<AppDelegate>();
    QSignalSpy loaded(app.get(), &AppDelegate::previewLoaded);
    app->applicationDidFinishLaunching();
    QVERIFY(loaded.count() > 0 || loaded.wait(90000));
    QVERIFY(QTest::qWaitForWindowExposed(app->window()));
    QTest::qWait(200);  // the layout settles once the window is shown
  }

  static void shoot(QWidget* w, const QString& name) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../i18n-shots");
    QDir().mkpath(folder);
    w->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
  }

  void checkWindow(QWidget* w, const QString& language, const QString& name) {
    QCoreApplication::processEvents();
    shoot(w, language + QLatin1Char('-') + name);
    const QStringList cut = cutOff(w);
    QVERIFY2(cut.isEmpty(), qPrintable(name + ": cut off: " + cut.join(QStringLiteral("; "))));
    const QStringList english = untranslated(w, translatedSources(language));
    QVERIFY2(english.isEmpty(), qPrintable(name + ": not translated: " + english.join(QStringLiteral("; "))));
  }

 private Q_SLOTS:
  void cleanup() {
    app.reset();
    useLocale(QStringLiteral("C"));
  }

  void theWindowSpeaksTheLanguageWithNothingCutOff_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    for (const auto& [name, locale, language] : {std::tuple{"English", "C", "en"},
                                                 {"German", "de_DE", "de"},
                                                 {"French", "fr_FR", "fr"},
                                                 {"Spanish", "es_ES", "es"}})
      QTest::newRow(name) << QString(locale) << QString(language);
  }
  void theWindowSpeaksTheLanguageWithNothingCutOff() {
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QCOMPARE(useLocale(locale), language);
    startWindow();
    QMainWindow* w = app->window();
    QCOMPARE(translatedSources(language).isEmpty(), language == QLatin1String("en"));
    checkWindow(w, language, QStringLiteral("window"));
    const QStringList elided = elidedCells(app->outlineView());
    QVERIFY2(elided.isEmpty(), qPrintable("property editor, cut off: " + elided.join(QStringLiteral("; "))));
    const QStringList hidden = hiddenInToolbar(w);
    QVERIFY2(hidden.isEmpty(), qPrintable("behind the toolbar's overflow: " + hidden.join(QStringLiteral("; "))));
    // The menus and the property editor's headings.
    const QSet<QString> english = translatedSources(language);
    for (QAction* menu : w->menuBar()->actions()) {
      QVERIFY2(!english.contains(menu->text()), qPrintable(menu->text()));
      for (QAction* a : menu->menu()->actions())
        QVERIFY2(a->isSeparator() || !english.contains(a->text()), qPrintable(a->text()));
    }
    QAbstractItemModel* model = app->outlineView()->model();
    for (int c = 0; c < model->columnCount(); ++c)
      QVERIFY(!english.contains(model->headerData(c, Qt::Horizontal).toString()));
    // A template property's own title and description come from the template, in the language.
    const QMap<QString, QString> pageWidth = {
        {"en", "Page width"}, {"de", "Seitenbreite"}, {"fr", "Largeur de page"}, {"es", "Ancho de página"}};
    QCOMPARE(model->index(0, 0).data().toString(), pageWidth.value(language));

    app->OnImportPDF();
    checkWindow(app->importWindow(), language, QStringLiteral("import"));
    app->importWindow()->onCancelAction();
    app->OnExportFlipBook();
    checkWindow(app->ouputWindow(), language, QStringLiteral("publish"));
    app->ouputWindow()->onCancel();
    app->onSelectTemplate();
    checkWindow(app->selecteTmplWindow(), language, QStringLiteral("templates"));
    app->selecteTmplWindow()->done(0);
  }

  // Arabic has no translation of ours, but its users read from the right:
  // the window is mirrored, the property editor on the right of the preview.
  void aRightToLeftLanguageMirrorsTheWindow() {
    useLocale(QStringLiteral("ar_EG"));
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    startWindow();
    QMainWindow* w = app->window();
    const int editor = app->outlineView()->mapTo(w, QPoint(0, 0)).x();
    const int preview = app->webView()->mapTo(w, QPoint(0, 0)).x();
    QVERIFY2(editor > preview, qPrintable(QStringLiteral("editor at %1, preview at %2").arg(editor).arg(preview)));
    // The first menu stands at the right end of the menu bar.
    QMenuBar* bar = w->menuBar();
    QVERIFY(bar->actionGeometry(bar->actions().first()).center().x() > bar->width() / 2);
    shoot(w, QStringLiteral("ar-window"));

    // A colour code reads as itself, "#f0f0f0", not with its "#" moved to the end.
    QTreeView* view = app->outlineView();
    const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                                       "Toolbar text colour", 1, Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    const QModelIndex colour = found.first().siblingAtColumn(1);
    QVERIFY(colour.data().toString().startsWith("#f"));
    const auto cell = [&](Qt::LayoutDirection direction) {
      QImage picture(220, 20, QImage::Format_ARGB32);
      picture.fill(Qt::white);
      QPainter painter(&picture);
      painter.setLayoutDirection(direction);
      QStyleOptionViewItem option;
      option.initFrom(view);
      option.rect = picture.rect();
      option.direction = direction;
      option.widget = view;
      view->itemDelegateForIndex(colour)->paint(&painter, option, colour);
      return picture;
    };
    QVERIFY(cell(Qt::RightToLeft) == cell(Qt::LeftToRight));
  }
};

int main(int argc, char** argv) {
  TestEnv env;
  // The web engine refuses to start as root with its sandbox on (as in CI).
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication qapp(argc, argv);
  env.install();
  TestGuiI18n tc;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&tc, argc, argv);
}

#include "test_gui_i18n.moc"
