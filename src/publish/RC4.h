// The RC4 stream cipher that protects a book's configuration (book.bin).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace RC4 {

// The key shared with the player.
inline constexpr char kBookKey[] = "qopvexlint.zarm";

// Encrypts (and, being symmetric, decrypts) `data` under `key`: key schedule
// over the key bytes, keystream XORed from the first byte, nothing discarded.
// Keys longer than 512 bytes are cut to 512; an empty key gives none.
std::optional<QByteArray> RC4EncryptedDataUsingKey(const QByteArray& data, const QByteArray& key,
                                                   QString* error = nullptr);

}  // namespace RC4
