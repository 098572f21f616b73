#include "controls/dropdowns/ColorPickerDropDown.h"

#include "controls/dropdowns/ItemSelectorDropDown.h"
#include "controls/dropdowns/DropDownForm.h"
#include "controls/dropdowns/DropDownStrips.h"
#include "platform/Guard.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace dropdowns {

using namespace platform;

namespace {

struct TNamedColor {
    const char* Name;
    TColor Color;
};

constexpr TNamedColor DefaultColors[] = {
    {"Black", 0x000000}, {"Maroon", 0x000080}, {"Green", 0x008000},  {"Olive", 0x008080},
    {"Navy", 0x800000},  {"Purple", 0x800080}, {"Teal", 0x808000},   {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},   {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

}  // namespace

void TColorItem::Assign(const TColorItem& source)
{
    if (&source == this)
        return;
    SetCaption(source.Caption());
    SetColor(source.FColor);
    Enabled = source.Enabled;
    Hint = source.Hint;
}

TExtColorPickerDropDown::TExtColorPickerDropDown(QWidget* parent)
    : TItemPickerDropDown(parent), FColors(std::make_unique<TColorItems>(this))
{
    FColors->OnChange = [] {};
    SetUpPickOnly(*this);
    SetDropDownHeight(200);
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
    BuildItemDropDownForm(*this);
}

TExtColorPickerDropDown::~TExtColorPickerDropDown()
{
    // The panels go with the form after this control's own parts; they call back no more (the
    // list is unhooked by the base).
    if (FColorSelector)
        FColorSelector->OnItemSelect = nullptr;
    if (FColorCubePanel)
        FColorCubePanel->OnSelect = nullptr;
    if (FSpectrumPanel)
        FSpectrumPanel->OnSelect = nullptr;
}

void TExtColorPickerDropDown::AddDefaultColors()
{
    for (const TNamedColor& c : DefaultColors) {
        TColorItem* item = FColors->Add();
        item->SetCaption(QString::fromLatin1(c.Name));
        item->SetColor(c.Color);
    }
}

void TExtColorPickerDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (FDropDownForm && FColors)
        CreateStylePanel(FColorSelectionStyle);
}

QWidget* TExtColorPickerDropDown::StylePanel(TColorSelectionStyle style) const
{
    switch (style) {
    case csList: return FSelector;
    case csDiscrete: return FColorSelector;
    case csColorCube: return FColorCubePanel;
    case csSpectrum: return FSpectrumPanel;
    }
    return nullptr;
}

QWidget* TExtColorPickerDropDown::CreateStylePanel(TColorSelectionStyle style)
{
    if (!FDropDownForm)
        return nullptr;
    if (QWidget* existing = StylePanel(style))
        return existing;
    platform::TCustomControl* panel = nullptr;
    switch (style) {
    case csList:
        FSelector = new TExtCustomItemSelector(FDropDownForm);
        FSelector->SetSelectorType(stColor);
        FSelector->setGeometry(0, 0, FSelector->width(), 150);
        FSelector->UpdateSelectorPanel();
        panel = FSelector;
        break;
    case csDiscrete:
        FColorSelector = new TCustomColorSelector(FDropDownForm);
        FColorSelector->AddDefaultBoxes();
        FColorSelector->UpdateSize();
        panel = FColorSelector;
        break;
    case csColorCube:
        FColorCubePanel = new TExtColorCubePanel(FDropDownForm);
        panel = FColorCubePanel;
        break;
    case csSpectrum:
        FSpectrumPanel = new TExtColorSpectrumPanel(FDropDownForm);
        panel = FSpectrumPanel;
        break;
    }
    panel->move(0, 0);
    panel->SetColor(FDropDownColor);
    SetControl(panel);
    return panel;
}

void TExtColorPickerDropDown::SyncList()
{
    if (!FSelector)
        return;
    FSelector->OnItemSelect = nullptr;
    FSelector->SetColumns(FColumns);
    FSelector->SetImages(FImages);
    FSelector->SetItemLayout(FLayout);
    FSelector->SetColor(FDropDownColor);
    FSelector->SetColorBoxHeight(FColorBoxHeight);
    FSelector->SetColorBoxWidth(FColorBoxWidth);
    FSelector->SetItemAppearance(*FItemAppearance);
    TSelectorItems& items = FSelector->Items();
    items.BeginUpdate();
    items.Clear();
    for (int i = 0; i < FColors->Count(); ++i) {
        const TColorItem& source = *FColors->Items(i);
        TSelectorItem* item = items.Add();
        item->SetCaption(source.Caption());
        item->SetColor(source.Color());
        item->Hint = source.Hint;
    }
    items.EndUpdate();
    FSelector->UpdateSelectorPanel();
    FSelector->SetItemIndex(FItemIndex);
    FSelector->OnItemSelect = [this] { ListSelect(); };
    FSelector->SetShowHint(ShowHint);
    if (OnDrawColor)
        FSelector->OnDrawItem = [this](QObject*, TCanvas& canvas, QRect r, int index) {
            if (OnDrawColor)
                OnDrawColor(this, canvas, r, index);
        };
    else
        FSelector->OnDrawItem = nullptr;
}

void TExtColorPickerDropDown::PrepareStyle()
{
    if (!CreateStylePanel(FColorSelectionStyle))
        return;
    for (TColorSelectionStyle other : {csList, csDiscrete, csColorCube, csSpectrum})
        if (other != FColorSelectionStyle)
            if (QWidget* panel = StylePanel(other))
                panel->hide();
    switch (FColorSelectionStyle) {
    case csList:
        SyncList();
        FOldItemIndex = FItemIndex;
        break;
    case csDiscrete:
        FColorSelector->OnItemSelect = nullptr;
        FColorSelector->SetSelectedColor(FSelectedColor);
        FColorSelector->UpdateSize();
        FColorSelector->OnItemSelect = [this] { PaletteSelect(); };
        FColorSelector->SetItemColorStyle(FSelectionColorStyle);
        break;
    case csColorCube:
        FColorCubePanel->SetSelectedColor(FSelectedColor);
        FColorCubePanel->BuildCells();
        FColorCubePanel->SetHotIndex(-1);
        FColorCubePanel->resize(182, 160);
        FColorCubePanel->OnSelect = [this] { CubeSelect(); };
        break;
    case csSpectrum:
        FSpectrumPanel->SetSelectedColor(FSelectedColor);
        FSpectrumPanel->UpdateLayout();
        FSpectrumPanel->OnSelect = [this] { SpectrumSelect(); };
        break;
    }
    QWidget* panel = StylePanel(FColorSelectionStyle);
    panel->show();
    SetControl(panel);
}

void TExtColorPickerDropDown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    PrepareStyle();
    FOldSelectedColor = FSelectedColor;
}

