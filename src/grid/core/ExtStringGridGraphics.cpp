// Cell graphics: check boxes, radio buttons, radio groups and image cells.
#include <algorithm>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridGraphicsDraw.h"

namespace grid {

namespace {

TCellVAlign CheckVAlign(TVAlignment va)
{
    switch (va) {
    case vtaCenter:
        return vaCenter;
    case vtaBottom:
        return vaBottom;
    default:
        return vaTop;
    }
}

bool IsOneOf(TCellType t, std::initializer_list<TCellType> kinds)
{
    return std::find(kinds.begin(), kinds.end(), t) != kinds.end();
}

constexpr std::initializer_list<TCellType> CheckKinds = {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox,
                                                         ctTriStateCheckBox};

}  // namespace

TCellGraphic* TExtStringGrid::CreateCellGraphic(int c, int r)
{
    if (!InStore(c, r))
        return nullptr;
    SetGraphicObjectEx(c, r, std::make_unique<TCellGraphic>());
    if (FNumHidden > 0 && RealToDisplCol(c) != c)
        RepaintCell(RealToDisplCol(c), r);
    return GetGraphicObjectEx(c, r);
}

bool TExtStringGrid::RemoveCellGraphic(int c, int r)
{
    TCellProperties* p = CellProps(c, r);
    if (!p || !p->Graphic)
        return false;
    p->Graphic.reset();
    if (!Destroying)
        RepaintCell(RealToDisplCol(c), r);
    return true;
}

bool TExtStringGrid::RemoveCellGraphicOfType(int c, int r, TCellType kind)
{
    if (GetCellType(c, r) != kind)
        return false;
    return RemoveCellGraphic(c, r);
}

TCellGraphic* TExtStringGrid::OwnGraphicOfKind(int c, int r, TCellType kind)
{
    TCellProperties* p = CellProps(c, r);
    return p && p->Graphic && p->Graphic->CellType == kind ? p->Graphic.get() : nullptr;
}

void TExtStringGrid::AddCheckBox(int c, int r, bool state, bool data)
{
    if (c >= ColCount() + NumHiddenColumns() || r >= RowCount() + NumHiddenRows() || c < 0 || r < 0)
        throw platform::Exception(QStringLiteral("Invalid cell"));
    if (r >= RowCount())
        return;  // the row lies beyond the shown rows: nothing to attach to
    TCellGraphic* g = CreateCellGraphic(c, r);
    g->SetCheckBox(state, data, true, haBeforeText, CheckVAlign(VAlignment));
    if (!data)
        return;
    // The cell's own check texts decide what counts as a check state already.
    const QString yes = CheckTrueOf(c, r), no = CheckFalseOf(c, r);
    const QString text = GetCellEx(c, r);
    if (text != yes && text != no)
        SetCellEx(c, r, state ? yes : no);
}

void TExtStringGrid::AddCheckBox(int c, int r, TCheckBoxState state)
{
    if (c >= ColCount() + NumHiddenColumns() || r >= RowCount() + NumHiddenRows() || c < 0 || r < 0)
        throw platform::Exception(QStringLiteral("Invalid cell"));
    if (r >= RowCount())
        return;
    CreateCellGraphic(c, r)->SetCheckBox(state, true, haBeforeText, CheckVAlign(VAlignment));
}

void TExtStringGrid::AddCheckBoxColumn(int c, bool defaultState, bool dataCheckBox)
{
    for (int r = MouseActions.CheckAllCheck ? 0 : GetFixedRows(); r < RowCount(); ++r) {
        if (IsSummary(r))
            continue;
        if (IsNode(r))
            AddCheckBox(c, r, cbUnchecked);
        else
            AddCheckBox(c, r, defaultState, dataCheckBox);
    }
}

void TExtStringGrid::RemoveCheckBox(int c, int r)
{
    TCellProperties* p = CellProps(c, r);
    if (!p || !p->Graphic || !IsOneOf(p->Graphic->CellType, {ctCheckBox, ctDataCheckBox, ctTriStateCheckBox}))
        return;
    RemoveCellGraphic(c, r);
}

void TExtStringGrid::RemoveCheckBoxColumn(int c)
{
    for (int r = MouseActions.CheckAllCheck ? 0 : GetFixedRows(); r < RowCount(); ++r)
        if (HasCheckBox(c, r))
            RemoveCheckBox(c, r);
}

bool TExtStringGrid::HasCheckBox(int c, int r)
{
    if (c < 0 || r < 0)
        return false;
    const TPoint b = BaseCell(c, r);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && IsOneOf(g->CellType, CheckKinds);
}

bool TExtStringGrid::HasDataCheckBox(int c, int r)
{
    if (c < 0 || r < 0)
        return false;
    const TPoint b = BaseCell(c, r);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && IsOneOf(g->CellType, {ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox});
}

bool TExtStringGrid::IsCheckOrButtonCell(int c, int r)
{
    if (c < 0 || r < 0)
        return false;
    const TPoint b = BaseCell(c, r);
    return IsOneOf(GetCellType(b.X, b.Y), {ctCheckBox, ctDataCheckBox, ctRadio, ctButton, ctVirtCheckBox,
                                            ctRowCheckBox, ctRadioButton, ctTriStateCheckBox});
}

bool TExtStringGrid::IsDataGraphicCell(int c, int r)
{
    if (c < 0 || r < 0)
        return false;
    const TPoint b = BaseCell(c, r);
    return IsOneOf(GetCellType(b.X, b.Y), {ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox});
}

bool TExtStringGrid::HasRadioButton(int c, int r)
{
    if (c < 0 || r < 0)
        return false;
    const TPoint b = BaseCell(c, r);
    return GetCellType(b.X, b.Y) == ctRadioButton;
}

TCellGraphic* TExtStringGrid::RealRowGraphic(int c, int realRow)
{
    if (!IsHiddenRow(realRow))
        return GetCellGraphic(c, RealToDisplRow(realRow));
    TCellProperties* p = RealRowProps(c, realRow);
    if (p && p->Graphic)
        return p->Graphic.get();
    // A column's data check box has no graphic of its own in the hidden-row store either.
    if (IsVirtualCheckColumn(c)) {
        VirtualCheckGraphic->CellType = ctVirtCheckBox;
        return VirtualCheckGraphic.get();
    }
    return nullptr;
}

bool TExtStringGrid::GetCheckBoxState(int c, int realRow, bool& state)
{
    if (c < 0 || realRow < 0)
        return false;
    const bool hidden = IsHiddenRow(realRow);
    const int r = hidden ? realRow : RealToDisplRow(realRow);
    TCellGraphic* g = RealRowGraphic(c, realRow);
    if (!g)
        return false;
    switch (g->CellType) {
    case ctCheckBox:
        state = g->CellBoolean;
        return true;
    case ctTriStateCheckBox:
        if (!hidden)
            return false;
        [[fallthrough]];
    case ctDataCheckBox:
    case ctVirtCheckBox:
        state = (hidden ? RealRowText(c, realRow) : GetCellEx(c, r)) == CheckTrueOf(c, r);
        return true;
    case ctRowCheckBox:
        if (c != 0)
            return false;
        state = size_t(realRow) < FRowSelect.size() && FRowSelect[size_t(realRow)];
        return true;
    default:
        return false;
    }
}

bool TExtStringGrid::GetCheckBoxState(int c, int realRow, TCheckBoxState& state)
{
    if (c < 0 || realRow < 0)
        return false;
    if (!IsHiddenRow(realRow)) {
        if (TCellGraphic* g = GetCellGraphic(c, RealToDisplRow(realRow)); g && g->CellType == ctTriStateCheckBox) {
            state = g->CellCheckBoxState;
            return true;
        }
    }
    bool b = false;
    if (!GetCheckBoxState(c, realRow, b))
        return false;
    state = b ? cbChecked : cbUnchecked;
    return true;
}

bool TExtStringGrid::IsChecked(int c, int realRow)
{
    bool state = false;
    return GetCheckBoxState(c, realRow, state) && state;
}

bool TExtStringGrid::SetCheckBoxState(int c, int realRow, bool state)
{
    if (c < 0 || realRow < 0)
        return false;
    const bool hidden = IsHiddenRow(realRow);
    const int r = hidden ? realRow : RealToDisplRow(realRow);
    TCellGraphic* g = RealRowGraphic(c, realRow);
    if (!g)
        return false;
    switch (g->CellType) {
    case ctCheckBox:
        g->CellBoolean = state;
        if (!hidden)
            RepaintCell(RealToDisplCol(c), r);
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        SetRealRowText(c, realRow, state ? CheckTrueOf(c, r) : CheckFalseOf(c, r));
        return true;
    case ctRowCheckBox:
        if (c != 0)
            return false;
        SetRowSelect(realRow, state);
        return true;
    default:
        return false;
    }
}

bool TExtStringGrid::SetCheckBoxState(int c, int realRow, TCheckBoxState state)
{
    TCellProperties* p = RealRowProps(c, realRow);
    if (!p || !p->Graphic || p->Graphic->CellType != ctTriStateCheckBox)
        return false;
    p->Graphic->CellCheckBoxState = state;
    if (!IsHiddenRow(realRow))
        RepaintCell(RealToDisplCol(c), RealToDisplRow(realRow));
    return true;
}

bool TExtStringGrid::SetCheckBoxStateNotify(int c, int r, bool state)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g)
        return false;
    switch (g->CellType) {
    case ctCheckBox:
        if (g->CellBoolean != state) {
            g->CellBoolean = state;
            RepaintCell(RealToDisplCol(c), r);
            CheckBoxChange(c, r, state);
        }
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const bool old = GetCellEx(c, r) == CheckTrueOf(c, r);
        SetCellEx(c, r, state ? CheckTrueOf(c, r) : CheckFalseOf(c, r));
        if (old != state)
            CheckBoxChange(c, r, state);
        return true;
    }
    case ctRowCheckBox: {
        if (c != 0)
            return false;
        const int real = DisplToRealRow(r);
        const bool old = size_t(real) < FRowSelect.size() && FRowSelect[size_t(real)];
        SetRowSelect(real, state);
        if (old != state)
            CheckBoxChange(c, r, state);
        return true;
    }
    default:
        return false;
    }
}

