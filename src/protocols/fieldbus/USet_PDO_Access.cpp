#include "protocols/fieldbus/USet_PDO_Access.h"

#include "shell/UWindowList.h"

TFSet_PDO_Access* FSet_PDO_Access() { return shell::Window<TFSet_PDO_Access>(); }

TFSet_PDO_Access::TFSet_PDO_Access(const grid::TGridLayers& gridLayers, QWidget* parent)
    : TCANopen_Window(fieldbus::PDO_Window_Description(), &fieldbus::Check_PDO_Tables, gridLayers, parent)
{
}
