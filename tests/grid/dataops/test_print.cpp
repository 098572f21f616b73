// Printing and print preview of the grid: page counts the layout predicts, texts of the pages read
// back from PDF files by pdftotext, bands, fit to page, repeated fixed rows, a row taller than a
// page, page ranges, memory page by page, and preview pages checked pixel by pixel.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <iostream>

#include "grid/dataops/GridPrint.h"
#include "platform/Exception.h"
#include "support/GoldenImage.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

using namespace grid;
using namespace grid::dataops;

namespace {

const TFontDesc PrintFontDesc{QStringLiteral("DejaVu Sans"), 10, 0, 0};

// The "gh" height of a print font in 0.1 mm: a 10-point font is 35 units high.
int GhHeight(int points = 10)
{
    QFont f(PrintFontDesc.Name);
    f.setPixelSize(int(points * 254 / 72));
    return QFontMetrics(f).height();
}

// A grid with a header row over `rows` data rows: "Name", "Qty", "Price", "Note" and
// "Item r", r, r * 3, "n" + r; print settings in fixed sizes so that the layout can be predicted.
struct TPrintGrid {
    TExtStringGrid g;
    explicit TPrintGrid(int rows, int cols = 4)
    {
        g.SetColCount(cols);
        g.SetRowCount(rows + 1);
        g.SetFixedRows(1);
        g.SetFixedCols(0);
        const char* heads[] = {"Name", "Qty", "Price", "Note"};
        for (int c = 0; c < cols; ++c)
            g.SetCells(c, 0, c < 4 ? QString(heads[c]) : QStringLiteral("Col%1").arg(c));
        for (int r = 1; r <= rows; ++r) {
            g.SetCells(0, r, QStringLiteral("Item %1").arg(r));
            for (int c = 1; c < cols; ++c)
                g.SetCells(c, r, QString::number(r * c));
        }
        TPrintSettings& ps = g.PrintSettings;
        ps.Font = ps.HeaderFont = ps.FooterFont = PrintFontDesc;
        ps.UseDisplayFont = false;
        ps.UseFixedHeight = true;
        ps.FixedHeight = 40;
        ps.RowSpacing = 10;
        ps.TitleSpacing = 20;
        ps.HeaderSize = 50;
        ps.FooterSize = 50;
        ps.LeftSize = ps.RightSize = 100;
        ps.Borders = pbSingle;
        ps.RepeatFixedRows = true;
        ps.Title = ppTopLeft;
        ps.TitleText = QStringLiteral("Stock list");
        ps.PageNr = ppBottomRight;
        ps.PageNumSep = QStringLiteral("/");
    }
};

// A4 with 10 mm margins: 1900 x 2770 in 0.1 mm.
void SetUpPdf(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

QString Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << " " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PdfPages(const QString& file)
{
    const QString info = Run("pdfinfo", {file});
    for (const QString& line : info.split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}

QString PdfPageText(const QString& file, int page)
{
    return Run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), "-layout", file, "-"});
}

// Rows of data per page for the fixed sizes above: a row fits while its bottom stays above the
// footer area; every page holds the (repeated) header row.
int PredictedRowsPerPage(int pageHeight, int points = 10, int rowHeight = 40, int rowSpacing = 10)
{
    const int gh = GhHeight(points), lm = gh / 8;
    const int headerH = lm + gh + 50;                  // one line of top items + HeaderSize
    const int footerH = 2 * (lm + gh) + 50;            // bottom items + FooterSize
    const int top = headerH + 20;                      // + TitleSpacing
    const int rh = 2 * lm + rowHeight + rowSpacing;    // LineMargins + FixedHeight + RowSpacing
    int k = 0;
    while (top + (k + 1) * rh < pageHeight - footerH)
        ++k;
    return k - 1;  // less the header row
}

long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

