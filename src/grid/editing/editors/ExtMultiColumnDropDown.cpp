#include "grid/editing/editors/ExtMultiColumnDropDown.h"

#include <QFontMetrics>
#include <QStyle>

#include "platform/Guard.h"
#include "platform/TImageList.h"

namespace grid::editors {

using namespace platform;
using namespace controls;

namespace {
bool StaysInList(int key) { return key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN; }
}  // namespace

// ---- The list

TMultiColumnList::TMultiColumnList(QWidget* parent) : TObjStringGrid(parent)
{
    SetPlatformFixedCols(0);
    SetPlatformFixedRows(1);
    // Fewer fixed columns leave the first scrolling column where it was: column 0 is shown.
    SetLeftCol(0);
    Options = (Options | goHorzLine | goRowSelect) & ~TGridOptions(goRangeSelect | goDrawFocusSelected);
    FOldRow = Row();
}

void TMultiColumnList::SetGridLineWidth(int value)
{
    FGridLineWidth = value;
    update();
}

int TMultiColumnList::GetGridWidth() const
{
    return TableWidth(*this);
}

void TMultiColumnList::UpdateFromDropDown()
{
    TExtMultiColumnDropDown& dd = *FExtDropDown;
    SetPlatformColCount(std::max(1, dd.Columns().Count()));
    SetPlatformRowCount(dd.Items().Count() + 1);
    if (RowCount() > 1) {
        SetPlatformFixedRows(1);
        SetRow(1);
    }
    for (int i = 0; i < dd.Columns().Count(); ++i)
        SetColWidths(i, dd.Columns().Items(i)->Width);
    SetPlatformDefaultRowHeight(dd.DropDownRowHeight());
    SetRowHeights(0, dd.HeaderHeight);
    Options = dd.ColumnSizing ? (Options | goColSizing) : (Options & ~TGridOptions(goColSizing));
    AutoSizeItemColumns();
    AutoSizeRows();
}

void TMultiColumnList::AutoSizeItemColumns()
{
    TExtMultiColumnDropDown& dd = *FExtDropDown;
    const TImageList* images = dd.Images();
    for (int i = 0; i < dd.Columns().Count(); ++i) {
        TDropDownColumn* col = dd.Columns().Items(i);
        if (!col->AutoSize)
            continue;
        const QFontMetrics metrics(col->Font);
        int width = 0;
        for (int k = 0; k < dd.Items().Count(); ++k) {
            const TDropDownItem* item = dd.Items().Items(k);
            int w = images && col->ColumnType == ctImage && item->ImageIndex >= 0 ? images->Width() + 4 : 0;
            if (!item->TextOf(i).isEmpty())
                w += metrics.boundingRect(QRect(0, 0, 1000, 500), Qt::TextSingleLine, item->TextOf(i)).width() + 6;
            width = std::max(width, w);
        }
        col->Width = width;
        if (i < ColCount())
            SetColWidths(i, width);
    }
}

void TMultiColumnList::AutoSizeRows()
{
    TExtMultiColumnDropDown& dd = *FExtDropDown;
    const TImageList* images = dd.Images();
    bool wraps = false;
    for (int i = 0; i < dd.Columns().Count(); ++i)
        wraps = wraps || dd.Columns().Items(i)->Wordwrap;
    if (!wraps)
        return;
    for (int k = 0; k < dd.Items().Count() && k + 1 < RowCount(); ++k) {
        const TDropDownItem* item = dd.Items().Items(k);
        int height = 24;
        for (int i = 0; i < dd.Columns().Count(); ++i) {
            const TDropDownColumn* col = dd.Columns().Items(i);
            if (!col->Wordwrap)
                continue;
            int candidate = images && col->ColumnType == ctImage && item->ImageIndex >= 0 ? images->Height() + 6 : 0;
            if (!item->TextOf(i).isEmpty()) {
                const QRect r = QFontMetrics(col->Font).boundingRect(QRect(0, 0, std::max(1, col->Width), 500),
                                                                     Qt::TextWordWrap, item->TextOf(i));
                candidate = std::max(candidate, r.height() + 6);
            }
            height = std::max(height, candidate);
        }
        SetRowHeights(k + 1, height);
    }
}

void TMultiColumnList::DrawCell(int c, int r, TRect rect, TGridDrawState)
{
    if (!FExtDropDown)
        return;
    TExtMultiColumnDropDown& dd = *FExtDropDown;
    TCanvas& canvas = Canvas();
    const QRect cell(rect.Left, rect.Top, ColWidths(c), RowHeights(r));
    if (dd.OnDropDownDrawItem) {
        dd.OnDropDownDrawItem(&dd, c, r, canvas, cell);
        return;
    }
    const int position = ColCount() == 1 ? 0 : c == 0 ? 1 : c == ColCount() - 1 ? 2 : 3;
    const bool fixed = r < FixedRows();
    const bool selected = !fixed && r == Row();
    const TDropDownColumn* col = dd.Columns().Items(c);
    QString text;
    int imageIndex = -1;
    TColor background = Color;
    TAlignment alignment = taLeftJustify;
    bool wrap = false, ellipsis = false;
    if (col) {
        background = col->Color;
        alignment = col->Alignment;
        wrap = col->Wordwrap;
        ellipsis = col->Ellipsis;
        canvas.Font = col->Font;
        if (!fixed) {
            if (const TDropDownItem* item = dd.Items().Items(r - 1)) {
                if (col->ColumnType == ctImage)
                    imageIndex = item->ImageIndex;
                if (item->HasText(c))
                    text = item->Text[c];
            }
        }
    } else {
        canvas.Font = dd.HeaderFont;
    }
    if (dd.OnDropDownGetItemText)
        dd.OnDropDownGetItemText(&dd, c, r, text);

    if (fixed) {
        text = col ? col->Header : QString();
        imageIndex = -1;
        if (dd.HeaderColor == clNone || dd.HeaderColorTo == clNone) {
            canvas.Brush.Style = platform::TBrushStyle::bsSolid;
            canvas.Brush.Color = dd.HeaderColor;
            canvas.FillRect(cell);
        } else {
            dd.DrawGradientBackground(canvas, dd.HeaderColor, dd.HeaderColorTo, 80, cell, true);
        }
    } else if (selected) {
        dd.DrawSelection(canvas, cell, background, position);
    } else {
        canvas.Brush.Style = platform::TBrushStyle::bsSolid;
        canvas.Brush.Color = background;
        canvas.Pen.Color = background;
        canvas.Pen.Width = 1;
        canvas.Rectangle(cell);
    }

    // Lines along the bottom and the right edge.
    const int lineWidth = fixed ? 1 : FGridLineWidth;
    const int off = fixed ? 1 : (FGridLineWidth + 1) / 2;
    if (lineWidth > 0) {
        canvas.Pen.Color = fixed ? dd.FixedLineColor : dd.LineColor;
        canvas.Pen.Width = lineWidth;
        const int left = cell.left(), top = cell.top();
        const int right = cell.left() + cell.width(), bottom = cell.top() + cell.height();
        if (Options & (fixed ? goFixedHorzLine : goHorzLine)) {
            canvas.MoveTo(left - off + 1, bottom - off);
            canvas.LineTo(right - off + 1, bottom - off);
        }
        if (Options & (fixed ? goFixedVertLine : goVertLine)) {
            const int x = UseRightToLeftAlignment() ? right - off + 1 : right - off;
            canvas.MoveTo(x, bottom - off);
            canvas.LineTo(x, top - off);
        }
    }

    QRect content = cell.adjusted(FGridLineWidth, FGridLineWidth, -FGridLineWidth, -FGridLineWidth);
    const TImageList* images = dd.Images();
    if (images && imageIndex >= 0) {
        const int free = content.height() - images->Height();
        images->Draw(canvas, content.left() + 2, content.top() + std::max(0, free / 2), imageIndex);
        content.setLeft(content.left() + images->Width() + 4);
    } else {
        content.setLeft(content.left() + 2);
    }
    if (text.isEmpty())
        return;
    unsigned flags = DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER;
    flags |= wrap ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
    flags |= alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    if (ellipsis)
        flags |= DT_END_ELLIPSIS;
    if (fixed)
        canvas.Font = dd.HeaderFont;
    if (selected)
        canvas.Font.Color = dd.SelectionTextColor;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.DrawText(text, content, flags);
}

void TMultiColumnList::DoSelect()
{
    if (FExtDropDown)
        FExtDropDown->ListSelect();
}

void TMultiColumnList::KeyDown(int& key, TShiftState shift)
{
    ConfirmSelection = true;
    if ((shift & ssAlt) && (key == VK_UP || key == VK_DOWN)) {
        key = 0;  // the drop-down's routing handed it to the edit, which toggles the form
        return;
    }
    const int first = std::min(FixedRows(), RowCount() - 1);
    const int page = std::max(1, VisibleRowCount());
    int row = Row();
    switch (key) {
    case VK_UP: row = std::max(first, row - 1); break;
    case VK_DOWN: row = std::min(RowCount() - 1, row + 1); break;
    case VK_PRIOR: row = std::max(first, row - page); break;
    case VK_NEXT: row = std::min(RowCount() - 1, row + page); break;
    case VK_HOME: row = first; break;
    case VK_END: row = RowCount() - 1; break;
    case VK_RETURN:
        DoSelect();
        return;
    default: return;
    }
    if (row != Row() && row >= FixedRows()) {
        MoveColRow(0, row);
        if (row < TopRow())
            SetTopRow(row);
        else if (row >= TopRow() + page)
            SetTopRow(std::min(MaxTopRow(), row - page + 1));
    }
}

void TMultiColumnList::MouseDown(platform::TMouseButton button, TShiftState shift, int x, int y)
{
    ConfirmSelection = true;
    FOldRow = Row();
    TObjStringGrid::MouseDown(button, shift, x, y);
}

void TMultiColumnList::MouseUp(platform::TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TMultiColumnList> self(this);
    TObjStringGrid::MouseUp(button, shift, x, y);
    if (!self)
        return;
    const TGridCoord cell = MouseToCell(x, y);
    if (cell.Y >= FixedRows() && cell.Y < RowCount()) {
        // Any button picks the row under the pointer.
        if (cell.Y != Row())
            MoveColRow(std::max(0, cell.X), cell.Y);
        DoSelect();
    }
}

bool TMultiColumnList::MouseWheel(TShiftState shift, int wheelDelta, int x, int y)
{
    (void)shift;
    (void)x;
    (void)y;
    // As the platform's list does: each notch moves the current row by one, the item stays.
    const int notches = wheelDelta / 120;
    if (notches == 0 || RowCount() <= FixedRows())
        return false;
    FMouseWheelSelection = true;
    ConfirmSelection = false;
    const int row = std::clamp(Row() - notches, FixedRows(), RowCount() - 1);
    if (row != Row())
        MoveColRow(Col(), row);
    FMouseWheelSelection = false;
    return true;
}

bool TMultiColumnList::SelectCell(int c, int r)
{
    if (!TObjStringGrid::SelectCell(c, r))
        return false;
    if (FExtDropDown && !FMouseWheelSelection)
        FExtDropDown->ListSelectCell(r);
    return true;
}

// ---- The drop-down

TExtMultiColumnDropDown::TExtMultiColumnDropDown(QWidget* parent) : TLookupDropDown(parent)
{
    CreateDropDownForm();
    SetSelectionColorStyle(dropdowns::scOffice2007);
}

TExtMultiColumnDropDown::~TExtMultiColumnDropDown()
{
    if (FList)
        FList->SetDropDown(nullptr);
}

void TExtMultiColumnDropDown::CreateDropDownForm()
{
    TLookupDropDown::CreateDropDownForm();
    if (!FDropDownForm || !FItems)
        return;
    if (!FList) {
        FShowing = true;
        FList = new TMultiColumnList(FDropDownForm);
        FList->SetDropDown(this);
        FList->setGeometry(0, 0, FList->width(), 180);
        FList->Color = FDropDownColor;
        FShowing = false;
    }
    SetControl(FList);
}

void TExtMultiColumnDropDown::SetItemIndex(int value)
{
    value = std::max(-1, value);
    if (!ShowItem(value))
        return;
    if (FList)
        FList->update();
}

bool TExtMultiColumnDropDown::LookupItem(const QString& text, QString& foundText, int& item) const
{
    foundText.clear();
    item = -1;
    if (!FList)
        return false;
    const QLocale locale;
    const QString search = CaseSensitive ? text : locale.toUpper(text);
    if (search.isEmpty())
        return false;
    for (int i = 0; i < FItems->Count(); ++i) {
        const QString candidate = LookupText(i);
        if ((CaseSensitive ? candidate : locale.toUpper(candidate)).startsWith(search)) {
            foundText = candidate;
            item = i;
            return true;
        }
    }
    return false;
}

int TExtMultiColumnDropDown::DoLookupKey(QChar ch)
{
    if (TypeIntoLookupEntry(ch))
        return -1;
    QString found;
    int item = -1;
    if (LookupItem(FLookupEntry, found, item)) {
        FItemIndex = item;
        SetTextQuiet(found);
        SelectRestFrom(int(FLookupEntry.size()));
        return item;
    }
    if (LookupItem(QString(ch), found, item)) {
        FItemIndex = item;
        SetTextQuiet(found);
        FLookupEntry = QString(ch);
        return item;
    }
    FLookupEntry.clear();
    return -1;
}

void TExtMultiColumnDropDown::DoBeforeDropDown()
{
    TLookupDropDown::DoBeforeDropDown();
    if (FDropDownForm)
        FDropDownForm->CancelOnDeActivate = false;
    FShowing = true;
    if (FList) {
        TMultiColumnList& list = *FList;
        list.UpdateFromDropDown();
        list.Options |= goThumbTracking;
        list.Color = FDropDownColor;
        const int row = FItemIndex + 1;
        list.SetRow(row < list.FixedRows() ? 1 : row);
    }
    FOldItemIndex = FItemIndex;
}

void TExtMultiColumnDropDown::AdaptDropDownHeight(int& height)
{
    SnapHeightToRows(height, 0);
}

void TExtMultiColumnDropDown::PlaceDropDownControl()
{
    SetControl(FList);
    TLookupDropDown::PlaceDropDownControl();
}

void TExtMultiColumnDropDown::UpdateDropDownSize()
{
    TLookupDropDown::UpdateDropDownSize();
    if (FList)
        FitWidthToTable(*FList);
}

void TExtMultiColumnDropDown::SizeColumnsToDropDown()
{
    if (FList)
        SizeColumnsToWindow(*FList);
}

void TExtMultiColumnDropDown::DoShowDropDown()
{
    TLookupDropDown::DoShowDropDown();
    if (!FList)
        return;
    TMultiColumnList& list = *FList;
    SizeColumnsToDropDown();
    list.SetLeftCol(list.FixedCols());
    if (list.RowCount() > 1) {
        list.SetRow(FItemIndex >= 0 ? FItemIndex + 1 : 1);
        if (list.PlatformCellRect(list.FixedCols(), list.Row()).IsEmpty())
            list.SetTopRow(std::max(list.FixedRows(), list.Row() - list.VisibleRowCount() + 1));
    }
    FShowing = false;
    if (FDroppedDown)
        list.setFocus(Qt::PopupFocusReason);
}

void TExtMultiColumnDropDown::DoHideDropDown(bool cancelChanges)
{
    const bool open = FDropDownForm && FDropDownForm->isVisible();
    TLookupDropDown::DoHideDropDown(cancelChanges);
    if (!open || !FList)
        return;
    if (cancelChanges) {
        SetItemIndex(FOldItemIndex);
    } else {
        if (FList->ConfirmSelection)
            SetItemIndex(FList->Row() - 1);
        FOldItemIndex = FItemIndex;
    }
    FList->ConfirmSelection = false;
}

void TExtMultiColumnDropDown::ListSelectCell(int row)
{
    if (!FShowing)
        SetItemIndex(row - 1);
}

void TExtMultiColumnDropDown::ListSelect()
{
    QPointer<TExtMultiColumnDropDown> self(this);
    if (FList && FList->ConfirmSelection)
        SetItemIndex(FList->Row() - 1);
    DoHideDropDown(false);
    if (self && OnSelect)
        OnSelect(this);
}

void TExtMultiColumnDropDown::ControlKeyDown(int& key, TShiftState shift)
{
    TableKeyDown(key, shift, StaysInList(key));
}

void TExtMultiColumnDropDown::ControlKeyUp(int& key, TShiftState shift)
{
    if (!StaysInList(key) || (shift & ssAlt))
        TLookupDropDown::ControlKeyUp(key, shift);
}

void TExtMultiColumnDropDown::ControlKeyPress(QChar& key)
{
    const ushort k = key.unicode();
    if (k == 13 || k == 27 || !FList || (FList->Options & goEditing)) {
        FLookupEntry.clear();
        return;
    }
    TMultiColumnList& list = *FList;
    const int n = DoLookupKey(key);
    if (n != -1) {
        const int row = n + list.FixedRows();
        if (row >= list.TopRow() + list.VisibleRowCount() || row < list.TopRow())
            list.SetTopRow(std::min(row, std::max(list.FixedRows(), list.MaxTopRow())));
        list.MoveColRow(0, row);
    } else {
        FLookupEntry.clear();
    }
    // Typed characters search the list; they are not the list's.
    key = QChar();
}

void TExtMultiColumnDropDown::FormSizing()
{
    TLookupDropDown::FormSizing();
    SizeColumnsToDropDown();
}

void TExtMultiColumnDropDown::SelectNextItem()
{
    TLookupDropDown::SelectNextItem();
    SelectNext();
}

void TExtMultiColumnDropDown::SelectPreviousItem()
{
    TLookupDropDown::SelectPreviousItem();
    SelectPrevious();
}

void TExtMultiColumnDropDown::SetComponentStyle(TSuiteStyle AStyle)
{
    TLookupDropDown::SetComponentStyle(AStyle);
    TColor header = clNone;
    TColor fontColor = clNone;
    switch (AStyle) {
    case tsOffice2010Blue: header = 0xEDDBCD; fontColor = 0x5B391E; break;
    case tsOffice2010Silver: header = 0xEDE9E5; fontColor = 0x5B391E; break;
    case tsOffice2010Black: header = 0x828282; fontColor = 0xD7D7D6; break;
    default: return;
    }
    FixedLineColor = LineColor = 0xEEDDCF;
    HeaderColor = header;
    HeaderColorTo = clNone;
    SetSelectionColorStyle(dropdowns::scCustom);
    FSelectionColor = FSelectionColorTo = 0x6CD0FF;
    HeaderFont.Color = fontColor;
    SelectionTextColor = clBlack;
}

}  // namespace grid::editors
