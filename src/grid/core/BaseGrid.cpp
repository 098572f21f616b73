#include "grid/core/BaseGrid.h"

#include <algorithm>

#include "grid/core/GridTextUtils.h"

namespace grid {

void TCellProperties::Repaint()
{
    if (Grid)
        Grid->RepaintCell(OwnerCol, OwnerRow);
}

void TCellProperties::SetBrushColor(TColor value)
{
    FBrushColor = value;
    Repaint();
}

void TCellProperties::SetBrushColorTo(TColor value)
{
    FBrushColorTo = value;
    Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment value)
{
    FVAlignment = value;
    Repaint();
}

void TCellProperties::SetWordWrap(bool value)
{
    FWordWrap = value;
    Repaint();
}

TPoint TCellProperties::GetBaseCell(int c, int r) const
{
    if (!IsBaseCell && CellSpanX != -1 && CellSpanY != -1)
        return {c - CellSpanX, r - CellSpanY};
    return {c, r};
}

void TCellProperties::Assign(const TCellProperties& source)
{
    IsBaseCell = source.IsBaseCell;
    CellSpanX = source.CellSpanX;
    CellSpanY = source.CellSpanY;
    OwnerRow = source.OwnerRow;
    OwnerCol = source.OwnerCol;
    CellObject = source.CellObject;
    Alignment = source.Alignment;
    BorderColor = source.BorderColor;
    BorderWidth = source.BorderWidth;
    FBrushColor = source.FBrushColor;
    BrushStyle = source.BrushStyle;
    FontColor = source.FontColor;
    FontStyle = source.FontStyle;
    FontName = source.FontName;
    FontSize = source.FontSize;
    ReadOnly = source.ReadOnly;
    Editor = source.Editor;
    FVAlignment = source.FVAlignment;
    FWordWrap = source.FWordWrap;
    NodeLevel = source.NodeLevel;
    Control = source.Control;
}

void TGridRowData::SetText(int c, const QString& value, int columns)
{
    if (c >= Texts.Size()) {
        if (value.isEmpty())
            return;
        Texts.Resize(std::max(c + 1, columns));
    }
    Texts.Set(c, value);
}

std::unique_ptr<TCellProperties> TGridRowData::TakeProps(int c)
{
    if (size_t(c) >= Props.size())
        return nullptr;
    return std::move(Props[size_t(c)]);
}

void TGridRowData::SetProps(int c, std::unique_ptr<TCellProperties> value)
{
    if (size_t(c) >= Props.size()) {
        if (!value)
            return;
        Props.resize(size_t(c) + 1);
    }
    Props[size_t(c)] = std::move(value);
}

void TGridRowData::InsertColumns(int at, int count)
{
    if (at < Texts.Size())
        Texts.Insert(at, count);
    if (size_t(at) < Props.size()) {
        std::vector<std::unique_ptr<TCellProperties>> gap(static_cast<std::size_t>(count));
        Props.insert(Props.begin() + at, std::make_move_iterator(gap.begin()), std::make_move_iterator(gap.end()));
        for (auto& p : Props)
            if (p && p->OwnerCol >= at)
                p->OwnerCol += count;
    }
}

void TGridRowData::EraseColumns(int at, int count)
{
    Texts.Erase(at, count);
    if (size_t(at) < Props.size()) {
        Props.erase(Props.begin() + at, Props.begin() + std::min<size_t>(Props.size(), size_t(at + count)));
        for (auto& p : Props)
            if (p && p->OwnerCol >= at)
                p->OwnerCol -= count;
    }
}

void TGridRowData::MoveColumn(int from, int to)
{
    const size_t need = size_t(std::max(from, to)) + 1;
    Texts.Move(from, to);
    if (!Props.empty()) {
        if (Props.size() < need)
            Props.resize(need);
        auto p = std::move(Props[size_t(from)]);
        Props.erase(Props.begin() + from);
        Props.insert(Props.begin() + to, std::move(p));
    }
}

TObjStringGrid::TObjStringGrid(QWidget* parent) : platform::TCustomControl(parent)
{
    Rows.resize(size_t(FRowCount));
    ColSizes.Resize(FColCount, FDefaultColWidth);
    RowSizes.Resize(FRowCount, FDefaultRowHeight);
    // The grid paints every pixel of its client area.
    SetOpaque(true);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(400, 250);
    SetScrollBars(platform::ssBoth);
    UpdateScrollRange();
}

TObjStringGrid::~TObjStringGrid() = default;

QString TObjStringGrid::GetGridCell(int c, int r) const
{
    if (r < 0 || r >= FRowCount || c < 0)
        return {};
    return Rows[size_t(r)].Text(c);
}

void TObjStringGrid::SetGridCell(int c, int r, const QString& value)
{
    if (InStore(c, r))
        Rows[size_t(r)].SetText(c, value, StoreColCount());
}

TCellProperties* TObjStringGrid::GetGridObject(int c, int r) const
{
    if (r < 0 || r >= FRowCount || c < 0)
        return nullptr;
    return Rows[size_t(r)].PropsAt(c);
}

void TObjStringGrid::SetGridObject(int c, int r, std::unique_ptr<TCellProperties> value)
{
    if (InStore(c, r))
        Rows[size_t(r)].SetProps(c, std::move(value));
}

std::unique_ptr<TCellProperties> TObjStringGrid::TakeGridObject(int c, int r)
{
    if (r < 0 || r >= FRowCount || c < 0)
        return nullptr;
    return Rows[size_t(r)].TakeProps(c);
}

void TObjStringGrid::ClampCurrent()
{
    const int maxCol = std::max(FColCount - 1, 0);
    const int maxRow = std::max(FRowCount - 1, 0);
    FCol = std::clamp(FCol, std::min(FFixedCols, maxCol), maxCol);
    FRow = std::clamp(FRow, std::min(FFixedRows, maxRow), maxRow);
    auto clampRect = [&](TGridRect& s) {
        s.Left = std::clamp(s.Left, 0, maxCol);
        s.Right = std::clamp(s.Right, 0, maxCol);
        s.Top = std::clamp(s.Top, 0, maxRow);
        s.Bottom = std::clamp(s.Bottom, 0, maxRow);
    };
    clampRect(FSelection);
    FAnchor = {std::clamp(FAnchor.X, std::min(FFixedCols, maxCol), maxCol),
               std::clamp(FAnchor.Y, std::min(FFixedRows, maxRow), maxRow)};
    FTopRow = std::clamp(FTopRow, std::min(FFixedRows, maxRow), maxRow);
    FLeftCol = std::clamp(FLeftCol, std::min(FFixedCols, maxCol), maxCol);
}

void TObjStringGrid::SetPlatformColCount(int value)
{
    value = std::max(value, 1);
    if (value == FColCount)
        return;
    if (FFixedCols >= value)
        FFixedCols = value - 1;
    ColSizes.Resize(value, FDefaultColWidth);
    const int old = FColCount;
    FColCount = value;
    ClampCurrent();
    SizeChanged(old, FRowCount);
    ColumnLayoutChanged();
    LayoutChanged();
}

void TObjStringGrid::SetPlatformRowCount(int value)
{
    value = std::max(value, 1);
    if (value == FRowCount)
        return;
    if (FFixedRows >= value)
        FFixedRows = value - 1;
    Rows.resize(size_t(value));
    RowSizes.Resize(value, FDefaultRowHeight);
    const int old = FRowCount;
    FRowCount = value;
    ClampCurrent();
    SizeChanged(FColCount, old);
    LayoutChanged();
}

void TObjStringGrid::SetPlatformFixedCols(int value)
{
    const int old = FFixedCols;
    FFixedCols = std::clamp(value, 0, FColCount - 1);
    // Showing the first scrollable column, the grid goes on showing it when fewer columns are fixed.
    if (FLeftCol == old && FFixedCols < old)
        FLeftCol = FFixedCols;
    ClampCurrent();
    LayoutChanged();
}

void TObjStringGrid::SetPlatformFixedRows(int value)
{
    const int old = FFixedRows;
    FFixedRows = std::clamp(value, 0, FRowCount - 1);
    if (FTopRow == old && FFixedRows < old)
        FTopRow = FFixedRows;
    ClampCurrent();
    LayoutChanged();
}

void TObjStringGrid::SetDefaultColWidth(int value)
{
    FDefaultColWidth = value;
    ColSizes.Fill(value);
    ColWidthsChanged();
    ColumnLayoutChanged();
    LayoutChanged();
}

void TObjStringGrid::SetPlatformDefaultRowHeight(int value)
{
    FDefaultRowHeight = value;
    RowSizes.Fill(value);
    RowHeightsChanged();
    LayoutChanged();
}

int TObjStringGrid::ColWidths(int i) const
{
    return i >= 0 && i < FColCount ? ColSizes.Size(i) : FDefaultColWidth;
}

void TObjStringGrid::SetColWidths(int i, int value)
{
    if (i < 0 || i >= FColCount)
        return;
    if (ColSizes.Size(i) == value)
        return;
    ColSizes.Set(i, value);
    ColWidthsChanged();
    ColumnLayoutChanged();
    LayoutChanged();
}

int TObjStringGrid::RowHeights(int i) const
{
    return i >= 0 && i < FRowCount ? RowSizes.Size(i) : FDefaultRowHeight;
}

void TObjStringGrid::SetRowHeights(int i, int value)
{
    if (i < 0 || i >= FRowCount)
        return;
    if (RowSizes.Size(i) == value)
        return;
    RowSizes.Set(i, value);
    RowHeightsChanged();
    LayoutChanged();
}

void TObjStringGrid::SetCol(int value)
{
    if (value < 0 || value >= FColCount || !SelectCell(value, FRow))
        return;
    FCol = value;
    FSelection = {FCol, FRow, FCol, FRow};
    FAnchor = {FCol, FRow};
    Invalidate();
}

void TObjStringGrid::SetRow(int value)
{
    if (value < 0 || value >= FRowCount || !SelectCell(FCol, value))
        return;
    FRow = value;
    FSelection = {FCol, FRow, FCol, FRow};
    FAnchor = {FCol, FRow};
    Invalidate();
}

void TObjStringGrid::MoveColRow(int c, int r)
{
    if (c < 0 || c >= FColCount || r < 0 || r >= FRowCount || !SelectCell(c, r))
        return;
    FCol = c;
    FRow = r;
    FSelection = {c, r, c, r};
    FAnchor = {c, r};
    ScrollInView(c, r);
    Invalidate();
}

void TObjStringGrid::ScrollInView(int c, int r)
{
    if (r < FTopRow && r >= FFixedRows)
        SetTopRow(r);
    else if (r >= FTopRow + VisibleRowCount())
        SetTopRow(std::max(FFixedRows, r - VisibleRowCount() + 1));
    if (c < FLeftCol && c >= FFixedCols)
        SetLeftCol(c);
    else if (c >= FLeftCol + VisibleColCount() && c >= FFixedCols)
        SetLeftCol(std::max(FFixedCols, c - VisibleColCount() + 1));
}

void TObjStringGrid::ExtendSelection(int c, int r)
{
    if (!(Options & goRangeSelect)) {
        MoveColRow(c, r);
        return;
    }
    if (c < FFixedCols || c >= FColCount || r < FFixedRows || r >= FRowCount || !SelectCell(c, r))
        return;
    const TGridRect oldSelection = PaintedSelection();
    const TGridCoord oldCurrent{FCol, FRow};
    FCol = c;
    FRow = r;
    if (Options & goRowSelect)
        FSelection = {FFixedCols, std::min(FAnchor.Y, r), std::max(FFixedCols, FColCount - 1), std::max(FAnchor.Y, r)};
    else
        FSelection = {std::min(FAnchor.X, c), std::min(FAnchor.Y, r), std::max(FAnchor.X, c), std::max(FAnchor.Y, r)};
    ScrollInView(c, r);
    InvalidateSelectionChange(oldSelection, oldCurrent);
}

void TObjStringGrid::InvalidateSelectionChange(const TGridRect& oldSelection, TGridCoord oldCurrent)
{
    const TGridRect now = PaintedSelection();
    if (now == oldSelection && oldCurrent == TGridCoord{FCol, FRow})
        return;
    InvalidateRect(RangeRect(oldSelection));
    InvalidateRect(RangeRect(now));
    for (const TGridCoord cell : {oldCurrent, TGridCoord{FCol, FRow}}) {
        InvalidateRect(RangeRect({0, cell.Y, FColCount - 1, cell.Y}));
        InvalidateRect(RangeRect({cell.X, 0, cell.X, FRowCount - 1}));
    }
}

void TObjStringGrid::SetSelection(const TGridRect& value)
{
    FSelection = value;
    FAnchor = {FCol == value.Left ? value.Right : value.Left, FRow == value.Top ? value.Bottom : value.Top};
    Invalidate();
}

void TObjStringGrid::SetTopRow(int value)
{
    if (value < FFixedRows || value >= FRowCount || value == FTopRow)
        return;
    FTopRow = value;
    TopLeftChanged();
    LayoutChanged();
}

void TObjStringGrid::SetLeftCol(int value)
{
    if (value < FFixedCols || value >= FColCount || value == FLeftCol)
        return;
    FLeftCol = value;
    TopLeftChanged();
    LayoutChanged();
}

int TObjStringGrid::VisibleColCount() const
{
    const int64_t room = ClientWidth() - ColSizes.Offset(FFixedCols);
    const int64_t start = ColSizes.Offset(FLeftCol);
    const int last = ColSizes.Find(start + std::max<int64_t>(room, 0));
    return std::max(0, std::min(last, FColCount) - FLeftCol);
}

int TObjStringGrid::VisibleRowCount() const
{
    const int64_t room = ClientHeight() - RowSizes.Offset(FFixedRows);
    const int64_t start = RowSizes.Offset(FTopRow);
    const int last = RowSizes.Find(start + std::max<int64_t>(room, 0));
    return std::max(0, std::min(last, FRowCount) - FTopRow);
}

TRect TObjStringGrid::PlatformCellRect(int c, int r) const
{
    if (c < 0 || c >= FColCount || r < 0 || r >= FRowCount)
        return {};
    if ((c >= FFixedCols && c < FLeftCol) || (r >= FFixedRows && r < FTopRow))
        return {};
    int64_t x = ColSizes.Offset(c);
    if (c >= FFixedCols)
        x -= ColSizes.Offset(FLeftCol) - ColSizes.Offset(FFixedCols);
    int64_t y = RowSizes.Offset(r);
    if (r >= FFixedRows)
        y -= RowSizes.Offset(FTopRow) - RowSizes.Offset(FFixedRows);
    if (x >= ClientWidth() || y >= ClientHeight())
        return {};
    return {int(x), int(y), int(x + ColSizes.Size(c)), int(y + RowSizes.Size(r))};
}

TGridCoord TObjStringGrid::MouseToCell(int x, int y) const
{
    if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight())
        return {};
    const int64_t fixedW = ColSizes.Offset(FFixedCols);
    const int64_t fixedH = RowSizes.Offset(FFixedRows);
    const int c = x < fixedW ? ColSizes.Find(x) : ColSizes.Find(x - fixedW + ColSizes.Offset(FLeftCol));
    const int r = y < fixedH ? RowSizes.Find(y) : RowSizes.Find(y - fixedH + RowSizes.Offset(FTopRow));
    if (c >= FColCount || r >= FRowCount)
        return {};
    return {c, r};
}

