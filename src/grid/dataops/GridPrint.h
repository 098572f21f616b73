#pragma once
#include <QFont>
#include <QFontMetrics>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRect>
#include <QString>
#include <functional>

#include "grid/core/ExtStringGrid.h"

class QPainter;

namespace grid::dataops {

// The page engine's modes: drawing a preview, drawing on a printer (or a given canvas), counting
// pages for printing, counting pages for a preview. Counting lays out everything, draws nothing
// and fires no page events.
enum TPrintMode { pmPreview = 0, pmDraw = 1, pmCountPrint = 2, pmCountPreview = 3 };

// A canvas in the printing's metric mapping: one unit is 0.1 mm, x grows to the right, y upward
// with the page top at 0. Drawing goes to a painter scaled from those units to its device; in the
// counting modes there is no painter and only fonts are measured. Fonts are measured in logical
// units independently of the device, so that a printed page and its preview lay out alike.
class TPrintCanvas {
public:
    // No painter: measuring only.
    TPrintCanvas() = default;
    // A painter already mapped from 0.1 mm to its device of dpiX by dpiY dots per inch.
    TPrintCanvas(QPainter* painter, double dpiX, double dpiY);

    QPainter* Painter() const { return FPainter; }
    double DpiX() const { return FDpiX; }
    double DpiY() const { return FDpiY; }
    // Font height in logical units (the mapped height; negative values are taken by size).
    void SetFont(const TFontDesc& font, int height);
    const QFont& Font() const { return FFont; }
    const QFontMetrics& Metrics() const { return FMetrics; }
    int TextWidth(const QString& text) const;
    int TextHeight() const;
    // Text with its top left corner at logical (x, y).
    void TextOut(int x, int y, const QString& text, TColor color);
    // One line turned by `angle` degrees (counter-clockwise), centred on logical (cx, cy).
    void RotatedText(int cx, int cy, int angle, const QString& text, TColor color);
    // Word-wrapped text inside the logical rectangle from (left, top) to (right, bottom).
    void WrappedText(int left, int top, int right, int bottom, const QString& text, TColor color, TAlignment align);
    void FillRect(int left, int top, int right, int bottom, TColor color);
    void Line(int x1, int y1, int x2, int y2, TColor color, int width, platform::TPenStyle style);
    // Clips to a logical rectangle (y top above bottom) within the current clip; ClearClip ends it
    // (each Clip is paired with one ClearClip).
    void Clip(int left, int top, int right, int bottom);
    void ClearClip();

private:
    QRectF Rect(int left, int top, int right, int bottom) const;
    QPainter* FPainter = nullptr;
    double FDpiX = 254, FDpiY = 254;
    QFont FFont;
    QFontMetrics FMetrics{FFont};
};

// Printing and print preview of a grid: the grid prints itself, or a rectangle of itself, on a
// printer, and draws the same pages into any painter for a preview. Column widths, x positions,
// the page range and the font scale live on the grid (PrintColWidths, PrintColOffsets,
// PrintPageFrom, PrintPageTo, Fontscalefactor); the rest of the last layout here.
class TGridPrint {
public:
    explicit TGridPrint(TExtStringGrid& grid) : Grid(grid) {}
    TExtStringGrid& Grid;

    // Print jobs on a printer (a PDF file in tests): the whole grid, the selection, a rectangle,
    // the selected rows or columns. A printer that cannot be started raises an Exception.
    // What touches the printer object itself is written here, in the code that prints, so that
    // only a program that prints loads the print support library.
    void Print(QPrinter& printer) { DoPrint(printer, WholeGrid(), false); }
    void PrintSelection(QPrinter& printer) { DoPrint(printer, Grid.Selection(), false); }
    void PrintRect(QPrinter& printer, const TGridRect& gridRect) { DoPrint(printer, gridRect, false); }
    void PrintSelectedRows(QPrinter& printer) { DoPrint(printer, WholeGrid(), true); }
    void PrintSelectedCols(QPrinter& printer) { PrintSelectedRows(printer); }
    void DoPrint(QPrinter& printer, const TGridRect& gridRect, bool selectedOnly)
    {
        printer.setDocName(Grid.PrintSettings.JobName);
        PrintJob(printer, gridRect, selectedOnly);
    }
    TGridRect WholeGrid() const;
    // The job on a paged device at its resolution.
    void PrintJob(QPagedPaintDevice& device, const TGridRect& gridRect, bool selectedOnly);

