// The property editor: attaches the template's property model and the value
// delegate to a tree view and announces every selection change with
// UpdateFlashTmplProTipNotification (object: this delegate). From the
// keyboard the value column is the current cell: arrows move between rows,
// F2 edits, Enter edits or opens the colour or file chooser, Space toggles a
// switch.
// The name is historical: "Flash" means nothing, and this binds a view; it is not
// a Qt item delegate (docs/NAMES.md).
#pragma once

#include <QObject>
#include <memory>

class FlashTemplate;
class FlashTemplateProperty;
class FlashTemplatePropertyModel;
class FlashTmplValueDelegate;
class QTreeView;

class FlashTemplateOutlineDelegate : public QObject {
  Q_OBJECT
 public:
  explicit FlashTemplateOutlineDelegate(QObject* parent = nullptr);
  ~FlashTemplateOutlineDelegate() override;

  const std::shared_ptr<FlashTemplate>& flashTmpl() const;
  void setFlashTmpl(std::shared_ptr<FlashTemplate> tmpl);

  // Makes this the editor of `view`: model, value delegate, selection.
  void attachTo(QTreeView* view);
  QTreeView* outlineView() const { return m_view; }
  FlashTemplatePropertyModel* model() const { return m_model; }
  FlashTmplValueDelegate* valueDelegate() const { return m_valueDelegate; }

  // Shows the template's tree anew (after a switch of template, style or settings).
  void reloadData();
  void expandAll();
  // The property of the selected row, or null.
  FlashTemplateProperty* selectedProperty() const;

  void outlineViewSelectionDidChange();
  // What Enter does on a value cell: edit it, open its chooser, or toggle it.
  void activateValue(const QModelIndex& index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FlashTemplatePropertyModel* m_model = nullptr;
  FlashTmplValueDelegate* m_valueDelegate = nullptr;
  QTreeView* m_view = nullptr;
};