void TObjStringGrid::PlatformMoveRow(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= FRowCount || to >= FRowCount)
        return;
    TGridRowData moving = std::move(Rows[size_t(from)]);
    Rows.erase(Rows.begin() + from);
    Rows.insert(Rows.begin() + to, std::move(moving));
    RowSizes.Move(from, to);
    const int lo = std::min(from, to), hi = std::max(from, to);
    for (int r = lo; r <= hi; ++r)
        for (auto& p : Rows[size_t(r)].Props)
            if (p)
                p->OwnerRow = r;
    LayoutChanged();
}

void TObjStringGrid::PlatformMoveColumn(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= FColCount || to >= FColCount)
        return;
    PlatformMoveStoreColumn(from, to);
    ColSizes.Move(from, to);
    LayoutChanged();
}

void TObjStringGrid::PlatformPermuteRows(int from, const std::vector<int>& order)
{
    const int n = int(order.size());
    if (from < 0 || from + n > FRowCount)
        return;
    std::vector<TGridRowData> moved(static_cast<size_t>(n));
    std::vector<int> heights(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        moved[size_t(k)] = std::move(Rows[size_t(order[size_t(k)])]);
        heights[size_t(k)] = RowSizes.Size(order[size_t(k)]);
    }
    for (int k = 0; k < n; ++k) {
        const int r = from + k;
        Rows[size_t(r)] = std::move(moved[size_t(k)]);
        for (auto& p : Rows[size_t(r)].Props)
            if (p)
                p->OwnerRow = r;
        if (RowSizes.Size(r) != heights[size_t(k)])
            RowSizes.Set(r, heights[size_t(k)]);
    }
    LayoutChanged();
}

