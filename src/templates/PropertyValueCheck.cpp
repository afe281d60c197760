#include "templates/PropertyValueCheck.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <optional>

#include "templates/FlashTemplateProperty.h"

namespace {

struct Range {
  double low = 0;
  double high = 0;
  bool whole = false;
  QString text;  // as the template gives it, for the message
};

// "MIN..MAX" from a number property's valueSource; nullopt for none (or a
// malformed one, which the template's author sees as no range at all).
std::optional<Range> rangeOf(const QString& valueSource) {
  static const QRegularExpression form(
      QStringLiteral("^\\s*(-?\\d+(?:\\.\\d+)?)\\s*\\.\\.\\s*(-?\\d+(?:\\.\\d+)?)\\s*$"));
  const QRegularExpressionMatch m = form.match(valueSource);
  if (!m.hasMatch()) return std::nullopt;
  Range r;
  r.low = m.captured(1).toDouble();
  r.high = m.captured(2).toDouble();
  if (r.low > r.high) return std::nullopt;
  r.whole = !m.captured(1).contains(QLatin1Char('.')) && !m.captured(2).contains(QLatin1Char('.'));
  r.text = m.captured(1) + QStringLiteral(" to ") + m.captured(2);
  return r;
}

}  // namespace

PropertyValueCheck PropertyValueCheck::check(qint32 propertyType, const QString& text, const QString& valueSource) {
  PropertyValueCheck r;
  r.value = text;
  if (propertyType == pt_number) {
    static const QRegularExpression number(QStringLiteral("^-?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!number.match(t).hasMatch()) {
      r.ok = false;
      r.reason = t.isEmpty() ? QCoreApplication::translate("PropertyValueCheck", "A number is needed.")
                             : QCoreApplication::translate("PropertyValueCheck",
                                                           "\"%1\" is not a number; type digits, such as 600.")
                                   .arg(t);
      return r;
    }
    if (const std::optional<Range> range = rangeOf(valueSource)) {
      const double v = t.toDouble();
      if (range->whole && t.contains(QLatin1Char('.'))) {
        r.ok = false;
        r.reason = QCoreApplication::translate("PropertyValueCheck", "\"%1\" is not a whole number; type one from %2.")
                       .arg(t, range->text);
        return r;
      }
      if (v < range->low || v > range->high) {
        r.ok = false;
        r.reason = QCoreApplication::translate("PropertyValueCheck", "%1 is out of range; type a number from %2.")
                       .arg(t, range->text);
        return r;
      }
    }
    r.value = t;
  } else if (propertyType == pt_color) {
    static const QRegularExpression colour(QStringLiteral("^(0[xX]|#)?([0-9a-fA-F]{6})$"));
    const QString t = text.trimmed();
    const QRegularExpressionMatch m = colour.match(t);
    if (!m.hasMatch()) {
      r.ok = false;
      r.reason =
          QCoreApplication::translate("PropertyValueCheck",
                                      "\"%1\" is not a colour; type #rrggbb, six hexadecimal digits such as #336699.")
              .arg(t);
      return r;
    }
    r.value = QStringLiteral("0x") + m.captured(2).toLower();
  }
  return r;
}

PropertyValueCheck PropertyValueCheck::check(const FlashTemplateProperty& property, const QString& text) {
  return check(property.propertyType(), text, property.valueSource());
}
