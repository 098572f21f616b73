// Hidden columns and rows, the display-to-real mapping and the bulk row and column operations.
#include <algorithm>
#include <numeric>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDataOps.h"

namespace grid {

namespace {
constexpr int MaxMappedCol = 512;

// Switches the disjunct row selection off for a scope: moving the current row while rows go must
// not flag the row it lands on.
class TNoRowSelectScope {
public:
    explicit TNoRowSelectScope(TMouseActions& actions) : FActions(actions), FWas(actions.DisjunctRowSelect())
    {
        FActions.SetDisjunctRowSelectDirect(false);
    }
    ~TNoRowSelectScope() { FActions.SetDisjunctRowSelectDirect(FWas); }
    TNoRowSelectScope(const TNoRowSelectScope&) = delete;
    TNoRowSelectScope& operator=(const TNoRowSelectScope&) = delete;

private:
    TMouseActions& FActions;
    bool FWas;
};
}

void TExtStringGrid::RebuildColumnMap()
{
    int d = 0;
    for (int a = 0; a <= MaxMappedCol; ++a) {
        DisplOfReal[size_t(a)] = int16_t(d);
        if (FVisibleCol[size_t(a)])
            RealOfDispl[size_t(d++)] = int16_t(a);
    }
    for (; d <= MaxMappedCol; ++d)
        RealOfDispl[size_t(d)] = int16_t(MaxMappedCol);
}

int TExtStringGrid::RealToDisplCol(int a) const
{
    if (a >= MaxMappedCol || FNumHidden == 0 || a < 0)
        return a;
    return DisplOfReal[size_t(a)];
}

int TExtStringGrid::DisplToRealCol(int d) const
{
    if (d >= MaxMappedCol || FNumHidden == 0 || d < 0)
        return d;
    // Display indexes past the shown real columns continue one by one past the last of them.
    const int shown = MaxMappedCol + 1 - FNumHidden;
    if (d >= shown)
        return MaxMappedCol + (d - shown);
    return RealOfDispl[size_t(d)];
}

bool TExtStringGrid::IsHiddenColumn(int c) const
{
    if (c < 0 || c >= MaxMappedCol)
        return false;
    return !FVisibleCol[size_t(c)];
}

void TExtStringGrid::HideColumns(int fromCol, int toCol)
{
    CellsMoving();
    for (int c = std::max(fromCol, 0); c <= toCol && c < MaxMappedCol; ++c) {
        if (!FVisibleCol[size_t(c)] || c >= ColCount() + FNumHidden || ColCount() < 2)
            continue;
        const int d = RealToDisplCol(c);
        FAllColWidths[size_t(c)] = int16_t(std::clamp(ColWidths(d), -32768, 32767));
        for (int i = d; i <= ColCount() - 2; ++i)
            ColSizeIndex().Set(i, ColWidths(i + 1));
        ++FNumHidden;
        FVisibleCol[size_t(c)] = false;
        RebuildColumnMap();
        if (Col() == ColCount() - 1)
            SetCol(Col() - 1);
        TExtStringGrid::SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TExtStringGrid::UnHideColumns(int fromCol, int toCol)
{
    CellsMoving();
    for (int c = std::max(fromCol, 0); c <= toCol && c < MaxMappedCol; ++c) {
        if (FVisibleCol[size_t(c)])
            continue;
        --FNumHidden;
        FVisibleCol[size_t(c)] = true;
        RebuildColumnMap();
        TExtStringGrid::SetColCount(ColCount() + 1);
        const int d = RealToDisplCol(c);
        for (int i = ColCount() - 1; i > d; --i)
            ColSizeIndex().Set(i, ColWidths(i - 1));
        ColSizeIndex().Set(d, FAllColWidths[size_t(c)]);
    }
    ColWidthsChanged();
    Invalidate();
}

void TExtStringGrid::UnHideColumnsAll() { UnHideColumns(0, ColCount() + FNumHidden); }

int TExtStringGrid::GetAllColWidths(int c) const
{
    if (IsHiddenColumn(c))
        return FAllColWidths[size_t(c)];
    return ColWidths(RealToDisplCol(c));
}

void TExtStringGrid::SetAllColWidths(int c, int value)
{
    if (c >= 0 && c <= MaxMappedCol)
        FAllColWidths[size_t(c)] = int16_t(std::clamp(value, -32768, 32767));
    if (!IsHiddenColumn(c))
        SetColWidths(RealToDisplCol(c), value);
}

void TExtStringGrid::RefreshHiddenIndex() const
{
    if (!FHiddenDirty)
        return;
    std::vector<std::pair<int, const TGridItem*>> all;
    all.reserve(FGridItems.size());
    for (const TGridItem& item : FGridItems)
        all.emplace_back(item.Idx, &item);
    const auto byIdx = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(all.begin(), all.end(), byIdx))
        std::stable_sort(all.begin(), all.end(), byIdx);
    FHiddenSorted.clear();
    FHiddenSortedItems.clear();
    FHiddenSorted.reserve(all.size());
    FHiddenSortedItems.reserve(all.size());
    for (const auto& [idx, item] : all) {
        if (!FHiddenSorted.empty() && FHiddenSorted.back() == idx)
            continue;
        FHiddenSorted.push_back(idx);
        FHiddenSortedItems.push_back(item);
    }
    // Painting asks for every cell: a table of the shown rows answers in one step.
    FDisplToReal.resize(size_t(RowCount()));
    size_t h = 0;
    int real = 0;
    for (int d = 0; d < RowCount(); ++d, ++real) {
        while (h < FHiddenSorted.size() && FHiddenSorted[h] == real) {
            ++h;
            ++real;
        }
        FDisplToReal[size_t(d)] = real;
    }
    FHiddenDirty = false;
}

bool TExtStringGrid::IsHiddenRow(int r) const
{
    if (FGridItems.empty())
        return false;
    RefreshHiddenIndex();
    return std::binary_search(FHiddenSorted.begin(), FHiddenSorted.end(), r);
}

const TGridItem* TExtStringGrid::HiddenRowItem(int r) const
{
    if (FGridItems.empty())
        return nullptr;
    RefreshHiddenIndex();
    auto it = std::lower_bound(FHiddenSorted.begin(), FHiddenSorted.end(), r);
    if (it == FHiddenSorted.end() || *it != r)
        return nullptr;
    return FHiddenSortedItems[size_t(it - FHiddenSorted.begin())];
}

void TExtStringGrid::ParkHiddenRowsColumn(int c)
{
    for (TGridItem& item : FGridItems)
        item.Parked = item.Row.Text(c);
}

void TExtStringGrid::UnparkHiddenRowsColumn(int c)
{
    for (TGridItem& item : FGridItems) {
        item.Row.SetText(c, item.Parked);
        item.Parked.clear();
    }
}

int TExtStringGrid::DisplToRealRow(int r) const
{
    if (FGridItems.empty())
        return r;
    RefreshHiddenIndex();
    if (r >= 0 && size_t(r) < FDisplToReal.size())
        return FDisplToReal[size_t(r)];
    // Hidden index H[i] has H[i] - i shown rows before it, a count that never falls; the hidden
    // rows before the (r + 1)-th shown row are those whose count is at most r.
    size_t lo = 0, hi = FHiddenSorted.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (FHiddenSorted[mid] - int(mid) <= r)
            lo = mid + 1;
        else
            hi = mid;
    }
    return r + int(lo);
}

int TExtStringGrid::RealToDisplRow(int r) const
{
    if (FGridItems.empty())
        return r;
    RefreshHiddenIndex();
    return r - int(std::lower_bound(FHiddenSorted.begin(), FHiddenSorted.end(), r) - FHiddenSorted.begin());
}

void TExtStringGrid::HideRows(int fromRow, int toRow)
{
    if (fromRow < 0 || toRow < fromRow)
        return;
    toRow = std::min(toRow, TotalRowCount() - 1);
    if (toRow < fromRow)
        return;
    int n = 0;
    for (int r = fromRow; r <= toRow; ++r)
        n += IsHiddenRow(r);
    if (toRow - fromRow + 1 == n)
        return;
    CellsMoving();
    size_t p = 0;
    for (const TGridItem& item : FGridItems)
        p += item.Idx < fromRow;
    const int f = RealToDisplRow(fromRow);
    int d = f;
    std::vector<TGridItem> items;
    for (int r = fromRow; r <= toRow; ++r) {
        if (IsHiddenRow(r))
            continue;
        items.push_back({.Idx = r, .Height = RowHeights(d), .Row = std::move(StoreRows()[size_t(d)]), .Parked = {}});
        ++d;
    }
    FGridItems.insert(FGridItems.begin() + long(p), std::make_move_iterator(items.begin()),
                      std::make_move_iterator(items.end()));
    HiddenChanged();
    DoDeleteRows(f, d - f, false);
    CellControlsUpdate(false);
}

void TExtStringGrid::HideRowsEx(int fromRow, int toRow)
{
    // Same bookkeeping as HideRows: rows already hidden are skipped and heights are recorded.
    HideRows(fromRow, toRow);
}

void TExtStringGrid::HideRowList(const std::vector<int>& rows)
{
    std::vector<int> list;
    for (int r : rows)
        if (r >= 0 && r < RowCount() && (list.empty() || r > list.back()))
            list.push_back(r);
    if (list.empty())
        return;
    CellsMoving();
    std::vector<TGridRowData> kept;
    std::vector<int> heights;
    kept.reserve(size_t(RowCount()) - list.size());
    // The items go in by value, in one block: one allocation per row would cost more than the
    // rows' own moves.
    FGridItems.reserve(FGridItems.size() + list.size());
    size_t next = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (next < list.size() && list[next] == r) {
            FGridItems.push_back({.Idx = r,
                                  .Height = RowHeights(r),
                                  .Level = FFilterLevel,
                                  .Filtered = true,
                                  .Row = std::move(StoreRows()[size_t(r)]),
                                  .Parked = {}});
            ++next;
        } else {
            heights.push_back(RowHeights(r));
            kept.push_back(std::move(StoreRows()[size_t(r)]));
        }
    }
    ++FFilterLevel;
    HiddenChanged();
    PlatformSetRows(std::move(kept), heights);
    CellControlsUpdate(false);
}

