// Draws and edits the value column of the property editor by property type:
// a colour swatch and its text, a path with a browse button (honouring the
// property's file filter), a pop-up of the list entries, a check box labelled
// with aTitle; plain text for the rest. Every edit goes through
// FlashTemplatePropertyModel, which stores it and announces real changes.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <functional>
#include <optional>

class FlashTmplValueDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  // Returns the chosen colour, or an invalid one when the user cancelled.
  using ColorPicker = std::function<QColor(const QColor& current, QWidget* parent)>;
  // Returns the chosen path, or nullopt when the user cancelled. `extensions`
  // empty means any file.
  using FilePicker =
      std::function<std::optional<QString>(const QString& current, const QStringList& extensions, QWidget* parent)>;

  explicit FlashTmplValueDelegate(QObject* parent = nullptr);

  void setColorPicker(ColorPicker picker) { m_colorPicker = std::move(picker); }
  void setFilePicker(FilePicker picker) { m_filePicker = std::move(picker); }

  // The button actions: ask for a colour or a file and store it in the row.
  void onSelectColor(const QModelIndex& index, QWidget* parent);
  void onSelectFile(const QModelIndex& index, QWidget* parent);

  // Where the swatch and the browse button are drawn in a cell.
  static QRect swatchRect(const QRect& cell);
  static QRect browseButtonRect(const QRect& cell);
  // A QFileDialog name filter for the extensions ("" entries are dropped).
  static QString nameFilterFor(const QStringList& extensions);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;

 protected:
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

 private:
  QColor pickColor(const QColor& current, QWidget* parent) const;
  std::optional<QString> pickFile(const QString& current, const QStringList& extensions, QWidget* parent) const;

  ColorPicker m_colorPicker;
  FilePicker m_filePicker;
};
