// Zip records and the in-memory archive: exact bytes, read-back, and input
// that lies about its own sizes.
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <ctime>
#include <limits>

#include "TestEnv.h"
#include "zip/ZKBytes.h"
#include "zip/ZKCDHeader.h"
#include "zip/ZKCDTrailer.h"
#include "zip/ZKDataArchive.h"
#include "zip/ZKLFHeader.h"

namespace {

quint16 u16(const QByteArray& d, qsizetype at) { return qFromLittleEndian<quint16>(d.constData() + at); }
quint32 u32(const QByteArray& d, qsizetype at) { return qFromLittleEndian<quint32>(d.constData() + at); }
quint64 u64(const QByteArray& d, qsizetype at) { return qFromLittleEndian<quint64>(d.constData() + at); }

QByteArray bookXml() {
  QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<book>\n";
  for (int i = 1; i <= 40; ++i) xml += "  <page normalUrl=\"./files/page/" + QByteArray::number(i) + ".jpg\"/>\n";
  return xml + "</book>\n";
}

// Reads whatever an archive claims to hold; used on damaged bytes, where the
// only requirement is to come back without crashing or reading out of range.
int readEverything(const QByteArray& bytes) {
  int entries = 0;
  for (quint64 at = 0; at < static_cast<quint64>(bytes.size()); ++at) {
    (void)ZKLFHeader::recordWithData(bytes, at);
    (void)ZKCDHeader::recordWithData(bytes, at);
    (void)ZKCDTrailer::recordWithData(bytes, at);
  }
  auto archive = ZKDataArchive::archiveWithArchiveData(bytes);
  if (!archive) return -1;
  for (const ZKCDHeader& h : archive->centralDirectory()) {
    ZKFileAttributes attributes;
    if (archive->inflateFile(h, &attributes)) ++entries;
    (void)h.description();
  }
  (void)archive->deflateData("more", QStringLiteral("more.txt"));
  return entries;
}

// Silences the expected warnings about damaged archives for one scope.
struct QuietZipLog {
  QuietZipLog() { QLoggingCategory::setFilterRules(QStringLiteral("folivox.zip.warning=false")); }
  ~QuietZipLog() { QLoggingCategory::setFilterRules(QString()); }
};

}  // namespace

class TestZip : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void byteHelpers();
  void dosDates();
  void localHeaderBytes();
  void zip64Switching();
  void centralHeaderCacheAndAttributes();
  void trailerBytes();
  void oneEntryLayout();
  void entryDateMakesTheSameBytes();
  void twoEntriesReadBack();
  void rejectedAdditions();
  void attributesRoundTrip();
  void inflateLimits();
  void truncatedAndMutatedArchives();
  void lyingRecords();
  void systemUnzipAcceptsArchive();
};

void TestZip::byteHelpers() {
  QByteArray d;
  zk_appendLittleInt16(d, 0x0102);
  zk_appendLittleInt32(d, 0x03040506);
  zk_appendLittleInt64(d, 0x0708090A0B0C0D0EULL);
  QCOMPARE(d.toHex(), QByteArray("020106050403"
                                 "0e0d0c0b0a090807"));

  quint64 at = 0;
  QCOMPARE(zk_hostInt16OffsetBy(d, at), std::optional<quint16>(0x0102));
  QCOMPARE(zk_hostInt32OffsetBy(d, at), std::optional<quint32>(0x03040506));
  QCOMPARE(zk_hostInt64OffsetBy(d, at), std::optional<quint64>(0x0708090A0B0C0D0EULL));
  QCOMPARE(at, quint64(14));
  QVERIFY(!zk_hostInt16OffsetBy(d, at));
  QCOMPARE(at, quint64(14));  // a failed read does not move on
  at = 13;
  QVERIFY(!zk_hostInt16OffsetBy(d, at));
  at = std::numeric_limits<quint64>::max() - 1;
  QVERIFY(!zk_hostInt64OffsetBy(d, at));
  QVERIFY(!zk_stringOffsetBy(d, at, 4));
  at = 2;
  QVERIFY(!zk_bytesOffsetBy(d, at, std::numeric_limits<quint64>::max()));

  // "e" + combining acute is stored precomposed: 2 bytes, not 3.
  const QString decomposed = QStringLiteral("e\u0301.xml");
  QCOMPARE(zk_precomposedUTF8Length(decomposed), quint64(6));
  QCOMPARE(zk_precomposedUTF8Length(QString()), quint64(0));
  QByteArray name;
  zk_appendPrecomposedUTF8String(name, decomposed);
  QCOMPARE(name, QByteArray("\xC3\xA9.xml"));

  QCOMPARE(zk_crc32(QByteArray("123456789")), quint32(0xCBF43926));
}

