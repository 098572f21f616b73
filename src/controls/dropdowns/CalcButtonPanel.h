#pragma once
#include "controls/dropdowns/ItemSelectorTypes.h"
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace platform {
class TImageList;
}

// The key panel of the calculator drop-down: key items, their look settings and the panel that
// lays the calculator's 28 keys out in a grid, tracks the hot and pressed key and reports clicks.
namespace dropdowns {

using platform::TColor;

class TExtCustomDropDown;
class TCustomButtonPanel;

enum TButtonPanelType { plCalculator, plCustom };

class TButtonItem {
public:
    TButtonItem() = default;

    QString Caption;
    int ImageIndex = -1;
    // A disabled key never becomes hot or pressed.
    bool Enabled = true;
    int Tag = 0;
    QString Name;
    // Kept and copied; the painting does not use it.
    TColor CaptionColor = platform::clWhite;
    // Special keys paint their caption in the appearance's SpecialTextColor.
    bool Special = false;
    int Left = 0, Top = 0, Width = 0, Height = 0;

    const QImage& Image() const { return FImage; }
    void SetImage(const QImage& image) { FImage = image; }

    // Copies everything but Special and the rectangle.
    void Assign(const TButtonItem& source);
    QRect GetRect() const { return platform::Rect(Left, Top, Left + Width, Top + Height); }

private:
    QImage FImage;
};

class TButtonItems {
public:
    explicit TButtonItems(TCustomButtonPanel* owner = nullptr) : FOwner(owner) {}
    TButtonItems(const TButtonItems&) = delete;
    TButtonItems& operator=(const TButtonItems&) = delete;

    TCustomButtonPanel* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TButtonItem* Add();
    // index is clamped into 0..Count.
    TButtonItem* Insert(int index);
    // Null for an index outside the collection.
    TButtonItem* GetItem(int index) const;
    void SetItem(int index, const TButtonItem& value);
    void Delete(int index);
    void Clear() { FItems.clear(); }
    // A copy of every item (Special and the rectangles included, as a copy of the collection).
    void Assign(const TButtonItems& source);

    // Set by the panel; nothing fires it.
    std::function<void()> OnChange;

private:
    TCustomButtonPanel* FOwner;
    std::vector<std::unique_ptr<TButtonItem>> FItems;
};

class TButtonAppearance {
public:
    TButtonAppearance();
    TButtonAppearance(const TButtonAppearance&) = delete;
    TButtonAppearance& operator=(const TButtonAppearance&) = delete;

    void Assign(const TButtonAppearance& source);

    TColor BorderColor() const { return FBorderColor; }
    TColor BorderColorHot() const { return FBorderColorHot; }
    TColor BorderColorDown() const { return FBorderColorDown; }
    TColor BorderColorChecked() const { return FBorderColorChecked; }
    TColor Color() const { return FColor; }
    TColor ColorTo() const { return FColorTo; }
    TColor ColorDown() const { return FColorDown; }
    TColor ColorDownTo() const { return FColorDownTo; }
    TColor ColorHot() const { return FColorHot; }
    TColor ColorHotTo() const { return FColorHotTo; }
    TColor ColorChecked() const { return FColorChecked; }
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    TColor ColorDisabled() const { return FColorDisabled; }
    TColor ColorDisabledTo() const { return FColorDisabledTo; }
    TColor ShineColor() const { return FShineColor; }
    TColor TextColor() const { return FTextColor; }
    TColor SpecialTextColor() const { return FSpecialTextColor; }
    const platform::TFont& Font() const { return FFont; }

    // Each fires OnChange only when the value differs.
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    void SetBorderColorHot(TColor v) { Set(FBorderColorHot, v); }
    void SetBorderColorDown(TColor v) { Set(FBorderColorDown, v); }
    void SetBorderColorChecked(TColor v) { Set(FBorderColorChecked, v); }
    void SetColor(TColor v) { Set(FColor, v); }
    void SetColorTo(TColor v) { Set(FColorTo, v); }
    void SetColorDown(TColor v) { Set(FColorDown, v); }
    void SetColorDownTo(TColor v) { Set(FColorDownTo, v); }
    void SetColorHot(TColor v) { Set(FColorHot, v); }
    void SetColorHotTo(TColor v) { Set(FColorHotTo, v); }
    void SetColorChecked(TColor v) { Set(FColorChecked, v); }
    void SetColorCheckedTo(TColor v) { Set(FColorCheckedTo, v); }
    void SetColorDisabled(TColor v) { Set(FColorDisabled, v); }
    void SetColorDisabledTo(TColor v) { Set(FColorDisabledTo, v); }
    void SetTextColor(TColor v) { Set(FTextColor, v); }
    void SetSpecialTextColor(TColor v) { Set(FSpecialTextColor, v); }
    // These two store without notification.
    void SetShineColor(TColor v) { FShineColor = v; }
    void SetFont(const platform::TFont& font) { FFont = font; }

