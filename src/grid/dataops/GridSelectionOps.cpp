#include "grid/dataops/GridSelectionOps.h"

#include <QRandomGenerator>

#include "controls/common/EsgHTMLE.h"
#include "grid/core/GridTextUtils.h"

namespace grid::dataops {

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString HiTag = QStringLiteral("hi");
const QString ErrorTag = QStringLiteral("e");

struct TArea {
    int Left, Top, Right, Bottom;
};

TArea DataArea(TExtStringGrid& g, bool doFixed)
{
    if (doFixed)
        return {0, 0, g.ColCount() - 1, g.RowCount() - 1};
    return {g.FixedCols(), g.FixedRows(), g.ColCount() - 1 - g.FixedRightCols, g.RowCount() - 1 - g.FixedFooters};
}

}  // namespace

void SelectCells(TExtStringGrid& g, int fromCol, int fromRow, int toCol, int toRow)
{
    g.SetSelection({fromCol, fromRow, toCol, toRow});
}

QString SelectedText(TExtStringGrid& g, bool entireRows)
{
    TGridRect rect = g.Selection();
    if ((g.Options & goRowSelect) && entireRows) {
        rect.Left = 0;
        rect.Right = g.ColCount() - 1;
    }
    std::vector<int> rows;
    if (g.MouseActions.DisjunctRowSelect()) {
        for (int r = g.FixedRows(); r < g.RowCount(); ++r)
            if (g.GetRowSelect(g.MouseActions.RowSelectPersistent ? g.DisplToRealRow(r) : r))
                rows.push_back(r);
    } else {
        for (int r = rect.Top; r <= rect.Bottom; ++r)
            rows.push_back(r);
    }
    QString out;
    for (int r : rows) {
        for (int c = rect.Left; c <= rect.Right; ++c) {
            QString text = g.Cells(g.DisplToRealCol(c), r);
            if (text.contains(QLatin1String("{\\")))
                text = g.RichTextToPlain(text);
            if (g.Multilinecells && text.contains(QChar(13)) && g.ExcelClipboardFormat)
                CSVQuoteLines(text);
            out += text;
            if (c < rect.Right)
                out += QChar(9);
        }
        if (r != rect.Bottom)
            out += CRLF;
    }
    return out;
}

namespace {

enum TFold { fSum, fMin, fMax };

double FoldRow(TExtStringGrid& g, int row, int fromCol, int toCol, TFold fold)
{
    double result = fold == fSum ? 0.0 : g.GetFloats(fromCol, row);
    for (int c = fromCol; c <= toCol; ++c) {
        if (!g.IsBaseCell(c, row))
            continue;
        double v = 0;
        try {
            v = g.GetFloats(c, row);
        } catch (const EExtGridError&) {
            continue;
        }
        if (fold == fSum)
            result += v;
        else if (fold == fMin ? v < result : v > result)
            result = v;
    }
    return result;
}

}  // namespace

double RowSum(TExtStringGrid& g, int row, int fromCol, int toCol) { return FoldRow(g, row, fromCol, toCol, fSum); }
double RowMin(TExtStringGrid& g, int row, int fromCol, int toCol) { return FoldRow(g, row, fromCol, toCol, fMin); }
double RowMax(TExtStringGrid& g, int row, int fromCol, int toCol) { return FoldRow(g, row, fromCol, toCol, fMax); }

double RowAvg(TExtStringGrid& g, int row, int fromCol, int toCol)
{
    const int count = toCol - fromCol + 1;
    return count <= 0 ? 0.0 : RowSum(g, row, fromCol, toCol) / count;
}

namespace {

// Numbers the cells first .. last (one axis) as AutoNumberCol describes.
void AutoNumber(TExtStringGrid& g, int first, int last, const std::function<void(int, int)>& write)
{
    const int start = g.AutoNumberStart;
    const int base = g.AutoNumberStart + g.AutoNumberOffset + 1;
    if (g.AutoNumberDirection == sdDescending) {
        int k = 0;
        for (int i = last - start; i >= first; --i)
            write(i, base + k++);
        return;
    }
    int k = 0;
    for (int i = first + start; i <= last; ++i)
        write(i, base + k++);
}

}  // namespace

void AutoNumberCol(TExtStringGrid& g, int col)
{
    if (g.RowCount() <= 0)
        return;
    AutoNumber(g, g.FixedRows(), g.RowCount() - 1 - g.FixedFooters, [&](int r, int n) { g.SetInts(col, r, n); });
}

void AutoNumberRow(TExtStringGrid& g, int row)
{
    if (g.ColCount() <= 0)
        return;
    AutoNumber(g, g.FixedCols(), g.ColCount() - 1 - g.FixedRightCols, [&](int c, int n) { g.SetInts(c, row, n); });
}

