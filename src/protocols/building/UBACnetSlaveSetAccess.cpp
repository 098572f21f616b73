#include "protocols/building/UBACnetSlaveSetAccess.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess() { return shell::Window<TFBACnetSlaveSetAccess>(); }

TFBACnetSlaveSetAccess::TFBACnetSlaveSetAccess(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(764, 337);
    Set_Lang();
}

void TFBACnetSlaveSetAccess::Set_Lang()
{
    SetCaption(shell::Lang(4300));
}
