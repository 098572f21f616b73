#include "grid/editing/editors/ExtCustomGridDropDown.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyle>
#include <cstdint>

#include "grid/core/GridDataOps.h"
#include "platform/Guard.h"

namespace grid::editors {

using namespace platform;
using dropdowns::TDropDownForm;

namespace {
// The cell's object tag holds an integer: the item index + 1, so that no object reads as -1.
TObject* TagObject(int item) { return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(item + 1)); }
int TagOf(TObject* object) { return int(reinterpret_cast<std::intptr_t>(object)) - 1; }

bool StaysInGrid(int key)
{
    return (key >= VK_PRIOR && key <= VK_HOME) || key == VK_UP || key == VK_DOWN;
}

// The inner grid's layers pass their events on to the drop-down's (a null one: no more).
void PassLayerEvents(TCustomExtGridDropDown* dropDown, TExtStringGrid& grid)
{
    if (TGridEditLayer* layer = grid.EditLayer())
        layer->PassEventsTo(dropDown);
    if (TGridDataOps* ops = grid.DataOps())
        ops->PassEventsTo(dropDown);
}

}  // namespace

// ---- The inner grid

TExtGridDropDownGrid::TExtGridDropDownGrid(QWidget* parent)
{
    setParent(parent);
    FixedRowAlways = true;
    SetFixedRows(1);
    SetFixedCols(0);
    // Fewer fixed columns leave the first scrolling column where it was: column 0 is shown.
    SetLeftCol(0);
    HeaderFont = font();
    Options = (Options | goHorzLine | goRowSelect) & ~TGridOptions(goRangeSelect);
    SingleBorder = false;
    FOldRow = Row();
}

void TExtGridDropDownGrid::SetGridLineWidth(int value)
{
    FGridLineWidth = value;
    update();
}

bool TExtGridDropDownGrid::OnDropDownForm() const
{
    return qobject_cast<const TDropDownForm*>(parentWidget()) != nullptr;
}

int TExtGridDropDownGrid::GetGridWidth() const
{
    return TableWidth(*this);
}

QString TExtGridDropDownGrid::SizingText(int column, int row) const
{
    if (!FExtDropDown)
        return {};
    if (FExtDropDown->UseItems) {
        const TDropDownItem* item = FExtDropDown->Items().Items(row - 1);
        return item ? item->TextOf(column) : QString();
    }
    return const_cast<TExtGridDropDownGrid*>(this)->Cells(column, row);
}

bool TExtGridDropDownGrid::HasImage(int column, int row) const
{
    const TDropDownColumn* col = FColumns.Items(column);
    if (!FExtDropDown || !Images || !col || col->ColumnType != ctImage)
        return false;
    const TDropDownItem* item = FExtDropDown->Items().Items(row - 1);
    return item && item->ImageIndex >= 0;
}

void TExtGridDropDownGrid::AutoSizeColumn(int index)
{
    TDropDownColumn* col = FColumns.Items(index);
    if (!col || !col->AutoSize || !OnDropDownForm())
        return;
    const QFontMetrics metrics(col->Font);
    int width = 0;
    for (int r = 1; r < RowCount(); ++r) {
        int w = HasImage(index, r) ? Images->Width() + 4 : 0;
        const QString text = SizingText(index, r);
        if (!text.isEmpty())
            w += metrics.boundingRect(QRect(0, 0, 1000, 500), Qt::TextSingleLine, text).width() + 6;
        width = std::max(width, w);
    }
    col->Width = width;
    if (index < ColCount())
        SetColWidths(index, width);
}

void TExtGridDropDownGrid::AutoSizeItemColumns()
{
    for (int i = 0; i < FColumns.Count(); ++i)
        if (FColumns.Items(i)->AutoSize)
            AutoSizeColumn(i);
}

void TExtGridDropDownGrid::AutoSizeRows()
{
    bool wraps = false;
    for (int i = 0; i < FColumns.Count(); ++i)
        wraps = wraps || FColumns.Items(i)->Wordwrap;
    if (!wraps || !OnDropDownForm())
        return;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        int height = 24;
        for (int i = 0; i < FColumns.Count(); ++i) {
            const TDropDownColumn* col = FColumns.Items(i);
            if (!col->Wordwrap)
                continue;
            int candidate = HasImage(i, r) ? Images->Height() + 6 : 0;
            const QString text = SizingText(i, r);
            if (!text.isEmpty()) {
                const QFontMetrics metrics(col->Font);
                const QRect wrapped = metrics.boundingRect(QRect(0, 0, std::max(1, col->Width), 500), Qt::TextWordWrap, text);
                candidate = std::max(candidate, wrapped.height() + 6);
            }
            height = std::max(height, candidate);
        }
        SetRowHeights(r, height);
    }
}

