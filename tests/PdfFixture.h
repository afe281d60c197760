// Writes small PDF files for the tests, object by object, with a correct
// cross-reference table. Pages carry a line of Helvetica text so that they
// render to something; extra dictionary entries go in as PDF syntax.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

class PdfFixture {
 public:
  struct Page {
    QByteArray mediaBox = "[0 0 612 792]";
    QByteArray extra;     // more entries of the page dictionary
    QByteArray content;   // the content stream; "" for a line of text
    QByteArray xobjects;  // entries of /Resources /XObject, e.g. "/Im1 5 0 R"
  };

  explicit PdfFixture(int pageCount = 0) {
    m_pagesNum = reserve();
    m_fontNum = add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (int i = 0; i < pageCount; ++i) addPage();
  }

  int reserve() {
    m_objects.append(QByteArray());
    return static_cast<int>(m_objects.size());
  }
  int add(const QByteArray& body) {
    m_objects.append(body);
    return static_cast<int>(m_objects.size());
  }
  void set(int num, const QByteArray& body) { m_objects[num - 1] = body; }
  static QByteArray ref(int num) { return QByteArray::number(num) + " 0 R"; }
  static QByteArray stream(const QByteArray& data) {
    return "<< /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data + "\nendstream";
  }

  Page& addPage() {
    m_pageNums.append(reserve());
    m_pages.append(Page());
    return m_pages.last();
  }
  Page& page(int index) { return m_pages[index]; }
  QByteArray pageRef(int index) const { return ref(m_pageNums[index]); }
  int pageCount() const { return static_cast<int>(m_pages.size()); }

  // Makes page `index` draw forms that draw one another four times over,
  // `depth` deep: 4^depth tiny squares, hours of drawing at 14.
  void drawNestedForms(int index, int depth = 14) {
    auto form = [&](const QByteArray& content, int inner) {
      const QByteArray resources = inner ? " /Resources << /XObject << /X " + ref(inner) + " >> >>" : "";
      return add("<< /Length " + QByteArray::number(content.size()) +
                 " /Type /XObject /Subtype /Form /BBox [0 0 612 792]" + resources + " >>\nstream\n" + content +
                 "\nendstream");
    };
    int x = form("0 0 1 1 re f", 0);
    for (int d = 0; d < depth; ++d) x = form("q /X Do Q q /X Do Q q /X Do Q q /X Do Q", x);
    m_pages[index].content = "/X Do";
    m_pages[index].extra = "/Resources << /XObject << /X " + ref(x) + " >> >>";
  }

  QByteArray catalogExtra;  // more entries of the catalog
  QByteArray pagesExtra;    // more entries of the page tree root (inherited attributes)

  QByteArray build() {
    QByteArray kids;
    for (int i = 0; i < m_pages.size(); ++i) {
      const Page& p = m_pages[i];
      const QByteArray content =
          p.content.isEmpty() ? "BT /F1 36 Tf 72 400 Td (Page " + QByteArray::number(i + 1) + ") Tj ET" : p.content;
      const int contentNum = add(stream(content));
      set(m_pageNums[i], "<< /Type /Page /Parent " + ref(m_pagesNum) + " /MediaBox " + p.mediaBox +
                             " /Resources << /Font << /F1 " + ref(m_fontNum) + " >> " +
                             (p.xobjects.isEmpty() ? QByteArray() : "/XObject << " + p.xobjects + " >> ") +
                             ">> /Contents " + ref(contentNum) + " " + p.extra + " >>");
      kids += ref(m_pageNums[i]) + " ";
    }
    set(m_pagesNum,
        "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(m_pages.size()) + " " + pagesExtra + " >>");
    const int root = add("<< /Type /Catalog /Pages " + ref(m_pagesNum) + " " + catalogExtra + " >>");

    QByteArray out = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < m_objects.size(); ++i) {
      offsets.append(out.size());
      out += QByteArray::number(i + 1) + " 0 obj\n" + m_objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(m_objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype off : offsets) out += QByteArray::number(off).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(m_objects.size() + 1) + " /Root " + ref(root) +
           " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
  }

  bool write(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(build()) >= 0;
  }

 private:
  QList<QByteArray> m_objects;
  QList<int> m_pageNums;
  QList<Page> m_pages;
  int m_pagesNum = 0;
  int m_fontNum = 0;
};
