#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QProcess>

#include "FilesSupport.h"
#include "TextFormatsSuite.h"
#include "grid/dataops/GridOffice.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// Debian's python3-openpyxl belongs to the system's interpreter, which need not be the first
// python3 on the path.
QString SystemPython() { return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3"); }

// Runs a script with the arguments; its standard output, or a failure with its errors.
::testing::AssertionResult Py(const char* script, const QStringList& args, QByteArray& out)
{
    QProcess p;
    p.start(SystemPython(), QStringList{QStringLiteral("-c"), QString::fromUtf8(script)} + args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(120000))
        return ::testing::AssertionFailure() << "python3 did not run";
    out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return ::testing::AssertionFailure() << "python3 failed: " << p.readAllStandardError().toStdString();
    return ::testing::AssertionSuccess();
}

QString PyOut(const char* script, const QStringList& args)
{
    QByteArray out;
    EXPECT_TRUE(Py(script, args, out));
    return QString::fromUtf8(out).trimmed();
}

// Every sheet as openpyxl reads it: "sheet <name> <dimensions>", then one line per cell holding a
// value: its coordinate, the value's type and repr.
constexpr char DumpCells[] = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
for ws in wb.worksheets:
    print('sheet', ws.title, ws.dimensions)
    for row in ws.iter_rows():
        for c in row:
            if c.value is not None:
                print(c.coordinate, type(c.value).__name__, repr(c.value))
)PY";

// The cells a test expects of DumpCells: "A1 str 'x'".
QString Dump(const QStringList& lines) { return lines.join(u'\n'); }

QString GridTexts(TExtStringGrid& g)
{
    QStringList rows;
    for (int r = 0; r < g.RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < g.ColCount(); ++c)
            cells << g.Cells(c, r);
        rows << cells.join(u'|');
    }
    return rows.join(u'\n');
}

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EExtGridError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

TEST(OfficeWorkbook, SheetWrittenHereReadsInOpenpyxlWithTheSameCells)
{
    TempDir dir;
    TExtStringGrid g;
    g.SetColCount(30);
    g.SetRowCount(3);
    g.SetGridCell(0, 0, QStringLiteral("Name"));
    g.SetGridCell(1, 0, QStringLiteral("12.5"));
    g.SetGridCell(2, 0, QStringLiteral("007"));
    g.SetGridCell(3, 0, QStringLiteral("Grüße <&>"));
    g.SetGridCell(0, 1, QStringLiteral("two\r\nlines"));
    g.SetGridCell(1, 1, QStringLiteral("-3"));
    g.SetGridCell(2, 1, QStringLiteral("1e+20"));
    g.SetGridCell(3, 1, QStringLiteral("123456789012345678"));
    g.SetGridCell(29, 2, QStringLiteral("last"));
    const QString file = dir.File(QStringLiteral("out.xlsx"));
    SaveToXLS(g, file, true);
    // Number texts become numbers; texts that would change as numbers stay texts; the CR goes.
    EXPECT_EQ(PyOut(DumpCells, {file}), Dump({
                                            "sheet Sheet1 A1:AD3",
                                            "A1 str 'Name'",
                                            "B1 float 12.5",
                                            "C1 str '007'",
                                            "D1 str 'Grüße <&>'",
                                            "A2 str 'two\\nlines'",
                                            "B2 int -3",
                                            "C2 float 1e+20",
                                            "D2 str '123456789012345678'",
                                            "AD3 str 'last'",
                                        }));
    // And back: the same texts (but the CR) in a grid of the used range.
    TExtStringGrid back;
    LoadFromXLS(back, file);
    ASSERT_EQ(back.ColCount(), 30);
    ASSERT_EQ(back.RowCount(), 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 30; ++c)
            EXPECT_EQ(back.Cells(c, r), QString(g.Cells(c, r)).remove(QChar(13))) << c << "," << r;
}

