#pragma once
#include <QDate>
#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "grid/core/BaseGrid.h"
#include "grid/core/EsgCheck.h"
#include "grid/core/GridDataOps.h"
#include "grid/core/GridDataSettings.h"
#include "grid/core/GridEditLayer.h"
#include "grid/core/GridLayers.h"
#include "platform/Clock.h"
#include "platform/HintWindow.h"
#include "grid/core/GridFooter.h"
#include "grid/core/GridLook.h"
#include "grid/core/GridOwned.h"
#include "grid/core/GridSettings.h"
#include "grid/core/GridStream.h"
#include "controls/common/EsgHTMLE.h"
#include "controls/common/ExtStyleIF.h"
#include "controls/common/PictureContainer.h"

namespace grid {

enum TCellShape : uint8_t;

namespace helpers {
class TArrowWindow;
class THeaderDragButton;
}  // namespace helpers
using helpers::TArrowWindow;
using helpers::THeaderDragButton;

class TExtStringGrid;

// Which fixed cells light up under the mouse.
enum THoverFixedCells : uint8_t { hfNone, hfAll, hfFixedRows, hfFixedColumns };

// Told of every change of cells a grid reports; the base does nothing.
class TGridChangeNotifier : public TObject {
public:
    virtual void CellsChanged(const TGridRect&) {}
};

// A hidden row put aside: its whole row (texts and cell records of every real column), its
// height and the filter level that hid it. Idx is the real row, or for a filter level the row in
// the grid of the level above.
struct TGridItem {
    int Idx = 0;
    int Height = 0;
    int Level = 0;
    bool Filtered = false;  // hidden by a filter level, not by a hide request
    TGridRowData Row;
    QString Parked;  // the text of a column taken away while the row was hidden
};

// Which scroll bars show the position hint while their thumb is dragged.
enum TScrollHints : uint8_t { shNone, shVertical, shHorizontal, shBoth };
// Which scroll bars stay shown, disabled, while all rows (columns) fit.
enum TScrollBarAlways : uint8_t { saNone, saVert, saHorz, saBoth };
// Directions the wheel-pan mark offers.
enum TIntelliPan : uint8_t { ipVertical, ipHorizontal, ipBoth, ipNone };
// Where a drag over the grid is: entering, leaving or moving over it.
enum TDragOverState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
// Set of drag-scroll directions.
using TDragScrollDirection = uint8_t;
enum : uint8_t { dsdUp = 1, dsdDown = 2, dsdLeft = 4, dsdRight = 8 };

// Scrolling while a drag rests near the grid's edges: after InitialDelay, then every RepeatDelay
// (ms), one row or column towards the margin the mouse is in (pixels from each edge).
struct TDragScrollOptions {
    bool Active = false;
    int InitialDelay = 1000, RepeatDelay = 250;
    int TopMargin = 50, BottomMargin = 50, LeftMargin = 50, RightMargin = 50;
};

// A borderless, translucent window that never takes the activation and shows one picture.
class TSelectionForm : public QWidget {
public:
    explicit TSelectionForm(const QImage& image);
    const QImage& Image() const { return FImage; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage FImage;
};

// The full table control, headless: typed cell access, selection, hidden columns and rows with
// the display-to-real mapping, per-cell queries, cell graphics, check boxes, row nodes and the
// grid's own cell stream. Painting and input handling are empty hooks here.
class TExtStringGrid : public TBaseGrid {
public:
    template <typename... A>
    using Event = std::function<void(TExtStringGrid*, A...)>;

    TExtStringGrid();
    ~TExtStringGrid() override;

    // Owned settings objects.
    TNavigation Navigation;
    TMouseActions MouseActions;
    TSearchFooter SearchFooter;
    TBands Bands;
    TSyncGrid SyncGrid{this};
    TFocusHelper FocusHelper;
    TCellNode CellNode;
    TControlLook ControlLook{this};
    TGrouping Grouping;
    TPrintSettings PrintSettings{this};
    THTMLSettings HTMLSettings;
    TFilter Filter{this};
    // Corrects or marks texts when cells are checked or edited; none when it is gone.
    QPointer<TExtStringGridCheck> CellChecker;
    TShowModified ShowModified;
    TColumnSize ColumnSize;

    // Owned child windows, made hidden with the grid.
    const std::unique_ptr<TFooterPanel> FooterPanel = std::make_unique<TFooterPanel>(this);
    const std::unique_ptr<TSearchPanel> SearchPanel = std::make_unique<TSearchPanel>(this);
    // Copies the search footer's captions and shown buttons into the search panel, shows or hides
    // it (32 pixels high at the foot, else 0) and lets Alt with a button's accelerator press it.
    void UpdateSearchPanel();
    // The search panel's find next, find previous and highlight, run by the data operations.
    virtual void SearchPanelForwardClick();
    virtual void SearchPanelBackwardClick();
    virtual void SearchPanelHighlightClick();
    // An accelerator key of the form: while the search footer shows, the first of the forward,
    // backward and highlight buttons that is shown, enabled and has it for its accelerator is
    // pressed. Answers whether one was.
    bool HandleDialogChar(QChar key);
    const std::unique_ptr<TGridFocusWindow> FocusWindow = std::make_unique<TGridFocusWindow>(this);
    std::array<std::unique_ptr<TArrowWindow>, 4> ArrowWindows;
    const std::unique_ptr<TGridCombo> EditCombo = std::make_unique<TGridCombo>(this);
    const std::unique_ptr<TGridTransEdit> TransEdit = std::make_unique<TGridTransEdit>(this);
    const std::unique_ptr<TGridTransCombo> TransCombo = std::make_unique<TGridTransCombo>(this);
    const std::unique_ptr<TGridCheckBox> EditCheck = std::make_unique<TGridCheckBox>(this);
    const std::unique_ptr<TGridEditBtn> EditBtn = std::make_unique<TGridEditBtn>(this);
    const std::unique_ptr<TGridUnitEditBtn> UnitEditBtn = std::make_unique<TGridUnitEditBtn>(this);
    const std::unique_ptr<TGridButton> GridButton = std::make_unique<TGridButton>(this);
    // The moving button; the arrows and it are windows of their own, shown only during a move.
    std::unique_ptr<THeaderDragButton> HeaderDragButton;
    const std::unique_ptr<TControlEdit> ControlEdit = std::make_unique<TControlEdit>(this);
    const std::unique_ptr<TControlCombo> ControlCombo = std::make_unique<TControlCombo>(this);
    const std::unique_ptr<TGridScrollBar> CellScrollBar = std::make_unique<TGridScrollBar>(this);
    const std::unique_ptr<TGridScrollBar> PaintScrollBar = std::make_unique<TGridScrollBar>(this);
    // Editors made on first use.
    TGridSpin* SpinEdit();
    TGridDatePicker* DatePicker();
    TGridDateTimePicker* DateTimePicker();
    TExtRichEdit* RichEdit();
    TExtRichEdit* RichEditPrint();
    TGridDropDown* DropDown(TGridDropDownKind kind);
    bool HasDropDown(TGridDropDownKind kind) const { return FDropDowns[kind] != nullptr; }
    // Where the grid's client origin lies on the screen; the window layer keeps it.
    TPoint ScreenOrigin;

    // Notifiers, each once, told in the order they came.
    void RegisterNotifier(TGridChangeNotifier* notifier);
    void UnRegisterNotifier(TGridChangeNotifier* notifier);

    // Position and size of the control. With IntegralHeight the height is cut to whole rows.
    TRect BoundsRect{0, 0, 400, 250};
    bool SingleBorder = true;
    static constexpr int ScrollBarHeight = 17;
    virtual void SetBounds(int left, int top, int width, int height);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value);

    // Completes the grid after a stored form was applied.
    virtual void Loaded();
    bool IsLoaded() const { return FLoaded; }

