#pragma once
#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/ItemSelector.h"
#include "controls/dropdowns/ItemSelectorTypes.h"

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

}  // namespace dropdowns