TEST(PrintPdf, TenThousandRowsGiveThePredictedPagesWithHeadersFootersAndRepeatedHeaderRows)
{
    TempDir dir;
    const QString pdf = dir.File("rows.pdf");
    TPrintGrid f(10000);
    // Small rows keep the page count (and the PDF engine's time) moderate.
    TPrintSettings& ps = f.g.PrintSettings;
    ps.Font.Size = ps.HeaderFont.Size = ps.FooterFont.Size = 6;
    ps.FixedHeight = 25;
    ps.RowSpacing = 0;
    TGridPrint print(f.g);
    std::vector<long> resident;
    int lastRowOnPage1 = -1;
    print.OnPrintPageDone = [&](QPainter*, int lastRow, int, int page, int, int) {
        resident.push_back(ResidentBytes());
        if (page == 1)
            lastRowOnPage1 = lastRow;
    };
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, pdf);
    print.Print(printer);

    // A4 less 10 mm margins, as the PDF engine rounds the paper to points.
    EXPECT_NEAR(print.PrintPageRect.width(), 1900, 5);
    EXPECT_NEAR(-print.PrintPageRect.height(), 2770, 5);
    const int perPage = PredictedRowsPerPage(-print.PrintPageRect.height(), 6, 25, 0);
    const int pages = (10000 + perPage - 1) / perPage;
    EXPECT_EQ(print.PrintNrOfPages, pages);
    EXPECT_EQ(PdfPages(pdf), pages);
    EXPECT_EQ(lastRowOnPage1, perPage + 1);  // the next row to print

    for (int page : {1, pages / 2, pages}) {
        const QString text = PdfPageText(pdf, page);
        EXPECT_TRUE(text.contains("Stock list")) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("%1/%2").arg(page).arg(pages))) << page;
        EXPECT_TRUE(text.contains("Name")) << page << " repeats the header row";
        const int first = (page - 1) * perPage + 1;
        EXPECT_TRUE(text.contains(QStringLiteral("Item %1\n").arg(first)) ||
                    text.contains(QStringLiteral("Item %1 ").arg(first)))
            << page;
        EXPECT_FALSE(text.contains(QStringLiteral("Item %1 ").arg(first - 1))) << page;
    }

    // Page by page the memory stays flat: nothing of a finished page is kept.
    ASSERT_EQ(int(resident.size()), pages);
    const long growth = resident.back() - resident[size_t(pages / 4)];
    if (qEnvironmentVariableIsSet("CONF_PRINT_MEMORY"))
        std::cout << "resident growth " << growth << " bytes over " << pages * 3 / 4 << " pages\n";
    EXPECT_LT(growth, 16L * 1024 * 1024) << "grew by " << growth << " bytes over " << pages * 3 / 4 << " pages";
}

TEST(PrintPdf, ARowTallerThanAPageGoesOnAnEmptyPageCutAtTheFooter)
{
    TempDir dir;
    const QString pdf = dir.File("tall.pdf");
    TPrintGrid f(3);
    f.g.PrintSettings.UseFixedHeight = false;
    f.g.Multilinecells = true;
    QStringList lines;
    for (int k = 0; k < 200; ++k)
        lines << QStringLiteral("line %1").arg(k);
    f.g.SetCells(1, 2, lines.join(QChar(13)));
    TGridPrint print(f.g);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, pdf);
    print.Print(printer);
    EXPECT_EQ(print.PrintNrOfPages, 3);
    EXPECT_EQ(PdfPages(pdf), 3);
    const QString p2 = PdfPageText(pdf, 2), p3 = PdfPageText(pdf, 3);
    EXPECT_TRUE(p2.contains("line 0"));
    EXPECT_FALSE(p2.contains("line 199")) << "cut at the footer";
    EXPECT_TRUE(p2.contains("2/3"));
    EXPECT_TRUE(p3.contains("Item 3"));
}

TEST(PrintPdf, AWideGridPrintsItsBandsOneAfterTheOtherWithBandPageNumbersAndRepeatedFixedColumns)
{
    TempDir dir;
    const QString pdf = dir.File("wide.pdf");
    TPrintGrid f(60, 12);
    f.g.SetFixedCols(1);
    f.g.PrintSettings.RepeatFixedCols = true;
    f.g.PrintSettings.UseFixedWidth = true;
    f.g.PrintSettings.FixedWidth = 300;  // 12 columns of 32 mm on 190 mm of paper
    TGridPrint print(f.g);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, pdf);
    print.Print(printer);
    const int perPage = PredictedRowsPerPage(-print.PrintPageRect.height());
    const int pagesPerBand = (60 + perPage - 1) / perPage;
    // Band 1: columns 0-5 (6 x 300 <= 1800); later bands: the fixed column and five more.
    EXPECT_EQ(print.PrintNrOfPages, 3 * pagesPerBand);
    const QString band2 = PdfPageText(pdf, pagesPerBand + 1);
    EXPECT_TRUE(band2.contains("1-2")) << band2.toStdString();
    EXPECT_TRUE(band2.contains("Item 1")) << "the fixed column repeats";
    EXPECT_TRUE(band2.contains("Col6"));
    EXPECT_FALSE(band2.contains("Note"));
    EXPECT_TRUE(PdfPageText(pdf, 1).contains("1-1"));
}

