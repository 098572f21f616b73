#include "grid/core/GridHelperControls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QShortcut>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "controls/common/ExtXPVS.h"
#include "controls/dropdowns/DropDownDraw.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridEditLayer.h"
#include "platform/Exception.h"
#include "platform/FrameControl.h"

namespace grid::helpers {

using platform::TCanvas;
using PBrush = platform::TBrushStyle;
using platform::TPenStyle;

void DrawButtonGradient(TCanvas& canvas, TColor from, TColor to, TColor border, int steps, QRect r, bool horizontal)
{
    // The drop-down gradient measures its bands one pixel short; a rectangle one pixel longer in
    // the gradient's direction gives the bands of the full extent.
    const QRect bands = horizontal ? r.adjusted(0, 0, 1, 0) : r.adjusted(0, 0, 0, 1);
    canvas.Brush.Style = PBrush::bsSolid;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    const bool hadClip = canvas.HasClip();
    if (!hadClip && canvas.Painting())
        canvas.SetClipRect(r);
    dropdowns::DrawGradient(canvas, from, to, steps, bands, horizontal);
    if (!hadClip && canvas.Painting())
        canvas.ClearClip();
    if (border != clNone) {
        canvas.Brush.Style = PBrush::bsClear;
        canvas.Pen.Color = border;
        canvas.Rectangle(r);
    }
}

TButtonLayoutResult LayoutGlyphAndCaption(QSize client, QSize glyph, QSize caption, TButtonLayout layout, int margin,
                                          int spacing)
{
    TButtonLayoutResult out;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    if (across) {
        out.Glyph.setY((client.height() - glyph.height() + 1) / 2);
        out.Caption.setY((client.height() - caption.height() + 1) / 2);
    } else {
        out.Glyph.setX((client.width() - glyph.width() + 1) / 2);
        out.Caption.setX((client.width() - caption.width() + 1) / 2);
    }
    if (caption.isEmpty() || glyph.isEmpty())
        spacing = 0;
    const int C = across ? client.width() : client.height();
    const int G = across ? glyph.width() : glyph.height();
    const int T = across ? caption.width() : caption.height();
    if (margin == -1 && spacing == -1)
        margin = spacing = (C - G - T) / 3;
    else if (margin == -1)
        margin = (C - G - spacing - T + 1) / 2;
    else if (spacing == -1)
        spacing = (C - margin - G - T) / 2;
    switch (layout) {
    case blGlyphLeft:
        out.Glyph.setX(margin);
        out.Caption.setX(margin + glyph.width() + spacing);
        break;
    case blGlyphRight:
        out.Glyph.setX(client.width() - margin - glyph.width());
        out.Caption.setX(out.Glyph.x() - spacing - caption.width());
        break;
    case blGlyphTop:
        out.Glyph.setY(margin);
        out.Caption.setY(margin + glyph.height() + spacing);
        break;
    case blGlyphBottom:
        out.Glyph.setY(client.height() - margin - glyph.height());
        out.Caption.setY(out.Glyph.y() - spacing - caption.height());
        break;
    }
    if (caption.isEmpty())
        out.Glyph = QPoint(0, 0);
    return out;
}

int CurrentXPColorScheme()
{
    if (!IsWinXPOrLater() || !controls::IsThemeActive())
        return 0;
    QString file, color, size;
    if (!controls::GetCurrentThemeName(file, color, size))
        return 0;
    if (color == QLatin1String("NormalColor"))
        return 1;
    if (color == QLatin1String("HomeStead"))
        return 2;
    if (color == QLatin1String("Metallic"))
        return 3;
    return 0;
}

bool IsWinXPOrLater() { return true; }

bool IsThemedComCtl6() { return controls::IsThemeActive() && controls::ComCtl32MajorVersion() >= 6; }

// ---- TExtGridButtonActionLink ----

TExtGridButtonActionLink::TExtGridButtonActionLink(TExtGridButton* client) : TActionLink(client)
{
    TExtGridButtonActionLink::AssignClient(client);
}

void TExtGridButtonActionLink::AssignClient(QObject* client)
{
    auto* button = qobject_cast<TExtGridButton*>(client);
    if (!button)
        throw platform::Exception(QStringLiteral("The action link needs a grid button"));
    TActionLink::AssignClient(client);
    FClient = button;
}

// A property stays linked while the button still shows the action's value; one the button was
// given itself is left alone.
bool TExtGridButtonActionLink::IsCaptionLinked() const
{
    return TActionLink::IsCaptionLinked() && FClient->Caption == Action()->Caption();
}

bool TExtGridButtonActionLink::IsCheckedLinked() const
{
    return TActionLink::IsCheckedLinked() && FClient->GroupIndex() != 0 && FClient->AllowAllUp() &&
           FClient->Down() == Action()->Checked();
}

bool TExtGridButtonActionLink::IsGroupIndexLinked() const
{
    return TActionLink::IsGroupIndexLinked() && FClient->GroupIndex() == Action()->GroupIndex();
}

bool TExtGridButtonActionLink::IsEnabledLinked() const
{
    return TActionLink::IsEnabledLinked() && FClient->isEnabled() == Action()->Enabled();
}

bool TExtGridButtonActionLink::IsHintLinked() const
{
    return TActionLink::IsHintLinked() && FClient->Hint() == Action()->Hint();
}

bool TExtGridButtonActionLink::IsVisibleLinked() const
{
    return TActionLink::IsVisibleLinked() && FClient->Visible() == Action()->Visible();
}

void TExtGridButtonActionLink::SetCaption(const QString& value)
{
    if (IsCaptionLinked()) {
        FClient->Caption = value;
        FClient->Invalidate();
    }
}

void TExtGridButtonActionLink::SetChecked(bool value)
{
    if (IsCheckedLinked())
        FClient->SetDown(value);
}

void TExtGridButtonActionLink::SetGroupIndex(int value)
{
    if (IsGroupIndexLinked())
        FClient->SetGroupIndex(value);
}

void TExtGridButtonActionLink::SetEnabled(bool value)
{
    if (IsEnabledLinked())
        FClient->setEnabled(value);
}

void TExtGridButtonActionLink::SetHint(const QString& value)
{
    if (IsHintLinked())
        FClient->SetHint(value);
}

void TExtGridButtonActionLink::SetVisible(bool value)
{
    if (IsVisibleLinked())
        FClient->setVisible(value);
}

// ---- TExtGridButton ----

void TExtGridButton::SetAction(platform::TAction* action)
{
    if (!action) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = std::make_unique<TExtGridButtonActionLink>(this);
    FActionLink->SetAction(action);
    Caption = action->Caption();
    setEnabled(action->Enabled());
    SetHint(action->Hint());
    if (Visible() != action->Visible())
        setVisible(action->Visible());
    SetGroupIndex(action->GroupIndex());
    SetDown(action->Checked());
    Invalidate();
}

TExtGridButton::TExtGridButton(QWidget* parent) : TCustomControl(parent)
{
    SetBounds(0, 0, 22, 23);
    SetColor(platform::clBtnFace);
    SetTabStop(false);
}

void TExtGridButton::SetMargin(int value)
{
    if (value < -1 || value == FMargin)
        return;
    FMargin = value;
    Invalidate();
}

void TExtGridButton::SetSpacing(int value)
{
    if (value != FSpacing) {
        FSpacing = value;
        Invalidate();
    }
}

void TExtGridButton::SetFlat(bool value)
{
    if (value != FFlat) {
        FFlat = value;
        Invalidate();
    }
}

void TExtGridButton::SetLook(int value)
{
    struct TLookColors {
        TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo, BorderDown, BorderHot;
        bool Rounded;
    };
    constexpr TColor face = platform::clBtnFace;
    static const TLookColors looks[7] = {
        {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE, true},
        {face, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31, false},
        {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000, false},
        {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000, false},
        {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000, false},
        {face, clNone, face, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone, false},
        {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080, 0x808080, false},
    };
    if (value < 0 || value > 6)
        return;
    const TLookColors& l = looks[value];
    FLook = value;
    SetColor(l.Color);
    ColorTo = l.ColorTo;
    ColorHot = l.Hot, ColorHotTo = l.HotTo;
    ColorDown = l.Down, ColorDownTo = l.DownTo;
    ColorChecked = l.Checked, ColorCheckedTo = l.CheckedTo;
    BorderDownColor = l.BorderDown, BorderHotColor = l.BorderHot;
    Rounded = l.Rounded;
    BorderColor = clNone;
    FFlat = true;
    Invalidate();
}

void TExtGridButton::SetAutoThemeAdapt(bool value)
{
    FAutoThemeAdapt = value;
    if (value)
        ThemeAdapt();
}

void TExtGridButton::ThemeAdapt()
{
    static constexpr int looks[4] = {1, 2, 3, 4};
    SetLook(looks[std::clamp(CurrentXPColorScheme(), 0, 3)]);
}

void TExtGridButton::changeEvent(QEvent* event)
{
    TCustomControl::changeEvent(event);
    if (FAutoThemeAdapt && (event->type() == QEvent::StyleChange || event->type() == QEvent::ThemeChange))
        ThemeAdapt();
}

void TExtGridButton::DblClick()
{
    if (FDown)
        TCustomControl::DblClick();
}

void TExtGridButton::SetDown(bool value)
{
    if (FGroupIndex == 0 && Style != tasCheck)
        value = false;
    if (Style == tasCheck) {
        FDown = value;
        Repaint();
        return;
    }
    if (value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = value;
    if (value) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
        NotifyGroup();
    } else {
        FState = bsUp;
        Repaint();
    }
}

void TExtGridButton::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    NotifyGroup();
}

