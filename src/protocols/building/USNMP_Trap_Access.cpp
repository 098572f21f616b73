#include "protocols/building/USNMP_Trap_Access.h"

#include "grid/core/ExtColumnGrid.h"
#include "protocols/building/USNMP_MIB.h"
#include "protocols/building/USNMP_Tables.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"
#include "shell/UWindowList.h"

namespace building::snmp_agent {

using shell::Cell_Editor;
using shell::Table_Column;
using snmp::Check_Column;
using snmp::Community_Items;
using snmp::List_Column;
using shell::Outside;
using snmp::Text_Column;

namespace {

// Both tables' shared columns, by real column; -1 where a table has none.
struct Variable_Columns {
    int Community_Name, Type, On_Timer, Time, Position, Bit, NumBits, Description, IP_Address, Conversion;
};
// Text-table indices of one table's messages; 0 where the table has no such check.
struct Variable_Texts {
    const char* Tag;  // names the table in the messages this program adds
    int Community_Name, Type, Time, Position, Bit, String_Bit, Bits, Bytes, Description, IP_Address, Conversion;
};

const Variable_Columns Read_Columns = {rd::Community_Name, rd::Type,        rd::On_Timer,   rd::Time,
                                       rd::Position,       rd::Bit,         rd::NumBits,    rd::Description,
                                       rd::IP_Address,     rd::Conversion};
const Variable_Columns Write_Columns = {wr::Community_Name, wr::Type, -1, -1, wr::Position, wr::Bit, wr::NumBits,
                                        wr::Description, -1, wr::Conversion};
const Variable_Texts Read_Texts = {"[SNMP Read] ", 3976, 3961, 3962, 3963, 3964, 3965, 3966, 3967, 3977, 3968, 3985};
const Variable_Texts Write_Texts = {"[SNMP Write] ", 3978, 3969, 0, 3970, 3971, 3972, 3973, 3974, 3979, 0, 3986};

// The widest integer a MIB object of this agent holds.
constexpr int64_t Max_Int_Bits = 32;

QStringList Conversion_Items()
{
    return {QStringLiteral("None"), QStringLiteral("Float"), QStringLiteral("Float * 10"),
            QStringLiteral("Float * 100"), QStringLiteral("Float / 10"), QStringLiteral("Float / 100")};
}

QStringList Bit_Items()
{
    QStringList items;
    for (int b = 0; b < 8; ++b)
        items.append(QString::number(b));
    return items;
}

shell::Table_Description Variable_Table(const char* container, std::vector<Table_Column> columns)
{
    shell::Table_Description table;
    table.Container = QLatin1String(container);
    table.Columns = std::move(columns);
    table.Key_Column = 2;  // Community Name in both tables
    table.Enable_Column = 1;
    table.Enable_Any_Case = true;
    table.Capacity = Table_Rows_Count;
    return table;
}

shell::Setup_Window_Description Make_Window()
{
    const QStringList types = {QStringLiteral("Int"), QStringLiteral("String")};
    // Position items are filled at every show from the area's size.
    shell::Table_Description read = Variable_Table(
        "SNMP_Trap_Read",
        {{.Header = 3916, .Kind = Cell_Editor::Row_Number, .Width = 40},
         Check_Column(3917, 3939, 50, "Enable", "Y", "Y"),
         List_Column(3918, 3940, Community_Items(), 130, "Community_Name", "", Cell_Editor::Editable_List),
         List_Column(3919, 3941, types, 60, "Type"),
         Check_Column(3920, 3942, 75, "On_Change", "N"),
         Check_Column(3921, 3943, 50, "On_Command", "N"),
         Check_Column(3922, 3944, 60, "On_Timer", "N"),
         Text_Column(3923, 3945, 65, "Time"),
         List_Column(3924, 3946, {}, 60, "Position"),
         List_Column(3925, 3947, Bit_Items(), 60, "Bit"),
         Text_Column(3926, 3948, 95, "NumBits"),
         Text_Column(3927, 3949, 130, "Description"),
         Text_Column(3928, 3950, 120, "IP_Address"),
         List_Column(3981, 3983, Conversion_Items(), 100, "Conversion", "None"),
         Text_Column(3929, 3951, 130, "Mnemonic")});
    shell::Table_Description write = Variable_Table(
        "SNMP_Trap_Write",
        {{.Header = 3930, .Kind = Cell_Editor::Row_Number, .Width = 40},
         Check_Column(3931, 3952, 50, "Enable", "Y", "Y"),
         List_Column(3932, 3953, Community_Items(), 130, "Community_Name", "", Cell_Editor::Editable_List),
         List_Column(3933, 3954, types, 60, "Type"),
         List_Column(3934, 3955, {}, 60, "Position"),
         List_Column(3935, 3956, Bit_Items(), 60, "Bit"),
         Text_Column(3936, 3957, 95, "NumBits"),
         Text_Column(3937, 3958, 130, "Description"),
         List_Column(3982, 3984, Conversion_Items(), 100, "Conversion", "None"),
         Text_Column(3938, 3959, 500, "Mnemonic")});

    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FSNMP_Trap_Access");
    window.Client_Width = 1256;
    window.Client_Height = 337;
    window.File = {QStringLiteral("SNMP_Trap"), QStringLiteral("1.001"), {read, write}};
    window.Path = &shell::TApp_State::File_SNMP_Trap;
    window.Grid_Names = {QStringLiteral("ACG_SNMP_Read"), QStringLiteral("ACG_SNMP_Write")};
    window.Tab_Names = {QStringLiteral("TS_SNMP_Read"), QStringLiteral("TS_SNMP_Write")};
    window.Caption = 3900;
    window.Description = 3901;
    for (int b = 0; b < 6; ++b) {
        window.Button_Captions.push_back(3902 + b);
        window.Button_Hints.push_back(3910 + b);
    }
    window.Tab_Captions = {3908, 3909};
    window.Delete_Question = 3975;
    window.Row_Prefix = 3960;
    window.Insert_Enables = true;
    window.Click_Selects_Row = false;
    window.Ask_Rows_After_End = true;
    return window;
}

std::optional<QString> Check_Variable(const shell::Checked_Row& row, const Variable_Columns& c,
                                      const Variable_Texts& texts, int areaSize)
{
    using shell::Lang;
    using shell::Trim_Blanks;
    const QString tag = QLatin1String(texts.Tag);
    if (Check_Error_CommName_Desc(row.Cell(c.Community_Name), 0))
        return Lang(texts.Community_Name);
    if (Trim_Blanks(row.Cell(c.Type)).isEmpty())
        return Lang(texts.Type);
    if (c.On_Timer >= 0 && Trim_Blanks(row.Cell(c.On_Timer)).toUpper() == QLatin1String("Y") &&
        Outside(row.Setup_Number(c.Time), 1, 1000000000))
        return Lang(texts.Time);
    if (Trim_Blanks(row.Cell(c.Position)).isEmpty())
        return Lang(texts.Position);
    const QString bit = Trim_Blanks(row.Cell(c.Bit));
    if (bit.isEmpty())
        return Lang(texts.Bit);
    const bool isInt = Is_Int_Type(row.Cell(c.Type));
    if (!isInt && bit != QLatin1String("0"))
        return Lang(texts.String_Bit);
    const int64_t size = row.Setup_Number(c.NumBits);
    if (isInt && Outside(size, 1, 64))
        return Lang(texts.Bits);
    if (!isInt && Outside(size, 1, 16))
        return Lang(texts.Bytes);
    if (isInt && size > Max_Int_Bits)
        return QStringLiteral("!! %1Num Bits/Bytes of an Int must be between 1 and 32 bits: the MIB has no wider "
                              "integer type")
            .arg(tag);
    const int64_t startBit = shell::Setup_Number(bit);
    if (Outside(startBit, 0, 7))
        return QStringLiteral("!! %1Start Bit must be between 0 and 7").arg(tag);
    const int64_t bytes = isInt ? (startBit + size + 7) / 8 : size;
    if (auto fault = shell::Area_Fit_Fault(tag, shell::Area_Position(row.Cell(c.Position), areaSize), bytes, areaSize))
        return fault;
    const QString description = row.Cell(c.Description);
    if (Check_Error_CommName_Desc(description, 1))
        return Lang(texts.Description);
    if (MIB_Reserved_Name(description))
        return QStringLiteral("!! %1Description \"%2\" is a name the MIB gives to one of its own objects")
            .arg(tag, description);
    if (c.IP_Address >= 0) {
        QString p1, p2, p3, p4;
        if (!shell::Split_IP_Address(row.Cell(c.IP_Address), p1, p2, p3, p4))
            return Lang(texts.IP_Address);
    }
    if (Trim_Blanks(row.Cell(c.Conversion)).isEmpty())
        return Lang(texts.Conversion);
    return std::nullopt;
}

}  // namespace

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

int Check_Error_CommName_Desc(const QString& Str, int Check_Type)
{
    const auto lower = [](QChar ch) { return ch >= QLatin1Char('a') && ch <= QLatin1Char('z'); };
    for (qsizetype i = 0; i < Str.size(); ++i) {
        const QChar ch = Str.at(i);
        if (i == 0 && Check_Type == 1) {
            if (!lower(ch))
                return 1;
            continue;
        }
        if (!lower(ch) && !(ch >= QLatin1Char('A') && ch <= QLatin1Char('Z')) &&
            !(ch >= QLatin1Char('0') && ch <= QLatin1Char('9')))
            return 1;
    }
    return 0;
}

bool Is_Int_Type(const QString& type) { return type.toUpper() == QLatin1String("INT"); }

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int nByteIn, int nByteOut)
{
    QStringList SL_Check_Desc;
    auto fault = shell::Check_Setup_Tables(Window(), tables, [&](int t, const shell::Checked_Row& row) {
        const bool read = t == Read_Table;
        auto rowFault = Check_Variable(row, read ? Read_Columns : Write_Columns, read ? Read_Texts : Write_Texts,
                                       read ? nByteIn : nByteOut);
        if (!rowFault)
            SL_Check_Desc.append(row.Cell(read ? rd::Description : wr::Description));
        return rowFault;
    });
    if (fault)
        return fault;
    for (qsizetype i = 0; i < SL_Check_Desc.size(); ++i)
        for (qsizetype j = i + 1; j < SL_Check_Desc.size(); ++j)
            if (SL_Check_Desc.at(i) == SL_Check_Desc.at(j))
                return shell::Lang(3980);
    return std::nullopt;
}

}  // namespace building::snmp_agent

