#include "grid/dataops/GridSort.h"

#include <QCollator>
#include <QLocale>
#include <QTime>
#include <algorithm>
#include <optional>

#include "grid/core/GridTextUtils.h"

namespace grid::dataops {

namespace {

// Days since 30 December 1899, the date-and-time value the comparisons use; 0 for no date.
double DayValue(const QDateTime& value)
{
    static const qint64 base = QDate(1899, 12, 30).toJulianDay();
    const QTime t = value.time();
    return double(value.date().toJulianDay() - base) + t.msecsSinceStartOfDay() / 86400000.0;
}

double DateValue(const QString& text)
{
    QDateTime value;
    if (text.isEmpty() || !ParseLocaleDateTime(text.trimmed(), value))
        return 0;
    return DayValue(value);
}

double ShortDateValue(const QString& text, bool european)
{
    const QDate d = european ? ParseDateDMY(text.trimmed()) : ParseDateMDY(text.trimmed());
    return d.isValid() ? DayValue(QDateTime(d, QTime(0, 0))) : 0;
}

// Hours, minutes and optional seconds with the locale's time separator, an optional AM or PM
// after them; the fraction of a day, 0 when the text is no time.
double TimeValue(const QString& text)
{
    QString s = text.trimmed().toUpper();
    int add = 0;
    if (s.endsWith(QLatin1String("AM")) || s.endsWith(QLatin1String("PM"))) {
        add = s.endsWith(QLatin1String("PM")) ? 12 : 0;
        s.chop(2);
        s = s.trimmed();
    }
    const QStringList parts = s.split(LocaleTimeSeparator());
    if (parts.size() < 2 || parts.size() > 3)
        return 0;
    int v[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || v[i] < 0)
            return 0;
    }
    if (add && v[0] < 12)
        v[0] += add;
    if (v[0] > 23 || v[1] > 59 || v[2] > 59)
        return 0;
    return (v[0] * 3600 + v[1] * 60 + v[2]) / 86400.0;
}

// The value of the longest leading part of the text that reads as a number; 0 when none.
double NumericPrefix(const QString& s)
{
    int i = 0;
    const int n = int(s.size());
    while (i < n && s[i] == ' ')
        ++i;
    const int start = i;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    int digits = 0;
    while (i < n && s[i].isDigit())
        ++i, ++digits;
    if (i < n && s[i] == '.') {
        int j = i + 1, frac = 0;
        while (j < n && s[j].isDigit())
            ++j, ++frac;
        if (digits + frac > 0)
            i = j, digits += frac;
    }
    if (digits == 0)
        return 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        int j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        int e = 0;
        while (j < n && s[j].isDigit())
            ++j, ++e;
        if (e > 0)
            i = j;
    }
    return QLocale::c().toDouble(s.mid(start, i - start));
}

// Letters a to z upper-cased, nothing else.
QString FoldAscii(const QString& text)
{
    QString s = text;
    for (QChar& c : s)
        if (c >= 'a' && c <= 'z')
            c = QChar(c.unicode() - 32);
    return s;
}

QString StripTags(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool tag = false;
    for (QChar c : text) {
        if (c == '<')
            tag = true;
        else if (c == '>' && tag)
            tag = false;
        else if (!tag)
            out += c;
    }
    return out;
}

template <typename T>
int Sign(T a, T b)
{
    return a > b ? 1 : (a < b ? -1 : 0);
}

int OrdinalCompare(const QString& a, const QString& b)
{
    const int r = QString::compare(a, b, Qt::CaseSensitive);
    return r > 0 ? 1 : (r < 0 ? -1 : 0);
}

// The locale's date test on the first text: its first date separator at 1-based position p with
// 1 < p < 4, p below the length and digits on both sides.
bool SeparatorCandidate(const QString& t, QChar sep)
{
    const qsizetype i = t.indexOf(sep);  // 0-based: p - 1
    if (i < 0)
        return false;
    const qsizetype p = i + 1;
    return p > 1 && p < 4 && p < t.size() && t[i - 1].isDigit() && t[i + 1].isDigit();
}

