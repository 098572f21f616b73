#include "grid/core/GridLook.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "grid/core/ExtStringGrid.h"
#include "platform/TCanvas.h"

namespace grid {

// Appearance of in-cell controls.

TControlLook::TControlLook(TExtStringGrid* grid) : DropDownHeader(grid), DropDownFooter(grid), FGrid(grid)
{
    Init();
}

TControlLook::~TControlLook() = default;

void TControlLook::Repaint()
{
    if (FGrid)
        FGrid->Invalidate();
}

void TControlLook::SetCheckSize(int value) { CheckSize = value; Repaint(); }
void TControlLook::SetRadioSize(int value) { RadioSize = value; Repaint(); }
void TControlLook::SetControlStyle(TControlStyle value) { ControlStyle = value; Repaint(); }
void TControlLook::SetColor(TColor value) { Color = value; Repaint(); }
void TControlLook::SetFlatButton(bool value) { FlatButton = value; Repaint(); }
void TControlLook::SetCommentColor(TColor value) { CommentColor = value; Repaint(); }

void TControlLook::SetGlyphs(const TGlyph& unChecked, const TGlyph& checked, const TGlyph& radioOff,
                             const TGlyph& radioOn)
{
    UnCheckedGlyph = unChecked;
    CheckedGlyph = checked;
    RadioOffGlyph = radioOff;
    RadioOnGlyph = radioOn;
    Repaint();
}

namespace {

// The grid's colour a look colour feeds; a plain colour passes only when set.
void Pass(TExtStringGrid* grid, TColor TExtStringGrid::*target, TColor value, bool evenNone)
{
    if (grid && (evenNone || value != clNone))
        grid->*target = value;
}

}  // namespace

#define GRID_LOOK_GRADIENT(name, target, evenNone)                      \
    void TControlLook::Set##name(TColor value)                          \
    {                                                                   \
        F##name = value;                                                \
        Pass(FGrid, &TExtStringGrid::target, value, evenNone);          \
    }
GRID_LOOK_GRADIENT(FixedGradientFrom, VURGradientFrom, false)
GRID_LOOK_GRADIENT(FixedGradientTo, VURGradientTo, false)
GRID_LOOK_GRADIENT(FixedGradientMirrorFrom, VURGradientMirrorFrom, true)
GRID_LOOK_GRADIENT(FixedGradientMirrorTo, VURGradientMirrorTo, true)
GRID_LOOK_GRADIENT(FixedGradientHoverFrom, VURGradientHoverFrom, false)
GRID_LOOK_GRADIENT(FixedGradientHoverTo, VURGradientHoverTo, false)
GRID_LOOK_GRADIENT(FixedGradientHoverMirrorFrom, VURGradientHoverMirrorFrom, true)
GRID_LOOK_GRADIENT(FixedGradientHoverMirrorTo, VURGradientHoverMirrorTo, true)
GRID_LOOK_GRADIENT(FixedGradientHoverBorder, VURGradientHoverBorder, false)
GRID_LOOK_GRADIENT(FixedGradientDownFrom, VURGradientDownFrom, false)
GRID_LOOK_GRADIENT(FixedGradientDownTo, VURGradientDownTo, false)
GRID_LOOK_GRADIENT(FixedGradientDownMirrorFrom, VURGradientDownMirrorFrom, true)
GRID_LOOK_GRADIENT(FixedGradientDownMirrorTo, VURGradientDownMirrorTo, true)
GRID_LOOK_GRADIENT(FixedGradientDownBorder, VURGradientDownBorder, false)
#undef GRID_LOOK_GRADIENT

void TControlLook::Init()
{
    Color = 0;
    CommentColor = 0x0000FF;
    ProgressBorderColor = clGray;
    FFixedGradientFrom = FFixedGradientTo = clNone;
    FFixedGradientMirrorFrom = FFixedGradientMirrorTo = clNone;
    FFixedGradientHoverFrom = clGray;
    FFixedGradientHoverTo = clWhite;
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    FFixedGradientHoverBorder = clSilver;
    FFixedGradientDownFrom = clGray;
    FFixedGradientDownTo = clSilver;
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
    FFixedGradientDownBorder = clGray;
}

void TControlLook::Assign(const TControlLook& source)
{
    if (&source == this)
        return;
    CheckSize = source.CheckSize;
    RadioSize = source.RadioSize;
    ControlStyle = source.ControlStyle;
    UnCheckedGlyph = source.UnCheckedGlyph;
    CheckedGlyph = source.CheckedGlyph;
    RadioOffGlyph = source.RadioOffGlyph;
    RadioOnGlyph = source.RadioOnGlyph;
    ProgressMarginX = source.ProgressMarginX;
    ProgressMarginY = source.ProgressMarginY;
    CommentColor = source.CommentColor;
    Color = source.Color;
    ProgressBorderColor = source.ProgressBorderColor;
    CheckAlwaysActive = source.CheckAlwaysActive;
    RadioAlwaysActive = source.RadioAlwaysActive;
    FFixedGradientFrom = source.FFixedGradientFrom;
    FFixedGradientTo = source.FFixedGradientTo;
    FFixedGradientMirrorFrom = source.FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = source.FFixedGradientMirrorTo;
    FFixedGradientHoverFrom = source.FFixedGradientHoverFrom;
    FFixedGradientHoverTo = source.FFixedGradientHoverTo;
    FFixedGradientHoverMirrorFrom = source.FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverMirrorTo = source.FFixedGradientHoverMirrorTo;
    FFixedGradientHoverBorder = source.FFixedGradientHoverBorder;
    FFixedGradientDownFrom = source.FFixedGradientDownFrom;
    FFixedGradientDownTo = source.FFixedGradientDownTo;
    FFixedGradientDownMirrorFrom = source.FFixedGradientDownMirrorFrom;
    FFixedGradientDownMirrorTo = source.FFixedGradientDownMirrorTo;
    FFixedGradientDownBorder = source.FFixedGradientDownBorder;
    DropDownAlwaysVisible = source.DropDownAlwaysVisible;
    SpinButtonsAlwaysVisible = source.SpinButtonsAlwaysVisible;
    DropDownCount = source.DropDownCount;
    DropDownFooter.Assign(source.DropDownFooter);
    DropDownHeader.Assign(source.DropDownHeader);
    HintMaxWidth = source.HintMaxWidth;
}

// Other appearance objects.

template <typename T>
void TBackGround::Set(T& field, T value)
{
    field = value;
    if (FGrid)
        FGrid->Invalidate();
}

void TBackGround::SetTop(int value) { Set(FTop, value); }
void TBackGround::SetLeft(int value) { Set(FLeft, value); }
void TBackGround::SetDisplay(TBackGroundDisplay value) { Set(FDisplay, value); }
void TBackGround::SetCells(TBackGroundCells value) { Set(FCells, value); }
void TBackGround::SetColor(TColor value) { Set(FColor, value); }
void TBackGround::SetColorTo(TColor value) { Set(FColorTo, value); }
void TBackGround::SetBitmap(const TGlyph& value) { Set(FBitmap, value); }

void TSortSettings::Set(TColor& field, TColor value)
{
    if (field == value)
        return;
    field = value;
    if (FGrid && FGrid->FixedRows() > 0)
        FGrid->Invalidate();
}

void TSortSettings::SetShow(bool value)
{
    if (Show == value)
        return;
    Show = value;
    if (FGrid)
        FGrid->Invalidate();
}

void TSortSettings::SetRow(int value)
{
    if (FGrid && value >= FGrid->FixedRows())
        throw platform::Exception(QStringLiteral("Sort row should be smaller than number of fixed rows"));
    Row = value;
}

void TSortSettings::Remove()
{
    Column = -1;
    if (!FGrid)
        return;
    FGrid->SortIndexes.Clear();
    FGrid->Invalidate();
}

QString TSortSettings::SaveToString() const
{
    if (IndexShow)
        return QStringLiteral("i;") + (FGrid ? FGrid->SortIndexes.SaveToString() : QString());
    return (Direction == sdAscending ? QStringLiteral("u") : QStringLiteral("d")) + QString::number(Column);
}

void TSortSettings::LoadFromString(const QString& value)
{
    if (value.isEmpty())
        return;
    Show = true;
    if (value.size() < 2)
        throw platform::Exception(QStringLiteral("Invalid sort settings specifier"));
    if (value.contains(QStringLiteral("i;"))) {
        IndexShow = true;
        const QString rest = value.mid(2);
        if (!rest.isEmpty() && FGrid) {
            FGrid->SortIndexes.LoadFromString(rest);
            FGrid->QSortIndexed();
        }
        return;
    }
    IndexShow = false;
    Direction = value.contains('u') ? sdAscending : sdDescending;
    bool ok = false;
    const int column = value.mid(1).toInt(&ok);
    if (!ok)
        return;
    Column = column;
    if (FGrid)
        FGrid->QSort();
}

void TSortSettings::Assign(const TSortSettings& source)
{
    const bool ignoreCase = IgnoreCase, virtualCells = SortOnVirtualCells;
    TExtStringGrid* grid = FGrid;
    *this = source;
    FGrid = grid;
    IgnoreCase = ignoreCase;
    SortOnVirtualCells = virtualCells;
}

// Look names.

namespace {

struct TLookName {
    const char* Ident;
    const char* Caption;
};
constexpr TLookName LookNames[] = {
    {"glStandard", "Standard"}, {"glSoft", "Soft"},       {"glClassic", "Classic"},
    {"glVUR", "VUR"},           {"glXP", "Windows XP"},   {"glListView", "ListView"},
    {"glVista", "Windows Vista"}, {"glWin7", "Windows 7"}, {"glOffice2007", "Office2007"},
};

}  // namespace

void GridLookToString(TGridLook look, QString& s)
{
    if (size_t(look) < std::size(LookNames))
        s = QString::fromLatin1(LookNames[look].Ident);
}

void GridLookCaption(TGridLook look, QString& s)
{
    if (size_t(look) < std::size(LookNames))
        s = QString::fromLatin1(LookNames[look].Caption);
}

// Look presets.

void TExtStringGrid::SetLook(TGridLook value)
{
    if (value == FLook)
        return;
    FLook = value;
    if (value != glCustom) {
        ControlLook.SetFixedGradientMirrorFrom(clNone);
        ControlLook.SetFixedGradientMirrorTo(clNone);
        ControlLook.SetFixedGradientFrom(clNone);
        ControlLook.SetFixedGradientTo(clNone);
        VURGradientFrom = VURGradientTo = VURGradientMirrorFrom = VURGradientMirrorTo = clNone;
        SortSettings.SetHeaderColor(clNone);
    }
    switch (value) {
    case glVista:
        SetStyle(gsWindowsVista);
        SelectionStyle = ssVista;
        break;
    case glWin7:
        SetStyle(gsWindows7);
        SelectionStyle = ssWin7;
        break;
    case glOffice2007:
        SetStyle(gsOffice2007Luna);
        SelectionStyle = ssOffice2007;
        break;
    case glCustom:
        break;
    default:
        SetLookColors(value);
        break;
    }
    SetScrollType(ssNormal);
    SingleBorder = true;
    BorderColor = 0xB99D7F;
    Invalidate();
    if (!Loading)
        UpdateFooter();
}

void TExtStringGrid::SetLookColors(TGridLook value)
{
    StyleDropDownEditors(controls::tsWindowsXP);
    SelectionStyle = ssDefault;
    if (Loading)
        return;
    const bool plain = value == glStandard || value == glSoft || value == glClassic;
    if (plain) {
        FixedColor = clBtnFace;
        ControlLook.SetFixedGradientFrom(clBtnFace);
        ControlLook.SetFixedGradientTo(clNone);
    } else {
        ControlLook.SetFixedGradientFrom(clWhite);
        ControlLook.SetFixedGradientTo(clBtnFace);
    }
    GridFixedLineColor = clGray;
    ControlLook.SetFixedGradientMirrorFrom(clNone);
    ControlLook.SetFixedGradientMirrorTo(clNone);
    VURGradientMirrorFrom = VURGradientMirrorTo = clNone;
    GridLineColor = clSilver;
    if (value == glVUR || value == glXP) {
        ActiveCellColor = 0xEACAB6;
        ActiveCellColorTo = clNone;
        SelectionColor = 0xEACAB6;
        SelectionColorTo = clNone;
        SelectionTextColor = 0;
        SearchFooter.Color = VURGradientFrom;
        SearchFooter.ColorTo = VURGradientTo;
        ControlLook.SetFixedGradientFrom(clWhite);
        ControlLook.SetFixedGradientTo(value == glXP ? clBtnFace : clSilver);
        ControlLook.SetFixedGradientHoverFrom(0xCFD0D1);
        ControlLook.SetFixedGradientHoverTo(0xBEC6C8);
        ControlLook.SetFixedGradientHoverMirrorFrom(0xBEC6C8);
        ControlLook.SetFixedGradientHoverMirrorTo(0xABBCBF);
        ControlLook.SetFixedGradientDownFrom(0x868788);
        ControlLook.SetFixedGradientDownTo(0x737C7E);
        ControlLook.SetFixedGradientDownMirrorFrom(0x737C7E);
        ControlLook.SetFixedGradientDownMirrorTo(0x627376);
    } else {
        ActiveCellColor = clGray;
        ActiveCellColorTo = clNone;
        SelectionColor = clHighlight;
        SelectionTextColor = clHighlightText;
        SearchFooter.Color = SearchFooter.ColorTo = clBtnFace;
    }
}

void TExtStringGrid::SetURLShow(bool value)
{
    if (URLShow == value)
        return;
    URLShow = value;
    Invalidate();
}

void TExtStringGrid::SetURLShowInText(bool value)
{
    if (URLShowInText == value)
        return;
    URLShowInText = value;
    Invalidate();
}

void TExtStringGrid::SetURLColor(TColor value)
{
    if (URLColor == value)
        return;
    URLColor = value;
    if (URLShow)
        Invalidate();
}

void TExtStringGrid::SetURLFull(bool value)
{
    URLFull = value;
    if (URLShow)
        Invalidate();
}

// Metro scroll bars.

void TExtStringGrid::CreateScrollControls()
{
    for (TScrollDirection d : {sdVertical, sdHorizontal}) {
        if (FScrollControls[d])
            continue;
        FScrollControls[d] = std::make_unique<TScrollControl>(this, d);
        FScrollControls[d]->show();
    }
    PlaceScrollControls();
}

void TExtStringGrid::FreeScrollControls()
{
    for (auto& control : FScrollControls)
        control.reset();
}

void TExtStringGrid::PlaceScrollControls()
{
    // Docked six pixels thick: the bottom bar along the whole foot, the right one above it.
    const int w = ClientWidth(), h = ClientHeight();
    TScrollControl* bottom = FScrollControls[sdHorizontal].get();
    if (bottom)
        bottom->setGeometry(0, h - 6, w, 6);
    if (TScrollControl* right = FScrollControls[sdVertical].get())
        right->setGeometry(w - 6, 0, 6, bottom ? h - 6 : h);
}

TScrollControl::TScrollControl(TExtStringGrid* grid, TScrollDirection direction)
    : QWidget(grid->viewport()), Grid(grid), Direction(direction)
{
    // Only the thumb is drawn: the cells show through around it.
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::ArrowCursor);
    const int w = grid->ClientWidth(), h = grid->ClientHeight();
    if (direction == sdVertical)
        setGeometry(w - 6, 0, 6, h);
    else
        setGeometry(0, h - 6, w, 6);
    parentWidget()->installEventFilter(this);
}

