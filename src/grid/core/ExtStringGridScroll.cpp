#include <QCursor>
#include <QDragMoveEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QShortcutEvent>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridHelperControls.h"

namespace grid {

using platform::TScrollBarKind;

namespace {

// Paints a window scroll bar flat: plain buttons and thumb on a plain track. In the flat mode the
// part under the mouse shows inverted, in the Encarta mode it stands out in 3-D.
class TFlatScrollStyle : public QProxyStyle {
public:
    explicit TFlatScrollStyle(QObject* owner) { setParent(owner); }

    bool Encarta = false;
    QColor Track;  // invalid: the palette's
    int Extent = 17;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_ScrollBarExtent)
            return Extent;
        if (metric == PM_ScrollBarSliderMin)
            return MinThumb;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_ScrollBar_Transient)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sc,
                         const QWidget* widget) const override
    {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar)
            return QProxyStyle::subControlRect(control, option, sc, widget);
        const bool horizontal = bar->orientation == Qt::Horizontal;
        const QRect r = bar->rect;
        const int length = horizontal ? r.width() : r.height();
        const int across = horizontal ? r.height() : r.width();
        const int button = std::max(0, std::min(across, length / 2));
        const int groove = std::max(0, length - 2 * button);
        const int64_t range = int64_t(bar->maximum) - bar->minimum;
        int thumb = groove;
        if (range > 0)
            thumb = int(std::clamp<int64_t>(int64_t(groove) * bar->pageStep / (range + bar->pageStep),
                                            std::min(MinThumb, groove), groove));
        const int thumbAt = button + sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                                             groove - thumb, bar->upsideDown);
        int from = 0, to = 0;
        switch (sc) {
        case SC_ScrollBarSubLine: to = button; break;
        case SC_ScrollBarAddLine: from = length - button, to = length; break;
        case SC_ScrollBarGroove: from = button, to = length - button; break;
        case SC_ScrollBarSlider: from = thumbAt, to = thumbAt + thumb; break;
        case SC_ScrollBarSubPage: from = button, to = thumbAt; break;
        case SC_ScrollBarAddPage: from = thumbAt + thumb, to = length - button; break;
        default: return {};
        }
        const QRect part = horizontal ? QRect(r.left() + from, r.top(), to - from, across)
                                      : QRect(r.left(), r.top() + from, across, to - from);
        return visualRect(bar->direction, r, part);
    }

    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option, const QPoint& pos,
                                     const QWidget* widget) const override
    {
        if (control != CC_ScrollBar)
            return QProxyStyle::hitTestComplexControl(control, option, pos, widget);
        for (SubControl sc : {SC_ScrollBarSlider, SC_ScrollBarSubLine, SC_ScrollBarAddLine, SC_ScrollBarSubPage,
                              SC_ScrollBarAddPage})
            if (subControlRect(control, option, sc, widget).contains(pos))
                return sc;
        return SC_None;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QPalette& pal = bar->palette;
        painter->save();
        painter->fillRect(bar->rect, Track.isValid() ? Track : pal.color(QPalette::Midlight));
        const bool enabled = (bar->state & State_Enabled) && bar->maximum > bar->minimum;
        const bool horizontal = bar->orientation == Qt::Horizontal;
        const bool rightToLeft = bar->direction == Qt::RightToLeft;
        auto part = [&](SubControl sc, int arrow) {
            const QRect r = subControlRect(CC_ScrollBar, bar, sc, widget);
            if (r.isEmpty())
                return;
            const bool active = enabled && (bar->activeSubControls & sc);
            // Not pressed, the active part is the one under the mouse.
            const bool pressed = active && (bar->state & State_Sunken);
            const bool hot = active && !pressed;
            QColor face = pal.color(QPalette::Button), ink = pal.color(QPalette::ButtonText);
            if (!enabled)
                ink = pal.color(QPalette::Mid);
            if (!Encarta && (hot || pressed))
                std::swap(face, ink);
            painter->fillRect(r, face);
            painter->setPen(pal.color(QPalette::Dark));
            if (Encarta && (hot || pressed)) {
                // Raised while hot, sunken while pressed.
                const QColor light = pal.color(QPalette::Light), dark = pal.color(QPalette::Dark);
                painter->setPen(pressed ? dark : light);
                painter->drawLine(r.topLeft(), r.topRight());
                painter->drawLine(r.topLeft(), r.bottomLeft());
                painter->setPen(pressed ? light : dark);
                painter->drawLine(r.bottomLeft(), r.bottomRight());
                painter->drawLine(r.topRight(), r.bottomRight());
            } else if (!Encarta) {
                painter->setBrush(Qt::NoBrush);
                painter->drawRect(r.adjusted(0, 0, -1, -1));
            }
            if (arrow < 0)
                return;
            // A small filled triangle pointing up (0), right (1), down (2) or left (3).
            const int size = std::max(2, std::min(r.width(), r.height()) / 4);
            const QPoint c = r.center();
            QPolygon tri;
            switch (arrow) {
            case 0: tri << QPoint(c.x() - size, c.y() + size / 2) << QPoint(c.x() + size, c.y() + size / 2)
                        << QPoint(c.x(), c.y() - size / 2 - size / 2); break;
            case 2: tri << QPoint(c.x() - size, c.y() - size / 2) << QPoint(c.x() + size, c.y() - size / 2)
                        << QPoint(c.x(), c.y() + size / 2 + size / 2); break;
            case 1: tri << QPoint(c.x() - size / 2, c.y() - size) << QPoint(c.x() - size / 2, c.y() + size)
                        << QPoint(c.x() + size / 2 + size / 2, c.y()); break;
            default: tri << QPoint(c.x() + size / 2, c.y() - size) << QPoint(c.x() + size / 2, c.y() + size)
                         << QPoint(c.x() - size / 2 - size / 2, c.y()); break;
            }
            painter->setPen(Qt::NoPen);
            painter->setBrush(ink);
            painter->drawPolygon(tri);
        };
        const int back = horizontal ? (rightToLeft ? 1 : 3) : 0;
        const int forward = horizontal ? (rightToLeft ? 3 : 1) : 2;
        part(SC_ScrollBarSubLine, back);
        part(SC_ScrollBarAddLine, forward);
        if (enabled)
            part(SC_ScrollBarSlider, -1);
        painter->restore();
    }