// What a cell contributes to comparisons, computed once per sort.
struct TCellKey {
    QString Text;    // the compared text
    QString Alt;     // folded, stripped or converted text, as the column's style asks
    std::optional<QCollatorSortKey> Collated;
    double Number = 0;
    bool NumberValid = false;
    bool NumberBlank = false;  // the number text is empty after the prefix and suffix went
    bool IsNumber = false;
    bool DateCandidate = false, HasDateSep = false, HasTimeSep = false, TimeCandidate = false;
    double Date = 0, Time = 0;
    int Check = -1;  // check-box state, -1 without a check box
    int64_t Image = -1;
};

struct TSortColumnKeys {
    int Col = 0;
    TSortStyle Style = ssAutomatic;
    QString Prefix, Suffix;
    std::vector<TCellKey> Keys;
};

bool IsCheckType(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

class TKeyBuilder {
public:
    explicit TKeyBuilder(TExtStringGrid& grid) : G(grid), S(grid.SortSettings) {}

    std::unique_ptr<TSortColumnKeys> Column(int col, const std::vector<int>& rows)
    {
        auto keys = std::make_unique<TSortColumnKeys>();
        keys->Col = col;
        keys->Style = S.AutoFormat ? ssAutomatic : (S.IgnoreCase ? ssAlphaNoCase : ssAlphabetic);
        G.GetCellFormat(col, keys->Style, keys->Prefix, keys->Suffix);
        std::optional<QCollator> collator;
        if (keys->Style == ssAnsiAlphaCase || keys->Style == ssAnsiAlphaNoCase) {
            collator.emplace();
            collator->setCaseSensitivity(keys->Style == ssAnsiAlphaCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
        }
        keys->Keys.resize(rows.size());
        const QChar dateSep = LocaleDateSeparator(), timeSep = LocaleTimeSeparator();
        const QChar decimal = LocaleDecimalSeparator(), thousand = LocaleThousandSeparator();
        for (size_t i = 0; i < rows.size(); ++i) {
            const int r = rows[i];
            TCellKey& k = keys->Keys[i];
            k.Text = S.SortOnVirtualCells ? G.Cells(col, r) : G.GetGridCell(col, r);
            const TSortStyle style = keys->Style;
            const bool automatic = style == ssAutomatic;
            if (automatic || style == ssCheckBox) {
                if (IsCheckType(G.GetCellType(col, r))) {
                    bool state = false;
                    G.GetCheckBoxState(col, G.DisplToRealRow(r), state);
                    k.Check = state ? 1 : 0;
                } else if (style == ssCheckBox) {
                    k.Check = 0;
                }
            }
            if (automatic || style == ssAlphaNumeric || style == ssAlphaNumericNoCase)
                k.IsNumber = DetectNumberKind(k.Text) != nkNotNumber;
            if (automatic || style == ssNumeric || style == ssFinancial || style == ssAlphaNumeric ||
                style == ssAlphaNumericNoCase) {
                QString t = k.Text;
                if (!keys->Suffix.isEmpty()) {
                    const qsizetype p = t.indexOf(keys->Suffix);
                    if (p >= 0)
                        t.remove(p, keys->Suffix.size());
                }
                if (!keys->Prefix.isEmpty()) {
                    const qsizetype p = t.indexOf(keys->Prefix);
                    if (p >= 0)
                        t.remove(p, keys->Prefix.size());
                }
                if (style == ssFinancial)
                    t.remove(thousand);
                if (decimal != '.') {
                    const qsizetype p = t.indexOf(decimal);
                    if (p >= 0)
                        t[p] = '.';
                }
                k.NumberBlank = t.isEmpty();
                bool ok = false;
                k.Number = QLocale::c().toDouble(t.trimmed(), &ok);
                k.NumberValid = ok || k.Text.isEmpty();
                if (!ok)
                    k.Number = k.Text.isEmpty() ? 0 : NumericPrefix(t);
            }
            if (automatic) {
                k.HasDateSep = k.Text.contains(dateSep);
                k.HasTimeSep = k.Text.contains(timeSep);
                k.DateCandidate = SeparatorCandidate(k.Text, dateSep);
                k.TimeCandidate = !k.DateCandidate && SeparatorCandidate(k.Text, timeSep);
                if (k.DateCandidate)
                    k.Date = DateValue(k.Text);
                if (k.TimeCandidate)
                    k.Time = TimeValue(k.Text);
            }
            switch (style) {
            case ssAutomatic:
            case ssAlphaNoCase:
            case ssAlphaNumericNoCase:
                if (style != ssAutomatic || S.IgnoreCase)
                    k.Alt = FoldAscii(k.Text);
                break;
            case ssAnsiAlphaCase:
            case ssAnsiAlphaNoCase:
                k.Collated.emplace(collator->sortKey(k.Text));
                break;
            case ssHTML:
                k.Alt = StripTags(k.Text);
                break;
            case ssDate:
            case ssDateTime:
                k.Date = DateValue(k.Text);
                break;
            case ssShortDateEU:
            case ssShortDateUS:
                k.Date = ShortDateValue(k.Text, style == ssShortDateEU);
                break;
            case ssTime:
                k.Time = TimeValue(k.Text);
                break;
            case ssImages:
                k.Image = G.GetCellImageKey(col, r);
                break;
            default:
                break;
            }
        }
        return keys;
    }

private:
    TExtStringGrid& G;
    TSortSettings& S;
};

// Compares two cells of one column by their keys (steps of the cell comparison).
class TKeyCompare {
public:
    TKeyCompare(TGridSorting& sorting) : Sorting(sorting), S(sorting.Grid.SortSettings) {}

    int Cells(const TSortColumnKeys& col, size_t i1, size_t i2, int row1, int row2, TSortDirection direction)
    {
        ++Sorting.Compares;
        const TCellKey& a = col.Keys[i1];
        const TCellKey& b = col.Keys[i2];
        TSortStyle style = col.Style;
        if (style == ssAutomatic) {
            if (a.Check >= 0) {
                style = ssCheckBox;
            } else if (a.IsNumber) {
                style = ssNumeric;
            } else {
                style = S.IgnoreCase ? ssAlphaNoCase : ssAlphabetic;
                if (a.DateCandidate) {
                    if (b.HasDateSep)
                        style = a.HasTimeSep ? ssDateTime : ssDate;
                } else if (a.TimeCandidate && b.HasTimeSep) {
                    style = ssTime;
                }
            }
        } else if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
            style = a.IsNumber && b.IsNumber ? ssNumeric : (style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase);
        }
        int r = 0;
        bool numeric = false;
        switch (style) {
        case ssAlphabetic:
        case ssAlphaCase:
            r = OrdinalCompare(a.Text, b.Text);
            break;
        case ssAlphaNoCase:
        case ssHTML:
            r = OrdinalCompare(a.Alt, b.Alt);
            break;
        case ssAnsiAlphaCase:
        case ssAnsiAlphaNoCase:
            r = a.Collated && b.Collated ? Sign(a.Collated->compare(*b.Collated), 0) : 0;
            break;
        case ssNumeric:
        case ssFinancial:
            numeric = true;
            r = !a.NumberValid && !b.NumberValid ? 0 : Sign(a.Number, b.Number);
            break;
        case ssDate:
        case ssDateTime:
        case ssShortDateEU:
        case ssShortDateUS:
            r = Sign(a.Date, b.Date);
            break;
        case ssTime:
            r = Sign(a.Time, b.Time);
            break;
        case ssCheckBox:
            r = Sign(std::max(a.Check, 0), std::max(b.Check, 0));
            break;
        case ssImages:
            r = Sign(a.Image, b.Image);
            break;
        case ssCustom:
            if (Sorting.OnCustomCompare) {
                int res = 0;
                Sorting.OnCustomCompare(&Sorting.Grid, a.Text, b.Text, res);
                r = Sign(res, 0);
            }
            break;
        case ssRaw:
            if (Sorting.OnRawCompare) {
                int res = 0;
                Sorting.OnRawCompare(&Sorting.Grid, col.Col, row1, row2, res);
                r = Sign(res, 0);
            }
            break;
        default:
            break;
        }
        if (S.IgnoreBlanks) {
            const bool blank1 = numeric ? a.NumberBlank : a.Text.isEmpty();
            const bool blank2 = numeric ? b.NumberBlank : b.Text.isEmpty();
            if (blank1 != blank2) {
                int first = S.BlankPos == blFirst ? -1 : 1;  // the result when row 1 is the blank one
                if (direction == sdDescending)
                    first = -first;
                r = blank1 ? first : -first;
            }
        }
        return r;
    }

    TGridSorting& Sorting;
    TSortSettings& S;
};

// The keys of a row range, column by column as the comparisons first need them.
class TRangeKeys {
public:
    TRangeKeys(TGridSorting& sorting, std::vector<int> rows)
        : Sorting(sorting), Rows(std::move(rows)), Compare(sorting),
          Columns(size_t(std::max(sorting.Grid.AllColCount(), 0)))
    {
    }
    const TSortColumnKeys& Of(int col)
    {
        if (col < 0 || size_t(col) >= Columns.size())
            return Empty();
        auto& slot = Columns[size_t(col)];
        if (!slot)
            slot = TKeyBuilder(Sorting.Grid).Column(col, Rows);
        return *slot;
    }
    int Cell(int col, size_t i1, size_t i2, TSortDirection direction)
    {
        const TSortColumnKeys& keys = Of(col);
        if (keys.Keys.empty())
            return 0;
        return Compare.Cells(keys, i1, i2, Rows[i1], Rows[i2], direction);
    }
    // The column chain: col, then (with Full) the next columns until one decides.
    int Line(int col, size_t i1, size_t i2)
    {
        const TExtStringGrid& g = Sorting.Grid;
        const int last = g.AllColCount() - 1;
        for (;; ++col) {
            const int r = g.IsIgnoredColumn(col) ? 0 : Cell(col, i1, i2, g.SortSettings.Direction);
            if (r != 0 || !g.SortSettings.Full || col > last - 1)
                return r;
        }
    }
    int Indexed(size_t i1, size_t i2)
    {
        const TExtStringGrid& g = Sorting.Grid;
        const TSortIndexList& list = g.SortIndexes;
        for (int i = 0; i < list.Count(); ++i) {
            const int col = list.GetSortColumns(i);
            const bool descending = !list.GetSortDirections(i);
            const int r = g.IsIgnoredColumn(col) ? 0 : Cell(col, i1, i2, descending ? sdDescending : sdAscending);
            if (r != 0 || !g.SortSettings.Full)
                return descending ? -r : r;
        }
        return 0;
    }

    TGridSorting& Sorting;
    std::vector<int> Rows;
    TKeyCompare Compare;

private:
    static const TSortColumnKeys& Empty()
    {
        static const TSortColumnKeys none;
        return none;
    }
    std::vector<std::unique_ptr<TSortColumnKeys>> Columns;
};

}  // namespace

