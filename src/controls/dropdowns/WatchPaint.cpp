// The watch's geometry, face, hands, AM/PM box and its look presets.
#include "controls/dropdowns/DropDownDraw.h"
#include "controls/dropdowns/Watch.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace dropdowns {

using namespace platform;

namespace {

constexpr double DegToRad = M_PI / 180.0;

// The point at distance d and clock angle (degrees, 0 at 12 o'clock, clockwise) from c.
QPoint Polar(QPointF c, double d, double degrees)
{
    const double a = degrees * DegToRad;
    return QPoint(RoundEven(c.x() + d * std::sin(a)), RoundEven(c.y() - d * std::cos(a)));
}

enum class TShape { Ellipse, Rect, RoundRect };

// A shape outlined with a pen of the canvas pen's width centred on the edge, as a wide pen draws
// on the platform, and filled with the canvas brush.
void DrawShape(TCanvas& canvas, TShape shape, int left, int top, int right, int bottom, int corner = 0)
{
    QPainter* p = canvas.Painter();
    if (!p || right <= left || bottom <= top)
        return;
    p->save();
    if (canvas.Pen.Style == TPenStyle::psClear || canvas.Pen.Color == clNone)
        p->setPen(Qt::NoPen);
    else
        p->setPen(QPen(ToQColor(canvas.Pen.Color), canvas.Pen.Width > 1 ? canvas.Pen.Width : 0));
    p->setBrush(canvas.Brush.Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush)
                                                           : QBrush(ToQColor(canvas.Brush.Color)));
    const QRectF r(left, top, right - left - 1, bottom - top - 1);
    switch (shape) {
    case TShape::Ellipse:
        p->drawEllipse(r);
        break;
    case TShape::Rect:
        p->drawRect(r);
        break;
    case TShape::RoundRect:
        p->drawRoundedRect(r, corner / 2.0, corner / 2.0);
        break;
    }
    p->restore();
}

void Line(TCanvas& canvas, QPoint from, QPoint to)
{
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
}

void SetPen(TCanvas& canvas, TColor color, int width)
{
    canvas.Pen.Color = color;
    canvas.Pen.Width = std::max(1, width);
    canvas.Pen.Style = color == clNone ? TPenStyle::psClear : TPenStyle::psSolid;
}

void Recolor(TFont& font, TColor color) { font.Color = color; }

}  // namespace

QRect TExtWatch::GetWatchRect() const
{
    const QSize client = ClientSize();
    const int w = client.width(), h = client.height();
    const int s = FAppearance.Size() > 0 ? std::min({FAppearance.Size(), w, h}) : std::min(w, h) - 20;
    return QRect((w - s) / 2, (h - s) / 2, s, s);
}

QPoint TExtWatch::GetCenter() const
{
    const QRect r = GetWatchRect();
    return QPoint(r.left() + r.width() / 2, r.top() + r.height() / 2);
}

int TExtWatch::GetRadius() const { return GetWatchRect().width() / 2; }

QRect TExtWatch::GetAMPMRect() const
{
    if (!FShowAMPM)
        return Rect(-1, -1, -1, -1);
    TCanvas measure;
    measure.Font = FAppearance.AMPMFont();
    const QSize text = measure.TextExtent(QStringLiteral("AM"));
    const int w = text.width() + 8, h = text.height();
    const QPoint c = GetCenter();
    const int left = c.x() - w / 2;
    const int top = c.y() + RoundEven((GetRadius() - h) / 3.0);
    return Rect(left, top, left + w, top + h);
}

void TExtWatch::Paint()
{
    if (!FRollFrame.isNull()) {
        Canvas().Draw(0, 0, FRollFrame);
        return;
    }
    PaintWatch();
}

bool TExtWatch::CacheStale() const
{
    return !FCacheValid || FBKGCache.size() != ClientSize() || FCacheColor != Color();
}

void TExtWatch::PaintWatch()
{
    if (CacheStale())
        RebuildCache();
    Canvas().Draw(0, 0, FBKGCache);
    DrawHands(Canvas());
}

