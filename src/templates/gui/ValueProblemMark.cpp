#include "templates/gui/ValueProblemMark.h"

#include <QAction>
#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "templates/FlashTemplateProperty.h"
#include "templates/PropertyValueCheck.h"

namespace {

const char* const kProblem = "folivoxValueProblem";

double luminance(const QColor& c) {
  auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor blend(const QColor& a, const QColor& b, double share) {
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - share) + b.redF() * share),
                          static_cast<float>(a.greenF() * (1 - share) + b.greenF() * share),
                          static_cast<float>(a.blueF() * (1 - share) + b.blueF() * share));
}

}  // namespace

void ValueProblemMark::watch(QLineEdit* edit, qint32 propertyType, const QString& valueSource) {
  if (edit == nullptr || (propertyType != pt_number && propertyType != pt_color)) return;
  new ValueProblemMark(edit, propertyType, valueSource);
}

QString ValueProblemMark::problemOf(const QLineEdit* edit) {
  return edit != nullptr ? edit->property(kProblem).toString() : QString();
}

ValueProblemMark::ValueProblemMark(QLineEdit* edit, qint32 propertyType, const QString& valueSource)
    : QObject(edit), m_edit(edit), m_type(propertyType), m_valueSource(valueSource), m_palette(edit->palette()) {
  connect(edit, &QLineEdit::textChanged, this, &ValueProblemMark::check);
}

void ValueProblemMark::check() {
  const PropertyValueCheck result = PropertyValueCheck::check(m_type, m_edit->text(), m_valueSource);
  const QString reason = result.ok ? QString() : result.reason;
  if (reason == problemOf(m_edit)) return;
  m_edit->setProperty(kProblem, reason);
  if (reason.isEmpty()) {
    m_edit->setStyleSheet(QString());
    m_edit->setToolTip(QString());
    if (m_sign != nullptr) m_sign->setVisible(false);
    QToolTip::hideText();
    return;
  }
  // A red tint over the field's own background, with its own text colour
  // (or whichever of black and white reads better on the tint).
  const QColor warning(0xd3, 0x2f, 0x2f);
  const QColor background = blend(m_palette.color(QPalette::Base), warning, 0.18);
  QColor text = m_palette.color(QPalette::Text);
  if (contrast(text, background) < 4.5)
    text = contrast(Qt::black, background) >= contrast(Qt::white, background) ? QColor(Qt::black) : QColor(Qt::white);
  m_edit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; background: %2; color: %3; }")
                            .arg(warning.name(), background.name(), text.name()));
  m_edit->setToolTip(reason);
  if (m_sign == nullptr)
    m_sign =
        m_edit->addAction(m_edit->style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
  m_sign->setToolTip(reason);
  m_sign->setVisible(true);
  if (m_edit->isVisible()) QToolTip::showText(m_edit->mapToGlobal(QPoint(0, m_edit->height())), reason, m_edit);
}
