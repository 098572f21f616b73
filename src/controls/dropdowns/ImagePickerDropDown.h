#pragma once
#include "controls/dropdowns/ItemSelectorCollection.h"
#include "controls/dropdowns/ItemSelectorDropDown.h"

#include <QImage>
#include <QString>

// A pick-only edit that shows the selected image and drops down a grid of images to choose from.
namespace dropdowns {

class TImageItem : public TCollectionItem<TImageItem> {
public:
    explicit TImageItem(TItemCollection<TImageItem>* collection = nullptr) : TCollectionItem(collection) {}

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { SetNotifying(FImageIndex, value); }
    QImage Image;
    QString Hint;

    void Assign(const TImageItem& source);

private:
    int FImageIndex = -1;
};

using TImageItems = TItemCollection<TImageItem>;

class TExtImagePickerDropDown : public TItemPickerDropDown {
    Q_OBJECT
public:
    explicit TExtImagePickerDropDown(QWidget* parent = nullptr);
    ~TExtImagePickerDropDown() override;

    TImageItems& Items() { return *FItems; }
    void SetItems(const TImageItems& value) { FItems->Assign(value); }
    // -1 when nothing is selected, also after the selected item was removed.
    int ItemIndex() const;
    // Values at or above the item count are ignored; negative ones clear the selection.
    void SetItemIndex(int value);
    // The selected item's image index, -1 without one; writing selects the first item with it.
    int ImageIndex() const;
    void SetImageIndex(int value);
    int Columns() const { return FColumns; }
    void SetColumns(int value) { FColumns = value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout value) { FLayout = value; }
    // Hints of the items in the drop-down.
    bool ShowHint = true;

    void AddImagesFromImageList();
    // Appends one item per file matching the pattern (a folder followed by a file pattern, e.g.
    // "icons/*.png"); a picture that does not load leaves its item empty. Throws when the folder
    // cannot be read.
    void AddImagesFromFolder(const QString& folderPattern, bool setImageCaption);

    TExtCustomItemSelector* Selector() const { return FSelector; }

    TOnDrawSelectedItem OnDrawSelectedImage;
    TDrawItemEvent OnDrawItem;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void UpdateDropDownSize() override;
    void SelectNextItem() override;
    void SelectPreviousItem() override;
    void DrawFocusedValue(QPainter& painter) override;

    void InitSelector();

protected:
    void paintEvent(QPaintEvent* event) override;
    int PickerCount() const override { return FItems->Count(); }
    int PickerIndex() const override { return ItemIndex(); }
    void SetPickerIndex(int index) override { SetItemIndex(index); }
    void RefillSelector() override { InitSelector(); }
    void RestoreOpening() override;
    void PickerKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base) override;

private:
    void DrawSelectedValue(QPainter& painter);
    void SelectorItemSelect();

    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TImageItems> FItems;
    int FItemIndex = -1;
};

}  // namespace dropdowns
