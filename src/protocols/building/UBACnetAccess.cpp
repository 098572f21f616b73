#include "protocols/building/UBACnetAccess.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/FileUtil.h"
#include "platform/Guard.h"
#include "platform/IntText.h"
#include "protocols/building/UBACnet_Common.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"
#include "shell/UTableGrid.h"
#include "shell/UWindowList.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;
using shell::Cell_Editor;
using shell::Lang;

namespace building::bacnet::client {

namespace {

constexpr const char* Read_Object_Types[] = {
    "Accumulator", "Multi-State Input", "Multi-State Output", "Multi-State Value", "Analog Input",
    "Analog Output", "Analog Value", "Binary Input", "Binary Output", "Binary Value", "Integer Value",
    "Large Analog Value", "Positive Integer Value", "Life Safety Point", "Life Safety Zone"};
constexpr const char* Write_Object_Types[] = {
    "Multi-State Output", "Multi-State Value", "Analog Output", "Analog Value", "Binary Output",
    "Binary Value", "Integer Value", "Large Analog Value", "Positive Integer Value"};
constexpr const char* Read_Properties[] = {
    "Present Value (85)", "Object Identifier (75)", "Units (117)", "Scale (187)", "PreScale (185)",
    "Polarity (84)", "Event State (36)", "Status Flags (111)", "Object Type (79)", "Number of States (74)"};
constexpr const char* Data_Types[] = {"Null", "Boolean", "Unsigned Int", "Signed Int", "Real", "Double",
                                      "Octet String", "Character String", "Bit String", "Enumerated",
                                      "Date", "Time", "Object ID"};
constexpr const char* Present_Value = "Present Value (85)";

template <size_t N>
QStringList Items(const char* const (&texts)[N])
{
    QStringList items;
    for (const char* t : texts)
        items.append(QLatin1String(t));
    return items;
}

QStringList Dest_Lengths()
{
    QStringList items{"1", "2", "6"};
    for (int m = 1; m <= 8; ++m)
        items.append(QStringLiteral("M%1").arg(m));
    return items;
}

shell::Table_Column Text(int header, int width, const char* attribute)
{
    return {.Header = header, .Width = width, .Attribute = attribute};
}
shell::Table_Column List(int header, Cell_Editor kind, QStringList items, int width, const char* attribute)
{
    return {.Header = header, .Kind = kind, .Items = std::move(items), .Width = width, .Attribute = attribute};
}
shell::Table_Column Check_Box(int header, int width, const char* attribute, const char* fallback,
                              const char* cleared = "", bool shown = true)
{
    return {.Header = header, .Kind = Cell_Editor::Check, .Width = width, .Shown = shown, .Attribute = attribute,
            .Default = fallback, .Cleared = cleared, .Centred = true};
}

shell::Table_Description Read_Description()
{
    shell::Table_Description t;
    t.Container = QStringLiteral("BACnet_Read");
    t.Columns = {
        {.Header = 4708, .Kind = Cell_Editor::Row_Number, .Width = 40},
        Check_Box(4790, 50, "Enable", "Y", "Y"),
        Text(4709, 110, "IP_Address_Slave_ID"),
        List(4711, Cell_Editor::Editable_List, Items(Read_Object_Types), 150, "Object_Type"),
        Text(4712, 80, "Instance"),
        List(4713, Cell_Editor::Editable_List, Items(Read_Properties), 150, "Property"),
        Text(4714, 50, "NumByte"),
        Check_Box(4762, 55, "Enable_Destination", "N"),
        Text(4763, 55, "Destination_Network"),
        List(4764, Cell_Editor::List, Dest_Lengths(), 50, "Destination_Length"),
        Text(4765, 120, "Destination_Address"),
        Text(4715, 70, "PollTime"),
        Text(4716, 60, "MaxError"),
        List(4717, Cell_Editor::List, shell::Byte_Position_Items(MQTT_Array_Size, false), 60, "Position"),
        List(4718, Cell_Editor::List, {"0", "1", "2", "3", "4", "5", "6", "7"}, 60, "StartBit"),
        Check_Box(4760, 45, "Swap", "N", "", false),
        {.Header = 4780, .Kind = Cell_Editor::List,
         .Items = {"None", "Float to Int", "(Float to Int) * 10", "(Float to Int) * 100"}, .Width = 120, .Shown = false},
        Text(4719, 200, "Mnemonic"),
    };
    t.Enable_Column = R_Enable;
    t.Capacity = Rows_Per_Table;
    return t;
}

shell::Table_Description Write_Description()
{
    shell::Table_Description t;
    t.Container = QStringLiteral("BACnet_Write");
    t.Columns = {
        {.Header = 4720, .Kind = Cell_Editor::Row_Number, .Width = 40},
        Check_Box(4791, 50, "Enable", "Y", "Y"),
        Text(4721, 110, "IP_Address_Slave_ID"),
        List(4723, Cell_Editor::Editable_List, Items(Write_Object_Types), 150, "Object_Type"),
        List(4724, Cell_Editor::List, Items(Data_Types), 100, "Data_Type"),
        Text(4725, 80, "Instance"),
        List(4726, Cell_Editor::Editable_List, {QLatin1String(Present_Value)}, 150, "Property"),
        Text(4727, 55, "Priority"),
        Text(4728, 50, "NumByte"),
        Check_Box(4766, 55, "Enable_Destination", "N"),
        Text(4767, 55, "Destination_Network"),
        List(4768, Cell_Editor::List, Dest_Lengths(), 50, "Destination_Length"),
        Text(4769, 120, "Destination_Address"),
        Check_Box(4729, 55, "OnChange", "N"),
        Check_Box(4730, 50, "OnTimer", "N"),
        Text(4731, 70, "PollTime"),
        Text(4732, 60, "MaxError"),
        List(4733, Cell_Editor::List, shell::Byte_Position_Items(MQTT_Array_Size, false), 60, "Position"),
        List(4734, Cell_Editor::List, {"0", "1", "2", "3", "4", "5", "6", "7"}, 60, "StartBit"),
        Check_Box(4761, 45, "Swap", "N", "", false),
        {.Header = 4781, .Kind = Cell_Editor::List,
         .Items = {"None", "Int to Float", "(Int to Float) / 10", "(Int to Float) / 100"}, .Width = 120, .Shown = false},
        Text(4735, 200, "Mnemonic"),
    };
    t.Enable_Column = W_Enable;
    t.Capacity = Rows_Per_Table;
    return t;
}

shell::Setup_Window_Description Make_Window()
{
    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FBACnetAccess");
    window.Client_Width = 1305;
    window.Client_Height = 337;
    window.File = File(0);
    window.Path = &shell::TApp_State::File_BACnet_Master_Access;
    window.Grid_Names = {QStringLiteral("ACG1"), QStringLiteral("ACG2")};
    window.Tab_Names = {QStringLiteral("TS_BACnet_Read"), QStringLiteral("TS_BACnet_Write")};
    window.Caption = 4700;
    window.Description = 4701;
    // Delete and Insert Row; the copy and paste buttons the base makes stay hidden.
    window.Button_Captions = {4702, 4703, 4704, 4705};
    window.Tab_Captions = {4706, 4707};
    window.Delete_Question = 4736;
    window.Row_Prefix = 4737;
    window.Insert_Enables = true;
    window.Ask_Rows_After_End = true;
    return window;
}

using shell::Outside;
bool One_Of(int code, std::initializer_list<int> codes) { return std::find(codes.begin(), codes.end(), code) != codes.end(); }
QString Up(const QString& text) { return text.trimmed().toUpper(); }

// The texts of one table's messages.
struct Texts {
    int IP, Slave_ID, Object_Type, Instance, Property, NByte, D_Net, D_Len, D_Add_1, D_Add_2, D_Add_6, D_Len_M,
        Poll_Time, Max_Err;
};
constexpr Texts Read_Texts{4738, 4739, 4740, 4741, 4742, 4743, 4770, 4771, 4772, 4773, 4774, 4786, 4744, 4745};
constexpr Texts Write_Texts{4747, 4748, 4749, 4750, 4751, 4754, 4775, 4776, 4777, 4778, 4779, 4787, 4755, 4756};

std::optional<QString> Check_Address(const shell::Checked_Row& row, int appBACnetType, const Texts& texts)
{
    const QString address = row.Cell(R_Address);
    if (appBACnetType == 0) {
        uint8_t b1 = 0, b2 = 0, b3 = 0, b4 = 0;
        if (shell::IP_Address_To_Bytes(address, b1, b2, b3, b4))
            return Lang(texts.IP);
    } else if (appBACnetType == 1) {
        if (Outside(row.Setup_Number(R_Address), 0, 254))
            return Lang(texts.Slave_ID);
    }
    return std::nullopt;
}

std::optional<QString> Check_Destination(const shell::Checked_Row& row, int net, int len, int add, bool inRead,
                                         const Texts& texts)
{
    if (Outside(row.Setup_Number(net), 1, 65535))
        return Lang(texts.D_Net);
    const QString lenText = row.Cell(len);
    if (const std::optional<int32_t> n = platform::Parse_Int32(lenText)) {
        if (*n == 1) {
            if (Outside(row.Setup_Number(add), 0, 255))
                return Lang(texts.D_Add_1);
        } else if (*n == 2) {
            if (Outside(row.Setup_Number(add), 1, 65535))
                return Lang(texts.D_Add_2);
        } else if (*n == 6) {
            uint8_t b1 = 0, b2 = 0, b3 = 0, b4 = 0;
            uint16_t port = 0;
            if (shell::IP_Port_To_Bytes(row.Cell(add).trimmed(), b1, b2, b3, b4, port) != 1)
                return Lang(texts.D_Add_6);
        } else {
            return Lang(texts.D_Len);
        }
        return std::nullopt;
    }
    const QString m = Up(lenText);
    if (m.size() != 2 || m[0] != QLatin1Char('M') || m[1] < QLatin1Char('1') || m[1] > QLatin1Char('8'))
        return Lang(texts.D_Len_M);
    return Check_Dest_Add(row.Cell(add), m[1].digitValue(), inRead);
}

// The gateway copies NByte bytes from Position on: both must lie inside the exchange area.
std::optional<QString> Check_Area(const shell::Checked_Row& row, int position, int nbyte)
{
    return shell::Area_Fit_Fault(QString(), row.Setup_Number(position), std::max<int64_t>(0, row.Setup_Number(nbyte)),
                                 MQTT_Array_Size);
}

std::optional<QString> Check_Read_Row(const shell::Checked_Row& row, int appBACnetType)
{
    const Texts& t = Read_Texts;
    if (auto fault = Check_Address(row, appBACnetType, t))
        return fault;
    const int type = Check_Object_Type(row.Cell(R_Object_Type), 0);
    if (type < 0)
        return Lang(t.Object_Type);
    if (Outside(platform::Parse_Integer(row.Cell(R_Instance)).value_or(-1), 0, 4294967295LL))
        return Lang(t.Instance);
    if (Check_Property(row.Cell(R_Property), 0, type) < 0)
        return Lang(t.Property);
    if (Outside(row.Setup_Number(R_NByte), 0, 255))
        return Lang(t.NByte);
    if (Up(row.Cell(R_En_Dest)) == QLatin1String("Y"))
        if (auto fault = Check_Destination(row, R_D_Net, R_D_Len, R_D_Add, true, t))
            return fault;
    if (Outside(row.Setup_Number(R_Poll_Time), 0, 100000000))
        return Lang(t.Poll_Time);
    if (Outside(row.Setup_Number(R_Max_Err), 0, 65535))
        return Lang(t.Max_Err);
    return Check_Area(row, R_Position, R_NByte);
}

std::optional<QString> Check_Write_Row(const shell::Checked_Row& row, int appBACnetType)
{
    const Texts& t = Write_Texts;
    if (auto fault = Check_Address(row, appBACnetType, t))
        return fault;
    const int type = Check_Object_Type(row.Cell(W_Object_Type), 1);
    if (type < 0)
        return Lang(t.Object_Type);
    if (Outside(platform::Parse_Integer(row.Cell(W_Instance)).value_or(-1), 0, 4294967295LL))
        return Lang(t.Instance);
    const int property = Check_Property(row.Cell(W_Property), 1, type);
    if (property < 0)
        return Lang(t.Property);
    const QString dataType = row.Cell(W_Data_Type);
    if (Check_Data_Type(dataType, type, property) < 0) {
        const QString expected = Aspected_Data_Type_Value(type, property);
        return expected.isEmpty() ? Lang(4752) : Lang(4758) + expected;
    }
    if (Outside(row.Setup_Number(W_Priority), 0, 16))
        return Lang(4753);
    const int max = Check_Num_Byte_Max(dataType);
    if (Outside(row.Setup_Number(W_NByte), 0, max))
        return Lang(t.NByte) + QString::number(max);
    if (Up(row.Cell(W_En_Dest)) == QLatin1String("Y"))
        if (auto fault = Check_Destination(row, W_D_Net, W_D_Len, W_D_Add, false, t))
            return fault;
    if (Up(row.Cell(W_Timer)) == QLatin1String("Y") && Outside(row.Setup_Number(W_Poll_Time), 0, 100000000))
        return Lang(t.Poll_Time);
    if (Outside(row.Setup_Number(W_Max_Err), 0, 65535))
        return Lang(t.Max_Err);
    return Check_Area(row, W_Position, W_NByte);
}

}  // namespace

shell::Project_File_Description File(int appBACnetType)
{
    shell::Project_File_Description file{QStringLiteral("BACnet_Master_Access"), QStringLiteral("1.008"),
                                         {Read_Description(), Write_Description()}};
    const bool addressed = appBACnetType == 0 || appBACnetType == 1;
    for (size_t t = 0; t < file.Tables.size(); ++t) {
        shell::Table_Description& table = file.Tables[t];
        shell::Table_Column& address = table.Columns[R_Address];
        address.Header = (t == Read_Table ? 4709 : 4721) + (appBACnetType == 1 ? 1 : 0);
        address.Shown = addressed;
        table.Key_Column = addressed ? R_Address : R_Object_Type;
    }
    return file;
}

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

int Check_Object_Type(const QString& text, int read_write)
{
    static const std::pair<const char*, int> codes[] = {
        {"ACCUMULATOR", 1},        {"MULTI-STATE INPUT", 2},  {"MULTI-STATE OUTPUT", 3},     {"ANALOG INPUT", 4},
        {"ANALOG OUTPUT", 5},      {"BINARY INPUT", 6},       {"BINARY OUTPUT", 7},          {"INTEGER VALUE", 8},
        {"LARGE ANALOG VALUE", 9}, {"POSITIVE INTEGER VALUE", 10}, {"MULTI-STATE VALUE", 11}, {"ANALOG VALUE", 12},
        {"BINARY VALUE", 13},      {"LIFE SAFETY POINT", 14}, {"LIFE SAFETY ZONE", 15}};
    const QString t = Up(text);
    for (const auto& [name, code] : codes)
        if (t == QLatin1String(name))
            return read_write == 0 || !One_Of(code, {1, 2, 4, 6}) ? code : -1;
    const int64_t number = shell::Setup_Number(text);
    return number >= 128 && number <= 1023 ? int(number) : -1;
}

int Check_Property(const QString& text, int read_write, int Obj_Type)
{
    const QString t = Up(text);
    if (t == QLatin1String("PRESENT VALUE (85)"))
        return 100;
    if (read_write == 0) {
        struct Rule {
            const char* Name;
            int Bytes;
            std::vector<int> Only;  // empty: any object type
            bool Except = false;              // the codes are the ones refused
        };
        static const Rule rules[] = {
            {"OBJECT IDENTIFIER (75)", 4, {}},        {"UNITS (117)", 4, {2, 3, 6, 7, 11, 13}, true},
            {"SCALE (187)", 1, {1}},                  {"PRESCALE (185)", 5, {1}},
            {"POLARITY (84)", 1, {6, 7, 13}},         {"EVENT STATE (36)", 4, {}},
            {"STATUS FLAGS (111)", 1, {}},            {"OBJECT TYPE (79)", 2, {}},
            {"NUMBER OF STATES (74)", 4, {2, 3, 11}},
        };
        for (const Rule& rule : rules) {
            if (t != QLatin1String(rule.Name))
                continue;
            const bool listed = std::find(rule.Only.begin(), rule.Only.end(), Obj_Type) != rule.Only.end();
            if (rule.Only.empty() || listed != rule.Except)
                return rule.Bytes;
            break;  // a listed property whose condition fails falls to the number test
        }
    }
    const int64_t number = shell::Setup_Number(text);
    return number >= 512 && number <= 4184303 ? 200 : -1;
}

int Check_Data_Type(const QString& text, int Obj_Type, int Property_val)
{
    if (Property_val != 100)
        return 1000;
    const QString t = Up(text);
    const bool pass = (t == QLatin1String("UNSIGNED INT") && One_Of(Obj_Type, {3, 10, 11})) ||
                      (t == QLatin1String("SIGNED INT") && Obj_Type == 8) ||
                      (t == QLatin1String("REAL") && One_Of(Obj_Type, {5, 12})) ||
                      (t == QLatin1String("DOUBLE") && Obj_Type == 9) ||
                      (t == QLatin1String("ENUMERATED") && One_Of(Obj_Type, {7, 13})) ||
                      (Obj_Type >= 128 && Obj_Type <= 1023);
    return pass ? 1000 : -1;
}

QString Aspected_Data_Type_Value(int Obj_Type, int Property_val)
{
    if (Property_val != 100)
        return {};
    if (One_Of(Obj_Type, {3, 10, 11}))
        return QStringLiteral("Unsigned Int");
    if (One_Of(Obj_Type, {5, 12}))
        return QStringLiteral("Real");
    if (One_Of(Obj_Type, {7, 13}))
        return QStringLiteral("Enumerated");
    if (Obj_Type == 8)
        return QStringLiteral("Signed Int");
    if (Obj_Type == 9)
        return QStringLiteral("Double");
    return {};
}

int Check_Num_Byte_Max(const QString& text)
{
    static const std::pair<const char*, int> sizes[] = {
        {"NULL", 0},   {"BOOLEAN", 1},      {"UNSIGNED INT", 4},       {"SIGNED INT", 4},     {"REAL", 4},
        {"DOUBLE", 8}, {"OCTET STRING", 255}, {"CHARACTER STRING", 255}, {"BIT STRING", 120}, {"ENUMERATED", 4},
        {"DATE", 4},   {"TIME", 4},         {"OBJECT ID", 4}};
    const QString t = Up(text);
    for (const auto& [name, size] : sizes)
        if (t == QLatin1String(name))
            return size;
    return 255;
}

std::optional<QString> Check_Dest_Add(const QString& values, int NumByte, bool InRead)
{
    const QString text = values.trimmed();
    // An empty address has no bytes at all: said, not failed in silence.
    if (text.isEmpty())
        return QStringLiteral("!! Destination Address is empty: it must hold %1 bytes separated by commas").arg(NumByte);
    int count = 0;
    for (const QString& item : text.split(QLatin1Char(','))) {
        if (Outside(shell::Setup_Number(item.trimmed()), 0, 255))
            return Lang(InRead ? 4782 : 4783);
        if (++count > NumByte)
            return Lang(InRead ? 4784 : 4785);
    }
    if (count < NumByte)
        return Lang(InRead ? 4788 : 4789);
    return std::nullopt;
}

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int appBACnetType)
{
    const shell::Project_File_Description file = File(appBACnetType);
    for (int t = 0; t < int(tables.size()) && t < int(file.Tables.size()); ++t) {
        shell::Table_Checks checks;
        checks.Row_Prefix = t == Read_Table ? 4737 : 4746;
        checks.Check_Row = [appBACnetType](int table, const shell::Checked_Row& row) {
            return table == Read_Table ? Check_Read_Row(row, appBACnetType) : Check_Write_Row(row, appBACnetType);
        };
        // The other table stays empty here, so that each table takes its own prefix.
        std::vector<shell::Table_Check_Input> one(file.Tables.size());
        one[size_t(t)] = tables[size_t(t)];
        if (auto fault = shell::Check_Project_Tables(file, one, checks))
            return fault;
    }
    return std::nullopt;
}

