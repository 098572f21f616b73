#include "controls/dropdowns/ColorPickerPanels.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>
#include <algorithm>

namespace dropdowns {

using namespace platform;

namespace {

const std::vector<TWebColor> WebColorTable = {
    {"clWebSnow", 0xFFFAFA}, {"clWebFloralWhite", 0xFFFAF0}, {"clWebLavenderBlush", 0xFFF0F5},
    {"clWebOldLace", 0xFDF5E6}, {"clWebIvory", 0xFFFFF0}, {"clWebCornSilk", 0xFFF8DC}, {"clWebBeige", 0xF5F5DC},
    {"clWebAntiqueWhite", 0xFAEBD7}, {"clWebWheat", 0xF5DEB3}, {"clWebAliceBlue", 0xF0F8FF},
    {"clWebGhostWhite", 0xF8F8FF}, {"clWebLavender", 0xE6E6FA}, {"clWebSeashell", 0xFFF5EE},
    {"clWebLightYellow", 0xFFFFE0}, {"clWebPapayaWhip", 0xFFEFD5}, {"clWebNavajoWhite", 0xFFDEAD},
    {"clWebMoccasin", 0xFFE4B5}, {"clWebBurlywood", 0xDEB887}, {"clWebAzure", 0xF0FFFF},
    {"clWebMintcream", 0xF5FFFA}, {"clWebHoneydew", 0xF0FFF0}, {"clWebLinen", 0xFAF0E6},
    {"clWebLemonChiffon", 0xFFFACD}, {"clWebBlanchedAlmond", 0xFFEBCD}, {"clWebBisque", 0xFFE4C4},
    {"clWebPeachPuff", 0xFFDAB9}, {"clWebTan", 0xD2B48C}, {"clWebYellow", 0xFFFF00}, {"clWebDarkOrange", 0xFF8C00},
    {"clWebRed", 0xFF0000}, {"clWebDarkRed", 0x8B0000}, {"clWebMaroon", 0x800000}, {"clWebIndianRed", 0xCD5C5C},
    {"clWebSalmon", 0xFA8072}, {"clWebCoral", 0xFF7F50}, {"clWebGold", 0xFFD700}, {"clWebTomato", 0xFF6347},
    {"clWebCrimson", 0xDC143C}, {"clWebBrown", 0xA52A2A}, {"clWebChocolate", 0xD2691E},
    {"clWebSandyBrown", 0xF4A460}, {"clWebLightSalmon", 0xFFA07A}, {"clWebLightCoral", 0xF08080},
    {"clWebOrange", 0xFFA500}, {"clWebOrangeRed", 0xFF4500}, {"clWebFirebrick", 0xB22222},
    {"clWebSaddleBrown", 0x8B4513}, {"clWebSienna", 0xA0522D}, {"clWebPeru", 0xCD853F},
    {"clWebDarkSalmon", 0xE9967A}, {"clWebRosyBrown", 0xBC8F8F}, {"clWebPaleGoldenrod", 0xEEE8AA},
    {"clWebLightGoldenrodYellow", 0xFAFAD2}, {"clWebOlive", 0x808000}, {"clWebForestGreen", 0x228B22},
    {"clWebGreenYellow", 0xADFF2F}, {"clWebChartreuse", 0x7FFF00}, {"clWebLightGreen", 0x90EE90},
    {"clWebAquamarine", 0x7FFFD4}, {"clWebSeaGreen", 0x2E8B57}, {"clWebGoldenRod", 0xDAA520},
    {"clWebKhaki", 0xF0E68C}, {"clWebOliveDrab", 0x6B8E23}, {"clWebGreen", 0x008000}, {"clWebYellowGreen", 0x9ACD32},
    {"clWebLawnGreen", 0x7CFC00}, {"clWebPaleGreen", 0x98FB98}, {"clWebMediumAquamarine", 0x66CDAA},
    {"clWebMediumSeaGreen", 0x3CB371}, {"clWebDarkGoldenRod", 0xB8860B}, {"clWebDarkKhaki", 0xBDB76B},
    {"clWebDarkOliveGreen", 0x556B2F}, {"clWebDarkgreen", 0x006400}, {"clWebLimeGreen", 0x32CD32},
    {"clWebLime", 0x00FF00}, {"clWebSpringGreen", 0x00FF7F}, {"clWebMediumSpringGreen", 0x00FA9A},
    {"clWebDarkSeaGreen", 0x8FBC8F}, {"clWebLightSeaGreen", 0x20B2AA}, {"clWebPaleTurquoise", 0xAFEEEE},
    {"clWebLightCyan", 0xE0FFFF}, {"clWebLightBlue", 0xADD8E6}, {"clWebLightSkyBlue", 0x87CEFA},
    {"clWebCornFlowerBlue", 0x6495ED}, {"clWebDarkBlue", 0x00008B}, {"clWebIndigo", 0x4B0082},
    {"clWebMediumTurquoise", 0x48D1CC}, {"clWebTurquoise", 0x40E0D0}, {"clWebCyan", 0x00FFFF},
    {"clWebPowderBlue", 0xB0E0E6}, {"clWebSkyBlue", 0x87CEEB}, {"clWebRoyalBlue", 0x4169E1},
    {"clWebMediumBlue", 0x0000CD}, {"clWebMidnightBlue", 0x191970}, {"clWebDarkTurquoise", 0x00CED1},
    {"clWebCadetBlue", 0x5F9EA0}, {"clWebDarkCyan", 0x008B8B}, {"clWebTeal", 0x008080},
    {"clWebDeepskyBlue", 0x00BFFF}, {"clWebDodgerBlue", 0x1E90FF}, {"clWebBlue", 0x0000FF}, {"clWebNavy", 0x000080},
    {"clWebDarkViolet", 0x9400D3}, {"clWebDarkOrchid", 0x9932CC}, {"clWebMagenta", 0xFF00FF},
    {"clWebDarkMagenta", 0x8B008B}, {"clWebMediumVioletRed", 0xC71585}, {"clWebPaleVioletRed", 0xDB7093},
    {"clWebBlueViolet", 0x8A2BE2}, {"clWebMediumOrchid", 0xBA55D3}, {"clWebMediumPurple", 0x9370DB},
    {"clWebPurple", 0x800080}, {"clWebDeepPink", 0xFF1493}, {"clWebLightPink", 0xFFB6C1}, {"clWebViolet", 0xEE82EE},
    {"clWebOrchid", 0xDA70D6}, {"clWebPlum", 0xDDA0DD}, {"clWebThistle", 0xD8BFD8}, {"clWebHotPink", 0xFF69B4},
    {"clWebPink", 0xFFC0CB}, {"clWebLightSteelBlue", 0xB0C4DE}, {"clWebMediumSlateBlue", 0x7B68EE},
    {"clWebLightSlateGray", 0x778899}, {"clWebWhite", 0xFFFFFF}, {"clWebLightgrey", 0xD3D3D3},
    {"clWebGray", 0x808080}, {"clWebSteelBlue", 0x4682B4}, {"clWebSlateBlue", 0x6A5ACD},
    {"clWebSlateGray", 0x708090}, {"clWebWhiteSmoke", 0xF5F5F5}, {"clWebSilver", 0xC0C0C0},
    {"clWebDimGray", 0x696969}, {"clWebMistyRose", 0xFFE4E1}, {"clWebDarkSlateBlue", 0x483D8B},
    {"clWebDarkSlategray", 0x2F4F4F}, {"clWebGainsboro", 0xDCDCDC}, {"clWebDarkGray", 0xA9A9A9},
    {"clWebBlack", 0x000000},
};

// Cell colours of the honeycomb, row by row (7, 8, ... 13, 12, ... 7 cells).
constexpr TColor CubeColors[TExtColorCubePanel::CellCount] = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,
    0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,
    0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666,
    0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066,
    0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xFF0099,
    0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF00CC, 0xCC0099,
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF, 0xCC00CC, 0x660066,
    0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC, 0x800080,
    0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099,
    0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399,
    0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066,
    0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,
    0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5,
};

// The default palette, 6 rows of 10.
constexpr TColor PaletteColors[60] = {
    0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7,
    0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD,
    0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB,
    0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA,
    0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3,
    0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897,
};

QPolygon Hexagon(int x, int y, int a, int b)
{
    return QPolygon({QPoint(x - b, y - a), QPoint(x, y - 2 * a), QPoint(x + b, y - a), QPoint(x + b, y + a),
                     QPoint(x, y + 2 * a), QPoint(x - b, y + a)});
}

QString Hex2(int v) { return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper(); }

}  // namespace

