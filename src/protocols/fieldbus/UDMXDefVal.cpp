#include "protocols/fieldbus/UDMXDefVal.h"

#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/IntText.h"
#include "platform/XmlDoc.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

using shell::Cell_Editor;

namespace fieldbus::dmx {

namespace {

shell::Setup_Window_Description Make_Window()
{
    shell::Table_Description table;
    table.Row_Element = QStringLiteral("Row");
    table.Columns = {
        {.Header = 3706, .Kind = Cell_Editor::Row_Number, .Width = 100},
        {.Header = 3707, .Hint = 3709, .Width = 100, .Attribute = "Default_Value", .Default = "0", .Cleared = "0"},
        {.Header = 3708, .Hint = 3710, .Width = 250, .Attribute = "Mnemonic"},
    };
    // No key: every channel is a row of the file.
    table.Key_Column = -1;
    table.Capacity = Max_Channels;

    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FDMXDefVal");
    window.Client_Width = 475;
    window.Client_Height = 337;
    window.File = {QStringLiteral("DMX_Default_Values"), QStringLiteral("1.000"), {table}};
    window.Path = &shell::TApp_State::File_DMX_Default_Values;
    window.Grid_Names = {QStringLiteral("ACG_DMX_Def_Val")};
    window.Caption = 3700;
    window.Description = 3701;
    window.Button_Captions = {3702, 3703};
    window.Button_Hints = {3704, 3705};
    window.Row_Prefix = 3711;
    return window;
}

}  // namespace

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

int Channel_Count(const QString& parGenPath, QString* warning)
{
    if (!platform::FileExists(parGenPath))
        return Max_Channels;
    platform::XmlDocument doc;
    try {
        doc.LoadFromFile(parGenPath);
    } catch (const platform::Exception& e) {
        *warning = e.message() + QStringLiteral("\nThe table has %1 DMX channels.").arg(Max_Channels);
        return Max_Channels;
    }
    const platform::XmlNode element = doc.DocumentElement().ChildByName(QStringLiteral("DMX_Num_Channels"));
    if (!element)
        return Max_Channels;
    const QString text = element.Text();
    // The number rule of the tables; a text that is not a number is the default count.
    const std::optional<int32_t> read = platform::Parse_Int32_Hex_x(text);
    if (!read)
        return Max_Channels;
    const int count = std::clamp<int32_t>(*read, 1, Max_Channels);
    if (count != *read)
        *warning = QStringLiteral("ParGen.xml sets the number of DMX channels to %1; a table holds 1 to %2 channels. "
                                  "The table has %3 channels.")
                       .arg(*read)
                       .arg(Max_Channels)
                       .arg(count);
    return count;
}

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables)
{
    return shell::Check_Setup_Tables(Window(), tables, [](int, const shell::Checked_Row& row) -> std::optional<QString> {
        const int64_t value = row.Setup_Number(Default_Value);
        if (value < 0 || value > 255)
            return shell::Lang(3712);
        return std::nullopt;
    });
}

}  // namespace fieldbus::dmx

TFDMXDefVal* FDMXDefVal() { return shell::Window<TFDMXDefVal>(); }

TFDMXDefVal::TFDMXDefVal(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(fieldbus::dmx::Window(), gridLayers, parent), ACG_DMX_Def_Val(Table(0))
{
    // The window shows hints on its buttons only.
    ACG_DMX_Def_Val->SetShowHint(false);
}

void TFDMXDefVal::Prepare_Show()
{
    QString warning;
    Edit_File().Tables[0].Capacity = fieldbus::dmx::Channel_Count(shell::App_State.File_ParGen, &warning);
    if (!warning.isEmpty())
        platform::MessageDlg(warning, platform::TMsgDlgType::mtWarning, platform::TMsgDlgButtons::mbOK);
}

std::optional<QString> TFDMXDefVal::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return fieldbus::dmx::Check(tables);
}
