#pragma once
#include "platform/TForm.h"
#include "protocols/mbus/UMeterListFile.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QWidget;
namespace controls {
class TExtPageControl;
class TExtTabSheet;
class TPicButton;
}  // namespace controls
namespace tree {
class TNodeStringTree;
struct TTreeNode;
}  // namespace tree

// The M-Bus meter list editor: a tree of meters (nodes) with the values (variables) read from each,
// and two pages of controls to add, change and delete them. Every node and variable is checked
// when it is added or changed; OK writes M_Bus.xml whole.
class TFMeter_Bus : public platform::TForm {
    Q_OBJECT
public:
    explicit TFMeter_Bus(QWidget* parent = nullptr);
    ~TFMeter_Bus() override;
    void Set_Lang() override;
    void FormShow() override;

    void TWClick();
    void Aggiorna_Label();
    void btn_Add_NodeClick();
    void btn_Add_VarClick();
    void btn_Delete_ItemClick();
    void CopyVariable1Click();
    void PasteVariable1Click();
    void CopyNode1Click();
    void PasteNode1Click();
    void CB_Var_ToDChange();
    void CB_Var_DimChange();
    void CB_MBus_TypeChange();
    void PicButton2Click();
    void PicButton4Click();
    void Btn_ImportNet_Click();

    bool Controllo_Dati_New_Nodo();
    bool Controllo_Dati_New_Var();
    bool Check_Node_ID(int id);
    // The paste dialog's check: no node has the same ID of the same type.
    bool Check_Node_ID2(int id, int id_type);
    static int Found_BACnet_EngUnits(int type_of_data, int vife);

    // The item of node i and of its variable j.
    tree::TTreeNode* Node_Item(int i);
    tree::TTreeNode* Var_Item(int i, int j);
    QString Item_Text(tree::TTreeNode* item);

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    tree::TNodeStringTree* TW = nullptr;
    QMenu* PM_CopyPaste = nullptr;
    QAction* CopyVariable1 = nullptr;
    QAction* PasteVariable1 = nullptr;
    QAction* CopyNode1 = nullptr;
    QAction* PasteNode1 = nullptr;
    QAction* DeleteItems1 = nullptr;
    controls::TExtPageControl* ExtPageControl1 = nullptr;
    controls::TExtTabSheet* ExtTabSheet1 = nullptr;
    controls::TExtTabSheet* ExtTabSheet2 = nullptr;

    QCheckBox* CB_Enable_Node = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* E_New_Node_Desc = nullptr;
    QLabel* L_MBus_Type = nullptr;
    QComboBox* CB_MBus_Type = nullptr;
    QRadioButton* RB_ID_Primary = nullptr;
    QLineEdit* E_New_Node_ID_Pri = nullptr;
    QRadioButton* RB_ID_Secondary = nullptr;
    QLineEdit* E_New_Node_ID_Sec = nullptr;
    QCheckBox* CB_SND_NKE = nullptr;
    QCheckBox* CB_Reset_App = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* CB_Var_Type = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* CB_Cut_After = nullptr;
    QLabel* Label15 = nullptr;
    QWidget* P_wMBus_Node = nullptr;
    QLabel* Label29 = nullptr;
    QLineEdit* E_wMBus_ManID = nullptr;
    QLabel* Label30 = nullptr;
    QLineEdit* E_wMBus_Add = nullptr;
    QLabel* Label31 = nullptr;
    QLineEdit* E_wMBus_Ver = nullptr;
    QLabel* Label32 = nullptr;
    QLineEdit* E_wMBus_DevType = nullptr;
    QCheckBox* CB_wMBus_EnKey = nullptr;
    std::array<QLabel*, 16> L_Key{};
    std::array<QLineEdit*, 16> E_wMBus_K{};
    QLabel* Label52 = nullptr;
    QComboBox* CB_wMBus_VarList = nullptr;
    controls::TPicButton* btn_Add_Node = nullptr;

    QCheckBox* CB_Var_En = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* E_New_Var_Desc = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* CB_Var_ToD = nullptr;
    QLabel* Label14 = nullptr;
    QLineEdit* E_VIF_ASCII = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* CB_Var_FF = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* CB_Var_Dim = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* E_Length = nullptr;
    QLabel* Label9 = nullptr;
    QComboBox* CB_Var_Unit = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* E_Sto_Num = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* E_Tariff = nullptr;
    QLabel* Label12 = nullptr;
    QComboBox* CB_VIFE = nullptr;
    QCheckBox* CB_BCDtoINT = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* E_Position = nullptr;
    QLabel* L_Topic = nullptr;
    QComboBox* CB_Topic = nullptr;
    QLabel* Label19 = nullptr;
    QComboBox* CB_PostOpe = nullptr;
    controls::TPicButton* btn_Add_Var = nullptr;

    QWidget* P_Button = nullptr;
    controls::TPicButton* Btn_OK = nullptr;
    controls::TPicButton* Btn_Cancel = nullptr;
    controls::TPicButton* Btn_ImportNet = nullptr;

    tree::TTreeNode* NODE_ORIG = nullptr;
    tree::TTreeNode* NODE_ID = nullptr;
    tree::TTreeNode* SELECT_NODE = nullptr;
    TNodi_List Nodi_List;
    int IND_NODO = -1;
    int IND_VAR = -1;
    // The window lives for the whole run, and its copies with it, across showings and
    // configurations.
    std::optional<TVariabile> Copy_Var;
    std::optional<TNodo> Copy_Node;
    bool Is_Change = false;
    QStringList MQTT_Topics;
    int Working_Mode = 0;

private:
    void Build_Nodes_Page();
    void Build_Variables_Page();
    void Sposta_Oggetti_Var(int var_list_type);
    void Nodes_Move_Elements();
    void Load_Topics();
    void Load_Network();
    void Rebuild_Tree();
    void Show_Node(const TNodo& n);
    void Clear_Var_Controls();
    TNodo Node_From_Controls(const TNodo& base) const;
    TVariabile Var_From_Controls() const;
    void Select_Item(tree::TTreeNode* item);

    // Why the file shown could not be read whole, kept until it is written or read again: OK asks
    // before a partly read list replaces it, and keeps the old file aside.
    QString FLoad_Problem;
    // Whether the file shown had values that took their default: OK then keeps the old file aside.
    bool FLoad_Defaults = false;
};

TFMeter_Bus* FMeter_Bus();
