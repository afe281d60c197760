#include "import/FlashPagesAnnotationsPDF.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>
#include <cmath>
#include <string_view>

#include "base/Log.h"
#include "import/FlashPageSource.h"
#include "import/MuPdfDocument.h"
#include "import/PdfDestinations.h"
#include "import/PdfObject.h"

namespace {

// The scheme of an absolute address in lower case ("" for a relative one):
// letters, digits, "+", "-" and "." before a ":" that comes before any "/",
// "?" or "#".
QString urlScheme(const QString& url) {
  for (qsizetype i = 0; i < url.size(); ++i) {
    const QChar c = url[i];
    if (c == QLatin1Char(':')) return i > 0 ? url.left(i).toLower() : QString();
    const bool letter =
        (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
    const bool other = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
                       c == QLatin1Char('-') || c == QLatin1Char('.');
    if (!letter && !(i > 0 && other)) return QString();
  }
  return QString();
}

}  // namespace

FlashPagesAnnotationsPDF::FlashPagesAnnotationsPDF() = default;

FlashPagesAnnotationsPDF::~FlashPagesAnnotationsPDF() = default;

void FlashPagesAnnotationsPDF::loadLinksFromPDF(std::shared_ptr<MuPdfDocument> doc, const QString& pageRange) {
  iPDFDoc = std::move(doc);
  const qint32 total = iPDFDoc ? iPDFDoc->pageCount() : 0;
  iNeedToImportPages.clear();
  m_warnings.clear();
  for (qint32 n : FlashPageSource::parsePageRange(pageRange, total)) {
    if (n >= 1 && n <= total) {
      iNeedToImportPages.append(n);
    } else if (iPDFDoc) {
      // Keeps the pageAnnos positions those of the imported pages.
      qCWarning(lcImport, "links: page %d is not in the document (%d pages); skipped", n, total);
      m_warnings << QCoreApplication::translate("FlashPagesAnnotationsPDF",
                                                "Page %1 is not in %2 (%3 pages); its links were skipped.")
                        .arg(n)
                        .arg(QFileInfo(iPDFDoc->path()).fileName())
                        .arg(total);
    }
  }
  iNeedFiles.clear();
  resetPagesAnnotationsNode();

  m_dests.reset();
  m_uriBase.clear();
  if (iPDFDoc) {
    m_dests = std::make_unique<PdfDestinations>(*iPDFDoc);
    m_uriBase = iPDFDoc->catalog().get("URI").get("Base").bytes();
  }
  for (iCurrentIndex = 0; iCurrentIndex < iNeedToImportPages.size(); ++iCurrentIndex) parsePage();
  m_dests.reset();
}

void FlashPagesAnnotationsPDF::parsePage() {
  if (iCurrentIndex < 0 || iCurrentIndex >= iNeedToImportPages.size()) return;
  const qint32 number = iNeedToImportPages[iCurrentIndex];
  qCDebug(lcImport, "page is:%d", number);
  pugi::xml_node pageAnnos = pagesAnnotationsNode().append_child("pageAnnos");
  pageAnnos.append_attribute("pageIndex").set_value(iCurrentIndex + 1);
  if (!iPDFDoc) return;

  const int index = number - 1;
  const PdfObject annots = iPDFDoc->pageObject(index).get("Annots");
  const int count = annots.isArray() ? annots.length() : 0;
  if (count == 0) return;
  qCDebug(lcImport, "count is:%d", count);
  if (count > kMaxLinksPerPage) {
    qCWarning(lcImport, "page %d has %d annotations; only the first %d are read", number, count, kMaxLinksPerPage);
    m_warnings << QCoreApplication::translate("FlashPagesAnnotationsPDF",
                                              "Page %1 has %2 annotations; only the first %3 were read.")
                      .arg(number)
                      .arg(count)
                      .arg(kMaxLinksPerPage);
  }
  const QRectF cropBox = iPDFDoc->cropBox(index);
  const int rotation = iPDFDoc->rotation(index);
  const int n = std::min(count, kMaxLinksPerPage);
  m_refusedSchemes.clear();
  for (int i = 0; i < n; ++i) appendLink(pageAnnos, annots.at(i), cropBox, rotation, number);
  if (!m_refusedSchemes.isEmpty()) {
    m_warnings << QCoreApplication::translate(
                      "FlashPagesAnnotationsPDF",
                      "Page %1: links to %2 addresses were dropped; only web and mail links are kept.")
                      .arg(number)
                      .arg(m_refusedSchemes.join(QStringLiteral(", ")));
  }
}

void FlashPagesAnnotationsPDF::appendLink(pugi::xml_node pageAnnos, const PdfObject& annot, const QRectF& cropBox,
                                          int rotation, qint32 number) {
  if (!annot.isDict() || !annot.get("Subtype").nameIs("Link")) return;
  const PdfObject action = annot.get("A");
  QString url;
  if (action.get("S").nameIs("URI")) {
    const QByteArray raw = action.get("URI").bytes();
    if (raw.size() > kMaxUrlBytes) {
      qCWarning(lcImport, "page %d: a link address of %lld bytes was dropped", number,
                static_cast<long long>(raw.size()));
      m_warnings << QCoreApplication::translate("FlashPagesAnnotationsPDF",
                                                "Page %1: a link address of %2 bytes is too long and was dropped.")
                        .arg(number)
                        .arg(raw.size());
      return;
    }
    url = absoluteUrl(raw, m_uriBase);
    // javascript:, file:, data: and the like do nothing useful in a web book
    // and may do harm; the player refuses them too. A page link the same
    // annotation may carry still counts.
    const QString scheme = urlScheme(url);
    if (!scheme.isEmpty() && scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
        scheme != QLatin1String("mailto")) {
      qCWarning(lcImport, "page %d: a link to a %s: address was dropped", number, qPrintable(scheme.left(32)));
      const QString shown = scheme.left(32) + QLatin1Char(':');
      if (!m_refusedSchemes.contains(shown)) m_refusedSchemes << shown;
      url.clear();
    }
  }
  int target = -1;
  if (url.isEmpty()) {
    const PdfObject dest = annot.get("Dest");
    target = !dest.isNull() ? m_dests->pageIndexOfDest(dest) : m_dests->pageIndexOfAction(action);
    if (target < 0) return;  // remote, named actions, or nowhere in this document
  }
  const QRectF rect = annot.get("Rect").rect();
  if (rect.isNull() || !std::isfinite(rect.width()) || !std::isfinite(rect.height())) return;
  if (lcImport().isDebugEnabled())
    qCDebug(lcImport).noquote() << "link" << rect << "url:" << url << "page:" << target + 1;

  pugi::xml_node anno = pageAnnos.append_child("anno");
  anno.append_attribute("annotype").set_value(kLinkType);
  pugi::xml_node act = anno.append_child("action");
  act.append_attribute("triggerEventType").set_value("mouseDown");
  if (!url.isEmpty()) {
    act.append_attribute("actionType").set_value(kOpenUrlAction);
    act.append_child("url").text().set(url.toUtf8().constData());
  } else {
    act.append_attribute("actionType").set_value(kGotoPageAction);
    act.append_child("pageIndex").text().set(QString::asprintf("%d", target + 1).toUtf8().constData());
  }
  const std::array<float, 4> loc = linkLocation(rect, cropBox, rotation);
  pugi::xml_node location = anno.append_child("location");
  const char* names[4] = {"x", "y", "width", "height"};
  for (int i = 0; i < 4; ++i)
    location.append_attribute(names[i]).set_value(
        QString::asprintf("%f", static_cast<double>(loc[static_cast<size_t>(i)])).toUtf8().constData());
}

std::array<float, 4> FlashPagesAnnotationsPDF::linkLocation(const QRectF& link, const QRectF& cropBox, int rotation) {
  // Measured from the crop box's corner, so that links on a page whose crop
  // box does not start at 0,0 land where the picture shows them.
  const float x = static_cast<float>(link.x() - cropBox.x());
  const float y = static_cast<float>(link.y() - cropBox.y());
  const float w = static_cast<float>(link.width());
  const float h = static_cast<float>(link.height());
  const float W = static_cast<float>(cropBox.width());
  const float H = static_cast<float>(cropBox.height());
  // In the frame of the picture as MuPDF draws it: turned clockwise by the
  // page's rotation, fractions from the picture's top-left corner.
  switch (quarterTurns(rotation)) {
    case 1:
      return {y / H, x / W, h / H, w / W};
    case 2:
      return {1.0f - (x + w) / W, y / H, w / W, h / H};
    case 3:
      return {1.0f - (y + h) / H, 1.0f - (x + w) / W, h / H, w / W};
    default:
      return {x / W, 1.0f - (y + h) / H, w / W, h / H};
  }
}

int FlashPagesAnnotationsPDF::quarterTurns(int rotation) {
  // MuPDF draws any /Rotate snapped to the nearest quarter turn (45 goes up).
  const int r = ((rotation % 360) + 360) % 360;
  return ((r + 45) / 90) % 4;
}

QString FlashPagesAnnotationsPDF::absoluteUrl(const QByteArray& raw, const QByteArray& base) {
  QByteArray bytes = raw;
  if (bytes.startsWith("\xFE\xFF"))  // some writers store the address as a UTF-16 text string
    bytes = QString(QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2))).toUtf8();
  bytes = bytes.trimmed();
  if (bytes.isEmpty()) return QString();

  // No scheme: relative to the document's base address, when it has one.
  const qsizetype colon = bytes.indexOf(':');
  const qsizetype stop = [&] {
    qsizetype s = bytes.size();
    for (char c : {'/', '?', '#'}) {
      const qsizetype at = bytes.indexOf(c);
      if (at >= 0 && at < s) s = at;
    }
    return s;
  }();
  if ((colon <= 0 || colon > stop) && !base.trimmed().isEmpty()) {
    const QUrl resolved = QUrl::fromEncoded(base.trimmed()).resolved(QUrl::fromEncoded(bytes));
    if (resolved.isValid()) bytes = resolved.toEncoded();
  }

  static const char kHex[] = "0123456789ABCDEF";
  QByteArray out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c >= 0x7F || std::string_view("\"<>\\^`{|}").find(ch) != std::string_view::npos) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return QString::fromLatin1(out);
}