// A workbook made by openpyxl: "Data" with B2:D4 (dates, a boolean, an error value, empty cells)
// and "Wide", the active one, with columns beyond Z.
constexpr char MakeWorkbook[] = R"PY(
import sys, datetime, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = 'Data'
ws['B2'] = 'b2'; ws['C2'] = 3; ws['D2'] = 2.25
ws['B3'] = datetime.datetime(2024, 2, 29, 13, 45, 0); ws['C3'] = True; ws['D3'] = '#N/A'
ws['C3'].number_format = 'General'
ws['D3'].data_type = 'e'
ws['B4'] = datetime.date(1999, 12, 31); ws['D4'] = 'd4'
wide = wb.create_sheet('Wide')
wide['Z1'] = 'z'; wide['AA1'] = 'aa'; wide['BC2'] = 'bc'
wb.active = 1
wb.save(sys.argv[1])
)PY";

TEST(OfficeWorkbook, OpenpyxlWorkbookLoadsWithTheUsedRangeRules)
{
    TempDir dir;
    const QString file = dir.File(QStringLiteral("made.xlsx"));
    PyOut(MakeWorkbook, {file});
    EXPECT_EQ(GetXLSSheets(file), (QStringList{"Data", "Wide"}));

    struct Case {
        const char* name;
        bool saveFixedCells;
        int fixedCols, fixedRows, cols, rows;
        QString texts;
    } cases[] = {
        {"fixed cells saved: the range from (0, 0)", true, 1, 1, 3, 3,
         "b2|3|2.25\n2024-02-29 13:45:00|TRUE|\n1999-12-31||d4"},
        {"fixed cells not saved: after them", false, 1, 1, 4, 4,
         "x|x|x|x\nx|b2|3|2.25\nx|2024-02-29 13:45:00|TRUE|\nx|1999-12-31||d4"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TExtStringGrid g;
        g.SetColCount(6);
        g.SetRowCount(6);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 6; ++c)
                g.SetGridCell(c, r, QStringLiteral("x"));
        g.SetFixedCols(k.fixedCols);
        g.SetFixedRows(k.fixedRows);
        g.SaveFixedCells = k.saveFixedCells;
        LoadFromXLSSheet(g, file, QStringLiteral("data"));
        EXPECT_EQ(g.ColCount(), k.cols);
        EXPECT_EQ(g.RowCount(), k.rows);
        EXPECT_EQ(g.FixedCols(), k.fixedCols);
        EXPECT_EQ(g.FixedRows(), k.fixedRows);
        EXPECT_EQ(GridTexts(g), k.texts);
    }

    // The active sheet, columns Z to BC: 30 columns, 2 rows. The drop loader reads the same.
    TExtStringGrid g;
    XlsFileLoader()(g, file);
    EXPECT_EQ(g.ColCount(), 30);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(0, 0), QStringLiteral("z"));
    EXPECT_EQ(g.Cells(1, 0), QStringLiteral("aa"));
    EXPECT_EQ(g.Cells(29, 1), QStringLiteral("bc"));

    const QString before = GridState(g);
    EXPECT_EQ(ErrorOf([&] { LoadFromXLSSheet(g, file, QStringLiteral("Nope")); }),
              QStringLiteral("Excel worksheet Nope not found"));
    EXPECT_EQ(GridState(g), before);
}

// A workbook with a sheet to keep (a formula, a style, a merged area) and a target sheet holding
// cells beside and below where the block goes; the active cell of the target is A5.
constexpr char MakeExisting[] = R"PY(
import sys, zipfile, openpyxl
from openpyxl.styles import Font
wb = openpyxl.Workbook()
keep = wb.active
keep.title = 'Keep'
keep['A1'] = 5; keep['A2'] = '=A1*2'; keep['B1'] = 'bold'; keep['B1'].font = Font(bold=True)
keep.merge_cells('C1:D2')
t = wb.create_sheet('Target')
t['A1'] = 'old'; t['B2'] = 'old'; t['E1'] = 'beside'; t['A10'] = 'below'
t['C1'] = 'styled'; t['C1'].font = Font(italic=True)
t.sheet_view.selection[0].activeCell = 'A5'
t.sheet_view.selection[0].sqref = 'A5'
wb.active = 1
wb.save(sys.argv[1])
# A formula filled down as a spreadsheet program stores it: shared by D20:D21 from D20.
src = zipfile.ZipFile(sys.argv[1])
parts = {n: src.read(n) for n in src.namelist()}
src.close()
name = 'xl/worksheets/sheet2.xml'
shared = ('<row r="20"><c r="A20"><v>1</v></c><c r="D20"><f t="shared" ref="D20:D21" si="0">A20*2</f><v>2</v></c></row>'
          '<row r="21"><c r="A21"><v>2</v></c><c r="D21"><f t="shared" si="0"/><v>4</v></c></row>')
