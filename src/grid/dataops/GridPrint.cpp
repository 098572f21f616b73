#include "grid/dataops/GridPrint.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <cmath>

#include "grid/core/GridTextUtils.h"
#include "grid/dataops/GridTextFormats.h"
#include "grid/dataops/GridTextMeasure.h"
#include "platform/Exception.h"

namespace grid::dataops {

namespace {

// The layout's column arrays hold columns 0 ... 511 and the edge after the last.
constexpr int MaxPrintCol = 511;

int RoundEven(double v) { return int(std::nearbyint(v)); }

QColor Qc(TColor c) { return platform::ToQColor(c); }

Qt::PenStyle QtPenStyle(platform::TPenStyle s)
{
    switch (s) {
    case platform::TPenStyle::psDash: return Qt::DashLine;
    case platform::TPenStyle::psDot: return Qt::DotLine;
    case platform::TPenStyle::psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

QString HtmlPlainText(QString text)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    text.replace(QRegularExpression(QStringLiteral("<br\\s*/?>"), QRegularExpression::CaseInsensitiveOption),
                 QString(QChar(13)));
    text.remove(tag);
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

QStringList CellLines(const QString& text, bool multiLine)
{
    QString t = text;
    t.remove(QChar(10));
    QStringList lines = t.split(QChar(13));
    if (!multiLine)
        lines = lines.mid(0, 1);
    return lines;
}

// A date format in the letters of the grid's settings ("dd/mm/yyyy hh:nn") in Qt's letters.
QString QtDateFormat(const QString& format)
{
    QString out;
    for (const QChar ch : format)
        out += ch == 'm' || ch == 'M' ? QChar('M') : ch == 'n' || ch == 'N' ? QChar('m') : ch;
    return out;
}

bool TopPos(TPrintPosition p) { return p == ppTopLeft || p == ppTopRight || p == ppTopCenter; }
bool BottomPos(TPrintPosition p) { return p == ppBottomLeft || p == ppBottomRight || p == ppBottomCenter; }

}  // namespace

// --- canvas -------------------------------------------------------------------------------------

TPrintCanvas::TPrintCanvas(QPainter* painter, double dpiX, double dpiY)
    : FPainter(painter), FDpiX(dpiX), FDpiY(dpiY)
{
}

void TPrintCanvas::SetFont(const TFontDesc& font, int height)
{
    FFont = QFont(font.Name);
    FFont.setPixelSize(std::max(1, std::abs(height)));
    FFont.setBold(font.Style & fsBold);
    FFont.setItalic(font.Style & fsItalic);
    FFont.setUnderline(font.Style & fsUnderline);
    FFont.setStrikeOut(font.Style & fsStrikeOut);
    FMetrics = QFontMetrics(FFont);
}

int TPrintCanvas::TextWidth(const QString& text) const { return FMetrics.horizontalAdvance(text); }

int TPrintCanvas::TextHeight() const { return FMetrics.height(); }

QRectF TPrintCanvas::Rect(int left, int top, int right, int bottom) const
{
    return QRectF(QPointF(left, -top), QPointF(right, -bottom)).normalized();
}

void TPrintCanvas::TextOut(int x, int y, const QString& text, TColor color)
{
    if (!FPainter)
        return;
    FPainter->setFont(FFont);
    FPainter->setPen(Qc(color));
    FPainter->drawText(QPointF(x, -y + FMetrics.ascent()), text);
}

void TPrintCanvas::RotatedText(int cx, int cy, int angle, const QString& text, TColor color)
{
    if (!FPainter)
        return;
    FPainter->save();
    FPainter->setFont(FFont);
    FPainter->setPen(Qc(color));
    FPainter->translate(cx, -cy);
    FPainter->rotate(-angle);
    const int w = FMetrics.horizontalAdvance(text);
    FPainter->drawText(QPointF(-w / 2.0, FMetrics.ascent() - FMetrics.height() / 2.0), text);
    FPainter->restore();
}

void TPrintCanvas::WrappedText(int left, int top, int right, int bottom, const QString& text, TColor color,
                               TAlignment align)
{
    if (!FPainter)
        return;
    FPainter->setFont(FFont);
    FPainter->setPen(Qc(color));
    const int h = align == taRightJustify ? Qt::AlignRight : align == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    FPainter->drawText(Rect(left, top, right, bottom), h | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs, text);
}

void TPrintCanvas::FillRect(int left, int top, int right, int bottom, TColor color)
{
    if (FPainter && color != clNone)
        FPainter->fillRect(Rect(left, top, right, bottom), Qc(color));
}

void TPrintCanvas::Line(int x1, int y1, int x2, int y2, TColor color, int width, platform::TPenStyle style)
{
    if (!FPainter || style == platform::TPenStyle::psClear)
        return;
    QPen pen(Qc(color), std::max(1, width), QtPenStyle(style), Qt::FlatCap);
    // A line is at least one device pixel wide, as the platform draws thin lines on a screen.
    if (std::max(1, width) * FDpiX / 254.0 < 1.0) {
        pen.setWidth(1);
        pen.setCosmetic(true);
    }
    FPainter->setPen(pen);
    FPainter->drawLine(QPointF(x1, -y1), QPointF(x2, -y2));
}

void TPrintCanvas::Clip(int left, int top, int right, int bottom)
{
    if (!FPainter)
        return;
    // Within the page's own clip: the previous state comes back with ClearClip.
    FPainter->save();
    FPainter->setClipRect(Rect(left, top, right, bottom), FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TPrintCanvas::ClearClip()
{
    if (FPainter)
        FPainter->restore();
}

// --- jobs ---------------------------------------------------------------------------------------

namespace {

// The painter's mapping from 0.1 mm to device units for the time of a job, restored after it.
class TMetricMapping {
public:
    TMetricMapping(QPainter& painter, double dpiX, double dpiY, QPoint origin) : FPainter(painter)
    {
        FPainter.save();
        FPainter.resetTransform();
        FPainter.translate(origin);
        FPainter.scale(dpiX / 254.0, dpiY / 254.0);
    }
    ~TMetricMapping() { FPainter.restore(); }
    TMetricMapping(const TMetricMapping&) = delete;
    TMetricMapping& operator=(const TMetricMapping&) = delete;

private:
    QPainter& FPainter;
};

// The end notification on every path out of a job.
class TExportBracket {
public:
    explicit TExportBracket(TExtStringGrid& grid) : FGrid(grid) { FGrid.ExportNotification(esExportStart, -1); }
    ~TExportBracket() { FGrid.ExportNotification(esExportDone, -1); }
    TExportBracket(const TExportBracket&) = delete;
    TExportBracket& operator=(const TExportBracket&) = delete;

private:
    TExtStringGrid& FGrid;
};

}  // namespace

TGridRect TGridPrint::WholeGrid() const { return {0, 0, Grid.ColCount() - 1, Grid.RowCount() - 1}; }

void TGridPrint::PrintJob(QPagedPaintDevice& printer, const TGridRect& gridRect, bool selectedOnly)
{
    FPrintRect = gridRect;
    if (!Grid.PrintSettings.UseDefaultOrientation)
        printer.setPageOrientation(Grid.PrintSettings.Orientation == poLandscape ? QPageLayout::Landscape
                                                                                 : QPageLayout::Portrait);
    // A printer's resolution is its device resolution.
    const double res = printer.logicalDpiY();
    const QRect paper = printer.pageLayout().paintRectPixels(int(res));
    PrevRect = QRect(0, 0, RoundEven(254.0 / res * paper.width()), RoundEven(254.0 / res * paper.height()));
    FDrawPage = PrevRect.size();

    // The pages are counted before the job starts, so that an empty page range needs no job at all.
    int pages = INT_MAX;
    if (!FastPrint) {
        TPrintCanvas counter;
        pages = PrintPages(counter, pmCountPrint, -1, selectedOnly);
    }
    Grid.PrintPageFrom = 1;
    Grid.PrintPageTo = pages;
    PrintNrOfPages = pages;
    if (OnPrintStart) {
        OnPrintStart(pages, Grid.PrintPageFrom, Grid.PrintPageTo);
        if (Grid.PrintPageFrom == 0 || Grid.PrintPageTo == 0 || Grid.PrintPageFrom > Grid.PrintPageTo)
            return;
    }
    PrintNrOfPages = Grid.PrintPageTo;
    TExportBracket bracket(Grid);
    QPainter painter;
    if (!painter.begin(&printer))
        throw platform::Exception(QStringLiteral("The printer could not start the print job"));
    {
        TMetricMapping mapping(painter, res, res, {});
        TPrintCanvas canvas(&painter, res, res);
        FPrinter = &printer;
        struct TClear {
            QPagedPaintDevice*& P;
            ~TClear() { P = nullptr; }
        } clear{FPrinter};
        PrintPages(canvas, pmDraw, pages, selectedOnly);
    }
    painter.end();
}

void TGridPrint::PrintPreview(QPainter& painter, const QRect& displayRect)
{
    DoPrintPreview(painter, displayRect, false, WholeGrid());
}

void TGridPrint::PrintPreviewRect(QPainter& painter, const QRect& displayRect, const TGridRect& gridRect)
{
    DoPrintPreview(painter, displayRect, false, gridRect);
}

void TGridPrint::PrintPreviewSelection(QPainter& painter, const QRect& displayRect)
{
    DoPrintPreview(painter, displayRect, false, Grid.Selection());
}

void TGridPrint::PrintPreviewSelectedRows(QPainter& painter, const QRect& displayRect)
{
    DoPrintPreview(painter, displayRect, true, WholeGrid());
}

void TGridPrint::DoPrintPreview(QPainter& painter, const QRect& displayRect, bool selectedOnly,
                                const TGridRect& gridRect)
{
    TExportBracket bracket(Grid);
    struct TPreviewFlag {
        bool& F;
        ~TPreviewFlag() { F = false; }
    } flag{IsPrintPreview};
    FPrintRect = gridRect;
    PrevRect = displayRect;
    const double dpiX = painter.device()->logicalDpiX(), dpiY = painter.device()->logicalDpiY();
    int pages = 1;
    if (!FastPrint) {
        TPrintCanvas counter(nullptr, dpiX, dpiY);
        pages = PrintPages(counter, pmCountPreview, -1, selectedOnly);
        PrintNrOfPages = pages;
    }
    int from = 1, to = pages;
    IsPrintPreview = true;
    if (OnPrintStart)
        OnPrintStart(pages, from, to);
    if (from > 0 && to > 0 && to >= from) {
        PrevRect = displayRect;
        TMetricMapping mapping(painter, dpiX, dpiY, displayRect.topLeft());
        painter.setClipRect(QRectF(0, 0, displayRect.width() * 254.0 / dpiX, displayRect.height() * 254.0 / dpiY));
        TPrintCanvas canvas(&painter, dpiX, dpiY);
        PrintPages(canvas, pmPreview, pages, selectedOnly);
    }
}

void TGridPrint::PrintDraw(QPainter& painter, const QRect& drawRect) { PrintDrawRect(painter, drawRect, WholeGrid()); }

void TGridPrint::PrintDrawRect(QPainter& painter, const QRect& drawRect, const TGridRect& gridRect)
{
    FPrintRect = gridRect;
    PrevRect = drawRect;
    Grid.PrintPageFrom = Grid.PrintPageTo = PrintNrOfPages = 1;
    const double dpiX = painter.device()->logicalDpiX(), dpiY = painter.device()->logicalDpiY();
    // The page is the drawing rectangle, in 0.1 mm.
    FDrawPage = QSize(RoundEven(drawRect.width() * 254.0 / dpiX), RoundEven(drawRect.height() * 254.0 / dpiY));
    TMetricMapping mapping(painter, dpiX, dpiY, drawRect.topLeft());
    painter.setClipRect(QRectF(0, 0, FDrawPage.width(), FDrawPage.height()));
    TPrintCanvas canvas(&painter, dpiX, dpiY);
    PrintPages(canvas, pmDraw, 1, false);
}


// --- the page engine ----------------------------------------------------------------------------

bool TGridPrint::IsRowPrinted(int row, bool selectedOnly) const
{
    if (!selectedOnly)
        return true;
    if (row < Grid.FixedRows() && Grid.PrintSettings.FixedCellsAlways)
        return true;
    if (Grid.MouseActions.DisjunctRowSelect()) {
        const int r = Grid.MouseActions.RowSelectPersistent ? Grid.DisplToRealRow(row) : row;
        return const_cast<TExtStringGrid&>(Grid).GetRowSelect(r);
    }
    return Grid.Selection().Top <= row && row <= Grid.Selection().Bottom;
}

bool TGridPrint::IsColPrinted(int col, bool selectedOnly) const
{
    if (!selectedOnly || Grid.MouseActions.DisjunctRowSelect())
        return true;
    if (col < Grid.FixedCols() && Grid.PrintSettings.FixedCellsAlways)
        return true;
    if (Grid.MouseActions.DisjunctColSelect())
        return const_cast<TExtStringGrid&>(Grid).GetColSelect(col);
    return Grid.Selection().Left <= col && col <= Grid.Selection().Right;
}

bool TGridPrint::Drawing() const
{
    const int page = FPage + 1;
    return (FMode == pmPreview || FMode == pmDraw) && page >= Grid.PrintPageFrom && page <= Grid.PrintPageTo;
}

int TGridPrint::PrintPages(TPrintCanvas& canvas, TPrintMode mode, int totalPages, bool selectedOnly)
{
    TPrintSettings& ps = Grid.PrintSettings;
    FCanvas = &canvas;
    FMode = mode;
    FSelectedOnly = selectedOnly;
    FCachedRow = -1;
    FCutAt = 0;
    Grid.Fontscalefactor = 1.0;
    struct TReset {
        TExtStringGrid& G;
        TPrintCanvas*& C;
        ~TReset()
        {
            G.Fontscalefactor = 1.0;
            C = nullptr;
        }
    } reset{Grid, FCanvas};

    FPrintRect.Left = std::max(0, FPrintRect.Left);
    FPrintRect.Top = std::max(0, FPrintRect.Top);
    FPrintRect.Right = std::min({FPrintRect.Right, Grid.ColCount() - 1, MaxPrintCol});
    FPrintRect.Bottom = std::min(FPrintRect.Bottom, Grid.RowCount() - 1);

    // Metrics.
    canvas.SetFont(ps.HeaderFont, MapFontHeight(Grid, ps.HeaderFont.Size));
    FHeaderLineH = canvas.TextHeight();
    canvas.SetFont(ps.FooterFont, MapFontHeight(Grid, ps.FooterFont.Size));
    FFooterLineH = canvas.TextHeight();
    canvas.SetFont(ps.Font, MapFontHeight(Grid, ps.Font.Size));
    FLineMargin = canvas.TextHeight() / 8;
    FHMargin = canvas.TextWidth(QStringLiteral("g")) / 2;

    // Page size.
    if (mode == pmDraw) {
        FW = FDrawPage.width();
        FH = -FDrawPage.height();
    } else if (mode == pmCountPrint) {
        FW = PrevRect.width();
        FH = -PrevRect.height();
    } else {
        FW = RoundEven(PrevRect.width() * 254.0 / canvas.DpiX());
        FH = -RoundEven(PrevRect.height() * 254.0 / canvas.DpiY());
    }
    const int screenDpi = Grid.logicalDpiX() > 0 ? Grid.logicalDpiX() : 96;
    FPixelTo01mm = 254.0 / screenDpi;
    PrintPageRect = QRect(0, 0, FW, FH);
    FSpacing = ps.UseFixedWidth ? 0 : ps.ColumnSpacing + 20;
    FFitFactor = 1.0;

    if (FPrintRect.Right < FPrintRect.Left || FPrintRect.Bottom < FPrintRect.Top)
        return 0;

    CalcPrintColumnWidths();
    auto& widths = Grid.PrintColWidths;
    auto& indents = Grid.PrintColOffsets;

    // Fit to page.
    int64_t total = 0;
    for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
        if (IsColPrinted(c, selectedOnly))
            total += widths[size_t(c)] + FSpacing;
    if (ps.FitToPage != fpNever) {
        const int64_t s = int64_t(FPrintRect.Right - FPrintRect.Left + 1) * FSpacing;
        if (total - s != 0)
            FFitFactor = double(FW - ps.RightSize - ps.LeftSize - s) / double(total - s);
        if (FFitFactor <= 0)
            FFitFactor = 1.0;  // no room at all: a negative scale would print nothing readable
        if ((ps.FitToPage == fpShrink && FFitFactor > 1) || (ps.FitToPage == fpGrow && FFitFactor < 1))
            FFitFactor = 1.0;
        if (ps.FitToPage == fpCustom && FFitFactor != 1.0 && OnFitToPage) {
            bool allow = true;
            OnFitToPage(FFitFactor, allow);
            if (!allow)
                FFitFactor = 1.0;
        }
    }
    if (FFitFactor != 1.0)
        for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
            widths[size_t(c)] = int(std::trunc(widths[size_t(c)] * FFitFactor));
    if (OnPrintSetColumnWidth)
        for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
            OnPrintSetColumnWidth(c, widths[size_t(c)]);

    const int fixedCols = std::min(Grid.FixedCols(), MaxPrintCol);
    const bool topItems = TopPos(ps.Time) || TopPos(ps.Date) || TopPos(ps.PageNr) || TopPos(ps.Title);
    const bool bottomItems = BottomPos(ps.Time) || BottomPos(ps.Date) || BottomPos(ps.PageNr) || BottomPos(ps.Title);
    const int extraTitleLines = std::max(0, int(ps.TitleLines.size()) - 1);
    const auto areas = [&] {
        FHeaderH = ps.HeaderSize;
        if (topItems) {
            FHeaderH = FLineMargin + FHeaderLineH + ps.HeaderSize;
            if (TopPos(ps.Title) && ps.TitleText.isEmpty())
                FHeaderH += extraTitleLines * FHeaderLineH;
        }
        FFooterH = FLineMargin + FFooterLineH + ps.FooterSize;
        if (bottomItems) {
            FFooterH = 2 * (FLineMargin + FFooterLineH) + ps.FooterSize;
            if (BottomPos(ps.Title) && ps.TitleText.isEmpty())
                FFooterH += extraTitleLines * FFooterLineH;
        }
    };

    FPage = 0;
    FMultiBand = false;
    bool cancelled = false;
    int band = 0;
    int b = FPrintRect.Left;
    while (b <= FPrintRect.Right && !cancelled) {
        ++band;
        // The band's columns.
        FRepeatFixed = fixedCols > 0 && ps.RepeatFixedCols && (b > FPrintRect.Left || fixedCols < FPrintRect.Left);
        int fixedW = 0;
        if (FRepeatFixed)
            for (int c = 0; c < fixedCols; ++c)
                fixedW += widths[size_t(c)] + FSpacing;
        int running = fixedW;
        int e = b - 1;
        for (int c = b; c <= FPrintRect.Right; ++c) {
            const int add = IsColPrinted(c, selectedOnly) ? widths[size_t(c)] + FSpacing : 0;
            if (running + add > FW - ps.RightSize)
                break;
            running += add;
            e = c;
        }
        if (e < b) {
            e = b;
            running = fixedW + widths[size_t(b)] + FSpacing;
        }
        if (e < FPrintRect.Right)
            FMultiBand = true;
        FBandEnd = e;
        PrintPageWidth = running;
        PrintColStart = b;
        PrintColEnd = e;
        const int start = ps.Centered ? 0 : ps.LeftSize;
        indents[size_t(b)] = start;
        indents[0] = start;
        for (int c = b; c <= e; ++c)
            indents[size_t(c + 1)] = indents[size_t(c)] + (IsColPrinted(c, selectedOnly) ? widths[size_t(c)] + FSpacing : 0);
        if (FRepeatFixed)
            for (int p = 1; p <= fixedCols; ++p)
                indents[size_t(p)] = indents[size_t(p - 1)] + widths[size_t(p - 1)] + FSpacing;
        if (ps.Centered && running < FW) {
            const int offset = (FW - running) / 2;
            for (int c = b; c <= e + 1; ++c)
                indents[size_t(c)] += offset;
            if (FRepeatFixed)
                for (int p = 0; p <= fixedCols; ++p)
                    indents[size_t(p)] += offset;
        }
        for (int c = b; c <= e + 1; ++c)
            indents[size_t(c)] += fixedW;
        areas();

        if (Drawing() && OnPrintPage)
            OnPrintPage(canvas.Painter(), FPage + 1, FW, FH);

        int row = FPrintRect.Top;
        int bandPage = 1;
        int y = 0;
        while (row <= FPrintRect.Bottom && !cancelled) {
            // One page.
            const bool allRows = FPrintRect.Top <= Grid.FixedRows() &&
                                 FPrintRect.Bottom >= Grid.RowCount() - 1 - Grid.FixedFooters;
            const int titleH = DrawHeaderFooter(FPage, bandPage, band, totalPages);
            y = -FHeaderH - ps.TitleSpacing - titleH;
            if (row > 0 && (FPage > 0 || FPrintRect.Top >= Grid.FixedRows()) && ps.RepeatFixedRows &&
                Grid.FixedRows() > 0)
                for (int fr = 0; fr < Grid.FixedRows(); ++fr) {
                    if (FRepeatFixed)
                        PrintRow(y, 0, fixedCols - 1, fr);
                    y -= PrintRow(y, b, e, fr);
                }
            int placed = 0;
            for (;;) {
                Grid.ExportNotification(allRows ? esExportNewRow : esExportSelRow, row);
                if (IsRowPrinted(row, selectedOnly)) {
                    Grid.Fontscalefactor = FFitFactor;
                    const int rh = 2 * FLineMargin + PrintRowHeight(row) + ps.RowSpacing;
                    Grid.Fontscalefactor = 1.0;
                    const bool fits = y - rh > FH + FFooterH;
                    if (fits || placed == 0) {
                        // A row taller than an empty page is printed cut at the footer area, so
                        // that every row is placed and the pages end.
                        FCutAt = fits ? 0 : FH + FFooterH;
                        if (FRepeatFixed)
                            PrintRow(y, 0, fixedCols - 1, row);
                        const int printed = PrintRow(y, b, e, row);
                        y = fits ? y - printed : FCutAt;
                        FCutAt = 0;
                        ++placed;
                        ++row;
                    }
                } else {
                    ++row;
                }
                bool newPage = false;
                if (OnPrintNewPage)
                    OnPrintNewPage(row, newPage);
                bool pageFull = false;
                if (row <= FPrintRect.Bottom && !newPage && IsRowPrinted(row, selectedOnly)) {
                    Grid.Fontscalefactor = FFitFactor;
                    const int next = 2 * FLineMargin + PrintRowHeight(row) + ps.RowSpacing;
                    Grid.Fontscalefactor = 1.0;
                    pageFull = y - next <= FH + FFooterH && placed > 0;
                }
                if (newPage || pageFull || row > FPrintRect.Bottom)
                    break;
            }
            if (Drawing()) {
                if (OnPrintPageDone)
                    OnPrintPageDone(canvas.Painter(), row, y, FPage + 1, FW, FH);
            }
            if ((FMode == pmPreview || FMode == pmDraw) && OnPrintCancel) {
                bool cancel = false;
                OnPrintCancel(FPage + 1, cancel);
                cancelled = cancel;
            }
            if (row > FPrintRect.Bottom || cancelled)
                break;
            // The next page of the band.
            DrawFrame(y, b, e, FRepeatFixed);
            StartNextPage();
            if (FastPrint && FPage > Grid.PrintPageFrom) {
                ++FPage;
                break;
            }
            ++FPage;
            ++bandPage;
            areas();
        }
        DrawFrame(y, b, e, FRepeatFixed);
        b = e + 1;
        if (b <= FPrintRect.Right && !cancelled)
            StartNextPage();
        ++FPage;
    }
    return FPage;
}

void TGridPrint::StartNextPage()
{
    const int next = FPage + 2;
    if (next < Grid.PrintPageFrom || next > Grid.PrintPageTo)
        return;
    if (FMode == pmDraw && FPrinter && FPage + 1 >= Grid.PrintPageFrom)
        FPrinter->newPage();
    if ((FMode == pmPreview || FMode == pmDraw) && OnPrintPage)
        OnPrintPage(FCanvas->Painter(), next, FW, FH);
}

int TGridPrint::DrawHeaderFooter(int page, int bandPage, int band, int totalPages)
{
    if (!Drawing())
        return 0;
    TPrintSettings& ps = Grid.PrintSettings;
    QString slotText[7];
    const auto put = [&](TPrintPosition pos, const QString& item, bool alwaysSpace) {
        if (pos == ppNone || pos > ppBottomCenter)
            return;
        QString& slot = slotText[pos];
        const bool space = alwaysSpace || (!slot.isEmpty() && !item.isEmpty());
        const QString sep = space ? QStringLiteral(" ") : QString();
        if (pos == ppTopLeft || pos == ppBottomLeft)
            slot = item + sep + slot;
        else
            slot = slot + sep + item;
    };
    const QDateTime now = QDateTime::currentDateTime();
    put(ps.Time, now.toString(QStringLiteral("hh:mm")), true);
    put(ps.Date, now.toString(QtDateFormat(ps.DateFormat)), true);
    if (ps.PageNr != ppNone) {
        QString num;
        int hookPage = page + 1;
        if (FMultiBand) {
            num = QStringLiteral("%1-%2").arg(bandPage).arg(band);
            hookPage = bandPage;
        } else {
            num = QString::number(page + ps.PageNumberOffset + 1);
            // Without a page count (FastPrint) no total is printed.
            if (!ps.PageNumSep.isEmpty() && totalPages > 1 && totalPages != INT_MAX)
                num += ps.PageNumSep + QString::number(int64_t(totalPages) + ps.MaxPagesOffset);
        }
        if (OnPrintGetPageNum)
            OnPrintGetPageNum(hookPage, band, num);
        put(ps.PageNr, ps.PagePrefix + QChar(' ') + num + QChar(' ') + ps.PageSuffix, true);
    }
    QStringList titleLines = ps.TitleLines;
    for (QString& line : titleLines)
        if (DetectTextKind(line, true) == tkHTML)
            line = HtmlPlainText(line);  // a rich title prints as its plain text
    if (!ps.TitleText.isEmpty())
        put(ps.Title, ps.TitleText, true);
    else if (!titleLines.isEmpty())
        put(ps.Title, titleLines.front(), false);

    TPrintCanvas& cv = *FCanvas;
    const auto place = [&](int slot, const QString& text) {
        const int w = cv.TextWidth(text);
        if (slot == ppTopLeft || slot == ppBottomLeft)
            return ps.LeftSize;
        if (slot == ppTopRight || slot == ppBottomRight)
            return FW - w - ps.RightSize - 20;
        return (FW - w) / 2;
    };
    const bool moreLines = ps.TitleText.isEmpty() && titleLines.size() > 1;
    cv.SetFont(ps.HeaderFont, MapFontHeight(Grid, ps.HeaderFont.Size));
    for (int s = ppTopLeft; s <= ppTopCenter; ++s) {
        cv.TextOut(place(s, slotText[s]), -ps.HeaderSize, slotText[s], ps.HeaderFont.Color);
        if (moreLines && ps.Title == s)
            for (int k = 1; k < titleLines.size(); ++k)
                cv.TextOut(place(s, titleLines[k]), -ps.HeaderSize - k * cv.TextHeight(), titleLines[k],
                           ps.HeaderFont.Color);
    }
    cv.SetFont(ps.FooterFont, MapFontHeight(Grid, ps.FooterFont.Size));
    const int fy = FH + FFooterLineH + FLineMargin + ps.FooterSize;
    for (int s = ppBottomLeft; s <= ppBottomCenter; ++s) {
        cv.TextOut(place(s, slotText[s]), fy, slotText[s], ps.FooterFont.Color);
        if (moreLines && ps.Title == s)
            for (int k = 1; k < titleLines.size(); ++k)
                cv.TextOut(place(s, titleLines[k]), fy + k * cv.TextHeight(), titleLines[k], ps.FooterFont.Color);
    }
    cv.SetFont(ps.Font, MapFontHeight(Grid, ps.Font.Size));
    return 0;
}

void TGridPrint::DrawFrame(int y, int from, int to, bool repeatFixed)
{
    if (!Drawing())
        return;
    const TPrintSettings& ps = Grid.PrintSettings;
    const auto& indents = Grid.PrintColOffsets;
    const int left = repeatFixed ? indents[0] : indents[size_t(from)];
    const int right = indents[size_t(to + 1)];
    const int top = -FHeaderH - ps.TitleSpacing;
    const int bottom = y + FLineMargin / 2;
    const int pen = ps.Borders == pbDouble ? 10 : 2;
    const auto line = [&](int x1, int y1, int x2, int y2) { FCanvas->Line(x1, y1, x2, y2, clBlack, pen, ps.BorderStyle); };
    const TPrintBorders bd = ps.Borders;
    if (bd == pbAround || bd == pbAroundVertical || bd == pbAroundHorizontal) {
        line(left, top, right, top);
        line(right, top, right, bottom);
        line(right, bottom, left, bottom);
        line(left, bottom, left, top);
    }
    if (bd == pbDouble || bd == pbHorizontal || bd == pbAroundHorizontal)
        line(left, bottom, right, bottom);
    if ((bd == pbDouble || bd == pbVertical || bd == pbAroundVertical) && repeatFixed)
        for (int p = 0; p < Grid.FixedCols(); ++p)
            line(indents[size_t(p)], top, indents[size_t(p)], y);
}

// --- cells --------------------------------------------------------------------------------------

TGridPrint::TPrintLook TGridPrint::PrintLook(int realCol, int row)
{
    TPrintLook look;
    TGridDrawState state = 0;
    TColor mirror = clNone, mirrorTo = clNone;
    TCellGradientDirection gradient = GradientVertical;
    Grid.GetVisualProperties(realCol, row, state, true, false, false, look.Brush, look.ColorTo, mirror, mirrorTo,
                             look.Font, look.HAlign, look.VAlign, look.WordWrap, gradient);
    Grid.GetCellWordWrap(realCol, row, look.WordWrap);
    if (!Grid.PrintSettings.UseDisplayFont)
        look.Font = Grid.PrintSettings.Font;
    return look;
}

QString TGridPrint::CellPrintText(int realCol, int row)
{
    switch (Grid.GetCellType(realCol, row)) {
    case ctDataCheckBox:
    case ctDataImage:
    case ctVirtCheckBox:
    case ctRowCheckBox: return {};
    default: break;
    }
    QString text = Grid.GetFormattedCell(realCol, row);
    switch (DetectTextKind(text, Grid.EnableHTML)) {
    case tkHTML: text = HtmlPlainText(text); break;
    case tkRTF: text = Grid.RichTextToPlain(text); break;
    case tkWide: text = DecodeWideText(text); break;
    default: break;
    }
    return text;
}

TPoint TGridPrint::PrintMeasureCell(int realCol, int row)
{
    const TPrintSettings& ps = Grid.PrintSettings;
    const TPrintLook look = PrintLook(realCol, row);
    const TFontDesc& font = look.Font;
    const bool wrap = look.WordWrap;
    QString text = CellPrintText(realCol, row);
    TPrintCanvas& cv = FCanvas ? *FCanvas : FMeasureCanvas;
    const TPoint graphic = PrintGraphicSize(realCol, row);
    cv.SetFont(font, MapFontHeight(Grid, font.Size));
    if (text.isEmpty())
        text = QStringLiteral("gh");
    int angle = 0;
    const bool rotated = Grid.IsRotated(realCol, row, angle);
    TPoint size;
    const QStringList lines = CellLines(text, Grid.Multilinecells);
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, cv.TextWidth(line));
    if (!wrap || !ps.NoAutoSize || rotated) {
        size = {widest + graphic.X, cv.TextHeight() * int(lines.size())};
    } else {
        const int dc = Grid.RealToDisplCol(realCol);
        const int colW = Grid.CellExt(realCol, row).X > 0 ? 65535 : Grid.PrintColWidths[size_t(std::clamp(dc, 0, MaxPrintCol))];
        const QRect r = cv.Metrics().boundingRect(QRect(0, 0, std::max(1, colW), 65535),
                                                              Qt::TextWordWrap, text);
        size = {colW, r.height()};
    }
    if (rotated) {
        const double a = angle * M_PI / 180.0;
        const int w = std::abs(RoundEven(std::cos(a) * size.X)) + std::abs(RoundEven(std::sin(a) * size.Y));
        const int h = std::abs(RoundEven(std::sin(a) * widest)) + std::abs(RoundEven(std::cos(a) * size.Y));
        size = {w, h};
    }
    size = {std::max(size.X, graphic.X), std::max(size.Y, graphic.Y)};
    cv.SetFont(ps.Font, MapFontHeight(Grid, ps.Font.Size));
    return size;
}

bool TGridPrint::PrintsCheckBox(int realCol, int row) const
{
    if (!Grid.PrintSettings.PrintGraphics)
        return false;
    switch (const_cast<TExtStringGrid&>(Grid).GetCellType(realCol, row)) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox: return true;
    default: return false;
    }
}

TPoint TGridPrint::PrintGraphicSize(int realCol, int row)
{
    if (!PrintsCheckBox(realCol, row))
        return {0, 0};
    const TPoint px = Grid.GetCellGraphicSize(realCol, row);
    return {RoundEven(px.X * FPixelTo01mm), RoundEven(px.Y * FPixelTo01mm)};
}

void TGridPrint::DrawCheckBox(int left, int top, int size, bool checked)
{
    TPrintCanvas& cv = *FCanvas;
    const int w = std::max(2, size / 12);
    const int right = left + size, bottom = top - size;
    cv.FillRect(left, top, right, bottom, clWhite);
    cv.Line(left, top, right, top, clBlack, w, platform::TPenStyle::psSolid);
    cv.Line(right, top, right, bottom, clBlack, w, platform::TPenStyle::psSolid);
    cv.Line(right, bottom, left, bottom, clBlack, w, platform::TPenStyle::psSolid);
    cv.Line(left, bottom, left, top, clBlack, w, platform::TPenStyle::psSolid);
    if (checked) {
        cv.Line(left + size / 5, top - size / 2, left + size * 2 / 5, bottom + size / 5, clBlack, 2 * w,
                platform::TPenStyle::psSolid);
        cv.Line(left + size * 2 / 5, bottom + size / 5, right - size / 5, top - size / 5, clBlack, 2 * w,
                platform::TPenStyle::psSolid);
    }
}

void TGridPrint::CalcPrintColumnWidths()
{
    const TPrintSettings& ps = Grid.PrintSettings;
    auto& widths = Grid.PrintColWidths;
    for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
        widths[size_t(c)] = 0;
    if (ps.NoAutoSize) {
        for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
            if (IsColPrinted(c, FSelectedOnly))
                widths[size_t(c)] = RoundEven(Grid.ColWidths(c) * FPixelTo01mm);
        return;
    }
    const auto measureRow = [&](int r) {
        if (!IsRowPrinted(r, FSelectedOnly))
            return;
        for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c) {
            if (!IsColPrinted(c, FSelectedOnly))
                continue;
            const int rc = Grid.DisplToRealCol(c);
            if (Grid.CellExt(rc, r).X > 0)
                continue;
            const int w = ps.UseFixedWidth ? ps.FixedWidth : PrintMeasureCell(rc, r).X;
            widths[size_t(c)] = std::max(widths[size_t(c)], w);
        }
    };
    if (ps.RepeatFixedRows)
        for (int r = 0; r < std::min(Grid.FixedRows(), FPrintRect.Top); ++r)
            measureRow(r);
    for (int r = FPrintRect.Top; r <= FPrintRect.Bottom; ++r)
        measureRow(r);
}

int TGridPrint::PrintRowHeight(int row)
{
    if (row == FCachedRow)
        return FCachedHeight;
    const TPrintSettings& ps = Grid.PrintSettings;
    int h = 0;
    if (ps.NoAutoSizeRow) {
        h = RoundEven(Grid.RowHeights(row) * FPixelTo01mm) - 4;
    } else if (ps.UseFixedHeight) {
        h = ps.FixedHeight;
    } else {
        int last = 0;
        for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c) {
            const int rc = Grid.DisplToRealCol(c);
            last = PrintMeasureCell(rc, row).Y;
            if (Grid.CellExt(rc, row).Y == 0)
                h = std::max(h, last);
        }
        if (h == 0)
            h = last;
        h += h / 8;
        if (OnPrintSetRowHeight)
            OnPrintSetRowHeight(row, h);
    }
    FCachedRow = row;
    FCachedHeight = h;
    return h;
}

int TGridPrint::PrintRow(int y, int fromCol, int toCol, int row)
{
    const TPrintSettings& ps = Grid.PrintSettings;
    Grid.Fontscalefactor = FFitFactor;
    const int rowH = PrintRowHeight(row);
    const int rh = 2 * FLineMargin + rowH + ps.RowSpacing;
    struct TScale {
        TExtStringGrid& G;
        ~TScale() { G.Fontscalefactor = 1.0; }
    } scale{Grid};
    if (!Drawing() || fromCol > toCol)
        return rh;
    TPrintCanvas& cv = *FCanvas;
    const auto& widths = Grid.PrintColWidths;
    const auto& indents = Grid.PrintColOffsets;
    const int bandRight = indents[size_t(FBandEnd + 1)];
    const int screenT = int(std::trunc((Grid.DefaultRowHeight() - 4) * FPixelTo01mm));
    for (int c = fromCol; c <= toCol; ++c) {
        if (!IsColPrinted(c, FSelectedOnly))
            continue;
        const int rc = Grid.DisplToRealCol(c);
        const TPoint ext = Grid.CellExt(rc, row);
        int width = widths[size_t(c)] + FSpacing;
        for (int k = 1; k <= ext.X && c + k <= MaxPrintCol; ++k)
            width += widths[size_t(c + k)] + FSpacing;
        int height = rh;
        for (int k = 1; k <= ext.Y; ++k)
            height += screenT + screenT / 8 + 2 * FLineMargin + ps.RowSpacing;
        int left = indents[size_t(c)], right = left + width, top = y, bottom = y - height;

        TCellBorders borders = 0;
        switch (ps.Borders) {
        case pbSingle:
        case pbDouble: borders = cbTop | cbLeft | cbRight | cbBottom; break;
        case pbHorizontal:
        case pbAroundHorizontal: borders = cbTop | cbBottom; break;
        case pbVertical:
        case pbAroundVertical: borders = cbLeft | cbRight; break;
        default: break;
        }
        TPenDesc pen{1, ps.BorderColor};
        Grid.GetCellPrintBorder(rc, row, pen, borders);

        if (bottom < FH + ps.FooterSize) {
            bottom = y - rh;
            borders &= ~cbBottom;
        }
        if (FCutAt != 0 && bottom < FCutAt)
            bottom = FCutAt;
        if (right > FW)
            right = std::min(right, bandRight);

        if (Grid.BaseCell(rc, row) == TPoint{rc, row}) {
            const TPrintLook look = PrintLook(rc, row);
            const TFontDesc& font = look.Font;
            const TColor brush = look.Brush, colorTo = look.ColorTo;
            const TVAlignment va = look.VAlign;
            const TAlignment hv = look.HAlign;
            TAlignment ha = taLeftJustify;
            TVAlignment unusedV = vtaTop;
            Grid.GetCellAlignment(rc, row, ha, unusedV);
            // Background, a gradient of 64 steps when both colours are set.
            const int bgLeft = borders & cbLeft ? left : left + 2 * pen.Width;
            const int bgTop = borders & cbTop ? top : top - 2 * pen.Width;
            if (colorTo == clNone || brush == clNone) {
                cv.FillRect(bgLeft, bgTop, right, bottom, brush);
            } else {
                const QColor a = Qc(brush), z = Qc(colorTo);
                for (int s = 0; s < 64; ++s) {
                    const double t = s / 63.0;
                    const QColor m = QColor::fromRgbF(a.redF() + (z.redF() - a.redF()) * t,
                                                      a.greenF() + (z.greenF() - a.greenF()) * t,
                                                      a.blueF() + (z.blueF() - a.blueF()) * t);
                    const TColor mc = TColor(m.red() | (m.green() << 8) | (m.blue() << 16));
                    const int y1 = bgTop + (bottom - bgTop) * s / 64, y2 = bgTop + (bottom - bgTop) * (s + 1) / 64;
                    cv.FillRect(bgLeft, y1, right, y2, mc);
                }
            }
            // Text.
            const QString text = CellPrintText(rc, row);
            const bool wrap = look.WordWrap;
            cv.SetFont(font, MapFontHeight(Grid, font.Size));
            const int gh = cv.TextHeight();
            cv.Clip(left, top, right, bottom);
            int textLeft = left;
            if (PrintsCheckBox(rc, row)) {
                const TPoint gs = PrintGraphicSize(rc, row);
                int gx = left + RoundEven(FPixelTo01mm);
                if (text.isEmpty() && hv == taRightJustify)
                    gx = right - gs.X - RoundEven(FPixelTo01mm);
                else if (text.isEmpty() && hv == taCenter)
                    gx = left + (right - left - gs.X) / 2;
                bool checked = false;
                Grid.GetCheckBoxState(rc, Grid.DisplToRealRow(row), checked);
                DrawCheckBox(gx, top - FLineMargin, std::min(gs.X, gs.Y), checked);
                textLeft = gx + gs.X;
            }
            int angle = 0;
            if (!text.isEmpty() && Grid.IsRotated(rc, row, angle)) {
                cv.RotatedText((left + right) / 2, (top + bottom) / 2, angle, CellLines(text, false).front(), font.Color);
            } else if (!text.isEmpty()) {
                if (wrap && ps.NoAutoSize) {
                    cv.WrappedText(left + RoundEven(2 * FPixelTo01mm) + FHMargin, top - FLineMargin,
                                   std::min(right, bandRight) - FHMargin, bottom, text, font.Color, ha);
                } else {
                    const QStringList lines = CellLines(text, Grid.Multilinecells);
                    const int lh = gh + ps.RowSpacing + (gh + ps.RowSpacing) / 8 - ps.RowSpacing;
                    const int n = int(lines.size());
                    int offset = 0;
                    if (ext.X == 0 && ext.Y == 0) {
                        if (va == vtaCenter)
                            offset = (rowH - lh * n) / 2;
                        else if (va == vtaBottom)
                            offset = rowH - lh * n;
                    }
                    offset = std::max(0, offset);
                    for (int k = 0; k < n; ++k) {
                        const int w = cv.TextWidth(lines[k]);
                        int x = textLeft + FHMargin;
                        if (ha == taRightJustify)
                            x = right - FHMargin - w;
                        else if (ha == taCenter)
                            x = left + (right - left - w) / 2;
                        cv.TextOut(x, top - FLineMargin - offset - k * lh, lines[k], font.Color);
                    }
                }
            }
            cv.ClearClip();
        }
        // Lines.
        const int penW = FMode == pmPreview ? std::max(1, pen.Width) : std::max(1, RoundEven(pen.Width * FPixelTo01mm));
        // Inside a merged area only its outline is drawn.
        const TPoint areaBase = Grid.BaseCell(rc, row);
        if (ext.X > 0)
            borders &= ~cbRight;
        if (ext.Y > 0)
            borders &= ~cbBottom;
        if (areaBase.X < rc)
            borders &= ~cbLeft;
        if (areaBase.Y < row)
            borders &= ~cbTop;
        const TColor lc = pen.Color;
        const platform::TPenStyle style = ps.BorderStyle;
        if (borders & cbLeft) {
            const int x = c == PrintColStart ? left : left - penW;
            cv.Line(x, top, x, bottom, lc, penW, style);
        }
        if (borders & cbRight)
            cv.Line(right, top, right, bottom, lc, penW, style);
        if (borders & cbTop)
            cv.Line(left, top, right, top, lc, penW, style);
        if (borders & cbBottom)
            cv.Line(left, bottom, right, bottom, lc, penW, style);
    }
    cv.SetFont(ps.Font, MapFontHeight(Grid, ps.Font.Size));
    return rh;
}

}  // namespace grid::dataops
