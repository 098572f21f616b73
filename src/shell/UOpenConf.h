#pragma once
#include "controls/buttons_pages/PicButton.h"
#include "platform/TForm.h"

#include <QLabel>
#include <QListWidget>
#include <QStringList>

// "Open Configuration": lists the configurations under PROJECTS and lets the user choose one.
class TFOpenConf : public platform::TForm {
    Q_OBJECT
public:
    explicit TFOpenConf(QWidget* parent = nullptr);

    void Set_Lang() override;
    // Lists the configurations and pre-selects the open one (else the first).
    void FormShow() override;
    // The selected line becomes the chosen name.
    void ListBox1Click();

    // The chosen configuration; empty when the list is empty.
    QString Name_Conf;
    // The configuration folders found, in the order shown.
    QStringList SL;

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QLabel* Label1;
    QListWidget* ListBox1;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;
};

TFOpenConf* FOpenConf();

// Shows the open-configuration window. True after OK: Active_Conf_Name, Project_Folder and the
// project file paths then name the chosen configuration, or none when the list was empty or the
// chosen folder has gone; the caller updates its labels. Cancel changes nothing.
bool Open_Project();
