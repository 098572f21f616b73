#include "grid/core/GridSettings.h"

namespace grid {

void TIntList::Changed()
{
    if (OnChange)
        OnChange(this, Col, Row);
}

void TIntList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw platform::Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

void TIntList::Add(int value)
{
    Items.push_back(value);
    Changed();
}

void TIntList::Insert(int index, int value)
{
    if (index < 0 || index > Count())
        throw platform::Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    Items.insert(Items.begin() + index, value);
}

void TIntList::Delete(int index)
{
    CheckIndex(index);
    Items.erase(Items.begin() + index);
    Changed();
}

int TIntList::GetInteger(int index) const
{
    CheckIndex(index);
    return Items[size_t(index)];
}

void TIntList::SetInteger(int index, int value)
{
    CheckIndex(index);
    Items[size_t(index)] = value;
    Changed();
}

bool TIntList::HasValue(int value) const
{
    return std::find(Items.begin(), Items.end(), value) != Items.end();
}

void TIntList::DeleteValue(int value)
{
    auto it = std::find(Items.begin(), Items.end(), value);
    if (it == Items.end())
        return;
    Items.erase(it);
    Changed();
}

QString TIntList::StrValue() const
{
    QStringList parts;
    for (int v : Items)
        parts << QString::number(v);
    return parts.join(',');
}

void TIntList::SetStrValue(const QString& text)
{
    Items.clear();
    QString item;
    bool quoted = false;
    auto flush = [&] {
        if (item.isEmpty())
            return;
        bool ok = false;
        const int v = item.toInt(&ok);
        if (!ok)
            throw platform::Exception(QStringLiteral("'%1' is not a valid integer value").arg(item));
        item.clear();
        Add(v);
    };
    for (QChar c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == ',' || c == ' '))
            flush();
        else
            item += c;
    }
    flush();
}

constexpr uint32_t DescendingBit = 0x80000000u;

void TSortIndexList::AddIndex(int column, bool ascending)
{
    Add(int(uint32_t(column) | (ascending ? 0u : DescendingBit)));
}

int TSortIndexList::FindIndex(int column) const
{
    for (int i = 0; i < Count(); ++i)
        if ((uint32_t(Items[size_t(i)]) & ~DescendingBit) == uint32_t(column))
            return i;
    return -1;
}

void TSortIndexList::ToggleIndex(int column)
{
    const int i = FindIndex(column);
    if (i >= 0)
        SetInteger(i, int(uint32_t(Items[size_t(i)]) ^ DescendingBit));
}

int TSortIndexList::GetSortColumns(int i) const { return int(uint32_t(GetInteger(i)) & ~DescendingBit); }

void TSortIndexList::SetSortColumns(int i, int column)
{
    SetInteger(i, int((uint32_t(GetInteger(i)) & DescendingBit) | (uint32_t(column) & ~DescendingBit)));
}

bool TSortIndexList::GetSortDirections(int i) const { return (uint32_t(GetInteger(i)) & DescendingBit) == 0; }

void TSortIndexList::SetSortDirections(int i, bool ascending)
{
    const uint32_t v = uint32_t(GetInteger(i));
    SetInteger(i, int(ascending ? v & ~DescendingBit : v | DescendingBit));
}

QString TSortIndexList::SaveToString() const
{
    QStringList parts;
    for (int i = 0; i < Count(); ++i)
        parts << (GetSortDirections(i) ? QStringLiteral("u") : QStringLiteral("d")) +
                     QString::number(uint32_t(Items[size_t(i)]) & 0xFFFF);
    return parts.join(';');
}

void TSortIndexList::LoadFromString(const QString& text)
{
    Clear();
    for (const QString& part : text.split(';')) {
        if (part.size() < 2)
            continue;
        bool ok = false;
        const int column = part.mid(1).toInt(&ok);
        if (ok)
            AddIndex(column, part.at(0) == 'u');
    }
}

