#include "templates/PropertyValueCheck.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include "templates/FlashTemplateProperty.h"

namespace {

QString tr(const char* text) { return QCoreApplication::translate("PropertyValueCheck", text); }

}  // namespace

PropertyValueCheck PropertyValueCheck::check(qint32 propertyType, const QString& text) {
  PropertyValueCheck r;
  r.value = text;
  if (propertyType == pt_number) {
    static const QRegularExpression number(QStringLiteral("^-?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!number.match(t).hasMatch()) {
      r.ok = false;
      r.reason = t.isEmpty() ? tr("A number is needed.") : tr("\"%1\" is not a number; type digits, such as 600.").arg(t);
      return r;
    }
    r.value = t;
  } else if (propertyType == pt_color) {
    static const QRegularExpression colour(QStringLiteral("^(0[xX]|#)?([0-9a-fA-F]{6})$"));
    const QString t = text.trimmed();
    const QRegularExpressionMatch m = colour.match(t);
    if (!m.hasMatch()) {
      r.ok = false;
      r.reason = tr("\"%1\" is not a colour; type 0x and six hexadecimal digits, such as 0x336699.").arg(t);
      return r;
    }
    r.value = QStringLiteral("0x") + m.captured(2).toLower();
  }
  return r;
}

PropertyValueCheck PropertyValueCheck::check(const FlashTemplateProperty& property, const QString& text) {
  return check(property.propertyType(), text);
}
