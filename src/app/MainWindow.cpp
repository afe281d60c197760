#include "app/MainWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

#include "templates/FlashTemplate.h"

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), iFlashTmpl(std::make_unique<FlashTemplate>()) {
  setWindowTitle(QStringLiteral("Folivox"));
  m_tree = new QTreeWidget(this);
  m_tree->setColumnCount(2);
  m_tree->setHeaderLabels({tr("Property"), tr("Value")});
  m_tree->setIndentation(8);
  m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  setCentralWidget(m_tree);
  fillTree();
  const QString status = iFlashTmpl->loadError().isEmpty()
                             ? tr("Template: %1").arg(iFlashTmpl->tmplName())
                             : tr("Template %1 could not be loaded: %2").arg(iFlashTmpl->tmplName(), iFlashTmpl->loadError());
  statusBar()->addWidget(new QLabel(status, this));
  resize(900, 650);
}

MainWindow::~MainWindow() = default;

void MainWindow::fillTree() {
  m_tree->clear();
  for (const auto& p : iFlashTmpl->properties()) addProperty(nullptr, *p, 0);
  m_tree->expandAll();
}

void MainWindow::addProperty(QTreeWidgetItem* parent, const FlashTemplateProperty& property, int depth) {
  auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
  item->setText(0, property.title().isEmpty() ? tr("(Untitled)") : property.title());
  item->setText(1, property.value());
  item->setToolTip(0, property.desc());
  if (depth > 64) return;  // property trees are shallow; stop on a hostile one
  for (const auto& child : property.childProperties()) addProperty(item, *child, depth + 1);
}
