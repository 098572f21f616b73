#pragma once
#include "controls/tree/NodeTreeTypes.h"
#include "platform/Bytes.h"
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// The columns of a tree: one collection, owned by the header, whose items keep a fixed index and
// a position on screen that column drags change.
namespace tree {

class TBaseNodeTree;
class TTVHeader;
class TNodeTreeColumns;

using TColumnPosition = uint32_t;

enum TNodeTreeColumnStyle { vsText, vsOwnerDraw };
enum TTVHeaderColumnLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

enum TTVColumnOption : uint16_t {
    coAllowClick = 1u << 0, coDraggable = 1u << 1, coEnabled = 1u << 2, coParentBidiMode = 1u << 3,
    coParentColor = 1u << 4, coResizable = 1u << 5, coShowDropMark = 1u << 6, coVisible = 1u << 7,
    coAutoSpring = 1u << 8, coFixed = 1u << 9, coSmartResize = 1u << 10, coAllowFocus = 1u << 11,
    coDisableAnimatedResize = 1u << 12, coWrapCaption = 1u << 13, coUseCaptionAlignment = 1u << 14,
    coEditable = 1u << 15,
};
using TTVColumnOptions = uint16_t;
constexpr TTVColumnOptions DefaultColumnOptions = 0x88FF;

enum TTVHeaderHitPosition : uint8_t { hhiNoWhere = 1u << 0, hhiOnColumn = 1u << 1, hhiOnIcon = 1u << 2, hhiOnCheckbox = 1u << 3 };
using TTVHeaderHitPositions = uint8_t;

struct TTVHeaderHitInfo {
    int X = 0;
    int Y = 0;
    platform::TMouseButton Button = platform::mbLeft;
    platform::TShiftState Shift = 0;
    TColumnIndex Column = NoColumn;
    TTVHeaderHitPositions HitPosition = hhiNoWhere;
};

enum TSmartAutoFitType { smaAllColumns, smaNoColumn, smaUseColumnOption };
enum TTVDropMarkMode { dmmNone, dmmLeft, dmmRight };

// Filled for every header cell paint and handed to the owner-draw events.
struct THeaderPaintInfo {
    platform::TCanvas* TargetCanvas = nullptr;
    class TNodeTreeColumn* Column = nullptr;  // nil for the background
    QRect PaintRectangle;
    QRect TextRectangle;
    bool IsHoverIndex = false;
    bool IsDownIndex = false;
    bool IsEnabled = false;
    bool ShowHeaderGlyph = false;
    bool ShowSortGlyph = false;
    bool ShowRightBorder = false;
    TTVDropMarkMode DropMark = dmmNone;
    QPoint GlyphPos;
    QPoint SortGlyphPos;
};

enum THeaderPaintElement : uint8_t {
    hpeBackground = 1u << 0, hpeDropMark = 1u << 1, hpeHeaderGlyph = 1u << 2, hpeSortGlyph = 1u << 3, hpeText = 1u << 4,
};
using THeaderPaintElements = uint8_t;

// One column's settings as a stream holds them, read whole before anything is applied.
struct TColumnRecord {
    QString Text;
    QString Hint;
    int32_t Width = 50;
    int32_t MinWidth = 10;
    int32_t MaxWidth = 10000;
    int32_t Style = vsText;
    int32_t ImageIndex = -1;
    int32_t Layout = blGlyphLeft;
    int32_t Margin = 4;
    int32_t Spacing = 3;
    int32_t BiDiMode = bdLeftToRight;
    uint32_t Options = DefaultColumnOptions;
    int32_t Tag = 0;
    int32_t Alignment = taLeftJustify;
    uint32_t Color = 0;
    bool HasColor = false;
    int32_t CaptionAlignment = taLeftJustify;
    bool HasCaptionAlignment = false;
};

// The column collection as a stream holds it.
struct TColumnsRecord {
    std::vector<TColumnRecord> Columns;
    std::vector<int32_t> Positions;  // position -> column index
    int32_t DefaultWidth = 50;
    bool HasDefaultWidth = false;
};

class TNodeTreeColumn {
public:
    // Joins the collection at the end, with the collection's default width.
    explicit TNodeTreeColumn(TNodeTreeColumns* collection);
    ~TNodeTreeColumn();
    TNodeTreeColumn(const TNodeTreeColumn&) = delete;
    TNodeTreeColumn& operator=(const TNodeTreeColumn&) = delete;

    TNodeTreeColumns* Collection() const { return FOwner; }
    TColumnIndex Index() const;
    TBaseNodeTree* Tree() const;

