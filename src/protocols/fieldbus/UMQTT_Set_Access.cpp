#include "protocols/fieldbus/UMQTT_Set_Access.h"

#include "grid/core/ExtColumnGrid.h"
#include "mqtt_image/UTopicTemplate.h"
#include "platform/Dialogs.h"
#include "protocols/fieldbus/UModbusMaster.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

namespace fieldbus::mqtt_access {

namespace {

constexpr uint32_t Topic_Colour = 16710368;
constexpr uint32_t Value_Colour = 11075496;
constexpr uint32_t Position_Colour = 16045820;
constexpr uint32_t Template_Colour = 11075583;

// Header and hint texts of one table's columns 1 .. 7.
struct Table_Texts {
    int Headers;  // the first of seven headers
    std::array<int, 7> Hints;
};

shell::Table_Description Make_Table(const char* container, const Table_Texts& texts)
{
    using shell::Cell_Editor;
    const auto header = [&texts](int column) { return texts.Headers + column - 1; };
    const auto hint = [&texts](int column) { return texts.Hints[size_t(column - 1)]; };
    shell::Table_Description table;
    table.Container = QLatin1String(container);
    table.Columns = {
        {.Header = header(1) - 1, .Kind = Cell_Editor::Row_Number, .Width = 40, .Color = modbus_master::Enable_Colour},
        {.Header = header(Enable), .Hint = hint(Enable), .Kind = Cell_Editor::Check, .Width = 50,
         .Color = modbus_master::Enable_Colour, .Attribute = "Enable", .Default = "N", .Cleared = "Y",
         .Centred = true},
        {.Header = header(Topic), .Hint = hint(Topic), .Kind = Cell_Editor::List, .Width = 120, .Color = Topic_Colour,
         .Attribute = "Index_Topic"},
        {.Header = header(DataType), .Hint = hint(DataType), .Kind = Cell_Editor::List,
         .Items = {QStringLiteral("Int"), QStringLiteral("Float"), QStringLiteral("String")}, .Width = 80,
         .Color = Value_Colour, .Attribute = "DataType"},
        {.Header = header(Dimension), .Hint = hint(Dimension), .Width = 80, .Color = Value_Colour,
         .Attribute = "Dimension"},
        {.Header = header(Position), .Hint = hint(Position), .Width = 80, .Color = Position_Colour,
         .Attribute = "Position"},
        {.Header = header(Template), .Hint = hint(Template), .Kind = Cell_Editor::Editable_List,
         .Items = {QStringLiteral("$VALUE$")}, .Width = 80, .Color = Template_Colour, .Attribute = "Template"},
        {.Header = header(Mnemonic), .Hint = hint(Mnemonic), .Width = 199, .Color = modbus_master::White,
         .Attribute = "Mnemonic"},
    };
    table.Key_Column = Topic;
    table.Enable_Column = Enable;
    table.Enable_Any_Case = true;
    table.Capacity = 1024;
    return table;
}

shell::Setup_Window_Description Make_Window()
{
    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FMQTT_Set_Access");
    window.Client_Width = 760;
    window.Client_Height = 337;
    window.File = {QStringLiteral("MQTT_Set_Access"), QStringLiteral("1.110"),
                   {Make_Table("MQTT_Publish", {1417, {1424, 1425, 1426, 1427, 1428, 1429, 1444}}),
                    Make_Table("MQTT_Subscribe", {1431, {1438, 1439, 1440, 1441, 1442, 1443, 1445}})}};
    window.Path = &shell::TApp_State::File_MQTT_Set_Access;
    window.Grid_Names = {QStringLiteral("ACG_Pub"), QStringLiteral("ACG_Sub")};
    window.Tab_Names = {QStringLiteral("TS_MQTT_Publish"), QStringLiteral("TS_MQTT_Subscribe")};
    window.Caption = 1400;
    window.Description = 1401;
    window.Button_Captions = {1402, 1403, 1404, 1405, 1406, 1407};
    window.Button_Hints = {1408, 1409, 1410, 1411, 1412, 1413};
    window.Tab_Captions = {1414, 1415};
    window.Delete_Question = 723;
    window.Row_Prefix = 1446;
    window.Insert_Enables = false;
    window.Click_Selects_Row = false;
    return window;
}

// The messages of one table: data type, dimension of an Int, of a Float, of a String, position.
struct Check_Texts {
    int DataType, Int_Dimension, Float_Dimension, String_Dimension, Position;
    const char* Table;
};
constexpr Check_Texts Publish_Texts = {1447, 1448, 1449, 1450, 1451, "MQTT Publish"};
constexpr Check_Texts Subscribe_Texts = {1452, 1453, 1454, 1455, 1456, "MQTT Subscribe"};

std::optional<QString> Check_Rule(const shell::Checked_Row& row, const Check_Texts& texts)
{
    const QString type = shell::Trim_Blanks(row.Cell(DataType)).toUpper();
    if (type.isEmpty())
        return shell::Lang(texts.DataType);
    const int64_t dimension = row.Setup_Number(Dimension);
    if (type == QLatin1String("INT")) {
        if (dimension != 1 && dimension != 2 && dimension != 4 && dimension != 8)
            return shell::Lang(texts.Int_Dimension);
    } else if (type == QLatin1String("FLOAT")) {
        if (dimension != 4 && dimension != 8)
            return shell::Lang(texts.Float_Dimension);
    } else if (dimension < 1) {
        return shell::Lang(texts.String_Dimension);
    }
    const int64_t position = row.Setup_Number(Position);
    if (position < 0 || position >= mqtt_image::MQTT_Array_Size)
        return shell::Lang(texts.Position);
    // A value must lie inside the exchange area whole, a string included.
    if (position + dimension > mqtt_image::MQTT_Array_Size)
        return QStringLiteral("!! [%1] Position + Dimension must not pass the end of the %2-byte exchange area")
            .arg(QLatin1String(texts.Table))
            .arg(mqtt_image::MQTT_Array_Size);
    return std::nullopt;
}

}  // namespace

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables)
{
    return shell::Check_Setup_Tables(Window(), tables, [](int table, const shell::Checked_Row& row) {
        return Check_Rule(row, table == 0 ? Publish_Texts : Subscribe_Texts);
    });
}

}  // namespace fieldbus::mqtt_access

