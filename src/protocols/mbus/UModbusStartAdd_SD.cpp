#include "protocols/mbus/UModbusStartAdd_SD.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/IntText.h"
#include "platform/TCanvas.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowLook.h"
#include "shell/UWindowList.h"

#include <QCheckBox>
#include <QLabel>

TFModbusStartAdd_SD* FModbusStartAdd_SD() { return shell::Window<TFModbusStartAdd_SD>(); }

TFModbusStartAdd_SD::TFModbusStartAdd_SD(const grid::TGridLayers& gridLayers, QWidget* parent)
    : platform::TForm(parent)
{
    shell::Style_Window(this);
    SetClientSize(511, 336);
    shell::Make_Title_Panel(this, 511, L_SW_Code, L_SW_Desc);
    CB_En_NodeState = new QCheckBox(this);
    CB_En_NodeState->setObjectName(QStringLiteral("CB_En_NodeState"));
    CB_En_NodeState->setGeometry(16, 56, 220, 18);
    CB_En_IndNum = new QCheckBox(this);
    CB_En_IndNum->setObjectName(QStringLiteral("CB_En_IndNum"));
    CB_En_IndNum->setGeometry(250, 56, 250, 18);
    sga = new grid::TExtColumnGrid;
    sga->setParent(this);
    sga->setObjectName(QStringLiteral("sga"));
    sga->SetLayers(gridLayers);
    sga->Options |= grid::goEditing;
    sga->SetColCount(2);
    sga->SetRowCount(31);
    sga->SetFixedRows(1);
    sga->SetFixedCols(0);
    for (int c = 0; c < 2; ++c) {
        grid::TGridColumnItem* column = sga->Columns()[c];
        column->ReadOnly = c == 0;
        if (c == 1)
            column->SetColor(platform::RGBToColor(224, 250, 254));
        sga->SetColWidths(c, 200);
    }
    sga->setGeometry(8, 80, 511 - 16, 336 - 80 - 48);
    Btn_OK = new controls::TPicButton(this);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->SetBounds(150, 336 - 42, 100, 34);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { Btn_OKClick(); }); };
    Btn_Cancel = new controls::TPicButton(this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->SetBounds(261, 336 - 42, 100, 34);
    Btn_Cancel->SetModalResult(platform::mrCancel);
    Set_Lang();
    shell::Apply_Window_Look(this);
}

void TFModbusStartAdd_SD::Set_Lang()
{
    SetCaption(shell::Lang(3100));
    L_SW_Code->setText(shell::App_State.SW_Code);
    L_SW_Desc->setText(shell::Lang(3101));
    CB_En_NodeState->setText(shell::Lang(3102));
    CB_En_IndNum->setText(shell::Lang(3103));
    for (int c = 0; c < 2; ++c) {
        sga->Columns()[c]->SetHeaderField(shell::Lang(3104 + c));
        sga->SetCells(c, 0, shell::Lang(3104 + c));
    }
    Btn_OK->SetCaption(shell::Lang(3106));
    Btn_Cancel->SetCaption(shell::Lang(3107));
}

std::optional<QString> TFModbusStartAdd_SD::Check_Data()
{
    for (int n = 1; n < sga->RowCount(); ++n) {
        const QString text = sga->Cells(1, n);
        if (text.isEmpty())
            return shell::Lang(3108) + QString::number(n) + shell::Lang(3109);
        const int value = platform::Parse_Int32_Hex_x(text).value_or(-1);
        if (value < 1 || value > 59999)
            return shell::Lang(3108) + QString::number(n) + shell::Lang(3110);
    }
    return std::nullopt;
}

void TFModbusStartAdd_SD::Btn_OKClick()
{
    if (const auto error = Check_Data()) {
        platform::MessageDlg(*error, platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    SetModalResult(platform::mrOk);
}

std::vector<int> TFModbusStartAdd_SD::Start_Addresses()
{
    std::vector<int> values;
    for (int n = 1; n < sga->RowCount(); ++n)
        values.push_back(platform::Parse_Int32_Hex_x(sga->Cells(1, n)).value_or(1));
    return values;
}