QString HilightText(bool doCase, const QString& s, const QString& text)
{
    return controls::HTMLMarkText(s, text, HiTag, doCase);
}
QString MarkText(bool doCase, const QString& s, const QString& text)
{
    return controls::HTMLMarkText(s, text, ErrorTag, doCase);
}
QString UnHilightText(const QString& s) { return controls::HTMLUnmarkText(s, HiTag); }
QString UnMarkText(const QString& s) { return controls::HTMLUnmarkText(s, ErrorTag); }

namespace {

void Tag(TExtStringGrid& g, TArea a, const QString& tag, const QString& find, bool doCase)
{
    for (int r = a.Top; r <= a.Bottom; ++r) {
        for (int c = a.Left; c <= a.Right; ++c) {
            if (!g.IsBaseCell(c, r))
                continue;
            const QString& text = g.GetGridCell(c, r);
            const QString marked = controls::HTMLMarkText(text, find, tag, doCase);
            if (marked != text)
                g.SetCells(c, r, marked);
        }
    }
}

void Untag(TExtStringGrid& g, TArea a, const QString& tag)
{
    for (int r = a.Top; r <= a.Bottom; ++r) {
        for (int c = a.Left; c <= a.Right; ++c) {
            if (!g.IsBaseCell(c, r))
                continue;
            const QString& text = g.GetGridCell(c, r);
            const QString plain = controls::HTMLUnmarkText(text, tag);
            if (plain != text)
                g.SetCells(c, r, plain);
        }
    }
}

TArea ColArea(TExtStringGrid& g, bool doFixed, int col)
{
    return doFixed ? TArea{col, 0, col, g.RowCount() - 1}
                   : TArea{col, g.FixedRows(), col, g.RowCount() - 1 - g.FixedFooters};
}

// A row's columns; the removing members reach over the hidden columns too.
TArea RowArea(TExtStringGrid& g, bool doFixed, int row, bool hidden)
{
    const int extra = hidden ? g.NumHiddenColumns() : 0;
    return doFixed ? TArea{0, row, g.ColCount() - 1 + extra, row}
                   : TArea{g.FixedCols(), row, g.ColCount() - 1 - g.FixedRightCols + extra, row};
}

TArea GridArea(TExtStringGrid& g, bool doFixed, bool hiddenWithFixed, bool hiddenWithout)
{
    TArea a = DataArea(g, doFixed);
    a.Right += (doFixed ? hiddenWithFixed : hiddenWithout) ? g.NumHiddenColumns() : 0;
    return a;
}

}  // namespace

void HilightInCell(TExtStringGrid& g, bool doCase, int col, int row, const QString& hiText)
{
    Tag(g, {col, row, col, row}, HiTag, hiText, doCase);
}
void HilightInCol(TExtStringGrid& g, bool doFixed, bool doCase, int col, const QString& hiText)
{
    Tag(g, ColArea(g, doFixed, col), HiTag, hiText, doCase);
}
void HilightInRow(TExtStringGrid& g, bool doFixed, bool doCase, int row, const QString& hiText)
{
    Tag(g, RowArea(g, doFixed, row, false), HiTag, hiText, doCase);
}
void HilightInGrid(TExtStringGrid& g, bool doFixed, bool doCase, const QString& hiText)
{
    Tag(g, GridArea(g, doFixed, false, true), HiTag, hiText, doCase);
}
void MarkInCell(TExtStringGrid& g, bool doCase, int col, int row, const QString& hiText)
{
    Tag(g, {col, row, col, row}, ErrorTag, hiText, doCase);
}
void MarkInCol(TExtStringGrid& g, bool doFixed, bool doCase, int col, const QString& hiText)
{
    Tag(g, ColArea(g, doFixed, col), ErrorTag, hiText, doCase);
}
void MarkInRow(TExtStringGrid& g, bool doFixed, bool doCase, int row, const QString& hiText)
{
    Tag(g, RowArea(g, doFixed, row, false), ErrorTag, hiText, doCase);
}
void MarkInGrid(TExtStringGrid& g, bool doFixed, bool doCase, const QString& hiText)
{
    Tag(g, GridArea(g, doFixed, false, false), ErrorTag, hiText, doCase);
}
void UnHilightInCell(TExtStringGrid& g, int col, int row) { Untag(g, {col, row, col, row}, HiTag); }
void UnHilightInCol(TExtStringGrid& g, bool doFixed, int col) { Untag(g, ColArea(g, doFixed, col), HiTag); }
void UnHilightInRow(TExtStringGrid& g, bool doFixed, int row) { Untag(g, RowArea(g, doFixed, row, true), HiTag); }
void UnHilightInGrid(TExtStringGrid& g, bool doFixed) { Untag(g, GridArea(g, doFixed, true, true), HiTag); }
void UnMarkInCell(TExtStringGrid& g, int col, int row) { Untag(g, {col, row, col, row}, ErrorTag); }
void UnMarkInCol(TExtStringGrid& g, bool doFixed, int col) { Untag(g, ColArea(g, doFixed, col), ErrorTag); }
void UnMarkInRow(TExtStringGrid& g, bool doFixed, int row) { Untag(g, RowArea(g, doFixed, row, true), ErrorTag); }
void UnMarkInGrid(TExtStringGrid& g, bool doFixed) { Untag(g, GridArea(g, doFixed, true, true), ErrorTag); }

