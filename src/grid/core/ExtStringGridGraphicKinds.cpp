// The cell graphic kinds besides check boxes, radio buttons and image cells: attaching, querying,
// changing and removing them.
#include <algorithm>
#include <cmath>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"

namespace grid {

namespace {

// A fresh graphic of the kind with its placement; null outside the cell store.
TCellGraphic* Fresh(TExtStringGrid& grid, int c, int r, TCellType kind, TCellHAlign hal = haLeft, TCellVAlign val = vaTop)
{
    TCellGraphic* g = grid.CreateCellGraphic(c, r);
    if (g) {
        g->CellType = kind;
        g->CellHAlign = hal;
        g->CellVAlign = val;
    }
    return g;
}

TGridBitmap* BitmapIn(TCellGraphic* g, TCellType kind)
{
    return g && g->CellType == kind ? dynamic_cast<TGridBitmap*>(g->CellBitmap) : nullptr;
}

// Kinds whose range fields hold a minimum and maximum (or a range) rather than a marker.
bool RangeKind(TCellType t) { return t == ctProgress || t == ctXPProgress || t == ctScrollbar || t == ctNode; }

// The graphic of the cell's base cell (of a merged area) when it is of the kind.
TCellGraphic* BaseOfKind(TExtStringGrid& grid, int c, int r, TCellType kind)
{
    if (c < 0 || r < 0)
        return nullptr;
    const TPoint b = grid.BaseCell(c, r);
    TCellGraphic* g = grid.GetCellGraphic(b.X, b.Y);
    return g && g->CellType == kind ? g : nullptr;
}

}  // namespace

// ---- Bitmaps, icons, pictures ----

void TExtStringGrid::AddBitmap(int c, int r, TGridBitmap* bitmap, bool transparent, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctBitmap, hal, val)) {
        g->CellBitmap = bitmap;
        g->CellTransparent = transparent;
    }
}

TGridBitmap* TExtStringGrid::CreateBitmap(int c, int r, bool transparent, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = Fresh(*this, c, r, ctBitmap, hal, val);
    if (!g)
        return nullptr;
    g->CellTransparent = transparent;
    g->CellBitmap = g->Own(std::make_unique<TGridBitmap>());
    return static_cast<TGridBitmap*>(g->CellBitmap);
}

TGridBitmap* TExtStringGrid::GetBitmap(int c, int r) { return BitmapIn(GetCellGraphic(c, r), ctBitmap); }

void TExtStringGrid::AddIcon(int c, int r, TGridBitmap* icon, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctIcon, hal, val))
        g->CellIcon = icon;
}

TGridBitmap* TExtStringGrid::CreateIcon(int c, int r, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = Fresh(*this, c, r, ctIcon, hal, val);
    if (!g)
        return nullptr;
    g->CellIcon = g->Own(std::make_unique<TGridBitmap>());
    return static_cast<TGridBitmap*>(g->CellIcon);
}

void TExtStringGrid::AddPicture(int c, int r, TGridBitmap* picture, bool transparent, TStretchMode mode, int padding,
                                TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctPicture, hal, val)) {
        g->CellBitmap = picture;
        g->CellTransparent = transparent;
        g->CellAngle = mode;
        g->CellIndex = padding;
    }
}

TGridBitmap* TExtStringGrid::CreatePicture(int c, int r, bool transparent, TStretchMode mode, int padding,
                                           TCellHAlign hal, TCellVAlign val)
{
    AddPicture(c, r, nullptr, transparent, mode, padding, hal, val);
    TCellGraphic* g = OwnGraphicOfKind(c, r, ctPicture);
    if (!g)
        return nullptr;
    g->CellBitmap = g->Own(std::make_unique<TGridBitmap>());
    return static_cast<TGridBitmap*>(g->CellBitmap);
}

TGridBitmap* TExtStringGrid::GetPicture(int c, int r) { return BitmapIn(GetCellGraphic(c, r), ctPicture); }

void TExtStringGrid::AddFilePicture(int c, int r, TGridBitmap* picture, bool transparent, TStretchMode mode,
                                    int padding, TCellHAlign hal, TCellVAlign val)
{
    AddPicture(c, r, picture, transparent, mode, padding, hal, val);
    if (TCellGraphic* g = OwnGraphicOfKind(c, r, ctPicture))
        g->CellType = ctFilePicture;
}