bool TScrollControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && InGrid())
        Grid->PlaceScrollControls();
    return QWidget::eventFilter(watched, event);
}

void TScrollControl::SetColor(TColor value)
{
    if (FColor == value)
        return;
    FColor = value;
    update();
}

bool TScrollControl::InGrid() const
{
    const QWidget* p = parentWidget();
    return p && (p == Grid->viewport() || p == Grid);
}

void TScrollControl::paintEvent(QPaintEvent*)
{
    if (!InGrid())
        return;
    QPainter painter(this);
    platform::TCanvas canvas;
    canvas.Attach(&painter);
    Paint(canvas);
    canvas.Detach();
}

void TScrollControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && InGrid())
        MouseDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void TScrollControl::mouseMoveEvent(QMouseEvent* event)
{
    if (InGrid())
        MouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void TScrollControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        MouseUp();
}

// What the bar scrolls: rows when vertical, columns when horizontal.
struct TScrollControl::TAxis {
    bool Vertical;
    int Fixed, Count, Visible, First;
    TAxis(const TExtStringGrid& g, TScrollDirection d)
        : Vertical(d == sdVertical), Fixed(Vertical ? g.FixedRows() : g.FixedCols()),
          Count(Vertical ? g.RowCount() : g.ColCount()),
          Visible(Vertical ? g.VisibleRowCount() : g.VisibleColCount()), First(Vertical ? g.TopRow() : g.LeftCol())
    {
    }
    static void Scroll(TExtStringGrid& g, bool vertical, int target)
    {
        if (vertical)
            g.SetTopRow(target);
        else
            g.SetLeftCol(target);
    }
};