QString Get_ObjType_EDE(int type)
{
    switch (type) {
    case 0: return QStringLiteral("Analog Input");
    case 1: return QStringLiteral("Analog Output");
    case 2: return QStringLiteral("Analog Value");
    case 3: return QStringLiteral("Binary Input");
    case 4: return QStringLiteral("Binary Output");
    case 5: return QStringLiteral("Binary Value");
    case 13: return QStringLiteral("Multi-State Input");
    case 14: return QStringLiteral("Multi-State Output");
    case 19: return QStringLiteral("Multi-State Value");
    case 21: return QStringLiteral("Life Safety Point");
    case 22: return QStringLiteral("Life Safety Zone");
    case 23: return QStringLiteral("Accumulator");
    case 45: return QStringLiteral("Integer Value");
    case 46: return QStringLiteral("Large Analog Value");
    case 48: return QStringLiteral("Positive Integer Value");
    default: return {};
    }
}

QString Get_DataType_EDE(int type)
{
    if (One_Of(type, {0, 1, 2}))
        return QStringLiteral("Real");
    if (One_Of(type, {3, 4, 5, 21, 22}))
        return QStringLiteral("Enumerated");
    if (One_Of(type, {13, 14, 19, 23, 48}))
        return QStringLiteral("Unsigned Int");
    if (type == 45)
        return QStringLiteral("Signed Int");
    if (type == 46)
        return QStringLiteral("Double");
    return QStringLiteral("Null");
}

