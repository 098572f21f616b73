#include "protocols/fieldbus/UModbus_TCP_Master_Set_Access.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "shell/UWindowList.h"

using namespace fieldbus::modbus_master;

namespace fieldbus::tcp_set_access {

namespace {

const Rule_Columns Read_Columns = {.IP_Address = rd::IP_Address, .Port = rd::Port, .Slave_ID = rd::Slave_ID,
                                   .Type = rd::Type, .Address = rd::Address, .NPoint = rd::NPoint,
                                   .PollTime = rd::PollTime, .MaxError = rd::MaxError, .Topic = rd::Topic};
const Rule_Texts Read_Texts = {.IP_Address = 1539, .Port = 1540, .Slave_ID = 1541, .Type = 1542, .Address = 1543,
                               .NPoint = 1544, .PollTime = 1599, .MaxError = 1546, .Topic = 1598};
const Rule_Columns Write_Columns = {.IP_Address = wr::IP_Address, .Port = wr::Port, .Slave_ID = wr::Slave_ID,
                                    .Type = wr::Type, .Address = wr::Address, .NPoint = wr::NPoint,
                                    .PollTime = wr::PollTime, .MaxError = wr::MaxError, .Position = wr::Position,
                                    .Bit = wr::Bit};
const Rule_Texts Write_Texts = {.IP_Address = 1550, .Port = 1551, .Slave_ID = 1552, .Type = 1553, .Address = 1554,
                                .NPoint = 1555, .PollTime = 1556, .MaxError = 1557, .Position = 1558, .Bit = 1559,
                                .Last_Byte = 1560};

Window_Data Make_Window()
{
    const QStringList positions = shell::Byte_Position_Items(Data_Array_Size, false);
    const QStringList bits = shell::Byte_Position_Items(8, false);
    shell::Table_Description read;
    read.Container = QStringLiteral("Modbus_Read");
    read.Columns = {
        Number_Column(1508),
        Enable_Column(1509, 1569),
        Text_Column(1510, 1570, 101, Ident_Colour, "IP_Address"),
        Text_Column(1511, 1571, 45, Ident_Colour, "Port"),
        Text_Column(1512, 1572, 55, Ident_Colour, "Slave_ID"),
        List_Column(1513, 1573, Read_Type_Items(), 100, Ident_Colour, "Type"),
        Text_Column(1514, 1574, 55, Ident_Colour, "Address"),
        Text_Column(1515, 1575, 45, Ident_Colour, "NPoint"),
        Text_Column(1516, 1576, 60, Timing_Colour, "PollTime"),
        Text_Column(1517, 1577, 64, Timing_Colour, "MaxError"),
        List_Column(1518, 1578, positions, 60, Position_Colour, "Position", false),
        List_Column(1519, 1579, bits, 60, Position_Colour, "Bit", false),
        Check_Column(1520, 1580, 40, Swap_Colour, "Swap", "N"),
        Check_Column(1600, 1602, 80, Swap_Colour, "SwapWord", "N"),
        Topic_Column(1562, 1581, 120),
        Text_Column(1521, 1582, 140, White, "Mnemonic"),
    };
    read.Key_Column = rd::IP_Address;
    read.Enable_Column = rd::Enable;
    read.Capacity = 512;

    shell::Table_Description write;
    write.Container = QStringLiteral("Modbus_Write");
    write.Columns = {
        Number_Column(1522),
        Enable_Column(1523, 1583),
        Text_Column(1524, 1584, 101, Ident_Colour, "IP_Address"),
        Text_Column(1525, 1585, 45, Ident_Colour, "Port"),
        Text_Column(1526, 1586, 55, Ident_Colour, "Slave_ID"),
        List_Column(1527, 1587, Write_Type_Items(), 100, Ident_Colour, "Type"),
        Text_Column(1528, 1588, 55, Ident_Colour, "Address"),
        Text_Column(1529, 1589, 45, Ident_Colour, "NPoint"),
        Text_Column(1530, 1590, 60, Timing_Colour, "PollTime"),
        Check_Column(1531, 1591, 66, Timing_Colour, "OnChange", ""),
        Check_Column(1532, 1592, 56, Timing_Colour, "OnCMD", "N"),
        Text_Column(1533, 1593, 62, Timing_Colour, "MaxError"),
        List_Column(1534, 1594, positions, 55, Position_Colour, "Position"),
        List_Column(1535, 1595, bits, 55, Position_Colour, "Bit"),
        Check_Column(1536, 1596, 40, Swap_Colour, "Swap", "N"),
        Check_Column(1601, 1603, 80, Swap_Colour, "SwapWord", "N"),
        Text_Column(1537, 1597, 150, White, "Mnemonic"),
    };
    write.Key_Column = wr::IP_Address;
    write.Enable_Column = wr::Enable;
    write.Capacity = 512;

    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FModbus_TCP_Master_Set_Access");
    window.Client_Width = 1150;
    window.Client_Height = 337;
    // The file holds the root element alone, without a version comment.
    window.File = {QStringLiteral("ZAVIRAVI_Dovuve_ra_Varira_DOV_Izuvev"), QString(), {read, write}};
    window.Path = &shell::TApp_State::File_ModbusTCPM_SetAccess;
    window.Grid_Names = {QStringLiteral("ACG_Modbus_Read"), QStringLiteral("ACG_Modbus_Write")};
    window.Tab_Names = {QStringLiteral("TS_Modbus_Read"), QStringLiteral("TS_Modbus_Write")};
    window.Caption = 1500;
    window.Description = 1501;
    // Copy Row and Paste Row keep their English captions in every language (set by the window).
    window.Button_Captions = {1502, 1503, 1504, 1505};
    window.Button_Hints = {1563, 1564, 1565, 1566, 1567, 1568};
    window.Tab_Captions = {1506, 1507};
    window.Delete_Question = 1561;
    window.Row_Prefix = 1538;
    window.Insert_Enables = true;
    return {window, rd::Topic, false};
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

}  // namespace fieldbus::tcp_set_access

TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access()
{
    return shell::Window<TFModbus_TCP_Master_Set_Access>();
}

TFModbus_TCP_Master_Set_Access::TFModbus_TCP_Master_Set_Access(const grid::TGridLayers& gridLayers, QWidget* parent)
    : TModbus_Master_Window(fieldbus::tcp_set_access::Window(), gridLayers, parent)
{
    // The read table shows no header hints and keeps Enter in its cell.
    ACG_Modbus_Read->OnGridHint = nullptr;
    ACG_Modbus_Read->OnKeyPress = nullptr;
    Set_Lang();
}

void TFModbus_TCP_Master_Set_Access::Set_Lang()
{
    TModbus_Master_Window::Set_Lang();
    if (Btn_CopyRow) {
        Btn_CopyRow->SetCaption(QStringLiteral("Copy Row"));
        Btn_PasteRow->SetCaption(QStringLiteral("Paste Row"));
    }
}

std::optional<QString> TFModbus_TCP_Master_Set_Access::Check_Rules(const std::vector<shell::Table_Check_Input>& tables,
                                                                   int& faultTable) const
{
    return fieldbus::tcp_set_access::Check(tables, NByte_OUT, &faultTable);
}
