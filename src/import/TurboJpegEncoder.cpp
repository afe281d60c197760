#include "import/TurboJpegEncoder.h"

#include <turbojpeg.h>

#include <QString>
#include <algorithm>

#include "import/ImportError.h"

TurboJpegEncoder::TurboJpegEncoder() {
  m_handle = tjInitCompress();
  if (m_handle == nullptr) throw ImportError(QStringLiteral("cannot start the JPEG encoder"));
}

TurboJpegEncoder::~TurboJpegEncoder() {
  if (m_buffer) tjFree(m_buffer);
  if (m_handle) tjDestroy(m_handle);
}

QByteArrayView TurboJpegEncoder::encode(const unsigned char* rgb, int width, int height, int stride, int quality) {
  // 4:2:0 chroma, like most JPEG writers' defaults: the files stay comparable
  // in size with what other converters produce at the same quality.
  constexpr int kSubsampling = TJSAMP_420;
  const unsigned long needed = tjBufSize(width, height, kSubsampling);
  if (needed == static_cast<unsigned long>(-1) || needed > 0x7fffffffUL)
    throw ImportError(QStringLiteral("the picture is too large for JPEG"));
  if (needed > m_capacity) {
    if (m_buffer) tjFree(m_buffer);
    m_buffer = tjAlloc(static_cast<int>(needed));
    m_capacity = m_buffer ? needed : 0;
    if (m_buffer == nullptr) throw ImportError(QStringLiteral("out of memory for the JPEG picture"));
  }
  unsigned long size = m_capacity;
  const int q = std::clamp(quality, 1, 100);
  if (tjCompress2(m_handle, rgb, width, stride, height, TJPF_RGB, &m_buffer, &size, kSubsampling, q,
                  TJFLAG_NOREALLOC) != 0) {
    throw ImportError(QStringLiteral("JPEG encoding failed: %1").arg(QString::fromUtf8(tjGetErrorStr2(m_handle))));
  }
  return QByteArrayView(reinterpret_cast<const char*>(m_buffer), static_cast<qsizetype>(size));
}