const std::vector<TWebColor>& WebColors() { return WebColorTable; }

QString ColorValueToText(TColor color, TColorValueText kind)
{
    const TColor rgb = ColorToRGB(color);
    const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    switch (kind) {
    case cvtNone: return QString();
    case cvtHex: return QStringLiteral("%1").arg(color, 6, 16, QLatin1Char('0')).toUpper();
    case cvtWebName: {
        const unsigned value = (unsigned(r) << 16) | (unsigned(g) << 8) | unsigned(b);
        for (const TWebColor& web : WebColorTable)
            if (web.RGB == value)
                return QString::fromLatin1(web.Name);
        return QStringLiteral("#") + Hex2(r) + Hex2(g) + Hex2(b);
    }
    case cvtRGB: return QStringLiteral("Red:%1,Green:%2,Blue:%3").arg(r).arg(g).arg(b);
    case cvtHTML: return QStringLiteral("#") + Hex2(r) + Hex2(g) + Hex2(b);
    }
    return QString();
}

// Cube

TExtColorCubePanel::TExtColorCubePanel(QWidget* parent) : TExtCustomColorSelectorPanel(parent)
{
    SetShowRGBHint(true);
    BuildCells();
    resize(182, 160);
}

void TExtColorCubePanel::BuildCells()
{
    int number = 1;
    for (int r = 1; r <= 13; ++r) {
        const int count = r <= 7 ? r + 6 : 20 - r;
        const int x0 = r <= 7 ? 61 - 6 * r : 6 * (r - 7) + 19;
        const int y = 20 + 10 * (r - 1);
        for (int i = 0; i < count; ++i, ++number)
            FCells[size_t(number)] = TCubeCell{x0 + i * 2 * CubeSize.x(), y, CubeColors[number - 1]};
    }
    SetSelectedColor(FSelectedColor);
}