void TExtStringGrid::UnHideRow(int r) { UnHideRows(r, r); }

void TExtStringGrid::UnHideRows(int fromRow, int toRow)
{
    // Every hidden row of the range comes back, whether or not the first one is hidden.
    const auto comesBack = [&](const TGridItem& item) { return !item.Filtered && item.Idx >= fromRow && item.Idx <= toRow; };
    std::vector<TGridItem> back;
    for (TGridItem& item : FGridItems)
        if (comesBack(item))
            back.push_back(std::move(item));
    if (back.empty())
        return;
    std::erase_if(FGridItems, comesBack);
    HiddenChanged();
    std::stable_sort(back.begin(), back.end(), [](const TGridItem& a, const TGridItem& b) { return a.Idx < b.Idx; });
    const bool modified = ShowModified.Enabled;
    ShowModified.Enabled = false;
    for (TGridItem& taken : back) {
        const int d = std::min(RealToDisplRow(taken.Idx), RowCount());
        DoInsertRows(d, 1, false);
        StoreRows()[size_t(d)] = std::move(taken.Row);
        for (size_t c = 0; c < StoreRows()[size_t(d)].Props.size(); ++c)
            if (auto& p = StoreRows()[size_t(d)].Props[c])
                p->OwnerRow = d;
        SetRowHeights(d, taken.Height > 0 ? taken.Height : DefaultRowHeight());
    }
    ShowModified.Enabled = modified;
    CellControlsUpdate(false);
}