void TObjStringGrid::PlatformInsertRowsBefore(const std::vector<int>& before)
{
    if (before.empty())
        return;
    std::vector<TGridRowData> rows;
    std::vector<int> heights;
    rows.reserve(Rows.size() + before.size());
    heights.reserve(Rows.size() + before.size());
    size_t k = 0;
    for (int r = 0; r <= FRowCount; ++r) {
        for (; k < before.size() && before[k] <= r; ++k) {
            rows.emplace_back();
            heights.push_back(FDefaultRowHeight);
        }
        if (r < FRowCount) {
            rows.push_back(std::move(Rows[size_t(r)]));
            heights.push_back(RowSizes.Size(r));
        }
    }
    PlatformSetRows(std::move(rows), heights);
}

void TObjStringGrid::PlatformDeleteRowList(const std::vector<int>& list)
{
    if (list.empty())
        return;
    std::vector<TGridRowData> rows;
    std::vector<int> heights;
    size_t k = 0;
    for (int r = 0; r < FRowCount; ++r) {
        if (k < list.size() && list[k] == r) {
            ++k;
            continue;
        }
        rows.push_back(std::move(Rows[size_t(r)]));
        heights.push_back(RowSizes.Size(r));
    }
    PlatformSetRows(std::move(rows), heights);
}