void TExtGridButton::SetAllowAllUp(bool value)
{
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    NotifyGroup();
}

void TExtGridButton::NotifyGroup()
{
    if (FGroupIndex == 0 || !parentWidget())
        return;
    for (QObject* child : parentWidget()->children())
        if (auto* other = qobject_cast<TExtGridButton*>(child); other && other != this)
            other->ButtonPressed(FGroupIndex, this);
}

void TExtGridButton::ButtonPressed(int group, TExtGridButton* sender)
{
    if (group != FGroupIndex)
        return;
    if (sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        if (platform::TAction* action = Action())
            action->SetChecked(false);
        Invalidate();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

void TExtGridButton::Click()
{
    if (OnClick)
        OnClick();
    else if (FActionLink)
        FActionLink->Execute();
}

void TExtGridButton::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != platform::mbLeft || !isEnabled())
        return;
    if (DropDownButton && x > ClientWidth() - 12) {
        FState = bsUp;
        if (OnDropDown)
            OnDropDown();
        if (DropDownMenu)
            DropDownMenu->popup(mapToGlobal(QPoint(0, height())));
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (Style == tasCheck) {
        FState = bsDown;
        Repaint();
    }
    FDragging = true;
}

void TExtGridButton::MouseMove(platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (!FDragging) {
        if (!FMouseInControl)
            UpdateTracking();
        return;
    }
    TButtonState next = FState;
    if (Style == tasCheck && FDown)
        next = bsDown;
    else if (FDown)
        next = bsExclusive;
    else
        next = ClientRect().contains(x, y) ? bsDown : bsUp;
    if (next != FState) {
        FState = next;
        Invalidate();
    }
}

void TExtGridButton::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
    if (FGroupIndex == 0) {
        FState = bsUp;
        if (Style == tasCheck)
            FDown = !FDown;
        if (inside && FState != bsDown && FState != bsExclusive)
            Invalidate();
    } else if (inside) {
        // A pressed member of a group without AllowAllUp refuses to come up.
        SetDown(!FDown);
        if (FDown) {
            FState = bsExclusive;
            Repaint();
        }
    } else if (FDown) {
        FState = bsExclusive;
        Repaint();
    } else {
        FState = bsUp;
        Invalidate();
    }
    if (inside)
        Click();
    UpdateTracking();
}

