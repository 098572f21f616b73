#pragma once
#include <QString>
#include <QImage>
#include <QStringList>
#include <functional>
#include <vector>

#include "controls/dropdowns/DropDownHeaderFooter.h"
#include "grid/core/GridTypes.h"

namespace grid {

class TObjStringGrid;
class TExtStringGrid;

using TNotifyEvent = std::function<void()>;

// A list of 32-bit integers that belongs to one cell and reports its changes.
class TIntList {
public:
    using TChange = std::function<void(TIntList* sender, int col, int row)>;
    TIntList(int col = -1, int row = -1) : Col(col), Row(row) {}

    int Col;
    int Row;
    TChange OnChange;

    int Count() const { return int(Items.size()); }
    void Add(int value);
    void Insert(int index, int value);  // no notification
    void Delete(int index);
    int GetInteger(int index) const;
    void SetInteger(int index, int value);
    bool HasValue(int value) const;
    void DeleteValue(int value);
    void Clear() { Items.clear(); }
    QString StrValue() const;
    // Replaces the list by the comma-separated integers of the text; a non-integer item raises.
    void SetStrValue(const QString& text);
    const std::vector<int>& Values() const { return Items; }

protected:
    void Changed();
    void CheckIndex(int index) const;
    std::vector<int> Items;
};

// Sort keys: column in bits 0 to 30, bit 31 set for descending.
class TSortIndexList : public TIntList {
public:
    using TIntList::TIntList;
    void AddIndex(int column, bool ascending);
    int FindIndex(int column) const;
    void ToggleIndex(int column);
    int GetSortColumns(int i) const;
    void SetSortColumns(int i, int column);
    bool GetSortDirections(int i) const;
    void SetSortDirections(int i, bool ascending);
    QString SaveToString() const;
    void LoadFromString(const QString& text);
};

enum TAdvanceDirection : uint8_t { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition : uint8_t { pInsertBefore, pInsertAfter };
enum TClipboardPasteAction : uint8_t { paReplace, paInsert };
enum TCursorAdvance : uint8_t { caDefault, caSnake, caLoop };
enum THomeEndAction : uint8_t { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TGridFixedCellEdit : uint8_t { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor : uint8_t { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction : uint8_t { waMoveSelection, waScroll };
enum TSearchDirection : uint8_t { sdTopBottom, sdLeftRight };

// Keyboard, editing-advance and clipboard options.
class TNavigation {
public:
    bool AllowInsertRow = false, AllowDeleteRow = false, AdvanceOnEnter = false;
    bool AutoGotoWhenSorted = false, AutoGotoIncremental = false, AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false, AllowRTFClipboard = false, AllowSmartClipboard = false;
    bool AllowClipboardAlways = false, AllowClipboardColGrow = true, AllowClipboardRowGrow = true;
    TClipboardPasteAction ClipboardPasteAction = paReplace;
    bool CopyHTMLTagsToClipboard = true, AdvanceAutoEdit = true;
    bool CursorWalkEditor = false, CursorWalkAlwaysEdit = true, MoveRowOnSort = false;
    bool KeepScrollOnSort = false, ImproveMaskSel = false, AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = heFirstLastColumn;
    bool KeepHorizScroll = false, AllowFmtClipboard = false, TabToNextAtEnd = false;
    bool EditSelectAll = true;
    TAdvanceDirection TabAdvanceDirection = adLeftRight;
    bool SkipFixedCells = true, SkipDisabledRows = true, AllowCtrlEnter = true;
    bool AppendOnArrowDown = false, LeftRightRowSelect = true, MoveScrollOnly = false;
    bool ComboGetUpDown = true, AdvanceOnEnterLoop = true;
    TCursorAdvance CursorAdvance = caDefault;
    bool AdvanceSkipReadOnlyCells = true, CursorMoveRows = false;
    TNotifyEvent OnChange;

    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool value);
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection value);
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool value);
    void Assign(const TNavigation& source);

private:
    bool FAdvanceAuto = false;
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    bool FAdvanceInsert = false;
};

// Mouse options.
class TMouseActions {
public:
    bool ColSelect = false, RowSelect = false, AllSelect = false, DirectEdit = false;
    bool DirectComboDrop = false, DirectComboClose = false, DirectDateClose = false;
    bool DirectDateDrop = false, AllColumnSize = false, AllRowSize = false, CaretPositioning = false;
    bool SizeFixedCol = false, SizeFixedRow = false;
    TGridFixedCellEdit FixedRowsEdit = fceNone, FixedColsEdit = fceNone;
    TGridFixedCellEditor FixedRowsEditor = fceEdit, FixedColsEditor = fceEdit;
    bool RangeSelectAndEdit = false, NoAutoRangeScroll = false, PreciseCheckBoxCheck = false;
    bool PreciseNodeClick = true, CheckAllCheck = false, NodeAllExpandContract = false;
    bool MoveRowOnNodeClick = false, RowSelectPersistent = false, SelectOnRightClick = false;
    bool NoScrollOnPartialRow = false;
    int WheelIncrement = 0;
    bool AutoSizeColOnDblClick = true, DisjunctRowSelectNoCtrl = false;
    QStringList FixedComboValues;
    TNotifyEvent OnChange, OnInvalidate, OnDisableEdit;
    std::function<void(bool& designing)> OnIsDesigning;

    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool value);
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool value);
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction value);
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool value);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool value);
    // The same option without the setter's side effects.
    void SetDisjunctRowSelectDirect(bool value) { FDisjunctRowSelect = value; }
    void Assign(const TMouseActions& source);