    const QString& Text() const { return FText; }
    void SetText(const QString& value);
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& value) { FHint = value; }
    // The caption as last laid out (wrapped).
    const QString& CaptionText() const { return FCaptionText; }
    // Scroll-adjusted left edge; a visible fixed column does not scroll.
    int Left() const;
    int Width() const { return FWidth; }
    void SetWidth(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    TColumnPosition Position() const { return FPosition; }
    void SetPosition(TColumnPosition value);
    TNodeTreeColumnStyle Style() const { return FStyle; }
    void SetStyle(TNodeTreeColumnStyle value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    TTVHeaderColumnLayout Layout() const { return FLayout; }
    void SetLayout(TTVHeaderColumnLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TTVColumnOptions Options() const { return FOptions; }
    void SetOptions(TTVColumnOptions value);
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t value) { FTag = value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // The caption's alignment: its own with coUseCaptionAlignment, else the cells'.
    TAlignment CaptionAlignment() const;
    void SetCaptionAlignment(TAlignment value);
    platform::TColor Color() const { return FColor; }
    void SetColor(platform::TColor value);
    bool CheckBox() const { return FCheckBox; }
    void SetCheckBox(bool value);
    TCheckType CheckType() const { return FCheckType; }
    void SetCheckType(TCheckType value);
    TCheckState CheckState() const { return FCheckState; }
    void SetCheckState(TCheckState value);
    TSortDirection DefaultSortDirection() const { return FDefaultSortDirection; }
    void SetDefaultSortDirection(TSortDirection value) { FDefaultSortDirection = value; }
    int LastWidth() const { return FLastWidth; }
    bool BonusPixel() const { return FBonusPixel; }
    float SpringRest() const { return FSpringRest; }
    const QRect& ImageRect() const { return FImageRect; }
    bool HasImage() const { return FHasImage; }
    bool Visible() const { return (FOptions & coVisible) != 0; }

    // The header cell in header coordinates, without the scroll offset.
    QRect GetRect() const;
    void Assign(const TNodeTreeColumn& source);
    bool Equals(const TNodeTreeColumn& other) const;
    void RestoreLastWidth();
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    void ParentBiDiModeChanged();
    void ParentColorChanged();
    // The name in a design-time list.
    QString DisplayName() const;

    void SaveToStream(platform::ByteWriter& stream) const;
    // Reads one record without applying it; false when short or out of range.
    static bool ReadRecord(platform::ByteReader& stream, int version, TColumnRecord& record);
    // Applies a checked record through the setters.
    void ApplyRecord(const TColumnRecord& record, int version);

    // Lays out glyph, sort glyph and caption inside Client (Client's coordinates).
    void LayoutHeaderCell(platform::TCanvas& canvas, const QRect& client, bool useHeaderGlyph, bool useSortGlyph,
                          QPoint& glyphPos, QPoint& sortGlyphPos, QSize& sortGlyphSize, QRect& textBounds,
                          unsigned drawFormat);

private:
    friend class TNodeTreeColumns;
    friend class TTVHeader;
    // The collection's change notification for this item.
    void Changed();
    void ComputeHeaderLayoutSizes(platform::TCanvas& canvas, const QRect& client, bool useHeaderGlyph, bool useSortGlyph,
                                  QSize& glyphSize, QSize& sortSize, QSize& textSize);

    TNodeTreeColumns* FOwner;
    QString FText;
    QString FHint;
    int FLeft = 0;
    int FWidth = 50;
    TColumnPosition FPosition = 0;
    int FMinWidth = 10;
    int FMaxWidth = 10000;
    TNodeTreeColumnStyle FStyle = vsText;
    int FImageIndex = -1;
    TBiDiMode FBiDiMode = bdLeftToRight;
    TTVHeaderColumnLayout FLayout = blGlyphLeft;
    int FMargin = 4;
    int FSpacing = 3;
    TTVColumnOptions FOptions = DefaultColumnOptions;
    intptr_t FTag = 0;
    TAlignment FAlignment = taLeftJustify;
    TAlignment FCaptionAlignment = taLeftJustify;
    int FLastWidth = 50;
    platform::TColor FColor = platform::clWindow;
    bool FBonusPixel = false;
    float FSpringRest = 0;
    QString FCaptionText;
    bool FCheckBox = false;
    TCheckType FCheckType = ctCheckBox;
    TCheckState FCheckState = csUncheckedNormal;
    QRect FImageRect;
    bool FHasImage = false;
    TSortDirection FDefaultSortDirection = sdAscending;
};

class TNodeTreeColumns {
public:
    explicit TNodeTreeColumns(TTVHeader* owner);
    ~TNodeTreeColumns();
    TNodeTreeColumns(const TNodeTreeColumns&) = delete;
    TNodeTreeColumns& operator=(const TNodeTreeColumns&) = delete;

    TTVHeader* Header() const { return FHeader; }
    TBaseNodeTree* Tree() const;

    TNodeTreeColumn* Add();
    // Removes and frees one column (its index and the indices above it move down by one).
    void Delete(TColumnIndex index);
    // The column at an index; an index out of range is the caller's error.
    TNodeTreeColumn* Items(TColumnIndex index) const;
    TNodeTreeColumn* operator[](TColumnIndex index) const { return Items(index); }
    void SetItems(TColumnIndex index, const TNodeTreeColumn& value) { Items(index)->Assign(value); }
    int Count() const { return int(FItems.size()); }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value) { FDefaultWidth = value; }
    void Clear();
    void Assign(const TNodeTreeColumns& source);
    bool Equals(const TNodeTreeColumns& other) const;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

    TColumnIndex ColumnFromPosition(QPoint p, bool relative = true) const;
    TColumnIndex ColumnFromPosition(TColumnPosition positionIndex) const;
    TColumnIndex ColumnAndBoundsAt(QPoint p, int& left, int& right, bool relative = true) const;
    void GetColumnBounds(TColumnIndex column, int& left, int& right) const;
    TColumnIndex GetFirstVisibleColumn(bool considerAllowFocus = false) const;
    TColumnIndex GetLastVisibleColumn(bool considerAllowFocus = false) const;
    TColumnIndex GetFirstColumn() const;
    TColumnIndex GetNextColumn(TColumnIndex column) const;
    TColumnIndex GetPreviousColumn(TColumnIndex column) const;
    TColumnIndex GetNextVisibleColumn(TColumnIndex column, bool considerAllowFocus = false) const;
    TColumnIndex GetPreviousVisibleColumn(TColumnIndex column, bool considerAllowFocus = false) const;
    std::vector<TNodeTreeColumn*> GetVisibleColumns() const;
    int GetVisibleFixedWidth() const;
    int GetScrollWidth() const;
    int TotalWidth() const;
    bool IsValidColumn(TColumnIndex column) const { return column >= 0 && column < Count(); }

    void AnimatedResize(TColumnIndex column, int newWidth);
    void SaveToStream(platform::ByteWriter& stream) const;
    // Reads the collection without applying it; false when short or not a valid layout.
    static bool ReadRecord(platform::ByteReader& stream, int version, TColumnsRecord& record);
    // Replaces the columns with a checked record.
    void ApplyRecord(const TColumnsRecord& record, int version);

    // Painting of the header strip: R in tree client coordinates of the strip (negative Y allowed
    // only through the header), HOffset the horizontal scroll offset.
    void PaintHeader(QPainter& painter, const QRect& r, int hOffset);
    // Paints the part R of the header (header coordinates) onto the canvas with its top-left at Target.
    void PaintHeader(platform::TCanvas& targetCanvas, QRect r, QPoint target, int rtlOffset = 0);
    void DrawHeaderCaption(platform::TCanvas& canvas, const QString& caption, QRect bounds, bool enabled, bool hot,
                           unsigned drawFormat, bool wrapCaption);

    // Used by the header.
    void UpdateColumnLefts(bool force);
    void FitAutoSizeColumn(bool force);
    bool SetHoverColumnAt(QPoint p);
    TColumnIndex SetDownColumnAt(QPoint p);
    bool ColumnSplitterAllowed(QPoint p, TColumnIndex column);
    void HandleHeaderClick(QPoint p, platform::TMouseButton button, bool force, bool dblClick);
    void RebuildPositions();
    void ResetColumnOrder(bool rightToLeft);
    bool DoCanSplitterResizeColumn(QPoint p, TColumnIndex column, bool allowed);

    // Transient mouse state.
    TColumnIndex HoverIndex() const { return FHoverIndex; }
    TColumnIndex DownIndex() const { return FDownIndex; }
    TColumnIndex TrackIndex() const { return FTrackIndex; }
    TColumnIndex ClickIndex() const { return FClickIndex; }
    // The column under the last button press in the tree's client area.
    void SetClickIndex(TColumnIndex column) { FClickIndex = column; }
    TColumnIndex DropTarget() const { return FDropTarget; }
    bool DropBefore() const { return FDropBefore; }
    TColumnIndex DragIndex() const { return FDragIndex; }
    bool CheckBoxHit() const { return FCheckBoxHit; }
    const std::vector<TColumnIndex>& PositionToIndex() const { return FPositionToIndex; }

private:
    friend class TNodeTreeColumn;
    friend class TTVHeader;
    void SyncPositionArray();
    // Runs after every item change and after additions; item nil for a general change.
    void Update(TNodeTreeColumn* item);
    bool TrackColumnAt(QPoint p, TColumnIndex& index);
    void PaintHeaderCell(platform::TCanvas& canvas, TNodeTreeColumn& column, const QRect& r, bool advanced,
                         bool plainOwnerDraw, bool showRightBorder);
    void ItemRemoved(TColumnIndex index);
    int EffectiveOffsetX() const;
    // Shift of the columns in right-to-left display (they end at the client's right edge).
    int RightToLeftOffset() const;

    TTVHeader* FHeader;
    std::vector<std::unique_ptr<TNodeTreeColumn>> FItems;
    QImage FHeaderBitmap;
    TColumnIndex FHoverIndex = NoColumn;
    TColumnIndex FDownIndex = NoColumn;
    TColumnIndex FTrackIndex = NoColumn;
    TColumnIndex FClickIndex = NoColumn;
    bool FCheckBoxHit = false;
    std::vector<TColumnIndex> FPositionToIndex;
    int FDefaultWidth = 50;
    bool FNeedPositionsFix = false;
    bool FClearing = false;
    TColumnIndex FDragIndex = NoColumn;
    TColumnIndex FDropTarget = NoColumn;
    bool FDropBefore = false;
    int FUpdateCount = 0;
    bool FAdding = false;
};

}  // namespace tree
