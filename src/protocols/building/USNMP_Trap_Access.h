#pragma once
#include "shell/USetupWindow.h"

#include <QString>
#include <optional>
#include <vector>

namespace grid {
class TExtColumnGrid;
}

// "Set SNMP Trap Access": the variables the gateway's SNMP agent offers (read, sent as traps) and
// accepts (write), each taken from or written to bits or bytes of the exchange area, kept in
// SNMP_Trap.xml; the MIB writer describes the enabled ones.
namespace building::snmp_agent {

enum Table : int { Read_Table, Write_Table };
// Real columns of the read table.
namespace rd {
enum : int { N, Enable, Community_Name, Type, On_Change, On_Command, On_Timer, Time, Position, Bit, NumBits,
             Description, IP_Address, Conversion, Mnemonic, Count };
}
// Real columns of the write table.
namespace wr {
enum : int { N, Enable, Community_Name, Type, Position, Bit, NumBits, Description, Conversion, Mnemonic, Count };
}

constexpr int Table_Rows_Count = 256;

const shell::Setup_Window_Description& Window();

// 1 when Str breaks the character rule, else 0: digits and ASCII letters only; with Check_Type 1
// the first character must be a lower-case letter. Untrimmed; an empty text passes.
int Check_Error_CommName_Desc(const QString& Str, int Check_Type);

// A Type whose upper-cased text is "INT" makes an integer variable; any other a string variable.
bool Is_Int_Type(const QString& type);

// The first fault of the two tables (rows 1 .., every real column), as the message to show: the row
// checks of each table, then the descriptions of the enabled rows, read rows first, all different.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int nByteIn, int nByteOut);

}  // namespace building::snmp_agent

class TFSNMP_Trap_Access : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFSNMP_Trap_Access(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    // Column 0 of rows 1 .. 256 numbers the enabled rows 1, 2, 3 ...; other rows get nothing. The
    // number is the index the MIB gives the row's object.
    static void Index_Row_Build(grid::TExtColumnGrid& app_SGA);

    grid::TExtColumnGrid* ACG_SNMP_Read;
    grid::TExtColumnGrid* ACG_SNMP_Write;
    int NByte_IN = 0;
    int NByte_OUT = 0;

protected:
    void FormShow() override;
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFSNMP_Trap_Access* FSNMP_Trap_Access();