TGridBitmap* TExtStringGrid::CreateFilePicture(int c, int r, bool transparent, TStretchMode mode, int padding,
                                               TCellHAlign hal, TCellVAlign val)
{
    TGridBitmap* picture = CreatePicture(c, r, transparent, mode, padding, hal, val);
    if (TCellGraphic* g = OwnGraphicOfKind(c, r, ctPicture))
        g->CellType = ctFilePicture;
    return picture;
}

TGridBitmap* TExtStringGrid::GetFilePicture(int c, int r) { return BitmapIn(GetCellGraphic(c, r), ctFilePicture); }

// ---- Progress bars, pies, range indicators ----

void TExtStringGrid::AddProgressFormatted(int c, int r, TColor fgColor, TColor fgTextColor, TColor bkColor,
                                          TColor bkTextColor, const QString& format, int minimum, int maximum)
{
    TCellGraphic* g = Fresh(*this, c, r, ctProgress);
    if (!g)
        return;
    g->CellColor = fgColor;
    g->CellColorTo = bkColor;
    g->CellIndex = int(fgTextColor);
    g->CellAngle = int(bkTextColor);
    g->CellBoolean = true;
    g->CellErrFrom = minimum;
    g->CellErrLen = maximum;
    g->CellText = format;
    if (AutoNumAlign)
        SetAlignments(c, r, taRightJustify);
}

void TExtStringGrid::AddProgressEx(int c, int r, TColor fgColor, TColor fgTextColor, TColor bkColor, TColor bkTextColor)
{
    AddProgressFormatted(c, r, fgColor, fgTextColor, bkColor, bkTextColor, QString(), 0, 100);
}

void TExtStringGrid::AddProgress(int c, int r, TColor fgColor, TColor bkColor)
{
    AddProgressFormatted(c, r, fgColor, clNone, bkColor, clNone, QString(), 0, 100);
    if (TCellGraphic* g = OwnGraphicOfKind(c, r, ctProgress)) {
        g->CellBoolean = false;
        g->CellIndex = g->CellAngle = 0;
    }
}

bool TExtStringGrid::HasProgress(int c, int r) { return BaseOfKind(*this, c, r, ctProgress) != nullptr; }

void TExtStringGrid::AddProgressPie(int c, int r, TColor color, int value)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctProgressPie, haBeforeText, vaTop)) {
        g->CellColor = color;
        g->CellAngle = value;
    }
}

void TExtStringGrid::SetProgressPie(int c, int r, int value)
{
    if (TCellGraphic* g = OwnGraphicOfKind(c, r, ctProgressPie)) {
        g->CellAngle = value;
        RepaintCell(RealToDisplCol(c), r);
    }
}

void TExtStringGrid::AddExtProgress(int c, int r, int minimum, int maximum)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctXPProgress)) {
        g->CellErrFrom = minimum;
        g->CellErrLen = maximum;
        g->CellBoolean = false;
    }
}

void TExtStringGrid::AddRangeIndicator(int c, int r, int range, TColor negColor, TColor posColor, bool showValue)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctRangeIndicator)) {
        g->CellColor = negColor;
        g->CellColorTo = posColor;
        g->CellIndex = range;
        g->CellBoolean = showValue;
    }
}

// ---- Comments ----

void TExtStringGrid::AddColorComment(int c, int r, const QString& comment, TColor color)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctComment)) {
        g->CellText = comment;
        g->CellIndex = int(color);
    }
}

void TExtStringGrid::AddComment(int c, int r, const QString& comment)
{
    AddColorComment(c, r, comment, ControlLook.CommentColor);
}

bool TExtStringGrid::IsComment(int c, int r, QString& comment)
{
    const TCellGraphic* g = GetCellGraphic(c, r);
    if (!g || g->CellType != ctComment)
        return false;
    comment = g->CellText;
    return true;
}

QString TExtStringGrid::GetComment(int c, int r)
{
    QString comment;
    return IsComment(c, r, comment) ? comment : QString();
}

void TExtStringGrid::SetComment(int c, int r, const QString& comment)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g)
        AddComment(c, r, comment);
    else if (g->CellType == ctComment)
        g->CellText = comment;
}

