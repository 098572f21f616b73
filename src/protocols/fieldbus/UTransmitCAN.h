#pragma once
#include "shell/USetupWindow.h"

#include <optional>

namespace grid {
class TExtColumnGrid;
}

// "Transmit CAN Frames Set Access": the CAN frames the gateway sends, where each data byte comes
// from in the exchange area and when the frame goes out, kept in CAN_Send_Frames.xml.
namespace fieldbus::transmit_can {
// Real columns.
enum : int { N, Enable, COBID, CAN_Type, Dim, OnChange, OnCMD, OnTimer, Time, Byte1, Byte8 = Byte1 + 7, Mnemonic, Count };

// The window-wide settings that older files without per-row values fall back on. Nothing in the
// program changes them: frame format 2.0A, sending on change, period 0.
constexpr int Default_CAN_Type = 0;   // 0: 2.0A, else 2.0B
constexpr int Default_Send_Type = 0;  // 0: on change, 1: on timer
constexpr int Default_Send_Time = 0;  // milliseconds

const shell::Setup_Window_Description& Window();
// The first fault of the table, as the message to show; hardType 1 takes each row's frame format
// from its Type cell and checks the Time of rows sent on timer.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxByte, int hardType);
}  // namespace fieldbus::transmit_can

class TFTransmitCAN : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFTransmitCAN(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* ACG_CAN_Transmit;
    int Hard_Type = 0;  // 1 at every show
    const int CAN_Type = fieldbus::transmit_can::Default_CAN_Type;
    int MAX_Byte = 0;   // 1440 at every show
    const int Send_Type = fieldbus::transmit_can::Default_Send_Type;
    const int Send_Time = fieldbus::transmit_can::Default_Send_Time;

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFTransmitCAN* FTransmitCAN();
