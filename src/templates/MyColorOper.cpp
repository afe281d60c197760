#include "templates/MyColorOper.h"

#include <QRegularExpression>
#include <algorithm>

namespace MyColorOper {

QColor colorFromHexRGB(const std::optional<QString>& text) {
  if (!text) return QColor(0, 0, 0);
  const QString& s = *text;
  qsizetype i = 0;
  while (i < s.size() && s.at(i).isSpace()) ++i;
  if (i + 1 < s.size() && s.at(i) == QLatin1Char('0') &&
      (s.at(i + 1) == QLatin1Char('x') || s.at(i + 1) == QLatin1Char('X')))
    i += 2;
  else if (i < s.size() && s.at(i) == QLatin1Char('#'))
    ++i;
  quint64 value = 0;
  for (; i < s.size(); ++i) {
    const char16_t c = s.at(i).unicode();
    int digit = -1;
    if (c >= u'0' && c <= u'9')
      digit = c - u'0';
    else if (c >= u'a' && c <= u'f')
      digit = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
      digit = c - u'A' + 10;
    if (digit < 0) break;
    // A longer number saturates, as an unsigned 32-bit scan would.
    value = std::min<quint64>(value * 16 + static_cast<quint64>(digit), 0xFFFFFFFFull);
  }
  const auto rgb = static_cast<quint32>(value);
  return QColor::fromRgbF(static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
                          static_cast<float>((rgb >> 8) & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f,
                          1.0f);
}

std::optional<QString> colorToHexRGB(const QColor& color) {
  if (!color.isValid()) return std::nullopt;
  const QColor rgb = color.toRgb();
  // Just under 256, so that 1.0 gives ff and 0.5 gives 7f.
  constexpr float kScale = 255.99998474121094f;
  auto part = [&](float f) {
    const int v = static_cast<int>(f * kScale);
    return QStringLiteral("%1").arg(std::clamp(v, 0, 255), 2, 16, QLatin1Char('0'));
  };
  return QStringLiteral("0x%1%2%3").arg(part(rgb.redF()), part(rgb.greenF()), part(rgb.blueF()));
}

QString displayText(const QString& stored) {
  static const QRegularExpression form(QStringLiteral("^0[xX]([0-9a-fA-F]{6})$"));
  const QRegularExpressionMatch m = form.match(stored.trimmed());
  return m.hasMatch() ? QLatin1Char('#') + m.captured(1).toLower() : stored;
}

}  // namespace MyColorOper