private:
    static constexpr int MinThumb = 8;
};

QScrollBar* BarOf(TExtStringGrid& g, TScrollBarKind bar)
{
    return bar == platform::sbHorizontal ? g.horizontalScrollBar() : g.verticalScrollBar();
}

// The hint that names the row or column under a dragged thumb, in the grid's hint colour.
class TScrollHintWindow : public platform::THintWindow {
public:
    TScrollHintWindow(QWidget* owner, const TColor* color) : THintWindow(owner), FColor(color) {}

protected:
    void Paint(platform::TCanvas& canvas) override
    {
        const QRect r = rect();
        canvas.Brush = platform::TBrush{*FColor, platform::TBrushStyle::bsSolid};
        canvas.Pen = platform::TPen{clBlack};
        canvas.Rectangle(r);
        canvas.Font = HintFont();
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        QRect text = r.adjusted(4, 2, -2, -2);
        canvas.DrawText(Caption(), text, platform::DT_WORDBREAK | platform::DT_NOPREFIX);
    }

private:
    const TColor* FColor;
};

}  // namespace

// Scroll bar looks

void TExtStringGrid::SetScrollType(TScrollType value)
{
    if (value == ssFlat || value == ssEncarta)
        InitFlatScrollBars();
    else
        DoneFlatScrollBars();
    const bool changed = value != FScrollType;
    FScrollType = value;
    if (changed && !Destroying) {
        if (value == ssMetro) {
            CreateScrollControls();
            SetGridScrollBars(platform::ssNone);
        } else if (ScrollControl(sdVertical) || ScrollControl(sdHorizontal)) {
            FreeScrollControls();
            SetGridScrollBars(platform::ssBoth);
        }
    }
    ApplyScrollStyle();
}

void TExtStringGrid::SetScrollColor(TColor value)
{
    ScrollColor = value;
    ApplyScrollStyle();
}

void TExtStringGrid::SetScrollWidth(int value)
{
    FScrollWidth = std::max(0, value);
    ApplyScrollStyle();
}

void TExtStringGrid::InitFlatScrollBars()
{
    FIsFlat = true;
    if (!FFlatStyle)
        FFlatStyle = new TFlatScrollStyle(this);
}

void TExtStringGrid::DoneFlatScrollBars()
{
    if (!FIsFlat)
        return;
    FIsFlat = false;
    for (TScrollBarKind bar : {platform::sbHorizontal, platform::sbVertical})
        BarOf(*this, bar)->setStyle(nullptr);
    SetScrollBars(ScrollBars());  // the bars' extent may have changed
}

