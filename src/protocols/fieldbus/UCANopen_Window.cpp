#include "protocols/fieldbus/UCANopen_Window.h"

TCANopen_Window::TCANopen_Window(const shell::Setup_Window_Description& description, Checks checks,
                                 const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(description, gridLayers, parent), FChecks(checks)
{
}

void TCANopen_Window::Prepare_Show()
{
    PROFINET_NByte_IN = fieldbus::CANopen_Area_Size;
    PROFINET_NByte_OUT = fieldbus::CANopen_Area_Size;
}

std::optional<QString> TCANopen_Window::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return FChecks({tables, PROFINET_NByte_IN, PROFINET_NByte_OUT});
}
