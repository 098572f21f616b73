#include "grid/core/GridFooter.h"

#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <utility>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"
#include "platform/PlainText.h"
#include "platform/TCanvas.h"

namespace grid {

// Settings.

void TFloatingFooter::SetHeight(int value)
{
    FHeight = value;
    if (value > 0)
        FGrid->FooterPanel->Height = value - 1;
    FGrid->FooterPanel->Realign();
}

void TFloatingFooter::DefaultRowHeightChanged(int value)
{
    FHeight = value;
    if (FVisible)
        FGrid->FooterPanel->Height = value;
    FGrid->FooterPanel->Realign();
}

void TFloatingFooter::SetVisible(bool value)
{
    FVisible = value;
    TFooterPanel& panel = *FGrid->FooterPanel;
    panel.Height = value ? std::max(0, FHeight - 1) : 0;
    panel.Visible = value;
    FGrid->FixedFooters = panel.Visible && FFooterStyle == fsFixedLastRow ? 1 : 0;
    FGrid->HideLastRow = value && FFooterStyle == fsFixedLastRow;
    panel.Realign();
    FGrid->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle value)
{
    FFooterStyle = value;
    FGrid->HideLastRow = value == fsFixedLastRow && FVisible;
    FGrid->Invalidate();
    Invalidate();
}

void TFloatingFooter::SetColor(TColor value)
{
    FColor = value;
    Invalidate();
}

void TFloatingFooter::SetColumn(int value)
{
    FColumn = value;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const QString& value)
{
    FCustomTemplate = value;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool value)
{
    FShowHint = value;
    FGrid->FooterPanel->ShowHint = value;
}

void TFloatingFooter::SetBorderColor(TColor value)
{
    if (FBorderColor == value)
        return;
    FBorderColor = value;
    Invalidate();
}

void TFloatingFooter::Invalidate() { FGrid->FooterPanel->Invalidate(); }

void TExtStringGrid::ColorChanged()
{
    TBaseGrid::ColorChanged();
    // Colours set while the grid is being built come before its footer panel.
    if (FooterPanel && FloatingFooter.Visible())
        FloatingFooter.Invalidate();
}

void TFloatingFooter::Assign(const TFloatingFooter& source)
{
    CalculateHiddenRows = source.CalculateHiddenRows;
    FColor = source.FColor;
    FColumn = source.FColumn;
    FCustomTemplate = source.FCustomTemplate;
    FFooterStyle = source.FFooterStyle;
    SetShowHint(source.FShowHint);
    SetVisible(source.FVisible);
}

TColumnCalcType TFloatingFooter::GetColumnCalc(int c) const
{
    const TCellProperties* p = FGrid->CellProps(c, FGrid->RowCount() - 1);
    return p ? p->CalcType : acNONE;
}

void TFloatingFooter::SetColumnCalc(int c, TColumnCalcType value)
{
    TCellProperties* p = FGrid->GetCellProperties(c, FGrid->RowCount() - 1);
    if (!p)
        return;
    p->CalcType = value;
    FGrid->CalcFooter(c);
}

QString ExpandFooterTemplate(const QString& tmpl, const std::function<QString(int col)>& cellText)
{
    QString result;
    int at = 0;
    for (;;) {
        const int open = int(tmpl.indexOf(QStringLiteral("<#"), at));
        const int close = open < 0 ? -1 : int(tmpl.indexOf(QLatin1Char('>'), open));
        if (close < 0)
            break;
        result += tmpl.mid(at, open - at);
        bool ok = false;
        const int col = tmpl.mid(open + 2, close - open - 2).toInt(&ok, 10);
        if (ok)
            result += cellText(col);
        at = close + 1;
    }
    return result + tmpl.mid(at);
}

// The footer row's calculation.

void TExtStringGrid::DoCalcFooter(int c)
{
    if (!FloatingFooter.Visible() || FloatingFooter.FooterStyle() != fsFixedLastRow ||
        !FloatingFooter.EnableCalculation)
        return;
    const int last = RowCount() - 1;
    if (last < FixedRows())
        return;
    const int from = c < 0 ? 0 : c;
    const int to = c < 0 ? AllColCount() - 1 : c;
    const bool hidden = FloatingFooter.CalculateHiddenRows;
    const int h = hidden ? NumHiddenRows() : 0;
    // Over real rows with hidden ones, else over the shown data rows.
    const int fromRow = FixedRows();
    const int toRow = last - 1 + h;
    const TCalcRows rows = hidden ? crReal : crDisplay;
    for (int col = from; col <= to; ++col) {
        const TCellProperties* p = CellProps(col, last);
        if (!p)
            continue;
        // A minimum, maximum or deviation over a text that is no number has no value: the footer
        // cell stays empty rather than stopping every change of the cells with an error.
        try {
        switch (TColumnCalcType(p->CalcType & 0x7F)) {
        case acSUM:
            SetFloats(col, last, ColumnSum(col, fromRow, toRow, rows));
            break;
        case acAVG:
            SetFloats(col, last, ColumnAvg(col, fromRow, toRow, rows));
            break;
        case acCOUNT:
            SetInts(col, last, RowCount() - FixedRows() - 1 + h);
            break;
        case acMIN:
            SetFloats(col, last, ColumnMin(col, fromRow, toRow, rows));
            break;
        case acMAX:
            SetFloats(col, last, ColumnMax(col, fromRow, toRow, rows));
            break;
        case acDISTINCT:
            SetFloats(col, last, ColumnDistinct(col, fromRow, toRow, rows));
            break;
        case acSTDDEV:
            SetFloats(col, last, ColumnStdDev(col, fromRow, toRow, rows));
            break;
        case acCUSTOM: {
            QString value;
            if (OnFooterCalc)
                OnFooterCalc(this, col, last + h, value);
            else if (FloatingFooter.OnCalcFooter)
                FloatingFooter.OnCalcFooter(this, col, last + h, value);
            SetCellEx(col, last, value);
            break;
        }
        default:
            break;
        }
        } catch (const EExtGridError&) {
            SetCellEx(col, last, QString());
        }
    }
    UpdateFooter();
}

// The panel.

// The panel's window: a child of the grid's client area that follows its size.
class TFooterPanel::TWindow : public QWidget {
public:
    TWindow(TFooterPanel* panel, QWidget* parent) : QWidget(parent), FPanel(panel)
    {
        setMouseTracking(true);
        parent->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parentWidget() && event->type() == QEvent::Resize)
            FPanel->Realign();
        return false;
    }
    void paintEvent(QPaintEvent*) override
    {
        platform::TCanvas canvas(this);
        FPanel->Paint(canvas, width(), height());
    }
    void mouseMoveEvent(QMouseEvent* e) override { FPanel->MouseMove(e->position().toPoint().x()); }
    void mouseReleaseEvent(QMouseEvent* e) override { FPanel->MouseUp(e->position().toPoint().x()); }
    void leaveEvent(QEvent*) override { FPanel->MouseLeave(); }
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::ToolTip)
            return QWidget::event(e);
        auto* help = static_cast<QHelpEvent*>(e);
        QString hint;
        if (FPanel->HintAt(help->pos().x(), hint) && !hint.isEmpty())
            QToolTip::showText(help->globalPos(), platform::PlainHint(hint), this);
        else
            QToolTip::hideText();
        return true;
    }