void TExtStringGrid::UnHideRowList()
{
    if (FFilterLevel <= 0)
        return;
    const int level = FFilterLevel - 1;
    const auto ofLevel = [level](const TGridItem& item) { return item.Filtered && item.Level == level; };
    std::vector<TGridItem> levelItems;
    for (TGridItem& item : FGridItems)
        if (ofLevel(item))
            levelItems.push_back(std::move(item));
    std::erase_if(FGridItems, ofLevel);
    HiddenChanged();
    if (Row() >= RowCount())
        FocusCell(GetFixedCols(), GetFixedRows());
    const auto byIdx = [](const TGridItem& a, const TGridItem& b) { return a.Idx < b.Idx; };
    if (!std::is_sorted(levelItems.begin(), levelItems.end(), byIdx))
        std::stable_sort(levelItems.begin(), levelItems.end(), byIdx);
    const int total = RowCount() + int(levelItems.size());
    std::vector<TGridRowData> rows;
    std::vector<int> heights;
    rows.reserve(size_t(total));
    heights.reserve(size_t(total));
    size_t next = 0;
    int source = 0;
    for (int t = 0; t < total; ++t) {
        if (next < levelItems.size() && levelItems[next].Idx == t) {
            heights.push_back(levelItems[next].Height);
            rows.push_back(std::move(levelItems[next].Row));
            ++next;
        } else if (source < RowCount()) {
            heights.push_back(RowHeights(source));
            rows.push_back(std::move(StoreRows()[size_t(source)]));
            ++source;
        } else if (next < levelItems.size()) {  // a record beyond the rows: keep it at the end
            heights.push_back(levelItems[next].Height);
            rows.push_back(std::move(levelItems[next].Row));
            ++next;
        }
    }
    PlatformSetRows(std::move(rows), heights);
    CellControlsUpdate(false);
}

void TExtStringGrid::UnHideRowsAll()
{
    if (FFilterLevel > 0) {
        for (; FFilterLevel > 0; --FFilterLevel)
            UnHideRowList();
        if (FSelHidden)
            UnHideSelection();
        CalcAllFooters();
    }
    if (FGridItems.empty())
        return;
    int lo = FGridItems.front().Idx, hi = lo;
    for (const TGridItem& item : FGridItems) {
        lo = std::min(lo, item.Idx);
        hi = std::max(hi, item.Idx);
    }
    UnHideRows(lo, hi);
}

