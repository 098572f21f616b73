#pragma once
#include "controls/tree/TreeColumns.h"
#include "platform/TImageList.h"

#include <QCursor>
#include <QMenu>
#include <QPointer>
#include <functional>
#include <memory>

class QWidget;

// The header of a tree: its columns and own settings (height with limits, font, colours, style,
// options, sort column, main column, auto-size column, fixed-area limits), the mouse work on the
// header strip and the header's stream form.
namespace tree {

class TTVDragImage;

// Header settings the tree core relies on (sorting and the main column).
struct TTVHeaderSettings {
    TColumnIndex SortColumn = NoColumn;
    TSortDirection SortDirection = sdAscending;
    TColumnIndex MainColumn = NoColumn;
};

enum TTVHeaderOption : uint32_t {
    hoAutoResize = 1u << 0, hoColumnResize = 1u << 1, hoDblClickResize = 1u << 2, hoDrag = 1u << 3,
    hoHotTrack = 1u << 4, hoOwnerDraw = 1u << 5, hoRestrictDrag = 1u << 6, hoShowHint = 1u << 7,
    hoShowImages = 1u << 8, hoShowSortGlyphs = 1u << 9, hoVisible = 1u << 10, hoAutoSpring = 1u << 11,
    hoFullRepaintOnResize = 1u << 12, hoDisableAnimatedResize = 1u << 13, hoHeightResize = 1u << 14,
    hoHeightDblClickResize = 1u << 15, hoHeaderClickAutoSort = 1u << 16, hoAutoColumnPopupMenu = 1u << 17,
};
using TTVHeaderOptions = uint32_t;
constexpr TTVHeaderOptions DefaultHeaderOptions = 0x20A;
constexpr TTVHeaderOptions AllHeaderOptions = (1u << 18) - 1;

enum TTVHeaderStyle { hsThickButtons, hsFlatButtons, hsPlates };

enum THeaderState : uint32_t {
    hsAutoSizing = 1u << 0, hsDragging = 1u << 1, hsDragPending = 1u << 2, hsLoading = 1u << 3,
    hsColumnWidthTracking = 1u << 4, hsColumnWidthTrackPending = 1u << 5, hsHeightTracking = 1u << 6,
    hsHeightTrackPending = 1u << 7, hsResizing = 1u << 8, hsScaling = 1u << 9, hsNeedScaling = 1u << 10,
};
using THeaderStates = uint32_t;
constexpr THeaderStates HeaderMouseStates = hsDragging | hsDragPending | hsColumnWidthTracking |
                                            hsColumnWidthTrackPending | hsHeightTracking | hsHeightTrackPending;

// Limits of the header height (relative to the tree) and of the fixed columns' total width
// (relative to the client width), in percent; 0 means unset.
class TTVFixedAreaConstraints {
public:
    uint8_t MaxHeightPercent() const { return FMaxHeightPercent; }
    uint8_t MaxWidthPercent() const { return FMaxWidthPercent; }
    uint8_t MinHeightPercent() const { return FMinHeightPercent; }
    uint8_t MinWidthPercent() const { return FMinWidthPercent; }
    void SetMaxHeightPercent(uint8_t value);
    void SetMaxWidthPercent(uint8_t value);
    void SetMinHeightPercent(uint8_t value);
    void SetMinWidthPercent(uint8_t value);
    void Assign(const TTVFixedAreaConstraints& source);
    std::function<void()> OnChange;

private:
    friend class TTVHeader;
    void Change()
    {
        if (OnChange)
            OnChange();
    }
    uint8_t FMaxHeightPercent = 0;
    uint8_t FMaxWidthPercent = 0;
    uint8_t FMinHeightPercent = 0;
    uint8_t FMinWidthPercent = 0;
};

// What the header is told: a message of the tree window with its point in the tree's client
// coordinates (the header strip has negative Y).
enum class THeaderMessageKind {
    Size, KillFocus, KeyDown, SetCursor, Timer, NCMouseMove, NCMouseLeave, MouseMove,
    NCLButtonDown, LButtonDown, NCLButtonUp, LButtonUp, NCRButtonDown, NCRButtonUp, NCMButtonDown, NCMButtonUp,
    NCLButtonDblClk, NCRButtonDblClk, NCMButtonDblClk, LButtonDblClk,
};
struct TTVHeaderMessage {
    THeaderMessageKind Kind = THeaderMessageKind::NCMouseMove;
    QPoint Pos;
    QPoint ScreenPos;
    int Key = 0;
    int TimerId = 0;
    // The answer to SetCursor when the header chose one.
    QCursor Cursor;
    bool CursorChosen = false;
};

// The header's stream contents, read whole before anything is applied.
struct THeaderRecord {
    int Version = -1;
    TColumnsRecord Columns;
    int32_t AutoSizeIndex = 0;
    uint32_t Background = 0;
    int32_t Height = 19;
    uint32_t Options = DefaultHeaderOptions;
    int32_t Style = hsThickButtons;
    uint32_t FontColor = 0;
    int32_t FontHeight = 0;
    QString FontName;
    int32_t FontPitch = 0;
    uint32_t FontStyle = 0;
    int32_t MainColumn = NoColumn;
    int32_t SortColumn = NoColumn;
    int32_t SortDirection = sdAscending;
    bool ParentFont = false;
    int32_t MaxHeight = 10000;
    int32_t MinHeight = 10;
    int32_t DefaultHeight = 19;
    uint8_t Percent[4] = {0, 0, 0, 0};  // max height, max width, min height, min width
};

class TTVHeader : public TTVHeaderSettings {
public:
    explicit TTVHeader(TBaseNodeTree* owner);
    virtual ~TTVHeader();
    TTVHeader(const TTVHeader&) = delete;
    // Takes the other header's settings (Assign).
    TTVHeader& operator=(const TTVHeader& source)
    {
        Assign(source);
        return *this;
    }