void TExtStringGrid::RemoveAllComments()
{
    QString comment;
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (IsComment(c, r, comment))
                RemoveComment(c, r);
}

// ---- Buttons ----

void TExtStringGrid::AddButton(int c, int r, int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* g = CreateCellGraphic(c, r))
        g->SetButton(bw, bh, caption, hal, val);
}

void TExtStringGrid::AddBitButton(int c, int r, int bw, int bh, const QString& caption, TGridBitmap* glyph,
                                  TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* g = CreateCellGraphic(c, r)) {
        g->SetButton(bw, bh, caption, hal, val);
        g->CellType = ctBitButton;
        g->CellBitmap = glyph;
    }
}

TGridBitmap* TExtStringGrid::CreateBitButton(int c, int r, int bw, int bh, const QString& caption, TCellHAlign hal,
                                             TCellVAlign val)
{
    AddBitButton(c, r, bw, bh, caption, nullptr, hal, val);
    TCellGraphic* g = OwnGraphicOfKind(c, r, ctBitButton);
    if (!g)
        return nullptr;
    g->CellBitmap = g->Own(std::make_unique<TGridBitmap>());
    return static_cast<TGridBitmap*>(g->CellBitmap);
}

bool TExtStringGrid::HasButton(int c, int r)
{
    return BaseOfKind(*this, c, r, ctButton) || BaseOfKind(*this, c, r, ctBitButton);
}

QString TExtStringGrid::GetButtonText(int c, int r)
{
    const TCellGraphic* g = GetCellGraphic(DisplToRealCol(c), r);
    return g ? g->CellText : QString();
}

void TExtStringGrid::SetButtonText(int c, int r, const QString& caption)
{
    if (TCellGraphic* g = GetCellGraphic(DisplToRealCol(c), r)) {
        g->CellText = caption;
        RepaintCell(c, r);
    }
}

void TExtStringGrid::PushButton(int c, int r, bool push)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g || g->CellType == ctNode)
        return;
    g->CellBoolean = push;
    RepaintCell(RealToDisplCol(c), r);
}

TRect TExtStringGrid::GetCellButtonRect(int c, int r)
{
    const TCellGraphic* g = GetCellGraphic(DisplToRealCol(c), r);
    if (!g)
        return {};
    const TRect cell = CellRect(c, r);
    const int64_t o = std::llround(g->CellValue);
    TRect b;
    b.Left = cell.Left + int(o & 0xFFFF);
    b.Top = cell.Top + int((o >> 16) & 0xFFFF);
    b.Right = b.Left + (g->CellIndex & 0xFFFF);
    b.Bottom = b.Top + ((g->CellIndex >> 16) & 0xFFFF);
    if (g->CellVAlign == vaFull)
        b.Top = cell.Top, b.Bottom = cell.Bottom;
    if (g->CellHAlign == haFull)
        b.Left = cell.Left, b.Right = cell.Right;
    return b;
}

void TExtStringGrid::RemoveButton(int c, int r)
{
    if (!RemoveCellGraphicOfType(c, r, ctButton))
        RemoveCellGraphicOfType(c, r, ctBitButton);
}

void TExtStringGrid::RemoveAllButtons()
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (HasButton(c, r))
                RemoveButton(c, r);
}

// ---- Shapes and ratings ----

void TExtStringGrid::AddShape(int c, int r, TCellShape shape, TColor fillColor, TColor lineColor, TCellHAlign hal,
                              TCellVAlign val)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctShape, hal, val)) {
        g->CellAngle = shape;
        g->CellIndex = int(fillColor);
        g->CellColor = lineColor;
    }
}

void TExtStringGrid::SetShapeColor(int c, int r, TColor fillColor)
{
    if (GetCellType(c, r) == ctShape)
        GetCellGraphic(c, r)->CellIndex = int(fillColor);
}

TColor TExtStringGrid::GetShapeColor(int c, int r)
{
    return GetCellType(c, r) == ctShape ? TColor(GetCellGraphic(c, r)->CellIndex) : clNone;
}

void TExtStringGrid::AddRating(int c, int r, int scale, TColor fillColor, TColor emptyColor)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctRating, haFull, vaTop)) {
        g->CellAngle = scale;
        g->CellIndex = int(fillColor);
        g->CellColor = emptyColor;
    }
}

