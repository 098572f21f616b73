#include "protocols/mbus/UScanModbusStart.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFScanModbusStart* FScanModbusStart() { return shell::Window<TFScanModbusStart>(); }

TFScanModbusStart::TFScanModbusStart(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(331, 162);
    Set_Lang();
}

void TFScanModbusStart::Set_Lang()
{
    SetCaption(shell::Lang(3200));
}
