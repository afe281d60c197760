// The template chooser sheet: the installed templates with their icons on the
// left, the selected template's styles as thumbnails on the right. Ends with
// 1 on OK or a double click on a thumbnail, 0 on Cancel.
// The name is historical: a window controller, not a Qt item delegate (docs/NAMES.md).
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <optional>
#include <vector>

class QListWidget;
class QTableWidget;

// One style in the thumbnail view.
struct IKBTmplStyleItem {
  QImage image;       // shot.jpg of the style; null when missing
  QString imageID;    // full path of that shot.jpg
  QString styleName;  // the style folder's name
};

class SelectTemplateWindowDelegate : public QDialog {
  Q_OBJECT
 public:
  explicit SelectTemplateWindowDelegate(QWidget* parent = nullptr);

  // Lists the templates anew, selects `name` (any case) and shows its styles,
  // with `styleName` selected when it is one of them.
  void prepairToTmpl(const QString& name, const QString& styleName = QString());
  void reloadTmplList();
  void reloadStylesForTmpl(const QString& name);
  // The chosen style's shot.jpg path (the parent folder is the style folder),
  // or nullopt when no style is selected.
  std::optional<QString> selectedStyle();
  // The name of the template whose row is selected, or "".
  QString selectedTemplateName() const;

  void onOK();
  void onCancel();
  void onRefresh();

  QTableWidget* tableViewTmpls() const { return iTableViewTmpls; }
  QListWidget* imgBrowserView() const { return iImgBrowserView; }
  const QStringList& tmplListData() const { return iTmplListData; }

 private:
  void reloadTable();
  void tableViewSelectionDidChange();
  void cellWasDoubleClicked(int index);

  QTableWidget* iTableViewTmpls = nullptr;
  QListWidget* iImgBrowserView = nullptr;
  std::vector<IKBTmplStyleItem> iTmplStylesData;
  QStringList iTmplListData;
};
