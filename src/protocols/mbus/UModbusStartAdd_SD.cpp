#include "protocols/mbus/UModbusStartAdd_SD.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFModbusStartAdd_SD* FModbusStartAdd_SD() { return shell::Window<TFModbusStartAdd_SD>(); }

TFModbusStartAdd_SD::TFModbusStartAdd_SD(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(511, 336);
    Set_Lang();
}

void TFModbusStartAdd_SD::Set_Lang()
{
    SetCaption(shell::Lang(3100));
}
