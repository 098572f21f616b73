#include "protocols/fieldbus/UModbusMaster.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "shell/ULanguage.h"

#include <QTabWidget>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

namespace fieldbus::modbus_master {

namespace {

constexpr int64_t Max_Time = 100000000;

using shell::Outside;

}  // namespace

QStringList Read_Type_Items()
{
    return {QStringLiteral("Coil Status"), QStringLiteral("Input Status"), QStringLiteral("Holding Register"),
            QStringLiteral("Input Register")};
}

QStringList Write_Type_Items() { return {QStringLiteral("Coil Status"), QStringLiteral("Holding Register")}; }

shell::Table_Column Number_Column(int header)
{
    return {.Header = header, .Kind = shell::Cell_Editor::Row_Number, .Width = 40};
}

shell::Table_Column Enable_Column(int header, int hint)
{
    return {.Header = header, .Hint = hint, .Kind = shell::Cell_Editor::Check, .Width = 50, .Color = Enable_Colour,
            .Attribute = "Enable", .Default = "Y", .Cleared = "Y", .Centred = true};
}

shell::Table_Column Check_Column(int header, int hint, int width, uint32_t colour, const char* attribute,
                                 const char* fallback)
{
    return {.Header = header, .Hint = hint, .Kind = shell::Cell_Editor::Check, .Width = width, .Color = colour,
            .Attribute = attribute, .Default = fallback, .Required = !*fallback, .Centred = true};
}

shell::Table_Column Text_Column(int header, int hint, int width, uint32_t colour, const char* attribute)
{
    return {.Header = header, .Hint = hint, .Width = width, .Color = colour, .Attribute = attribute, .Required = true};
}

shell::Table_Column List_Column(int header, int hint, QStringList items, int width, uint32_t colour,
                                const char* attribute, bool shown)
{
    return {.Header = header, .Hint = hint, .Kind = shell::Cell_Editor::List, .Items = std::move(items), .Width = width,
            .Shown = shown, .Color = colour, .Attribute = attribute, .Required = true};
}

shell::Table_Column Topic_Column(int header, int hint, int width)
{
    return {.Header = header, .Hint = hint, .Kind = shell::Cell_Editor::List, .Width = width, .Color = Topic_Colour,
            .Attribute = "Index_Topic"};
}

bool Check_IP_Address(const QString& address)
{
    if (address.isEmpty())
        return true;
    QStringList parts;
    qsizetype from = 0;
    for (int k = 0; k < 3; ++k) {
        const qsizetype dot = address.indexOf(QLatin1Char('.'), from);
        if (dot < 0) {
            parts.append(address.mid(from));
            from = address.size();
            continue;
        }
        parts.append(address.mid(from, dot - from));
        from = dot + 1;
    }
    parts.append(from < address.size() ? address.mid(from) : QString());
    // A missing dot leaves the parts after it empty, which read as -1.
    for (const QString& part : parts)
        if (Outside(shell::Setup_Number(part), 0, 255))
            return true;
    return false;
}

namespace {

// Type, Address and NPoint of a rule; the rule is a bit rule when its type is one of bitTypes.
std::optional<QString> Check_Type_And_Points(const shell::Checked_Row& row, const Rule_Columns& columns,
                                             const Rule_Texts& texts, const QStringList& bitTypes, int bitMax,
                                             int registerMax, bool& bits)
{
    const QString type = shell::Trim_Blanks(row.Cell(columns.Type));
    if (type.isEmpty())
        return shell::Lang(texts.Type);
    bits = bitTypes.contains(type.toUpper());
    if (Outside(row.Setup_Number(columns.Address), 0, 65535))
        return shell::Lang(texts.Address);
    const int max = bits ? bitMax : registerMax;
    if (Outside(row.Setup_Number(columns.NPoint), 1, max))
        return shell::Lang(texts.NPoint) + QString::number(max);
    return std::nullopt;
}

// Slave address (IP and port where the table has them) and slave ID.
std::optional<QString> Check_Slave(const shell::Checked_Row& row, const Rule_Columns& columns, const Rule_Texts& texts)
{
    if (columns.IP_Address >= 0 && Check_IP_Address(row.Cell(columns.IP_Address)))
        return shell::Lang(texts.IP_Address);
    if (columns.Port >= 0 && Outside(row.Setup_Number(columns.Port), 0, 65535))
        return shell::Lang(texts.Port);
    if (Outside(row.Setup_Number(columns.Slave_ID), 1, 247))
        return shell::Lang(texts.Slave_ID);
    return std::nullopt;
}

}  // namespace

std::optional<QString> Check_Read_Rule(const shell::Checked_Row& row, const Rule_Columns& columns,
                                       const Rule_Texts& texts)
{
    if (auto fault = Check_Slave(row, columns, texts))
        return fault;
    bool bits = false;
    if (auto fault = Check_Type_And_Points(row, columns, texts, {QStringLiteral("COIL STATUS"), QStringLiteral("INPUT STATUS")},
                                           2000, 125, bits))
        return fault;
    if (Outside(row.Setup_Number(columns.PollTime), 1000, Max_Time))
        return shell::Lang(texts.PollTime);
    if (Outside(row.Setup_Number(columns.MaxError), 0, Max_Time))
        return shell::Lang(texts.MaxError);
    const QString topic = shell::Trim_Blanks(row.Cell(columns.Topic));
    if (topic.isEmpty() || Is_Unresolved_Topic(topic))
        return shell::Lang(texts.Topic);
    return std::nullopt;
}

std::optional<QString> Check_Write_Rule(const shell::Checked_Row& row, const Rule_Columns& columns,
                                        const Rule_Texts& texts, int nByteOut)
{
    if (auto fault = Check_Slave(row, columns, texts))
        return fault;
    bool bits = false;
    if (auto fault = Check_Type_And_Points(row, columns, texts, {QStringLiteral("COIL STATUS")}, 1968, 123, bits))
        return fault;
    if (Outside(row.Setup_Number(columns.PollTime), 0, Max_Time))
        return shell::Lang(texts.PollTime);
    if (Outside(row.Setup_Number(columns.MaxError), 0, Max_Time))
        return shell::Lang(texts.MaxError);
    const int64_t position = row.Setup_Number(columns.Position);
    if (Outside(position, 0, nByteOut - 1))
        return shell::Lang(texts.Position) + QString::number(nByteOut - 1);
    const int64_t points = row.Setup_Number(columns.NPoint);
    int64_t last = position + 2 * points - 1;
    if (bits) {
        // The message names the range 0 .. 7, so a start bit beyond it fails as an empty one does.
        const int64_t bit = row.Setup_Number(columns.Bit);
        if (Outside(bit, 0, 7))
            return shell::Lang(texts.Bit);
        last = position + (points + bit - 1) / 8;
    }
    if (last >= nByteOut)
        return shell::Lang(texts.Last_Byte);
    return std::nullopt;
}

std::optional<QString> Check_Rule_Tables(const shell::Setup_Window_Description& window,
                                         const std::vector<shell::Table_Check_Input>& tables,
                                         const Rule_Columns& readColumns, const Rule_Texts& readTexts,
                                         const Rule_Columns& writeColumns, const Rule_Texts& writeTexts, int nByteOut,
                                         int* faultTable)
{
    const auto check = [&](int table, const shell::Checked_Row& row) {
        return table == 0 ? Check_Read_Rule(row, readColumns, readTexts)
                          : Check_Write_Rule(row, writeColumns, writeTexts, nByteOut);
    };
    if (tables.empty())
        return std::nullopt;
    // The read table alone first, so that a fault is known to lie in one table or the other.
    std::optional<QString> fault =
        shell::Check_Setup_Tables(window, std::vector<shell::Table_Check_Input>(tables.begin(), tables.begin() + 1), check);
    int table = 0;
    if (!fault && tables.size() > 1) {
        fault = shell::Check_Setup_Tables(window, tables, check);
        table = 1;
    }
    if (faultTable)
        *faultTable = fault ? table : -1;
    return fault;
}

}  // namespace fieldbus::modbus_master

