#pragma once
#include <QImage>
#include <QStringList>
#include <QVariant>
#include <memory>

#include "platform/TImageList.h"

#include "grid/core/GridSettings.h"
#include "grid/core/GridTypes.h"

namespace grid {

// What a cell graphic shows and the grid must measure: a picture, an icon, an image list, an
// interfaced object.
class TGraphicSource : public TObject {
public:
    virtual TPoint GraphicSize() const = 0;
};

// A bitmap, icon or picture that cells show.
class TGridBitmap : public TGraphicSource {
public:
    TGridBitmap() = default;
    explicit TGridBitmap(QImage image) : Image(std::move(image)) {}
    QImage Image;
    TPoint GraphicSize() const override { return {Image.width(), Image.height()}; }
};

// The grid's image list: image cells draw from it by index.
class TGridImageList : public TGraphicSource {
public:
    explicit TGridImageList(int width = 16, int height = 16) : List(width, height) {}
    platform::TImageList List;
    TPoint GraphicSize() const override { return {List.Width(), List.Height()}; }
};

class TExtStringGrid;

// An object that draws itself in a cell; its size is its GraphicSize.
class TCellGraphicInterface : public TGraphicSource {
public:
    virtual void Draw(platform::TCanvas& canvas, TRect r, TExtStringGrid* grid, bool selected, int row, int col) = 0;
    // Drawn before the cell text instead of after it.
    virtual bool DrawBeforeText() const { return false; }
};

// The check box kinds (radio buttons are not among them).
inline bool IsCheckKind(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

enum TStretchMode : uint8_t { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

// The one graphic a cell may show besides its text. The kinds keep the field meanings of the
// graphic table; references that the graphic creates itself are owned members, references handed
// in by a caller are kept as plain pointers and never freed here.
class TCellGraphic : public TObject {
public:
    TCellType CellType = ctNone;
    TObject* CellBitmap = nullptr;  // caller's object (bitmap, picture, interface)
    TObject* CellIcon = nullptr;
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    int CellIndex = 0;
    bool CellTransparent = false;
    bool CellCreated = false;
    bool CellBoolean = false;
    int CellAngle = 0;
    double CellValue = 0;
    int CellErrFrom = 0;
    int CellErrLen = 0;
    QString CellText;
    QVariant CellVar;
    TCheckBoxState CellCheckBoxState = cbUnchecked;
    TColor CellColor = clNone;        // colour values that the original kept in the reference slots
    TColor CellColorTo = clNone;

    // Owned contents: radio items, balloon strings, image index list.
    QStringList* Strings() { return OwnStrings.get(); }
    TIntList* Images() { return OwnImages.get(); }
    QStringList* RadioItems = nullptr;  // the caller's list for AddRadio, or OwnStrings

    void SetCheckBox(bool value, bool data, bool flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState value, bool flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool value, bool flat, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    void SetMultiImage(int col, int row, int dir, TCellHAlign hal, TCellVAlign val, TIntList::TChange notifier);
    void SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val);
    void SetAngle(int angle);
    QStringList* SetRadio(QStringList* items, bool dirRadio, int index, int count);
    QStringList* CreateRadioList(bool dirRadio, int index);
    void Assign(const TCellGraphic& source);
    // An owned string list (balloon title and text), replacing any owned list before.
    QStringList* CreateStrings();
    void FreeStrings() { OwnStrings.reset(); }
    // The object the graphic made itself (CellCreated): kept until the graphic goes or another
    // replaces it.
    TObject* Own(std::unique_ptr<TObject> object);
    // Size of a picture kind drawn in a cell of width cw and height rh: padding CellIndex,
    // stretch mode CellAngle.
    TPoint GetPictureSize(int cw, int rh) const;

private:
    std::unique_ptr<QStringList> OwnStrings;
    std::unique_ptr<TIntList> OwnImages;
    std::unique_ptr<TObject> OwnObject;
};

}  // namespace grid
