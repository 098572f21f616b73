#include "grid/core/GridEditLayer.h"

#include "controls/common/HTMLHintWindow.h"

#include "grid/core/ExtStringGrid.h"

namespace grid {

void TExtStringGrid::SetLayers(TGridLayers layers)
{
    FEditLayer.reset();
    FEditLayerAsked = false;
    FDataOps.reset();
    FDataOpsAsked = false;
    FLayers = std::move(layers);
}

TGridEditLayer* TExtStringGrid::EditLayer()
{
    // Asked once, on first need (the owner gives the layers after the grid is made); a grid being
    // torn down never makes one.
    if (!FEditLayerAsked && !Destroying && FLayers.Editing) {
        FEditLayerAsked = true;
        FEditLayer = FLayers.Editing(*this);
    }
    return FEditLayer.get();
}

void TExtStringGrid::CellsMoving()
{
    if (TGridEditLayer* layer = EditLayer())
        layer->CellsMoving();
}

void TExtStringGrid::ShowInplaceEdit()
{
    if (TGridEditLayer* layer = EditLayer())
        layer->ShowInplaceEdit();
}

void TExtStringGrid::HideInplaceEdit()
{
    if (TGridEditLayer* layer = EditLayer())
        layer->HideInplaceEdit();
}

bool TExtStringGrid::EditMode()
{
    TGridEditLayer* layer = EditLayer();
    return layer && layer->EditMode();
}

void TExtStringGrid::KeyDown(int& key, platform::TShiftState shift)
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->KeyDown(key, shift))
        return;
    DefaultKeyDown(key, shift);
}

void TExtStringGrid::DefaultKeyDown(int& key, platform::TShiftState shift) { platform::TCustomControl::KeyDown(key, shift); }

void TExtStringGrid::KeyUp(int& key, platform::TShiftState shift)
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->KeyUp(key, shift))
        return;
    DefaultKeyUp(key, shift);
}

void TExtStringGrid::DefaultKeyUp(int& key, platform::TShiftState shift) { TBaseGrid::KeyUp(key, shift); }

void TExtStringGrid::KeyPress(QChar& key)
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->KeyPress(key))
        return;
    DefaultKeyPress(key);
}

void TExtStringGrid::DefaultKeyPress(QChar& key) { TBaseGrid::KeyPress(key); }

void TExtStringGrid::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->MouseDown(button, shift, x, y))
        return;
    DefaultMouseDown(button, shift, x, y);
}

void TExtStringGrid::MouseMove(platform::TShiftState shift, int x, int y)
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->MouseMove(shift, x, y))
        return;
    DefaultMouseMove(shift, x, y);
}

void TExtStringGrid::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->MouseUp(button, shift, x, y))
        return;
    DefaultMouseUp(button, shift, x, y);
}

QCursor TExtStringGrid::CursorAt(int x, int y)
{
    QCursor cursor;
    if (TGridEditLayer* layer = EditLayer(); layer && layer->CursorAt(x, y, cursor))
        return cursor;
    cursor = TBaseGrid::CursorAt(x, y);
    // A sizing edge keeps its split cursor; elsewhere the application may choose per cell.
    if (cursor.shape() == Cursor().shape()) {
        const TGridCoord cell = MouseToCell(x, y);
        if (cell.X >= 0 && cell.Y >= 0)
            GetCellCursor(cell.X, cell.Y, cursor);
    }
    return cursor;
}

void TExtStringGrid::GetCellCursor(int c, int r, QCursor& cursor)
{
    if (OnGetCellCursor)
        OnGetCellCursor(this, c, r, cursor);
}

void TExtStringGrid::DblClick()
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->DblClick())
        return;
    DefaultDblClick();
}

bool TExtStringGrid::MouseWheel(platform::TShiftState shift, int wheelDelta, int x, int y)
{
    bool used = false;
    if (TGridEditLayer* layer = EditLayer(); layer && layer->MouseWheel(shift, wheelDelta, x, y, used))
        return used;
    return DefaultMouseWheel(shift, wheelDelta, x, y);
}

bool TExtStringGrid::DefaultMouseWheel(platform::TShiftState shift, int wheelDelta, int x, int y)
{
    return TBaseGrid::MouseWheel(shift, wheelDelta, x, y);
}

void TExtStringGrid::DoEnter()
{
    if (TGridEditLayer* layer = EditLayer())
        layer->DoEnter();
    TBaseGrid::DoEnter();
}

void TExtStringGrid::DoExit()
{
    if (TGridEditLayer* layer = EditLayer())
        layer->DoExit();
    TBaseGrid::DoExit();
}

platform::THintInfo TExtStringGrid::HintAt(const QPoint& pos)
{
    platform::THintInfo info;
    if (TGridEditLayer* layer = EditLayer(); layer && layer->CellHint(pos, info)) {
        // A hint the grid's own mark-up hint window shows is not shown again as plain text.
        if (auto* own = findChild<controls::THTMLHintWindow*>(QString(), Qt::FindDirectChildrenOnly);
            own && own->isVisible())
            return {};
        return info;
    }
    return TBaseGrid::HintAt(pos);
}

bool TExtStringGrid::SelectCell(int c, int r)
{
    bool allow = true;
    if (TGridEditLayer* layer = EditLayer(); layer && layer->SelectCell(c, r, allow))
        return allow;
    return TBaseGrid::SelectCell(c, r);
}

void TExtStringGrid::TopLeftChanged()
{
    if (TGridEditLayer* layer = EditLayer())
        layer->Scrolled();
    TBaseGrid::TopLeftChanged();
}

}  // namespace grid