int TExtColorCubePanel::CellAtPos(int x, int y) const
{
    const int limit = CubeSize.x() * CubeSize.x();
    for (int n = 1; n <= CellCount; ++n) {
        const int dx = x - FCells[size_t(n)].X, dy = y - FCells[size_t(n)].Y;
        if (dx * dx + dy * dy <= limit)
            return n;
    }
    return -1;
}

void TExtColorCubePanel::SetSelectedColor(TColor value)
{
    FSelectedColor = value;
    FSelectedIndex = -1;
    for (int n = 1; n <= CellCount; ++n)
        if (FCells[size_t(n)].Color == value) {
            FSelectedIndex = n;
            break;
        }
    Invalidate();
}

void TExtColorCubePanel::SetShowRGBHint(bool value)
{
    FShowRGBHint = value;
    SetShowHint(value);
}

void TExtColorCubePanel::DrawCell(TCanvas& canvas, int number)
{
    if (number < 1 || number > CellCount)
        return;
    const TCubeCell& cell = FCells[size_t(number)];
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = cell.Color;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = cell.Color;
    canvas.Polygon(Hexagon(cell.X, cell.Y, 3, 6));
    const bool selected = number == FSelectedIndex, hot = number == FHotIndex;
    if (!selected && !hot)
        return;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Pen.Color = selected ? clBlack : clRed;
    canvas.Polygon(Hexagon(cell.X, cell.Y, 3, 5));
    canvas.Pen.Color = clWhite;
    canvas.Polygon(Hexagon(cell.X, cell.Y, 2, 4));
}

