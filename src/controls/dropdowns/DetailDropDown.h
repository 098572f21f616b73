#pragma once
#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/ItemSelector.h"
#include "controls/dropdowns/ItemSelectorCollection.h"
#include "controls/dropdowns/ItemSelectorTypes.h"
#include "platform/Clock.h"

#include <QImage>
#include <QPointer>
#include <QString>

// An edit that completes typed text from the captions of its detail items and drops down a
// one-column list of them, each with an image, a caption and a note under it.
namespace dropdowns {

class TDetailItem : public TCollectionItem<TDetailItem> {
public:
    explicit TDetailItem(TItemCollection<TDetailItem>* collection = nullptr) : TCollectionItem(collection) {}

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { SetNotifying(FImageIndex, value); }
    QImage Image;
    // Mini-HTML note shown under the caption.
    QString Notes;
    QObject* ItemObject = nullptr;  // not owned
    int Tag = 0;

    void Assign(const TDetailItem& source);

private:
    int FImageIndex = -1;
};

class TDetailItems : public TItemCollection<TDetailItem> {
public:
    using TItemCollection::TItemCollection;
    // The first item whose caption equals the value exactly (case counts), else -1.
    int IndexOf(const QString& value) const;
};

class TExtDetailDropDown : public TExtCustomDropDown {
    Q_OBJECT
public:
    explicit TExtDetailDropDown(QWidget* parent = nullptr);
    ~TExtDetailDropDown() override;

    TDetailItems& Items() { return *FItems; }
    void SetItems(const TDetailItems& value) { FItems->Assign(value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout value) { FLayout = value; }
    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& value) { FItemAppearance->Assign(value); }
    int ItemHeight() const { return FItemHeight; }
    // At least 1.
    void SetItemHeight(int value);
    platform::TFont CaptionFont;
    platform::TFont NotesFont;
    // Completion compares case-sensitively.
    bool MatchCase = false;

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    TExtCustomItemSelector* Selector() const { return FSelector; }
    // The characters typed for the list search, emptied 500 ms after the first of them.
    QString CurSearch() const { return FCurSearch; }

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void UpdateDropDownSize() override;
    void DoShowDropDown() override;
    void DoHideDropDown(bool cancelChanges) override;
    void DropDownHidden() override;
    void SelectNextItem() override;
    void SelectPreviousItem() override;
    void FormSizing() override;
    void SetSelectionColorStyle(TSelectionColorStyle value) override;
    void SetComponentStyle(TSuiteStyle AStyle) override;
    void ControlKeyDown(int& key, TShiftState shift) override;
    void FormKeyDown(int& key, TShiftState shift) override;
    void ControlKeyUp(int& key, TShiftState shift) override;
    void FormKeyUp(int& key, TShiftState shift) override;

    void InitSelector();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void FillSelectorItems();
    void SelectorItemSelect();
    void DetailItemSize(QSize& size);
    void DrawDetailItem(platform::TCanvas& canvas, QRect r, int index);
    void TextChanged();
    // Runs the key-down road with this control's steps around the base handling; base runs the
    // inherited part.
    void DetailKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base);
    // True when the navigation key was consumed while dropped down.
    bool NavigationKey(int key, TShiftState shift);
    void DetailKeyUp();
    void SetSelectorIndex(int index);
    // Back to the selection of the opening (a cancelled drop-down).
    void RestoreOpening();
    bool FHidingByCall = false;

    QPointer<TExtCustomItemSelector> FSelector;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TDetailItems> FItems;
    int FItemIndex = -1;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    platform::ClockTimer FKeyTimer;
    QString FCurSearch;
    int FOldItemIndex = -1;
    QString FOldText;  // the text at the opening
    int FItemHeight = 22;
    bool FWorkMode = true;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    bool FCompleting = false;
};

}  // namespace dropdowns