parts[name] = parts[name].decode().replace('</sheetData>', shared + '</sheetData>').encode()
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    for n, data in parts.items():
        z.writestr(n, data)
)PY";

constexpr char DumpKept[] = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
print(wb.sheetnames)
k = wb['Keep']
print(k['A1'].value, k['A2'].value, k['B1'].value, k['B1'].font.b, [str(r) for r in k.merged_cells.ranges])
t = wb['Target']
print(t['C1'].font.i)
)PY";

TEST(OfficeWorkbook, WritingIntoAWorkbookKeepsItsOtherSheetsAndCells)
{
    TempDir dir;
    const QString file = dir.File(QStringLiteral("book.xlsx"));
    PyOut(MakeExisting, {file});
    TExtStringGrid g;
    FillRows(g, {{"n1", "", "n3"}, {"1", "2", "3"}});
    SaveToXLSSheet(g, file, QStringLiteral("Target"));
    EXPECT_EQ(PyOut(DumpCells, {file}), Dump({
                                            "sheet Keep A1:D2",
                                            "A1 int 5",
                                            "B1 str 'bold'",
                                            "A2 str '=A1*2'",
                                            "sheet Target A1:E21",
                                            "A1 str 'n1'",
                                            "C1 str 'n3'",
                                            "E1 str 'beside'",
                                            "A2 int 1",
                                            "B2 int 2",
                                            "C2 int 3",
                                            "A10 str 'below'",
                                            "A20 int 1",
                                            "D20 str '=A20*2'",
                                            "A21 int 2",
                                            "D21 str '=A21*2'",
                                        }));
    // The formula, the font, the merged area and the style under the block stay.
    EXPECT_EQ(PyOut(DumpKept, {file}), QStringLiteral("['Keep', 'Target']\n5 =A1*2 bold True ['C1:D2']\nTrue"));

    // A sheet the workbook lacks is added after the others.
    SaveToXLSSheet(g, file, QStringLiteral("Added"));
    EXPECT_EQ(GetXLSSheets(file), (QStringList{"Keep", "Target", "Added"}));
    TExtStringGrid back;
    LoadFromXLSSheet(back, file, QStringLiteral("Added"));
    EXPECT_EQ(GridTexts(back), QStringLiteral("n1||n3\n1|2|3"));

    // Without a sheet name: the active sheet from the row of its active cell.
    SaveToXLS(g, file, false);
    LoadFromXLSSheet(back, file, QStringLiteral("Target"));
    EXPECT_EQ(back.Cells(0, 4), QStringLiteral("n1"));
    EXPECT_EQ(back.Cells(2, 5), QStringLiteral("3"));
    EXPECT_EQ(back.Cells(0, 9), QStringLiteral("below"));
    EXPECT_EQ(back.Cells(4, 0), QStringLiteral("beside"));

    // A block over the first cell of a shared formula: the other cell keeps its value.
    TExtStringGrid twenty;
    twenty.SetColCount(4);
    twenty.SetRowCount(20);
    twenty.SetGridCell(3, 19, QStringLiteral("new"));
    SaveToXLSSheet(twenty, file, QStringLiteral("Target"));
    const QString shared = PyOut(DumpCells, {file});
    EXPECT_TRUE(shared.contains(QLatin1String("D20 str 'new'\nA21 int 2\nD21 int 4"))) << shared.toStdString();
}

