// Row nodes: groups of rows under a head row that collapse into hidden rows and expand again.
#include <algorithm>
#include <climits>

#include "grid/core/ExtStringGrid.h"

namespace grid {

TCellGraphic* TExtStringGrid::NodeGraphic(int displayRow)
{
    return OwnGraphicOfKind(0, displayRow, ctNode);
}

void TExtStringGrid::SetRowsLevel(int fromDispl, int count, int delta)
{
    for (int k = 0; k < count && fromDispl + k < RowCount(); ++k) {
        if (fromDispl + k < 0)
            continue;
        if (TCellProperties* p = GetCellProperties(0, fromDispl + k))
            p->NodeLevel = std::max(0, p->NodeLevel + delta);
    }
}

void TExtStringGrid::AddNode(int realRow, int span)
{
    const int d = RealToDisplRow(realRow);
    TCellGraphic* g = CreateCellGraphic(0, d);
    if (!g)
        return;
    g->CellType = ctNode;
    g->CellIndex = span;
    g->CellBoolean = false;
    g->CellErrFrom = 0;
    g->CellAngle = d;
    g->CellVar = -1;
    g->CellHAlign = haBeforeText;
    g->CellVAlign = vaCenter;
    SetRowsLevel(d, span, +1);
    if (FNumNodes == 0)
        RepaintCol(0);
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1)
        SetCol(1);
}

void TExtStringGrid::MarkSummaryRow(int realRow)
{
    if (TCellGraphic* g = CreateCellGraphic(0, RealToDisplRow(realRow)))
        g->CellType = ctSummary;
}

void TExtStringGrid::RemoveNode(int realRow)
{
    if (!NodeGraphic(RealToDisplRow(realRow)))
        return;
    ExpandSingleNode(realRow);
    const int d = RealToDisplRow(realRow);
    SetRowsLevel(d, GetNodeSpan(d), -1);
    RemoveCellGraphic(0, d);
    FNumNodes = std::max(0, FNumNodes - 1);
}

void TExtStringGrid::RemoveAllNodes()
{
    for (int r = 0; r < RowCount(); ++r) {
        if (!IsNode(r))
            continue;
        ExpandNode(DisplToRealRow(r));
        SetRowsLevel(r, GetNodeSpan(r), -1);
        RemoveCellGraphic(0, r);
        FNumNodes = std::max(0, FNumNodes - 1);
    }
    Invalidate();
}

bool TExtStringGrid::IsNode(int r) { return r >= 0 && GetCellType(0, r) == ctNode; }
bool TExtStringGrid::IsSummary(int r) { return r >= 0 && GetCellType(0, r) == ctSummary; }

bool TExtStringGrid::GetNodeState(int r)
{
    TCellGraphic* g = r >= 0 ? NodeGraphic(r) : nullptr;
    return g && g->CellBoolean;
}

void TExtStringGrid::SetNodeState(int r, bool contracted)
{
    TCellGraphic* g = r >= 0 ? NodeGraphic(r) : nullptr;
    if (!g || g->CellBoolean == contracted)
        return;
    if (contracted)
        ContractNode(DisplToRealRow(r));
    else
        ExpandNode(DisplToRealRow(r));
}

int TExtStringGrid::GetNodeLevel(int r)
{
    if (!IsNode(r))
        return -1;
    TCellProperties* p = CellProps(0, r);
    return p ? p->NodeLevel : -1;
}

int TExtStringGrid::GetNodeSpan(int r)
{
    TCellGraphic* g = r >= 0 ? NodeGraphic(r) : nullptr;
    return g ? g->CellIndex : -1;
}

void TExtStringGrid::SetNodeSpan(int r, int span)
{
    if (TCellGraphic* g = r >= 0 ? NodeGraphic(r) : nullptr)
        g->CellIndex = span;
}

void TExtStringGrid::UpdateNodeSpan(int r, int delta)
{
    if (TCellGraphic* g = r >= 0 ? NodeGraphic(r) : nullptr)
        g->CellIndex += delta;
}

int TExtStringGrid::GetSubNodeCount(int r)
{
    TCellGraphic* g = r >= 0 ? NodeGraphic(r) : nullptr;
    return g ? g->CellErrFrom : 0;
}

void TExtStringGrid::UpdateSubNodeCount(int r, int delta)
{
    if (TCellGraphic* g = r >= 0 ? NodeGraphic(r) : nullptr)
        g->CellErrFrom += delta;
}

