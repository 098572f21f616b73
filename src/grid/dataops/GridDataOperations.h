#pragma once
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDataOps.h"
#include "grid/dataops/GridClipboardOps.h"
#include "grid/dataops/GridFilter.h"
#include "grid/dataops/GridFilterLists.h"
#include "grid/dataops/GridFind.h"
#include "grid/dataops/GridGroup.h"
#include "grid/dataops/GridSearchFooter.h"
#include "grid/dataops/GridSort.h"

namespace grid::dataops {

// The data operations of one grid: the grid's TGridDataOps, made by the DataOperations() part of
// its layers. Each area keeps its state and operations in a part of its own;
// this class overrides the hook's entries by handing them to the part.
class TGridDataOperations : public TGridDataOps {
public:
    explicit TGridDataOperations(TExtStringGrid& grid);
    ~TGridDataOperations() override;

    TGridSorting Sorting{Grid};
    void QSort() override { Sorting.QSort(); }
    void QSortIndexed() override { Sorting.QSortIndexed(); }
    void QSortGroup() override { Sorting.QSortGroup(); }
    void QSortGroupIndexed() override { Sorting.QSortGroupIndexed(); }
    void QUnSort() override { Sorting.QUnSort(); }
    void ClickSort(int c, platform::TShiftState shift) override { Sorting.ClickSort(c, shift); }
    void SplitColumnCells(int colIndex) override;
    void MergeColumnCells(int colIndex, bool mainMerge) override;
    QString SelectedText(bool entireRows) override;
    void UnHilightInGrid(bool doFixed) override;

    TGridGrouping Grouping{Grid};
    void Group(int colIndex) override { Grouping.Group(colIndex); }
    void UnGroup() override { Grouping.UnGroup(); }

    TGridFind Finding{Grid};
    TGridFilter Filtering{Grid};

    bool FilterActive() override { return Filtering.FilterActive(); }
    void SetFilterActive(bool value) override { Filtering.SetFilterActive(value); }

    TGridFilterLists FilterLists{Grid, Filtering};
    bool FilterButtonClick(int x, int y) override { return FilterLists.ButtonClick(x, y); }
    int Search(const QString& upperText) override { return Finding.Search(upperText); }
    void NarrowDown(const QString& condition, int column) override { Filtering.NarrowDown(condition, column); }
    void RemoveAllFilters() override { Filtering.RemoveAllFilters(); }

    TGridSearchFooter Searching{Grid, Finding};
    void SearchPanelChanged() override { Searching.Update(); }
    void FocusSearchEdit() override { Searching.FocusEdit(); }
    void SearchPanelForwardClick() override { Searching.SearchPanelForwardClick(); }
    void SearchPanelBackwardClick() override { Searching.SearchPanelBackwardClick(); }
    // The grid's accelerator presses the highlight button as a click would.
    void SearchPanelHighlightClick() override { Searching.HighlightAccelerator(); }
    TGridClipboard Clipboard{Grid};
    bool ClipboardKey(int which, const TCellCheck& validate) override;
    bool SaveCellStream(const TGridRect& rect, std::vector<uint8_t>& out) override;
    bool HasCellStream() const override { return true; }
    bool LoadCellStream(int c, int r, std::span<const uint8_t> stream) override;

    // The automatic column-width store; its failures leave the grid as it is and are not raised
    // (the grid is being loaded or destroyed).
    void LoadColSizes() override;
    void SaveColSizes() override;

    // A grid drop-down passes on its inner grid's search edit changes.
    void PassEventsTo(QObject* holder) override;
};

// The data-operations part of a grid's layers.
TGridDataOpsFactory DataOperations();

// The data operations of a grid; null when the grid has none or other ones.
TGridDataOperations* DataOps(TExtStringGrid& grid);

}  // namespace grid::dataops