void TestZip::dosDates() {
  const QDateTime when(QDate(2024, 3, 15), QTime(13, 45, 31), Qt::LocalTime);
  QCOMPARE(zk_dosDate(when), quint32(0x586F6DAF));
  QCOMPARE(zk_dateWithDosDate(0x586F6DAF), QDateTime(QDate(2024, 3, 15), QTime(13, 45, 30), Qt::LocalTime));
  // Out of the format's range: clamped, never wrapped around.
  QCOMPARE(zk_dateWithDosDate(zk_dosDate(QDateTime(QDate(1970, 1, 1), QTime(12, 0), Qt::LocalTime))),
           QDateTime(QDate(1980, 1, 1), QTime(0, 0), Qt::LocalTime));
  QCOMPARE(zk_dateWithDosDate(zk_dosDate(QDateTime(QDate(2200, 6, 1), QTime(12, 0), Qt::LocalTime))).date(),
           QDate(2107, 12, 31));
  QVERIFY(!zk_dateWithDosDate(0).isValid());           // month 0
  QVERIFY(!zk_dateWithDosDate(0x0021FFFF).isValid());  // hour 31

  // A date in UTC is written as it stands, whatever the machine's zone: a
  // fixed stamp gives the same bytes everywhere.
  const QByteArray zone = qgetenv("TZ");
  qputenv("TZ", "Asia/Kathmandu");
  ::tzset();
  QCOMPARE(zk_dosDate(QDateTime(QDate(2024, 3, 15), QTime(13, 45, 31), Qt::UTC)), quint32(0x586F6DAF));
  zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
  ::tzset();
}

void TestZip::localHeaderBytes() {
  ZKLFHeader h;
  h.setFilename(QStringLiteral("book.xml"));
  h.setCrc(0xDEADBEEF);
  h.setCompressedSize(100);
  h.setUncompressedSize(300);
  const QByteArray d = h.data();
  QCOMPARE(h.length(), quint64(d.size()));

  // A length already set is kept when the name changes later, but the record
  // declares the name it carries.
  h.setFilename(QStringLiteral("a.xml"));
  QCOMPARE(h.filenameLength(), quint32(8));
  const auto renamed = ZKLFHeader::recordWithData(h.data(), 0);
  QVERIFY(renamed);
  QCOMPARE(renamed->filename(), QStringLiteral("a.xml"));

  QByteArray shifted = "xyz" + d;
  const auto parsed = ZKLFHeader::recordWithData(shifted, 3);
  QVERIFY(parsed);
  QCOMPARE(parsed->filename(), QStringLiteral("book.xml"));
  QCOMPARE(parsed->crc(), quint32(0xDEADBEEF));
  QCOMPARE(parsed->compressedSize(), quint64(100));
  QCOMPARE(parsed->uncompressedSize(), quint64(300));
  QCOMPARE(zk_dosDate(parsed->lastModDate()), u32(d, 10));
  QVERIFY(!ZKLFHeader::recordWithData(shifted, 0));  // wrong signature
}