private:
    TFooterPanel* FPanel;
};

TFooterPanel::TFooterPanel(TExtStringGrid* grid) : TGridChild(grid) {}

TFooterPanel::~TFooterPanel() = default;

QWidget* TFooterPanel::Window() const { return FWindow.get(); }

void TFooterPanel::Invalidate()
{
    if (FWindow)
        FWindow->update();
}

void TFooterPanel::Realign()
{
    const bool show = Visible && Height > 0;
    if (!show && !FWindow)
        return;
    if (!FWindow)
        FWindow = std::make_unique<TWindow>(this, Grid->Client());
    const QSize client = Grid->ClientSize();
    FWindow->setGeometry(0, std::max(0, client.height() - Height), client.width(), Height);
    FWindow->setVisible(show);
}

void TFooterPanel::CreateWnd()
{
    Height = Grid->FloatingFooter.Visible() ? Grid->FloatingFooter.Height() : 0;
    if (Grid->OnCreatedFloatingFooter)
        Grid->OnCreatedFloatingFooter(Grid);
}

namespace {

// The display columns the strip shows, in order: the fixed ones, then from the left column on.
template <typename F>
void ForFooterColumns(const TExtStringGrid& g, F&& f)
{
    int x = 0;
    auto visit = [&](int c) {
        const int w = g.ColWidths(c);
        const bool go = f(c, x, w);
        x += w;
        return go;
    };
    for (int c = 0; c < std::min(g.FixedCols(), g.ColCount()); ++c)
        if (!visit(c))
            return;
    for (int c = std::max(g.LeftCol(), g.FixedCols()); c < g.ColCount(); ++c)
        if (!visit(c))
            return;
}

int FooterWidth(const TExtStringGrid& g)
{
    int w = 0;
    ForFooterColumns(g, [&](int, int, int cw) {
        w += cw;
        return true;
    });
    return w;
}

bool RaisedLook(TGridLook look)
{
    return look == glSoft || look == glVUR || look == glXP || look == glVista;
}


void Fill(platform::TCanvas& canvas, TColor color, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    canvas.Brush.Color = color;
    canvas.FillRect(platform::Rect(left, top, right, bottom));
}

}  // namespace