TEST(OfficeWorkbook, XlsTargetsAndBadSheetNamesAreRefused)
{
    TempDir dir;
    TExtStringGrid g;
    FillRows(g, {{"a"}});
    const QString xls = dir.File(QStringLiteral("old.XLS"));
    const QString message = ErrorOf([&] { SaveToXLS(g, xls, true); });
    EXPECT_TRUE(message.contains(QLatin1String("\".xlsx\""))) << message.toStdString();
    EXPECT_FALSE(QFile::exists(xls));
    EXPECT_NE(ErrorOf([&] { SaveToXLSSheet(g, dir.File(QStringLiteral("n.xlsx")), QStringLiteral("a/b")); }),
              QStringLiteral("(no error)"));
    // A file that is no workbook is left as it is.
    dir.Write(QStringLiteral("text.xlsx"), "not a workbook");
    EXPECT_NE(ErrorOf([&] { SaveToXLSSheet(g, dir.File(QStringLiteral("text.xlsx")), QStringLiteral("S")); }),
              QStringLiteral("(no error)"));
    EXPECT_EQ(dir.Read(QStringLiteral("text.xlsx")), QByteArray("not a workbook"));
}

// A ".xls" workbook as the binary format stores it: a compound file holding the stream
// "Workbook", whose records give the sheets "First" (B2:C3: shared strings, a number, a label) and
// "Zweite" (A1).
constexpr char MakeXls[] = R"PY(
import sys, struct
def rec(t, data=b''):
    return struct.pack('<HH', t, len(data)) + data
def bof(dt):
    return rec(0x0809, struct.pack('<HHHHII', 0x0600, dt, 0x0DBB, 0x07CC, 0, 6))
def xlstr(s):
    u = s.encode('utf-16-le')
    return struct.pack('<HB', len(s), 1) + u
def sheet(cells, rows, cols):
    out = bof(0x0010) + rec(0x0200, struct.pack('<IIHHH', rows[0], rows[1], cols[0], cols[1], 0))
    for r, c, v in cells:
        if isinstance(v, float):
            out += rec(0x0203, struct.pack('<HHHd', r, c, 15, v))
        elif isinstance(v, int):
            out += rec(0x00FD, struct.pack('<HHHI', r, c, 15, v))
        else:
            out += rec(0x0204, struct.pack('<HHH', r, c, 15) + xlstr(v))
    return out + rec(0x000A)
sst = ['shared', 'Grüße']
s1 = sheet([(1, 1, 0), (1, 2, 2.5), (2, 1, 'label'), (2, 2, 1)], (1, 3), (1, 3))
s2 = sheet([(0, 0, 'only')], (0, 1), (0, 1))
def globals_(pos1, pos2):
    g = bof(0x0005) + rec(0x0042, struct.pack('<H', 1200))
    # Padding: a stream this short would live in the mini stream.
    g += rec(0x00EB, b'\0' * 4000)
    for i in range(21):
        g += rec(0x00E0, struct.pack('<HHHHHHHHHH', 0, 0, 0xFFF5 if i < 15 else 1, 0x20, 0, 0, 0, 0, 0, 0))
    g += rec(0x0085, struct.pack('<IBB', pos1, 0, 0) + struct.pack('<BB', 5, 0) + b'First')
    g += rec(0x0085, struct.pack('<IBB', pos2, 0, 0) + struct.pack('<BB', 6, 0) + b'Zweite')
    g += rec(0x00FC, struct.pack('<II', 2, 2) + b''.join(xlstr(s) for s in sst))
    return g + rec(0x000A)
