#include "protocols/building/UBACnetAccess.h"

#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

TFBACnetAccess* FBACnetAccess() { return shell::Window<TFBACnetAccess>(); }

TFBACnetAccess::TFBACnetAccess(QWidget* parent) : platform::TForm(parent)
{
    SetClientSize(1305, 337);
    Set_Lang();
}

void TFBACnetAccess::Set_Lang()
{
    SetCaption(shell::Lang(4700));
}
