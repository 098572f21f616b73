#include "protocols/fieldbus/USet_SDO_Server_Access.h"

#include "shell/UWindowList.h"

TFSet_SDO_Server_Access* FSet_SDO_Server_Access() { return shell::Window<TFSet_SDO_Server_Access>(); }

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(const grid::TGridLayers& gridLayers, QWidget* parent)
    : TCANopen_Window(fieldbus::SDO_Server_Window_Description(), &fieldbus::Check_SDO_Server_Tables, gridLayers, parent)
{
}