void TExtStringGrid::DoInsertRows(int rowIndex, int count, bool updateCellControls)
{
    if (count <= 0)
        return;
    CellsMoving();
    rowIndex = std::clamp(rowIndex, 0, RowCount());
    if (FSelHidden || Col() >= ColCount() || Row() >= RowCount())
        UnHideSelection();
    PlatformInsertRows(rowIndex, count);
    if (size_t(rowIndex) < FModifiedRows.size())
        FModifiedRows.insert(FModifiedRows.begin() + rowIndex, size_t(count), 0);
    if (FRowEnablingUsed && size_t(rowIndex) < FDisabledRows.size())
        FDisabledRows.insert(FDisabledRows.begin() + rowIndex, size_t(count), 0);
    if (updateCellControls)
        CellControlsUpdate(false);
    if (!Destroying)
        CellsChanged({0, rowIndex, ColCount() - 1, rowIndex + count});
}

void TExtStringGrid::DoDeleteRows(int rowIndex, int count, bool updateCellControls)
{
    if (rowIndex < 0 || rowIndex >= RowCount() || count <= 0)
        return;
    count = std::min(count, RowCount() - rowIndex);
    CellsMoving();
    const TNoRowSelectScope noRowSelect(MouseActions);
    const int savedRow = Row(), savedTop = TopRow();
    if (updateCellControls && !FGridItems.empty()) {
        const int real = DisplToRealRow(rowIndex);
        for (auto& item : FGridItems)
            if (item.Idx > real)
                item.Idx -= count;
        HiddenChanged();
    }
    if (count >= RowCount()) {
        // The grid keeps one row: the last one is emptied instead of removed.
        PlatformDeleteRows(rowIndex + 1, count - 1);
        StoreRows()[size_t(rowIndex)] = TGridRowData{};
    } else {
        PlatformDeleteRows(rowIndex, count);
    }
    if (savedRow < RowCount()) {
        if (savedRow >= GetFixedRows())
            SetRow(savedRow);
        SetTopRow(savedTop);
    } else if (GetFixedRows() < RowCount()) {
        SetRow(RowCount() - 1);
    }
    FSelHidden = false;
    CellsChanged({0, rowIndex, ColCount() - 1, rowIndex + count});
    if (TopRow() >= RowCount() - 1)
        SetTopRow(RowCount() - 1);
    if (updateCellControls)
        CellControlsUpdate(false);
}

void TExtStringGrid::InsertRows(int rowIndex, int count, bool updateCellControls)
{
    DoInsertRows(rowIndex, count, updateCellControls);
}

void TExtStringGrid::RemoveRows(int rowIndex, int count)
{
    if (rowIndex < 0 || rowIndex >= RowCount() || count <= 0)
        return;
    count = std::min(count, RowCount() - rowIndex);
    const int savedRow = Row();
    std::vector<int> rows(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), rowIndex);
    DeleteRowList(std::move(rows), true);
    // The current row stays above the footer rows; with no data row left the selection hides.
    if (savedRow < RowCount() - FixedFooters)
        return;
    if (RowCount() - FixedFooters > FixedRows()) {
        const TNoRowSelectScope noRowSelect(MouseActions);
        SetRow(RowCount() - FixedFooters - 1);
    } else {
        HideSelection();
    }
}

void TExtStringGrid::RemoveRowsEx(int rowIndex, int count)
{
    if (rowIndex < 0 || rowIndex >= RowCount() || count <= 0)
        return;
    count = std::min(count, RowCount() - rowIndex);
    CellsMoving();
    BeginUpdate();
    const int savedRow = Row(), savedTop = TopRow();
    if (MouseActions.DisjunctRowSelect() && size_t(rowIndex) < FRowSelect.size())
        FRowSelect.erase(FRowSelect.begin() + rowIndex,
                         FRowSelect.begin() + std::min(FRowSelect.size(), size_t(rowIndex + count)));
    if (count >= RowCount()) {
        PlatformDeleteRows(rowIndex + 1, count - 1);
        StoreRows()[size_t(rowIndex)] = TGridRowData{};
    } else {
        PlatformDeleteRows(rowIndex, count);
    }
    FMaxRowCount = std::max(FMaxRowCount - count, RowCount());
    if (savedRow < RowCount()) {
        SetRow(savedRow);
        SetTopRow(savedTop);
    } else if (GetFixedRows() < RowCount()) {
        SetRow(GetFixedRows());
        SetTopRow(GetFixedRows());
    }
    EndUpdate();
    for (auto& item : FGridItems)
        if (item.Idx > rowIndex + count - 1)
            item.Idx -= count;
    HiddenChanged();
    CellsChanged({0, rowIndex, ColCount() - 1, rowIndex + count});
}