TGridSorting::TGridSorting(TExtStringGrid& grid) : Grid(grid) {}

TGridSorting::~TGridSorting() = default;

void TGridSorting::InitSortXRef()
{
    FSortRowXRef.resize(size_t(std::max(Grid.RowCount(), 0)));
    for (size_t i = 0; i < FSortRowXRef.size(); ++i)
        FSortRowXRef[i] = int(i);
}

int TGridSorting::CompareCells(int col, int row1, int row2, TSortDirection direction)
{
    TRangeKeys keys(*this, {row1, row2});
    return keys.Cell(col, 0, 1, direction);
}

void TGridSorting::SortRange(int from, int to, int col, bool indexed)
{
    if (to <= from)
        return;
    std::vector<int> rows(size_t(to - from + 1));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = from + int(i);
    TRangeKeys keys(*this, rows);
    std::vector<int> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    const bool descending = Grid.SortSettings.Direction == sdDescending;
    if (indexed)
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return keys.Indexed(size_t(a), size_t(b)) < 0; });
    else
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int r = keys.Line(col, size_t(a), size_t(b));
            return descending ? r > 0 : r < 0;
        });
    for (int& o : order)
        o += from;
    ApplyOrder(from, order);
}

void TGridSorting::ApplyOrder(int from, const std::vector<int>& order)
{
    bool moved = false;
    for (size_t k = 0; k < order.size(); ++k)
        if (order[k] != from + int(k)) {
            ++Swaps;
            moved = true;
        }
    if (!moved)
        return;
    const int n = int(order.size());
    const TSortSettings& s = Grid.SortSettings;
    if (s.SingleColumn) {
        const int col = s.IndexShow && Grid.SortIndexes.Count() > 0 ? Grid.SortIndexes.GetSortColumns(0) : s.Column;
        std::vector<QString> texts(static_cast<size_t>(n));
        std::vector<std::unique_ptr<TCellProperties>> objects(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k) {
            texts[size_t(k)] = Grid.GetGridCell(col, order[size_t(k)]);
            objects[size_t(k)] = Grid.TakeGridObject(col, order[size_t(k)]);
        }
        for (int k = 0; k < n; ++k) {
            Grid.SetGridCell(col, from + k, texts[size_t(k)]);
            if (objects[size_t(k)])
                objects[size_t(k)]->OwnerRow = from + k;
            Grid.SetGridObject(col, from + k, std::move(objects[size_t(k)]));
        }
    } else {
        Grid.PermuteRows(from, order, true);
    }
    // The cross-reference and the tracked row follow the rows.
    if (from + n <= int(FSortRowXRef.size())) {
        std::vector<int> xref(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k)
            xref[size_t(k)] = FSortRowXRef[size_t(order[size_t(k)])];
        std::copy(xref.begin(), xref.end(), FSortRowXRef.begin() + from);
    }
    if (!s.SingleColumn && SortRow >= from && SortRow < from + n)
        for (int k = 0; k < n; ++k)
            if (order[size_t(k)] == SortRow) {
                SortRow = from + k;
                break;
            }
}

