#pragma once
#include "platform/TForm.h"

#include <QString>
#include <QStringList>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
namespace controls {
class TPicButton;
}

// The BACnet engineering units: the name of every code of the enumeration and the picker that
// chooses a code by category and name.
namespace building::bacnet {

// The code of "no-units".
constexpr int No_Units = 95;

struct Unit_Category {
    QString Name;
    std::vector<int> Codes;  // in the picker's item order
};

// The 23 categories of the picker, in list order; every code 0 .. 236 belongs to exactly one.
const std::vector<Unit_Category>& Unit_Categories();
// The picker's item text for a code of a category (three items read differently from the name).
QString Unit_Item_Text(int category, int code);

}  // namespace building::bacnet

class TFBACnet_Eng_Unit : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBACnet_Eng_Unit(QWidget* parent = nullptr);
    void Set_Lang() override;

    // The name of a code; "unknown" outside 0 .. 236.
    static QString Desc_Unit(int Num_Unit);

    void CB_Select_TypeSelect();
    void Btn_Select_Eng_UnitClick();

    QWidget* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* Label1;
    QLineEdit* E_Selected_EU;
    QLabel* Label5;
    QLabel* Label2;
    QLabel* Label3;
    QComboBox* CB_Select_Type;
    QLabel* Label4;
    QComboBox* CB_Select_Unit;
    controls::TPicButton* Btn_Select_Eng_Unit;
    QWidget* P_Button;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;

protected:
    void FormShow() override;
};

TFBACnet_Eng_Unit* FBACnet_Eng_Unit();
