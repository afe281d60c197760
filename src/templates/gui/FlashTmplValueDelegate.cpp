#include "templates/gui/FlashTmplValueDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "base/LastFolders.h"
#include "base/Log.h"
#include "templates/FlashTemplateProperty.h"
#include "templates/FlashTemplatePropertyModel.h"
#include "templates/MyColorOper.h"
#include "templates/gui/FlashTmplCells.h"
#include "templates/gui/ValueProblemMark.h"

namespace {

qint32 typeOf(const QModelIndex& index) { return index.data(FlashTemplatePropertyModel::PropertyTypeRole).toInt(); }

bool isValueCell(const QModelIndex& index) {
  return index.isValid() && index.column() == FlashTemplatePropertyModel::ValueColumn;
}

}  // namespace

FlashTmplValueDelegate::FlashTmplValueDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QRect FlashTmplValueDelegate::swatchRect(const QRect& cell) {
  const int top = cell.top() + std::max(1, (cell.height() - 15) / 2);
  return QRect(cell.left() + 5, top, 15, 15);
}

QRect FlashTmplValueDelegate::browseButtonRect(const QRect& cell) {
  const int top = cell.top() + std::max(2, (cell.height() - 13) / 2);
  return QRect(cell.right() + 1 - 14, top, 13, 13);
}

QString FlashTmplValueDelegate::nameFilterFor(const QStringList& extensions) {
  QStringList patterns;
  for (const QString& e : extensions)
    if (!e.trimmed().isEmpty()) patterns << QStringLiteral("*.") + e.trimmed();
  if (patterns.isEmpty()) return QString();
  return tr("Files (%1)").arg(patterns.join(QLatin1Char(' ')));
}

QColor FlashTmplValueDelegate::pickColor(const QColor& current, QWidget* parent) const {
  if (m_colorPicker) return m_colorPicker(current, parent);
  return QColorDialog::getColor(current, parent, tr("Colour"));
}

std::optional<QString> FlashTmplValueDelegate::pickFile(const QString& current, const QStringList& extensions,
                                                        QWidget* parent) const {
  if (m_filePicker) return m_filePicker(current, extensions, parent);
  // Start beside the current file unless that is one of the program's own
  // (a style's logo): the user's pictures are not there.
  QString start = LastFolders::startFolderFor(LastFolders::PropertyFile, current);
  if (QFileInfo(current).isFile() && QFileInfo(current).absolutePath() == start) start = current;
  const QString path = QFileDialog::getOpenFileName(parent, tr("Choose a file"), start, nameFilterFor(extensions));
  if (path.isEmpty()) return std::nullopt;
  LastFolders::remember(LastFolders::PropertyFile, path);
  return path;
}

void FlashTmplValueDelegate::onSelectColor(const QModelIndex& index, QWidget* parent) {
  if (!isValueCell(index) || typeOf(index) != pt_color) return;
  qCDebug(lcTemplates) << "Seleting color now";
  const QColor chosen = pickColor(index.data(Qt::DecorationRole).value<QColor>(), parent);
  if (!chosen.isValid()) return;  // cancelled: the colour stays
  if (auto text = MyColorOper::colorToHexRGB(chosen))
    const_cast<QAbstractItemModel*>(index.model())->setData(index, *text, Qt::EditRole);
}

void FlashTmplValueDelegate::onSelectFile(const QModelIndex& index, QWidget* parent) {
  if (!isValueCell(index) || typeOf(index) != pt_file) return;
  const QStringList extensions =
      FlashTemplatePropertyModel::fileExtensions(index.data(FlashTemplatePropertyModel::ValueSourceRole).toString());
  const std::optional<QString> chosen = pickFile(index.data(Qt::EditRole).toString(), extensions, parent);
  // A cancelled chooser keeps the path; clearing is done in the text field.
  if (!chosen) return;
  const_cast<QAbstractItemModel*>(index.model())->setData(index, *chosen, Qt::EditRole);
}

void FlashTmplValueDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  if (!isValueCell(index)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const qint32 type = typeOf(index);
  if (type != pt_color && type != pt_file && type != pt_list) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  QStyle* style = opt.widget != nullptr ? opt.widget->style() : QApplication::style();
  // Background and selection as the view draws them, text ourselves.
  opt.text.clear();
  opt.icon = QIcon();
  opt.features &= ~QStyleOptionViewItem::HasDecoration;
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

  const QRect cell = option.rect;
  const QString text = index.data(Qt::DisplayRole).toString();
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  painter->save();
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  // Colour codes and paths read left to right in any language: in a
  // right-to-left window "#f0f0f0" would otherwise show as "f0f0f0#".
  painter->setLayoutDirection(Qt::LeftToRight);
  if (type == pt_color) {
    const QRect sw = swatchRect(cell);
    painter->fillRect(sw, Qt::gray);
    painter->fillRect(sw.adjusted(1, 1, -1, -1), index.data(Qt::DecorationRole).value<QColor>());
    const QRect textRect(cell.left() + 24, cell.top(), std::max(0, cell.width() - 24), cell.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
  } else if (type == pt_file) {
    const QRect button = browseButtonRect(cell);
    const QRect textRect(cell.left() + 4, cell.top(), std::max(0, button.left() - cell.left() - 6), cell.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(text, Qt::ElideMiddle, textRect.width()));
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(option.palette.color(QPalette::Mid), 1));
    painter->setBrush(option.palette.color(QPalette::Button));
    painter->drawRoundedRect(QRectF(button).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter->setPen(option.palette.color(QPalette::ButtonText));
    for (int i = 0; i < 3; ++i) painter->drawPoint(QPointF(button.left() + 3.5 + i * 3, button.center().y() + 1));
  } else {  // pt_list: a pop-up button showing the chosen entry
    QStyleOptionComboBox combo;
    combo.initFrom(opt.widget);
    combo.rect = cell.adjusted(1, 1, -1, -1);
    combo.currentText = text;
    combo.frame = false;
    combo.state = option.state | QStyle::State_Enabled;
    combo.palette = option.palette;
    style->drawComplexControl(QStyle::CC_ComboBox, &combo, painter, opt.widget);
    style->drawControl(QStyle::CE_ComboBoxLabel, &combo, painter, opt.widget);
  }
  painter->restore();
}

QSize FlashTmplValueDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize s = QStyledItemDelegate::sizeHint(option, index);
  s.setHeight(std::max(s.height(), 20));
  return s;
}

