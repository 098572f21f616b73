#pragma once
#include "shell/USetupWindow.h"

#include <optional>

namespace grid {
class TExtColumnGrid;
}

// "Transmit NMEA 2000 Frames": the parameter groups the gateway sends on an NMEA 2000 network and
// when, kept in NMEA_Send_Frames.xml (whose root bears the receive file's name).
namespace fieldbus::transmit_nmea {
// Real columns.
enum : int { N, Priority, PGN, SA, FP, TP_NByte, On_Request, On_Data_Change, On_Timer, SendTimer, Mnemonic, Count };

const shell::Setup_Window_Description& Window();
// The first fault of the table, as the message to show; maxBytes bounds each row's and all rows' bytes.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxBytes);
}  // namespace fieldbus::transmit_nmea

class TFTransmitNMEA : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFTransmitNMEA(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* sga;
    int NUM_BYTE_OUT = 0;  // 512 at every show

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFTransmitNMEA* FTransmitNMEA();
