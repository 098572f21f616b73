#include <algorithm>
#include <cfenv>
#include <cmath>
#include <numeric>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridPaint.h"
#include "grid/core/GridTextUtils.h"

namespace grid {

namespace {

bool IsCheckOrRadioKind(TCellType t) { return IsCheckKind(t) || t == ctRadio || t == ctRadioButton; }

}  // namespace

TPoint TExtStringGrid::CellContentSize(int c, int r, bool wordWrap)
{
    return GetCellTextSize(DisplToRealCol(c), r, wordWrap, false);
}

// Columns

void TExtStringGrid::FitColWidth(int index, bool growOnly)
{
    if (index < 0 || index >= ColCount())
        return;
    const int rc = DisplToRealCol(index);
    int from = 0, to = RowCount() - 1;
    if (ColumnSize.Rows == arNormal) {
        from = FixedRows();
        to = RowCount() - FixedFooters - 1;
    } else if (ColumnSize.Rows == arFixed) {
        to = FixedRows() - 1;
    }
    const int offsets = TotalXOffset() + 2 * GridLineWidth + 2;
    int widest = 0;
    for (int r = std::max(from, 0); r <= to; ++r) {
        if (IsXMergedCell(index, r))
            continue;
        const TPoint graphic = GetCellGraphicSize(rc, r);
        int need = graphic.X + CellContentSize(index, r, false).X;
        if (ControlLook.DropDownAlwaysVisible && HasComboBox(index, r))
            need += 16;
        if (FilterDropDownAuto && r == FilterDropDownRow && GetColumnFilter(index))
            need += 12;
        const int bottom = IsMergedCell(index, r) ? FullCell(index, r).Bottom : r;
        if (SortSettings.Show && bottom == SortSettings.Row && FixedRows() + 1 < RowCount() &&
            index == SortSettings.Column)
            need += 10;
        if (const TCellGraphic* g = GetCellGraphic(rc, r); g && g->CellHAlign == haFull)
            need = graphic.X - (2 * GridLineWidth + 2 + XYOffset.X);
        widest = std::max(widest, need);
    }
    int width = widest + offsets;
    if (growOnly && ColWidths(index) >= width)
        return;
    UpdateColumnSizeEx(index, width);
    SetColWidths(index, ApplySizeLimits(width, MinColWidth, MaxColWidth));
}

void TExtStringGrid::AutoSizeCol(int index, int padding)
{
    FitColWidth(index, SizeGrowOnly);
    if (padding != 0 && index >= 0 && index < ColCount())
        SetColWidths(index, ApplySizeLimits(ColWidths(index) + padding, MinColWidth, MaxColWidth));
}

void TExtStringGrid::AutoSizeColumns(bool doFixedCols, int padding)
{
    const int from = doFixedCols ? 0 : FixedCols();
    const int to = doFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols - 1;
    for (int c = from; c <= to; ++c)
        AutoSizeCol(c, padding);
}

// Rows

void TExtStringGrid::FitRowHeight(int r, bool growOnly, int reserve)
{
    if (r < 0 || r >= RowCount())
        return;
    int highest = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int rc = DisplToRealCol(c);
        if (IsYMergedCell(c, r) && !IsBaseCell(c, r))
            continue;
        if (IsIgnoredColumn(rc))
            continue;
        const TPoint text = CellContentSize(c, r, WordWrap);
        TPoint graphicSize{0, 0};
        CellGraphicSize(rc, r, graphicSize, reserve);
        int t = text.Y, g = graphicSize.Y;
        const TCellGraphic* graphic = GetCellGraphic(rc, r);
        if (graphic && graphic->CellVAlign == vaFull)
            g = t > 0 ? 0 : DefaultRowHeight();
        if (graphic && (graphic->CellType == ctDataCheckBox || graphic->CellType == ctVirtCheckBox) && g > 0)
            t = 0;
        int need = t + g;
        if (graphic && IsCheckOrRadioKind(graphic->CellType))
            need = DefaultRowHeight();
        highest = std::max(highest, need);
    }
    const int height = highest + (XYOffsetTopLeftOnly ? XYOffset.Y + 2 : 2 * XYOffset.Y) + 2 * GridLineWidth;
    if (growOnly && RowHeights(r) >= height)
        return;
    const auto allRowsShow = [this] { return VisibleRowCount() + FixedRows() >= RowCount(); };
    const bool reopen = SizeWhileTyping.Height && allRowsShow() && EditMode();
    SetRowHeights(r, ApplySizeLimits(height, MinRowHeight, MaxRowHeight));
    // A row grown while typing that pushes rows out of view brings the editor back over its cell;
    // the editing layer puts the caret after the last character.
    if (reopen && !allRowsShow())
        ShowInplaceEdit();
}