bool FlashTmplValueDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) {
  if (isValueCell(index) && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
    const qint32 type = typeOf(index);
    if (mouse->button() == Qt::LeftButton) {
      if (type == pt_color && swatchRect(option.rect).contains(at)) {
        onSelectColor(index, view);
        return true;
      }
      if (type == pt_file && browseButtonRect(option.rect).contains(at)) {
        onSelectFile(index, view);
        return true;
      }
      if (type == pt_list && view != nullptr) {  // one click opens the pop-up
        view->setCurrentIndex(index);
        view->edit(index);
        return true;
      }
    }
  }
  return QStyledItemDelegate::editorEvent(event, model, option, index);
}

QWidget* FlashTmplValueDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const {
  if (!isValueCell(index)) return QStyledItemDelegate::createEditor(parent, option, index);
  auto* self = const_cast<FlashTmplValueDelegate*>(this);
  switch (typeOf(index)) {
    case pt_color: {
      auto* cell = new FlashTmplColorCell(parent);
      ValueProblemMark::watch(cell->lineEdit(), pt_color);
      connect(cell, &FlashTmplColorCell::infoButtonClicked, self, [self, cell, this]() {
        const QColor chosen = pickColor(cell->color(), cell);
        if (!chosen.isValid()) return;
        cell->setColor2(chosen);
        Q_EMIT self->commitData(cell);
        Q_EMIT self->closeEditor(cell);
      });
      return cell;
    }
    case pt_file: {
      auto* cell = new FlashTmplFileCell(parent);
      const QStringList extensions = FlashTemplatePropertyModel::fileExtensions(
          index.data(FlashTemplatePropertyModel::ValueSourceRole).toString());
      connect(cell, &FlashTmplFileCell::infoButtonClicked, self, [self, cell, extensions, this]() {
        const std::optional<QString> chosen = pickFile(cell->title(), extensions, cell);
        if (!chosen) return;
        cell->setFileName2(*chosen);
        Q_EMIT self->commitData(cell);
        Q_EMIT self->closeEditor(cell);
      });
      return cell;
    }
    case pt_list: {
      auto* combo = new QComboBox(parent);
      combo->setFrame(false);
      combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
      connect(combo, &QComboBox::activated, self, [self, combo]() {
        Q_EMIT self->commitData(combo);
        Q_EMIT self->closeEditor(combo);
      });
      return combo;
    }
    case pt_bool:
      return nullptr;  // the check box toggles in place
    default: {
      QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
      ValueProblemMark::watch(qobject_cast<QLineEdit*>(editor), typeOf(index),
                              index.data(FlashTemplatePropertyModel::ValueSourceRole).toString());
      return editor;
    }
  }
}

void FlashTmplValueDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const FlashTemplateProperty* p = FlashTemplatePropertyModel::propertyAt(index);
  if (auto* cell = qobject_cast<FlashTmplColorCell*>(editor)) {
    cell->setText(index.data(Qt::EditRole).toString());
  } else if (auto* file = qobject_cast<FlashTmplFileCell*>(editor)) {
    file->setFileName2(index.data(Qt::EditRole).toString());
  } else if (auto* combo = qobject_cast<QComboBox*>(editor); combo != nullptr && p != nullptr) {
    const QStringList entries = FlashTemplatePropertyModel::listEntries(*p);
    if (combo->count() != entries.size()) {
      combo->clear();
      combo->addItems(entries);
    }
    // A value that is none of the entries selects nothing.
    combo->setCurrentIndex(static_cast<int>(entries.indexOf(p->value())));
    if (!combo->property("folivoxPopupShown").toBool()) {
      combo->setProperty("folivoxPopupShown", true);
      QTimer::singleShot(0, combo, [combo]() {
        if (combo->isVisible()) combo->showPopup();
      });
    }
  } else {
    QStyledItemDelegate::setEditorData(editor, index);
  }
}

void FlashTmplValueDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  if (auto* cell = qobject_cast<FlashTmplColorCell*>(editor)) {
    model->setData(index, cell->text(), Qt::EditRole);
  } else if (auto* file = qobject_cast<FlashTmplFileCell*>(editor)) {
    model->setData(index, file->title(), Qt::EditRole);
  } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    model->setData(index, combo->currentIndex(), Qt::EditRole);
  } else {
    QStyledItemDelegate::setModelData(editor, model, index);
  }
}

void FlashTmplValueDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                  const QModelIndex&) const {
  editor->setGeometry(option.rect);
}
