#include "platform/TCanvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QStringList>
#include <QTextOption>
#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {

// A right-to-left layout paints through a mirroring transform. Text drawn through it would read
// back to front; as on a mirrored device context, it is drawn the right way round instead, over
// the place its rectangle takes in the mirrored picture.
class TStraightText {
public:
    TStraightText(QPainter* painter, QRect& r) : FPainter(painter)
    {
        const QTransform t = painter ? painter->worldTransform() : QTransform();
        if (!painter || !(t.m11() < 0 && t.m12() == 0 && t.m21() == 0))
            return;
        FSaved = t;
        FActive = true;
        const qreal scale = -t.m11();
        const QRect shown = t.mapRect(r);
        painter->setWorldTransform(QTransform(scale, 0, 0, t.m22(), 0, t.dy()));
        r = QRect(qRound(shown.left() / scale), r.top(), r.width(), r.height());
    }
    ~TStraightText()
    {
        if (FActive)
            FPainter->setWorldTransform(FSaved);
    }
    TStraightText(const TStraightText&) = delete;
    TStraightText& operator=(const TStraightText&) = delete;

private:
    QPainter* FPainter;
    QTransform FSaved;
    bool FActive = false;
};

// Colours of the classic Windows scheme for the system colours the palette has no role for.
constexpr TColor ClassicSystemColors[31] = {
    0xC8D0D4, 0x000000, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0x6A240A, 0xC8D0D4,
};

bool PaletteColor(int index, QColor& out)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 4: out = pal.color(QPalette::Window); return true;             // menu
    case 5: out = pal.color(QPalette::Base); return true;               // window
    case 7: out = pal.color(QPalette::WindowText); return true;         // menu text
    case 8: out = pal.color(QPalette::Text); return true;               // window text
    case 13: out = pal.color(QPalette::Highlight); return true;
    case 14: out = pal.color(QPalette::HighlightedText); return true;
    case 15: out = pal.color(QPalette::Button); return true;            // button face
    case 16: out = pal.color(QPalette::Dark); return true;              // button shadow
    case 17: out = pal.color(QPalette::Disabled, QPalette::Text); return true;
    case 18: out = pal.color(QPalette::ButtonText); return true;
    case 20: out = pal.color(QPalette::Light); return true;             // button highlight
    case 21: out = pal.color(QPalette::Shadow); return true;            // 3D dark shadow
    case 22: out = pal.color(QPalette::Midlight); return true;          // 3D light
    case 23: out = pal.color(QPalette::ToolTipText); return true;
    case 24: out = pal.color(QPalette::ToolTipBase); return true;
    case 26: out = pal.color(QPalette::Link); return true;              // hot light
    default: return false;
    }
}

QColor Opaque(TColor rgb) { return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)); }

}  // namespace

TColor ColorToRGB(TColor color)
{
    if ((color & 0xFF000000) != clSystemColor)
        return color;
    const int index = int(color & 0xFF);
    QColor c;
    if (qGuiApp && PaletteColor(index, c))
        return FromQColor(c);
    return index < 31 ? ClassicSystemColors[index] : clBlack;
}

QColor ToQColor(TColor color)
{
    if (color == clNone || color == clDefault)
        return QColor(0, 0, 0, 0);
    return Opaque(ColorToRGB(color));
}

TColor FromQColor(const QColor& color) { return RGBToColor(color.red(), color.green(), color.blue()); }

void TFont::SetHeight(int height)
{
    if (height < 0)
        setPixelSize(-height);
    else if (height > 0) {
        // A cell height includes the internal leading: scale the em size down to fit it.
        QFont probe(*this);
        probe.setPixelSize(height);
        const QFontMetrics fm(probe);
        const int cell = std::max(1, fm.ascent() + fm.descent());
        setPixelSize(std::max(1, (height * height + cell / 2) / cell));
    }
}

int TFont::Height() const { return -QFontInfo(*this).pixelSize(); }

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPaintDevice* device) : FOwnPainter(std::make_unique<QPainter>(device))
{
    FPainter = FOwnPainter.get();
}

TCanvas::~TCanvas()
{
    if (FOwnPainter && FOwnPainter->isActive())
        FOwnPainter->end();
}

void TCanvas::Attach(QPainter* painter) { FPainter = painter; }

void TCanvas::Detach()
{
    if (!FOwnPainter)
        FPainter = nullptr;
}

QFontMetrics TCanvas::Metrics() const
{
    QPaintDevice* device = FPainter ? FPainter->device() : FMeasureDevice;
    return device ? QFontMetrics(Font, device) : QFontMetrics(Font);
}

void TCanvas::PrepareFont() const
{
    if (FPainter)
        FPainter->setFont(Font);
}