TEST(PrintPdf, SelectedRowsPrintTheFixedRowsAndTheSelectionOnly)
{
    TempDir dir;
    const QString pdf = dir.File("sel.pdf");
    TPrintGrid f(10);
    f.g.PrintSettings.FixedCellsAlways = true;
    f.g.SetSelection({0, 3, 3, 5});
    TGridPrint print(f.g);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, pdf);
    print.PrintSelectedRows(printer);
    const QString text = PdfPageText(pdf, 1);
    for (const char* shown : {"Name", "Item 3", "Item 4", "Item 5"})
        EXPECT_TRUE(text.contains(shown)) << shown;
    for (const char* left : {"Item 2", "Item 6", "Item 1 "})
        EXPECT_FALSE(text.contains(left)) << left;
}

TEST(PrintPdf, AnEmptyPageRangeFromTheStartEventPrintsNothing)
{
    TempDir dir;
    const QString pdf = dir.File("none.pdf");
    TPrintGrid f(300);
    TGridPrint print(f.g);
    int told = 0;
    print.OnPrintStart = [&](int pages, int& from, int& to) {
        told = pages;
        from = 3;
        to = 2;
    };
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, pdf);
    print.Print(printer);
    EXPECT_GT(told, 1);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(PrintPdf, ANewPageAskedForAtARowStartsTheNextPageAfterIt)
{
    TempDir dir;
    const QString pdf = dir.File("newpage.pdf");
    TPrintGrid f(10);
    TGridPrint print(f.g);
    print.OnPrintNewPage = [](int row, bool& newPage) { newPage = row == 5; };
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, pdf);
    print.Print(printer);
    EXPECT_EQ(PdfPages(pdf), 2);
    EXPECT_TRUE(PdfPageText(pdf, 1).contains("Item 4"));
    EXPECT_TRUE(PdfPageText(pdf, 2).contains("Item 5"));
    EXPECT_FALSE(PdfPageText(pdf, 1).contains("Item 5"));
}

