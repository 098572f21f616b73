#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDataOps.h"
#include "grid/core/GridUnit.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

#include "grid/core/GridHelperControls.h"
#include "grid/core/GridTextUtils.h"

namespace grid {

namespace {

QString StripTags(const QString& text)
{
    if (!text.contains('<'))
        return text;
    QString out;
    bool inTag = false;
    for (QChar c : text) {
        if (c == '<')
            inTag = true;
        else if (c == '>' && inTag)
            inTag = false;
        else if (!inTag)
            out += c;
    }
    return out;
}

// A float format is used only when it holds exactly one floating-point conversion and nothing
// else that printf would read: a format comes from stored columns and must never make printf
// read arguments that are not there.
bool SafeFloatFormat(const QString& format)
{
    static const QRegularExpression conversion(QStringLiteral("%[-+ #0]*[0-9]{0,3}(\\.[0-9]{0,3})?[eEfgG]"));
    return CountFormatConversions(format, conversion) == 1;
}

QString FormatFloat(const QString& format, double value)
{
    if (!SafeFloatFormat(format))
        return QString::number(value);
    return QString::asprintf(format.toLatin1().constData(), value);
}

}  // namespace

TExtStringGrid::TExtStringGrid()
{
    GridUnitStartUp();
    StartGridTimer();
    for (int d = 0; d < 4; ++d)
        ArrowWindows[size_t(d)] = std::make_unique<TArrowWindow>(this, helpers::TArrowDirection(d));
    HeaderDragButton = std::make_unique<THeaderDragButton>(this);
    // Hidden, and disabled where an editor can be; the editing code shows them.
    for (TGridEditorChild* e : std::initializer_list<TGridEditorChild*>{
             EditCombo.get(), TransEdit.get(), TransCombo.get(), EditCheck.get(), EditBtn.get(), UnitEditBtn.get(),
             GridButton.get()})
        e->Enabled = false;
    EditCombo->WinXP = EditCombo->Vista = true;
    TransEdit->Border = false;
    EditBtn->ButtonCaption = UnitEditBtn->ButtonCaption = QStringLiteral("...");
    EditBtn->Border = UnitEditBtn->Border = false;
    EditBtn->WinXP = true;
    GridUnit().LinkCursor = -21;
    FVisibleCol.fill(true);
    FAllColWidths.fill(0);
    RebuildColumnMap();
    MouseActions.OnInvalidate = [this] { Invalidate(); };
    MouseActions.OnDisableEdit = [this] { Options &= ~goEditing; };
    Bands.OnChange = [this] { Invalidate(); };
    ProgressAppearance.OnChange = [this] { Invalidate(); };
    // The modified marks stand in the fixed column.
    ShowModified.OnChange = [this] { RepaintCol(0); };
    SearchFooter.OnChange = [this] { UpdateSearchPanel(); };
    FilterDropDown.OnChange = [this] { Invalidate(); };
    MergedColumns.OnChange = [this](TIntList*, int, int) {
        SplitAllColumnCells();
        RemergeColumnCells();
    };
    RowCheckGraphic = std::make_unique<TCellGraphic>();
    SetRowCount(10);
    SetDefaultRowHeight(22);
    FFixedRowHeight = DefaultRowHeight();
    FRememberedFixedRows = FixedRows();
    FRememberedFixedCols = FixedCols();
    FMaxColCount = ColCount();
}

TExtStringGrid::~TExtStringGrid()
{
    if (ColumnSize.Save)
        if (TGridDataOps* ops = DataOps())
            ops->SaveColSizes();
    Destroying = true;
    if (TGridUndoRecorder* undo = std::exchange(FUndoRedo, nullptr))
        undo->GridDestroyed();
    if (GridUnit().FocusGrid == this)
        GridUnit().FocusGrid = nullptr;
    if (FAutoThemeAdapt)
        controls::GetThemeNotifier()->UnRegisterWindow(this);
}

namespace {
template <typename T>
T* MadeOnFirstUse(std::unique_ptr<T>& slot, TExtStringGrid* grid)
{
    if (!slot)
        slot = std::make_unique<T>(grid);
    return slot.get();
}
}  // namespace

TGridSpin* TExtStringGrid::SpinEdit() { return MadeOnFirstUse(FSpinEdit, this); }
TGridDatePicker* TExtStringGrid::DatePicker() { return MadeOnFirstUse(FDatePicker, this); }
TGridDateTimePicker* TExtStringGrid::DateTimePicker() { return MadeOnFirstUse(FDateTimePicker, this); }
TExtRichEdit* TExtStringGrid::RichEdit() { return MadeOnFirstUse(FRichEdit, this); }
TExtRichEdit* TExtStringGrid::RichEditPrint() { return MadeOnFirstUse(FRichEditPrint, this); }

TGridDropDown* TExtStringGrid::DropDown(TGridDropDownKind kind)
{
    auto& slot = FDropDowns[kind];
    if (!slot)
        slot = std::make_unique<TGridDropDown>(this, kind);
    return slot.get();
}

void TExtStringGrid::Loaded()
{
    Loading = false;
    ShowColumnHeaders();
    if (FixedCols() > 0)
        for (int i = 0; i < RowHeaders.size() && i < RowCount(); ++i)
            SetCells(0, i, EscapesToLineBreaks(RowHeaders[i]));
    FRememberedFixedRows = FixedRows();
    FRememberedFixedCols = FixedCols();
    MinRowHeight = DefaultRowHeight();
    MinColWidth = 10;
    FMaxRowCount = RowCount();
    FLoaded = true;
    if (FAutoThemeAdapt)
        controls::GetThemeNotifier()->RegisterWindow(this);
    if (Options & goAlwaysShowEditor) {
        Options &= ~goAlwaysShowEditor;
        Navigation.AlwaysEdit = true;
    }
    UpdateSearchPanel();
    UpdateScrollBarAlways(false);
    if (ColumnSize.Save)
        if (TGridDataOps* ops = DataOps())
            ops->LoadColSizes();
}

QString TExtStringGrid::DottedVersion(uint32_t v)
{
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

QString TExtStringGrid::GetVersionString() const { return DottedVersion(GetVersionNr()) + QStringLiteral(" Sep, 2012"); }

QString TExtStringGrid::Version() const { return DottedVersion(GetVersionNr()); }

void TExtStringGrid::SizeChanged(int, int)
{
    if (!FGridItems.empty())
        HiddenChanged();
    NormalRowCount = RowCount();
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    FMaxColCount = std::max(FMaxColCount, ColCount());
}

void TExtStringGrid::SetRowCount(int value)
{
    if (value < RowCount())
        CellsMoving();
    if (RowCount() == FixedRows() && FixedRowAlways && FSelHidden)
        UnHideSelection();
    SetPlatformRowCount(value);
    if (FixedRowAlways && FRememberedFixedRows < RowCount())
        SetPlatformFixedRows(FRememberedFixedRows);
    FMaxRowCount = std::max(FMaxRowCount, value);
    NormalRowCount = RowCount();
}

void TExtStringGrid::SetColCount(int value)
{
    if (value < ColCount())
        CellsMoving();
    SetPlatformColCount(value);
    if (FixedColAlways && FRememberedFixedCols < ColCount())
        SetPlatformFixedCols(FRememberedFixedCols);
    FMaxColCount = std::max(FMaxColCount, value);
}

int TExtStringGrid::GetFixedRows() const
{
    return FixedRows() == 0 && FixedRowAlways ? 1 : FixedRows();
}

void TExtStringGrid::SetFixedRows(int value)
{
    int v = value;
    if (FixedRowAlways && v >= RowCount())
        v = RowCount() - 1;
    SetPlatformFixedRows(v);
    if (!Loading)
        FRememberedFixedRows = value;
}

int TExtStringGrid::GetFixedCols() const
{
    return FixedCols() == 0 && FixedColAlways ? 1 : FixedCols();
}

void TExtStringGrid::SetFixedCols(int value)
{
    int v = value;
    if (FixedColAlways && v >= ColCount())
        v = ColCount() - 1;
    SetPlatformFixedCols(v);
    if (!Loading)
        FRememberedFixedCols = value;
}

void TExtStringGrid::SetDefaultRowHeight(int value)
{
    SetPlatformDefaultRowHeight(value);
    FloatingFooter.DefaultRowHeightChanged(value);
}

void TExtStringGrid::SetFixedRowHeight(int value)
{
    FFixedRowHeight = value;
    if (Loading)
        return;
    if (value == DefaultRowHeight()) {
        SetDefaultRowHeight(value);
        return;
    }
    for (int r = 0; r < FixedRows(); ++r)
        SetRowHeights(r, value);
}

int TExtStringGrid::GetIntText(const QString& text)
{
    QString s = text.trimmed();
    if (s.isEmpty() || s == QStringLiteral("-"))
        return 0;
    int v = 0;
    if (!StrToIntStrict(s, v))
        throw EExtGridError(QStringLiteral("Cell does not contain integer value"));
    return v;
}

double TExtStringGrid::GetFloatText(const QString& text)
{
    QString s = CleanNumberText(text.trimmed());
    if (s.isEmpty() || s == QStringLiteral("-"))
        return 0;
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok)
        throw EExtGridError(QStringLiteral("Cell does not contain a float value"));
    return v;
}

int TExtStringGrid::GetInts(int c, int r) { return GetIntText(StripTags(GetCellEx(c, r))); }

void TExtStringGrid::SetInts(int c, int r, int value)
{
    SetCellEx(c, r, QString::number(value));
    if (FNumHidden > 0)
        RepaintCell(RealToDisplCol(c), r);
}

int TExtStringGrid::GetAllInts(int c, int r) { return GetIntText(GetCellsEx(c, r)); }
void TExtStringGrid::SetAllInts(int c, int r, int value) { SetCellsEx(c, r, QString::number(value)); }
double TExtStringGrid::GetFloats(int c, int r) { return GetFloatText(StripTags(GetCellEx(c, r))); }

void TExtStringGrid::SetFloats(int c, int r, double value)
{
    QString format = FloatFormat;
    GetFloatFormat(c, r, format);
    SetCellEx(c, r, FormatFloat(format, value));
}

double TExtStringGrid::GetAllFloats(int c, int r) { return GetFloatText(GetCellsEx(c, r)); }
void TExtStringGrid::SetAllFloats(int c, int r, double value) { SetCellsEx(c, r, FormatFloat(FloatFormat, value)); }

QDate TExtStringGrid::GetDates(int c, int r)
{
    const QString text = GetCellEx(c, r).trimmed();
    const QDate d = QLocale().toDate(text, QLocale::ShortFormat);
    if (!d.isValid())
        throw platform::Exception(QStringLiteral("'%1' is not a valid date").arg(text));
    return d;
}

void TExtStringGrid::SetDates(int c, int r, const QDate& value)
{
    if (!value.isValid()) {
        SetCellEx(c, r, ShowNullDates ? QLocale().toString(QDate(1899, 12, 30), QLocale::ShortFormat) : QString());
        return;
    }
    SetCellEx(c, r, QLocale().toString(value, QLocale::ShortFormat));
}

QString TExtStringGrid::RealRowText(int c, int realRow) const
{
    if (const TGridItem* item = HiddenRowItem(realRow))
        return item->Row.Text(c);
    return GetGridCell(c, RealToDisplRow(realRow));
}

void TExtStringGrid::SetRealRowText(int c, int realRow, const QString& value)
{
    if (auto* item = const_cast<TGridItem*>(HiddenRowItem(realRow))) {
        item->Row.SetText(c, value);
        return;
    }
    SetCellEx(c, RealToDisplRow(realRow), value);
}

TCellProperties* TExtStringGrid::RealRowProps(int c, int realRow) const
{
    if (c < 0 || realRow < 0)
        return nullptr;
    if (const TGridItem* item = HiddenRowItem(realRow))
        return item->Row.PropsAt(c);
    return CellProps(c, RealToDisplRow(realRow));
}

QString TExtStringGrid::GetCellsEx(int c, int r)
{
    if (c < 0 || r < 0)
        return {};
    if (const TGridItem* item = HiddenRowItem(r)) {
        QString text = item->Row.Text(c);
        GetDisplText(c, r, text);
        return text;
    }
    return GetCellEx(c, RealToDisplRow(r));
}

void TExtStringGrid::SetCellsEx(int c, int r, const QString& value)
{
    if (c < 0 || r < 0)
        return;
    if (auto* item = const_cast<TGridItem*>(HiddenRowItem(r))) {
        item->Row.SetText(c, value);
        return;
    }
    SetCellEx(c, RealToDisplRow(r), value);
    if (RealToDisplCol(c) != c)
        RepaintCell(RealToDisplCol(c), RealToDisplRow(r));
}

QString TExtStringGrid::GetGridCellsEx(int c, int r) const
{
    if (c < 0 || r < 0)
        return {};
    return RealRowText(c, r);
}

void TExtStringGrid::SetGridCellsEx(int c, int r, const QString& value)
{
    if (c < 0 || r < 0)
        return;
    if (auto* item = const_cast<TGridItem*>(HiddenRowItem(r))) {
        item->Row.SetText(c, value);
        return;
    }
    SetGridCell(c, RealToDisplRow(r), value);
}

TObject* TExtStringGrid::GetObjectsEx(int c, int r) const
{
    TCellProperties* p = RealRowProps(c, r);
    return p ? p->CellObject : nullptr;
}

void TExtStringGrid::SetObjectsEx(int c, int r, TObject* value)
{
    if (c < 0 || r < 0)
        return;
    if (auto* item = const_cast<TGridItem*>(HiddenRowItem(r))) {
        if (!item->Row.PropsAt(c))
            item->Row.SetProps(c, NewCellProperties(c, RealToDisplRow(r), true));
        item->Row.PropsAt(c)->CellObject = value;
        return;
    }
    SetObjectEx(c, RealToDisplRow(r), value);
}

void TExtStringGrid::SwapCells(TPoint from, TPoint to)
{
    if (!InStore(from.X, from.Y) || !InStore(to.X, to.Y))
        return;
    const QString a = GetGridCell(from.X, from.Y);
    SetGridCell(from.X, from.Y, GetGridCell(to.X, to.Y));
    SetGridCell(to.X, to.Y, a);
    auto pa = TakeGridObject(from.X, from.Y);
    auto pb = TakeGridObject(to.X, to.Y);
    SetCellProperties(from.X, from.Y, std::move(pb));
    SetCellProperties(to.X, to.Y, std::move(pa));
}

TColor TExtStringGrid::GetColors(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    return p ? p->BrushColor() : clNone;
}

void TExtStringGrid::SetColors(int c, int r, TColor value)
{
    if (TCellProperties* p = GetCellProperties(c, r))
        p->SetBrushColor(value);
}

TColor TExtStringGrid::GetColorsTo(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    return p ? p->BrushColorTo() : clNone;
}

void TExtStringGrid::SetColorsTo(int c, int r, TColor value)
{
    if (TCellProperties* p = GetCellProperties(c, r))
        p->SetBrushColorTo(value);
}

bool TExtStringGrid::GetReadOnly(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    return p && p->ReadOnly;
}

void TExtStringGrid::SetReadOnly(int c, int r, bool value)
{
    if (TCellProperties* p = GetCellProperties(c, r)) {
        p->ReadOnly = value;
        RepaintCell(RealToDisplCol(c), r);
    }
}

TColor TExtStringGrid::GetFontColors(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    return p ? p->FontColor : clNone;
}

void TExtStringGrid::SetFontColors(int c, int r, TColor value)
{
    if (TCellProperties* p = GetCellProperties(c, r)) {
        p->FontColor = value;
        RepaintCell(RealToDisplCol(c), r);
    }
}

TAlignment TExtStringGrid::GetAlignments(int c, int r) const
{
    TCellProperties* p = CellProps(c, r);
    return p ? p->Alignment : taLeftJustify;
}

void TExtStringGrid::SetAlignments(int c, int r, TAlignment value)
{
    if (TCellProperties* p = GetCellProperties(c, r)) {
        p->Alignment = value;
        RepaintCell(RealToDisplCol(c), r);
    }
}

// Setting a row's colour to "none" clears that colour only: the cells keep their records with
// their read-only flags, merges, graphics and objects.
void TExtStringGrid::SetRowColor(int r, TColor value)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (value == clNone) {
            if (TCellProperties* p = CellProps(c, r))
                p->Init(clNone, p->BrushColorTo(), p->VAlignment(), p->WordWrap());
        } else if (TCellProperties* p = GetCellProperties(c, r)) {
            p->Init(value, p->BrushColorTo(), p->VAlignment(), p->WordWrap());
        }
    }
    RepaintRow(r);
}