// Pixel-exact lines for the one-pixel pens the controls draw their edges with.
void TCanvas::PixelRun(int x, int y, int length, bool horizontal, TColor color)
{
    if (length <= 0)
        return;
    const QColor c = ToQColor(color);
    if (Pen.Style == TPenStyle::psSolid) {
        FPainter->fillRect(horizontal ? QRect(x, y, length, 1) : QRect(x, y, 1, length), c);
        return;
    }
    const int on = Pen.Style == TPenStyle::psDot ? 1 : 3;
    const int period = on * 2;
    for (int i = 0; i < length; ++i)
        if (i % period < on)
            FPainter->fillRect(horizontal ? QRect(x + i, y, 1, 1) : QRect(x, y + i, 1, 1), c);
}

void TCanvas::PlotLine(QPoint from, QPoint to, TColor color)
{
    // Bresenham, leaving out the end point as Windows does.
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    int err = dx + dy;
    int n = 0;
    const QColor c = ToQColor(color);
    while (x != to.x() || y != to.y()) {
        const bool on = Pen.Style == TPenStyle::psSolid || (Pen.Style == TPenStyle::psDot ? n % 2 == 0 : n % 6 < 3);
        if (on)
            FPainter->fillRect(QRect(x, y, 1, 1), c);
        ++n;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = PenPos;
    const QPoint to(x, y);
    PenPos = to;
    if (!FPainter || Pen.Style == TPenStyle::psClear || from == to)
        return;
    if (Pen.Width > 1) {
        FPainter->save();
        FPainter->setPen(QPen(ToQColor(Pen.Color), Pen.Width));
        FPainter->drawLine(from, to);
        FPainter->restore();
        return;
    }
    if (from.y() == to.y()) {
        if (from.x() < to.x())
            PixelRun(from.x(), from.y(), to.x() - from.x(), true, Pen.Color);
        else
            PixelRun(to.x() + 1, from.y(), from.x() - to.x(), true, Pen.Color);
    } else if (from.x() == to.x()) {
        if (from.y() < to.y())
            PixelRun(from.x(), from.y(), to.y() - from.y(), false, Pen.Color);
        else
            PixelRun(from.x(), to.y() + 1, from.y() - to.y(), false, Pen.Color);
    } else {
        PlotLine(from, to, Pen.Color);
    }
}

void TCanvas::Polyline(const QPolygon& points)
{
    if (points.isEmpty())
        return;
    MoveTo(points[0].x(), points[0].y());
    for (int i = 1; i < points.size(); ++i)
        LineTo(points[i].x(), points[i].y());
}

void TCanvas::Polygon(const QPolygon& points)
{
    if (!FPainter || points.size() < 2)
        return;
    FPainter->save();
    FPainter->setPen(Pen.Style == TPenStyle::psClear ? QPen(Qt::NoPen) : QPen(ToQColor(Pen.Color), 0));
    FPainter->setBrush(Brush.Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(Brush.Color)));
    FPainter->drawPolygon(points);
    FPainter->restore();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!FPainter || right <= left || bottom <= top)
        return;
    if (Brush.Style != TBrushStyle::bsClear)
        FPainter->fillRect(Rect(left, top, right, bottom), ToQColor(Brush.Color));
    if (Pen.Style == TPenStyle::psClear)
        return;
    const int w = right - left, h = bottom - top;
    PixelRun(left, top, w, true, Pen.Color);
    PixelRun(left, bottom - 1, w, true, Pen.Color);
    PixelRun(left, top, h, false, Pen.Color);
    PixelRun(right - 1, top, h, false, Pen.Color);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    if (!FPainter || right <= left || bottom <= top)
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setPen(Pen.Style == TPenStyle::psClear ? QPen(Qt::NoPen) : QPen(ToQColor(Pen.Color), 0));
    FPainter->setBrush(Brush.Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(Brush.Color)));
    // A cosmetic pen strokes the pixel to the right and below of a rectangle's edge.
    const QRectF r(left, top, right - left - 1, bottom - top - 1);
    FPainter->drawRoundedRect(r, cornerWidth / 2.0, cornerHeight / 2.0);
    FPainter->restore();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (!FPainter || right <= left || bottom <= top)
        return;
    FPainter->save();
    FPainter->setPen(Pen.Style == TPenStyle::psClear ? QPen(Qt::NoPen) : QPen(ToQColor(Pen.Color), 0));
    FPainter->setBrush(Brush.Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(Brush.Color)));
    FPainter->drawEllipse(QRectF(left, top, right - left - 1, bottom - top - 1));
    FPainter->restore();
}

void TCanvas::FillRect(const QRect& r)
{
    if (FPainter && Brush.Style != TBrushStyle::bsClear)
        FPainter->fillRect(r, ToQColor(Brush.Color));
}