    // Previews draw the page PreviewPage names into displayRect (device pixels) of the painter.
    void PrintPreview(QPainter& painter, const QRect& displayRect);
    void PrintPreviewRect(QPainter& painter, const QRect& displayRect, const TGridRect& gridRect);
    void PrintPreviewSelection(QPainter& painter, const QRect& displayRect);
    void PrintPreviewSelectedRows(QPainter& painter, const QRect& displayRect);
    void PrintPreviewSelectedCols(QPainter& painter, const QRect& displayRect)
    {
        PrintPreviewSelectedRows(painter, displayRect);
    }
    void DoPrintPreview(QPainter& painter, const QRect& displayRect, bool selectedOnly, const TGridRect& gridRect);
    // Page 1 of the grid (or a rectangle) drawn into drawRect of the painter.
    void PrintDraw(QPainter& painter, const QRect& drawRect);
    void PrintDrawRect(QPainter& painter, const QRect& drawRect, const TGridRect& gridRect);
    // The page the next preview draws.
    void SetPreviewPage(int page) { Grid.PrintPageFrom = Grid.PrintPageTo = page; }
    // A preview widget shows every page of the print job, drawn by the same engine.
    void ConnectPreview(QPrintPreviewWidget& preview)
    {
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                         [this](QPrinter* printer) { Print(*printer); });
    }

    // The page engine; answers the number of pages.
    int PrintPages(TPrintCanvas& canvas, TPrintMode mode, int totalPages, bool selectedOnly);

    // The cells: printed column widths, a row's content height, one cell's content size and a
    // row drawn with its top at y (answers its printed height).
    void CalcPrintColumnWidths();
    int PrintRowHeight(int row);
    TPoint PrintMeasureCell(int realCol, int row);
    int PrintRow(int y, int fromCol, int toCol, int row);

    // State of the last layout.
    TGridRect FPrintRect{};
    QRect PrevRect;
    int PrintNrOfPages = 0;
    QRect PrintPageRect;
    int PrintPageWidth = 0;
    int PrintColStart = 0, PrintColEnd = 0;
    bool FastPrint = false;
    bool IsPrintPreview = false;

    // Events (each may be empty).
    std::function<void(int nrOfPages, int& fromPage, int& toPage)> OnPrintStart;
    std::function<void(QPainter* painter, int pageNr, int pageXSize, int pageYSize)> OnPrintPage;
    std::function<void(int row, bool& newPage)> OnPrintNewPage;
    std::function<void(QPainter* painter, int lastRow, int lastRowOffset, int lastPage, int pageXSize, int pageYSize)>
        OnPrintPageDone;
    std::function<void(int pageNr, bool& cancel)> OnPrintCancel;
    std::function<void(int col, int& width)> OnPrintSetColumnWidth;
    std::function<void(int row, int& height)> OnPrintSetRowHeight;
    std::function<void(double& scaleFactor, bool& allow)> OnFitToPage;
    std::function<void(int pageNum, int pageColNum, QString& pageNumString)> OnPrintGetPageNum;

private:
    bool IsRowPrinted(int row, bool selectedOnly) const;
    bool IsColPrinted(int col, bool selectedOnly) const;
    bool Drawing() const;
    int DrawHeaderFooter(int page, int bandPage, int band, int totalPages);
    void DrawFrame(int y, int from, int to, bool repeatFixed);
    void StartNextPage();
    // A cell's print appearance: its print font (the print settings' font unless the display font
    // is asked for), colours, alignments and word wrap. The text is placed horizontally by the
    // grid's cell alignment; HAlign only places a lone check box.
    struct TPrintLook {
        TColor Brush = clNone, ColorTo = clNone;
        TFontDesc Font;
        TAlignment HAlign = taLeftJustify;
        TVAlignment VAlign = vtaTop;
        bool WordWrap = false;
    };
    TPrintLook PrintLook(int realCol, int row);
    // The text a cell prints: plain text of mark-up and rich text; none for value graphics.
    QString CellPrintText(int realCol, int row);

    // Whether a cell prints a check box, and its size on paper.
    bool PrintsCheckBox(int realCol, int row) const;
    TPoint PrintGraphicSize(int realCol, int row);
    void DrawCheckBox(int left, int top, int size, bool checked);

    QPagedPaintDevice* FPrinter = nullptr;
    QSize FDrawPage;  // the page of the drawing mode, in 0.1 mm
    TPrintCanvas FMeasureCanvas;  // measuring outside a job

    // Values of the running layout.
    TPrintCanvas* FCanvas = nullptr;
    TPrintMode FMode = pmCountPrint;
    bool FSelectedOnly = false;
    int FPage = 0;  // P
    int FW = 0, FH = 0;
    int FSpacing = 0, FLineMargin = 0, FHMargin = 0;
    int FHeaderLineH = 0, FFooterLineH = 0, FHeaderH = 0, FFooterH = 0;
    int FBandEnd = 0;
    double FPixelTo01mm = 254.0 / 96.0;
    double FFitFactor = 1.0;
    bool FMultiBand = false;
    bool FRepeatFixed = false;
    int FCutAt = 0;  // a row taller than a page is cut here (0: no cut)
    int FCachedRow = -1, FCachedHeight = 0;
};

}  // namespace grid::dataops
