#include "grid/dataops/GridClipboardOps.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <cmath>

#include "grid/core/GridTextUtils.h"
#include "grid/dataops/GridBinCells.h"
#include "grid/dataops/GridHtmlXml.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridRichText.h"
#include "grid/editing/GridUndoRedo.h"

namespace grid::dataops {

namespace {

// Import states told to the grid's import hook.
constexpr int isImportStart = 0, isImportNewRow = 1, isImportDone = 2, isImportSelRow = 3;

TGridRect Normalized(const TGridRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

QByteArray Utf16Block(const QString& text)
{
    QByteArray out;
    out.reserve((text.size() + 1) * 2);
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    out.append('\0');
    out.append('\0');
    return out;
}

// The UTF-16 units of a block up to the first 0 unit.
QString TextOfUtf16Block(const QByteArray& block)
{
    QString out;
    for (qsizetype i = 0; i + 1 < block.size(); i += 2) {
        const char16_t u = char16_t(uint8_t(block[i]) | (uint8_t(block[i + 1]) << 8));
        if (u == 0)
            break;
        out += QChar(u);
    }
    return out;
}

struct TTextLine {
    QStringList Fields;
};

// Lines end at CR (an LF right after it belongs to it) or at a lone LF; both count only outside a
// field that starts with a double quote, so a quoted multi-line field stays one field.
std::vector<QStringList> SplitBlock(const QString& text)
{
    std::vector<QStringList> lines(1);
    QString field;
    bool quoted = false, fieldStart = true;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (quoted) {
            field += ch;
            if (ch == QLatin1Char('"') && (i + 1 == n || text[i + 1] == QLatin1Char('\t') ||
                                           text[i + 1] == QLatin1Char('\r') || text[i + 1] == QLatin1Char('\n')))
                quoted = false;
            continue;
        }
        if (fieldStart && ch == QLatin1Char('"')) {
            quoted = true;
            fieldStart = false;
            field += ch;
            continue;
        }
        fieldStart = false;
        if (ch == QLatin1Char('\t')) {
            lines.back() << field;
            field.clear();
            fieldStart = true;
        } else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            lines.back() << field;
            field.clear();
            fieldStart = true;
            lines.emplace_back();
        } else {
            field += ch;
        }
    }
    lines.back() << field;
    return lines;
}

// A quoted multi-line field loses its quotes; vertical tabs stand for line breaks.
QString UnquoteField(QString field)
{
    if (!field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    if (field.startsWith(QLatin1Char('"')))
        field.remove(0, 1);
    if (field.endsWith(QLatin1Char('"')))
        field.chop(1);
    TVToCRLF(field);
    return field;
}

}  // namespace

// ---- Copying ----

QString TGridClipboard::RectToClipboardText(const TGridRect& rect, bool disjunct)
{
    const TGridRect r = Normalized(rect);
    FClipTopLeft = {r.Left, r.Top};
    const bool rowSel = Grid.MouseActions.DisjunctRowSelect(), colSel = Grid.MouseActions.DisjunctColSelect();
    QString out;
    Grid.ExportNotification(esExportStart, -1);
    for (int row = r.Top; row <= r.Bottom && row < Grid.RowCount(); ++row) {
        Grid.ExportNotification(esExportNextRow, row);
        if (rowSel && disjunct && !colSel && !Grid.GetRowSelect(row))
            continue;
        for (int c = r.Left; c <= r.Right && c < Grid.ColCount(); ++c) {
            if (!(!colSel || !disjunct || Grid.GetColSelect(c)))
                continue;
            const int realCol = Grid.DisplToRealCol(c);
            QString text = Grid.GetCellEx(realCol, row);
            Grid.SaveCell(realCol, row, text);
            if (text.startsWith(QLatin1String("|\\")))
                text = DecodeWideText(text);
            if (text.contains(QLatin1Char('\r'))) {
                text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
                text = QLatin1Char('"') + text + QLatin1Char('"');
            }
            if (!Grid.Navigation.CopyHTMLTagsToClipboard && text.contains(QLatin1String("</"))) {
                text = QTextDocumentFragment::fromHtml(text).toPlainText();
            } else if (text.contains(QLatin1String("{\\"))) {
                QTextEdit editor;
                editing::CellToRich(Grid, realCol, row, editor);
                text = editor.toPlainText();
            }
            if (Grid.ExcelClipboardFormat && (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))))
                CSVQuoteLines(text);
            out += text;
            if (c != r.Right)
                out += QLatin1Char('\t');
        }
        if (r.Bottom > r.Top)
            out += QStringLiteral("\r\n");
    }
    Grid.ExportNotification(esExportDone, -1);
    return out;
}

