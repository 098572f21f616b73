#pragma once
#include "protocols/fieldbus/UCANFrames.h"
#include "shell/USetupWindow.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

// What the J1939 and NMEA 2000 frame tables share: rows named by their parameter group (PGN), a
// table that ends at the first row without a PGN, and a running total of the rows' bytes that the
// gateway's buffer must hold.
namespace fieldbus {

constexpr uint32_t Light_Yellow = 11075583;
constexpr uint32_t Pale_Green = 13303754;
constexpr uint32_t Window_Background = 15595512;

QStringList Data_Page_Items();  // "0", "1"

// What tells the frame windows apart besides their columns.
struct PGN_Window_Data {
    const char* Name;  // the window's object name
    int Client_Width;
    const char* Root;  // the file's root element
    const char* Version;
    QString shell::TApp_State::*Path;
    int Capacity;         // data rows
    int Block;            // caption, description, then the six button captions
    int Delete_Question;  // followed by the row number
    int Row_Prefix;
};

// A frame window: rows right under the root, keyed by their PGN (a PGN of blanks is content and is
// checked; the checks and the writer end the table at the same row), no Enable column, the grid
// named "sga".
shell::Setup_Window_Description PGN_Frame_Window(const PGN_Window_Data& data, std::vector<shell::Table_Column> columns,
                                                 int pgnColumn);

// The running total of a table's bytes; its fault names no row.
class Byte_Total {
public:
    Byte_Total(int64_t limit, int text) : FLimit(limit), FText(text) {}
    // Adds a row's bytes; the message when the sum passes the limit.
    std::optional<QString> Add(int64_t bytes);
    const std::optional<QString>& Fault() const { return FFault; }

private:
    int64_t FLimit;
    int FText;
    int64_t FSum = 0;
    std::optional<QString> FFault;
};

// The checks of a frame window: each content row by check_row, which adds the row's bytes to the
// total; the total's fault stands without a row prefix, the others after "Error in row <n>".
std::optional<QString> Check_Frame_Table(
    const shell::Setup_Window_Description& window, const std::vector<shell::Table_Check_Input>& tables,
    int64_t limit, int totalText,
    const std::function<std::optional<QString>(const shell::Checked_Row&, Byte_Total&)>& check_row);

// A number cell in lo .. hi, else the text.
std::optional<QString> Check_Range(const shell::Checked_Row& row, int column, int64_t lo, int64_t hi, int text);
// The same with the limit appended to the text.
std::optional<QString> Check_Range_Named(const shell::Checked_Row& row, int column, int64_t lo, int64_t hi, int text);

// The texts of a single-frame row's capture checks.
struct Single_Frame_Texts {
    int Both;         // "!! Start Byte and Number Bytes must be both compiled"
    int Start;        // "!! The Start Byte must be between 1 and 8"
    int Number;       // "!! The Number Bytes must be between 1 and 8"
    int Sum;          // "!! The Number Bytes plus Start Byte must be minor of 9"
};

// The bytes captured from a single frame (8 data bytes): Start Byte and N Byte both empty (bytes
// unchanged) or both given, Start Byte an offset of 0 or more, N Byte 1 .. 8, the two within the
// frame; *bytes becomes N Byte.
std::optional<QString> Check_Single_Frame(const shell::Checked_Row& row, int startColumn, int numberColumn,
                                          const Single_Frame_Texts& texts, int64_t* bytes);

// A capture from a multi-packet transfer of at most last+1 bytes: Start Byte 0 .. last (startText),
// N Byte 0 or more with Start Byte + N Byte at most last (sumText); *bytes becomes N Byte.
std::optional<QString> Check_Multi_Packet(const shell::Checked_Row& row, int startColumn, int numberColumn,
                                          int64_t last, int startText, int sumText, int64_t* bytes);

bool Checked(const shell::Checked_Row& row, int column);  // the check box cell is exactly "Y"

}  // namespace fieldbus

namespace fieldbus {

// The cells of a transmit row that are checked; DP -1 where the table has no data page.
struct Transmit_Columns {
    int Priority, DP, PGN, SA, NByte, On_Timer, SendTimer;
};
struct Transmit_Texts {
    int Priority, DP, PGN, SA, NByte, Timer;
    int64_t Max_PGN, Max_SA;
};

// A transmit row: priority 0 .. 7, a data page given, PGN and source address in range, its bytes
// 0 .. maxBytes and within the table's total, a send period of 1 .. 65535 ms when sent on timer.
std::optional<QString> Check_Transmit_Row(const shell::Checked_Row& row, const Transmit_Columns& columns,
                                          const Transmit_Texts& texts, int64_t maxBytes, Byte_Total& total);

}  // namespace fieldbus