    // Defaults of a new grid.
    QString CheckTrue = QStringLiteral("Y");
    QString CheckFalse = QStringLiteral("N");
    QString FloatFormat = QStringLiteral("%.2f");
    QChar PasswordChar = '*';
    QString XMLEncoding = QStringLiteral("ISO-8859-1");
    QString FilterDropDownClear = QStringLiteral("(All)");
    TColor ActiveCellColor = clGray;
    TColor ActiveCellColorTo = clNone;
    TColor DisabledFontColor = clSilver;
    bool UseDisabledFont = true;
    TEditorType DefaultEditor = edNormal;
    // The application's editor of edCustom cells (an editor link), not owned; a column grid
    // takes it from the cell's column.
    TObject* EditLink = nullptr;
    TAlignment DefaultAlignment = taLeftJustify;
    TVAlignment VAlignment = vtaTop;
    TPoint XYOffset{2, 2};
    TColor SelectionColor = 0xEACAB6;
    TColor SelectionTextColor = 0;
    bool ShowSelection = true;
    TColor SelectionColorTo = clNone, SelectionMirrorColor = clNone, SelectionMirrorColorTo = clNone;
    int SelectionColorMixerFactor = 50;
    TColor SelectionRectangleColor = 0;
    TColor HintColor = clInfoBk;
    // The colours of highlighted text; a change goes to the HTML renderer and repaints.
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value);
    TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(TColor value);
    // Also repaints the shown floating footer, which paints in the grid's colour past the columns.
    void ColorChanged() override;
    // The colour of the four drop-position arrows, read from the up arrow.
    TColor ArrowColor() const;
    void SetArrowColor(TColor value);
    TColor BorderColor = 0xB99D7F;
    TColor VURGradientFrom = clWhite, VURGradientTo = 0xF0F0F0;
    TColor VURGradientMirrorFrom = clNone, VURGradientMirrorTo = clNone;
    TColor ScrollColor = clNone;
    TColor URLColor = 0xFF0000;
    TFontDesc FixedFont{QStringLiteral("Tahoma"), 8, fsBold, clBlack};
    bool EnableWheel = true, IntelliZoom = true;
    bool QuoteEmptyCells = true, AlwaysQuotes = false, LoadFirstRow = true;
    bool FilterNormalCellsOnly = true, AutoFilterUpdate = true;
    bool SizeGrowOnly = false, FitCellsInGrid = true, ShowDesignHelper = true, UseInternalHintClass = true;
    // Hints over the cells: the cell's text, its raw HTML, or the whole text of a cut-off cell.
    bool HintShowCells = false, HTMLHint = false, HintShowLargeText = false, AnchorHint = false;
    bool ExcelClipboardFormat = false, JavaCSV = false, NoDefaultDraw = false, ClearTextOnly = false;
    QChar Delimiter;  // none: chosen from the text
    bool OemConvert = false;  // CSV files in the DOS code page
    int ZoomFactor = 0;
    int PrintPageFrom = 1, PrintPageTo = 1;
    bool EnableHTML = true;
    bool ShowNullDates = true;
    bool SaveFixedCells = true, SaveFixedRows = false, SaveFixedCols = false;
    bool SaveHiddenCells = false, SaveVirtCells = true, SaveWithHTML = true, SaveWithRTF = true;
    // The plain text of an RTF cell text, read by the editing layer (the text itself without one).
    QString RichTextToPlain(const QString& rtf);
    // Whether display cell (c, r) is in the list of cells picked one by one (DisjunctCellSelect);
    // the editing layer keeps the list.
    virtual bool IsDisjunctCellSelected(int c, int r);
    bool Multilinecells = false;
    // Automatic numbering: data rows (columns) left unnumbered, a number added to all, direction.
    int AutoNumberStart = 0, AutoNumberOffset = 0;
    TSortDirection AutoNumberDirection = sdAscending;
    // Multiplies every printed font height; printing sets it while it fits pages.
    double Fontscalefactor = 1.0;
    bool EnhRowColMove = true;
    bool FixedRowAlways = false;
    bool FixedColAlways = false;
    int FixedFooters = 0;
    int FixedRightCols = 0;
    int MinRowHeight = 0, MaxRowHeight = 0, MinColWidth = 0, MaxColWidth = 0;
    // The grouped column (real index), -1 when not grouped. Writing -1 ungroups, a value above 0
    // groups on that column; 0 and values below -1 do nothing.
    int GroupColumn() const { return Grouped.Column; }
    void SetGroupColumn(int value);
    // What grouping remembers of the grouped column, and whether rows are being regrouped now.
    struct TGroupState {
        int Column = -1;
        int Width = 0;
        QString Caption, Footer;
        bool IsGrouping = false;
    } Grouped;
    bool URLShowInText = false;
    TObject* GridImages = nullptr;  // the image list; image cells do nothing without it
    // Mark-up cells (with EnableHTML): named pictures of their image tags (not owned; none by
    // default) and the pictures loaded from the program's resources, each loaded once.
    controls::TPictureContainer* PictureContainer = nullptr;
    controls::THTMLPictureCache& ImageCache() { return FImageCache; }
    // True when the text is drawn as mark-up: EnableHTML and the text kind is HTML.
    bool IsHTMLText(const QString& text) const;
    // The renderer's settings for this grid's cells and hints: its images, pictures, URL colour
    // and blink phase; no point to test.
    controls::THTMLRenderInput HTMLRenderInput() const;
    // The anchor of the mark-up cell (c display column, r row) under the grid point (x, y), laid
    // out as the cell is painted; false when there is none.
    bool HTMLAnchorAt(int c, int r, int x, int y, QString& anchor, QString& title);
    // The renderer's hit test of that cell laid out as painted: what lies under (x, y), or with a
    // control ID, where that form control is. False when the cell holds no mark-up or nothing is hit.
    bool HTMLHitAt(int c, int r, int x, int y, const QString& controlID, controls::THTMLRenderResult& out);
    // Anchors under the mouse: with URLUnderlineOnHover only the hovered one is underlined; the
    // hovered one takes these colours (clNone: unchanged).
    TColor URLHoverColor = clNone, URLHoverTextColor = clNone;
    // The cell (display) and 1-based anchor the mouse is on; (-1, -1) and 0 when none.
    TGridCoord HoverAnchorCell() const { return FHoverAnchorCell; }
    int HoverAnchorLink() const { return FHoverAnchorLink; }
    // The form control BUTTON held down: its cell (display) and the point pressed, drawn pressed
    // while set; (-1, -1) when none.
    void SetCellControlDown(TGridCoord cell, QPoint at);
    TGridCoord CellControlDown() const { return FCellControlDown; }
    // Animated pictures of mark-up cells move on every AnimationInterval ms while a cell shows one.
    static constexpr int AnimationInterval = 100;
    bool Animating() const { return FAnimTimer.IsActive(); }
    // One animation step of the grid's pictures; cells showing pictures repaint when a frame changed.
    void AnimatePictures();
    QStringList ColumnHeaders;
    QStringList RowHeaders;
    bool FilterDropDownAuto = false;
    bool FilterDropDownCheck = false;  // the check list (several values) instead of the single-choice list
    bool FilterDropDownAllColumns = false;  // fdAll: fixed columns offer filter values too
    bool FilterIncremental = false;
    QStringList FilterList;  // the values a column's filter drop-down offers

    // Look of the cells as data: colours and font descriptions that painting selects.
    bool ActiveCellShow = false;
    TFontDesc ActiveCellFont{QStringLiteral("Tahoma"), 8, fsBold, clBlack};
    TColor FixedColor = clBtnFace;

    // Look: presets, styles, themes, colour tones, the appearance objects and the floating footer.
    TGridProgressAppearance ProgressAppearance;
    TBackGround BackGround{this};
    TSizeWhileTyping SizeWhileTyping;
    TSortSettings SortSettings{this};
    // Sort order shown in the headers: the sorted columns and their directions.
    TSortIndexList SortIndexes;
    // Columns whose equal cells stay merged down the rows: a change splits every column's merged
    // cells and merges the listed ones again, the first with the main-merge flag.
    TIntList MergedColumns;
    void SplitAllColumnCells();
    void RemergeColumnCells();
    int FilterDropDownRow = 0;
    // Takes only a fixed row, then repaints.
    void SetFilterDropDownRow(int value);
    TFilterDropDown FilterDropDown;
    TGlyph RowIndicator;  // drawn in column 0 of the current row
    // Whether the header cell at display column c, row r shows a sort glyph.
    bool IsSortHeaderCell(int c, int r);
    // The glyph of column c centred near (x, y): an index glyph with IndexShow, else the direction.
    void DrawSortIndicator(platform::TCanvas& canvas, int c, int y, int x);
    TBalloonSettings Balloon;
    TFloatingFooter FloatingFooter{this};
    TGridLook Look() const { return FLook; }
    void SetLook(TGridLook value);
    bool Flat = false;
    TSelectionStyle SelectionStyle = ssDefault;
    // Set only through SetScrollType: it swaps the platform bars and the Metro bars together.
    TScrollType ScrollType() const { return FScrollType; }
    bool SelectionColorMixer = false, SelectionRectangle = false, SelectionResizer = false;
    TColor VURGradientHoverFrom = clGray, VURGradientHoverTo = clWhite;
    TColor VURGradientHoverMirrorFrom = clNone, VURGradientHoverMirrorTo = clNone;
    TColor VURGradientHoverBorder = clSilver;
    TColor VURGradientDownFrom = clGray, VURGradientDownTo = clSilver;
    TColor VURGradientDownMirrorFrom = clNone, VURGradientDownMirrorTo = clNone;
    TColor VURGradientDownBorder = clGray;
    bool URLShow = false, URLFull = false, URLUnderlineOnHover = false, URLEdit = false;
    void SetURLShow(bool value);
    void SetURLShowInText(bool value);
    void SetURLColor(TColor value);
    void SetURLFull(bool value);
    virtual void SetStyle(TExtGridStyle style);
    void SetComponentStyle(controls::TSuiteStyle style);
    controls::TSuiteStyle ComponentStyle() const { return FComponentStyle; }
    void SetTheme(TXPColorScheme scheme);
    // Follows the detected office colour scheme when it differs from the last one seen.
    void ThemeAdapt();
    void SetColorTones(const controls::TColorTones& tones);
    const controls::TColorTones& ColorTones() const { return FColorTones; }
    void SetSelectionColor(TColor value);
    void SetSelectionColorTo(TColor value);
    void SetSelectionMirrorColor(TColor value);
    void SetSelectionMirrorColorTo(TColor value);
    void SetSelectionTextColor(TColor value);
    void SetSelectionColorMixer(bool value);
    void SetSelectionRectangle(bool value);
    void SetSelectionResizer(bool value);
    void SetSelectionColorMixerFactor(int value);
    void SetShowSelection(bool value);
    void SetFlat(bool value);
    // Sizes all columns to their contents when turned on.
    bool AutoSize = false;
    void SetAutoSize(bool value);
    void SetVAlignment(TVAlignment value);
    int VAlignmentFlag() const { return FVAlignmentFlag; }
    int MaxEditLength() const { return FMaxEditLength; }
    // Also the limit of an open text editor: the editing layer hears EditorSettingsChanged.
    void SetMaxEditLength(int value);
    // What the editing layer hands its editors. SetColorTones fills the button colours of the
    // ellipsis, combo, spin and date-picker editors (Tones true) and gives the drop-down editors
    // the grid's tones; SetComponentStyle and the looks name the drop-down editors' style.
    struct TEditorLooks {
        bool Tones = false;
        TColor ButtonColor = clNone, HotColor = clNone, DownColor = clNone, BorderColor = clNone;
        TColor ComboBorderColor = clNone;
        bool ComboFlat = false;
        TColor DatePickerBorderColor = clNone;
        bool DatePickerMetro = false;
        bool DropDownStyleSet = false;
        controls::TSuiteStyle DropDownStyle = controls::tsCustom;
    };
    const TEditorLooks& EditorLooks() const { return FEditorLooks; }
    bool SpreadSheet() const { return FSpreadSheet; }
    void SetSpreadSheet(bool value);
    TScrollControl* ScrollControl(TScrollDirection direction) const { return FScrollControls[direction].get(); }
    void CreateScrollControls();
    void FreeScrollControls();
    // Docks the Metro bars at the right and bottom edges of the client area.
    void PlaceScrollControls();

