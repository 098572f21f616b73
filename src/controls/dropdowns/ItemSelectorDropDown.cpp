#include "controls/dropdowns/ItemSelectorDropDown.h"

#include "controls/dropdowns/DropDownForm.h"
#include "platform/Guard.h"

#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

namespace dropdowns {

bool IsSearchKey(int key)
{
    using namespace platform;
    return key == VK_SPACE || (key >= 0x30 && key <= 0x5A) || (key >= 0xBA && key <= 0xE2);
}

void SetUpPickOnly(TExtCustomDropDown& edit)
{
    edit.SetEditorEnabled(false);
    edit.SetDropDownEnabled(true);
    edit.setCursor(Qt::ArrowCursor);
}

void BuildItemDropDownForm(TExtCustomDropDown& edit)
{
    edit.CreateDropDownForm();
    edit.SetSelectionColorStyle(edit.SelectionColorStyle());
}

void ApplyItemAppearanceStyle(TItemAppearance& appearance, TSuiteStyle style)
{
    TItemAppearanceColors colors;
    colors.ColorHot = appearance.ColorHot;
    colors.ColorHotTo = appearance.ColorHotTo;
    colors.ColorMirrorHot = appearance.ColorMirrorHot;
    colors.ColorMirrorHotTo = appearance.ColorMirrorHotTo;
    colors.ColorSelected = appearance.ColorSelected;
    colors.ColorSelectedTo = appearance.ColorSelectedTo;
    colors.ColorMirrorSelected = appearance.ColorMirrorSelected;
    colors.ColorMirrorSelectedTo = appearance.ColorMirrorSelectedTo;
    colors.BorderColor = appearance.BorderColor;
    colors.BorderColorTop = appearance.BorderColorTop;
    colors.BorderColorBottom = appearance.BorderColorBottom;
    colors.EdgeColor = appearance.EdgeColor;
    colors.BorderColorHot = appearance.BorderColorHot;
    colors.BorderColorSelected = appearance.BorderColorSelected;
    colors.ColorSelectedText = appearance.ColorSelectedText;
    colors.ColorHotText = appearance.ColorHotText;
    TExtCustomDropDown::SetItemAppearanceStyle(colors, style);
    appearance.ColorHot = colors.ColorHot;
    appearance.ColorHotTo = colors.ColorHotTo;
    appearance.ColorMirrorHot = colors.ColorMirrorHot;
    appearance.ColorMirrorHotTo = colors.ColorMirrorHotTo;
    appearance.ColorSelected = colors.ColorSelected;
    appearance.ColorSelectedTo = colors.ColorSelectedTo;
    appearance.ColorMirrorSelected = colors.ColorMirrorSelected;
    appearance.ColorMirrorSelectedTo = colors.ColorMirrorSelectedTo;
    appearance.BorderColor = colors.BorderColor;
    appearance.BorderColorTop = colors.BorderColorTop;
    appearance.BorderColorBottom = colors.BorderColorBottom;
    appearance.EdgeColor = colors.EdgeColor;
    appearance.BorderColorHot = colors.BorderColorHot;
    appearance.BorderColorSelected = colors.BorderColorSelected;
    appearance.ColorSelectedText = colors.ColorSelectedText;
    appearance.ColorHotText = colors.ColorHotText;
}

void SizeFormToSelector(TExtCustomDropDown& edit, TExtCustomItemSelector& selector,
                        const std::function<void()>& baseSizing)
{
    const QSize panel = selector.GetSelectorPanelSize();
    const int border = edit.DropDownBorderWidth();
    int strips = 0;
    if (edit.DropDownHeader().Visible())
        strips += edit.DropDownHeader().Height;
    if (edit.DropDownFooter().Visible())
        strips += edit.DropDownFooter().Height;
    const bool autoWidth = edit.DropDownWidth() < 1, autoHeight = edit.DropDownHeight() < 1;
    selector.resize(autoWidth ? panel.width() : std::max(0, edit.DropDownWidth() - 2 * border),
                    autoHeight ? panel.height() : std::max(0, edit.DropDownHeight() - 2 * border - strips));
    const bool vbar = selector.VertScrollBarVisible();
    baseSizing();
    TDropDownForm* form = edit.DropDownForm();
    if (!form)
        return;
    int w = form->width();
    if (autoWidth)
        w = panel.width() + 2 * border;
    if (vbar)
        w += selector.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    form->resize(w, form->height());
}

// The item picker

using namespace platform;

TItemPickerDropDown::TItemPickerDropDown(QWidget* parent)
    : TExtCustomDropDown(parent), FItemAppearance(std::make_unique<TItemAppearance>(this))
{
}

TItemPickerDropDown::~TItemPickerDropDown()
{
    FKeyTimer.Stop();
    // The selector goes with the form after this control's own parts; it calls back no more.
    if (FSelector) {
        FSelector->OnItemSelect = nullptr;
        FSelector->OnDrawItem = nullptr;
        FSelector->OnItemSize = nullptr;
        FSelector->OnResize = nullptr;
    }
}

void TItemPickerDropDown::SelectFirst()
{
    if (PickerCount() > 0)
        SetPickerIndex(0);
}

void TItemPickerDropDown::SelectLast()
{
    if (PickerCount() > 0)
        SetPickerIndex(PickerCount() - 1);
}

void TItemPickerDropDown::SelectNext()
{
    if (const int to = SteppedItemIndex(PickerCount(), PickerIndex(), 1); to >= 0)
        SetPickerIndex(to);
}

void TItemPickerDropDown::SelectPrevious()
{
    if (const int to = SteppedItemIndex(PickerCount(), PickerIndex(), -1); to >= 0)
        SetPickerIndex(to);
}

void TItemPickerDropDown::DoHideDropDown(bool cancelChanges)
{
    const bool open = FDropDownForm && FDropDownForm->isVisible();
    FHidingByCall = true;
    TExtCustomDropDown::DoHideDropDown(cancelChanges);
    FHidingByCall = false;
    if (open && cancelChanges)
        RestoreOpening();
}

void TItemPickerDropDown::DropDownHidden()
{
    TExtCustomDropDown::DropDownHidden();
    // A click outside the form closes it without DoHideDropDown; it cancels as the form says.
    if (!FHidingByCall && FDropDownForm && FDropDownForm->CancelOnDeActivate)
        RestoreOpening();
}

void TItemPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle value)
{
    TExtCustomDropDown::SetSelectionColorStyle(value);
    if (FSelector)
        FSelector->ItemAppearance().SetColorStyle(value);
}