namespace ma = fieldbus::mqtt_access;

TFMQTT_Set_Access* FMQTT_Set_Access() { return shell::Window<TFMQTT_Set_Access>(); }

TFMQTT_Set_Access::TFMQTT_Set_Access(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(ma::Window(), gridLayers, parent),
      ACG_Pub(Table(0)),
      ACG_Sub(Table(1)),
      Topic_Pub(ACG_Pub, ma::Topic),
      Topic_Sub(ACG_Sub, ma::Topic)
{
    TSetup_Window::Set_Lang();
    // A topic picked from a list is remembered by its index, so equal texts keep their own topic.
    for (fieldbus::TTopic_Index_Column* topics : {&Topic_Pub, &Topic_Sub}) {
        Table(topics == &Topic_Pub ? 0 : 1)->OnComboObjectChange =
            [topics](grid::TExtStringGrid*, int col, int row, int index, const QString&, const QVariant&) {
                if (col == topics->Column())
                    topics->Picked(row, index);
            };
    }
}

void TFMQTT_Set_Access::Prepare_Show()
{
    const QString& file = shell::App_State.File_MQTT_Set_Topic;
    Topic_Pub.Reset(fieldbus::File_Topics(file, mqtt_image::Topic_Publish), false, File().Tables[0].Capacity);
    Topic_Sub.Reset(fieldbus::File_Topics(file, mqtt_image::Topic_Subscribe), false, File().Tables[1].Capacity);
}

void TFMQTT_Set_Access::FormShow()
{
    Load_File();
    const QStringList pub = Topic_Pub.Show_Topics();
    const QStringList sub = Topic_Sub.Show_Topics();
    const fieldbus::TSaved_Topics saved = fieldbus::Read_Saved_Topics(File_Path());
    QStringList changed;
    for (const QString& line : Topic_Pub.Changed_Rows(saved[0]))
        changed.append(QStringLiteral("publish ") + line);
    for (const QString& line : Topic_Sub.Changed_Rows(saved[1]))
        changed.append(QStringLiteral("subscribe ") + line);
    if (!changed.isEmpty())
        MessageDlg(fieldbus::Changed_Topics_Message(changed), TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    if (pub.isEmpty() && sub.isEmpty())
        return;
    MessageDlg(QStringLiteral("These rules name topics that the topic table (%1 publish and %2 subscribe topics) does "
                              "not hold: %3. They keep their topic numbers and are marked; OK asks before saving "
                              "them so.")
                   .arg(Topic_Pub.Topics().size())
                   .arg(Topic_Sub.Topics().size())
                   .arg(Unresolved_Rows()),
               TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

QString TFMQTT_Set_Access::Unresolved_Rows() const
{
    QStringList parts;
    const char* names[] = {"publish", "subscribe"};
    for (int t = 0; t < 2; ++t) {
        const shell::Table_Rows rows = Rows(t);
        const size_t end = File().Tables[size_t(t)].Content_End(rows);
        QStringList numbers;
        for (size_t r = 0; r < end; ++r)
            if (fieldbus::Is_Unresolved_Topic(rows[r].value(ma::Topic)))
                numbers.append(QString::number(r + 1));
        if (!numbers.isEmpty())
            parts.append(QStringLiteral("%1 %2 %3")
                             .arg(QLatin1String(names[t]), QLatin1String(numbers.size() == 1 ? "row" : "rows"),
                                  numbers.join(QStringLiteral(", "))));
    }
    return parts.join(QStringLiteral("; "));
}

std::optional<QString> TFMQTT_Set_Access::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return ma::Check(tables);
}

bool TFMQTT_Set_Access::Confirm_Write()
{
    const QString unresolved = Unresolved_Rows();
    return unresolved.isEmpty() ||
           MessageDlg(QStringLiteral("These rules name topics that the topic table does not hold: %1. Save them with "
                                     "their topic numbers?")
                          .arg(unresolved),
                      TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) == platform::mrYes;
}

std::vector<shell::Table_Rows> TFMQTT_Set_Access::Rows_To_Write() const
{
    return {Topic_Pub.Stored(Rows(0), File().Tables[0]), Topic_Sub.Stored(Rows(1), File().Tables[1])};
}

void TFMQTT_Set_Access::Written()
{
    fieldbus::Record_Saved_Topics(File_Path(), {Topic_Pub.Topic_Texts(), Topic_Sub.Topic_Texts()});
}

void TFMQTT_Set_Access::DblClickCell(grid::TExtStringGrid* Sender, int ARow, int ACol)
{
    TSetup_Window::DblClickCell(Sender, ARow, ACol);
    if (ARow > 0 && Sender->RealColIndex(ACol) == ma::Template)
        Show_Form_Topic(Sender, ARow, Sender->RealColIndex(ACol));
}

void TFMQTT_Set_Access::Show_Form_Topic(grid::TExtStringGrid* Sender, int ARow, int ACol)
{
    TFTopicTemplate* editor = FTopicTemplate();
    // A payload template; the keyword set stays the one the editor's last opener chose.
    editor->TopicTemplate = 1;
    Edit_Cell_In_Topic_Editor(editor, *Sender, ACol, ARow);
}
