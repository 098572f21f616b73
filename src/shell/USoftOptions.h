#pragma once
#include "controls/buttons_pages/PicButton.h"
#include "platform/TForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QStringList>
#include <QTabWidget>
#include <functional>

// "Software Options": the language (from the language files present), internet access and the
// periodic version check, and the two table options.
class TFSoftOptions : public platform::TForm {
    Q_OBJECT
public:
    static constexpr int Languages_Per_Page = 6;

    explicit TFSoftOptions(QWidget* parent = nullptr);

    void Set_Lang() override;
    // Rebuilds the language list from the folder and loads the check boxes from the option flags.
    void FormShow() override;

    // Shows language page p (from 1): six names with their flags, the paging buttons, the labels.
    void Draw_Language_Page(int p);
    int Page_Count() const { return int((SL_Languages.size() + Languages_Per_Page - 1) / Languages_Per_Page); }
    void Btn_PrevClick();
    void Btn_NextClick();
    // A click on slot k (1..6) of the page shown: after a Yes the language's texts are loaded and
    // applied to every window at once; it becomes the program's language only with OK.
    void Language_Click(int k);

    // CB_Update follows CB_En_Con, the check button follows both.
    void Set_Enabled_States();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString& link);
    bool Check_Version();
    int Conv_Version(const QString& text);

    // Copies the choices into the option flags and closes with OK.
    void Btn_OKClick();

    // Called after a picked language has been loaded, so that every window re-applies its texts
    // (the main window's Change_Language). Without it only this window does.
    std::function<void()> On_Language_Changed;
    // Opens a web address; tests replace it.
    std::function<bool(const QString&)> Link_Opener;

    QStringList SL_Languages;  // the language file names, sorted
    int Show_Page = 1;
    QString Language_In_Use;

    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QTabWidget* PC_Options;
    QWidget* TS_Language;
    QWidget* TS_Con_Options;
    QWidget* TS_Soft_Settings;
    QLabel* L_Sel_Lang;
    QLabel* L_Page_Lang;
    QLabel* I_L[Languages_Per_Page];  // flag pictures I_L1 .. I_L6
    QLabel* L_L[Languages_Per_Page];  // names L_L1 .. L_L6
    controls::TPicButton* Btn_Prev;
    controls::TPicButton* Btn_Next;
    QCheckBox* CB_En_Con;
    QCheckBox* CB_Update;
    controls::TPicButton* Btn_Check_Update;
    QLabel* LL_Check_Update;
    QCheckBox* CB_Soft_Set_Jump_Table;
    QCheckBox* CB_DoubleClick_Auto_Size;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;

private:
    void Build_Language_List();
    QString Language_Of_Slot(int k) const;
};

TFSoftOptions* FSoftOptions();
