#pragma once
#include "shell/USetupWindow.h"

#include <optional>

namespace grid {
class TExtColumnGrid;
}

// "Transmit J1939 Frames": the parameter groups the gateway sends on a J1939 network and when,
// kept in J1939_Send_Frames.xml.
namespace fieldbus::transmit_j1939 {
// Real columns.
enum : int { N, Priority, DP, PGN, SA, TP_NByte, On_Request, On_Data_Change, On_Timer, SendTimer, Mnemonic, Count };

const shell::Setup_Window_Description& Window();
// The first fault of the table, as the message to show; maxBytes bounds each row's and all rows' bytes.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxBytes);
// After the rows of the file at path were read into rows: an older row's sending mode (attribute
// T_Type) replaces its three check boxes, and a row read without a number of bytes sends 8.
void Read_Older_Rows(const QString& path, shell::Table_Rows& rows);
}  // namespace fieldbus::transmit_j1939

class TFTransmitJ1939 : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFTransmitJ1939(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* sga;
    int NUM_BYTE_OUT = 0;  // 1440 at every show

protected:
    void FormShow() override;
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFTransmitJ1939* FTransmitJ1939();
