#include "protocols/building/UKNXAccess.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFKNXAccess* FKNXAccess() { return shell::Window<TFKNXAccess>(); }

TFKNXAccess::TFKNXAccess(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1250, 337);
    Set_Lang();
}

void TFKNXAccess::Set_Lang()
{
    SetCaption(shell::Lang(3800));
}
