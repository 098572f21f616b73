#pragma once
#include "platform/TForm.h"

#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QRadioButton;
namespace controls {
class TPicButton;
}

// The identity of a pasted M-Bus node: a new primary or secondary ID for a wired meter
// (Form_Type 1) or a new address for a wireless one (Form_Type 2), checked before OK closes.
class TFNewIDNode : public platform::TForm {
    Q_OBJECT
public:
    explicit TFNewIDNode(QWidget* parent = nullptr);
    void Set_Lang() override;
    void FormShow() override;
    void PicButton2Click();

    int Form_Type = 1;
    // The editor's duplicate check (ID, ID type), set by the paste; true when the ID is free.
    std::function<bool(int id, int id_type)> Check_Node_ID2;

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QRadioButton* RB_ID_Primary = nullptr;
    QLineEdit* E_New_Node_ID_Pri = nullptr;
    QRadioButton* RB_ID_Secondary = nullptr;
    QLineEdit* E_New_Node_ID_Sec = nullptr;
    QLabel* L_wMBus_Add = nullptr;
    QLineEdit* E_wMBus_Add = nullptr;
    controls::TPicButton* Btn_OK = nullptr;
    controls::TPicButton* Btn_Cancel = nullptr;
};

TFNewIDNode* FNewIDNode();
