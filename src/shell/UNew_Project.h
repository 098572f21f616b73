#pragma once
#include "controls/buttons_pages/PicButton.h"
#include "platform/TForm.h"

#include <QLabel>
#include <QLineEdit>

// "Create New Configuration": asks for a name and makes the configuration's folder under PROJECTS.
class TFNew_Project : public platform::TForm {
    Q_OBJECT
public:
    explicit TFNew_Project(QWidget* parent = nullptr);

    void Set_Lang() override;
    void FormShow() override;
    // Checks the name, makes the folder and its "bin" folder, opens the new configuration and
    // closes with OK; on a refused name an error box shows and the window stays open.
    void Btn_OKClick();

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* Label1;
    QLineEdit* E_New_Proj;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;
};

TFNew_Project* FNew_Project();

// Shows the new-configuration window. True when a configuration was created: Active_Conf_Name,
// Project_Folder and the project file paths then name it, and the caller updates its labels.
bool Create_New_Project();
