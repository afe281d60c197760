#include "zip/ZKArchive.h"

#include "zip/ZKBytes.h"

void ZKArchive::setComment(const QString& comment) {
  m_cdTrailer.setComment(comment);
  // Keep the recorded length true to the new text, not to the one before.
  m_cdTrailer.setCommentLength(static_cast<quint32>(zk_precomposedUTF8Length(comment)));
}