void TExtStringGrid::RemoveRowsRaw(int rowIndex, int count)
{
    DoDeleteRows(rowIndex, count, true);
}

void TExtStringGrid::ClearRect(int c1, int r1, int c2, int r2)
{
    // Cells outside the store have nothing to clear.
    const int lastRow = std::min(r2, RowCount() - 1);
    const int lastCol = std::min(c2, TotalColCount() - 1);
    for (int r = std::max(r1, 0); r <= lastRow; ++r) {
        for (int c = std::max(c1, 0); c <= lastCol; ++c) {
            const int a = SaveHiddenCells ? DisplToRealCol(c) : c;
            if (!ClearTextOnly && HasCellProperties(a, r)) {
                RemoveCellGraphic(a, r);
                FreeCellProps(a, r);
            }
            if (Destroying)
                continue;
            if (!Cells(a, r).isEmpty()) {
                SetCells(a, r, QString());
                if (a != c)
                    RepaintCell(c, r);
            }
        }
    }
    // Records kept by ClearTextOnly still exist, so only a clear that freed them all forgets them.
    if (c1 <= 0 && r1 <= 0 && c2 >= ColCount() - 1 && r2 >= RowCount() - 1 && !ClearTextOnly)
        ForgetCellProps();
    if (!Destroying)
        CellsChanged({DisplToRealCol(c1), r1, DisplToRealCol(c2), r2});
}

void TExtStringGrid::Clear()
{
    if (HasNodes() && !Destroying)
        RemoveAllNodes();
    ClearRect(0, 0, TotalColCount() - 1, RowCount() - 1);
    IncrementalSearchText.clear();
    if (NumHiddenColumns() > 0)
        Invalidate();
}

void TExtStringGrid::ClearAll()
{
    Clear();
    for (auto& item : FGridItems)
        item.Row.Texts.Resize(0);
}

namespace {
// Holds the grid's update count for a scope, also when an error ends it.
class TUpdateScope {
public:
    explicit TUpdateScope(TExtStringGrid& grid) : FGrid(grid) { FGrid.BeginUpdate(); }
    ~TUpdateScope() { FGrid.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TExtStringGrid& FGrid;
};
}  // namespace

// The disjunct row-select flag of a display row; kept by real row with RowSelectPersistent.
bool TExtStringGrid::RowFlag(int r) const
{
    const int k = MouseActions.RowSelectPersistent ? DisplToRealRow(r) : r;
    return k >= 0 && size_t(k) < FRowSelect.size() && FRowSelect[size_t(k)];
}

void TExtStringGrid::ClearSelection()
{
    if (MouseActions.DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (RowFlag(r))
                ClearRows(r, 1);
    } else if (MouseActions.DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (size_t(c) < FColSelect.size() && FColSelect[size_t(c)])
                ClearCols(c, 1);
    } else {
        const TGridRect& s = Selection();
        ClearRect(s.Left, s.Top, s.Right, s.Bottom);
    }
}

void TExtStringGrid::DeleteRowList(std::vector<int> rows, bool full)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int r) { return r < 0 || r >= RowCount(); });
    if (rows.empty())
        return;
    CellsMoving();
    const int n = int(rows.size());
    const int savedRow = Row(), savedTop = TopRow();
    if (!FGridItems.empty()) {
        // Each hidden row moves up by the removed rows above it.
        std::vector<int> reals;
        reals.reserve(rows.size());
        for (int r : rows)
            reals.push_back(DisplToRealRow(r));
        for (auto& item : FGridItems)
            item.Idx -= int(std::lower_bound(reals.begin(), reals.end(), item.Idx) - reals.begin());
        HiddenChanged();
    }
    const auto removed = [&](int r) { return std::binary_search(rows.begin(), rows.end(), r); };
    for (int r : rows)
        FreeCellPropsRect(0, r, TotalColCount() - 1, r);
    if (full) {
        const auto closeUp = [&](auto& list) {
            size_t to = 0;
            for (size_t i = 0; i < list.size(); ++i)
                if (!removed(int(i)))
                    list[to++] = list[i];
            list.resize(to);
        };
        closeUp(FModifiedRows);
        closeUp(FDisabledRows);
        if (MouseActions.DisjunctRowSelect())
            closeUp(FRowSelect);
        std::erase_if(FSelectedRows, removed);
        for (int& r : FSelectedRows)
            r -= int(std::lower_bound(rows.begin(), rows.end(), r) - rows.begin());
    }
    // The grid keeps one row: with every row gone it stays, emptied.
    PlatformDeleteRowList(rows);
    if (full)
        FMaxRowCount = std::max(FMaxRowCount - n, RowCount());
    const TNoRowSelectScope noRowSelect(MouseActions);
    if (savedRow < RowCount()) {
        if (savedRow >= GetFixedRows())
            SetRow(savedRow);
        SetTopRow(savedTop);
    } else if (GetFixedRows() < RowCount()) {
        SetRow(RowCount() - 1);
    }
    FSelHidden = false;
    CellsChanged({0, rows.front(), ColCount() - 1, RowCount()});
    if (TopRow() >= RowCount() - 1)
        SetTopRow(RowCount() - 1);
    CellControlsUpdate(false);
}