int TScrollControl::Length() const { return Direction == sdVertical ? height() : width(); }

TScrollControl::TThumb TScrollControl::Thumb() const
{
    const TExtStringGrid& g = *Grid;
    const TAxis axis(g, Direction);
    const bool vertical = axis.Vertical;
    const int fixed = axis.Fixed, count = axis.Count, visible = axis.Visible, first = axis.First;
    auto size = [&](int i) { return vertical ? g.RowHeights(i) : g.ColWidths(i); };

    TThumb t;
    for (int i = 0; i < fixed; ++i)
        t.Start += size(i);
    int footer = 0;
    for (int i = std::max(fixed, count - g.FixedFooters); i < count; ++i)
        footer += size(i);
    const int length = Length();
    t.Length = std::max(0, length - t.Start - footer);
    // A grid without rows (columns) to scroll has no thumb to divide the track by.
    const int scrolled = count - fixed;
    t.Size = std::max(20, count > 0 ? int(std::lround(double(t.Length) * visible / count)) : 0);
    t.Position = t.Start + (scrolled > 0 ? int(std::lround(double(t.Length) * (first - fixed) / scrolled)) : 0);
    if (t.Position + t.Size > length)
        t.Position = length - t.Size;
    return t;
}

bool TScrollControl::ShowsThumb() const
{
    const TExtStringGrid& g = *Grid;
    return Direction == sdVertical ? g.VisibleRowCount() < g.RowCount() - g.FixedRows()
                                   : g.VisibleColCount() < g.ColCount() - g.FixedCols();
}

