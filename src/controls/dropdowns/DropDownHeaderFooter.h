#pragma once
#include "controls/dropdowns/DropDownDraw.h"
#include "platform/TCanvas.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

// Look settings of the header strip above a drop-down's picker and the footer strip below it,
// with their button collections. They repaint nothing themselves: the owning control listens to
// OnChange (Visible changed) and OnButtonsChanged (a button item changed).
namespace dropdowns {

using TNotifyEvent = std::function<void()>;

enum TButtonAlignment { baLeft, baRight };

// Modal results a footer button can close the drop-down with; 0 is none.
using TModalResult = int;

template <typename TItem>
class TStripButtons;

class THeaderButton {
public:
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    int ImageIndex = -1;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Height = 0;  // 0: natural height
    int Width() const { return FWidth; }
    void SetWidth(int value);  // 0: natural width
    void Assign(const THeaderButton& source);

protected:
    void Changed();
    template <typename T>
    friend class TStripButtons;
    std::function<void()> FCollectionChanged;
    QString FCaption;
    bool FEnabled = true;
    int FWidth = 0;
};

class TFooterButton : public THeaderButton {
public:
    TModalResult ModalResult = 0;
    void Assign(const TFooterButton& source);
};

// A collection of buttons that reports its owner and tells OnChange when an item changes.
template <typename TItem>
class TStripButtons {
public:
    explicit TStripButtons(void* owner) : FOwner(owner) {}
    TNotifyEvent OnChange;
    void* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TItem* Add() { return Insert(Count()); }
    TItem* Insert(int index);
    // Null outside the collection.
    TItem* Items(int index) const;
    void SetItems(int index, const TItem& value);
    void Clear() { FItems.clear(); }
    // The items are recreated as copies of the source's.
    void Assign(const TStripButtons& source);

private:
    void* FOwner;
    std::vector<std::unique_ptr<TItem>> FItems;
};

using THeaderButtons = TStripButtons<THeaderButton>;
using TFooterButtons = TStripButtons<TFooterButton>;

// Any strip's settings, copied from a source of the same class only.
class TStripSettings {
public:
    virtual ~TStripSettings() = default;
    // A source of another class is ignored.
    virtual void Assign(const TStripSettings& source) = 0;
    // Colours, font and gradient direction of a source of the same class.
    virtual void AssignColors(const TStripSettings& source) = 0;
};

// Settings both strips share; the header and the footer differ in their font, their size grip and
// what Assign copies.
template <typename TButtons>
class TStripAppearance : public TStripSettings {
public:
    explicit TStripAppearance(void* owner);
    TStripAppearance(const TStripAppearance&) = delete;
    TStripAppearance& operator=(const TStripAppearance&) = delete;

    void* GetOwner() const { return FOwner; }
    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

    TColor Color = platform::clSilver;
    TColor ColorTo = platform::clWhite;
    QString Caption;
    const platform::TFont& Font() const { return FFont; }
    void SetFont(const platform::TFont& value) { FFont = value; }
    TGradientDirection GradientDirection = gdVertical;
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int Height = 22;
    TColor BorderColor = platform::clBlack;
    int BorderWidth = 1;
    int ImageIndex = -1;
    TButtons& Buttons() { return *FButtons; }
    const TButtons& Buttons() const { return *FButtons; }
    void SetButtons(const TButtons& value) { FButtons->Assign(value); }
    TButtonAlignment ButtonAlignment = baRight;

protected:
    void AssignColorsFrom(const TStripAppearance& source);
    void* FOwner;
    platform::TFont FFont;
    bool FVisible = true;
    std::unique_ptr<TButtons> FButtons;
};

class THeaderAppearance : public TStripAppearance<THeaderButtons> {
public:
    explicit THeaderAppearance(void* owner);
    void Assign(const TStripSettings& source) override;
    void AssignColors(const TStripSettings& source) override;
};

class TFooterAppearance : public TStripAppearance<TFooterButtons> {
public:
    explicit TFooterAppearance(void* owner);
    bool SizeGrip = true;
    void Assign(const TStripSettings& source) override;
    void AssignColors(const TStripSettings& source) override;
};

}  // namespace dropdowns
