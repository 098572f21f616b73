#pragma once
#include "shell/USetupWindow.h"

#include <optional>

namespace grid {
class TExtColumnGrid;
}

// "DMX Default Value": one row per DMX channel with its default level and a description, kept in
// DMX_Default_Values.xml. The number of channels comes from ParGen.xml at every show.
namespace fieldbus::dmx {
// Real columns.
enum : int { Channel, Default_Value, Mnemonic, Count };

constexpr int Max_Channels = 512;

const shell::Setup_Window_Description& Window();
// The number of channels that ParGen.xml sets (element DMX_Num_Channels), within 1 .. 512. A
// missing file or element gives 512 without a word; anything else that is not a count within
// 1 .. 512 gives 512 or the nearer bound, with the warning to show in *warning.
int Channel_Count(const QString& parGenPath, QString* warning);
// The first fault of the table, as the message to show.
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables);
}  // namespace fieldbus::dmx

class TFDMXDefVal : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFDMXDefVal(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    grid::TExtColumnGrid* ACG_DMX_Def_Val;
    // The number of channels, and so of rows, of the last show.
    int Channels() const { return File().Tables[0].Capacity; }

protected:
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
};

TFDMXDefVal* FDMXDefVal();
