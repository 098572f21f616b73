#pragma once
#include "grid/core/GridLayers.h"
#include "platform/TForm.h"

#include <QString>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
namespace controls {
class TPicButton;
}
namespace grid {
class TExtColumnGrid;
}

// One Modbus start address per meter found, and the two options of the saved meter list. The
// scanner window fills the table before showing it and reads it after OK.
class TFModbusStartAdd_SD : public platform::TForm {
    Q_OBJECT
public:
    explicit TFModbusStartAdd_SD(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    void Set_Lang() override;

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QCheckBox* CB_En_NodeState;
    QCheckBox* CB_En_IndNum;
    grid::TExtColumnGrid* sga;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;

    // The first error of the table, as its message; none when every data row holds a start
    // address within 1..59999.
    std::optional<QString> Check_Data();
    void Btn_OKClick();
    // Column 1 of every data row as an integer, 1 when empty or not a number.
    std::vector<int> Start_Addresses();
};

TFModbusStartAdd_SD* FModbusStartAdd_SD();