void TExtStringGrid::CheckAll(int c)
{
    for (int r = GetFixedRows(); r < RowCount(); ++r)
        SetCheckBoxStateNotify(c, r, true);
    if (FNumHidden > 0)
        RepaintCol(RealToDisplCol(c));
}

void TExtStringGrid::UnCheckAll(int c)
{
    for (int r = GetFixedRows(); r < RowCount(); ++r)
        SetCheckBoxStateNotify(c, r, false);
}

bool TExtStringGrid::DoToggleCheck(int c, int r, bool checkEditable)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g || !IsOneOf(g->CellType, CheckKinds))
        return false;
    if (checkEditable && !ControlLook.CheckAlwaysActive) {
        bool canEdit = true;
        IsCellEditable(c, r, canEdit);
        if (!canEdit)
            return false;
    }
    bool state = false;
    switch (g->CellType) {
    case ctCheckBox:
        g->CellBoolean = !g->CellBoolean;
        state = g->CellBoolean;
        break;
    case ctTriStateCheckBox:
        if (Grouping.AutoCheckGroup && IsNode(r)) {
            g->CellCheckBoxState = g->CellCheckBoxState == cbChecked ? cbUnchecked : cbChecked;
            state = g->CellCheckBoxState == cbChecked;
        } else {
            g->CellCheckBoxState = g->CellCheckBoxState == cbUnchecked ? cbGrayed
                                   : g->CellCheckBoxState == cbChecked ? cbUnchecked
                                                                       : cbChecked;
            state = false;
        }
        break;
    default:
        if (GetCellEx(c, r) == CheckTrueOf(c, r)) {
            SetCellEx(c, r, CheckFalseOf(c, r));
            state = false;
        } else {
            SetCellEx(c, r, CheckTrueOf(c, r));
            state = true;
        }
        break;
    }
    RepaintCell(RealToDisplCol(c), r);
    CheckBoxChange(c, r, state);
    if (Grouping.AutoCheckGroup) {
        if (IsNode(r)) {
            const int span = GetNodeSpan(r);
            for (int k = 1; k < span && r + k < RowCount(); ++k)
                SetCheckBoxState(c, DisplToRealRow(r + k), state);
        } else if (const int parent = GetParentRow(r); parent >= 0) {
            const int span = GetNodeSpan(parent);
            bool first = false, same = true;
            for (int k = 1; k < span && parent + k < RowCount(); ++k) {
                bool s = false;
                GetCheckBoxState(c, DisplToRealRow(parent + k), s);
                if (k == 1)
                    first = s;
                else if (s != first)
                    same = false;
            }
            SetCheckBoxState(c, DisplToRealRow(parent), same ? (first ? cbChecked : cbUnchecked) : cbGrayed);
        }
    }
    return true;
}

