#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "FilesSupport.h"
#include "grid/dataops/GridHtmlXml.h"
#include "platform/FileFormats.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// Python's HTML parser over a page: every element that is not void must close in order; prints one
// line per table cell (its text, then " | href=" and " | img=" for the links and pictures in it),
// with the cell's class and spans.
constexpr char HtmlCellsScript[] = R"PY(
import sys, html.parser
VOID = {'br', 'img', 'meta', 'hr'}
class P(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.cells, self.cur = [], [], None
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == 'td':
            self.cur = {'text': '', 'extra': '', 'cls': a.get('class', ''),
                        'span': a.get('colspan', '') + '/' + a.get('rowspan', '')}
        if tag == 'a' and self.cur is not None: self.cur['extra'] += ' | href=' + a.get('href', '')
        if tag == 'img' and self.cur is not None: self.cur['extra'] += ' | img=' + a.get('src', '')
        if tag == 'br' and self.cur is not None: self.cur['text'] += '\n'
        if tag not in VOID: self.stack.append(tag)
    def handle_endtag(self, tag):
        if not self.stack or self.stack[-1] != tag: sys.exit('unbalanced </%s> in %s' % (tag, self.stack))
        self.stack.pop()
        if tag == 'td':
            c = self.cur
            self.cells.append('%s %s %s%s' % (c['cls'], c['span'], c['text'].replace('\n', '\\n'), c['extra']))
            self.cur = None
    def handle_data(self, d):
        if self.cur is not None: self.cur['text'] += d
p = P()
data = sys.stdin.buffer.read()
p.feed(data.decode('utf-8-sig')); p.close()
if p.stack: sys.exit('unclosed %s' % p.stack)
sys.stdout.write('\n'.join(p.cells))
)PY";

QStringList HtmlCells(const QByteArray& page)
{
    QByteArray out;
    EXPECT_TRUE(RunPython(HtmlCellsScript, page, out));
    return QString::fromUtf8(out).split(QLatin1Char('\n'));
}

// Python's XML parser: the root, then per record one line of its fields as tag=text (repr).
constexpr char XmlRecordsScript[] = R"PY(
import sys, xml.etree.ElementTree as ET
root = ET.fromstring(sys.stdin.buffer.read())
print(root.tag)
for rec in root:
    print(rec.tag + ': ' + ' '.join('%s=%r' % (f.tag, f.text or '') for f in rec))
)PY";

// A header row over two data rows, one fixed column.
struct THtmlGrid {
    TExtStringGrid g;
    TempDir dir;
    THtmlGrid()
    {
        g.SetColCount(4);
        g.SetRowCount(3);
        g.SetCells(1, 0, QStringLiteral("Name"));
        g.SetCells(2, 0, QStringLiteral("Link"));
        g.SetCells(3, 0, QStringLiteral("Note"));
        g.SetCells(1, 1, QStringLiteral("Größe € 中"));
        g.SetCells(2, 1, QStringLiteral("http://example.org/?a=1&b=\"2\""));
        g.SetCells(3, 1, QStringLiteral("two\rlines"));
        g.SetCells(1, 2, QStringLiteral("plain"));
        g.SetCells(3, 2, QString());
        TCellProperties* bold = g.GetCellProperties(3, 2);
        bold->FontStyle = fsBold;
        bold->Alignment = taRightJustify;
        bold->SetBrushColor(0x00336699);  // BGR: shows as #996633
        g.URLShow = true;
        g.HTMLSettings.ColWidths.Add(20);
        g.HTMLSettings.ColWidths.Add(80);
    }
};

}  // namespace