void TCanvas::FrameRect(const QRect& r)
{
    if (!FPainter || r.isEmpty() || Brush.Style == TBrushStyle::bsClear)
        return;
    const QColor c = ToQColor(Brush.Color);
    FPainter->fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    FPainter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    FPainter->fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
    FPainter->fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

void TCanvas::DrawFocusRect(const QRect& r)
{
    if (!FPainter || r.isEmpty())
        return;
    FPainter->save();
    FPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(255, 255, 255);
    auto dot = [&](int x, int y) { FPainter->fillRect(QRect(x, y, 1, 1), white); };
    // One dot every other pixel, all the way round.
    for (int x = r.left(); x <= r.right(); x += 2) {
        dot(x, r.top());
        if (r.height() > 1)
            dot(x, r.bottom());
    }
    for (int y = r.top() + 2; y < r.bottom(); y += 2) {
        dot(r.left(), y);
        if (r.width() > 1)
            dot(r.right(), y);
    }
    FPainter->restore();
}

void TCanvas::ClearRect(const QRect& r)
{
    if (!FPainter)
        return;
    FPainter->save();
    FPainter->setCompositionMode(QPainter::CompositionMode_Source);
    FPainter->fillRect(r, Qt::transparent);
    FPainter->restore();
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (FPainter)
        FPainter->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void TCanvas::Draw(int x, int y, const QImage& image)
{
    if (FPainter && !image.isNull())
        FPainter->drawImage(QPoint(x, y), image);
}

void TCanvas::Draw(int x, int y, const QPixmap& pixmap)
{
    if (FPainter && !pixmap.isNull())
        FPainter->drawPixmap(QPoint(x, y), pixmap);
}

void TCanvas::StretchDraw(const QRect& r, const QImage& image)
{
    if (FPainter && !image.isNull())
        FPainter->drawImage(r, image);
}

void TCanvas::DrawTransparent(int x, int y, const QImage& image, TColor transparentColor)
{
    if (!FPainter || image.isNull())
        return;
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparentColor).rgb() & 0xFFFFFF;
    for (int row = 0; row < masked.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
        for (int col = 0; col < masked.width(); ++col)
            if ((line[col] & 0xFFFFFF) == key)
                line[col] = 0;
    }
    FPainter->drawImage(QPoint(x, y), masked);
}

void TCanvas::DrawTransparent(int x, int y, const QImage& image)
{
    if (!FPainter || image.isNull())
        return;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb corner = argb.pixel(0, argb.height() - 1);
    if (qAlpha(corner) == 0) {
        // Already transparent where it should be.
        FPainter->drawImage(QPoint(x, y), argb);
        return;
    }
    DrawTransparent(x, y, argb, RGBToColor(qRed(corner), qGreen(corner), qBlue(corner)));
}

int TCanvas::TextWidth(const QString& text) const { return Metrics().horizontalAdvance(text); }

int TCanvas::TextHeight(const QString&) const { return Metrics().height(); }

void TCanvas::TextOut(int x, int y, const QString& text)
{
    const QFontMetrics fm = Metrics();
    const int w = fm.horizontalAdvance(text);
    if (FPainter) {
        QRect box(x, y, w, fm.height());
        const TStraightText straight(FPainter, box);
        if (Brush.Style != TBrushStyle::bsClear)
            FPainter->fillRect(box, ToQColor(Brush.Color));
        PrepareFont();
        FPainter->setPen(ToQColor(Font.Color));
        FPainter->drawText(QPoint(box.left(), y + fm.ascent()), text);
    }
    PenPos = QPoint(x + w, y);
}

void TCanvas::TextRect(const QRect& r, int x, int y, const QString& text)
{
    if (!FPainter)
        return;
    FPainter->save();
    FPainter->setClipRect(r, HasClip() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (Brush.Style != TBrushStyle::bsClear)
        FPainter->fillRect(r, ToQColor(Brush.Color));
    const QFontMetrics fm = Metrics();
    QRect box(x, y, fm.horizontalAdvance(text), fm.height());
    const TStraightText straight(FPainter, box);
    PrepareFont();
    FPainter->setPen(ToQColor(Font.Color));
    FPainter->drawText(QPoint(box.left(), y + fm.ascent()), text);
    FPainter->restore();
}

int TCanvas::DrawText(const QString& text, QRect& r, unsigned format)
{
    const QFontMetrics fm = Metrics();
    const bool single = format & DT_SINGLELINE;
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    // Windows places only single lines vertically.
    if (single && (format & DT_VCENTER))
        flags |= Qt::AlignVCenter;
    else if (single && (format & DT_BOTTOM))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (single)
        flags |= Qt::TextSingleLine;
    else if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    if (format & DT_HIDEPREFIX)
        flags |= Qt::TextHideMnemonic;
    else if (!(format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;

    QString shown = text;
    // A text far longer than its rectangle can hold shows only its part that can fall inside it:
    // Qt would lay out every character of a text of megabytes at each paint. A character is at
    // least a pixel wide, and the generous margin keeps the part's extent what the whole text
    // gives. Wrapped text stands at the top, so its first lines are the part.
    const qsizetype room = 4 * (qsizetype(std::max(r.width(), 0)) + 64);
    if (!(format & DT_CALCRECT) && text.size() > room) {
        if (single || (!(format & DT_WORDBREAK) && !text.contains(QLatin1Char('\n')))) {
            if (flags & Qt::AlignRight)
                shown = text.right(room);
            else if (flags & Qt::AlignHCenter)
                shown = text.mid((text.size() - room) / 2, room);
            else
                shown = text.left(room);
        } else if (format & DT_WORDBREAK) {
            const qsizetype lines = std::max(r.height(), 0) / std::max(fm.height(), 1) + 2;
            if (text.size() > room * lines)
                shown = text.left(room * lines);
        }
    }
    if ((format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) && !(format & DT_CALCRECT) &&
        r.width() > 0) {
        const Qt::TextElideMode mode = (format & DT_PATH_ELLIPSIS) ? Qt::ElideMiddle : Qt::ElideRight;
        const int mnemonic = (flags & Qt::TextShowMnemonic) ? int(Qt::TextShowMnemonic) : 0;
        shown = fm.elidedText(shown, mode, r.width(), mnemonic);
    }

    if (format & DT_CALCRECT) {
        if (text.isEmpty()) {
            r.setWidth(0);
            r.setHeight(0);
            return 0;
        }
        // Widths add up the characters' advances, as TextWidth does; the "&" of a shown
        // accelerator takes no room.
        const bool prefix = flags & (Qt::TextShowMnemonic | Qt::TextHideMnemonic);
        const QStringList lines = single ? QStringList{text} : text.split(QLatin1Char('\n'));
        int widest = 0;
        for (const QString& line : lines) {
            QString shownLine = line;
            if (prefix)
                shownLine.replace(QLatin1String("&&"), QString(QChar(1))).remove(QLatin1Char('&')).replace(QChar(1), QLatin1Char('&'));
            widest = std::max(widest, fm.horizontalAdvance(shownLine));
        }
        const bool wraps = !single && (format & DT_WORDBREAK) && r.width() > 0 && widest > r.width();
        if (!wraps) {
            r.setWidth(widest);
            r.setHeight(int(lines.size()) * fm.height());
            return r.height();
        }
        const QRect bound = fm.boundingRect(QRect(r.left(), r.top(), r.width(), 0x7FFFFF),
                                            flags & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom),
                                            text);
        r.setWidth(std::min(bound.width(), r.width()));
        r.setHeight(bound.height());
        return bound.height();
    }

    if (!FPainter || shown.isEmpty())
        return fm.boundingRect(r, flags, shown).height();
    // Drawing lays the text out once and reports its extent; only a background needs the extent
    // beforehand.
    FPainter->save();
    if (!(format & DT_NOCLIP))
        FPainter->setClipRect(r, HasClip() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (Brush.Style != TBrushStyle::bsClear)
        FPainter->fillRect(fm.boundingRect(r, flags, shown), ToQColor(Brush.Color));
    QRect box = r;
    QRect drawn;
    {
        const TStraightText straight(FPainter, box);
        PrepareFont();
        FPainter->setPen(ToQColor(Font.Color));
        FPainter->drawText(box, flags | Qt::TextDontClip, shown, &drawn);
    }
    FPainter->restore();
    return drawn.height();
}

void TCanvas::SetClipRect(const QRect& r)
{
    if (FPainter)
        FPainter->setClipRect(r, Qt::ReplaceClip);
}

void TCanvas::IntersectClipRect(const QRect& r)
{
    if (FPainter)
        FPainter->setClipRect(r, HasClip() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TCanvas::ClearClip()
{
    if (FPainter)
        FPainter->setClipping(false);
}

bool TCanvas::HasClip() const { return FPainter && FPainter->hasClipping(); }

QRect TCanvas::ClipRect() const
{
    if (!FPainter)
        return QRect();
    QRect r;
    if (FPainter->hasClipping())
        r = FPainter->clipBoundingRect().toAlignedRect();
    else if (FPainter->device())
        r = FPainter->worldTransform().inverted().mapRect(
            QRect(0, 0, FPainter->device()->width(), FPainter->device()->height()));
    if (!FPaintRegion.isEmpty())
        r &= FPainter->worldTransform().inverted().mapRect(FPaintRegion.boundingRect());
    return r;
}

}  // namespace platform
