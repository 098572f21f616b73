// The text side of a cell: the shown text through the float format, the alignment, measuring for
// automatic sizing, the cell's own borders and the sizing feedback lines.
#include <QPainter>
#include <QRegularExpression>
#include <cmath>
#include <limits>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridMirror.h"
#include "grid/core/GridPaint.h"
#include "grid/core/GridTextUtils.h"

namespace grid {

namespace {

// A number's value for formatting; a text the conversion cannot read counts as 0.
double NumberValue(const QString& text)
{
    bool ok = false;
    QString plain = LocaleNumberToPoint(text.trimmed());
    plain.remove(LocaleThousandSeparator());
    const double value = plain.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

long long IntegerValue(const QString& text)
{
    int exact = 0;
    if (StrToIntStrict(text.trimmed(), exact))
        return exact;
    const double value = std::trunc(NumberValue(text));
    constexpr double limit = 9.0e18;
    return (long long)std::clamp(value, -limit, limit);
}

QString ApplyFloatFormat(const QString& format, const QString& text)
{
    static const QRegularExpression floatConversion(QStringLiteral("%[-+ #0]*[0-9]{0,3}(\\.[0-9]{0,3})?[eEfgG]"));
    if (CountFormatConversions(format, floatConversion) != 1)
        return text;
    return QString::asprintf(format.toUtf8().constData(), NumberValue(text));
}

// A stored format is applied only when it holds exactly one conversion of the value's kind.
QString ApplyNumberFormat(const QString& format, const QString& text)
{
    static const QRegularExpression integerConversion(QStringLiteral("%[-+ #0]*[0-9]{0,3}(\\.[0-9]{0,3})?(ll)?[di]"));
    if (format.contains(QLatin1Char('d'))) {
        if (CountFormatConversions(format, integerConversion) != 1)
            return text;
        QString f = format;
        // Widen the conversion to the 64-bit value passed.
        f.replace(QRegularExpression(QStringLiteral("(%[-+ #0]*[0-9]{0,3}(\\.[0-9]{0,3})?)(ll)?([di])")),
                  QStringLiteral("\\1ll\\4"));
        return QString::asprintf(f.toUtf8().constData(), IntegerValue(text));
    }
    return ApplyFloatFormat(format, text);
}

bool IsNumberText(const QString& text)
{
    const int kind = DetectNumberKind(text);
    return kind == nkInteger || kind == nkDecimal || kind == nkExponent;
}

}  // namespace

QString TExtStringGrid::GetFormattedCell(int c, int r)
{
    const QString text = Cells(c, r);
    if (!OnGetFloatFormat || !IsNumberText(text))
        return text;
    bool isFloat = true;
    QString format;
    GetFloatFormat(c, r, format);
    OnGetFloatFormat(this, c, r, isFloat, format);
    if (!isFloat || format.isEmpty())
        return text;
    return ApplyNumberFormat(format, text);
}

QString TExtColumnGrid::GetFormattedCell(int c, int r)
{
    const TGridColumnItem* item = Columns()[c];
    if (!item)
        return TExtStringGrid::GetFormattedCell(c, r);
    const QString text = Cells(c, r);
    if (item->FloatFormat().isEmpty() || DetectNumberKind(text) >= nkNotNumber)
        return text;
    bool isFloat = true;
    QString format = item->FloatFormat();
    if (OnGetFloatFormat)
        OnGetFloatFormat(this, c, r, isFloat, format);
    if (!isFloat || format.isEmpty())
        return text;
    return ApplyFloatFormat(format, text);
}

void TExtStringGrid::GetCellAlignment(int c, int r, TAlignment& hAlign, TVAlignment& vAlign)
{
    hAlign = DefaultAlignment;
    vAlign = VAlignment;
    const QString stored = GetGridCell(c, r);
    const bool formula = DetectTextKind(stored, false) == tkFormula;
    if (AutoNumAlign && !formula && IsNumberText(stored.trimmed()))
        hAlign = taRightJustify;
    if (const TCellProperties* p = CellProps(c, r); p && !formula)
        hAlign = p->Alignment;
    GetAlignment(c, r, hAlign, vAlign);
}

TPoint TExtStringGrid::GetCellTextSize(int c, int r, bool vs, bool sb)
{
    const int dc = RealToDisplCol(c);
    QString text = GetFormattedCell(c, r);
    TFontDesc font;
    GetFontProperties(dc, c, r, font, false);
    const bool fixed = r < FixedRows() || dc < FixedCols();
    if (fixed && ActiveCellShow && (ActiveCellFont.Style & fsBold))
        font.Style |= fsBold;
    font.Size += ZoomFactor;
    platform::TCanvas canvas;
    canvas.Font = CanvasFont(font);

    const TPoint cell = CellSize(dc, r);
    TRect rect{0, 0, cell.X - XYOffset.X, cell.Y - XYOffset.Y};
    if (!XYOffsetTopLeftOnly) {
        rect.Right -= XYOffset.X;
        rect.Bottom -= XYOffset.Y;
    }
    if (sb)
        rect.Right -= 17;

    TPoint size;
    if (IsHTMLText(text)) {
        controls::THTMLRenderInput in = HTMLRenderInput();
        in.MeasureOnly = true;
        in.WordWrap = vs;
        controls::THTMLRenderResult out;
        const QRect area = vs ? platform::Rect(rect.Left, rect.Top, rect.Right - 2, rect.Bottom - 2)
                              : QRect(0, 0, 0x7FFF, 0x7FFF);
        controls::RenderHTMLText(canvas, text, area, in, out);
        size = {out.Width, out.Height};
    } else if (vs) {
        QRect q = platform::Rect(rect.Left, rect.Top, rect.Right - 2, rect.Bottom - 2);
        QString shown = text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QChar('\r'), QChar('\n'));
        const unsigned flags = platform::DT_CALCRECT | platform::DT_NOPREFIX | platform::DT_EDITCONTROL |
                               platform::DT_EXPANDTABS | platform::DT_WORDBREAK;
        size.Y = canvas.DrawText(shown, q, flags);
        size.X = q.width();
    } else {
        const QStringList lines = Multilinecells ? text.split(QChar('\r')) : QStringList{text};
        for (QString line : lines) {
            if (line.startsWith(QChar('\n')))
                line.remove(0, 1);
            if (URLShow && !URLFull && IsURL(line))
                StripURLProtocol(line);
            size.X = std::max(size.X, canvas.TextWidth(line));
        }
        size.Y = canvas.TextHeight(QStringLiteral("gh")) * int(lines.size());
    }
    if (const TCellGraphic* g = GetCellGraphic(c, r); g && g->CellType == ctRotated) {
        const double a = g->CellAngle * M_PI / 180.0;
        const long w = size.X, h = size.Y;
        const long x = std::labs(std::labs(std::lround(h * std::sin(a))) - std::labs(std::lround(w * std::cos(a))));
        const long y = std::labs(std::labs(std::lround(h * std::cos(a))) - std::labs(std::lround(w * std::sin(a))));
        size = {int(x) + 12, int(y) + 12};
    }
    return size;
}

void TExtStringGrid::DrawCellBorders(platform::TCanvas& canvas, int c, int r, TRect rect)
{
    TCellBorders borders = 0;
    TPenDesc pen{canvas.Pen.Width, canvas.Pen.Color};
    GetCellBorder(c, r, pen, borders);
    if (!borders)
        return;
    TPenDesc left = pen, top = pen, right = pen, bottom = pen;
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, r, c, left, top, right, bottom);
    const platform::TPen saved = canvas.Pen;
    const int w = (pen.Width + 1) / 2;
    const bool vert = Options & goVertLine;
    const bool horz = Options & goHorzLine;
    if (vert)
        rect.Left += w;
    if (horz)
        rect.Bottom -= w;
    auto line = [&](const TPenDesc& p, int x1, int y1, int x2, int y2) {
        canvas.Pen.Color = p.Color;
        canvas.Pen.Width = std::max(1, p.Width);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    if (borders & cbLeft) {
        const int x = std::max(0, rect.Left);
        line(left, x, rect.Top, x, rect.Bottom);
    }
    if (vert)
        rect.Right -= w;
    if (borders & cbRight)
        line(right, rect.Right - 1, rect.Top, rect.Right - 1, rect.Bottom);
    if (horz)
        rect.Top += w;
    if (borders & cbTop) {
        const int y = GridLineWidth == 0 ? rect.Top + 1 : std::max(0, rect.Top - GridLineWidth);
        line(top, rect.Left, y, rect.Right, y);
    }
    if (borders & cbBottom)
        line(bottom, rect.Left - GridLineWidth - 1, rect.Bottom - 1, rect.Right, rect.Bottom - 1);
    canvas.Pen = saved;
}

bool TExtStringGrid::IsSortHeaderCell(int c, int r)
{
    const TSortSettings& ss = SortSettings;
    if (!ss.Show || FixedRows() < 1 || RowCount() < FixedRows() + 2)
        return false;
    const int bottom = IsMergedCell(c, r) ? FullCell(c, r).Bottom : r;
    if (bottom != ss.Row)
        return false;
    if (c < FixedCols() && !ss.FixedCols)
        return false;
    const int rc = DisplToRealCol(c);
    return rc == ss.Column || SortIndexes.FindIndex(rc) >= 0;
}

void TExtStringGrid::DrawSortIndicator(platform::TCanvas& canvas, int c, int y, int x)
{
    const TSortSettings& ss = SortSettings;
    const platform::TPen pen = canvas.Pen;
    const platform::TBrush brush = canvas.Brush;
    const platform::TFont font = canvas.Font;
    // Right to left the mark is drawn the right way round, moved to the mirrored side.
    const TReadingOrientation reading(*this, canvas);
    if (reading.Active()) {
        const TGlyph& up = ss.IndexShow ? ss.IndexUpGlyph : ss.UpGlyph;
        const TGlyph& down = ss.IndexShow ? ss.IndexDownGlyph : ss.DownGlyph;
        x = ClientWidth() - x - 4 - (up.isNull() || down.isNull() ? 7 : up.width() + 7);
    }
    if (ss.IndexShow) {
        const int i = SortIndexes.FindIndex(DisplToRealCol(c));
        if (i < 0)
            return;
        const bool glyphs = !ss.IndexUpGlyph.isNull() && !ss.IndexDownGlyph.isNull();
        canvas.Brush.Color = ss.IndexColor;
        canvas.Pen.Color = clBlack;
        canvas.Font.Color = clBlack;
        canvas.Font.setPointSize(6);
        const QString number = QString::number(i + 1);
        if (!SortIndexes.GetSortDirections(i)) {
            if (glyphs)
                canvas.DrawTransparent(x - 7, y - 7, ss.IndexUpGlyph);
            else
                canvas.Polygon(QPolygon({QPoint(x - 7, y - 5), QPoint(x + 7, y - 5), QPoint(x, y + 8)}));
            canvas.Brush.Style = platform::TBrushStyle::bsClear;
            canvas.TextOut(x - 2, y - 4, number);
        } else {
            if (glyphs)
                canvas.DrawTransparent(x - 7, y - 7, ss.IndexDownGlyph);
            else
                canvas.Polygon(QPolygon({QPoint(x - 6, y + 8), QPoint(x + 6, y + 8), QPoint(x, y - 4)}));
            canvas.Brush.Style = platform::TBrushStyle::bsClear;
            canvas.TextOut(x - 2, y - 2, number);
        }
    } else {
        const bool glyphs = !ss.UpGlyph.isNull() && !ss.DownGlyph.isNull();
        // A raised outline: lit edges white, shaded edges grey.
        auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
            canvas.Pen.Color = color;
            canvas.MoveTo(x1, y1);
            canvas.LineTo(x2, y2);
        };
        if (ss.Direction == sdDescending) {
            if (glyphs) {
                canvas.DrawTransparent(x - 4, y - 4, ss.DownGlyph);
            } else {
                line(clWhite, x + 4, y - 4, x, y + 4);
                line(clGray, x, y + 4, x - 4, y - 4);
                line(clGray, x - 4, y - 4, x + 4, y - 4);
            }
        } else if (glyphs) {
            canvas.DrawTransparent(x - 4, y - 4, ss.UpGlyph);
        } else {
            line(clWhite, x - 4, y + 4, x + 4, y + 4);
            line(clWhite, x + 4, y + 4, x, y - 4);
            line(clGray, x, y - 4, x - 4, y + 4);
        }
    }
    canvas.Pen = pen;
    canvas.Brush = brush;
    canvas.Font = font;
}

namespace {

// A dotted one-pixel line that inverts what lies under it.
void InvertLine(platform::TCanvas& canvas, const QPoint& from, const QPoint& to)
{
    if (!canvas.Painting())
        return;
    QPainter* p = canvas.Painter();
    p->save();
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const bool horizontal = from.y() == to.y();
    const int length = horizontal ? to.x() - from.x() : to.y() - from.y();
    for (int i = 0; i < length; i += 2)
        p->fillRect(horizontal ? QRect(from.x() + i, from.y(), 1, 1) : QRect(from.x(), from.y() + i, 1, 1),
                    QColor(255, 255, 255));
    p->restore();
}

}  // namespace

void TExtStringGrid::DrawColSizeLine(platform::TCanvas& canvas, int x)
{
    const int last = RowCount() - 1;
    const int bottom = std::min(Height(), int(AbsCellRect(0, last).Bottom));
    InvertLine(canvas, {x, 0}, {x, bottom});
}

void TExtStringGrid::DrawRowSizeLine(platform::TCanvas& canvas, int y)
{
    const int last = ColCount() - 1;
    const int right = std::min(Width(), int(AbsCellRect(last, 0).Right));
    InvertLine(canvas, {0, y}, {right, y});
}

}  // namespace grid
