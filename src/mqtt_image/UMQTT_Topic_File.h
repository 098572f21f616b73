#pragma once
#include "shell/UComon.h"
#include "shell/UProjectTable.h"
#include "shell/USetupWindow.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// MQTT_Set_Topic.xml and the two tables it holds: their columns, the file's layout, reading,
// writing and the checks run before a write. The window and its tests share these.
namespace mqtt_image {

enum TTopic_Side { Topic_Publish = 0, Topic_Subscribe = 1 };

// Real columns of the publish table.
namespace pub {
enum : int {
    N, Topic, Retained, QoS, DataType, Dimension, Position, IPAddress, Hex, InputTemplate, Template, OnChange,
    OnCMD, OnTimer, Time, Channel, Swap, SwapWord, Mnemonic, Count
};
}
// Real columns of the subscribe table.
namespace sub {
enum : int {
    N, Topic, Retained, QoS, DataType, Dimension, Position, IPAddress, Port, EthType, InputTemplate, Hex, Template,
    Swap, SwapWord, Mnemonic, Count
};
}

constexpr int Topic_Table_Rows = 1024;
using shell::MQTT_Array_Size;

using TTopic_Cell = shell::Cell_Editor;
using TTopic_Column = shell::Table_Column;

// The topic window: its file, names, size and texts.
const shell::Setup_Window_Description& MQTT_Set_Topic_Window_Description();
// The file, its two tables and their columns: what the window, its checks and the bank compiler
// share. Table i is side i.
inline const shell::Project_File_Description& MQTT_Set_Topic_Description()
{
    return MQTT_Set_Topic_Window_Description().File;
}

// One description per real column, in column order.
const std::vector<TTopic_Column>& Topic_Columns(TTopic_Side side);
// The template column, whose cells the topic and template editor edits.
int Template_Column(TTopic_Side side);
// The container of the side's rows in the file.
QString Topic_Container(TTopic_Side side);

// One table row per entry; each row holds one text per real column (column 0 the row number).
using TTopic_Rows = shell::Table_Rows;
using TTopic_Tables = std::array<TTopic_Rows, 2>;

// A row holds data when a column other than the row number and the check boxes holds more than blanks.
bool Topic_Row_Holds_Data(TTopic_Side side, const QStringList& row);

const shell::Project_File_Layout& MQTT_Set_Topic_Layout();

// Reads the file's rows (at most Topic_Table_Rows a table) as full table rows. Rows lacking a
// required attribute and rows that have no room are described in problems; a file that is not
// well formed or lacks a container throws Exception after filling what it could.
void Read_Topic_File(const QString& path, TTopic_Tables* tables, QStringList* problems);
// Writes each table up to its first row whose topic is blank; throws Exception on failure.
void Write_Topic_File(const QString& path, const TTopic_Tables& tables);

// True (an error) when the text holds an odd number of "$".
bool Error_In_Topic_Template(const QString& text);

struct TTopic_Check_Input {
    TTopic_Tables Tables;                     // rows 1 .. n of each table
    std::array<std::vector<bool>, 2> Shown;   // per real column; a hidden column is not checked
    int Byte_IN = MQTT_Array_Size;
    int Byte_OUT = MQTT_Array_Size;
};

// The first fault of the publish table, then of the subscribe table, as the message to show
// ("Error row " + row + text); nothing when both tables may be written.
std::optional<QString> Check_Topic_Tables(const TTopic_Check_Input& input);

}  // namespace mqtt_image