void TExtWatch::RebuildCache()
{
    FBKGCache = QImage(ClientSize().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    FCacheColor = Color();
    FBKGCache.fill(ToQColor(Color()));
    {
        TCanvas canvas(&FBKGCache);
        DrawBackground(canvas, ClientRect());
        DrawFace(canvas);
        DrawAMPM(canvas);
    }
    FCacheValid = true;
}

QImage TExtWatch::HandsFrame()
{
    if (CacheStale())
        RebuildCache();
    QImage frame = FBKGCache.copy();
    TCanvas canvas(&frame);
    DrawHands(canvas);
    return frame;
}

void TExtWatch::RepaintHands()
{
    // Only the hands change: the cached face stays, so the face does not flicker.
    Repaint();
}

void TExtWatch::DrawBackground(TCanvas& canvas, const QRect& clientRect)
{
    const TWatchShape shape = FAppearance.Shape();
    const QRect b = shape == wsCircle ? GetWatchRect() : clientRect;
    QPainter* p = canvas.Painter();
    const QRect clipBounds = Rect(b.left() - 1, b.top() - 1, b.left() + b.width() + 2, b.top() + b.height() + 2);
    if (p && shape == wsCircle)
        p->setClipRegion(QRegion(clipBounds, QRegion::Ellipse));
    else if (p && shape == wsRoundRect) {
        QPainterPath path;
        path.addRoundedRect(QRectF(clipBounds), 10, 10);
        p->setClipPath(path);
    }

    const TColor from = FAppearance.BackgroundColor(), to = FAppearance.BackgroundColorTo();
    if (from != clNone && to != clNone)
        DrawGradient(canvas, from, to, 80, b, FAppearance.BackgroundGradient() == wgRadial);
    else if (from != clNone) {
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = from;
        canvas.FillRect(b);
    }

    if (FAppearance.BorderColor() != clNone && FAppearance.BorderWidth() > 0) {
        SetPen(canvas, FAppearance.BorderColor(), FAppearance.BorderWidth());
        canvas.Brush.Style = TBrushStyle::bsClear;
        const QRect c = clientRect;
        switch (shape) {
        case wsCircle:
            DrawShape(canvas, TShape::Ellipse, b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
            break;
        case wsRect:
            DrawShape(canvas, TShape::Rect, c.left(), c.top(), c.left() + c.width(), c.top() + c.height());
            break;
        case wsRoundRect:
            DrawShape(canvas, TShape::RoundRect, c.left(), c.top(), c.left() + c.width(), c.top() + c.height(), 20);
            break;
        }
    }
    if (p)
        p->setClipping(false);

    if (!FAppearance.Picture().isNull()) {
        // The picture at its own size on a bitmap of the rectangle's size whose unpainted part
        // (the bottom-left pixel's colour) is transparent.
        QImage bitmap(clientRect.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        {
            QPainter bp(&bitmap);
            bp.drawImage(QPoint(0, 0), FAppearance.Picture());
        }
        canvas.DrawTransparent(clientRect.left(), clientRect.top(), bitmap);
    }
}

void TExtWatch::DrawFace(TCanvas& canvas)
{
    DrawTickMarks(canvas);
    DrawNumbers(canvas);
}

void TExtWatch::DrawTickMarks(TCanvas& canvas)
{
    const TTickMarks marks = FAppearance.TickMarks();
    if (marks == tmNone)
        return;
    const QPointF c = GetCenter();
    const double outer = GetRadius() - FAppearance.BorderWidth() / 2;
    const double inner = FAppearance.HourMarkLength() > 0 ? outer - FAppearance.HourMarkLength() : outer * 0.9;
    SetPen(canvas, FAppearance.HourColor(), FAppearance.HourMarkWidth());
    for (int q = 0; q < 4; ++q) {
        const double angle = q * 90.0;
        const QPoint from = Polar(c, inner, angle), to = Polar(c, outer, angle);
        if (FAppearance.HourMarkStyle() == hmsQuartDblLine) {
            // Shifted across the mark: vertically at 3 and 9, horizontally at 12 and 6.
            const QPoint shift = q % 2 ? QPoint(0, 2) : QPoint(2, 0);
            Line(canvas, from - shift, to - shift);
            Line(canvas, from + shift, to + shift);
        } else
            Line(canvas, from, to);
    }
    if (marks == tmAll || marks == tmHours)
        for (int hour = 1; hour < 12; ++hour)
            if (hour % 3)
                Line(canvas, Polar(c, inner, hour * 30.0), Polar(c, outer, hour * 30.0));
    if (marks == tmAll) {
        const double minuteInner =
            FAppearance.MinuteMarkLength() > 0 ? outer - FAppearance.MinuteMarkLength() : outer * 0.95;
        SetPen(canvas, FAppearance.MinuteColor(), FAppearance.MinuteMarkWidth());
        for (int minute = 0; minute < 60; ++minute)
            if (minute % 5)
                Line(canvas, Polar(c, minuteInner, minute * 6.0), Polar(c, outer, minute * 6.0));
    }
}

void TExtWatch::DrawNumbers(TCanvas& canvas)
{
    const TTickMarks marks = FAppearance.TickMarks();
    if (!FShowNumbers || marks == tmNone || marks == tmHours)
        return;
    const QPoint c = GetCenter();
    const int outer = GetRadius() - FAppearance.BorderWidth() / 2;
    canvas.Font = FAppearance.HourFont();
    Canvas().Font = FAppearance.HourFont();
    const int b = FAppearance.HourMarkLength() > 0 ? FAppearance.HourMarkLength() : RoundEven(outer - outer * 0.9) + 2;
    const int rho0 = outer - 2 * b - 2;
    canvas.Brush.Style = TBrushStyle::bsClear;
    for (int i = 1; i <= 12; ++i) {
        if (marks == tmQuartHours && i % 3)
            continue;
        const QString text = QString::number(i);
        const QSize size = Canvas().TextExtent(text);
        const int d = i == 10 ? RoundEven(size.height() * 0.2) : i == 11 ? RoundEven(size.height() * 0.15) : 0;
        const int rho = rho0 - d + b / 2;
        const double a = i * 30.0 * DegToRad;
        const int x = c.x() + 1 + RoundEven(rho * std::sin(a));
        const int y = c.y() + 1 - RoundEven(rho * std::cos(a));
        canvas.TextOut(x - size.width() / 2 - 1, y - size.height() / 2 - 1, text);
    }
}

void TExtWatch::DrawAMPMFrame(TCanvas& canvas, const QRect& box)
{
    const int r = box.left() + box.width(), bottom = box.top() + box.height();
    if (FAppearance.AMPMFrame() == apRect)
        DrawShape(canvas, TShape::Rect, box.left(), box.top(), r, bottom);
    else
        DrawShape(canvas, TShape::RoundRect, box.left(), box.top(), r, bottom, 5);
}

void TExtWatch::DrawAMPM(TCanvas& canvas)
{
    if (!FShowAMPM)
        return;
    QRect box = GetAMPMRect();
    const TColor fill = FAppearance.AMPMColor(), border = FAppearance.AMPMBorderColor();
    canvas.Brush.Style = fill == clNone ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
    canvas.Brush.Color = fill;
    SetPen(canvas, border, 1);
    if (fill != clNone || border != clNone)
        DrawAMPMFrame(canvas, box);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font = FAppearance.AMPMFont();
    canvas.DrawText(FAM ? QStringLiteral("AM") : QStringLiteral("PM"), box,
                    DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

void TExtWatch::SetAM(bool value)
{
    if (value == FAM)
        return;
    FAM = value;
    if (FAnimation && FShowAMPM && FAppearance.AMPMColor() != clNone && !FInternalSet)
        RollAMPM(value);
    FCacheValid = false;
    Repaint();
}

void TExtWatch::RollAMPM(bool toAM)
{
    const QRect inner = GetAMPMRect().adjusted(1, 1, -1, -1);
    const int iw = inner.width(), ih = inner.height();
    if (iw <= 0 || ih <= 0)
        return;
    QImage strip(iw, 2 * ih, QImage::Format_RGB32);
    strip.fill(ToQColor(FAppearance.AMPMColor()));
    {
        TCanvas sc(&strip);
        sc.Brush.Style = TBrushStyle::bsClear;
        sc.Font = FAppearance.AMPMFont();
        QRect upper(0, 0, iw, ih), lower(0, ih, iw, ih);
        sc.DrawText(QStringLiteral("AM"), upper, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        sc.DrawText(QStringLiteral("PM"), lower, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
    // The cache still shows the old half; the box's inside is replaced frame by frame.
    if (CacheStale())
        RebuildCache();
    int offset = toAM ? ih : 0;
    for (int frame = 0; frame < ih; ++frame) {
        QImage image = FBKGCache.copy();
        {
            TCanvas canvas(&image);
            canvas.Painter()->drawImage(inner.topLeft(), strip, QRect(0, offset, iw, ih));
            SetPen(canvas, FAppearance.AMPMBorderColor(), 1);
            canvas.Brush.Style = TBrushStyle::bsClear;
            DrawAMPMFrame(canvas, GetAMPMRect());
            DrawHands(canvas);
        }
        FRollFrame = image;
        Repaint();
        offset += toAM ? -1 : 1;
        CurrentClock().Sleep(10);
    }
    FRollFrame = QImage();
}

void TExtWatch::DrawHands(TCanvas& canvas)
{
    const TDateTime shown = GetDisplayTime();
    const TTimeParts t = DecodeTime(shown);
    if (FSettings.Auto()) {
        const bool old = FInternalSet;
        FInternalSet = true;
        if ((t.Hour < 12) != FAM) {
            // The half changed under a live clock: the box is part of the cached face.
            FAM = t.Hour < 12;
            FCacheValid = false;
        }
        FInternalSet = old;
    }
    const QPointF c = GetCenter();
    const double r = GetRadius();
    const double ah = (t.Hour % 12) * 30.0 + t.Minute * 0.5, am = t.Minute * 6.0, as = t.Second * 6.0;
    const TWatchAppearance& a = FAppearance;
    auto lineHand = [&](TColor color, int width, double tail, double tip, double angle, QPoint shift) {
        SetPen(canvas, color, width);
        Line(canvas, Polar(c, -tail, angle) + shift, Polar(c, tip, angle) + shift);
    };
    auto pointerHand = [&](TColor color, double length, double angle, QPoint shift) {
        QPolygon poly;
        poly << Polar(c, -0.1 * r, angle) + shift << Polar(c, -0.05 * r, angle + 90) + shift
             << Polar(c, length, angle) + shift << Polar(c, -0.05 * r, angle - 90) + shift;
        SetPen(canvas, color, 1);
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = color;
        canvas.Polygon(poly);
    };

    if (a.PointerStyle() == psPointer) {
        if (a.HourPointerShadow() != clNone)
            pointerHand(a.HourPointerShadow(), 0.5 * r, ah, QPoint(1, 3));
        pointerHand(a.HourPointer(), 0.5 * r, ah, QPoint());
        if (a.MinutePointerShadow() != clNone)
            pointerHand(a.MinutePointerShadow(), 0.7 * r, am, QPoint(1, 3));
        pointerHand(a.MinutePointer(), 0.7 * r, am, QPoint());
    } else {
        // psShortLine and psLineArrow have no look of their own: they draw as lines.
        if (a.HourPointerShadow() != clNone)
            lineHand(a.HourPointerShadow(), a.HourPointerSize(), 0.1 * r, 0.46 * r, ah, QPoint(-1, 3));
        if (a.MinutePointerShadow() != clNone)
            lineHand(a.MinutePointerShadow(), a.MinutePointerSize(), 0.1 * r, 0.65 * r, am, QPoint(0, 3));
        lineHand(a.HourPointer(), a.HourPointerSize(), 0.1 * r, 0.5 * r, ah, QPoint());
        lineHand(a.MinutePointer(), a.MinutePointerSize(), 0.1 * r, 0.7 * r, am, QPoint());
    }
    if (FSettings.Auto() && FSettings.Second())
        lineHand(a.SecondPointer(), a.SecondPointerSize(), 0.2 * r, 0.9 * r, as, QPoint());

    const int s = a.CenterPointSize();
    if (s <= 0)
        return;
    const int x1 = RoundEven(c.x() - s / 2.0), y1 = RoundEven(c.y() - s / 2.0);
    if (a.CenterPointColor() != clNone) {
        SetPen(canvas, a.CenterPointColor(), 1);
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = a.CenterPointColor();
        DrawShape(canvas, TShape::Ellipse, x1, y1, x1 + s, y1 + s);
    }
    int w = 0;
    canvas.Brush.Style = TBrushStyle::bsClear;
    if (a.CenterPointOuterBorderColor() != clNone) {
        w = RoundEven(s * 0.2);
        SetPen(canvas, a.CenterPointOuterBorderColor(), w);
        DrawShape(canvas, TShape::Ellipse, x1, y1, x1 + s, y1 + s);
    }
    if (a.CenterPointBorderColor() != clNone) {
        SetPen(canvas, a.CenterPointBorderColor(), RoundEven(s * 0.1));
        const int s2 = s - w;
        const int x2 = RoundEven(c.x() - s2 / 2.0), y2 = RoundEven(c.y() - s2 / 2.0);
        DrawShape(canvas, TShape::Ellipse, x2, y2, x2 + s2, y2 + s2);
    }
}

void TExtWatch::SetStyle(TWatchStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    TWatchAppearance& a = FAppearance;
    a.SetDefaults();
    const QString sans = QStringLiteral("MS Sans Serif");
    const int minSide = std::min(Width(), Height());
    auto hourFont = [&](const TFont& f) { a.SetHourFont(f); };
    auto ampmFont = [&](const TFont& f) { a.SetAMPMFont(f); };
    // A font of the given family keeping the default's size and colour.
    auto named = [](TFont f, const QString& name) {
        f.SetName(name);
        f.setBold(false);
        return f;
    };
    switch (value) {
    case wsClassic:
        ampmFont(named(a.AMPMFont(), sans));
        hourFont(WatchFont(QStringLiteral("Comic Sans MS"), 10, a.HourFont().Color, true));
        a.SetHourMarkLength(8);
        a.SetHourPointer(clBlack);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetHourPointerSize(5);
        a.SetMinutePointerShadow(clBtnShadow);
        a.SetMinuteMarkLength(4);
        SetAnimation(true);
        SetAnimationFactor(10);
        SetShowAMPM(true);
        SetShowNumbers(true);
        break;
    case wsTower: {
        ampmFont(named(a.AMPMFont(), sans));
        a.SetAMPMFrame(apRect);
        a.SetBorderWidth(1);
        a.SetBackgroundColor(0xB1F0FE);
        a.SetBackgroundGradient(wgDiagonalForward);
        a.SetCenterPointColor(0x002BD5);
        a.SetCenterPointSize(6);
        TFont f = named(a.HourFont(), QStringLiteral("Century"));
        f.setBold(true);
        Recolor(f, clWindowText);
        hourFont(f);
        a.SetHourPointer(clBlack);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetHourPointerSize(5);
        a.SetMinutePointerShadow(clBtnShadow);
        a.SetSecondPointer(0x002BD5);
        a.SetShape(wsRect);
        a.SetPointerStyle(psPointer);
        a.SetBackgroundColorTo(0x5BCCE8);
        a.SetAMPMColor(a.BackgroundColor());
        SetShowNumbers(false);
        a.SetTickMarks(tmHours);
        break;
    }
    case wsFluorescent:
        ampmFont(WatchFont(sans, 10, clWindowText));
        a.SetAMPMFrame(apRoundRect);
        a.SetBorderColor(0xFF3E3E);
        a.SetBackgroundColor(clBlack);
        a.SetBackgroundColorTo(clBlack);
        a.SetCenterPointColor(0xFF3E3E);
        a.SetCenterPointBorderColor(clBlack);
        a.SetCenterPointOuterBorderColor(clBlack);
        a.SetCenterPointSize(20);
        hourFont(WatchFont(sans, 8, clWindowText));
        a.SetHourColor(0xFF3E3E);
        a.SetHourMarkLength(10);
        a.SetHourPointer(0xFF3E3E);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetHourPointerSize(2);
        a.SetMinuteColor(0xFF3E3E);
        a.SetMinutePointer(0xFF3E3E);
        a.SetMinutePointerShadow(clBtnShadow);
        a.SetMinutePointerSize(2);
        a.SetShape(wsRoundRect);
        a.SetHourMarkWidth(2);
        a.SetHourMarkStyle(hmsQuartDblLine);
        a.SetTickMarks(tmHours);
        SetShowAMPM(false);
        SetShowNumbers(false);
        break;
    case wsEmerald: {
        TFont f = named(a.AMPMFont(), sans);
        Recolor(f, 0xA00000);
        ampmFont(f);
        a.SetAMPMFrame(apRoundRect);
        a.SetBorderColor(0x3AE800);
        a.SetBackgroundColor(0x3AE800);
        a.SetBackgroundColorTo(clBlack);
        a.SetBackgroundGradient(wgDiagonalForward);
        a.SetCenterPointBorderColor(0x40FF00);
        a.SetCenterPointColor(0x38E100);
        a.SetCenterPointSize(16);
        TFont h = named(a.HourFont(), sans);
        hourFont(h);
        a.SetHourPointer(0x40FF00);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetHourPointerSize(5);
        a.SetMinutePointer(0x40FF00);
        a.SetMinutePointerShadow(clBtnShadow);
        a.SetShape(wsRect);
        a.SetPointerStyle(psPointer);
        a.SetAMPMColor(clNone);
        h = a.HourFont();
        Recolor(h, a.BackgroundColor());
        hourFont(h);
        a.SetCenterPointOuterBorderColor(clBlack);
        a.SetHourMarkStyle(hmsQuartDblLine);
        a.SetHourColor(a.BackgroundColor());
        a.SetSecondPointer(0x00FFFF);
        a.SetTickMarks(tmHours);
        SetShowNumbers(false);
        SetShowAMPM(false);
        break;
    }
    case wsBlueStar: {
        ampmFont(WatchFont(sans, 10, 0xA00000));
        a.SetAMPMBorderColor(clNone);
        a.SetAMPMFrame(apRoundRect);
        a.SetBorderColor(0xFFD5D5);
        a.SetBackgroundColor(0xFFD5D5);
        a.SetBackgroundColorTo(0xA00000);
        a.SetBackgroundGradient(wgRadial);
        hourFont(WatchFont(sans, 8, a.HourFont().Color));
        a.SetHourPointer(0xA00000);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetHourPointerSize(5);
        a.SetMinutePointer(0xA00000);
        a.SetMinutePointerShadow(clBtnShadow);
        a.SetShape(wsRoundRect);
        a.SetPointerStyle(psPointer);
        a.SetAMPMColor(clNone);
        TFont h = a.HourFont();
        Recolor(h, a.BackgroundColor());
        hourFont(h);
        SetShowAMPM(true);
        SetShowNumbers(true);
        break;
    }
    case wsFuchsia:
        ampmFont(WatchFont(sans, 10, clWindowText));
        a.SetAMPMFrame(apRoundRect);
        a.SetBorderColor(0xFFD0FF);
        a.SetBackgroundColor(clBlack);
        a.SetBackgroundColorTo(clBlack);
        a.SetCenterPointBorderColor(0xDD68DD);
        a.SetCenterPointSize(20);
        hourFont(WatchFont(sans, 8, clWindowText));
        a.SetHourColor(0xFFD0FF);
        a.SetHourMarkLength(10);
        a.SetHourPointer(0xFFD0FF);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetHourPointerSize(2);
        a.SetMinuteColor(0xFFD0FF);
        a.SetMinutePointer(0xFFD0FF);
        a.SetMinutePointerShadow(clBtnShadow);
        a.SetMinutePointerSize(2);
        a.SetShape(wsRect);
        a.SetCenterPointOuterBorderColor(clBlack);
        a.SetHourMarkWidth(2);
        a.SetHourMarkStyle(hmsQuartDblLine);
        a.SetSecondPointer(0xDD68DD);
        a.SetTickMarks(tmQuartHours);
        SetShowAMPM(false);
        SetShowNumbers(false);
        break;
    case wsBlack:
        ampmFont(named(a.AMPMFont(), sans));
        a.SetBackgroundColor(0x202020);
        a.SetBackgroundColorTo(clNone);
        a.SetBorderColor(clBlack);
        a.SetCenterPointBorderColor(clWhite);
        a.SetCenterPointOuterBorderColor(clWhite);
        a.SetCenterPointColor(clWhite);
        a.SetHourColor(0x585858);
        hourFont(WatchFont(QStringLiteral("Century Gothic"), 11, clWhite));
        a.SetHourPointer(clWhite);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetHourPointerSize(5);
        a.SetMinuteColor(0x585858);
        a.SetMinutePointer(clWhite);
        a.SetMinutePointerShadow(clBtnShadow);
        a.SetMinuteMarkLength(4);
        SetShowAMPM(false);
        SetShowNumbers(true);
        break;
    case wsBlackWhite:
        a.SetBackgroundColor(clWhite);
        a.SetBackgroundColorTo(clNone);
        a.SetBorderColor(clBlack);
        a.SetBorderWidth(8);
        a.SetCenterPointBorderColor(clBlack);
        a.SetCenterPointOuterBorderColor(clBlack);
        a.SetCenterPointColor(clBlack);
        a.SetCenterPointSize(8);
        a.SetHourColor(0x585858);
        hourFont(WatchFont(QStringLiteral("Century Gothic"), 14, clBlack, true));
        a.SetHourPointer(clBlack);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetHourPointerSize(5);
        a.SetMinutePointer(clBlack);
        a.SetMinutePointerShadow(clBtnShadow);
        a.SetMinuteMarkLength(4);
        a.SetSecondPointer(clMaroon);
        a.SetPointerStyle(psPointer);
        a.SetTickMarks(tmQuartHours);
        SetShowAMPM(false);
        SetShowNumbers(true);
        break;
    case wsGray: {
        TFont f = named(a.AMPMFont(), sans);
        SetFontPoints(f, 10);
        ampmFont(f);
        a.SetBackgroundColor(0xD1D1D1);
        a.SetBackgroundColorTo(0x6C6C6C);
        a.SetBackgroundGradient(wgRadial);
        a.SetBorderColor(0x454545);
        a.SetCenterPointBorderColor(0x454545);
        a.SetCenterPointColor(clBlack);
        a.SetCenterPointOuterBorderColor(clNone);
        a.SetHourColor(clBlack);
        hourFont(WatchFont(QStringLiteral("Comic Sans MS"), 8, a.HourFont().Color));
        a.SetHourPointer(0x4E4E4E);
        a.SetHourPointerShadow(clNone);
        a.SetHourPointerSize(1);
        a.SetMinuteColor(clGray);
        a.SetMinutePointer(0x4E4E4E);
        a.SetMinutePointerShadow(clNone);
        a.SetMinutePointerSize(1);
        a.SetSecondPointer(clRed);
        SetShowAMPM(true);
        SetShowNumbers(true);
        break;
    }
    case wsSuperNova:
        a.SetBackgroundColorTo(0xD1D3D3);
        a.SetBorderColor(clNone);
        a.SetCenterPointOuterBorderColor(clBlack);
        a.SetCenterPointSize(10);
        a.SetHourMarkLength(RoundEven(minSide / 4.5));
        a.SetHourPointer(clBlack);
        a.SetHourPointerShadow(clBtnShadow);
        a.SetMinuteColor(clGray);
        a.SetMinuteMarkLength(minSide / 3);
        a.SetMinutePointer(clBlack);
        SetShowAMPM(false);
        SetShowNumbers(false);
        break;
    case wsSports:
        a.SetBackgroundColor(clBlack);
        a.SetBackgroundColorTo(clNone);
        a.SetBorderColor(clBlack);
        a.SetBorderWidth(1);
        a.SetCenterPointBorderColor(clBlue);
        a.SetCenterPointOuterBorderColor(clBlack);
        a.SetCenterPointColor(0x191919);
        a.SetCenterPointSize(RoundEven(minSide / 3.6));
        a.SetHourColor(0xABB0B1);
        hourFont(WatchFont(QStringLiteral("Times New Roman"), 9, 0x797979));
        a.SetHourPointer(clRed);
        a.SetHourPointerShadow(clNone);
        a.SetHourPointerSize(2);
        a.SetMinuteColor(clGray);
        a.SetMinutePointer(clYellow);
        a.SetMinutePointerSize(2);
        a.SetMinutePointerShadow(clNone);
        a.SetMinuteMarkLength(1);
        a.SetSecondPointer(0x188BFE);
        a.SetTickMarks(tmQuartHours);
        SetShowAMPM(false);
        SetShowNumbers(true);
        break;
    case wsSmooth:
        a.SetBackgroundColor(clWhite);
        a.SetBackgroundColorTo(0xABB0B1);
        a.SetBorderColor(0x585858);
        a.SetBorderWidth(1);
        a.SetCenterPointBorderColor(clBlack);
        a.SetCenterPointOuterBorderColor(0x4A4A4A);
        a.SetCenterPointColor(clWhite);
        a.SetCenterPointSize(6);
        a.SetHourColor(0xABB0B1);
        hourFont(WatchFont(QStringLiteral("Times New Roman"), 9, 0x797979));
        a.SetHourPointer(0x4A4A4A);
        a.SetHourPointerShadow(0xB2B2B2);
        a.SetHourPointerSize(2);
        a.SetMinuteColor(clGray);
        a.SetMinutePointer(0x4A4A4A);
        a.SetMinutePointerSize(2);
        a.SetMinutePointerShadow(0xB2B2B2);
        a.SetMinuteMarkLength(1);
        a.SetSecondPointer(0x4A4A4A);
        a.SetTickMarks(tmQuartHours);
        SetShowAMPM(false);
        SetShowNumbers(true);
        break;
    }
}

namespace {

struct TStyleColors {
    controls::TSuiteStyle Style;
    TColor AMPMBorder, AMPMFill, Background, BackgroundTo, Border, CenterBorder, CenterFill, Hands, Shadows,
        Second;
};

using namespace controls;

// Background and BackgroundTo are equal unless the style names a second value; so are the
// centre's border and fill.
constexpr TStyleColors ComponentStyles[] = {
    {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, clWhite, clWhite},
    {tsOffice2003Silver, 0x962D00, 0xBDA4A5, 0xE6D8D8, 0xE6D8D8, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, clWhite, clWhite},
    {tsOffice2003Olive, 0x962D00, 0x82C0AF, 0xB9EAE1, 0xB9EAE1, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF, clWhite, clWhite},
    {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, clWhite, 0x808080},
    {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, clWhite, 0x723708},
    {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, clWhite, 0xF2F1F0},
    {tsWindowsXP, clBlack, clBtnFace, clBtnFace, clBtnFace, clBlack, clBlack, clBlack, clBlack, clWhite, clBlack},
    {tsWhidbey, 0x7E9898, 0xF5F9FA, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, clWhite, 0x7E9898},
    {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F, clWhite, 0x74706F},
    {tsWindowsVista, 0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, clWhite, 0xFEDF9A},
    {tsWindows7, 0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, clWhite, 0xFBD6B8},
    {tsTerminal, 0x808080, clBtnFace, clBtnFace, clBtnFace, 0x808080, 0x808080, 0x808080, 0x808080, clWhite, 0x808080},
    {tsOffice2010Blue, 0xC7B29F, 0xF0DAC7, 0xFDF6EF, 0xFDF6EF, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xC7B29F, clWhite, 0xC7B29F},
    {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, clWhite, clWhite, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, 0xD2CDC8},
    {tsOffice2010Black, 0x6D6D6D, 0x919191, 0xBFBFBF, 0xBFBFBF, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, clWhite, 0x6D6D6D},
};

}  // namespace

void ApplyComponentStyle(TWatchAppearance& a, controls::TSuiteStyle style)
{
    a.SetCenterPointOuterBorderColor(clBlack);
    TFont hour = a.HourFont();
    hour.Color = clBlack;
    a.SetHourFont(hour);
    TFont ampm = a.AMPMFont();
    ampm.Color = clBlack;
    a.SetAMPMFont(ampm);
    for (const TStyleColors& s : ComponentStyles) {
        if (s.Style != style)
            continue;
        a.SetAMPMBorderColor(s.AMPMBorder);
        a.SetAMPMColor(s.AMPMFill);
        a.SetBackgroundColor(s.Background);
        a.SetBackgroundColorTo(s.BackgroundTo);
        a.SetBorderColor(s.Border);
        a.SetCenterPointBorderColor(s.CenterBorder);
        a.SetCenterPointColor(s.CenterFill);
        a.SetHourColor(s.Hands);
        a.SetMinuteColor(s.Hands);
        a.SetHourPointer(s.Hands);
        a.SetMinutePointer(s.Hands);
        a.SetHourPointerShadow(s.Shadows);
        a.SetMinutePointerShadow(s.Shadows);
        a.SetSecondPointer(s.Second);
        if (style == tsOffice2007Obsidian) {
            ampm.Color = 0xF2F1F0;
            a.SetAMPMFont(ampm);
            hour.Color = 0xF2F1F0;
            a.SetHourFont(hour);
        }
        break;
    }
}

void TExtWatch::SetComponentStyle(controls::TSuiteStyle AStyle) { ApplyComponentStyle(FAppearance, AStyle); }

}  // namespace dropdowns