void TObjStringGrid::PlatformSetRows(std::vector<TGridRowData> rows, const std::vector<int>& heights)
{
    if (rows.empty()) {
        rows.resize(1);
    }
    Rows = std::move(rows);
    const int old = FRowCount;
    FRowCount = int(Rows.size());
    RowSizes.Resize(0, FDefaultRowHeight);
    RowSizes.Resize(FRowCount, FDefaultRowHeight);
    for (int r = 0; r < FRowCount; ++r) {
        if (size_t(r) < heights.size())
            RowSizes.Set(r, heights[size_t(r)]);
        for (auto& p : Rows[size_t(r)].Props)
            if (p)
                p->OwnerRow = r;
    }
    if (FFixedRows >= FRowCount)
        FFixedRows = FRowCount - 1;
    ClampCurrent();
    SizeChanged(FColCount, old);
    LayoutChanged();
}

void TObjStringGrid::PlatformMoveStoreColumn(int from, int to)
{
    if (from == to || from < 0 || to < 0)
        return;
    for (auto& row : Rows) {
        if (row.Empty())
            continue;
        row.MoveColumn(from, to);
        for (size_t c = 0; c < row.Props.size(); ++c)
            if (row.Props[c])
                row.Props[c]->OwnerCol = int(c);
    }
}

