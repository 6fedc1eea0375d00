// Typesets the user manual from its marked-up text (resources/manual/
// manual.txt; the markup is described at the top of that file) into a PDF 1.4
// document: a title page, a contents page with links, numbered pages with a
// running header, and bookmarks for every chapter and section. Text is set in
// the standard Helvetica faces, which every PDF viewer has, so nothing needs
// to be embedded.
//
//   gen_manual INPUT.txt OUTPUT.pdf VERSION

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Advance widths (1/1000 em) of the WinAnsi characters 32..126.
constexpr short kHelvetica[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
constexpr short kHelveticaBold[95] = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611, 975, 722, 722, 722, 722, 667,
    611, 778, 722, 278, 556, 722, 611, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667,
    667, 611, 333, 278, 333, 584, 556, 333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556,
    278, 889, 611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};

enum Font { kRegular, kBold, kOblique };
constexpr const char* kFontNames[] = {"F1", "F2", "F3"};
constexpr unsigned char kBullet = 0x95; // WinAnsi bullet, 350 units wide

double Width(const std::string& text, Font font, double size) {
  const short* table = font == kBold ? kHelveticaBold : kHelvetica;
  double units = 0;
  for (unsigned char c : text) {
    if (c >= 32 && c <= 126)
      units += table[c - 32];
    else if (c == kBullet)
      units += 350;
    else if (c == 0x97 || c == 0x85) // em dash, ellipsis
      units += 1000;
    else // en dash, quotes, degree, multiply: near enough for line breaking
      units += 556;
  }
  return units * size / 1000.0;
}

// UTF-8 to WinAnsi for the few non-ASCII characters a manual uses.
std::string ToWinAnsi(const std::string& utf8) {
  static const std::map<std::string, char> kMap = {
      {"\u2013", '\x96'}, {"\u2014", '\x97'}, {"\u2019", '\x92'}, {"\u201C", '\x93'},
      {"\u201D", '\x94'}, {"\u00D7", '\xD7'}, {"\u2026", '\x85'}, {"\u00B0", '\xB0'}};
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    const size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    const auto it = kMap.find(utf8.substr(i, len));
    out.push_back(it != kMap.end() ? it->second : '?');
    i += len;
  }
  return out;
}

