#include "protocols/fieldbus/UModbusMaster.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "mqtt_image/UMQTT_Topic_File.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/Guard.h"
#include "shell/ULanguage.h"

#include <QFile>
#include <QRegularExpression>
#include <QTabWidget>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

namespace fieldbus::modbus_master {

namespace {

constexpr int64_t Max_Time = 100000000;

bool Outside(int64_t value, int64_t low, int64_t high) { return value < low || value > high; }

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

QStringList Publish_Topics(const QString& topicFile, bool numbered)
{
    QStringList topics;
    if (topicFile.isEmpty() || !QFile::exists(topicFile))
        return topics;
    mqtt_image::TTopic_Tables tables;
    QStringList problems;
    try {
        mqtt_image::Read_Topic_File(topicFile, &tables, &problems);
    } catch (const platform::Exception&) {
        // The rows read before the fault still name their topics; the topic window reports the file.
    }
    const shell::Table_Rows& rows = tables[mqtt_image::Topic_Publish];
    for (size_t k = 0; k < rows.size(); ++k) {
        const QString topic = rows[k].value(mqtt_image::pub::Topic);
        if (shell::Key_Is_Empty(topic))
            break;
        topics.append(numbered ? QString::number(k + 1) + QStringLiteral(" - ") + topic : topic);
    }
    return topics;
}

QString Get_Topic_From_Index(const QStringList& topics, int index)
{
    return index >= 0 && index < topics.size() ? topics.at(index) : QString();
}

int Get_Index_From_Topic(const QStringList& topics, const QString& topic, int remembered)
{
    if (remembered >= 0 && remembered < topics.size() && topics.at(remembered) == topic)
        return remembered;
    return int(topics.indexOf(topic));
}

QString Unresolved_Topic(int index)
{
    return QStringLiteral("<topic %1: not in the topic table>").arg(index);
}

bool Is_Unresolved_Topic(const QString& cell)
{
    static const QRegularExpression marked(QStringLiteral("^<topic \\d+: not in the topic table>$"));
    return marked.match(cell).hasMatch();
}

}  // namespace fieldbus::modbus_master

using namespace fieldbus::modbus_master;

TModbus_Master_Window::TModbus_Master_Window(const Window_Data& data, const grid::TGridLayers& gridLayers,
                                             QWidget* parent)
    : shell::TSetup_Window(data.Window, gridLayers, parent),
      ACG_Modbus_Read(Table(0)),
      ACG_Modbus_Write(Table(1)),
      FTopic_Column(data.Read_Topic_Column),
      FNumbered(data.Numbered_Topics)
{
    Btn_OK->OnClick = [this] { platform::Guarded([this] { Btn_OKClick(); }); };
    // A topic picked from the list is remembered by its index, so equal texts keep their own topic.
    ACG_Modbus_Read->OnComboObjectChange = [this](grid::TExtStringGrid*, int col, int row, int index, const QString&,
                                                  const QVariant&) {
        if (col == FTopic_Column && row >= 1 && size_t(row) <= ComboItem_Topic.size())
            ComboItem_Topic[size_t(row - 1)] = index;
    };
}

void TModbus_Master_Window::Prepare_Show()
{
    PageControl1->setTabVisible(1, false);
    List_Publish_Topic = Publish_Topics(shell::App_State.File_MQTT_Set_Topic, FNumbered);
    ACG_Modbus_Read->Columns()[FTopic_Column]->ComboItems = List_Publish_Topic;
    ComboItem_Topic.assign(size_t(File().Tables[0].Capacity), -1);
    NByte_IN = Data_Array_Size;
    NByte_OUT = Data_Array_Size;
}

void TModbus_Master_Window::FormShow()
{
    Load_File();
    // The read rows hold their topics' indices as the file gave them: shown by text from here on.
    QStringList unresolved;
    const shell::Table_Rows rows = Rows(0);
    for (size_t r = 0; r < rows.size() && r < ComboItem_Topic.size(); ++r) {
        const QString stored = rows[r].value(FTopic_Column);
        const int64_t index = stored.isEmpty() ? -1 : shell::Setup_Number(stored);
        ComboItem_Topic[r] = int(index);
        QString text = Get_Topic_From_Index(List_Publish_Topic, int(index));
        // An index the topic table no longer reaches is kept, not lost on the next save.
        if (index >= 0 && text.isEmpty()) {
            text = Unresolved_Topic(int(index));
            unresolved.append(QString::number(r + 1));
        }
        ACG_Modbus_Read->SetCells(FTopic_Column, int(r + 1), text);
    }
    if (!unresolved.isEmpty())
        MessageDlg(QStringLiteral("The read rules of rows %1 name topics that the topic table does not hold (it has "
                                  "%2 publish topics). They keep their topic numbers and are marked; pick a topic "
                                  "for each enabled one before saving.")
                       .arg(unresolved.join(QStringLiteral(", ")))
                       .arg(List_Publish_Topic.size()),
                   TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

shell::Table_Rows TModbus_Master_Window::Stored_Read_Rows() const
{
    shell::Table_Rows rows = Rows(0);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int remembered = r < ComboItem_Topic.size() ? ComboItem_Topic[r] : -1;
        const QString cell = rows[r].value(FTopic_Column);
        const int index = Is_Unresolved_Topic(cell) && cell == Unresolved_Topic(remembered)
                              ? remembered
                              : Get_Index_From_Topic(List_Publish_Topic, cell, remembered);
        rows[r][FTopic_Column] = QString::number(index);
    }
    return rows;
}

std::optional<QString> TModbus_Master_Window::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    FFault_Table = -1;
    return Check_Rules(tables, FFault_Table);
}

void TModbus_Master_Window::Btn_OKClick()
{
    for (int t = 0; t < Table_Count(); ++t)
        Table(t)->CellsMoving();
    if (!Controllo_dati()) {
        // The write table's tab is hidden in this layout: shown so that its fault can be mended.
        if (FFault_Table == 1) {
            PageControl1->setTabVisible(1, true);
            PageControl1->setCurrentIndex(1);
        }
        return;
    }
    if (File_Not_Read_Whole() &&
        MessageDlg(QStringLiteral("The file \"%1\" could not be read whole when this window opened. Saving replaces "
                                  "it with what the window shows now. Save anyway?")
                       .arg(File_Path()),
                   TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) != platform::mrYes)
        return;
    try {
        shell::Write_Project_Tables(File_Path(), File(), {Stored_Read_Rows(), Rows(1)});
    } catch (const platform::Exception& e) {
        MessageDlg(e.message() + QStringLiteral("\nNothing was saved; the window stays open."), TMsgDlgType::mtError,
                   TMsgDlgButtons::mbOK);
        return;
    }
    SetModalResult(platform::mrOk);
}
