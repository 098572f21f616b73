#include "protocols/building/USNMP_Trap_Access.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFSNMP_Trap_Access* FSNMP_Trap_Access() { return shell::Window<TFSNMP_Trap_Access>(); }

TFSNMP_Trap_Access::TFSNMP_Trap_Access(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1256, 337);
    Set_Lang();
}

void TFSNMP_Trap_Access::Set_Lang()
{
    SetCaption(shell::Lang(3900));
}