void TExtColorCubePanel::RepaintCell(int number)
{
    if (number < 1 || number > CellCount)
        return;
    const TCubeCell& cell = FCells[size_t(number)];
    InvalidateRect(QRect(cell.X - 8, cell.Y - 8, 17, 17));
}

void TExtColorCubePanel::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    for (int n = 1; n <= CellCount; ++n)
        DrawCell(canvas, n);
    // The marked cells again, so that no neighbour covers their outline.
    if (FHotIndex > 0)
        DrawCell(canvas, FHotIndex);
    if (FSelectedIndex > 0)
        DrawCell(canvas, FSelectedIndex);
}

void TExtColorCubePanel::MouseMove(TShiftState shift, int x, int y)
{
    TExtCustomColorSelectorPanel::MouseMove(shift, x, y);
    const int cell = CellAtPos(x, y);
    if (cell < 0) {
        if (FShowRGBHint) {
            SetHint(QString());
            QToolTip::hideText();
        }
        return;
    }
    if (cell == FHotIndex)
        return;
    const int old = FHotIndex;
    FHotIndex = cell;
    RepaintCell(old);
    RepaintCell(cell);
    if (FShowRGBHint) {
        const TColor c = FCells[size_t(cell)].Color;
        SetHint(QStringLiteral("Red: %1,  Green: %2,  Blue: %3").arg(GetRValue(c)).arg(GetGValue(c)).arg(GetBValue(c)));
        QToolTip::hideText();
    }
}

void TExtColorCubePanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TExtCustomColorSelectorPanel::MouseDown(button, shift, x, y);
    const int cell = CellAtPos(x, y);
    if (cell < 0)
        return;
    RepaintCell(FSelectedIndex);
    FSelectedColor = FCells[size_t(cell)].Color;
    FSelectedIndex = cell;
    RepaintCell(cell);
    if (OnSelect)
        OnSelect();
}

void TExtColorCubePanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TExtCustomColorSelectorPanel::MouseUp(button, shift, x, y);
    if (OnShouldHide)
        OnShouldHide();
}

// Spectrum

TExtColorSpectrumPanel::TExtColorSpectrumPanel(QWidget* parent)
    : TExtCustomColorSelectorPanel(parent), FImage(SpectrumImage())
{
    UpdateLayout();
}

QImage TExtColorSpectrumPanel::SpectrumImage()
{
    QImage image(128, 128, QImage::Format_RGB32);
    for (int x = 0; x < 128; ++x) {
        const QColor pure = QColor::fromHsvF(x / 128.0, 1.0, 1.0);
        for (int y = 0; y < 128; ++y) {
            double r, g, b;
            if (y < 64) {
                // From nearly white at the top to the pure hue in the middle.
                const double t = (y + 4) / 68.0;
                r = 1 - t * (1 - pure.redF());
                g = 1 - t * (1 - pure.greenF());
                b = 1 - t * (1 - pure.blueF());
            } else {
                // Then darker down to nearly black.
                const double t = 1 - (y - 64) / 68.0;
                r = pure.redF() * t;
                g = pure.greenF() * t;
                b = pure.blueF() * t;
            }
            image.setPixel(x, y, qRgb(int(r * 255 + 0.5), int(g * 255 + 0.5), int(b * 255 + 0.5)));
        }
    }
    return image;
}

QCursor TExtColorSpectrumPanel::PointerCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // An eye-dropper: a bulb at the top right and a thin tube down to the tip at (1, 30).
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(1, 30), QPoint(3, 24), QPoint(17, 10), QPoint(21, 14), QPoint(7, 28)}));
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(24, 7), 5, 5);
    p.drawLine(QPoint(15, 8), QPoint(23, 16));
    p.end();
    return QCursor(pixmap, 1, 30);
}