private:
    bool Designing() const;
    bool FHotmailRowSelect = false, FEditOnDblClickOnly = false;
    TWheelAction FWheelAction = waMoveSelection;
    bool FDisjunctRowSelect = false, FDisjunctColSelect = false, FDisjunctCellSelect = false;
};

// Alternating row colours.
class TBands {
public:
    bool Print = false;
    TNotifyEvent OnChange;
    bool Active() const { return FActive; }
    void SetActive(bool value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int value);
    int TotalLength() const { return FPrimaryLength + FSecondaryLength; }
    void Assign(const TBands& source);

private:
    bool FActive = false;
    TColor FPrimaryColor = clInfoBk, FSecondaryColor = clWindow;
    int FPrimaryLength = 1, FSecondaryLength = 1;
};

// A grid kept in step with its owner.
class TSyncGrid {
public:
    explicit TSyncGrid(TObjStringGrid* owner) : Owner(owner) {}
    TObjStringGrid* Owner;
    bool ScrollHorizontal = false, ScrollVertical = false, SelectionRow = false;
    bool SelectionColumn = false, MoveRow = false, MoveColumn = false;
    TObjStringGrid* Grid() const { return FGrid; }
    void SetGrid(TObjStringGrid* value);
    void Assign(const TSyncGrid& source);

private:
    TObjStringGrid* FGrid = nullptr;
};

class TFocusHelper {
public:
    bool Enabled = false;
    void Assign(const TFocusHelper& source) { Enabled = source.Enabled; }
};

// The find bar at the grid's foot (settings only here).
class TSearchFooter {
public:
    explicit TSearchFooter(bool design = false);
    bool ShowFindPrev = true, ShowFindNext = true, Visible = false, AutoThemeAdapt = false;
    bool ShowClose = true, ShowHighLight = true, ShowMatchCase = true, AutoSearch = true;
    QString FindNextCaption, FindPrevCaption, MatchCaseCaption, HighLightCaption;
    QString HintClose, HintFindPrev, HintHighlight, HintFindNext, LastSearch;
    TColor Color = clWhite, ColorTo = clBtnFace;
    TFontDesc Font;
    int SearchColumn = -1;
    bool SearchActiveColumnOnly = false, SearchMatchStart = false, SearchFixedCells = false;
    bool SearchHiddenRows = false, AlwaysHighLight = false;
    TSearchDirection SearchDirection = sdTopBottom;
    TNotifyEvent OnChange;
};

// A picture an appearance object owns; painting reads it, an empty one draws nothing.
using TGlyph = QImage;

enum TNodeType : uint8_t { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

// Look of row nodes.
class TCellNode {
public:
    TColor Color = clSilver;
    TNodeType NodeType = cnXP;
    TColor NodeColor = clBlack;
    bool ExpandOne = false;
    bool ShowTree = true;
    bool ShowTreeFull = true;
    int NodeIndent = 12;
    TColor TreeColor = clGray;
    // The node buttons of the cnGlyph look; both must be set for them to show.
    TGlyph ExpandGlyph, ContractGlyph;
    void Assign(const TCellNode& source) { *this = source; }
};

enum TControlStyle : uint8_t { csClassic, csFlat, csWinXP, csBorland, csVUR, csGlyph, csTheme };

enum TSortDirection : uint8_t { sdAscending, sdDescending };

// What the header shows of the sort order: the sorted column's glyph in row Row, and with
// IndexShow a numbered glyph on every column of a multi-column sort.
struct TSortShowSettings {
    int Column = -1;  // real column; -1: none
    int Row = 0;
    bool Show = false;
    bool IndexShow = false;
    bool FixedCols = false;  // fixed columns may show the glyph too
    TSortDirection Direction = sdAscending;
    TGlyph UpGlyph, DownGlyph;
    TGlyph IndexUpGlyph, IndexDownGlyph;
    TColor IndexColor = platform::clYellow;
};

// Look of the filter value list, and the filter button of the filter row (an empty Glyph shows the
// built-in funnel). The grid's OnChange repaints it; changing a glyph through its setter tells it.
class TFilterDropDown {
public:
    bool AutoSize = false;
    TColor Color = clWindow;
    bool ColumnWidth = false;
    TFontDesc Font;
    int Height = 150;
    int Width = 150;
    TGlyph Glyph;
    TGlyph GlyphActive;
    TNotifyEvent OnChange;
    void SetGlyph(const TGlyph& value);
    void SetGlyphActive(const TGlyph& value);
    // Everything but AutoSize and OnChange.
    void Assign(const TFilterDropDown& source);
};

// Appearance of check boxes, radio buttons, in-cell buttons and the fixed-cell gradients.
// The gradient setters hand their colour on to the grid's own fixed-cell gradient, which painting
// reads; the plain fields are read by painting as they stand.
class TControlLook {
public:
    explicit TControlLook(TExtStringGrid* grid = nullptr);
    ~TControlLook();
    TControlLook(const TControlLook&) = delete;
    TControlLook& operator=(const TControlLook&) = delete;

