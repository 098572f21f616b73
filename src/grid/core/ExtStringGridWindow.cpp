#include <QCursor>
#include <QKeySequence>
#include <algorithm>
#include <cmath>
#include <limits>

#include "grid/core/ExtStringGrid.h"

namespace grid {

// Update locking

void TExtStringGrid::BeginUpdate()
{
    ++FUpdateCount;
    if (FRedrawLocks == 0) {
        platform::TCustomControl::BeginUpdate();
        ++FRedrawLocks;
    }
    FRedrawLockedByStart = false;
}

void TExtStringGrid::StartUpdate()
{
    // Paints are gathered while the count is up, as with BeginUpdate; only ResetUpdate treats the
    // two differently.
    ++FUpdateCount;
    if (FRedrawLocks == 0) {
        platform::TCustomControl::BeginUpdate();
        ++FRedrawLocks;
        FRedrawLockedByStart = true;
    }
}

void TExtStringGrid::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount > 0 || Destroying)
        return;
    ReleaseRedrawLocks();
    Invalidate();
}

void TExtStringGrid::ReleaseRedrawLocks()
{
    for (; FRedrawLocks > 0; --FRedrawLocks)
        platform::TCustomControl::EndUpdate();
    FRedrawLockedByStart = false;
}

void TExtStringGrid::ResetUpdate()
{
    FUpdateCount = 0;
    if (FRedrawLockedByStart)
        ReleaseRedrawLocks();
}

void TExtStringGrid::SetLockUpdate(bool value)
{
    if (value)
        BeginUpdate();
    else
        EndUpdate();
}

// The grid timer

void TExtStringGrid::StartGridTimer()
{
    FGridTimer.Start(GridTimerInterval, this, [this] {
        StartGridTimer();
        GridTimerTick();
    });
}

void TExtStringGrid::GridTimerTick()
{
    ++FTimerTicks;
    if (Navigation.AutoGotoIncremental) {
        const int before = IncrementalSearchAge++;
        if (before == 3) {
            IncrementalSearchText.clear();
            IncrementalSearchAge = 0;
        }
    }
    if (Hovering && isVisible()) {
        const QPoint p = ClientToGrid(viewport()->mapFromGlobal(QCursor::pos()));
        if (ClientRect().contains(p)) {
            const TGridCoord cell = MouseToCell(p.x(), p.y());
            if (cell.X >= FixedCols() && cell.Y >= FixedRows() && cell.X < ColCount() && cell.Y < RowCount()) {
                SetFocus();
                SetRow(cell.Y);
                SetCol(cell.X);
            }
        }
    }
    if (EnableBlink) {
        FBlinkPhase = !FBlinkPhase;
        auto blinking = [this](int c, int r) { return Cells(c, r).contains(QLatin1String("<BLI"), Qt::CaseInsensitive); };
        const int rows = VisibleRowCount(), cols = VisibleColCount();
        for (int r = TopRow(); r < std::min(RowCount(), TopRow() + rows); ++r)
            for (int c = LeftCol(); c < std::min(TotalColCount(), LeftCol() + cols + NumHiddenColumns()); ++c)
                if (blinking(c, r))
                    RepaintCell(RealToDisplCol(c), r);
        for (int r = 0; r < FixedRows(); ++r)
            for (int c = LeftCol(); c < std::min(ColCount(), LeftCol() + cols); ++c)
                if (blinking(c, r))
                    RepaintCell(c, r);
        for (int c = 0; c < FixedCols(); ++c)
            for (int r = TopRow(); r < std::min(RowCount(), TopRow() + rows); ++r)
                if (blinking(c, r))
                    RepaintCell(c, r);
    }
}

// Size changes and stretching