void TestZip::zip64Switching() {
  ZKLFHeader lf;
  lf.setFilename(QStringLiteral("book.xml"));
  lf.setCompressedSize(10);
  lf.setUncompressedSize(quint64{1} << 32);
  QCOMPARE(lf.versionNeededToExtract(), quint32(45));
  QCOMPARE(lf.length(), quint64(58));
  const QByteArray d = lf.data();
  QCOMPARE(d.size(), 58);
  QCOMPARE(u32(d, 18), quint32(0xFFFFFFFF));
  QCOMPARE(u32(d, 22), quint32(0xFFFFFFFF));
  QCOMPARE(u16(d, 28), quint16(20));
  QCOMPARE(u16(d, 38), quint16(1));
  QCOMPARE(u16(d, 40), quint16(16));
  QCOMPARE(u64(d, 42), quint64{1} << 32);
  QCOMPARE(u64(d, 50), quint64(10));
  const auto back = ZKLFHeader::recordWithData(d, 0);
  QVERIFY(back);
  QCOMPARE(back->uncompressedSize(), quint64{1} << 32);
  QCOMPARE(back->compressedSize(), quint64(10));

  // Exactly 0xFFFFFFFF is taken as zip64 too; dropping back returns to 20.
  lf.setUncompressedSize(0xFFFFFFFF);
  QCOMPARE(lf.versionNeededToExtract(), quint32(45));
  lf.setUncompressedSize(0xFFFFFFFE);
  QCOMPARE(lf.versionNeededToExtract(), quint32(20));

  ZKCDHeader cd;
  cd.setFilename(QStringLiteral("book.xml"));
  cd.setCompressedSize(10);
  cd.setUncompressedSize(20);
  QCOMPARE(cd.length(), quint64(54));
  cd.setLocalHeaderOffset(quint64{5} << 32);
  QCOMPARE(cd.versionNeededToExtract(), quint32(45));
  QCOMPARE(cd.length(), quint64(82));
  const QByteArray c = cd.data();
  QCOMPARE(c.size(), 82);
  QCOMPARE(u32(c, 20), quint32(0xFFFFFFFF));
  QCOMPARE(u32(c, 24), quint32(0xFFFFFFFF));
  QCOMPARE(u32(c, 42), quint32(0xFFFFFFFF));
  QCOMPARE(u16(c, 30), quint16(28));
  QCOMPARE(u16(c, 56), quint16(24));
  const auto cback = ZKCDHeader::recordWithData(c, 0);
  QVERIFY(cback);
  QCOMPARE(cback->uncompressedSize(), quint64(20));
  QCOMPARE(cback->compressedSize(), quint64(10));
  QCOMPARE(cback->localHeaderOffset(), quint64{5} << 32);
}

void TestZip::centralHeaderCacheAndAttributes() {
  ZKCDHeader cd;
  cd.setFilename(QStringLiteral("book.xml"));
  cd.setComment(QStringLiteral("note"));
  cd.setCrc(1);
  const QByteArray first = cd.data();
  QCOMPARE(first.size(), 58);
  QCOMPARE(u16(first, 32), quint16(4));
  QCOMPARE(first.mid(46), QByteArray("book.xmlnote"));
  cd.setCrc(2);
  QCOMPARE(cd.data(), first);  // cached, on purpose
  cd.setCachedData(QByteArray());
  QCOMPARE(u32(cd.data(), 16), quint32(2));

  const auto attributesFor = [](ZKFileAttributes::FileType type, std::optional<quint32> permissions) {
    ZKFileAttributes a;
    a.fileType = type;
    a.posixPermissions = permissions;
    ZKCDHeader h;
    h.setExternalFileAttributes(zk_externalFileAttributesFor(a));
    return h;
  };
  using T = ZKFileAttributes::FileType;
  const ZKCDHeader dir = attributesFor(T::Directory, std::nullopt);
  QVERIFY(dir.isDirectory() && !dir.isSymLink());
  QCOMPARE(dir.posixPermissions(), quint32(0755));
  const ZKCDHeader link = attributesFor(T::SymbolicLink, std::nullopt);
  QVERIFY(link.isSymLink() && !link.isDirectory());
  const ZKCDHeader file = attributesFor(T::Regular, 0640);
  QVERIFY(!file.isSymLink() && !file.isDirectory());
  QCOMPARE(file.posixPermissions(), quint32(0640));
  QCOMPARE(ZKCDHeader().posixPermissions(), quint32(0755));  // no bits: the default

  QVERIFY(!ZKCDHeader().isResourceFork());
  cd.setFilename(QStringLiteral("__MACOSX/x"));
  QVERIFY(cd.isResourceFork());
}

void TestZip::trailerBytes() {
  ZKCDTrailer t;
  const QByteArray d = t.data();
  QCOMPARE(t.length(), quint64(d.size()));

  // The search takes the rightmost whole record, also one at offset 0 (an
  // empty archive), and skips a signature that is cut off by the end.
  QVERIFY(ZKCDTrailer::recordWithData(d));
  const QByteArray tail = QByteArray("junk") + d + QByteArray("PK\x05\x06\x01\x00", 6);
  const auto found = ZKCDTrailer::recordWithData(tail);
  QVERIFY(found);
  QCOMPARE(found->comment(), QStringLiteral("Archive created by Folivox."));
  QVERIFY(!ZKCDTrailer::recordWithData(d.left(48)));
  QVERIFY(!ZKCDTrailer::recordWithData(QByteArray("PK\x05\x06", 4)));

  // A non-ASCII comment is measured in bytes, as written.
  ZKDataArchive a;
  a.setComment(QStringLiteral("für"));
  QCOMPARE(a.cdTrailer().length(), quint64(a.cdTrailer().data().size()));
  QCOMPARE(a.cdTrailer().length(), quint64(26));
}