// Column widths after a preview layout for each fit mode.
TEST(PrintFit, ShrinkGrowAlwaysAndACustomRefusal)
{
    const struct {
        TFitToPage Fit;
        int Cols;
        bool Scaled;
        bool Allow;
        int Margins = 100;
    } cases[] = {
        {fpShrink, 2, false, true},  // narrow: unchanged
        {fpShrink, 12, true, true},  // wide: shrunk
        {fpGrow, 12, false, true},   // wide: unchanged
        {fpGrow, 2, true, true},     // narrow: grown
        {fpAlways, 2, true, true},
        {fpAlways, 12, true, true},
        {fpCustom, 12, false, false},
        {fpCustom, 12, true, true},
        {fpAlways, 2, false, true, 1500},  // margins wider than the page: no negative scale
    };
    for (const auto& tc : cases) {
        TPrintGrid f(5, tc.Cols);
        f.g.PrintSettings.UseFixedWidth = true;
        f.g.PrintSettings.FixedWidth = 300;
        f.g.PrintSettings.FitToPage = tc.Fit;
        f.g.PrintSettings.LeftSize = f.g.PrintSettings.RightSize = tc.Margins;
        TGridPrint print(f.g);
        print.OnFitToPage = [&](double&, bool& allow) { allow = tc.Allow; };
        QImage img(794, 1123, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        print.PrintPreview(p, img.rect());
        const int width = f.g.PrintColWidths[0];
        EXPECT_EQ(width != 300, tc.Scaled) << int(tc.Fit) << " " << tc.Cols << " width " << width;
        if (tc.Scaled) {
            // The columns then fill the page between the margins (2100 - 200 wide at 96 dpi).
            const int sum = width * tc.Cols;
            EXPECT_NEAR(sum, print.PrintPageRect.width() - 2 * tc.Margins, tc.Cols) << int(tc.Fit);
        }
    }
}

// A preview page: A4 at 96 dpi, table at LeftSize 200 and HeaderSize 100, columns of 300 units.
struct TPreviewPage {
    TPrintGrid f{40, 3};
    TGridPrint print{f.g};
    QImage img{794, 1123, QImage::Format_RGB32};
    TPreviewPage()
    {
        TPrintSettings& ps = f.g.PrintSettings;
        ps.Centered = false;
        ps.LeftSize = 200;
        ps.HeaderSize = 100;
        ps.TitleSpacing = 0;
        ps.Title = ppNone;
        ps.PageNr = ppBottomCenter;
        ps.UseFixedWidth = true;
        ps.FixedWidth = 300;
        ps.FixedHeight = 60;
        ps.RowSpacing = 0;
        ps.BorderColor = 0;
        f.g.OnGetCellPrintColor = [](TExtStringGrid*, int r, int c, TGridDrawState, TColor& brush, TFontDesc&) {
            if (r == 2 && c == 1)
                brush = 0x0000FF;  // red
        };
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
    }
    void Draw(int page)
    {
        img.fill(Qt::white);
        print.SetPreviewPage(page);
        QPainter p(&img);
        print.PrintPreview(p, img.rect());
    }
    static int Px(double units) { return int(units * 96.0 / 254.0 + 0.5); }
    int RowH() const { return 2 * (GhHeight() / 8) + 60; }
};

TEST(PrintPreview, APageDrawsTheTableWhereTheLayoutPutsIt)
{
    TPreviewPage v;
    v.Draw(1);
    const int rh = v.RowH();
    // The red cell (column 1, row 2): x 500 ... 800, y from -(100 + 2 rh) down one row.
    const QColor inside = v.img.pixelColor(TPreviewPage::Px(650), TPreviewPage::Px(100 + 2.5 * rh));
    EXPECT_EQ(inside, QColor(255, 0, 0));
    EXPECT_EQ(v.img.pixelColor(TPreviewPage::Px(350), TPreviewPage::Px(100 + 2.5 * rh)), QColor(Qt::white));
    // The left edge of the table at LeftSize; nothing left of it.
    const int y = TPreviewPage::Px(100 + 3.5 * rh);
    EXPECT_EQ(v.img.pixelColor(TPreviewPage::Px(150), y), QColor(Qt::white));
    int dark = 0;
    for (int x = TPreviewPage::Px(200) - 2; x <= TPreviewPage::Px(200) + 1; ++x)
        dark += qGray(v.img.pixel(x, y)) < 128;
    EXPECT_GT(dark, 0) << "a border line at the table's left edge";
    // The table's right edge: three columns of 300 from 200.
    EXPECT_EQ(v.img.pixelColor(TPreviewPage::Px(1100) + 3, y), QColor(Qt::white));
    EXPECT_TRUE(testsupport::MatchesGolden(v.img, TEST_DATA_DIR "/golden/print_preview_page1.png"));
}

TEST(PrintPreview, PreviewPageTwoDrawsOnlyThatPageWithTheHeaderRowRepeated)
{
    TPreviewPage v;
    std::vector<int> drawn;
    v.print.OnPrintPageDone = [&](QPainter*, int, int, int page, int, int) { drawn.push_back(page); };
    v.Draw(2);
    EXPECT_EQ(drawn, std::vector<int>{2});
    EXPECT_GT(v.print.PrintNrOfPages, 1);
    // Page 2 shows no red cell (row 2 is on page 1).
    const int rh = v.RowH();
    EXPECT_EQ(v.img.pixelColor(TPreviewPage::Px(650), TPreviewPage::Px(100 + 2.5 * rh)), QColor(Qt::white));
    EXPECT_TRUE(testsupport::MatchesGolden(v.img, TEST_DATA_DIR "/golden/print_preview_page2.png"));
}

TEST(PrintPreview, APreviewWidgetShowsEveryPageOfThePrintJob)
{
    TPrintGrid f(200);
    TGridPrint print(f.g);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QPrintPreviewWidget preview(&printer);
    print.ConnectPreview(preview);
    preview.resize(600, 800);
    preview.show();
    preview.updatePreview();
    const int perPage = PredictedRowsPerPage(-print.PrintPageRect.height());
    EXPECT_EQ(preview.pageCount(), (200 + perPage - 1) / perPage);
}

}  // namespace