void TExtStringGrid::Resize()
{
    const int w = ClientWidth();
    if (SearchPanel->Visible) {
        // Two heights in a row force the panel's layout; then it docks at the foot again.
        SearchPanel->Bounds = {0, ClientHeight() - 33, w, ClientHeight()};
        SearchPanel->Bounds = {0, ClientHeight() - 32, w, ClientHeight()};
        if (TGridDataOps* ops = DataOps())
            ops->SearchPanelChanged();
    }
    if (FOrigWidth > 0 && ColumnSize.SynchWithGrid) {
        HideInplaceEdit();
        const double factor = SingleBorder ? double(w + 2) / FOrigWidth : double(w) / FOrigWidth;
        const int from = ColumnSize.SynchNormalCellsOnly ? FixedCols() : 0;
        const int to = ColumnSize.SynchNormalCellsOnly ? ColCount() - FixedRightCols - 1 : ColCount() - 1;
        for (int c = std::max(from, 0); c <= to && size_t(c) < FOrigColSizes.size(); ++c)
            SetColWidths(c, int(std::trunc(FOrigColSizes[size_t(c)] * factor)));
    }
    // A kept horizontal bar means the columns scroll rather than stretch.
    if (ColumnSize.Stretch && (FScrollBarAlways == saNone || FScrollBarAlways == saVert))
        DoStretchColumn(ColumnSize.StretchColumn);
    TBaseGrid::Resize();
    PlaceScrollControls();
}

void TExtStringGrid::ColumnLayoutChanged()
{
    if (ColumnSize.Stretch && !FIsColChanging)
        DoStretchColumn(ColumnSize.StretchColumn);
}

void TExtStringGrid::StretchColumn(int index)
{
    if (Loading || Destroying)
        return;
    if (index >= ColCount())
        throw EExtGridError(QStringLiteral("Stretch column index out of range"));
    DoStretchColumn(index);
}

void TExtStringGrid::DoStretchColumn(int index)
{
    // A stale index (columns removed since it was set) stretches nothing instead of raising
    // while the grid paints or resizes.
    if (Loading || Destroying || index >= ColCount() || !ColumnSize.Stretch || FIsColChanging)
        return;
    if (index < 0)
        index = ColCount() - 1;
    FIsColChanging = true;
    const int w = ClientWidth();
    if (ColCount() == 1) {
        SetColWidths(0, w);
    } else {
        const int64_t others = ColOffset(ColCount()) - ColWidths(index);
        if (others < w)
            SetColWidths(index, int(w - others - 1));
        else if (LeftCol() == FixedCols())
            SetColWidths(index, DefaultColWidth());
    }
    FIsColChanging = false;
}

// Sizing by the user

void TExtStringGrid::ColumnSized(int c, int oldWidth)
{
    const int now = ColWidths(c);
    if (MouseActions.AllColumnSize && oldWidth > 0) {
        const double factor = double(now) / oldWidth;
        for (int i = FixedCols(); i < ColCount(); ++i)
            if (i != c)
                SetColWidths(i, int(std::lround(ColWidths(i) * factor)));
    }
    if (OnEndColumnSize)
        OnEndColumnSize(this, c);
    int width = ColWidths(c);
    UpdateColumnSize(c, width);
    if (width != ColWidths(c))
        SetColWidths(c, width);
}

void TExtStringGrid::RowSized(int r, int oldHeight)
{
    const int now = RowHeights(r);
    if (MouseActions.AllRowSize && oldHeight > 0) {
        const double factor = double(now) / oldHeight;
        BeginUpdate();
        for (int i = FixedRows(); i < RowCount(); ++i)
            if (i != r)
                SetRowHeights(i, int(std::lround(RowHeights(i) * factor)));
        EndUpdate();
    }
    if (OnEndRowSize)
        OnEndRowSize(this, r);
}

void TExtStringGrid::DefaultDblClick()
{
    const QPoint p = LastMouseDown();
    if (MouseActions.AutoSizeColOnDblClick && (Options & goColSizing)) {
        const int c = ColumnSizingEdgeAt(p.x(), p.y());
        if (c >= 0) {
            AutoSizeCol(c);
            return;
        }
    }
    TBaseGrid::DblClick();
}

void TExtStringGrid::UpdateColumnSize(int c, int& width)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, c, width);
}

void TExtStringGrid::UpdateColumnSizeEx(int c, int& width)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, c, width);
}

bool TExtStringGrid::CanSizeColumn(int c)
{
    bool allow = TBaseGrid::CanSizeColumn(c);
    if (allow && OnColumnSize)
        OnColumnSize(this, c, allow);
    return allow;
}

bool TExtStringGrid::CanSizeRow(int r)
{
    bool allow = TBaseGrid::CanSizeRow(r);
    if (allow && OnRowSize)
        OnRowSize(this, r, allow);
    return allow;
}

