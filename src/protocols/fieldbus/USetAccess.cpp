#include "protocols/fieldbus/USetAccess.h"

#include "shell/UWindowList.h"

using namespace fieldbus::modbus_master;

namespace fieldbus::set_access {

namespace {

const Rule_Columns Read_Columns = {.Slave_ID = rd::Slave_ID, .Type = rd::Type, .Address = rd::Address,
                                   .NPoint = rd::NPoint, .PollTime = rd::PollTime, .MaxError = rd::MaxError,
                                   .Topic = rd::Topic};
const Rule_Texts Read_Texts = {.Slave_ID = 1369, .Type = 1370, .Address = 1371, .NPoint = 1372, .PollTime = 1373,
                               .MaxError = 1374, .Topic = 1378};
const Rule_Columns Write_Columns = {.Slave_ID = wr::Slave_ID, .Type = wr::Type, .Address = wr::Address,
                                    .NPoint = wr::NPoint, .PollTime = wr::PollTime, .MaxError = wr::MaxError,
                                    .Position = wr::Position, .Bit = wr::Bit};
const Rule_Texts Write_Texts = {.Slave_ID = 1379, .Type = 1380, .Address = 1381, .NPoint = 1382, .PollTime = 1383,
                                .MaxError = 1384, .Position = 1385, .Bit = 1386, .Last_Byte = 1387};

Window_Data Make_Window()
{
    const QStringList positions = shell::Byte_Position_Items(Data_Array_Size, false);
    const QStringList bits = shell::Byte_Position_Items(8, false);
    shell::Table_Description read;
    read.Container = QStringLiteral("Modbus_Read");
    read.Columns = {
        Number_Column(1316),
        Enable_Column(1317, 1343),
        Text_Column(1318, 1344, 60, Ident_Colour, "Slave_ID"),
        List_Column(1319, 1345, Read_Type_Items(), 115, Ident_Colour, "Type"),
        Text_Column(1320, 1346, 60, Ident_Colour, "Address"),
        Text_Column(1321, 1347, 64, Ident_Colour, "NPoint"),
        Text_Column(1322, 1348, 64, Timing_Colour, "PollTime"),
        Text_Column(1323, 1349, 64, Timing_Colour, "MaxError"),
        List_Column(1324, 1350, positions, 61, Position_Colour, "Position", false),
        List_Column(1325, 1351, bits, 64, Position_Colour, "Bit", false),
        Check_Column(1326, 1352, 40, Swap_Colour, "Swap", "N"),
        Check_Column(1390, 1392, 80, Swap_Colour, "SwapWord", "N"),
        // Loaded as the topic's index, shown as its text; a file without it names no topic.
        Topic_Column(1342, 1353, 120),
        Text_Column(1327, 1354, 120, White, "Mnemonic"),
    };
    read.Key_Column = rd::Slave_ID;
    read.Enable_Column = rd::Enable;
    read.Capacity = 512;

    shell::Table_Description write;
    write.Container = QStringLiteral("Modbus_Write");
    write.Columns = {
        Number_Column(1328),
        Enable_Column(1329, 1355),
        Text_Column(1330, 1356, 60, Ident_Colour, "Slave_ID"),
        List_Column(1331, 1357, Write_Type_Items(), 115, Ident_Colour, "Type"),
        Text_Column(1332, 1358, 60, Ident_Colour, "Address"),
        Text_Column(1333, 1359, 64, Ident_Colour, "NPoint"),
        Text_Column(1334, 1360, 64, Timing_Colour, "PollTime"),
        Check_Column(1335, 1361, 68, Timing_Colour, "OnChange", ""),
        Check_Column(1336, 1362, 56, Timing_Colour, "OnCMD", "N"),
        Text_Column(1337, 1363, 64, Timing_Colour, "MaxError"),
        List_Column(1338, 1364, positions, 64, Position_Colour, "Position"),
        List_Column(1339, 1365, bits, 64, Position_Colour, "Bit"),
        Check_Column(1340, 1366, 40, Swap_Colour, "Swap", "N"),
        Check_Column(1391, 1393, 80, Swap_Colour, "SwapWord", "N"),
        Text_Column(1341, 1367, 113, White, "Mnemonic"),
    };
    write.Key_Column = wr::Slave_ID;
    write.Enable_Column = wr::Enable;
    write.Capacity = 512;

    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FSetAccess");
    window.Client_Width = 956;
    window.Client_Height = 337;
    window.File = {QStringLiteral("RuzirOviRI_da_Zuzize"), QStringLiteral("1.110"), {read, write}};
    window.Path = &shell::TApp_State::File_ModbusM_SetAccess;
    window.Grid_Names = {QStringLiteral("ACG_Modbus_Read"), QStringLiteral("ACG_Modbus_Write")};
    window.Tab_Names = {QStringLiteral("TS_Modbus_Read"), QStringLiteral("TS_Modbus_Write")};
    window.Caption = 1300;
    window.Description = 1301;
    window.Button_Captions = {1302, 1303, 1304, 1305, 1306, 1307};
    window.Button_Hints = {1308, 1309, 1310, 1311, 1312, 1313};
    window.Tab_Captions = {1314, 1315};
    window.Delete_Question = 1388;
    window.Row_Prefix = 1368;
    window.Insert_Enables = true;
    return {window, rd::Topic, true};
}

}  // namespace

const Window_Data& Window()
{
    static const Window_Data window = Make_Window();
    return window;
}

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int nByteOut, int* faultTable)
{
    return Check_Rule_Tables(Window().Window, tables, Read_Columns, Read_Texts, Write_Columns, Write_Texts, nByteOut,
                             faultTable);
}

}  // namespace fieldbus::set_access

TFSetAccess* FSetAccess() { return shell::Window<TFSetAccess>(); }

TFSetAccess::TFSetAccess(const grid::TGridLayers& gridLayers, QWidget* parent)
    : TModbus_Master_Window(fieldbus::set_access::Window(), gridLayers, parent)
{
}

std::optional<QString> TFSetAccess::Check_Rules(const std::vector<shell::Table_Check_Input>& tables,
                                                int& faultTable) const
{
    return fieldbus::set_access::Check(tables, NByte_OUT, &faultTable);
}
