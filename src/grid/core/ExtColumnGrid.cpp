#include "grid/core/ExtColumnGrid.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "grid/core/GridTextUtils.h"
#include "platform/IniFile.h"

namespace grid {

TGridColumnItem::TGridColumnItem(TGridColumnCollection* collection) : Collection(collection)
{
    if (TExtColumnGrid* g = Grid()) {
        FFont = TFontDesc{g->FontName, g->FontSize, 0, clBlack};
        HeaderFont = FFont;
        PrintFont = FFont;
        FColor = g->Color;
    }
}

int TGridColumnItem::Index() const { return Collection ? Collection->IndexOf(this) : -1; }
TExtColumnGrid* TGridColumnItem::Grid() const { return Collection ? Collection->Grid() : nullptr; }

void TGridColumnItem::Changed()
{
    if (Collection)
        Collection->Update(this);
}

void TGridColumnItem::SetAlignment(TAlignment value)
{
    FAlignment = value;
    if (TExtColumnGrid* g = Grid())
        g->Invalidate();
}

void TGridColumnItem::SetHeaderAlignment(TAlignment value)
{
    FHeaderAlignment = value;
    if (TExtColumnGrid* g = Grid())
        g->Invalidate();
}

void TGridColumnItem::SetColor(TColor value)
{
    FColor = value;
    Changed();
}

void TGridColumnItem::SetFont(const TFontDesc& value)
{
    FFont = value;
    Changed();
}

void TGridColumnItem::SetFixed(bool value)
{
    FFixed = value;
    Changed();
}

void TGridColumnItem::SetPassword(bool value)
{
    FPassword = value;
    Changed();
}

void TGridColumnItem::SetShowBands(bool value)
{
    FShowBands = value;
    Changed();
}

void TGridColumnItem::SetEditor(TEditorType value)
{
    if (value == FEditor)
        return;
    const bool repaint = value == edDataCheckBox || FEditor == edDataCheckBox;
    FEditor = value;
    if (repaint)
        if (TExtColumnGrid* g = Grid())
            g->Invalidate();
}

void TGridColumnItem::SetFloatFormat(const QString& value)
{
    FFloatFormat = value;
    if (TExtColumnGrid* g = Grid())
        g->Invalidate();
}

void TGridColumnItem::SetHeader(const QString& value)
{
    FHeader = value;
    TExtColumnGrid* g = Grid();
    if (!g)
        return;
    if (g->FixedRows() > 0 && !g->ColMoving()) {
        g->SetCells(Index(), 0, value);
        Changed();
    }
    g->ColumnHeaders.clear();
    for (int i = 0; i < Collection->Count(); ++i)
        g->ColumnHeaders << (*Collection)[i]->Header();
}

int TGridColumnItem::Width() const
{
    TExtColumnGrid* g = Grid();
    const int i = Index();
    return g && i >= 0 ? g->GetAllColWidths(i) : FWidth;
}

void TGridColumnItem::SetWidth(int value)
{
    FWidth = value;
    TExtColumnGrid* g = Grid();
    const int i = Index();
    if (g && i >= 0 && i < g->TotalColCount())
        g->SetAllColWidths(i, value);
}

QString TGridColumnItem::Rows(int row) const
{
    TExtColumnGrid* g = Grid();
    return g ? g->Cells(Index(), row) : QString();
}

void TGridColumnItem::SetRows(int row, const QString& value)
{
    if (TExtColumnGrid* g = Grid())
        g->SetCells(Index(), row, value);
}

int TGridColumnItem::Ints(int row) const
{
    TExtColumnGrid* g = Grid();
    return g ? g->GetInts(Index(), row) : 0;
}

void TGridColumnItem::SetInts(int row, int value)
{
    if (TExtColumnGrid* g = Grid())
        g->SetInts(Index(), row, value);
}

void TGridColumnItem::AssignVisuals(const TGridColumnItem& source)
{
    FAlignment = source.FAlignment;
    FHeaderAlignment = source.FHeaderAlignment;
    BorderPen = source.BorderPen;
    Borders = source.Borders;
    CheckFalse = source.CheckFalse;
    CheckTrue = source.CheckTrue;
    EditLength = source.EditLength;
    EditLink = source.EditLink;
    EditMask = source.EditMask;
    FEditor = source.FEditor;
    FFixed = source.FFixed;
    FPassword = source.FPassword;
    PrintBorderPen = source.PrintBorderPen;
    PrintBorders = source.PrintBorders;
    PrintColor = source.PrintColor;
    PrintFont = source.PrintFont;
    ReadOnly = source.ReadOnly;
    SortPrefix = source.SortPrefix;
    SortStyle = source.SortStyle;
    SortSuffix = source.SortSuffix;
    SpinMax = source.SpinMax;
    SpinMin = source.SpinMin;
    SpinStep = source.SpinStep;
    ColumnPopup = source.ColumnPopup;
    FWidth = source.Width();
    FShowBands = source.FShowBands;
    MinSize = source.MinSize;
    MaxSize = source.MaxSize;
    AutoMinSize = source.AutoMinSize;
    AutoMaxSize = source.AutoMaxSize;
    Filter = source.Filter;
    FilterCaseSensitive = source.FilterCaseSensitive;
    DefIdx = source.DefIdx;
    FFloatFormat = source.FFloatFormat;
    if (TExtColumnGrid* g = Grid()) {
        FColor = g->Color;
        FFont = TFontDesc{g->FontName, g->FontSize, 0, clBlack};
    }
}

void TGridColumnItem::Assign(const TGridColumnItem& source)
{
    AssignVisuals(source);
    FColor = source.FColor;
    FFont = source.FFont;
    ComboItems = source.ComboItems;
    DropDownCount = source.DropDownCount;
    HeaderFont = source.HeaderFont;
    FHeader = source.FHeader;
    Name = source.Name;
    Tag = source.Tag;
}

QString TGridColumnItem::DisplayName() const
{
    if (!Name.isEmpty())
        return QStringLiteral("Col %1: %2").arg(Index()).arg(Name);
    return QStringLiteral("Column %1").arg(Index());
}

TGridColumnItem* TGridColumnCollection::Add()
{
    Items.push_back(std::make_unique<TGridColumnItem>(this));
    TGridColumnItem* item = Items.back().get();
    if (Items.size() > 1)
        item->AssignVisuals(*Items[Items.size() - 2]);
    Update(nullptr);
    return item;
}

TGridColumnItem* TGridColumnCollection::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    Items.insert(Items.begin() + index, std::make_unique<TGridColumnItem>(this));
    Update(nullptr);
    return Items[size_t(index)].get();
}

