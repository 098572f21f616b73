#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include "DataOpsSuite.h"
#include "FilesSupport.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

#include <QDir>
#include "grid/dataops/GridBinCells.h"
#include "grid/dataops/GridClipboardOps.h"
#include "grid/editing/GridDragDrop.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// A grid of the program's layers, 4 data columns and 6 data rows under one fixed row and column.
struct TClipGrid {
    TExtStringGrid g;
    explicit TClipGrid(bool fmt = false)
    {
        g.SetLayers(FullLayers());
        g.SetColCount(5);
        g.SetRowCount(7);
        g.Options |= goEditing | goRangeSelect;
        g.Navigation.AllowFmtClipboard = fmt;
        for (int r = 1; r < 7; ++r)
            for (int c = 1; c < 5; ++c)
                g.SetCells(c, r, QStringLiteral("%1%2").arg(QChar('a' + c - 1)).arg(r));
    }
    TGridClipboard& clip() { return DataOps(g)->Clipboard; }
    void select(int l, int t, int r, int b) { g.SetSelection({l, t, r, b}); }
    QStringList column(int c, int from, int to)
    {
        QStringList out;
        for (int r = from; r <= to; ++r)
            out << g.Cells(c, r);
        return out;
    }
};

void SetClipboard(QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); }
void SetClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

}  // namespace

TEST(ClipboardText, RectanglesRowsAndMultiLineCells)
{
    TClipGrid f;
    struct TCase {
        TGridRect Rect;
        QString Text;
    };
    const TCase cases[] = {
        {{1, 1, 2, 2}, QStringLiteral("a1\tb1\r\na2\tb2\r\n")},
        {{1, 3, 3, 3}, QStringLiteral("a3\tb3\tc3")},  // one row: no line end at all
        {{2, 2, 1, 1}, QStringLiteral("a1\tb1\r\na2\tb2\r\n")},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(f.clip().RectToClipboardText(c.Rect, false), c.Text);
    EXPECT_EQ(f.clip().ClipTopLeft(), (TPoint{1, 1}));

    f.g.SetCells(1, 1, QStringLiteral("x\r\ny"));
    EXPECT_EQ(f.clip().RectToClipboardText({1, 1, 1, 1}, false), QStringLiteral("\"x\n\ny\""));
    // Pasted back, the two LFs are what the cell holds.
    f.select(3, 4, 3, 4);
    SetClipboardText(QStringLiteral("\"x\n\ny\""));
    f.clip().PasteSelectionFromClipboard();
    EXPECT_EQ(f.g.Cells(3, 4), QStringLiteral("x\n\ny"));
    EXPECT_EQ(f.g.Cells(3, 5), QStringLiteral("c5"));
}

TEST(ClipboardText, DisjunctRowSelectionCopiesTheSelectedRowsOverAllColumns)
{
    TClipGrid f;
    f.g.MouseActions.SetDisjunctRowSelect(true);
    f.g.SetRowSelect(2, true);
    f.g.SetRowSelect(5, true);
    f.select(1, 1, 1, 1);
    f.clip().CopySelectionToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("a2\tb2\tc2\td2\r\na5\tb5\tc5\td5\r\n"));
}

TEST(ClipboardText, PasteTextBlockCountsLinesAndGrows)
{
    struct TCase {
        const char* Name;
        QString Text;
        TClipboardPasteAction Action;
        int Lines, Fields, Result, RowCount;
    };
    const TCase cases[] = {
        {"final line break adds an empty line", QStringLiteral("1\t2\r\n3\t4\r\n"), paReplace, 3, 1, 5, 7},
        {"insert makes no row for the empty line", QStringLiteral("1\t2\r\n3\t4\r\n"), paInsert, 3, 1, 5, 9},
        {"lone LF ends a line as well", QStringLiteral("1\n2"), paReplace, 2, 1, 2, 7},
        {"grows rows at the bottom", QStringLiteral("p\r\nq\r\nr"), paReplace, 3, 1, 3, 8},
    };
    for (const TCase& c : cases) {
        TClipGrid f;
        f.g.Navigation.ClipboardPasteAction = c.Action;
        int lines = 0, fields = 0;
        const int row = QString::fromLatin1(c.Name).startsWith(QLatin1String("grows")) ? 5 : 2;
        EXPECT_EQ(f.clip().PasteTextBlock(1, row, c.Text, lines, fields), c.Result) << c.Name;
        EXPECT_EQ(lines, c.Lines) << c.Name;
        EXPECT_EQ(fields, c.Fields) << c.Name;
        EXPECT_EQ(f.g.RowCount(), c.RowCount) << c.Name;
        EXPECT_EQ(f.g.Cells(1, row), QString(c.Text.at(0))) << c.Name;
    }
    int cols = 0, rows = 0;
    TGridClipboard::MeasureTextBlock(QStringLiteral("a\tb\tc\r\nd\r\n"), cols, rows);
    EXPECT_EQ(cols, 3);
    EXPECT_EQ(rows, 1);
}

