#pragma once
#include "controls/tree/NodePool.h"
#include "platform/TCustomControl.h"

#include <QPoint>
#include <cstdint>

// What a point of the tree is over, and the mouse message the click handlers work on.
namespace tree {

enum THitPosition : uint32_t {
    hiAbove = 1u << 0, hiBelow = 1u << 1, hiNowhere = 1u << 2, hiOnItem = 1u << 3, hiOnItemButton = 1u << 4,
    hiOnItemButtonExact = 1u << 5, hiOnItemCheckbox = 1u << 6, hiOnItemIndent = 1u << 7, hiOnItemLabel = 1u << 8,
    hiOnItemLeft = 1u << 9, hiOnItemRight = 1u << 10, hiOnNormalIcon = 1u << 11, hiOnStateIcon = 1u << 12,
    hiToLeft = 1u << 13, hiToRight = 1u << 14, hiUpperSplitter = 1u << 15, hiLowerSplitter = 1u << 16,
};
using THitPositions = uint32_t;

struct THitInfo {
    PTreeNode HitNode = nullptr;
    THitPositions HitPositions = 0;
    TColumnIndex HitColumn = NoColumn;
    // In content coordinates: the scroll offsets are taken out.
    QPoint HitPoint;
};

enum TScrollDirection : uint8_t { sdLeft = 1, sdUp = 2, sdRight = 4, sdDown = 8 };
using TScrollDirections = uint8_t;

// A button message: which button, the keys and buttons held, and the point (client coordinates).
struct TWMMouse {
    platform::TMouseButton Button = platform::mbLeft;
    platform::TShiftState Keys = 0;
    QPoint Pos;
};

}  // namespace tree
