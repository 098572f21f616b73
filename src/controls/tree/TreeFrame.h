#pragma once

// The window frame of a tree: its border style and the bevel drawn inside it.
namespace tree {

enum TBorderStyle { bsNone, bsSingle };
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// The edges a bevel is drawn on.
enum TBevelEdge : unsigned { beLeft = 1, beTop = 2, beRight = 4, beBottom = 8 };
using TBevelEdges = unsigned;
constexpr TBevelEdges AllBevelEdges = beLeft | beTop | beRight | beBottom;

}  // namespace tree
