#include "protocols/fieldbus/USet_SDO_Server_Access.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFSet_SDO_Server_Access* FSet_SDO_Server_Access() { return shell::Window<TFSet_SDO_Server_Access>(); }

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(749, 337);
    Set_Lang();
}

void TFSet_SDO_Server_Access::Set_Lang()
{
    SetCaption(shell::Lang(2500));
}