void TExtStringGrid::SetRowColorTo(int r, TColor value)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        TCellProperties* p = value == clNone ? CellProps(c, r) : GetCellProperties(c, r);
        if (p)
            p->Init(p->BrushColor(), value, p->VAlignment(), p->WordWrap());
    }
    RepaintRow(r);
}

void TExtStringGrid::SetRowFontColor(int r, TColor value)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        TCellProperties* p = value == clNone ? CellProps(c, r) : GetCellProperties(c, r);
        if (p)
            p->FontColor = value;
    }
    RepaintRow(r);
}

bool TExtStringGrid::GetRowSelect(int r)
{
    if ((r < 0 || r >= RowCount() + NumHiddenRows()) && !MouseActions.RowSelectPersistent)
        throw EExtGridError(QStringLiteral("Invalid row %1 accessed").arg(r));
    if (MouseActions.DisjunctRowSelect())  // a row past the flags is not selected; reading adds none
        return r >= 0 && size_t(r) < FRowSelect.size() && FRowSelect[size_t(r)];
    const TGridRect& s = Selection();
    return r >= std::min(s.Top, s.Bottom) && r <= std::max(s.Top, s.Bottom);
}

bool TExtStringGrid::SetRowSelectRaw(int r, bool value)
{
    if (FRowSelect.size() < size_t(r) + 1)
        FRowSelect.resize(size_t(r) + 1, false);
    const bool was = FRowSelect[size_t(r)];
    FRowSelect[size_t(r)] = value;
    if (value) {
        if (!was)
            RepaintRow(r);
        if (r >= GetFixedRows() && std::find(FSelectedRows.begin(), FSelectedRows.end(), r) == FSelectedRows.end())
            FSelectedRows.push_back(r);
    } else {
        if (was)
            RepaintRow(r);
        std::erase(FSelectedRows, r);
    }
    return was != value;
}