    // Plain settings with no notification.
    TColor GlowColorHot = 0xD5C244;
    TColor GlowColorDown = 0xD5C244;

    std::function<void()> OnChange;

private:
    void Set(TColor& field, TColor value);
    void Changed();

    TColor FBorderColor = platform::clBlack;
    TColor FBorderColorHot = platform::clBlack;
    TColor FBorderColorDown = platform::clBlack;
    TColor FBorderColorChecked = 0xFF0000;
    TColor FColor = 0x9A915F;
    TColor FColorTo = 0xB0A170;
    TColor FColorDown = 0x4B2F08;
    TColor FColorDownTo = 0xADB514;
    TColor FColorHot = 0x9F6F1C;
    TColor FColorHotTo = 0xD5C244;
    TColor FColorCheckedTo;
    TColor FColorDisabled;
    TColor FColorDisabledTo;
    TColor FColorChecked;
    platform::TFont FFont;
    TColor FShineColor = platform::clWhite;
    TColor FTextColor = platform::clBlack;
    TColor FSpecialTextColor = platform::clMaroon;
};

// Key codes (tags) of the calculator keys.
enum TCalcKeyTag : int {
    ckDigit0 = 0, ckAdd = 10, ckSubtract = 11, ckMultiply = 12, ckDivide = 13, ckSign = 14, ckPoint = 15,
    ckClear = 16, ckEqual = 17, ckPercent = 18, ckOn = 30, ckBack = 31, ckClearEntry = 32,
    ckMemClear = 33, ckMemRecall = 34, ckMemStore = 35, ckMemAdd = 36, ckSqrt = 37, ckReciprocal = 38,
};

class TCustomButtonPanel : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TCustomButtonPanel(QWidget* parent = nullptr);
    ~TCustomButtonPanel() override;

    TButtonItems& Buttons() { return FButtons; }
    const TButtonItems& Buttons() const { return FButtons; }
    void SetButtons(const TButtonItems& value) { FButtons.Assign(value); }

    TItemLayout ButtonLayout() const { return FButtonLayout; }
    void SetButtonLayout(TItemLayout value) { FButtonLayout = value; }
    // Stored only.
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle value) { FItemColorStyle = value; }

    platform::TImageList* Images() const { return FImages; }
    void SetImages(platform::TImageList* value);
    QWidget* Edit() const { return FEdit; }
    void SetEdit(QWidget* value) { FEdit = value; }
    TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
    void SetButtonPanelType(TButtonPanelType value);
    TButtonAppearance& ButtonAppearance() { return FButtonAppearance; }
    void SetButtonAppearance(const TButtonAppearance& value) { FButtonAppearance.Assign(value); }
    void SetExtDropDown(TExtCustomDropDown* value) { FExtDropDown = value; }
    TExtCustomDropDown* ExtDropDown() const { return FExtDropDown; }

    int ButtonHot() const { return FButtonHot; }
    int ButtonDown() const { return FButtonDown; }
    void SetButtonHot(int index);
    void SetButtonDown(int index);

    // The key grid's area: the client rectangle less the panel's margins.
    virtual void GetButtonsRect(QRect& r);
    void GetButtonRect(int index, QRect& r) const;
    int ButtonAtPos(int x, int y) const;
    virtual void GetButtonSize(QSize& size);
    virtual void ClearButtons();
    virtual void ResetButtons();
    virtual void CreateButtons();
    virtual void ArrangeButtons();
    virtual void InvalidateButton(int index);
    virtual void DrawPanelButton(int index, platform::TCanvas* canvas);
    void DrawPanelButtons(platform::TCanvas* canvas, bool includeHot);

    // After loading: a standalone panel creates its keys.
    void Loaded();

    std::function<void(QObject* sender, int index)> OnButtonClick;

protected:
    virtual void ButtonClick(int index);
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void Resize() override;

private:
    void ButtonsChanged();
    void AppearanceChanged();
    // Draws one key now, outside the paint cycle.
    void DrawButtonNow(int index);

    TButtonItems FButtons;
    TItemLayout FButtonLayout = ilCaptionRight;
    TSelectionColorStyle FItemColorStyle = scCustom;
    int FButtonHot = -1;
    int FOffSetX = 8, FOffSetY = 8;
    int FButtonOffSetX = 4, FButtonOffSetY = 4;
    // Not owned; whoever frees the list clears it here first.
    platform::TImageList* FImages = nullptr;
    int FCaptionGap = 0;
    QPointer<QWidget> FEdit;
    TButtonPanelType FButtonPanelType = plCalculator;
    TButtonAppearance FButtonAppearance;
    int FButtonDown = -1;
    TExtCustomDropDown* FExtDropDown = nullptr;
};

}  // namespace dropdowns