void TExtGridDropDownGrid::LoadItems()
{
    if (!FExtDropDown)
        return;
    const TDropDownColumns& columns = FExtDropDown->Columns();
    const TDropDownItems& items = FExtDropDown->Items();
    if (columns.Count() > 0 && ColCount() != columns.Count())
        SetColCount(columns.Count());
    for (int i = 0; i < columns.Count() && i < ColCount(); ++i) {
        SetCells(i, 0, columns.Items(i)->Header);
        SetObjectEx(i, 0, nullptr);
    }
    if (items.Count() > 0)
        SetRowCount(FixedRows() + items.Count());
    for (int k = 0; k < items.Count(); ++k) {
        const TDropDownItem* item = items.Items(k);
        for (int i = 0; i < ColCount(); ++i)
            SetCells(i, k + 1, item->TextOf(i));
        SetObjectEx(0, k + 1, TagObject(k));
    }
}

void TExtGridDropDownGrid::UpdateFromDropDown(TCustomExtGridDropDown& dd)
{
    SetDropDown(&dd);
    FColumns.Assign(dd.Columns());
    if (ColCount() < FColumns.Count())
        SetColCount(FColumns.Count());
    if (dd.UseItems)
        SetRowCount(dd.Items().Count() + 1);
    for (int i = 0; i < FColumns.Count() && i < ColCount(); ++i)
        SetColWidths(i, FColumns.Items(i)->Width);
    LineColor = dd.LineColor;
    FixedLineColor = dd.FixedLineColor;
    HeaderColor = dd.HeaderColor;
    HeaderColorTo = dd.HeaderColorTo;
    HeaderHeight = dd.HeaderHeight;
    HeaderFont = dd.HeaderFont;
    TBaseGrid::HoverRow = dd.HoverRow;
    HoverRowColor = dd.HoverRowColor;
    HoverRowColorTo = dd.HoverRowColorTo;
    Images = dd.Images();
    SetDefaultRowHeight(dd.DropDownRowHeight());
    SetRowHeights(0, HeaderHeight);
    auto option = [this](TGridOptions flag, bool on) { Options = on ? (Options | flag) : (Options & ~flag); };
    option(goColSizing, dd.ColumnSizing);
    option(goColMoving, dd.ColumnMoving);
    option(goRowSizing, dd.RowSizing);
    option(goRowMoving, dd.RowMoving);
    if (dd.AutoSizeColumns) {
        if (dd.UseItems)
            AutoSizeItemColumns();
        else
            TExtStringGrid::AutoSizeColumns(true, 4);
    }
    AutoSizeRows();
}

void TExtGridDropDownGrid::QSort()
{
    if (FExtDropDown)
        FExtDropDown->GridBeforeSort();
    TExtStringGrid::QSort();
    if (FExtDropDown)
        FExtDropDown->GridAfterSort();
}

unsigned TExtGridDropDownGrid::GetDlgCode()
{
    return TExtStringGrid::GetDlgCode() | DLGC_WANTARROWS | DLGC_WANTTAB;
}

void TExtGridDropDownGrid::TopLeftChanged()
{
    TExtStringGrid::TopLeftChanged();
    if (FExtDropDown && FExtDropDown->OnGridTopLeftChanged)
        FExtDropDown->OnGridTopLeftChanged(FExtDropDown);
}

void TExtGridDropDownGrid::ColumnMoved(int fromIndex, int toIndex)
{
    TExtStringGrid::ColumnMoved(fromIndex, toIndex);
    if (FExtDropDown && FExtDropDown->OnGridColumnMoved)
        FExtDropDown->OnGridColumnMoved(this, fromIndex, toIndex);
}

void TExtGridDropDownGrid::DoSelect()
{
    if (FExtDropDown)
        FExtDropDown->GridSelect();
}

