#pragma once
#include "controls/dropdowns/DropDownDraw.h"
#include "controls/dropdowns/DropDownHeaderFooter.h"
#include "platform/Clock.h"
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>

// The arrow button at the right edge of a drop-down edit and the owner-drawn push buttons of the
// header and footer strips, with the look settings those push buttons share.
namespace dropdowns {

class TExtCustomDropDown;

enum TButtonStyle { bsButton, bsDropDown };

// The button that paints the drop-down arrow (bsDropDown) or a push button (bsButton).
class TExtDropDownSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TExtDropDownSpeedButton(QWidget* parent = nullptr);

    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle value);
    // A flat push button draws a raised edge, or an etched one, which goes flat while pressed.
    bool Etched = false;
    bool Focused() const { return FFocused; }
    void SetFocused(bool value);
    bool Hot() const { return FHot; }
    void SetUp() { FUp = true; update(); }
    bool Flat = false;
    // Themed drawing is possible (the common controls' version is above 5).
    bool IsWinXP = true;
    QImage Glyph;
    QString Caption;
    // Pressed with the mouse and not yet released.
    bool Down() const { return FDown; }

    std::function<void(Qt::MouseButton)> OnMouseUp;

    // The drop-down edit this button sits on (through its edit button), or null.
    TExtCustomDropDown* DropDown() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintDropDown(platform::TCanvas& canvas);
    void PaintButton(platform::TCanvas& canvas);
    TButtonStyle FButtonStyle = bsButton;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FDown = false;
};

// The edit's child that hosts the arrow button; a left-button release on that button is its click.
class TDropDownEditButton : public QWidget {
    Q_OBJECT
public:
    explicit TDropDownEditButton(QWidget* parent = nullptr);

    TExtDropDownSpeedButton* Button() const { return FButton; }
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* control) { FFocusControl = control; }
    std::function<void()> OnClick;

    QImage Glyph() const { return FButton->Glyph; }
    void SetGlyph(const QImage& glyph);
    QString ButtonCaption() const { return FButton->Caption; }
    void SetButtonCaption(const QString& caption);

    // The width the control and its button always take, whatever width is asked for.
    int BWidth() const { return FBWidth; }
    void SetBWidth(int value);
    void SetBounds(int left, int top, int width, int height);

    TColor ButtonColorDown = platform::clNone;
    TColor ButtonBorderColor = platform::clNone;
    TColor ButtonTextColor = platform::clNone;
    TColor ButtonTextColorHot = platform::clNone;
    TColor ButtonColor = platform::clNone;
    TColor ButtonColorHot = platform::clNone;
    TColor ButtonTextColorDown = platform::clNone;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void AdjustWinSize();
    TExtDropDownSpeedButton* FButton;
    QPointer<QWidget> FFocusControl;
    int FBWidth = 16;
};

// Face, border and font of the header and footer push buttons per state.
class TExtButtonAppearance {
public:
    TExtButtonAppearance();
    TExtButtonAppearance(const TExtButtonAppearance&) = delete;
    TExtButtonAppearance& operator=(const TExtButtonAppearance&) = delete;

