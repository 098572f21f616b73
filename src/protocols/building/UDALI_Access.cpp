#include "protocols/building/UDALI_Access.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFDALI_Access* FDALI_Access() { return shell::Window<TFDALI_Access>(); }

TFDALI_Access::TFDALI_Access(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1200, 496);
    Set_Lang();
}

void TFDALI_Access::Set_Lang()
{
    SetCaption(shell::Lang(4500));
}