std::unique_ptr<QMimeData> TGridClipboard::RectMimeData(const TGridRect& rect, bool disjunct)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(RectToClipboardText(rect, disjunct));
    const TGridRect r = Normalized(rect);
    if (Grid.Navigation.AllowRTFClipboard && r.Left < Grid.ColCount() && r.Top < Grid.RowCount()) {
        const QString text = Grid.GetCellEx(Grid.DisplToRealCol(r.Left), r.Top);
        if (text.contains(QLatin1String("{\\")))
            data->setData(QString::fromLatin1(MimeRichTextFormat), Utf16Block(text));
    }
    if (Grid.Navigation.AllowFmtClipboard) {
        const std::vector<uint8_t> cells = SaveRectToBinStream(Grid, r);
        data->setData(QString::fromLatin1(MimeGridCellsFormat),
                      QByteArray(reinterpret_cast<const char*>(cells.data()), qsizetype(cells.size())));
    }
    return data;
}

void TGridClipboard::CopyRectToClipboard(const TGridRect& rect, bool disjunct)
{
    QGuiApplication::clipboard()->setMimeData(RectMimeData(rect, disjunct).release());
}

void TGridClipboard::ExpandMergedSelection()
{
    TGridRect s = Normalized(Grid.Selection());
    const TGridRect before = s;
    if (s.Left >= Grid.ColCount() || s.Top >= Grid.RowCount())
        return;
    const TPoint tl = Grid.BaseCell(Grid.DisplToRealCol(s.Left), s.Top);
    s.Left = std::min(s.Left, Grid.RealToDisplCol(tl.X));
    s.Top = std::min(s.Top, tl.Y);
    const TPoint br = Grid.BaseCell(Grid.DisplToRealCol(std::min(s.Right, Grid.ColCount() - 1)),
                                    std::min(s.Bottom, Grid.RowCount() - 1));
    const TPoint span = Grid.CellSpan(br.X, br.Y);
    s.Right = std::min(std::max(s.Right, Grid.RealToDisplCol(br.X) + std::max(0, span.X)), Grid.ColCount() - 1);
    s.Bottom = std::min(std::max(s.Bottom, br.Y + std::max(0, span.Y)), Grid.RowCount() - 1);
    if (!(s == before))
        Grid.SetSelection(s);
}

void TGridClipboard::CopySelectionToClipboard()
{
    ExpandMergedSelection();
    if (Grid.MouseActions.DisjunctRowSelect() && !Grid.Navigation.AllowFmtClipboard)
        CopyRectToClipboard({Grid.FixedCols(), Grid.SaveStartRow(), Grid.ColCount() - Grid.FixedRightCols - 1,
                             Grid.SaveEndRow()},
                            true);
    else if (Grid.MouseActions.DisjunctColSelect() && !Grid.Navigation.AllowFmtClipboard)
        CopyRectToClipboard(SaveRange(), true);
    else
        CopyRectToClipboard(Grid.Selection(), false);
    FClipLastOp = coCopy;
}

void TGridClipboard::CopyToClipBoard()
{
    CopyRectToClipboard(SaveRange(), false);
    FClipLastOp = coCopy;
}

void TGridClipboard::CopyToClipBoardAsHTML()
{
    // The clipboard's HTML format takes a page; the platform adds its own envelope where it has one.
    const bool images = Grid.HTMLSettings.ExportImages;
    Grid.HTMLSettings.ExportImages = false;
    QString html;
    try {
        html = SaveToHTMLString(Grid, QString());
    } catch (...) {
        Grid.HTMLSettings.ExportImages = images;
        throw;
    }
    Grid.HTMLSettings.ExportImages = images;
    auto data = std::make_unique<QMimeData>();
    data->setHtml(html);
    data->setText(html);
    QGuiApplication::clipboard()->setMimeData(data.release());
}