void TNavigation::SetAdvanceAuto(bool value)
{
    if (value != FAdvanceAuto && value)
        AdvanceOnEnter = true;
    FAdvanceAuto = value;
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection value)
{
    if (value == FAdvanceDirection)
        return;
    FAdvanceDirection = value;
    if (OnChange)
        OnChange();
}

void TNavigation::SetAdvanceInsert(bool value)
{
    if (value == FAdvanceInsert)
        return;
    FAdvanceInsert = value;
    if (OnChange)
        OnChange();
}

void TNavigation::Assign(const TNavigation& source)
{
    const bool keep = KeepScrollOnSort;
    TNotifyEvent change = std::move(OnChange);
    *this = source;
    KeepScrollOnSort = keep;
    OnChange = std::move(change);
}

bool TMouseActions::Designing() const
{
    bool designing = false;
    if (OnIsDesigning)
        OnIsDesigning(designing);
    return designing;
}

void TMouseActions::SetHotmailRowSelect(bool value)
{
    FHotmailRowSelect = value;
    if (value) {
        FDisjunctRowSelect = true;
        CheckAllCheck = true;
    }
    if (OnInvalidate)
        OnInvalidate();
}

void TMouseActions::SetEditOnDblClickOnly(bool value)
{
    FEditOnDblClickOnly = value;
    if (value && OnDisableEdit)
        OnDisableEdit();
}

void TMouseActions::SetWheelAction(TWheelAction value)
{
    if (value == FWheelAction)
        return;
    FWheelAction = value;
    if (OnChange)
        OnChange();
}

void TMouseActions::SetDisjunctRowSelect(bool value)
{
    FDisjunctRowSelect = value;
    if (value && Designing())
        FDisjunctColSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctColSelect(bool value)
{
    FDisjunctColSelect = value;
    if (value && Designing())
        FDisjunctRowSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctCellSelect(bool value)
{
    FDisjunctCellSelect = value;
    if (value && Designing())
        FDisjunctRowSelect = FDisjunctColSelect = false;
}

void TMouseActions::Assign(const TMouseActions& source)
{
    AllColumnSize = source.AllColumnSize;
    AllRowSize = source.AllRowSize;
    AllSelect = source.AllSelect;
    AutoSizeColOnDblClick = source.AutoSizeColOnDblClick;
    CaretPositioning = source.CaretPositioning;
    CheckAllCheck = source.CheckAllCheck;
    ColSelect = source.ColSelect;
    DirectComboClose = source.DirectComboClose;
    DirectComboDrop = source.DirectComboDrop;
    DirectDateClose = source.DirectDateClose;
    DirectDateDrop = source.DirectDateDrop;
    DirectEdit = source.DirectEdit;
    FDisjunctRowSelect = source.FDisjunctRowSelect;
    FDisjunctColSelect = source.FDisjunctColSelect;
    FDisjunctCellSelect = source.FDisjunctCellSelect;
    FixedRowsEdit = source.FixedRowsEdit;
    FixedColsEdit = source.FixedColsEdit;
    FixedColsEditor = source.FixedColsEditor;
    FixedRowsEditor = source.FixedRowsEditor;
    MoveRowOnNodeClick = source.MoveRowOnNodeClick;
    NoAutoRangeScroll = source.NoAutoRangeScroll;
    NodeAllExpandContract = source.NodeAllExpandContract;
    NoScrollOnPartialRow = source.NoScrollOnPartialRow;
    PreciseCheckBoxCheck = source.PreciseCheckBoxCheck;
    PreciseNodeClick = source.PreciseNodeClick;
    RangeSelectAndEdit = source.RangeSelectAndEdit;
    RowSelect = source.RowSelect;
    RowSelectPersistent = source.RowSelectPersistent;
    SelectOnRightClick = source.SelectOnRightClick;
    SizeFixedCol = source.SizeFixedCol;
    WheelIncrement = source.WheelIncrement;
    FWheelAction = source.FWheelAction;
    DisjunctRowSelectNoCtrl = source.DisjunctRowSelectNoCtrl;
}

void TBands::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    if (OnChange)
        OnChange();
}

void TBands::SetPrimaryColor(TColor value)
{
    if (value == FPrimaryColor)
        return;
    FPrimaryColor = value;
    if (FActive && OnChange)
        OnChange();
}

void TBands::SetSecondaryColor(TColor value)
{
    if (value == FSecondaryColor)
        return;
    FSecondaryColor = value;
    if (FActive && OnChange)
        OnChange();
}

void TBands::SetPrimaryLength(int value)
{
    if (value == FPrimaryLength)
        return;
    FPrimaryLength = value;
    if (FActive && OnChange)
        OnChange();
}

void TBands::SetSecondaryLength(int value)
{
    if (value == FSecondaryLength)
        return;
    FSecondaryLength = value;
    if (FActive && OnChange)
        OnChange();
}

void TBands::Assign(const TBands& source)
{
    FActive = source.FActive;
    FPrimaryColor = source.FPrimaryColor;
    FPrimaryLength = source.FPrimaryLength;
    FSecondaryColor = source.FSecondaryColor;
    FSecondaryLength = source.FSecondaryLength;
    Print = source.Print;
}

void TSyncGrid::SetGrid(TObjStringGrid* value)
{
    if (value != Owner)
        FGrid = value;
}

void TSyncGrid::Assign(const TSyncGrid& source)
{
    SetGrid(source.FGrid);
    ScrollHorizontal = source.ScrollHorizontal;
    ScrollVertical = source.ScrollVertical;
    SelectionRow = source.SelectionRow;
    SelectionColumn = source.SelectionColumn;
    MoveRow = source.MoveRow;
    MoveColumn = source.MoveColumn;
}

TSearchFooter::TSearchFooter(bool design)
{
    if (!design)
        return;
    FindNextCaption = QStringLiteral("Find &next");
    FindPrevCaption = QStringLiteral("Find &previous");
    MatchCaseCaption = QStringLiteral("Match case");
    HighLightCaption = QStringLiteral("Highlight");
    HintClose = QStringLiteral("Close");
    HintFindNext = QStringLiteral("Find next occurrence");
    HintFindPrev = QStringLiteral("Find previous occurrence");
    HintHighlight = QStringLiteral("Highlight occurrences");
}

}  // namespace grid