void TExtGridDropDownGrid::KeyDown(int& key, TShiftState shift)
{
    ConfirmSelection = true;
    if ((shift & ssAlt) && (key == VK_UP || key == VK_DOWN)) {
        // The drop-down's routing already handed it to the edit, which toggles the form.
        key = 0;
        return;
    }
    if (key == VK_RETURN) {
        key = 0;
        DoSelect();
        return;
    }
    TExtStringGrid::KeyDown(key, shift);
}

void TExtGridDropDownGrid::MouseDown(platform::TMouseButton button, TShiftState shift, int x, int y)
{
    ConfirmSelection = true;
    FOldRow = Row();
    TExtStringGrid::MouseDown(button, shift, x, y);
}

void TExtGridDropDownGrid::MouseUp(platform::TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TExtGridDropDownGrid> self(this);
    TExtStringGrid::MouseUp(button, shift, x, y);
    if (!self || button != platform::mbLeft)
        return;
    const TGridCoord cell = MouseToCell(x, y);
    if (cell.X < 0 || cell.Y < 0 || HasCheckBox(cell.X, cell.Y))
        return;
    if (cell.Y >= FixedRows() && cell.Y < RowCount())
        DoSelect();
}

bool TExtGridDropDownGrid::MouseWheel(TShiftState shift, int wheelDelta, int x, int y)
{
    FMouseWheelSelection = true;
    ConfirmSelection = false;
    const bool used = TExtStringGrid::MouseWheel(shift, wheelDelta, x, y);
    FMouseWheelSelection = false;
    return used;
}

bool TExtGridDropDownGrid::SelectCell(int c, int r)
{
    if (!TExtStringGrid::SelectCell(c, r))
        return false;
    if (FExtDropDown && !FExtDropDown->FLoading)
        FExtDropDown->GridSelectCell(c, r);
    return true;
}

// ---- The drop-down

TCustomExtGridDropDown::TCustomExtGridDropDown(QWidget* parent) : TLookupDropDown(parent)
{
    Navigation.HomeEndKey = heFirstLastRow;
    CreateDropDownForm();
    SetSelectionColorStyle(dropdowns::scOffice2007);
}

TCustomExtGridDropDown::~TCustomExtGridDropDown()
{
    // The grid goes with the form after this object's own parts; it calls back no more.
    if (FExtColGrid) {
        TExtGridDropDownGrid& g = *FExtColGrid;
        g.SetDropDown(nullptr);
        g.OnGetAlignment = nullptr;
        g.OnGetCellColor = nullptr;
        g.OnCheckBoxClick = nullptr;
        g.OnGetCellGradient = nullptr;
        g.OnGetFormat = nullptr;
        g.OnGridHint = nullptr;
        g.OnCanEditCell = nullptr;
        g.OnGetEditorType = nullptr;
        g.OnCellBalloon = nullptr;
        g.OnColumnSize = g.OnRowSize = nullptr;
        g.OnEndColumnSize = g.OnEndRowSize = nullptr;
        g.OnScrollHint = nullptr;
        g.OnGetFloatFormat = nullptr;
        g.OnButtonClick = nullptr;
        g.OnEllipsClick = nullptr;
        g.OnCustomCellDraw = g.OnCustomCellBkgDraw = nullptr;
        g.OnGetDisplText = nullptr;
        g.OnRightClickCell = nullptr;
        g.OnAutoInsertRow = g.OnAutoDeleteRow = nullptr;
        g.OnCanInsertRow = g.OnCanDeleteRow = nullptr;
        g.OnRowMoved = nullptr;
        g.OnMouseMove = nullptr;
        g.OnMouseDown = g.OnMouseUp = nullptr;
        PassLayerEvents(nullptr, g);
    }
}

void TCustomExtGridDropDown::CreateDropDownForm()
{
    TLookupDropDown::CreateDropDownForm();
    if (!FDropDownForm || !FItems)
        return;
    if (!FExtColGrid) {
        FLoading = true;
        FExtColGrid = new TExtGridDropDownGrid(FDropDownForm);
        FExtColGrid->SetLayers(FGridLayers);
        FExtColGrid->SetDropDown(this);
        FExtColGrid->setGeometry(0, 0, FExtColGrid->width(), 180);
        FExtColGrid->Color = FDropDownColor;
        FExtColGrid->Navigation.HomeEndKey = heFirstLastRow;
        FLoading = false;
    }
    SetControl(FExtColGrid);
}

