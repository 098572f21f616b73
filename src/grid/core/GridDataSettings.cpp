#include "grid/core/GridDataSettings.h"

#include "grid/core/ExtStringGrid.h"

namespace grid {

void THTMLSettings::Assign(const THTMLSettings& source)
{
    BorderSize = source.BorderSize;
    CellSpacing = source.CellSpacing;
    CellPadding = source.CellPadding;
    SaveColor = source.SaveColor;
    SaveFonts = source.SaveFonts;
    FooterFile = source.FooterFile;
    HeaderFile = source.HeaderFile;
    TableStyle = source.TableStyle;
    PrefixTag = source.PrefixTag;
    SuffixTag = source.SuffixTag;
    Summary = source.Summary;
    Width = source.Width;
    XHTML = source.XHTML;
    ConvertSpecialChars = source.ConvertSpecialChars;
    AutoPreview = source.AutoPreview;
    NonBreakingText = source.NonBreakingText;
}

void TPrintSettings::Assign(const TPrintSettings& source)
{
    const bool fixedCellsAlways = FixedCellsAlways;
    TExtStringGrid* grid = FGrid;
    *this = source;
    FGrid = grid;
    FixedCellsAlways = fixedCellsAlways;
}

void TFilterData::Assign(const TFilterData* source)
{
    if (!source)
        return;
    Column = source->Column;
    Condition = source->Condition;
    CaseSensitive = source->CaseSensitive;
    Data = source->Data;
    Prefix = source->Prefix;
    Suffix = source->Suffix;
    Operation = source->Operation;
}

TFilterData* TFilter::Add()
{
    FItems.push_back(std::make_unique<TFilterData>());
    FItems.back()->Operation = FItems.size() == 1 ? foNONE : foAND;
    return FItems.back().get();
}

TFilterData* TFilter::Insert(int)
{
    FItems.push_back(std::make_unique<TFilterData>());
    return FItems.back().get();
}

void TFilter::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw platform::Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

TFilterData* TFilter::Items(int index) const
{
    CheckIndex(index);
    return FItems[size_t(index)].get();
}

void TFilter::SetItem(int index, const TFilterData& value) { Items(index)->Assign(&value); }

void TFilter::Delete(int index)
{
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
}

TFilterData* TFilter::GetColFilter(int col)
{
    for (const auto& item : FItems)
        if (item->Column == col)
            return item.get();
    TFilterData* item = Add();
    item->Column = int16_t(col);
    return item;
}

bool TFilter::HasFilter(int col) const
{
    for (const auto& item : FItems)
        if (item->Column == col)
            return true;
    return false;
}

void TFilter::RemoveColumnFilter(int col)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (FItems[size_t(i)]->Column == col)
            FItems.erase(FItems.begin() + i);
    if (FGrid)
        FGrid->RepaintCell(FGrid->RealToDisplCol(col), 0);
}

void TFilter::Assign(const TFilter& source)
{
    if (&source == this)
        return;
    FItems.clear();
    for (const auto& item : source.FItems) {
        FItems.push_back(std::make_unique<TFilterData>());
        FItems.back()->Assign(item.get());
    }
}

}  // namespace grid
