// The template's property tree as an item model: column 0 ("key") shows each
// property's title, column 1 ("value") shows and edits its value. Storing a
// value that differs from the old one posts FlashTmplProValueChangedNotification
// with the property as object. Widget-free, so the editing rules are tested
// without a view.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QAbstractItemModel>
#include <QStringList>
#include <memory>

class FlashTemplate;
class FlashTemplateProperty;

class FlashTemplatePropertyModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Column { KeyColumn = 0, ValueColumn = 1 };
  enum Role {
    PropertyTypeRole = Qt::UserRole + 1,  // qint32, pt_text .. pt_bool
    ValueSourceRole,                      // the property's valueSource
    // What the editor's value column stands for: 1/0 for switches, else the
    // value or "(Unknown)".
    ObjectValueRole,
  };

  explicit FlashTemplatePropertyModel(QObject* parent = nullptr);

  const std::shared_ptr<FlashTemplate>& flashTmpl() const { return m_flashTmpl; }
  // Shows another template (or none) and resets the model.
  void setFlashTmpl(std::shared_ptr<FlashTemplate> tmpl);
  // Call after the template's tree was replaced or its values changed behind
  // the model's back (template switch, style, imported settings).
  void reloadData();
  // Call after values changed behind the model's back in the same tree (undo,
  // redo): redraws every row and keeps expansion and selection.
  void refreshValues();

  static FlashTemplateProperty* propertyAt(const QModelIndex& index);
  QModelIndex indexOf(const FlashTemplateProperty* property, int column = KeyColumn) const;

  // The entries of a list property's valueSource, in order.
  static QStringList listEntries(const FlashTemplateProperty& property);
  // The file-name extensions a file property admits, from a filter such as
  // "Pictures|*.jpg;*.png" (gives "", "jpg", "png"). Empty: any file.
  static QStringList fileExtensions(const QString& valueSource);

  // Whether the editor lets a file property take `path`: none (""), or an
  // existing file of the property's kind, judged by the extensions of its
  // valueSource (a picture for a picture, a sound for a sound).
  static bool acceptsFile(const FlashTemplateProperty& property, const QString& path);

  // Turns an edited object into the stored text (list: index into the
  // entries; switch: truth; others: the text) and stores it when it differs.
  // Numbers and colours that PropertyValueCheck refuses are not stored, nor a
  // file that is not of the property's kind. False when nothing changed.
  bool setObjectValue(FlashTemplateProperty& property, const QVariant& object);

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  int rowOf(const FlashTemplateProperty* property) const;

  std::shared_ptr<FlashTemplate> m_flashTmpl;
};