g = globals_(0, 0)
g = globals_(len(g), len(g) + len(s1))
stream = g + s1 + s2
nsec = (len(stream) + 511) // 512
data = stream + b'\0' * (nsec * 512 - len(stream))
dirsec = 1 + nsec
fat = [0xFFFFFFFD] + [i + 2 for i in range(nsec - 1)] + [0xFFFFFFFE] + [0xFFFFFFFE]
fat += [0xFFFFFFFF] * (128 - len(fat))
hdr = b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' + b'\0' * 16 + struct.pack('<HHHHH', 0x3E, 3, 0xFFFE, 9, 6) + b'\0' * 6
hdr += struct.pack('<IIIIIIIII', 0, 1, dirsec, 0, 4096, 0xFFFFFFFE, 0, 0xFFFFFFFE, 0)
hdr += struct.pack('<I', 0) + struct.pack('<I', 0xFFFFFFFF) * 108
def entry(name, typ, child, start, size):
    n = (name + '\0').encode('utf-16-le') if name else b''
    return n + b'\0' * (64 - len(n)) + struct.pack('<HBBIII', len(n), typ, 1, 0xFFFFFFFF, 0xFFFFFFFF, child) + b'\0' * 16 + struct.pack('<IIIII', 0, 0, 0, 0, 0) + struct.pack('<III', start, size, 0)
d = entry('Root Entry', 5, 1, 0xFFFFFFFE, 0) + entry('Workbook', 2, 0xFFFFFFFF, 1, len(stream))
d += entry('', 0, 0xFFFFFFFF, 0, 0) * 2
out = hdr + struct.pack('<128I', *fat) + data + d
open(sys.argv[1], 'wb').write(out)
)PY";

TEST(OfficeWorkbook, XlsWorkbooksAreReadThroughTheirUsedRange)
{
    TempDir dir;
    const QString file = dir.File(QStringLiteral("old.xls"));
    PyOut(MakeXls, {file});
    EXPECT_EQ(GetXLSSheets(file), (QStringList{"First", "Zweite"}));
    TExtStringGrid g;
    XlsFileLoader()(g, file);
    EXPECT_EQ(GridTexts(g), QStringLiteral("shared|2.5\nlabel|Grüße"));
    LoadFromXLSSheet(g, file, QStringLiteral("Zweite"));
    EXPECT_EQ(GridTexts(g), QStringLiteral("only"));
    // Cut in half, the file is damaged.
    dir.Write(QStringLiteral("half.xls"), dir.Read(QStringLiteral("old.xls")).left(3000));
    const QString before = GridState(g);
    EXPECT_NE(ErrorOf([&] { LoadFromXLS(g, dir.File(QStringLiteral("half.xls"))); }), QStringLiteral("(no error)"));
    EXPECT_EQ(GridState(g), before);
}

// Hostile workbooks: each gives a message and leaves the grid as it was.
constexpr char MakeHostile[] = R"PY(
import sys, zipfile, openpyxl
kind, path = sys.argv[1], sys.argv[2]
if kind == 'rows':
    wb = openpyxl.Workbook(); ws = wb.active
    ws['A1'] = 'first'; ws['A1048576'] = 'last'
    wb.save(path)
elif kind == 'bomb':
    wb = openpyxl.Workbook(); wb.active['A1'] = 'x'; wb.save(path)
    src = zipfile.ZipFile(path)
    parts = {n: src.read(n) for n in src.namelist()}
    src.close()
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for n, data in parts.items():
            if n != 'xl/worksheets/sheet1.xml':
                z.writestr(n, data)
        with z.open('xl/worksheets/sheet1.xml', 'w', force_zip64=True) as f:
            f.write(b'<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>')
            block = b' ' * (1 << 20)
            for i in range(300):
                f.write(block)
            f.write(b'</sheetData></worksheet>')
elif kind == 'sst':
    wb = openpyxl.Workbook(); wb.active['A1'] = 'x'; wb.save(path)
    src = zipfile.ZipFile(path)
    parts = {n: src.read(n) for n in src.namelist()}
    src.close()
    sheet = parts['xl/worksheets/sheet1.xml'].decode()
    cell = '<c r="A1" t="inlineStr"><is><t>x</t></is></c>'
    assert cell in sheet
    parts['xl/worksheets/sheet1.xml'] = sheet.replace(cell, '<c r="A1" t="s"><v>7</v></c>').encode()
    with zipfile.ZipFile(path, 'w') as z:
        for n, data in parts.items():
            z.writestr(n, data)
)PY";

