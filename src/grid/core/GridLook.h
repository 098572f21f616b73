#pragma once
#include <QString>
#include <QWidget>

#include "grid/core/GridOwned.h"
#include "grid/core/GridSettings.h"

namespace platform {
class TCanvas;
}

namespace grid {

class TExtStringGrid;

// The named colour sets of SetStyle; the values match the shared suite styles.
enum TExtGridStyle : uint8_t {
    gsOffice2003Blue, gsOffice2003Silver, gsOffice2003Olive, gsOffice2003Classic, gsOffice2007Luna,
    gsOffice2007Obsidian, gsWindowsXP, gsWhidbey, gsCustom, gsOffice2007Silver, gsWindowsVista,
    gsWindows7, gsTerminal, gsOffice2010Blue, gsOffice2010Silver, gsOffice2010Black
};
enum TXPColorScheme : uint8_t { xpNone, xpBlue, xpGreen, xpGray, vistaAero };

enum TProgressStyle : uint8_t { psXP, psClassic };

// Colours of progress cells. Every setter tells OnChange of a changed value only.
class TGridProgressAppearance {
public:
    TNotifyEvent OnChange;

#define GRID_PROGRESS_PROPERTY(type, name, init)               \
    type name() const { return F##name; }                      \
    void Set##name(type value) { Set(F##name, value); }
#define GRID_PROGRESS_FIELD(type, name, init) type F##name = init;
#define GRID_PROGRESS_COPY(type, name, init) F##name = source.F##name;
#define GRID_PROGRESS_PROPERTIES(X)                            \
    X(TColor, CompleteColor, 0x0000FF)                         \
    X(TColor, CompleteFontColor, 0xFF0000)                     \
    X(TColor, UnCompleteColor, clNone)                         \
    X(TColor, UnCompleteFontColor, clWindowText)               \
    X(TColor, Level0Color, 0x00FF00)                           \
    X(TColor, Level0ColorTo, 0xE1FFE1)                         \
    X(TColor, Level1Color, 0x00FFFF)                           \
    X(TColor, Level1ColorTo, 0xCAFFFF)                         \
    X(TColor, Level2Color, 0x53A9FF)                           \
    X(TColor, Level2ColorTo, 0xA8D3FF)                         \
    X(TColor, Level3Color, 0x0000FF)                           \
    X(TColor, Level3ColorTo, 0xCACAFF)                         \
    X(int, Level1Perc, 70)                                     \
    X(int, Level2Perc, 90)                                     \
    X(TColor, BorderColor, 0)                                  \
    X(bool, ShowBorder, false)                                 \
    X(bool, Stacked, false)                                    \
    X(bool, ShowPercentage, true)                              \
    X(bool, CompletionSmooth, true)                            \
    X(bool, ShowGradient, true)                                \
    X(int, Steps, 11)                                          \
    X(TProgressStyle, Style, psXP)

    GRID_PROGRESS_PROPERTIES(GRID_PROGRESS_PROPERTY)

    // Copies every property, then tells OnChange once.
    void Assign(const TGridProgressAppearance& source)
    {
        GRID_PROGRESS_PROPERTIES(GRID_PROGRESS_COPY)
        Changed();
    }

    static constexpr TColor clWindowText = 0xFF000008;

private:
    GRID_PROGRESS_PROPERTIES(GRID_PROGRESS_FIELD)
#undef GRID_PROGRESS_PROPERTY
#undef GRID_PROGRESS_FIELD
#undef GRID_PROGRESS_COPY

    template <typename T>
    void Set(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
};

enum TBackGroundDisplay : uint8_t { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells : uint8_t { bcNormal, bcFixed, bcAll };

// The grid's background picture or gradient. Every setter repaints, changed value or not.
class TBackGround {
public:
    explicit TBackGround(TExtStringGrid* grid) : FGrid(grid) {}
    int Top() const { return FTop; }
    void SetTop(int value);
    int Left() const { return FLeft; }
    void SetLeft(int value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay value);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    const TGlyph& Bitmap() const { return FBitmap; }
    void SetBitmap(const TGlyph& value);

private:
    template <typename T>
    void Set(T& field, T value);
    TExtStringGrid* FGrid;
    int FTop = 0, FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    TBackGroundCells FCells = bcNormal;
    TColor FColor = clWindow, FColorTo = clBtnFace;
    TGlyph FBitmap;
};

// Whether the in-place editor lets the row grow in height or the column in width while typing.
class TSizeWhileTyping {
public:
    bool Height = false;
    bool Width = false;
};

enum TSortBlankPosition : uint8_t { blFirst, blLast };
enum TIndexSortKey : uint8_t { ikShift, ikCtrl };

// Sorting options, header glyphs and header colours of the sorted column.
class TSortSettings : public TSortShowSettings {
public:
    explicit TSortSettings(TExtStringGrid* grid) : FGrid(grid) {}
    TSortDirection InitSortDirection = sdAscending;
    TIndexSortKey IndexSortKey = ikShift;
    bool Full = true;                  // equal keys: the next columns decide
    bool SingleColumn = false;         // only the sort column's cells move
    bool IgnoreBlanks = false;         // empty cells go where BlankPos says
    TSortBlankPosition BlankPos = blFirst;
    bool AutoFormat = true;            // numbers, dates, times and check boxes detected
    bool IgnoreCase = false;
    bool NormalCellsOnly = false;      // column 0 stays in place
    bool UndoSort = false;             // the click back to InitSortDirection restores the order
    bool AutoColumnMerge = false;
    bool AutoSortForGrouping = true;
    bool SortOnVirtualCells = true;    // compare the displayed texts

    // A change repaints the grid.
    void SetShow(bool value);
    // Raises unless value is below the grid's fixed rows.
    void SetRow(int value);
    void ToggleDirection() { Direction = Direction == sdAscending ? sdDescending : sdAscending; }
    // No sort column and no sort indexes.
    void Remove();
    // "u3" / "d3" for column 3 ascending / descending; "i;" and the index list with IndexShow.
    QString SaveToString() const;
    // Reads SaveToString's form and sorts the grid by it; an empty text does nothing.
    void LoadFromString(const QString& value);
    // Everything but IgnoreCase and SortOnVirtualCells, field by field.
    void Assign(const TSortSettings& source);
    TColor HeaderColor() const { return FHeaderColor; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderColor(TColor value) { Set(FHeaderColor, value); }
    void SetHeaderColorTo(TColor value) { Set(FHeaderColorTo, value); }
    void SetHeaderMirrorColor(TColor value) { Set(FHeaderMirrorColor, value); }
    void SetHeaderMirrorColorTo(TColor value) { Set(FHeaderMirrorColorTo, value); }

private:
    void Set(TColor& field, TColor value);
    TExtStringGrid* FGrid;
    TColor FHeaderColor = clNone, FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone, FHeaderMirrorColorTo = clNone;
};

// Balloon tool tips that show a cell's full text. Delays of -1 take the system's.
class TBalloonSettings {
public:
    bool Enable = false;
    TColor BackgroundColor = clNone;
    TColor TextColor = clNone;
    int InitialDelay = -1;
    int ReshowDelay = -1;
    int AutoHideDelay = -1;
    int Transparency = 0;
};

enum TBalloonIcon : uint8_t { biNone, biInfo, biWarning, biError };

// What a balloon shows for a cell: title, body text and icon.
struct TBalloonText {
    QString Title;
    QString Text;
    TBalloonIcon Icon = biInfo;
};

enum TScrollDirection : uint8_t { sdVertical, sdHorizontal };

// The thin owner-drawn scroll bar of the ssMetro scroll type: a child window the grid docks at
// its right (bottom) edge, drawing only a thumb of `ScrollWidth` pixels over a track that leaves
// out the fixed rows (columns) and the footer rows; pressing and dragging it scrolls the grid.
// It does nothing while its parent is not a grid.
class TScrollControl : public QWidget {
public:
    TScrollControl(TExtStringGrid* grid, TScrollDirection direction);
    TExtStringGrid* Grid;
    TScrollDirection Direction;
    int ScrollWidth = 4;
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    struct TThumb {
        int Start = 0;     // where the track starts
        int Length = 0;    // track length
        int Position = 0;  // thumb start
        int Size = 0;      // thumb length
    };
    // The thumb for the control's current length (its height, or width when horizontal).
    TThumb Thumb() const;
    bool ShowsThumb() const;
    void Paint(platform::TCanvas& canvas) const;
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp();
    bool Dragging() const { return FDownOnScroller; }

protected:
    // Docks again when the client area it sits in changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct TAxis;
    int Length() const;
    bool InGrid() const;
    TColor FColor = clSilver;
    bool FDownOnScroller = false;
    int FDownPos = 0;
    int FDownRow = 0;
};

// Identifier and caption of a look; glCustom leaves s as it was.
void GridLookToString(TGridLook look, QString& s);
void GridLookCaption(TGridLook look, QString& s);

}  // namespace grid