// What every sort entry point saves and restores around the rows' move, on every path out.
struct TGridSorting::TFrame {
    TFrame(TGridSorting& sorting) : S(sorting), G(sorting.Grid)
    {
        if (G.RowCount() != int(S.FSortRowXRef.size()))
            S.InitSortXRef();
    }
    void Begin()
    {
        if (G.SortSettings.NormalCellsOnly && G.FixedCols() > 0) {
            Column0.resize(size_t(G.RowCount()));
            for (int r = 0; r < G.RowCount(); ++r)
                Column0[size_t(r)] = G.GetGridCell(0, r);
            SavedColumn0 = true;
        }
        Top = G.TopRow();
        G.BeginUpdate();
        Begun = true;
        S.SortRow = G.Row();
        OldRow = G.Row();
    }
    ~TFrame()
    {
        if (!Begun)
            return;
        if (SavedColumn0)
            for (int r = 0; r < G.RowCount() && size_t(r) < Column0.size(); ++r)
                G.SetGridCell(0, r, Column0[size_t(r)]);
        if (G.Navigation.KeepScrollOnSort)
            G.SetTopRow(Top);
        G.EndUpdate();
        G.UpdateFooter();
    }
    int First() const { return G.FixedRows(); }
    int Last() const { return G.RowCount() - 1 - G.FixedFooters; }
    // The current row follows the row it named, or stays at its index.
    void PlaceCurrentRow()
    {
        if (G.Navigation.MoveRowOnSort && S.SortRow >= 0 && S.SortRow < G.RowCount())
            G.SetRow(S.SortRow);
    }

