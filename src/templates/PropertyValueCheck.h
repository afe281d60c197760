// Checks a value typed into the property editor before it is stored: numbers
// must be numbers in their property's range, colours "0x" and six hexadecimal
// digits ("#336699" is taken and written the stored way). Other types take
// any text.
//
// A number property's valueSource may give its range as "MIN..MAX" (both
// ends included): "1..14400". When neither end has a decimal point, only
// whole numbers are taken. Without a range any number is.
#pragma once

#include <QString>

class FlashTemplateProperty;

struct PropertyValueCheck {
  bool ok = true;
  QString value;   // the text to store when ok (trimmed, colours as 0xrrggbb)
  QString reason;  // why the text is refused, as a sentence, when not ok

  static PropertyValueCheck check(qint32 propertyType, const QString& text, const QString& valueSource = QString());
  static PropertyValueCheck check(const FlashTemplateProperty& property, const QString& text);
};
