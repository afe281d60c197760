#include "templates/gui/FlashTemplateOutlineDelegate.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

#include "base/NotificationCenter.h"
#include "templates/FlashTemplate.h"
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