    // Floating footer: its cells, their calculation and the panel's repaint.
    virtual void CalcFooter(int c) { DoCalcFooter(c); }
    void UpdateFooter() { FooterPanel->Invalidate(); }
    TCalcFooterEvent OnFooterCalc;
    Event<int, platform::TCanvas&, TRect> OnFooterPaint;  // AColumn, canvas, rectangle
    std::function<void(TExtStringGrid*)> OnCreatedFloatingFooter;
    std::function<void(TExtStringGrid*)> OnClick;
    Event<int, int> OnClickCell;  // ARow, ACol
    // Column statistics of real column c over rows fromRow .. toRow; -1 for either takes the data
    // rows between the header and footer rows. crAuto counts display rows unless the range reaches
    // past them (then real rows, hidden ones included); the footer names the kind it means.
    // Node, summary and covered merged cells stay out; a text that is no number is skipped, except
    // that Min and Max raise on the first row and StdDev on any row. Avg divides by every row.
    enum TCalcRows : uint8_t { crAuto, crDisplay, crReal };
    double ColumnSum(int c, int fromRow, int toRow, TCalcRows rows = crAuto);
    double ColumnAvg(int c, int fromRow, int toRow, TCalcRows rows = crAuto);
    double ColumnMin(int c, int fromRow, int toRow, TCalcRows rows = crAuto);
    double ColumnMax(int c, int fromRow, int toRow, TCalcRows rows = crAuto);
    double ColumnStdDev(int c, int fromRow, int toRow, TCalcRows rows = crAuto);
    // The number of distinct texts, letter case ignored.
    double ColumnDistinct(int c, int fromRow, int toRow, TCalcRows rows = crAuto);
    // The handler's result, starting from 0; 0 without a handler.
    double ColumnCustomCalc(int c, int fromRow, int toRow);
    double GroupCustomCalc(int c, int fromRow, int toRow);
    Event<int, int, int, double&> OnColumnCalc, OnGroupCalc;  // ACol, FromRow, ToRow, Res
    // Whether a display cell shows as selected: never a fixed one; else by the disjunct cell, row
    // or column selection in force, or the selection rectangle.
    bool IsSelected(int c, int r);

    // Text placement and measures. The offsets the cell text keeps from the cell's edges.
    int TotalXOffset() const { return XYOffsetTopLeftOnly ? XYOffset.X : 2 * XYOffset.X; }
    int TotalYOffset() const { return XYOffsetTopLeftOnly ? XYOffset.Y : 2 * XYOffset.Y; }
    // The most lines a shown cell of the row holds (1 without Multilinecells).
    int MaxLinesInRow(int r);
    // Moves rect's top-left to where text rotated by angle degrees starts, measured in the grid's
    // font (MeasureText), inside rect shrunk by 2 and aligned as asked.
    void RotatedTextRect(TRect& rect, int angle, const QString& text, TAlignment hAlign, TVAlignment vAlign);
    // Invalidates the screen area from the cell (or merged area) of r's top-left to that of its
    // bottom-right.
    void InvalidateGridRect(const TGridRect& r);

    // Balloons and row hooks.
    Event<int, int, QString&, QString&, TBalloonIcon&> OnCellBalloon;  // ACol, ARow, title, text, icon
    // The balloon of the cell under client point (x, y), or of no cell; nothing without Balloon.Enable.
    bool BalloonTextAt(int x, int y, TBalloonText& balloon);
    TGridCoord LastBalloonCell() const { return FLastBalloonCell; }
    // The window that shows the balloon of the cell under the resting mouse; null until one shows.
    platform::THintWindow* BalloonWindow() const;
    Event<int, int, int, int> OnSelectionChanged;  // ALeft, ATop, ARight, ABottom
    Event<int, int, TGridFixedCellEditor&, QStringList&> OnFixedEdit;  // ACol, ARow
    Event<int> OnAutoDeleteRow;
    std::function<void(TExtStringGrid*)> OnFilterDone;
    virtual void FixedEdit(int c, int r, TGridFixedCellEditor& editor, QStringList& values);
    virtual void SelectionChanged(int left, int top, int right, int bottom);
    virtual void EditTextHook(const QString&, int, int) {}
    virtual void InsertRowAuto(int r);
    virtual void DeleteRowAuto(int r);
    virtual void FilterDone();
    virtual void GetFilterCellText(int c, int r, QString& value);
    bool SelectionChangedNoted() const { return FSelectionChanged; }

    // Events.
    Event<int, int, TGridDrawState, TColor&, TFontDesc&> OnGetCellColor, OnGetCellPrintColor;  // ARow, ACol
    Event<int, int, TPenDesc&, TCellBorders&> OnGetCellBorder, OnGetCellPrintBorder;          // ARow, ACol
    Event<int, int, TAlignment&, TVAlignment&> OnGetAlignment;                                 // ARow, ACol
    Event<int, TSortStyle&, QString&, QString&> OnGetFormat;                                   // ACol
    Event<int, int, bool&> OnGetWordWrap;                                                      // ACol, ARow
    Event<int, int, QString&> OnGridHint, OnGridWideHint;                                      // ARow, ACol
    Event<int, int> OnButtonClick;                                                             // ACol, ARow
    Event<int, int, bool> OnExpandClick;                                                       // ACol, ARow
    Event<int, int> OnComboCloseUp, OnComboDropDown;                                           // ARow, ACol
    Event<int, int, const QDateTime&> OnDateTimeChange;                                        // ACol, ARow
    Event<int, int, const QString&> OnEditChange;                                              // ACol, ARow
    Event<> OnRichEditSelectionChange;
    // The unit editor picked a new unit: OnUnitChanged with the current column and row.
    void UnitChanged(const QString& newUnit);
    Event<int, int> OnDatePickerCloseUp, OnDatePickerDropDown;                                 // ARow, ACol
    Event<int, int, bool&> OnCanEditCell;  // ARow, ACol
    Event<int, int, QCursor&> OnGetCellCursor;  // ACol, ARow (display)
    virtual void GetCellCursor(int c, int r, QCursor& cursor);
    Event<int, int, bool&> OnIsFixedCell;  // ARow, ACol
    Event<int, int, bool&> OnIsPasswordCell;
    Event<int, int, TEditorType&> OnGetEditorType;  // ACol, ARow
    Event<int, int, QString&> OnGetCheckTrue, OnGetCheckFalse;
    Event<int, int, bool&> OnHasComboBox, OnHasSpinEdit;
    Event<int, int, bool> OnCheckBoxChange, OnCheckBoxClick;
    Event<int, bool, bool&> OnRowDisjunctSelect;
    Event<int> OnRowDisjunctSelected;
    Event<int, int, QString&> OnSaveCell, OnLoadCell;
    // The percentage done of a long file read or write, told when it changes.
    Event<short> OnFileProgress;
    Event<const TGridRect&> OnCellsChanged;
    Event<int, int, int> OnRadioButtonClick;
    // Keyboard and mouse events of the editing layer.
    Event<int, int> OnDblClickCell, OnRightClickCell;              // ARow, ACol
    Event<int, int, bool&> OnCanClickCell;                         // ARow, ACol, var Allow
    Event<bool&> OnClipboardCut, OnClipboardCopy, OnClipboardPaste;  // var Allow
    Event<int, bool&> OnCanInsertRow, OnCanDeleteRow;              // ARow, var Allow
    Event<int> OnAutoInsertRow;                                     // ARow
    Event<int, QStringList&> OnGetColumnFilter;

    // The combo editor's list with an object per item, its preselection for a cell text that
    // matches no item (-1: none; kept until set again), and the editors' grid events
    // (ExtStringGridCombo.cpp). Items compare without case; the first match wins.
    QStringList ComboStrings;
    QVariantList ComboObjects;
    int FComboIdx = -1;
    int MaxComboLength = 0;  // 0: no limit
    void ClearComboString();
    void AddComboString(const QString& s);
    void AddComboStringObject(const QString& s, const QVariant& object);
    bool RemoveComboString(const QString& s);
    bool SetComboSelectionString(const QString& s);
    void SetComboSelection(int index) { FComboIdx = index; }
    int GetComboCount() const { return int(ComboStrings.size()); }
    int GetComboIndex(int c, int r);           // ACol real; -1 when the text is not in the list
    void SetComboIndex(int c, int r, int index);  // an index outside the list writes an empty text
    bool CellIsPassword(int c, int r);
    // The edit-with-button and button editors' press: OnEllipsClick may change the text.
    virtual QString EllipsClick(const QString& s);
    Event<int, int, QString&> OnEllipsClick;                                        // ACol real, ARow
    Event<int, int, const QString&> OnUnitChanged;  // ACol, ARow (current cell), NewUnit: the unit editor's pick
    Event<int, int, int, const QString&, const QVariant&> OnComboObjectChange;      // ACol real, ARow
    Event<int, int, int, bool> OnSpinClick;                                         // ACol, ARow, value, up
    Event<int, int, double, bool> OnFloatSpinClick;                                 // ACol, ARow, value, up
    Event<int, int, const QDateTime&, bool> OnDateSpinClick, OnTimeSpinClick;       // ACol, ARow, value, up

