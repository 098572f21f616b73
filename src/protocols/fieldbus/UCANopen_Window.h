#pragma once
#include "protocols/fieldbus/UCANopen_Tables.h"
#include "shell/USetupWindow.h"

// The shape of the CANopen PDO and SDO windows: two tables on tabs whose byte cells address the
// exchange area, checked by the window's own rules.
class TCANopen_Window : public shell::TSetup_Window {
    Q_OBJECT
public:
    using Checks = std::optional<QString> (*)(const fieldbus::CANopen_Check_Input&);
    TCANopen_Window(const shell::Setup_Window_Description& description, Checks checks,
                    const grid::TGridLayers& gridLayers, QWidget* parent);

    // Exchange-area positions that receive (read) and transmit (write) byte cells may address.
    int PROFINET_NByte_IN = fieldbus::CANopen_Area_Size;
    int PROFINET_NByte_OUT = fieldbus::CANopen_Area_Size;

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;

private:
    Checks FChecks;
};
