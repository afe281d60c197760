#include "templates/gui/SelectTemplateWindowDelegate.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "templates/FlashTemplate.h"

namespace {

constexpr int kRowHeight = 35;
const QSize kThumbSize(200, 150);

// The thumbnail drawn on a neutral card of fixed size, so styles line up.
QIcon thumbnailIcon(const QImage& image) {
  QPixmap card(kThumbSize);
  card.fill(QColor(0xe8, 0xe8, 0xe8));
  if (!image.isNull()) {
    const QImage scaled = image.scaled(kThumbSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter p(&card);
    p.drawImage((kThumbSize.width() - scaled.width()) / 2, (kThumbSize.height() - scaled.height()) / 2, scaled);
  }
  return QIcon(card);
}

}  // namespace

SelectTemplateWindowDelegate::SelectTemplateWindowDelegate(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Choose a template"));
  setWindowModality(Qt::WindowModal);
  resize(820, 520);

  iTableViewTmpls = new QTableWidget(0, 1, this);
  iTableViewTmpls->horizontalHeader()->hide();
  iTableViewTmpls->verticalHeader()->hide();
  iTableViewTmpls->horizontalHeader()->setStretchLastSection(true);
  iTableViewTmpls->verticalHeader()->setDefaultSectionSize(kRowHeight);
  iTableViewTmpls->setIconSize(QSize(32, 32));
  iTableViewTmpls->setSelectionBehavior(QAbstractItemView::SelectRows);
  iTableViewTmpls->setSelectionMode(QAbstractItemView::SingleSelection);
  iTableViewTmpls->setEditTriggers(QAbstractItemView::NoEditTriggers);
  iTableViewTmpls->setShowGrid(false);

  iImgBrowserView = new QListWidget(this);
  iImgBrowserView->setViewMode(QListView::IconMode);
  iImgBrowserView->setIconSize(kThumbSize);
  iImgBrowserView->setResizeMode(QListView::Adjust);
  iImgBrowserView->setMovement(QListView::Static);
  iImgBrowserView->setSpacing(10);
  iImgBrowserView->setSelectionMode(QAbstractItemView::SingleSelection);
  iImgBrowserView->setWordWrap(true);

  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  auto* templatesLabel = new QLabel(tr("&Templates"), left);
  templatesLabel->setBuddy(iTableViewTmpls);
  leftLayout->addWidget(templatesLabel);
  leftLayout->addWidget(iTableViewTmpls);
  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  auto* stylesLabel = new QLabel(tr("&Styles"), right);
  stylesLabel->setBuddy(iImgBrowserView);
  rightLayout->addWidget(stylesLabel);
  rightLayout->addWidget(iImgBrowserView);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(left);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 600});

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* refresh = buttons->addButton(tr("&Refresh"), QDialogButtonBox::ResetRole);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  ok->setDefault(true);
  connect(refresh, &QPushButton::clicked, this, &SelectTemplateWindowDelegate::onRefresh);
  connect(ok, &QPushButton::clicked, this, &SelectTemplateWindowDelegate::onOK);
  connect(cancel, &QPushButton::clicked, this, &SelectTemplateWindowDelegate::onCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addWidget(buttons);

  connect(iTableViewTmpls, &QTableWidget::itemSelectionChanged, this,
          &SelectTemplateWindowDelegate::tableViewSelectionDidChange);
  connect(iImgBrowserView, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { cellWasDoubleClicked(iImgBrowserView->row(item)); });

  reloadTmplList();
  reloadTable();
}

void SelectTemplateWindowDelegate::reloadTmplList() { iTmplListData = FlashTemplate::tmplNames(); }

