#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "grid/core/ExtStringGrid.h"

namespace grid {

class TExtColumnGrid;
class TGridColumnCollection;

enum TColumnPopupType : uint8_t {
    cpFixedCellsRClick, cpFixedCellsLClick, cpNormalCellsRClick, cpNormalCellsLClick, cpAllCellsRClick, cpAllCellsLClick
};

// The description of one real column of a column grid.
class TGridColumnItem {
public:
    explicit TGridColumnItem(TGridColumnCollection* collection);

    int AutoMinSize = 0, AutoMaxSize = 0;
    TCellBorders Borders = 0;
    TPenDesc BorderPen;
    QString CheckFalse = QStringLiteral("N");
    QString CheckTrue = QStringLiteral("Y");
    TObject* ColumnPopup = nullptr;
    TColumnPopupType ColumnPopupType = cpFixedCellsRClick;
    QStringList ComboItems;
    int DropDownCount = 8;
    int EditLength = 0;
    TObject* EditLink = nullptr;
    QString EditMask;
    QStringList Filter;
    bool FilterCaseSensitive = false;
    TFontDesc HeaderFont;
    int MinSize = 0, MaxSize = 0;
    QString Name;
    bool PrintBorderCustom = true;
    TCellBorders PrintBorders = cbTop | cbLeft | cbRight | cbBottom;
    TPenDesc PrintBorderPen{1, clBlack};
    TColor PrintColor = clWhite;
    bool PrintFontCustom = true;
    TFontDesc PrintFont;
    bool ReadOnly = false;
    TSortStyle SortStyle = ssAutomatic;
    QString SortPrefix, SortSuffix;
    int SpinMax = 0, SpinMin = 0, SpinStep = 1;
    int Tag = 0;
    int DefIdx = 0;

    int Index() const;
    TExtColumnGrid* Grid() const;
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    const TFontDesc& Font() const { return FFont; }
    void SetFont(const TFontDesc& value);
    bool Fixed() const { return FFixed; }
    void SetFixed(bool value);
    bool Password() const { return FPassword; }
    void SetPassword(bool value);
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool value);
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType value);
    const QString& FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const QString& value);
    const QString& Header() const { return FHeader; }
    void SetHeader(const QString& value);
    void SetHeaderField(const QString& value) { FHeader = value; }
    // The grid's width of the item's real column; a stored copy keeps its own.
    int Width() const;
    void SetWidth(int value);
    int StoredWidth() const { return FWidth; }
    void SetStoredWidth(int value) { FWidth = value; }

    // Cells of the item's column by row.
    QString Rows(int row) const;
    void SetRows(int row, const QString& value);
    int Ints(int row) const;
    void SetInts(int row, int value);

    void Assign(const TGridColumnItem& source);
    void AssignVisuals(const TGridColumnItem& source);
    QString DisplayName() const;

private:
    void Changed();
    friend class TGridColumnCollection;
    TGridColumnCollection* Collection;
    TAlignment FAlignment = taLeftJustify;
    TAlignment FHeaderAlignment = taLeftJustify;
    TColor FColor = clWindow;
    TFontDesc FFont;
    bool FFixed = false, FPassword = false, FShowBands = false;
    TEditorType FEditor = edNormal;
    QString FFloatFormat;
    QString FHeader;
    int FWidth = 50;
};

// The column items of a column grid, one per real column.
class TGridColumnCollection {
public:
    explicit TGridColumnCollection(TExtColumnGrid* grid) : FGrid(grid) {}

    int Count() const { return int(Items.size()); }
    TGridColumnItem* operator[](int i) const { return i >= 0 && i < Count() ? Items[size_t(i)].get() : nullptr; }
    TGridColumnItem* Add();
    TGridColumnItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TGridColumnItem* item) const;
    void Move(int from, int to);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void Update(TGridColumnItem* item);
    void SetOrganization();
    void ResetOrganization();
    void Assign(const TGridColumnCollection& source);
    TExtColumnGrid* Grid() const { return FGrid; }
    bool NoRecursiveUpdate = false;

private:
    TExtColumnGrid* FGrid;
    std::vector<std::unique_ptr<TGridColumnItem>> Items;
    int FUpdateCount = 0;
};