void TItemPickerDropDown::SetComponentStyle(TSuiteStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    if (FItemAppearance)
        ApplyItemAppearanceStyle(*FItemAppearance, AStyle);
}

void TItemPickerDropDown::SetSelectorIndex(int index)
{
    if (!FSelector || index < 0 || index >= FSelector->Items().Count())
        return;
    FInternalCall = true;
    FSelector->SetItemIndex(index);
    FInternalCall = false;
    FSelector->ScrollItemInView(index);
}

bool TItemPickerDropDown::TakeHotEntry(int key)
{
    if (key != VK_RETURN || !isEnabled() || !FDroppedDown || !FSelector || FSelector->ItemHot() < 0)
        return false;
    FSelector->SetItemIndex(FSelector->ItemHot());
    return true;
}

void TItemPickerDropDown::AfterBaseKey(int key, TShiftState shift, bool dropped, bool enterUsed, int columns)
{
    if (key == VK_RETURN) {
        if (!enterUsed && OnSelect)
            OnSelect();
        return;
    }
    SelectorKey(key, shift, dropped, columns);
}

bool TItemPickerDropDown::SelectorKey(int key, TShiftState shift, bool dropped, int columns)
{
    const bool open = dropped && FSelector;
    switch (key) {
    case VK_PRIOR:
    case VK_NEXT: {
        if (!FSelector)
            return false;
        if (FSelector->Items().Count() != PickerCount())
            RefillSelector();
        const int n = FSelector->GetVisibleItemCount();
        if (n >= 1) {
            const int current = FSelector->ItemIndex();
            SetSelectorIndex(key == VK_PRIOR ? std::max(0, current - n)
                                             : std::min(FSelector->Items().Count() - 1, current + n));
        }
        return open;
    }
    case VK_END:
    case VK_HOME:
        if (open) {
            FInternalCall = true;
            if (key == VK_END)
                FSelector->SelectLast();
            else
                FSelector->SelectFirst();
            FInternalCall = false;
        } else if (!FEditorEnabled) {
            if (key == VK_END)
                SelectLast();
            else
                SelectFirst();
        }
        return false;
    case VK_LEFT:
    case VK_RIGHT:
        if (open && !FEditorEnabled) {
            FInternalCall = true;
            if (key == VK_LEFT)
                FSelector->SelectPrevious();
            else
                FSelector->SelectNext();
            FInternalCall = false;
        }
        return open;
    case VK_UP:
    case VK_DOWN:
        if (open) {
            const int current = FSelector->ItemIndex();
            SetSelectorIndex(current < 0 ? 0 : current + (key == VK_UP ? -columns : columns));
            update();
        } else if (key == VK_UP) {
            SelectPrevious();
        } else {
            SelectNext();
        }
        return open;
    default:
        if (!(shift & ssCtrl) && FSelector && IsSearchKey(key)) {
            FCurSearch += QChar(key);
            FInternalCall = true;
            FSelector->LookupItem(FCurSearch);
            FInternalCall = false;
            if (!FKeyTimer.IsActive())
                FKeyTimer.Start(KeySearchMs, this, [this] { FCurSearch.clear(); });
        }
        return false;
    }
}

void TItemPickerDropDown::keyPressEvent(QKeyEvent* event)
{
    int key = VirtualKeyFromQt(event->key(), event->modifiers());
    if (!key) {
        TExtCustomDropDown::keyPressEvent(event);
        return;
    }
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    bool baseRan = false;
    Guarded([&] {
        PickerKeyDown(key, shift, [&](int&) {
            baseRan = true;
            TExtCustomDropDown::keyPressEvent(event);
        });
    });
    // A key the open list consumed goes no further.
    if (!baseRan)
        event->accept();
}

void TItemPickerDropDown::ControlKeyDown(int& key, TShiftState shift)
{
    PickerKeyDown(key, shift, [&](int& k) { TExtCustomDropDown::ControlKeyDown(k, shift); });
}

void TItemPickerDropDown::FormKeyDown(int& key, TShiftState shift)
{
    PickerKeyDown(key, shift, [&](int& k) { TExtCustomDropDown::FormKeyDown(k, shift); });
}

}  // namespace dropdowns