void SelectTemplateWindowDelegate::reloadTable() {
  const QSignalBlocker block(iTableViewTmpls);
  iTableViewTmpls->clearContents();
  iTableViewTmpls->setRowCount(static_cast<int>(iTmplListData.size()));
  for (int row = 0; row < iTmplListData.size(); ++row) {
    const QString folder = iTmplListData.at(row);
    auto* item = new QTableWidgetItem(FlashTemplate::displayName(QFileInfo(folder).fileName()));
    // Each row loads its icon once; a template without icon.png shows its name only.
    const QImage icon(QDir(folder).filePath(QStringLiteral("icon.png")));
    if (!icon.isNull())
      item->setIcon(QIcon(QPixmap::fromImage(icon.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation))));
    iTableViewTmpls->setItem(row, 0, item);
  }
}

void SelectTemplateWindowDelegate::prepairToTmpl(const QString& name, const QString& styleName) {
  reloadTmplList();
  reloadTable();
  {
    const QSignalBlocker block(iTableViewTmpls);
    iTableViewTmpls->clearSelection();
    for (int row = 0; row < iTmplListData.size(); ++row)
      if (QFileInfo(iTmplListData.at(row)).fileName().compare(name, Qt::CaseInsensitive) == 0)
        iTableViewTmpls->selectRow(row);  // the last match stays selected
  }
  reloadStylesForTmpl(name);
  for (size_t i = 0; i < iTmplStylesData.size(); ++i) {
    if (!styleName.isEmpty() && iTmplStylesData[i].styleName == styleName) {
      QListWidgetItem* item = iImgBrowserView->item(static_cast<int>(i));
      iImgBrowserView->setCurrentItem(item);
      iImgBrowserView->scrollToItem(item);
    }
  }
}

QString SelectTemplateWindowDelegate::selectedTemplateName() const {
  const QList<QTableWidgetItem*> selected = iTableViewTmpls->selectedItems();
  if (selected.isEmpty()) return QString();
  const int row = selected.first()->row();
  return row >= 0 && row < iTmplListData.size() ? QFileInfo(iTmplListData.at(row)).fileName() : QString();
}

void SelectTemplateWindowDelegate::reloadStylesForTmpl(const QString& name) {
  iTmplStylesData.clear();
  for (const QString& folder : FlashTemplate::tmplStyleNamesForTmpl(name)) {
    // Folders of a style's pictures ("images") are no styles: choosing one
    // would reset the template and break the style's file references.
    if (!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("tmplSetting.txt")))) continue;
    IKBTmplStyleItem item;
    item.imageID = QDir(folder).filePath(QStringLiteral("shot.jpg"));
    item.styleName = QFileInfo(folder).fileName();
    QImageReader reader(item.imageID);
    reader.setAutoTransform(true);
    item.image = reader.read();
    iTmplStylesData.push_back(std::move(item));
  }
  iImgBrowserView->clear();
  for (const IKBTmplStyleItem& item : iTmplStylesData)
    new QListWidgetItem(thumbnailIcon(item.image), item.styleName, iImgBrowserView);
}

std::optional<QString> SelectTemplateWindowDelegate::selectedStyle() {
  const QList<QListWidgetItem*> selected = iImgBrowserView->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  const int row = iImgBrowserView->row(selected.first());
  if (row < 0 || static_cast<size_t>(row) >= iTmplStylesData.size()) return std::nullopt;
  return iTmplStylesData[static_cast<size_t>(row)].imageID;
}

void SelectTemplateWindowDelegate::tableViewSelectionDidChange() {
  const QList<QTableWidgetItem*> selected = iTableViewTmpls->selectedItems();
  if (selected.isEmpty()) return;
  const int row = selected.first()->row();
  if (row >= 0 && row < iTmplListData.size()) reloadStylesForTmpl(QFileInfo(iTmplListData.at(row)).fileName());
}

void SelectTemplateWindowDelegate::cellWasDoubleClicked(int) { done(1); }

void SelectTemplateWindowDelegate::onOK() { done(1); }
void SelectTemplateWindowDelegate::onCancel() { done(0); }

void SelectTemplateWindowDelegate::onRefresh() {
  reloadTmplList();
  reloadTable();
}
