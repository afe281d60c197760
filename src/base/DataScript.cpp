#include "base/DataScript.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <cmath>

namespace DataScript {

QByteArray call(const char* kind, qint32 number, const QByteArray& payload) {
  QByteArray out;
  out.reserve(payload.size() + 40);
  out += "folivoxData(\"";
  out += kind;
  out += "\", ";
  out += QByteArray::number(number);
  out += ", ";
  out += payload;
  out += ");\n";
  return out;
}

void appendString(QByteArray& out, QStringView text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    char32_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
      c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
      ++i;
    } else if (QChar::isSurrogate(c)) {
      c = 0xFFFD;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c == 0x2028 || c == 0x2029) {
      out += "\\u";
      out += kHex[(c >> 12) & 15];
      out += kHex[(c >> 8) & 15];
      out += kHex[(c >> 4) & 15];
      out += kHex[c & 15];
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out += '"';
}

QByteArray quoted(QStringView text) {
  QByteArray out;
  out.reserve(text.size() + 2);
  appendString(out, text);
  return out;
}

void appendFraction(QByteArray& out, double value) {
  if (!(value > 0)) {  // also NaN
    out += '0';
    return;
  }
  const long v = std::lround(std::min(value, 1.0) * 10000);
  if (v >= 10000) {
    out += '1';
    return;
  }
  if (v == 0) {
    out += '0';
    return;
  }
  char digits[4] = {static_cast<char>('0' + v / 1000), static_cast<char>('0' + v / 100 % 10),
                    static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
  int len = 4;
  while (digits[len - 1] == '0') --len;
  out += "0.";
  out.append(digits, len);
}

namespace {

// A small cursor over the script's call syntax; the payload itself is JSON.
struct Cursor {
  QByteArrayView s;
  qsizetype at = 0;
  void skipBlanks() {
    while (at < s.size() && (s[at] == ' ' || s[at] == '\t' || s[at] == '\n' || s[at] == '\r')) ++at;
  }
  bool take(QByteArrayView token) {
    skipBlanks();
    if (!s.sliced(at).startsWith(token)) return false;
    at += token.size();
    return true;
  }
  bool number(qint32* value) {
    skipBlanks();
    const qsizetype start = at;
    if (at < s.size() && s[at] == '-') ++at;
    while (at < s.size() && at - start < 11 && s[at] >= '0' && s[at] <= '9') ++at;
    bool ok = false;
    *value = s.sliced(start, at - start).toByteArray().toInt(&ok);
    return ok;
  }
};

}  // namespace

std::optional<QJsonObject> payload(const QByteArray& script, const char* kind, qint32* number, QString* error) {
  auto fail = [error](const QString& why) {
    if (error != nullptr) *error = why;
    return std::nullopt;
  };
  if (script.size() > kMaxScriptBytes) return fail(QStringLiteral("the file is too large"));
  Cursor c{QByteArrayView(script)};
  qint32 n = 0;
  if (!c.take("folivoxData(") || !c.take("\"") || !c.take(kind) || !c.take("\"") || !c.take(",") || !c.number(&n) ||
      !c.take(","))
    return fail(QStringLiteral("it is not a %1 script").arg(QLatin1String(kind)));
  // The call ends with ")" and an optional ";".
  qsizetype end = script.size();
  auto blank = [&](qsizetype i) {
    return script[i] == ' ' || script[i] == '\n' || script[i] == '\r' || script[i] == '\t';
  };
  while (end > c.at && blank(end - 1)) --end;
  if (end > c.at && script[end - 1] == ';') --end;
  while (end > c.at && blank(end - 1)) --end;
  if (end <= c.at || script[end - 1] != ')') return fail(QStringLiteral("the script is cut short"));
  --end;

  QJsonParseError parseError{};
  const QJsonDocument doc = QJsonDocument::fromJson(script.mid(c.at, end - c.at), &parseError);
  if (parseError.error != QJsonParseError::NoError || !doc.isObject())
    return fail(QStringLiteral("its data cannot be read (%1)").arg(parseError.errorString()));
  const QJsonObject object = doc.object();
  if (object.value(QStringLiteral("v")).toInt(-1) != kVersion)
    return fail(QStringLiteral("its format version is not one this program reads"));
  if (number != nullptr) *number = n;
  return object;
}

}  // namespace DataScript