void TCustomExtGridDropDown::SetGridLayers(const TGridLayers& layers)
{
    FGridLayers = layers;
    if (!FExtColGrid)
        return;
    FExtColGrid->SetLayers(layers);
    PassLayerEvents(this, *FExtColGrid);
}

void TCustomExtGridDropDown::SetGridImages(TObject* value)
{
    FGridImages = value;
    if (FExtColGrid)
        FExtColGrid->GridImages = value;
}

void TCustomExtGridDropDown::SetStyle(TDropDownStyle value)
{
    FStyle = value;
    SetEditorEnabled(value == dsDropDown);
}

int TCustomExtGridDropDown::GetItemCount() const
{
    if (UseItems)
        return FItems->Count();
    return FExtColGrid ? FExtColGrid->RowCount() - FExtColGrid->FixedRows() : 0;
}

QString TCustomExtGridDropDown::GridLookupCell(int row)
{
    return FExtColGrid && LookupColumn >= 0 ? FExtColGrid->Cells(LookupColumn, row) : QString();
}

void TCustomExtGridDropDown::SetItemIndex(int value)
{
    value = std::max(-1, value);
    if (UseItems) {
        ShowItem(value);
        return;
    }
    if (!FExtColGrid) {
        FItemIndex = value;
        return;
    }
    if (value == FItemIndex || value >= FExtColGrid->RowCount() - 1)
        return;
    FItemIndex = value;
    const QString text = value < 0 ? QString() : GridLookupCell(value + 1);
    if (text != GetText())
        SetTextQuiet(text);
}

bool TCustomExtGridDropDown::LookupItem(const QString& text, QString& foundText, int& row)
{
    foundText.clear();
    row = -1;
    const QLocale locale;
    const QString search = CaseSensitive ? text : locale.toUpper(text);
    if (search.isEmpty())
        return false;
    auto matches = [&](const QString& candidate) {
        return (CaseSensitive ? candidate : locale.toUpper(candidate)).startsWith(search);
    };
    if (UseItems) {
        for (int i = 0; i < FItems->Count(); ++i) {
            const QString candidate = LookupText(i);
            if (matches(candidate)) {
                foundText = candidate;
                row = i;
                return true;
            }
        }
        return false;
    }
    if (!FExtColGrid)
        return false;
    for (int r = FExtColGrid->FixedRows(); r < FExtColGrid->RowCount(); ++r) {
        const QString candidate = GridLookupCell(r);
        if (matches(candidate)) {
            foundText = candidate;
            row = r;
            return true;
        }
    }
    return false;
}

int TCustomExtGridDropDown::ItemOfRow(int row) const
{
    if (FExtColGrid && row >= 0 && row < FExtColGrid->RowCount())
        return TagOf(FExtColGrid->GetObjectEx(0, row));
    return row;
}

int TCustomExtGridDropDown::RowOfItem(int item) const
{
    if (!FExtColGrid || item < 0)
        return FItemIndex;
    for (int r = FExtColGrid->FixedRows(); r < FExtColGrid->RowCount(); ++r)
        if (TagOf(FExtColGrid->GetObjectEx(0, r)) == item)
            return r;
    return FItemIndex;
}

void TCustomExtGridDropDown::RemoveAllFilters()
{
    if (!FExtColGrid)
        return;
    const bool old = std::exchange(FLoading, true);
    if (TGridDataOps* ops = FExtColGrid->DataOps())
        ops->RemoveAllFilters();
    FLoading = old;
}

void TCustomExtGridDropDown::NarrowDown(const QString& condition)
{
    if (!FExtColGrid)
        return;
    FExtColGrid->FixedRowAlways = true;
    const bool old = std::exchange(FLoading, true);
    if (TGridDataOps* ops = FExtColGrid->DataOps())
        ops->NarrowDown(condition, LookupColumn);
    FLoading = old;
}