void TGridColumnCollection::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    Items.erase(Items.begin() + index);
    Update(nullptr);
}

void TGridColumnCollection::Clear()
{
    Items.clear();
    Update(nullptr);
}

int TGridColumnCollection::IndexOf(const TGridColumnItem* item) const
{
    for (size_t i = 0; i < Items.size(); ++i)
        if (Items[i].get() == item)
            return int(i);
    return -1;
}

void TGridColumnCollection::Move(int from, int to)
{
    if (from < 0 || to < 0 || from >= Count() || to >= Count() || from == to)
        return;
    auto item = std::move(Items[size_t(from)]);
    Items.erase(Items.begin() + from);
    Items.insert(Items.begin() + to, std::move(item));
}

void TGridColumnCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Update(nullptr);
}

void TGridColumnCollection::Update(TGridColumnItem*)
{
    if (FUpdateCount > 0 || NoRecursiveUpdate || !FGrid || FGrid->Loading)
        return;
    const int h = FGrid->NumHiddenColumns();
    if (Count() - h != FGrid->ColCount() && Count() - h > FGrid->FixedCols())
        FGrid->SetColCount(Count() - h);
    FGrid->SyncColumnHeaders();
    FGrid->Invalidate();
}

void TGridColumnCollection::SetOrganization()
{
    if (FGrid && NoRecursiveUpdate)
        FGrid->SyncColumnCount();
    for (int i = 0; i < Count(); ++i)
        Items[size_t(i)]->DefIdx = i;
}

