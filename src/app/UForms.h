#pragma once
#include "grid/core/GridLayers.h"

class TFDidudiredadFirmWare;

// The program's grids' layers: editing with keyboard and mouse input, and the data operations.
grid::TGridLayers Default_Grid_Layers();

// Holds the program's windows for as long as it lives; they go with it, the last created first.
// Declared after the application object, so that no window outlives it. Its creation hands the
// window list the program's grid layers before the first window exists, for the windows it makes.
class Application_Forms {
public:
    Application_Forms();
    Application_Forms(const Application_Forms&) = delete;
    Application_Forms& operator=(const Application_Forms&) = delete;
    ~Application_Forms();
};

// Creates the main window, the program's first window, and shows it; then presses the step button
// that CONFIGURATOR_STEP names, if any. Every other window is created when it is first shown.
TFDidudiredadFirmWare* Show_Main_Form();
