#pragma once
#include <QString>
#include <Qt>
#include <functional>
#include <memory>

class QDrag;

namespace grid {

class TExtStringGrid;
class TGridEditLayer;
class TGridDataOps;

using TGridEditLayerFactory = std::function<std::unique_ptr<TGridEditLayer>(TExtStringGrid&)>;
using TGridDataOpsFactory = std::function<std::unique_ptr<TGridDataOps>(TExtStringGrid&)>;
// Reads a dropped file (its full name) into the grid.
using TGridFileLoader = std::function<void(TExtStringGrid&, const QString&)>;
// Runs the platform's drag loop for a prepared drag and answers the effect.
using TGridDragRunner = std::function<Qt::DropAction(QDrag&, Qt::DropActions allowed, Qt::DropAction preferred)>;

// What a grid does beyond showing and storing its cells lives in libraries above the core. Its
// owner hands the grid these parts (the program puts its default set together where it starts; a
// test builds what it needs). A part left empty leaves the grid without it: a grid given nothing
// is a plain grid that edits, sorts and loads nothing.
struct TGridLayers {
    // The editing layer with its keyboard and mouse input, made on the grid's first need of it.
    TGridEditLayerFactory Editing{};
    // Sorting, grouping, filtering, searching and the bulk operations, made on first need.
    TGridDataOpsFactory DataOps{};
    // Readers of a dropped ".CSV" or ".XLS" file (all rows); without one such a drop is refused
    // with a message.
    TGridFileLoader CsvLoader{}, XlsLoader{};
    // The drag loop of outgoing drags; empty: the platform's own.
    TGridDragRunner DragRunner{};
};

}  // namespace grid