int TCustomExtGridDropDown::DoLookupKey(QChar ch)
{
    if (LookupMethod == lmNone)
        return -1;
    if (TypeIntoLookupEntry(ch))
        return -1;
    const QString entry = FLookupEntry.trimmed();
    const int fixed = FExtColGrid ? FExtColGrid->FixedRows() : 1;
    if (LookupMethod == lmNarrowDown) {
        if (entry.isEmpty()) {
            RemoveAllFilters();
        } else {
            NarrowDown(entry);
            if (FStyle == dsDropDown && FExtColGrid && FExtColGrid->RowCount() > fixed) {
                SetTextQuiet(GridLookupCell(fixed));
                SelectRestFrom(int(FLookupEntry.size()));
            }
        }
        return fixed;
    }
    QString found;
    int row = -1;
    auto take = [&] {
        if (UseItems)
            FItemIndex = row;
        else
            FItemIndex = row - fixed;
        SetTextQuiet(found);
        return UseItems ? RowOfItem(row) : row;
    };
    if (LookupItem(entry, found, row)) {
        const int answer = take();
        if (FStyle == dsDropDown)
            SelectRestFrom(int(FLookupEntry.size()));
        return answer;
    }
    if (FStyle == dsDropDown)
        return -1;
    if (LookupItem(QString(ch), found, row)) {
        FLookupEntry = QString(ch);
        return take();
    }
    FLookupEntry.clear();
    return -1;
}

void TCustomExtGridDropDown::GridBeforeSort() { FTempItemIndex = FItemIndex; }

void TCustomExtGridDropDown::GridAfterSort()
{
    const int row = RowOfItem(FTempItemIndex);
    if (FExtColGrid && row >= FExtColGrid->FixedRows() && row < FExtColGrid->RowCount()) {
        const bool old = std::exchange(FLoading, true);
        FExtColGrid->SetRow(row);
        FLoading = old;
    }
}

void TCustomExtGridDropDown::BindGridEvents()
{
    TExtGridDropDownGrid& g = *FExtColGrid;
    g.OnGetAlignment = [this](TExtStringGrid* sender, int row, int col, TAlignment& h, TVAlignment& v) {
        if (const TDropDownColumn* column = FColumns->Items(col))
            h = column->Alignment;
        if (OnGridGetAlignment)
            OnGridGetAlignment(sender, row, col, h, v);
    };
    g.OnGetCellColor = [this](TExtStringGrid* sender, int row, int col, TGridDrawState state, TColor& brush,
                              TFontDesc& font) {
        const TDropDownColumn* column = FColumns->Items(col);
        if (column && FExtColGrid && row >= FExtColGrid->FixedRows())
            brush = column->Color;
        if (OnGridGetCellColor)
            OnGridGetCellColor(sender, row, col, state, brush, font);
    };
    g.OnCheckBoxClick = [this](TExtStringGrid* sender, int col, int row, bool state) {
        if (OnGridCheckBoxClick)
            OnGridCheckBoxClick(sender, col, row, state);
    };
    // Each passes its arguments on to the drop-down's event of the same meaning while assigned.
    auto forward = [this](auto& gridEvent, auto& ownEvent) {
        // By reference, so that what the handler answers goes back to the grid.
        gridEvent = [&ownEvent](auto&&... args) {
            if (ownEvent)
                ownEvent(std::forward<decltype(args)>(args)...);
        };
    };
    forward(g.OnGetCellGradient, OnGridGetCellGradient);
    forward(g.OnGetFormat, OnGridGetFormat);
    forward(g.OnGridHint, OnGridHint);
    forward(g.OnCanEditCell, OnGridCanEditCell);
    forward(g.OnGetEditorType, OnGridGetEditorType);
    forward(g.OnCellBalloon, OnGridCellBalloon);
    forward(g.OnColumnSize, OnGridColumnSize);
    forward(g.OnRowSize, OnGridRowSize);
    forward(g.OnEndColumnSize, OnGridEndColumnSize);
    forward(g.OnEndRowSize, OnGridEndRowSize);
    forward(g.OnScrollHint, OnGridScrollHint);
    g.OnGetFloatFormat = [this](TExtStringGrid* sender, int col, int row, bool& isFloat, QString& format) {
        format.clear();
        if (OnGridGetFloatFormat)
            OnGridGetFloatFormat(sender, col, row, isFloat, format);
    };
    auto blocked = [this](const std::function<void()>& call) { WithActivationBlocked(call); };
    g.OnButtonClick = [this, blocked](TExtStringGrid* sender, int col, int row) {
        if (OnGridButtonClick)
            blocked([&] { OnGridButtonClick(sender, col, row); });
    };
    g.OnEllipsClick = [this, blocked](TExtStringGrid* sender, int col, int row, QString& value) {
        if (OnGridEllipsClick)
            blocked([&] { OnGridEllipsClick(sender, col, row, value); });
    };
    // A custom draw event changes how cells paint, so the inner grid has one only while ours is set.
    auto forwardIfSet = [&forward](auto& gridEvent, auto& ownEvent) {
        if (ownEvent)
            forward(gridEvent, ownEvent);
        else
            gridEvent = nullptr;
    };
    forwardIfSet(g.OnCustomCellDraw, OnGridCustomCellDraw);
    forwardIfSet(g.OnCustomCellBkgDraw, OnGridCustomCellBkgDraw);
    forward(g.OnRightClickCell, OnGridRightClickCell);
    forward(g.OnAutoInsertRow, OnGridInsertRow);
    forward(g.OnAutoDeleteRow, OnGridDeleteRow);
    forward(g.OnCanInsertRow, OnGridCanInsertRow);
    forward(g.OnCanDeleteRow, OnGridCanDeleteRow);
    forward(g.OnRowMoved, OnGridRowMoved);
    QPointer<TExtGridDropDownGrid> grid(&g);
    g.OnMouseMove = [this, grid](TShiftState shift, int x, int y) {
        if (OnGridMouseMove)
            OnGridMouseMove(grid, shift, x, y);
    };
    g.OnMouseDown = [this, grid](platform::TMouseButton button, TShiftState shift, int x, int y) {
        if (OnGridMouseDown)
            OnGridMouseDown(grid, button, shift, x, y);
    };
    g.OnMouseUp = [this, grid](platform::TMouseButton button, TShiftState shift, int x, int y) {
        if (OnGridMouseUp)
            OnGridMouseUp(grid, button, shift, x, y);
    };
    PassLayerEvents(this, g);
    g.OnGetDisplText = OnGridGetDiplText ? TBaseGrid::TGetDisplTextEvent([this](TBaseGrid* sender, int col, int row,
                                                                                 QString& value) {
        if (OnGridGetDiplText)
            OnGridGetDiplText(sender, col, row, value);
    })
                                         : nullptr;
}