void TExtColorSpectrumPanel::UpdateLayout()
{
    resize(150, 174);
    FImageRect = QRect((width() - 128) / 2, 10, 128, 128);
    const int imageBottom = FImageRect.top() + FImageRect.height();
    FSelectedRect = Rect(FImageRect.left() - 1, imageBottom + 8, FImageRect.left() + 64 - 2, imageBottom + 28);
    FHotRect = Rect(FSelectedRect.left() + FSelectedRect.width() + 4, FSelectedRect.top(), FImageRect.left() + 128 + 1,
                    FSelectedRect.top() + FSelectedRect.height());
    FHotColor = clNone;
    Invalidate();
}

void TExtColorSpectrumPanel::DrawColorRect(TCanvas& canvas, const QRect& r, TColor color)
{
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clGray;
    canvas.FrameRect(r.adjusted(-1, -1, 1, 1));
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = clWhite;
    if (color == clNone) {
        canvas.Brush.Style = TBrushStyle::bsClear;
    } else {
        canvas.Brush.Color = color;
    }
    canvas.Rectangle(r);
}

void TExtColorSpectrumPanel::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    canvas.Draw(FImageRect.left(), FImageRect.top(), FImage);
    canvas.Brush.Color = clWhite;
    canvas.FrameRect(FImageRect.adjusted(-1, -1, 1, 1));
    canvas.Brush.Color = clGray;
    canvas.FrameRect(FImageRect.adjusted(-2, -2, 2, 2));
    DrawColorRect(canvas, FSelectedRect, FSelectedColor);
    DrawColorRect(canvas, FHotRect, FHotColor);
}

void TExtColorSpectrumPanel::MouseMove(TShiftState shift, int x, int y)
{
    TExtCustomColorSelectorPanel::MouseMove(shift, x, y);
    if (!FImageRect.contains(x, y))
        return;
    FHotColor = FromQColor(QColor(FImage.pixel(x - FImageRect.left(), y - FImageRect.top())));
    InvalidateRect(FHotRect.adjusted(-1, -1, 1, 1));
}

void TExtColorSpectrumPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TExtCustomColorSelectorPanel::MouseDown(button, shift, x, y);
    if (!FImageRect.contains(x, y))
        return;
    FSelectedColor = FHotColor;
    InvalidateRect(FSelectedRect.adjusted(-1, -1, 1, 1));
    if (OnSelect)
        OnSelect();
}

void TExtColorSpectrumPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TExtCustomColorSelectorPanel::MouseUp(button, shift, x, y);
    if (OnShouldHide)
        OnShouldHide();
}

QCursor TExtColorSpectrumPanel::CursorAt(int x, int y)
{
    static const QCursor pointer = PointerCursor();
    return FImageRect.contains(x, y) ? pointer : TExtCustomColorSelectorPanel::CursorAt(x, y);
}

// Palette

void TColorBoxAppearance::Assign(const TColorBoxAppearance& source)
{
    BorderColor = source.BorderColor;
    OuterBorderColorHot = source.OuterBorderColorHot;
    InnerBorderColorHot = source.InnerBorderColorHot;
    OuterBorderColorSelected = source.OuterBorderColorSelected;
    InnerBorderColorSelected = source.InnerBorderColorSelected;
}

TCustomColorSelector::TCustomColorSelector(QWidget* parent) : TExtCustomColorSelectorPanel(parent)
{
    UpdateSize();
}

void TCustomColorSelector::AddDefaultBoxes()
{
    for (int i = 0; i < 60; ++i) {
        TColorBoxItem item;
        item.Color = PaletteColors[i];
        const int row = i / 10;
        item.ColorBoxPos = row == 0 ? ipStandAlone : row == 1 ? ipTop : row == 5 ? ipBottom : ipMiddle;
        FItems.push_back(item);
    }
    UpdateSize();
}