void TGridColumnCollection::ResetOrganization()
{
    if (!FGrid)
        return;
    // Each pass moves columns left to their default place; a pass that moves nothing ends it.
    // The bound only guards against default indexes that do not form an order.
    const int maxPasses = Count() * Count() + 1;
    for (int pass = 0; pass < maxPasses; ++pass) {
        bool moved = false;
        for (int i = 0; i < Count(); ++i) {
            const int target = Items[size_t(i)]->DefIdx;
            if (target < i && target >= 0) {
                FGrid->MoveColumn(FGrid->RealToDisplCol(i), FGrid->RealToDisplCol(target));
                moved = true;
            }
        }
        if (!moved)
            return;
    }
}

void TGridColumnCollection::Assign(const TGridColumnCollection& source)
{
    const bool saved = NoRecursiveUpdate;
    NoRecursiveUpdate = true;
    Items.clear();
    for (int i = 0; i < source.Count(); ++i) {
        Items.push_back(std::make_unique<TGridColumnItem>(this));
        Items.back()->Assign(*source[i]);
    }
    NoRecursiveUpdate = saved;
    Update(nullptr);
}

TExtColumnGrid::TExtColumnGrid()
    : FColumns(std::make_unique<TGridColumnCollection>(this)), FCellGraphic(std::make_unique<TCellGraphic>())
{
    SyncColumnCountQuietly();
}

TExtColumnGrid::~TExtColumnGrid() { Destroying = true; }

QString TExtColumnGrid::GetVersionString() const { return DottedVersion(GetVersionNr()) + QStringLiteral(" Aug, 2012"); }

void TExtColumnGrid::SetColCount(int value)
{
    TExtStringGrid::SetColCount(value);
    SyncColumnCountQuietly();
}

void TExtColumnGrid::SyncColumnCountQuietly()
{
    if (!FColumns)
        return;
    const bool saved = FColumns->NoRecursiveUpdate;
    FColumns->NoRecursiveUpdate = true;
    SyncColumnCount();
    FColumns->NoRecursiveUpdate = saved;
}

void TExtColumnGrid::SyncColumnCount()
{
    while (FColumns->Count() < ColCount() + NumHiddenColumns())
        FColumns->Add();
    while (FColumns->Count() > ColCount() + NumHiddenColumns())
        FColumns->Delete(FColumns->Count() - 1);
}

void TExtColumnGrid::SyncColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    ColumnHeaders.clear();
    for (int i = 0; i < FColumns->Count(); ++i) {
        TGridColumnItem* item = (*FColumns)[i];
        if (item->Header().isEmpty() && !Cells(i, 0).isEmpty())
            item->SetHeaderField(Cells(i, 0));
        ColumnHeaders << item->Header();
    }
}

TGridColumnItem* TExtColumnGrid::GetColumnByName(const QString& name) const
{
    for (int i = 0; i < FColumns->Count(); ++i)
        if ((*FColumns)[i]->Name == name)
            return (*FColumns)[i];
    return nullptr;
}

void TExtColumnGrid::Loaded()
{
    TExtStringGrid::Loaded();
    SyncColumnCount();
    FColumns->SetOrganization();
}

int TExtColumnGrid::GetEditLimit() const
{
    const int c = RealColIndex(Col());
    if (Col() < FColumns->Count() && Col() >= FixedCols())
        if (TGridColumnItem* item = (*FColumns)[c])
            return item->EditLength;
    return 0;
}

QString TExtColumnGrid::GetEditMask(int c, int) const
{
    if (c < FColumns->Count() && c >= FixedCols())
        if (TGridColumnItem* item = (*FColumns)[RealColIndex(c)])
            return item->EditMask;
    return {};
}

void TExtColumnGrid::InsertCols(int colIndex, int count)
{
    TExtStringGrid::InsertCols(colIndex, count);
    const bool saved = FColumns->NoRecursiveUpdate;
    FColumns->NoRecursiveUpdate = true;
    for (int k = 0; k < count; ++k)
        FColumns->Insert(colIndex);
    FColumns->NoRecursiveUpdate = saved;
    SyncColumnCount();
}

void TExtColumnGrid::RemoveCols(int colIndex, int count)
{
    const int before = TotalColCount();
    TExtStringGrid::RemoveCols(colIndex, count);
    const int removed = before - TotalColCount();
    const bool saved = FColumns->NoRecursiveUpdate;
    FColumns->NoRecursiveUpdate = true;
    for (int k = 0; k < removed; ++k)
        FColumns->Delete(colIndex);
    FColumns->NoRecursiveUpdate = saved;
    SyncColumnCount();
}