    TGridSorting& S;
    TExtStringGrid& G;
    std::vector<QString> Column0;
    bool SavedColumn0 = false;
    bool Begun = false;
    int Top = 0;
    int OldRow = 0;
};

void TGridSorting::QSort()
{
    if (Grid.SortSettings.Column < 0)
        return;
    TFrame frame(*this);
    Grid.SortIndexes.Clear();
    frame.Begin();
    SortRange(frame.First(), frame.Last(), Grid.SortSettings.Column, false);
    if (!Grid.MouseActions.DisjunctRowSelect())
        frame.PlaceCurrentRow();
    if (OnRowChanged && !Grid.Navigation.MoveRowOnSort)
        OnRowChanged(&Grid, frame.OldRow, Grid.Row());
}

void TGridSorting::QSortIndexed()
{
    TFrame frame(*this);
    if (Grid.SortIndexes.Count() == 0)
        throw EExtGridError(QStringLiteral("No indexes specified for indexed sort"));
    frame.Begin();
    SortRange(frame.First(), frame.Last(), -1, true);
    frame.PlaceCurrentRow();
}

void TGridSorting::SortGroups(bool indexed)
{
    TFrame frame(*this);
    if (indexed && Grid.SortIndexes.Count() == 0)
        throw EExtGridError(QStringLiteral("No indexes specified for indexed sort"));
    if (!indexed && Grid.SortSettings.Column < 0)
        return;
    frame.Begin();
    const int first = frame.First(), last = frame.Last();
    int deepest = -1;
    for (int r = first; r <= last; ++r)
        if (Grid.IsNode(r))
            deepest = std::max(deepest, Grid.GetNodeLevel(r));
    if (deepest < 0)
        return;
    for (int r = first; r <= last; ++r) {
        if (!Grid.IsNode(r) || Grid.GetNodeLevel(r) != deepest || Grid.GetNodeState(r))
            continue;
        const int span = Grid.GetNodeSpan(r);
        if (span >= 3)
            SortRange(r + 1, std::min(r + span - 1, last), Grid.SortSettings.Column, indexed);
    }
    frame.PlaceCurrentRow();
}