namespace {

TEST(PrintCells, RowHeightsAndCellSizesOnPaper)
{
    TPrintGrid f(3);
    f.g.PrintSettings.UseFixedHeight = false;
    f.g.Multilinecells = true;
    f.g.SetCells(0, 2, "one");
    f.g.SetCells(1, 2, "a\rb\rc");
    f.g.SetCells(2, 2, "x\ry");
    for (int c = 0; c < 4; ++c)
        f.g.SetCells(c, 3, QString());
    f.g.SetCells(3, 1, "turned");
    TGridPrint print(f.g);
    print.FPrintRect = {0, 0, 3, 3};
    const int gh = GhHeight();
    EXPECT_EQ(print.PrintRowHeight(3), gh + gh / 8) << "an empty row is one line high";
    EXPECT_EQ(print.PrintRowHeight(2), 3 * gh + 3 * gh / 8) << "the tallest cell has three lines";
    f.g.Multilinecells = false;
    EXPECT_EQ(print.PrintRowHeight(1), gh + gh / 8);
    const TPoint flat = print.PrintMeasureCell(3, 1);
    f.g.SetRotated(3, 1, 90);
    const TPoint turned = print.PrintMeasureCell(3, 1);
    EXPECT_EQ(turned.X, flat.Y);
    EXPECT_EQ(turned.Y, flat.X);
}

TEST(PrintCells, WithoutAutoSizeColumnsTakeTheirScreenWidths)
{
    TPrintGrid f(3);
    f.g.PrintSettings.NoAutoSize = true;
    f.g.SetColWidths(1, 100);
    TGridPrint print(f.g);
    print.FPrintRect = {0, 0, 3, 3};
    print.CalcPrintColumnWidths();
    const double px = 254.0 / f.g.logicalDpiX();
    EXPECT_EQ(f.g.PrintColWidths[0], int(std::nearbyint(64 * px)));
    EXPECT_EQ(f.g.PrintColWidths[1], int(std::nearbyint(100 * px)));
}

// Dark pixels in a rectangle of a preview page.
int DarkPixels(const QImage& img, const QRect& r)
{
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(img.pixel(x, y)) < 100;
    return dark;
}

TEST(PrintCells, BordersAndDataCheckBoxes)
{
    // Column 1 of the preview page lies between 500 and 800 (x), the rows 60 + 2 LineMargins high.
    const struct {
        const char* Name;
        TPrintBorders Borders;
        bool Graphics;
        bool VerticalLine, CheckBox;
    } cases[] = {
        {"single", pbSingle, false, true, false},
        {"horizontal lines only", pbHorizontal, false, false, false},
        {"check box printed", pbHorizontal, true, false, true},
    };
    for (const auto& tc : cases) {
        TPreviewPage v;
        v.f.g.AddCheckBox(1, 3, true, true);  // a data check box over the text "3"
        v.f.g.SetCells(1, 3, v.f.g.CheckTrue);
        v.f.g.PrintSettings.Borders = tc.Borders;
        v.f.g.PrintSettings.PrintGraphics = tc.Graphics;
        v.Draw(1);
        const int rh = v.RowH();
        const int rowTop = TPreviewPage::Px(100 + 3 * rh), rowBottom = TPreviewPage::Px(100 + 4 * rh);
        // The line between columns 1 and 2 (x = 800), halfway down row 4.
        const int mid = TPreviewPage::Px(100 + 4.5 * rh);
        EXPECT_EQ(DarkPixels(v.img, QRect(TPreviewPage::Px(800) - 2, mid, 4, 1)) > 0, tc.VerticalLine) << tc.Name;
        // Inside cell (1, 3), off its edges: no text; a check box only with graphics printed.
        const QRect inside(QPoint(TPreviewPage::Px(500) + 2, rowTop + 2), QPoint(TPreviewPage::Px(800) - 3, rowBottom - 3));
        EXPECT_EQ(DarkPixels(v.img, inside) > 0, tc.CheckBox) << tc.Name;
    }
}

}  // namespace

