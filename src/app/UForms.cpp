#include "app/UForms.h"

#include "app/UDidudiredadFirmWare.h"
#include "grid/dataops/GridDataOperations.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "shell/UWindowList.h"

Application_Forms::Application_Forms()
{
    // Every grid of the program edits its cells and takes keys and the mouse through these.
    grid::editing::RegisterGridEditing();
    grid::editing::RegisterGridInput();
    // Their sorting, grouping, filtering and searching.
    grid::dataops::RegisterGridDataOps();
}

Application_Forms::~Application_Forms() { shell::Window_List().Clear(); }

TFDidudiredadFirmWare* Show_Main_Form()
{
    TFDidudiredadFirmWare* main = FDidudiredadFirmWare();
    main->show();
    return main;
}