// What a mouse press on a column's cell asks of the column's popup menu.
struct TColumnPopupRequest {
    int Col = -1;  // the display cell hit
    int Row = -1;
    TObject* Menu = nullptr;
    bool FireEvent = false;  // OnColumnPopup is due
    bool Show = false;       // the menu pops up
    TPoint At;               // bottom-left corner of the cell, client coordinates
};

// The table control of the set-up windows: per-cell behaviour comes from the column items.
class TExtColumnGrid : public TExtStringGrid {
public:
    TExtColumnGrid();
    ~TExtColumnGrid() override;

    TGridColumnCollection& Columns() { return *FColumns; }
    bool AutoFilterDisplay = false;
    Event<int, int> OnAfterColumnMoved;
    Event<int, int, TObject*> OnColumnPopup;  // ACol, ARow (display), the popup menu

    uint32_t GetVersionNr() const override { return 0x03010301; }
    QString GetVersionString() const override;
    void SetColCount(int value) override;
    void SyncColumnCount();
    // SyncColumnCount without the collection's update reaction.
    void SyncColumnCountQuietly();
    void SyncColumnHeaders();
    TGridColumnItem* GetColumnByName(const QString& name) const;
    void Loaded() override;
    bool ColMoving() const { return FColMoving; }
    // Longest text the in-place editor of the current column accepts; 0 = no limit.
    int GetEditLimit() const;
    QString GetEditMask(int c, int r) const;

    // The column stream: the items' stored properties in a self-describing layout.
    void SaveColumnsToStream(TMemoryStream& stream) const;
    void LoadColumnsFromStream(TMemoryStream& stream);
    // Column positions in an INI file, keys "CP" + item index in the section.
    void SaveColumnPositions(const QString& key, const QString& section) const;
    void LoadColumnPositions(const QString& key, const QString& section);

    void InsertCols(int colIndex, int count) override;
    void RemoveCols(int colIndex, int count) override;
    // The grouped column's item is kept while the column is out and comes back with it.
    void Group(int colIndex) override;
    void UnGroup() override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void CalcAllFooters() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // The column popup decision for a press at (x, y); the item is that of the real column.
    TColumnPopupRequest ColumnPopupFor(TMouseButton button, int x, int y) const;
    // Shows the menu; the window layer maps the point to the screen.
    virtual void PopupColumnMenu(TObject*, TPoint) {}

    void GetCellPropDefaults(int c, int r, TCellPropDefaults& d) override;
    void GetFloatFormat(int c, int r, QString& format) override;
    // A whole or decimal number of a column with a float format shows through that format.
    QString GetFormattedCell(int c, int r) override;
    TCellType GetCellType(int c, int r) override;
    TCellGraphic* GetCellGraphic(int c, int r) override;
    void IsFixedCell(int c, int r, bool& isFixed) override;
    void IsCellEditable(int c, int r, bool& canEdit) override;
    void IsPasswordCell(int c, int r, bool& isPassword) override;
    void GetEditorType(int c, int r, TEditorType& editor) override;
    bool HasComboBox(int c, int r) override;
    void GetCheckTrue(int c, int r, QString& value) override;
    void GetCheckFalse(int c, int r, QString& value) override;
    bool IsVirtualCheckColumn(int c) override;
    bool GetColumnFilter(int c) override;
    void UpdateColumnHeaders() override;
    void GetCellColor(int c, int r, TGridDrawState state, TColor& brush, TFontDesc& font) override;
    void GetCellBorder(int c, int r, TPenDesc& pen, TCellBorders& borders) override;
    void GetCellPrintBorder(int c, int r, TPenDesc& pen, TCellBorders& borders) override;
    void GetAlignment(int c, int r, TAlignment& hAlign, TVAlignment& vAlign) override;
    void GetCellFormat(int c, TSortStyle& style, QString& prefix, QString& suffix) override;

    // What the editing code reads after GetEditorType.
    QStringList EditComboItems;
    int EditDropDownCount = 8;
    int SpinMinValue = 0, SpinMaxValue = 0, SpinIncrement = 1;

protected:
    void ColWidthsChanged() override;
    bool IsNormalCell(int c, int r) const;
    bool IsInnerCell(int c, int r) const;

private:
    std::unique_ptr<TGridColumnCollection> FColumns;
    std::unique_ptr<TCellGraphic> FCellGraphic;
    std::unique_ptr<TGridColumnItem> FGroupedItem;
    bool FColMoving = false;
};

}  // namespace grid
