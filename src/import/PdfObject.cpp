#include "import/PdfObject.h"

#include <algorithm>

#include "import/MuPdfGuard.h"

using MuPdfGuard::guarded;

bool PdfObject::isNull() const {
  if (m_obj == nullptr) return true;
  int r = 1;
  guarded(m_ctx, [&] { r = pdf_is_null(m_ctx, m_obj); });
  return r != 0;
}

bool PdfObject::isDict() const {
  int r = 0;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_is_dict(m_ctx, m_obj); });
  return r != 0;
}

bool PdfObject::isArray() const {
  int r = 0;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_is_array(m_ctx, m_obj); });
  return r != 0;
}

bool PdfObject::isName() const {
  int r = 0;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_is_name(m_ctx, m_obj); });
  return r != 0;
}

bool PdfObject::isString() const {
  int r = 0;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_is_string(m_ctx, m_obj); });
  return r != 0;
}

bool PdfObject::isNumber() const {
  int r = 0;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_is_number(m_ctx, m_obj); });
  return r != 0;
}

PdfObject PdfObject::get(const char* key) const {
  pdf_obj* r = nullptr;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_dict_gets(m_ctx, m_obj, key); });
  return PdfObject(m_ctx, r);
}

PdfObject PdfObject::getInheritable(const char* key) const {
  pdf_obj* r = nullptr;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_dict_getp_inheritable(m_ctx, m_obj, key); });
  return PdfObject(m_ctx, r);
}

int PdfObject::length() const {
  int r = 0;
  if (m_obj) {
    guarded(m_ctx, [&] {
      if (pdf_is_array(m_ctx, m_obj))
        r = pdf_array_len(m_ctx, m_obj);
      else if (pdf_is_dict(m_ctx, m_obj))
        r = pdf_dict_len(m_ctx, m_obj);
    });
  }
  return r;
}

PdfObject PdfObject::at(int index) const {
  pdf_obj* r = nullptr;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_array_get(m_ctx, m_obj, index); });
  return PdfObject(m_ctx, r);
}

PdfObject PdfObject::keyAt(int index) const {
  pdf_obj* r = nullptr;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_dict_get_key(m_ctx, m_obj, index); });
  return PdfObject(m_ctx, r);
}

PdfObject PdfObject::valueAt(int index) const {
  pdf_obj* r = nullptr;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_dict_get_val(m_ctx, m_obj, index); });
  return PdfObject(m_ctx, r);
}

QByteArray PdfObject::name() const {
  const char* r = nullptr;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_is_name(m_ctx, m_obj) ? pdf_to_name(m_ctx, m_obj) : nullptr; });
  return r ? QByteArray(r) : QByteArray();
}

QByteArray PdfObject::bytes() const {
  const char* buf = nullptr;
  size_t len = 0;
  if (m_obj) {
    guarded(m_ctx, [&] {
      if (pdf_is_string(m_ctx, m_obj)) {
        buf = pdf_to_str_buf(m_ctx, m_obj);
        len = pdf_to_str_len(m_ctx, m_obj);
      }
    });
  }
  return buf ? QByteArray(buf, static_cast<qsizetype>(len)) : QByteArray();
}

QString PdfObject::text() const {
  const char* r = nullptr;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_is_string(m_ctx, m_obj) ? pdf_to_text_string(m_ctx, m_obj) : nullptr; });
  return r ? QString::fromUtf8(r) : QString();
}

float PdfObject::real() const {
  float r = 0;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_to_real(m_ctx, m_obj); });
  return r;
}

int PdfObject::integer() const {
  int r = 0;
  if (m_obj) guarded(m_ctx, [&] { r = pdf_to_int(m_ctx, m_obj); });
  return r;
}

QRectF PdfObject::rect() const {
  if (!isArray() || length() < 4) return QRectF();
  float v[4];
  for (int i = 0; i < 4; ++i) {
    const PdfObject n = at(i);
    if (!n.isNumber()) return QRectF();
    v[i] = n.real();
  }
  const float x0 = std::min(v[0], v[2]), x1 = std::max(v[0], v[2]);
  const float y0 = std::min(v[1], v[3]), y1 = std::max(v[1], v[3]);
  return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

qint64 PdfObject::identity() const {
  if (!m_obj) return 0;
  int indirect = 0, num = 0;
  pdf_obj* resolved = nullptr;
  guarded(m_ctx, [&] {
    indirect = pdf_is_indirect(m_ctx, m_obj);
    if (indirect)
      num = pdf_to_num(m_ctx, m_obj);
    else
      resolved = pdf_resolve_indirect(m_ctx, m_obj);
  });
  if (indirect) return num;
  return -static_cast<qint64>(reinterpret_cast<quintptr>(resolved) >> 1) - 1;
}
