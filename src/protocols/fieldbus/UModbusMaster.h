#pragma once
#include "protocols/fieldbus/UTopicIndex.h"
#include "shell/USetupWindow.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What the Modbus master and Modbus TCP master access windows share: the rules' types and limits,
// their checks, the read rules' MQTT publish topics (stored by index, shown by text) and the window
// that shows the read table with the write table's tab hidden.
namespace fieldbus::modbus_master {

// The internal data array that positions address.
constexpr int Data_Array_Size = 1500;

QStringList Read_Type_Items();   // coils, discrete inputs, holding and input registers
QStringList Write_Type_Items();  // coils, holding registers

// The colours of the column groups.
constexpr uint32_t Enable_Colour = 11589887;
constexpr uint32_t Ident_Colour = 16710368;
constexpr uint32_t Timing_Colour = 11075496;
constexpr uint32_t Position_Colour = 16045820;
constexpr uint32_t Swap_Colour = 11075583;
constexpr uint32_t Topic_Colour = 16766421;
constexpr uint32_t White = 0xFFFFFF;

// The columns of the rule tables. Check boxes stand centred; a stored column without a default
// (fallback "") is required.
shell::Table_Column Number_Column(int header);
shell::Table_Column Enable_Column(int header, int hint);
shell::Table_Column Check_Column(int header, int hint, int width, uint32_t colour, const char* attribute,
                                 const char* fallback);
shell::Table_Column Text_Column(int header, int hint, int width, uint32_t colour, const char* attribute);
shell::Table_Column List_Column(int header, int hint, QStringList items, int width, uint32_t colour,
                                const char* attribute, bool shown = true);
// Loaded as the topic's index, shown as its text; a row without it names no topic.
shell::Table_Column Topic_Column(int header, int hint, int width);

// Real columns of a rule; -1 where the table has none.
struct Rule_Columns {
    int IP_Address = -1, Port = -1;
    int Slave_ID, Type, Address, NPoint, PollTime, MaxError;
    int Position = -1, Bit = -1, Topic = -1;
};

// Text-table indices of one table's messages; 0 where the table has no such check.
struct Rule_Texts {
    int IP_Address = 0, Port = 0;
    int Slave_ID, Type, Address, NPoint, PollTime, MaxError;
    int Topic = 0;                          // read rules
    int Position = 0, Bit = 0, Last_Byte = 0;  // write rules
};

// True when the text is NOT an IPv4 address of four parts 0 .. 255 (each part by the tables'
// number rule; all that follows the third dot is the fourth part).
bool Check_IP_Address(const QString& address);

// The first fault of an enabled read rule, as the message after the row prefix.
std::optional<QString> Check_Read_Rule(const shell::Checked_Row& row, const Rule_Columns& columns,
                                       const Rule_Texts& texts);
// The first fault of an enabled write rule; positions address nByteOut bytes.
std::optional<QString> Check_Write_Rule(const shell::Checked_Row& row, const Rule_Columns& columns,
                                        const Rule_Texts& texts, int nByteOut);

// The read table, then the write table, with their rule checks; faultTable (when given) gets the
// table of the first fault, rows holding data below a table's end included.
std::optional<QString> Check_Rule_Tables(const shell::Setup_Window_Description& window,
                                         const std::vector<shell::Table_Check_Input>& tables,
                                         const Rule_Columns& readColumns, const Rule_Texts& readTexts,
                                         const Rule_Columns& writeColumns, const Rule_Texts& writeTexts, int nByteOut,
                                         int* faultTable);

// What sets one Modbus master window apart from the other besides its columns and checks.
struct Window_Data {
    shell::Setup_Window_Description Window;
    int Read_Topic_Column;
    bool Numbered_Topics;
};

}  // namespace fieldbus::modbus_master

// A Modbus master window: a read table of rules publishing to MQTT topics, shown, and a write
// table on a tab that every show hides, opened only to show a fault of its rows.
class TModbus_Master_Window : public shell::TSetup_Window {
    Q_OBJECT
public:
    TModbus_Master_Window(const fieldbus::modbus_master::Window_Data& data, const grid::TGridLayers& gridLayers,
                          QWidget* parent);

    grid::TExtColumnGrid* ACG_Modbus_Read;
    grid::TExtColumnGrid* ACG_Modbus_Write;
    // The read rules' publish topics.
    fieldbus::TTopic_Index_Column Read_Topics;
    int NByte_IN = 0;
    int NByte_OUT = 0;

protected:
    void FormShow() override;
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
    // A fault in the write table shows its tab.
    void Show_Fault() override;
    // Topics as indices.
    std::vector<shell::Table_Rows> Rows_To_Write() const override;
    // The topics the rules were saved against, recorded beside the file.
    void Written() override;
    // The window's checks; Fault_Table names the table of the fault.
    virtual std::optional<QString> Check_Rules(const std::vector<shell::Table_Check_Input>& tables,
                                               int& faultTable) const = 0;

private:
    bool FNumbered;
    mutable int FFault_Table = -1;
};