TEST(HtmlExport, TableParsesWithClassesLinksAndHeaderWidths)
{
    THtmlGrid f;
    const QString html = SaveToHTMLString(f.g, f.dir.Path() + QLatin1Char('/'));
    EXPECT_TRUE(MatchesGoldenFile(html.toUtf8(), "grid_table.html"));
    const QStringList cells = HtmlCells(html.toUtf8());
    ASSERT_EQ(cells.size(), 12) << cells.join(QLatin1Char('\n')).toStdString();
    // Header row: fixed cells share one class; the width list gives upper-case WIDTH attributes.
    EXPECT_TRUE(html.contains(QStringLiteral("<TD class=\"c0\" WIDTH=20>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<TD class=\"c0\" WIDTH=80>Name</td>")));
    EXPECT_EQ(cells[1], QStringLiteral("c0 / Name"));
    EXPECT_EQ(cells[5], QStringLiteral("c1 / Größe € 中"));
    // The link's address is quoted and escaped; the shown text drops the protocol.
    EXPECT_EQ(cells[6], QStringLiteral("c1 / example.org/?a=1&b=\"2\" | href=http://example.org/?a=1&b=\"2\""));
    EXPECT_EQ(cells[7], QStringLiteral("c1 / two\\nlines"));
    // The styled cell has a class of its own, listed once in the style block.
    EXPECT_TRUE(cells[11].startsWith(QStringLiteral("c2 ")));
    EXPECT_TRUE(html.contains(QStringLiteral(".c2 {background-color: #996633;")));
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight: bold")));
    EXPECT_TRUE(html.contains(QStringLiteral("text-align: right")));
    EXPECT_EQ(html.count(QStringLiteral(".c1 {")), 1);
    EXPECT_FALSE(html.contains(QStringLiteral(".c3 {")));
    // Body rows carry no width once a header row was written.
    EXPECT_FALSE(html.contains(QStringLiteral(" width=")));
}

TEST(HtmlExport, MergedAreaIsWrittenOnceWithItsSpans)
{
    THtmlGrid f;
    f.g.MergeCells(1, 1, 2, 2);
    const QString html = SaveToHTMLString(f.g, f.dir.Path() + QLatin1Char('/'));
    const QStringList cells = HtmlCells(html.toUtf8());
    EXPECT_EQ(cells.size(), 9) << cells.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("COLSPAN=\"2\" ROWSPAN=\"2\"")));
}

