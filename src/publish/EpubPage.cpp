#include "publish/EpubPage.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <pugixml.hpp>

#include "base/DataScript.h"
#include "publish/EpubXhtml.h"

namespace {

using EpubXhtml::safe;

QString percent(double fraction) {
  return QString::number(std::clamp(fraction, 0.0, 1.0) * 100.0, 'f', 3) + QLatin1Char('%');
}

QString placed(const QRectF& box) {
  return QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
      .arg(percent(box.x()), percent(box.y()), percent(box.width()), percent(box.height()));
}

}  // namespace

QByteArray EpubPage::xhtml() const {
  pugi::xml_document doc;
  pugi::xml_node html = EpubXhtml::start(doc, language, title);
  pugi::xml_node head = html.child("head");
  pugi::xml_node viewport = head.append_child("meta");
  viewport.append_attribute("name") = "viewport";
  viewport.append_attribute("content") =
      QStringLiteral("width=%1, height=%2").arg(size.width()).arg(size.height()).toUtf8().constData();
  pugi::xml_node css = head.append_child("link");
  css.append_attribute("rel") = "stylesheet";
  css.append_attribute("type") = "text/css";
  css.append_attribute("href") = "../book.css";

  pugi::xml_node body = html.append_child("body");
  body.append_attribute("style") =
      QStringLiteral("width:%1px;height:%2px;").arg(size.width()).arg(size.height()).toUtf8().constData();
  pugi::xml_node brk = body.append_child("span");
  brk.append_attribute("epub:type") = "pagebreak";
  brk.append_attribute("role") = "doc-pagebreak";
  brk.append_attribute("id") = "page";
  brk.append_attribute("aria-label") = safe(label).c_str();
  pugi::xml_node img = body.append_child("img");
  img.append_attribute("class") = "picture";
  img.append_attribute("src") = safe(picture).c_str();
  img.append_attribute("alt") = pictureOnly ? safe(title).c_str() : "";

  if (!words.isEmpty()) {
    pugi::xml_node text = body.append_child("div");
    text.append_attribute("class") = "text";
    const double height = size.height();
    const double width = size.width();
    for (const PageText::Word& w : words) {
      pugi::xml_node span = text.append_child("span");
      const int turns = (w.flags >> PageText::kDirectionShift) & 3;
      // The letters' height across the line: the box's height, or its width
      // for text that runs down the page.
      const double across = (turns % 2 == 0) ? w.box.height() * height : w.box.width() * width;
      span.append_attribute("style") =
          (placed(w.box) + QStringLiteral("font-size:%1px;").arg(std::max(1.0, std::round(across * 10) / 10)))
              .toUtf8()
              .constData();
      span.text() = safe(w.text).c_str();
      // What separates the words when the text is read or copied.
      text.append_child(pugi::node_pcdata)
          .set_value((w.flags & (PageText::kLineEnd | PageText::kBlockEnd)) ? "\n" : " ");
    }
  }
  for (const Link& link : links) {
    pugi::xml_node a = body.append_child("a");
    a.append_attribute("class") = "link";
    a.append_attribute("href") = safe(link.href).c_str();
    a.append_attribute("style") = placed(link.box).toUtf8().constData();
    a.append_attribute("aria-label") = safe(link.label).c_str();
  }

  return EpubXhtml::serialise(doc, EpubXhtml::Layout::OneLine);
}

QList<PageText::Word> EpubPage::wordsOfScript(const QByteArray& script) {
  QList<PageText::Word> words;
  const std::optional<QJsonObject> payload = DataScript::payload(script, "text");
  if (!payload) return words;
  const QJsonArray list = payload->value(QStringLiteral("w")).toArray();
  for (const QJsonValue& value : list) {
    const QJsonArray w = value.toArray();
    if (w.size() < 6 || !w[0].isString()) continue;
    double n[4];
    bool ok = true;
    for (int i = 0; i < 4; ++i) {
      n[i] = w[i + 1].toDouble(qQNaN());
      ok = ok && std::isfinite(n[i]) && n[i] >= 0 && n[i] <= 1;
    }
    if (!ok) continue;
    PageText::Word word;
    word.text = w[0].toString();
    word.box = QRectF(n[0], n[1], std::min(n[2], 1 - n[0]), std::min(n[3], 1 - n[1]));
    word.flags = w[5].toInt();
    if (word.text.isEmpty()) continue;
    words.append(word);
  }
  return words;
}

bool EpubPage::isWebAddress(const QString& url) {
  const QUrl parsed(url, QUrl::StrictMode);
  if (!parsed.isValid()) return false;
  const QString scheme = parsed.scheme().toLower();
  if (scheme == QLatin1String("mailto")) return !parsed.path().isEmpty();
  return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !parsed.host().isEmpty();
}
