#include "controls/dropdowns/DropDownButtons.h"

#include "controls/common/ExtStyleIF.h"
#include "controls/common/ExtXPVS.h"
#include "controls/dropdowns/DropDownEdit.h"
#include "platform/FrameControl.h"
#include "platform/Guard.h"
#include "platform/TImageList.h"

#include <QApplication>
#include <QCursor>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <algorithm>

namespace dropdowns {

using namespace platform;

// ---- TExtDropDownSpeedButton

TExtDropDownSpeedButton::TExtDropDownSpeedButton(QWidget* parent) : QWidget(parent)
{
    IsWinXP = controls::ComCtl32MajorVersion() > 5;
    setAttribute(Qt::WA_Hover);
}

void TExtDropDownSpeedButton::SetButtonStyle(TButtonStyle value)
{
    FButtonStyle = value;
    update();
}

void TExtDropDownSpeedButton::SetFocused(bool value)
{
    FFocused = value;
    update();
}

TExtCustomDropDown* TExtDropDownSpeedButton::DropDown() const
{
    QWidget* host = parentWidget();
    return host ? qobject_cast<TExtCustomDropDown*>(host->parentWidget()) : nullptr;
}

void TExtDropDownSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas;
    canvas.Attach(&painter);
    Guarded([&] {
        if (FButtonStyle == bsDropDown)
            PaintDropDown(canvas);
        else
            PaintButton(canvas);
    });
    canvas.Detach();
}

namespace {

void Arrow(TCanvas& canvas, TColor color)
{
    canvas.Pen.Color = color;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Brush.Color = color;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Polygon(QPolygon({QPoint(5, 7), QPoint(11, 7), QPoint(8, 10)}));
}

int ThemeState(bool enabled, bool pressed, bool hot)
{
    if (!enabled)
        return controls::CBXS_DISABLED;
    if (pressed)
        return controls::CBXS_PRESSED;
    return hot ? controls::CBXS_HOT : controls::CBXS_NORMAL;
}

}  // namespace

void TExtDropDownSpeedButton::PaintDropDown(TCanvas& canvas)
{
    auto* host = qobject_cast<TDropDownEditButton*>(parentWidget());
    TExtCustomDropDown* edit = DropDown();
    const bool pressed = FDown && !FUp;
    const QRect client = rect();
    if (host && host->ButtonColor != clNone) {
        TColor brush = host->ButtonColor;
        if (FHot)
            brush = host->ButtonColorHot;
        if (pressed)
            brush = host->ButtonColorDown;
        canvas.Brush.Color = brush;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Pen.Color = brush;
        canvas.FillRect(client);
        canvas.Pen.Color = edit ? edit->BorderColor() : clNone;
        if (canvas.Pen.Color != clNone) {
            canvas.MoveTo(0, 0);
            canvas.LineTo(0, height());
        }
        TColor text = host->ButtonTextColor;
        if (FHot)
            text = host->ButtonTextColorHot;
        if (pressed)
            text = host->ButtonTextColorDown;
        Arrow(canvas, text);
        return;
    }
    if (!Glyph.isNull()) {
        canvas.Brush.Color = clBtnFace;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Pen.Color = clGray;
        canvas.Rectangle(client);
        canvas.DrawTransparent(0, 0, Glyph);
        return;
    }
    // The arrow takes no clicks while the edit cannot open.
    setEnabled(!edit || (edit->isEnabled() && !edit->isReadOnly()));
    const bool enabled = isEnabled();
    if (IsWinXP && controls::IsThemeActive()) {
        controls::HTHEME theme = controls::OpenThemeData(parentWidget(), "combobox");
        QRect r = client;
        if (controls::HasGetLocaleInfoEx())
            r.setLeft(r.left() + 1);
        else
            r = r.adjusted(1, -1, 1, 1);
        controls::DrawThemeBackground(theme, canvas, controls::CP_DROPDOWNBUTTON, ThemeState(enabled, pressed, FHot),
                                      r);
        controls::CloseThemeData(theme);
        return;
    }
    canvas.Brush.Color = clBtnFace;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.FillRect(client);
    canvas.Pen.Color = pressed ? clBtnShadow : clBtnText;
    canvas.Pen.Width = 1;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle(client);
    canvas.Pen.Color = clBtnFace;
    canvas.MoveTo(width() - 2, 0);
    canvas.LineTo(0, 0);
    canvas.LineTo(0, height() - 1);
    canvas.Pen.Color = clWhite;
    canvas.MoveTo(width() - 3, 1);
    canvas.LineTo(1, 1);
    canvas.LineTo(1, height() - 2);
    Arrow(canvas, clBlack);
}