void TExtStringGrid::AutoSizeRow(int index, int padding)
{
    FitRowHeight(index, SizeGrowOnly, padding);
    if (padding != 0 && index >= 0 && index < RowCount())
        SetRowHeights(index, ApplySizeLimits(RowHeights(index) + padding, MinRowHeight, MaxRowHeight));
}

void TExtStringGrid::AutoSizeRows(bool doFixedRows, int padding)
{
    if (RowCount() == 0)
        return;
    BeginUpdate();
    platform::TCanvas canvas;
    const int first = doFixedRows ? 0 : FixedRows();
    ExportNotification(0, first);
    for (int r = first; r < RowCount(); ++r) {
        ExportNotification(5, r);
        if (WordWrap) {
            AutoSizeRow(r, 0);
            if (padding != 0)
                SetRowHeights(r, ApplySizeLimits(RowHeights(r) + padding, MinRowHeight, MaxRowHeight));
        } else {
            const int lines = MaxLinesInRow(r);
            TFontDesc font;
            GetFontProperties(FixedCols(), DisplToRealCol(FixedCols()), r, font, false);
            canvas.Font = CanvasFont(font);
            const int h = canvas.TextHeight(QStringLiteral("gh"));
            SetRowHeights(r, ApplySizeLimits(padding + lines * (h + h / 8), MinRowHeight, MaxRowHeight));
        }
    }
    UpdateScrollBarAlways(true);
    ExportNotification(2, -1);
    EndUpdate();
}

void TExtStringGrid::AutoSizeCells(bool doFixedCells, int paddingX, int paddingY)
{
    BeginUpdate();
    struct TEnd {
        TExtStringGrid* g;
        ~TEnd() { g->EndUpdate(); }
    } end{this};
    for (int c = doFixedCells ? 0 : FixedCols(); c < ColCount(); ++c) {
        int w = SizeGrowOnly ? ColWidths(c) : 0;
        const int rc = DisplToRealCol(c);
        for (int r = doFixedCells ? 0 : FixedRows(); r < RowCount(); ++r) {
            const TPoint text = CellContentSize(c, r, false);
            const TPoint graphic = GetCellGraphicSize(rc, r);
            const int needW = ApplySizeLimits(text.X + graphic.X + paddingX + XYOffset.X, MinColWidth, MaxColWidth);
            const int needH = ApplySizeLimits(text.Y + graphic.Y + paddingY + XYOffset.Y, MinRowHeight, MaxRowHeight);
            if (!IsXMergedCell(c, r) && needW > w) {
                SetColWidths(c, needW);
                w = needW;
            }
            if (!IsYMergedCell(c, r) && needH > RowHeights(r))
                SetRowHeights(r, needH);
        }
    }
}

// Fitting into the control