void TestZip::oneEntryLayout() {
  const QByteArray xml = bookXml();
  const auto deflated = zk_deflate(xml);
  QVERIFY(deflated);
  ZKDataArchive archive;
  QCOMPARE(archive.deflateData(xml, QStringLiteral("book.xml")), 1);
  const QByteArray d = archive.data();
  const qsizetype C = d.size() - 141;
  QVERIFY(C > 0 && C < xml.size());
  QCOMPARE(C, deflated->size());
  const quint32 crc = zk_crc32(xml);
  const auto U = static_cast<quint32>(xml.size());

  const quint32 dosDateTime = u32(d, 10);
  QVERIFY(zk_dateWithDosDate(dosDateTime).secsTo(QDateTime::currentDateTime()) < 60);
  // {offset, width in bytes, value}: the local header at 0, the central one at 38 + C, the trailer at 92 + C.
  struct Field {
    qsizetype at;
    int width;
    quint32 value;
  };
  const quint32 c = quint32(C);
  QList<Field> fields = {{0, 4, 0x04034b50}, {4, 2, 20}, {6, 2, 0},  {8, 2, 8}, {14, 4, crc},
                         {18, 4, c},         {22, 4, U}, {26, 2, 8}, {28, 2, 0}};
  fields += QList<Field>{{38 + C, 4, 0x02014b50}, {42 + C, 2, 789},         {44 + C, 2, 20},  {46 + C, 2, 0},
                         {48 + C, 2, 8},          {50 + C, 4, dosDateTime}, {54 + C, 4, crc}, {58 + C, 4, c},
                         {62 + C, 4, U},          {66 + C, 2, 8},           {68 + C, 2, 0},   {70 + C, 2, 0},
                         {72 + C, 2, 0},          {74 + C, 2, 0},           {76 + C, 4, 0},   {80 + C, 4, 0}};
  fields += QList<Field>{{92 + C, 4, 0x06054b50}, {96 + C, 2, 0},   {98 + C, 2, 0},       {100 + C, 2, 1},
                         {102 + C, 2, 1},         {104 + C, 4, 54}, {108 + C, 4, 38 + c}, {112 + C, 2, 27}};
  for (const Field& f : fields)
    QVERIFY2((f.width == 2 ? u16(d, f.at) : u32(d, f.at)) == f.value, qPrintable(QString::number(f.at)));
  QCOMPARE(d.mid(30, 8), QByteArray("book.xml"));
  QCOMPARE(zk_inflate(d.mid(38, C)), std::optional<QByteArray>(xml));
  QCOMPARE(d.mid(84 + C, 8), QByteArray("book.xml"));
  QCOMPARE(d.mid(114 + C), QByteArray("Archive created by Folivox."));
}

void TestZip::entryDateMakesTheSameBytes() {
  const QDateTime fixed(QDate(1980, 1, 1), QTime(0, 0), Qt::UTC);
  QByteArray first;
  for (int run = 0; run < 2; ++run) {
    ZKDataArchive archive;
    archive.setEntryDate(fixed);
    QCOMPARE(archive.deflateData(bookXml(), QStringLiteral("book.xml")), 1);
    if (run == 0) {
      first = archive.data();
      QThread::sleep(2);  // the resolution of a zip time stamp
    } else {
      QCOMPARE(archive.data(), first);
    }
  }
  const quint32 stamp = 1u << 21 | 1u << 16;  // 1980-01-01 00:00
  QCOMPARE(u32(first, 10), stamp);
  QCOMPARE(u32(first, first.size() - 49 - 54 + 12), stamp);
}