void TExtGridButton::UpdateTracking()
{
    if (!FFlat || !isEnabled())
        return;
    const bool under = underMouse();
    if (under && !FMouseInControl)
        MouseEnter();
    else if (!under && FMouseInControl)
        MouseLeave();
}

void TExtGridButton::MouseEnter()
{
    if (!FMouseInControl && isEnabled() && !MouseCapture()) {
        FMouseInControl = true;
        Repaint();
    }
    if (OnMouseEnter)
        OnMouseEnter();
}

void TExtGridButton::MouseLeave()
{
    if (FMouseInControl && isEnabled() && !FDragging) {
        FMouseInControl = false;
        Invalidate();
    }
    if (OnMouseLeave)
        OnMouseLeave();
}

void TExtGridButton::EnabledChanged()
{
    UpdateTracking();
    Repaint();
}

void TExtGridButton::GlyphChanged()
{
    if (!Glyph.isNull() && GlyphDisabled.isNull()) {
        GlyphDisabled = Glyph.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < GlyphDisabled.height(); ++y)
            for (int x = 0; x < GlyphDisabled.width(); ++x) {
                const QRgb p = GlyphDisabled.pixel(x, y);
                const int v = (qRed(p) + qGreen(p) + qBlue(p)) / 3 / 2 + 96;
                GlyphDisabled.setPixel(x, y, qRgb(v, v, v));
            }
    }
    FGlyphShade = QImage();
    if (Shaded && !Glyph.isNull()) {
        const QImage g = Glyph.convertToFormat(QImage::Format_RGB32);
        const QRgb key = g.pixel(0, g.height() - 1);
        FGlyphShade = g;
        for (int y = 0; y < g.height(); ++y)
            for (int x = 0; x < g.width(); ++x)
                FGlyphShade.setPixel(x, y, g.pixel(x, y) == key ? key : qRgb(0x80, 0x80, 0x80));
    }
    Invalidate();
}

