// A failure of reading an outline element, carrying its name
// ("ERROR_INIT_OUTLINES", "ERROR_INIT_OUTLINE_ITEM") and reason.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QString>
#include <stdexcept>

class FlashOutlineError : public std::runtime_error {
 public:
  FlashOutlineError(const QString& name, const QString& reason)
      : std::runtime_error((name + QStringLiteral(": ") + reason).toStdString()), m_name(name), m_reason(reason) {}

  const QString& name() const { return m_name; }
  const QString& reason() const { return m_reason; }

 private:
  QString m_name;
  QString m_reason;
};