std::string PdfString(const std::string& text) {
  std::string out = "(";
  for (char c : text) {
    if (c == '(' || c == ')' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out + ")";
}

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

// ---- The document read from the markup ----

enum class Kind { kChapter, kSection, kParagraph, kBullet, kNote, kBoldLine };
struct Block {
  Kind kind;
  std::string text;
};
struct Source {
  std::string title;
  std::vector<std::string> subtitles;
  std::vector<Block> blocks;
};

Source Parse(std::istream& in) {
  Source src;
  std::string line;
  Block* open = nullptr; // the paragraph or bullet that takes continuation lines
  auto add = [&](Kind kind, std::string text) {
    src.blocks.push_back({kind, std::move(text)});
    open = kind == Kind::kParagraph || kind == Kind::kBullet || kind == Kind::kNote
               ? &src.blocks.back()
               : nullptr;
  };
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = ToWinAnsi(line);
    if (line.rfind("#", 0) == 0) continue;
    if (line.find_first_not_of(' ') == std::string::npos) {
      open = nullptr;
      continue;
    }
    if (line.rfind("=== ", 0) == 0)
      add(Kind::kSection, line.substr(4));
    else if (line.rfind("== ", 0) == 0)
      add(Kind::kChapter, line.substr(3));
    else if (line.rfind("=: ", 0) == 0)
      src.subtitles.push_back(line.substr(3));
    else if (line.rfind("= ", 0) == 0)
      src.title = line.substr(2);
    else if (line.rfind("- ", 0) == 0)
      add(Kind::kBullet, line.substr(2));
    else if (line.rfind("> ", 0) == 0)
      add(Kind::kNote, line.substr(2));
    else if (line.rfind("* ", 0) == 0)
      add(Kind::kBoldLine, line.substr(2));
    else if (open)
      open->text += " " + line.substr(line.find_first_not_of(' '));
    else
      add(Kind::kParagraph, line);
    // src.blocks may have grown: re-point at the last block it holds
    if (open) open = &src.blocks.back();
  }
  return src;
}

// ---- Layout ----

constexpr double kPageWidth = 595.0, kPageHeight = 842.0;
constexpr double kMarginLeft = 72.0, kMarginRight = 72.0, kMarginTop = 78.0, kMarginBottom = 72.0;
constexpr double kTextWidth = kPageWidth - kMarginLeft - kMarginRight;

struct Link {
  double x0, y0, x1, y1;
  int page;   // target page index
  double top; // target y
};

struct Page {
  std::string content;
  std::vector<Link> links;
};

struct Heading {
  bool chapter;
  std::string text;
  int page = 0;
  double top = 0;
};

class Layout {
public:
  std::vector<Page> pages;
  std::vector<Heading> headings;

  void NewPage() {
    pages.emplace_back();
    y = kPageHeight - kMarginTop;
  }
  Page& Current() { return pages.back(); }

  void Text(double x, double baseline, Font font, double size, const std::string& text,
            double grey = 0.0) {
    Current().content += Num(grey) + " g BT /" + std::string(kFontNames[font]) + " " + Num(size) +
                         " Tf " + Num(x) + " " + Num(baseline) + " Td " + PdfString(text) +
                         " Tj ET\n";
  }
  void Rule(double x0, double y0, double x1, double y1, double width, double grey) {
    Current().content += Num(grey) + " G " + Num(width) + " w " + Num(x0) + " " + Num(y0) + " m " +
                         Num(x1) + " " + Num(y1) + " l S\n";
  }

  // Breaks `text` into lines no wider than `width`.
  static std::vector<std::string> Wrap(const std::string& text, Font font, double size,
                                       double width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && Width(candidate, font, size) > width) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
  }

  void Need(double height) {
    if (y - height < kMarginBottom) NewPage();
  }

  void Paragraph(const std::string& text, Font font, double size, double indent, double leading,
                 double after, const std::string& marker = "") {
    const auto lines = Wrap(text, font, size, kTextWidth - indent);
    for (size_t i = 0; i < lines.size(); ++i) {
      Need(leading);
      y -= leading;
      if (i == 0 && !marker.empty()) Text(kMarginLeft + indent - 12, y, kRegular, size, marker);
      Text(kMarginLeft + indent, y, font, size, lines[i]);
    }
    y -= after;
  }

  void Note(const std::string& text) {
    const double size = 10, leading = 14.5;
    const auto lines = Wrap(text, kOblique, size, kTextWidth - 16);
    Need(leading * std::min<size_t>(lines.size(), 3) + 4);
    const double top = y - 2;
    for (const std::string& line : lines) {
      Need(leading);
      y -= leading;
      Text(kMarginLeft + 16, y, kOblique, size, line, 0.25);
    }
    Rule(kMarginLeft + 4, std::min(top, kPageHeight - kMarginTop), kMarginLeft + 4, y - 4, 2.0,
         0.6);
    y -= 10;
  }

  void Chapter(const std::string& text) {
    NewPage();
    headings.push_back({true, text, int(pages.size()) - 1, y + 10});
    y -= 24;
    Text(kMarginLeft, y, kBold, 21, text);
    y -= 10;
    Rule(kMarginLeft, y, kPageWidth - kMarginRight, y, 1.0, 0.55);
    y -= 16;
  }

  void Section(const std::string& text) {
    // Keep the heading with at least three lines of what follows.
    Need(22 + 3 * 15);
    y -= 10;
    headings.push_back({false, text, int(pages.size()) - 1, y + 10});
    y -= 14;
    Text(kMarginLeft, y, kBold, 13, text);
    y -= 6;
  }

  double y = 0;
};

void LayoutBody(const Source& src, Layout& layout) {
  for (const Block& b : src.blocks) {
    switch (b.kind) {
    case Kind::kChapter:
      layout.Chapter(b.text);
      break;
    case Kind::kSection:
      layout.Section(b.text);
      break;
    case Kind::kParagraph:
      layout.Paragraph(b.text, kRegular, 10.5, 0, 15, 6);
      break;
    case Kind::kBullet:
      layout.Paragraph(b.text, kRegular, 10.5, 16, 15, 3, std::string(1, char(kBullet)));
      break;
    case Kind::kNote:
      layout.Note(b.text);
      break;
    case Kind::kBoldLine:
      layout.Paragraph(b.text, kBold, 10.5, 0, 15, 0);
      break;
    }
  }
}

