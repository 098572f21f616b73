#pragma once
#include "shell/USetupWindow.h"

#include <optional>

namespace grid {
class TExtColumnGrid;
}

// "Receive CAN Frames Set Access": the CAN frames the gateway takes from the bus and where each data
// byte goes in the exchange area, kept in CAN_Rec_Frames.xml.
namespace fieldbus::receive_can {
// Real columns.
enum : int { N, Enable, COBID, CAN_Type, Dim, TimeOut, Byte1, Byte8 = Byte1 + 7, Mnemonic, Count };

const shell::Setup_Window_Description& Window();
// The first fault of the table (rows 1 .. n, every real column), as the message to show.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxByte);
}  // namespace fieldbus::receive_can

class TFReceiveCAN : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFReceiveCAN(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* ACG_CAN_Receive;
    // The exchange-area positions a byte column may name; set at every show.
    int MAX_Byte = 0;

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFReceiveCAN* FReceiveCAN();