void TExtGridButton::Paint()
{
    TCanvas& canvas = Canvas();
    if (!isEnabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (Style == tasCheck && FDown)
        FState = bsDown;
    canvas.Font = Font();
    QRect r = ClientRect();
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::psSolid;
    auto fillOrGradient = [&](TColor from, TColor to, TColor pen) {
        if (to == clNone) {
            canvas.Brush.Style = PBrush::bsSolid;
            canvas.Brush.Color = from;
            canvas.Pen.Color = pen == clNone ? from : pen;
            canvas.Rectangle(r);
        } else {
            DrawButtonGradient(canvas, from, to, pen, 16, r, false);
        }
    };
    const bool hot = FMouseInControl && isEnabled();
    if (FFlat) {
        if (BorderDownColor == clNone || Rounded)
            r.adjust(1, 1, -1, -1);
        if (!hot) {
            if (Style == tasCheck && FDown) {
                fillOrGradient(ColorChecked, ColorCheckedTo, BorderDownColor);
            } else {
                fillOrGradient(Color(), ColorTo, Rounded ? clNone : FDown ? BorderDownColor : BorderColor);
                if (BorderColor != clNone) {
                    canvas.Brush.Style = PBrush::bsClear;
                    canvas.Pen.Color = BorderColor;
                    if (Rounded)
                        canvas.RoundRect(r.left() - 1, r.top() - 1, r.right() + 2, r.bottom() + 2, 8, 8);
                    else
                        canvas.Rectangle(r);
                }
            }
        } else {
            TColor from = ColorHot, to = ColorHotTo, pen = BorderHotColor;
            if (FState == bsDown)
                from = ColorDown, to = ColorDownTo, pen = BorderDownColor;
            else if (Style == tasCheck && FDown)
                from = ColorChecked, to = ColorCheckedTo, pen = BorderDownColor;
            fillOrGradient(from, to, Rounded ? clNone : pen);
            if (Rounded) {
                canvas.Brush.Style = PBrush::bsClear;
                canvas.Pen.Color = FState == bsDown ? BorderDownColor : BorderHotColor;
                canvas.RoundRect(r.left() - 1, r.top() - 1, r.right() + 2, r.bottom() + 2, 8, 8);
            }
            if (DropDownButton) {
                canvas.MoveTo(r.right() - 11, r.top());
                canvas.LineTo(r.right() - 11, r.bottom() + 1);
            }
        }
        r.adjust(1, 1, -1, -1);
    } else {
        unsigned s = platform::DFCS_BUTTONPUSH | platform::DFCS_ADJUSTRECT;
        if (FState == bsDown || FState == bsExclusive)
            s |= platform::DFCS_PUSHED;
        platform::DrawFrameControl(canvas, r, platform::DFC_BUTTON, s);
    }
    QPoint offset;
    if ((FState == bsDown || FState == bsExclusive) && !FFlat)
        offset = QPoint(1, 1);
    else if (FFlat && isEnabled() && Shaded && hot && FState != bsDown)
        offset = QPoint(-1, -1);
    if (DropDownButton) {
        const int c = r.top() + r.height() / 2 - 1, right = r.left() + r.width();
        canvas.Pen.Color = canvas.Font.Color;
        canvas.Brush.Style = PBrush::bsSolid;
        canvas.Brush.Color = canvas.Font.Color;
        canvas.Polygon(QPolygon({{right - 8, c}, {right - 4, c}, {right - 6, c + 2}}));
        r.setWidth(std::max(0, r.width() - 12));
    }
    const QImage* glyph = &Glyph;
    if (hot && (FState == bsUp || FState == bsDisabled) && !GlyphHot.isNull())
        glyph = &GlyphHot;
    else if ((FState == bsDown || FState == bsExclusive) && !GlyphDown.isNull())
        glyph = &GlyphDown;
    if (!isEnabled() && !GlyphDisabled.isNull())
        glyph = &GlyphDisabled;
    const QSize textSize = Caption.isEmpty() ? QSize() : QSize(canvas.TextWidth(Caption), canvas.TextHeight(Caption));
    const TButtonLayoutResult lay =
        LayoutGlyphAndCaption(r.size(), glyph->size(), textSize, Layout, FMargin, FSpacing);
    const QPoint origin = r.topLeft() + offset;
    if (!glyph->isNull()) {
        const QPoint gp = Caption.isEmpty() ? QPoint(0, 0) : origin + lay.Glyph;
        if (Shaded && isEnabled() && hot && FState != bsDown && !FGlyphShade.isNull())
            canvas.DrawTransparent(gp.x() + (Caption.isEmpty() ? 0 : 2), gp.y() + (Caption.isEmpty() ? 0 : 2), FGlyphShade);
        canvas.DrawTransparent(gp.x(), gp.y(), *glyph);
    }
    if (ShowCaption && !Caption.isEmpty()) {
        QRect tr(origin + lay.Caption, textSize);
        if (FFlat && Shaded && isEnabled() && hot && FState != bsDown && FState != bsExclusive)
            tr.translate(1, 1);
        canvas.Brush.Style = PBrush::bsClear;
        const unsigned flags = platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE;
        if (!isEnabled()) {
            QRect shadow = tr.translated(1, 1);
            canvas.Font.Color = platform::clBtnHighlight;
            canvas.DrawText(Caption, shadow, flags);
            canvas.Font.Color = platform::clBtnShadow;
        }
        canvas.DrawText(Caption, tr, flags);
    }
}

// ---- TExtCheckBox ----

TExtCheckBox::TExtCheckBox(QWidget* parent) : TCustomControl(parent)
{
    SetBounds(0, 0, 98, 20);
    SetTabStop(true);
    FAccelerator = new QShortcut(this);
    FAccelerator->setContext(Qt::WindowShortcut);
    QObject::connect(FAccelerator, &QShortcut::activated, this, [this] {
        if (isEnabled() && isVisible())
            Accelerator();
    });
}

void TExtCheckBox::SetCaption(const QString& value)
{
    FCaption = value;
    FAccelerator->setKey(QKeySequence::mnemonic(value));
    Invalidate();
}

void TExtCheckBox::SetTransparent(bool value)
{
    if (value != FTransparent) {
        FTransparent = value;
        DropBackground();
    }
    Repaint();
}

void TExtCheckBox::DropBackground()
{
    FBkgCache = false;
    FBkgBmp = QImage();
}

void TExtCheckBox::moveEvent(QMoveEvent* event)
{
    TCustomControl::moveEvent(event);
    if (FTransparent) {
        DropBackground();
        Invalidate();
    }
}

void TExtCheckBox::resizeEvent(QResizeEvent* event)
{
    TCustomControl::resizeEvent(event);
    if (FTransparent) {
        DropBackground();
        Invalidate();
    }
}

QImage TExtCheckBox::ParentBackground() const
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (QWidget* parent = parentWidget())
        // The parent alone, clipped to its client area: its other children are not background.
        parent->render(&image, QPoint(), QRegion(geometry().intersected(parent->rect())),
                       QWidget::DrawWindowBackground);
    return image;
}