int TExtStringGrid::GetParentRow(int r)
{
    if (FNumNodes == 0 || r < 0)
        return -1;
    const bool node = IsNode(r);
    const int limit = node ? GetNodeLevel(r) : INT_MAX;
    int shrink = 0;
    for (int k = std::min(r, RowCount() - 1); k >= GetFixedRows(); --k) {
        if (!IsNode(k))
            continue;
        const int level = GetNodeLevel(k);
        if (level >= limit)
            continue;
        const int span = GetNodeSpan(k);
        if (GetNodeState(k))
            shrink += span - 1;
        if (r < k + span - shrink)
            return k;
    }
    return node ? r : -1;
}

int TExtStringGrid::GetNodeSpanType(int r)
{
    if (IsNode(r))
        return 0;
    if (r >= RowCount() - FixedFooters - 1)
        return 1;
    TCellProperties* here = CellProps(0, r);
    TCellProperties* next = CellProps(0, r + 1);
    if (next && next->NodeLevel >= (here ? here->NodeLevel : 0))
        return 2;
    return 1;
}

bool TExtStringGrid::InNodeGlyph(int r, int x)
{
    if (!MouseActions.PreciseNodeClick)
        return true;
    const int level = GetNodeLevel(r);
    const int indent = CellNode.NodeIndent;
    int left = 4, right = 4;
    switch (CellNode.NodeType) {
    case cn3D:
        left = 0;
        right = 6;
        break;
    case cnGlyph:
        left = CellNode.ExpandGlyph.isNull() ? 0 : 2;
        right = CellNode.ExpandGlyph.width() / 2;
        break;
    case cnLeaf:
        left = 2;
        right = 8;
        break;
    default:
        break;
    }
    return left + (level - 1) * indent < x && x < right + level * indent;
}

void TExtStringGrid::ExpandNode(int realRow)
{
    if (CellNode.ExpandOne) {
        for (int r = GetFixedRows(); r < RowCount(); ++r) {
            const int real = DisplToRealRow(r);
            if (real != realRow && IsNode(r) && !GetNodeState(r))
                ContractNode(real);
        }
    }
    ExpandSingleNode(realRow);
}

void TExtStringGrid::ExpandSingleNode(int realRow)
{
    if (IsHiddenRow(realRow))
        return;
    const int b = RealToDisplRow(realRow);
    TCellGraphic* g = NodeGraphic(b);
    if (!g || !g->CellBoolean)
        return;
    g->CellBoolean = false;
    int end = b + 1;
    if (g->CellIndex == 0)
        while (end < RowCount() && !IsNode(end))
            ++end;
    const int endReal = end < RowCount() ? DisplToRealRow(end) : TotalRowCount();
    const int savedTop = TopRow(), savedRow = Row();
    const bool disjunct = MouseActions.DisjunctRowSelect();
    MouseActions.SetDisjunctRowSelectDirect(false);
    const bool rowSelect = Options & goRowSelect;
    Options &= ~goRowSelect;
    BeginUpdate();
    UnHideRows(realRow + 1, endReal - 1);
    if (rowSelect) {
        Options |= goRowSelect;
        SetRow(savedRow);
        SetTopRow(savedTop);
    }
    MouseActions.SetDisjunctRowSelectDirect(disjunct);
    EndUpdate();
    CalcAllFooters();
}

void TExtStringGrid::ContractNode(int realRow)
{
    HideInplaceEdit();
    if (IsHiddenRow(realRow))
        return;
    FForceSel = true;
    const int a = RealToDisplRow(realRow);
    TCellGraphic* g = NodeGraphic(a);
    if (!g || g->CellBoolean) {
        FForceSel = false;
        return;
    }
    g->CellBoolean = true;
    int end = g->CellIndex > 0 ? a + g->CellIndex : a + 1;
    if (g->CellIndex <= 0)
        while (end < RowCount() && !IsNode(end))
            ++end;
    end = std::min(end, RowCount());
    for (int i = a + 1; i < end;) {
        if (IsNode(i) && GetNodeState(i)) {
            // Its rows are hidden already; they come back together with the outer group.
            NodeGraphic(i)->CellBoolean = false;
            const int nestedHidden = GetNodeSpan(i) - 1;
            const int shown = i - a;
            HideRows(DisplToRealRow(a + 1), DisplToRealRow(i));
            end -= shown + std::max(nestedHidden, 0);
            i = a + 1;
            continue;
        }
        ++i;
    }
    end = std::min(end, RowCount());
    if (end - 1 >= a + 1)
        HideRows(DisplToRealRow(a + 1), DisplToRealRow(end - 1));
    FForceSel = false;
    CalcAllFooters();
}