void TestZip::twoEntriesReadBack() {
  const QByteArray first = bookXml();
  const QByteArray second = QByteArray("second entry ").repeated(50);
  ZKDataArchive archive;
  QCOMPARE(archive.deflateData(first, QStringLiteral("book.xml")), 1);
  const qsizetype firstEnd = static_cast<qsizetype>(archive.cdTrailer().offsetOfStartOfCentralDirectory());
  QCOMPARE(archive.deflateData(second, QStringLiteral("dir/second.txt")), 1);
  const QByteArray d = archive.data();
  QCOMPARE(d.mid(firstEnd, 4), QByteArray("PK\x03\x04"));
  QCOMPARE(archive.centralDirectory().at(1).localHeaderOffset(), quint64(firstEnd));

  auto read = ZKDataArchive::archiveWithArchiveData(d);
  QVERIFY(read);
  QCOMPARE(read->cdTrailer().totalNumberOfCentralDirectoryEntries(), quint32(2));
  QCOMPARE(read->cdTrailer().sizeOfCentralDirectory(), quint64(54 + 60));
  QCOMPARE(read->centralDirectory().size(), std::size_t(2));
  QCOMPARE(read->centralDirectory()[0].filename(), QStringLiteral("book.xml"));
  QCOMPARE(read->centralDirectory()[1].filename(), QStringLiteral("dir/second.txt"));
  ZKFileAttributes attributes;
  QCOMPARE(read->inflateFile(read->centralDirectory()[0], &attributes), std::optional<QByteArray>(first));
  QCOMPARE(attributes.fileType, ZKFileAttributes::FileType::Regular);
  QCOMPARE(read->inflateFile(read->centralDirectory()[1], nullptr), std::optional<QByteArray>(second));

  // Adding to an archive that was read keeps the earlier entries intact.
  QCOMPARE(read->deflateData(QByteArray(), QStringLiteral("empty")), 1);
  auto again = ZKDataArchive::archiveWithArchiveData(read->data());
  QVERIFY(again);
  QCOMPARE(again->centralDirectory().size(), std::size_t(3));
  QCOMPARE(again->data().left(static_cast<qsizetype>(again->centralDirectory()[2].localHeaderOffset())),
           d.left(static_cast<qsizetype>(archive.cdTrailer().offsetOfStartOfCentralDirectory())));
  QCOMPARE(again->inflateFile(again->centralDirectory()[1], nullptr), std::optional<QByteArray>(second));
  QCOMPARE(again->inflateFile(again->centralDirectory()[2], nullptr), std::optional<QByteArray>(QByteArray("")));
}

void TestZip::rejectedAdditions() {
  ZKDataArchive archive;
  QCOMPARE(archive.deflateData("x", QString()), -1);
  QCOMPARE(archive.deflateData("x", QStringLiteral("")), -1);
  QVERIFY(archive.data().isEmpty());
  QCOMPARE(archive.deflateData("x", QStringLiteral("a")), 1);
  const QByteArray before = archive.data();
  QCOMPARE(archive.deflateData("y", QString()), -1);
  QCOMPARE(archive.deflateData("y", QString(70000, QLatin1Char('n'))), -1);  // no room in 16 bits
  QCOMPARE(archive.data(), before);
  QCOMPARE(archive.centralDirectory().size(), std::size_t(1));
  QCOMPARE(archive.cdTrailer().totalNumberOfCentralDirectoryEntries(), quint32(1));
}

void TestZip::attributesRoundTrip() {
  ZKFileAttributes in;
  in.modificationDate = QDateTime(QDate(2021, 7, 4), QTime(9, 30, 10), Qt::LocalTime);
  in.posixPermissions = 0600;
  in.fileType = ZKFileAttributes::FileType::Regular;
  ZKDataArchive archive;
  QCOMPARE(archive.deflateData("secret", QStringLiteral("s.txt"), &in), 1);
  QCOMPARE(u32(archive.data(), 10), zk_dosDate(*in.modificationDate));

  auto read = ZKDataArchive::archiveWithArchiveData(archive.data());
  QVERIFY(read);
  ZKFileAttributes out;
  QCOMPARE(read->inflateFile(read->centralDirectory()[0], &out), std::optional<QByteArray>("secret"));
  QCOMPARE(out.modificationDate, in.modificationDate);
  QCOMPARE(out.creationDate, in.modificationDate);
  QCOMPARE(out.posixPermissions, std::optional<quint32>(0600));

  ZKFileAttributes dir;
  dir.fileType = ZKFileAttributes::FileType::Directory;
  QCOMPARE(archive.deflateData(QByteArray(), QStringLiteral("folder/"), &dir), 1);
  read = ZKDataArchive::archiveWithArchiveData(archive.data());
  QVERIFY(read);
  QCOMPARE(read->inflateFile(read->centralDirectory()[1], &out), std::optional<QByteArray>("folder/"));
  QCOMPARE(out.fileType, ZKFileAttributes::FileType::Directory);
}