void TExtColumnGrid::Group(int colIndex)
{
    std::unique_ptr<TGridColumnItem> item;
    if (colIndex >= FixedCols() && colIndex < FColumns->Count()) {
        item = std::make_unique<TGridColumnItem>(nullptr);
        item->Assign(*(*FColumns)[colIndex]);
    }
    TExtStringGrid::Group(colIndex);
    if (GroupColumn() == colIndex)
        FGroupedItem = std::move(item);
}

void TExtColumnGrid::UnGroup()
{
    const int col = GroupColumn();
    TExtStringGrid::UnGroup();
    if (col > 0 && GroupColumn() == -1 && FGroupedItem && col < FColumns->Count()) {
        (*FColumns)[col]->Assign(*FGroupedItem);
        if (FixedRows() > 0)
            SetCells(col, 0, Grouped.Caption);
    }
    if (GroupColumn() == -1)
        FGroupedItem.reset();
}

void TExtColumnGrid::ColumnMoved(int fromIndex, int toIndex)
{
    const int f = RealColIndex(fromIndex), t = RealColIndex(toIndex);
    const bool saved = FColumns->NoRecursiveUpdate;
    FColumns->NoRecursiveUpdate = true;
    const int top = TopRow();
    TExtStringGrid::ColumnMoved(fromIndex, toIndex);
    FColMoving = true;
    FColumns->Move(f, t);
    FColMoving = false;
    SetTopRow(top);
    FColumns->NoRecursiveUpdate = saved;
    if (OnAfterColumnMoved)
        OnAfterColumnMoved(this, f, t);
}

TColumnPopupRequest TExtColumnGrid::ColumnPopupFor(TMouseButton button, int x, int y) const
{
    TColumnPopupRequest req;
    const TGridCoord cell = MouseToCell(x, y);
    if (cell.X < 0 || cell.Y < 0 || (button != mbLeft && button != mbRight))
        return req;
    // Hidden columns shift the display index; the popup belongs to the column shown there.
    const TGridColumnItem* item = (*FColumns)[RealColIndex(cell.X)];
    if (!item || !item->ColumnPopup)
        return req;
    const TColumnPopupType t = item->ColumnPopupType;
    const bool left = button == mbLeft;
    const bool anyType = left ? t == cpAllCellsLClick : t == cpAllCellsRClick;
    const bool fixedType = left ? t == cpFixedCellsLClick : t == cpFixedCellsRClick;
    const bool normalType = left ? t == cpNormalCellsLClick : t == cpNormalCellsRClick;
    if (!anyType && !fixedType && !normalType)
        return req;
    req.Col = cell.X;
    req.Row = cell.Y;
    req.Menu = item->ColumnPopup;
    req.FireEvent = true;
    req.Show = anyType || (cell.Y < FixedRows() ? fixedType : normalType);
    const TRect r = MirrorRect(CellRect(cell.X, cell.Y));
    req.At = {r.Left, r.Bottom};
    return req;
}

void TExtColumnGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TExtStringGrid::MouseDown(button, shift, x, y);
    const TColumnPopupRequest req = ColumnPopupFor(button, x, y);
    if (!req.FireEvent)
        return;
    if (OnColumnPopup)
        OnColumnPopup(this, req.Col, req.Row, req.Menu);
    if (req.Show)
        PopupColumnMenu(req.Menu, req.At);
}

void TExtColumnGrid::CalcAllFooters()
{
    TExtStringGrid::CalcAllFooters();
    SyncColumnCountQuietly();
}

void TExtColumnGrid::ColWidthsChanged()
{
    TExtStringGrid::ColWidthsChanged();
    if (Loading || Destroying || !FColumns)
        return;
    for (int d = 0; d < ColCount(); ++d)
        if (TGridColumnItem* item = (*FColumns)[RealColIndex(d)])
            item->SetStoredWidth(ColWidths(d));
}

