#include "templates/gui/ValueProblemMark.h"

#include <QAction>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>

#include "templates/FlashTemplateProperty.h"
#include "templates/PropertyValueCheck.h"

namespace {

const char* const kProblem = "folivoxValueProblem";

}  // namespace

void ValueProblemMark::watch(QLineEdit* edit, qint32 propertyType) {
  if (edit == nullptr || (propertyType != pt_number && propertyType != pt_color)) return;
  new ValueProblemMark(edit, propertyType);
}

QString ValueProblemMark::problemOf(const QLineEdit* edit) {
  return edit != nullptr ? edit->property(kProblem).toString() : QString();
}

ValueProblemMark::ValueProblemMark(QLineEdit* edit, qint32 propertyType)
    : QObject(edit), m_edit(edit), m_type(propertyType) {
  connect(edit, &QLineEdit::textChanged, this, &ValueProblemMark::check);
}

void ValueProblemMark::check() {
  const PropertyValueCheck result = PropertyValueCheck::check(m_type, m_edit->text());
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
  m_edit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #d32f2f; background: #fdecea; }"));
  m_edit->setToolTip(reason);
  if (m_sign == nullptr)
    m_sign = m_edit->addAction(m_edit->style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
  m_sign->setToolTip(reason);
  m_sign->setVisible(true);
  if (m_edit->isVisible())
    QToolTip::showText(m_edit->mapToGlobal(QPoint(0, m_edit->height())), reason, m_edit);
}
