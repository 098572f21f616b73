#pragma once

class TFDidudiredadFirmWare;

// Holds the program's windows for as long as it lives; they go with it, the last created first.
// Declared after the application object, so that no window outlives it. Its creation turns on
// the grids' editing and input before the first window exists.
class Application_Forms {
public:
    Application_Forms();
    Application_Forms(const Application_Forms&) = delete;
    Application_Forms& operator=(const Application_Forms&) = delete;
    ~Application_Forms();
};

// Creates the main window, the program's first window, and shows it. Every other window is
// created when it is first shown.
TFDidudiredadFirmWare* Show_Main_Form();