void TExtStringGrid::AutoFitColumns(bool doFixedCells)
{
    // The room is the client width: the vertical bar (also one ScrollBarAlways keeps shown) and
    // the border, plain or 3-D, already lie outside it, so nothing more is taken off for them.
    int from = 0, to = ColCount() - 1;
    int64_t space = ClientWidth();
    if (!doFixedCells) {
        from = FixedCols();
        to = ColCount() - FixedRightCols - 1;
        space -= ColOffset(from) + (ColOffset(ColCount()) - ColOffset(to + 1));
    }
    if (ColCount() < 2) {
        SetColWidths(0, ClientWidth() - 5);
        return;
    }
    if (to < from)
        return;
    int lines = 0;
    if (Options & goVertLine)
        lines = GridLineWidth * (ColCount() - FixedCols() - FixedRightCols);
    if (doFixedCells && (Options & goFixedVertLine))
        lines += FixedCols() + FixedRightCols;
    const int n = to - from + 1;
    int64_t sum = ColOffset(to + 1) - ColOffset(from);
    if (sum == space)
        return;
    BeginUpdate();
    if (sum <= 0) {
        // Nothing to scale: the room is shared out evenly.
        const int64_t share = std::max<int64_t>(0, space - lines) / n;
        for (int c = from; c <= to; ++c)
            SetColWidths(c, int(share));
    } else {
        const int savedRounding = std::fegetround();
        std::fesetround(FE_TONEAREST);  // half to even, as the widths were specified
        const double f = double(space - lines) / double(sum);
        int64_t t = 0;
        for (int c = from; c <= to; ++c)
            t += std::llrint(ColWidths(c) * f);
        std::vector<int> widths;
        for (int c = from; c <= to; ++c)
            widths.push_back(int(std::llrint(double(ColWidths(c)) * double(t) / double(sum))));
        std::fesetround(savedRounding);
        for (int c = from; c <= to; ++c)
            SetColWidths(c, std::max(0, widths[size_t(c - from)]));
    }
    int64_t d = space - (ColOffset(to + 1) - ColOffset(from));
    if (n > 1 && d > n) {
        const int64_t each = d / n;
        for (int c = from; c <= to; ++c)
            SetColWidths(c, int(ColWidths(c) + each));
        d -= each * n;
    }
    int widest = from;
    for (int c = from; c <= to; ++c)
        if (ColWidths(c) > ColWidths(widest))
            widest = c;
    SetColWidths(widest, std::max(0, int(ColWidths(widest) + d)));
    EndUpdate();
}

void TExtStringGrid::SizeToCols()
{
    const int64_t sum = ColOffset(ColCount());
    resize(int(width() - ClientWidth() + std::min<int64_t>(sum, 1 << 20)), height());
}

void TExtStringGrid::SizeToRows()
{
    const int64_t sum = RowOffset(RowCount());
    resize(width(), int(height() - ClientHeight() + std::min<int64_t>(sum, 1 << 20)));
}

void TExtStringGrid::SizeToCells()
{
    const platform::TScrollStyle bars = GridScrollBars();
    SetGridScrollBars(platform::ssNone);
    SizeToCols();
    SizeToRows();
    SetGridScrollBars(bars);
}

void TExtStringGrid::Zoom(int x)
{
    if (ZoomFactor + x < -10 || ZoomFactor + x > 10)
        return;
    BeginUpdate();
    ZoomFactor += x;
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) > 0 && ColWidths(c) + x > 0)
            SetColWidths(c, ColWidths(c) + x);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) > 0 && RowHeights(r) + x > 0)
            SetRowHeights(r, RowHeights(r) + x);
    EndUpdate();
}

// Swapping

