// A small placeholder engine: "${key}" in a text is replaced by the key's value.
//
// It keeps the scanner's habits that existing template pages rely on: white
// space at the start of the text and right after a placeholder is dropped, and
// unknown keys are removed. Every placeholder is replaced, also one at the very
// start of the text or right after another one.
#pragma once

#include <QMap>
#include <QString>

class TextTemplate {
 public:
  explicit TextTemplate(const QString& fromStr) : m_fromStr(fromStr) {}

  void setItem(const QString& key, const QString& value) { m_keyAndValues.insert(key, value); }
  QString parse() const;

 private:
  QString m_fromStr;
  QMap<QString, QString> m_keyAndValues;
};
