// Reading text files that come from anywhere (template pages, settings files,
// the trust file) the same way.
#pragma once

#include <QByteArray>
#include <QString>

namespace TextDecoding {

// UTF-16 or UTF-8 by byte-order mark (the mark is dropped); otherwise UTF-8
// when all of it is valid UTF-8, a sequence cut off at the very end included;
// otherwise Latin-1, which keeps every byte as a character.
QString decode(const QByteArray& bytes);

}  // namespace TextDecoding
