#include "controls/buttons_pages/PicButton.h"
#include "platform/OwnedObject.h"

#include "controls/buttons_pages/PicGlyphs.h"
#include "platform/TForm.h"

#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>

namespace controls {

using namespace platform;

namespace {

struct KindPreset {
    TPicButtonKind kind;
    const char* caption;
    int modalResult;
};

constexpr KindPreset KindPresets[] = {
    {bkOK, "OK", 1},          {bkCancel, "Abbrechen", 2}, {bkHelp, "Hilfe", 0},
    {bkYes, "Ja", 6},         {bkNo, "Nein", 7},          {bkClose, "Schließen", 0},
    {bkAbort, "Abbrechen", 3}, {bkRetry, "Wiederholen", 4}, {bkIgnore, "Ignorieren", 5},
    {bkAll, "Alle", 12},
};

TForm* HoldingForm(QWidget* w)
{
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
        if (auto* form = qobject_cast<TForm*>(p))
            return form;
    return nullptr;
}

}  // namespace

TPicButton::TPicButton(QWidget* parent) : TCustomControl(parent)
{
    resize(100, 23);
    SetDoubleClicks(false);
    SetTabStop(true);
    SetColor(clBtnFace);
    // The hot-track font starts as the font of the window holding the button.
    FHTFont = TFont(parent ? parent->window()->font() : font(), clWindowText);
    FFader = new TPicButtonFader([this] { FadeStep(); }, this);
}

TPicButton::~TPicButton()
{
    FDestroying = true;
    StopFader();
    if (FDialogKeyTarget)
        FDialogKeyTarget->removeEventFilter(this);
}

void TPicButton::StopFader()
{
    if (!FFader)
        return;
    FFader->Suspend();
    platform::Destroy_Now(FFader);
}

void TPicButton::SetCaption(const QString& caption)
{
    FCaption = caption;
    UpdateAccelerator();
    Invalidate();
}

void TPicButton::UpdateAccelerator()
{
    if (FShortcutId != 0) {
        releaseShortcut(FShortcutId);
        FShortcutId = 0;
    }
    const QKeySequence seq = QKeySequence::mnemonic(FCaption);
    if (!seq.isEmpty())
        FShortcutId = grabShortcut(seq);
}

void TPicButton::SetModalResult(int result)
{
    FModalResult = result;
    FKind = bkCustom;
}

void TPicButton::SetGlyph(const QImage& glyph)
{
    if (glyph.isNull()) {
        FGlyph = QImage();
        FNumGlyphs = 0;
    } else {
        FGlyph = glyph.convertToFormat(QImage::Format_ARGB32);
        FNumGlyphs = FGlyph.height() > 0 ? FGlyph.width() / FGlyph.height() : 0;
    }
    FKind = bkCustom;
    Invalidate();
}

void TPicButton::SetGlyph(const QPixmap& glyph, int numGlyphs)
{
    SetGlyph(glyph.isNull() ? QImage() : glyph.toImage());
    if (numGlyphs > 0 && !FGlyph.isNull())
        SetNumGlyphs(numGlyphs);
}

void TPicButton::SetNumGlyphs(int n)
{
    FNumGlyphs = n;
    Invalidate();
}

void TPicButton::SetAlignment(TAlignment a)
{
    FAlignment = a;
    Repaint();
}

void TPicButton::SetCancel(bool on)
{
    FCancel = on;
    UpdateDialogKeyFilter();
}

void TPicButton::SetDefault(bool on)
{
    FDefault = on;
    UpdateDialogKeyFilter();
}

void TPicButton::SetColorStyle(TPicColorStyle style)
{
    if (style == lcsCustom)
        return;
    TColor color = Color(), light = FLightColor, shadow = FShadowColor, down = FColorWhenDown,
           hot = FHotTrackColor, fontColor = FontColor();
    bool flat = FFlat, modern = false, quicken = false;
    GetColorStyleColors(style, color, light, shadow, down, hot, fontColor, flat, modern, quicken);
    SetColor(color);
    FLightColor = light;
    FShadowColor = shadow;
    FColorWhenDown = down;
    FHotTrackColor = hot;
    FFlat = flat;
    SetFontColor(fontColor);
    FStyle = modern ? bsModern : quicken ? bsQuicken : bsNormal;
    Repaint();
}

void TPicButton::SetFlat(bool on)
{
    FFlat = on;
    Repaint();
}

void TPicButton::SetKind(TPicButtonKind kind)
{
    if (kind != bkCustom)
        for (const KindPreset& preset : KindPresets)
            if (preset.kind == kind) {
                FNumGlyphs = 2;
                SetModalResult(preset.modalResult);
                // Loaded straight into the glyph: the strip keeps its two frames.
                FGlyph = KindGlyph(kind);
                SetCaption(QString::fromUtf8(preset.caption));
                break;
            }
    FKind = kind;
    Invalidate();
}

void TPicButton::SetLayout(TPicButtonLayout layout)
{
    FLayout = layout;
    Repaint();
}

void TPicButton::SetLightColor(TColor c)
{
    FLightColor = c;
    Repaint();
}

void TPicButton::SetShadowColor(TColor c)
{
    FShadowColor = c;
    Repaint();
}

void TPicButton::SetSlowDecease(bool on)
{
    FSlowDecease = on;
    if (on && !FFader)
        FFader = new TPicButtonFader([this] { FadeStep(); }, this);
    else if (!on && FFader) {
        FHotTrackStep = 0;
        StopFader();
    }
    Invalidate();
}

void TPicButton::SetStyle(TPicButtonStyle style)
{
    // Modern, shape and quicken faces leave their corners to the parent: the control paints no
    // background of its own, so the parent shows wherever the face is transparent.
    FStyle = style;
    Invalidate();
}

void TPicButton::SetWordWrap(bool on)
{
    FWordWrap = on;
    Repaint();
}

bool TPicButton::ParentShowing() const { return parentWidget() && parentWidget()->isVisible(); }

bool TPicButton::ShownDown() const { return bDown && (!FMousePressed || FPointerInside); }

void TPicButton::Click()
{
    bDown = true;
    DoClick();
}

void TPicButton::DoClick()
{
    if (!Visible() || !Enabled() || !bDown)
        return;
    bDown = false;
    QPointer<TPicButton> self(this);
    if (OnClick)
        OnClick();
    if (!self)
        return;
    if (FModalResult != 0)
        if (TForm* form = HoldingForm(this))
            form->SetModalResult(FModalResult);
    if (!self)
        return;
    if (QMenu* menu = PopupMenu())
        menu->popup(mapToGlobal(QPoint(0, height())));
    if (self && FAction)
        FAction->trigger();
}

void TPicButton::SetAction(QAction* action)
{
    if (FAction == action)
        return;
    disconnect(FActionLink);
    FAction = action;
    if (!action)
        return;
    FActionLink = connect(action, &QAction::changed, this, [this] { ActionChange(); });
    ActionChange();
}

void TPicButton::ActionChange()
{
    if (!FAction)
        return;
    SetCaption(FAction->text());
    SetHint(FAction->toolTip());
    setEnabled(FAction->isEnabled());
    setVisible(FAction->isVisible());
    const QIcon icon = FAction->icon();
    if (!FGlyph.isNull() || icon.isNull())
        return;
    const QList<QSize> sizes = icon.availableSizes();
    const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.front();
    // The magenta ground is the transparent colour of a glyph (its bottom-left pixel).
    QImage glyph(size, QImage::Format_ARGB32);
    glyph.fill(platform::ToQColor(0x00FF00FF));
    QPainter painter(&glyph);
    icon.paint(&painter, QRect(QPoint(0, 0), size), Qt::AlignCenter, QIcon::Normal);
    painter.end();
    FGlyph = glyph;
    FNumGlyphs = 1;
    Repaint();
}

void TPicButton::FadeStep()
{
    if (FDestroying)
        return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        if (FFader && !FFader->Suspended())
            FFader->Suspend();
        FHotTrackStep = 0;
    }
    Repaint();
}

