#pragma once
#include "controls/tree/NodeTrees.h"

// The few questions painting and geometry ask the header's columns, in one place.
namespace tree {

inline bool ColumnsInUse(const TBaseNodeTree& t) { return t.Header().UseColumns(); }
inline bool ColumnIsValid(const TBaseNodeTree& t, TColumnIndex c) { return t.Header().Columns().IsValidColumn(c); }
inline int ColumnsTotalWidth(const TBaseNodeTree& t) { return t.Header().Columns().TotalWidth(); }
inline int ColumnsVisibleFixedWidth(const TBaseNodeTree& t)
{
    return t.Header().UseColumns() ? t.Header().Columns().GetVisibleFixedWidth() : 0;
}
// Left edge on screen: scrolled, except for a fixed column.
inline int ColumnLeft(const TBaseNodeTree& t, TColumnIndex c) { return t.Header().Columns()[c]->Left(); }
// Left edge in the virtual canvas.
inline int ColumnAbsoluteLeft(const TBaseNodeTree& t, TColumnIndex c) { return t.Header().Columns()[c]->GetRect().left(); }
inline int ColumnWidth(const TBaseNodeTree& t, TColumnIndex c) { return t.Header().Columns()[c]->Width(); }
inline bool ColumnIsFixed(const TBaseNodeTree& t, TColumnIndex c) { return t.Header().Columns()[c]->Options() & coFixed; }
inline bool ColumnRightToLeft(const TBaseNodeTree& t, TColumnIndex c)
{
    return t.Header().Columns()[c]->UseRightToLeftReading();
}
inline TAlignment ColumnAlignment(const TBaseNodeTree& t, TColumnIndex c) { return t.Header().Columns()[c]->Alignment(); }

}  // namespace tree