TEST(ClipboardText, ReadOnlyCellsKeepTheirTextOnPasteAndCut)
{
    TClipGrid f;
    f.g.GetCellProperties(2, 2)->ReadOnly = true;
    f.select(1, 2, 2, 2);
    SetClipboardText(QStringLiteral("X\tY"));
    f.clip().PasteSelectionFromClipboard();
    EXPECT_EQ(f.g.Cells(1, 2), QStringLiteral("X"));
    EXPECT_EQ(f.g.Cells(2, 2), QStringLiteral("b2"));
    f.select(1, 2, 2, 3);
    f.clip().CutSelectionToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("X\tb2\r\na3\tb3\r\n"));
    EXPECT_EQ(f.column(1, 2, 3), (QStringList{"", ""}));
    EXPECT_EQ(f.column(2, 2, 3), (QStringList{"b2", ""}));
    f.g.Navigation.AllowClipboardAlways = true;
    f.clip().CutSelectionToClipboard();
    EXPECT_EQ(f.g.Cells(2, 2), QString());
}

TEST(ClipboardText, ValidatorRefusesSingleCells)
{
    TClipGrid f;
    f.clip().Validate = [](int realCol, int, QString& value) {
        value = value.toUpper();
        return realCol != 2;
    };
    f.select(1, 1, 1, 1);
    SetClipboardText(QStringLiteral("x\ty\tz"));
    f.clip().PasteSelectionFromClipboard();
    EXPECT_EQ(f.g.Cells(1, 1), QStringLiteral("X"));
    EXPECT_EQ(f.g.Cells(2, 1), QStringLiteral("b1"));
    EXPECT_EQ(f.g.Cells(3, 1), QStringLiteral("Z"));
}

TEST(ClipboardOwnFormat, PreferredOverTextAndCarriesProperties)
{
    TClipGrid src(true);
    src.g.GetCellProperties(2, 2)->SetBrushColor(0x00ABCDEF);
    src.select(1, 1, 2, 2);
    src.clip().CopySelectionToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(MimeGridCellsFormat)));
    EXPECT_EQ(data->text(), QStringLiteral("a1\tb1\r\na2\tb2\r\n"));

    TClipGrid dst(true);
    dst.select(3, 4, 3, 4);
    dst.clip().PasteSelectionFromClipboard();
    EXPECT_EQ(dst.g.Cells(3, 4), QStringLiteral("a1"));
    EXPECT_EQ(dst.g.Cells(4, 5), QStringLiteral("b2"));
    ASSERT_TRUE(dst.g.CellProps(4, 5));
    EXPECT_EQ(dst.g.CellProps(4, 5)->BrushColor(), 0x00ABCDEFu);

    // Without the own format on the target the text is pasted, and no properties.
    TClipGrid plain(false);
    plain.select(3, 4, 3, 4);
    plain.clip().PasteSelectionFromClipboard();
    EXPECT_EQ(plain.g.Cells(4, 5), QStringLiteral("b2"));
    EXPECT_FALSE(plain.g.CellProps(4, 5));
}

TEST(ClipboardOwnFormat, GrowsTheGridAndReadsOnlyToTheLastRecord)
{
    TClipGrid src(true);
    src.select(1, 1, 3, 3);
    std::unique_ptr<QMimeData> data = src.clip().RectMimeData({1, 1, 3, 3}, false);
    QByteArray block = data->data(QString::fromLatin1(MimeGridCellsFormat));
    block.append(QByteArray(13, '\x55'));  // a block longer than its stream
    data->setData(QString::fromLatin1(MimeGridCellsFormat), block);
    TClipGrid dst(true);
    int rows = 0, cols = 0;
    EXPECT_EQ(dst.clip().PasteDataAt(data.get(), 3, 5, rows, cols), 9);
    EXPECT_EQ(dst.g.ColCount(), 6);
    EXPECT_EQ(dst.g.RowCount(), 8);
    EXPECT_EQ(cols, 6);
    EXPECT_EQ(rows, 8);
    EXPECT_EQ(dst.g.Cells(5, 7), QStringLiteral("c3"));
}

