#include "controls/dropdowns/ImagePickerDropDown.h"

#include "controls/dropdowns/ItemSelectorDropDown.h"
#include "controls/dropdowns/DropDownForm.h"
#include "platform/Exception.h"
#include "platform/Guard.h"
#include "platform/TImageList.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace dropdowns {

using namespace platform;

void TImageItem::Assign(const TImageItem& source)
{
    if (&source == this)
        return;
    SetCaption(source.Caption());
    SetImageIndex(source.FImageIndex);
    Image = source.Image;
    Enabled = source.Enabled;
    Hint = source.Hint;
}

TExtImagePickerDropDown::TExtImagePickerDropDown(QWidget* parent)
    : TItemPickerDropDown(parent), FItems(std::make_unique<TImageItems>(this))
{
    FItems->OnChange = [] {};
    SetUpPickOnly(*this);
    BuildItemDropDownForm(*this);
}

TExtImagePickerDropDown::~TExtImagePickerDropDown() = default;

void TExtImagePickerDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!FDropDownForm || !FItems)
        return;
    if (!FSelector) {
        FSelector = new TExtCustomItemSelector(FDropDownForm);
        FSelector->SetSelectorType(stImage);
        FSelector->setGeometry(0, 0, FSelector->width(), 150);
    }
    FSelector->SetColor(FDropDownColor);
    FSelector->UpdateSelectorPanel();
    SetControl(FSelector);
}

int TExtImagePickerDropDown::ItemIndex() const
{
    return FItemIndex < FItems->Count() ? FItemIndex : -1;
}

void TExtImagePickerDropDown::SetItemIndex(int value)
{
    if (value < 0)
        value = -1;
    if (value == ItemIndex() || value >= FItems->Count())
        return;
    FItemIndex = value;
    // The filled list follows, so that the wheel over the closed edit steps from this item.
    if (FSelector && FSelector->ItemIndex() != value && FSelector->Items().Count() == FItems->Count()) {
        const TNotifyEvent handler = FSelector->OnItemSelect;
        FSelector->OnItemSelect = nullptr;
        FSelector->SetItemIndex(value);
        FSelector->OnItemSelect = handler;
    }
    update();
    if (OnChange)
        OnChange();
    if (OnSelect)
        OnSelect();
}

int TExtImagePickerDropDown::ImageIndex() const
{
    const TImageItem* item = FItems->Items(ItemIndex());
    return item ? item->ImageIndex() : -1;
}

void TExtImagePickerDropDown::SetImageIndex(int value)
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->ImageIndex() == value) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

void TExtImagePickerDropDown::AddImagesFromImageList()
{
    if (!FImages)
        return;
    for (int i = 0; i < FImages->Count(); ++i)
        FItems->Add()->SetImageIndex(i);
}

void TExtImagePickerDropDown::AddImagesFromFolder(const QString& folderPattern, bool setImageCaption)
{
    const QFileInfo pattern(folderPattern);
    const QString folder = pattern.path();
    const QFileInfo folderInfo(folder);
    QDir dir(folder);
    if (!folderInfo.isDir() || !folderInfo.isReadable() || !dir.isReadable())
        throw Exception(QStringLiteral("Cannot read the folder \"%1\"").arg(QDir::toNativeSeparators(folder)));
    const QStringList names = dir.entryList(QStringList{pattern.fileName()}, QDir::Files | QDir::Hidden | QDir::System,
                                            QDir::Name);
    for (const QString& name : names) {
        TImageItem* item = FItems->Add();
        QImage image;
        if (image.load(dir.filePath(name))) {
            item->Image = image;
            if (setImageCaption)
                item->SetCaption(name);
        }
    }
}

