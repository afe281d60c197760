#include "import/RtfReader.h"

#include <QColor>
#include <QCoreApplication>
#include <QHash>
#include <QTextCharFormat>
#include <algorithm>
#include <vector>

#include "base/Log.h"

namespace {

enum class Destination { Text, Skip, FontTable, ColorTable };

struct GroupState {
  Destination dest = Destination::Text;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int halfPoints = 24;  // \fs is in half points; 24 is RTF's default 12 pt
  int color = 0;        // index into the colour table; 0 is "automatic" (black)
  int font = -1;
  int unicodeSkip = 1;  // \ucN: characters that stand in for each \uN
  Qt::Alignment align = Qt::AlignLeft;
};

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
char16_t fromCp1252(unsigned char c) {
  static const char16_t k80[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                   0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
  return c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : static_cast<char16_t>(c);
}

bool isSkippedDestination(const QByteArray& word) {
  static const char* const kSkipped[] = {"annotation",
                                         "atnid",
                                         "author",
                                         "bkmkend",
                                         "bkmkstart",
                                         "buptim",
                                         "colorschememapping",
                                         "comment",
                                         "company",
                                         "creatim",
                                         "datastore",
                                         "docvar",
                                         "doccomm",
                                         "fldinst",
                                         "filetbl",
                                         "footer",
                                         "footerf",
                                         "footerl",
                                         "footerr",
                                         "footnote",
                                         "ftncn",
                                         "ftnsep",
                                         "ftnsepc",
                                         "generator",
                                         "header",
                                         "headerf",
                                         "headerl",
                                         "headerr",
                                         "info",
                                         "keywords",
                                         "latentstyles",
                                         "listoverridetable",
                                         "listtable",
                                         "listtext",
                                         "mmathPr",
                                         "nonshppict",
                                         "object",
                                         "operator",
                                         "pgdsctbl",
                                         "pict",
                                         "pntext",
                                         "pntxta",
                                         "pntxtb",
                                         "printim",
                                         "private",
                                         "revtbl",
                                         "revtim",
                                         "rsidtbl",
                                         "shp",
                                         "shpinst",
                                         "stylesheet",
                                         "subject",
                                         "tc",
                                         "template",
                                         "themedata",
                                         "title",
                                         "txe",
                                         "userprops",
                                         "wgrffmtfilter",
                                         "xe",
                                         "xmlnstbl"};
  for (const char* s : kSkipped)
    if (word == s) return true;
  return false;
}

// Gathers characters into runs of one format and hands them to the sink.
// The format is rebuilt only when the state that makes it changes, not for
// every character.
class Runs {
 public:
  explicit Runs(RtfReader::Sink& sink) : m_sink(sink) {}

  void text(char16_t c, const GroupState& s, const std::vector<QColor>& colors, const QHash<int, QString>& fonts,
            int tables) {
    const Key key{s.bold, s.italic, s.underline, s.halfPoints, s.color, s.font, tables};
    if (!m_hasFormat || !(key == m_key)) {
      QTextCharFormat f = charFormat(s, colors, fonts);
      if (!m_hasFormat || f != m_format) {
        flush();
        m_format = std::move(f);
      }
      m_key = key;
      m_hasFormat = true;
    }
    m_run.append(QChar(c));
    if (m_run.size() >= RtfReader::kMaxRun) flush();
  }

  void paragraph(Qt::Alignment align) {
    flush();
    m_sink.paragraph(align);
  }

 private:
  struct Key {
    bool bold, italic, underline;
    int halfPoints, color, font, tables;
    bool operator==(const Key&) const = default;
  };

  static QTextCharFormat charFormat(const GroupState& s, const std::vector<QColor>& colors,
                                    const QHash<int, QString>& fonts) {
    QTextCharFormat f;
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setFontPointSize(s.halfPoints / 2.0);
    const auto index = static_cast<size_t>(s.color);
    if (s.color > 0 && index < colors.size() && colors[index].isValid())
      f.setForeground(colors[index]);
    else
      f.setForeground(QColor(Qt::black));
    if (const auto it = fonts.constFind(s.font); it != fonts.constEnd() && !it->isEmpty()) f.setFontFamilies({*it});
    return f;
  }

  void flush() {
    if (m_run.isEmpty()) return;
    m_sink.text(m_run, m_format);
    m_run.clear();
  }

  RtfReader::Sink& m_sink;
  QTextCharFormat m_format;
  Key m_key{};
  bool m_hasFormat = false;
  QString m_run;
};

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool RtfReader::read(const QByteArray& rtf, Sink& sink, QString* error, const Progress& progress) {
  // Leading blanks are tolerated; anything else is not RTF.
  const qsizetype start = [&] {
    qsizetype i = 0;
    while (i < rtf.size() && (rtf[i] == ' ' || rtf[i] == '\t' || rtf[i] == '\r' || rtf[i] == '\n')) ++i;
    return i;
  }();
  if (!QByteArrayView(rtf).sliced(start).startsWith("{\\rtf")) {
    if (error) *error = QCoreApplication::translate("RtfReader", "it is not an RTF document");
    return false;
  }

  if (error) error->clear();
  Runs out(sink);
  std::vector<GroupState> stack;
  stack.reserve(64);
  GroupState state;
  int overflow = 0;  // '{' beyond kMaxDepth, matched by '}' without a pop
  std::vector<QColor> colors;
  int red = 0, green = 0, blue = 0;
  bool colorSet = false;
  QHash<int, QString> fonts;
  int fontTableIndex = -1;
  QString fontName;
  int tables = 0;     // changes to the font and colour tables, which formats depend on
  int skipChars = 0;  // stand-in characters after \uN still to drop

  auto put = [&](char16_t c) {
    if (skipChars > 0) {
      --skipChars;
      return;
    }
    switch (state.dest) {
      case Destination::Text:
        // A paragraph separator ends a paragraph, as in a text view.
        if (c == u'\u2029')
          out.paragraph(state.align);
        else if (c >= 0x20 || c == u'\t')
          out.text(c, state, colors, fonts, tables);
        break;
      case Destination::FontTable:
        if (c == u';') {
          if (fontTableIndex >= 0) fonts.insert(fontTableIndex, fontName.trimmed());
          fontName.clear();
          ++tables;
        } else if (fontName.size() < 256) {
          fontName.append(QChar(c));
        }
        break;
      case Destination::ColorTable:
        if (c == u';') {
          colors.push_back(colorSet ? QColor(red, green, blue) : QColor());
          ++tables;
          red = green = blue = 0;
          colorSet = false;
        }
        break;
      case Destination::Skip:
        break;
    }
  };

  const qsizetype n = rtf.size();
  qsizetype i = start;
  qsizetype nextReport = i + kReportEvery;
  while (i < n) {
    if (i >= nextReport) {
      if (progress && !progress(i, n)) return false;
      nextReport = i + kReportEvery;
    }
    const char ch = rtf[i];
    if (ch == '{') {
      ++i;
      if (static_cast<int>(stack.size()) < kMaxDepth)
        stack.push_back(state);
      else
        ++overflow;
      continue;
    }
    if (ch == '}') {
      ++i;
      if (overflow > 0) {
        --overflow;
      } else if (!stack.empty()) {
        if (state.dest == Destination::FontTable && !fontName.trimmed().isEmpty() && fontTableIndex >= 0 &&
            !fonts.contains(fontTableIndex))
          fonts.insert(fontTableIndex, fontName.trimmed());
        if (state.dest == Destination::FontTable) {
          fontName.clear();
          ++tables;
        }
        state = stack.back();
        stack.pop_back();
      }
      skipChars = 0;
      continue;
    }
    if (ch == '\r' || ch == '\n') {
      ++i;
      continue;
    }
    if (ch != '\\') {
      put(fromCp1252(static_cast<unsigned char>(ch)));
      ++i;
      continue;
    }

    // A control word or symbol.
    ++i;
    if (i >= n) break;
    const char c = rtf[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
      ++i;
      switch (c) {
        case '\'': {
          int value = 0, digits = 0;
          while (digits < 2 && i < n && hexValue(rtf[i]) >= 0) {
            value = value * 16 + hexValue(rtf[i]);
            ++i;
            ++digits;
          }
          if (digits > 0) put(fromCp1252(static_cast<unsigned char>(value)));
          break;
        }
        case '*':
          // {\* ...}: an optional destination. None of them carries text we show.
          state.dest = Destination::Skip;
          break;
        case '~':
          put(u'\u00A0');
          break;
        case '_':
          put(u'\u2011');
          break;
        case '-':
          break;  // optional hyphen
        case '\r':
        case '\n':
          if (state.dest == Destination::Text) out.paragraph(state.align);
          break;
        case '\\':
        case '{':
        case '}':
          put(static_cast<char16_t>(c));
          break;
        default:
          break;
      }
      continue;
    }

    QByteArray word;
    while (i < n && ((rtf[i] >= 'a' && rtf[i] <= 'z') || (rtf[i] >= 'A' && rtf[i] <= 'Z'))) {
      if (word.size() < 32) word.append(rtf[i]);
      ++i;
    }
    bool hasParam = false;
    bool negative = false;
    long long param = 0;
    if (i < n && rtf[i] == '-' && i + 1 < n && rtf[i + 1] >= '0' && rtf[i + 1] <= '9') {
      negative = true;
      ++i;
    }
    while (i < n && rtf[i] >= '0' && rtf[i] <= '9') {
      hasParam = true;
      if (param < 100000000) param = param * 10 + (rtf[i] - '0');
      ++i;
    }
    if (negative) param = -param;
    if (i < n && rtf[i] == ' ') ++i;  // the delimiter belongs to the word
    const int p = static_cast<int>(std::clamp<long long>(param, -2147483647LL, 2147483647LL));
    const bool on = !hasParam || p != 0;

    if (word == "par" || word == "sect" || word == "page") {
      if (state.dest == Destination::Text) out.paragraph(state.align);
    } else if (word == "line") {
      put(u'\u2028');
    } else if (word == "tab") {
      put(u'\t');
    } else if (word == "b") {
      state.bold = on;
    } else if (word == "i") {
      state.italic = on;
    } else if (word == "ulnone") {
      state.underline = false;
    } else if (word.startsWith("ul") && word != "ulc") {
      state.underline = on;
    } else if (word == "fs") {
      state.halfPoints = hasParam ? std::clamp(p, 2, 3276) : 24;
    } else if (word == "cf") {
      state.color = std::max(p, 0);
    } else if (word == "f") {
      if (state.dest == Destination::FontTable)
        fontTableIndex = p;
      else
        state.font = p;
    } else if (word == "plain") {
      state.bold = state.italic = state.underline = false;
      state.halfPoints = 24;
      state.color = 0;
    } else if (word == "pard") {
      state.align = Qt::AlignLeft;
    } else if (word == "ql") {
      state.align = Qt::AlignLeft;
    } else if (word == "qr") {
      state.align = Qt::AlignRight;
    } else if (word == "qc") {
      state.align = Qt::AlignHCenter;
    } else if (word == "qj") {
      state.align = Qt::AlignJustify;
    } else if (word == "u") {
      int code = p;
      if (code < 0) code += 65536;
      if (code >= 0 && code <= 0xFFFF) put(static_cast<char16_t>(code));
      skipChars = state.unicodeSkip;
    } else if (word == "uc") {
      state.unicodeSkip = std::clamp(p, 0, 10);
    } else if (word == "fonttbl") {
      state.dest = Destination::FontTable;
      fontName.clear();
    } else if (word == "colortbl") {
      state.dest = Destination::ColorTable;
      colors.clear();
      ++tables;
      red = green = blue = 0;
      colorSet = false;
    } else if (word == "red" || word == "green" || word == "blue") {
      const int v = std::clamp(p, 0, 255);
      (word == "red" ? red : word == "green" ? green : blue) = v;
      colorSet = true;
    } else if (word == "bin") {
      i += std::clamp<qsizetype>(p, 0, n - i);  // raw bytes, never text
    } else if (word == "emdash") {
      put(u'\u2014');
    } else if (word == "endash") {
      put(u'\u2013');
    } else if (word == "bullet") {
      put(u'\u2022');
    } else if (word == "lquote") {
      put(u'\u2018');
    } else if (word == "rquote") {
      put(u'\u2019');
    } else if (word == "ldblquote") {
      put(u'\u201C');
    } else if (word == "rdblquote") {
      put(u'\u201D');
    } else if (word == "emspace" || word == "enspace" || word == "qmspace") {
      put(u' ');
    } else if (isSkippedDestination(word)) {
      state.dest = Destination::Skip;
    }
    // Every other word is formatting we do not keep.
  }
  out.paragraph(state.align);
  if (!stack.empty() || overflow > 0)
    qCDebug(lcImport) << "RTF ends inside" << stack.size() + static_cast<size_t>(overflow) << "open groups";
  return !progress || progress(n, n);
}
