#include "controls/dropdowns/DropDownHeaderFooter.h"

#include <algorithm>

namespace dropdowns {

void THeaderButton::Changed()
{
    if (FCollectionChanged)
        FCollectionChanged();
}

void THeaderButton::SetCaption(const QString& value)
{
    if (FCaption == value)
        return;
    FCaption = value;
    Changed();
}

void THeaderButton::SetEnabled(bool value)
{
    if (FEnabled == value)
        return;
    FEnabled = value;
    Changed();
}

void THeaderButton::SetWidth(int value)
{
    if (FWidth == value)
        return;
    FWidth = value;
    Changed();
}

void THeaderButton::Assign(const THeaderButton& source)
{
    FCaption = source.FCaption;
    ImageIndex = source.ImageIndex;
    FEnabled = source.FEnabled;
    Height = source.Height;
    FWidth = source.FWidth;
}

void TFooterButton::Assign(const TFooterButton& source)
{
    THeaderButton::Assign(source);
    ModalResult = source.ModalResult;
}

template <typename TItem>
TItem* TStripButtons<TItem>::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    auto item = std::make_unique<TItem>();
    item->FCollectionChanged = [this] {
        if (OnChange)
            OnChange();
    };
    TItem* result = item.get();
    FItems.insert(FItems.begin() + index, std::move(item));
    return result;
}

template <typename TItem>
TItem* TStripButtons<TItem>::Items(int index) const
{
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

template <typename TItem>
void TStripButtons<TItem>::SetItems(int index, const TItem& value)
{
    if (TItem* item = Items(index))
        item->Assign(value);
}

template <typename TItem>
void TStripButtons<TItem>::Assign(const TStripButtons& source)
{
    if (&source == this)
        return;
    FItems.clear();
    for (const auto& item : source.FItems)
        Add()->Assign(*item);
}

template class TStripButtons<THeaderButton>;
template class TStripButtons<TFooterButton>;

template <typename TButtons>
TStripAppearance<TButtons>::TStripAppearance(void* owner)
    : FOwner(owner), FButtons(std::make_unique<TButtons>(owner))
{
    FButtons->OnChange = [this] {
        if (OnButtonsChanged)
            OnButtonsChanged();
    };
}

template <typename TButtons>
void TStripAppearance<TButtons>::SetVisible(bool value)
{
    if (FVisible == value)
        return;
    FVisible = value;
    if (OnChange)
        OnChange();
}

template <typename TButtons>
void TStripAppearance<TButtons>::AssignColorsFrom(const TStripAppearance& source)
{
    ColorTo = source.ColorTo;
    Color = source.Color;
    BorderColor = source.BorderColor;
    FFont = source.FFont;
    GradientDirection = source.GradientDirection;
}

template class TStripAppearance<THeaderButtons>;
template class TStripAppearance<TFooterButtons>;

THeaderAppearance::THeaderAppearance(void* owner) : TStripAppearance(owner)
{
    FFont.SetName(QStringLiteral("Tahoma"));
}

void THeaderAppearance::Assign(const TStripSettings& source)
{
    const auto* s = dynamic_cast<const THeaderAppearance*>(&source);
    if (!s || s == this)
        return;
    ColorTo = s->ColorTo;
    Color = s->Color;
    BorderColor = s->BorderColor;
    Caption = s->Caption;
    FFont = s->FFont;
    ImageIndex = s->ImageIndex;
    BorderWidth = s->BorderWidth;
    GradientDirection = s->GradientDirection;
    Height = s->Height;
    SetVisible(s->Visible());
    ButtonAlignment = s->ButtonAlignment;
    FButtons->Assign(*s->FButtons);
}

void THeaderAppearance::AssignColors(const TStripSettings& source)
{
    if (const auto* s = dynamic_cast<const THeaderAppearance*>(&source))
        AssignColorsFrom(*s);
}

TFooterAppearance::TFooterAppearance(void* owner) : TStripAppearance(owner) {}

void TFooterAppearance::Assign(const TStripSettings& source)
{
    const auto* s = dynamic_cast<const TFooterAppearance*>(&source);
    if (!s || s == this)
        return;
    BorderColor = s->BorderColor;
    Color = s->Color;
    ColorTo = s->ColorTo;
    GradientDirection = s->GradientDirection;
    FFont = s->FFont;
    Caption = s->Caption;
    SizeGrip = s->SizeGrip;
    BorderWidth = s->BorderWidth;
    Height = s->Height;
    ImageIndex = s->ImageIndex;
    SetVisible(s->Visible());
    ButtonAlignment = s->ButtonAlignment;
    FButtons->Assign(*s->FButtons);
}

void TFooterAppearance::AssignColors(const TStripSettings& source)
{
    if (const auto* s = dynamic_cast<const TFooterAppearance*>(&source))
        AssignColorsFrom(*s);
}

}  // namespace dropdowns