int Get_NumByte_EDE(int type)
{
    if (One_Of(type, {3, 4, 5}))
        return 1;
    if (One_Of(type, {21, 22}))
        return 2;
    if (type == 46)
        return 8;
    return 4;
}

std::optional<QString> Import_EDE_Vars(std::vector<QStringList>& read, std::vector<QStringList>& write,
                                       const std::vector<TBACnet_Var>& vars, const QString& address,
                                       int appBACnetType)
{
    const shell::Project_File_Description file = File(appBACnetType);
    struct Target {
        std::vector<QStringList>* Rows;
        int Position, NByte;
        QString Name;
        std::vector<QStringList> Added;
        size_t First = 0;
        int64_t Byte = 0;
    };
    Target targets[2] = {{&read, R_Position, R_NByte, Lang(4706)}, {&write, W_Position, W_NByte, Lang(4707)}};
    for (int t = 0; t < 2; ++t) {
        Target& target = targets[t];
        const shell::Table_Description& table = file.Tables[size_t(t)];
        const std::vector<QStringList>& rows = *target.Rows;
        // Free rows and bytes follow the key cell, the column that ends the table.
        target.First = rows.size();
        for (size_t r = 0; r < rows.size(); ++r) {
            if (shell::Key_Is_Empty(rows[r].value(table.Key_Column))) {
                target.First = std::min(target.First, r);
                continue;
            }
            const int64_t position = shell::Setup_Number(rows[r].value(target.Position));
            const int64_t nbyte = shell::Setup_Number(rows[r].value(target.NByte));
            if (position >= 0 && nbyte >= 0)
                target.Byte = std::max(target.Byte, position + nbyte);
        }
    }
    for (const TBACnet_Var& v : vars) {
        if (!v.import)
            continue;
        const QString type = Get_ObjType_EDE(v.object_type);
        const int nbyte = Get_NumByte_EDE(v.object_type);
        const QString mnemonic = v.object_name + QStringLiteral(" - ") + v.description;
        const QString instance = QString::number(v.object_instance);
        if (v.read) {
            Target& target = targets[Read_Table];
            QStringList row = file.Tables[Read_Table].Cleared_Row(0);
            row[R_Enable] = QStringLiteral("Y");
            row[R_Address] = address;
            row[R_Object_Type] = type;
            row[R_Instance] = instance;
            row[R_Property] = QLatin1String(Present_Value);
            row[R_NByte] = QString::number(nbyte);
            row[R_En_Dest] = QStringLiteral("N");
            row[R_Poll_Time] = QStringLiteral("1000");
            row[R_Max_Err] = QStringLiteral("0");
            row[R_Position] = QString::number(target.Byte);
            row[R_Start_Bit] = QStringLiteral("0");
            row[R_Swap] = QStringLiteral("N");
            row[R_Mnemonic] = mnemonic;
            target.Added.push_back(row);
            target.Byte += nbyte;
        }
        if (v.write) {
            Target& target = targets[Write_Table];
            QStringList row = file.Tables[Write_Table].Cleared_Row(0);
            row[W_Enable] = QStringLiteral("Y");
            row[W_Address] = address;
            row[W_Object_Type] = type;
            row[W_Data_Type] = Get_DataType_EDE(v.object_type);
            row[W_Instance] = instance;
            row[W_Property] = QLatin1String(Present_Value);
            row[W_Priority] = QStringLiteral("0");
            row[W_NByte] = QString::number(nbyte);
            row[W_En_Dest] = QStringLiteral("N");
            row[W_Change] = QStringLiteral("N");
            row[W_Timer] = QStringLiteral("N");
            row[W_Poll_Time] = QStringLiteral("1000");
            row[W_Max_Err] = QStringLiteral("0");
            row[W_Position] = QString::number(target.Byte);
            row[W_Start_Bit] = QStringLiteral("0");
            row[W_Swap] = QStringLiteral("N");
            row[W_Mnemonic] = mnemonic;
            target.Added.push_back(row);
            target.Byte += nbyte;
        }
    }
    // Every check before any change: an import happens whole or not at all.
    for (int t = 0; t < 2; ++t) {
        const Target& target = targets[t];
        if (target.Added.empty())
            continue;
        const size_t rows = target.Rows->size();
        const QString head = QStringLiteral("[%1] ").arg(target.Name);
        const QString tail = QStringLiteral(" Nothing was imported.");
        if (target.First + target.Added.size() > rows)
            return head + QStringLiteral("The import needs %1 rows from row %2 on, but the table ends at row %3.")
                              .arg(target.Added.size())
                              .arg(target.First + 1)
                              .arg(rows) +
                   tail;
        if (target.Byte > MQTT_Array_Size)
            return head + QStringLiteral("The imported objects would reach byte %1 of the exchange area, which ends at "
                                         "byte %2.")
                              .arg(target.Byte - 1)
                              .arg(MQTT_Array_Size - 1) +
                   tail;
        for (size_t r = target.First; r < target.First + target.Added.size(); ++r)
            if (file.Tables[size_t(t)].Holds_Data((*target.Rows)[r]))
                return head + QStringLiteral("Row %1, where imported objects would go, holds data.").arg(r + 1) + tail;
    }
    for (Target& target : targets)
        for (size_t i = 0; i < target.Added.size(); ++i) {
            QStringList& row = (*target.Rows)[target.First + i];
            const QString number = row.value(0);
            row = target.Added[i];
            row[0] = number;
        }
    return std::nullopt;
}

}  // namespace building::bacnet::client

