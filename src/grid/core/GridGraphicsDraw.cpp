#include "grid/core/GridGraphicsDraw.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "controls/common/ExtXPVS.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridMirror.h"
#include "grid/core/GridPaint.h"
#include "grid/core/GridTextPlace.h"
#include "platform/FrameControl.h"

namespace grid {

using platform::TCanvas;
using PBrush = platform::TBrushStyle;
using platform::TPenStyle;

namespace {

QRect Q(const TRect& r) { return platform::Rect(r.Left, r.Top, r.Right, r.Bottom); }
TRect R(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

bool IsCheckBoxKind(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

// Check boxes and radio buttons follow the cell text's placement.
bool FollowsText(TCellType t) { return IsCheckBoxKind(t) || t == ctRadioButton; }
// The kinds whose own graphic sits beside the text, so the text width moves them.
bool BesideText(TCellType t) { return t == ctCheckBox || t == ctRadioButton || t == ctTriStateCheckBox; }

bool ThemesActive() { return controls::IsThemeActive() && controls::ComCtl32MajorVersion() >= 6; }

// Cell values as painting reads them: a text that is no number paints as 0, painting never raises.
double PaintFloat(TExtStringGrid& grid, int col, int row)
{
    try {
        const double v = grid.GetFloats(col, row);
        return std::isfinite(v) ? v : 0;
    } catch (const EExtGridError&) {
        return 0;
    }
}

int PaintInt(TExtStringGrid& grid, int col, int row)
{
    try {
        return grid.GetInts(col, row);
    } catch (const EExtGridError&) {
        return 0;
    }
}

const QImage* BitmapOf(TObject* object)
{
    auto* bmp = dynamic_cast<TGridBitmap*>(object);
    return bmp && !bmp->Image.isNull() ? &bmp->Image : nullptr;
}

}  // namespace

int ClampPercent(double x)
{
    if (!std::isfinite(x))
        return 0;
    return int(std::clamp(std::nearbyint(x), 0.0, 100.0));
}

TCellGraphic* CellGraphicLayout(TExtStringGrid& grid, int ACol, int ARow, TCellVAlign& VAlign, TCellHAlign& HAlign,
                                bool& DrawText, int& Height, int& Width)
{
    DrawText = true;
    Width = Height = 0;
    TCellGraphic* g = grid.GetCellGraphic(ACol, ARow);
    if (!g)
        return nullptr;
    VAlign = g->CellVAlign;
    HAlign = g->CellHAlign;
    auto sourceSize = [](TObject* o) {
        auto* s = dynamic_cast<TGraphicSource*>(o);
        return s ? s->GraphicSize() : TPoint{};
    };
    const TPoint images = sourceSize(grid.GridImages);
    const int check = grid.ControlLook.CheckSize;
    switch (g->CellType) {
    case ctBitmap: {
        const TPoint p = sourceSize(g->CellBitmap);
        Width = p.X, Height = p.Y;
        break;
    }
    case ctIcon: {
        const TPoint p = sourceSize(g->CellIcon);
        Width = p.X, Height = p.Y;
        break;
    }
    case ctImageList: Width = images.X, Height = images.Y; break;
    case ctDataImage:
        Width = images.X, Height = images.Y;
        DrawText = false;
        break;
    case ctCheckBox:
    case ctTriStateCheckBox: Width = Height = check; break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        Width = Height = check;
        DrawText = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress: DrawText = false; break;
    case ctImages: {
        const int n = g->Images() ? g->Images()->Count() : 0;
        if (g->CellBoolean)
            Width = n * images.X, Height = images.Y;
        else
            Width = images.X, Height = n * images.Y;
        break;
    }
    case ctPicture:
    case ctFilePicture: {
        const TRect cr = grid.CellRect(grid.RealToDisplCol(ACol), ARow);
        const TPoint p = g->GetPictureSize(cr.Width(), cr.Height());
        Width = p.X, Height = p.Y;
        break;
    }
    case ctButton:
    case ctBitButton:
        Width = g->CellIndex & 0xFFFF;
        Height = (g->CellIndex >> 16) & 0xFFFF;
        break;
    case ctProgressPie: Width = Height = 20; break;
    case ctInterface: {
        const TPoint p = sourceSize(g->CellBitmap);
        Width = p.X, Height = p.Y;
        break;
    }
    case ctRadioButton: Width = Height = grid.ControlLook.RadioSize + 4; break;
    case ctShape: Width = Height = grid.RowHeights(ARow) - 2 * grid.XYOffset.Y; break;
    case ctRating:
        Width = g->CellAngle * 18, Height = 16;
        DrawText = false;
        break;
    default: break;
    }
    return g;
}

// ---- Check boxes and radio buttons ----

void DrawCheck(TExtStringGrid& grid, TCanvas& canvas, TRect r, bool Checked, bool Enabled, bool Grayed,
               TControlStyle Style, bool TriState, TCheckBoxState TriStateValue)
{
    const TControlLook& look = grid.ControlLook;
    if (look.NoDisabledCheckRadioLook || look.CheckAlwaysActive)
        Enabled = true;
    if (TriState) {
        Checked = TriStateValue == cbChecked;
        Grayed = TriStateValue == cbGrayed;
    }
    if (Style == csTheme && !ThemesActive())
        Style = csClassic;
    const int size = look.CheckSize;
    // Right to left the box goes to its mirrored place and is drawn the right way round.
    const TReadingOrientation reading(grid, canvas);
    r = reading.Map(r);
    switch (Style) {
    case csWinXP:
    case csVUR: {
        static const char* const names[2][4] = {{"ESGCHK05", "ESGCHK07", "ESGCHK06", "ESGCHK08"},
                                                {"ESGCHK01", "ESGCHK03", "ESGCHK02", "ESGCHK04"}};
        const int i = (Checked ? 0 : 2) + (Enabled ? 0 : 1);
        const QImage bmp = GridResourceBitmap(QString::fromLatin1(names[Style == csVUR][i]));
        canvas.DrawTransparent(r.Left, r.Top, bmp);
        break;
    }
    case csBorland: {
        const QRect q = Q(r);
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = platform::clBtnFace;
        canvas.Brush.Style = PBrush::bsSolid;
        canvas.Brush.Color = Enabled ? platform::clBtnFace : platform::clBtnShadow;
        canvas.Rectangle(q);
        const int L = r.Left, T = r.Top, Rt = r.Right - 1, B = r.Bottom - 1;
        canvas.Pen.Color = platform::clBtnHighlight;
        canvas.MoveTo(L, B);
        canvas.LineTo(L, T);
        canvas.LineTo(Rt, T);
        canvas.Pen.Color = platform::clBtnShadow;
        canvas.LineTo(Rt, B);
        canvas.LineTo(L, B);
        if (Checked) {
            canvas.Pen.Color = Enabled ? look.Color : clGray;
            const int mid = T + r.Height() / 2;
            for (int dx : {2, 3}) {
                canvas.MoveTo(L + dx, mid);
                canvas.LineTo(L + dx, B - 2);
            }
            for (int dy : {0, 1}) {
                canvas.MoveTo(L + 2, B - 3 + dy);
                canvas.LineTo(Rt - 2, T + 3 + dy);
            }
        }
        break;
    }
    case csGlyph: {
        const QImage& glyph = Checked ? look.CheckedGlyph : look.UnCheckedGlyph;
        if (!glyph.isNull())
            canvas.DrawTransparent(r.Left, r.Top, glyph);
        break;
    }
    case csTheme: {
        int state = controls::CBS_UNCHECKEDNORMAL + (Enabled ? 0 : 3);
        if (Grayed)
            state = Enabled ? controls::CBS_MIXEDNORMAL : controls::CBS_MIXEDDISABLED;
        else if (Checked)
            state = controls::CBS_CHECKEDNORMAL + (Enabled ? 0 : 3);
        controls::HTHEME theme = controls::OpenThemeData(nullptr, QStringLiteral("button"));
        controls::DrawThemeBackground(theme, canvas, controls::BP_CHECKBOX, state, QRect(r.Left, r.Top, size, size));
        controls::CloseThemeData(theme);
        break;
    }
    default: {
        // Classic and flat: the frame control, centred for CheckSize.
        QRect box(r.Left + (r.Width() - size) / 2, r.Top + (r.Height() - size) / 2, size, size);
        unsigned s = platform::DFCS_BUTTONCHECK;
        if (Checked || Grayed)
            s |= platform::DFCS_CHECKED;
        if (Grayed)
            s |= platform::DFCS_BUTTON3STATE;
        if (Style == csFlat)
            s |= platform::DFCS_FLAT;
        if (!Enabled)
            s |= platform::DFCS_INACTIVE;
        platform::DrawFrameControl(canvas, box, platform::DFC_BUTTON, s);
        break;
    }
    }
}

namespace {

// One 16-pixel radio item of the drawn looks at (x, y).
void DrawRadioItem(TExtStringGrid& grid, TCanvas& canvas, int x, int y, bool checked, bool enabled, TControlStyle style)
{
    const TControlLook& look = grid.ControlLook;
    switch (style) {
    case csBorland: {
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = platform::clBtnFace;
        canvas.Brush.Style = PBrush::bsSolid;
        canvas.Brush.Color = platform::clBtnFace;
        canvas.Polygon(QPolygon({{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}}));
        const TColor upper = checked ? clGray : clWhite, lower = checked ? clWhite : clGray;
        canvas.Pen.Color = upper;
        canvas.MoveTo(x + 2, y + 8);
        canvas.LineTo(x + 8, y + 2);
        canvas.LineTo(x + 14, y + 8);
        canvas.Pen.Color = lower;
        canvas.LineTo(x + 8, y + 14);
        canvas.LineTo(x + 2, y + 8);
        if (checked) {
            canvas.Pen.Color = look.Color;
            canvas.Brush.Color = look.Color;
            canvas.Polygon(QPolygon({{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}}));
        }
        break;
    }
    case csTheme: {
        int state = checked ? controls::RBS_CHECKEDNORMAL : controls::RBS_UNCHECKEDNORMAL;
        if (!enabled)
            state += 3;
        controls::HTHEME theme = controls::OpenThemeData(nullptr, QStringLiteral("button"));
        controls::DrawThemeBackground(theme, canvas, controls::BP_RADIOBUTTON, state, QRect(x, y, 16, 16));
        controls::CloseThemeData(theme);
        break;
    }
    case csGlyph: {
        const QImage& glyph = checked ? look.RadioOnGlyph : look.RadioOffGlyph;
        if (!glyph.isNull())
            canvas.DrawTransparent(x, y, glyph);
        break;
    }
    default: {
        const bool vur = style == csVUR;
        const int n = (vur ? 1 : 5) + (checked ? 0 : 1) + (enabled ? 0 : 2);
        canvas.DrawTransparent(x, y, GridResourceBitmap(QStringLiteral("ESGRAD%1").arg(n, 2, 10, QLatin1Char('0'))));
        break;
    }
    }
}

}  // namespace

void DrawRadioGroup(TExtStringGrid& grid, TCanvas& canvas, TRect r, int Count, int Index, bool Horizontal,
                    bool Disabled, const QStringList* Items, bool Selected, int ACol, int ARow, TControlStyle Style,
                    double Scale, bool Upward)
{
    if (Count <= 0)
        return;
    const TControlLook& look = grid.ControlLook;
    if (look.NoDisabledCheckRadioLook || look.RadioAlwaysActive)
        Disabled = false;
    if (Style == csTheme && !ThemesActive())
        Style = csClassic;
    const QString cellText = Index == -1 ? grid.Cells(ACol, ARow) : QString();
    const TReadingOrientation reading(grid, canvas);
    r = reading.Map(r);
    const PBrush savedBrush = canvas.Brush.Style;
    canvas.Brush.Style = PBrush::bsClear;
    const TColor savedFont = canvas.Font.Color;
    if (Selected)
        canvas.Font.Color = grid.SelectionTextColor;
    const int gh = canvas.TextHeight(QStringLiteral("gh"));
    const int classicSize = int(Scale * (Style == csFlat ? look.RadioSize + 2 : look.RadioSize));
    int before = 0;  // widths of the captions before the item
    for (int i = 1; i <= Count; ++i) {
        const bool hasCaption = Items && Items->size() >= i;
        const QString caption = hasCaption ? Items->at(i - 1) : QString();
        const bool checked = (Index == -1 && hasCaption && caption == cellText) || i == Index + 1;
        if (Style == csClassic || Style == csFlat) {
            int x, y;
            QPoint text;
            if (Horizontal) {
                x = r.Left + 2 + (i - 1) * look.RadioSize + before;
                y = r.Top + (r.Height() - classicSize) / 2;
                text = QPoint(x + int(Scale * look.RadioSize), y - 2);
            } else {
                const int row = gh * (i - 1) + 2;
                y = Upward ? r.Top - row : r.Top + row;
                x = hasCaption ? r.Left + 2 : r.Left + (r.Width() - classicSize) / 2;
                text = QPoint(r.Left + 2 + int(Scale * (look.RadioSize + 4)), y);
            }
            QRect box(x, y, classicSize, classicSize);
            unsigned s = platform::DFCS_BUTTONRADIO;
            if (checked)
                s |= platform::DFCS_CHECKED;
            if (Disabled)
                s |= platform::DFCS_INACTIVE;
            if (Style == csFlat)
                s |= platform::DFCS_FLAT;
            platform::DrawFrameControl(canvas, box, platform::DFC_BUTTON, s);
            if (hasCaption) {
                canvas.Brush.Style = PBrush::bsClear;
                canvas.TextOut(text.x(), text.y(), caption);
            }
        } else {
            const bool bitmapStyle = Style == csWinXP || Style == csVUR || Style == csGlyph;
            int x, y;
            QPoint text;
            if (Horizontal) {
                x = r.Left + i * 16 - 14 + before;
                y = r.Top + (r.Height() - 16) / 2;
                text = QPoint(x + 16, y);
            } else {
                const int pitch = std::max(16, gh);
                const int row = pitch * (i - 1);
                y = Upward ? r.Top - row : r.Top + row;
                x = hasCaption ? r.Left + 2 : r.Left + (r.Width() - 16) / 2;
                text = bitmapStyle ? QPoint(r.Left + 18, y + 1) : QPoint(r.Left + 20, y);
            }
            DrawRadioItem(grid, canvas, x, y, checked, !Disabled, Style);
            if (hasCaption) {
                canvas.Brush.Style = PBrush::bsClear;
                canvas.TextOut(text.x(), text.y(), caption);
            }
        }
        if (hasCaption)
            before += canvas.TextWidth(caption);
    }
    canvas.Font.Color = savedFont;
    canvas.Brush.Style = savedBrush;
}

// ---- Placement and drawing by kind ----

namespace {

TRect PlaceGraphic(TExtStringGrid& grid, const TGraphicPaintCell& cell, TRect r, const TCellGraphic& g, int W, int H)
{
    const TCellType t = g.CellType;
    if (t != ctNode && t != ctProgress && t != ctRangeIndicator && t != ctXPProgress) {
        r.Left += grid.XYOffset.X - 1;
        r.Top += grid.XYOffset.Y - 1;
        r.Right -= grid.XYOffset.X - 1;
        r.Bottom -= grid.XYOffset.Y - 1;
    }
    const int T = cell.TextWidth > 0 ? cell.TextWidth + 2 : 0;
    const int width = r.Width(), height = r.Height();
    TRect p = r;
    switch (g.CellHAlign) {
    case haLeft: p.Left = r.Left + 1; break;
    case haRight: p.Left = r.Right - 1 - W; break;
    case haCenter: p.Left = W < width ? r.Left + (width - W) / 2 : r.Left + 1; break;
    case haBeforeText:
        if (cell.HAlign == taRightJustify)
            p.Left = r.Right - T - W;
        else if (cell.HAlign == taCenter)
            p.Left = r.Left + (width - T - W) / 2;
        else
            p.Left = r.Left + 1;
        p.Left = std::max(p.Left, r.Left + 1);
        break;
    case haAfterText:
        if (cell.HAlign == taRightJustify)
            p.Left = r.Right - 1 - W;
        else if (cell.HAlign == taCenter)
            p.Left = std::max(r.Left + T + (width - T - W) / 2, r.Left + 1);
        else
            p.Left = r.Left + T;
        break;
    case haFull: break;
    }
    if (g.CellHAlign != haFull)
        p.Right = p.Left + W;

    TCellVAlign va = g.CellVAlign;
    if (FollowsText(t) && cell.VAlign != grid.VAlignment)
        va = cell.VAlign == vtaTop ? vaTop : cell.VAlign == vtaCenter ? vaCenter : vaBottom;
    switch (va) {
    case vaTop:
    case vaAboveText: p.Top = r.Top + 1; break;
    case vaBottom: p.Top = r.Bottom - 1 - H; break;
    case vaCenter: p.Top = H < height ? r.Top + (height - H) / 2 : r.Top + 1; break;
    case vaUnderText: p.Top = r.Bottom - H; break;
    case vaFull: break;
    }
    if (va != vaFull)
        p.Bottom = p.Top + H;

    if (FollowsText(t)) {
        const bool beside = BesideText(t) && T > 0;
        if (cell.HAlign == taRightJustify)
            p.Left = (beside ? r.Right - T - 1 : r.Right - 1) - W;
        else if (cell.HAlign == taCenter)
            p.Left = beside ? r.Left + (width - T) / 2 - W / 2 : r.Left + (width - W) / 2;
        else
            p.Left = r.Left + 1;
        p.Left = std::max(p.Left, r.Left + 1);
        p.Right = p.Left + W;
    }
    return p;
}

bool CellEnabled(TExtStringGrid& grid, int col, int row)
{
    bool canEdit = true;
    grid.IsCellEditable(col, row, canEdit);
    return canEdit;
}

void DrawNode(TExtStringGrid& grid, TCanvas& canvas, const TGraphicPaintCell& cell, TRect r, const TCellGraphic& g)
{
    const TCellNode& node = grid.CellNode;
    const bool contracted = g.CellBoolean;
    if (node.ShowTree && !(cell.State & gdFixed)) {
        const int level = std::max(0, grid.GetNodeLevel(cell.Row));
        const int mid = r.Left + 6;
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = node.TreeColor;
        const int nextLevel = cell.Row + 1 < grid.RowCount() && grid.IsNode(cell.Row + 1) ? grid.GetNodeLevel(cell.Row + 1) : -1;
        if (nextLevel > level && !(!contracted && nextLevel < level)) {
            canvas.MoveTo(mid, r.Top + r.Height() / 2);
            canvas.LineTo(mid, r.Bottom);
        }
        const int prevLevel = cell.Row > 0 && grid.IsNode(cell.Row - 1) ? grid.GetNodeLevel(cell.Row - 1) : -1;
        if (prevLevel >= level && prevLevel >= 0) {
            canvas.MoveTo(mid, r.Top);
            canvas.LineTo(mid, r.Top + 6);
        }
    }
    TColor background = cell.Brush != clNone ? cell.Brush : (grid.FixedCols() > 0 ? grid.FixedColor : grid.Color);
    if (cell.State & gdSelected)
        background = grid.SelectionColor == clNone ? clHighlight : grid.SelectionColor;
    const int cy = r.Top + r.Height() / 2;
    if (node.NodeType == cnGlyph && !node.ExpandGlyph.isNull() && !node.ContractGlyph.isNull()) {
        const QImage& glyph = contracted ? node.ContractGlyph : node.ExpandGlyph;
        DrawBitmapOnColor(canvas, glyph, background,
                          QRect(r.Left + 2, cy - glyph.height() / 2, glyph.width(), glyph.height()));
        return;
    }
    switch (node.NodeType) {
    case cnLeaf:
        DrawResourceBitmap(canvas, background, Q(R(r.Left + (12 - 16) / 2 + 2, cy - 8, 16, 16)),
                           contracted ? QStringLiteral("ESGLEAFCLOSE") : QStringLiteral("ESGLEAFOPEN"));
        return;
    case cnXP:
        DrawResourceBitmap(canvas, background, Q(R(r.Left + 4, cy - 5, 9, 9)),
                           contracted ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"));
        return;
    default: break;
    }
    if (node.NodeType == cn3D) {
        FillRectColor(canvas, Q(r), node.Color);
        QRect edge = Q(r);
        platform::DrawEdge(canvas, edge, platform::EDGE_RAISED, platform::BF_RECT);
    }
    const QRect box(r.Left + 4, cy - 4, 8, 8);
    FillRectColor(canvas, box, node.Color);
    if (node.NodeType == cnFlat) {
        canvas.Brush.Color = node.NodeColor;
        canvas.FrameRect(box);
        canvas.Pen.Color = node.NodeColor;
        canvas.Pen.Width = 1;
        canvas.MoveTo(box.left() + 2, cy);
        canvas.LineTo(box.left() + 6, cy);
        if (contracted) {
            canvas.MoveTo(box.left() + 4, cy - 2);
            canvas.LineTo(box.left() + 4, cy + 2);
        }
    } else {
        QRect edge = box;
        platform::DrawEdge(canvas, edge, contracted ? platform::EDGE_RAISED : platform::EDGE_SUNKEN, platform::BF_RECT);
    }
}

void DrawButtonGraphic(TExtStringGrid& grid, TCanvas& canvas, TGraphicPaintCell& cell, TRect cellRect, TRect p,
                       TCellGraphic& g)
{
    const TControlLook& look = grid.ControlLook;
    const bool expand = g.CellType == ctExpand;
    if (expand)
        p = {cellRect.Right - 13, cellRect.Top, cellRect.Right, cellRect.Top + 13};
    g.CellValue = double((p.Left - cellRect.Left) & 0xFFFF) + double(((p.Top - cellRect.Top) & 0xFFFF) << 16);
    const bool enabled = look.NoDisabledButtonLook || CellEnabled(grid, cell.Col, cell.Row);
    TPartState state = psNormal;
    if (g.CellBoolean)
        state = psDown;
    else if (cell.HotButton)
        state = psHot;
    else if (!enabled && !expand)
        state = psDisabled;
    TPartStyle style = look.FlatButton ? pstFlat : ThemesActive() ? pstThemed : pstClassic;
    if (grid.Flat && grid.ColorTones().Background.BrushColor != clNone)
        style = pstTones;
    DrawButtonPart(canvas, cell.Window, Q(p), style, state, grid.ColorTones());
    TRect content = p;
    if (state == psDown) {
        content.Left += 1, content.Top += 1, content.Right += 1, content.Bottom += 1;
    }
    if (expand) {
        const int rt = content.Right, t = content.Top;
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = canvas.Font.Color;
        const bool up = g.CellVar.toBool();
        canvas.Polyline(up ? QPolygon({{rt - 10, t + 8}, {rt - 7, t + 5}, {rt - 3, t + 9}})
                           : QPolygon({{rt - 10, t + 5}, {rt - 7, t + 8}, {rt - 3, t + 4}}));
        return;
    }
    if (g.CellType == ctBitButton) {
        if (const QImage* glyph = BitmapOf(g.CellBitmap)) {
            const bool left = !g.CellText.isEmpty() || glyph->width() + 6 > content.Width();
            const int gy = glyph->height() <= content.Height() ? content.Top + (content.Height() - glyph->height()) / 2
                                                               : content.Top + 3;
            const int gx = left ? content.Left + 3 : content.Left + (content.Width() - glyph->width()) / 2;
            canvas.DrawTransparent(gx, gy, *glyph);
            if (left)
                content.Left = gx + glyph->width() + 4;
        }
    }
    if (!g.CellText.isEmpty()) {
        const TColor saved = canvas.Font.Color;
        if (style == pstTones) {
            const controls::TColorTones& t = grid.ColorTones();
            canvas.Font.Color = state == psHot ? t.Hover.TextColor
                                : state == psDown ? t.Selected.TextColor
                                : state == psDisabled ? t.Disabled.TextColor
                                                      : t.Background.TextColor;
        } else if (state == psDisabled) {
            canvas.Font.Color = clGray;
        }
        canvas.Brush.Style = PBrush::bsClear;
        // The caption reads the right way round on a right-to-left grid.
        const TReadingOrientation reading(grid, canvas);
        QRect tr = reading.Map(Q(content));
        unsigned flags = platform::DT_CENTER | platform::DT_END_ELLIPSIS | platform::DT_NOPREFIX;
        flags |= g.CellText.contains(QLatin1Char('\r')) ? platform::DT_WORDBREAK : platform::DT_SINGLELINE | platform::DT_VCENTER;
        canvas.DrawText(g.CellText, tr, flags);
        canvas.Font.Color = saved;
    }
}

void DrawRotated(TCanvas& canvas, TRect r, const TCellGraphic& g, const QString& text, TAlignment hAlign,
                 TVAlignment vAlign)
{
    QPainter* painter = canvas.Painter();
    if (!painter || text.isEmpty())
        return;
    // The extent in the cell's font, selected on the canvas now.
    TRect origin = r;
    PlaceRotatedExtent(origin, g.CellAngle, {canvas.TextWidth(text), canvas.TextHeight(text)}, hAlign, vAlign);
    r.Left += 2, r.Top += 2, r.Right -= 2, r.Bottom -= 2;
    canvas.Brush.Style = PBrush::bsClear;
    painter->save();
    painter->setClipRect(Q(r), Qt::IntersectClip);
    painter->translate(origin.Left, origin.Top);
    painter->rotate(-g.CellAngle);
    canvas.TextOut(0, 0, text);
    painter->restore();
}

}  // namespace

TRect CheckBoxPlace(TExtStringGrid& grid, int col, int row)
{
    TCellVAlign va;
    TCellHAlign ha;
    bool drawText = false;
    int H = 0, W = 0;
    const TCellGraphic* g = CellGraphicLayout(grid, col, row, va, ha, drawText, H, W);
    if (!g || !(IsCheckKind(g->CellType) || g->CellType == ctRadioButton))
        return {};
    if (g->CellType == ctVirtCheckBox || g->CellType == ctRowCheckBox)
        W = H = grid.ControlLook.CheckSize;

    // The cell's inner area as the grid hands it to its content painting.
    const int dc = grid.RealToDisplCol(col);
    const bool fixed = grid.IsFixed(dc, row) || dc < grid.FixedCols() || row < grid.FixedRows();
    const TRect cellRect = grid.CellRect(dc, row);
    const int line = grid.GridLineWidth;
    TRect area = fixed ? TRect{cellRect.Left, cellRect.Top + 1, cellRect.Right - 1, cellRect.Bottom - 2}
                       : TRect{cellRect.Left + line, cellRect.Top + line, cellRect.Right - line, cellRect.Bottom - line};

    TGraphicPaintCell cell;
    cell.Col = col;
    cell.DCol = dc;
    cell.Row = row;
    grid.GetCellAlignment(col, row, cell.HAlign, cell.VAlign);
    if (drawText) {
        // Measured as the text painting measures it, in the cell's font.
        TFontDesc font;
        grid.GetFontProperties(dc, col, row, font, false);
        font.Size += grid.ZoomFactor;
        TCanvas measure;
        measure.Font = CanvasFont(font);
        QRect m(0, 0, std::max(1, area.Width()), std::max(1, area.Height()));
        measure.DrawText(grid.GetFormattedCell(col, row), m,
                         platform::DT_SINGLELINE | platform::DT_NOPREFIX | platform::DT_CALCRECT);
        cell.TextWidth = m.width() + 2;
    }
    const TRect p = PlaceGraphic(grid, cell, area, *g, W, H);
    if (g->CellType == ctRadioButton)
        return R(p.Left + grid.XYOffset.X, p.Top, grid.ControlLook.RadioSize, grid.ControlLook.RadioSize);
    return R(p.Left, p.Top, W, H);
}

void DrawCellGraphic(TExtStringGrid& grid, TCanvas& canvas, TGraphicPaintCell& cell, TRect rect, TCellGraphic* graphic)
{
    if (!graphic)
        return;
    TCellGraphic& g = *graphic;
    const TControlLook& look = grid.ControlLook;
    TCellVAlign va;
    TCellHAlign ha;
    bool drawText;
    int H = 0, W = 0;
    if (g.CellType == ctVirtCheckBox || g.CellType == ctRowCheckBox) {
        W = H = look.CheckSize;
    } else if (TCellGraphic* own = CellGraphicLayout(grid, cell.Col, cell.Row, va, ha, drawText, H, W); own != graphic) {
        // A graphic handed in that is not the cell's own (a shared one) keeps its kind's size.
        W = H = look.CheckSize;
    }
    const TRect placed = PlaceGraphic(grid, cell, rect, g, W, H);
    cell.GraphicRect = placed;
    auto* images = dynamic_cast<TGridImageList*>(grid.GridImages);

    // Pictures and rotated text read the right way round at their mirrored place in a
    // right-to-left grid; check boxes and radio buttons see to that themselves.
    const bool picture = g.CellType == ctBitmap || g.CellType == ctIcon || g.CellType == ctImageList ||
                         g.CellType == ctDataImage || g.CellType == ctImages || g.CellType == ctPicture ||
                         g.CellType == ctFilePicture;
    std::optional<TReadingOrientation> reading;
    if (picture)
        reading.emplace(grid, canvas);
    const TRect p = reading ? reading->Map(placed) : placed;

    switch (g.CellType) {
    case ctBitmap:
        if (const QImage* bmp = BitmapOf(g.CellBitmap)) {
            if (g.CellTransparent)
                canvas.DrawTransparent(p.Left, p.Top, *bmp);
            else
                canvas.Draw(p.Left, p.Top, *bmp);
        }
        break;
    case ctIcon:
        if (const QImage* icon = BitmapOf(g.CellIcon))
            canvas.Draw(p.Left, p.Top, *icon);
        break;
    case ctImageList:
        if (images)
            images->List.Draw(canvas, p.Left, p.Top, g.CellIndex, true);
        break;
    case ctDataImage:
        if (images) {
            const int idx = PaintInt(grid, cell.Col, cell.Row) + g.CellIndex;
            if (idx >= 0 && idx < images->List.Count())
                images->List.Draw(canvas, p.Left, p.Top, idx, true);
        }
        break;
    case ctImages:
        if (images && g.Images()) {
            int x = p.Left, y = p.Top;
            for (int i = 0; i < g.Images()->Count(); ++i) {
                images->List.Draw(canvas, x, y, g.Images()->GetInteger(i), true);
                (g.CellBoolean ? x : y) += g.CellBoolean ? images->List.Width() : images->List.Height();
            }
        }
        break;
    case ctCheckBox:
    case ctRowCheckBox:
        DrawCheck(grid, canvas, p, g.CellBoolean, CellEnabled(grid, cell.Col, cell.Row), g.CellAngle > 0,
                  look.ControlStyle);
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        QString checkTrue = QStringLiteral("Y");
        grid.GetCheckTrue(cell.Col, cell.Row, checkTrue);
        DrawCheck(grid, canvas, p, grid.Cells(cell.Col, cell.Row) == checkTrue, CellEnabled(grid, cell.Col, cell.Row),
                  false, look.ControlStyle);
        break;
    }
    case ctTriStateCheckBox:
        DrawCheck(grid, canvas, p, false, CellEnabled(grid, cell.Col, cell.Row), g.CellAngle > 0, look.ControlStyle,
                  true, g.CellCheckBoxState);
        break;
    case ctRadioButton: {
        TRect rr = R(p.Left + grid.XYOffset.X, p.Top, look.RadioSize, look.RadioSize);
        DrawRadioGroup(grid, canvas, rr, 1, g.CellBoolean ? 0 : -1, false, !CellEnabled(grid, cell.Col, cell.Row),
                       nullptr, false, cell.Col, cell.Row, look.ControlStyle);
        break;
    }
    case ctRadio: {
        const QStringList* items = g.RadioItems;
        DrawRadioGroup(grid, canvas, rect, items ? int(items->size()) : 0, g.CellIndex, g.CellBoolean,
                       !CellEnabled(grid, cell.Col, cell.Row), items, cell.State & gdSelected, cell.Col, cell.Row,
                       look.ControlStyle);
        break;
    }
    case ctRotated: {
        const TReadingOrientation text(grid, canvas);
        DrawRotated(canvas, text.Map(rect), g, grid.Cells(cell.Col, cell.Row), cell.HAlign, cell.VAlign);
    }
        // Secondary sort columns show their glyph only as a numbered index.
        if (grid.IsSortHeaderCell(cell.DCol, cell.Row) &&
            (cell.Col == grid.SortSettings.Column || grid.SortSettings.IndexShow))
            grid.DrawSortIndicator(canvas, cell.DCol, rect.Top + 8, rect.Right - 10);
        break;
    case ctNode: DrawNode(grid, canvas, cell, rect, g); break;
    case ctPicture:
    case ctFilePicture:
        if (const QImage* pic = BitmapOf(g.CellBitmap)) {
            if (g.CellAngle != 0 || g.CellType == ctFilePicture)
                canvas.StretchDraw(Q(p), *pic);
            else
                canvas.Draw(p.Left, p.Top, *pic);
        }
        break;
    case ctProgress: {
        const double value = PaintFloat(grid, cell.Col, cell.Row);
        const TColor fg = g.CellColor, bk = g.CellColorTo;
        QRect pr = Q(rect);
        if ((look.ControlStyle == csWinXP || look.ControlStyle == csTheme) && ThemesActive() && look.ProgressXP) {
            pr.adjust(look.ProgressMarginX, look.ProgressMarginY, -look.ProgressMarginX, -look.ProgressMarginY);
            controls::HTHEME theme = controls::OpenThemeData(cell.Window, QStringLiteral("Progress"));
            controls::DrawThemeBackground(theme, canvas, controls::PP_BAR, 1, pr);
            QRect inner = pr.adjusted(2, 2, -2, -2);
            inner.setWidth(inner.width() * ClampPercent(value) / 100);
            if (!inner.isEmpty())
                controls::DrawThemeBackground(theme, canvas, controls::PP_CHUNK, 1, inner);
            controls::CloseThemeData(theme);
        } else {
            pr.adjust(2, 2, -2, -2);
            const TColor fgText = g.CellBoolean ? TColor(g.CellIndex) : (platform::ColorToRGB(fg) ^ 0xFFFFFF);
            const TColor bkText = g.CellBoolean ? TColor(g.CellAngle) : (platform::ColorToRGB(bk) ^ 0xFFFFFF);
            DrawProgressBar(canvas, pr, fg, fgText, bk, bkText, value, look.ProgressMarginX, look.ProgressMarginY,
                            g.CellErrFrom, g.CellErrLen, g.CellText, look.ProgressBorderColor, false);
        }
        break;
    }
    case ctProgressPie:
        DrawProgressPie(canvas, Q(R(p.Left, p.Top, 20, 20)), g.CellColor, g.CellAngle, false);
        break;
    case ctRangeIndicator: {
        QRect rr = Q(rect).adjusted(look.ProgressMarginX, look.ProgressMarginY, -look.ProgressMarginX,
                                    -look.ProgressMarginY);
        DrawRangeIndicator(canvas, rr, PaintInt(grid, cell.Col, cell.Row), g.CellIndex, g.CellBoolean, g.CellColor,
                           g.CellColorTo);
        break;
    }
    case ctXPProgress: {
        const TGridProgressAppearance& pa = grid.ProgressAppearance;
        TProgressLevels lv;
        lv.Level0Color = pa.Level0Color(), lv.Level0ColorTo = pa.Level0ColorTo();
        lv.Level1Color = pa.Level1Color(), lv.Level1ColorTo = pa.Level1ColorTo();
        lv.Level2Color = pa.Level2Color(), lv.Level2ColorTo = pa.Level2ColorTo();
        lv.Level3Color = pa.Level3Color(), lv.Level3ColorTo = pa.Level3ColorTo();
        lv.Level1Perc = pa.Level1Perc(), lv.Level2Perc = pa.Level2Perc();
        lv.BorderColor = pa.BorderColor();
        lv.ShowBorder = pa.ShowBorder(), lv.Stacked = pa.Stacked(), lv.ShowPercentage = pa.ShowPercentage();
        lv.Font = canvas.Font;
        lv.CompleteFontColor = pa.CompleteFontColor();
        lv.CompletionSmooth = pa.CompletionSmooth(), lv.ShowGradient = pa.ShowGradient();
        lv.Steps = pa.Steps();
        lv.UnCompleteColor = pa.UnCompleteColor() == clNone ? canvas.Brush.Color : pa.UnCompleteColor();
        QRect pr = Q(rect).adjusted(look.ProgressMarginX, look.ProgressMarginY, -look.ProgressMarginX - 1,
                                    -look.ProgressMarginY - 1);
        const int span = g.CellErrLen - g.CellErrFrom;
        const double value = PaintInt(grid, cell.Col, cell.Row);
        const int percent = span == 0 ? 0 : ClampPercent(std::abs(value - g.CellErrFrom) / span * 100);
        DrawLevelProgress(canvas, pr, percent, lv);
        break;
    }
    case ctComment: {
        if (look.CommentColor == clNone)
            break;
        // The comment keeps the colour it was added with.
        const TColor color = TColor(g.CellIndex);
        const int x = rect.Right + grid.XYOffset.X, y = rect.Top - grid.XYOffset.Y;
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = color;
        canvas.Brush.Style = PBrush::bsSolid;
        canvas.Brush.Color = color;
        canvas.Polygon(QPolygon({{x - 8, y + 1}, {x - 3, y + 1}, {x - 3, y + 6}}));
        canvas.Brush.Color = grid.Color;
        break;
    }
    case ctButton:
    case ctBitButton:
    case ctExpand: DrawButtonGraphic(grid, canvas, cell, rect, p, g); break;
    case ctInterface:
        if (auto* object = dynamic_cast<TCellGraphicInterface*>(g.CellBitmap))
            object->Draw(canvas, {p.Left - 1, p.Top - 1, p.Right, p.Bottom}, &grid, cell.State & gdSelected, cell.Row,
                         cell.Col);
        break;
    case ctShape:
        DrawCellShape(canvas, p.Left, p.Top, p.Width() - 1, p.Height() - 1, TCellShape(g.CellAngle), TColor(g.CellIndex),
                      g.CellColor);
        break;
    case ctRating: {
        const double value = std::nearbyint(PaintFloat(grid, cell.Col, cell.Row) * 2) / 2;
        const TColor fill = TColor(g.CellIndex), empty = g.CellColor;
        for (int i = 1; i <= g.CellAngle && i <= 100; ++i) {
            const int x = p.Left + (i - 1) * 18;
            DrawCellShape(canvas, x, p.Top, 16, 16, csStar, i > value ? empty : fill, i > value ? empty : fill);
            if (i > value && value > i - 1)
                DrawCellShape(canvas, x, p.Top, 16, 16, csHalfStar, fill, fill);
        }
        break;
    }
    default: break;
    }
}

}  // namespace grid