    std::function<void()> OnChange;
    // Copies every colour and the gradient through the setters; not the font.
    void Assign(const TExtButtonAppearance& source);

#define DROPDOWN_APPEARANCE_COLOR(name, init)                                                        \
public:                                                                                              \
    TColor name() const { return F##name; }                                                          \
    void Set##name(TColor value)                                                                     \
    {                                                                                                \
        if (F##name == value)                                                                        \
            return;                                                                                  \
        F##name = value;                                                                             \
        Changed();                                                                                   \
    }                                                                                                \
                                                                                                     \
private:                                                                                             \
    TColor F##name = init;

    DROPDOWN_APPEARANCE_COLOR(BorderColor, platform::clNone)
    DROPDOWN_APPEARANCE_COLOR(BorderColorHot, 0x808080)
    DROPDOWN_APPEARANCE_COLOR(BorderColorDown, 0x800000)
    DROPDOWN_APPEARANCE_COLOR(BorderColorDisabled, 0x808080)
    DROPDOWN_APPEARANCE_COLOR(BorderColorChecked, 0xFF0000)
    DROPDOWN_APPEARANCE_COLOR(Color, platform::clNone)
    DROPDOWN_APPEARANCE_COLOR(ColorTo, platform::clNone)
    DROPDOWN_APPEARANCE_COLOR(ColorDown, 0xF5D8CA)
    DROPDOWN_APPEARANCE_COLOR(ColorDownTo, 0xF9BDA0)
    DROPDOWN_APPEARANCE_COLOR(ColorHot, 0xF5F0E1)
    DROPDOWN_APPEARANCE_COLOR(ColorHotTo, 0xF9D2B2)
    DROPDOWN_APPEARANCE_COLOR(ColorCheckedTo, 0xF9BDA0)
    DROPDOWN_APPEARANCE_COLOR(ColorDisabled, 0xF2F2F2)
    DROPDOWN_APPEARANCE_COLOR(ColorDisabledTo, platform::clNone)
    DROPDOWN_APPEARANCE_COLOR(ColorChecked, 0xF5D8CA)
#undef DROPDOWN_APPEARANCE_COLOR

public:
    TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(TGradientDirection value);
    const platform::TFont& Font() const { return FFont; }
    void SetFont(const platform::TFont& value) { FFont = value; }

private:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
    TGradientDirection FGradient = gdVertical;
    platform::TFont FFont;
};

enum TExtButtonStyle { tasButton, tasCheck };
enum TExtButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

// Modal results (the platform's values).
enum : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
    mrClose = 8, mrHelp = 9, mrTryAgain = 10, mrContinue = 11, mrAll = 12, mrNoToAll = 13, mrYesToAll = 14,
};

// The owner-drawn push button of the header and footer strips.
class TExtButton : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TExtButton(QWidget* parent = nullptr);
    ~TExtButton() override;

    int GroupIndex = 0;
    bool AllowAllUp = false;
    TExtButtonStyle Style = tasButton;
    int Tag = 0;
    TModalResult ModalResult = 0;

    bool Down() const { return FDown; }
    void SetDown(bool value);
    TExtButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    TExtButtonAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TExtButtonAppearance* value);
    const platform::TImageList* Images() const { return FImages; }
    void SetImages(const platform::TImageList* value) { FImages = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TExtCustomDropDown* ExtDropDown() const;
    void SetExtDropDown(TExtCustomDropDown* value);

    // Height: the caption's (or image's) height + 4; width: its width + 8.
    void SizeToContent();
    // Sets the parent form's modal result, closes the linked drop-down for the closing results and
    // fires OnClick unless a key performed the click.
    virtual void Click();

    std::function<void()> OnClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

protected:
    virtual void DrawButton(platform::TCanvas& canvas);
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void KeyDown(int& key, platform::TShiftState shift) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;
    // The caption's accelerator (Alt and the letter after "&") clicks the button.
    bool event(QEvent* event) override;

private:
    void ButtonPressed(int groupIndex, TExtButton* sender);
    void UnHotTick();
    void StartUnHotTimer();
    void UpdateTracking();
    bool FDown = false;
    bool FMouseInControl = false;
    TExtButtonState FState = absUp;
    bool FMouseDownInControl = false;
    bool FDragging = false;
    bool FInternalClick = false;
    bool FWasDisabled = false;
    platform::ClockTimer FUnHotTimer;
    TExtButtonAppearance* FAppearance = nullptr;
    const platform::TImageList* FImages = nullptr;
    int FImageIndex = -1;
    QString FCaption;
    int FAccelerator = 0;  // the shortcut id of the caption's accelerator, 0 without one
    QPointer<TExtCustomDropDown> FExtDropDown;
};

}  // namespace dropdowns