TEST(HtmlExport, FileIsUtf8EitherWayAndPicturesAreJpegFiles)
{
    THtmlGrid f;
    QImage red(12, 8, QImage::Format_RGB32);
    red.fill(qRgb(200, 30, 40));
    f.g.CreateBitmap(1, 2, false, haLeft, vaTop)->Image = red;
    const QString file = f.dir.File(QStringLiteral("page.html"));
    SaveToHTML(f.g, file, false, false);
    const QByteArray page = f.dir.Read(QStringLiteral("page.html"));
    ASSERT_TRUE(page.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(page.contains(QStringLiteral("Größe € 中").toUtf8())) << "no character became a question mark";
    const QStringList cells = HtmlCells(page);
    const QString picture = f.dir.File(QStringLiteral("images/img1.jpg"));
    ASSERT_EQ(cells[9], QStringLiteral("c1 / plain | img=file://") + picture);
    const QByteArray jpeg = f.dir.Read(QStringLiteral("images/img1.jpg"));
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
    const QImage back = QImage::fromData(jpeg, "JPEG");
    ASSERT_EQ(back.size(), QSize(12, 8));
    const QColor px = back.pixelColor(6, 4);
    EXPECT_NEAR(px.red(), 200, 8);
    EXPECT_NEAR(px.green(), 30, 8);
    EXPECT_NEAR(px.blue(), 40, 8);

    SaveToHTML(f.g, file, false, true);
    const QByteArray wide = f.dir.Read(QStringLiteral("page.html"));
    ASSERT_TRUE(wide.startsWith("\xFF\xFE"));
    EXPECT_TRUE(QString::fromUtf16(reinterpret_cast<const char16_t*>(wide.constData() + 2), (wide.size() - 2) / 2)
                    .contains(QStringLiteral("Größe € 中")));
    // Appending keeps the page before it.
    f.dir.Write(QStringLiteral("log.html"), QByteArray("<p>before</p>\r\n"));
    AppendToHTML(f.g, f.dir.File(QStringLiteral("log.html")), false, false);
    EXPECT_TRUE(f.dir.Read(QStringLiteral("log.html")).startsWith("\xEF\xBB\xBF<p>before</p>"));
}

TEST(HtmlExport, AnImageFolderThatCannotBeMadeIsReported)
{
    THtmlGrid f;
    f.g.CreateBitmap(1, 2, false, haLeft, vaTop)->Image = QImage(4, 4, QImage::Format_RGB32);
    f.dir.Write(QStringLiteral("blocker"), "a file where the folder should go");
    try {
        SaveToHTMLString(f.g, f.dir.File(QStringLiteral("blocker/")));
        FAIL() << "no error";
    } catch (const EExtGridError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot create "))) << e.message().toStdString();
    }
}

namespace {

struct TXmlGrid {
    TExtStringGrid g;
    TempDir dir;
    const QStringList texts{QStringLiteral("A & B"), QStringLiteral("<tag attr=\"v\">"), QStringLiteral("$amp; literal"),
                            QStringLiteral("Größe € 中"), QStringLiteral("two\r\nlines"), QString()};
    TXmlGrid()
    {
        g.SetColCount(3);
        g.SetRowCount(4);
        g.SaveFixedCells = false;
        for (int i = 0; i < 6; ++i)
            g.SetCells(1 + i % 2, 1 + i / 2, texts[i]);
    }
};

}  // namespace

TEST(XmlFile, WrittenWellFormedInUtf8AndReadBack)
{
    TXmlGrid f;
    const QString file = f.dir.File(QStringLiteral("grid.xml"));
    const QStringList names{QStringLiteral("first"), QStringLiteral("second")};
    SaveToXML(f.g, file, QStringLiteral("LIST"), QStringLiteral("REC"), &names, true);
    const QByteArray bytes = f.dir.Read(QStringLiteral("grid.xml"));
    EXPECT_TRUE(MatchesGoldenFile(bytes, "grid_records.xml"));
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"));
    QByteArray out;
    ASSERT_TRUE(RunPython(XmlRecordsScript, bytes, out));
    EXPECT_EQ(QString::fromUtf8(out),
              QStringLiteral("LIST\n"
                             "REC: first='A & B' second='<tag attr=\"v\">'\n"
                             "REC: first='$amp; literal' second='Größe € 中'\n"
                             "REC: first='two\\r\\nlines' second='\"\"'\n"));

    TExtStringGrid back;
    back.SaveFixedCells = false;
    back.SetColCount(2);
    back.SetRowCount(2);
    LoadFromXML(back, file, false, false);
    ASSERT_EQ(back.RowCount(), 4);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(back.Cells(1 + i % 2, 1 + i / 2), f.texts[i]) << i;
}

TEST(XmlFile, OlderFilesReadTheirAmpersandsAndWindows1252Bytes)
{
    TempDir dir;
    dir.Write(QStringLiteral("old.xml"), QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<L>\r\n<R>\r\n"
                                                    "<FIELD0>A $amp; B \x80 \xE9</FIELD0>\r\n<FIELD1>&lt;x&gt;</FIELD1>\r\n"
                                                    "</R>\r\n</L>\r\n"));
    TExtStringGrid g;
    g.SaveFixedCells = false;
    LoadFromXML(g, dir.File(QStringLiteral("old.xml")), false, false);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("A & B € é"));
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("<x>"));
}

