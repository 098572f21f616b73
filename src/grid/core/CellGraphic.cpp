#include "grid/core/CellGraphic.h"

#include <cmath>

namespace grid {

void TCellGraphic::SetCheckBox(bool value, bool data, bool flat, TCellHAlign hal, TCellVAlign val)
{
    CellType = data ? ctDataCheckBox : ctCheckBox;
    CellBoolean = value;
    CellAngle = 0;
    CellTransparent = flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetCheckBox(TCheckBoxState value, bool flat, TCellHAlign hal, TCellVAlign val)
{
    CellType = ctTriStateCheckBox;
    CellCheckBoxState = value;
    CellBoolean = false;
    CellTransparent = flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetRadioButton(bool value, bool flat, TCellHAlign hal, TCellVAlign val)
{
    CellType = ctRadioButton;
    CellBoolean = value;
    CellAngle = 0;
    CellTransparent = flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    CellType = ctImageList;
    CellIndex = idx;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    CellType = ctDataImage;
    CellIndex = idx;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetMultiImage(int col, int row, int dir, TCellHAlign hal, TCellVAlign val,
                                 TIntList::TChange notifier)
{
    CellType = ctImages;
    OwnImages = std::make_unique<TIntList>(col, row);
    OwnImages->OnChange = std::move(notifier);
    CellBoolean = dir == 0;
    CellCreated = true;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val)
{
    CellType = ctButton;
    CellIndex = int((uint32_t(bh) << 16) | (uint32_t(bw) & 0xFFFF));
    CellText = caption;
    CellBoolean = false;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetAngle(int angle)
{
    CellType = ctRotated;
    while (angle < 0)
        angle += 360;
    while (angle > 360)
        angle -= 360;
    CellAngle = angle;
}

QStringList* TCellGraphic::SetRadio(QStringList* items, bool dirRadio, int index, int count)
{
    CellType = ctRadio;
    RadioItems = items;
    CellBoolean = dirRadio;
    CellIndex = index;
    CellAngle = count;
    return items;
}

QStringList* TCellGraphic::CreateRadioList(bool dirRadio, int index)
{
    OwnStrings = std::make_unique<QStringList>();
    CellCreated = true;
    return SetRadio(OwnStrings.get(), dirRadio, index, 0);
}

void TCellGraphic::Assign(const TCellGraphic& source)
{
    CellType = source.CellType;
    CellHAlign = source.CellHAlign;
    CellVAlign = source.CellVAlign;
    CellIndex = source.CellIndex;
    CellTransparent = source.CellTransparent;
    CellValue = source.CellValue;
    CellAngle = source.CellAngle;
    CellBoolean = source.CellBoolean;
    CellErrFrom = source.CellErrFrom;
    CellErrLen = source.CellErrLen;
    CellText = source.CellText;
    CellCreated = source.CellCreated;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh) const
{
    const auto* source = dynamic_cast<const TGraphicSource*>(CellBitmap);
    const TPoint p = source ? source->GraphicSize() : TPoint{};
    const int w = cw - CellIndex, h = rh - CellIndex;
    auto byAspect = [&](double sx, double sy) {
        return sx < sy ? TPoint{w, int(std::nearbyint(p.Y * sx))} : TPoint{int(std::nearbyint(p.X * sy)), h};
    };
    const double sx = p.X <= 0 ? 1.0 : double(w) / p.X;
    const double sy = p.Y <= 0 ? 1.0 : double(h) / p.Y;
    const bool fits = p.X <= w && p.Y <= h;
    switch (TStretchMode(CellAngle)) {
    case Stretch:
        return {w, h};
    case StretchWithAspectRatio:
        return byAspect(sx, sy);
    case Shrink:
        return fits ? p : TPoint{w, h};
    case ShrinkWithAspectRatio:
        return fits ? p : byAspect(std::min(sx, 1.0), std::min(sy, 1.0));
    default:
        return p;
    }
}

QStringList* TCellGraphic::CreateStrings()
{
    OwnStrings = std::make_unique<QStringList>();
    return OwnStrings.get();
}

TObject* TCellGraphic::Own(std::unique_ptr<TObject> object)
{
    OwnObject = std::move(object);
    CellCreated = OwnObject != nullptr;
    return OwnObject.get();
}

}  // namespace grid