void TExtStringGrid::SetRowSelect(int r, bool value)
{
    if (r < 0 || (r >= RowCount() + NumHiddenRows() && RowCount() > GetFixedRows()))
        throw EExtGridError(QStringLiteral("Invalid row accessed"));
    if (OnRowDisjunctSelect) {
        const size_t n = FRowSelect.size();
        const bool fire = size_t(r) > n || (size_t(r) < n && FRowSelect[size_t(r)] != value);
        if (fire) {
            bool allow = true;
            OnRowDisjunctSelect(this, r, value, allow);
            if (!allow)
                return;
        }
    }
    SetRowSelectRaw(r, value);
    if (OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, r);
}

bool TExtStringGrid::GetColSelect(int c)
{
    if (c < 0 || c >= ColCount())
        throw EExtGridError(QStringLiteral("Invalid column accessed"));
    if (FColSelect.size() < size_t(c) + 1)
        FColSelect.resize(size_t(c) + 1, false);
    return FColSelect[size_t(c)];
}

void TExtStringGrid::SetColSelect(int c, bool value)
{
    if (c < 0 || c >= ColCount())
        throw EExtGridError(QStringLiteral("Invalid column accessed"));
    if (FColSelect.size() < size_t(c) + 1)
        FColSelect.resize(size_t(c) + 1, false);
    if (FColSelect[size_t(c)] != value)
        RepaintCol(c);
    FColSelect[size_t(c)] = value;
}