void TExtColumnGrid::GetCellColor(int c, int r, TGridDrawState state, TColor& brush, TFontDesc& font)
{
    const TGridColumnItem* item = (*FColumns)[c];
    if (item && c >= FixedCols() && c < ColCount() + NumHiddenColumns() - FixedRightCols &&
        r < RowCount() - FixedFooters) {
        if (item->Fixed())
            brush = FixedColor;
        else if (!(item->ShowBands() && Bands.Active()) && r >= FixedRows())
            brush = item->Color();
        font = r < FixedRows() ? item->HeaderFont : item->Font();
        if (const TCellProperties* p = CellProps(c, r)) {
            if (p->BrushColor() != clNone)
                brush = p->BrushColor();
            if (p->FontColor != clNone)
                font.Color = p->FontColor;
        }
    }
    TExtStringGrid::GetCellColor(c, r, state, brush, font);
}

void TExtColumnGrid::GetCellBorder(int c, int r, TPenDesc& pen, TCellBorders& borders)
{
    if (IsNormalCell(c, r)) {
        const TGridColumnItem* item = (*FColumns)[c];
        borders = item->Borders;
        pen = item->BorderPen;
    }
    TExtStringGrid::GetCellBorder(c, r, pen, borders);
}

void TExtColumnGrid::GetCellPrintBorder(int c, int r, TPenDesc& pen, TCellBorders& borders)
{
    if (IsNormalCell(c, r) && (*FColumns)[c]->PrintBorderCustom) {
        const TGridColumnItem* item = (*FColumns)[c];
        borders = item->PrintBorders;
        pen = item->PrintBorderPen;
    }
    TExtStringGrid::GetCellPrintBorder(c, r, pen, borders);
}

void TExtColumnGrid::GetAlignment(int c, int r, TAlignment& hAlign, TVAlignment& vAlign)
{
    if (const TGridColumnItem* item = (*FColumns)[c]) {
        hAlign = r < FixedRows() ? item->HeaderAlignment() : item->Alignment();
        if (const TCellProperties* p = CellProps(c, r))
            hAlign = p->Alignment;
    }
    TExtStringGrid::GetAlignment(c, r, hAlign, vAlign);
}

void TExtColumnGrid::GetCellFormat(int c, TSortStyle& style, QString& prefix, QString& suffix)
{
    if (const TGridColumnItem* item = (*FColumns)[c]) {
        style = item->SortStyle;
        prefix = item->SortPrefix;
        suffix = item->SortSuffix;
    }
    TExtStringGrid::GetCellFormat(c, style, prefix, suffix);
}

bool TExtColumnGrid::IsNormalCell(int c, int r) const
{
    return c < FColumns->Count() && c >= FixedCols() && r >= FixedRows();
}

bool TExtColumnGrid::IsInnerCell(int c, int r) const
{
    return IsNormalCell(c, r) && c < ColCount() + NumHiddenColumns() - FixedRightCols && r < RowCount() - FixedFooters;
}

void TExtColumnGrid::GetCellPropDefaults(int c, int r, TCellPropDefaults& d)
{
    TGridColumnItem* item = FColumns ? (*FColumns)[c] : nullptr;
    if (!item) {
        TExtStringGrid::GetCellPropDefaults(c, r, d);
        return;
    }
    d.FontName = item->Font().Name;
    d.FontSize = item->Font().Size;
    d.FontStyle = item->Font().Style;
    d.FontColor = item->Font().Color;
    d.BrushColor = item->Color();
    d.ColorTo = clNone;
    d.HAlign = r < FixedRows() ? item->HeaderAlignment() : item->Alignment();
    d.VAlign = VAlignment;
    d.WordWrap = WordWrap;
    d.GradientDirection = GradientVertical;
    bool fixed = false;
    IsFixedCell(RealToDisplCol(c), r, fixed);
    if (fixed || (Bands.Active() && item->ShowBands())) {
        d.BrushColor = clNone;
        d.ColorTo = clNone;
    }
}

void TExtColumnGrid::GetFloatFormat(int c, int r, QString& format)
{
    TExtStringGrid::GetFloatFormat(c, r, format);
    if (TGridColumnItem* item = (*FColumns)[c]; item && !item->FloatFormat().isEmpty())
        format = item->FloatFormat();
}

