#pragma once
#include <QString>

#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// Layout stores of a grid. The column operations use the store that ColumnSize names: the INI
// file Key (clIniFile) or, for the registry location, an INI file in the user's configuration
// folder named after Key; Section is the section either way. An empty Key or Section does nothing.
// Every stored value is checked before the grid changes: a store that does not describe this
// grid (a width out of range, an order that is no permutation of the columns) leaves it as it was.

// "Col" + n: the width of display column n.
void SaveColSizes(TExtStringGrid& grid);
void LoadColSizes(TExtStringGrid& grid);
// "Pos" + k: entry k of the column-order list (nothing while it is empty).
void SaveColPositions(TExtStringGrid& grid);
void LoadColPositions(TExtStringGrid& grid);

// "N#widths#order#visibility", e.g. "3#64,64,64#0,1,2#1,1,1".
QString ColumnStatesToString(TExtStringGrid& grid);
// A text without "#" changes nothing; a damaged one raises EExtGridError and changes nothing.
void StringToColumnStates(TExtStringGrid& grid, const QString& value);

// The print settings in section Section of the INI file Key; every key has its default.
void SavePrintSettings(TExtStringGrid& grid, const QString& key, const QString& section);
void LoadPrintSettings(TExtStringGrid& grid, const QString& key, const QString& section);

// The grid's look as a text file of "Name=Value" lines (Windows-1252, CR LF). Raises
// EExtGridError "Cannot Create " + fileName or "Cannot open file " + fileName. The whole file is
// read and checked before anything is applied: a bad colour, Boolean or integer entry (a missing
// integer included) raises EExtGridError naming the entry and leaves the grid as it was; an
// enumeration name that matches none leaves that property unchanged.
void SaveVisualProps(TExtStringGrid& grid, const QString& fileName);
void LoadVisualProps(TExtStringGrid& grid, const QString& fileName);

// Column widths and column counts a store may give.
constexpr int MaxStoredWidth = 32767;
constexpr int MaxStoredColumns = 512;
constexpr int MaxColumnStateChars = 64 * 1024;

}  // namespace grid::dataops
