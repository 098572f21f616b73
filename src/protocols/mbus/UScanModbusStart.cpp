#include "protocols/mbus/UScanModbusStart.h"

#include "controls/buttons_pages/PicButton.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/IntText.h"
#include "shell/ULanguage.h"
#include "shell/UWindowLook.h"
#include "shell/UWindowList.h"

#include <QLabel>
#include <QLineEdit>

TFScanModbusStart* FScanModbusStart() { return shell::Window<TFScanModbusStart>(); }

TFScanModbusStart::TFScanModbusStart(QWidget* parent) : platform::TForm(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    shell::Style_Window(this);
    SetClientSize(331, 162);
    shell::Make_Title_Panel(this, 331, L_SW_Code, L_SW_Desc);
    L_StartModAdd = new QLabel(this);
    L_StartModAdd->setObjectName(QStringLiteral("L_StartModAdd"));
    L_StartModAdd->setGeometry(16, 62, 300, 16);
    E_StartModAdd = new QLineEdit(this);
    E_StartModAdd->setObjectName(QStringLiteral("E_StartModAdd"));
    E_StartModAdd->setGeometry(16, 82, 120, 22);
    Btn_OK = new controls::TPicButton(this);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->SetBounds(56, 118, 100, 34);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { Btn_OKClick(); }); };
    Btn_Cancel = new controls::TPicButton(this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->SetBounds(175, 118, 100, 34);
    Btn_Cancel->SetModalResult(platform::mrCancel);
    Set_Lang();
    shell::Apply_Window_Look(this);
}

void TFScanModbusStart::Set_Lang()
{
    SetCaption(shell::Lang(3200));
    L_SW_Code->setText(shell::Lang(3201).replace(QLatin1String("&&"), QLatin1String("&")));
    L_SW_Desc->setText(shell::Lang(3202));
    L_StartModAdd->setText(shell::Lang(3203));
    Btn_OK->SetCaption(shell::Lang(3204));
    Btn_Cancel->SetCaption(shell::Lang(3205));
}

void TFScanModbusStart::Btn_OKClick()
{
    const int value = platform::Parse_Int32_Hex_x(E_StartModAdd->text()).value_or(-1);
    if (value < 1 || value > 65535) {
        platform::MessageDlg(shell::Lang(3206), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    StartModAdd = value;
    SetModalResult(platform::mrOk);
}
