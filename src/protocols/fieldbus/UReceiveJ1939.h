#pragma once
#include "shell/USetupWindow.h"

#include <optional>

namespace grid {
class TExtColumnGrid;
}

// "Receive J1939 Frames": the parameter groups the gateway captures from a J1939 network and which
// of their bytes, kept in J1939_Rec_Frames.xml.
namespace fieldbus::receive_j1939 {
// Real columns.
enum : int { N, DP, PGN, SA, TP, TP_Start, TP_NByte, Delete, OnRequest, OnReq_Time, Mnemonic, Count };

const shell::Setup_Window_Description& Window();
// The first fault of the table, as the message to show; maxBytes bounds the captured bytes of all rows.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxBytes);
}  // namespace fieldbus::receive_j1939

class TFReceiveJ1939 : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFReceiveJ1939(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* sga;
    int NUM_BYTE_IN = 0;  // 1440 at every show

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFReceiveJ1939* FReceiveJ1939();