void TExtStringGrid::CheckBoxChange(int c, int r, bool state)
{
    if (OnCheckBoxChange)
        OnCheckBoxChange(this, c, r, state);
}

void TExtStringGrid::CheckBoxClick(int c, int r, bool state)
{
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, c, r, state);
}

bool TExtStringGrid::IsInCheckBox(int c, int r, int x, int y)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g || !IsOneOf(g->CellType, {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctRadioButton,
                                     ctTriStateCheckBox}))
        return false;
    if (!MouseActions.PreciseCheckBoxCheck)
        return true;
    const TRect box = CheckBoxPlace(*this, c, r);
    return box.Left <= x && x < box.Right && box.Top <= y && y < box.Bottom;
}

void TExtStringGrid::AddRadioButton(int c, int r, bool state)
{
    if (c >= ColCount() + NumHiddenColumns() || r >= RowCount() + NumHiddenRows() || c < 0 || r < 0)
        throw platform::Exception(QStringLiteral("Invalid cell"));
    if (r >= RowCount())
        return;
    CreateCellGraphic(c, r)->SetRadioButton(state, true, haBeforeText, CheckVAlign(VAlignment));
}

void TExtStringGrid::AddRadioButtonColumn(int c)
{
    for (int r = GetFixedRows(); r < RowCount(); ++r)
        AddRadioButton(c, r, false);
}

