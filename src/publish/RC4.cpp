#include "publish/RC4.h"

#include <array>
#include <utility>

namespace RC4 {

std::optional<QByteArray> RC4EncryptedDataUsingKey(const QByteArray& data, const QByteArray& key, QString* error) {
  if (key.isEmpty()) {
    if (error != nullptr) *error = QStringLiteral("RC4 needs a key of 1 to 512 bytes");
    return std::nullopt;
  }
  const qsizetype keyLength = std::min<qsizetype>(key.size(), 512);
  std::array<quint8, 256> s{};
  for (int i = 0; i < 256; ++i) s[static_cast<size_t>(i)] = static_cast<quint8>(i);
  quint8 j = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<quint8>(j + s[static_cast<size_t>(i)] + static_cast<quint8>(key[i % keyLength]));
    std::swap(s[static_cast<size_t>(i)], s[j]);
  }
  QByteArray out(data.size(), Qt::Uninitialized);
  const auto* in = reinterpret_cast<const quint8*>(data.constData());
  auto* o = reinterpret_cast<quint8*>(out.data());
  quint8 a = 0;
  quint8 b = 0;
  for (qsizetype n = 0; n < data.size(); ++n) {
    a = static_cast<quint8>(a + 1);
    b = static_cast<quint8>(b + s[a]);
    std::swap(s[a], s[b]);
    o[n] = static_cast<quint8>(in[n] ^ s[static_cast<quint8>(s[a] + s[b])]);
  }
  return out;
}

}  // namespace RC4