using namespace fieldbus::modbus_master;

TModbus_Master_Window::TModbus_Master_Window(const Window_Data& data, const grid::TGridLayers& gridLayers,
                                             QWidget* parent)
    : shell::TSetup_Window(data.Window, gridLayers, parent),
      ACG_Modbus_Read(Table(0)),
      ACG_Modbus_Write(Table(1)),
      Read_Topics(ACG_Modbus_Read, data.Read_Topic_Column),
      FNumbered(data.Numbered_Topics)
{
    // A topic picked from the list is remembered by its index, so equal texts keep their own topic.
    ACG_Modbus_Read->OnComboObjectChange = [this](grid::TExtStringGrid*, int col, int row, int index, const QString&,
                                                  const QVariant&) {
        if (col == Read_Topics.Column())
            Read_Topics.Picked(row, index);
    };
}

void TModbus_Master_Window::Prepare_Show()
{
    PageControl1->setTabVisible(1, false);
    Read_Topics.Reset(fieldbus::File_Topics(shell::App_State.File_MQTT_Set_Topic, mqtt_image::Topic_Publish), FNumbered,
                      File().Tables[0].Capacity);
    NByte_IN = Data_Array_Size;
    NByte_OUT = Data_Array_Size;
}

void TModbus_Master_Window::FormShow()
{
    Load_File();
    // The read rows hold their topics' indices as the file gave them: shown by text from here on.
    const QStringList unresolved = Read_Topics.Show_Topics();
    const QString changed = fieldbus::Changed_Topics_Message(
        Read_Topics.Changed_Rows(fieldbus::Read_Saved_Topics(File_Path())[mqtt_image::Topic_Publish]));
    if (!changed.isEmpty())
        MessageDlg(changed, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    if (!unresolved.isEmpty())
        MessageDlg(QStringLiteral("The read rules of rows %1 name topics that the topic table does not hold (it has "
                                  "%2 publish topics). They keep their topic numbers and are marked; pick a topic "
                                  "for each enabled one before saving.")
                       .arg(unresolved.join(QStringLiteral(", ")))
                       .arg(Read_Topics.Topics().size()),
                   TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

std::vector<shell::Table_Rows> TModbus_Master_Window::Rows_To_Write() const
{
    return {Read_Topics.Stored(Rows(0), File().Tables[0]), Rows(1)};
}

void TModbus_Master_Window::Written()
{
    fieldbus::Record_Saved_Topics(File_Path(), {Read_Topics.Topic_Texts(), {}});
}

std::optional<QString> TModbus_Master_Window::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    FFault_Table = -1;
    return Check_Rules(tables, FFault_Table);
}

void TModbus_Master_Window::Show_Fault()
{
    // The write table's tab is hidden in this layout: shown so that its fault can be mended.
    if (FFault_Table == 1) {
        PageControl1->setTabVisible(1, true);
        PageControl1->setCurrentIndex(1);
    }
}