bool TGridClipboard::Editable(int c, int r)
{
    return Grid.Navigation.AllowClipboardAlways || editing::CellAcceptsValue(Grid, Grid.DisplToRealCol(c), r);
}

void TGridClipboard::CutToClipboard()
{
    const TGridRect range = SaveRange();
    CopyRectToClipboard(range, false);
    EmptyEditable(range);
    FClipLastOp = coCut;
}

TGridRect TGridClipboard::SaveRange() const
{
    return {Grid.SaveStartCol(), Grid.SaveStartRow(), Grid.SaveEndCol(), Grid.SaveEndRow()};
}

void TGridClipboard::EmptyEditable(const TGridRect& rect)
{
    editing::TUndoGroup group(Grid);
    for (int r = rect.Top; r <= rect.Bottom; ++r)
        for (int c = rect.Left; c <= rect.Right; ++c)
            if (Editable(c, r))
                SetCellValue(c, r, QString());
    SetRangeModified(rect);
}

void TGridClipboard::CutSelectionToClipboard()
{
    const TGridRect sel = Normalized(Grid.Selection());
    CopySelectionToClipboard();
    if (Grid.MouseActions.DisjunctRowSelect()) {
        for (int r = Grid.FixedRows(); r < Grid.RowCount(); ++r)
            if (Grid.GetRowSelect(r)) {
                Grid.ClearRows(r, 1);
                if (Grid.ShowModified.Enabled)
                    Grid.SetRowModified(r, true);
            }
    } else if (Grid.MouseActions.DisjunctColSelect()) {
        for (int c = Grid.FixedCols(); c < Grid.ColCount(); ++c)
            if (Grid.GetColSelect(c))
                Grid.ClearCols(c, 1);
    } else {
        EmptyEditable(sel);
        if (Grid.Navigation.AllowFmtClipboard)
            Grid.FreeCellPropsRect(sel.Left, sel.Top, sel.Right, sel.Bottom);
    }
    FClipLastOp = coCut;
    Grid.CellsChanged(sel);
    if (Grid.NumHiddenColumns() > 0)
        Grid.Invalidate();
}

QString TGridClipboard::GetSelectionAsText() { return RectToClipboardText(Grid.Selection(), false); }

// ---- Writing cells ----

bool TGridClipboard::SetCellValue(int c, int r, const QString& value)
{
    const int realCol = Grid.DisplToRealCol(c);
    QString v = value;
    if (Validate && !Validate(realCol, r, v))
        return false;
    const QString old = Grid.GetCellEx(realCol, r);
    if (Grid.HasCheckBox(realCol, r)) {
        Grid.SetCheckBoxStateNotify(realCol, r, v == Grid.CheckTrue);
    } else {
        if (old == v)
            return true;
        Grid.SetCellEx(realCol, r, v);
    }
    editing::ReportCellChange(Grid, realCol, r, old);
    if (realCol != c)
        Grid.RepaintCell(c, r);
    return true;
}

void TGridClipboard::SetRangeModified(const TGridRect& rect)
{
    if (!Grid.ShowModified.Enabled)
        return;
    for (int r = std::max(0, rect.Top); r <= rect.Bottom && r < Grid.RowCount(); ++r)
        Grid.SetRowModified(r, true);
}

// ---- Pasting ----

void TGridClipboard::MeasureTextBlock(const QString& text, int& cols, int& rows)
{
    cols = 0;
    rows = -1;
    for (const QStringList& line : SplitBlock(text)) {
        cols = std::max(cols, int(line.size()));
        if (!(line.size() == 1 && line.front().isEmpty()))
            ++rows;
    }
}