TCellType TExtColumnGrid::GetCellType(int c, int r)
{
    const TCellType t = TExtStringGrid::GetCellType(c, r);
    if (Destroying || t != ctEmpty || !IsInnerCell(c, r))
        return t;
    return (*FColumns)[c]->Editor() == edDataCheckBox ? ctDataCheckBox : t;
}

TCellGraphic* TExtColumnGrid::GetCellGraphic(int c, int r)
{
    TCellGraphic* g = TExtStringGrid::GetCellGraphic(c, r);
    if (Destroying || g || !IsInnerCell(c, r) || (*FColumns)[c]->Editor() != edDataCheckBox)
        return g;
    FCellGraphic->CellType = ctVirtCheckBox;
    FCellGraphic->CellTransparent = ControlLook.ControlStyle == csFlat;
    return FCellGraphic.get();
}

bool TExtColumnGrid::IsVirtualCheckColumn(int c)
{
    TGridColumnItem* item = (*FColumns)[c];
    return item && c >= FixedCols() && item->Editor() == edDataCheckBox;
}

void TExtColumnGrid::IsFixedCell(int c, int r, bool& isFixed)
{
    const int real = RealColIndex(c);
    if (real < FColumns->Count() && c >= FixedCols() && r >= FixedRows())
        isFixed = (*FColumns)[real]->Fixed();
    TExtStringGrid::IsFixedCell(c, r, isFixed);
}

void TExtColumnGrid::IsCellEditable(int c, int r, bool& canEdit)
{
    canEdit = false;
    if (!Loading && IsNormalCell(c, r)) {
        TGridColumnItem* item = (*FColumns)[c];
        canEdit = !(item->ReadOnly || item->Fixed());
        if (TCellProperties* p = CellProps(c, r); p && canEdit)
            canEdit = !p->ReadOnly;
    }
    const TPoint b = BaseCell(c, r);
    if (OnCanEditCell)
        OnCanEditCell(this, b.Y, b.X, canEdit);
}

void TExtColumnGrid::IsPasswordCell(int c, int r, bool& isPassword)
{
    if (TGridColumnItem* item = (*FColumns)[c])
        isPassword = item->Password();
    TExtStringGrid::IsPasswordCell(c, r, isPassword);
}

void TExtColumnGrid::GetEditorType(int c, int r, TEditorType& editor)
{
    if (TGridColumnItem* item = (*FColumns)[c]) {
        if (IsNormalCell(c, r)) {
            editor = item->Editor();
            EditComboItems = item->ComboItems;
            ComboStrings = item->ComboItems;
            ComboObjects.clear();
            EditDropDownCount = item->DropDownCount;
            SpinMinValue = item->SpinMin;
            SpinMaxValue = item->SpinMax;
            SpinIncrement = item->SpinStep;
            ControlLook.DropDownCount = item->DropDownCount;
            EditLink = item->EditLink;
        }
        if (!item->FloatFormat().isEmpty())
            FloatFormat = item->FloatFormat();
    }
    TExtStringGrid::GetEditorType(c, r, editor);
}

bool TExtColumnGrid::HasComboBox(int c, int r)
{
    bool has = false;
    if (IsNormalCell(c, r)) {
        const TEditorType e = (*FColumns)[c]->Editor();
        has = e == edComboEdit || e == edComboList;
    }
    if (OnHasComboBox)
        OnHasComboBox(this, c, r, has);
    return has;
}

void TExtColumnGrid::GetCheckTrue(int c, int r, QString& value)
{
    TExtStringGrid::GetCheckTrue(c, r, value);
    if (IsInnerCell(c, r))
        value = (*FColumns)[c]->CheckTrue;
}

void TExtColumnGrid::GetCheckFalse(int c, int r, QString& value)
{
    TExtStringGrid::GetCheckFalse(c, r, value);
    if (IsInnerCell(c, r))
        value = (*FColumns)[c]->CheckFalse;
}

bool TExtColumnGrid::GetColumnFilter(int c)
{
    TExtStringGrid::GetColumnFilter(c);
    TGridColumnItem* item = (*FColumns)[c];
    if (!item || item->Filter.isEmpty())
        return false;
    FilterList.clear();
    for (const QString& entry : item->Filter)
        FilterList << entry.section('=', 0, 0);
    return true;
}