TEST(OfficeWorkbook, HostileWorkbooksGiveAMessageAndLeaveTheGrid)
{
    TempDir dir;
    const QString good = dir.File(QStringLiteral("good.xlsx"));
    TExtStringGrid source;
    FillRows(source, {{"a", "b"}, {"c", "d"}});
    SaveToXLS(source, good, true);
    const QByteArray goodBytes = dir.Read(QStringLiteral("good.xlsx"));
    dir.Write(QStringLiteral("truncated.xlsx"), goodBytes.left(goodBytes.size() / 2));
    for (const char* kind : {"rows", "bomb", "sst"})
        PyOut(MakeHostile, {QString::fromLatin1(kind), dir.File(QString::fromLatin1(kind) + QStringLiteral(".xlsx"))});
    dir.Write(QStringLiteral("damaged.xls"), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\x5A'));
    dir.Write(QStringLiteral("empty.xls"), QByteArray());
    dir.Write(QStringLiteral("text.xls"), "Name;Value\r\n");

    struct Case {
        const char* file;
        const char* messagePart;
    } cases[] = {
        {"truncated.xlsx", "cannot be opened"},
        {"bomb.xlsx", "more than 268435456 bytes"},
        {"rows.xlsx", "more than 1000000 rows"},
        {"sst.xlsx", "Incorrect XLS file"},
        {"damaged.xls", "damaged"},
        {"empty.xls", "no workbook"},
        {"text.xls", "no workbook"},
        {"missing.xlsx", "cannot be opened"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.file);
        TExtStringGrid g;
        FillRows(g, {{"keep", "me"}, {"as", "I am"}});
        g.SetFixedRows(1);
        const QString before = GridState(g);
        const QString message = ErrorOf([&] { LoadFromXLS(g, dir.File(QString::fromLatin1(k.file))); });
        EXPECT_TRUE(message.contains(QLatin1String(k.messagePart))) << message.toStdString();
        EXPECT_EQ(GridState(g), before);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass stays after a failure";
    }
}

// The document's body as blocks: "P:<text>" per paragraph, "T:" per table with its rows as
// cells joined by "|" (a cell's paragraphs by "/", a right or centred one marked ">" or "^").
constexpr char DumpDocx[] = R"PY(
import sys, zipfile, xml.etree.ElementTree as ET
W = '{http://schemas.openxmlformats.org/wordprocessingml/2006/main}'
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
types = z.read('[Content_Types].xml').decode()
assert 'wordprocessingml.document.main+xml' in types
body = ET.fromstring(z.read('word/document.xml')).find(W + 'body')
def ptext(p):
    t = ''.join(x.text or '' for x in p.iter(W + 't'))
    jc = p.find(W + 'pPr/' + W + 'jc')
    mark = {'right': '>', 'center': '^'}.get(jc.get(W + 'val'), '') if jc is not None else ''
    return mark + t
for el in body:
    if el.tag == W + 'p':
        print('P:' + ptext(el))
    elif el.tag == W + 'tbl':
        rows = ['|'.join('/'.join(ptext(p) for p in tc.findall(W + 'p')) for tc in tr.findall(W + 'tc'))
                for tr in el.findall(W + 'tr')]
        print('T:' + ' # '.join(rows))
    elif el.tag == W + 'sectPr':
        print('S')
)PY";

// A document of an intro paragraph with the bookmark "Here", a closing paragraph and section
// properties, as a word processor writes one.
constexpr char MakeDocx[] = R"PY(
import sys, zipfile
W = 'http://schemas.openxmlformats.org/wordprocessingml/2006/main'
doc = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
       '<w:document xmlns:w="%s"><w:body>'
       '<w:p><w:r><w:t>Intro</w:t></w:r><w:bookmarkStart w:id="0" w:name="Here"/><w:bookmarkEnd w:id="0"/></w:p>'
       '<w:p><w:r><w:t>Outro</w:t></w:r></w:p>'
       '<w:sectPr><w:pgSz w:w="11906" w:h="16838"/></w:sectPr></w:body></w:document>') % W
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('[Content_Types].xml', '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
    z.writestr('_rels/.rels', '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>')
    z.writestr('word/document.xml', doc)
    z.writestr('docProps/kept.bin', b'\x00\x01kept')
)PY";

