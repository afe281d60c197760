// Publishing benchmark.
//  1. A 1,000-page picture book published into a fresh folder, against `cp -r`
//     of the same pictures in the same run (the disk's share of the time); then
//     published again over itself (the earlier book is swapped out and
//     removed), and once without the flush to the disk (as the preview does).
//  2. book.bin for 2,500 pages, 25,000 link areas and 1,500 outline entries,
//     timed step by step: book.xml, serialising, deflate into the zip, RC4.
// Usage: bench_publish [work folder]   (default: a temporary folder)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <pugixml.hpp>

#include "base/PlatformPaths.h"
#include "import/FlashOutline.h"
#include "import/FlashPageSource.h"
#include "import/FlashPagesAnnotations.h"
#include "publish/FlashBookOutput.h"
#include "publish/RC4.h"
#include "templates/FlashTemplate.h"
#include "zip/ZKDataArchive.h"

namespace {

double ms(QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

std::shared_ptr<FlashPageSourceImg> pictures(const QString& folder, int count, int bytes) {
  QDir().mkpath(folder);
  auto src = std::make_shared<FlashPageSourceImg>();
  QByteArray data(bytes, Qt::Uninitialized);
  for (int i = 1; i <= count; ++i) {
    for (char& c : data) c = static_cast<char>(QRandomGenerator::global()->bounded(256));
    const QString path = QStringLiteral("%1/%2.jpg").arg(folder).arg(i);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(data);
    src->addImgPageFromFile(path);
  }
  src->generateNormalPages();
  return src;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QLoggingCategory::setFilterRules(QStringLiteral("folivox.*.debug=false"));
  QTemporaryDir tmp;
  const QString work = argc > 1 ? QString::fromLocal8Bit(argv[1]) : tmp.path();
  auto tmpl = std::make_shared<FlashTemplate>();

  // 1. Page copies.
  auto book = pictures(work + QStringLiteral("/pics"), 1000, 150 * 1024);
  QProcess::execute(QStringLiteral("sync"), {});
  QDir().mkpath(work + QStringLiteral("/book"));
  QElapsedTimer t;
  t.start();
  FlashBookOutput out(book, tmpl, work + QStringLiteral("/book"), std::nullopt);
  out.ouputTheBook();
  const double publishMs = ms(t);
  t.restart();
  QProcess::execute(QStringLiteral("cp"),
                    {QStringLiteral("-r"), work + QStringLiteral("/pics"), work + QStringLiteral("/copy")});
  const double cpMs = ms(t);
  std::printf("1,000 pages of 150 KiB: publish %.0f ms, cp -r %.0f ms, ratio %.2f (%zu failures)\n", publishMs, cpMs,
              publishMs / cpMs, out.failures().size());
  t.restart();
  FlashBookOutput again(book, tmpl, work + QStringLiteral("/book"), std::nullopt);
  again.ouputTheBook();
  const double againMs = ms(t);
  QDir().mkpath(work + QStringLiteral("/unsynced"));
  t.restart();
  FlashBookOutput unsynced(book, tmpl, work + QStringLiteral("/unsynced"), std::nullopt);
  unsynced.setSyncToDisk(false);
  unsynced.ouputTheBook();
  const double unsyncedMs = ms(t);
  std::printf("  again over the same book %.0f ms (ratio %.2f); without the flush to disk %.0f ms (ratio %.2f)\n",
              againMs, againMs / cpMs, unsyncedMs, unsyncedMs / cpMs);

  // 2. A large configuration.
  auto big = std::make_shared<FlashPageSourceImg>();
  for (int i = 1; i <= 2500; ++i) big->addImgPageFromFile(QStringLiteral("/pages/%1.jpg").arg(i));
  big->generateNormalPages();
  pugi::xml_document annosDoc;
  pugi::xml_node annos = annosDoc.append_child("pagesAnnos");
  for (int p = 1; p <= 2500; ++p) {
    pugi::xml_node pa = annos.append_child("pageAnnos");
    pa.append_attribute("pageIndex") = p;
    for (int k = 0; k < 10; ++k) {
      pugi::xml_node anno = pa.append_child("anno");
      anno.append_attribute("annotype") = "com.velmora.flipbook.pageeditor.TAnnoLink";
      pugi::xml_node action = anno.append_child("action");
      action.append_attribute("triggerEventType") = "mouseDown";
      action.append_attribute("actionType") = "com.velmora.flipbook.pageeditor.TAnnoActionGotoPage";
      action.append_child("pageIndex").text() = (p * 7 + k) % 2500 + 1;
      pugi::xml_node loc = anno.append_child("location");
      for (const char* a : {"x", "y", "width", "height"}) loc.append_attribute(a) = "0.123456";
    }
  }
  auto annotations = std::make_shared<FlashPagesAnnotations>();
  annotations->setPagesAnnotationsNode(annos);
  auto outline = std::make_shared<FlashOutline>();
  FlashOutlineItems chapters;
  for (int c = 0; c < 150; ++c) {
    auto chapter = std::make_unique<FlashOutlineItem>();
    chapter->setCaption(QStringLiteral("Chapter %1").arg(c + 1));
    chapter->setPageIndex(c * 16 + 1);
    chapter->setLevel(1);
    for (int s = 0; s < 9; ++s) {
      auto section = std::make_unique<FlashOutlineItem>();
      section->setCaption(QStringLiteral("Section %1.%2").arg(c + 1).arg(s + 1));
      section->setPageIndex(c * 16 + s + 2);
      section->setLevel(2);
      section->setParent(chapter.get());
      chapter->addChild(std::move(section));
    }
    chapters.push_back(std::move(chapter));
  }
  outline->setItems(std::move(chapters));
  FlashBookOutput cfg(big, tmpl, work, std::nullopt);
  cfg.setFlashPagesAnnotations(annotations);
  cfg.setFlashOutline(outline);
  t.restart();
  const auto doc = cfg.bookXML();
  const double xmlMs = ms(t);
  t.restart();
  const QByteArray text = FlashBookOutput::serializeBookXML(*doc);
  const double serMs = ms(t);
  t.restart();
  ZKDataArchive archive;
  archive.deflateData(text, QStringLiteral("book.xml"));
  const double zipMs = ms(t);
  t.restart();
  const auto enc = RC4::RC4EncryptedDataUsingKey(archive.data(), QByteArray(RC4::kBookKey));
  const double rc4Ms = ms(t);
  t.restart();
  cfg.ouputBookXML(work + QStringLiteral("/big.bin"));
  const double allMs = ms(t);
  std::printf("book.bin for 2,500 pages, 25,000 links, 1,500 outline entries: %.1f MB of XML -> %.1f MB\n",
              static_cast<double>(text.size()) / 1e6, static_cast<double>(enc->size()) / 1e6);
  std::printf("  bookXML %.0f ms, serialise %.0f ms, deflate+zip %.0f ms, RC4 %.0f ms; ouputBookXML in all %.0f ms\n",
              xmlMs, serMs, zipMs, rc4Ms, allMs);
  return 0;
}
