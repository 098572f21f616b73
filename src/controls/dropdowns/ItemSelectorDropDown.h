#pragma once
#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/ItemSelector.h"
#include "controls/dropdowns/ItemSelectorTypes.h"
#include "platform/Clock.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

// What the list-like drop-downs (detail, image and colour pickers) share about their item selector.
namespace dropdowns {

// How long the characters typed for a list search are kept, counted from the first of them.
constexpr int KeySearchMs = 500;

// Keys that add a character to the list search: digits, letters, the space and punctuation.
bool IsSearchKey(int key);

// A drop-down that only picks: no typing in the edit, the arrow cursor and the drop-down enabled.
void SetUpPickOnly(TExtCustomDropDown& edit);

// Builds the form through the control's own CreateDropDownForm and gives the panels it made the
// control's selection colour style. Call it from the most derived constructor, where both
// overrides are in place.
void BuildItemDropDownForm(TExtCustomDropDown& edit);

// The component style's item look on an item appearance (nothing for tsCustom).
void ApplyItemAppearanceStyle(TItemAppearance& appearance, TSuiteStyle style);

// Sizes the drop-down's form to the selector's panel where DropDownWidth or DropDownHeight leave
// it automatic. The selector first takes the size it will have on the form, so that its scroll
// bars show exactly when the panel does not fit; the form then grows by the vertical bar's width
// when it shows, and by the border on both sides, so that an automatic width never needs a
// horizontal bar. baseSizing is the drop-down's own form sizing.
void SizeFormToSelector(TExtCustomDropDown& edit, TExtCustomItemSelector& selector,
                        const std::function<void()>& baseSizing);

// The base of the drop-downs that pick one of their items from an item selector on the form:
// the selector's keys (pages, ends, arrows), the type-ahead search, the item look, and the
// selection of the opening restored when the drop-down is cancelled.
class TItemPickerDropDown : public TExtCustomDropDown {
    Q_OBJECT
public:
    explicit TItemPickerDropDown(QWidget* parent = nullptr);
    ~TItemPickerDropDown() override;

    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& value) { FItemAppearance->Assign(value); }
    // The characters typed for the list search, emptied KeySearchMs after the first of them.
    QString CurSearch() const { return FCurSearch; }

    TNotifyEvent OnSelect;

    // Over the picker's own items; nothing without items.
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    void DoHideDropDown(bool cancelChanges) override;
    void DropDownHidden() override;
    void SetSelectionColorStyle(TSelectionColorStyle value) override;
    void SetComponentStyle(TSuiteStyle AStyle) override;
    void ControlKeyDown(int& key, TShiftState shift) override;
    void FormKeyDown(int& key, TShiftState shift) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

    // The picker's items: how many, the selected one (-1 for none), and selecting one.
    virtual int PickerCount() const = 0;
    virtual int PickerIndex() const = 0;
    virtual void SetPickerIndex(int index) = 0;
    // Fills the selector from the items again.
    virtual void RefillSelector() = 0;
    // Back to the selection of the opening (a cancelled drop-down).
    virtual void RestoreOpening() = 0;
    // A key down on the edit or the form; base runs the drop-down's own handling, at most once.
    virtual void PickerKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base) = 0;

    // Enter while dropped down selects the selector's hot entry; answers whether it did.
    bool TakeHotEntry(int key);
    // After base: Enter without a hot entry fires OnSelect, other keys go to SelectorKey.
    void AfterBaseKey(int key, TShiftState shift, bool dropped, bool enterUsed, int columns);
    // The selector's keys (pages, Home and End, Left and Right, Up and Down by a row of columns
    // entries, type-ahead); answers whether the open list consumed the key.
    bool SelectorKey(int key, TShiftState shift, bool dropped, int columns);
    // Selects a selector entry as an internal call and scrolls it into view; nothing outside
    // the entries.
    void SetSelectorIndex(int index);

    QPointer<TExtCustomItemSelector> FSelector;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    platform::ClockTimer FKeyTimer;
    QString FCurSearch;
    int FOldItemIndex = -1;

private:
    bool FHidingByCall = false;
};

}  // namespace dropdowns
