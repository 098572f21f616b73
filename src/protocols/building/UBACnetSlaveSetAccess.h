#pragma once
#include "shell/USetupWindow.h"

#include <optional>
#include <vector>

namespace grid {
class TExtColumnGrid;
}

// "BACnet Set Access": the BACnet objects a BACnet-server gateway exposes, each tied to bytes of
// the exchange area, in a read table and a write table kept in BACnet_Slave_SetAccess.xml.
namespace building::bacnet::server {

// Real columns of both tables.
enum : int { N, Data_Type, Eng_Unit, Position, Bit, Length, Swap, Mnemonic, Count };
enum : int { Read_Table, Write_Table };

QStringList Read_Types();
QStringList Write_Types();

const shell::Setup_Window_Description& Window();
// The window's file with tables of the given number of rows.
shell::Project_File_Description File(int capacity);

// The object limit and the table capacity: 1000 with the description limit set, else 2000.
int Object_Limit(bool descLimit);
// The Length a write-table object type sets when chosen (upper-cased comparison); empty for others.
QString Write_Type_Length(const QString& type);
// The EDE object name of a Mnemonic: its first 32 characters with the description limit, else 16.
QString EDE_Name(const QString& mnemonic, bool descLimit);

// The first fault of the tables (read, then write) as the message to show, or nothing.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, bool descLimit);
// Two objects whose EDE names are equal, as the question to ask before saving; nothing when all
// names differ.
std::optional<QString> Duplicate_Names(const std::vector<shell::Table_Rows>& tables, bool descLimit);

}  // namespace building::bacnet::server

class TFBACnetSlaveSetAccess : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFBACnetSlaveSetAccess(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    // A new object type in the write table sets the row's Length.
    void ACG_BACnet_in_WriteComboChange(int col, int row, const QString& text);
    // Column 2 opens the engineering-unit picker for the cell; every double click then sizes.
    void DblClickUnit(grid::TExtStringGrid* Sender, int ARow, int ACol);

    grid::TExtColumnGrid* ACG_BACnet_in_Read;
    grid::TExtColumnGrid* ACG_BACnet_in_Write;
    int NByte_IN = 0;
    int NByte_OUT = 0;
    bool Desc_Lenght = false;

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
    // Asks before saving objects whose names would repeat in the EDE file.
    bool Confirm_Write() override;
};

TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess();