void TExtCheckBox::SetState(TCheckBoxState value)
{
    if (value == FState)
        return;
    FState = value;
    InvalidateRect(BoxRight ? QRect(ClientWidth() - 20, 0, 20, ClientHeight()) : QRect(0, 0, 20, ClientHeight()));
}

void TExtCheckBox::SetChecked(bool value)
{
    SetState(value ? cbChecked : cbUnchecked);
    Invalidate();
}

void TExtCheckBox::Toggle()
{
    if (!ReadOnly)
        SetChecked(!Checked());
}

void TExtCheckBox::DoClick()
{
    if (!FClicksDisabled && OnClick)
        OnClick();
}

void TExtCheckBox::Accelerator()
{
    Toggle();
    if (TabStop())
        SetFocus();
}

void TExtCheckBox::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != platform::mbLeft)
        return;
    FMouseDown = true;
    if (!Focused())
        SetFocus();
    SetMouseCapture(true);
    FDownState = true;
    InvalidateRect(QRect(0, 0, 16, 16));
}

void TExtCheckBox::MouseMove(platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (MouseCapture())
        FDownState = x >= 0 && x <= width() && y >= 0 && y <= height();
}

void TExtCheckBox::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    SetMouseCapture(false);
    FDownState = false;
    const bool inside = x >= 0 && x <= width() && y >= 0 && y <= height();
    if (inside && FMouseDown) {
        FClicksDisabled = true;
        Toggle();
        FClicksDisabled = false;
        DoClick();
    }
    FMouseDown = false;
    InvalidateRect(QRect(0, 0, 16, 16));
}

void TExtCheckBox::KeyDown(int& key, platform::TShiftState shift)
{
    if (key == platform::VK_RETURN && ReturnIsTab) {
        key = 0;
        focusNextChild();
        return;
    }
    if (key == platform::VK_SPACE)
        FDownState = true;
    TCustomControl::KeyDown(key, shift);
}

void TExtCheckBox::KeyUp(int& key, platform::TShiftState shift)
{
    if (key == platform::VK_SPACE) {
        FDownState = false;
        Toggle();
        DoClick();
    }
    TCustomControl::KeyUp(key, shift);
}

void TExtCheckBox::MouseEnter()
{
    FHot = true;
    InvalidateRect(QRect(0, 0, 16, 16));
}

void TExtCheckBox::MouseLeave()
{
    FHot = false;
    InvalidateRect(QRect(0, 0, 16, 16));
}