void TExtColumnGrid::UpdateColumnHeaders()
{
    for (int i = 0; i < FColumns->Count() && i < ColumnHeaders.size(); ++i)
        (*FColumns)[i]->SetHeaderField(ColumnHeaders[i]);
}

namespace {

QJsonObject FontToJson(const TFontDesc& f)
{
    return {{"Name", f.Name}, {"Size", f.Size}, {"Style", f.Style}, {"Color", qint64(f.Color)}};
}

TFontDesc FontFromJson(const QJsonValue& v, const TFontDesc& fallback)
{
    if (!v.isObject())
        return fallback;
    const QJsonObject o = v.toObject();
    return {o.value("Name").toString(fallback.Name), o.value("Size").toInt(fallback.Size),
            uint8_t(o.value("Style").toInt(fallback.Style)), TColor(o.value("Color").toInteger(fallback.Color))};
}

QJsonArray ListToJson(const QStringList& list) { return QJsonArray::fromStringList(list); }

QStringList ListFromJson(const QJsonValue& v)
{
    QStringList out;
    for (const QJsonValue& e : v.toArray())
        out << e.toString();
    return out;
}

}  // namespace

void TExtColumnGrid::SaveColumnsToStream(TMemoryStream& stream) const
{
    QJsonArray items;
    for (int i = 0; i < FColumns->Count(); ++i) {
        const TGridColumnItem& c = *(*FColumns)[i];
        items.append(QJsonObject{
            {"AutoMinSize", c.AutoMinSize}, {"AutoMaxSize", c.AutoMaxSize}, {"Alignment", int(c.Alignment())},
            {"Borders", c.Borders}, {"CheckFalse", c.CheckFalse}, {"CheckTrue", c.CheckTrue},
            {"Color", qint64(c.Color())}, {"ComboItems", ListToJson(c.ComboItems)},
            {"DropDownCount", c.DropDownCount}, {"EditLength", c.EditLength}, {"EditMask", c.EditMask},
            {"Editor", int(c.Editor())}, {"Filter", ListToJson(c.Filter)},
            {"FilterCaseSensitive", c.FilterCaseSensitive}, {"Fixed", c.Fixed()},
            {"FloatFormat", c.FloatFormat()}, {"Font", FontToJson(c.Font())}, {"Header", c.Header()},
            {"HeaderAlignment", int(c.HeaderAlignment())}, {"HeaderFont", FontToJson(c.HeaderFont)},
            {"MinSize", c.MinSize}, {"MaxSize", c.MaxSize}, {"Name", c.Name}, {"Password", c.Password()},
            {"PrintColor", qint64(c.PrintColor)}, {"ReadOnly", c.ReadOnly}, {"ShowBands", c.ShowBands()},
            {"SortStyle", int(c.SortStyle)}, {"SortPrefix", c.SortPrefix}, {"SortSuffix", c.SortSuffix},
            {"SpinMax", c.SpinMax}, {"SpinMin", c.SpinMin}, {"SpinStep", c.SpinStep}, {"Tag", c.Tag},
            {"Width", c.Width()}});
    }
    const QByteArray json =
        QJsonDocument(QJsonObject{{"Class", "TExtColumnGridIO"}, {"Items", items}}).toJson(QJsonDocument::Compact);
    stream.Write(std::span(reinterpret_cast<const uint8_t*>(json.constData()), size_t(json.size())));
}

