#pragma once
#include "controls/tree/NodePool.h"
#include "controls/tree/NodeTreeTypes.h"
#include "platform/TCanvas.h"

#include <QPoint>
#include <QRect>
#include <array>
#include <vector>

namespace platform {
class TImageList;
}

// What painting and geometry hand between their steps: the paint record of one cell, the line
// images of a row, the image slots and the option sets of one paint pass.
namespace tree {

enum TTVInternalPaintOption : uint32_t {
    poBackground = 1u << 0, poColumnColor = 1u << 1, poDrawFocusRect = 1u << 2, poDrawSelection = 1u << 3,
    poDrawDropMark = 1u << 4, poGridLines = 1u << 5, poMainOnly = 1u << 6, poSelectedOnly = 1u << 7,
    poUnbuffered = 1u << 8,
};
using TTVInternalPaintOptions = uint32_t;

enum TTVLineType { ltNone, ltBottomRight, ltTopDown, ltTopDownRight, ltRight, ltTopRight, ltLeft, ltLeftBottom };
using TLineImage = std::vector<TTVLineType>;

enum TItemEraseAction { eaColor, eaDefault, eaNone };
enum TTVImageKind { ikNormal, ikSelected, ikState, ikOverlay };
enum TTVImageInfoIndex { iiNormal, iiState, iiCheck, iiOverlay };
enum TTVCellPaintMode { cpmPaint, cpmGetContentMargin };
enum TTVCellContentMarginType { ccmtAllSides, ccmtTopLeftOnly, ccmtBottomRightOnly };
enum TTVDropMode { dmNowhere, dmAbove, dmOnNode, dmBelow };

// The options of one offset change.
enum TScrollUpdateOption : uint32_t {
    suoRepaintHeader = 1u << 0, suoRepaintScrollBars = 1u << 1, suoScrollClientArea = 1u << 2,
    suoUpdateNCArea = 1u << 3,
};
using TScrollUpdateOptions = uint32_t;
constexpr TScrollUpdateOptions DefaultScrollUpdateFlags =
    suoRepaintHeader | suoRepaintScrollBars | suoScrollClientArea | suoUpdateNCArea;

struct TTVImageInfo {
    int Index = -1;
    int XPos = 0;
    int YPos = 0;
    bool Ghosted = false;
    platform::TImageList* Images = nullptr;
};

struct TTVPaintInfo {
    platform::TCanvas* Canvas = nullptr;
    TTVInternalPaintOptions PaintOptions = 0;
    PTreeNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    int Position = 0;
    QRect CellRect;
    QRect ContentRect;
    int NodeWidth = 0;
    TAlignment Alignment = taLeftJustify;
    TAlignment CaptionAlignment = taLeftJustify;
    // True for any reading order other than left to right.
    bool RightToLeft = false;
    QPoint BrushOrigin;
    std::array<TTVImageInfo, 4> ImageInfo;
};

// Qt's rectangles keep an inclusive right edge; the tree's arithmetic, like the platform's, keeps
// an exclusive one. These read and build rectangles the exclusive way.
inline int RRight(const QRect& r) { return r.left() + r.width(); }
inline int RBottom(const QRect& r) { return r.top() + r.height(); }
inline QRect MakeRect(int left, int top, int right, int bottom) { return platform::Rect(left, top, right, bottom); }

}  // namespace tree
