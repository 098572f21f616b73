#pragma once
#include "shell/USetupWindow.h"

#include <QChar>
#include <QString>
#include <optional>
#include <vector>

namespace grid {
class TExtColumnGrid;
}

// "KNX Set Access": the KNX telegrams the gateway sends, each with the stretch of the exchange area
// that holds its data, kept in KNX_SetAccess.xml.
namespace building::knx {
// Real columns.
enum : int {
    N, Enable, Source_Address, Destination_Address, APCI, Priority, Format, MultiplicationFactor, Extended, ReTest,
    On_Command, On_Change, On_Timer, Poll_Time, Position, Bit_Mode, Length, TimeOut, Mnemonic, Count
};

// The exchange area that Position and Length address.
using shell::MQTT_Array_Size;

const shell::Setup_Window_Description& Window();

QStringList Priority_Items();
// A Priority that is not one of the list's texts exactly (as a file may hold): "Normal".
QString Normal_Priority(const QString& priority);

// A source (individual) or destination address as the table takes it, trimmed: 0 valid, 1 not.
// The two-part individual form "a.b" takes two bytes 0 .. 255.
int Check_Address(const QString& address, bool group);

// The first fault of the table (rows 1 .. n, every real column), as the message to show; rows
// below the table's end are not examined. separator: the decimal mark of the Mul. Factor.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxNumByte, QChar separator);
}  // namespace building::knx

class TFKNXAccess : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFKNXAccess(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* ACG_KNX_in_Write;
    // The exchange area's size; set at every show.
    int Max_Num_Byte = 0;

protected:
    void FormShow() override;
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFKNXAccess* FKNXAccess();
