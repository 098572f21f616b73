#pragma once
#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/ItemSelector.h"
#include "controls/dropdowns/ItemSelectorCollection.h"
#include "controls/dropdowns/ItemSelectorTypes.h"
#include "platform/Clock.h"

#include <QImage>
#include <QPointer>
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

class TExtImagePickerDropDown : public TExtCustomDropDown {
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
    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& value) { FItemAppearance->Assign(value); }
    // Hints of the items in the drop-down.
    bool ShowHint = true;

    void AddImagesFromImageList();
    // Appends one item per file matching the pattern (a folder followed by a file pattern, e.g.
    // "icons/*.png"); a picture that does not load leaves its item empty. Throws when the folder
    // cannot be read.
    void AddImagesFromFolder(const QString& folderPattern, bool setImageCaption);

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    TExtCustomItemSelector* Selector() const { return FSelector; }
    QString CurSearch() const { return FCurSearch; }

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;
    TDrawItemEvent OnDrawItem;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool cancelChanges) override;
    void DropDownHidden() override;
    void SelectNextItem() override;
    void SelectPreviousItem() override;
    void DrawFocusedValue(QPainter& painter) override;
    void SetSelectionColorStyle(TSelectionColorStyle value) override;
    void SetComponentStyle(TSuiteStyle AStyle) override;
    void ControlKeyDown(int& key, TShiftState shift) override;
    void FormKeyDown(int& key, TShiftState shift) override;

    void InitSelector();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawSelectedValue(QPainter& painter);
    void SelectorItemSelect();
    void PickerKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base);
    void SetSelectorIndex(int index);
    // Back to the selection of the opening (a cancelled drop-down).
    void RestoreOpening();
    bool FHidingByCall = false;

    QPointer<TExtCustomItemSelector> FSelector;
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TImageItems> FItems;
    int FItemIndex = -1;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    platform::ClockTimer FKeyTimer;
    QString FCurSearch;
    int FOldItemIndex = -1;
};

}  // namespace dropdowns
