#include "templates/gui/FlashTemplateOutlineDelegate.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTreeView>

#include "base/NotificationCenter.h"
#include "templates/FlashTemplate.h"
#include "templates/FlashTemplateProperty.h"
#include "templates/FlashTemplatePropertyModel.h"
#include "templates/gui/FlashTmplValueDelegate.h"

FlashTemplateOutlineDelegate::FlashTemplateOutlineDelegate(QObject* parent)
    : QObject(parent),
      m_model(new FlashTemplatePropertyModel(this)),
      m_valueDelegate(new FlashTmplValueDelegate(this)) {}

FlashTemplateOutlineDelegate::~FlashTemplateOutlineDelegate() = default;

const std::shared_ptr<FlashTemplate>& FlashTemplateOutlineDelegate::flashTmpl() const { return m_model->flashTmpl(); }

void FlashTemplateOutlineDelegate::setFlashTmpl(std::shared_ptr<FlashTemplate> tmpl) {
  m_model->setFlashTmpl(std::move(tmpl));
}

void FlashTemplateOutlineDelegate::attachTo(QTreeView* view) {
  m_view = view;
  view->setModel(m_model);
  view->setItemDelegateForColumn(FlashTemplatePropertyModel::ValueColumn, m_valueDelegate);
  view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                        QAbstractItemView::EditKeyPressed);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setAlternatingRowColors(true);
  view->header()->setStretchLastSection(true);
  view->header()->setSectionResizeMode(FlashTemplatePropertyModel::KeyColumn, QHeaderView::Interactive);
  connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &FlashTemplateOutlineDelegate::outlineViewSelectionDidChange);
  // Rows are selected whole, but the keyboard works on the value.
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (current.isValid() && current.column() != FlashTemplatePropertyModel::ValueColumn)
      m_view->selectionModel()->setCurrentIndex(current.siblingAtColumn(FlashTemplatePropertyModel::ValueColumn),
                                                QItemSelectionModel::NoUpdate);
  });
  view->installEventFilter(this);
}

bool FlashTemplateOutlineDelegate::eventFilter(QObject* watched, QEvent* event) {
  // An editor passes on the Enter that committed it: that one is not for the
  // view, or one Enter would store a typed colour and then open the chooser.
  if (watched == m_view && event->type() == QEvent::KeyPress &&
      m_view->indexWidget(m_view->currentIndex()) == nullptr &&
      (m_view->focusWidget() == nullptr || m_view->focusWidget() == m_view)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier &&
        m_view->currentIndex().isValid()) {
      activateValue(m_view->currentIndex().siblingAtColumn(FlashTemplatePropertyModel::ValueColumn));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void FlashTemplateOutlineDelegate::activateValue(const QModelIndex& index) {
  if (m_view == nullptr || !index.isValid() || !(index.flags() & Qt::ItemIsEnabled)) return;
  switch (index.data(FlashTemplatePropertyModel::PropertyTypeRole).toInt()) {
    case pt_color:
      m_valueDelegate->onSelectColor(index, m_view);
      break;
    case pt_file:
      m_valueDelegate->onSelectFile(index, m_view);
      break;
    case pt_bool: {
      const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
      m_model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
      break;
    }
    default:
      if (index.flags() & Qt::ItemIsEditable) m_view->edit(index);
      break;
  }
}

void FlashTemplateOutlineDelegate::reloadData() { m_model->reloadData(); }

void FlashTemplateOutlineDelegate::expandAll() {
  if (m_view != nullptr) m_view->expandAll();
}

FlashTemplateProperty* FlashTemplateOutlineDelegate::selectedProperty() const {
  if (m_view == nullptr || m_view->selectionModel() == nullptr) return nullptr;
  const QModelIndexList rows = m_view->selectionModel()->selectedRows(FlashTemplatePropertyModel::KeyColumn);
  return rows.isEmpty() ? nullptr : FlashTemplatePropertyModel::propertyAt(rows.first());
}

void FlashTemplateOutlineDelegate::outlineViewSelectionDidChange() {
  NotificationCenter::defaultCenter().post(UpdateFlashTmplProTipNotification, this);
}