void TExtStringGrid::ExpandAll()
{
    BeginUpdate();
    for (int r = GetFixedRows(); r < RowCount(); ++r)
        if (IsNode(r) && GetNodeState(r))
            ExpandSingleNode(DisplToRealRow(r));
    for (auto& item : FGridItems)
        if (TCellProperties* p = item.Row.PropsAt(0); p && p->Graphic && p->Graphic->CellType == ctNode)
            p->Graphic->CellBoolean = false;
    EndUpdate();
    CalcAllFooters();
}

void TExtStringGrid::ContractAll()
{
    BeginUpdate();
    ExpandAll();
    std::vector<std::pair<int, int>> groups;  // real first and last rows to hide
    for (int r = GetFixedRows(); r < RowCount();) {
        TCellGraphic* g = NodeGraphic(r);
        if (!g) {
            ++r;
            continue;
        }
        g->CellBoolean = true;
        int end = g->CellIndex > 0 ? r + g->CellIndex : r + 1;
        if (g->CellIndex <= 0)
            while (end < RowCount() && !IsNode(end))
                ++end;
        end = std::min(end, RowCount());
        if (end - 1 >= r + 1)
            groups.emplace_back(DisplToRealRow(r + 1), DisplToRealRow(end - 1));
        r = std::max(end, r + 1);
    }
    for (const auto& [first, last] : groups)
        HideRows(first, last);
    EndUpdate();
    CellControlsUpdate(false);
    CalcAllFooters();
}

void TExtStringGrid::InsertChildRow(int realRow, int insertAt)
{
    int r = RealToDisplRow(realRow);
    int parent = GetParentRow(r);
    int level = 1;
    int parentLevel = 0;
    if (parent >= 0) {
        UpdateNodeSpan(parent, 1);
        UpdateSubNodeCount(parent, 1);
        ExpandNode(DisplToRealRow(parent));
        level = parentLevel = GetNodeLevel(parent);
        int current = parent;
        while (level > 1 && current >= GetFixedRows()) {
            const int up = GetParentRow(current);
            if (up < 0 || up == current)
                break;
            if (GetNodeLevel(up) < level) {
                UpdateNodeSpan(up, 1);
                UpdateSubNodeCount(up, 1);
                ExpandNode(DisplToRealRow(up));
                level = GetNodeLevel(up);
            }
            current = up;
        }
    }
    r = RealToDisplRow(realRow);
    const bool takeOver = IsNode(r) && insertAt == 0;
    const int at = std::min(takeOver ? r + 1 : r + insertAt, RowCount());
    const int atReal = at < RowCount() ? DisplToRealRow(at) : TotalRowCount();
    for (auto& item : FGridItems)
        if (item.Idx >= atReal)
            ++item.Idx;
    HiddenChanged();
    InsertRows(at, 1);
    if (takeOver) {
        for (int c = 0; c < TotalColCount(); ++c) {
            SetGridCell(c, at, GetGridCell(c, r));
            SetGridCell(c, r, QString());
            if (c >= 1)
                SetCellProperties(c, at, TakeGridObject(c, r));
        }
    }
    if (parent >= 0)
        if (TCellProperties* p = GetCellProperties(0, at))
            p->NodeLevel = parentLevel;
}

void TExtStringGrid::RemoveChildRow(int realRow)
{
    int parent = GetParentRow(RealToDisplRow(realRow));
    if (parent >= 0) {
        const int firstLevel = GetNodeLevel(parent);
        if (GetNodeSpan(parent) > 1) {
            UpdateNodeSpan(parent, -1);
            UpdateSubNodeCount(parent, -1);
        }
        for (;;) {
            ExpandNode(DisplToRealRow(parent));
            if (GetNodeLevel(parent) <= 1)
                break;
            const int up = GetParentRow(parent);
            if (up < 0 || up == parent || GetNodeLevel(up) >= firstLevel)
                break;
            parent = up;
            if (GetNodeSpan(parent) > 1) {
                UpdateNodeSpan(parent, -1);
                UpdateSubNodeCount(parent, -1);
            }
        }
    }
    RemoveRowsRaw(RealToDisplRow(realRow), 1);
    FMaxRowCount = std::max(FMaxRowCount - 1, RowCount());
}

void TExtStringGrid::InsertNormalRow(int realRow)
{
    InsertRows(RealToDisplRow(realRow), 1);
    for (auto& item : FGridItems)
        if (item.Idx > realRow)
            ++item.Idx;
    HiddenChanged();
}

void TExtStringGrid::RemoveNormalRow(int realRow)
{
    RemoveRows(RealToDisplRow(realRow), 1);
}

}  // namespace grid