void TExtColumnGrid::LoadColumnsFromStream(TMemoryStream& stream)
{
    const auto rest = stream.Remaining();
    QJsonParseError error{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(rest.data()), qsizetype(rest.size())), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject() ||
        doc.object().value("Class").toString() != QLatin1String("TExtColumnGridIO") ||
        !doc.object().value("Items").isArray())
        throw EExtGridError(QStringLiteral("Invalid column stream"));
    TGridColumnCollection loaded(nullptr);
    auto enumValue = [](const QJsonObject& o, const char* key, int count, int fallback) {
        const int v = o.value(key).toInt(fallback);
        return v >= 0 && v < count ? v : fallback;
    };
    for (const QJsonValue& v : doc.object().value("Items").toArray()) {
        const QJsonObject o = v.toObject();
        TGridColumnItem* c = loaded.Add();
        c->AutoMinSize = o.value("AutoMinSize").toInt();
        c->AutoMaxSize = o.value("AutoMaxSize").toInt();
        c->SetAlignment(TAlignment(enumValue(o, "Alignment", 3, 0)));
        c->Borders = TCellBorders(o.value("Borders").toInt() & 0x0F);
        c->CheckFalse = o.value("CheckFalse").toString(QStringLiteral("N"));
        c->CheckTrue = o.value("CheckTrue").toString(QStringLiteral("Y"));
        c->SetColor(TColor(o.value("Color").toInteger(clWindow)));
        c->ComboItems = ListFromJson(o.value("ComboItems"));
        c->DropDownCount = o.value("DropDownCount").toInt(8);
        c->EditLength = std::max(0, o.value("EditLength").toInt());
        c->EditMask = o.value("EditMask").toString();
        c->SetEditor(TEditorType(enumValue(o, "Editor", edMaskEditBtn + 1, edNormal)));
        c->Filter = ListFromJson(o.value("Filter"));
        c->FilterCaseSensitive = o.value("FilterCaseSensitive").toBool();
        c->SetFixed(o.value("Fixed").toBool());
        c->SetFloatFormat(o.value("FloatFormat").toString());
        c->SetFont(FontFromJson(o.value("Font"), c->Font()));
        c->SetHeaderField(o.value("Header").toString());
        c->SetHeaderAlignment(TAlignment(enumValue(o, "HeaderAlignment", 3, 0)));
        c->HeaderFont = FontFromJson(o.value("HeaderFont"), c->HeaderFont);
        c->MinSize = o.value("MinSize").toInt();
        c->MaxSize = o.value("MaxSize").toInt();
        c->Name = o.value("Name").toString();
        c->SetPassword(o.value("Password").toBool());
        c->PrintColor = TColor(o.value("PrintColor").toInteger(clWhite));
        c->ReadOnly = o.value("ReadOnly").toBool();
        c->SetShowBands(o.value("ShowBands").toBool());
        c->SortStyle = TSortStyle(enumValue(o, "SortStyle", ssAlphaNumericNoCase + 1, ssAutomatic));
        c->SortPrefix = o.value("SortPrefix").toString();
        c->SortSuffix = o.value("SortSuffix").toString();
        c->SpinMax = o.value("SpinMax").toInt();
        c->SpinMin = o.value("SpinMin").toInt();
        c->SpinStep = o.value("SpinStep").toInt(1);
        c->Tag = o.value("Tag").toInt();
        c->SetStoredWidth(std::clamp(o.value("Width").toInt(50), 0, 32767));
    }
    FColumns->NoRecursiveUpdate = true;
    FColumns->Assign(loaded);
    FColumns->NoRecursiveUpdate = false;
    stream.SetPosition(stream.Size());
    Invalidate();
}

void TExtColumnGrid::SaveColumnPositions(const QString& key, const QString& section) const
{
    platform::TIniFile ini(key);
    for (int i = 0; i < FColumns->Count(); ++i)
        ini.WriteInteger(section, QStringLiteral("CP%1").arg(i), (*FColumns)[i]->DefIdx);
    ini.UpdateFile();
}

void TExtColumnGrid::LoadColumnPositions(const QString& key, const QString& section)
{
    const int count = FColumns->Count();
    const platform::TIniFile ini(key);
    std::vector<int> positions;
    for (int j = 0; j < count; ++j) {
        const int v = ini.ReadInteger(section, QStringLiteral("CP%1").arg(j), -1);
        if (v < 0)
            return;
        positions.push_back(v);
    }
    // Only a permutation of the columns is an order; anything else would lose a column or never
    // settle, so it is ignored as a whole.
    std::vector<bool> seen(size_t(count), false);
    for (int v : positions) {
        if (v >= count || seen[size_t(v)])
            return;
        seen[size_t(v)] = true;
    }
    UnHideColumnsAll();
    for (int j = 0; j < count; ++j)
        (*FColumns)[positions[size_t(j)]]->DefIdx = j;
    FColumns->ResetOrganization();
    for (int k = 0; k < count; ++k)
        (*FColumns)[k]->DefIdx = positions[size_t(k)];
}

}  // namespace grid