int TExtStringGrid::RowSelectCount() const
{
    if (MouseActions.DisjunctRowSelect()) {
        const size_t n = std::min(size_t(RowCount() + NumHiddenRows()), FRowSelect.size());
        return int(std::count(FRowSelect.begin(), FRowSelect.begin() + long(n), true));
    }
    return std::abs(Selection().Bottom - Selection().Top) + 1;
}

int TExtStringGrid::ColSelectCount() const
{
    if (MouseActions.DisjunctColSelect())
        return int(std::count(FColSelect.begin(), FColSelect.end(), true));
    return Selection().Right - Selection().Left + 1;
}

void TExtStringGrid::SelectRows(int rowIndex, int count)
{
    if (rowIndex + count > RowCount())
        count = RowCount() - rowIndex;
    if (!MouseActions.DisjunctRowSelect()) {
        SetSelection({GetFixedCols(), rowIndex, ColCount() - 1, rowIndex + count - 1});
        return;
    }
    for (int r = rowIndex; r < rowIndex + count; ++r) {
        if (r < 0 || r >= RowCount())
            continue;
        SetRowSelect(MouseActions.RowSelectPersistent ? DisplToRealRow(r) : r, true);
    }
}

void TExtStringGrid::UnSelectRows(int rowIndex, int count)
{
    if (!MouseActions.DisjunctRowSelect())
        return;
    for (int r = rowIndex; r < rowIndex + count && r < RowCount(); ++r)
        if (r >= 0)
            SetRowSelect(MouseActions.RowSelectPersistent ? DisplToRealRow(r) : r, false);
}