unsigned TExtStringGrid::GetDlgCode()
{
    unsigned code = TBaseGrid::GetDlgCode();
    // Typed characters reach the grid also when it does not edit by option: they may start editing.
    if (Navigation.AutoGotoWhenSorted || !(Options & goEditing))
        code |= platform::DLGC_WANTCHARS;
    // With tabs the grid moves between its cells on Tab instead of leaving.
    if (Options & goTabs)
        code |= platform::DLGC_WANTTAB;
    return code;
}

void TExtStringGrid::SetRow(int value)
{
    if (Col() < 0 || Col() >= ColCount())
        MoveColRow(FixedCols(), value);
    TBaseGrid::SetRow(value);
    if (Row() != FOldRowSel && OnRowUpdate) {
        const int old = FOldRowSel;
        FOldRowSel = Row();
        OnRowUpdate(this, old, Row());
    }
    if (MouseActions.DisjunctRowSelect())
        SelectionToRowSelect();
    TObjStringGrid* other = SyncGrid.Grid();
    if (other && other != this && SyncGrid.SelectionRow && other->Row() != value)
        other->SetRow(value);
    if (value == RowCount() - 1 && SearchFooter.Visible)
        ScrollLastRowAboveSearchFooter();
}

void TExtStringGrid::SelectionToRowSelect(bool all)
{
    const TGridRect& s = Selection();
    const int top = std::min(s.Top, s.Bottom);
    const int bottom = std::min(std::max(s.Top, s.Bottom), RowCount() - FixedFooters - 1);
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const bool inside = r >= top && r <= bottom;
        if (all || inside)
            SetRowSelectRaw(MouseActions.RowSelectPersistent ? DisplToRealRow(r) : r, inside);
    }
    if (NumHiddenRows() > 0)
        Invalidate();
}

namespace {
// Client y of the bottom edge of the last row; past the client area while it is not shown.
int LastRowBottom(const TExtStringGrid& g)
{
    const int last = g.RowCount() - 1;
    const TRect r = g.PlatformCellRect(std::max(g.LeftCol(), g.FixedCols()), last);
    return r.IsEmpty() ? std::numeric_limits<int>::max() : r.Bottom;
}
}  // namespace

bool TExtStringGrid::LastRowAboveSearchFooter()
{
    const int last = RowCount() - 1;
    if (!SearchFooter.Visible || last < 0 || TopRow() + VisibleRowCount() < last)
        return false;
    // The same edge at which ScrollLastRowAboveSearchFooter stops moving the rows.
    return LastRowBottom(*this) <= ClientHeight() - TSearchPanel::ShownHeight + 2;
}

void TExtStringGrid::ScrollLastRowAboveSearchFooter()
{
    if (!SearchFooter.Visible || ClientHeight() <= DefaultRowHeight() + TSearchPanel::ShownHeight)
        return;
    const int last = RowCount() - 1;
    while (last >= 0 && LastRowBottom(*this) > ClientHeight() - TSearchPanel::ShownHeight + 2 && Row() <= last &&
           TopRow() < RowCount()) {
        const int before = TopRow();
        SetTopRow(before + 1);
        if (TopRow() == before)
            break;  // the last row is the top row already
    }
}

// Ranges and hit tests

TGridRect TExtStringGrid::GetUsedCells() const
{
    int left = -1, top = -1, right = -1, bottom = -1;
    for (int r = 0; r < RowCount(); ++r) {
        const auto& row = StoreRows()[size_t(r)];
        const int n = std::min(row.Texts.Size(), ColCount());
        for (int c = 0; c < n; ++c) {
            if (row.Texts.IsEmptyAt(c))
                continue;
            left = left < 0 ? c : std::min(left, c);
            right = std::max(right, c);
            top = top < 0 ? r : top;
            bottom = r;
        }
    }
    if (left < 0)
        return {0, 0, 0, 0};
    return {left, top, right, bottom};
}