void TitlePage(const Source& src, const std::string& version, Layout& layout) {
  layout.NewPage();
  const double centre = kPageWidth / 2;
  auto centred = [&](double baseline, Font font, double size, const std::string& text,
                     double grey) {
    layout.Text(centre - Width(text, font, size) / 2, baseline, font, size, text, grey);
  };
  layout.Rule(kMarginLeft, 600, kPageWidth - kMarginRight, 600, 2.0, 0.2);
  centred(540, kBold, 40, src.title, 0.0);
  double baseline = 500;
  for (const std::string& line : src.subtitles) {
    centred(baseline, kRegular, 16, line, 0.2);
    baseline -= 26;
  }
  layout.Rule(kMarginLeft, baseline - 4, kPageWidth - kMarginRight, baseline - 4, 2.0, 0.2);
  centred(140, kRegular, 11, "Version " + version, 0.35);
}

constexpr int kContentsLinesPerPage = 42;

void ContentsPages(const std::vector<Heading>& headings, int pageShift, Layout& layout) {
  for (size_t i = 0; i < headings.size(); ++i) {
    if (i % kContentsLinesPerPage == 0) {
      layout.NewPage();
      if (i == 0) {
        layout.y -= 24;
        layout.Text(kMarginLeft, layout.y, kBold, 21, "Contents");
        layout.y -= 20;
      }
    }
    const Heading& h = headings[i];
    const Font font = h.chapter ? kBold : kRegular;
    const double size = h.chapter ? 11 : 10.5;
    const double indent = h.chapter ? 0 : 14;
    layout.y -= h.chapter ? 19 : 15;
    const std::string number = std::to_string(h.page + pageShift + 1);
    const double right = kPageWidth - kMarginRight;
    const double textEnd = kMarginLeft + indent + Width(h.text, font, size);
    const double numberStart = right - Width(number, font, size);
    layout.Text(kMarginLeft + indent, layout.y, font, size, h.text);
    std::string dots;
    while (textEnd + 6 + Width(dots + ". ", kRegular, size) < numberStart - 4) dots += ". ";
    if (!dots.empty())
      layout.Text(numberStart - 4 - Width(dots, kRegular, size), layout.y, kRegular, size, dots,
                  0.5);
    layout.Text(numberStart, layout.y, font, size, number);
    layout.Current().links.push_back(
        {kMarginLeft, layout.y - 4, right, layout.y + size, h.page + pageShift, h.top});
  }
}

// ---- Output ----

class PdfWriter {
public:
  int Reserve() {
    offsets.push_back(0);
    return int(offsets.size());
  }
  void Object(int id, const std::string& body) {
    offsets[id - 1] = out.size();
    out += std::to_string(id) + " 0 obj\n" + body + "\nendobj\n";
  }
  std::string Finish(int root, int info) {
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t off : offsets) {
      char entry[32];
      std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", off);
      out += entry;
    }
    out += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root " +
           std::to_string(root) + " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return out;
  }

  std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<size_t> offsets;
};

std::string Ref(int id) {
  return std::to_string(id) + " 0 R";
}

std::string Dest(int pageObj, double top) {
  return "[" + Ref(pageObj) + " /XYZ " + Num(kMarginLeft - 10) + " " + Num(top) + " 0]";
}

