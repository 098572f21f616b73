#include "protocols/fieldbus/UDNet.h"

#include "grid/core/ExtColumnGrid.h"
#include "protocols/fieldbus/UDNet_Files.h"
#include "shell/UWindowList.h"

TFDNet* FDNet() { return shell::Window<TFDNet>(); }

TFDNet::TFDNet(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(fieldbus::DNet_Window_Description(), gridLayers, parent)
{
    // The columns keep their widths.
    Table(0)->Options &= ~grid::goColSizing;
}

std::optional<QString> TFDNet::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return fieldbus::Check_DNet_Table(tables.at(0));
}