void TExtColorPickerDropDown::UpdateDropDownSize()
{
    if (!FDropDownForm)
        return;
    if (FColorSelectionStyle == csList) {
        if (FSelector)
            SizeFormToSelector(*this, *FSelector, [this] { TExtCustomDropDown::UpdateDropDownSize(); });
        else
            TExtCustomDropDown::UpdateDropDownSize();
        return;
    }
    QWidget* control = FControl;
    const bool visible = control && control->isVisibleTo(FDropDownForm);
    const int w = visible ? control->width() + 2 * FDropDownBorderWidth : width();
    int h = 2 * FDropDownBorderWidth;
    if (FDropDownForm->Header() && FDropDownForm->Header()->isVisibleTo(FDropDownForm))
        h += FDropDownForm->Header()->height();
    if (FDropDownForm->Footer() && FDropDownForm->Footer()->isVisibleTo(FDropDownForm))
        h += FDropDownForm->Footer()->height();
    if (visible)
        h += control->height();
    FDropDownForm->resize(w, h);
}

void TExtColorPickerDropDown::RestoreOpening()
{
    if (FColorSelectionStyle == csList && FSelector)
        SetItemIndex(FOldItemIndex);
    else if (FColorSelectionStyle == csDiscrete && FColorSelector)
        FColorSelector->SetSelectedColor(FOldSelectedColor);
    // A colour moved to with the keys goes back too when the old one had no list entry or box.
    if (FSelectedColor != FOldSelectedColor) {
        FSelectedColor = FOldSelectedColor;
        Repaint();
    }
}

void TExtColorPickerDropDown::DropDownFormDestroyed()
{
    TExtCustomDropDown::DropDownFormDestroyed();
    FSelector = nullptr;
    FColorCubePanel = nullptr;
    FSpectrumPanel = nullptr;
    FColorSelector = nullptr;
}

void TExtColorPickerDropDown::SetItemIndex(int value)
{
    if (value >= FColors->Count())
        return;
    FItemIndex = std::max(-1, value);
    if (FItemIndex >= 0)
        FSelectedColor = FColors->Items(FItemIndex)->Color();
    // The filled list follows, so that the wheel over the closed edit steps from this entry.
    if (FSelector && FSelector->ItemIndex() != FItemIndex &&
        FSelector->Items().Count() == FColors->Count()) {
        const TNotifyEvent handler = FSelector->OnItemSelect;
        FSelector->OnItemSelect = nullptr;
        FSelector->SetItemIndex(FItemIndex);
        FSelector->OnItemSelect = handler;
    }
    Repaint();
    if (OnSelect)
        OnSelect();
}

void TExtColorPickerDropDown::SetSelectedColor(TColor value)
{
    if (value == FSelectedColor)
        return;
    FSelectedColor = value;
    for (int i = 0; i < FColors->Count(); ++i)
        if (FColors->Items(i)->Color() == value) {
            SetItemIndex(i);
            break;
        }
    Repaint();
}

void TExtColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle value)
{
    if (value == FColorSelectionStyle)
        return;
    FColorSelectionStyle = value;
    if (!FDropDownForm)
        return;
    PrepareStyle();
    FOldSelectedColor = FSelectedColor;
    UpdateDropDownSize();
    FDropDownForm->LayoutChildren();
    FDropDownForm->update();
}