void TExtDropDownSpeedButton::PaintButton(TCanvas& canvas)
{
    TExtCustomDropDown* edit = DropDown();
    if (edit)
        canvas.Font = TFont(edit->font());
    const bool enabled = isEnabled();
    const bool pressed = FDown && !FUp;
    QRect r = rect();
    auto drawCaption = [&](QRect cr, unsigned align) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.DrawText(Caption, cr, align | DT_SINGLELINE | DT_VCENTER);
    };
    if (IsWinXP && controls::IsThemeActive()) {
        controls::HTHEME theme = controls::OpenThemeData(parentWidget(), "button");
        controls::DrawThemeBackground(theme, canvas, controls::BP_PUSHBUTTON, ThemeState(enabled, pressed, FHot),
                                      QRect(0, 0, width() + 1, height() + 1));
        controls::CloseThemeData(theme);
        if (!Glyph.isNull()) {
            QRect g = r.adjusted(2, 2, -2, -2);
            int x = g.left(), y = g.top();
            if (!Caption.isEmpty())
                x += 2;
            else if (Glyph.width() < g.width())
                x += (g.width() - Glyph.width()) / 2;
            if (Glyph.height() < g.height())
                y += (g.height() - Glyph.height()) / 2;
            if (pressed)
                x += 1, y += 1;
            canvas.DrawTransparent(x, y, Glyph);
            if (!Caption.isEmpty()) {
                QRect cr = g;
                cr.setLeft(x + Glyph.width() + 2);
                cr.setTop(cr.top() - 1);
                drawCaption(cr, DT_LEFT);
            }
        } else if (!Caption.isEmpty()) {
            QRect cr = r.adjusted(3, 1, -3, -1);
            if (pressed)
                cr.translate(1, 1);
            drawCaption(cr, DT_CENTER);
        }
        return;
    }
    canvas.Brush.Color = clBtnFace;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.FillRect(r);
    if (Flat) {
        // The edge's right and bottom rings fall just outside the button.
        QRect edge = r.adjusted(0, 0, 1, 1);
        const unsigned etched = BDR_SUNKENOUTER | BDR_RAISEDINNER;
        DrawEdge(canvas, edge, Etched ? etched : EDGE_RAISED, BF_RECT | (FDown ? BF_FLAT : 0u));
        const int shift = FDown ? 1 : 0;
        if (!Glyph.isNull())
            DrawTransparentBitmap(canvas, Glyph, clBtnFace, r.adjusted(3, 3, -3, -3).translated(shift, shift));
        if (!Caption.isEmpty())
            drawCaption(r.adjusted(3, 1, -3, -1).translated(shift, shift), DT_CENTER);
        return;
    }
    canvas.Pen.Color = clBtnShadow;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle(r);
    QRect inner = r.adjusted(3, 3, -3, -3);
    if (pressed)
        inner.translate(1, 1);
    if (!Glyph.isNull()) {
        QImage g = Glyph.copy();
        DrawTransparentBitmap(canvas, g, clBtnFace, QRect(inner.topLeft(), Glyph.size()));
    }
    if (!Caption.isEmpty())
        drawCaption(r.adjusted(3, 1, -3, -1).translated(pressed ? 1 : 0, pressed ? 1 : 0), DT_CENTER);
}

void TExtDropDownSpeedButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FHot = true;
    update();
}

void TExtDropDownSpeedButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    FHot = false;
    update();
}

void TExtDropDownSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        FDown = true;
        update();
    }
    event->accept();
}

void TExtDropDownSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        FDown = false;
        update();
    }
    event->accept();
    // The button keeps the mouse, so the release counts wherever it happens.
    if (OnMouseUp)
        OnMouseUp(event->button());
}

// ---- TDropDownEditButton

TDropDownEditButton::TDropDownEditButton(QWidget* parent) : QWidget(parent)
{
    FButton = new TExtDropDownSpeedButton(this);
    FButton->SetButtonStyle(bsDropDown);
    FButton->OnMouseUp = [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton && OnClick)
            OnClick();
    };
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    resize(16, 25);
}

void TDropDownEditButton::SetGlyph(const QImage& glyph)
{
    FButton->Glyph = glyph;
    FButton->update();
}

void TDropDownEditButton::SetButtonCaption(const QString& caption)
{
    FButton->Caption = caption;
    FButton->update();
}

void TDropDownEditButton::SetBWidth(int value)
{
    FBWidth = value;
    AdjustWinSize();
}

void TDropDownEditButton::SetBounds(int left, int top, int width, int height)
{
    Q_UNUSED(width);
    setGeometry(left, top, FBWidth, height);
    AdjustWinSize();
}

void TDropDownEditButton::AdjustWinSize()
{
    if (width() != FBWidth)
        resize(FBWidth, height());
    FButton->setGeometry(0, 0, FBWidth, height());
}

void TDropDownEditButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AdjustWinSize();
}

void TDropDownEditButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        FButton->setEnabled(isEnabled());
}

// ---- TExtButtonAppearance

TExtButtonAppearance::TExtButtonAppearance()
{
    FFont.SetName("Tahoma");
}

void TExtButtonAppearance::Assign(const TExtButtonAppearance& source)
{
    SetColor(source.Color());
    SetColorTo(source.ColorTo());
    SetColorHot(source.ColorHot());
    SetColorHotTo(source.ColorHotTo());
    SetColorDown(source.ColorDown());
    SetColorDownTo(source.ColorDownTo());
    SetColorChecked(source.ColorChecked());
    SetColorCheckedTo(source.ColorCheckedTo());
    SetColorDisabled(source.ColorDisabled());
    SetColorDisabledTo(source.ColorDisabledTo());
    SetBorderColor(source.BorderColor());
    SetBorderColorHot(source.BorderColorHot());
    SetBorderColorDown(source.BorderColorDown());
    SetBorderColorChecked(source.BorderColorChecked());
    SetBorderColorDisabled(source.BorderColorDisabled());
    SetGradient(source.Gradient());
}

void TExtButtonAppearance::SetGradient(TGradientDirection value)
{
    if (FGradient == value)
        return;
    FGradient = value;
    Changed();
}

// ---- TExtButton

TExtButton::TExtButton(QWidget* parent) : TCustomControl(parent)
{
    SetBounds(0, 0, 23, 22);
    TFont f(font());
    f.SetName("Tahoma");
    setFont(f);
    SetShowHint(false);
}

TExtButton::~TExtButton() = default;

void TExtButton::SetAppearance(TExtButtonAppearance* value)
{
    FAppearance = value;
    Invalidate();
}

void TExtButton::SetImageIndex(int value)
{
    FImageIndex = value;
    Invalidate();
}

void TExtButton::SetCaption(const QString& value)
{
    FCaption = value;
    if (FAccelerator != 0)
        releaseShortcut(FAccelerator);
    const QKeySequence accelerator = QKeySequence::mnemonic(value);
    FAccelerator = accelerator.isEmpty() ? 0 : grabShortcut(accelerator);
    Invalidate();
}

bool TExtButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && FAccelerator != 0
        && static_cast<QShortcutEvent*>(event)->shortcutId() == FAccelerator) {
        if (isEnabled())
            Guarded([this] { Click(); });
        return true;
    }
    return TCustomControl::event(event);
}

TExtCustomDropDown* TExtButton::ExtDropDown() const
{
    return FExtDropDown;
}

void TExtButton::SetExtDropDown(TExtCustomDropDown* value)
{
    if (FExtDropDown != value)
        FExtDropDown = value;
}

void TExtButton::SizeToContent()
{
    if (!FAppearance)
        return;
    TCanvas canvas;
    canvas.Font = FAppearance->Font();
    // Measured as painted: the accelerator's "&" takes no room.
    QRect text(0, 0, 1000, 500);
    if (FCaption.isEmpty())
        text = QRect();
    else
        canvas.DrawText(FCaption, text, DT_SINGLELINE | DT_CALCRECT);
    int w = text.width(), h = text.height();
    if (FImages && FImageIndex >= 0) {
        w = std::max(w, FImages->Width());
        h = std::max(h, FImages->Height());
    }
    resize(w + 8, h + 4);
}

void TExtButton::SetDown(bool value)
{
    if (Style == tasButton && GroupIndex == 0)
        value = false;
    if (Style == tasCheck) {
        FDown = value;
        FState = value ? absDown : absUp;
        Repaint();
        return;
    }
    if (value == FDown || (FDown && !AllowAllUp))
        return;
    FDown = value;
    if (value) {
        if (FState == absUp)
            Invalidate();
        FState = absExclusive;
        if (QWidget* parent = parentWidget()) {
            for (QObject* child : parent->children())
                if (auto* other = qobject_cast<TExtButton*>(child))
                    other->ButtonPressed(GroupIndex, this);
        }
    } else {
        FState = absUp;
        Repaint();
    }
}

void TExtButton::ButtonPressed(int groupIndex, TExtButton* sender)
{
    if (sender == this || groupIndex != GroupIndex || GroupIndex == 0)
        return;
    if (sender->FDown && FDown) {
        FDown = false;
        FState = absUp;
        Invalidate();
    }
    AllowAllUp = sender->AllowAllUp;
}

void TExtButton::Click()
{
    QWidget* form = window();
    if (form)
        form->setProperty("ModalResult", ModalResult);
    if (FExtDropDown) {
        switch (ModalResult) {
        case mrOk: case mrYes: case mrAll: case mrYesToAll:
            FExtDropDown->HideDropDown(false);
            break;
        case mrCancel: case mrAbort: case mrIgnore: case mrNo: case mrNoToAll:
            FExtDropDown->HideDropDown(true);
            break;
        default:
            break;
        }
    }
    if (!FInternalClick && OnClick)
        OnClick();
}