bool CheckCell(TExtStringGrid& g, int col, int row)
{
    TExtStringGridCheck* checker = g.CellChecker;
    if (!checker)
        return true;
    const QString untagged = UnMarkText(g.GetGridCell(col, row));
    if (checker->GotoCell) {
        g.GotoCell(g.RealToDisplCol(col), row);
        g.ScrollInView(g.RealToDisplCol(col), row);
    }
    QString result = untagged;
    if (checker->UseCorrect)
        result = checker->Correct(col, row, untagged);
    if (checker->UseMarkError)
        result = checker->MarkError(col, row, untagged);
    if (result != g.GetGridCell(col, row))
        g.SetCells(col, row, result);
    return result == untagged;
}

bool CheckCells(TExtStringGrid& g, int fromCol, int fromRow, int toCol, int toRow)
{
    TExtStringGridCheck* checker = g.CellChecker;
    if (!checker)
        return true;
    checker->StartCheck();
    const int savedRow = g.Row(), savedCol = g.Col();
    bool passed = true;
    for (int r = fromRow; r <= toRow; ++r)
        for (int c = fromCol; c <= toCol; ++c)
            passed = CheckCell(g, c, r) && passed;
    checker->StopCheck();
    if (checker->GotoCell) {
        g.SetRow(savedRow);
        g.SetCol(savedCol);
    }
    return passed;
}

bool CheckCol(TExtStringGrid& g, bool doFixed, int col)
{
    const TArea a = ColArea(g, doFixed, col);
    return CheckCells(g, a.Left, a.Top, a.Right, a.Bottom);
}

bool CheckRow(TExtStringGrid& g, bool doFixed, int row)
{
    const TArea a = RowArea(g, doFixed, row, false);
    return CheckCells(g, a.Left, a.Top, a.Right, a.Bottom);
}

bool CheckGrid(TExtStringGrid& g, bool doFixed)
{
    const TArea a = DataArea(g, doFixed);
    return CheckCells(g, a.Left, a.Top, a.Right, a.Bottom);
}

namespace {

void Fill(TExtStringGrid& g, bool doFixed, const std::function<void(int, int)>& write)
{
    const TArea a = DataArea(g, doFixed);
    for (int r = a.Top; r <= a.Bottom; ++r)
        for (int c = a.Left; c <= a.Right; ++c)
            write(c, r);
    g.CalcAllFooters();
}

}  // namespace

void TextFill(TExtStringGrid& g, bool doFixed, const QString& text)
{
    Fill(g, doFixed, [&](int c, int r) { g.SetCells(c, r, text); });
}

void FormatFill(TExtStringGrid& g, bool doFixed, const QString& format)
{
    Fill(g, doFixed, [&](int c, int r) { g.SetCells(c, r, FormatCellNumbers(format, c, r)); });
}

void RandomFill(TExtStringGrid& g, bool doFixed, int rnd)
{
    Fill(g, doFixed, [&](int c, int r) { g.SetInts(c, r, rnd > 0 ? int(QRandomGenerator::global()->bounded(rnd)) : 0); });
}

void LinearFill(TExtStringGrid& g, bool doFixed)
{
    Fill(g, doFixed, [&](int c, int r) { g.SetCells(c, r, QString::number(c) + QLatin1Char(':') + QString::number(r)); });
}

QString FormatCellNumbers(const QString& format, int col, int row)
{
    const int args[] = {col, row};
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar ch = format.at(i);
        if (ch != QLatin1Char('%') || i + 1 >= format.size()) {
            out += ch;
            continue;
        }
        qsizetype j = i + 1;
        if (format.at(j) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            i = j;
            continue;
        }
        // An argument index "n:" picks the argument and moves on from it.
        qsizetype k = j;
        while (k < format.size() && format.at(k).isDigit())
            ++k;
        if (k > j && k < format.size() && format.at(k) == QLatin1Char(':')) {
            next = format.mid(j, k - j).toInt();
            j = k + 1;
        }
        if (j >= format.size())
            break;
        const QChar kind = format.at(j).toLower();
        if (kind != QLatin1Char('d') && kind != QLatin1Char('s') && kind != QLatin1Char('x')) {
            out += format.mid(i, j - i + 1);
            i = j;
            continue;
        }
        const int value = next >= 0 && next < 2 ? args[next] : 0;
        ++next;
        out += kind == QLatin1Char('x') ? QString::number(value, 16).toUpper() : QString::number(value);
        i = j;
    }
    return out;
}

}  // namespace grid::dataops