void TExtStringGrid::SelectCols(int colIndex, int count)
{
    if (!MouseActions.DisjunctColSelect()) {
        SetSelection({colIndex, GetFixedRows(), colIndex + count - 1, RowCount() - 1});
        return;
    }
    for (int c = colIndex; c < colIndex + count && c < ColCount(); ++c)
        if (c >= 0)
            SetColSelect(c, true);
}

void TExtStringGrid::UnSelectCols(int colIndex, int count)
{
    if (!MouseActions.DisjunctColSelect())
        return;
    for (int c = colIndex; c < colIndex + count && c < ColCount(); ++c)
        if (c >= 0)
            SetColSelect(c, false);
}

void TExtStringGrid::SelectRange(int fromCol, int toCol, int fromRow, int toRow)
{
    SetRow(toRow);
    SetCol(toCol);
    SetSelection({fromCol, fromRow, toCol, toRow});
}

void TExtStringGrid::ClearRowSelect()
{
    std::fill(FRowSelect.begin(), FRowSelect.end(), false);
    FSelectedRows.clear();
    Invalidate();
}

void TExtStringGrid::ClearColSelect()
{
    std::fill(FColSelect.begin(), FColSelect.end(), false);
    Invalidate();
}

void TExtStringGrid::FocusCell(int c, int r) { SetSelection({c, r, c, r}); }

void TExtStringGrid::GotoCell(int c, int r)
{
    SetRow(r);
    SetCol(c);
}

bool TExtStringGrid::GetRowModified(int r) const
{
    return r >= 0 && size_t(r) < FModifiedRows.size() && FModifiedRows[size_t(r)] == 1;
}

void TExtStringGrid::SetRowModified(int r, bool value)
{
    if (r < 0)
        return;
    if (FModifiedRows.size() < size_t(r) + 1)
        FModifiedRows.resize(size_t(r) + 1, 0);
    FModifiedRows[size_t(r)] = value ? 1 : 0;
    RepaintCell(0, r);
}

