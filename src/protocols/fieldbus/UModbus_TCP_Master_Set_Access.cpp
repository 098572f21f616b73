#include "protocols/fieldbus/UModbus_TCP_Master_Set_Access.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access() { return shell::Window<TFModbus_TCP_Master_Set_Access>(); }

TFModbus_TCP_Master_Set_Access::TFModbus_TCP_Master_Set_Access(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1150, 337);
    Set_Lang();
}

void TFModbus_TCP_Master_Set_Access::Set_Lang()
{
    SetCaption(shell::Lang(1500));
}