int TFooterPanel::ColumnAt(int x) const
{
    // A right-to-left grid shows its columns from the right edge; the strip follows it.
    if (Grid->UseRightToLeftAlignment())
        x = Grid->ClientWidth() - 1 - x;
    int found = -1;
    ForFooterColumns(*Grid, [&](int c, int left, int w) {
        if (x >= left && x < left + w) {
            found = c;
            return false;
        }
        return true;
    });
    return found;
}

bool TFooterPanel::HintAt(int x, QString& hint)
{
    const int c = ColumnAt(x);
    if (Grid->OnGridHint && c >= 0)
        Grid->OnGridHint(Grid, Grid->RowCount() - 1, c, hint);
    const bool show = Grid->FloatingFooter.ShowHint() && c >= 0;
    FLastHintX = show ? c : -1;
    return show;
}

void TFooterPanel::MouseMove(int x)
{
    const int c = ColumnAt(x);
    if (FLastHintX != -1 && c != FLastHintX) {
        HintCancelled = true;
        FLastHintX = c;
        if (FWindow)
            QToolTip::hideText();
    }
}

void TFooterPanel::MouseUp(int x)
{
    if (Grid->OnClick)
        Grid->OnClick(Grid);
    if (Grid->OnClickCell)
        Grid->OnClickCell(Grid, Grid->RowCount() - 1, ColumnAt(x));
}

void TFooterPanel::Paint(platform::TCanvas& canvas, int width, int height)
{
    const TFloatingFooter& footer = Grid->FloatingFooter;
    int painted = width;
    switch (footer.FooterStyle()) {
    case fsFixedLastRow:
        painted = PaintFixedLastRow(canvas, width, height);
        break;
    case fsColumnPreview:
    case fsCustomPreview:
        painted = PaintPreview(canvas, width, height);
        break;
    case fsCustomPaint:
        if (Grid->OnFooterPaint)
            Grid->OnFooterPaint(Grid, footer.Column(), canvas, TRect{0, 0, width, height});
        break;
    }
    if (footer.BorderColor() != clNone) {
        if (Grid->UseRightToLeftAlignment())
            DrawPenLine(canvas, footer.BorderColor(), width - painted, 0, width, 0);
        else
            DrawPenLine(canvas, footer.BorderColor(), 0, 0, painted, 0);
    }
}

