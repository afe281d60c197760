#include "base/LanguageTag.h"

#include <QRegularExpression>

bool LanguageTag::isWellFormed(const QString& tag) {
  // A primary language of letters, then short pieces of letters and digits.
  static const QRegularExpression wellFormed(QStringLiteral("^[A-Za-z]{2,8}(-[A-Za-z0-9]{1,8}){0,6}$"));
  return wellFormed.match(tag).hasMatch();
}
