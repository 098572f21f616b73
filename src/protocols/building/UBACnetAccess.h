#pragma once
#include "protocols/building/UImportEDEFile.h"
#include "shell/USetupWindow.h"

#include <optional>
#include <vector>

namespace grid {
class TExtColumnGrid;
}

// "Set BACnet Access": what a BACnet-client gateway reads from and writes to remote BACnet
// devices and where each value lives in the exchange area, kept in BACnet_Master_Access.xml.
// Rows can be imported from a device's EDE file.
namespace building::bacnet::client {

enum : int { Read_Table, Write_Table };
// Real columns of the read table.
enum Read_Column : int {
    R_N, R_Enable, R_Address, R_Object_Type, R_Instance, R_Property, R_NByte, R_En_Dest, R_D_Net, R_D_Len, R_D_Add,
    R_Poll_Time, R_Max_Err, R_Position, R_Start_Bit, R_Swap, R_Convertion, R_Mnemonic, R_Count
};
// Real columns of the write table.
enum Write_Column : int {
    W_N, W_Enable, W_Address, W_Object_Type, W_Data_Type, W_Instance, W_Property, W_Priority, W_NByte, W_En_Dest,
    W_D_Net, W_D_Len, W_D_Add, W_Change, W_Timer, W_Poll_Time, W_Max_Err, W_Position, W_Start_Bit, W_Swap,
    W_Convertion, W_Mnemonic, W_Count
};

constexpr int Rows_Per_Table = 512;

const shell::Setup_Window_Description& Window();
// The file and tables as a network kind shows them: the address column's header, whether it is
// shown, and the key cell (the address for kinds 0 and 1, else the object type).
shell::Project_File_Description File(int appBACnetType);

// ---- Validation ----------------------------------------------------------------------------------

// Object-type code of a text (trimmed, upper-cased) for the read (0) or write (1) table; -1 invalid.
int Check_Object_Type(const QString& text, int read_write);
// Byte count of a property, 100 for Present Value, 200 for a proprietary one, -1 when invalid.
int Check_Property(const QString& text, int read_write, int Obj_Type);
// 1000 when the data type suits the object's present value (any type for other properties); -1 not.
int Check_Data_Type(const QString& text, int Obj_Type, int Property_val);
// The data type a present value of that object type needs; empty when there is none.
QString Aspected_Data_Type_Value(int Obj_Type, int Property_val);
// The largest byte count of a data type.
int Check_Num_Byte_Max(const QString& text);
// The fault of a comma-separated destination address of n bytes, as its message; nothing when good.
std::optional<QString> Check_Dest_Add(const QString& values, int NumByte, bool InRead);

// The first fault of the tables (read first), with its table's row prefix; nothing when both pass.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int appBACnetType);

// ---- EDE import ----------------------------------------------------------------------------------

QString Get_ObjType_EDE(int type);
QString Get_DataType_EDE(int type);
int Get_NumByte_EDE(int type);

// Adds the chosen objects to the tables (full rows, as the grids hold them): each after the last
// used row and byte of its table. Changes nothing and gives the reason when the new rows do not
// fit the table or the exchange area, or would overwrite a row that holds data.
std::optional<QString> Import_EDE_Vars(std::vector<QStringList>& read, std::vector<QStringList>& write,
                                       const std::vector<TBACnet_Var>& vars, const QString& address,
                                       int appBACnetType);

}  // namespace building::bacnet::client

class TFBACnetAccess : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFBACnetAccess(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    void Set_Lang() override;

    void Btn_Import_CSVClick();
    // The bytes a read row's property takes, over its NByte cell.
    void ACG1GridHint(int ARow, int ACol, QString& hintstr);

    grid::TExtColumnGrid* ACG1;
    grid::TExtColumnGrid* ACG2;
    controls::TPicButton* Btn_Import_CSV = nullptr;
    int App_BACnet_Type = 0;

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFBACnetAccess* FBACnetAccess();