void TGridSorting::QSortGroup() { SortGroups(false); }

void TGridSorting::QSortGroupIndexed() { SortGroups(true); }

void TGridSorting::QUnSort()
{
    const int n = Grid.RowCount();
    if (int(FSortRowXRef.size()) != n) {
        InitSortXRef();
        return;
    }
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return FSortRowXRef[size_t(a)] < FSortRowXRef[size_t(b)]; });
    std::vector<QString> column0;
    const bool keep0 = Grid.SortSettings.NormalCellsOnly && Grid.FixedCols() > 0;
    if (keep0)
        for (int r = 0; r < n; ++r)
            column0.push_back(Grid.GetGridCell(0, r));
    Grid.BeginUpdate();
    struct TEnd {
        TExtStringGrid& G;
        ~TEnd() { G.EndUpdate(); }
    } end{Grid};
    ApplyOrder(0, order);
    InitSortXRef();
    if (keep0)
        for (int r = 0; r < n; ++r)
            Grid.SetGridCell(0, r, column0[size_t(r)]);
}

void TGridSorting::Sort(int column, TSortDirection direction)
{
    Grid.SortSettings.Column = column;
    Grid.SortSettings.Direction = direction;
    Grid.QSort();
}

void TGridSorting::SortByColumn(int col)
{
    if (Grid.RowCount() <= 1)
        return;
    Grid.SortSettings.Column = col;
    Grid.QSort();
}