bool TExtStringGrid::HasRating(int c, int r) { return BaseOfKind(*this, c, r, ctRating) != nullptr; }

// ---- In-cell scroll bars ----

void TExtStringGrid::AddScrollBar(int c, int r, bool autoRange)
{
    TCellGraphic* g = Fresh(*this, c, r, ctScrollbar);
    if (!g)
        return;
    g->CellIndex = 0;
    g->CellAngle = 0;
    g->CellErrFrom = 100;
    g->CellBoolean = autoRange;
    if (autoRange)
        CellTextChanged(c, r);
}

bool TExtStringGrid::HasScrollBar(int c, int r) { return BaseOfKind(*this, c, r, ctScrollbar) != nullptr; }

bool TExtStringGrid::HasAutoRangeScrollBar(int c, int r)
{
    const TCellGraphic* g = BaseOfKind(*this, c, r, ctScrollbar);
    return g && g->CellBoolean;
}

int TExtStringGrid::GetScrollPosition(int c, int r)
{
    const TCellGraphic* g = BaseOfKind(*this, c, r, ctScrollbar);
    return g ? g->CellIndex : -1;
}

void TExtStringGrid::SetScrollPosition(int c, int r, int pos)
{
    if (TCellGraphic* g = BaseOfKind(*this, c, r, ctScrollbar)) {
        g->CellIndex = pos;
        RepaintCell(RealToDisplCol(c), r);
    }
}

bool TExtStringGrid::ScrollInCell(int c, int r, int code, int pos)
{
    const TCellGraphic* g = BaseOfKind(*this, c, r, ctScrollbar);
    if (!g)
        return false;
    const TScrollProp prop = GetScrollProp(c, r);
    const int maximum = std::max(0, prop.Range - std::max(0, prop.PageSize));
    const int old = g->CellIndex;
    int now = old;
    switch (code) {
    case platform::SB_LINEUP: now = old - 10; break;
    case platform::SB_LINEDOWN: now = old + 10; break;
    case platform::SB_PAGEUP: now = old - 100; break;
    case platform::SB_PAGEDOWN: now = old + 100; break;
    case platform::SB_THUMBTRACK: now = pos; break;
    default: return false;
    }
    now = std::clamp(now, 0, maximum);
    if (now == old)
        return false;
    SetScrollPosition(c, r, now);
    ScrollCell(c, r, now, 0, maximum);
    return true;
}

void TExtStringGrid::ScrollCell(int c, int r, int position, int minimum, int maximum)
{
    if (OnScrollCell)
        OnScrollCell(this, c, r, position, minimum, maximum);
}

TExtStringGrid::TScrollProp TExtStringGrid::GetScrollProp(int c, int r)
{
    const TCellGraphic* g = BaseOfKind(*this, c, r, ctScrollbar);
    return g ? TScrollProp{g->CellAngle, g->CellErrFrom} : TScrollProp{};
}

void TExtStringGrid::SetScrollProp(int c, int r, TScrollProp prop)
{
    if (TCellGraphic* g = BaseOfKind(*this, c, r, ctScrollbar)) {
        g->CellAngle = prop.PageSize;
        g->CellErrFrom = prop.Range;
    }
}

// ---- Balloons ----

void TExtStringGrid::AddBalloon(int c, int r, const QString& title, const QString& text, TBalloonIcon icon)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g) {
        g = Fresh(*this, c, r, ctBalloon);
        if (!g)
            return;
        g->CellAngle = 0;
    } else if (g->CellType == ctCheckBox || g->CellType == ctDataCheckBox || g->CellType == ctRadioButton) {
        g->CellAngle = 1;
    } else {
        return;
    }
    *g->CreateStrings() = QStringList{title, text};
    g->CellIndex = icon;
}

bool TExtStringGrid::HasBalloon(int c, int r) { return BaseOfKind(*this, c, r, ctBalloon) != nullptr; }