namespace agent = building::snmp_agent;

TFSNMP_Trap_Access* FSNMP_Trap_Access() { return shell::Window<TFSNMP_Trap_Access>(); }

TFSNMP_Trap_Access::TFSNMP_Trap_Access(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(agent::Window(), gridLayers, parent), ACG_SNMP_Read(Table(agent::Read_Table)),
      ACG_SNMP_Write(Table(agent::Write_Table))
{
    ACG_SNMP_Read->Columns()[agent::rd::Community_Name]->EditLength = 15;
    ACG_SNMP_Read->Columns()[agent::rd::Description]->EditLength = 15;
    ACG_SNMP_Write->Columns()[agent::wr::Community_Name]->EditLength = 15;
    ACG_SNMP_Write->Columns()[agent::wr::Description]->EditLength = 15;
    for (grid::TExtColumnGrid* table : {ACG_SNMP_Read, ACG_SNMP_Write})
        table->OnCheckBoxClick = [table](grid::TExtStringGrid*, int col, int, bool) {
            if (col == agent::rd::Enable)
                Index_Row_Build(*table);
        };
}

void TFSNMP_Trap_Access::Index_Row_Build(grid::TExtColumnGrid& app_SGA)
{
    int index = 0;
    for (int r = 1; r <= agent::Table_Rows_Count && r < app_SGA.RowCount(); ++r) {
        // Read as the checks and the MIB read it, so the number shown is the object's index.
        const bool enabled = shell::Trim_Blanks(app_SGA.Cells(agent::rd::Enable, r)).toUpper() == QLatin1String("Y");
        app_SGA.SetCells(agent::rd::N, r, enabled ? QString::number(++index) : QString());
    }
}

void TFSNMP_Trap_Access::Prepare_Show()
{
    NByte_IN = building::snmp::MQTT_Array_Size;
    NByte_OUT = building::snmp::MQTT_Array_Size;
    ACG_SNMP_Read->Columns()[agent::rd::Position]->ComboItems = shell::Byte_Position_Items(NByte_IN, false);
    ACG_SNMP_Write->Columns()[agent::wr::Position]->ComboItems = shell::Byte_Position_Items(NByte_OUT, false);
}

void TFSNMP_Trap_Access::FormShow()
{
    Load_File();
    Index_Row_Build(*ACG_SNMP_Read);
    Index_Row_Build(*ACG_SNMP_Write);
}

std::optional<QString> TFSNMP_Trap_Access::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return agent::Check(tables, NByte_IN, NByte_OUT);
}