    TBaseNodeTree* Treeview() const { return FOwner; }
    TNodeTreeColumns& Columns() { return *FColumns; }
    const TNodeTreeColumns& Columns() const { return *FColumns; }
    void SetColumns(const TNodeTreeColumns& value) { FColumns->Assign(value); }

    int Height() const { return FHeight; }
    void SetHeight(int value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value);
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    const platform::TFont& Font() const { return FFont; }
    void SetFont(const platform::TFont& value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TTVHeaderOptions Options() const { return FOptions; }
    void SetOptions(TTVHeaderOptions value);
    TTVHeaderStyle Style() const { return FStyle; }
    void SetStyle(TTVHeaderStyle value);
    platform::TColor Background() const { return FBackgroundColor; }
    void SetBackground(platform::TColor value);
    TColumnIndex AutoSizeIndex() const { return FAutoSizeIndex; }
    void SetAutoSizeIndex(TColumnIndex value);
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    TColumnIndex GetMainColumn() const { return FColumns->Count() > 0 ? MainColumn : NoColumn; }
    void SetMainColumn(TColumnIndex value);
    TColumnIndex GetSortColumn() const { return SortColumn; }
    void SetSortColumn(TColumnIndex value);
    TSortDirection GetSortDirection() const { return SortDirection; }
    void SetSortDirection(TSortDirection value);
    // Both at once: the tree is sorted once for the pair, not once per change.
    void SetSort(TColumnIndex column, TSortDirection direction);
    TTVFixedAreaConstraints& FixedAreaConstraints() { return FFixedAreaConstraints; }
    void SetFixedAreaConstraints(const TTVFixedAreaConstraints& value) { FFixedAreaConstraints.Assign(value); }
    platform::TImageList* Images() const { return FImages; }
    void SetImages(platform::TImageList* images);
    int SplitterHitTolerance() const { return FSplitterHitTolerance; }
    void SetSplitterHitTolerance(int value) { FSplitterHitTolerance = value; }
    THeaderStates States() const { return FStates; }

    bool UseColumns() const { return FColumns->Count() > 0; }
    bool AllowFocus(TColumnIndex column) const;
    void Assign(const TTVHeader& source);
    void AutoFitColumns(bool animated = true, TSmartAutoFitType smartAutoFitType = smaUseColumnOption,
                        int rangeStartCol = NoColumn, int rangeEndCol = NoColumn);
    int ResizeColumns(int changeBy, TColumnIndex rangeStartCol, TColumnIndex rangeEndCol,
                      TTVColumnOptions options = coVisible);
    void RestoreColumns();
    bool InHeader(QPoint p) const;
    bool InHeaderSplitterArea(QPoint p) const;
    void Invalidate(TNodeTreeColumn* column, bool expandToBorder = false);
    void SaveToStream(platform::ByteWriter& stream) const;
    // Reads the whole stream into a record and applies it only when it is complete and sound;
    // otherwise raises ENodeTreeError and the layout stays as it was.
    void LoadFromStream(platform::ByteReader& stream);
    static bool ReadRecord(platform::ByteReader& stream, THeaderRecord& record);

    void ApplyHeaderConstraints();
    void DistributeSpringWidth();
    void RecomputeHeaderArea();
    void ChangeScale(int m, int d);
    // The font's change: a taller font may make the header taller.
    void FontChanged();
    // The tree's font or bidi mode changed.
    void ParentFontChanged();
    void ParentBiDiModeChanged();

    // Handles one message of the tree window; true when it was used up.
    virtual bool ProcessHeaderMessage(TTVHeaderMessage& message);
    bool FindSplitterColumn(QPoint p);
    bool IsColumnSplitterHit(QPoint p);
    bool IsHeightSplitterHit(QPoint p);
    void PrepareColumnDrag(QPoint p, bool start);
    void DragColumnTo(QPoint screenP);
    // The translucent image that follows a dragged column.
    TTVDragImage& DragImage() const { return *FDragImage; }

    // Header timer id and period.
    static constexpr int HeaderTimerInterval = 50;

protected:
    virtual void DoAfterAutoFitColumn(TColumnIndex column);
    virtual void DoAfterColumnWidthTracking(TColumnIndex column);
    virtual void DoAfterHeaderHeightTracking();
    virtual bool DoBeforeAutoFitColumn(TColumnIndex column, TSmartAutoFitType& smartAutoFitType);
    virtual void DoBeforeColumnWidthTracking(TColumnIndex column, platform::TShiftState shift);
    virtual void DoBeforeHeaderHeightTracking(platform::TShiftState shift);
    virtual bool DoCanSplitterResizeHeader(QPoint p, bool allowed);
    virtual bool DoColumnWidthDblClickResize(TColumnIndex column, QPoint p, platform::TShiftState shift);
    virtual bool DoColumnWidthTracking(TColumnIndex column, platform::TShiftState shift, QPoint& trackPoint, QPoint p);
    virtual QMenu* DoGetPopupMenu(TColumnIndex column, QPoint position);
    virtual bool DoHeaderHeightTracking(QPoint& p, platform::TShiftState shift);
    virtual bool DoHeaderHeightDblClickResize(QPoint& p, platform::TShiftState shift);
    virtual void ApplySortColumn(TColumnIndex value);
    // Takes the column over without sorting; true when it changed.
    bool TakeSortColumn(TColumnIndex value);

private:
    friend class TNodeTreeColumns;
    friend class TNodeTreeColumn;
    friend class TBaseNodeTree;
    bool Loading() const;
    void SortIfAuto();
    void ApplyRecord(const THeaderRecord& record);
    void ProcessHeaderMouseMove(TTVHeaderMessage& message, platform::TShiftState shift);
    void EndColumnDrag();
    void ShowAutoColumnMenu(QPoint p);
    void AutoColumnMenuTriggered(QAction* action);
    platform::TShiftState KeyboardShift() const;
    platform::TCustomControl* Window() const;

    TBaseNodeTree* FOwner;
    std::unique_ptr<TNodeTreeColumns> FColumns;
    int FHeight = 19;
    platform::TFont FFont;
    bool FParentFont = false;
    TTVHeaderOptions FOptions = DefaultHeaderOptions;
    TTVHeaderStyle FStyle = hsThickButtons;
    platform::TColor FBackgroundColor = platform::clBtnFace;
    TColumnIndex FAutoSizeIndex = 0;
    QPointer<QMenu> FPopupMenu;
    int FMaxHeight = 10000;
    int FMinHeight = 10;
    int FDefaultHeight = 19;
    TTVFixedAreaConstraints FFixedAreaConstraints;
    platform::TImageList* FImages = nullptr;
    int FSplitterHitTolerance = 8;
    std::unique_ptr<TTVDragImage> FDragImage;
    int FLastWidth = 0;
    THeaderStates FStates = 0;
    QPoint FDragStart;
    QPoint FTrackStart;
    QPoint FTrackPoint;
    std::unique_ptr<QMenu> FColumnPopupMenu;
};

}  // namespace tree