void TExtStringGrid::ApplyScrollStyle()
{
    if (!FIsFlat || FScrollType == ssMetro)
        return;
    auto* style = static_cast<TFlatScrollStyle*>(FFlatStyle);
    style->Encarta = FScrollType == ssEncarta;
    style->Track = ScrollColor == clNone ? QColor() : platform::ToQColor(ScrollColor);
    style->Extent = FScrollWidth;
    for (TScrollBarKind bar : {platform::sbHorizontal, platform::sbVertical}) {
        QScrollBar* sb = BarOf(*this, bar);
        sb->setAttribute(Qt::WA_Hover);
        // Setting the same style again would not repaint nor resize the bar.
        sb->setStyle(nullptr);
        sb->setStyle(style);
        sb->updateGeometry();
        sb->update();
    }
    SetScrollBars(ScrollBars());  // the bars' extent may have changed
}

// Scroll bars kept shown

void TExtStringGrid::SetScrollBarAlways(TScrollBarAlways value)
{
    FScrollBarAlways = value;
    UpdateScrollBarAlways(true);
}

void TExtStringGrid::UpdateScrollBarAlways(bool)
{
    // The base shows a kept bar disabled while everything fits and enabled once something
    // scrolls; a bar it no longer keeps it hides while everything fits.
    const bool vertical = FScrollBarAlways == saVert || FScrollBarAlways == saBoth;
    const bool horizontal = FScrollBarAlways == saHorz || FScrollBarAlways == saBoth;
    SetScrollAlwaysVisible(platform::sbVertical, vertical);
    SetScrollAlwaysVisible(platform::sbHorizontal, horizontal);
}

// Proportional scroll bars

void TExtStringGrid::SetScrollProportional(bool value)
{
    FScrollProportional = value;
    if (value) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    } else {
        FProportional = {};
        UpdateScrollRange();
    }
}

namespace {
// Fixed part F, scrolling part C and the scrolled-away part D of one direction, each line counted
// with its grid line.
struct TExtents {
    int64_t F, C, D;
};

TExtents ExtentsOf(int64_t line, int fixed, int count, int first, int64_t fixedSize, int64_t totalSize,
                   int64_t firstOffset)
{
    TExtents e;
    e.F = line + fixed * line + fixedSize;
    e.C = line + (count - fixed) * line + (totalSize - fixedSize);
    e.D = line + (first - fixed) * line + (firstOffset - fixedSize);
    return e;
}
}  // namespace

void TExtStringGrid::UpdateVScrollBar()
{
    FProportional[platform::sbVertical] = false;
    if (Loading || !FScrollProportional || FInPropUpdate)
        return;
    if (VisibleRowCount() + FixedRows() >= RowCount())
        return;
    const TExtents x = ExtentsOf(GridLineWidth, FixedRows(), RowCount(), TopRow(), RowOffset(FixedRows()),
                                 RowOffset(RowCount()), RowOffset(TopRow()));
    if (x.C <= 0)
        return;
    const int h = ClientHeight();
    const float e = float(h - x.F) / float(x.C);
    if (!(e < 0.9999f))
        return;
    const int max = int(std::trunc((e + 127) / (1 - e)));
    const int pos = h < x.C ? int(std::trunc(double(x.D) / double(x.C - h) * 128)) : 127;
    FInPropUpdate = true;
    SetScrollInfo(platform::sbVertical, 0, max, max - 126, pos);
    FInPropUpdate = false;
    FProportional[platform::sbVertical] = true;
}

void TExtStringGrid::UpdateHScrollBar()
{
    FProportional[platform::sbHorizontal] = false;
    if (Loading || !FScrollProportional || FInPropUpdate)
        return;
    if (VisibleColCount() + FixedCols() >= ColCount())
        return;
    const TExtents x = ExtentsOf(GridLineWidth, FixedCols(), ColCount(), LeftCol(), ColOffset(FixedCols()),
                                 ColOffset(ColCount()), ColOffset(LeftCol()));
    const int w = ClientWidth();
    if (x.C <= 0 || x.F + x.C - w < 5)
        return;
    const float e = float(w - x.F) / float(x.C);
    if (!(e < 0.9999f))
        return;
    const int max = int(std::trunc((e + 127) / (1 - e)));
    const int pos = w < x.C ? int(std::trunc(double(x.D) / double(x.C - w) * 128))
                            : GetScrollInfo(platform::sbHorizontal).Pos;
    FInPropUpdate = true;
    SetScrollInfo(platform::sbHorizontal, 0, max, max - 126, pos);
    FInPropUpdate = false;
    FProportional[platform::sbHorizontal] = true;
}