void TObjStringGrid::PlatformInsertRows(int at, int count)
{
    at = std::clamp(at, 0, FRowCount);
    std::vector<TGridRowData> fresh(static_cast<std::size_t>(count));
    Rows.insert(Rows.begin() + at, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    FRowCount += count;
    RowSizes.Insert(at, count, FDefaultRowHeight);
    for (int r = at + count; r < FRowCount; ++r)
        for (auto& p : Rows[size_t(r)].Props)
            if (p)
                p->OwnerRow = r;
    SizeChanged(FColCount, FRowCount - count);
    LayoutChanged();
}

void TObjStringGrid::PlatformDeleteRows(int at, int count)
{
    if (at < 0 || at >= FRowCount || count <= 0)
        return;
    count = std::min(count, FRowCount - at);
    if (FRowCount - count < 1)
        count = FRowCount - 1;
    if (count <= 0) {
        Rows[size_t(at)] = TGridRowData{};
        return;
    }
    Rows.erase(Rows.begin() + at, Rows.begin() + at + count);
    FRowCount -= count;
    RowSizes.Erase(at, count);
    for (int r = at; r < FRowCount; ++r)
        for (auto& p : Rows[size_t(r)].Props)
            if (p)
                p->OwnerRow = r;
    if (FFixedRows >= FRowCount)
        FFixedRows = FRowCount - 1;
    ClampCurrent();
    SizeChanged(FColCount, FRowCount + count);
    LayoutChanged();
}

TBaseGrid::TBaseGrid() = default;

TGridColor& TGridColor::operator=(TColor value)
{
    if (value != FValue) {
        FValue = value;
        FGrid->ColorChanged();
    }
    return *this;
}

void TBaseGrid::ColorChanged() { Invalidate(); }

TBaseGrid::~TBaseGrid()
{
    Destroying = true;
}

QString TBaseGrid::GetCellEx(int c, int r)
{
    TPoint b{c, r};
    if (TCellProperties* p = CellProps(c, r))
        b = p->GetBaseCell(c, r);
    QString text = GetGridCell(b.X, b.Y);
    if (b.Y < NormalRowCount) {
        GetDisplText(b.X, b.Y, text);
        if (OnGetDisplWideText) {
            QString wide = DecodeWideText(text);
            GetDisplWideText(b.X, b.Y, wide);
            text = EncodeWideText(wide);
        }
    }
    return text;
}

void TBaseGrid::SetCellEx(int c, int r, const QString& value)
{
    if (TCellProperties* p = CellProps(c, r)) {
        const TPoint b = p->GetBaseCell(c, r);
        SetGridCell(b.X, b.Y, value);
        CellTextChanged(b.X, b.Y);
    } else {
        SetGridCell(c, r, value);
    }
    // The new text shows at once, whatever else repaints the grid; a hidden grid has nothing to show.
    if (isVisible())
        RepaintCell(DisplColIndex(c), r);
    if (HideLastRow && r == RowCount() - 1)
        LastRowChanged();
}

void TBaseGrid::GetDisplText(int c, int r, QString& value)
{
    if (OnGetDisplText)
        OnGetDisplText(this, c, r, value);
}

void TBaseGrid::GetDisplWideText(int c, int r, QString& value)
{
    if (OnGetDisplWideText)
        OnGetDisplWideText(this, c, r, value);
}

void TBaseGrid::GetCellPropDefaults(int, int, TCellPropDefaults& d)
{
    d.FontName = FontName;
    d.FontSize = FontSize;
    d.FontStyle = 0;
    d.FontColor = clNone;
    d.BrushColor = Color;
    d.ColorTo = d.MirrorColor = d.MirrorColorTo = clNone;
    d.HAlign = taLeftJustify;
    d.VAlign = vtaTop;
    d.WordWrap = WordWrap;
    d.GradientDirection = GradientVertical;
}

std::unique_ptr<TCellProperties> TBaseGrid::NewCellProperties(int c, int r, bool setCalcType)
{
    auto p = std::make_unique<TCellProperties>(this, c, r);
    TCellPropDefaults d;
    d.WordWrap = WordWrap;
    GetCellPropDefaults(c, r, d);
    if (setCalcType)
        p->CalcType = acNONE;
    p->Alignment = d.HAlign;
    p->FontName = d.FontName;
    p->FontSize = d.FontSize;
    p->FontStyle = d.FontStyle;
    p->FontColor = d.FontColor;
    p->GradientDirection = d.GradientDirection;
    p->Init(d.BrushColor, d.ColorTo, d.VAlign, d.WordWrap);
    FHasCellProps = true;
    return p;
}

TCellProperties* TBaseGrid::GetCellProperties(int c, int r)
{
    if (!InStore(c, r))
        return nullptr;
    if (TCellProperties* p = GetGridObject(c, r))
        return p;
    SetGridObject(c, r, NewCellProperties(c, r, true));
    return GetGridObject(c, r);
}

void TBaseGrid::SetCellProperties(int c, int r, std::unique_ptr<TCellProperties> value)
{
    if (!InStore(c, r))
        return;
    if (value) {
        value->Grid = this;
        value->OwnerCol = c;
        value->OwnerRow = r;
        FHasCellProps = true;
    }
    SetGridObject(c, r, std::move(value));
}

bool TBaseGrid::HasCellProperties(int c, int r) const
{
    return c >= 0 && c < TotalColCount() && r >= 0 && r < RowCount() && GetGridObject(c, r) != nullptr;
}

void TBaseGrid::FreeCellProps(int c, int r)
{
    TakeGridObject(c, r);
}

void TBaseGrid::FreeCellPropsRect(int fromCol, int fromRow, int toCol, int toRow)
{
    if (!FHasCellProps)
        return;
    for (int c = std::max(fromCol, 0); c <= toCol; ++c)
        for (int r = std::max(fromRow, 0); r <= std::min(toRow, RowCount() - 1); ++r)
            TakeGridObject(c, r);
}

TObject* TBaseGrid::GetObjectEx(int c, int r) const
{
    TCellProperties* p = GetGridObject(c, r);
    return p ? p->CellObject : nullptr;
}

void TBaseGrid::SetObjectEx(int c, int r, TObject* value)
{
    if (TCellProperties* p = GetCellProperties(c, r))
        p->CellObject = value;
}

TCellGraphic* TBaseGrid::GetGraphicObjectEx(int c, int r) const
{
    TCellProperties* p = GetGridObject(c, r);
    return p ? p->Graphic.get() : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int c, int r, std::unique_ptr<TCellGraphic> value)
{
    if (Destroying || !InStore(c, r))
        return;
    TCellProperties* p = GetGridObject(c, r);
    if (!p) {
        SetGridObject(c, r, NewCellProperties(c, r, false));
        p = GetGridObject(c, r);
    }
    p->Graphic = std::move(value);
}

bool TBaseGrid::MergeCells(int c, int r, int spanX, int spanY)
{
    if (spanX < 1 || spanY < 1)
        return false;
    if (c < 0 || r < 0 || c + spanX > TotalColCount() || r + spanY > RowCount())
        return false;
    for (int x = c; x < c + spanX; ++x)
        for (int y = r; y < r + spanY; ++y)
            if (IsMergedCell(x, y))
                return false;
    ++FMergeCount;
    for (int x = c; x < c + spanX; ++x) {
        for (int y = r; y < r + spanY; ++y) {
            TCellProperties* p = GetCellProperties(x, y);
            const bool base = x == c && y == r;
            p->IsBaseCell = base;
            p->CellSpanX = base ? spanX - 1 : x - c;
            p->CellSpanY = base ? spanY - 1 : y - r;
        }
    }
    for (int x = c; x < c + spanX; ++x)
        for (int y = r; y < r + spanY; ++y)
            RepaintCell(x, y);
    return true;
}

void TBaseGrid::SplitCells(int c, int r)
{
    if (!IsMergedCell(c, r))
        return;
    const TGridRect area = FullCell(c, r);
    for (int x = area.Left; x <= area.Right; ++x) {
        for (int y = area.Top; y <= area.Bottom; ++y) {
            if (TCellProperties* p = CellProps(x, y)) {
                p->IsBaseCell = true;
                p->CellSpanX = -1;
                p->CellSpanY = -1;
                RepaintCell(x, y);
            }
        }
    }
    if (FMergeCount > 0)
        --FMergeCount;
}

TPoint TBaseGrid::BaseCell(int c, int r) const
{
    if (TCellProperties* p = CellProps(c, r))
        return p->GetBaseCell(c, r);
    return {c, r};
}

bool TBaseGrid::IsBaseCell(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    return !p || p->IsBaseCell;
}

bool TBaseGrid::IsMergedCell(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    return p && (p->CellSpanX > 0 || p->CellSpanY > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int c, int r) const
{
    return IsMergedCell(c, r) && !IsBaseCell(c, r);
}

bool TBaseGrid::IsXMergedCell(int c, int r) const
{
    const TPoint b = BaseCell(c, r);
    TCellProperties* p = CellProps(b.X, b.Y);
    return p && p->CellSpanX > 0;
}

bool TBaseGrid::IsYMergedCell(int c, int r) const
{
    const TPoint b = BaseCell(c, r);
    TCellProperties* p = CellProps(b.X, b.Y);
    return p && p->CellSpanY > 0;
}

TPoint TBaseGrid::CellSpan(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    if (!p || p->CellSpanX == -1 || p->CellSpanY == -1)
        return {0, 0};
    const TPoint b = p->GetBaseCell(c, r);
    TCellProperties* bp = CellProps(b.X, b.Y);
    return bp ? TPoint{bp->CellSpanX, bp->CellSpanY} : TPoint{0, 0};
}

TPoint TBaseGrid::CellExt(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    if (!p || p->CellSpanX == -1 || p->CellSpanY == -1)
        return {0, 0};
    const TPoint b = p->GetBaseCell(c, r);
    const TPoint s = CellSpan(c, r);
    return {b.X + s.X - c, b.Y + s.Y - r};
}

TGridRect TBaseGrid::FullCell(int c, int r) const
{
    const TPoint b = BaseCell(c, r);
    const TPoint s = CellSpan(c, r);
    return {b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

bool TBaseGrid::FindBaseCell(int c, int r, int& baseCol, int& baseRow) const
{
    const TPoint b = BaseCell(c, r);
    baseCol = b.X;
    baseRow = b.Y;
    return b.X == c && b.Y == r;
}

int TBaseGrid::MinRowSpan(int r) const
{
    int best = RowCount();
    for (int c = 0; c < ColCount(); ++c) {
        const int y = CellSpan(c, r).Y;
        if (y > 0)
            best = std::min(best, y);
    }
    return std::min(best, RowCount());
}

int TBaseGrid::MaxRowSpan(int r) const
{
    int best = 0;
    for (int c = 0; c < ColCount(); ++c)
        best = std::max(best, CellSpan(c, r).Y);
    return best;
}

bool TBaseGrid::RowSpanIdentical(int r1, int r2) const
{
    bool shared = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, r1).Y > 0 && CellSpan(c, r2).Y > 0) {
            shared = true;
            if (BaseCell(c, r1).Y != BaseCell(c, r2).Y)
                return false;
        }
    }
    return shared;
}

bool TBaseGrid::ColSpanIdentical(int c1, int c2) const
{
    bool shared = false;
    for (int r = 0; r < RowCount(); ++r) {
        const int e1 = CellSpan(c1, r).X, e2 = CellSpan(c2, r).X;
        if (e1 > 0 && e2 > 0) {
            shared = true;
            if (BaseCell(c1, r).X != BaseCell(c2, r).X)
                return false;
        } else if (e1 != e2) {
            return false;
        }
    }
    return shared;
}

void TBaseGrid::MoveToBaseCell()
{
    if (!HasCellProperties(Col(), Row()))
        return;
    const TPoint b = BaseCell(Col(), Row());
    if (b.X != Col() || b.Y != Row())
        MoveColRow(b.X, b.Y);
}

void TBaseGrid::KeyMove(int& key, bool extend)
{
    auto MoveColRow = [this, extend](int c, int r) { MoveCurrent(c, r, extend); };
    enum { VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40 };
    if (key == VK_NEXT && VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1 && HideLastRow && RowCount() > 1)
        extend ? MoveColRow(Col(), RowCount() - 2) : SetRow(RowCount() - 2);
    if (TCellProperties* p = CellProps(Col(), Row()); p && IsMergedCell(Col(), Row())) {
        const TPoint b = p->GetBaseCell(Col(), Row());
        const TPoint s = CellSpan(Col(), Row());
        switch (key) {
        case VK_LEFT:
            if (b.X < Col() && Col() > FixedCols() && b.X > 0)
                MoveColRow(b.X, Row());
            break;
        case VK_UP:
            if (b.Y < Row() && Row() > FixedRows() && b.Y > 0)
                MoveColRow(Col(), b.Y);
            break;
        case VK_RIGHT:
            if (b.X + s.X >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && b.X + s.X < ColCount())
                MoveColRow(b.X + s.X, Row());
            break;
        case VK_DOWN:
            if (b.Y + s.Y >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1)
                MoveColRow(Col(), std::min(b.Y + s.Y, RowCount() - 1));
            break;
        default:
            break;
        }
    }
    // The platform's one-step move.
    switch (key) {
    case VK_LEFT:
        if (Col() > FixedCols())
            MoveColRow(Col() - 1, Row());
        break;
    case VK_RIGHT:
        if (Col() < ColCount() - 1)
            MoveColRow(Col() + 1, Row());
        break;
    case VK_UP:
        if (Row() > FixedRows())
            MoveColRow(Col(), Row() - 1);
        break;
    case VK_DOWN:
        if (Row() < RowCount() - 1)
            MoveColRow(Col(), Row() + 1);
        break;
    case VK_PRIOR:
        MoveColRow(Col(), std::max(FixedRows(), Row() - std::max(VisibleRowCount(), 1)));
        break;
    case VK_NEXT:
        MoveColRow(Col(), std::min(RowCount() - 1, Row() + std::max(VisibleRowCount(), 1)));
        break;
    // The first and the last column of the row; in a row-select grid the first and the last row.
    case VK_HOME:
        if (Options & goRowSelect)
            MoveColRow(Col(), FixedRows());
        else
            MoveColRow(FixedCols(), Row());
        break;
    case VK_END:
        if (Options & goRowSelect)
            MoveColRow(Col(), RowCount() - 1);
        else
            MoveColRow(ColCount() - 1, Row());
        break;
    default:
        return;
    }
    if (!extend)
        MoveToBaseCell();
}

TRect TBaseGrid::AbsCellRect(int c, int r) const
{
    int64_t x = ColOffset(c);
    if (c >= FixedCols())
        x += PlatformCellRect(LeftCol(), TopRow()).Left - (ColOffset(LeftCol()) - ColOffset(0));
    int64_t y = RowOffset(r);
    if (r >= FixedRows())
        y += PlatformCellRect(LeftCol(), TopRow()).Top - (RowOffset(TopRow()) - RowOffset(0));
    return {int(x), int(y), int(x + ColWidths(c)), int(y + RowHeights(r))};
}

TRect TBaseGrid::CellRect(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    if (p && p->CellSpanX != -1 && p->CellSpanY != -1) {
        const TPoint b = p->GetBaseCell(c, r);
        const TPoint s = CellSpan(c, r);
        TRect a = AbsCellRect(b.X, b.Y);
        TRect z = AbsCellRect(b.X + s.X, b.Y + s.Y);
        if (a.Width() == 0)
            ++a.Right;
        if (z.Width() == 0)
            --z.Left;
        return {std::min(a.Left, z.Left), std::min(a.Top, z.Top), std::max(a.Right, z.Right),
                std::max(a.Bottom, z.Bottom)};
    }
    if (p && p->Control)
        return AbsCellRect(c, r);
    TRect rect = PlatformCellRect(c, r);
    if (rect.IsEmpty())
        return rect;
    rect.Right = rect.Left + ColWidths(c);
    rect.Bottom = rect.Top + RowHeights(r);
    return rect;
}

TPoint TBaseGrid::CellSize(int c, int r) const
{
    if (IsMergedCell(c, r)) {
        const TGridRect f = FullCell(c, r);
        const TRect a = AbsCellRect(f.Left, f.Top);
        const TRect z = AbsCellRect(f.Right, f.Bottom);
        return {z.Right - a.Left, z.Bottom - a.Top};
    }
    return {ColWidths(c), RowHeights(r)};
}

void TBaseGrid::RepaintCell(int c, int r)
{
    InvalidateRect(CellRect(c, r));
}

}  // namespace grid
