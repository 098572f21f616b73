#pragma once
#include "controls/buttons_pages/PicButton.h"
#include "platform/TForm.h"
#include "shell/UWindowLook.h"
#include "shell/UVersionCheck.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <functional>
#include <vector>

// The main window: the numbered steps of the configuration road, the information, options and
// close buttons, and the hidden buttons of the family's other gateways.
class TFDidudiredadFirmWare : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDidudiredadFirmWare(QWidget* parent = nullptr);

    void Set_Lang() override;
    void Set_Files();
    void Save_Setting();
    // Re-applies the texts of this window and of the windows that exist after a language change.
    void Change_Language();
    // Runs a program and waits for it, up to 150 s, on the GUI thread; throws when it cannot start.
    void Start_Program(const QString& NomeSW, const QString& Parameter, unsigned char tipo);
    void Update_Device();
    // The BACnet type stored in ParGen.xml; 0 when the file, the element or a number is missing.
    int Get_Type_BACnet() const;

    controls::TPicButton* Btn_New;
    controls::TPicButton* Btn_Open;
    controls::TPicButton* Btn_Prm_Gen;
    controls::TPicButton* Btn_MQTT_Set_Topic;
    controls::TPicButton* Btn_CreateBin;
    controls::TPicButton* Btn_Info;
    controls::TPicButton* Btn_Opz;
    controls::TPicButton* Btn_Close;
    controls::TPicButton* Btn_MBus;
    controls::TPicButton* Btn_Modbus_Set_Access;
    controls::TPicButton* Btn_MQTT_Set_Access;
    controls::TPicButton* Btn_CAN_Rec_Frame;
    controls::TPicButton* Btn_CAN_Send_Frame;
    controls::TPicButton* Btn_PDO_CANopen;
    controls::TPicButton* Btn_SDO_Client_CANopen;
    controls::TPicButton* Btn_SDO_Server_CANopen;
    controls::TPicButton* Btn_CANopen_EDS;
    controls::TPicButton* Btn_DNet_Net;
    controls::TPicButton* Btn_DNet_Offset;
    controls::TPicButton* Btn_PROFINET_XML;
    controls::TPicButton* Btn_PROFIBUS_GSD;
    controls::TPicButton* Btn_DMX_Default;
    controls::TPicButton* Btn_KNX_Access;
    controls::TPicButton* Btn_SNMP_Trap;
    controls::TPicButton* Btn_SNMP_MIB;
    controls::TPicButton* Btn_SNMP_Manager_Access;
    controls::TPicButton* Btn_BACnet_SetAccess;
    controls::TPicButton* Btn_BACnet_EDE_File;
    controls::TPicButton* Btn_BACnet_Access;  // the BACnet client tables, reached through CONFIGURATOR_STEP only
    controls::TPicButton* Btn_DALI_Access;
    controls::TPicButton* Btn_ScanDecode;

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* L_Begin;
    QLabel* L_Name_Conf;
    shell::TNameLabel* L_Name_Conf_L2;
    QLabel* L_Step[8];
    QLabel* L_Kelvor;
    QLabel* LL_Update;
    QFrame* Shape1;
    QFrame* Shape2;
    shell::TVersion_Timer* Timer_Update;

    // The configuration labels follow the open configuration.
    void Set_Conf_Labels();

    // Clicks a button through the same road as the mouse.
    void Btn_Click(controls::TPicButton* Sender);

    // The environment variable that names a step button to press once the main window shows, hidden
    // or not: the family's hidden windows can so be opened and checked in the real program.
    static constexpr const char* Step_Variable = "CONFIGURATOR_STEP";
    // Presses the step button of that object name ("Btn_CAN_Rec_Frame") as a click would, the
    // rule for an open configuration included; false when no step button has the name.
    bool Press_Step(const QString& name);
    // Presses the button that CONFIGURATOR_STEP names, if any; a name of no step button is reported.
    void Press_Step_From_Environment();

protected:
    void FormClose() override;
    void reject() override;

private:
    struct Step_Button {
        controls::TPicButton* Button;
        int Caption;  // text index, -1 for none
        int Hint;
        bool Always;  // runs with no configuration open
        std::function<void()> Action;
    };

    void applyButtonLook();
    controls::TPicButton* makeButton(int left, int top, int width, int height);
    QLabel* makeLabel(int left, int top, bool bold);
    void buildStepTable();
    void Update_Timer_Switch();
    void Set_Update_Link_Text();
    void Build_EDS_File();
    void PROFINET_XML();
    void BACnet_EDE_File();
    void Scan_And_Decode();

    std::vector<Step_Button> Steps;
};

TFDidudiredadFirmWare* FDidudiredadFirmWare();
