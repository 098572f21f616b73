#include <QRegularExpression>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"

namespace grid {

namespace {

constexpr int MaxBalloonText = 2048;
constexpr int MaxBalloonTitle = 100;

// Mark-up to the text it shows: line-break and rule tags become line breaks, other tags go.
QString HtmlToPlain(QString text)
{
    static const QRegularExpression breaks(QStringLiteral("<(BR|HR)>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    text.replace(breaks, QStringLiteral("\r\n"));
    text.remove(tags);
    return text;
}

QString Shortened(const QString& text, int limit)
{
    return text.size() > limit ? text.left(limit - 3) + QStringLiteral("...") : text;
}

}  // namespace

bool TExtStringGrid::BalloonTextAt(int x, int y, TBalloonText& balloon)
{
    if (!Balloon.Enable)
        return false;
    balloon = TBalloonText{};
    TGridCoord cell = MouseToCell(x, y);
    const bool hit = cell.X >= 0 && cell.Y >= 0;
    QString text;
    if (hit) {
        const TPoint base = BaseCell(cell.X, cell.Y);
        cell = {base.X, base.Y};
        const int rc = RealColIndex(cell.X);
        text = GetCellsEx(rc, cell.Y);
        switch (DetectTextKind(text, EnableHTML)) {
        case tkHTML:
            text = HtmlToPlain(text);
            break;
        case tkWide:
            text = DecodeWideText(text);
            break;
        default:
            break;
        }
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        int start = 0;
        while (start < text.size() && (text[start] == '\r' || text[start] == '\n'))
            ++start;
        text = Shortened(text.mid(start), MaxBalloonText);

        QString title, body;
        TBalloonIcon icon = biInfo;
        if (IsBalloon(rc, cell.Y, title, body, icon)) {
            balloon.Title = title;
            text = body;
            balloon.Icon = icon;
        }
    }
    if (balloon.Title.isEmpty())
        balloon.Title = QStringLiteral(" ");
    if (OnCellBalloon)
        OnCellBalloon(this, cell.X, cell.Y, balloon.Title, text, balloon.Icon);
    FLastBalloonCell = cell;
    balloon.Text = text;
    balloon.Title = Shortened(balloon.Title, MaxBalloonTitle);
    return true;
}

// Row and cell hooks.

void TExtStringGrid::FixedEdit(int c, int r, TGridFixedCellEditor& editor, QStringList& values)
{
    if (OnFixedEdit)
        OnFixedEdit(this, c, r, editor, values);
}

void TExtStringGrid::SelectionChanged(int left, int top, int right, int bottom)
{
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007)
        Invalidate();
    FSelectionChanged = true;
    if (OnSelectionChanged)
        OnSelectionChanged(this, left, top, right, bottom);
}

void TExtStringGrid::InsertRowAuto(int r)
{
    if (NumNodes() == 0)
        InsertRows(r, 1);
    else if (GetParentRow(r) < 0)
        InsertNormalRow(DisplToRealRow(r));
    else
        InsertChildRow(DisplToRealRow(r), 0);
}

void TExtStringGrid::DeleteRowAuto(int r)
{
    if (NumNodes() > 0) {
        if (GetParentRow(r) < 0)
            RemoveNormalRow(DisplToRealRow(r));
        else
            RemoveChildRow(DisplToRealRow(r));
    } else if (RowCount() - FixedRows() - FixedFooters == 1 && !FixedRowAlways) {
        ClearRows(r, 1);
    } else {
        RemoveRowsRaw(r, 1);
    }
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, r);
}

void TExtStringGrid::FilterDone()
{
    if (OnFilterDone)
        OnFilterDone(this);
}

void TExtStringGrid::GetFilterCellText(int c, int r, QString& value) { value = Cells(c, r); }

}  // namespace grid