void TScrollControl::Paint(platform::TCanvas& canvas) const
{
    if (!ShowsThumb())
        return;
    const TThumb t = Thumb();
    canvas.Pen.Color = FColor;
    canvas.Brush.Color = FColor;
    if (Direction == sdVertical)
        canvas.Rectangle(0, t.Position, ScrollWidth, t.Position + t.Size);
    else
        canvas.Rectangle(t.Position, 0, t.Position + t.Size, ScrollWidth);
}

void TScrollControl::MouseDown(int x, int y)
{
    TExtStringGrid& g = *Grid;
    const TAxis a(g, Direction);
    const int at = a.Vertical ? y : x;
    const TThumb t = Thumb();
    int target;
    if (at < t.Position) {
        target = std::max(a.Fixed, a.First - a.Visible);
    } else if (at > t.Position + t.Size) {
        target = std::min(a.First + a.Visible, a.Count - a.Visible);
    } else {
        FDownOnScroller = true;
        FDownPos = at;
        FDownRow = a.First;
        return;
    }
    if (target >= a.Fixed && target <= a.Count - 1)
        TAxis::Scroll(g, a.Vertical, target);
    update();
}

void TScrollControl::MouseMove(int x, int y)
{
    if (!FDownOnScroller)
        return;
    TExtStringGrid& g = *Grid;
    const TAxis a(g, Direction);
    const int at = a.Vertical ? y : x;
    const int track = Length() - (a.Count > 0 ? (a.Vertical ? g.RowHeights(0) : g.ColWidths(0)) : 0);
    // A track with no room left moves nothing rather than dividing by zero.
    if (track <= 0)
        return;
    const int moved = int(std::lround(double(at - FDownPos) / track * a.Count));
    const int target = std::max(a.Fixed, std::min(moved + FDownRow, a.Count - a.Visible));
    if (target >= a.Fixed && target <= a.Count - 1)
        TAxis::Scroll(g, a.Vertical, target);
    update();
}

void TScrollControl::MouseUp() { FDownOnScroller = false; }

}  // namespace grid
