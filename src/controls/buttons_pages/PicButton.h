#pragma once
#include "controls/buttons_pages/PicButtons.h"
#include "platform/TCustomControl.h"

#include <QAction>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

// The flat picture button of every window: a coloured face with a one-pixel edge, a caption and a
// glyph strip, hot tracking with an optional fade, Default/Cancel keys and a modal result that
// closes the window holding it.
namespace controls {

class TPicButton : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TPicButton(QWidget* parent = nullptr);
    ~TPicButton() override;

    // The caption reads back exactly as written; "&" marks the accelerator.
    void SetCaption(const QString& caption);
    QString Caption() const { return FCaption; }

    // Writing it sets Kind back to bkCustom. A click hands a non-zero result to the holding window.
    void SetModalResult(int result);
    int ModalResult() const { return FModalResult; }

    // A strip of numGlyphs equal frames: normal, disabled, pressed, hot. numGlyphs <= 0 takes
    // width / height frames. Sets Kind back to bkCustom.
    void SetGlyph(const QPixmap& glyph, int numGlyphs);
    // The property rule: NumGlyphs becomes width / height (0 for an empty picture).
    void SetGlyph(const QImage& glyph);
    QPixmap Glyph() const { return QPixmap::fromImage(FGlyph); }
    void SetNumGlyphs(int n);
    int NumGlyphs() const { return FNumGlyphs; }

    // Presses the button: OnClick, then the modal result, then the popup menu.
    void Click();
    std::function<void()> OnClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseExit;

    void SetAlignment(platform::TAlignment a);
    platform::TAlignment Alignment() const { return FAlignment; }
    void SetCancel(bool on);
    bool Cancel() const { return FCancel; }
    void SetDefault(bool on);
    bool Default() const { return FDefault; }
    // Applies a colour preset; reading always gives lcsCustom.
    void SetColorStyle(TPicColorStyle style);
    TPicColorStyle ColorStyle() const { return FDummyStyle; }
    void SetColorWhenDown(TColor c) { FColorWhenDown = c; }
    TColor ColorWhenDown() const { return FColorWhenDown; }
    void SetFlat(bool on);
    bool Flat() const { return FFlat; }
    void SetHotTrackColor(TColor c) { FHotTrackColor = c; }
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackFont(const platform::TFont& f) { FHTFont = f; }
    platform::TFont HotTrackFont() const { return FHTFont; }
    void SetKind(TPicButtonKind kind);
    TPicButtonKind Kind() const { return FKind; }
    void SetLayout(TPicButtonLayout layout);
    TPicButtonLayout Layout() const { return FLayout; }
    void SetLightColor(TColor c);
    TColor LightColor() const { return FLightColor; }
    void SetShadowColor(TColor c);
    TColor ShadowColor() const { return FShadowColor; }
    void SetSlowDecease(bool on);
    bool SlowDecease() const { return FSlowDecease; }
    void SetStyle(TPicButtonStyle style);
    TPicButtonStyle Style() const { return FStyle; }
    void SetUseHotTrackFont(bool on) { FUseHTFont = on; }
    bool UseHotTrackFont() const { return FUseHTFont; }
    void SetWordWrap(bool on);
    bool WordWrap() const { return FWordWrap; }

    // The linked action: its text, hint, enabled and visible state show on the button and follow
    // its changes, a click triggers it after OnClick, and its icon becomes the glyph of a button
    // that has none. Null unlinks.
    void SetAction(QAction* action);
    QAction* Action() const { return FAction; }

    // State shown by the face.
    bool Down() const { return bDown; }
    bool CursorOnButton() const { return bCursorOnButton; }
    int HotTrackStep() const { return FHotTrackStep; }
    // One fade step: the hot weight falls by one; at 0 the fader stops.
    void FadeStep();
    // The fade driver; none after SlowDecease was switched off.
    TPicButtonFader* Fader() const { return FFader; }

protected:
    // Does nothing unless the button is visible, enabled and pressed.
    virtual void DoClick();
    // Takes the linked action's state; the action's picture becomes the glyph when there is none.
    virtual void ActionChange();

    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void KeyDown(int& key, platform::TShiftState shift) override;
    void KeyUp(int& key, platform::TShiftState shift) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DoEnter() override;
    void DoExit() override;
    void EnabledChanged() override;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ParentShowing() const;
    bool Hot() const { return bCursorOnButton || hasFocus(); }
    // Whether the face shows pressed: a mouse press shows only while the pointer is on the button.
    bool ShownDown() const;
    void UpdateAccelerator();
    void UpdateDialogKeyFilter();
    bool DialogKey(int key, Qt::KeyboardModifiers modifiers);
    void StopFader();

    QString FCaption;
    platform::TAlignment FAlignment = platform::taCenter;
    TColor FShadowColor = platform::clGray;
    TColor FColorWhenDown = platform::clNone;
    bool FFlat = false;
    bool FWordWrap = false;
    QImage FGlyph;
    TColor FHotTrackColor = platform::clNone;
    platform::TFont FHTFont;
    TPicButtonKind FKind = bkCustom;
    TPicButtonLayout FLayout = blGlyphLeft;
    TColor FLightColor = platform::clWhite;
    int FModalResult = 0;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TPicColorStyle FDummyStyle = lcsCustom;
    TPicButtonStyle FStyle = bsNormal;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    bool bCursorOnButton = false;
    // A mouse press is held; the click then needs the release on the button.
    bool FMousePressed = false;
    bool FPointerInside = false;
    // The Enter or Space key pressed on this button, 0 when none is held.
    int FKeyPressed = 0;
    TPicButtonFader* FFader = nullptr;  // child object
    int FHotTrackStep = 0;
    int FShortcutId = 0;
    QPointer<QWidget> FDialogKeyTarget;
    QPointer<QAction> FAction;
    QMetaObject::Connection FActionLink;
    bool FDestroying = false;
};

}  // namespace controls
