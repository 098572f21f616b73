#include "app/UForms.h"

#include "app/UDidudiredadFirmWare.h"
#include "grid/dataops/GridCsv.h"
#include "grid/dataops/GridDataOperations.h"
#include "grid/dataops/GridOffice.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "platform/Guard.h"
#include "shell/UWindowList.h"

#include <QTimer>

grid::TGridLayers Default_Grid_Layers()
{
    grid::TGridLayers layers;
    // Cells are edited, and the grid takes keys and the mouse.
    layers.Editing = grid::editing::EditingLayer(grid::editing::InputHandling());
    // Sorting, grouping, filtering and searching.
    layers.DataOps = grid::dataops::DataOperations();
    // A dropped ".CSV" file is read into the grid.
    layers.CsvLoader = grid::dataops::CsvFileLoader();
    // A dropped ".XLS" file: its active sheet.
    layers.XlsLoader = grid::dataops::XlsFileLoader();
    return layers;
}

Application_Forms::Application_Forms() { shell::Window_List().Grid_Layers = Default_Grid_Layers(); }

Application_Forms::~Application_Forms()
{
    shell::Window_List().Clear();
    shell::Window_List().Grid_Layers = {};
}

TFDidudiredadFirmWare* Show_Main_Form()
{
    TFDidudiredadFirmWare* main = FDidudiredadFirmWare();
    main->show();
    // Once the window shows, from the event loop, as a click would come.
    QTimer::singleShot(0, main, [main] { platform::Guarded([main] { main->Press_Step_From_Environment(); }); });
    return main;
}
