#pragma once
#include "protocols/fieldbus/UModbusMaster.h"

#include <optional>

// "Set Modbus TCP Master Access": the Modbus master window's rules addressed to Modbus TCP slaves by
// IP address and port besides the slave ID, kept in ModbusTCPM_SetAccess.xml.
namespace fieldbus::tcp_set_access {
// Real columns of the read table.
namespace rd {
enum : int { N, Enable, IP_Address, Port, Slave_ID, Type, Address, NPoint, PollTime, MaxError, Position, Bit, Swap,
             SwapWord, Topic, Mnemonic, Count };
}
// Real columns of the write table.
namespace wr {
enum : int { N, Enable, IP_Address, Port, Slave_ID, Type, Address, NPoint, PollTime, OnChange, OnCMD, MaxError,
             Position, Bit, Swap, SwapWord, Mnemonic, Count };
}

const modbus_master::Window_Data& Window();
// The first fault of the tables (rows 1 .. n, every real column, Topic cells as shown); faultTable
// names the table of the fault.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int nByteOut, int* faultTable = nullptr);
}  // namespace fieldbus::tcp_set_access

class TFModbus_TCP_Master_Set_Access : public TModbus_Master_Window {
    Q_OBJECT
public:
    explicit TFModbus_TCP_Master_Set_Access(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    void Set_Lang() override;

protected:
    std::optional<QString> Check_Rules(const std::vector<shell::Table_Check_Input>& tables,
                                       int& faultTable) const override;
};

TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access();
