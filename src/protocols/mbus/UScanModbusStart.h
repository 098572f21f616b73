#pragma once
#include "platform/TForm.h"

#include <QString>

class QLabel;
class QLineEdit;
namespace controls {
class TPicButton;
}

// Entry of the first Modbus register of the meters appended to an existing meter list.
class TFScanModbusStart : public platform::TForm {
    Q_OBJECT
public:
    explicit TFScanModbusStart(QWidget* parent = nullptr);
    void Set_Lang() override;

    // The accepted start register, set when the dialog closes with OK.
    int StartModAdd = 1;

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* L_StartModAdd;
    QLineEdit* E_StartModAdd;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;

    void Btn_OKClick();
};

TFScanModbusStart* FScanModbusStart();