void TExtStringGrid::RemoveSelectedRows()
{
    TUpdateScope update(*this);
    if (MouseActions.DisjunctRowSelect()) {
        std::vector<int> rows;
        for (int r = FixedRows(); r < RowCount() - FixedFooters; ++r)
            if (RowFlag(r))
                rows.push_back(r);
        DeleteRowList(std::move(rows), false);
        ClearRowSelect();
        return;
    }
    const TGridRect& s = Selection();
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    DoDeleteRows(top, bottom - top + 1, true);
}

void TExtStringGrid::RemoveUnSelectedRows()
{
    TUpdateScope update(*this);
    std::vector<int> rows;
    for (int r = FixedRows(); r < RowCount() - FixedFooters; ++r)
        if (!RowFlag(r))
            rows.push_back(r);
    DeleteRowList(std::move(rows), false);
    if (MouseActions.RowSelectPersistent)
        SelectRows(FixedRows(), RowCount() - FixedRows());
    else
        ClearRowSelect();
}

namespace {
// Hides the real rows (ascending) run by run, the last run first.
void HideRealRows(TExtStringGrid& g, const std::vector<int>& reals)
{
    size_t end = reals.size();
    while (end > 0) {
        size_t start = end - 1;
        while (start > 0 && reals[start - 1] + 1 == reals[start])
            --start;
        g.HideRows(reals[start], reals[end - 1]);
        end = start;
    }
}
}  // namespace

void TExtStringGrid::HideSelectedRows()
{
    TUpdateScope update(*this);
    std::vector<int> reals;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (RowFlag(r))
            reals.push_back(RealRowIndex(r));
    HideRealRows(*this, reals);
}

void TExtStringGrid::HideUnSelectedRows()
{
    TUpdateScope update(*this);
    std::vector<int> reals;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (!RowFlag(r))
            reals.push_back(RealRowIndex(r));
    HideRealRows(*this, reals);
}

void TExtStringGrid::RemoveSelectedCols()
{
    if (MouseActions.DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c) {
            if (size_t(c) >= FColSelect.size() || !FColSelect[size_t(c)])
                continue;
            RemoveCols(c, 1);
            FColSelect.erase(FColSelect.begin() + c);
        }
        return;
    }
    const TGridRect& s = Selection();
    const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    RemoveCols(left, right - left + 1);
}

void TExtStringGrid::RemoveUnSelectedCols()
{
    if (MouseActions.DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c) {
            if (size_t(c) < FColSelect.size() && FColSelect[size_t(c)])
                continue;
            RemoveCols(c, 1);
            if (size_t(c) < FColSelect.size())
                FColSelect.erase(FColSelect.begin() + c);
        }
    } else {
        const TGridRect& s = Selection();
        const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
        if (ColCount() - 1 - right > 0)
            RemoveCols(right + 1, ColCount() - 1 - right);
        if (left - FixedCols() > 0)
            RemoveCols(FixedCols(), left - FixedCols());
    }
    ClearColSelect();
}

void TExtStringGrid::AddRow()
{
    // Only a footer shown as the last row holds its place; a preview footer is no row, and a row
    // put above the last data row would leave that row at the end instead of the new one.
    const int at = RowCount() - FixedFooters;
    InsertRows(at, 1, true);
    ClearRows(at, 1);
}

void TExtStringGrid::ClearRows(int rowIndex, int count)
{
    if (RowCount() <= 0 || ColCount() <= 0 || count <= 0)
        return;
    ClearRect(0, rowIndex, TotalColCount() - 1, rowIndex + count - 1);
}

void TExtStringGrid::ClearCols(int colIndex, int count)
{
    if (RowCount() <= 0 || ColCount() <= 0 || count <= 0)
        return;
    ClearRect(colIndex, 0, colIndex + count - 1, RowCount() - 1);
}

