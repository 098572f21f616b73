#pragma once
#include <QPointer>

#include "grid/core/ExtStringGrid.h"
#include "grid/editing/editors/LookupDropDown.h"

namespace grid::editors {

enum TLookupMethod { lmLookup, lmNarrowDown, lmNone };
enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TGridSorting { gsNone, gsSingleColumn, gsMultiColumn };

class TCustomExtGridDropDown;

// The grid on the drop-down form: one fixed header row; column 0 of every data row carries the
// index of its item as the cell's tag, so that rows still match items after sorting.
class TExtGridDropDownGrid : public TExtStringGrid {
public:
    explicit TExtGridDropDownGrid(QWidget* parent);

    void SetDropDown(TCustomExtGridDropDown* dropDown) { FExtDropDown = dropDown; }
    TDropDownColumns& Columns() { return FColumns; }
    TColor HeaderColor = platform::clWhite;
    TColor HeaderColorTo = platform::clGray;
    TColor LineColor = platform::clGray;
    TColor FixedLineColor = platform::clGray;
    int HeaderHeight = 25;
    platform::TFont HeaderFont;
    const platform::TImageList* Images = nullptr;
    int LineWidth() const override { return FGridLineWidth; }
    void SetGridLineWidth(int value);

    // A user action in the grid confirms its current row (key and mouse presses); wheel scrolls
    // and the closing of the drop-down clear it.
    bool ConfirmSelection = false;
    bool MouseWheelSelection() const { return FMouseWheelSelection; }

    // Width the columns need: the border, every column and the vertical bar when rows are out of view.
    int GetGridWidth() const;
    void AutoSizeColumn(int index);
    void AutoSizeItemColumns();
    void AutoSizeRows();
    void LoadItems();
    void UpdateFromDropDown(TCustomExtGridDropDown& dropDown);
    // Whether the parent is a drop-down form (the sizing routines measure only there).
    bool OnDropDownForm() const;
    // Sorts by the sort settings; the drop-down's selected item keeps its row.
    void QSort() override;

protected:
    void KeyDown(int& key, TShiftState shift) override;
    void MouseDown(platform::TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, TShiftState shift, int x, int y) override;
    bool MouseWheel(TShiftState shift, int wheelDelta, int x, int y) override;
    bool SelectCell(int c, int r) override;
    unsigned GetDlgCode() override;
    void TopLeftChanged() override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void DoSelect();

private:
    // Text, image index and font of a data row's cell for the sizing routines.
    QString SizingText(int column, int row) const;
    bool HasImage(int column, int row) const;
    TCustomExtGridDropDown* FExtDropDown = nullptr;
    TDropDownColumns FColumns;
    int FGridLineWidth = 1;
    int FOldRow = 0;
    bool FMouseWheelSelection = false;
    friend class TCustomExtGridDropDown;
};

// A drop-down edit whose form holds a full grid. The edit shows the lookup column of the chosen
// row; typing searches that column, by prefix or by narrowing the rows down. The rows come from
// Items (UseItems) or from the inner grid's own cells.
class TCustomExtGridDropDown : public TLookupDropDown {
    Q_OBJECT
public:
    explicit TCustomExtGridDropDown(QWidget* parent = nullptr);
    ~TCustomExtGridDropDown() override;

    TLookupMethod LookupMethod = lmLookup;
    bool UseItems = true;
    bool ColumnMoving = false;
    bool RowSelect = true;
    bool RowMoving = false;
    bool RowSizing = false;
    bool AutoShowDropDown = false;
    bool AutoSizeColumns = true;
    bool GridEditable = false;
    bool HoverRow = false;
    TColor HoverRowColor = platform::clInfoBk;
    TColor HoverRowColorTo = platform::clNone;
    TGridSorting Sorting = gsNone;
    TSearchFooter SearchFooter;
    TBands Bands;
    TNavigation Navigation;
    TMouseActions MouseActions;
    TObject* GridImages() const { return FGridImages; }
    void SetGridImages(TObject* value);
    TDropDownStyle Style() const { return FStyle; }
    void SetStyle(TDropDownStyle value);

    TExtGridDropDownGrid* GetGrid() const { return FExtColGrid; }
    // The inner grid's layers (editing, data operations ...), given by the drop-down's owner;
    // without them the inner grid is plain. The events those layers raise for the inner grid
    // reach the drop-down's events of the same meaning (TGridEditLayer::PassEventsTo).
    void SetGridLayers(const TGridLayers& layers);
    int GetItemCount() const override;
    void SetItemIndex(int value) override;
    int GetVersionNr() const override { return 0x06000101; }

    // Prefix search of the lookup column (items, or the grid's data rows without UseItems);
    // case-blind unless CaseSensitive. Row answers the item index or the grid row.
    bool LookupItem(const QString& text, QString& foundText, int& row);
    int ItemOfRow(int row) const;
    int RowOfItem(int item) const;
    // The incremental search of a typed character: the grid row to move to, or -1.
    int DoLookupKey(QChar ch);
    // The grid's incremental narrowing on the lookup column (the grid's data operations): only
    // the data rows whose lookup cell contains the condition, case-blind, stay shown.
    void NarrowDown(const QString& condition);
    void RemoveAllFilters();
    // Around a sort of the inner grid: the selected item keeps its row.
    void GridBeforeSort();
    void GridAfterSort();
    void SizeColumnsToDropDown();