void TestZip::inflateLimits() {
  const QByteArray zeros(10 << 20, '\0');
  const auto bomb = zk_deflate(zeros);
  QVERIFY(bomb && bomb->size() < 20000);
  QCOMPARE(zk_inflate(*bomb)->size(), zeros.size());
  QCOMPARE(zk_inflate(*bomb, static_cast<quint64>(zeros.size()))->size(), zeros.size());
  QVERIFY(!zk_inflate(*bomb, static_cast<quint64>(zeros.size()) - 1));  // one byte too many
  QVERIFY(!zk_inflate(*bomb, 1 << 20));
  QVERIFY(!zk_inflate(bomb->left(bomb->size() / 2)));  // stream does not end
  QVERIFY(!zk_inflate(bomb->left(bomb->size() - 1)));
  QVERIFY(!zk_inflate(QByteArray("\xff\xff\xff\xff", 4)));
  QVERIFY(!zk_inflate(QByteArray()));
  QCOMPARE(zk_inflate(*zk_deflate(QByteArray()), 0), std::optional<QByteArray>(QByteArray("")));

  // An entry whose header claims less than the stream holds is refused.
  QuietZipLog quiet;
  ZKDataArchive archive;
  QCOMPARE(archive.deflateData(zeros.left(100000), QStringLiteral("z")), 1);
  QByteArray d = archive.data();
  const qsizetype cd = static_cast<qsizetype>(archive.cdTrailer().offsetOfStartOfCentralDirectory());
  qToLittleEndian<quint32>(1000, d.data() + cd + 24);
  auto read = ZKDataArchive::archiveWithArchiveData(d);
  QVERIFY(read);
  QVERIFY(!read->inflateFile(read->centralDirectory()[0], nullptr));
  // A wrong CRC is reported as damage, not handed back as content.
  d = archive.data();
  d[cd + 16] = static_cast<char>(d[cd + 16] ^ 1);
  read = ZKDataArchive::archiveWithArchiveData(d);
  QVERIFY(read);
  ZKFileAttributes attributes;
  attributes.fileType = ZKFileAttributes::FileType::Directory;
  QVERIFY(!read->inflateFile(read->centralDirectory()[0], &attributes));
  QCOMPARE(attributes.fileType, ZKFileAttributes::FileType::Unknown);
}

void TestZip::truncatedAndMutatedArchives() {
  QuietZipLog quiet;
  ZKDataArchive archive;
  QCOMPARE(archive.deflateData(bookXml().left(300), QStringLiteral("book.xml")), 1);
  QCOMPARE(archive.deflateData("abc", QStringLiteral("b")), 1);
  const QByteArray valid = archive.data();
  QCOMPARE(readEverything(valid), 2);

  for (qsizetype n = 0; n < valid.size(); ++n) QVERIFY(readEverything(valid.left(n)) <= 0);

  // Every byte forced to 0x00 and to 0xFF in turn: sizes, offsets, counts
  // and lengths all get to lie once.
  for (qsizetype i = 0; i < valid.size(); ++i) {
    for (char value : {'\x00', '\xff'}) {
      QByteArray bad = valid;
      bad[i] = value;
      QVERIFY(readEverything(bad) <= 2);
    }
  }

  QRandomGenerator seeded(20240315);
  for (int round = 0; round < 200; ++round) {
    QByteArray noise(static_cast<qsizetype>(seeded.bounded(1, 400)), '\0');
    for (char& c : noise) c = static_cast<char>(seeded.bounded(256));
    // Plant records so that the parsers get past the signatures.
    const char* signatures[] = {"PK\x03\x04", "PK\x01\x02", "PK\x05\x06"};
    for (int k = 0; k < 6 && noise.size() > 4; ++k)
      noise.replace(seeded.bounded(noise.size() - 3), 4, signatures[seeded.bounded(3)], 4);
    QVERIFY(readEverything(noise) <= 0xFFFF);
  }
}