void TExtCheckBox::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Font = Font();
    if (FTransparent) {
        if (!TransparentChaching) {
            canvas.Draw(0, 0, ParentBackground());
        } else {
            if (!FBkgCache) {
                FBkgBmp = ParentBackground();
                FBkgCache = true;
            }
            canvas.Draw(0, 0, FBkgBmp);
        }
    }
    const int w = ClientWidth(), h = ClientHeight();
    const bool enabled = isEnabled();
    if (controls::IsThemeActive()) {
        const int x = BoxRight ? w - 15 : 0;
        const int y = ButtonVertAlign == tlTop ? 4 : ButtonVertAlign == tlCenter ? h / 2 - 6 : h - 14;
        int state = 1;
        if (!enabled)
            state = 4;
        else if (FDownState)
            state = 3;
        else if (FHot)
            state = 2;
        state += FState == cbChecked ? 4 : FState == cbGrayed ? 8 : 0;
        controls::HTHEME theme = controls::OpenThemeData(this, QStringLiteral("button"));
        controls::DrawThemeBackground(theme, canvas, controls::BP_CHECKBOX, state, QRect(x, y, 14, 14));
        controls::CloseThemeData(theme);
    } else {
        const int x = BoxRight ? w - 13 : 0;
        const int y = ButtonVertAlign == tlTop ? 4 : ButtonVertAlign == tlCenter ? h / 2 - 6 : h - 17;
        QRect box(x, y, 13, 13);
        unsigned s = platform::DFCS_BUTTONCHECK;
        if (FState == cbGrayed || !enabled)
            s |= platform::DFCS_INACTIVE;
        if (FState == cbChecked)
            s |= platform::DFCS_CHECKED;
        platform::DrawFrameControl(canvas, box, platform::DFC_BUTTON, s);
    }
    QRect tr = ClientRect();
    if (BoxRight)
        tr.adjust(6, 4, -9, 0);
    else
        tr.adjust(15, 4, 0, 0);
    canvas.Brush.Style = PBrush::bsClear;
    unsigned flags = platform::DT_LEFT | platform::DT_TOP | platform::DT_SINGLELINE;
    if (Ellipsis)
        flags |= platform::DT_END_ELLIPSIS;
    if (!enabled) {
        QRect shadow = tr.translated(1, 1);
        canvas.Font.Color = platform::clWhite;
        canvas.DrawText(FCaption, shadow, flags);
        canvas.Font.Color = platform::clGray;
    }
    QRect drawn = tr;
    canvas.DrawText(FCaption, drawn, flags);
    if (Focused())
        canvas.DrawFocusRect(platform::Rect(tr.left() - 2, tr.top(), tr.left() + canvas.TextWidth(FCaption) + 1,
                                            tr.top() + canvas.TextHeight(FCaption) + 1));
}

// ---- Arrow and focus windows ----

QPolygon TArrowWindow::Outline(TArrowDirection direction)
{
    switch (direction) {
    case arrUp: return QPolygon({{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}});
    case arrDown: return QPolygon({{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}});
    case arrLeft: return QPolygon({{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}});
    case arrRight: return QPolygon({{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}});
    }
    return {};
}

namespace {

constexpr Qt::WindowFlags MarkerFlags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                        Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus;

void MakeMarker(QWidget* w)
{
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setFocusPolicy(Qt::NoFocus);
}

TRect ScreenBounds(const QWidget* w)
{
    const QRect g = w->geometry();
    return TRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

}  // namespace

TArrowWindow::TArrowWindow(QWidget* owner, TArrowDirection direction) { Init(owner, direction); }

void TArrowWindow::Init(QWidget* owner, TArrowDirection direction)
{
    Dir = direction;
    Arrow = Outline(direction);
    setParent(owner, MarkerFlags);
    MakeMarker(this);
    resize(Arrow.boundingRect().size() + QSize(1, 1));
    setMask(QRegion(Arrow, Qt::WindingFill));
    hide();
}

void TArrowWindow::SetColor(TColor color)
{
    FColor = color;
    update();
}

void TArrowWindow::ShowAt(QPoint screen)
{
    move(screen);
    show();
    raise();
}

TRect TArrowWindow::Bounds() const { return ScreenBounds(this); }

void TArrowWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), platform::ToQColor(FColor));
}

THeaderDragButton::THeaderDragButton(QWidget* owner) : QWidget(owner, MarkerFlags)
{
    MakeMarker(this);
    hide();
}

void THeaderDragButton::SetCaption(const QString& caption)
{
    FCaption = caption;
    update();
}

void THeaderDragButton::ShowAt(QRect screen)
{
    setGeometry(screen);
    show();
    raise();
}

TRect THeaderDragButton::Bounds() const { return ScreenBounds(this); }

void THeaderDragButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, palette().button());
    // A raised edge: light top-left, dark bottom-right.
    p.setPen(palette().light().color());
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().dark().color());
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(palette().buttonText().color());
    // drawText takes the caption as plain text: no mark-up is interpreted.
    p.drawText(r.adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextSingleLine, FCaption);
}

TGridFocusWindow::TGridFocusWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput |
                         Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setEnabled(false);
    resize(0, 0);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 0, 0));
    setPalette(pal);
}

