#include "templates/FlashTemplatePropertyModel.h"

#include <QFileInfo>

#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "templates/FlashTemplate.h"
#include "templates/MyColorOper.h"
#include "templates/PropertyValueCheck.h"
#include "templates/StringUtil.h"

FlashTemplatePropertyModel::FlashTemplatePropertyModel(QObject* parent) : QAbstractItemModel(parent) {}

void FlashTemplatePropertyModel::setFlashTmpl(std::shared_ptr<FlashTemplate> tmpl) {
  beginResetModel();
  m_flashTmpl = std::move(tmpl);
  endResetModel();
}

void FlashTemplatePropertyModel::reloadData() {
  beginResetModel();
  endResetModel();
}

void FlashTemplatePropertyModel::refreshValues() {
  if (!m_flashTmpl) return;
  std::vector<QModelIndex> parents{QModelIndex()};
  while (!parents.empty()) {
    const QModelIndex parent = parents.back();
    parents.pop_back();
    const int rows = rowCount(parent);
    if (rows == 0) continue;
    Q_EMIT dataChanged(index(0, KeyColumn, parent), index(rows - 1, ValueColumn, parent));
    for (int r = 0; r < rows; ++r) parents.push_back(index(r, KeyColumn, parent));
  }
}

FlashTemplateProperty* FlashTemplatePropertyModel::propertyAt(const QModelIndex& index) {
  return index.isValid() ? static_cast<FlashTemplateProperty*>(index.internalPointer()) : nullptr;
}

int FlashTemplatePropertyModel::rowOf(const FlashTemplateProperty* property) const {
  if (property == nullptr || !m_flashTmpl) return -1;
  const FlashTemplatePropertyList& siblings =
      property->parent() != nullptr ? property->parent()->childProperties() : m_flashTmpl->properties();
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == property) return static_cast<int>(i);
  return -1;
}

QModelIndex FlashTemplatePropertyModel::indexOf(const FlashTemplateProperty* property, int column) const {
  const int row = rowOf(property);
  return row < 0 ? QModelIndex() : createIndex(row, column, const_cast<FlashTemplateProperty*>(property));
}

QModelIndex FlashTemplatePropertyModel::index(int row, int column, const QModelIndex& parent) const {
  if (!m_flashTmpl || row < 0 || column < 0 || column > ValueColumn) return {};
  const FlashTemplateProperty* p = propertyAt(parent);
  if (parent.isValid() && p == nullptr) return {};
  const FlashTemplatePropertyList& list = p != nullptr ? p->childProperties() : m_flashTmpl->properties();
  if (static_cast<size_t>(row) >= list.size()) return {};
  return createIndex(row, column, list[static_cast<size_t>(row)].get());
}

QModelIndex FlashTemplatePropertyModel::parent(const QModelIndex& child) const {
  const FlashTemplateProperty* p = propertyAt(child);
  if (p == nullptr || p->parent() == nullptr) return {};
  return indexOf(p->parent(), KeyColumn);
}

int FlashTemplatePropertyModel::rowCount(const QModelIndex& parent) const {
  if (!m_flashTmpl) return 0;
  if (!parent.isValid()) return static_cast<int>(m_flashTmpl->properties().size());
  if (parent.column() != KeyColumn) return 0;
  const FlashTemplateProperty* p = propertyAt(parent);
  return p != nullptr ? static_cast<int>(p->childCount()) : 0;
}

int FlashTemplatePropertyModel::columnCount(const QModelIndex&) const { return 2; }

bool FlashTemplatePropertyModel::acceptsFile(const FlashTemplateProperty& property, const QString& path) {
  if (path.isEmpty()) return true;  // no file
  const QFileInfo info(path);
  if (!info.isFile()) return false;
  QStringList kinds = fileExtensions(property.valueSource());
  kinds.removeAll(QString());
  if (kinds.isEmpty()) return true;
  for (const QString& kind : kinds)
    if (info.suffix().compare(kind.trimmed(), Qt::CaseInsensitive) == 0) return true;
  return false;
}

QStringList FlashTemplatePropertyModel::listEntries(const FlashTemplateProperty& property) {
  return property.valueSource().split(QLatin1Char(','));
}

QStringList FlashTemplatePropertyModel::fileExtensions(const QString& valueSource) {
  if (valueSource.isEmpty()) return {};
  QString filter = valueSource;
  filter.remove(QLatin1Char(';'));
  const QStringList pieces = filter.split(QLatin1Char('|'));
  const QString patterns = pieces.size() >= 2 ? pieces.at(1) : filter;
  return patterns.split(QStringLiteral("*."));
}

