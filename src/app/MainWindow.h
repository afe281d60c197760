// The main window. For now it shows the current template's properties.
#pragma once

#include <QMainWindow>
#include <memory>

class FlashTemplate;
class QTreeWidget;
class QTreeWidgetItem;
class FlashTemplateProperty;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

 private:
  void fillTree();
  void addProperty(QTreeWidgetItem* parent, const FlashTemplateProperty& property, int depth);

  std::unique_ptr<FlashTemplate> iFlashTmpl;
  QTreeWidget* m_tree = nullptr;
};