    // Painting: each cell's colours, font and alignment, its content (fixed-cell looks, text,
    // borders, graphic, focus frame) and the sizing lines.
    bool AutoNumAlign = false;
    bool EnhTextSize = false;
    bool HideFocusRect = false;
    bool NoImageAndText = false;
    bool XYOffsetTopLeftOnly = false;
    // Set by the mouse handling while a button is held over the cells.
    bool MouseButtonDown = false;
    using TCustomCellDrawEvent = std::function<void(TExtStringGrid*, platform::TCanvas&, int col, int row,
                                                    TGridDrawState, TRect, bool printing)>;
    TCustomCellDrawEvent OnCustomCellBkgDraw, OnCustomCellDraw;
    std::function<void(TExtStringGrid*)> OnPainted;
    Event<int, int, TRect, TGridDrawState> OnDrawCell;  // ACol, ARow
    Event<int, int, TColor&, TColor&, TColor&, TColor&, TCellGradientDirection&> OnGetCellGradient;  // ARow, ACol
    Event<int, int, bool&, QString&> OnGetFloatFormat;  // ACol, ARow: IsFloat, FloatFormat
    Event<int, int, TPenDesc&, TPenDesc&, TPenDesc&, TPenDesc&> OnGetCellBorderProp;  // ARow, ACol
    void GetVisualProperties(int c, int r, TGridDrawState& state, bool print, bool select, bool remap, TColor& brush,
                             TColor& colorTo, TColor& mirrorColor, TColor& mirrorColorTo, TFontDesc& font,
                             TAlignment& hAlign, TVAlignment& vAlign, bool& wordWrap,
                             TCellGradientDirection& gradient) override;
    void DrawCellContent(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state) override;
    // The font of a cell for measuring (c display, rc real column).
    void GetFontProperties(int c, int rc, int r, TFontDesc& font, bool remap);
    // The text a cell shows: a number through the float format when OnGetFloatFormat asks for it.
    virtual QString GetFormattedCell(int c, int r);
    void GetCellAlignment(int c, int r, TAlignment& hAlign, TVAlignment& vAlign);
    // Width and height of a real cell's text; vs wraps it to the cell's width, sb keeps room for a
    // scroll bar.
    TPoint GetCellTextSize(int c, int r, bool vs, bool sb);
    void DrawCellBorders(platform::TCanvas& canvas, int c, int r, TRect rect);
    // Sizing feedback: each call inverts the line, a second call at the same place removes it.
    void DrawColSizeLine(platform::TCanvas& canvas, int x);
    void DrawRowSizeLine(platform::TCanvas& canvas, int y);
    // c1 weighted by percent and c2 by the rest.
    static TColor BlendColors(TColor c1, TColor c2, int percent);
    static TColor MixSelectionColor(TColor sel, TColor cell, bool mix, int factor);
    TSelectionStyle CellSelectionStyle() const override { return SelectionStyle; }
    // What one DrawCellContent call works on; its text and graphic steps share it.
    struct TCellPaintState {
        platform::TCanvas* Canvas = nullptr;
        int DCol = 0, RCol = 0, Row = 0, DataRow = 0;
        TGridDrawState State = 0;
        TRect Rect;  // inside the grid lines
        TAlignment HAlign = taLeftJustify;
        TVAlignment VAlign = vtaTop;
        bool WordWrap = false;
        bool Fixed = false;
        TColor Brush = clNone;       // the cell's own fill
        TColor FontColor = clBlack;  // and text colour
        TCellGraphic* Graphic = nullptr;
        TCellHAlign GraphicHAlign = haLeft;
        TCellVAlign GraphicVAlign = vaTop;
        int GraphicWidth = 0, GraphicHeight = 0;
        bool DrawText = true;
        int TextWidth = 0;  // measured text width, for graphics placed before or after the text
        TRect GraphicRect;  // where the graphic went
        bool ColumnFiltered = false;  // the filter row shows this column's filter button
        bool InCellScroll = false;    // an in-cell scroll bar scrolls the text by ScrollOffset pixels
        int ScrollOffset = 0;
    };
    void DrawCellText(TCellPaintState& s);
    // The text area of a cell as its text is painted (grid coordinates).
    TRect CellTextRect(int c, int r);
    void DrawHTMLCellText(TCellPaintState& s, const QString& text, const TRect& r);
    // The in-cell scroll bar of a cell, position and page within 0 .. range.
    void DrawInCellScrollBar(platform::TCanvas& canvas, const QRect& bar, int position, int page, int range);
    // Tree lines in column 0 of a row covered by nodes, inside rect.
    void DrawTreeLines(platform::TCanvas& canvas, int r, const TRect& rect);

    // Hover and press of fixed cells: the mouse handling keeps the fixed cell under the mouse
    // (when HoverFixedCells lets it light up) and the row under it (with HoverRow); painting shows
    // the hover look, or the pressed look while MouseButtonDown.
    THoverFixedCells HoverFixedCells = hfNone;
    bool IsHoverFixedCell(int c, int r) const;
    TGridCoord HoverFixedCell() const { return FHoverFixedCell; }
    // Forgets the hovered fixed cell and repaints it.
    void ResetFixedCellHighlight();
    // Whether a hovered header of the column shows the drop-down button (ControlLook.FixedDropDownButton).
    virtual bool CanShowFixedDropDown(int c);
    Event<int, bool&> OnCanShowFixedDropDown;  // ACol, CanShow
    // The menu a press on a header's drop-down button pops up (its "Tag" property the column);
    // the application may hand another, and ask the header to stay lit while it is open.
    QPointer<QMenu> FixedDropDownMenu;
    Event<int, int, QMenu*&, bool&> OnFixedDropDownClick;  // ACol, ARow, AMenu, KeepFixedCellHighlighted
    // While set, the hovered fixed cell stays lit whatever the mouse does.
    bool HoldHoverFixedCell = false;

    // The control border of the gradient looks, drawn over the client area's outer pixels.
    void DrawBorder(platform::TCanvas& canvas);
    bool HasBorderFrame() const;

    // The translucent frame round a cell (client rectangle) while its editor is open. One grid of
    // the process owns it at a time.
    void ShowFocusWindow(const TRect& r);
    // Places the frame over the current cell again.
    void MoveFocusWindow();
    void HideFocusWindow();
    // The window that shows the frame; null until first shown.
    QWidget* FocusFrameWindow() const { return FFocusFrame; }
    // The frame's picture for a cell of the size: premultiplied, its alpha from a blurred ring.
    static QImage FocusFrameImage(int cellWidth, int cellHeight);
    // Whether an in-place editor is open over the current cell; painting frames that cell.
    virtual bool InplaceEditorShown();
    // The whole control: the cells, the editor's frame, then OnPainted.
    void Paint() override;
    // The background picture or gradient past the last row and column.
    void PaintEmptyArea(platform::TCanvas& canvas);
    // The cell's part of the background picture, placed or tiled (c display column).
    void PaintCellBackgroundPicture(platform::TCanvas& canvas, const TRect& rect, int r, int c);

    // Scrolling, sizing, update locking and the grid timer
    // Update locking: painting waits while the count is above 0, visible or not; the EndUpdate
    // that brings it to 0 (or finds it there) repaints the whole grid once.
    void StartUpdate();
    // Count 0; redrawing stays off after BeginUpdate, but a StartUpdate's gathering of paints ends,
    // so a wheel step ended this way never leaves the grid unpainted.
    void ResetUpdate();
    bool LockUpdate() const { return FUpdateCount > 0; }
    void SetLockUpdate(bool value);
    // Gives a display column (-1: the last) the room the other columns leave. Raises
    // "Stretch column index out of range" for a column at or past ColCount.
    void StretchColumn(int index);
    void StretchRightColumn() { StretchColumn(ColCount() - 1); }
    TGridRect GetUsedCells() const;
    bool IsAtSizingBorder(int x, int y) const;
    void ScreenToCell(const QPoint& screen, int& c, int& r) const;
    QList<int> IgnoreColumns;
    bool IsIgnoredColumn(int c) const { return IgnoreColumns.contains(c); }
    Event<int, int&> OnUpdateColumnSize;  // ACol, AWidth
    Event<int> OnEndColumnSize, OnEndRowSize;
    virtual void UpdateColumnSize(int c, int& width);
    virtual void UpdateColumnSizeEx(int c, int& width);
    // The current row; a change is told through OnRowUpdate (Sender, OldRow, NewRow) and a
    // synchronised grid follows.
    void SetRow(int value);
    Event<int, int> OnRowUpdate;
    // Asked before the user sizes a column or row by mouse; Allow starts true.
    Event<int, bool&> OnColumnSize, OnRowSize;

    // Automatic sizing and column order (display columns and rows).
    void AutoSizeCol(int index, int padding = 0);
    void AutoSizeColumns(bool doFixedCols, int padding = 0);
    void AutoSizeRow(int index, int padding = 0);
    void AutoSizeRows(bool doFixedRows, int padding = 0);
    void AutoSizeCells(bool doFixedCells, int paddingX, int paddingY);
    void AutoFitColumns(bool doFixedCells);
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    void Zoom(int x);
    void SwapColumns(int index1, int index2);
    void SwapRows(int index1, int index2);
    void InitOrigColSizes();
    void SetColumnOrder();
    void ResetColumnOrder();
    // The column-order list: entry k is the initial index of the column shown at position k; empty
    // until columns were first moved. Layout stores read and replace it.
    const std::vector<int>& ColumnOrderList() const { return FColumnOrder; }
    void SetColumnOrderList(std::vector<int> order) { FColumnOrder = std::move(order); }
    int ColumnPosition(int c);
    int ColumnAtPosition(int pos);
    int ColumnByHeader(const QString& value);
    // The width and height a cell's text and graphic need (c display, r display row).
    virtual TPoint CellContentSize(int c, int r, bool wordWrap);

    // The grid timer: every half second it ages the incremental search, follows the mouse with
    // Hovering and blinks texts with EnableBlink.
    static constexpr int GridTimerId = 111;
    static constexpr int GridTimerInterval = 500;
    bool Hovering = false;
    bool EnableBlink = false;
    bool BlinkPhase() const { return FBlinkPhase; }
    int TimerTicks() const { return FTimerTicks; }
    QString IncrementalSearchText;
    int IncrementalSearchAge = 0;
    void GridTimerTick();

