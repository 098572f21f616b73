#pragma once
#include "controls/dropdowns/ColorPickerPanels.h"
#include "controls/dropdowns/ItemSelectorCollection.h"
#include "controls/dropdowns/ItemSelectorDropDown.h"

#include <QPointer>
#include <QString>

// A pick-only edit for a colour: a colour box with an optional text, and a drop-down offering a
// list of named colours, a palette, a honeycomb of colour cells or a spectrum to pick from.
namespace dropdowns {

enum TColorSelectionStyle { csList, csDiscrete, csColorCube, csSpectrum };

class TColorItem : public TCollectionItem<TColorItem> {
public:
    explicit TColorItem(TItemCollection<TColorItem>* collection = nullptr) : TCollectionItem(collection) {}

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { SetNotifying(FColor, value); }
    QRect Rect;
    QString Hint;

    void Assign(const TColorItem& source);

private:
    TColor FColor = platform::clNone;
};

using TColorItems = TItemCollection<TColorItem>;

class TExtColorPickerDropDown : public TItemPickerDropDown {
    Q_OBJECT
public:
    explicit TExtColorPickerDropDown(QWidget* parent = nullptr);
    ~TExtColorPickerDropDown() override;

    TColorItems& Colors() { return *FColors; }
    void SetColors(const TColorItems& value) { FColors->Assign(value); }
    // Black, Maroon, Green ... Aqua, White: the 16 basic colours.
    void AddDefaultColors();

    int ItemIndex() const { return FItemIndex; }
    // Values at or above the colour count are ignored; negative ones clear the selection.
    void SetItemIndex(int value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor value);
    TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
    void SetColorSelectionStyle(TColorSelectionStyle value);
    int Columns() const { return FColumns; }
    void SetColumns(int value) { FColumns = value; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout value) { FLayout = value; }
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int value) { FColorBoxWidth = value; }
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int value) { FColorBoxHeight = value; }
    bool ShowText() const { return FShowText; }
    void SetShowText(bool value);
    TColorValueText ColorValueText() const { return FColorValueText; }
    void SetColorValueText(TColorValueText value);
    // Hints of the list's entries.
    bool ShowHint = true;

    // The list entry's caption, else the colour as ColorValueText writes it.
    virtual QString SelectedColorText() const;

    TExtCustomItemSelector* ListPanel() const { return FSelector; }
    TCustomColorSelector* PalettePanel() const { return FColorSelector; }
    TExtColorCubePanel* CubePanel() const { return FColorCubePanel; }
    TExtColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }

    TOnDrawSelectedItem OnDrawSelectedColor;
    TDrawItemEvent OnDrawColor;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void UpdateDropDownSize() override;
    void DropDownFormDestroyed() override;
    void SelectNextItem() override;
    void SelectPreviousItem() override;
    void DrawFocusedValue(QPainter& painter) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    int PickerCount() const override { return FColors->Count(); }
    int PickerIndex() const override { return FItemIndex; }
    void SetPickerIndex(int index) override { SetItemIndex(index); }
    void RefillSelector() override { SyncList(); }
    // Back to the selection of the opening, also a colour that had no list entry or box.
    void RestoreOpening() override;
    void PickerKeyDown(int& key, TShiftState shift, const std::function<void(int&)>& base) override;

private:
    // The panel of the style, created when first needed and made the form's inner control.
    QWidget* CreateStylePanel(TColorSelectionStyle style);
    QWidget* StylePanel(TColorSelectionStyle style) const;
    // Shows the style's panel, hides the others and loads it from the picker.
    void PrepareStyle();
    void SyncList();
    void ListSelect();
    void PaletteSelect();
    void CubeSelect();
    void SpectrumSelect();
    void DrawSelectedValue(QPainter& painter);
    void Repaint() { update(); }

    QPointer<TExtColorCubePanel> FColorCubePanel;
    QPointer<TExtColorSpectrumPanel> FSpectrumPanel;
    QPointer<TCustomColorSelector> FColorSelector;
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TColorItems> FColors;
    int FItemIndex = -1;
    int FColorBoxWidth = 14;
    int FColorBoxHeight = 14;
    TColorSelectionStyle FColorSelectionStyle = csList;
    TColor FSelectedColor = platform::clNone;
    bool FShowText = true;
    TColor FOldSelectedColor = platform::clNone;
    TColorValueText FColorValueText = cvtNone;
};

}  // namespace dropdowns
