#pragma once
#include "grid/core/GridLayers.h"
#include "mqtt_image/UMQTT_Topic_File.h"
#include "platform/TForm.h"

#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTabWidget>

namespace controls {
class TPicButton;
}
namespace grid {
class TExtColumnGrid;
class TExtStringGrid;
}

// "MQTT Set Topic": the publish and subscribe tables of the gateway, kept in MQTT_Set_Topic.xml.
// Every show clears both tables and reads the file again; OK checks them and rewrites the file.
class TFMQTT_Set_Topic : public platform::TForm {
    Q_OBJECT
public:
    // The two tables get gridLayers (none: plain grids).
    explicit TFMQTT_Set_Topic(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    ~TFMQTT_Set_Topic() override;
    void Set_Lang() override;

    // Clears both tables and fills them from the file; a file that could not be read whole is
    // reported, and the next OK asks before replacing it.
    void Load_File();
    // True when both tables may be written; else shows the first fault.
    bool Controllo_dati();
    static bool Error_In_Topic_Template(const QString& Str) { return mqtt_image::Error_In_Topic_Template(Str); }
    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    void ACG_MQTT_DblClickCell(grid::TExtStringGrid* Sender, int ARow, int ACol);
    void ACG_MQTT_GridHint(grid::TExtStringGrid* Sender, int ARow, int ACol, QString& hintstr);
    void ACG_MQTT_KeyPress(grid::TExtStringGrid* Sender, QChar& Key);
    // Opens the topic and template editor on one cell (real row and column).
    void Show_Form_Topic(grid::TExtColumnGrid* Sender, int ARow, int ACol);

    // The table of a side and its rows as full texts (rows 1 to 1024, every real column).
    grid::TExtColumnGrid* Table(mqtt_image::TTopic_Side side) const;
    mqtt_image::TTopic_Rows Rows(mqtt_image::TTopic_Side side) const;
    // The table of the active tab.
    grid::TExtColumnGrid* Active_Table() const;

    int Working_Mode = 1;
    int Byte_IN = mqtt_image::MQTT_Array_Size;
    int Byte_OUT = mqtt_image::MQTT_Array_Size;
    bool Do_Copy_Pub = false;
    bool Do_Copy_Sub = false;
    QStringList Hint_MQTT_Set_Topic_Pub;
    QStringList Hint_MQTT_Set_Topic_Sub;

    QWidget* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QTabWidget* PageControl1;
    QWidget* TS_MQTT_Publish;
    QWidget* TS_MQTT_Subscribe;
    grid::TExtColumnGrid* ACG_Pub;
    grid::TExtColumnGrid* ACG_Sub;
    QWidget* P_Buttons;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;
    controls::TPicButton* Btn_DelRow;
    controls::TPicButton* Btn_InsRow;
    controls::TPicButton* Btn_CopyRow;
    controls::TPicButton* Btn_PasteRow;

protected:
    void FormShow() override;

private:
    void Build_Table(grid::TExtColumnGrid* grid, mqtt_image::TTopic_Side side);
    void Prepare_Tables();
    // The file was not read whole when the window was shown: OK asks before replacing it.
    bool FFile_Not_Read_Whole = false;
};

TFMQTT_Set_Topic* FMQTT_Set_Topic();