void TExtStringGrid::RemoveRadioButton(int c, int r)
{
    if (OwnGraphicOfKind(c, r, ctRadioButton))
        RemoveCellGraphic(c, r);
}

bool TExtStringGrid::IsRadioButtonChecked(int c, int r)
{
    const TPoint b = BaseCell(c, r);
    TCellGraphic* g = OwnGraphicOfKind(b.X, b.Y, ctRadioButton);
    return g && g->CellBoolean;
}

bool TExtStringGrid::SetRadioButtonState(int c, int r, bool state)
{
    const TPoint b = BaseCell(c, r);
    TCellGraphic* g = OwnGraphicOfKind(b.X, b.Y, ctRadioButton);
    if (!g)
        return false;
    if (g->CellBoolean != state) {
        g->CellBoolean = state;
        RepaintCell(RealToDisplCol(b.X), b.Y);
    }
    return true;
}

void TExtStringGrid::SetRadioButtonColumnIndex(int c, int index)
{
    for (int r = GetFixedRows(); r < RowCount(); ++r)
        SetRadioButtonState(c, r, r == index);
}

int TExtStringGrid::GetRadioButtonColumnIndex(int c)
{
    for (int r = GetFixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(c, r))
            return r;
    return -1;
}

bool TExtStringGrid::CheckRadioButton(int c, int r, bool checkEditable)
{
    TCellGraphic* g = OwnGraphicOfKind(c, r, ctRadioButton);
    if (!g)
        return false;
    if (checkEditable && !ControlLook.CheckAlwaysActive) {
        bool canEdit = true;
        IsCellEditable(c, r, canEdit);
        if (!canEdit)
            return false;
    }
    if (!g->CellBoolean) {
        g->CellBoolean = true;
        RepaintCell(RealToDisplCol(c), r);
        for (int k = 0; k < RowCount(); ++k) {
            if (k == r)
                continue;
            if (TCellGraphic* other = OwnGraphicOfKind(c, k, ctRadioButton); other && other->CellBoolean) {
                other->CellBoolean = false;
                RepaintCell(RealToDisplCol(c), k);
            }
        }
    }
    return true;
}