QVariant FlashTemplatePropertyModel::data(const QModelIndex& index, int role) const {
  const FlashTemplateProperty* p = propertyAt(index);
  if (p == nullptr) return {};
  const qint32 type = p->propertyType();
  switch (role) {
    case PropertyTypeRole:
      return type;
    case ValueSourceRole:
      return p->valueSource();
    case Qt::ToolTipRole:
      return p->desc();
    default:
      break;
  }
  if (index.column() == KeyColumn) {
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == ObjectValueRole)
      return p->title().isEmpty() ? tr("(Untitled)") : p->title();
    return {};
  }
  const bool on = StringUtil::valueAsBool(p->value());
  if (role == ObjectValueRole) {
    if (type == pt_bool) return on ? 1 : 0;
    return p->valueOpt().value_or(tr("(Unknown)"));
  }
  if (type == pt_bool) {
    if (role == Qt::CheckStateRole) return on ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DisplayRole) return p->aTitle();
    if (role == Qt::EditRole) return on;
    return {};
  }
  switch (role) {
    case Qt::DisplayRole:
      if (type == pt_color && p->valueOpt()) return MyColorOper::displayText(p->value());
      return p->valueOpt().value_or(tr("(Unknown)"));
    case Qt::EditRole:
      return type == pt_color ? MyColorOper::displayText(p->value()) : p->value();
    case Qt::DecorationRole:
      if (type == pt_color) return MyColorOper::colorFromHexRGB(p->valueOpt());
      return {};
    default:
      return {};
  }
}

bool FlashTemplatePropertyModel::setObjectValue(FlashTemplateProperty& property, const QVariant& object) {
  QString value;
  switch (property.propertyType()) {
    case pt_color:
    case pt_number: {
      // A typed "red" or "abc" is refused and the old value kept.
      const PropertyValueCheck checked = PropertyValueCheck::check(property, object.toString());
      if (!checked.ok) {
        qCInfo(lcTemplates).noquote() << property.key() << "refused:" << checked.reason;
        return false;
      }
      value = checked.value;
      if (property.propertyType() == pt_color) qCDebug(lcTemplates).noquote() << "color value is:" + value;
      break;
    }
    case pt_list: {
      bool ok = false;
      const int i = object.toInt(&ok);
      const QStringList entries = listEntries(property);
      if (!ok || i < 0 || i >= entries.size()) return false;
      value = entries.at(i);
      break;
    }
    case pt_bool: {
      // Check-state values (Qt::Checked is 2) and plain booleans alike.
      const bool on = object.typeId() == QMetaType::Bool ? object.toBool() : object.toInt() != 0;
      value = on ? QStringLiteral("YES") : QStringLiteral("NO");
      break;
    }
    case pt_file:
      value = object.toString();
      if (!acceptsFile(property, value)) {
        qCWarning(lcTemplates).noquote() << value << "is not a file of the kind" << property.key()
                                         << "takes; not taken";
        return false;
      }
      break;
    default:
      value = object.toString();
      break;
  }
  // An absent value differs from every text, the empty one included.
  if (property.valueOpt() && *property.valueOpt() == value) return false;
  property.setValue(value);
  const QModelIndex key = indexOf(&property, KeyColumn);
  if (key.isValid()) Q_EMIT dataChanged(key, key.siblingAtColumn(ValueColumn));
  NotificationCenter::defaultCenter().post(FlashTmplProValueChangedNotification, &property);
  return true;
}

bool FlashTemplatePropertyModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  FlashTemplateProperty* p = propertyAt(index);
  if (p == nullptr || index.column() != ValueColumn) return false;
  if (role == Qt::CheckStateRole && p->propertyType() != pt_bool) return false;
  if (role != Qt::EditRole && role != Qt::CheckStateRole) return false;
  return setObjectValue(*p, value);
}

Qt::ItemFlags FlashTemplatePropertyModel::flags(const QModelIndex& index) const {
  const FlashTemplateProperty* p = propertyAt(index);
  if (p == nullptr) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == ValueColumn) {
    if (p->propertyType() == pt_bool)
      f |= Qt::ItemIsUserCheckable;
    else
      f |= Qt::ItemIsEditable;
  }
  return f;
}

QVariant FlashTemplatePropertyModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return section == KeyColumn ? tr("Property") : tr("Value");
}
