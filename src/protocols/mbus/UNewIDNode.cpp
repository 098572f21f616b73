#include "protocols/mbus/UNewIDNode.h"

#include "controls/buttons_pages/PicButton.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "protocols/mbus/UMeterListFile.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using shell::Lang;

TFNewIDNode* FNewIDNode() { return shell::Window<TFNewIDNode>(); }

namespace {

constexpr int kDialogWidth = 265;
constexpr int kDialogHeight = 195;

bool Refuse(int text)
{
    platform::MessageDlg(Lang(text), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
    return false;
}

}  // namespace

TFNewIDNode::TFNewIDNode(QWidget* parent) : platform::TForm(parent)
{
    setObjectName(QStringLiteral("FNewIDNode"));
    shell::Style_Window(this);
    shell::Make_Title_Panel(this, kDialogWidth, L_SW_Code, L_SW_Desc);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 56, 240, 18);
    RB_ID_Primary = new QRadioButton(this);
    RB_ID_Primary->setObjectName(QStringLiteral("RB_ID_Primary"));
    RB_ID_Primary->setGeometry(16, 80, 134, 20);
    RB_ID_Primary->setChecked(true);
    E_New_Node_ID_Pri = new QLineEdit(QStringLiteral("1"), this);
    E_New_Node_ID_Pri->setObjectName(QStringLiteral("E_New_Node_ID_Pri"));
    E_New_Node_ID_Pri->setGeometry(152, 79, 96, 21);
    RB_ID_Secondary = new QRadioButton(this);
    RB_ID_Secondary->setObjectName(QStringLiteral("RB_ID_Secondary"));
    RB_ID_Secondary->setGeometry(16, 106, 134, 20);
    E_New_Node_ID_Sec = new QLineEdit(QStringLiteral("1"), this);
    E_New_Node_ID_Sec->setObjectName(QStringLiteral("E_New_Node_ID_Sec"));
    E_New_Node_ID_Sec->setGeometry(152, 105, 96, 21);
    L_wMBus_Add = new QLabel(this);
    L_wMBus_Add->setObjectName(QStringLiteral("L_wMBus_Add"));
    L_wMBus_Add->setGeometry(16, 118, 134, 18);
    E_wMBus_Add = new QLineEdit(QStringLiteral("1"), this);
    E_wMBus_Add->setObjectName(QStringLiteral("E_wMBus_Add"));
    E_wMBus_Add->setGeometry(152, 115, 96, 21);

    Btn_OK = new controls::TPicButton(this);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->setGeometry(16, 156, 110, 28);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { PicButton2Click(); }); };
    Btn_Cancel = new controls::TPicButton(this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->setGeometry(138, 156, 110, 28);
    Btn_Cancel->SetModalResult(platform::mrCancel);

    L_SW_Code->setText(shell::App_State.SW_Code);
    SetClientSize(kDialogWidth, kDialogHeight);
    Set_Lang();
    shell::Apply_Window_Look(this);
}

void TFNewIDNode::Set_Lang()
{
    SetCaption(Lang(1200));
    L_SW_Desc->setText(Lang(1201));
    Btn_OK->SetCaption(Lang(1202));
    Btn_Cancel->SetCaption(Lang(1203));
    Label1->setText(Lang(1204));
    RB_ID_Primary->setText(Lang(1205));
    RB_ID_Secondary->setText(Lang(1206));
    L_wMBus_Add->setText(Lang(1209));
}

void TFNewIDNode::FormShow()
{
    const bool wired = Form_Type == 1;
    for (QWidget* w : {static_cast<QWidget*>(RB_ID_Primary), static_cast<QWidget*>(E_New_Node_ID_Pri),
                       static_cast<QWidget*>(RB_ID_Secondary), static_cast<QWidget*>(E_New_Node_ID_Sec)})
        w->setVisible(wired);
    L_wMBus_Add->setVisible(!wired);
    E_wMBus_Add->setVisible(!wired);
    if (!wired) {
        L_wMBus_Add->move(16, 118);
        E_wMBus_Add->move(152, 115);
    }
}

void TFNewIDNode::PicButton2Click()
{
    if (Form_Type == 1) {
        const bool secondary = !RB_ID_Primary->isChecked();
        const qint64 id = Typed_Number((secondary ? E_New_Node_ID_Sec : E_New_Node_ID_Pri)->text());
        if (!Node_ID_In_Range(secondary, id)) {
            Refuse(secondary ? 1208 : 1207);
            return;
        }
        if (Check_Node_ID2 && !Check_Node_ID2(int(id), secondary ? 1 : 0))
            return;
    } else if (Form_Type == 2) {
        if (!Wireless_Address_In_Range(Typed_Number(E_wMBus_Add->text()))) {
            Refuse(1210);
            return;
        }
    }
    SetModalResult(platform::mrOk);
}