void TExtStringGrid::AddRadio(int c, int r, int dirRadio, int idxRadio, QStringList* items)
{
    if (TCellGraphic* g = CreateCellGraphic(c, r))
        g->SetRadio(items, dirRadio != 0, idxRadio, items ? int(items->size()) : 0);
}

QStringList* TExtStringGrid::CreateRadio(int c, int r, int dirRadio, int idxRadio)
{
    TCellGraphic* g = CreateCellGraphic(c, r);
    return g ? g->CreateRadioList(dirRadio != 0, idxRadio) : nullptr;
}

bool TExtStringGrid::GetRadioIdx(int c, int r, int& idx)
{
    TCellGraphic* g = OwnGraphicOfKind(c, r, ctRadio);
    if (!g)
        return false;
    idx = g->CellIndex;
    return true;
}

bool TExtStringGrid::SetRadioIdx(int c, int r, int idx)
{
    // Only a radio group takes an index; another graphic and the cell text stay as they are.
    TCellGraphic* g = OwnGraphicOfKind(c, r, ctRadio);
    if (!g)
        return false;
    g->CellIndex = idx;
    if (idx == -1)
        SetCellEx(c, r, QString());
    RepaintCell(RealToDisplCol(c), r);
    return true;
}

bool TExtStringGrid::IsRadio(int c, int r)
{
    const TPoint b = BaseCell(c, r);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType == ctRadio;
}

void TExtStringGrid::SelectNextRadio(int c, int r, bool checkEditable)
{
    TCellGraphic* g = OwnGraphicOfKind(c, r, ctRadio);
    if (!g || !g->RadioItems || g->RadioItems->isEmpty())
        return;
    if (checkEditable && !ControlLook.RadioAlwaysActive) {
        bool canEdit = true;
        IsCellEditable(c, r, canEdit);
        if (!canEdit)
            return;
    }
    int next = g->CellIndex >= 0 ? g->CellIndex + 1 : int(g->RadioItems->indexOf(GetCellEx(c, r))) + 1;
    if (next >= g->RadioItems->size())
        next = 0;
    if (g->CellIndex >= -1)
        g->CellIndex = next;
    g->CellVar = next;
    SetCellEx(c, r, g->RadioItems->at(next));
}

void TExtStringGrid::AddImageIdx(int c, int r, int idx, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages)
        return;
    if (TCellGraphic* g = CreateCellGraphic(c, r))
        g->SetImageIdx(idx, hal, val);
}

bool TExtStringGrid::GetImageIdx(int c, int r, int& idx)
{
    TCellGraphic* g = GridImages ? OwnGraphicOfKind(c, r, ctImageList) : nullptr;
    if (!g)
        return false;
    idx = g->CellIndex;
    return true;
}

void TExtStringGrid::SetImageIdx(int c, int r, int idx)
{
    if (TCellGraphic* g = GridImages ? OwnGraphicOfKind(c, r, ctImageList) : nullptr)
        g->CellIndex = idx;
}

void TExtStringGrid::AddDataImage(int c, int r, int idx, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages)
        return;
    TCellGraphic* g = CreateCellGraphic(c, r);
    if (!g)
        return;
    g->SetDataImage(idx, hal, val);
    if (GetCellEx(c, r).isEmpty())
        SetInts(c, r, idx);
}

void TExtStringGrid::RemoveDataImage(int c, int r)
{
    // The text is the image's index only in a data-image cell; other cells keep their text.
    if (RemoveCellGraphicOfType(c, r, ctDataImage))
        SetCellEx(c, r, QString());
}

void TExtStringGrid::AddMultiImage(int c, int r, int dir, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages)
        return;
    if (TCellGraphic* g = CreateCellGraphic(c, r))
        g->SetMultiImage(c, r, dir, hal, val, [this](TIntList*, int col, int row) { RepaintCell(col, row); });
}

}  // namespace grid