namespace grid {

void TShowModified::SetColor(TColor value)
{
    FColor = value;
    if (OnChange)
        OnChange();
}

void TShowModified::Assign(const TShowModified& source)
{
    FColor = source.FColor;
    Enabled = source.Enabled;
}

void TFilterDropDown::SetGlyph(const TGlyph& value)
{
    Glyph = value;
    if (OnChange)
        OnChange();
}

void TFilterDropDown::SetGlyphActive(const TGlyph& value)
{
    GlyphActive = value;
    if (OnChange)
        OnChange();
}

void TFilterDropDown::Assign(const TFilterDropDown& source)
{
    Color = source.Color;
    ColumnWidth = source.ColumnWidth;
    Font = source.Font;
    Height = source.Height;
    Width = source.Width;
    Glyph = source.Glyph;
    GlyphActive = source.GlyphActive;
}

void TGrouping::Assign(const TGrouping& source)
{
    GroupCountFormat = source.GroupCountFormat;
    HeaderColor = source.HeaderColor;
    HeaderColorTo = source.HeaderColorTo;
    HeaderTextColor = source.HeaderTextColor;
    SummaryColor = source.SummaryColor;
    SummaryColorTo = source.SummaryColorTo;
    SummaryTextColor = source.SummaryTextColor;
    HeaderUnderline = source.HeaderUnderline;
    SummaryLine = source.SummaryLine;
    MergeHeader = source.MergeHeader;
    MergeSummary = source.MergeSummary;
    ShowGroupCount = source.ShowGroupCount;
    AutoSelectGroup = source.AutoSelectGroup;
    AutoCheckGroup = source.AutoCheckGroup;
}

}  // namespace grid