namespace client = building::bacnet::client;

TFBACnetAccess* FBACnetAccess() { return shell::Window<TFBACnetAccess>(); }

TFBACnetAccess::TFBACnetAccess(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(client::Window(), gridLayers, parent), ACG1(Table(client::Read_Table)),
      ACG2(Table(client::Write_Table))
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && screen->geometry().width() <= 1270)
        SetClientSize(1000, client::Window().Client_Height);
    // No copy and paste of rows, no Enter-key move and no double-click sizing in this window.
    Btn_CopyRow->hide();
    Btn_PasteRow->hide();
    Btn_Import_CSV = Btn_CopyRow;
    Btn_Import_CSV->setObjectName(QStringLiteral("Btn_Import_CSV"));
    Btn_Import_CSV->OnClick = [this] { platform::Guarded([this] { Btn_Import_CSVClick(); }); };
    Btn_Import_CSV->show();
    Btn_CopyRow = nullptr;
    for (grid::TExtColumnGrid* table : {ACG1, ACG2}) {
        table->OnKeyPress = nullptr;
        table->OnDblClickCell = nullptr;
    }
    ACG1->OnGridHint = [this](grid::TExtStringGrid*, int r, int c, QString& hint) { ACG1GridHint(r, c, hint); };
    ACG2->OnGridHint = [](grid::TExtStringGrid*, int, int, QString& hint) { hint.clear(); };
    Set_Lang();
}

