// The one exception type of the import code: a reason that can be shown to
// the user as it stands ("Cannot open report.pdf: the file is empty").
#pragma once

#include <QString>
#include <stdexcept>

class ImportError : public std::runtime_error {
 public:
  explicit ImportError(const QString& reason, int code = 0) : std::runtime_error(reason.toStdString()), m_code(code) {}

  // MuPDF's code for "stopped on request" (FZ_ERROR_ABORT).
  static constexpr int kAborted = 6;

  QString reason() const { return QString::fromUtf8(what()); }
  // MuPDF's error code when the error came from MuPDF, else 0.
  int code() const { return m_code; }
  bool aborted() const { return m_code == kAborted; }

 private:
  int m_code = 0;
};