void TCustomExtGridDropDown::WithActivationBlocked(const std::function<void()>& call)
{
    QPointer<TDropDownForm> form(FDropDownForm);
    if (form)
        form->BlockActivate = true;
    call();
    if (form)
        form->BlockActivate = false;
}

void TCustomExtGridDropDown::DoBeforeDropDown()
{
    if (FDropDownForm)
        FDropDownForm->CancelOnDeActivate = false;
    if (!FExtColGrid) {
        TLookupDropDown::DoBeforeDropDown();
        FOldItemIndex = FItemIndex;
        return;
    }
    TExtGridDropDownGrid& g = *FExtColGrid;
    const bool old = std::exchange(FLoading, true);
    g.UpdateFromDropDown(*this);
    g.Color = FDropDownColor;
    g.SortSettings.Show = Sorting != gsNone;
    g.SortSettings.IndexShow = Sorting == gsMultiColumn;
    BindGridEvents();
    g.SearchFooter = SearchFooter;
    g.MouseActions = MouseActions;
    g.Navigation = Navigation;
    g.Bands = Bands;
    g.Options |= goThumbTracking;
    g.Options = RowSelect ? (g.Options | goRowSelect) : (g.Options & ~TGridOptions(goRowSelect));
    g.Options = GridEditable ? (g.Options | goEditing) : (g.Options & ~TGridOptions(goEditing));
    g.GridImages = FGridImages;
    g.SetComponentStyle(GetComponentStyle());
    if (UseItems) {
        FLoading = old;
        TLookupDropDown::DoBeforeDropDown();
        FLoading = true;
        RemoveAllFilters();
        FLoading = true;
        g.SetRowCount(FItems->Count() + 1);
        g.SetFixedRows(1);
        g.LoadItems();
        const int row = RowOfItem(FItemIndex);
        if (row >= g.FixedRows() && row < g.RowCount())
            g.SetRow(row);
        // Rows narrowed by typing before the opening stay narrowed.
        if (LookupMethod == lmNarrowDown && !FLookupEntry.trimmed().isEmpty())
            NarrowDown(FLookupEntry.trimmed());
    } else {
        QString found;
        int row = -1;
        g.SetRow(LookupItem(GetText(), found, row) ? row : g.FixedRows());
    }
    FLoading = old;
    if (g.SortSettings.Column >= 0 && g.SortSettings.Show)
        g.QSort();
    FOldItemIndex = FItemIndex;
    if (!UseItems)
        TLookupDropDown::DoBeforeDropDown();
}

