#include "protocols/fieldbus/USet_SDO_Client_Access.h"

#include "shell/UWindowList.h"

TFSet_SDO_Client_Access* FSet_SDO_Client_Access() { return shell::Window<TFSet_SDO_Client_Access>(); }

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(const grid::TGridLayers& gridLayers, QWidget* parent)
    : TCANopen_Window(fieldbus::SDO_Client_Window_Description(), &fieldbus::Check_SDO_Client_Tables, gridLayers, parent)
{
}
