#include "base/TextDecoding.h"

#include <QStringDecoder>

namespace TextDecoding {

QString decode(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
    return QStringDecoder(QStringDecoder::Utf16).decode(bytes);
  const bool utf8Bom = bytes.startsWith("\xEF\xBB\xBF");
  const QByteArray body = utf8Bom ? bytes.mid(3) : bytes;
  // Stateless: a decoder with state would keep a cut-off sequence at the end
  // for more input that never comes, and drop it without reporting an error.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(body);
  if (utf8.hasError()) text = QString::fromLatin1(body);
  return text;
}

}  // namespace TextDecoding