bool TExtStringGrid::IsAtSizingBorder(int x, int y) const
{
    const TGridCoord cell = MouseToCell(x, y);
    if (cell.X < 0 || cell.Y < 0)
        return false;
    const TRect r = PlatformCellRect(cell.X, cell.Y);
    if (cell.Y <= FixedRows() && (Options & goColSizing) && (x - r.Left < 4 || r.Right - 1 - x < 4))
        return true;
    if (cell.X <= FixedCols() && (Options & goRowSizing) && (y - r.Top < 4 || r.Bottom - 1 - y < 4))
        return true;
    return false;
}

void TExtStringGrid::ScreenToCell(const QPoint& screen, int& c, int& r) const
{
    const QPoint p = ClientToGrid(viewport()->mapFromGlobal(screen));
    const TGridCoord cell = MouseToCell(p.x(), p.y());
    c = cell.X;
    r = cell.Y;
}

// The search panel and its accelerators

namespace {
bool IsAccelerator(QChar key, const QString& caption)
{
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    return !mnemonic.isEmpty() && mnemonic[0].key() == Qt::Key(key.toUpper().unicode());
}
}  // namespace

void TExtStringGrid::UpdateSearchPanel()
{
    TSearchPanel& p = *SearchPanel;
    p.ForwardButton.Caption = SearchFooter.FindNextCaption;
    p.ForwardButton.Visible = SearchFooter.ShowFindNext;
    p.BackwardButton.Caption = SearchFooter.FindPrevCaption;
    p.BackwardButton.Visible = SearchFooter.ShowFindPrev;
    p.HighlightButton.Caption = SearchFooter.HighLightCaption;
    p.HighlightButton.Visible = SearchFooter.ShowHighLight;
    p.Visible = SearchFooter.Visible;
    const int h = p.Visible ? TSearchPanel::ShownHeight : 0;
    p.Bounds = {0, ClientHeight() - h, ClientWidth(), ClientHeight()};
    // Alt and the accelerator reach the grid from anywhere in its window, but only while the
    // button would take it, so that other controls keep the key otherwise.
    // Buttons sharing an accelerator share one shortcut; the first of them takes the key.
    const TSearchPanelButton* buttons[] = {&p.ForwardButton, &p.BackwardButton, &p.HighlightButton};
    std::vector<QKeySequence> grabbed;
    for (size_t i = 0; i < FSearchShortcuts.size(); ++i) {
        if (FSearchShortcuts[i] != 0)
            releaseShortcut(FSearchShortcuts[i]);
        FSearchShortcuts[i] = 0;
        const TSearchPanelButton& b = *buttons[i];
        const QKeySequence mnemonic = QKeySequence::mnemonic(b.Caption);
        if (mnemonic.isEmpty() || !p.Visible || !b.Visible || !b.Enabled ||
            std::find(grabbed.begin(), grabbed.end(), mnemonic) != grabbed.end())
            continue;
        FSearchShortcuts[i] = grabShortcut(mnemonic);
        grabbed.push_back(mnemonic);
    }
    // The panel's window belongs to the data operations; none is made while it stays hidden.
    if (FDataOps || p.Visible)
        if (TGridDataOps* ops = DataOps())
            ops->SearchPanelChanged();
}

void TExtStringGrid::SearchPanelForwardClick()
{
    if (TGridDataOps* ops = DataOps())
        ops->SearchPanelForwardClick();
}

void TExtStringGrid::SearchPanelBackwardClick()
{
    if (TGridDataOps* ops = DataOps())
        ops->SearchPanelBackwardClick();
}

void TExtStringGrid::SearchPanelHighlightClick()
{
    if (TGridDataOps* ops = DataOps())
        ops->SearchPanelHighlightClick();
}

bool TExtStringGrid::HandleDialogChar(QChar key)
{
    if (!SearchFooter.Visible)
        return false;
    struct {
        const TSearchPanelButton& Button;
        void (TExtStringGrid::*Action)();
    } const buttons[] = {
        {SearchPanel->ForwardButton, &TExtStringGrid::SearchPanelForwardClick},
        {SearchPanel->BackwardButton, &TExtStringGrid::SearchPanelBackwardClick},
        {SearchPanel->HighlightButton, &TExtStringGrid::SearchPanelHighlightClick},
    };
    for (const auto& b : buttons)
        if (IsAccelerator(key, b.Button.Caption) && b.Button.Visible && b.Button.Enabled) {
            (this->*b.Action)();
            return true;
        }
    return false;
}

}  // namespace grid