void TPicButton::Paint()
{
    if (!isVisible() || FDestroying)
        return;
    const int W = width(), H = height();
    const qreal dpr = devicePixelRatioF();
    // The whole face goes to an off-screen picture first and then to the window in one copy.
    QImage face(QSize(W, H) * dpr, QImage::Format_ARGB32_Premultiplied);
    face.setDevicePixelRatio(dpr);
    face.fill(Qt::transparent);
    const bool focused = hasFocus();
    const bool down = ShownDown();
    const TFont font = (FUseHTFont && Hot()) ? FHTFont : Font();
    {
        TCanvas c(&face);
        if (FStyle == bsOld && focused) {
            c.Painter()->translate(1, 1);
            DrawButtonFace(c, W - 2, H - 2, FHotTrackStep, FNumGlyphs, FGlyph, down, Hot(), isEnabled(), FFlat,
                           FWordWrap, PopupMenu() != nullptr, FStyle, Color(), FColorWhenDown, FHotTrackColor,
                           down ? FShadowColor : FLightColor, FShadowColor, font, FLayout, FCaption, FAlignment);
            c.Painter()->translate(-1, -1);
            c.Pen = TPen{clBlack, 1, TPenStyle::psSolid};
            c.Brush.Style = TBrushStyle::bsClear;
            c.Rectangle(0, 0, W, H);
        } else {
            DrawButtonFace(c, W, H, FHotTrackStep, FNumGlyphs, FGlyph, down, Hot(), isEnabled(), FFlat, FWordWrap,
                           PopupMenu() != nullptr, FStyle, Color(), FColorWhenDown, FHotTrackColor, FLightColor,
                           FShadowColor, font, FLayout, FCaption, FAlignment);
        }
    }
    Canvas().Draw(0, 0, face);
    if (focused && isEnabled() && FStyle != bsShape)
        Canvas().DrawFocusRect(Rect(4, 4, W - 4, H - 4));
}

void TPicButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !isEnabled())
        return;
    bDown = true;
    FMousePressed = true;
    FPointerInside = true;
    SetFocus();
    Repaint();
}

void TPicButton::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (!FMousePressed)
        return;
    const bool inside = rect().contains(x, y);
    if (inside != FPointerInside) {
        FPointerInside = inside;
        Repaint();
    }
}

void TPicButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft)
        return;
    // A press the user drags off the button before letting go is no click.
    const bool click = bDown && rect().contains(x, y);
    FMousePressed = false;
    QPointer<TPicButton> self(this);
    try {
        if (click)
            Click();
    } catch (...) {
        if (self) {
            bDown = false;
            Repaint();
        }
        throw;
    }
    if (!self)
        return;
    bDown = false;
    Repaint();
}

void TPicButton::KeyDown(int& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if ((key == VK_RETURN || key == VK_SPACE) && isEnabled()) {
        bDown = true;
        FKeyPressed = key;
        Repaint();
        key = 0;
    }
}

void TPicButton::KeyUp(int& key, TShiftState shift)
{
    TCustomControl::KeyUp(key, shift);
    if (key == VK_RETURN || key == VK_SPACE) {
        // Only the release of a key pressed on this button clicks it: a key pressed elsewhere
        // (the Enter that opened this window) must not.
        const bool click = FKeyPressed == key && bDown;
        FKeyPressed = 0;
        key = 0;
        QPointer<TPicButton> self(this);
        if (click)
            Click();
        if (!self)
            return;
    }
    Repaint();
}

void TPicButton::MouseEnter()
{
    if (!isEnabled() || !isVisible() || !ParentShowing())
        return;
    bCursorOnButton = true;
    FHotTrackStep = HotTrackSteps;
    Repaint();
    if (OnMouseEnter)
        OnMouseEnter();
}

void TPicButton::MouseLeave()
{
    bCursorOnButton = false;
    if (FSlowDecease) {
        if (FFader && FFader->Suspended())
            FFader->Resume();
    } else {
        FHotTrackStep = 0;
        Repaint();
    }
    if (isEnabled() && isVisible() && ParentShowing() && OnMouseExit)
        OnMouseExit();
}

void TPicButton::DoEnter()
{
    TCustomControl::DoEnter();
    Repaint();
}

void TPicButton::DoExit()
{
    TCustomControl::DoExit();
    // A key held down when the focus moves on is released elsewhere: drop its press.
    if (FKeyPressed != 0 && !FMousePressed) {
        FKeyPressed = 0;
        bDown = false;
    }
    Repaint();
}

void TPicButton::EnabledChanged()
{
    bDown = false;
    FMousePressed = false;
    FKeyPressed = 0;
    Repaint();
}

bool TPicButton::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Shortcut: {
        auto* se = static_cast<QShortcutEvent*>(event);
        if (se->shortcutId() != FShortcutId || FShortcutId == 0)
            break;
        if (isVisible() && isEnabled() && ParentShowing()) {
            bDown = true;
            Click();
        }
        return true;
    }
    case QEvent::ParentChange:
        UpdateDialogKeyFilter();
        break;
    default:
        break;
    }
    return TCustomControl::event(event);
}

void TPicButton::UpdateDialogKeyFilter()
{
    QWidget* target = (FDefault || FCancel) ? window() : nullptr;
    if (target == this)
        target = nullptr;
    if (FDialogKeyTarget == target)
        return;
    if (FDialogKeyTarget)
        FDialogKeyTarget->removeEventFilter(this);
    FDialogKeyTarget = target;
    if (target)
        target->installEventFilter(this);
}

bool TPicButton::eventFilter(QObject* watched, QEvent* event)
{
    // Enter and Escape that no control took reach the window: the Default and Cancel buttons get them.
    if (watched == FDialogKeyTarget && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (DialogKey(ke->key(), ke->modifiers()))
            return true;
    }
    return TCustomControl::eventFilter(watched, event);
}

bool TPicButton::DialogKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) && FDefault;
    const bool escape = key == Qt::Key_Escape && FCancel &&
                        !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) && Visible() &&
                        Enabled();
    if (!enter && !escape)
        return false;
    QWidget* form = HoldingForm(this);
    if (!form)
        form = window();
    // With a button focused the key belongs to that button.
    if (QWidget* active = form->focusWidget()) {
        const QString name = QString::fromLatin1(active->metaObject()->className()).toUpper();
        if (name.contains(QLatin1String("BUTTON")) && !name.contains(QLatin1String("RADIOBUTTON")))
            return false;
    }
    bDown = true;
    Click();
    return true;
}

}  // namespace controls