    // Events of the inner grid, passed on.
    std::function<void(QObject*, int& key, TShiftState)> OnGridKeyDown, OnGridKeyUp;
    std::function<void(QObject*, QChar& key)> OnGridKeyPress;
    std::function<void(QObject*, int col, int row, bool state)> OnGridCheckBoxClick;
    std::function<void(QObject*, int row, int col, TAlignment&, TVAlignment&)> OnGridGetAlignment;
    std::function<void(QObject*, int row, int col, TGridDrawState, TColor&, TFontDesc&)> OnGridGetCellColor;
    // Passed on with the inner grid's arguments (Sender the inner grid).
    TExtStringGrid::Event<int, int, TColor&, TColor&, TColor&, TColor&, TCellGradientDirection&> OnGridGetCellGradient;
    // The format string starts empty.
    TExtStringGrid::Event<int, int, bool&, QString&> OnGridGetFloatFormat;
    TExtStringGrid::Event<int, TSortStyle&, QString&, QString&> OnGridGetFormat;
    TExtStringGrid::Event<int, int, QString&> OnGridHint;
    // The drop-down form takes no activation while these two run (they may show a window).
    TExtStringGrid::Event<int, int> OnGridButtonClick;
    TExtStringGrid::Event<int, int, QString&> OnGridEllipsClick;
    TExtStringGrid::Event<int, int, bool&> OnGridCanEditCell;
    TExtStringGrid::Event<int, int, TEditorType&> OnGridGetEditorType;
    TExtStringGrid::Event<int, int, QString&, QString&, TBalloonIcon&> OnGridCellBalloon;
    TExtStringGrid::Event<int, bool&> OnGridColumnSize, OnGridRowSize;
    TExtStringGrid::Event<int> OnGridEndColumnSize, OnGridEndRowSize;
    TExtStringGrid::Event<int, QString&> OnGridScrollHint;
    // Bound to the grid only while assigned, so that the grid's own drawing stays otherwise.
    TExtStringGrid::TCustomCellDrawEvent OnGridCustomCellDraw, OnGridCustomCellBkgDraw;
    TBaseGrid::TGetDisplTextEvent OnGridGetDiplText;
    // The form takes no activation while a link click runs either.
    TExtStringGrid::Event<int, int, const QString&, bool&> OnGridAnchorClick;  // ARow, ACol, Anchor, AutoHandle
    TExtStringGrid::Event<int, int, const QString&> OnGridAnchorEnter, OnGridAnchorExit;
    TExtStringGrid::Event<int, int, QString&> OnGridAnchorHint;
    // Told around a sort by a header click; the selected item keeps its row whatever they do.
    TExtStringGrid::Event<int, bool&> OnGridCanSort;
    TExtStringGrid::Event<int> OnGridClickSort;
    // Stored for the caller that sorts the inner grid itself; the drop-down does not bind them.
    TExtStringGrid::Event<const QString&, const QString&, int&> OnGridCustomCompare;
    TExtStringGrid::Event<int, int, int, int&> OnGridRawCompare;
    TExtStringGrid::Event<int, int> OnGridRightClickCell;  // ARow, ACol
    std::function<void(QObject*, TShiftState, int x, int y)> OnGridMouseMove;
    std::function<void(QObject*, platform::TMouseButton, TShiftState, int x, int y)> OnGridMouseDown, OnGridMouseUp;
    TExtStringGrid::Event<int, int> OnGridColumnSizing, OnGridRowSizing;  // index, size
    TExtStringGrid::Event<int, int, QObject*> OnGridGetEditorProp;
    TExtStringGrid::Event<int> OnGridInsertCol, OnGridInsertRow, OnGridDeleteRow, OnGridAutoAddRow;
    TExtStringGrid::Event<bool&> OnGridCanAddRow;
    TExtStringGrid::Event<int, bool&> OnGridCanInsertRow, OnGridCanDeleteRow;
    TExtStringGrid::Event<int, bool&> OnGridColumnMove, OnGridColumnMoving, OnGridRowMove, OnGridRowMoving;
    TExtStringGrid::Event<int, int> OnGridColumnMoved, OnGridRowMoved;  // from, to
    std::function<void(QObject*)> OnGridTopLeftChanged;  // Sender the drop-down
    TExtStringGrid::Event<const QString&, bool&> OnGridSearchEditChange;  // value, default search
    TExtStringGrid::Event<int, int, int, bool> OnGridSpinClick;  // stored only, as for the compares

    // Runs a call with the drop-down form taking no activation (the call may show a window).
    void WithActivationBlocked(const std::function<void()>& call);

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void AdaptDropDownHeight(int& height) override;
    void DoShowDropDown() override;
    void PlaceDropDownControl() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool cancelChanges) override;
    void DropDownHidden() override;
    void ControlKeyDown(int& key, TShiftState shift) override;
    void ControlKeyUp(int& key, TShiftState shift) override;
    void ControlKeyPress(QChar& key) override;
    void FormSizing() override;
    void SelectNextItem() override;
    void SelectPreviousItem() override;
    void KeyDown(int& key, TShiftState shift) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void NavigationKey(int key, TShiftState shift) override;

private:
    void GridSelectCell(int col, int row);
    void GridSelect();
    void BindGridEvents();
    QString GridLookupCell(int row);
    QPointer<TExtGridDropDownGrid> FExtColGrid;
    TGridLayers FGridLayers;
    TDropDownStyle FStyle = dsDropDown;
    TObject* FGridImages = nullptr;
    int FSelRow = 0;
    int FTempItemIndex = 0;
    bool FLoading = false;
    bool FHidingByCall = false;
    friend class TExtGridDropDownGrid;
};

}  // namespace grid::editors
