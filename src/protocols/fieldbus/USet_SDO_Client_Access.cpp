#include "protocols/fieldbus/USet_SDO_Client_Access.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFSet_SDO_Client_Access* FSet_SDO_Client_Access() { return shell::Window<TFSet_SDO_Client_Access>(); }

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(798, 337);
    Set_Lang();
}

void TFSet_SDO_Client_Access::Set_Lang()
{
    SetCaption(shell::Lang(2400));
}