void TFBACnetAccess::Prepare_Show()
{
    App_BACnet_Type = 0;
    const std::optional<QString> type =
        building::bacnet::ParGen_Text(shell::App_State.File_ParGen, QStringLiteral("BACnet_Master_Type"));
    if (!type)
        MessageDlg(Lang(4757), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    else
        App_BACnet_Type = platform::Parse_Int32(*type).value_or(0);
    const shell::Project_File_Description file = client::File(App_BACnet_Type);
    for (size_t t = 0; t < file.Tables.size(); ++t) {
        Edit_File().Tables[t] = file.Tables[t];
        if (file.Tables[t].Columns[client::R_Address].Shown)
            Table(int(t))->UnHideColumn(client::R_Address);
    }
    Set_Lang();
}

void TFBACnetAccess::Set_Lang()
{
    shell::TSetup_Window::Set_Lang();
    if (Btn_Import_CSV)
        Btn_Import_CSV->SetCaption(Lang(4759));
}

std::optional<QString> TFBACnetAccess::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return client::Check(tables, App_BACnet_Type);
}

void TFBACnetAccess::Btn_Import_CSVClick()
{
    TFImportEDEFile* dialog = FImportEDEFile();
    dialog->App_BACnet_Type = App_BACnet_Type;
    platform::FileDialogRequest request;
    request.InitialFolder = shell::App_State.EDE_Import_Folder;
    request.Filter = QStringLiteral("BACnet EDE File (*.csv)|*.csv");
    const QString file = platform::PromptForFileName(request);
    if (file.isEmpty())
        return;
    shell::App_State.EDE_Import_Folder = QFileInfo(file).absolutePath();
    if (!platform::FileExists(file))
        return;
    dialog->EDE_File = file;
    if (dialog->ShowModal() != platform::mrOk)
        return;
    for (int t = 0; t < Table_Count(); ++t)
        Table(t)->CellsMoving();
    std::vector<QStringList> read = Rows(client::Read_Table), write = Rows(client::Write_Table);
    if (const auto fault = client::Import_EDE_Vars(read, write, dialog->List_EDE_Var, dialog->E_ID_IP->text(),
                                                   App_BACnet_Type)) {
        MessageDlg(*fault, TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return;
    }
    shell::Fill_Table_Grid(*ACG1, read);
    shell::Fill_Table_Grid(*ACG2, write);
}

void TFBACnetAccess::ACG1GridHint(int ARow, int ACol, QString& hintstr)
{
    hintstr.clear();
    if (ARow < 1 || ACG1->RealColIndex(ACol) != client::R_NByte)
        return;
    const QString property = ACG1->Cells(client::R_Property, ARow);
    const int type = client::Check_Object_Type(ACG1->Cells(client::R_Object_Type, ARow), 0);
    int bytes = client::Check_Property(property, 0, type);
    if (bytes == 100) {
        static const std::pair<std::vector<int>, int> sizes[] = {
            {{1, 2, 3, 4, 5, 8, 10}, 4}, {{6, 7}, 1}, {{9}, 8}};
        bytes = -1;
        for (const auto& [codes, size] : sizes)
            if (std::find(codes.begin(), codes.end(), type) != codes.end())
                bytes = size;
    }
    if (bytes > 0 && bytes < 100)
        hintstr = QStringLiteral("%1 takes %2 byte(s)").arg(property.trimmed()).arg(bytes);
}
