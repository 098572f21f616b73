// Colours, fonts, borders, alignment and graphic sizes of a cell, as data for painting, and the
// editor handlers that only report to the program.
#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"

namespace grid {

namespace {

// The group count in the program's format: one integer conversion, anything else is shown as
// written rather than read from an argument that is not there.
QString FormatGroupCount(const QString& format, int count)
{
    static const QRegularExpression conversion(QStringLiteral("%[-+ 0]*[0-9]{0,3}d"));
    if (CountFormatConversions(format, conversion) != 1)
        return format;
    return QString::asprintf(format.toUtf8().constData(), count);
}

}  // namespace

void TExtStringGrid::GetDisplText(int c, int r, QString& value)
{
    TBaseGrid::GetDisplText(c, r, value);
    if (URLShowInText) {
        for (const char* prefix : {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FILE://", "FTP://"}) {
            QString linked;
            if (LinkURLPrefix(value, QString::fromLatin1(prefix), linked)) {
                value = linked;
                break;
            }
        }
    }
    if (Grouping.ShowGroupCount && c == 1 && IsNode(r)) {
        const int count = GetNodeSpan(r) - GetSubNodeCount(r) - 1;
        value += Grouping.GroupCountFormat.isEmpty() ? QStringLiteral(" (%1)").arg(count)
                                                     : FormatGroupCount(Grouping.GroupCountFormat, count);
    }
}

TFontDesc TExtStringGrid::GetCellFont(int c, int r) const
{
    const TCellProperties* p = CellProps(c, r);
    if (!p)
        return GridFont();
    return {p->FontName, p->FontSize, p->FontStyle, p->FontColor};
}

void TExtStringGrid::GetCellColor(int c, int r, TGridDrawState state, TColor& brush, TFontDesc& font)
{
    if (ActiveCellShow) {
        const int dc = RealToDisplCol(c);
        const bool rowHeader = FixedCols() > 0 && dc == FixedCols() - 1 && r == Row();
        const bool colHeader = FixedRows() > 0 && r == FixedRows() - 1 && dc == Col();
        if (rowHeader || colHeader) {
            font = ActiveCellFont;
            brush = ActiveCellColor;
        }
    }
    if (const TCellProperties* p = CellProps(c, r)) {
        switch (GetCellType(c, r)) {
        case ctIcon: case ctNone: case ctImageList: case ctEmpty: case ctImages: case ctComment:
            if (p->BrushColor() != clNone)
                brush = p->BrushColor();
            break;
        default:
            break;
        }
        if (p->FontColor != clNone)
            font.Color = p->FontColor;
        if (p->FontStyle != 0)
            font.Style = p->FontStyle;
        if (p->FontSize != 0)
            font.Size = p->FontSize;
        if (!p->FontName.isEmpty())
            font.Name = p->FontName;
    }
    if (OnGetCellColor)
        OnGetCellColor(this, r, c, state, brush, font);
}

void TExtStringGrid::GetCellPrintColor(int c, int r, TGridDrawState state, TColor& brush, TFontDesc& font)
{
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, r, c, state, brush, font);
}

void TExtStringGrid::GetCellBorder(int c, int r, TPenDesc& pen, TCellBorders& borders)
{
    if (c > 0 && r >= 0) {
        if (Grouping.HeaderUnderline && IsNode(r)) {
            borders = cbBottom;
            pen = {Grouping.HeaderLineWidth, Grouping.HeaderLineColor};
        } else if (Grouping.SummaryLine && IsSummary(r)) {
            borders = cbTop;
            pen = {Grouping.SummaryLineWidth, Grouping.SummaryLineColor};
        }
    }
    if (OnGetCellBorder)
        OnGetCellBorder(this, r, c, pen, borders);
}

void TExtStringGrid::GetCellPrintBorder(int c, int r, TPenDesc& pen, TCellBorders& borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, r, c, pen, borders);
}

void TExtStringGrid::GetAlignment(int c, int r, TAlignment& hAlign, TVAlignment& vAlign)
{
    if (c == 0 && MouseActions.HotmailRowSelect())
        hAlign = taCenter;
    if (OnGetAlignment)
        OnGetAlignment(this, r, c, hAlign, vAlign);
}

void TExtStringGrid::GetCellFormat(int c, TSortStyle& style, QString& prefix, QString& suffix)
{
    if (OnGetFormat)
        OnGetFormat(this, c, style, prefix, suffix);
}

void TExtStringGrid::GetCellWordWrap(int c, int r, bool& wordWrap)
{
    if (OnGetWordWrap)
        OnGetWordWrap(this, c, r, wordWrap);
}