namespace {

TEST(PrintPdf, FastPrintDrawsFromTheFirstPageWithoutAPageTotal)
{
    TempDir dir;
    const QString pdf = dir.File("fast.pdf");
    TPrintGrid f(300);
    TGridPrint print(f.g);
    print.FastPrint = true;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, pdf);
    print.Print(printer);
    const QString text = PdfPageText(pdf, 1);
    EXPECT_TRUE(text.contains("Item 1")) << text.toStdString();
    EXPECT_FALSE(text.contains("/")) << "no page total is known";
}

}  // namespace

namespace {

TEST(PrintCells, ACellMergedOverTwoColumnsIsOneRectangleWithoutALineBetween)
{
    TPreviewPage v;
    ASSERT_TRUE(v.f.g.MergeCells(1, 2, 2, 1));  // the red cell (1, 2) over columns 1 and 2
    v.Draw(1);
    const int y = TPreviewPage::Px(100 + 2.5 * v.RowH());
    EXPECT_EQ(v.img.pixelColor(TPreviewPage::Px(950), y), QColor(255, 0, 0));
    for (int x = TPreviewPage::Px(800) - 2; x <= TPreviewPage::Px(800) + 2; ++x)
        EXPECT_EQ(v.img.pixelColor(x, y), QColor(255, 0, 0)) << "no line at x " << x;
    EXPECT_GT(DarkPixels(v.img, QRect(TPreviewPage::Px(1100) - 2, y, 5, 1)), 0) << "the area's right edge";
}

}  // namespace

namespace {

TEST(PrintDraw, PageOneDrawsInsideTheGivenRectangleOnly)
{
    TPreviewPage v;
    QImage img(500, 400, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.fill(Qt::white);
    const QRect area(50, 40, 300, 200);
    {
        QPainter p(&img);
        v.print.PrintDraw(p, area);
    }
    EXPECT_EQ(v.print.PrintNrOfPages, 1);
    EXPECT_EQ(v.print.PrintPageRect.width(), int(std::nearbyint(300 * 254.0 / 96)));
    const int inside = DarkPixels(img, area);
    const int all = DarkPixels(img, img.rect());
    EXPECT_GT(inside, 0);
    EXPECT_EQ(all, inside) << "nothing is drawn outside the rectangle";
    // The table's left edge at LeftSize from the rectangle's left.
    const int y = 40 + TPreviewPage::Px(100 + 1.5 * v.RowH());
    EXPECT_GT(DarkPixels(img, QRect(50 + TPreviewPage::Px(200) - 2, y, 4, 1)), 0);
}

}  // namespace

namespace {

TEST(PrintPdf, APageRangeFromTheStartEventAndTitleLinesAtTheTop)
{
    TempDir dir;
    const QString pdf = dir.File("range.pdf");
    TPrintGrid f(300);
    f.g.PrintSettings.TitleText.clear();
    f.g.PrintSettings.Title = ppTopCenter;
    f.g.PrintSettings.TitleLines = QStringList{"Plant A", "Meter list"};
    TGridPrint print(f.g);
    int total = 0;
    print.OnPrintStart = [&](int pages, int& from, int& to) {
        total = pages;
        from = 2;
        to = 3;
    };
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, pdf);
    print.Print(printer);
    ASSERT_GT(total, 3);
    EXPECT_EQ(PdfPages(pdf), 2);
    const QString first = PdfPageText(pdf, 1);
    EXPECT_TRUE(first.contains(QStringLiteral("2/%1").arg(total))) << first.toStdString();
    EXPECT_TRUE(first.contains("Plant A") && first.contains("Meter list"));
    EXPECT_LT(first.indexOf("Plant A"), first.indexOf("Meter list"));
    EXPECT_LT(first.indexOf("Meter list"), first.indexOf("Name"));
    EXPECT_TRUE(PdfPageText(pdf, 2).contains(QStringLiteral("3/%1").arg(total)));
}

}  // namespace