void TExtButton::DrawButton(TCanvas& canvas)
{
    if (!FAppearance)
        return;
    const TExtButtonAppearance& a = *FAppearance;
    TColor face = a.Color(), faceTo = a.ColorTo(), border = a.BorderColor();
    if (!isEnabled())
        face = a.ColorDisabled(), faceTo = a.ColorDisabledTo(), border = a.BorderColorDisabled();
    else if (FMouseDownInControl && FMouseInControl)
        face = faceTo = a.ColorDown(), border = a.BorderColorDown();
    else if (FDown)
        face = faceTo = a.ColorChecked(), border = a.BorderColorChecked();
    else if (FMouseInControl || hasFocus())
        face = faceTo = a.ColorHot(), border = a.BorderColorHot();
    DrawGradientRect(&canvas, ClientRect(), face, faceTo, border, 1, a.Gradient());
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font = a.Font();
    DrawImageText(&canvas, ClientRect(), FCaption, FImages, FImageIndex);
}

void TExtButton::Paint()
{
    if (!isEnabled()) {
        FState = absDisabled;
        FDragging = false;
        FWasDisabled = true;
    } else if (FWasDisabled) {
        FWasDisabled = false;
        FState = FDown && GroupIndex != 0 ? absExclusive : absUp;
    }
    if (Style == tasCheck && FDown)
        FState = absDown;
    // Without a face of its own the button shows its parent through (the control is not opaque).
    DrawButton(Canvas());
}

void TExtButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !isEnabled())
        return;
    FMouseDownInControl = true;
    if (!FDown) {
        FState = absDown;
        Invalidate();
    }
    if (Style == tasCheck) {
        FState = absDown;
        Repaint();
    }
    FDragging = true;
}

void TExtButton::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (FDragging) {
        TExtButtonState state = FDown ? absExclusive : absUp;
        if (x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight())
            state = FDown ? absExclusive : absDown;
        if (Style == tasCheck && FDown)
            state = absDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TExtButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const bool wasPressed = FMouseDownInControl && button == mbLeft;
    FMouseDownInControl = false;
    Invalidate();
    TCustomControl::MouseUp(button, shift, x, y);
    if (!FDragging || button != mbLeft)
        return;
    FDragging = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
    if (GroupIndex != 0) {
        if (inside) {
            SetDown(!FDown);
            if (FDown)
                Repaint();
        } else if (FDown) {
            FState = absExclusive;
            Invalidate();
        }
    } else {
        FState = absUp;
        FMouseInControl = false;
        if (Style == tasCheck && inside) {
            SetDown(!FDown);
            FState = absUp;
        }
        if (inside && FState != absDown && FState != absExclusive)
            Invalidate();
    }
    UpdateTracking();
    if (wasPressed && inside && isEnabled())
        Click();
}

void TExtButton::KeyDown(int& key, TShiftState shift)
{
    if (key == VK_RETURN || key == VK_SPACE) {
        if (!FDown) {
            FState = absDown;
            Invalidate();
        }
        if (Style == tasCheck) {
            FState = absDown;
            Repaint();
        }
        FInternalClick = true;
        Click();
        FInternalClick = false;
    }
    TCustomControl::KeyDown(key, shift);
}

void TExtButton::MouseEnter()
{
    FMouseInControl = true;
    if (isEnabled())
        Invalidate();
    StartUnHotTimer();
    if (OnMouseEnter)
        OnMouseEnter();
}

void TExtButton::MouseLeave()
{
    FUnHotTimer.Stop();
    FMouseInControl = false;
    if (isEnabled())
        Invalidate();
    if (OnMouseLeave)
        OnMouseLeave();
}

void TExtButton::StartUnHotTimer()
{
    FUnHotTimer.Start(1, this, [this] { UnHotTick(); });
}

void TExtButton::UnHotTick()
{
    if (!rect().contains(mapFromGlobal(QCursor::pos()))) {
        FMouseInControl = false;
        if (isEnabled())
            Invalidate();
        return;
    }
    StartUnHotTimer();
}

void TExtButton::UpdateTracking()
{
    if (!isEnabled())
        return;
    const bool over = QApplication::widgetAt(QCursor::pos()) != nullptr &&
                      rect().contains(mapFromGlobal(QCursor::pos()));
    if (over && !FMouseInControl)
        MouseEnter();
    else if (!over && FMouseInControl)
        MouseLeave();
}

void TExtButton::EnabledChanged()
{
    Invalidate();
}

}  // namespace dropdowns