bool TExtStringGrid::IsBalloon(int c, int r, QString& title, QString& text, TBalloonIcon& icon)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g)
        return false;
    const bool attached = (g->CellType == ctCheckBox || g->CellType == ctDataCheckBox ||
                           g->CellType == ctRadioButton) && g->CellAngle == 1;
    if (g->CellType != ctBalloon && !attached)
        return false;
    const QStringList* list = g->Strings();
    title = list && list->size() > 0 ? list->at(0) : QString();
    text = list && list->size() > 1 ? list->at(1) : QString();
    icon = TBalloonIcon(g->CellIndex);
    return true;
}

void TExtStringGrid::RemoveBalloon(int c, int r)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g)
        return;
    if ((g->CellType == ctCheckBox || g->CellType == ctDataCheckBox || g->CellType == ctRadioButton) &&
        g->CellAngle == 1) {
        g->CellAngle = 0;
        g->FreeStrings();
    } else {
        RemoveCellGraphicOfType(c, r, ctBalloon);
    }
}

// ---- Expand buttons ----

void TExtStringGrid::AddExpand(int c, int r, int expandedHeight)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctExpand)) {
        g->CellIndex = RowHeights(r);
        g->CellAngle = expandedHeight;
        g->CellVar = false;
    }
}

bool TExtStringGrid::HasExpand(int c, int r) { return BaseOfKind(*this, c, r, ctExpand) != nullptr; }

bool TExtStringGrid::GetExpandState(int c, int r)
{
    if (c < 0 || r < 0)
        return false;
    const TPoint b = BaseCell(c, r);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellVar.toBool();
}

bool TExtStringGrid::ToggleExpand(int c, int r)
{
    if (c < 0 || r < 0)
        return false;
    const TPoint b = BaseCell(c, r);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g)
        return false;
    g->CellVar = !g->CellVar.toBool();
    return g->CellVar.toBool();
}

TRect TExtStringGrid::GetExpandRect(int c, int r)
{
    if (!BaseOfKind(*this, c, r, ctExpand))
        return {};
    const TRect cell = CellRect(c, r);
    return {cell.Right - 13, cell.Top + 2, cell.Right - 2, cell.Top + 13};
}

// ---- Rotated text, interfaced objects, markers ----

void TExtStringGrid::AddRotated(int c, int r, int angle, const QString& text)
{
    if (TCellGraphic* g = CreateCellGraphic(c, r)) {
        g->SetAngle(angle);
        SetCells(c, r, text);
    }
}

void TExtStringGrid::SetRotated(int c, int r, int angle)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g)
        g = CreateCellGraphic(c, r);
    if (g)
        g->SetAngle(angle);
}

bool TExtStringGrid::IsRotated(int c, int r, int& angle)
{
    if (GetCellType(c, r) != ctRotated)
        return false;
    angle = GetCellGraphic(c, r)->CellAngle;
    return true;
}

void TExtStringGrid::AddInterfacedCell(int c, int r, TCellGraphicInterface* object)
{
    if (TCellGraphic* g = Fresh(*this, c, r, ctInterface))
        g->CellBitmap = object;
}

TCellGraphicInterface* TExtStringGrid::GetInterfacedCell(int c, int r)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    return g && g->CellType == ctInterface ? dynamic_cast<TCellGraphicInterface*>(g->CellBitmap) : nullptr;
}

void TExtStringGrid::AddMarker(int c, int r, int errPos, int errLen)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g)
        g = Fresh(*this, c, r, ctEmpty);
    // A progress bar's or scroll bar's range lives in these fields: a marker must not overwrite it.
    if (!g || RangeKind(g->CellType))
        return;
    g->CellErrFrom = errPos;
    g->CellErrLen = errLen;
    RepaintCell(RealToDisplCol(c), r);
}

void TExtStringGrid::GetMarker(int c, int r, int& errPos, int& errLen)
{
    const TCellGraphic* g = GetCellGraphic(c, r);
    errPos = errLen = 0;
    if (g && !RangeKind(g->CellType)) {
        errPos = g->CellErrFrom;
        errLen = g->CellErrLen;
    }
}

void TExtStringGrid::RemoveMarker(int c, int r)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g || RangeKind(g->CellType))
        return;
    if (g->CellType == ctEmpty) {
        RemoveCellGraphic(c, r);
        return;
    }
    g->CellErrFrom = g->CellErrLen = 0;
}

void TExtStringGrid::RemoveAllMarkers()
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            RemoveMarker(c, r);
}

}  // namespace grid
