#pragma once
#include "controls/dropdowns/ItemSelectorCollection.h"
#include "controls/dropdowns/ItemSelectorDropDown.h"

#include <QImage>
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

class TExtDetailDropDown : public TItemPickerDropDown {
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
    int ItemHeight() const { return FItemHeight; }
    // At least 1.
    void SetItemHeight(int value);
    platform::TFont CaptionFont;
    platform::TFont NotesFont;
    // Completion compares case-sensitively.
    bool MatchCase = false;

    TExtCustomItemSelector* Selector() const { return FSelector; }

    TOnDrawSelectedItem OnDrawSelectedImage;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void UpdateDropDownSize() override;
    void DoShowDropDown() override;
    void SelectNextItem() override;
    void SelectPreviousItem() override;
    void FormSizing() override;
    void ControlKeyUp(int& key, TShiftState shift) override;
    void FormKeyUp(int& key, TShiftState shift) override;

    void InitSelector();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    int PickerCount() const override { return FItems->Count(); }
    int PickerIndex() const override { return FItemIndex; }
    void SetPickerIndex(int index) override { SetItemIndex(index); }
    void RefillSelector() override { InitSelector(); }
    void RestoreOpening() override;
    // Completion's keys around the base handling; the open list's keys go no further.
    void PickerKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base) override;

private:
    void FillSelectorItems();
    void SelectorItemSelect();
    void DetailItemSize(QSize& size);
    void DrawDetailItem(platform::TCanvas& canvas, QRect r, int index);
    void TextChanged();
    void DetailKeyUp();

    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TDetailItems> FItems;
    int FItemIndex = -1;
    QString FOldText;  // the text at the opening
    int FItemHeight = 22;
    bool FWorkMode = true;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    bool FCompleting = false;
};

}  // namespace dropdowns
