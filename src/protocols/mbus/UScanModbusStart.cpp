#include "protocols/mbus/UScanModbusStart.h"

#include "shell/ULanguage.h"

TFScanModbusStart* FScanModbusStart = nullptr;

TFScanModbusStart::TFScanModbusStart(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(331, 162);
    Set_Lang();
}

void TFScanModbusStart::Set_Lang()
{
    SetCaption(shell::Lang(3200));
}