TEST(ClipboardOwnFormat, AHostileBlockChangesNothingNotEvenTheSize)
{
    TClipGrid src(true);
    std::unique_ptr<QMimeData> data = src.clip().RectMimeData({1, 1, 4, 6}, false);
    QByteArray block = data->data(QString::fromLatin1(MimeGridCellsFormat));
    block.chop(5);
    data->setData(QString::fromLatin1(MimeGridCellsFormat), block);
    TClipGrid dst(true);
    const QString before = GridSnapshot(dst.g);
    int rows = 0, cols = 0;
    EXPECT_THROW(dst.clip().PasteDataAt(data.get(), 3, 5, rows, cols), EExtGridError);
    EXPECT_EQ(GridSnapshot(dst.g), before);
}

TEST(ClipboardRichText, OneCellReportedButNoneCounted)
{
    TClipGrid f;
    f.g.Navigation.AllowRTFClipboard = true;
    f.g.Navigation.AllowSmartClipboard = true;
    const QString rtf = QStringLiteral("{\\rtf1 hi}");
    f.g.SetCells(1, 1, rtf);
    std::unique_ptr<QMimeData> data = f.clip().RectMimeData({1, 1, 1, 1}, false);
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(MimeRichTextFormat)));
    int rows = 0, cols = 0;
    EXPECT_EQ(f.clip().PasteDataAt(data.get(), 2, 2, rows, cols), 0);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(f.g.Cells(2, 2), rtf);
    // The smart fill does not spread it over the selection.
    SetClipboard(data.release());
    f.select(3, 2, 3, 4);
    f.clip().PasteSelectionFromClipboard();
    EXPECT_EQ(f.column(3, 2, 4), (QStringList{rtf, "c3", "c4"}));
}

TEST(ClipboardSmart, SeriesAndSingleValueFill)
{
    struct TCase {
        const char* Name;
        QString Clip;
        TGridRect Sel;
        QStringList Column;
    };
    const TCase cases[] = {
        {"integer series", QStringLiteral("1\r\n3\r\n"), {2, 1, 2, 5}, {"1", "3", "5", "7", "9"}},
        {"single value fills", QStringLiteral("v"), {2, 2, 2, 4}, {"b1", "v", "v", "v", "b5"}},
        {"repeat of texts", QStringLiteral("x\r\ny\r\n"), {2, 1, 2, 5}, {"x", "y", "x", "y", "x"}},
        {"block filling the selection ends there", QStringLiteral("p\r\nq\r\n"), {2, 1, 2, 2},
         {"p", "q", "b3", "b4", "b5"}},
    };
    for (const TCase& c : cases) {
        TClipGrid f;
        f.g.Navigation.AllowSmartClipboard = true;
        SetClipboardText(c.Clip);
        f.select(c.Sel.Left, c.Sel.Top, c.Sel.Right, c.Sel.Bottom);
        f.clip().PasteSelectionFromClipboard();
        EXPECT_EQ(f.column(2, 1, 5), c.Column) << c.Name;
    }
    TClipGrid f;
    f.g.Navigation.AllowSmartClipboard = true;
    const QChar dec = QLocale().decimalPoint().at(0);
    SetClipboardText(QStringLiteral("1") + dec + QStringLiteral("0\r\n1") + dec + QStringLiteral("5\r\n"));
    f.select(2, 1, 2, 4);
    f.clip().PasteSelectionFromClipboard();
    EXPECT_EQ(f.column(2, 1, 4), (QStringList{"1.00", "1.50", "2.00", "2.50"}));
}

// Ctrl+C and Ctrl+V through the grid's keyboard handling reach the data operations' clipboard.
TEST(ClipboardKeys, CopyAndPasteThroughTheKeyboard)
{
    TClipGrid f(true);
    f.g.Navigation.AllowClipboardShortCuts = true;
    f.g.resize(400, 300);
    f.g.show();
    f.g.GetCellProperties(1, 1)->FontStyle = fsItalic;
    f.select(1, 1, 2, 2);
    QTest::keyClick(&f.g, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(MimeGridCellsFormat)));
    f.g.MoveColRow(3, 4);
    f.select(3, 4, 3, 4);
    QTest::keyClick(&f.g, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.g.Cells(3, 4), QStringLiteral("a1"));
    EXPECT_EQ(f.g.Cells(4, 5), QStringLiteral("b2"));
    ASSERT_TRUE(f.g.CellProps(3, 4));
    EXPECT_EQ(f.g.CellProps(3, 4)->FontStyle, fsItalic);
}