int TGridClipboard::PasteTextBlock(int c, int r, const QString& text, int& lines, int& fields)
{
    lines = 0;
    fields = 0;
    if (c < 0 || r < 0)
        return 0;
    if (!(Grid.Options & goEditing) && !Grid.Navigation.AllowClipboardAlways && !Grid.MouseActions.RangeSelectAndEdit)
        return 0;
    const std::vector<QStringList> block = SplitBlock(text);
    const bool footerRow = Grid.FloatingFooter.Visible() && Grid.FloatingFooter.FooterStyle() == fsFixedLastRow;
    int handled = 0, col = c, row = r, right = c;
    editing::TUndoGroup group(Grid);
    for (size_t li = 0; li < block.size(); ++li) {
        const QStringList& line = block[li];
        const bool finalEmpty = li + 1 == block.size() && line.size() == 1 && line.front().isEmpty();
        ++lines;
        Grid.ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, row);
        if (!finalEmpty && Grid.Navigation.ClipboardPasteAction == paInsert)
            Grid.InsertRows(row, 1, true);
        fields = int(line.size());
        for (qsizetype fi = 0; fi < line.size(); ++fi) {
            const bool last = fi + 1 == line.size();
            const QString value = UnquoteField(line[fi]);
            bool written = false;
            if (col < Grid.ColCount() && row < Grid.RowCount() && !(last && finalEmpty) && Editable(col, row))
                written = SetCellValue(col, row, value);
            ++handled;
            if (!last || written) {
                right = std::max(right, col);
                ++col;
                if (col >= Grid.ColCount() && Grid.Navigation.AllowClipboardColGrow && !last)
                    Grid.SetColCount(col + 1);
            }
        }
        col = c;
        if (li + 1 < block.size()) {
            ++row;
            const int limit = footerRow ? Grid.RowCount() - 1 : Grid.RowCount();
            if (row == limit && Grid.Navigation.AllowClipboardRowGrow &&
                !(li + 2 == block.size() && block.back().size() == 1 && block.back().front().isEmpty()))
                Grid.SetRowCount(Grid.RowCount() + 1);
        }
    }
    const TGridRect pasted{c, r, std::min(right, Grid.ColCount() - 1), std::min(r + lines - 1, Grid.RowCount() - 1)};
    SetRangeModified(pasted);
    Grid.CellsChanged(pasted);
    return handled;
}

int TGridClipboard::PasteDataAt(const QMimeData* data, int c, int r, int& rows, int& cols)
{
    rows = cols = 0;
    if (!data)
        return 0;
    const QString cellsFormat = QString::fromLatin1(MimeGridCellsFormat);
    if (Grid.Navigation.AllowFmtClipboard && data->hasFormat(cellsFormat)) {
        const QByteArray block = data->data(cellsFormat);
        const std::span<const uint8_t> stream(reinterpret_cast<const uint8_t*>(block.constData()), size_t(block.size()));
        const bool grow = Grid.Navigation.AllowClipboardRowGrow || Grid.Navigation.AllowClipboardColGrow ||
                          Grid.Navigation.ClipboardPasteAction == paInsert;
        // The grid grows only once the whole stream has been read and found sound.
        const TBinHeader h = LoadAtPointFromBinStream(Grid, c, r, stream, [&](const TBinHeader& header) {
            if (!grow)
                return;
            if (c + header.ColCount >= Grid.ColCount() && Grid.Navigation.AllowClipboardColGrow)
                Grid.SetColCount(c + header.ColCount);
            if (r + header.RowCount >= Grid.RowCount() && Grid.Navigation.AllowClipboardRowGrow)
                Grid.SetRowCount(r + header.RowCount);
            if (Grid.Navigation.ClipboardPasteAction == paInsert)
                Grid.InsertRows(r, header.RowCount, true);
        }, [this](int col, int row, QString& text) {
            // Pasted cells keep to what may be edited and pass the validation as typed ones do.
            if (!Editable(col, row))
                return false;
            return !Validate || Validate(Grid.DisplToRealCol(col), row, text);
        });
        if (grow) {
            cols = Grid.ColCount();
            rows = Grid.RowCount();
        }
        SetRangeModified({c, r, c + h.ColCount - 1, r + h.RowCount - 1});
        return h.ColCount * h.RowCount;
    }
    const QString rtfFormat = QString::fromLatin1(MimeRichTextFormat);
    if (Grid.Navigation.AllowRTFClipboard && data->hasFormat(rtfFormat)) {
        const QString text = TextOfUtf16Block(data->data(rtfFormat));
        if (c < Grid.ColCount() && r < Grid.RowCount() && editing::CellAcceptsValue(Grid, Grid.DisplToRealCol(c), r))
            SetCellValue(c, r, text);
        rows = cols = 1;
        return 0;
    }
    if (data->hasText())
        return PasteTextBlock(c, r, data->text(), rows, cols);
    return 0;
}

