#pragma once
#include "controls/dropdowns/DropDownButtons.h"
#include "controls/dropdowns/DropDownHeaderFooter.h"
#include "platform/TCustomControl.h"
#include "platform/TImageList.h"

#include <QPointer>
#include <functional>
#include <vector>

// The header strip above a drop-down's picker and the footer strip below it: background, border,
// image, caption and a row of push buttons; the footer can carry a size grip.
namespace dropdowns {

class TExtCustomDropDown;

using TStripDrawEvent = std::function<void(QObject* sender, platform::TCanvas& canvas, QRect rect)>;
using TStripTextEvent = std::function<void(QObject* sender, QString& text)>;

// A list of references whose indexed access checks the index.
template <typename T>
class TDbgList {
public:
    int Count() const { return int(FItems.size()); }
    void Add(T* item) { FItems.push_back(item); }
    void Clear() { FItems.clear(); }
    void Delete(int index);
    T* Items(int index) const;
    void SetItems(int index, T* item);
    void AssignList(const TDbgList& other) { FItems = other.FItems; }

private:
    std::vector<T*> FItems;
};

// What header and footer share; TAppearance is THeaderAppearance or TFooterAppearance.
class TExtStrip : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TExtStrip(QWidget* parent);
    ~TExtStrip() override;

    const platform::TImageList* Images() const { return FImages; }
    void SetImages(const platform::TImageList* value) { FImages = value; }
    TExtCustomDropDown* ExtDropDown() const;
    // Links the strip (null unlinks it) and copies the drop-down's settings for this strip.
    virtual void SetExtDropDown(TExtCustomDropDown* value) = 0;
    void InitButtons();
    const TDbgList<TExtButton>& ButtonList() const { return FButtonList; }

    virtual void CreateButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void UpdateButtons();

    virtual QRect GetButtonRect() const = 0;
    int GetButtonHeight() const { return GetButtonRect().height(); }
    // (-1, -1, -1, -1) without buttons; else the button area ending 2 left of the last button.
    QRect GetCaptionRect() const;
    void ButtonClick(QObject* sender);
    void AppearanceChanged();

    TStripDrawEvent OnDrawBackGround;
    TStripTextEvent OnGetText;

protected:
    virtual int ItemCount() const = 0;
    virtual void CopyItem(TExtButton* button, int index, bool full) = 0;
    virtual bool IsFooter() const = 0;
    // Background, border lines, inner frame, image and caption.
    void PaintStrip(platform::TCanvas& canvas, TColor color, TColor colorTo, TGradientDirection direction,
                    TColor borderColor, int borderWidth, int imageIndex, const QString& caption,
                    const platform::TFont& font);
    void Resize() override;

    const platform::TImageList* FImages = nullptr;
    QPointer<TExtCustomDropDown> FExtDropDown;
    TDbgList<TExtButton> FButtonList;
};

class TExtHeader : public TExtStrip {
    Q_OBJECT
public:
    explicit TExtHeader(QWidget* parent);
    THeaderAppearance& Appearance() { return FAppearance; }
    void SetExtDropDown(TExtCustomDropDown* value) override;
    // The linked drop-down's header buttons; null when not linked.
    THeaderButtons* Buttons() const;
    QRect GetButtonRect() const override;

protected:
    void Paint() override;
    int ItemCount() const override;
    void CopyItem(TExtButton* button, int index, bool full) override;
    bool IsFooter() const override { return false; }

private:
    THeaderAppearance FAppearance;
};

class TExtFooter : public TExtStrip {
    Q_OBJECT
public:
    explicit TExtFooter(QWidget* parent);
    TFooterAppearance& Appearance() { return FAppearance; }
    void SetExtDropDown(TExtCustomDropDown* value) override;
    TFooterButtons* Buttons() const;
    QRect GetButtonRect() const override;
    bool HasSizeGrip() const;
    void DrawSizeGrip(platform::TCanvas& canvas, QRect r);
    // Whether a client point lies in the grip's zone.
    bool InGripZone(int x, int y) const;

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    QCursor CursorAt(int x, int y) override;
    int ItemCount() const override;
    void CopyItem(TExtButton* button, int index, bool full) override;
    bool IsFooter() const override { return true; }

private:
    TFooterAppearance FAppearance;
    bool FGripDrag = false;
};

}  // namespace dropdowns
