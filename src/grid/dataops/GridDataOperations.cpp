#include "grid/dataops/GridDataOperations.h"

#include "grid/dataops/GridBinCells.h"
#include "grid/dataops/GridBulkOps.h"
#include "grid/dataops/GridLayout.h"
#include "grid/dataops/GridSelectionOps.h"
#include "grid/editing/editors/ExtCustomGridDropDown.h"
#include "platform/Exception.h"

namespace grid::dataops {

TGridDataOperations::TGridDataOperations(TExtStringGrid& grid) : TGridDataOps(grid) {}

TGridDataOperations::~TGridDataOperations() = default;

void TGridDataOperations::SplitColumnCells(int colIndex) { dataops::SplitColumnCells(Grid, colIndex); }
void TGridDataOperations::MergeColumnCells(int colIndex, bool mainMerge)
{
    dataops::MergeColumnCells(Grid, colIndex, mainMerge);
}
QString TGridDataOperations::SelectedText(bool entireRows) { return dataops::SelectedText(Grid, entireRows); }
void TGridDataOperations::UnHilightInGrid(bool doFixed) { dataops::UnHilightInGrid(Grid, doFixed); }

bool TGridDataOperations::ClipboardKey(int which, const TCellCheck& validate)
{
    // The validator holds for this one operation, also when the operation fails.
    struct TRestore {
        TGridClipboard& Clip;
        ~TRestore() { Clip.Validate = nullptr; }
    } restore{Clipboard};
    Clipboard.Validate = validate;
    switch (which) {
    case 1: Clipboard.CutSelectionToClipboard(); return true;
    case 2: Clipboard.PasteSelectionFromClipboard(); return true;
    case 3: Clipboard.CopySelectionToClipboard(); return true;
    default: return false;
    }
}

bool TGridDataOperations::SaveCellStream(const TGridRect& rect, std::vector<uint8_t>& out)
{
    out = SaveRectToBinStream(Grid, rect);
    return true;
}

bool TGridDataOperations::LoadCellStream(int c, int r, std::span<const uint8_t> stream)
{
    try {
        LoadAtPointFromBinStream(Grid, c, r, stream);
        return true;
    } catch (const EExtGridError&) {
        return false;
    }
}

TGridDataOpsFactory DataOperations()
{
    return [](TExtStringGrid& grid) { return std::make_unique<TGridDataOperations>(grid); };
}

// Nobody can be asked while a grid is loaded or destroyed: a store that fails is named in the log.
void TGridDataOperations::LoadColSizes()
{
    try {
        dataops::LoadColSizes(Grid);
    } catch (const platform::Exception& e) {
        qWarning("%s", qPrintable(e.message()));
    }
}

void TGridDataOperations::SaveColSizes()
{
    try {
        dataops::SaveColSizes(Grid);
    } catch (const platform::Exception& e) {
        qWarning("%s", qPrintable(e.message()));
    }
}

void TGridDataOperations::PassEventsTo(QObject* holder)
{
    auto* dd = qobject_cast<editors::TCustomExtGridDropDown*>(holder);
    if (!dd) {
        Searching.OnSearchEditChange = nullptr;
        return;
    }
    Searching.OnSearchEditChange = [dd](TExtStringGrid* sender, const QString& value, bool& defaultSearch) {
        if (dd->OnGridSearchEditChange)
            dd->OnGridSearchEditChange(sender, value, defaultSearch);
    };
}

TGridDataOperations* DataOps(TExtStringGrid& grid) { return dynamic_cast<TGridDataOperations*>(grid.DataOps()); }

}  // namespace grid::dataops