void TestZip::lyingRecords() {
  QuietZipLog quiet;
  constexpr quint64 kNearEnd = std::numeric_limits<quint64>::max() - 3;
  const QByteArray trailerOnly = ZKCDTrailer().data();
  for (quint64 at : {quint64(1) << 63, kNearEnd, std::numeric_limits<quint64>::max()}) {
    QVERIFY(!ZKLFHeader::recordWithData(trailerOnly, at));
    QVERIFY(!ZKCDHeader::recordWithData(trailerOnly, at));
    QVERIFY(!ZKCDTrailer::recordWithData(trailerOnly, at));
  }

  // 65535 entries claimed over a buffer that holds none of them.
  ZKCDTrailer lying;
  lying.setTotalNumberOfCentralDirectoryEntries(0xFFFF);
  lying.setNumberOfCentralDirectoryEntriesOnThisDisk(0xFFFF);
  QVERIFY(!ZKDataArchive::archiveWithArchiveData(lying.data()));
  lying.setOffsetOfStartOfCentralDirectory(0xFFFFFFF0);
  QVERIFY(!ZKDataArchive::archiveWithArchiveData(lying.data()));
  // An empty archive is a valid one.
  auto empty = ZKDataArchive::archiveWithArchiveData(ZKCDTrailer().data());
  QVERIFY(empty);
  QVERIFY(empty->centralDirectory().empty());

  // Names, extra fields and comments that run past the end of the buffer.
  ZKDataArchive archive;
  QCOMPARE(archive.deflateData("data", QStringLiteral("n")), 1);
  const QByteArray valid = archive.data();
  const qsizetype cd = static_cast<qsizetype>(archive.cdTrailer().offsetOfStartOfCentralDirectory());
  for (qsizetype field : {26, 28}) {
    QByteArray bad = valid;
    qToLittleEndian<quint16>(0xFFFF, bad.data() + field);
    QVERIFY(!ZKLFHeader::recordWithData(bad.left(cd), 0));
  }
  for (qsizetype field : {28, 30, 32}) {
    QByteArray bad = valid;
    qToLittleEndian<quint16>(0xFFFF, bad.data() + cd + field);
    QVERIFY(!ZKDataArchive::archiveWithArchiveData(bad));
  }
  // A zip64 field claiming a compressed size near 2^64 and an offset beyond the end.
  ZKCDHeader huge;
  huge.setFilename(QStringLiteral("n"));
  huge.setCompressedSize(kNearEnd);
  huge.setUncompressedSize(kNearEnd);
  huge.setLocalHeaderOffset(0);
  auto read = ZKDataArchive::archiveWithArchiveData(valid);
  QVERIFY(read);
  QVERIFY(!read->inflateFile(huge, nullptr));
  huge = read->centralDirectory()[0];
  huge.setLocalHeaderOffset(kNearEnd);
  QVERIFY(!read->inflateFile(huge, nullptr));
  huge.setLocalHeaderOffset(0);
  huge.setCompressionMethod(12);
  QVERIFY(!read->inflateFile(huge, nullptr));
}

void TestZip::systemUnzipAcceptsArchive() {
  const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
  if (unzip.isEmpty()) QSKIP("unzip is not installed");
  ZKDataArchive archive;
  QCOMPARE(archive.deflateData(bookXml(), QStringLiteral("book.xml")), 1);
  ZKFileAttributes attributes;
  attributes.modificationDate = QDateTime(QDate(2020, 2, 29), QTime(23, 59, 58), Qt::LocalTime);
  attributes.posixPermissions = 0640;
  QCOMPARE(archive.deflateData(QByteArray(5000, 'q'), QStringLiteral("files/q.txt"), &attributes), 1);

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.zip"));
  QVERIFY(writeFile(path, archive.data()));

  QProcess p;
  p.start(unzip, {QStringLiteral("-t"), path});
  QVERIFY(p.waitForFinished(30000));
  const QByteArray out = p.readAllStandardOutput();
  QVERIFY2(p.exitCode() == 0, out.constData());
  QVERIFY2(out.contains("No errors detected"), out.constData());

  // The records read straight from the file agree with the buffer.
  const auto trailer = ZKCDTrailer::recordWithArchivePath(path);
  QVERIFY(trailer);
  QCOMPARE(trailer->totalNumberOfCentralDirectoryEntries(), quint32(2));
  const auto second = ZKCDHeader::recordWithArchivePath(path, trailer->offsetOfStartOfCentralDirectory() + 54);
  QVERIFY(second);
  QCOMPARE(second->filename(), QStringLiteral("files/q.txt"));
  const auto local = ZKLFHeader::recordWithArchivePath(path, second->localHeaderOffset());
  QVERIFY(local);
  QCOMPARE(local->lastModDate(), *attributes.modificationDate);
}

FOLIVOX_TEST_MAIN(TestZip)
#include "test_zip.moc"