int TExtStringGrid::ModifiedRowCount() const { return int(std::count(FModifiedRows.begin(), FModifiedRows.end(), 1)); }

bool TExtStringGrid::GetRowEnabled(int r) const
{
    return !(r >= 0 && size_t(r) < FDisabledRows.size() && FDisabledRows[size_t(r)] == 1);
}

void TExtStringGrid::SetRowEnabled(int r, bool value)
{
    if (r < 0)
        return;
    if (r == Row() && !value) {
        for (int k = GetFixedRows(); k < RowCount(); ++k) {
            if (k != r && GetRowEnabled(k)) {
                SetRow(k);
                break;
            }
        }
    }
    FRowEnablingUsed = true;
    if (FDisabledRows.size() < size_t(r) + 1)
        FDisabledRows.resize(size_t(r) + 1, 0);
    FDisabledRows[size_t(r)] = value ? 0 : 1;
    RepaintRow(r);
}

int TExtStringGrid::GetPrintColWidth(int c) const
{
    if (c < 0 || c > 511)
        throw EExtGridError(QStringLiteral("Columns is not in valid range"));
    return PrintColWidths[size_t(c)];
}

int TExtStringGrid::GetPrintColOffset(int c) const
{
    if (c < 0 || c > 511)
        throw EExtGridError(QStringLiteral("Columns is not in valid range"));
    return PrintColOffsets[size_t(c)];
}

QString TExtStringGrid::GetCurrentCell()
{
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    return GetGridCell(b.X, b.Y);
}

void TExtStringGrid::SetCurrentCell(const QString& value)
{
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    SetCellEx(b.X, b.Y, value);
}

QString TExtStringGrid::GetCurrentCellText()
{
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    return GetCellEx(b.X, b.Y);
}

TIntList* TExtStringGrid::GetCellImages(int c, int r)
{
    TCellGraphic* g = GetCellGraphic(c, r);
    return g && g->CellType == ctImages ? g->Images() : nullptr;
}

int64_t TExtStringGrid::GetCellImageKey(int c, int r)
{
    const TCellGraphic* g = GetCellGraphic(c, r);
    if (!g)
        return -1;
    switch (g->CellType) {
    case ctImageList:
        return g->CellIndex;
    case ctBitmap:
        return int64_t(reinterpret_cast<intptr_t>(g->CellBitmap));
    case ctIcon:
        return int64_t(reinterpret_cast<intptr_t>(g->CellIcon));
    default:
        return -1;
    }
}

void TExtStringGrid::GetFloatFormat(int, int, QString& format) { format = FloatFormat; }

TCellType TExtStringGrid::GetCellType(int c, int r)
{
    if (c < 0 || r < 0)
        return ctEmpty;
    if (MouseActions.HotmailRowSelect() && c == 0)
        return ctRowCheckBox;
    TCellGraphic* g = GetGraphicObjectEx(c, r);
    if (!g || !HasCellProperties(c, r))
        return ctEmpty;
    return g->CellType;
}

TCellGraphic* TExtStringGrid::GetCellGraphic(int c, int r)
{
    if (c < 0 || r < 0)
        return nullptr;
    if (MouseActions.HotmailRowSelect() && c == 0) {
        TCellGraphic* g = RowCheckGraphic.get();
        g->CellType = ctRowCheckBox;
        g->CellTransparent = ControlLook.ControlStyle == csFlat;
        const int data = RowCount() - GetFixedRows();
        const int selected = RowSelectCount();
        if (r == 0) {
            g->CellAngle = selected > 0 && selected < data ? 1 : 0;
            g->CellBoolean = selected >= data;
        } else {
            g->CellAngle = 0;
            const int real = DisplToRealRow(r);
            g->CellBoolean = real >= 0 && size_t(real) < FRowSelect.size() && FRowSelect[size_t(real)];
        }
        return g;
    }
    return HasCellProperties(c, r) ? GetGraphicObjectEx(c, r) : nullptr;
}

void TExtStringGrid::IsFixedCell(int c, int r, bool& isFixed)
{
    if (!isFixed)
        isFixed = c < FixedCols() || r < FixedRows() ||
                  (FixedRowAlways && RowCount() == FRememberedFixedRows) ||
                  (FixedColAlways && ColCount() == FRememberedFixedCols);
    if (!isFixed && OnIsFixedCell)
        OnIsFixedCell(this, r, c, isFixed);
}

bool TExtStringGrid::IsFixed(int c, int r)
{
    bool f = false;
    IsFixedCell(c, r, f);
    return f;
}

