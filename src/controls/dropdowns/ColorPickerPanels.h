#pragma once
#include "controls/dropdowns/ItemSelectorTypes.h"
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <memory>
#include <vector>

// The colour picker's panels besides the named-colour list: a honeycomb of colour cells, a
// spectrum picture to pick from, and a palette of colour boxes; and the texts of a colour.
namespace dropdowns {

enum TColorValueText { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

// The colour as text: cvtHex the value itself (blue first), cvtWebName the first web colour of
// that RGB (else "#RRGGBB"), cvtRGB "Red:r,Green:g,Blue:b", cvtHTML "#RRGGBB"; system colours are
// resolved for all but cvtHex.
QString ColorValueToText(TColor color, TColorValueText kind);

struct TWebColor {
    const char* Name;
    unsigned RGB;  // 0xRRGGBB, red first
};
// The web colour table in search order.
const std::vector<TWebColor>& WebColors();

class TExtCustomColorSelectorPanel : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TExtCustomColorSelectorPanel(QWidget* parent = nullptr) : TCustomControl(parent) {}
    TNotifyEvent OnShouldHide;

protected:
    // Every key but Tab stays here: the owner hears of it through OnKeyDown and OnKeyUp, and
    // nothing reaches the window around the panel a second time.
    void KeyDown(int& key, platform::TShiftState shift) override
    {
        TCustomControl::KeyDown(key, shift);
        if (key != platform::VK_TAB)
            key = 0;
    }
    void KeyUp(int& key, platform::TShiftState shift) override
    {
        TCustomControl::KeyUp(key, shift);
        if (key != platform::VK_TAB)
            key = 0;
    }
};

class TExtColorCubePanel : public TExtCustomColorSelectorPanel {
    Q_OBJECT
public:
    struct TCubeCell {
        int X = 0;
        int Y = 0;
        TColor Color = platform::clNone;
    };
    static constexpr int CellCount = 127;

    explicit TExtColorCubePanel(QWidget* parent = nullptr);

    // Cells are numbered 1 to 127.
    const TCubeCell& Cell(int number) const { return FCells[size_t(number)]; }
    void BuildCells();
    // The first cell whose centre lies within CubeSize.X of the point, else -1.
    int CellAtPos(int x, int y) const;

    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor value);
    int SelectedIndex() const { return FSelectedIndex; }
    int HotIndex() const { return FHotIndex; }
    void SetHotIndex(int value) { FHotIndex = value; }
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool value);

    QPoint CubeSize{6, 3};
    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;

private:
    void DrawCell(platform::TCanvas& canvas, int number);
    void RepaintCell(int number);
    std::array<TCubeCell, CellCount + 1> FCells{};
    TColor FSelectedColor = platform::clNone;
    int FSelectedIndex = -1;
    int FHotIndex = -1;
    bool FShowRGBHint = true;
};

class TExtColorSpectrumPanel : public TExtCustomColorSelectorPanel {
    Q_OBJECT
public:
    explicit TExtColorSpectrumPanel(QWidget* parent = nullptr);

    // The 128 x 128 spectrum: hue from left to right, pale at the top, saturated in the middle
    // and dark at the bottom.
    static QImage SpectrumImage();
    // The eye-dropper pointer over the picture (hot spot at 1, 30).
    static QCursor PointerCursor();

    void UpdateLayout();
    QRect ImageRect() const { return FImageRect; }
    QRect SelectedRect() const { return FSelectedRect; }
    QRect HotRect() const { return FHotRect; }
    TColor HotColor() const { return FHotColor; }
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor value) { FSelectedColor = value; }

    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    QCursor CursorAt(int x, int y) override;

private:
    void DrawColorRect(platform::TCanvas& canvas, const QRect& r, TColor color);
    QImage FImage;
    QRect FImageRect;
    QRect FSelectedRect;
    QRect FHotRect;
    TColor FHotColor = platform::clNone;
    TColor FSelectedColor = platform::clWhite;
};

struct TColorBoxAppearance {
    TNotifyEvent OnChange;
    TColor BorderColor = 0xC5C5C5;
    TColor OuterBorderColorHot = 0x3694F2;
    TColor InnerBorderColorHot = 0x94E2FF;
    TColor OuterBorderColorSelected = 0x0000FF;
    TColor InnerBorderColorSelected = 0x94E2FF;
    void Assign(const TColorBoxAppearance& source);
};

enum TItemPos { ipStandAlone, ipTop, ipMiddle, ipBottom };

struct TColorBoxItem {
    TColor Color = platform::clNone;
    bool Enabled = true;
    QRect Rect;
    TItemPos ColorBoxPos = ipStandAlone;
    void Assign(const TColorBoxItem& source)
    {
        Color = source.Color;
        Enabled = source.Enabled;
    }
};

// The palette: colour boxes in rows of Columns.
class TCustomColorSelector : public TExtCustomColorSelectorPanel {
    Q_OBJECT
public:
    explicit TCustomColorSelector(QWidget* parent = nullptr);

    // The 60 boxes of the default palette, 6 rows of 10.
    void AddDefaultBoxes();
    std::vector<TColorBoxItem>& Items() { return FItems; }
    const std::vector<TColorBoxItem>& Items() const { return FItems; }
    int Count() const { return int(FItems.size()); }

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor value);

    int Columns() const { return FColumns; }
    void SetColumns(int value);
    int ColumnGap() const { return FColumnGap; }
    void SetColumnGap(int value);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int value);
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle value);
    TColorBoxAppearance ColorBoxAppearance;

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // Keys 33 to 40 (page, end, home, arrows) as the picker hands them on.
    void HandleKey(int key, bool editorEnabled, bool droppedDown);

    // The first box whose rectangle holds the point, else -1.
    int ItemAtPos(int x, int y) const;
    virtual void DrawItem(int index, platform::TCanvas& canvas);
    virtual QRect GetItemsRect() const;
    virtual QSize GetColorBoxSize() const { return QSize(FColorBoxWidth, FColorBoxHeight); }
    virtual void UpdateSize();
    virtual void InvalidateItem(int index);

    TNotifyEvent OnItemSelect;

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseLeave() override;

private:
    bool Selectable(int index) const;
    std::vector<TColorBoxItem> FItems;
    int FItemIndex = -1;
    int FItemHot = -1;
    int FOffSetX = 4;
    int FOffSetY = 4;
    int FColumns = 10;
    int FColumnGap = 4;
    int FColorBoxHeight = 12;
    int FColorBoxWidth = 12;
    TSelectionColorStyle FItemColorStyle = scOffice2007;
    TColor FSelectedColor = platform::clNone;
};

}  // namespace dropdowns
