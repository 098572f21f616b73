#pragma once
#include "shell/USetupWindow.h"

#include <QString>
#include <optional>
#include <vector>

namespace grid {
class TExtColumnGrid;
}

// "Set SNMP Manager Access": the requests the gateway's SNMP manager sends to agents (get, set,
// trap), SNMPv3 users included, and where their data stands in the exchange area, kept in
// SNMP_Manager.xml. The user names and passwords are stored in that file as typed, in plain text.
namespace building::snmp_manager {

// Real columns.
enum : int { N, Enable, IP_Address, Version, Community_String, OID, Type, Mode, On_Change, On_Command, On_Timer,
             Time, Position, Number_Bytes, ConvertFrom, Cancel, User, Auth_Pass, Priv_Pass, Security_Level,
             Auth_Mode, Priv_Mode, Mnemonic, Count };

constexpr int Table_Rows_Count = 512;

const shell::Setup_Window_Description& Window();

// The first fault of the table (rows 1 .., every real column), as the message to show: each enabled
// request's checks, then no two enabled requests with the same IP address, version and OID.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int areaSize);

}  // namespace building::snmp_manager

class TFSNMPManagerAccess : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFSNMPManagerAccess(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* ACG_SNMP;

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFSNMPManagerAccess* FSNMPManagerAccess();
