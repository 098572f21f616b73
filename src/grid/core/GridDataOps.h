#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "grid/core/GridTypes.h"
#include "platform/TCustomControl.h"

class QObject;

namespace grid {

class TExtStringGrid;

// How a data operation plugs in: sorting, grouping, filtering, searching, the bulk row and column
// operations and the calculations live in the library grid/dataops, above the core and the editing
// layer. A grid reaches them through one TGridDataOps object that it makes on first use with the
// DataOps part of the layers its owner gave it (GridLayers.h; grid::dataops::DataOperations()). An operation
// that the core or the editing layer must start gets a virtual entry here with a do-nothing
// default (grouped by area below), the dataops library's TGridDataOperations overrides it, and the
// caller reaches it through TExtStringGrid::DataOps() (or a forwarding virtual of the grid where a
// descendant may replace the operation). Operations that only their users call stay in the dataops
// library and are reached with grid::dataops::DataOps(grid). Without that part every entry does
// nothing, so the core and the editing layer work, and are tested, on their own.
class TGridDataOps {
public:
    explicit TGridDataOps(TExtStringGrid& grid) : Grid(grid) {}
    virtual ~TGridDataOps() = default;
    TGridDataOps(const TGridDataOps&) = delete;
    TGridDataOps& operator=(const TGridDataOps&) = delete;

    TExtStringGrid& Grid;

    // Sorting.
    virtual void QSort() {}
    virtual void QSortIndexed() {}
    virtual void QSortGroup() {}
    virtual void QSortGroupIndexed() {}
    virtual void QUnSort() {}
    // A left click released on the sort row over display column c, the editor already closed and
    // the application agreed; shift is the key state of the click.
    virtual void ClickSort(int /*c*/, platform::TShiftState /*shift*/) {}

    // Merged columns, for the grid's split and re-merge of its merged columns.
    virtual void SplitColumnCells(int /*colIndex*/) {}
    virtual void MergeColumnCells(int /*colIndex*/, bool /*mainMerge*/) {}

    // Grouping.
    virtual void Group(int /*colIndex*/) {}
    virtual void UnGroup() {}

    // Selection and highlights, for editing (drag and drop of cells, typing over hits).
    virtual QString SelectedText(bool /*entireRows*/) { return {}; }
    virtual void UnHilightInGrid(bool /*doFixed*/) {}

    // Filtering and searching.
    // FilterActive: the conditions applied as a filter level (true) or its rows back (false).
    virtual bool FilterActive() { return false; }
    virtual void SetFilterActive(bool /*value*/) {}
    // A left button released at client point (x, y); true when it opened a filter value list.
    virtual bool FilterButtonClick(int /*x*/, int /*y*/) { return false; }
    // The key search: the row whose text in the search column starts with upperText, -1 if none.
    virtual int Search(const QString& /*upperText*/) { return -1; }
    // The search panel's settings or the grid's size changed.
    virtual void SearchPanelChanged() {}
    // Ctrl+F: the search footer's edit takes the focus.
    virtual void FocusSearchEdit() {}
    virtual void SearchPanelForwardClick() {}
    virtual void SearchPanelBackwardClick() {}
    virtual void SearchPanelHighlightClick() {}
    // The incremental narrowing on a column (-1: the whole row): one filter level more or less per
    // character typed or taken away, a fresh start otherwise; the empty text removes every level.
    virtual void NarrowDown(const QString& /*condition*/, int /*column*/) {}
    // Every filter level goes (the hidden rows come back); with none applied the conditions go.
    virtual void RemoveAllFilters() {}

    // The clipboard keys, the grid's own event having allowed them: 1 cut, 2 paste, 3 copy. A value
    // on its way into a cell (real column, row) passes `validate` first, which may change it or
    // refuse it (false). False: not handled here, the editing layer's plain-text clipboard acts.
    using TCellCheck = std::function<bool(int realCol, int row, QString& value)>;
    virtual bool ClipboardKey(int /*which*/, const TCellCheck& /*validate*/) { return false; }
    // The cell stream of drag and drop between grids: written for a display rectangle (false: the
    // editing layer's own), and placed at display cell (c, r) (false: the stream was refused and
    // nothing changed).
    virtual bool SaveCellStream(const TGridRect& /*rect*/, std::vector<uint8_t>& /*out*/) { return false; }
    virtual bool HasCellStream() const { return false; }
    virtual bool LoadCellStream(int /*c*/, int /*r*/, std::span<const uint8_t> /*stream*/) { return false; }

    // The column widths in the store that ColumnSize names, when ColumnSize.Save asks for it: read
    // once the grid is loaded, written when it goes. A store that cannot be read leaves the widths.
    virtual void LoadColSizes() {}
    virtual void SaveColSizes() {}

    // The grid is the inner grid of a control (a drop-down) whose events of the same meaning take
    // the events these operations raise; null: the control is going and those events are cleared.
    virtual void PassEventsTo(QObject* /*holder*/) {}
};

}  // namespace grid
