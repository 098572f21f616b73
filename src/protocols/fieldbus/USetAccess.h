#pragma once
#include "protocols/fieldbus/UModbusMaster.h"

#include <optional>

// "Set Modbus Access": the Modbus master gateway's read rules, each polling a block of a slave and
// publishing it under an MQTT topic, and its write rules, kept in ModbusM_SetAccess.xml.
namespace fieldbus::set_access {
// Real columns of the read table.
namespace rd {
enum : int { N, Enable, Slave_ID, Type, Address, NPoint, PollTime, MaxError, Position, Bit, Swap, SwapWord, Topic,
             Mnemonic, Count };
}
// Real columns of the write table.
namespace wr {
enum : int { N, Enable, Slave_ID, Type, Address, NPoint, PollTime, OnChange, OnCMD, MaxError, Position, Bit, Swap,
             SwapWord, Mnemonic, Count };
}

const modbus_master::Window_Data& Window();
// The first fault of the tables (rows 1 .. n, every real column, Topic cells as shown); faultTable
// names the table of the fault.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int nByteOut, int* faultTable = nullptr);
}  // namespace fieldbus::set_access

class TFSetAccess : public TModbus_Master_Window {
    Q_OBJECT
public:
    explicit TFSetAccess(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

protected:
    std::optional<QString> Check_Rules(const std::vector<shell::Table_Check_Input>& tables,
                                       int& faultTable) const override;
};

TFSetAccess* FSetAccess();