TEST(XmlFile, ThreeChildElementsFillOneRowAndNameTheHeader)
{
    TempDir dir;
    dir.Write(QStringLiteral("r.xml"), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><L><R><Id>7</Id><Name>x</Name>"
                                                  "<Unit>kW</Unit></R><R><Id>8</Id><Name>y</Name><Unit/></R></L>"));
    // Fixed cells saved (the default): the fields start at column 0, the data below the fixed row.
    TExtStringGrid g;
    LoadFromXML(g, dir.File(QStringLiteral("r.xml")), false, true);
    EXPECT_EQ(g.Cells(0, 0), QStringLiteral("Id"));
    EXPECT_EQ(g.Cells(1, 0), QStringLiteral("Name"));
    EXPECT_EQ(g.Cells(2, 0), QStringLiteral("Unit"));
    EXPECT_EQ(g.Cells(0, 1), QStringLiteral("7"));
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("kW"));
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("y"));
    EXPECT_EQ(g.Cells(2, 2), QString());
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.ColCount(), 3);
}

TEST(XmlFile, BadFilesAreRefusedWithTheGridUnchanged)
{
    TempDir dir;
    QByteArray wide("<?xml version=\"1.0\" encoding=\"UTF-8\"?><L><R>");
    for (int i = 0; i < MaxXmlCols + 5; ++i)
        wide += "<F>1</F>";
    wide += "</R></L>";
    QByteArray deep("<?xml version=\"1.0\"?><L><R>");
    for (int i = 0; i < 200; ++i)
        deep += "<a><b/>";
    for (int i = 0; i < 200; ++i)
        deep += "</a>";
    deep += "</R></L>";
    struct TCase {
        const char* Name;
        QByteArray Bytes;
        const char* Message;
    };
    const TCase cases[] = {
        {"malformed", QByteArray("<?xml version=\"1.0\"?><L><R><F>1</R></L>"), "XMLDOM Parsing error"},
        {"too wide", wide, "XML file too large"},
        {"too deep", deep, "XML file nested too deeply"},
    };
    for (const TCase& c : cases) {
        dir.Write(QStringLiteral("bad.xml"), c.Bytes);
        TExtStringGrid g;
        g.SetColCount(3);
        g.SetRowCount(3);
        g.SetCells(1, 1, QStringLiteral("keep"));
        const QString before = GridSnapshot(g);
        try {
            LoadFromXML(g, dir.File(QStringLiteral("bad.xml")), false, false);
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const EExtGridError& e) {
            EXPECT_TRUE(e.message().startsWith(QLatin1String(c.Message))) << c.Name << ": " << e.message().toStdString();
        }
        EXPECT_EQ(GridSnapshot(g), before) << c.Name;
    }
    TExtStringGrid g;
    try {
        LoadFromXML(g, dir.File(QStringLiteral("missing.xml")), false, false);
        FAIL() << "no error";
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("XML file not found"));
    }
    EXPECT_THROW(SaveToXML(g, dir.File(QStringLiteral("no/folder/x.xml")), QStringLiteral("L"), QStringLiteral("R"),
                           nullptr, false),
                 EExtGridError);
    // Names that would make the file unreadable are refused before anything is written.
    const QStringList badField{QStringLiteral("a b")};
    EXPECT_THROW(SaveToXML(g, dir.File(QStringLiteral("n.xml")), QStringLiteral("L"), QStringLiteral("R"), &badField, false),
                 EExtGridError);
    EXPECT_THROW(SaveToXML(g, dir.File(QStringLiteral("n.xml")), QStringLiteral("<L>"), QStringLiteral("R"), nullptr, false),
                 EExtGridError);
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("n.xml"))));
}

// The JPEG library's own errors come back as a refusal, never as the end of the process.
TEST(HtmlExport, APictureTheJpegLibraryRefusesIsReported)
{
    QImage wide(70000, 1, QImage::Format_RGB32);
    wide.fill(Qt::white);
    QByteArray out;
    EXPECT_FALSE(platform::FileFormats().EncodeJpeg(wide, out));
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(platform::FileFormats().EncodeJpeg(QImage(3, 3, QImage::Format_ARGB32), out));
    EXPECT_TRUE(out.startsWith("\xFF\xD8"));
}