void TExtStringGrid::IsCellEditable(int c, int r, bool& canEdit)
{
    const TPoint b = BaseCell(c, r);
    if (TCellProperties* p = CellProps(b.X, b.Y); p && canEdit) {
        canEdit = !p->ReadOnly;
        if (!(Options & goEditing) && !EditDisabled && !MouseActions.RangeSelectAndEdit)
            canEdit = false;
    }
    if (b.X < ColCount() + FNumHidden)
        CanEditCell(b.X, b.Y, canEdit);
    else
        canEdit = true;
}

void TExtStringGrid::CanEditCell(int c, int r, bool& canEdit)
{
    if (OnCanEditCell)
        OnCanEditCell(this, r, c, canEdit);
}

void TExtStringGrid::IsPasswordCell(int c, int r, bool& isPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, r, c, isPassword);
}

void TExtStringGrid::GetEditorType(int c, int r, TEditorType& editor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, c, r, editor);
}

void TExtStringGrid::GetCellEditor(int c, int r, TEditorType& editor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, c, r, editor);
}

bool TExtStringGrid::IsCellEditorNone(int c, int r)
{
    if (!OnGetEditorType)
        return false;
    TEditorType e = edNormal;
    OnGetEditorType(this, c, r, e);
    return e == edNone;
}

bool TExtStringGrid::HasComboBox(int c, int r)
{
    bool has = false;
    if (OnHasComboBox) {
        OnHasComboBox(this, c, r, has);
        return has;
    }
    if (ControlLook.DropDownAlwaysVisible) {
        TEditorType e = DefaultEditor;
        GetEditorType(c, r, e);
        return e == edComboEdit || e == edComboList;
    }
    return false;
}

bool TExtStringGrid::HasSpinEdit(int c, int r)
{
    if (c < FixedCols() || r < FixedRows())
        return false;
    bool has = false;
    if (OnHasSpinEdit) {
        OnHasSpinEdit(this, c, r, has);
        return has;
    }
    if (ControlLook.SpinButtonsAlwaysVisible) {
        TEditorType e = DefaultEditor;
        GetCellEditor(c, r, e);
        return e == edSpinEdit || e == edFloatSpinEdit || e == edTimeSpinEdit || e == edDateSpinEdit;
    }
    return false;
}

void TExtStringGrid::GetCheckTrue(int c, int r, QString& value)
{
    value = CheckTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, c, r, value);
}

void TExtStringGrid::GetCheckFalse(int c, int r, QString& value)
{
    value = CheckFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, c, r, value);
}

QString TExtStringGrid::CheckTrueOf(int c, int r)
{
    QString v;
    GetCheckTrue(c, r, v);
    return v;
}

QString TExtStringGrid::CheckFalseOf(int c, int r)
{
    QString v;
    GetCheckFalse(c, r, v);
    return v;
}

void TExtStringGrid::CellsChanged(const TGridRect& r)
{
    if (OnCellsChanged)
        OnCellsChanged(this, r);
    // A notifier may unregister itself while it is told.
    const std::vector<TGridChangeNotifier*> notifiers = FNotifiers;
    for (TGridChangeNotifier* n : notifiers)
        if (std::find(FNotifiers.begin(), FNotifiers.end(), n) != FNotifiers.end())
            n->CellsChanged(r);
    CalcAllFooters();
}

void TExtStringGrid::RegisterNotifier(TGridChangeNotifier* notifier)
{
    if (notifier && std::find(FNotifiers.begin(), FNotifiers.end(), notifier) == FNotifiers.end())
        FNotifiers.push_back(notifier);
}

void TExtStringGrid::UnRegisterNotifier(TGridChangeNotifier* notifier)
{
    std::erase(FNotifiers, notifier);
}

void TExtStringGrid::SetBounds(int left, int top, int width, int height)
{
    const int h = DefaultRowHeight();
    if (FIntegralHeight && UpdateCount() == 0 && h > 0) {
        const bool allColumnsFit = VisibleColCount() + FixedCols() >= ColCount();
        const int s = allColumnsFit ? 0 : ScrollBarHeight;
        const int b = SingleBorder ? 2 : 0;
        height = height + b - ((height - s - b) % h);
    }
    BoundsRect = {left, top, left + width, top + height};
    platform::TCustomControl::SetBounds(left, top, width, height);
}

void TExtStringGrid::SetIntegralHeight(bool value)
{
    FIntegralHeight = value;
    SetBounds(BoundsRect.Left, BoundsRect.Top, BoundsRect.Width(), BoundsRect.Height());
}

void TExtStringGrid::GetCellPropDefaults(int c, int r, TCellPropDefaults& d)
{
    TBaseGrid::GetCellPropDefaults(c, r, d);
    d.HAlign = DefaultAlignment;
    d.VAlign = VAlignment;
    bool fixed = false;
    IsFixedCell(c, r, fixed);
    const TGridRect& s = Selection();
    const bool selected = c >= s.Left && c <= s.Right && r >= s.Top && r <= s.Bottom && r >= FixedRows();
    if (fixed || Bands.Active() || selected) {
        d.BrushColor = clNone;
        d.ColorTo = clNone;
    }
}

