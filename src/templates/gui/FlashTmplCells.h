// The editors of the property editor's value column for colours and files:
// a text field with a button beside it (the colour swatch, or "..." to browse).
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QColor>
#include <QWidget>

class QLineEdit;
class QToolButton;

// Colour text with a swatch that opens the colour chooser.
class FlashTmplColorCell : public QWidget {
  Q_OBJECT
 public:
  explicit FlashTmplColorCell(QWidget* parent = nullptr);

  const QColor& color() const { return m_color; }
  // Shows `color` in the swatch and its "#rrggbb" text in the field.
  void setColor2(const QColor& color);
  QString text() const;
  void setText(const QString& text);  // the swatch follows the text
  QLineEdit* lineEdit() const { return m_edit; }
  QToolButton* swatchButton() const { return m_swatch; }

 Q_SIGNALS:
  void infoButtonClicked();

 private:
  void updateSwatch();

  QColor m_color;
  QLineEdit* m_edit = nullptr;
  QToolButton* m_swatch = nullptr;
};

// A path with a button that opens the file chooser.
class FlashTmplFileCell : public QWidget {
  Q_OBJECT
 public:
  explicit FlashTmplFileCell(QWidget* parent = nullptr);

  QString title() const;
  void setFileName2(const QString& path);
  QLineEdit* lineEdit() const { return m_edit; }
  QToolButton* browseButton() const { return m_browse; }

 Q_SIGNALS:
  void infoButtonClicked();

 private:
  QLineEdit* m_edit = nullptr;
  QToolButton* m_browse = nullptr;
};
