#pragma once
#include "protocols/building/UDALI_Files.h"
#include "shell/USetupWindow.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QMenu;

// "DALI Access": on three pages the DALI devices present at the 64 short addresses, the DALI-2
// access rules and the functions they apply, kept in DALI_Access.xml and DALI2_Access.xml.
namespace building::dali {

// The exchange area that a rule's Position addresses.
using shell::MQTT_Array_Size;

const shell::Setup_Window_Description& Window();

// The Set Access "Function" choices: "0 - None", then "n - " + the mnemonic of Functions row n.
QStringList Function_Choices(const shell::Table_Rows& functions);
// The Condition that a picked Value event asks for; empty for any other value.
QString Condition_For_Event(const QString& value);
// The bytes a rule takes at its Position: a sensor's Num Bytes ("2", else 1), one for a device.
int Rule_Bytes(const QStringList& rule);

// The first fault of the two rule tables (the Functions table, then the Set Access table, rows as
// full rows), as the message to show; separator: the decimal mark of the functions' values.
std::optional<QString> Check(const std::vector<shell::Table_Rows>& tables, QChar separator);

}  // namespace building::dali

class TFDALI_Access : public shell::TSetup_Window {
    Q_OBJECT
public:
    explicit TFDALI_Access(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);

    void Set_Lang() override;
    // Checks, asks before dropping rows below a table's end, writes both files and closes.
    void Btn_SelectAllClick();
    void Btn_ClearAllClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    // Lays the buttons out for the page shown and rebuilds the function choices.
    void PC_DALIChange();
    // The device table's header menu of a column (Min-Max Value, Recall Level); null for others.
    QMenu* Header_Menu(int realCol);

    QTabWidget* PC_DALI;
    QWidget* TS_Select_Device;
    QWidget* TS_Set_Access;
    QWidget* TS_Functions;
    grid::TExtColumnGrid* ACG_DALI_Device;
    grid::TExtColumnGrid* ESG;  // Set Access
    grid::TExtColumnGrid* ACG;  // Functions
    controls::TPicButton* Btn_SelectAll;
    controls::TPicButton* Btn_ClearAll;
    QStringList SelFunct;
    bool Do_Copy = false;
    bool Do_Copy_Fun = false;

protected:
    void FormShow() override;
    std::optional<QString> Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const override;
    void Close_Editors() override;
    QStringList Unread_Files() const override;
    void Write_Files(const std::vector<shell::Table_Rows>& tables) override;
    void Written() override;

private:
    shell::Table_Rows Device_Rows() const;
    void Fill_Device_Names();
    void Set_All(int realCol, const QString& value);
    // The rule table of the page shown; null on the device page.
    grid::TExtColumnGrid* Rule_Table() const;

    bool FDevices_Not_Read_Whole = false;
};

TFDALI_Access* FDALI_Access();