void TExtStringGrid::GridHint(int c, int r, QString& hint)
{
    if (OnGridHint)
        OnGridHint(this, r, c, hint);
    if (OnGridWideHint) {
        QString wide;
        OnGridWideHint(this, r, c, wide);
        if (!wide.isEmpty())
            hint = EncodeWideText(wide);
    }
}

void TExtStringGrid::ButtonClick(int c, int r)
{
    if (OnButtonClick)
        OnButtonClick(this, c, r);
}

void TExtStringGrid::UnitChanged(const QString& newUnit)
{
    if (OnUnitChanged)
        OnUnitChanged(this, Col(), Row(), newUnit);
}

void TExtStringGrid::ComboCloseUp(int r, int c)
{
    if (OnComboCloseUp)
        OnComboCloseUp(this, r, c);
}

void TExtStringGrid::ComboDropDown(int r, int c)
{
    if (OnComboDropDown)
        OnComboDropDown(this, r, c);
}

int TExtStringGrid::GetExpandHeight(int c, int r, bool expanded)
{
    const TCellGraphic* g = GetCellGraphic(c, r);
    if (!g || g->CellType != ctExpand)
        return DefaultRowHeight();
    return expanded ? g->CellAngle : g->CellIndex;
}

void TExtStringGrid::ExpandClick(int c, int r, bool expanded)
{
    if (OnExpandClick)
        OnExpandClick(this, c, r, expanded);
    SetRowHeights(r, GetExpandHeight(c, r, expanded));
}

void TExtStringGrid::DateTimePickerChange(const QDateTime& value)
{
    if (OnDateTimeChange)
        OnDateTimeChange(this, Col(), Row(), value);
}

void TExtStringGrid::DatePickerChange(const QDateTime& value, bool timePicker)
{
    if (!OnEditChange)
        return;
    const QLocale locale;
    const QString text = timePicker ? locale.toString(value.time(), QLocale::LongFormat)
                                    : locale.toString(value.date(), QLocale::ShortFormat);
    OnEditChange(this, Col(), Row(), text);
}

void TExtStringGrid::DatePickerCloseUp()
{
    if (OnDatePickerCloseUp)
        OnDatePickerCloseUp(this, Row(), Col());
    if (MouseActions.DirectDateClose)
        HideInplaceEdit();
}

TExtStringGrid::TCalendarStyle TExtStringGrid::DatePickerDropDown(bool weekNumbers, bool showToday,
                                                                  bool showTodayCircle)
{
    const TCalendarStyle style{weekNumbers, !showToday, !showTodayCircle};
    if (OnDatePickerDropDown)
        OnDatePickerDropDown(this, Row(), Col());
    return style;
}