void TExtStringGrid::SwapColumns(int index1, int index2)
{
    if (index1 == index2 || index1 < 0 || index2 < 0 || index1 >= ColCount() || index2 >= ColCount())
        return;
    const int c1 = DisplToRealCol(index1), c2 = DisplToRealCol(index2);
    for (int r = 0; r < RowCount(); ++r) {
        const QString t1 = GetGridCell(c1, r);
        SetGridCell(c1, r, GetGridCell(c2, r));
        SetGridCell(c2, r, t1);
        auto p1 = TakeGridObject(c1, r);
        auto p2 = TakeGridObject(c2, r);
        if (p1)
            p1->OwnerCol = c2;
        if (p2)
            p2->OwnerCol = c1;
        SetGridObject(c1, r, std::move(p2));
        SetGridObject(c2, r, std::move(p1));
    }
    const int w1 = ColWidths(index1);
    SetColWidths(index1, ColWidths(index2));
    SetColWidths(index2, w1);
    CellControlsUpdate(false);
    Invalidate();
}

void TExtStringGrid::SwapRows(int index1, int index2)
{
    if (index1 == index2 || index1 < 0 || index2 < 0 || index1 >= RowCount() || index2 >= RowCount())
        return;
    auto& rows = StoreRows();
    std::swap(rows[size_t(index1)], rows[size_t(index2)]);
    for (int r : {index1, index2})
        for (auto& p : rows[size_t(r)].Props)
            if (p)
                p->OwnerRow = r;
    const int h1 = RowHeights(index1);
    SetRowHeights(index1, RowHeights(index2));
    SetRowHeights(index2, h1);
    CellControlsUpdate(false);
    Invalidate();
}

// Original sizes and column order

void TExtStringGrid::InitOrigColSizes()
{
    FOrigColSizes.clear();
    for (int c = 0; c < ColCount(); ++c)
        FOrigColSizes.push_back(ColWidths(c));
    FOrigWidth = width();
}

void TExtStringGrid::SetColumnOrder()
{
    FColumnOrder.resize(size_t(ColCount()));
    std::iota(FColumnOrder.begin(), FColumnOrder.end(), 0);
}

void TExtStringGrid::ColumnOrderMoved(int from, int to)
{
    if (FColumnOrder.empty() || from < 0 || to < 0 || size_t(from) >= FColumnOrder.size() ||
        size_t(to) >= FColumnOrder.size())
        return;
    const int entry = FColumnOrder[size_t(from)];
    FColumnOrder.erase(FColumnOrder.begin() + from);
    FColumnOrder.insert(FColumnOrder.begin() + to, entry);
}

int TExtStringGrid::ColumnPosition(int c)
{
    if (FColumnOrder.empty())
        return c;
    int pos = c;
    const size_t n = std::min(FColumnOrder.size(), size_t(ColCount() + NumHiddenColumns()));
    for (size_t p = 0; p < n; ++p)
        if (FColumnOrder[p] == c) {
            pos = int(p);
            break;
        }
    if (GroupColumn() != -1 && c >= GroupColumn())
        --pos;
    return pos;
}

int TExtStringGrid::ColumnAtPosition(int pos)
{
    if (FColumnOrder.empty())
        SetColumnOrder();
    if (FColumnOrder.empty())
        return pos;
    if (pos < 0 || size_t(pos) >= FColumnOrder.size())
        throw EExtGridError(QStringLiteral("List index out of bounds (%1)").arg(pos));
    int entry = FColumnOrder[size_t(pos)];
    if (GroupColumn() != -1 && entry >= GroupColumn())
        ++entry;
    return entry;
}

void TExtStringGrid::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (FColumnOrder.empty()) {
        SetColumnOrder();
        return;
    }
    const int n = std::min(ColCount(), int(FColumnOrder.size()));
    // A recorded order that is no permutation could move columns back and forth for ever.
    for (int pass = 0, moved = 1; moved && pass <= n; ++pass) {
        moved = 0;
        for (int p = 0; p < n; ++p) {
            const int target = FColumnOrder[size_t(p)];
            if (target < p) {
                MoveColumn(p, target);
                moved = 1;
            }
        }
    }
}

int TExtStringGrid::ColumnByHeader(const QString& value)
{
    for (int c = 0; c < TotalColCount(); ++c)
        if (GetCellsEx(c, 0) == value)
            return c;
    return -1;
}

}  // namespace grid
