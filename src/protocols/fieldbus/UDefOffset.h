#pragma once
#include "grid/core/GridLayers.h"
#include "platform/TForm.h"
#include "protocols/fieldbus/UDNet_Files.h"

#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QSplitter;
class QTabWidget;
namespace controls {
class TPicButton;
}
namespace grid {
class TExtColumnGrid;
class TExtStringGrid;
}  // namespace grid

// "Define Offset": every input and output byte of every DeviceNet slave of the network file placed
// at a position of the exchange area, or left out ("None"). A slave grid selects the slave whose
// bytes the two byte grids show.
class TFDefOffset : public platform::TForm {
    Q_OBJECT
public:
    explicit TFDefOffset(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    ~TFDefOffset() override;
    void Set_Lang() override;
    void FormShow() override;

    void Load_Slave_DN();
    void Load_Offset_Slave_DN();
    void Select_First();
    void ACG_DN_SlavesClick();
    void Update_Slave_DN();
    bool Save_Data_ByteIN_ByteOUT();
    bool Check_Data();
    void Save_Offset_Slave_DN();
    void bitbtn1Click();

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    grid::TExtColumnGrid* ACG_DN_Slaves = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    grid::TExtColumnGrid* ACG_ByteIN = nullptr;
    grid::TExtColumnGrid* ACG_ByteOUT = nullptr;
    QWidget* P_Button = nullptr;
    controls::TPicButton* Btn_OK = nullptr;
    controls::TPicButton* Btn_Cancel = nullptr;

    std::vector<fieldbus::TSlave_DN> List_Slaves_DN;
    int Slave_Before_Select = -1;
    int MAX_BYTE_IN = fieldbus::DNet_Area_Size;
    int MAX_BYTE_OUT = fieldbus::DNet_Area_Size;

private:
    void Build_Byte_Grid(grid::TExtColumnGrid* grid);
    // The problems met while the files were read at the last show; reported then, and asked
    // about before the file is replaced.
    QStringList FLoad_Problems;
};

TFDefOffset* FDefOffset();
