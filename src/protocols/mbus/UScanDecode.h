#pragma once
#include "grid/core/GridLayers.h"
#include "platform/Clock.h"
#include "platform/TForm.h"
#include "platform/TImageList.h"
#include "protocols/mbus/UScanResults.h"

#include <QString>

#include <map>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSplitter;
class QWidget;
class TMBusScanDecode;
namespace controls {
class TPicButton;
}
namespace grid {
class TExtStringGrid;
class TGridImageList;
}
namespace tree {
class TNodeStringTree;
}

// The "Scan & Decode" window: collects the scan options, starts, stops and polls the scan engine,
// shows what it finds (a progress list and a tree of wired meters; a live table of wireless meters
// and a tree of the chosen one) and saves the result as the project's meter list. The views show
// copies of the engine's results taken under its lock; the user's check marks are kept apart from
// them, by meter and record position.
class TFScanDecode : public platform::TForm {
    Q_OBJECT
public:
    // The table of wireless meters takes the mouse through the grid layers it is given.
    explicit TFScanDecode(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    ~TFScanDecode() override;
    void Set_Lang() override;

    int XML_Code_Dev = 0;
    QString FileName_MBus;
    int Form_Type = 0;

    TMBusScanDecode& TR_ScanDecode() { return *FEngine; }
    // How long closing the window waits for the engine's closing states (real time).
    int Close_Wait_Ms = 5000;
    // Updates of the wireless table are gathered and shown together at most this often.
    static constexpr int Wireless_Refresh_Ms = 100;

    // Controls.
    QWidget* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QWidget* P_Main;
    QLabel *L_ScanMethod, *L_ScanBy, *L_HardwareType, *L_ComPort, *L_IP, *L_Port, *L_MBus_ParGen, *L_MBus_Baud,
        *L_MBus_Parity, *L_wMBus_Mode, *L_wMBus_Radio_Channel, *L_Option_Scan, *L_Opt_Cut_After;
    QLabel *L_IP_Dot1, *L_IP_Dot2, *L_IP_Dot3;
    QComboBox *CB_ScanMethod, *CB_ScanBy, *CB_HardwareType, *CB_ComPort, *CB_MBus_Baud, *CB_MBus_Parity,
        *CB_wMBus_Mode, *CB_wMBus_Radio_Channel, *CB_Opt_Use_Fix_C_Field_Value;
    controls::TPicButton* Btn_COM_List;
    QLineEdit *E_IP1, *E_IP2, *E_IP3, *E_IP4, *E_Port, *E_Opt_Cut_After;
    QCheckBox *CB_Opt_App_Reset, *CB_Opt_SND_NKE, *CB_Opt_Use_Fix_C_Field, *CB_Opt_Check_BCD_to_Int,
        *CB_Opt_Enable_Remote_Scan;
    QWidget* P_TreeView;
    QLabel *L_ScanProgress, *L_Num_Slave, *L_AvailableDevice;
    QListWidget* LB_AvailableDevice;
    tree::TNodeStringTree* VST;
    QWidget* P_View_Wireless;
    QWidget* P_W_Title;
    QSplitter* P_W_Split;
    grid::TExtStringGrid* ESG_Wireless;
    tree::TNodeStringTree* VST_Wireless;
    QWidget* P_Button;
    controls::TPicButton *Btn_StartScan, *Btn_StopScan, *Btn_AbortScan, *Btn_NewScan, *Btn_SaveConf,
        *Btn_SaveConfManual;

    // Operations (the buttons' and the timer's handlers).
    void Select_Scan();
    void StartScan();
    void StarScanWireless();
    void Stop();
    void Abort();
    void New_Scan();
    void Select_SaveXML(int type);
    void T_InScanTimer();
    void Form_Style(int n);
    int Style() const { return FStyle; }
    void Move_Object_Type_Form();
    bool Wireless_Chosen() const;

    // Result views.
    void Update_List_of_Device(int Event, int Id, int Found, int Kind);
    void Update_Grid_Wireless(int Index, const TSlave_wMBus* Meter);
    // Shows the wireless rows gathered since the last refresh (the refresh timer calls it).
    void Flush_Wireless();
    void Show_Slave_in_Tree();
    void Show_Slave_in_Tree_Wireless(int meter);
    void ESG_WirelessClickCell(int ARow, int ACol);
    void ESG_WirelessDblClickCell(int ARow, int ACol, QPoint mouse);
    // Hands a key typed for meter `meter` to the engine; a key the engine refuses is reported.
    void Insert_Key(int meter, const QString& key);
    const TScanMarks& Wired_Marks() const { return FWiredMarks; }
    // Times the wireless table was refreshed (each refresh shows every row gathered since the last).
    int Wireless_Refreshes() const { return FRefreshes; }

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void Create_Controls();
    void Create_Views(const grid::TGridLayers& gridLayers);
    void Cancel_Device_List();
    void Cancel_Device_List_Wireless();
    void Cancel_Grid_Wireless();
    void Read_IP_From_ParGen();
    void SaveXML(bool append, int startModAdd, int type);
    void Carica_Dati_Modbus_Start_Add();
    void Show_Wireless_Row(const TWirelessRow& row);
    void Refresh_Shown_Wireless();

    std::unique_ptr<TMBusScanDecode> FEngine;
    platform::ClockTimer FPoll;
    platform::ClockTimer FRefresh;
    int FStyle = 0;
    // Calls queued by a scan that the window has since closed or replaced are dropped.
    int FGeneration = 0;
    bool FOpen = false;

    // What the views show: copies, owned by the GUI thread.
    TList_Slave_MBus FWired;
    std::unique_ptr<TSlave_wMBus> FWirelessMeter;
    int FShownWireless = -1;
    std::map<int, TWirelessRow> FRows;     // every row shown, by meter index
    std::map<int, TWirelessRow> FPending;  // rows waiting for the next refresh
    TScanMarks FWiredMarks;
    TScanMarks FWirelessMarks;
    int FRefreshes = 0;
    // A key was handed to the engine and the radio module has not been seen listening since.
    bool FKeyPending = false;
    std::unique_ptr<grid::TGridImageList> FWirelessImages;
    std::unique_ptr<platform::TImageList> FLevelImages;
};

TFScanDecode* FScanDecode();