int TGridClipboard::PasteClipboardAt(int c, int r, int& rows, int& cols)
{
    return PasteDataAt(QGuiApplication::clipboard()->mimeData(), c, r, rows, cols);
}

void TGridClipboard::PasteFromClipboard()
{
    Grid.ImportNotification(isImportStart, -1);
    FPasteAll = true;
    int rows = 0, cols = 0;
    PasteClipboardAt(Grid.SaveStartCol(), Grid.SaveStartRow(), rows, cols);
    FPasteAll = false;
    Grid.ImportNotification(isImportDone, -1);
    Grid.CalcAllFooters();
}

void TGridClipboard::PasteSelectionFromClipboard()
{
    Grid.ImportNotification(isImportStart, -1);
    FPasteAll = false;
    ExpandMergedSelection();
    const TGridRect sel = Normalized(Grid.Selection());
    const int tc = (Grid.Options & goRowSelect) ? Grid.FixedCols() : sel.Left;
    int lines = 0, fields = 0;
    const int n = PasteClipboardAt(tc, sel.Top, lines, fields);
    if (Grid.Navigation.AllowSmartClipboard) {
        const int cells = (sel.Right - sel.Left + 1) * (sel.Bottom - sel.Top + 1);
        if (n == cells + 1)
            return;
        if (SmartFill(sel, n))
            return;
        if (sel.Right > sel.Left && sel.Bottom > sel.Top) {
            int l = 0, f = 0;
            if (lines == 1)
                for (int r = sel.Top + 1; r <= sel.Bottom; ++r)
                    PasteClipboardAt(sel.Left, r, l, f);
            else if (fields == 1)
                for (int c = sel.Left + 1; c <= sel.Right; ++c)
                    PasteClipboardAt(c, sel.Top, l, f);
            Grid.SetSelection(sel);
        }
    }
    Grid.ImportNotification(isImportDone, -1);
    Grid.CellsChanged(sel);
    Grid.CalcAllFooters();
}

