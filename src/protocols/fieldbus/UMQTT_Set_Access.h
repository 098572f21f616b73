#pragma once
#include "protocols/fieldbus/UTopicIndex.h"
#include "shell/USetupWindow.h"

#include <optional>
#include <vector>

// "MQTT Set Access": rules that publish a value of the exchange area under a publish topic, or
// write a value received under a subscribe topic into it, kept in MQTT_Set_Access.xml. Each rule
// names its topic by index in the topic table (MQTT_Set_Topic.xml).
namespace fieldbus::mqtt_access {

// Real columns of both tables.
enum : int { N, Enable, Topic, DataType, Dimension, Position, Template, Mnemonic, Count };

const shell::Setup_Window_Description& Window();
// The first fault of the tables (publish, then subscribe; rows 1 .. n as shown).
std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables);

}  // namespace fieldbus::mqtt_access

class TFMQTT_Set_Access : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFMQTT_Set_Access(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    // The texts are set once, when the window is made, in the language loaded then.
    void Set_Lang() override {}

    // The cell's template edited in the topic and template editor.
    void Show_Form_Topic(grid::TExtStringGrid* Sender, int ARow, int ACol);
    void DblClickCell(grid::TExtStringGrid* Sender, int ARow, int ACol) override;

    grid::TExtColumnGrid* ACG_Pub;
    grid::TExtColumnGrid* ACG_Sub;
    fieldbus::TTopic_Index_Column Topic_Pub;
    fieldbus::TTopic_Index_Column Topic_Sub;

protected:
    void FormShow() override;
    void Prepare_Show() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
    // Rules whose topic the topic table does not hold are saved only when the user agrees.
    bool Confirm_Write() override;
    std::vector<shell::Table_Rows> Rows_To_Write() const override;
    // The topics the rules were saved against, recorded beside the file.
    void Written() override;

private:
    // "publish rows 2, 5; subscribe rows 1": the rows whose saved topic index names no topic.
    QString Unresolved_Rows() const;
};

TFMQTT_Set_Access* FMQTT_Set_Access();