void TGridSorting::QuickSort(int col, int left, int right)
{
    Grid.BeginUpdate();
    struct TEnd {
        TExtStringGrid& G;
        ~TEnd() { G.EndUpdate(); }
    } end{Grid};
    if (Grid.RowCount() != int(FSortRowXRef.size()))
        InitSortXRef();
    SortRange(std::max(left, 0), std::min(right, Grid.RowCount() - 1), col, false);
}

void TGridSorting::QuickSortIndexed(int left, int right)
{
    Grid.BeginUpdate();
    struct TEnd {
        TExtStringGrid& G;
        ~TEnd() { G.EndUpdate(); }
    } end{Grid};
    if (Grid.RowCount() != int(FSortRowXRef.size()))
        InitSortXRef();
    SortRange(std::max(left, 0), std::min(right, Grid.RowCount() - 1), -1, true);
}

void TGridSorting::SortSwapRows(int row1, int row2)
{
    if (row1 == row2 || row1 < 0 || row2 < 0 || row1 >= Grid.RowCount() || row2 >= Grid.RowCount())
        return;
    const int lo = std::min(row1, row2), hi = std::max(row1, row2);
    std::vector<int> order(size_t(hi - lo + 1));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = lo + int(i);
    std::swap(order.front(), order.back());
    ApplyOrder(lo, order);
}

bool TGridSorting::SortLine(int col, int row1, int row2)
{
    const int dir = Grid.SortSettings.Direction == sdAscending ? 1 : -1;
    const int last = Grid.AllColCount() - 1;
    for (;; ++col) {
        const int r = CompareCells(col, row1, row2, Grid.SortSettings.Direction);
        if (r == dir) {
            SortSwapRows(row1, row2);
            return true;
        }
        if (r != 0 || col >= last)
            return false;
    }
}

void TGridSorting::ClickSort(int c, platform::TShiftState shift)
{
    if (Grid.RowCount() != int(FSortRowXRef.size()))
        InitSortXRef();
    TSortSettings& s = Grid.SortSettings;
    const int col = Grid.DisplToRealCol(c);
    const bool nodes = Grid.HasNodes();
    // Merged areas would tie rows together while they move.
    if (s.AutoColumnMerge)
        Grid.SplitAllColumnCells();
    if (s.IndexShow) {
        TSortIndexList& list = Grid.SortIndexes;
        const bool ascending = s.InitSortDirection == sdAscending;
        const bool adding = s.IndexSortKey == ikShift ? (shift & platform::ssShift) : (shift & platform::ssCtrl);
        if (adding) {
            if (list.FindIndex(col) >= 0)
                list.ToggleIndex(col);
            else
                list.AddIndex(col, ascending);
        } else if (list.Count() == 1 && list.FindIndex(col) == 0) {
            list.ToggleIndex(col);
        } else {
            list.Clear();
            list.AddIndex(col, ascending);
        }
        if (nodes)
            Grid.QSortGroupIndexed();
        else
            Grid.QSortIndexed();
        s.Column = list.Count() > 0 ? list.GetInteger(0) : -1;
    } else if (col == s.Column) {
        const bool undo = s.UndoSort && s.Direction != s.InitSortDirection;
        s.ToggleDirection();
        if (undo) {
            Grid.QUnSort();
            s.Column = -1;
        } else if (nodes) {
            Grid.QSortGroup();
        } else {
            Grid.QSort();
        }
    } else {
        s.Direction = s.InitSortDirection;
        s.Column = col;
        if (nodes)
            Grid.QSortGroup();
        else
            Grid.QSort();
    }
    if (s.AutoColumnMerge)
        Grid.RemergeColumnCells();
    Grid.CellControlsUpdate(false);
    Grid.Invalidate();
}

}  // namespace grid::dataops
