// The optional data scripts of a published book (files/pages.js,
// files/text/N.js, files/text/all.js; see docs/book-files.md). Each is one call
//   folivoxData("KIND", N, {...});
// with a JSON payload, so that a browser can load it from file:// where it
// refuses XMLHttpRequest. The writers build payloads with the helpers below;
// folivox-cli inspect reads them back with payload().
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringView>
#include <optional>

namespace DataScript {

// Every payload carries "v": kVersion; a reader refuses any other.
constexpr int kVersion = 1;
// Larger files are refused by payload(): no book of ours comes near it.
constexpr qsizetype kMaxScriptBytes = 512LL << 20;

// The script for one payload: folivoxData("KIND", N, PAYLOAD);\n
QByteArray call(const char* kind, qint32 number, const QByteArray& payload);

// Appends `text` as a JSON string literal in UTF-8. Quotes, backslashes and
// control characters are escaped, and so are U+2028 and U+2029, which end a
// line in older JavaScript. Unpaired surrogates become U+FFFD.
void appendString(QByteArray& out, QStringView text);
QByteArray quoted(QStringView text);

// Appends `value`, clamped to 0..1, with at most four decimals and no
// trailing zeros: 0.1012, 0.5, 0, 1.
void appendFraction(QByteArray& out, double value);

// The payload of a data script of `kind`, with its number in `number`.
// nullopt, with the reason in `error`, for bytes that are not such a script,
// a payload that is not a JSON object, or a "v" other than kVersion.
std::optional<QJsonObject> payload(const QByteArray& script, const char* kind, qint32* number = nullptr,
                                   QString* error = nullptr);

}  // namespace DataScript