void TExtStringGrid::InsertCols(int colIndex, int count)
{
    if (count <= 0 || colIndex < 0 || colIndex > TotalColCount())
        return;
    CellsMoving();
    std::vector<int> widths;
    for (int d = 0; d < ColCount(); ++d)
        widths.push_back(ColWidths(d));
    const int at = RealToDisplCol(colIndex);
    widths.insert(widths.begin() + std::min<long>(at, long(widths.size())), size_t(count), DefaultColWidth());
    for (auto& row : StoreRows())
        row.InsertColumns(colIndex, count);
    for (auto& item : FGridItems)
        item.Row.InsertColumns(colIndex, count);
    for (int a = MaxMappedCol; a >= colIndex + count; --a) {
        FVisibleCol[size_t(a)] = FVisibleCol[size_t(a - count)];
        FAllColWidths[size_t(a)] = FAllColWidths[size_t(a - count)];
    }
    for (int a = colIndex; a < colIndex + count && a <= MaxMappedCol; ++a)
        FVisibleCol[size_t(a)] = true;
    FVisibleCol[MaxMappedCol] = true;
    RebuildColumnMap();
    TExtStringGrid::SetColCount(ColCount() + count);
    for (int d = 0; d < ColCount() && size_t(d) < widths.size(); ++d)
        ColSizeIndex().Set(d, widths[size_t(d)]);
    ColWidthsChanged();
}

void TExtStringGrid::RemoveCols(int colIndex, int count)
{
    if (colIndex < 0 || colIndex >= TotalColCount() || count <= 0)
        return;
    count = std::min(count, TotalColCount() - colIndex);
    CellsMoving();
    int hiddenGone = 0;
    std::vector<int> widths;
    for (int d = 0; d < ColCount(); ++d)
        if (const int a = DisplToRealCol(d); a < colIndex || a >= colIndex + count)
            widths.push_back(ColWidths(d));
    for (int a = colIndex; a < colIndex + count; ++a)
        hiddenGone += IsHiddenColumn(a);
    if (ColCount() - (count - hiddenGone) < 1)
        return;  // the last shown column stays
    ClearCols(colIndex, count);
    for (auto& row : StoreRows())
        row.EraseColumns(colIndex, count);
    for (auto& item : FGridItems)
        item.Row.EraseColumns(colIndex, count);
    for (int a = colIndex; a <= MaxMappedCol; ++a) {
        const bool inside = a + count <= MaxMappedCol;
        FVisibleCol[size_t(a)] = inside ? FVisibleCol[size_t(a + count)] : true;
        FAllColWidths[size_t(a)] = inside ? FAllColWidths[size_t(a + count)] : 0;
    }
    FNumHidden -= hiddenGone;
    RebuildColumnMap();
    TExtStringGrid::SetColCount(ColCount() - (count - hiddenGone));
    for (int d = 0; d < ColCount() && size_t(d) < widths.size(); ++d)
        ColSizeIndex().Set(d, widths[size_t(d)]);
    ColWidthsChanged();
    CellsChanged({colIndex, 0, colIndex + count, RowCount() - 1});
}

void TExtStringGrid::ScrollInView(int c, int r)
{
    if (c >= ColCount() || r >= RowCount() || c < 0 || r < 0)
        return;
    if (c < LeftCol() || c >= LeftCol() + VisibleColCount()) {
        SetCol(c);
        if (GetFixedCols() + VisibleColCount() < ColCount())
            SetLeftCol(std::min(std::max(c - VisibleColCount() / 2, GetFixedCols()), ColCount() - VisibleColCount() + 1));
    }
    if (r < TopRow() || r >= TopRow() + VisibleRowCount()) {
        SetRow(r);
        if (GetFixedRows() + VisibleRowCount() < RowCount())
            SetTopRow(std::min(std::max(r - VisibleRowCount() / 2, GetFixedRows()), RowCount() - VisibleRowCount() + 1));
    }
    // The rows under the search panel count as visible, yet the panel covers them.
    if (!SearchFooter.Visible || r < FixedRows())
        return;
    const int edge = ClientHeight() - TSearchPanel::ShownHeight + 2;
    while (TopRow() < r) {
        const TRect cell = PlatformCellRect(std::max(LeftCol(), FixedCols()), r);
        if (!cell.IsEmpty() && cell.Bottom <= edge)
            break;
        const int before = TopRow();
        SetTopRow(before + 1);
        if (TopRow() == before)
            break;  // the rows end here
    }
}