std::string Write(const Source& src, const std::vector<Page>& pages,
                  const std::vector<Heading>& headings) {
  PdfWriter pdf;
  const int catalog = pdf.Reserve(), pagesId = pdf.Reserve(), info = pdf.Reserve();
  const int fonts[3] = {pdf.Reserve(), pdf.Reserve(), pdf.Reserve()};
  const int outlines = pdf.Reserve();
  std::vector<int> pageIds, contentIds, itemIds;
  for (size_t i = 0; i < pages.size(); ++i) {
    pageIds.push_back(pdf.Reserve());
    contentIds.push_back(pdf.Reserve());
  }
  for (size_t i = 0; i < headings.size(); ++i) itemIds.push_back(pdf.Reserve());

  pdf.Object(catalog, "<< /Type /Catalog /Pages " + Ref(pagesId) + " /Outlines " + Ref(outlines) +
                          " /PageMode /UseOutlines >>");
  std::string kids;
  for (int id : pageIds) kids += Ref(id) + " ";
  pdf.Object(pagesId, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                          std::to_string(pages.size()) + " /MediaBox [0 0 " + Num(kPageWidth) +
                          " " + Num(kPageHeight) + "] >>");
  pdf.Object(info, "<< /Title " + PdfString(src.title + " User Manual") +
                       " /Author (ZorelControl) /Creator (ZorelControl manual generator) >>");
  const char* baseFonts[3] = {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique"};
  for (int f = 0; f < 3; ++f)
    pdf.Object(fonts[f], "<< /Type /Font /Subtype /Type1 /BaseFont /" + std::string(baseFonts[f]) +
                             " /Encoding /WinAnsiEncoding >>");
  const std::string resources = "<< /Font << /F1 " + Ref(fonts[0]) + " /F2 " + Ref(fonts[1]) +
                                " /F3 " + Ref(fonts[2]) + " >> >>";
  for (size_t i = 0; i < pages.size(); ++i) {
    std::string annots;
    for (const Link& l : pages[i].links)
      annots += "<< /Type /Annot /Subtype /Link /Border [0 0 0] /Rect [" + Num(l.x0) + " " +
                Num(l.y0) + " " + Num(l.x1) + " " + Num(l.y1) + "] /Dest " +
                Dest(pageIds[l.page], l.top) + " >> ";
    pdf.Object(pageIds[i], "<< /Type /Page /Parent " + Ref(pagesId) + " /Resources " + resources +
                               " /Contents " + Ref(contentIds[i]) +
                               (annots.empty() ? "" : " /Annots [" + annots + "]") + " >>");
    pdf.Object(contentIds[i], "<< /Length " + std::to_string(pages[i].content.size()) +
                                  " >>\nstream\n" + pages[i].content + "endstream");
  }

  // Bookmarks: chapters at the top level, their sections beneath them.
  std::vector<int> chapters;
  std::map<int, std::vector<int>> sections; // chapter index -> heading indices
  for (size_t i = 0; i < headings.size(); ++i) {
    if (headings[i].chapter)
      chapters.push_back(int(i));
    else if (!chapters.empty())
      sections[chapters.back()].push_back(int(i));
  }
  auto items = [&](const std::vector<int>& list, int parent) {
    for (size_t k = 0; k < list.size(); ++k) {
      const int h = list[k];
      std::string body = "<< /Title " + PdfString(headings[h].text) + " /Parent " + Ref(parent) +
                         " /Dest " + Dest(pageIds[headings[h].page], headings[h].top);
      if (k > 0) body += " /Prev " + Ref(itemIds[list[k - 1]]);
      if (k + 1 < list.size()) body += " /Next " + Ref(itemIds[list[k + 1]]);
      if (const auto it = sections.find(h); it != sections.end() && !it->second.empty())
        body += " /First " + Ref(itemIds[it->second.front()]) + " /Last " +
                Ref(itemIds[it->second.back()]) + " /Count " + std::to_string(it->second.size());
      pdf.Object(itemIds[h], body + " >>");
    }
  };
  items(chapters, outlines);
  for (const auto& [chapter, list] : sections) items(list, itemIds[chapter]);
  pdf.Object(outlines, chapters.empty()
                           ? "<< /Type /Outlines /Count 0 >>"
                           : "<< /Type /Outlines /First " + Ref(itemIds[chapters.front()]) +
                                 " /Last " + Ref(itemIds[chapters.back()]) + " /Count " +
                                 std::to_string(chapters.size()) + " >>");
  return pdf.Finish(catalog, info);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s INPUT.txt OUTPUT.pdf VERSION\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  const Source src = Parse(in);

  // Lay the body out once to learn where the headings fall, then put the
  // title and contents pages in front and number everything.
  Layout body;
  LayoutBody(src, body);
  const int contentsPages =
      int((body.headings.size() + kContentsLinesPerPage - 1) / kContentsLinesPerPage);
  const int shift = 1 + contentsPages;

  Layout front;
  TitlePage(src, argv[3], front);
  ContentsPages(body.headings, shift, front);

  std::vector<Page> pages = front.pages;
  pages.insert(pages.end(), body.pages.begin(), body.pages.end());
  for (size_t i = 1; i < pages.size(); ++i) {
    Layout stamp;
    stamp.pages.push_back({});
    const std::string number = std::to_string(i + 1);
    stamp.Text(kPageWidth / 2 - Width(number, kRegular, 9) / 2, 40, kRegular, 9, number, 0.4);
    const std::string header = src.title + " User Manual";
    stamp.Text(kPageWidth - kMarginRight - Width(header, kRegular, 8.5), kPageHeight - 44, kRegular,
               8.5, header, 0.5);
    stamp.Rule(kMarginLeft, kPageHeight - 50, kPageWidth - kMarginRight, kPageHeight - 50, 0.5,
               0.7);
    pages[i].content += stamp.pages[0].content;
  }
  std::vector<Heading> headings = body.headings;
  for (Heading& h : headings) h.page += shift;

  const std::string pdf = Write(src, pages, headings);
  std::ofstream out(argv[2], std::ios::binary);
  out.write(pdf.data(), std::streamsize(pdf.size()));
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
