// Marks a value field of the property editor while its text would be refused
// (a number that is no number, a colour that is no colour): a red frame, a
// warning sign with the reason, and the reason as a tip under the field. The
// check itself is PropertyValueCheck's. The field's colours come from its
// palette, tinted, so the text stays readable in dark palettes too.
#pragma once

#include <QObject>
#include <QPalette>

class QAction;
class QLineEdit;

class ValueProblemMark : public QObject {
  Q_OBJECT
 public:
  // Watches `edit` (and is owned by it) for values of `propertyType` (numbers
  // within the range that `valueSource` gives); other types are never marked.
  static void watch(QLineEdit* edit, qint32 propertyType, const QString& valueSource = QString());
  // The reason `edit` is marked, or "" while its text is fine.
  static QString problemOf(const QLineEdit* edit);

 private:
  ValueProblemMark(QLineEdit* edit, qint32 propertyType, const QString& valueSource);
  void check();

  QLineEdit* m_edit;
  qint32 m_type;
  QString m_valueSource;
  QPalette m_palette;  // the field's own, before it is marked
  QAction* m_sign = nullptr;
};