void TGridFocusWindow::paintEvent(QPaintEvent*)
{
    const QImage image = property("layeredImage").value<QImage>();
    if (image.isNull())
        return;
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image);
}

// ---- Alpha mask and blur ----

void TGridAlphaMask::Assign(const TGridAlphaMask& source)
{
    Opacity = source.Opacity;
    const QImage src = source.Bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Bitmap = Bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int rows = std::min(Bitmap.height(), src.height());
    const int bytes = std::min(Bitmap.width(), src.width()) * 4;
    for (int y = 0; y < rows; ++y)
        std::copy_n(src.constScanLine(y), bytes, Bitmap.scanLine(y));
}

void TGridAlphaMask::Assign(const QImage& source) { Bitmap = source.convertToFormat(QImage::Format_ARGB32_Premultiplied); }

void TGridAlphaMask::MergeMask(const QImage& mask, const QImage& bitmap, TColor color)
{
    Q_UNUSED(color);
    if (bitmap.format() != QImage::Format_RGB888)
        return;
    Bitmap = QImage(bitmap.size(), QImage::Format_ARGB32_Premultiplied);
    const QImage m = mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const int alpha = x < m.width() && y < m.height() ? qRed(m.pixel(x, y)) : 0;
            const QRgb p = bitmap.pixel(x, y);
            auto pre = [alpha](int v) { return int(std::nearbyint(v * alpha / 255.0)); };
            Bitmap.setPixel(x, y, qRgba(pre(qRed(p)), pre(qGreen(p)), pre(qBlue(p)), alpha));
        }
}

void DrawBlurredRoundRectMask(QImage& bitmap, int width, int height, int penWidth, int cornerSize, double blurRadius)
{
    bitmap = QImage(std::max(0, width), std::max(0, height), QImage::Format_RGB888);
    bitmap.fill(Qt::black);
    if (bitmap.isNull())
        return;
    {
        QPainter p(&bitmap);
        const int c = penWidth / 2;
        const QRectF r(QPointF(c + 2, c + 2), QPointF(width - c - 2, height - c - 2));
        if (penWidth < 1) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
        } else {
            p.setPen(QPen(Qt::white, penWidth));
            p.setBrush(Qt::black);
        }
        p.drawRoundedRect(r, cornerSize / 2.0, cornerSize / 2.0);
    }
    if (blurRadius > 0)
        BlurBitmap24(bitmap, blurRadius);
}

namespace {

// out[a] = sum of w(t) x in[clamp(a - t)], per channel, limited to 0..255 and truncated.
void BlurLine(std::vector<uint8_t*>& pixels, const std::vector<double>& w, int j)
{
    const int n = int(pixels.size());
    std::vector<uint8_t> out(size_t(n) * 3);
    for (int a = 0; a < n; ++a)
        for (int ch = 0; ch < 3; ++ch) {
            double sum = 0;
            for (int t = -j; t <= j; ++t)
                sum += w[size_t(t + j)] * pixels[size_t(std::clamp(a - t, 0, n - 1))][ch];
            // The weights sum to 1 only up to rounding: without the allowance a full 255 would
            // truncate to 254 and every blur would darken.
            out[size_t(a) * 3 + ch] = uint8_t(std::clamp(sum + 1e-6, 0.0, 255.0));
        }
    for (int a = 0; a < n; ++a)
        std::copy_n(&out[size_t(a) * 3], 3, pixels[size_t(a)]);
}

}  // namespace

void BlurBitmap24(QImage& bitmap, double radius)
{
    if (bitmap.format() != QImage::Format_RGB888)
        throw platform::Exception(QStringLiteral("Blur only works for 24-bit bitmaps"));
    if (!(radius > 0) || bitmap.isNull())
        return;
    double kernel[21];
    double sum = 0;
    for (int k = 0; k <= 20; ++k) {
        const double d = (k - 10) / radius;
        kernel[k] = std::exp(-d * d / 2);
        sum += kernel[k];
    }
    for (double& v : kernel)
        v /= sum;
    int j = 10;
    double dropped = 0;
    while (dropped < 1.0 / 510 && j > 1) {
        dropped += 2 * kernel[10 + j];
        --j;
    }
    std::vector<double> w(size_t(2 * j + 1));
    sum = 0;
    for (int t = -j; t <= j; ++t)
        sum += w[size_t(t + j)] = kernel[10 + t];
    for (double& v : w)
        v /= sum;

    const int width = bitmap.width(), height = bitmap.height();
    auto edge = [](int i, int n) { return i < 21 || i >= n - 20; };
    std::vector<uint8_t*> line;
    for (int y = 0; y < height; ++y) {
        if (!edge(y, height))
            continue;
        line.clear();
        for (int x = 0; x < width; ++x)
            line.push_back(bitmap.scanLine(y) + x * 3);
        BlurLine(line, w, j);
    }
    // The middle rows are all alike: copies of a blurred row.
    for (int y = 0; y < height; ++y)
        if (!edge(y, height) && height > 15)
            std::copy_n(bitmap.constScanLine(15), width * 3, bitmap.scanLine(y));
    for (int x = 0; x < width; ++x) {
        if (!edge(x, width))
            continue;
        line.clear();
        for (int y = 0; y < height; ++y)
            line.push_back(bitmap.scanLine(y) + x * 3);
        BlurLine(line, w, j);
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.scanLine(y);
        for (int x = 0; x < width; ++x)
            if (!edge(x, width) && width > 15)
                std::copy_n(row + 15 * 3, 3, row + x * 3);
    }
}

}  // namespace grid::helpers