void TExtColorPickerDropDown::SetShowText(bool value)
{
    if (value == FShowText)
        return;
    FShowText = value;
    Repaint();
}

void TExtColorPickerDropDown::SetColorValueText(TColorValueText value)
{
    FColorValueText = value;
    Repaint();
}

QString TExtColorPickerDropDown::SelectedColorText() const
{
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count())
        return FColors->Items(FItemIndex)->Caption();
    return ColorValueToText(FSelectedColor, FColorValueText);
}

void TExtColorPickerDropDown::ListSelect()
{
    if (!FSelector)
        return;
    SetItemIndex(FSelector->ItemIndex());
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TExtColorPickerDropDown::PaletteSelect()
{
    if (!FColorSelector)
        return;
    SetSelectedColor(FColorSelector->SelectedColor());
    SetItemIndex(-1);
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TExtColorPickerDropDown::CubeSelect()
{
    if (!FColorCubePanel)
        return;
    SetSelectedColor(FColorCubePanel->SelectedColor());
    SetItemIndex(-1);
    DoHideDropDown(false);
}

void TExtColorPickerDropDown::SpectrumSelect()
{
    if (!FSpectrumPanel)
        return;
    SetSelectedColor(FSpectrumPanel->SelectedColor());
    SetItemIndex(-1);
    DoHideDropDown(false);
}

void TExtColorPickerDropDown::SelectNextItem()
{
    TExtCustomDropDown::SelectNextItem();
    if (!isEnabled() || isReadOnly())
        return;
    FInternalCall = true;
    if (FColorSelectionStyle == csList && FSelector) {
        if (FDroppedDown)
            FSelector->HotNext();
        else
            FSelector->SelectNext();
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (FDroppedDown)
            FColorSelector->HotNext();
        else
            FColorSelector->SelectNext();
    }
    FInternalCall = false;
}

void TExtColorPickerDropDown::SelectPreviousItem()
{
    TExtCustomDropDown::SelectPreviousItem();
    if (!isEnabled() || isReadOnly())
        return;
    FInternalCall = true;
    if (FColorSelectionStyle == csList && FSelector) {
        if (FDroppedDown)
            FSelector->HotPrevious();
        else
            FSelector->SelectPrevious();
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (FDroppedDown)
            FColorSelector->HotPrevious();
        else
            FColorSelector->SelectPrevious();
    }
    FInternalCall = false;
}

void TExtColorPickerDropDown::PickerKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base)
{
    const bool discrete = FColorSelectionStyle == csDiscrete && FColorSelector;
    bool enterUsed = false;
    if (FColorSelectionStyle == csList) {
        enterUsed = TakeHotEntry(key);
    } else if (discrete && key == VK_RETURN && isEnabled() && FDroppedDown && FColorSelector->ItemHot() >= 0) {
        FColorSelector->SetItemIndex(FColorSelector->ItemHot());
        enterUsed = true;
    }
    const bool dropped = FDroppedDown;
    base(key);
    if (!isEnabled() || (shift & ssAlt))
        return;
    if (discrete) {
        FInternalCall = true;
        FColorSelector->HandleKey(key, FEditorEnabled, dropped);
        FInternalCall = false;
        if (key == VK_RETURN && !enterUsed && OnSelect)
            OnSelect();
        return;
    }
    if (FColorSelectionStyle == csList && FSelector)
        AfterBaseKey(key, shift, dropped, enterUsed, FColumns);
}

void TExtColorPickerDropDown::DrawSelectedValue(QPainter& painter)
{
    TCanvas canvas;
    canvas.Attach(&painter);
    const QRect r = Rect(1, 1, width() - FButtonWidth - 2, height() - 2);
    if (OnDrawSelectedColor) {
        OnDrawSelectedColor(this, canvas, r);
        canvas.Detach();
        return;
    }
    if (FSelectedColor != clNone) {
        const int top = r.top() + (height() - FColorBoxHeight) / 2;
        const QRect box(r.left() + 4, top, FColorBoxWidth, FColorBoxHeight);
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = clBlack;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = FSelectedColor;
        canvas.Rectangle(box);
        if (FShowText) {
            canvas.Font = TFont(font(), FromQColor(palette().color(QPalette::Text)));
            const bool focused = hasFocus();
            if (!FEditorEnabled && focused)
                canvas.Font.Color = clHighlightText;
            canvas.Brush.Color = focused ? clHighlight : FromQColor(palette().color(QPalette::Base));
            QRect textRect = Rect(box.left() + box.width() + 4, r.top(), r.left() + r.width(), r.top() + r.height());
            canvas.DrawText(SelectedColorText(), textRect,
                            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT);
        }
    }
    canvas.Detach();
}

void TExtColorPickerDropDown::DrawFocusedValue(QPainter& painter)
{
    TExtCustomDropDown::DrawFocusedValue(painter);
    DrawSelectedValue(painter);
}

void TExtColorPickerDropDown::paintEvent(QPaintEvent* event)
{
    TExtCustomDropDown::paintEvent(event);
    QPainter painter(this);
    Guarded([&] { DrawSelectedValue(painter); });
}

}  // namespace dropdowns
