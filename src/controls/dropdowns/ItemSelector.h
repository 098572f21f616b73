#pragma once
#include "controls/dropdowns/ItemSelectorTypes.h"
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace platform {
class TImageList;
}

// The picker that the list-like drop-downs put on their form: a grid of equal cells, each an
// image or colour box with a caption, with a hot cell and a selected cell.
namespace dropdowns {

class TExtCustomItemSelector;
class TSelectorItems;

class TSelectorItem {
public:
    explicit TSelectorItem(TSelectorItems* collection = nullptr) : FCollection(collection) {}

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // A disabled item can be neither hot nor selected.
    bool Enabled = true;
    // An own picture; it takes precedence over ImageIndex.
    QImage Image;
    // The cell in panel coordinates, written by the layout.
    QRect Rect{-1, -1, 0, 0};
    QString Hint;

    void Assign(const TSelectorItem& source);

private:
    void Changed();
    TSelectorItems* FCollection;
    QString FCaption;
    int FImageIndex = -1;
    TColor FColor = platform::clNone;
};

class TSelectorItems {
public:
    explicit TSelectorItems(void* owner = nullptr) : FOwner(owner) {}
    void* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TSelectorItem* Add() { return Insert(Count()); }
    // An index outside 0..Count appends.
    TSelectorItem* Insert(int index);
    // Null outside the collection.
    TSelectorItem* Items(int index) const;
    void SetItems(int index, const TSelectorItem& value);
    void Delete(int index);
    void Clear();
    void Assign(const TSelectorItems& source);
    // While updating, OnChange waits for the last EndUpdate, which fires it once.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    TNotifyEvent OnChange;

private:
    friend class TSelectorItem;
    void Changed();
    void* FOwner;
    int FUpdateCount = 0;
    std::vector<std::unique_ptr<TSelectorItem>> FItems;
};

// The inner panel: lays the cells out, takes its size from them and paints them.
class TCustomItemSelector : public platform::TCustomControl {
    Q_OBJECT
public:
    // Throws "Invalid parent" unless the owner is a TExtCustomItemSelector.
    explicit TCustomItemSelector(QWidget* owner);

    TExtCustomItemSelector* ExtItemSelector() const { return FExtItemSelector; }

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int index);

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // s is expected upper-cased; selects the first item whose plain caption starts with it.
    bool LookupItem(const QString& s);

    // The item's cell, (-1, -1, -1, -1) outside the items.
    QRect GetItemRect(int index) const;
    // The first item whose cell holds the point, else -1.
    int ItemAtPos(int x, int y) const;

    virtual void DrawItem(int index, platform::TCanvas& canvas);
    virtual QRect GetItemArea() const;
    virtual QSize GetItemSize();
    virtual void InvalidateItem(int index);
    virtual void UpdateLayout();

    int OffSetX = 2;
    int OffSetY = 2;
    int ItemOffSetX = 4;
    int ItemOffSetY = 4;
    int CaptionGap = 4;

    TNotifyEvent OnItemSelect;

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    platform::THintInfo HintAt(const QPoint& pos) override;

private:
    TSelectorItems& Items() const;
    bool InRange(int index) const;
    bool IsDisabled(int index) const;

    TExtCustomItemSelector* FExtItemSelector;
    int FItemIndex = -1;
    int FItemHot = -1;
};

// The container: owns the items, the look and the settings, and scrolls the panel when it is
// larger than itself.
class TExtCustomItemSelector : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TExtCustomItemSelector(QWidget* parent = nullptr);
    ~TExtCustomItemSelector() override;

    TSelectorItems& Items() { return *FItems; }
    const TSelectorItems& Items() const { return *FItems; }
    void SetItems(const TSelectorItems& value) { FItems->Assign(value); }
    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& value) { FItemAppearance->Assign(value); }

    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType value);
    TItemLayout ItemLayout() const { return FItemLayout; }
    void SetItemLayout(TItemLayout value) { FItemLayout = value; }
    int Columns() const { return FColumns; }
    // Values below 1 are refused.
    void SetColumns(int value);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int value);
    const platform::TImageList* Images() const { return FImages; }
    void SetImages(const platform::TImageList* value);

    TCustomItemSelector* Panel() const { return FPanel; }
    int ItemIndex() const;
    void SetItemIndex(int value);
    int ItemHot() const;

    void UpdateSelectorPanel();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const QString& s);
    void ScrollItemInView(int index);
    int GetVisibleItemCount() const;
    QSize GetSelectorPanelSize() const;
    // Whether the vertical scroll bar shows for the panel's current size.
    bool VertScrollBarVisible() const { return ScrollBarShown(platform::sbVertical); }
    int VertScrollPos() const { return ScrollPos(platform::sbVertical); }

    TNotifyEvent OnItemSelect;
    TDrawItemEvent OnDrawItem;
    TItemSizeEvent OnItemSize;

protected:
    void Resize() override;
    void Scroll(platform::TScrollBarKind bar, int code, int pos) override;
    bool MouseWheel(platform::TShiftState shift, int wheelDelta, int x, int y) override;
    unsigned GetDlgCode() override;
    // Every key but Tab stays here: the owner hears of it through OnKeyDown and OnKeyUp, and
    // nothing reaches the window around the selector a second time.
    void KeyDown(int& key, platform::TShiftState shift) override;
    void KeyUp(int& key, platform::TShiftState shift) override;

private:
    friend class TCustomItemSelector;
    // Sets the scroll ranges from the panel's size and moves the panel to the scroll position.
    void UpdateScrollRange();
    void PlacePanel();

    std::unique_ptr<TSelectorItems> FItems;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    TSelectorType FSelectorType = stImage;
    TItemLayout FItemLayout = ilCaptionRight;
    int FColumns = 1;
    int FColorBoxWidth = 14;
    int FColorBoxHeight = 14;
    const platform::TImageList* FImages = nullptr;
    TCustomItemSelector* FPanel = nullptr;
};

// Mini-HTML as plain text: <BR> and <HR> become line breaks, every other tag goes.
QString HTMLToPlainText(const QString& text);

}  // namespace dropdowns
