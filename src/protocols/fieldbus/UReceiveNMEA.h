#pragma once
#include "shell/USetupWindow.h"

#include <optional>

namespace grid {
class TExtColumnGrid;
}

// "Receive NMEA 2000 Frames": the parameter groups the gateway captures from an NMEA 2000 network,
// how each is carried and which of its bytes, kept in NMEA_Rec_Frames.xml.
namespace fieldbus::receive_nmea {
// Real columns.
enum : int { N, PGN, SA, TP, FP, TP_Start, TP_NByte, Delete, Mnemonic, Count };

const shell::Setup_Window_Description& Window();
// The first fault of the table, as the message to show; maxBytes bounds the captured bytes of all rows.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxBytes);
}  // namespace fieldbus::receive_nmea

class TFReceiveNMEA : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFReceiveNMEA(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* sga;
    int NUM_BYTE_IN = 0;  // 512 at every show

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFReceiveNMEA* FReceiveNMEA();