// The own cells keep to what may be edited and pass the validation, as pasted text does.
TEST(ClipboardOwnFormat, ReadOnlyAndRefusedCellsAreLeftOut)
{
    TClipGrid src(true);
    std::unique_ptr<QMimeData> data = src.clip().RectMimeData({1, 1, 2, 2}, false);
    TClipGrid dst(true);
    dst.g.GetCellProperties(3, 3)->ReadOnly = true;
    dst.clip().Validate = [](int realCol, int, QString& value) {
        value += QLatin1Char('!');
        return realCol != 4;
    };
    int rows = 0, cols = 0;
    dst.clip().PasteDataAt(data.get(), 3, 3, rows, cols);
    EXPECT_EQ(dst.g.Cells(3, 3), QStringLiteral("c3"));   // read-only
    EXPECT_EQ(dst.g.Cells(4, 3), QStringLiteral("d3"));   // refused
    EXPECT_EQ(dst.g.Cells(3, 4), QStringLiteral("a2!"));  // changed by the validation
    EXPECT_TRUE(dst.g.CellProps(3, 3)->ReadOnly);
}

TEST(ClipboardHtml, TheTableGoesAsHtmlWithoutPictureFiles)
{
    TClipGrid f;
    f.g.CreateBitmap(1, 1, false, haLeft, vaTop)->Image = QImage(4, 4, QImage::Format_RGB32);
    const QString cwd = QDir::currentPath();
    TempDir dir;
    QDir::setCurrent(dir.Path());
    f.clip().CopyToClipBoardAsHTML();
    QDir::setCurrent(cwd);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->html().contains(QStringLiteral(">d6</td>")));
    EXPECT_FALSE(data->html().contains(QStringLiteral("<img")));
    EXPECT_FALSE(QDir(dir.File(QStringLiteral("images"))).exists());
    EXPECT_TRUE(f.g.HTMLSettings.ExportImages);
}

TEST(ClipboardText, CutOfTheSaveRangeEmptiesItsEditableCells)
{
    TClipGrid f;
    f.g.SaveFixedCells = false;
    f.g.GetCellProperties(2, 3)->ReadOnly = true;
    f.g.SetCells(0, 1, QStringLiteral("h"));
    f.clip().CutToClipboard();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("a1\tb1\tc1\td1\r\n")));
    EXPECT_EQ(f.clip().ClipLastOp(), coCut);
    EXPECT_EQ(f.g.Cells(1, 1), QString());
    EXPECT_EQ(f.g.Cells(2, 3), QStringLiteral("b3"));
    EXPECT_EQ(f.g.Cells(0, 1), QStringLiteral("h"));  // fixed cells are no part of the range
}

TEST(ClipboardSmart, DateSeriesContinuesByTheStepBetweenTheFirstTwo)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // short dates dd.MM.yy
    TClipGrid f;
    f.g.Navigation.AllowSmartClipboard = true;
    SetClipboardText(QStringLiteral("30.01.24\r\n31.01.24\r\n"));
    f.select(2, 1, 2, 4);
    f.clip().PasteSelectionFromClipboard();
    const QStringList column = f.column(2, 1, 4);
    QLocale::setDefault(saved);
    EXPECT_EQ(column, (QStringList{"30.01.24", "31.01.24", "01.02.24", "02.02.24"}));
}

TEST(ClipboardText, SelectionAsTextWritesRawAndGrows)
{
    TClipGrid f;
    f.select(3, 6, 3, 6);
    f.clip().SetSelectionAsText(QStringLiteral("p\tq\tr\r\ns\r\nt"));
    EXPECT_EQ(f.g.ColCount(), 6);
    EXPECT_EQ(f.g.RowCount(), 9);
    EXPECT_EQ(f.g.Cells(5, 6), QStringLiteral("r"));
    EXPECT_EQ(f.g.Cells(3, 8), QStringLiteral("t"));
    f.select(3, 6, 5, 6);
    EXPECT_EQ(f.clip().GetSelectionAsText(), QStringLiteral("p\tq\tr"));
}

// Cells dragged between two grids of the program's layers travel in the binary cell format, with
// their properties.
TEST(DragStream, CellsTravelWithTheirProperties)
{
    TClipGrid src(true), dst(true);
    src.g.GetCellProperties(1, 1)->FontStyle = fsUnderline;
    const std::vector<uint8_t> stream = editing::SaveRectToBinStream(src.g, {1, 1, 2, 2});
    ASSERT_GE(stream.size(), 4u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(stream.data()), 4), QByteArray("TPF0"));
    EXPECT_TRUE(editing::LoadAtPointFromBinStream(dst.g, 3, 3, stream));
    EXPECT_EQ(dst.g.Cells(4, 4), QStringLiteral("b2"));
    ASSERT_TRUE(dst.g.CellProps(3, 3));
    EXPECT_EQ(dst.g.CellProps(3, 3)->FontStyle, fsUnderline);
    std::vector<uint8_t> cut = stream;
    cut.resize(cut.size() - 3);
    const QString before = GridSnapshot(dst.g);
    EXPECT_FALSE(editing::LoadAtPointFromBinStream(dst.g, 1, 1, cut));
    EXPECT_EQ(GridSnapshot(dst.g), before);
}