TEST(OfficeDocument, TablesAreWrittenAndAppendedAtABookmarkOrTheEnd)
{
    TempDir dir;
    TExtStringGrid g;
    FillRows(g, {{"h1", "h2"}, {"a & b", "two\r\nlines"}});
    g.OnGetAlignment = [](TExtStringGrid*, int r, int c, TAlignment& h, TVAlignment&) {
        if (c == 1 && r == 1)
            h = taRightJustify;
        if (c == 0 && r == 0)
            h = taCenter;
    };
    const QString fresh = dir.File(QStringLiteral("new.docx"));
    SaveToDOC(g, fresh, true);
    EXPECT_EQ(PyOut(DumpDocx, {fresh}), QStringLiteral("T:^h1|h2 # a & b|>two/>lines\nP:\nS"));

    const QString doc = dir.File(QStringLiteral("doc.docx"));
    PyOut(MakeDocx, {doc});
    g.setWindowTitle(QStringLiteral("Caption"));
    AppendToDoc(g, doc, QStringLiteral("HERE"));
    EXPECT_EQ(PyOut(DumpDocx, {doc}),
              QStringLiteral("P:Intro\nP:Caption\nT:^h1|h2 # a & b|>two/>lines\nP:Outro\nS"));
    // A bookmark the document lacks: at the end, before the section properties.
    g.setWindowTitle(QString());
    FillRows(g, {{"end"}});
    AppendToDoc(g, doc, QStringLiteral("Missing"));
    EXPECT_EQ(PyOut(DumpDocx, {doc}),
              QStringLiteral("P:Intro\nP:Caption\nT:^h1|h2 # a & b|>two/>lines\nP:Outro\nT:^end\nP:\nS"));
    // Parts the writer does not know stay.
    EXPECT_EQ(PyOut("import sys, zipfile\nprint(zipfile.ZipFile(sys.argv[1]).read('docProps/kept.bin'))", {doc}),
              QStringLiteral("b'\\x00\\x01kept'"));

    const QString missing = dir.File(QStringLiteral("missing.docx"));
    EXPECT_TRUE(ErrorOf([&] { AppendToDoc(g, missing, QString()); }).contains(QLatin1String("not found")));
    dir.Write(QStringLiteral("plain.docx"), "plain text");
    EXPECT_NE(ErrorOf([&] { AppendToDoc(g, dir.File(QStringLiteral("plain.docx")), QString()); }),
              QStringLiteral("(no error)"));
    EXPECT_EQ(dir.Read(QStringLiteral("plain.docx")), QByteArray("plain text"));
}

constexpr char MakeDatabase[] = R"PY(
import sys, sqlite3
db = sqlite3.connect(sys.argv[1])
db.execute('CREATE TABLE meters (id INTEGER, name TEXT, value REAL, note TEXT)')
db.executemany('INSERT INTO meters VALUES (?, ?, ?, ?)',
               [(1, 'Water', 12.5, None), (2, 'Gas', 0.25, 'ok'), (3, 'Heat', -7.0, 'Grüße')])
db.commit()
)PY";

TEST(OfficeDatabase, SqliteQueriesLoadFieldsAndRecords)
{
    TempDir dir;
    const QString file = dir.File(QStringLiteral("meters.db"));
    PyOut(MakeDatabase, {file});

    TExtStringGrid g;
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    LoadFromMDBTable(g, file, QStringLiteral("meters"));
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(GridTexts(g), QStringLiteral("|id|name|value|note\n|1|Water|12.5|\n|2|Gas|0.25|ok\n|3|Heat|-7.0|Grüße"));

    // Without fixed rows no field names; a query of no records leaves the row count.
    TExtStringGrid plain;
    plain.SetFixedCols(0);
    plain.SetFixedRows(0);
    plain.SetRowCount(7);
    LoadFromMDBSQL(plain, file, QStringLiteral("SELECT name FROM meters WHERE value > 0 ORDER BY name"));
    EXPECT_EQ(plain.RowCount(), 2);
    EXPECT_EQ(GridTexts(plain), QStringLiteral("Gas\nWater"));
    LoadFromMDBSQL(plain, file, QStringLiteral("SELECT name FROM meters WHERE 0"));
    EXPECT_EQ(plain.RowCount(), 2);
}