TPoint TExtStringGrid::MeasureText(const QString& text)
{
    QFont font(FontName);
    font.setPointSize(FontSize > 0 ? FontSize : 8);
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

namespace {

TPoint SourceSize(const TObject* object)
{
    const auto* source = dynamic_cast<const TGraphicSource*>(object);
    return source ? source->GraphicSize() : TPoint{};
}

bool Beside(const TCellGraphic& g) { return g.CellHAlign == haBeforeText || g.CellHAlign == haAfterText; }
bool AboveOrUnder(const TCellGraphic& g) { return g.CellVAlign == vaUnderText || g.CellVAlign == vaAboveText; }


}  // namespace

TPoint TExtStringGrid::GetCellGraphicSize(int c, int r)
{
    TPoint size;
    CellGraphicSize(c, r, size, 0);
    return size;
}

void TExtStringGrid::CellGraphicSize(int c, int r, TPoint& size, int reserve)
{
    size = GraphicSize(c, r, reserve, true);
}

TPoint TExtStringGrid::GraphicSize(int c, int r, int reserve, bool widen)
{
    TPoint size;
    TCellGraphic* g = GetCellGraphic(c, r);
    if (!g)
        return size;
    const bool noText = GetCellEx(c, r).isEmpty();
    const bool beside = Beside(*g) || noText;
    const bool aboveUnder = AboveOrUnder(*g) || noText;
    const TPoint cell = CellSize(RealToDisplCol(c), r);
    const TPoint images = SourceSize(GridImages);
    const int lo = g->CellIndex & 0xFFFF;
    const int hi = (g->CellIndex >> 16) & 0xFFFF;

    switch (g->CellType) {
    case ctBitmap: {
        const TPoint p = SourceSize(g->CellBitmap);
        size = {beside ? p.X : 0, aboveUnder ? p.Y : 0};
        break;
    }
    case ctIcon: {
        const TPoint p = SourceSize(g->CellIcon);
        size = {beside ? p.X : 0, p.Y};
        break;
    }
    case ctImageList:
    case ctDataImage:
        size = {beside ? images.X : 0, aboveUnder ? images.Y : 0};
        break;
    case ctRadioButton:
        size = {ControlLook.RadioSize, ControlLook.RadioSize};
        break;
    case ctRadio: {
        const QStringList items = g->RadioItems ? *g->RadioItems : QStringList();
        const int textHeight = MeasureText(QStringLiteral("gh")).Y;
        if (g->CellBoolean) {
            for (const QString& item : items)
                size.X += MeasureText(item).X + 12;
            size.Y = textHeight;
        } else {
            size.X = 12;
            for (const QString& item : items)
                size.X = std::max(size.X, MeasureText(item).X + 12);
            size.Y = std::max(16, textHeight) * int(items.size());
        }
        break;
    }
    case ctImages: {
        const int n = g->Images() ? g->Images()->Count() : 0;
        size = g->CellBoolean ? TPoint{n * images.X, images.Y} : TPoint{images.X, n * images.Y};
        break;
    }
    case ctPicture:
    case ctFilePicture:
        size = g->GetPictureSize(cell.X - XYOffset.X - 1, cell.Y - XYOffset.Y - reserve - 1);
        break;
    case ctButton:
    case ctBitButton: {
        const int caption = MeasureText(g->CellText).X + 4;
        size = {lo, hi};
        if (!noText) {
            if (g->CellHAlign == haCenter)
                size.X = 0;
            else if (g->CellHAlign == haFull)
                size.X = caption;
            if (AboveOrUnder(*g))
                size.X = 0;
            else
                size.Y = 0;
        } else if (g->CellHAlign == haFull) {
            size.X = caption;
        }
        break;
    }
    case ctProgressPie:
        size = {20, 20};
        break;
    case ctRating:
        size = {18 * g->CellAngle, 16};
        break;
    case ctInterface: {
        const TPoint p = SourceSize(g->CellBitmap);
        size = p.X == 0 || p.Y == 0 ? cell : p;
        break;
    }
    default:
        if (IsCheckKind(g->CellType))
            size = {ControlLook.CheckSize, ControlLook.CheckSize};
        break;
    }

    if (!widen)
        return size;
    if (g->CellVAlign == vaFull)
        size.Y = cell.Y;
    const bool captionButton = (g->CellType == ctButton || g->CellType == ctBitButton) && !g->CellText.isEmpty();
    if (g->CellHAlign == haFull && g->CellType != ctRating && !captionButton)
        size.X = cell.X;
    return size;
}

void TExtStringGrid::PrintCellGraphicSize(int c, int r, TPoint& size, int cellWidth, int cellHeight, double scale)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    size = {};
    if (!g)
        return;
    const TPoint images = SourceSize(GridImages);
    switch (g->CellType) {
    case ctBitmap:
        size = SourceSize(g->CellBitmap);
        break;
    case ctIcon:
        size = SourceSize(g->CellIcon);
        break;
    case ctImageList: {
        const bool beside = Beside(*g) || GetCellEx(c, r).isEmpty();
        size = {beside ? images.X : 0, images.Y};
        break;
    }
    case ctDataImage:
        size = images;
        break;
    case ctNode:
    case ctProgressPie:
        size = {20, 20};
        break;
    case ctPicture:
    case ctFilePicture: {
        const TPoint p = g->GetPictureSize(cellWidth, cellHeight);
        const double s = scale > 0 ? scale : 1.0;
        size = {int(std::nearbyint(p.X / s)), int(std::nearbyint(p.Y / s))};
        break;
    }
    case ctProgress:
    case ctXPProgress:
        size = {GetAllColWidths(c), RowHeights(r)};
        break;
    case ctButton:
    case ctBitButton:
        size = {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
        break;
    case ctInterface: {
        const TPoint cell = CellSize(RealToDisplCol(c), r);
        size = SourceSize(g->CellBitmap);
        if (size.X == 0)
            size.X = cell.X;
        if (size.Y == 0)
            size.Y = cell.Y;
        break;
    }
    case ctShape:
        size.X = size.Y = RowHeights(r) - 2 * XYOffset.Y;
        break;
    case ctRadioButton:
    case ctRadio:
    case ctImages:
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
        size = GraphicSize(c, r, 0, false);
        break;
    default:
        break;
    }
}

}  // namespace grid