void TExtStringGrid::ScrollRangeUpdated()
{
    // The platform counts rows and columns; proportional bars count their 128 steps instead.
    if (FScrollProportional && !FInPropUpdate) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    }
}

int TExtStringGrid::ProportionalIndex(TScrollBarKind bar, int pos) const
{
    const bool vertical = bar == platform::sbVertical;
    const int first = vertical ? FixedRows() : FixedCols();
    const int span = std::max(0, (vertical ? MaxTopRow() : MaxLeftCol()) - first);
    const int64_t step = (int64_t(std::clamp(pos, 0, 127)) * span + 63) / 127;
    return first + int(step);
}

// Scroll messages

void TExtStringGrid::Scroll(TScrollBarKind bar, int code, int pos)
{
    const bool vertical = bar == platform::sbVertical;
    const bool thumb = code == platform::SB_THUMBTRACK || code == platform::SB_THUMBPOSITION;
    if (thumb && FProportional[bar])
        pos = ProportionalIndex(bar, pos);
    const int first = vertical ? FixedRows() : FixedCols();
    const int n = std::clamp(pos, first, std::max(first, vertical ? MaxTopRow() : MaxLeftCol()));
    const bool hints = ScrollHints == shBoth || ScrollHints == (vertical ? shVertical : shHorizontal);
    if (hints && code == platform::SB_ENDSCROLL && FScrollHintWnd)
        FScrollHintWnd->ReleaseHint();
    else if (hints && code == platform::SB_THUMBTRACK)
        ShowScrollHint(vertical, n);
    if (code == platform::SB_THUMBTRACK && ScrollSynch) {
        if (vertical)
            SetTopRow(n);
        else
            SetLeftCol(n);
    }
    if (!vertical && FixedCols() == 0 && n >= Col())
        HideInplaceEdit();
    // Once the last row shows above the search panel, scrolling further down stops.
    const bool down = code == platform::SB_ENDSCROLL || code == platform::SB_LINEDOWN;
    if (vertical && down && SearchFooter.Visible && LastRowAboveSearchFooter())
        return;
    TBaseGrid::Scroll(bar, code, pos);
    if (vertical && down && SearchFooter.Visible && TopRow() >= MaxTopRow())
        ScrollLastRowAboveSearchFooter();
    // A line up from below the search panel's edge lands where the last row hides behind the
    // panel; one row more shows it again.
    if (vertical && code == platform::SB_LINEUP && SearchFooter.Visible && RowCount() - VisibleRowCount() == TopRow())
        SetTopRow(TopRow() - 1);
    // The platform set the position in rows; a dragged thumb keeps its own until released.
    if (FProportional[bar] && code != platform::SB_THUMBTRACK)
        ScrollRangeUpdated();
    UpdateFooter();
}

void TExtStringGrid::ShowScrollHint(bool vertical, int n)
{
    QString hint = (vertical ? QStringLiteral("Row : ") : QStringLiteral("Col : ")) + QString::number(n);
    if (OnScrollHint)
        OnScrollHint(this, n, hint);
    if (!FScrollHintWnd)
        FScrollHintWnd = std::make_unique<TScrollHintWindow>(this, &HintColor);
    const QRect r = FScrollHintWnd->CalcHintRect(100, hint).translated(QCursor::pos() + QPoint(10, 0));
    FScrollHintWnd->ActivateHint(r, hint);
}

// Drag scrolling

void TExtStringGrid::DragOver(QObject*, int x, int y, TDragOverState state, bool&)
{
    const TDragScrollOptions& o = DragScrollOptions;
    const TDragScrollDirection before = FDragScrollDirection;
    FDragScrollDirection = 0;
    if (!o.Active || state == dsDragLeave) {
        StopDragScroll();
        return;
    }
    if (y < o.TopMargin)
        FDragScrollDirection |= dsdUp;
    else if (y > ClientHeight() - o.BottomMargin)
        FDragScrollDirection |= dsdDown;
    if (x < o.LeftMargin)
        FDragScrollDirection |= dsdLeft;
    else if (x > ClientWidth() - o.RightMargin)
        FDragScrollDirection |= dsdRight;
    if (!FDragScrollDirection) {
        StopDragScroll();
        return;
    }
    // A move after scrolling began waits the initial delay again; one before it changes nothing.
    if (!FDragTmr.IsActive() || (before && FDragInterval != o.InitialDelay)) {
        FDragInterval = o.InitialDelay;
        FDragTmr.Start(FDragInterval, this, [this] { DragScrollTimer(); });
    }
}