int TExtStringGrid::GetNodeIndent(int r)
{
    if (FNumNodes <= 0 || r < 0)
        return 0;
    TCellProperties* p = CellProps(0, r);
    return p ? p->NodeLevel * CellNode.NodeIndent : 0;
}

void TExtStringGrid::SaveCell(int c, int r, QString& value)
{
    value = SaveVirtCells ? GetFormattedCell(c, r) : GetGridCell(c, r);
    if (value.isEmpty()) {
        // A check box that keeps its state in the graphic saves the cell's own check texts.
        const int rr = RealRowIndex(r);
        if (TCellGraphic* g = GetCellGraphic(c, rr)) {
            if (g->CellType == ctCheckBox)
                value = g->CellBoolean ? CheckTrueOf(c, rr) : CheckFalseOf(c, rr);
            else if (g->CellType == ctTriStateCheckBox)
                value = g->CellCheckBoxState == cbChecked ? CheckTrueOf(c, rr) : CheckFalseOf(c, rr);
        }
    }
    switch (DetectTextKind(value, true)) {
    case tkHTML:
        if (!SaveWithHTML)
            value = StripTags(value);
        break;
    case tkRTF:
        if (SaveWithRTF)
            value.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        else
            value = RichTextToPlain(value);
        break;
    default:
        break;
    }
    if (OnSaveCell)
        OnSaveCell(this, c, r, value);
}

bool TExtStringGrid::IsDisjunctCellSelected(int c, int r)
{
    TGridEditLayer* layer = EditLayer();
    return layer && layer->IsDisjunctCellSelected(c, r);
}

QString TExtStringGrid::RichTextToPlain(const QString& rtf)
{
    // The RTF reader belongs to the editing layer; without one the codes stay as they are.
    QString plain;
    if (TGridEditLayer* layer = EditLayer(); layer && layer->RichToPlain(rtf, plain))
        return plain;
    return rtf;
}

void TExtStringGrid::LoadCell(int c, int r, const QString& value)
{
    QString v = value;
    if (OnLoadCell)
        OnLoadCell(this, c, r, v);
    SetGridCell(c, r, v);
}

void TExtStringGrid::LoadRow(int c0, int r, TCellTexts texts)
{
    if (r < 0 || r >= RowCount())
        return;
    TGridRowData& row = StoreRows()[size_t(r)];
    if (!OnLoadCell && row.Texts.AllEmpty() && c0 >= 0 && c0 + texts.Size() <= StoreColCount()) {
        texts.Insert(0, c0);
        row.Texts = std::move(texts);
        return;
    }
    for (int f = 0; f < texts.Size(); ++f)
        LoadCell(c0 + f, r, texts.At(f));
}

}  // namespace grid

namespace grid {

bool TExtStringGrid::GetColumnFilter(int c)
{
    FilterList.clear();
    if (FilterDropDownAuto && (c >= FixedCols() || FilterDropDownAllColumns)) {
        QStringList values;
        auto add = [&](const QString& v) {
            const QString condition = FilterTextCondition(v);
            values << (condition == v ? v : v + QLatin1Char('=') + condition);
        };
        for (int r = FixedRows(); r < RowCount() - FixedFooters; ++r)
            add(Cells(c, r).trimmed());
        if (!FilterIncremental)
            for (const auto& item : FGridItems)
                add(item.Row.Text(c));
        // A sorted list that ignores duplicates, compared without regard to case.
        std::stable_sort(values.begin(), values.end(),
                         [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        for (const QString& v : values)
            if (FilterList.isEmpty() || FilterList.back().compare(v, Qt::CaseInsensitive) != 0)
                FilterList << v;
        if (!FilterDropDownClear.isEmpty())
            FilterList.prepend(FilterDropDownClear);
    }
    if (OnGetColumnFilter)
        OnGetColumnFilter(this, c, FilterList);
    return !FilterList.isEmpty();
}

void TExtStringGrid::SetColumnHeaders(const QStringList& headers)
{
    ColumnHeaders = headers;
    if (FixedRows() > 0)
        ClearColumnHeaders();
    UpdateColumnHeaders();
    ShowColumnHeaders();
}

void TExtStringGrid::ShowColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    for (int i = 0; i < ColumnHeaders.size() && i < TotalColCount(); ++i)
        SetCells(i, 0, EscapesToLineBreaks(ColumnHeaders[i]));
}

void TExtStringGrid::ClearColumnHeaders()
{
    for (int c = 0; c < TotalColCount(); ++c)
        SetCells(c, 0, QString());
}

}  // namespace grid