// In-cell boxes of cell forms

namespace grid {

namespace {

bool IsTabKey(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Tab && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool IsEnterKey(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

// The grid a box sits in: its parent, or the grid whose client area is its parent.
TExtStringGrid* ParentGrid(const QWidget* box)
{
    QWidget* p = box->parentWidget();
    for (int level = 0; p && level < 2; ++level, p = p->parentWidget())
        if (auto* g = dynamic_cast<TExtStringGrid*>(p))
            return g;
    return nullptr;
}

// Enter and Tab leave the box: its exit handling runs, then Enter gives the focus to the grid and
// Tab goes on to the next cell (automatic advance) or to the cell's next form control.
void LeaveBox(TExtStringGrid& grid, bool tab, const QString& id, const TNotifyEvent& onExit, bool& exited)
{
    exited = true;
    if (onExit)
        onExit();
    if (!tab)
        grid.SetFocus();
    else if (grid.Navigation.AdvanceAuto())
        grid.AdvanceEdit(grid.Col(), grid.Row());
    else
        grid.FocusNextCellControl(grid.Col(), grid.Row(), id);
}

// The boxes want Tab for themselves instead of the focus chain.
bool IsTabPress(const QEvent* e) { return e->type() == QEvent::KeyPress && IsTabKey(static_cast<const QKeyEvent*>(e)); }

}  // namespace

template <class Box>
bool TCellFormBox<Box>::event(QEvent* e)
{
    if (IsTabPress(e)) {
        keyPressEvent(static_cast<QKeyEvent*>(e));
        return true;
    }
    return Box::event(e);
}

template <class Box>
void TCellFormBox<Box>::keyPressEvent(QKeyEvent* e)
{
    const bool tab = IsTabKey(e);
    if (TExtStringGrid* grid = KeyGrid(); grid && (tab || IsEnterKey(e))) {
        e->accept();
        LeaveBox(*grid, tab, ControlID, OnExit, FExited);
        return;
    }
    // A Tab is always the box's own.
    if (tab) {
        e->accept();
        return;
    }
    Box::keyPressEvent(e);
}

template <class Box>
void TCellFormBox<Box>::focusInEvent(QFocusEvent* e)
{
    FExited = false;
    Box::focusInEvent(e);
}

template <class Box>
void TCellFormBox<Box>::focusOutEvent(QFocusEvent* e)
{
    Box::focusOutEvent(e);
    // The box's own drop-down list and a switch to another window leave the box open.
    if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason)
        return;
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (w == this)
            return;
    // Once per visit: Enter and Tab have run it already.
    if (!std::exchange(FExited, true) && OnExit)
        OnExit();
}

template class TCellFormBox<QLineEdit>;
template class TCellFormBox<QComboBox>;

TExtStringGrid* TControlEdit::KeyGrid() const { return ParentGrid(this); }

void TExtStringGrid::AdvanceEdit(int ACol, int ARow)
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->AdvanceEdit(ACol, ARow))
        return;
    // One step in the advance direction, wrapping to the next row (column) where the direction
    // allows it.
    int c = ACol, r = ARow;
    const TAdvanceDirection d = Navigation.AdvanceDirection();
    if (d == adTopBottom || d == adTopBottomInCol) {
        if (r < RowCount() - 1)
            ++r;
        else if (d == adTopBottom && c < ColCount() - 1)
            r = FixedRows(), ++c;
    } else {
        if (c < ColCount() - 1)
            ++c;
        else if (d == adLeftRight && r < RowCount() - 1)
            c = FixedCols(), ++r;
    }
    SetFocus();
    MoveColRow(c, r);
}

void TExtStringGrid::FocusNextCellControl(int ACol, int ARow, const QString& AfterID)
{
    if (TGridEditLayer* layer = EditLayer(); layer && layer->FocusNextCellControl(ACol, ARow, AfterID))
        return;
    // Without a form control left to open, the grid itself takes the focus.
    SetFocus();
}

}  // namespace grid
