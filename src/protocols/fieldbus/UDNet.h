#pragma once
#include "shell/USetupWindow.h"

// "DeviceNet Network": the DeviceNet slaves that the gateway scans, with their numbers of input
// and output bytes.
class TFDNet : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFDNet(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

protected:
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFDNet* FDNet();