void TCustomExtGridDropDown::AdaptDropDownHeight(int& height)
{
    SnapHeightToRows(height, 4);
}

void TCustomExtGridDropDown::PlaceDropDownControl()
{
    SetControl(FExtColGrid);
    TLookupDropDown::PlaceDropDownControl();
}

void TCustomExtGridDropDown::UpdateDropDownSize()
{
    TLookupDropDown::UpdateDropDownSize();
    if (FExtColGrid)
        FitWidthToTable(*FExtColGrid);
}

void TCustomExtGridDropDown::SizeColumnsToDropDown()
{
    if (FExtColGrid)
        SizeColumnsToWindow(*FExtColGrid);
}

void TCustomExtGridDropDown::DoShowDropDown()
{
    TLookupDropDown::DoShowDropDown();
    if (!FExtColGrid)
        return;
    TExtGridDropDownGrid& g = *FExtColGrid;
    if (!UseItems)
        while (FColumns->Count() < g.ColCount())
            FColumns->Add();
    if (FDroppedDown)
        SizeColumnsToDropDown();
    g.SetLeftCol(g.FixedCols());
    if (g.VisibleRowCount() + g.FixedRows() < g.RowCount()) {
        // The current row is brought into view (it was just past the last visible row too).
        if (g.Row() >= g.TopRow() + g.VisibleRowCount())
            g.SetTopRow(g.Row() - g.VisibleRowCount() + 1);
        if (g.Row() < g.TopRow())
            g.SetTopRow(g.Row());
    }
    // Enter on the row the grid opened at takes that row, not the first one.
    FSelRow = g.Row();
    g.setFocusPolicy(Qt::StrongFocus);
    if (FDroppedDown)
        g.setFocus(Qt::PopupFocusReason);
}

void TCustomExtGridDropDown::DoHideDropDown(bool cancelChanges)
{
    if (FDropDownForm && FDropDownForm->isVisible()) {
        if (cancelChanges) {
            SetItemIndex(FOldItemIndex);
        } else if (FExtColGrid) {
            if (FExtColGrid->ConfirmSelection)
                SetItemIndex(UseItems ? ItemOfRow(FSelRow) : FSelRow - 1);
            FOldItemIndex = FItemIndex;
            FExtColGrid->ConfirmSelection = false;
        }
    }
    FHidingByCall = true;
    TLookupDropDown::DoHideDropDown(cancelChanges);
    FHidingByCall = false;
}

void TCustomExtGridDropDown::DropDownHidden()
{
    TLookupDropDown::DropDownHidden();
    // A click outside the form closes it without DoHideDropDown: it cancels as the form says.
    if (!FHidingByCall && FDropDownForm && FExtColGrid) {
        if (FDropDownForm->CancelOnDeActivate)
            SetItemIndex(FOldItemIndex);
        FExtColGrid->ConfirmSelection = false;
        FOldItemIndex = FItemIndex;
    }
}

void TCustomExtGridDropDown::GridSelectCell(int col, int row)
{
    (void)col;
    FSelRow = row;
    if (FExtColGrid && FExtColGrid->MouseWheelSelection())
        return;
    if (UseItems) {
        SetItemIndex(ItemOfRow(row));
    } else {
        const QString text = GridLookupCell(row);
        if (text != GetText())
            SetTextQuiet(text);
        SetItemIndex(row - 1);
    }
}

void TCustomExtGridDropDown::GridSelect()
{
    if (!FExtColGrid)
        return;
    QPointer<TCustomExtGridDropDown> self(this);
    if (FExtColGrid->ConfirmSelection)
        SetItemIndex(UseItems ? ItemOfRow(FExtColGrid->Row()) : FExtColGrid->Row() - 1);
    FSelRow = FExtColGrid->Row();
    if (!GridEditable)
        DoHideDropDown(false);
    if (self && OnSelect)
        OnSelect(this);
}

