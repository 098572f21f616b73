#pragma once
#include "grid/core/GridLayers.h"
#include "platform/TForm.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QLineEdit;
namespace controls {
class TPicButton;
}
namespace grid {
class TExtColumnGrid;
}

// Reading the EDE file of a remote BACnet device (the standard layout of sixteen ';'-separated
// fields after "# mandatory" header lines) and the dialog that chooses its objects for the client
// table.
namespace building::bacnet {

// One object of the file.
struct TBACnet_Var {
    QString keyname;
    qint64 device_obj_instance = -1;
    QString object_name;
    int object_type = -1;
    qint64 object_instance = -1;
    QString description;
    QString present_value_default;
    QString min_present_value;
    QString max_present_value;
    bool commandable = false;
    bool support_COV = false;
    QString hi_limit;
    QString low_limit;
    QString stete_text_reference;
    QString unit_code;
    QString vendor_specific_address;
    bool import = true;
    bool read = true;
    bool write = false;
};

// Bounds of a file: bytes read at most, characters of a line, objects listed (the client tables'
// and the dialog's rows).
constexpr qint64 Max_EDE_File_Bytes = 16 * 1024 * 1024;
constexpr int Max_EDE_Line_Chars = 4096;
constexpr int Max_EDE_Objects = 512;

struct EDE_Load {
    std::vector<TBACnet_Var> Vars;
    // What was not listed and why, one line each; empty when every object line was listed.
    QStringList Problems;
};

// The text of the file's bytes: UTF-8 or UTF-16 after their byte-order mark, else Windows-1252.
QString Decode_EDE_Bytes(QByteArrayView bytes);
// The objects of the listed types from a file's text.
EDE_Load Parse_EDE_Text(const QString& text);
// The same from a file; a file that cannot be read or is too large is a problem and lists nothing.
EDE_Load Load_EDE(const QString& path);

}  // namespace building::bacnet

class TFImportEDEFile : public platform::TForm {
    Q_OBJECT
public:
    explicit TFImportEDEFile(const grid::TGridLayers& gridLayers = {}, QWidget* parent = nullptr);
    void Set_Lang() override;

    void Cancel_EDE_List_Vars();
    // Reads EDE_File into the list; says what was not listed.
    void Load_EDE_File();
    void Show_Data_in_Grid();
    void ACGCheckBoxClick(int col, int row, bool state);
    void Btn_Select_AllClick();
    void Btn_Unselect_AllClick();
    void Btn_OKClick();

    QString EDE_File;
    std::vector<building::bacnet::TBACnet_Var> List_EDE_Var;
    int App_BACnet_Type = 0;

    QWidget* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    grid::TExtColumnGrid* ACG;
    QWidget* P_ID_IP;
    QLabel* LID_IP;
    QLineEdit* E_ID_IP;
    QWidget* P_Button;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;
    controls::TPicButton* Btn_Select_All;
    controls::TPicButton* Btn_Unselect_All;

protected:
    void FormShow() override;
};

TFImportEDEFile* FImportEDEFile();