int TFooterPanel::PaintFixedLastRow(platform::TCanvas& canvas, int width, int height)
{
    TExtStringGrid& g = *Grid;
    const int w0 = FooterWidth(g);
    // Right to left, every column sits mirrored under its grid column; texts stay unmirrored.
    const bool rtl = g.UseRightToLeftAlignment();
    auto X = [&](int x) { return rtl ? width - 1 - x : x; };
    auto Span = [&](int left, int right) { return rtl ? std::pair{width - right, width - left} : std::pair{left, right}; };
    {
        const auto [fl, fr] = Span(0, std::min(w0, width));
        Fill(canvas, g.FloatingFooter.Color(), fl, 0, fr, height);
        const auto [rl, rr] = Span(std::min(w0, width), width);
        Fill(canvas, g.Color, rl, 0, rr, height);
    }

    const bool vert = g.Options & goFixedVertLine;
    const bool horz = g.Options & goFixedHorzLine;
    const bool raised = RaisedLook(g.Look()) && !g.Flat;
    ForFooterColumns(g, [&](int c, int x, int w) {
        const bool fixed = c < g.FixedCols();
        if (vert && raised)
            DrawPenLine(canvas, clWhite, X(x), 0, X(x), height);
        if (horz)
            DrawPenLine(canvas, g.GridLineColor, X(x), 0, X(x + w), 0);
        if (vert)
            DrawPenLine(canvas, fixed || g.Look() == glVista ? g.GridLineColor : clGray, X(x + w - 1), 0, X(x + w - 1),
                 height);
        return true;
    });

    const int last = g.RowCount() - 1;
    if (last < 0)
        return w0;
    const int top = horz ? 1 : 0;
    const int shift = horz && raised ? 1 : 0;
    ForFooterColumns(g, [&](int c, int x, int w) {
        if (!g.IsBaseCell(c, last))
            return true;
        TRect rect{x + shift, top, x + w, height};
        if (g.IsMergedCell(c, last)) {
            const TPoint span = g.CellExt(c, last);
            int right = x;
            for (int i = c; i < std::min(g.ColCount(), c + std::max(1, span.X)); ++i)
                right += g.ColWidths(i);
            rect.Right = right;
        }
        std::tie(rect.Left, rect.Right) = Span(rect.Left, rect.Right);
        if (c < g.FixedCols()) {
            g.DrawCellContent(canvas, c, last, rect, gdFixed);
            return true;
        }
        const int rc = g.RealColIndex(c);
        TColor brush = clNone;
        TFontDesc font = g.GetCellFont(rc, last);
        if (g.OnGetCellColor)
            g.OnGetCellColor(&g, last, rc, gdFixed, brush, font);
        if (g.GetColors(rc, last) != clNone)
            brush = g.GetColors(rc, last);
        if (brush != clNone)  // one pixel short of the column's right line, mirrored too
            Fill(canvas, brush, rtl ? rect.Left + 1 : rect.Left, rect.Top, rtl ? rect.Right : rect.Right - 1,
                 rect.Bottom);
        if (g.OnFooterPaint)
            g.OnFooterPaint(&g, c, canvas, rect);
        else
            g.DrawCellContent(canvas, c, last, rect, gdFixed);
        return true;
    });
    return w0;
}

int TFooterPanel::PaintPreview(platform::TCanvas& canvas, int width, int height)
{
    TExtStringGrid& g = *Grid;
    const TFloatingFooter& footer = g.FloatingFooter;
    const int w0 = std::min(FooterWidth(g), width);
    // Right to left the footer area lies at the right edge, under the grid's first columns.
    const int L = g.UseRightToLeftAlignment() ? width - w0 : 0, R = L + w0;
    canvas.Pen.Color = footer.Color();
    canvas.Brush.Color = footer.Color();
    canvas.Rectangle(L, 0, R, height);
    DrawPenLine(canvas, clGray, L, height - 1, R - 1, height - 1);
    DrawPenLine(canvas, clGray, R - 1, 0, R - 1, height);
    DrawPenLine(canvas, clWhite, L, 0, R - 1, 0);
    DrawPenLine(canvas, clWhite, L, 0, L, height - 1);
    if (L > 0)
        Fill(canvas, g.Color, 0, 0, L, height);
    else
        Fill(canvas, g.Color, R, 0, width, height);

    const TColor selectionText = g.SelectionTextColor;
    g.SelectionTextColor = 0;
    const TRect area{L, 0, R, height};
    if (footer.FooterStyle() == fsColumnPreview) {
        if (g.OnFooterPaint)
            g.OnFooterPaint(&g, footer.Column(), canvas, area);
        else if (footer.Column() >= 0 && footer.Column() < g.ColCount())
            g.DrawCellContent(canvas, footer.Column(), g.Row(), area, 0);
    } else {
        // Mark-up in the template shows as written.
        const int row = g.Row();
        const QString text = ExpandFooterTemplate(
            footer.CustomTemplate(), [&g, row](int col) { return g.GetGridCell(col, row); });
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        canvas.Font = platform::TFont(QFont(g.FontName), clBlack);
        canvas.Font.SetHeight(-11);
        QRect r = platform::Rect(L + 2, 2, R - 2, height);
        canvas.DrawText(text, r, platform::DT_LEFT | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
        canvas.Brush.Style = platform::TBrushStyle::bsSolid;
    }
    g.SelectionTextColor = selectionText;
    return w0;
}

}  // namespace grid