// The smart fill after a paste of n cells over the selection; true when a series ended the paste.
bool TGridClipboard::SmartFill(const TGridRect& sel, int n)
{
    const int cells = (sel.Right - sel.Left + 1) * (sel.Bottom - sel.Top + 1);
    auto text = [&](int c, int r) { return Grid.GetCellEx(Grid.DisplToRealCol(c), r); };
    auto visit = [&](const std::function<void(int c, int r, int k)>& each) {
        int k = 0;
        for (int c = sel.Left; c <= sel.Right; ++c)
            for (int r = sel.Top; r <= sel.Bottom; ++r)
                each(c, r, k++);
    };
    if (n == 1 && cells > 1) {
        QString value = text(sel.Left, sel.Top);
        bool state = false;
        if (Grid.HasCheckBox(Grid.DisplToRealCol(sel.Left), sel.Top) &&
            Grid.GetCheckBoxState(Grid.DisplToRealCol(sel.Left), sel.Top, state))
            value = state ? Grid.CheckTrue : Grid.CheckFalse;
        editing::TUndoGroup group(Grid);
        visit([&](int c, int r, int) {
            if (Editable(c, r))
                SetCellValue(c, r, value);
        });
        SetRangeModified(sel);
        return false;
    }
    const bool oneCol = sel.Left == sel.Right, oneRow = sel.Top == sel.Bottom;
    if (n <= 1 || !(oneCol || oneRow))
        return false;
    const QString a = text(sel.Left, sel.Top);
    const QString b = oneCol ? text(sel.Left, sel.Top + 1) : text(sel.Left + 1, sel.Top);
    editing::TUndoGroup group(Grid);
    auto fill = [&](const std::function<QString(int k)>& valueAt) {
        visit([&](int c, int r, int k) {
            if (editing::CellAcceptsValue(Grid, Grid.DisplToRealCol(c), r))
                SetCellValue(c, r, valueAt(k));
        });
        SetRangeModified(sel);
        Grid.CellsChanged(sel);
        return true;
    };
    const QChar timeSep = LocaleTimeSeparator(), dateSep = LocaleDateSeparator(), dec = LocaleDecimalSeparator();
    QDateTime da, db;
    if ((LooksLikeDate(a) || a.contains(timeSep)) && (LooksLikeDate(b) || b.contains(timeSep))) {
        if (!ParseLocaleDateTime(a, da) || !ParseLocaleDateTime(b, db))
            return true;  // a conversion error ends the fill silently
        const bool dates = a.contains(dateSep);
        const qint64 stepSecs = da.secsTo(db);
        const int dy = db.date().year() - da.date().year(), dm = db.date().month() - da.date().month(),
                  dd = db.date().day() - da.date().day();
        QDateTime cur = da;
        return fill([&](int) {
            const QString v = dates ? QLocale().toString(cur.date(), QLocale::ShortFormat)
                                    : QLocale().toString(cur.time(), QLocale::ShortFormat);
            cur = dates ? QDateTime(IncDate(dy, dm, dd, cur.date(), int(stepSecs / 86400)), cur.time())
                        : cur.addSecs(stepSecs);
            return v;
        });
    }
    if (a.contains(dec) || b.contains(dec)) {
        bool okA = false, okB = false;
        const double fa = QLocale().toDouble(a, &okA), fb = QLocale().toDouble(b, &okB);
        if (!okA || !okB)
            return true;
        return fill([&](int k) {
            return QString::asprintf(Grid.FloatFormat.toLatin1().constData(), fa + k * (fb - fa));
        });
    }
    int ia = 0, ib = 0;
    if (StrToIntStrict(a.trimmed(), ia) && StrToIntStrict(b.trimmed(), ib))
        return fill([&](int k) { return QString::number(qint64(ia) + qint64(k) * (qint64(ib) - ia)); });
    // Repeat the pasted cells over the rest of the selection.
    // n counts the empty line after the block's last line break.
    if (oneCol) {
        for (int r = sel.Top + n - 1; r <= sel.Bottom; ++r)
            if (Editable(sel.Left, r))
                SetCellValue(sel.Left, r, text(sel.Left, r - n + 1));
    } else {
        for (int c = sel.Left + n - 1; c <= sel.Right; ++c)
            if (Editable(c, sel.Top))
                SetCellValue(c, sel.Top, text(c - n + 1, sel.Top));
    }
    SetRangeModified(sel);
    return false;
}

void TGridClipboard::SetSelectionAsText(const QString& value)
{
    const TGridRect sel = Normalized(Grid.Selection());
    int col = sel.Left, row = sel.Top, right = sel.Left;
    const std::vector<QStringList> block = SplitBlock(value);
    const bool footerRow = Grid.FloatingFooter.Visible() && Grid.FloatingFooter.FooterStyle() == fsFixedLastRow;
    for (size_t li = 0; li < block.size(); ++li) {
        for (const QString& field : block[li]) {
            if (col >= Grid.ColCount())
                Grid.SetColCount(col + 1);
            if (row < Grid.RowCount())
                Grid.SetGridCell(Grid.DisplToRealCol(col), row, UnquoteField(field));
            right = std::max(right, col);
            ++col;
        }
        col = sel.Left;
        if (li + 1 < block.size()) {
            ++row;
            const int limit = footerRow ? Grid.RowCount() - 1 : Grid.RowCount();
            if (row >= limit)
                Grid.SetRowCount(Grid.RowCount() + 1);
        }
    }
    Grid.CellsChanged({sel.Left, sel.Top, right, row});
}

}  // namespace grid::dataops