    int CheckSize = 15;
    int RadioSize = 10;
    TControlStyle ControlStyle = csTheme;
    TColor Color = 0;
    bool FlatButton = false;
    int ProgressMarginX = 2, ProgressMarginY = 2;
    bool ProgressXP = false;
    bool CheckAlwaysActive = false;
    bool RadioAlwaysActive = false;
    bool DropDownAlwaysVisible = false;
    bool SpinButtonsAlwaysVisible = false;
    bool NoDisabledCheckRadioLook = false, NoDisabledButtonLook = false;
    TColor CommentColor = 0x0000FF;
    TColor ProgressBorderColor = clGray;
    bool FixedDropDownButton = false;
    int DropDownCount = 8;
    int HintMaxWidth = 0;
    TGlyph UnCheckedGlyph, CheckedGlyph, RadioOffGlyph, RadioOnGlyph;
    // Header and footer of the drop-down editors, copied into each before use.
    dropdowns::THeaderAppearance DropDownHeader;
    dropdowns::TFooterAppearance DropDownFooter;

    // Setters that repaint the grid, changed value or not.
    void SetCheckSize(int value);
    void SetRadioSize(int value);
    void SetControlStyle(TControlStyle value);
    void SetColor(TColor value);
    void SetFlatButton(bool value);
    void SetCommentColor(TColor value);
    void SetGlyphs(const TGlyph& unChecked, const TGlyph& checked, const TGlyph& radioOff, const TGlyph& radioOn);

    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    // A colour of clNone is kept here but leaves the grid's gradient as it was; the mirror colours
    // pass on clNone too.
    void SetFixedGradientFrom(TColor value);
    void SetFixedGradientTo(TColor value);
    void SetFixedGradientMirrorFrom(TColor value);
    void SetFixedGradientMirrorTo(TColor value);
    void SetFixedGradientHoverFrom(TColor value);
    void SetFixedGradientHoverTo(TColor value);
    void SetFixedGradientHoverMirrorFrom(TColor value);
    void SetFixedGradientHoverMirrorTo(TColor value);
    void SetFixedGradientHoverBorder(TColor value);
    void SetFixedGradientDownFrom(TColor value);
    void SetFixedGradientDownTo(TColor value);
    void SetFixedGradientDownMirrorFrom(TColor value);
    void SetFixedGradientDownMirrorTo(TColor value);
    void SetFixedGradientDownBorder(TColor value);

    // The colours a new look starts with; styles reset them with it.
    void Init();
    // Copies everything but the flat-button, themed-progress, disabled-look and fixed drop-down
    // flags; the gradient colours go field to field, without touching the grid.
    void Assign(const TControlLook& source);

private:
    void Repaint();
    TExtStringGrid* FGrid;
    TColor FFixedGradientFrom = clNone, FFixedGradientTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone, FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientHoverFrom = clGray, FFixedGradientHoverTo = clWhite;
    TColor FFixedGradientHoverMirrorFrom = clNone, FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientHoverBorder = clSilver;
    TColor FFixedGradientDownFrom = clGray, FFixedGradientDownTo = clSilver;
    TColor FFixedGradientDownMirrorFrom = clNone, FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownBorder = clGray;
};

// Look of group header and summary rows.
class TGrouping {
public:
    bool MergeHeader = false, MergeSummary = false;
    bool Summary = false;  // a summary row under each group
    TColor HeaderColor = clNone, HeaderColorTo = clNone, HeaderTextColor = clNone;
    TColor SummaryColor = clNone, SummaryColorTo = clNone, SummaryTextColor = clNone;
    bool AutoSelectGroup = false, AutoCheckGroup = false;
    bool ShowGroupCount = false;
    QString GroupCountFormat;
    bool HeaderUnderline = false, SummaryLine = false;
    TColor HeaderLineColor = 0xFF0000, SummaryLineColor = 0xFF0000;
    int HeaderLineWidth = 2, SummaryLineWidth = 2;
    // Neither Summary nor the line colours and widths.
    void Assign(const TGrouping& source);
};

// Marking of rows whose check box the user toggled.
class TShowModified {
public:
    bool Enabled = false;
    TNotifyEvent OnChange;
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    void Assign(const TShowModified& source);

private:
    TColor FColor = 0x00FFFF;
};

enum TColumnSizeLocation : uint8_t { clRegistry, clIniFile };

enum TAutoSizeRows : uint8_t { arAll, arNormal, arFixed };

class TColumnSize {
public:
    TAutoSizeRows Rows = arAll;
    bool Save = false;
    QString Key, Section;
    bool Stretch = false;
    int StretchColumn = -1;
    bool SynchWithGrid = false, SynchNormalCellsOnly = false;
    TColumnSizeLocation Location = clRegistry;
    void Assign(const TColumnSize& source) { *this = source; }
};

}  // namespace grid