void TExtStringGrid::StopDragScroll()
{
    FDragTmr.Stop();
    FDragInterval = 0;
}

void TExtStringGrid::DragScrollTimer()
{
    if (!DragScrollOptions.Active) {
        StopDragScroll();
        return;
    }
    FDragInterval = DragScrollOptions.RepeatDelay;
    FDragTmr.Start(FDragInterval, this, [this] { DragScrollTimer(); });
    bool canScroll = true;
    if (OnDragScroll)
        OnDragScroll(this, TopRow(), LeftCol(), FDragScrollDirection, canScroll);
    if (!canScroll)
        return;
    const TDragScrollDirection d = FDragScrollDirection;
    if ((d & dsdUp) && TopRow() > FixedRows())
        SetTopRow(TopRow() - 1);
    if ((d & dsdDown) && TopRow() + VisibleRowCount() < RowCount())
        SetTopRow(TopRow() + 1);
    if ((d & dsdLeft) && LeftCol() > FixedCols())
        SetLeftCol(LeftCol() - 1);
    if ((d & dsdRight) && VisibleColCount() + LeftCol() < ColCount())
        SetLeftCol(LeftCol() + 1);
}

bool TExtStringGrid::viewportEvent(QEvent* event)
{
    const QEvent::Type t = event->type();
    if (t == QEvent::DragEnter || t == QEvent::DragMove) {
        auto* e = static_cast<QDragMoveEvent*>(event);
        bool accept = e->isAccepted();
        const QPoint p = e->position().toPoint();
        DragOver(e->source(), p.x(), p.y(), t == QEvent::DragEnter ? dsDragEnter : dsDragMove, accept);
    } else if (t == QEvent::DragLeave || t == QEvent::Drop) {
        bool accept = false;
        DragOver(nullptr, -1, -1, dsDragLeave, accept);
    }
    const bool handled = TBaseGrid::viewportEvent(event);
    // Also when the update count let nothing be painted.
    if (t == QEvent::Paint && !FFirstPaintDone && !TabStop()) {
        FFirstPaintDone = true;
        UpdateVScrollBar();
    }
    return handled;
}

// Highlight and arrow colours

void TExtStringGrid::SetHighlightColor(TColor value)
{
    if (value == FHighlightColor)
        return;
    FHighlightColor = value;
    Invalidate();
}

void TExtStringGrid::SetHighlightTextColor(TColor value)
{
    if (value == FHighlightTextColor)
        return;
    FHighlightTextColor = value;
    Invalidate();
}

TColor TExtStringGrid::ArrowColor() const { return ArrowWindows[0]->Color(); }

void TExtStringGrid::SetArrowColor(TColor value)
{
    for (const auto& arrow : ArrowWindows)
        arrow->SetColor(value);
}

// Theme adaptation

void TExtStringGrid::SetAutoThemeAdapt(bool value)
{
    if (value == FAutoThemeAdapt)
        return;
    FAutoThemeAdapt = value;
    SearchFooter.AutoThemeAdapt = value;
    if (value) {
        ThemeAdapt();
        Invalidate();
    }
    if (Loading || Destroying)
        return;
    if (value)
        controls::GetThemeNotifier()->RegisterWindow(this);
    else
        controls::GetThemeNotifier()->UnRegisterWindow(this);
}

bool TExtStringGrid::event(QEvent* event)
{
    if (event->type() == controls::TOfficeThemeChangeEvent::EventType()) {
        if (FAutoThemeAdapt) {
            ThemeAdapt();
            Invalidate();
        }
        return true;
    }
    if (event->type() == QEvent::Shortcut) {
        const auto* e = static_cast<QShortcutEvent*>(event);
        const int id = e->shortcutId();
        if (id != 0 && std::find(FSearchShortcuts.begin(), FSearchShortcuts.end(), id) != FSearchShortcuts.end()) {
            const Qt::Key key = e->key()[0].key();
            if (key >= 0x20 && key <= 0xFFFF)
                HandleDialogChar(QChar(int(key)));
            return true;
        }
    }
    return TBaseGrid::event(event);
}

}  // namespace grid