void TCustomExtGridDropDown::ControlKeyDown(int& key, TShiftState shift)
{
    TableKeyDown(key, shift, StaysInGrid(key));
    if (OnGridKeyDown)
        OnGridKeyDown(this, key, shift);
}

void TCustomExtGridDropDown::ControlKeyUp(int& key, TShiftState shift)
{
    if (StaysInGrid(key) && !(shift & ssAlt))
        FLookupEntry.clear();
    else
        TLookupDropDown::ControlKeyUp(key, shift);
    if (OnGridKeyUp)
        OnGridKeyUp(this, key, shift);
}

void TCustomExtGridDropDown::ControlKeyPress(QChar& key)
{
    const bool editing = FExtColGrid && (FExtColGrid->Options & goEditing);
    const ushort k = key.unicode();
    if (k == 13 || k == 27 || editing) {
        FLookupEntry.clear();
    } else if (FExtColGrid) {
        TExtGridDropDownGrid& g = *FExtColGrid;
        const int row = DoLookupKey(key);
        if (row >= g.FixedRows() && row < g.RowCount()) {
            if (g.VisibleRowCount() + g.FixedRows() < g.RowCount()
                && (row < g.TopRow() || row >= g.TopRow() + g.VisibleRowCount()))
                g.SetTopRow(std::min(row, g.MaxTopRow()));
            g.MoveColRow(0, row);
            g.update();
        } else {
            FLookupEntry.clear();
        }
        // Typed characters search the list; they are not the grid's.
        key = QChar();
    }
    if (OnGridKeyPress)
        OnGridKeyPress(this, key);
}

void TCustomExtGridDropDown::FormSizing()
{
    TLookupDropDown::FormSizing();
    SizeColumnsToDropDown();
}

void TCustomExtGridDropDown::SelectNextItem()
{
    TLookupDropDown::SelectNextItem();
    SelectNext();
}

void TCustomExtGridDropDown::SelectPreviousItem()
{
    TLookupDropDown::SelectPreviousItem();
    SelectPrevious();
}

void TCustomExtGridDropDown::KeyDown(int& key, TShiftState shift)
{
    if (FExtColGrid && (FExtColGrid->Options & goEditing) && FExtColGrid->EditMode() && key == VK_RETURN
        && !(shift & ssShift)) {
        TExtGridDropDownGrid& g = *FExtColGrid;
        g.HideInplaceEdit();
        SetTextQuiet(GridLookupCell(g.Row()));
        SetItemIndex(g.Row() - g.FixedRows());
        key = 0;
        return;
    }
    TLookupDropDown::KeyDown(key, shift);
}

void TCustomExtGridDropDown::NavigationKey(int key, TShiftState shift)
{
    if (!isEnabled() || (shift & ssAlt))
        return;
    if (key >= VK_PRIOR && key <= VK_DOWN)
        FLookupEntry.clear();
    if ((key == VK_END || key == VK_HOME) && (FStyle != dsDropDownList || (shift & ssShift)))
        return;
    TLookupDropDown::NavigationKey(key, shift);
}

void TCustomExtGridDropDown::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && FExtColGrid)
        FExtColGrid->ConfirmSelection = true;
    QPointer<TCustomExtGridDropDown> self(this);
    TLookupDropDown::keyPressEvent(event);
    if (!self)
        return;
    QChar ch;
    if (event->key() == Qt::Key_Backspace)
        ch = QChar(8);
    else if (!event->text().isEmpty() && event->text().at(0).isPrint() && !(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)))
        ch = event->text().at(0);
    if (ch.isNull() || (!FEditorEnabled && ch == QChar(8)))
        return;
    Guarded([&] {
        DoLookupKey(ch);
        if (AutoShowDropDown)
            ShowDropDown();
    });
}

void TCustomExtGridDropDown::keyReleaseEvent(QKeyEvent* event)
{
    TLookupDropDown::keyReleaseEvent(event);
}

void TCustomExtGridDropDown::focusInEvent(QFocusEvent* event)
{
    TLookupDropDown::focusInEvent(event);
    if (event->reason() == Qt::PopupFocusReason && FDroppedDown)
        return;
    RemoveAllFilters();
    FLookupEntry.clear();
}

}  // namespace grid::editors