bool TCustomColorSelector::Selectable(int index) const
{
    return index >= 0 && index < Count() && FItems[size_t(index)].Enabled;
}

QRect TCustomColorSelector::GetItemsRect() const
{
    return ClientRect().adjusted(FOffSetX, FOffSetY, -FOffSetX, -FOffSetY);
}

void TCustomColorSelector::UpdateSize()
{
    if (FItems.empty()) {
        resize(100, 50);
        return;
    }
    FItemHot = -1;
    const QRect area = GetItemsRect();
    int x = area.left(), y = area.top(), maxX = 0, inRow = 0;
    bool marked = false;
    for (int i = 0; i < Count(); ++i) {
        FItems[size_t(i)].Rect = QRect(x, y, FColorBoxWidth, FColorBoxHeight);
        if (i == Count() - 1)
            break;
        if (FItems[size_t(i)].ColorBoxPos == ipStandAlone)
            marked = true;
        ++inRow;
        if (inRow >= FColumns) {
            maxX = std::max(maxX, x);
            x = area.left();
            y += FColorBoxHeight + (marked ? FColumnGap : 0);
            inRow = 0;
            marked = false;
        } else {
            x += FColorBoxWidth + FColumnGap;
        }
    }
    maxX = std::max(maxX, x);
    resize(maxX + FColorBoxWidth + FOffSetX + 1, y + FColorBoxHeight + FOffSetY);
    Invalidate();
}

int TCustomColorSelector::ItemAtPos(int x, int y) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].Rect.contains(x, y))
            return i;
    return -1;
}

void TCustomColorSelector::InvalidateItem(int index)
{
    if (index >= 0 && index < Count())
        InvalidateRect(FItems[size_t(index)].Rect.adjusted(-1, -1, 1, 1));
}

void TCustomColorSelector::SetItemIndex(int value)
{
    if (value >= Count() || (value >= 0 && !FItems[size_t(value)].Enabled))
        return;
    value = std::max(-1, value);
    InvalidateItem(FItemIndex);
    FItemIndex = value;
    if (value >= 0) {
        FSelectedColor = FItems[size_t(value)].Color;
        InvalidateItem(value);
        if (OnItemSelect)
            OnItemSelect();
    }
}

void TCustomColorSelector::SetItemHot(int value)
{
    if (value == FItemHot)
        return;
    InvalidateItem(FItemHot);
    FItemHot = value;
    InvalidateItem(value);
}

void TCustomColorSelector::SetSelectedColor(TColor value)
{
    if (value == FSelectedColor)
        return;
    FSelectedColor = value;
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].Color == value) {
            SetItemIndex(i);
            return;
        }
    InvalidateItem(FItemIndex);
    FItemIndex = -1;
}

void TCustomColorSelector::SetColumns(int value)
{
    if (value == FColumns || value < 1)
        return;
    FColumns = value;
    UpdateSize();
}

void TCustomColorSelector::SetColumnGap(int value)
{
    if (value == FColumnGap)
        return;
    FColumnGap = value;
    UpdateSize();
}

void TCustomColorSelector::SetColorBoxWidth(int value)
{
    if (value == FColorBoxWidth)
        return;
    FColorBoxWidth = value;
    UpdateSize();
}

void TCustomColorSelector::SetColorBoxHeight(int value)
{
    if (value == FColorBoxHeight)
        return;
    FColorBoxHeight = value;
    UpdateSize();
}

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle value)
{
    if (value == FItemColorStyle)
        return;
    FItemColorStyle = value;
    if (value != scCustom)
        ColorBoxAppearance.Assign(TColorBoxAppearance{});
    Invalidate();
}

void TCustomColorSelector::SelectFirst()
{
    if (Count() > 0)
        SetItemIndex(0);
}