TEST(OfficeDatabase, BadQueriesAndFilesGiveAMessageAndLeaveTheGrid)
{
    TempDir dir;
    const QString file = dir.File(QStringLiteral("meters.db"));
    PyOut(MakeDatabase, {file});
    dir.Write(QStringLiteral("notes.mdb"), "just some text, no database");
    dir.Write(QStringLiteral("broken.mdb"), QByteArray(4, '\0') + "Standard Jet DB" + QByteArray(200, '\x11'));
    // A Jet 4 header over pages of noise.
    QByteArray noise(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00", 24));
    for (int i = 0; noise.size() < 4 * 4096; ++i)
        noise += char(i * 37 % 251);
    dir.Write(QStringLiteral("noise.mdb"), noise);
    struct Case {
        const char* file;
        const char* sql;
        const char* messagePart;
    } cases[] = {
        {"meters.db", "SELEC name FROM meters", "SQL error"},
        {"meters.db", "SELECT missing FROM meters", "no such column"},
        {"meters.db", "DELETE FROM meters", "readonly"},
        {"meters.db", "SELECT 1; DROP TABLE meters", "one statement"},
        {"notes.mdb", "SELECT * FROM t", "neither an SQLite nor an Access database"},
        {"broken.mdb", "SELECT * FROM t", "Access database"},
        {"noise.mdb", "SELECT * FROM t", "SQL error"},
        {"missing.db", "SELECT 1", "cannot be opened"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.sql);
        TExtStringGrid g;
        FillRows(g, {{"keep", "me"}, {"as", "I am"}});
        const QString before = GridState(g);
        const QString message = ErrorOf([&] { LoadFromMDBSQL(g, dir.File(QString::fromLatin1(k.file)), QString::fromLatin1(k.sql)); });
        EXPECT_TRUE(message.contains(QLatin1String(k.messagePart))) << message.toStdString();
        EXPECT_EQ(GridState(g), before);
    }
    // The refused statements changed nothing.
    EXPECT_EQ(PyOut("import sys, sqlite3\nprint(sqlite3.connect(sys.argv[1]).execute('SELECT count(*) FROM meters').fetchone()[0])", {file}),
              QStringLiteral("3"));
}

// A grid that records what the writers tell its export hook.
class TExportLog : public TExtStringGrid {
public:
    QStringList Log;
    void ExportNotification(int state, int row) override { Log << QStringLiteral("%1:%2").arg(state).arg(row); }
};

TEST(OfficeExport, WritersBracketTheirRowsWithTheExportStates)
{
    TempDir dir;
    TExportLog g;
    FillRows(g, {{"h", "h"}, {"a", "b"}, {"c", "d"}});
    g.SetFixedRows(1);
    g.SaveFixedCells = false;
    // The sheet from SaveStartRow (1), the document all rows.
    SaveToXLS(g, dir.File(QStringLiteral("a.xlsx")), true);
    EXPECT_EQ(g.Log, (QStringList{"0:1", "5:1", "5:2", "2:-1"}));
    g.Log.clear();
    SaveToDOC(g, dir.File(QStringLiteral("a.docx")), true);
    EXPECT_EQ(g.Log, (QStringList{"0:0", "5:0", "5:1", "5:2", "2:-1"}));
}

TEST(OfficeScale, FixedAndActiveCellFontsScaleRounded)
{
    TExtStringGrid g;
    g.FixedFont.Size = 8;
    g.ActiveCellFont.Size = 9;
    ChangeScale(g, 3, 2);
    EXPECT_EQ(g.FixedFont.Size, 12);
    EXPECT_EQ(g.ActiveCellFont.Size, 14);  // 13.5 rounds up
    ChangeScale(g, 5, 5);
    EXPECT_EQ(g.FixedFont.Size, 12);
}

}  // namespace