void TExtImagePickerDropDown::InitSelector()
{
    if (!FSelector)
        return;
    FSelector->OnItemSelect = nullptr;
    FSelector->SetColumns(FColumns);
    FSelector->SetImages(FImages);
    FSelector->SetItemLayout(FLayout);
    FSelector->SetColor(FDropDownColor);
    FSelector->SetItemAppearance(*FItemAppearance);
    TSelectorItems& items = FSelector->Items();
    items.BeginUpdate();
    items.Clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        const TImageItem& source = *FItems->Items(i);
        TSelectorItem* item = items.Add();
        item->SetCaption(source.Caption());
        item->Image = source.Image;
        item->SetImageIndex(source.ImageIndex());
        item->Hint = source.Hint;
    }
    items.EndUpdate();
    FSelector->UpdateSelectorPanel();
    FSelector->SetShowHint(ShowHint);
    FSelector->SetItemIndex(ItemIndex());
    FSelector->OnItemSelect = [this] { SelectorItemSelect(); };
}

void TExtImagePickerDropDown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    InitSelector();
    if (FSelector) {
        if (OnDrawItem)
            FSelector->OnDrawItem = [this](QObject*, TCanvas& canvas, QRect r, int index) {
                if (OnDrawItem)
                    OnDrawItem(this, canvas, r, index);
            };
        else
            FSelector->OnDrawItem = nullptr;
    }
    FOldItemIndex = ItemIndex();
}

void TExtImagePickerDropDown::UpdateDropDownSize()
{
    if (FSelector)
        SizeFormToSelector(*this, *FSelector, [this] { TExtCustomDropDown::UpdateDropDownSize(); });
    else
        TExtCustomDropDown::UpdateDropDownSize();
}

void TExtImagePickerDropDown::RestoreOpening()
{
    if (FSelector)
        SetItemIndex(FOldItemIndex);
}

void TExtImagePickerDropDown::SelectNextItem()
{
    if (!isEnabled() || isReadOnly() || !FSelector)
        return;
    if (FDroppedDown) {
        FSelector->HotNext();
    } else {
        FInternalCall = true;
        FSelector->SelectNext();
        FInternalCall = false;
    }
}

void TExtImagePickerDropDown::SelectPreviousItem()
{
    if (!isEnabled() || isReadOnly() || !FSelector)
        return;
    if (FDroppedDown) {
        FSelector->HotPrevious();
    } else {
        FInternalCall = true;
        FSelector->SelectPrevious();
        FInternalCall = false;
    }
}

void TExtImagePickerDropDown::SelectorItemSelect()
{
    if (!FSelector)
        return;
    SetItemIndex(FSelector->ItemIndex());
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TExtImagePickerDropDown::PickerKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base)
{
    const bool enterUsed = TakeHotEntry(key);
    const bool dropped = FDroppedDown && FSelector;
    base(key);
    if (isEnabled() && !(shift & ssAlt))
        AfterBaseKey(key, shift, dropped, enterUsed, FColumns);
}

void TExtImagePickerDropDown::DrawSelectedValue(QPainter& painter)
{
    TCanvas canvas;
    canvas.Attach(&painter);
    const QRect r = GetEditRect().isValid() ? GetEditRect() : rect();
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, canvas, r);
    } else if (const TImageItem* item = FItems->Items(ItemIndex())) {
        if (!item->Image.isNull()) {
            canvas.Draw(r.left() + (r.width() - item->Image.width()) / 2,
                        r.top() + (r.height() - item->Image.height()) / 2, item->Image);
        } else if (FImages && item->ImageIndex() >= 0) {
            FImages->Draw(canvas, r.left() + (r.width() - FImages->Width()) / 2,
                          r.top() + (r.height() - FImages->Height()) / 2, item->ImageIndex(), true);
        }
    }
    canvas.Detach();
}

void TExtImagePickerDropDown::DrawFocusedValue(QPainter& painter)
{
    TExtCustomDropDown::DrawFocusedValue(painter);
    DrawSelectedValue(painter);
}

void TExtImagePickerDropDown::paintEvent(QPaintEvent* event)
{
    TExtCustomDropDown::paintEvent(event);
    QPainter painter(this);
    Guarded([&] { DrawSelectedValue(painter); });
}

}  // namespace dropdowns