    // Scroll bar looks, proportional thumbs, position hints and scrolling while dragging.
    // The flat looks (ssFlat, ssEncarta) paint the window's own bars flat, in ScrollColor (when
    // set) and ScrollWidth pixels across; ssMetro swaps them for the grid's thin scroll controls.
    void SetScrollType(TScrollType value);
    void SetScrollColor(TColor value);
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int value);
    bool FlatScrollBars() const { return FIsFlat; }
    // The bars' look for the scroll type, colour and width; nothing while the look is plain.
    void ApplyScrollStyle();
    // With ScrollProportional the thumbs show the visible share of the rows' (columns') pixels;
    // the bar then counts 128 steps over the scrolling rows (columns).
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool value);
    void UpdateVScrollBar();
    void UpdateHScrollBar();
    bool ProportionalBar(platform::TScrollBarKind bar) const { return FProportional[bar]; }
    // While the thumb is dragged, a hint names the row ("Row : n") or column ("Col : n") it
    // points at; OnScrollHint (Sender, n, var hintstr) may change the text.
    TScrollHints ScrollHints = shNone;
    // The grid follows the thumb while it is dragged.
    bool ScrollSynch = false;
    TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways value);
    // Keeps the chosen bars shown while nothing scrolls, their arrows disabled; a bar no longer
    // kept hides again when nothing scrolls, with or without hide.
    void UpdateScrollBarAlways(bool hide);
    Event<int, QString&> OnScrollHint;
    platform::THintWindow* ScrollHintWindow() const { return FScrollHintWnd.get(); }
    // Drag scrolling: a drag resting in a margin scrolls one row or column per repeat delay.
    TDragScrollOptions DragScrollOptions;
    virtual void DragOver(QObject* source, int x, int y, TDragOverState state, bool& accept);
    void DragScrollTimer();
    TDragScrollDirection DragScrollDirection() const { return FDragScrollDirection; }
    bool DragScrollActive() const { return FDragTmr.IsActive(); }
    Event<int, int, TDragScrollDirection&, bool&> OnDragScroll;  // TopRow, LeftCol, direction, CanScroll
    // Follows the office colour scheme now and whenever the theme notifier reports a change.
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);

    // The wheel-pan mark: shown at WheelPanPos while the middle button pans the grid.
    TIntelliPan IntelliPan = ipVertical;
    QPoint WheelPanPos;
    void DrawIntelliPanGlyph();
    void InvalidateIntelliPanGlyph();
    bool IntelliPanGlyphShown() const;
    // The mark for a pan direction, its top-left pixel's colour standing for transparent; null
    // for ipNone.
    static QImage IntelliPanGlyph(TIntelliPan pan);
    // A borderless, translucent window showing the cells of a range (display cells) as painted,
    // for dragging them; the caller owns it.
    std::unique_ptr<TSelectionForm> SelectionToForm(const TGridRect& range);

    // Version.
    virtual uint32_t GetVersionNr() const { return 0x06020103; }
    virtual QString GetVersionString() const;
    QString Version() const;
    static QString DottedVersion(uint32_t version);

    // Dimensions.
    void SetRowCount(int value);
    virtual void SetColCount(int value);
    int GetFixedRows() const;
    void SetFixedRows(int value);
    int GetFixedCols() const;
    void SetFixedCols(int value);
    void SetDefaultRowHeight(int value);
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int value);
    int AllRowCount() const { return RowCount() + NumHiddenRows(); }
    int AllColCount() const { return ColCount() + FNumHidden; }
    int TotalColCount() const override { return ColCount() + FNumHidden; }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    int MaxRowCountEver() const { return FMaxRowCount; }
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Typed access: ACol real, ARow display; the All forms take a real row.
    int GetInts(int c, int r);
    void SetInts(int c, int r, int value);
    int GetAllInts(int c, int r);
    void SetAllInts(int c, int r, int value);
    double GetFloats(int c, int r);
    void SetFloats(int c, int r, double value);
    double GetAllFloats(int c, int r);
    void SetAllFloats(int c, int r, double value);
    QDate GetDates(int c, int r);
    void SetDates(int c, int r, const QDate& value);
    QString GetCellsEx(int c, int r);
    void SetCellsEx(int c, int r, const QString& value);
    QString GetGridCellsEx(int c, int r) const;
    void SetGridCellsEx(int c, int r, const QString& value);
    TObject* GetObjectsEx(int c, int r) const;
    void SetObjectsEx(int c, int r, TObject* value);
    int GetAllColWidths(int c) const;
    void SetAllColWidths(int c, int value);
    void SwapCells(TPoint from, TPoint to);

    // Per-cell attributes (ACol real, ARow display).
    TColor GetColors(int c, int r) const;
    void SetColors(int c, int r, TColor value);
    TColor GetColorsTo(int c, int r) const;
    void SetColorsTo(int c, int r, TColor value);
    bool GetReadOnly(int c, int r) const;
    void SetReadOnly(int c, int r, bool value);
    TColor GetFontColors(int c, int r) const;
    void SetFontColors(int c, int r, TColor value);
    TAlignment GetAlignments(int c, int r) const;
    void SetAlignments(int c, int r, TAlignment value);
    // Row attributes over the columns FixedCols .. AllColCount - 1.
    void SetRowColor(int r, TColor value);
    void SetRowColorTo(int r, TColor value);
    void SetRowFontColor(int r, TColor value);

    // Selection and row state.
    bool GetRowSelect(int r);
    void SetRowSelect(int r, bool value);
    bool GetColSelect(int c);
    void SetColSelect(int c, bool value);
    int RowSelectCount() const;
    int ColSelectCount() const;
    void SelectRows(int rowIndex, int count);
    void UnSelectRows(int rowIndex, int count);
    void SelectCols(int colIndex, int count);
    void UnSelectCols(int colIndex, int count);
    void SelectRange(int fromCol, int toCol, int fromRow, int toRow);
    void ClearRowSelect();
    // The selection's rows (the footer row left out) into the row flags; All also clears the
    // flags of the other rows.
    void SelectionToRowSelect(bool all = false);
    // With the search footer shown: whether the last row ends above its panel, and moving the top
    // row down until it does.
    bool LastRowAboveSearchFooter();
    void ScrollLastRowAboveSearchFooter();
    // The one selection listener: a new one replaces the last; unregistering drops it whatever
    // is passed. The editing layer's current-cell change calls NotifySelListener.
    struct TSelListener {
        virtual ~TSelListener() = default;
        virtual void CurrentCellChanged(int c, int r) = 0;
    };
    void RegisterSelListener(TSelListener* listener) { FSelListener = listener; }
    void UnRegisterSelListener(TSelListener*) { FSelListener = nullptr; }
    void NotifySelListener(int c, int r)
    {
        if (FSelListener)
            FSelListener->CurrentCellChanged(c, r);
    }
    // XYOffset without a repaint.
    void UpdateXYOffset(int x, int y) { XYOffset = {x, y}; }
    void ClearColSelect();
    void FocusCell(int c, int r);
    void GotoCell(int c, int r);
    bool GetRowModified(int r) const;
    void SetRowModified(int r, bool value);
    int ModifiedRowCount() const;
    bool GetRowEnabled(int r) const;
    void SetRowEnabled(int r, bool value);
    const std::vector<int>& SelectedRows() const { return FSelectedRows; }
    // Printed width and left offset of a column from the last print layout (columns 0 to 511).
    int GetPrintColWidth(int c) const;
    int GetPrintColOffset(int c) const;
    std::array<int, 513> PrintColWidths{};
    std::array<int, 513> PrintColOffsets{};

    // Index mapping between display and real columns and rows.
    int RealToDisplCol(int a) const;
    int DisplToRealCol(int d) const;
    int RealColIndex(int c) const { return DisplToRealCol(c); }
    int DisplColIndex(int c) const override { return RealToDisplCol(c); }
    int RealCol() const { return DisplToRealCol(Col()); }
    int DisplToRealRow(int r) const;
    int RealToDisplRow(int r) const;
    int RealRowIndex(int r) const { return DisplToRealRow(r); }
    int DisplRowIndex(int r) const { return RealToDisplRow(r); }
    int RealRow() const { return DisplToRealRow(Row()); }

    // Hidden columns (real indexes).
    void HideColumn(int c) { HideColumns(c, c); }
    void HideColumns(int fromCol, int toCol);
    void UnHideColumn(int c) { UnHideColumns(c, c); }
    void UnHideColumns(int fromCol, int toCol);
    void UnHideColumnsAll();
    bool IsHiddenColumn(int c) const;
    int NumHiddenColumns() const { return FNumHidden; }

    // Hidden rows (real indexes).
    void HideRow(int r) { HideRows(r, r); }
    void HideRows(int fromRow, int toRow);
    void HideRowsEx(int fromRow, int toRow);
    // One filter level: the listed display rows, ascending.
    void HideRowList(const std::vector<int>& rows);
    void UnHideRow(int r);
    void UnHideRows(int fromRow, int toRow);
    // Puts back the rows of the last filter level; the level count stays (the filtering of the
    // data operations lowers it).
    void UnHideRowList();
    void UnHideRowsAll();
    bool IsHiddenRow(int r) const;
    int NumHiddenRows() const { return int(FGridItems.size()); }
    int FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int value) { FFilterLevel = value; }
    // Whether the selection was moved out of sight (HideSelection) and not yet brought back.
    bool SelectionHidden() const { return FSelHidden; }
    void SetSelectionHidden(bool value) { FSelHidden = value; }
    const TGridItem* HiddenRowItem(int r) const;
    // A column that goes away and comes back (grouping) keeps the hidden rows' texts: parking
    // takes column c's text of every hidden row aside, unparking writes it back into column c.
    void ParkHiddenRowsColumn(int c);
    void UnparkHiddenRowsColumn(int c);

    void ScrollInView(int c, int r);
    void MoveColumn(int fromIndex, int toIndex);
    // The column-moved hook: the column's cells, width and hidden state travel with it.
    virtual void ColumnMoved(int fromIndex, int toIndex);
    // A moved row keeps its height; OnRowMoved (FromIndex, ToIndex) tells the move. With
    // SyncGrid.MoveColumn (MoveRow) the synchronised grid makes the same move.
    void MoveRow(int fromIndex, int toIndex);
    Event<int, int> OnRowMoved;
    void MoveRows(int fromIndex, int toIndex, int count);
    // Display rows from .. from + order.size() - 1 become the rows that stood at order[k] (a
    // permutation of that range): texts, records, heights, and with rowFlags the row-select and
    // modified flags, in one pass.
    void PermuteRows(int from, const std::vector<int>& order, bool rowFlags);
    // One empty row before each listed display row (ascending; RowCount appends), and the listed
    // display rows (ascending, each once) removed; the per-row lists follow; one pass each.
    void InsertRowsBefore(const std::vector<int>& rows);
    void DeleteRowList(const std::vector<int>& rows);
    void HideSelection();
    void UnHideSelection();

    // Bulk row and column operations (display rows, real columns).
    void DoInsertRows(int rowIndex, int count, bool updateCellControls);
    void DoDeleteRows(int rowIndex, int count, bool updateCellControls);
    virtual void InsertRows(int rowIndex, int count, bool updateCellControls = false);
    virtual void RemoveRows(int rowIndex, int count);
    virtual void RemoveRowsEx(int rowIndex, int count);
    virtual void RemoveRowsRaw(int rowIndex, int count);
    virtual void InsertCols(int colIndex, int count);
    virtual void RemoveCols(int colIndex, int count);
    // Empties rows (every real column, hidden ones too unless SaveHiddenCells) or columns; nothing
    // for an empty grid or a count below 1.
    void ClearRows(int rowIndex, int count);
    void ClearCols(int colIndex, int count);
    // Empties a rectangle through the Cells write, freeing the cells' records and graphics unless
    // ClearTextOnly; with SaveHiddenCells the columns are display columns. Tells CellsChanged.
    virtual void ClearRect(int c1, int r1, int c2, int r2);
    // All cells (nodes removed first), then the incremental search; ClearAll also empties the
    // texts kept for hidden rows.
    void Clear();
    void ClearAll();
    // Empties the selected rows, columns or rectangle, whichever selection is in force.
    void ClearSelection();
    // Removes the listed display rows in one pass (order and repeats do not matter): later rows
    // move up with their texts, records and heights, hidden rows below keep their places, the
    // current cell and top row follow. With full the modified, enabled and row-select flags close
    // up too and the largest row count falls, as RemoveRows does; else they stay as DoDeleteRows
    // leaves them.
    void DeleteRowList(std::vector<int> rows, bool full);
    // The rows flagged in the disjunct row selection (else the selection's rows), or those not
    // flagged; the row selection is cleared after (kept whole with RowSelectPersistent).
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void HideSelectedRows();
    void HideUnSelectedRows();
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    // One empty row at the end, or just above a floating footer row.
    void AddRow();
    void AddColumn() { InsertCols(ColCount(), 1); }
    // Whether the stored text carries the wide-text marker.
    bool IsWideCell(int c, int r) const { return GetGridCell(c, r).startsWith(QLatin1String("|\\")); }

    // Per-cell queries; ACol real, ARow display unless named otherwise.
    QString GetCurrentCell();
    void SetCurrentCell(const QString& value);
    // The current cell's text as shown, through the display-text hooks.
    QString GetCurrentCellText();
    TObject* GetGridImages() const { return GridImages; }
    // The image indexes of an image-row cell; none for any other kind.
    TIntList* GetCellImages(int c, int r);
    // What sorting on images compares: the image index, or the picture's identity, else -1.
    int64_t GetCellImageKey(int c, int r);
    virtual void GetFloatFormat(int c, int r, QString& format);
    virtual TCellType GetCellType(int c, int r);
    virtual TCellGraphic* GetCellGraphic(int c, int r);
    virtual void IsFixedCell(int c, int r, bool& isFixed);
    virtual void IsCellEditable(int c, int r, bool& canEdit);
    virtual void CanEditCell(int c, int r, bool& canEdit);
    virtual void IsPasswordCell(int c, int r, bool& isPassword);
    virtual void GetEditorType(int c, int r, TEditorType& editor);
    void GetCellEditor(int c, int r, TEditorType& editor);
    bool IsCellEditorNone(int c, int r);
    virtual bool HasComboBox(int c, int r);
    bool HasSpinEdit(int c, int r);
    virtual void GetCheckTrue(int c, int r, QString& value);
    virtual void GetCheckFalse(int c, int r, QString& value);
    QString CheckTrueOf(int c, int r);
    QString CheckFalseOf(int c, int r);
    // Whether the column's cells are data check boxes without a graphic of their own.
    virtual bool IsVirtualCheckColumn(int) { return false; }
    virtual bool GetColumnFilter(int c);
    // Headers of row 0: "\n" pairs in a header become line breaks.
    void SetColumnHeaders(const QStringList& headers);
    void ShowColumnHeaders();
    void ClearColumnHeaders();
    virtual void UpdateColumnHeaders() {}
    // Editing start, fixed-cell buttons and pressed fixed cells belong to the editing layer.
    virtual void MouseDown(TMouseButton, TShiftState, int, int) {}
    // The parts above the core that the grid's owner gave it (GridLayers.h); none: a plain grid.
    const TGridLayers& Layers() const { return FLayers; }
    // Gives the grid its parts; those already made go, the new ones are made on first use.
    void SetLayers(TGridLayers layers);
    // The editing layer (GridEditLayer.h), made on first use; null when the grid has no editing.
    TGridEditLayer* EditLayer();
    // The data operations (GridDataOps.h), made on first use; null when the grid has none.
    TGridDataOps* DataOps();
    // Data operations a descendant may replace; each runs the registered one.
    virtual void QSort();
    virtual void QSortIndexed();
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    virtual void QUnSort();
    virtual void Group(int colIndex);
    virtual void UnGroup();
    // The linked undo recorder, or none; linking is the recorder's business (it sets itself here).
    TGridUndoRecorder* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TGridUndoRecorder* value) { FUndoRedo = value; }
    // Before rows or columns move: an open editor must not stay over a cell that moves away.
    void CellsMoving();
    // The edit of the current cell: open its editor, end it taking the value back.
    void ShowInplaceEdit();
    virtual void HideInplaceEdit();
    bool EditMode();
    // The grid's own input handling, without the editing layer.
    void DefaultKeyDown(int& key, platform::TShiftState shift);
    void DefaultKeyUp(int& key, platform::TShiftState shift);
    void DefaultKeyPress(QChar& key);
    void DefaultMouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y);
    void DefaultMouseMove(platform::TShiftState shift, int x, int y);
    void DefaultMouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y);
    void DefaultDblClick();
    bool DefaultMouseWheel(platform::TShiftState shift, int wheelDelta, int x, int y);
    bool DefaultSelectCell(int c, int r) { return TBaseGrid::SelectCell(c, r); }
    using TBaseGrid::KeyDown;
    // Cell forms: one step of editing on from a cell (as Enter with automatic advance), and the
    // focus to the next focusable form control of a cell after the one named, or to the grid.
    virtual void AdvanceEdit(int ACol, int ARow);
    virtual void FocusNextCellControl(int ACol, int ARow, const QString& AfterID);
    virtual void CellControlsUpdate(bool) {}
    virtual void CellsChanged(const TGridRect& r);
    virtual void CalcAllFooters() { CalcFooter(-1); }
    virtual void SaveCell(int c, int r, QString& value);
    virtual void LoadCell(int c, int r, const QString& value);
    // A loaded record's texts into row r from store column c0 on, each cell as LoadCell loads it;
    // an empty row with no load handler takes the record's block whole.
    void LoadRow(int c0, int r, TCellTexts texts);
    // Progress of long row work for the data operations (state 0 start, 5 a row, 2 done); empty here.
    virtual void ExportNotification(int /*state*/, int /*row*/) {}
    virtual void ImportNotification(int /*state*/, int /*row*/) {}
    void GetCellPropDefaults(int c, int r, TCellPropDefaults& d) override;
    // Links in cell texts become anchors with URLShowInText; node rows show their group's size.
    void GetDisplText(int c, int r, QString& value) override;
    int GetNodeIndent(int r) override;
    bool HasNodes() const override { return FNumNodes > 0; }
    bool IsFixed(int c, int r) override;
    bool EditDisabled = false;  // the grid removed goEditing itself for a cell that may not be edited

    // Colours, fonts, borders and alignment of a cell (ACol real, ARow display).
    TFontDesc GridFont() const { return {FontName, FontSize, 0, FontColor}; }
    // The grid's font for a cell without a record, else the record's font.
    TFontDesc GetCellFont(int c, int r) const;
    virtual void GetCellColor(int c, int r, TGridDrawState state, TColor& brush, TFontDesc& font);
    virtual void GetCellPrintColor(int c, int r, TGridDrawState state, TColor& brush, TFontDesc& font);
    virtual void GetCellBorder(int c, int r, TPenDesc& pen, TCellBorders& borders);
    virtual void GetCellPrintBorder(int c, int r, TPenDesc& pen, TCellBorders& borders);
    virtual void GetAlignment(int c, int r, TAlignment& hAlign, TVAlignment& vAlign);
    virtual void GetCellFormat(int c, TSortStyle& style, QString& prefix, QString& suffix);
    void GetCellWordWrap(int c, int r, bool& wordWrap);
    // The hint of a cell; a wide hint comes back in the wide-text coding.
    void GridHint(int c, int r, QString& hint);

    // Editor handlers that only report (ACol, ARow of the current cell where none is given).
    void ButtonClick(int c, int r);
    void GridButtonClick() { ButtonClick(Col(), Row()); }
    void ComboCloseUp(int r, int c);
    void ComboDropDown(int r, int c);
    // Fires OnExpandClick, then gives the row the expand button's height for that state.
    void ExpandClick(int c, int r, bool expanded);
    int GetExpandHeight(int c, int r, bool expanded);
    void DateTimePickerChange(const QDateTime& value);
    // A time picker reports its time in the long time format, a date picker its date in the
    // short date format.
    void DatePickerChange(const QDateTime& value, bool timePicker);
    void DatePickerCloseUp();
    struct TCalendarStyle {
        bool WeekNumbers = false, NoToday = false, NoTodayCircle = false;
        friend bool operator==(const TCalendarStyle&, const TCalendarStyle&) = default;
    };
    // The month calendar's styles for the picker's settings; fires OnDatePickerDropDown.
    TCalendarStyle DatePickerDropDown(bool weekNumbers, bool showToday, bool showTodayCircle);

    // Size of a cell's graphic (ACol real, ARow display); Reserve is kept free below a picture.
    TPoint GetCellGraphicSize(int c, int r);
    void CellGraphicSize(int c, int r, TPoint& size, int reserve);
    void PrintCellGraphicSize(int c, int r, TPoint& size, int cellWidth, int cellHeight, double scale);
    // Text extent in the grid's font; headless hosts may answer their own.
    virtual TPoint MeasureText(const QString& text);

    // Cell graphics and check boxes.
    TCellGraphic* CreateCellGraphic(int c, int r);
    bool RemoveCellGraphic(int c, int r);
    bool RemoveCellGraphicOfType(int c, int r, TCellType kind);
    void AddCheckBox(int c, int r, bool state, bool data);
    void AddCheckBox(int c, int r, TCheckBoxState state);
    void AddCheckBoxColumn(int c, bool defaultState = false, bool dataCheckBox = false);
    void RemoveCheckBox(int c, int r);
    void RemoveCheckBoxColumn(int c);
    bool HasCheckBox(int c, int r);
    bool HasDataCheckBox(int c, int r);
    bool IsCheckOrButtonCell(int c, int r);
    bool IsDataGraphicCell(int c, int r);
    bool HasRadioButton(int c, int r);
    bool GetCheckBoxState(int c, int realRow, bool& state);
    bool GetCheckBoxState(int c, int realRow, TCheckBoxState& state);
    bool IsChecked(int c, int realRow);
    bool SetCheckBoxState(int c, int realRow, bool state);
    bool SetCheckBoxState(int c, int realRow, TCheckBoxState state);
    bool SetCheckBoxStateNotify(int c, int r, bool state);
    void CheckAll(int c);
    void UnCheckAll(int c);
    bool ToggleCheckBox(int c, int r) { return DoToggleCheck(c, r, false); }
    virtual bool DoToggleCheck(int c, int r, bool checkEditable);
    virtual void CheckBoxChange(int c, int r, bool state);
    virtual void CheckBoxClick(int c, int r, bool state);
    bool IsInCheckBox(int c, int r, int x, int y);
    void AddRadioButton(int c, int r, bool state);
    void AddRadioButtonColumn(int c);
    void RemoveRadioButton(int c, int r);
    bool IsRadioButtonChecked(int c, int r);
    bool SetRadioButtonState(int c, int r, bool state);
    void SetRadioButtonColumnIndex(int c, int index);
    int GetRadioButtonColumnIndex(int c);
    virtual bool CheckRadioButton(int c, int r, bool checkEditable);
    void AddRadio(int c, int r, int dirRadio, int idxRadio, QStringList* items);
    QStringList* CreateRadio(int c, int r, int dirRadio, int idxRadio);
    bool GetRadioIdx(int c, int r, int& idx);
    bool SetRadioIdx(int c, int r, int idx);
    bool IsRadio(int c, int r);
    void SelectNextRadio(int c, int r, bool checkEditable);
    void AddImageIdx(int c, int r, int idx, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(int c, int r, int& idx);
    void SetImageIdx(int c, int r, int idx);
    void AddDataImage(int c, int r, int idx, TCellHAlign hal, TCellVAlign val);
    void RemoveDataImage(int c, int r);
    void AddMultiImage(int c, int r, int dir, TCellHAlign hal, TCellVAlign val);

    // Other cell graphic kinds. Each Add replaces the cell's graphic; each Remove removes only its
    // own kind; queries on a cell of another kind answer a neutral value.
    void AddBitmap(int c, int r, TGridBitmap* bitmap, bool transparent, TCellHAlign hal, TCellVAlign val);
    TGridBitmap* CreateBitmap(int c, int r, bool transparent, TCellHAlign hal, TCellVAlign val);
    TGridBitmap* GetBitmap(int c, int r);
    bool HasBitmap(int c, int r) { return GetBitmap(c, r) != nullptr; }
    void RemoveBitmap(int c, int r) { RemoveCellGraphicOfType(c, r, ctBitmap); }
    void AddIcon(int c, int r, TGridBitmap* icon, TCellHAlign hal, TCellVAlign val);
    TGridBitmap* CreateIcon(int c, int r, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int c, int r) { RemoveCellGraphicOfType(c, r, ctIcon); }
    void AddPicture(int c, int r, TGridBitmap* picture, bool transparent, TStretchMode mode, int padding,
                    TCellHAlign hal, TCellVAlign val);
    TGridBitmap* CreatePicture(int c, int r, bool transparent, TStretchMode mode, int padding, TCellHAlign hal,
                               TCellVAlign val);
    TGridBitmap* GetPicture(int c, int r);
    bool HasPicture(int c, int r) { return GetPicture(c, r) != nullptr; }
    void RemovePicture(int c, int r) { RemoveCellGraphicOfType(c, r, ctPicture); }
    void AddFilePicture(int c, int r, TGridBitmap* picture, bool transparent, TStretchMode mode, int padding,
                        TCellHAlign hal, TCellVAlign val);
    TGridBitmap* CreateFilePicture(int c, int r, bool transparent, TStretchMode mode, int padding, TCellHAlign hal,
                                   TCellVAlign val);
    TGridBitmap* GetFilePicture(int c, int r);
    void RemoveFilePicture(int c, int r) { RemoveCellGraphicOfType(c, r, ctFilePicture); }
    void AddProgress(int c, int r, TColor fgColor, TColor bkColor);
    void AddProgressEx(int c, int r, TColor fgColor, TColor fgTextColor, TColor bkColor, TColor bkTextColor);
    void AddProgressFormatted(int c, int r, TColor fgColor, TColor fgTextColor, TColor bkColor, TColor bkTextColor,
                              const QString& format, int minimum, int maximum);
    bool HasProgress(int c, int r);
    void RemoveProgress(int c, int r) { RemoveCellGraphicOfType(c, r, ctProgress); }
    void AddProgressPie(int c, int r, TColor color, int value);
    void SetProgressPie(int c, int r, int value);
    void RemoveProgressPie(int c, int r) { RemoveCellGraphicOfType(c, r, ctProgressPie); }
    void AddExtProgress(int c, int r, int minimum, int maximum);
    void RemoveExtProgress(int c, int r) { RemoveCellGraphicOfType(c, r, ctXPProgress); }
    void AddRangeIndicator(int c, int r, int range, TColor negColor, TColor posColor, bool showValue);
    void RemoveRangeIndicator(int c, int r) { RemoveCellGraphicOfType(c, r, ctRangeIndicator); }
    void AddComment(int c, int r, const QString& comment);
    void AddColorComment(int c, int r, const QString& comment, TColor color);
    bool IsComment(int c, int r, QString& comment);
    QString GetComment(int c, int r);
    void SetComment(int c, int r, const QString& comment);
    void RemoveComment(int c, int r) { RemoveCellGraphicOfType(c, r, ctComment); }
    void RemoveAllComments();
    void AddButton(int c, int r, int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val);
    void AddBitButton(int c, int r, int bw, int bh, const QString& caption, TGridBitmap* glyph, TCellHAlign hal,
                      TCellVAlign val);
    TGridBitmap* CreateBitButton(int c, int r, int bw, int bh, const QString& caption, TCellHAlign hal,
                                 TCellVAlign val);
    bool HasButton(int c, int r);
    QString GetButtonText(int c, int r);
    void SetButtonText(int c, int r, const QString& caption);
    void PushButton(int c, int r, bool push);
    // Where painting put the cell's button (c display column); empty without a graphic.
    TRect GetCellButtonRect(int c, int r);
    void RemoveButton(int c, int r);
    void RemoveBitButton(int c, int r) { RemoveCellGraphicOfType(c, r, ctBitButton); }
    void RemoveAllButtons();
    void AddShape(int c, int r, TCellShape shape, TColor fillColor, TColor lineColor, TCellHAlign hal, TCellVAlign val);
    void SetShapeColor(int c, int r, TColor fillColor);
    TColor GetShapeColor(int c, int r);
    void RemoveShape(int c, int r) { RemoveCellGraphicOfType(c, r, ctShape); }
    void AddRating(int c, int r, int scale, TColor fillColor, TColor emptyColor);
    bool HasRating(int c, int r);
    void RemoveRating(int c, int r) { RemoveCellGraphicOfType(c, r, ctRating); }
    struct TScrollProp {
        int PageSize = -1;
        int Range = -1;
    };
    void AddScrollBar(int c, int r, bool autoRange);
    bool HasScrollBar(int c, int r);
    bool HasAutoRangeScrollBar(int c, int r);
    int GetScrollPosition(int c, int r);
    void SetScrollPosition(int c, int r, int pos);
    // A scroll step on the in-cell scroll bar of cell (c real, r): lines of 10 and pages of 100
    // pixels, or the thumb's position, within 0 .. range - page; a change is stored, repainted and
    // told through ScrollCell. Answers whether the position changed.
    bool ScrollInCell(int c, int r, int code, int pos);
    virtual void ScrollCell(int c, int r, int position, int minimum, int maximum);
    Event<int, int, int, int, int> OnScrollCell;  // ACol, ARow, position, minimum, maximum
    TScrollProp GetScrollProp(int c, int r);
    void SetScrollProp(int c, int r, TScrollProp prop);
    void RemoveScrollBar(int c, int r) { RemoveCellGraphicOfType(c, r, ctScrollbar); }
    void AddBalloon(int c, int r, const QString& title, const QString& text, TBalloonIcon icon);
    bool HasBalloon(int c, int r);
    bool IsBalloon(int c, int r, QString& title, QString& text, TBalloonIcon& icon);
    void RemoveBalloon(int c, int r);
    void AddExpand(int c, int r, int expandedHeight);
    bool HasExpand(int c, int r);
    bool GetExpandState(int c, int r);
    bool ToggleExpand(int c, int r);
    TRect GetExpandRect(int c, int r);
    void RemoveExpand(int c, int r) { RemoveCellGraphicOfType(c, r, ctExpand); }
    void AddRotated(int c, int r, int angle, const QString& text);
    void SetRotated(int c, int r, int angle);
    bool IsRotated(int c, int r, int& angle);
    void RemoveRotated(int c, int r) { RemoveCellGraphicOfType(c, r, ctRotated); }
    void AddInterfacedCell(int c, int r, TCellGraphicInterface* object);
    TCellGraphicInterface* GetInterfacedCell(int c, int r);
    void RemoveInterfacedCell(int c, int r) { RemoveCellGraphicOfType(c, r, ctInterface); }
    void AddMarker(int c, int r, int errPos, int errLen);
    void GetMarker(int c, int r, int& errPos, int& errLen);
    void RemoveMarker(int c, int r);
    void RemoveAllMarkers();

    // Row nodes.
    void AddNode(int realRow, int span);
    void MarkSummaryRow(int realRow);
    void RemoveNode(int realRow);
    void RemoveAllNodes();
    bool IsNode(int r);
    bool IsSummary(int r);
    bool GetNodeState(int r);
    void SetNodeState(int r, bool contracted);
    int GetNodeLevel(int r);
    int GetNodeSpan(int r);
    void SetNodeSpan(int r, int span);
    void UpdateNodeSpan(int r, int delta);
    int GetSubNodeCount(int r);
    void UpdateSubNodeCount(int r, int delta);
    int GetParentRow(int r);
    int GetNodeSpanType(int r);
    bool InNodeGlyph(int r, int x);
    void ExpandNode(int realRow);
    void ExpandSingleNode(int realRow);
    void ContractNode(int realRow);
    void ExpandAll();
    void ContractAll();
    void InsertChildRow(int realRow, int insertAt);
    void RemoveChildRow(int realRow);
    void InsertNormalRow(int realRow);
    void RemoveNormalRow(int realRow);
    int NumNodes() const { return FNumNodes; }

    // The grid's own cell stream.
    int SaveStartCol() const;
    int SaveEndCol() const;
    int SaveStartRow() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    void SaveToStream(TMemoryStream& stream);
    // Reads a stream that SaveToStream wrote. A stream that is cut short, lies about its counts or
    // names cells outside the grid is refused with EExtGridError and the grid is left as it was.
    void LoadFromStream(TMemoryStream& stream);
    void AssignCells(TExtStringGrid& source);
    // Settings, layout and cells of another grid.
    void Assign(TExtStringGrid& source);

protected:
    void SizeChanged(int oldCols, int oldRows) override;
    void Resize() override;
    // Each asks the editing layer first.
    void KeyDown(int& key, platform::TShiftState shift) override;
    void KeyUp(int& key, platform::TShiftState shift) override;
    void KeyPress(QChar& key) override;
    bool MouseWheel(platform::TShiftState shift, int wheelDelta, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    platform::THintInfo HintAt(const QPoint& pos) override;
    bool SelectCell(int c, int r) override;
    void TopLeftChanged() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    QCursor CursorAt(int x, int y) override;
    void ColumnSized(int c, int oldWidth) override;
    void RowSized(int r, int oldHeight) override;
    void DblClick() override;
    void ColumnLayoutChanged() override;
    bool CanSizeColumn(int c) override;
    bool CanSizeRow(int r) override;
    unsigned GetDlgCode() override;
    void RepaintRow(int r) { (void)r; Invalidate(); }
    void RepaintCol(int c) { (void)c; Invalidate(); }
    TCellGraphic* NodeGraphic(int displayRow);
    void Scroll(platform::TScrollBarKind bar, int code, int pos) override;
    void ScrollRangeUpdated() override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    TCellGraphic* OwnGraphicOfKind(int c, int r, TCellType kind);
    // The graphic of a cell by real row, hidden rows included.
    TCellGraphic* RealRowGraphic(int c, int realRow);
    // The cell record of a real row, hidden rows included.
    TCellProperties* RealRowProps(int c, int realRow) const;
    QString RealRowText(int c, int realRow) const;
    void SetRealRowText(int c, int realRow, const QString& value);
    void SetRowsLevel(int fromDispl, int count, int delta);
    void HiddenChanged() { FHiddenDirty = true; }

    std::vector<TGridItem> FGridItems;  // collection order; pointers into it live until the next HiddenChanged
    int FFilterLevel = 0;
    int FNumNodes = 0;
    int FMaxRowCount = 0;

private:
    // The graphic's size by its kind; widen stretches full-aligned graphics over the cell.
    TPoint GraphicSize(int c, int r, int reserve, bool widen);
    void RebuildColumnMap();
    void RefreshHiddenIndex() const;
    int GetIntText(const QString& text);
    double GetFloatText(const QString& text);
    bool SetRowSelectRaw(int r, bool value);
    bool RowFlag(int r) const;
    // Look.
    virtual void DoCalcFooter(int c);
    void SetLookColors(TGridLook value);
    TGridLook FLook = glXP;
    controls::TSuiteStyle FComponentStyle = controls::tsCustom;
    int FLastOfficeTheme = -1;
    controls::TColorTones FColorTones;
    int FVAlignmentFlag = 0;
    int FMaxEditLength = 0;
    TEditorLooks FEditorLooks;
    void EditorSettingsChanged();
    // The drop-down editors' component style (kept for editors made later).
    void StyleDropDownEditors(controls::TSuiteStyle style);
    bool FSpreadSheet = false;
    bool FSelectionChanged = false;
    TGridCoord FLastBalloonCell;
    TGridCoord FHoverFixedCell;
    int FHoverFixedX = -1;  // client x of the mouse over the hovered fixed cell
    QPointer<QWidget> FFocusFrame;
    void TrackHover(int x, int y);
    // The hover or pressed look of the hovered fixed cell; the drop-down button takes 16 pixels off area.
    bool DrawHoverFixedCell(platform::TCanvas& canvas, int c, int rc, int r, TRect& area);
    // A fixed cell of the list-view look: a header item, hot or pressed under the mouse.
    void DrawListViewFixedCell(platform::TCanvas& canvas, int c, int r, const TRect& area);
    void RepaintHoverFixedCell();
    // Watches the grid's mouse for balloons; lives as a child object of the grid.
    struct TBalloonHook {
        explicit TBalloonHook(TExtStringGrid* grid);
        class TBalloonTip* Tip = nullptr;
    } FBalloonHook{this};
    std::array<std::unique_ptr<TScrollControl>, 2> FScrollControls;
    std::unique_ptr<TGridSpin> FSpinEdit;
    std::unique_ptr<TGridDatePicker> FDatePicker;
    std::unique_ptr<TGridDateTimePicker> FDateTimePicker;
    TGridLayers FLayers;
    std::unique_ptr<TGridEditLayer> FEditLayer;
    TGridUndoRecorder* FUndoRedo = nullptr;
    bool FEditLayerAsked = false;
    std::unique_ptr<TGridDataOps> FDataOps;
    bool FDataOpsAsked = false;
    std::unique_ptr<TExtRichEdit> FRichEdit, FRichEditPrint;
    std::array<std::unique_ptr<TGridDropDown>, GridDropDownKinds> FDropDowns;
    bool FLoaded = false;
    bool FIntegralHeight = false;
    std::vector<TGridChangeNotifier*> FNotifiers;
    std::unique_ptr<TCellGraphic> RowCheckGraphic;
    std::unique_ptr<TCellGraphic> VirtualCheckGraphic = std::make_unique<TCellGraphic>();

    std::array<bool, 513> FVisibleCol{};
    std::array<int16_t, 513> FAllColWidths{};
    std::array<int16_t, 513> DisplOfReal{};
    std::array<int16_t, 513> RealOfDispl{};
    int FNumHidden = 0;

    // Sorted view of the hidden rows' Idx values, with one item per distinct index.
    mutable std::vector<int> FHiddenSorted;
    mutable std::vector<const TGridItem*> FHiddenSortedItems;
    mutable std::vector<int> FDisplToReal;  // real row of every display row, built on demand
    mutable bool FHiddenDirty = false;

    int FFixedRowHeight = 22;
    int FRememberedFixedRows = 1;
    int FRememberedFixedCols = 1;
    int FMaxColCount = 0;
    int FUpdateCount = 0;
    int FRedrawLocks = 0;  // platform paint locks held for the update count
    bool FRedrawLockedByStart = false;  // the lock was taken by StartUpdate, not BeginUpdate
    TSelListener* FSelListener = nullptr;
    void ReleaseRedrawLocks();
    int FOldRowSel = -1;   // the row OnRowUpdate last told
    int FTimerTicks = 0;
    bool FBlinkPhase = false;
    bool FIsColChanging = false;
    std::vector<int> FOrigColSizes;
    int FOrigWidth = 0;
    std::vector<int> FColumnOrder;
    bool FMovedBySync = false;  // the move under way came from the synchronised grid
    // The synchronised grid to repeat a move in, or none.
    TExtStringGrid* SyncMoveTarget(bool columns) const;
    // Keeps the recorded column order in step with a column move.
    void ColumnOrderMoved(int from, int to);
    platform::ClockTimer FGridTimer;
    void StartGridTimer();
    // Scroll bars and drag scrolling.
    bool FIsFlat = false;
    TScrollType FScrollType = ssNormal;
    int FScrollWidth = 17;
    TScrollBarAlways FScrollBarAlways = saNone;
    std::array<int, 3> FSearchShortcuts{};  // forward, backward, highlight; 0: none
    bool FScrollProportional = false;
    std::array<bool, 2> FProportional{};
    bool FFirstPaintDone = false;  // a grid that is no tab stop refreshed its proportional bar
    TColor FHighlightColor = clHighlight, FHighlightTextColor = clHighlightText;
    bool FInPropUpdate = false;
    int FDragInterval = 0;  // the drag-scroll timer's current delay
    QObject* FFlatStyle = nullptr;  // the flat bars' style, a child of the grid
    std::unique_ptr<platform::THintWindow> FScrollHintWnd;
    controls::THTMLPictureCache FImageCache;
    TGridCoord FHoverAnchorCell{-1, -1};
    int FHoverAnchorLink = 0;
    void TrackHoverAnchor(int x, int y);
    void SetHoverAnchor(TGridCoord cell, int link);
    TGridCoord FCellControlDown{-1, -1};
    QPoint FCellControlPoint;
    platform::ClockTimer FAnimTimer;
    // Whether a picture of the cache or the container has frames to step through.
    bool HasAnimatedPictures();
    void StartAnimation();
    platform::ClockTimer FDragTmr;
    TDragScrollDirection FDragScrollDirection = 0;
    bool FAutoThemeAdapt = false;
    QWidget* FPanGlyph = nullptr;  // child of the client, made on first use
    void InitFlatScrollBars();
    void DoneFlatScrollBars();
    void ShowScrollHint(bool vertical, int n);
    void StopDragScroll();
    // Row (column) a proportional bar's position points at.
    int ProportionalIndex(platform::TScrollBarKind bar, int pos) const;
    // The stretch without the index check, for resizing and layout changes.
    void DoStretchColumn(int index);
    void FitColWidth(int index, bool growOnly);
    void FitRowHeight(int r, bool growOnly, int reserve);
    std::vector<bool> FRowSelect;
    std::vector<bool> FColSelect;
    std::vector<int> FSelectedRows;
    std::vector<int8_t> FModifiedRows;
    std::vector<int8_t> FDisabledRows;
    bool FRowEnablingUsed = false;
    TGridRect FOldSelection{};
    bool FSelHidden = false;
    bool FForceSel = false;
};

}  // namespace grid