void TExtStringGrid::MoveColumn(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0 || fromIndex >= ColCount() || toIndex >= ColCount())
        return;
    CellsMoving();
    ColumnMoved(fromIndex, toIndex);
    ColumnOrderMoved(fromIndex, toIndex);
    CellControlsUpdate(false);
    if (TExtStringGrid* other = SyncMoveTarget(true)) {
        other->FMovedBySync = true;
        other->MoveColumn(fromIndex, toIndex);
        other->FMovedBySync = false;
    }
}

TExtStringGrid* TExtStringGrid::SyncMoveTarget(bool columns) const
{
    if (FMovedBySync || !(columns ? SyncGrid.MoveColumn : SyncGrid.MoveRow))
        return nullptr;
    auto* other = dynamic_cast<TExtStringGrid*>(SyncGrid.Grid());
    return other != this ? other : nullptr;
}

void TExtStringGrid::ColumnMoved(int fromIndex, int toIndex)
{
    const int f = DisplToRealCol(fromIndex), t = DisplToRealCol(toIndex);
    PlatformMoveStoreColumn(f, t);
    for (auto& item : FGridItems)
        item.Row.MoveColumn(f, t);
    if (f <= MaxMappedCol && t <= MaxMappedCol) {
        auto moveEntry = [&](auto& table) {
            auto v = table[size_t(f)];
            if (f < t)
                std::copy(table.begin() + f + 1, table.begin() + t + 1, table.begin() + f);
            else
                std::copy_backward(table.begin() + t, table.begin() + f, table.begin() + f + 1);
            table[size_t(t)] = v;
        };
        moveEntry(FVisibleCol);
        moveEntry(FAllColWidths);
        RebuildColumnMap();
    }
    ColSizeIndex().Move(fromIndex, toIndex);
    // The sort column and keys (real columns) and the current column (display) follow the move:
    // the moved one takes the target's place and those between shift by one.
    auto follow = [](int i, int from, int to) {
        if (i == from)
            return to;
        if (from < to && i > from && i <= to)
            return i - 1;
        if (to < from && i >= to && i < from)
            return i + 1;
        return i;
    };
    SortSettings.Column = follow(SortSettings.Column, f, t);
    for (int i = 0; i < SortIndexes.Count(); ++i)
        SortIndexes.SetSortColumns(i, follow(SortIndexes.GetSortColumns(i), f, t));
    const int col = follow(Col(), fromIndex, toIndex);
    if (col != Col())
        MoveColRow(col, Row());
    ColWidthsChanged();
}

void TExtStringGrid::MoveRow(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0 || fromIndex >= RowCount() || toIndex >= RowCount())
        return;
    CellsMoving();
    PlatformMoveRow(fromIndex, toIndex);
    CellControlsUpdate(false);
    if (OnRowMoved)
        OnRowMoved(this, fromIndex, toIndex);
    if (TExtStringGrid* other = SyncMoveTarget(false)) {
        other->FMovedBySync = true;
        other->MoveRow(fromIndex, toIndex);
        other->FMovedBySync = false;
    }
}

void TExtStringGrid::MoveRows(int fromIndex, int toIndex, int count)
{
    if (fromIndex == toIndex || count <= 0 || fromIndex < 0 || fromIndex + count > RowCount())
        return;
    CellsMoving();
    if (fromIndex + count < toIndex)
        toIndex -= count;
    toIndex = std::clamp(toIndex, 0, RowCount() - count);
    if (toIndex < fromIndex) {
        for (int k = 0; k < count; ++k)
            PlatformMoveRow(fromIndex + k, toIndex + k);
    } else {
        for (int k = count - 1; k >= 0; --k)
            PlatformMoveRow(fromIndex + k, toIndex + k);
    }
    CellsChanged({0, std::min(fromIndex, toIndex), ColCount() - 1, std::max(fromIndex, toIndex) + count});
}

void TExtStringGrid::HideSelection()
{
    FOldSelection = Selection();
    SetSelection({ColCount(), RowCount(), ColCount(), RowCount()});
    FSelHidden = true;
}

void TExtStringGrid::UnHideSelection()
{
    FSelHidden = false;
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    const int top = FixedRowAlways && FixedRows() == RowCount() ? 0 : FixedRows();
    const int left = FixedColAlways && FixedCols() == ColCount() ? 0 : FixedCols();
    SetSelection({left, top, left, top});
}

void TExtStringGrid::SplitAllColumnCells()
{
    if (TGridDataOps* ops = DataOps())
        for (int c = 0; c < ColCount(); ++c)
            ops->SplitColumnCells(c);
}

void TExtStringGrid::RemergeColumnCells()
{
    if (TGridDataOps* ops = DataOps())
        for (int i = 0; i < MergedColumns.Count(); ++i)
            ops->MergeColumnCells(MergedColumns.GetInteger(i), i == 0);
}

}  // namespace grid
