#pragma once
#include "TForm.h"

#include <memory>
#include <vector>

// Every window of the program, created once at start in a fixed order; the first is the main window.
struct Application_Forms {
    std::vector<std::unique_ptr<platform::TForm>> Windows;
};

Application_Forms Create_Application_Forms();
void Show_Main_Form(Application_Forms& forms);