void TCustomColorSelector::SelectLast()
{
    if (Count() > 0)
        SetItemIndex(Count() - 1);
}

void TCustomColorSelector::SelectNext()
{
    if (FItemIndex + 1 < Count())
        SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious()
{
    if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext()
{
    if (FItemHot + 1 < Count() && Selectable(FItemHot + 1))
        SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious()
{
    if (FItemHot - 1 >= 0 && Selectable(FItemHot - 1))
        SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleKey(int key, bool editorEnabled, bool droppedDown)
{
    if (!isEnabled() || key < VK_PRIOR || key > VK_DOWN)
        return;
    switch (key) {
    case VK_NEXT:
    case VK_END: SelectLast(); break;
    case VK_PRIOR:
    case VK_HOME: SelectFirst(); break;
    case VK_LEFT:
        if (!editorEnabled || droppedDown)
            SelectPrevious();
        break;
    case VK_RIGHT:
        if (!editorEnabled || droppedDown)
            SelectNext();
        break;
    case VK_UP:
    case VK_DOWN: {
        if (!droppedDown) {
            if (key == VK_UP)
                SelectPrevious();
            else
                SelectNext();
            break;
        }
        const int target = FItemIndex < 0 ? 0 : FItemIndex + (key == VK_UP ? -FColumns : FColumns);
        if (target >= 0 && target < Count())
            SetItemIndex(target);
        break;
    }
    default: break;
    }
}

void TCustomColorSelector::DrawItem(int index, TCanvas& canvas)
{
    if (index < 0 || index >= Count())
        return;
    const TColorBoxItem& item = FItems[size_t(index)];
    const QRect r = item.Rect;
    if (item.Color != clNone) {
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = item.Color;
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = item.Color;
        canvas.Rectangle(r);
    }
    const bool selected = index == FItemIndex, hot = index == FItemHot;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    if (selected || hot) {
        const TColor outer = selected ? ColorBoxAppearance.OuterBorderColorSelected : ColorBoxAppearance.OuterBorderColorHot;
        const TColor inner = selected ? ColorBoxAppearance.InnerBorderColorSelected : ColorBoxAppearance.InnerBorderColorHot;
        canvas.Brush.Style = TBrushStyle::bsClear;
        if (outer != clNone) {
            canvas.Pen.Color = outer;
            canvas.Rectangle(r);
        }
        if (inner != clNone) {
            canvas.Pen.Color = inner;
            canvas.Rectangle(r.adjusted(1, 1, -1, -1));
        }
        return;
    }
    const TColor border = ColorBoxAppearance.BorderColor;
    if (border == clNone)
        return;
    canvas.Pen.Color = border;
    const int left = r.left(), top = r.top(), right = r.left() + r.width() - 1, bottom = r.top() + r.height() - 1;
    auto line = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
        canvas.SetPixel(x2, y2, border);
    };
    line(left, top, left, bottom);
    line(right, top, right, bottom);
    if (item.ColorBoxPos == ipStandAlone || item.ColorBoxPos == ipTop)
        line(left, top, right, top);
    if (item.ColorBoxPos == ipStandAlone || item.ColorBoxPos == ipBottom)
        line(left, bottom, right, bottom);
}

void TCustomColorSelector::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    for (int i = 0; i < Count(); ++i)
        DrawItem(i, canvas);
}

void TCustomColorSelector::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TExtCustomColorSelectorPanel::MouseDown(button, shift, x, y);
    const int index = ItemAtPos(x, y);
    if (Selectable(index))
        SetItemIndex(index);
}

void TCustomColorSelector::MouseMove(TShiftState shift, int x, int y)
{
    TExtCustomColorSelectorPanel::MouseMove(shift, x, y);
    const int index = ItemAtPos(x, y);
    SetItemHot(Selectable(index) ? index : -1);
}

void TCustomColorSelector::MouseLeave() { SetItemHot(-1); }

}  // namespace dropdowns
